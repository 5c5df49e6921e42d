#include "processing/fast_lines.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "input/date_format.h"
#include "input/dates.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr int kColonnesMax = 256;
constexpr std::size_t kDateMax = 64;

// Fields 1..n of a line that holds a quote, cut and read field by field as
// the field reader does, with no control character in the line; false when
// there is one, or when a field's text is not a piece of the line (a doubled
// quote inside its quotes, text after its closing quote).
bool decouper_par_champs(std::string_view l, char sep, SeparateurInitial initial, int n,
                         std::string_view* champs) {
  for (const char c : l)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  LecteurChamps lecteur(l, sep, initial);
  std::string_view brut;
  int k = 1;
  for (; k <= n && lecteur.suivant(brut); ++k)
    if (!texte_champ_vue(brut, champs[k])) return false;
  for (; k <= n; ++k) champs[k] = {};
  return true;
}

// The same in one pass, for any separator but the space.
bool decouper_guillemets(std::string_view l, char sep, SeparateurInitial initial, int n,
                         std::string_view* champs) {
  const char* p = l.data();
  const std::size_t taille = l.size();
  const auto controle = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
  std::size_t i = taille > 0 && p[0] == sep && initial == SeparateurInitial::ignore ? 1 : 0;
  int k = 1;
  for (;; ++k) {
    if (k > n) {
      // The fields not read: only control characters matter.
      for (; i < taille; ++i)
        if (controle(p[i])) return false;
      break;
    }
    std::size_t j = i;
    while (j < taille && p[j] == ' ') ++j;
    std::size_t fin = taille;  // the separator that ends the field
    if (j < taille && p[j] == '"') {
      std::size_t q = j + 1;
      while (q < taille && p[q] != '"') {
        if (controle(p[q])) return false;
        ++q;
      }
      if (q < taille) {
        if (q + 1 < taille && p[q + 1] == '"') return false;
        fin = q + 1;
        while (fin < taille && p[fin] == ' ') ++fin;
        if (fin < taille && p[fin] != sep) return false;
      }
      champs[k] = trim_vue(l.substr(j + 1, q - j - 1));
    } else {
      fin = j;
      while (fin < taille && p[fin] != sep) {
        if (controle(p[fin])) return false;
        ++fin;
      }
      champs[k] = trim_vue(l.substr(i, fin - i));
    }
    if (fin >= taille) break;
    i = fin + 1;
  }
  for (++k; k <= n; ++k) champs[k] = {};
  return true;
}

// Fields 1..n of a line without control characters, with the space
// separator: runs of spaces are one separator and leading spaces are
// skipped. Missing fields are empty. False when the line holds a control
// character or a field cannot be read here.
bool decouper_espaces(std::string_view l, int n, std::string_view* champs) {
  const std::size_t taille = l.size();
  bool guillemets = false;
  for (const char c : l) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    guillemets |= c == '"';
  }
  if (guillemets) return decouper_par_champs(l, ' ', SeparateurInitial::ignore, n, champs);
  int k = 1;
  std::size_t i = 0;
  while (i < taille && l[i] == ' ') ++i;
  for (; k <= n && i < taille; ++k) {
    std::size_t fin = i;
    while (fin < taille && l[fin] != ' ') ++fin;
    champs[k] = l.substr(i, fin - i);
    i = fin;
    while (i < taille && l[i] == ' ') ++i;
  }
  for (; k <= n; ++k) champs[k] = {};
  return true;
}

// The same cut for any separator but the space: a leading separator is
// skipped or closes an empty field 1, each field is trimmed of spaces.
// False when the line holds a control character or a field cannot be read
// here; a line with a quote is cut field by field.
bool decouper_sans_controle(std::string_view l, char sep, SeparateurInitial initial, int n,
                            std::string_view* champs) {
  const char* p = l.data();
  const std::size_t taille = l.size();
  const std::size_t premier =
      taille > 0 && p[0] == sep && initial == SeparateurInitial::ignore ? 1 : 0;
  int k = 1;
  std::size_t debut = premier;
  const auto limite = [&](std::size_t j) {
    if (k <= n) champs[k] = trim_vue(l.substr(debut, j - debut));
    ++k;
    debut = j + 1;
  };
  std::size_t i = premier;
#ifdef __SSE2__
  const __m128i vsep = _mm_set1_epi8(sep);
  const __m128i vguillemet = _mm_set1_epi8('"');
  const __m128i v1f = _mm_set1_epi8(0x1f);
  for (; i + 16 <= taille; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, v1f), v)) != 0) return false;
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, vguillemet)) != 0)
      return decouper_guillemets(l, sep, initial, n, champs);
    auto m = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vsep)));
    while (m != 0) {
      limite(i + static_cast<std::size_t>(__builtin_ctz(m)));
      m &= m - 1;
    }
  }
