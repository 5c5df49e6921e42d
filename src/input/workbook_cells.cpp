#include "input/workbook_cells.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "input/dates.h"

namespace tamso {

// ---------------------------------------------------------------- numbers

std::string texte_nombre(double valeur) {
  if (valeur == 0.0) return "0";  // -0 too
  char buf[512];
  const double a = std::fabs(valeur);
  const auto format =
      (a >= 1e-15 && a < 1e21) ? std::chars_format::fixed : std::chars_format::general;
  const auto r = std::to_chars(buf, buf + sizeof buf, valeur, format);
  if (r.ec != std::errc()) return std::to_string(valeur);
  return std::string(buf, r.ptr);
}

std::optional<double> lire_nombre_classeur(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  double v = 0.0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// ---------------------------------------------------------------- formats

namespace {

char minuscule(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool commence_sans_casse(std::string_view t, std::size_t i, std::string_view mot) {
  if (i + mot.size() > t.size()) return false;
  for (std::size_t k = 0; k < mot.size(); ++k)
    if (minuscule(t[i + k]) != mot[k]) return false;
  return true;
}

// The first section of a format code, up to a ";" outside quotes.
std::string_view premiere_section(std::string_view code) {
  bool guillemets = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code[i] == '"')
      guillemets = !guillemets;
    else if (!guillemets && code[i] == '\\')
      ++i;
    else if (!guillemets && code[i] == ';')
      return code.substr(0, i);
  }
  return code;
}

bool est_format_general(std::string_view section) {
  std::string bas;
  for (char c : section)
    if (c != ' ') bas += minuscule(c);
  return bas == "general" || bas == "standard" || bas == "g/standard";
}

// What "[h]", "[mm]" or "[ss]" holds: elapsed hours, minutes or seconds.
bool est_duree(std::string_view crochets) {
  std::string dedans;
  for (char d : crochets) dedans += minuscule(d);
  return !dedans.empty() && dedans.find_first_not_of(dedans[0]) == std::string::npos &&
         (dedans[0] == 'h' || dedans[0] == 'm' || dedans[0] == 's');
}

// The date and time letters of a section (y, m, d, h, s in order, a run of
// one letter counting once), outside quotes, escapes and brackets. `heure` is
// set by the marks that only a time has: durations and AM/PM.
std::vector<char> jetons_de_section(std::string_view section, bool& heure) {
  std::vector<char> jetons;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (c == '"') {
      const std::size_t fin = section.find('"', i + 1);
      if (fin == std::string_view::npos) break;
      i = fin;
      continue;
    }
    if (c == '\\' || c == '_' || c == '*') {
      ++i;
      continue;
    }
    if (c == '[') {
      const std::size_t fin = section.find(']', i + 1);
      if (fin == std::string_view::npos) break;
      if (est_duree(section.substr(i + 1, fin - i - 1))) heure = true;
      i = fin;
      continue;
    }
    if (commence_sans_casse(section, i, "am/pm")) {
      heure = true;
      i += 4;
      continue;
    }
    if (commence_sans_casse(section, i, "a/p")) {
      heure = true;
      i += 2;
      continue;
    }
    const char l = minuscule(c);
    if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') {
      while (i + 1 < section.size() && minuscule(section[i + 1]) == l) ++i;
      jetons.push_back(l);
    }
  }
  return jetons;
}

// Whether the letters show a date, a time or both.
void classer_jetons(const std::vector<char>& jetons, bool& date, bool& heure) {
  for (std::size_t k = 0; k < jetons.size(); ++k) {
    switch (jetons[k]) {
      case 'y':
      case 'd':
        date = true;
        break;
      case 'h':
      case 's':
        heure = true;
        break;
      case 'm': {
        // Minutes right after hours or right before seconds; a month otherwise.
        const bool minutes =
            (k > 0 && jetons[k - 1] == 'h') || (k + 1 < jetons.size() && jetons[k + 1] == 's');
        (minutes ? heure : date) = true;
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

GenreDate genre_format_excel(std::string_view code) {
  const std::string_view section = premiere_section(code);
  if (est_format_general(section)) return GenreDate::aucun;
  bool date = false, heure = false;
  const std::vector<char> jetons = jetons_de_section(section, heure);
  classer_jetons(jetons, date, heure);
  if (date && heure) return GenreDate::date_heure;
  if (date) return GenreDate::date;
  if (heure) return GenreDate::heure;
  return GenreDate::aucun;
}

GenreDate genre_format_integre(int id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 58))
    return GenreDate::date;
  if (id == 22) return GenreDate::date_heure;
  if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || (id >= 45 && id <= 47))
    return GenreDate::heure;
  return GenreDate::aucun;
}

// ---------------------------------------------------------------- dates

std::string texte_valeur_date(double valeur, GenreDate genre) {
  switch (genre) {
    case GenreDate::date:
      return date_en_texte(valeur);
    case GenreDate::heure:
      return heure_en_texte(valeur - std::floor(valeur));
    default:
      return date_heure_en_texte(valeur);
  }
}

std::optional<std::string> texte_serie_date(double serie, GenreDate genre, bool base_1904) {
  if (!std::isfinite(serie) || serie < 0) return std::nullopt;
  if (genre == GenreDate::heure) return texte_valeur_date(serie, genre);
  double valeur = serie;
  if (base_1904)
    valeur += 1462;  // 1 January 1904
  else if (valeur >= 1 && valeur < 61)
    valeur += 1;                               // before the phantom 29 February 1900
  if (valeur >= 2958466) return std::nullopt;  // past 31 December 9999
  return texte_valeur_date(valeur, genre);
}

namespace {

// Reads n digits at position p.
bool chiffres(std::string_view t, std::size_t& p, std::size_t n, int& valeur) {
  if (p + n > t.size()) return false;
  valeur = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const char c = t[p + k];
    if (c < '0' || c > '9') return false;
    valeur = valeur * 10 + (c - '0');
  }
  p += n;
  return true;
}

}  // namespace

