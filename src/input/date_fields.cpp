#include "input/date_fields.h"

#include "input/dates.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool lettre(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// One group of codes ("aaaammjj", "20aa", "hh", "s"); false when the group
// holds anything else.
bool lire_groupe(std::string_view g, GroupeChamps& groupe) {
  std::size_t i = 0;
  const auto ajouter = [&groupe](CodeChamp code, int largeur) {
    if (groupe.n >= groupe.elements.size()) return false;
    groupe.elements[groupe.n++] =
        ElementChamp{code, static_cast<std::uint8_t>(largeur), {'2', '0'}};
    return true;
  };
  while (i < g.size()) {
    const std::string_view reste = g.substr(i);
    bool ok = true;
    if (reste.starts_with("aaaa")) {
      ok = ajouter(CodeChamp::annee, 4);
      i += 4;
    } else if (reste.size() >= 4 && est_chiffre(reste[0]) && est_chiffre(reste[1]) &&
               reste.substr(2, 2) == "aa") {
      ok = ajouter(CodeChamp::annee_siecle, 2);
      if (ok) {
        groupe.elements[groupe.n - 1].siecle[0] = reste[0];
        groupe.elements[groupe.n - 1].siecle[1] = reste[1];
      }
      i += 4;
    } else if (reste.starts_with("mm")) {
      ok = ajouter(CodeChamp::mois, 2);
      i += 2;
    } else if (reste.starts_with("jj")) {
      ok = ajouter(CodeChamp::jour, 2);
      i += 2;
    } else if (reste.starts_with("hh")) {
      ok = ajouter(CodeChamp::heure, 2);
      i += 2;
    } else if (reste.starts_with("mn")) {
      ok = ajouter(CodeChamp::minute, 2);
      i += 2;
    } else if (reste.starts_with("ss")) {
      ok = ajouter(CodeChamp::seconde, 2);
      i += 2;
    } else if (i == 0 && reste.find_first_not_of('s') == npos) {
      // Tenths or thousandths after the seconds ("ss.s", "ss.sss").
      ok = ajouter(CodeChamp::fraction, 0);
      i = g.size();
    } else {
      return false;
    }
    if (!ok) return false;
  }
  return groupe.n > 0;
}

// The runs of digits of a text, at most 12 of them, and what stands before
// each one.
struct Suites {
  std::array<std::string_view, 12> vues{};
  std::array<std::string_view, 12> avant{};
  std::size_t n = 0;
};

Suites suites_de_chiffres(std::string_view t) {
  Suites s;
  std::size_t i = 0;
  while (i < t.size() && s.n < s.vues.size()) {
    const std::size_t separateur = i;
    while (i < t.size() && !est_chiffre(t[i])) ++i;
    const std::size_t debut = i;
    while (i < t.size() && est_chiffre(t[i])) ++i;
    if (i > debut) {
      s.avant[s.n] = t.substr(separateur, debut - separateur);
      s.vues[s.n++] = t.substr(debut, i - debut);
    }
  }
  return s;
}

// Fields of a date are separated by one punctuation mark, by blanks, or by
// the "T" of ISO 8601, with blanks around them ("2019- 7-01"); a letter
// ("1O:07", a letter O), a quote or two marks ("23:35:-7") are not a
// separator, and nothing stands before the first field.
bool separateur_de_champs(std::string_view avant, bool premier) {
  if (premier) return avant.empty();
  avant = trim_vue(avant);
  if (avant.empty() || avant == "T" || avant == "t") return true;
  return avant.size() == 1 && !lettre(avant[0]) && avant[0] != '"';
}

int nombre(std::string_view chiffres) {
  int v = 0;
  for (const char c : chiffres) v = v * 10 + (c - '0');
  return v;
}

void ranger(DateLue& d, const ElementChamp& e, std::string_view chiffres) {
  const int v = nombre(chiffres);
  switch (e.code) {
    case CodeChamp::annee:
      d.annee = v;
      break;
    case CodeChamp::annee_siecle:
      d.annee = ((e.siecle[0] - '0') * 10 + (e.siecle[1] - '0')) * 100 + v;
      break;
    case CodeChamp::mois:
      d.mois = v;
      break;
    case CodeChamp::jour:
      d.jour = v;
      break;
    case CodeChamp::heure:
      d.heure = v;
      break;
    case CodeChamp::minute:
      d.minute = v;
      break;
    case CodeChamp::seconde:
      d.seconde = v;
      break;
    case CodeChamp::fraction:
      break;
  }
}