#endif
  for (; i < taille; ++i) {
    const char c = p[i];
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (c == '"') return decouper_guillemets(l, sep, initial, n, champs);
    if (c == sep) limite(i);
  }
  if (k <= n) champs[k++] = trim_vue(l.substr(debut));
  for (; k <= n; ++k) champs[k] = {};
  return true;
}

int deux(const char* p) {
  return (p[0] - '0') * 10 + (p[1] - '0');
}

bool chiffres(std::string_view t, int p, int n) {
  for (int i = 0; i < n; ++i)
    if (!est_chiffre(t[static_cast<std::size_t>(p + i)])) return false;
  return true;
}

// The day of the previous line, so that its day number is worked out once.
struct JourConnu {
  int annee = -1, mois = -1, jour = -1;
  double debut = 0;  // the date-time value of the day's midnight
};

// The date text read under the memorised format, when it is a plain one.
bool lire_date(const PlanLecture& plan, std::string_view t, double& valeur, JourConnu& connu) {
  if (t.size() < plan.longueur_min || (plan.date_fixe && t.size() == 8)) return false;
  // A 12-hour clock's mark after the codes: the date reader refuses the text.
  if (t.size() > plan.longueur_min && marque_douze_heures(t.substr(plan.longueur_min)))
    return false;
  if (!chiffres(t, plan.p_annee, 4) || !chiffres(t, plan.p_mois, 2) ||
      !chiffres(t, plan.p_jour, 2) || !chiffres(t, plan.p_heure, 2) ||
      !chiffres(t, plan.p_minute, 2))
    return false;
  const char* d = t.data();
  const int annee = deux(d + plan.p_annee) * 100 + deux(d + plan.p_annee + 2);
  const int mois = deux(d + plan.p_mois), jour = deux(d + plan.p_jour);
  const int heure = deux(d + plan.p_heure), minute = deux(d + plan.p_minute);
  int seconde = 0;
  if (plan.p_seconde >= 0) {
    if (!chiffres(t, plan.p_seconde, 2)) return false;
    seconde = deux(d + plan.p_seconde);
  }
  // Outside these bounds the date reader writes a log line or reads 0.
  if (jour < 1 || jour > 31 || mois < 1 || mois > 12 || heure > 23 || minute > 59 || seconde > 59)
    return false;
  if (annee != connu.annee || mois != connu.mois || jour != connu.jour) {
    const auto v = encoder_date(annee, mois, jour, 0, 0, 0);
    if (!v) return false;
    connu = {annee, mois, jour, *v};
  }
  // The same sum as the date encoder's: whole days, then the time of day.
  valeur = connu.debut + (heure * 3600 + minute * 60 + seconde) / 86400.0;
  // 0 stands for no date: the step-by-step reader counts such a line.
  return valeur != 0.0;
}

// A date that is not zero-padded ("1/3/2021 7:5:00"), read field by field
// as the date reader reads it when its reading by position fails. A 12-hour
// mark is left to the date reader.
bool lire_date_par_champs(const PlanLecture& plan, std::string_view t, double& valeur,
                          JourConnu& connu) {
  DateLue d;
  if (marque_douze_heures(t) || !lire_par_champs(plan.par_champs, t, d) ||
      !verifier_date_lue(d, MarqueHeure::aucune, false))
    return false;
  double jour_suivant = 0.0;
  if (d.heure == 24) {  // midnight at the end of the day
    d.heure = 0;
    jour_suivant = 1.0;
  }
  if (d.annee != connu.annee || d.mois != connu.mois || d.jour != connu.jour) {
    const auto v = encoder_date(d.annee, d.mois, d.jour, 0, 0, 0);
    if (!v) return false;
    connu = {d.annee, d.mois, d.jour, *v};
  }
  valeur = connu.debut + jour_suivant + (d.heure * 3600 + d.minute * 60 + d.seconde) / 86400.0;
  return valeur != 0.0;
}