std::optional<double> lire_date_iso(std::string_view t) {
  std::size_t p = 0;
  int a = 0, mo = 0, j = 0, h = 0, mi = 0, s = 0;
  if (!chiffres(t, p, 4, a) || p >= t.size() || t[p++] != '-' || !chiffres(t, p, 2, mo) ||
      p >= t.size() || t[p++] != '-' || !chiffres(t, p, 2, j))
    return std::nullopt;
  double fraction = 0.0;
  if (p < t.size() && (t[p] == 'T' || t[p] == ' ')) {
    ++p;
    if (!chiffres(t, p, 2, h) || p >= t.size() || t[p++] != ':' || !chiffres(t, p, 2, mi))
      return std::nullopt;
    if (p < t.size() && t[p] == ':') {
      ++p;
      if (!chiffres(t, p, 2, s)) return std::nullopt;
      if (p < t.size() && (t[p] == '.' || t[p] == ',')) {
        const std::size_t debut = ++p;
        while (p < t.size() && t[p] >= '0' && t[p] <= '9') ++p;
        if (p == debut) return std::nullopt;
        double f = 0.0, poids = 0.1;
        for (std::size_t k = debut; k < p; ++k, poids /= 10) f += (t[k] - '0') * poids;
        fraction = f;
      }
    }
    if (p < t.size() && t[p] == 'Z') ++p;
  }
  if (p != t.size() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  const auto jour = encoder_date(a, mo, j);
  if (!jour) return std::nullopt;
  return *jour + (h * 3600 + mi * 60 + s + fraction) / 86400.0;
}

std::optional<double> lire_duree_iso(std::string_view t) {
  std::size_t p = 0;
  bool negatif = false;
  if (p < t.size() && t[p] == '-') {
    negatif = true;
    ++p;
  }
  if (p >= t.size() || t[p++] != 'P') return std::nullopt;
  double secondes = 0.0;
  bool partie_heure = false, quelque_chose = false;
  while (p < t.size()) {
    if (t[p] == 'T') {
      if (partie_heure) return std::nullopt;
      partie_heure = true;
      ++p;
      continue;
    }
    const std::size_t debut = p;
    while (p < t.size() && ((t[p] >= '0' && t[p] <= '9') || t[p] == '.' || t[p] == ',')) ++p;
    if (p == debut || p >= t.size()) return std::nullopt;
    std::string nombre(t.substr(debut, p - debut));
    std::replace(nombre.begin(), nombre.end(), ',', '.');
    const auto v = lire_nombre_classeur(nombre);
    if (!v) return std::nullopt;
    const char unite = t[p++];
    if (!partie_heure && unite == 'D')
      secondes += *v * 86400;
    else if (partie_heure && unite == 'H')
      secondes += *v * 3600;
    else if (partie_heure && unite == 'M')
      secondes += *v * 60;
    else if (partie_heure && unite == 'S')
      secondes += *v;
    else
      return std::nullopt;
    quelque_chose = true;
  }
  if (!quelque_chose) return std::nullopt;
  return (negatif ? -secondes : secondes) / 86400.0;
}

// ---------------------------------------------------------------- rows

namespace {

std::uint64_t produit_borne(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > UINT64_MAX / a) return UINT64_MAX;
  return a * b;
}

std::uint64_t somme_bornee(std::uint64_t a, std::uint64_t b) {
  return b > UINT64_MAX - a ? UINT64_MAX : a + b;
}

}  // namespace

bool ChercheurPlage::ligne(std::uint32_t numero, std::uint32_t repetition,
                           const std::vector<CelluleTexte>& cellules) {
  if (repetition == 0) return true;
  bool utile = false;
  for (const auto& c : cellules) {
    const std::string_view texte = c.valeur();
    if (texte.empty() || c.repetition == 0) continue;
    const std::uint64_t fois = produit_borne(c.repetition, repetition);
    plage_.nb_cellules = somme_bornee(plage_.nb_cellules, fois);
    plage_.octets_cellules =
        somme_bornee(plage_.octets_cellules, produit_borne(fois, texte.size()));
    const std::uint32_t derniere = c.colonne + (c.repetition - 1);
    if (plage_.vide || c.colonne < plage_.colonne_min) plage_.colonne_min = c.colonne;
    if (plage_.vide || derniere > plage_.colonne_max) plage_.colonne_max = derniere;
    if (plage_.vide) plage_.ligne_min = numero;
    plage_.vide = false;
    utile = true;
  }
  if (utile) {
    if (numero < plage_.ligne_min) plage_.ligne_min = numero;
    const std::uint32_t derniere = numero + (repetition - 1);
    if (derniere > plage_.ligne_max) plage_.ligne_max = derniere;
  }
  return true;
}

void ranger_cellules(std::vector<CelluleTexte>& cellules) {
  bool range = true;
  for (std::size_t i = 1; i < cellules.size() && range; ++i)
    range = cellules[i - 1].colonne < cellules[i].colonne;
  if (range) return;
  std::stable_sort(
      cellules.begin(), cellules.end(),
      [](const CelluleTexte& a, const CelluleTexte& b) { return a.colonne < b.colonne; });
  // Of two cells at the same column the later one stays.
  std::vector<CelluleTexte> uniques;
  uniques.reserve(cellules.size());
  for (auto& c : cellules) {
    if (!uniques.empty() && uniques.back().colonne == c.colonne)
      uniques.back() = std::move(c);
    else
      uniques.push_back(std::move(c));
  }
  cellules.swap(uniques);
}

}  // namespace tamso