bool largeur_fixe(CodeChamp code) {
  return code == CodeChamp::annee || code == CodeChamp::annee_siecle;
}

// One run of digits read by one group.
bool lire_suite(const GroupeChamps& g, std::string_view s, DateLue& d) {
  if (g.n == 1) {
    const ElementChamp& e = g.elements[0];
    const bool ok = e.code == CodeChamp::fraction ? !s.empty()
                    : largeur_fixe(e.code)        ? s.size() == e.largeur
                                                  : s.size() == 1 || s.size() == 2;
    if (ok) ranger(d, e, s);
    return ok;
  }
  const int largeur = g.largeur();
  const int manque = largeur - static_cast<int>(s.size());
  if (manque != 0 && (manque != 1 || largeur_fixe(g.elements[0].code))) return false;
  std::size_t p = 0;
  for (std::size_t k = 0; k < g.n; ++k) {
    const std::size_t n = g.elements[k].largeur - (k == 0 ? static_cast<std::size_t>(manque) : 0);
    ranger(d, g.elements[k], s.substr(p, n));
    p += n;
  }
  return true;
}

bool optionnel(const GroupeChamps& g) {
  return g.elements[0].code == CodeChamp::seconde || g.elements[0].code == CodeChamp::fraction;
}

}  // namespace

int GroupeChamps::largeur() const {
  int l = 0;
  for (std::size_t k = 0; k < n; ++k) l += elements[k].largeur;
  return l;
}

FormatParChamps format_par_champs(std::string_view f) {
  FormatParChamps r;
  bool annee = false;
  std::size_t i = 0;
  while (i < f.size()) {
    while (i < f.size() && f[i] == '_') ++i;
    const std::size_t debut = i;
    while (i < f.size() && f[i] != '_') ++i;
    if (i == debut) break;
    if (r.n >= r.groupes.size()) return {};
    GroupeChamps& g = r.groupes[r.n++];
    if (!lire_groupe(f.substr(debut, i - debut), g)) return {};
    // The fraction of a second only follows the seconds.
    if (g.elements[0].code == CodeChamp::fraction &&
        (r.n < 2 ||
         r.groupes[r.n - 2].elements[r.groupes[r.n - 2].n - 1].code != CodeChamp::seconde))
      return {};
    for (std::size_t k = 0; k < g.n; ++k)
      annee = annee || g.elements[k].code == CodeChamp::annee ||
              g.elements[k].code == CodeChamp::annee_siecle;
  }
  r.valide = annee && r.n > 0;
  return r;
}

bool lire_par_champs(const FormatParChamps& f, std::string_view texte, DateLue& d) {
  if (!f.valide) return false;
  const Suites s = suites_de_chiffres(texte);
  d = DateLue{};
  std::size_t k = 0;
  for (; k < f.n; ++k) {
    if (k >= s.n) break;
    if (!separateur_de_champs(s.avant[k], k == 0) || !lire_suite(f.groupes[k], s.vues[k], d))
      return false;
  }
  for (; k < f.n; ++k)
    if (!optionnel(f.groupes[k])) return false;
  return true;
}

MarqueHeure marque_heure(std::string_view t) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = static_cast<char>(t[i] | 0x20);
    if ((c != 'a' && c != 'p') || (i > 0 && lettre(t[i - 1]))) continue;
    std::size_t j = i + 1;
    if (j < t.size() && t[j] == '.') ++j;
    if (j >= t.size() || (t[j] | 0x20) != 'm') continue;
    ++j;
    if (j < t.size() && t[j] == '.') ++j;
    if (j >= t.size() || !lettre(t[j])) return c == 'a' ? MarqueHeure::am : MarqueHeure::pm;
  }
  return MarqueHeure::aucune;
}