const std::array<long double, 20> kPuissancesLongues = [] {
  std::array<long double, 20> p{};
  long double x = 1;
  for (auto& e : p) {
    e = x;
    x *= 10;
  }
  return p;
}();

const std::array<double, 23> kPuissances = [] {
  std::array<double, 23> p{};
  double x = 1;
  for (auto& e : p) {
    e = x;
    x *= 10;
  }
  return p;
}();

inline bool egal_na(const PlanLecture& plan, std::string_view x) {
  for (const auto& e : plan.equivalents_na)
    if (e.size() == x.size() && (x.empty() || e[0] == x[0]) && x == e) return true;
  return false;
}

// The field with its "." and "," written as the computer's decimal separator
// equals a missing-data text.
inline bool egal_na_adapte(const PlanLecture& plan, std::string_view x) {
  for (const auto& e : plan.equivalents_na) {
    if (e.size() != x.size()) continue;
    bool egal = true;
    for (std::size_t i = 0; i < x.size() && egal; ++i) {
      const char c = x[i] == '.' || x[i] == ',' ? plan.separateur_decimal : x[i];
      egal = c == e[i];
    }
    if (egal) return true;
  }
  return false;
}

}  // namespace

namespace {

// A plain decimal as its digits, its number of decimals and its sign.
// Left uninitialised on purpose: a line reads up to 64 of them.
struct NombreLu {
  std::uint64_t m;
  int decimales;
  bool negatif;

  // Both the integer and the power of ten are exact, so one division gives
  // the correctly rounded value, as the general reader does.
  long double long_() const {
    const long double l =
        static_cast<long double>(m) / kPuissancesLongues[static_cast<std::size_t>(decimales)];
    return negatif ? -l : l;
  }
  double court() const {
    const double c = static_cast<double>(m) / kPuissances[static_cast<std::size_t>(decimales)];
    return negatif ? -c : c;
  }
};

inline bool lire_nombre(std::string_view t, NombreLu& r) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  r.negatif = false;
  if (i < n && (t[i] == '+' || t[i] == '-')) {
    r.negatif = t[i] == '-';
    ++i;
  }
  std::uint64_t m = 0;
  int nb_chiffres = 0, decimales = 0;
  bool marque = false;
  for (; i < n; ++i) {
    const char c = t[i];
    if (est_chiffre(c)) {
      if (++nb_chiffres > 19) return false;
      m = m * 10 + static_cast<std::uint64_t>(c - '0');
      decimales += marque;
    } else if ((c == '.' || c == ',') && !marque) {
      marque = true;
    } else {
      return false;
    }
  }
  // Beyond 2^53 the double would need more than one rounding.
  if (nb_chiffres == 0 || m > (std::uint64_t{1} << 53)) return false;
  r.m = m;
  r.decimales = decimales;
  return true;
}

}  // namespace

bool lire_nombre_simple(std::string_view t, long double& long_, double& court) {
  NombreLu n;
  if (!lire_nombre(t, n)) return false;
  long_ = n.long_();
  court = n.court();
  return true;
}