std::optional<int> decalage_en_fin(std::string_view texte, std::string_view& reste) {
  const std::string_view t = trim_vue(texte);
  const auto garder = [&reste](std::string_view r) {
    while (!r.empty() && (r.back() == ' ' || r.back() == '\t')) r.remove_suffix(1);
    reste = r;
  };
  for (const std::string_view mot : {"UTC", "GMT"})
    if (t.ends_with(mot)) {
      garder(t.substr(0, t.size() - mot.size()));
      return 0;
    }
  if (t.size() >= 2 && (t.back() == 'Z' || t.back() == 'z') && !lettre(t[t.size() - 2])) {
    garder(t.substr(0, t.size() - 1));
    return 0;
  }
  // A sign, then the hours on one or two digits, or hh:mn, or hhmn.
  std::size_t n = 0;
  while (n < t.size() && est_chiffre(t[t.size() - 1 - n])) ++n;
  std::size_t p = t.size() - n;  // where the offset's digits begin
  int heures = 0, minutes = 0;
  if (n == 2 && p >= 3 && t[p - 1] == ':' && est_chiffre(t[p - 2]) && est_chiffre(t[p - 3])) {
    heures = nombre(t.substr(p - 3, 2));
    minutes = nombre(t.substr(p, 2));
    p -= 3;
  } else if (n == 4) {
    heures = nombre(t.substr(p, 2));
    minutes = nombre(t.substr(p + 2, 2));
  } else if (n == 1 || n == 2) {
    heures = nombre(t.substr(p, n));
  } else {
    return std::nullopt;
  }
  if (p == 0 || (t[p - 1] != '+' && t[p - 1] != '-') || heures > 23 || minutes > 59)
    return std::nullopt;
  const std::size_t signe = p - 1;
  // The offset follows the time: before it, a time or a compact date-time.
  std::string_view avant = t.substr(0, signe);
  int chiffres = 0;
  for (const char c : avant) chiffres += est_chiffre(c);
  if (avant.find(':') == npos && chiffres < 12) return std::nullopt;
  if (avant.ends_with("UTC") || avant.ends_with("GMT")) avant.remove_suffix(3);
  garder(avant);
  const int total = heures * 60 + minutes;
  return t[signe] == '-' ? -total : total;
}

std::string_view regles_heure(std::string_view format, ReglesHeure& regles, std::string& reste) {
  regles = ReglesHeure{};
  reste.assign(format);
  const auto retirer = [&reste](std::string_view mot) {
    const std::size_t p = reste.find(mot);
    if (p == std::string::npos) return false;
    reste.erase(p, mot.size());
    return true;
  };
  for (const std::string_view mot : {"AM/PM", "AM", "PM"})
    if (retirer(mot)) regles.douze_heures = true;
  if (const std::size_t p = reste.find("UTC"); p != std::string::npos) {
    // The zone of the dates given: "UTC", "UTC+01:00", "UTC-5".
    std::size_t fin = p + 3;
    while (fin < reste.size() && reste[fin] != ' ') ++fin;
    const std::string essai = "00:00 " + reste.substr(p, fin - p);
    std::string_view sans_zone;
    if (const auto minutes = decalage_en_fin(essai, sans_zone); minutes) {
      regles.zone_sortie_minutes = *minutes;
      reste.erase(p, fin - p);
    }
  }
  if (retirer("zz")) regles.zone_dans_texte = true;
  while (!reste.empty() && reste.back() == ' ') reste.pop_back();
  return reste;
}

bool verifier_date_lue(DateLue& d, MarqueHeure marque, bool douze_heures) {
  if (d.jour < 1 || d.jour > 31 || d.mois < 1 || d.mois > 12 || d.minute > 59 || d.seconde > 59)
    return false;
  if (marque != MarqueHeure::aucune) {
    if (d.heure < 1 || d.heure > 12) return false;
    if (d.heure == 12) d.heure = 0;
    if (marque == MarqueHeure::pm) d.heure += 12;
    return true;
  }
  if (douze_heures) return false;
  return d.heure <= 23 || (d.heure == 24 && d.minute == 0 && d.seconde == 0);
}

std::optional<DateLue> date_deplacee(const DateLue& d, int minutes) {
  const auto jour = encoder_date(d.annee, d.mois, d.jour);
  if (!jour) return std::nullopt;
  const long long secondes = d.heure * 3600LL + d.minute * 60LL + d.seconde - minutes * 60LL;
  long long jours = static_cast<long long>(*jour) + secondes / 86400;
  long long reste = secondes % 86400;
  if (reste < 0) {
    reste += 86400;
    --jours;
  }
  const ChampsDate c = decoder_date(static_cast<double>(jours));
  if (c.annee < 1 || c.annee > 9999) return std::nullopt;
  return DateLue{c.annee,
                 c.mois,
                 c.jour,
                 static_cast<int>(reste / 3600),
                 static_cast<int>(reste / 60 % 60),
                 static_cast<int>(reste % 60)};
}

}  // namespace tamso