PlanLecture construire_plan(const EtatLecteurDates& lecteur, bool multiformat, char separateur,
                            bool deux_colonnes, int col_datetime, int col_date, int col_time,
                            std::vector<int> colonnes, std::vector<std::string> equivalents_na,
                            bool seuil_bas, double bas, bool seuil_haut, double haut,
                            char separateur_decimal) {
  PlanLecture p;
  p.separateur = separateur;
  p.deux_colonnes = deux_colonnes;
  p.col_datetime = col_datetime;
  p.col_date = col_date;
  p.col_time = col_time;
  p.colonnes = std::move(colonnes);
  p.equivalents_na = std::move(equivalents_na);
  p.seuil_bas = seuil_bas;
  p.bas = bas;
  p.seuil_haut = seuil_haut;
  p.haut = haut;
  p.separateur_decimal = separateur_decimal;
  p.date_fixe = !lecteur.date_fixe_du_format.empty();
  p.par_champs = lecteur.par_champs;
  // Only a missing-data text that reads as a number can equal a number field.
  for (const auto& e : p.equivalents_na) {
    NombreLu n;
    if (lire_nombre(e, n) && e.size() < 64)
      p.longueurs_na_numeriques |= std::uint64_t{1} << e.size();
  }

  const std::string& f = lecteur.format_memorise;
  // A 12-hour clock without its mark, or an offset to take away, is left to
  // the date reader.
  if (multiformat || f.empty() || f.size() == 10 || f == "hh_mn_ss" ||
      lecteur.regles.douze_heures || lecteur.regles.zone_dans_texte)
    return p;
  const auto position = [&f](const char* code) {
    const std::size_t k = f.find(code);
    return k == std::string::npos ? -1 : static_cast<int>(k);
  };
  p.p_annee = position("aaaa");
  if (p.p_annee < 0) {
    // A two-digit year after its century digits ("jj/mm/20aa"): the reader
    // puts the century into the text, and the format then reads a
    // four-digit year there.
    const int p2 = position("aa");
    if (p2 >= 2 && est_chiffre(f[static_cast<std::size_t>(p2 - 2)]) &&
        est_chiffre(f[static_cast<std::size_t>(p2 - 1)])) {
      p.annee_courte = true;
      p.p_annee = p2 - 2;
      p.siecle[0] = f[static_cast<std::size_t>(p2 - 2)];
      p.siecle[1] = f[static_cast<std::size_t>(p2 - 1)];
    }
  }
  p.p_mois = position("mm");
  p.p_jour = position("jj");
  p.p_heure = position("hh");
  p.p_minute = position("mn");
  p.p_seconde = position("ss");
  if (p.p_annee < 0 || p.p_mois < 0 || p.p_jour < 0 || p.p_heure < 0 || p.p_minute < 0) return p;
  std::size_t fin = 0;
  for (const auto& [pos, n] : {std::pair{p.p_annee, 4},
                               {p.p_mois, 2},
                               {p.p_jour, 2},
                               {p.p_heure, 2},
                               {p.p_minute, 2},
                               {p.p_seconde, 2}})
    if (pos >= 0) fin = std::max(fin, static_cast<std::size_t>(pos + n));
  p.longueur_min = fin;
  if (p.colonnes.size() > 64) return p;
  int col_max = deux_colonnes ? std::max(col_date, col_time) : col_datetime;
  for (int c : p.colonnes) col_max = std::max(col_max, c);
  if (col_max < 1 || col_max > kColonnesMax) return p;
  for (int c : p.colonnes)
    if (c < 1) return p;
  if (deux_colonnes ? (col_date < 1 || col_time < 1) : col_datetime < 1) return p;
  p.col_max = col_max;
  p.actif = true;
  return p;
}

namespace {

bool lire_ligne(const PlanLecture& plan, std::string_view ligne, double& t, long double* valeurs,
                std::uint64_t& manquants, std::string_view* champs, JourConnu& connu) {
  if (!plan.actif) return false;
  // Control characters (a NUL byte made readable, a tabulation) are left to
  // the step-by-step reader.
  if (plan.separateur == ' '
          ? !decouper_espaces(ligne, plan.col_max, champs)
          : !decouper_sans_controle(ligne, plan.separateur, plan.initial, plan.col_max, champs))
    return false;

  std::string_view date;
  std::array<char, kDateMax> tampon;
  if (plan.deux_colonnes) {
    const std::string_view a = champs[static_cast<std::size_t>(plan.col_date)];
    const std::string_view b = champs[static_cast<std::size_t>(plan.col_time)];
    if (a.size() + b.size() + 1 > kDateMax) return false;
    std::size_t n = 0;
    for (char c : a) tampon[n++] = c;
    tampon[n++] = ' ';
    for (char c : b) tampon[n++] = c;
    date = std::string_view(tampon.data(), n);
  } else {
    date = champs[static_cast<std::size_t>(plan.col_datetime)];
  }
  if (date.empty()) return false;
  // Quotes around the date are dropped as the date reader drops them.
  if (date.front() == '"') date.remove_prefix(1);
  if (!date.empty() && date.find('"') == date.size() - 1) date.remove_suffix(1);
  if (date.find('"') != std::string_view::npos) return false;
  const std::string_view date_ecrite = date;
  std::array<char, kDateMax + 2> avec_siecle;
  if (plan.annee_courte) {
    if (date.size() + 2 > avec_siecle.size()) return false;
    const std::size_t place = std::min(static_cast<std::size_t>(plan.p_annee), date.size());
    std::size_t n = 0;
    for (std::size_t i = 0; i < place; ++i) avec_siecle[n++] = date[i];
    avec_siecle[n++] = plan.siecle[0];
    avec_siecle[n++] = plan.siecle[1];
    for (std::size_t i = place; i < date.size(); ++i) avec_siecle[n++] = date[i];
    date = std::string_view(avec_siecle.data(), n);
  }
  if (!lire_date(plan, date, t, connu) &&
      !(plan.par_champs.valide && lire_date_par_champs(plan, date_ecrite, t, connu)))
    return false;

  // The fields are read first, then converted together: the divisions do
  // not wait on each other.
  std::array<NombreLu, 64> nombres;
  manquants = 0;
  const std::size_t nv = plan.colonnes.size();
  const bool seuils = plan.seuil_bas || plan.seuil_haut;
  for (std::size_t k = 0; k < nv; ++k) {
    const std::string_view x = champs[static_cast<std::size_t>(plan.colonnes[k])];
    bool manque;
    if (x.empty()) {
      manque = true;
    } else if (lire_nombre(x, nombres[k])) {
      manque = false;
      if (seuils) {
        const double court = nombres[k].court();
        manque = (plan.seuil_bas && court < plan.bas) || (plan.seuil_haut && court > plan.haut);
      }
      // Only a missing-data text of the field's length can equal it.
      manque = manque || (x.size() < 64 && ((plan.longueurs_na_numeriques >> x.size()) & 1U) &&
                          (egal_na(plan, x) || egal_na_adapte(plan, x)));
    } else if (egal_na(plan, x)) {
      manque = true;
    } else {
      return false;
    }
    if (manque) {
      manquants |= std::uint64_t{1} << k;
      nombres[k] = NombreLu{0, 0, false};
    }
  }
  for (std::size_t k = 0; k < nv; ++k) valeurs[k] = nombres[k].long_();
  return true;
}

}  // namespace

bool lire_ligne_rapide(const PlanLecture& plan, std::string_view ligne, double& t,
                       long double* valeurs, std::uint64_t& manquants) {
  std::vector<std::string_view> champs(static_cast<std::size_t>(plan.col_max) + 1);
  JourConnu connu;
  return lire_ligne(plan, ligne, t, valeurs, manquants, champs.data(), connu);
}

void lire_lignes_rapides(const PlanLecture& plan, const char* texte,
                         const std::vector<std::uint32_t>& debuts,
                         const std::vector<std::uint32_t>& longueurs, LignesLues& sortie) {
  sortie.vider();
  const std::size_t nb = debuts.size();
  const std::size_t nv = plan.colonnes.size();
  sortie.statuts.reserve(nb);
  sortie.blanches.reserve(nb);
  sortie.temps.reserve(nb);
  sortie.manquants.reserve(nb);
  sortie.valeurs.reserve(nb * nv);
  std::array<long double, 64> valeurs{};
  std::vector<std::string_view> champs(static_cast<std::size_t>(plan.col_max) + 1);
  JourConnu connu;
  for (std::size_t i = 0; i < nb; ++i) {
    const std::string_view l(texte + debuts[i], longueurs[i]);
    sortie.blanches.push_back(trim_vue(l).empty() ? 1 : 0);
    if (l.empty()) {
      sortie.statuts.push_back(StatutLigne::vide);
      continue;
    }
    double t = 0;
    std::uint64_t manquants = 0;
    if (!lire_ligne(plan, l, t, valeurs.data(), manquants, champs.data(), connu)) {
      sortie.statuts.push_back(StatutLigne::reference);
      continue;
    }
    sortie.statuts.push_back(StatutLigne::rapide);
    sortie.temps.push_back(t);
    sortie.manquants.push_back(manquants);
    sortie.valeurs.insert(sortie.valeurs.end(), valeurs.begin(),
                          valeurs.begin() + static_cast<std::ptrdiff_t>(nv));
  }
}

}  // namespace tamso
