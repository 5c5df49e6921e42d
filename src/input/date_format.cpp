#include "input/date_format.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/tracking_log.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool est_code(char c) {
  return est_chiffre(c) || c == 'a' || c == 'h' || c == 'j' || c == 'm' || c == 'n' || c == 's';
}

// Two characters at the position of a code. A code absent from the format
// reads its value at the head of its unit: day and month "01", hour and
// minutes "00" (hourly data under "aaaa_mm_jj_hh" are on the hour).
std::string_view champ_code(std::string_view t, std::string_view format, std::string_view code,
                            std::string_view absent) {
  const std::size_t p = format.find(code);
  return p == npos ? absent : morceau(t, p, 2);
}

// Exactly n digits.
bool chiffres(std::string_view champ, int n) {
  return tout_chiffres(champ) == n;
}

// Where the text stops being read by the format's codes.
std::size_t fin_des_codes(std::string_view format) {
  std::size_t fin = 0;
  for (const auto& [code, largeur] : {std::pair<std::string_view, std::size_t>{"aaaa", 4},
                                      {"aa", 2},
                                      {"mm", 2},
                                      {"jj", 2},
                                      {"hh", 2},
                                      {"mn", 2},
                                      {"ss", 2}}) {
    const std::size_t p = format.find(code);
    if (p != npos) fin = std::max(fin, p + largeur);
  }
  return fin;
}

}  // namespace

void preparer_lecteur_dates_listage(EtatLecteurDates& etat) {
  etat.format_memorise.clear();
  etat.premiere_date_multiformat = true;
}

void preparer_lecteur_dates_traitement(EtatLecteurDates& etat) {
  etat.premiere_date_multiformat = false;
  etat.nb_dates_inversees = 0;
  etat.nb_dates_inversees_suite = 0;
}

void memoriser_format(std::string_view format_saisi, EtatLecteurDates& etat) {
  std::string sans_mots;
  const std::string_view format = regles_heure(format_saisi, etat.regles, sans_mots);
  std::string f(format);
  for (char& c : f)
    if (!est_code(c)) c = '_';
  std::string masque = f;
  remplacer_chiffres('*', masque);
  etat.date_fixe_du_format.clear();
  const auto date_fixe = [&etat, &f] {
    etat.date_fixe_du_format = f.substr(0, 11);
    // A format that is only the fixed date still puts its filler before the time.
    if (etat.date_fixe_du_format.size() == 10) etat.date_fixe_du_format += '_';
  };
  if (commence_par(masque, "****_**_**")) {
    date_fixe();
    f = "aaaa_mm_jj_hh_mn_ss";
  } else if (commence_par(masque, "**_**_****")) {
    date_fixe();
    f = "jj_mm_aaaa_hh_mn_ss";
  }
  etat.format_memorise = f;
  etat.par_champs = etat.date_fixe_du_format.empty() ? format_par_champs(f) : FormatParChamps{};
}

namespace {

// Writes a " + erreur date : " line while the state still asks for them.
void journaliser_erreur_date(EtatLecteurDates& etat, JournalSuivi& journal,
                             const std::string& ligne) {
  if (etat.erreurs_a_journaliser == 0) return;
  journal.ajouter_ligne_suivi(ligne);
  if (etat.erreurs_a_journaliser > 0) --etat.erreurs_a_journaliser;
}

std::string normaliser_multiformat(std::string_view texte, std::string_view format_saisi,
                                   EtatLecteurDates& etat, JournalSuivi& journal) {
  std::string r = date_multiformat(texte, format_saisi, etat);
  if (r.empty() && etat.erreurs_a_journaliser != 0)
    journaliser_erreur_date(etat, journal,
                            " + erreur date :   corriger <" + std::string(texte) + ">");
  return r;
}

// The text without the quotes around it.
std::string_view sans_guillemets(std::string_view texte) {
  if (!texte.empty() && texte.front() == '"') texte.remove_prefix(1);
  if (!texte.empty() && texte.find('"') == texte.size() - 1) texte.remove_suffix(1);
  return texte;
}

// A format of a date without its time: ten characters ("jj_mm_aaaa"), or
// day, month and year with no hour ("aaaammjj").
bool format_date_seule(std::string_view f) {
  return f.size() == 10 || (f.find("hh") == npos && f.find("aa") != npos && f.find("mm") != npos &&
                            f.find("jj") != npos);
}

// Copies the text into the state's buffer, completed to a date and a time as
// the format asks, and gives the format to read it with. The buffer makes no
// allocation once it has grown to the longest line's date.
std::string_view preparer_texte(std::string_view corps, EtatLecteurDates& etat) {
  std::string_view format = etat.format_memorise;
  std::string& t = etat.tampon_texte;
  t.assign(corps);

  if (format_date_seule(format)) {
    // A date-only format reads midnight.
    t.append(" 00:00:00");
    etat.tampon_format.assign(format).append("_hh_mn_ss");
    format = etat.tampon_format;
  }
  if (format == "hh_mn_ss" && t.size() == 8) {
    // A time alone is taken on today's date.
    const std::string aujourdhui = date_en_texte(heure_courante(etat.horloge));
    t.insert(0, " ");
    t.insert(0, aujourdhui);
    format = "jj_mm_aaaa_hh_mn_ss";
  }
  if (t.size() == 8 && !etat.date_fixe_du_format.empty()) t.insert(0, etat.date_fixe_du_format);
  return format;
}

// The year of a line, copied out of the text before its 11th character
// changes, and the format the line is read with. Neither copied nor moved:
// the format may point into format_inverse.
struct LectureAnnee {
  std::string_view format;
  std::array<char, 20> format_inverse{};
  std::array<char, 4> annee_lue{};
  std::size_t taille_annee = 0;

  void garder_annee(std::string_view a) {
    taille_annee = a.size();
    for (std::size_t i = 0; i < a.size(); ++i) annee_lue[i] = a[i];
  }
  std::string_view annee() const { return std::string_view(annee_lue.data(), taille_annee); }

  // The format with year first and day first swapped.
  void inverser_format() {
    const std::string_view tete = commence_par(format, "aaaa_mm_jj") ? "jj_mm_aaaa" : "aaaa_mm_jj";
    const std::string_view suite = morceau(format, 10, 10);
    std::size_t n = 0;
    for (const char c : tete) format_inverse[n++] = c;
    for (const char c : suite) format_inverse[n++] = c;
    format = std::string_view(format_inverse.data(), n);
  }
};

void lire_annee_quatre_chiffres(std::string_view t, std::string_view texte, LectureAnnee& l,
                                EtatLecteurDates& etat, JournalSuivi& journal) {
  std::string_view annee = morceau(t, l.format.find("aaaa"), 4);
  if (!est_numerique(annee)) {
    // The line's date is written in the other order: for this line only,
    // year first and day first are swapped.
    l.inverser_format();
    annee = morceau(t, l.format.find("aaaa"), 4);
    // Only a swap that gives a four-digit year is a corrected date; anything
    // else is left to the field rules.
    if (tout_chiffres(annee) == 4) {
      ++etat.nb_dates_inversees;
      if (++etat.nb_dates_inversees_suite == 1)
        journal.ajouter_ligne_suivi(std::string(texte) + " date inversée mais corrigée");
    }
  } else {
    etat.nb_dates_inversees_suite = 0;
  }
  l.garder_annee(annee);
}

// Two-digit year: the century digits written just before "aa" in the format
// are put at the same place in the text ("20aa_mm_jj" puts them in front,
// "jj_mm_20aa" after the month). False when the format writes no century.
bool lire_annee_deux_chiffres(std::string& t, LectureAnnee& l) {
  const std::string_view format = l.format;
  const std::size_t p2 = format.find("aa");
  if (p2 < 2 || !est_chiffre(format[p2 - 2]) || !est_chiffre(format[p2 - 1])) return false;
  const std::size_t place = p2 - 2 < t.size() ? p2 - 2 : t.size();
  t.insert(place, format.substr(p2 - 2, 2));
  l.garder_annee(morceau(t, p2 - 2, 4));
  return true;
}

// The fields of a date as the format's codes read them in the text.
struct ChampsLus {
  std::string_view jour, mois, annee, heure, minute, seconde;
};

ChampsLus lire_champs(std::string_view t, std::string_view format, std::string_view annee) {
  ChampsLus c;
  c.annee = annee;
  c.mois = champ_code(t, format, "mm", "01");
  c.jour = champ_code(t, format, "jj", "01");
  c.heure = champ_code(t, format, "hh", "00");
  c.minute = champ_code(t, format, "mn", "00");
  c.seconde = "00";
  if (const std::size_t ps = format.find("ss"); ps != npos) {
    c.seconde = morceau(t, ps, 2);
    if (c.seconde.empty()) c.seconde = "00";
  }
  return c;
}

// Reading is by position: every character a code reads is a digit, so that
// a text laid out otherwise ("11/9/2019 0:00" under "mm/jj/aaaa hh:mn") is
// never read at the wrong place.
bool champs_en_chiffres(const ChampsLus& c) {
  return chiffres(c.annee, 4) && chiffres(c.jour, 2) && chiffres(c.mois, 2) &&
         chiffres(c.heure, 2) && chiffres(c.minute, 2) && chiffres(c.seconde, 2);
}

int valeur_chiffres(std::string_view champ) {
  int v = 0;
  for (const char c : champ) v = v * 10 + (c - '0');
  return v;
}

DateLue date_des_champs(const ChampsLus& c) {
  return DateLue{valeur_chiffres(c.annee), valeur_chiffres(c.mois),   valeur_chiffres(c.jour),
                 valeur_chiffres(c.heure), valeur_chiffres(c.minute), valeur_chiffres(c.seconde)};
}

// "jj/mm/aaaa hh:mn:ss" of fields known to be in range.
std::string ecrire_date(const DateLue& d) {
  std::string r(19, ' ');
  const auto deux = [&r](std::size_t p, int v) {
    r[p] = static_cast<char>('0' + v / 10);
    r[p + 1] = static_cast<char>('0' + v % 10);
  };
  deux(0, d.jour);
  r[2] = '/';
  deux(3, d.mois);
  r[5] = '/';
  deux(6, d.annee / 100);
  deux(8, d.annee % 100);
  deux(11, d.heure);
  r[13] = ':';
  deux(14, d.minute);
  r[16] = ':';
  deux(17, d.seconde);
  return r;
}

std::string ligne_erreur_champs(const ChampsLus& c, std::string_view texte) {
  std::string ligne = " + erreur date : ";
  ligne.append(c.jour).append("/").append(c.mois).append("/").append(c.annee).append(" ");
  ligne.append(c.heure).append(":").append(c.minute).append(":");
  ligne.append("  corriger <").append(texte).append(">");
  return ligne;
}

}  // namespace

namespace {

enum class Position : std::uint8_t {
  lue,
  illisible,       // too few digits, or a two-digit year without its century
  champs_refuses,  // a code reads something else than digits, or a field is out of range
  sans_annee,      // the format has no year
};

// The line's date read by position.
// The fields read point into `lecture`, which the caller keeps while it uses them.
Position lire_par_position(std::string_view texte, EtatLecteurDates& etat, JournalSuivi& journal,
                           LectureAnnee& lecture, DateLue& d, ChampsLus& c) {
  lecture.format = preparer_texte(texte, etat);
  std::string& t = etat.tampon_texte;
  if (compter_numeriques(t) < 10) return Position::illisible;
  if (lecture.format.find("aa") == npos) return Position::sans_annee;
  if (lecture.format.find("aaaa") != npos)
    lire_annee_quatre_chiffres(t, texte, lecture, etat, journal);
  else if (!lire_annee_deux_chiffres(t, lecture))
    return Position::illisible;
  // A space after the date, unless the format reads on (a compact "aaaammjjhhmn").
  if (t.size() >= 11 && !(lecture.format.size() > 10 && est_code(lecture.format[10]))) t[10] = ' ';
  c = lire_champs(t, lecture.format, lecture.annee());
  if (!champs_en_chiffres(c)) return Position::champs_refuses;
  d = date_des_champs(c);
  const MarqueHeure marque = marque_heure(morceau(t, fin_des_codes(lecture.format), npos));
  return verifier_date_lue(d, marque, etat.regles.douze_heures) ? Position::lue
                                                                : Position::champs_refuses;
}

}  // namespace

std::string normaliser_date_mesure(std::string_view texte, std::string_view format_saisi,
                                   EtatLecteurDates& etat, JournalSuivi& journal) {
  if (texte.empty()) return "??";
  if (contient(format_saisi, "multiformat") || contient(format_saisi, "OU"))
    return normaliser_multiformat(texte, format_saisi, etat, journal);
  if (etat.format_memorise.empty()) memoriser_format(format_saisi, etat);

  // The offset that ends the text, under a format that says the dates carry one.
  std::string_view corps = sans_guillemets(texte);
  int decalage = 0;
  if (etat.regles.zone_dans_texte) {
    const auto z = decalage_en_fin(corps, corps);
    if (!z) {
      journaliser_erreur_date(
          etat, journal,
          " + erreur date : sans décalage horaire   corriger <" + std::string(texte) + ">");
      return {};
    }
    decalage = *z - etat.regles.zone_sortie_minutes;
  }

  DateLue d;
  LectureAnnee lecture;
  ChampsLus c;
  const Position p = lire_par_position(corps, etat, journal, lecture, d, c);
  if (p == Position::sans_annee) return "01/01/1900 00:00:00";
  if (p != Position::lue) {
    // A text that is not zero-padded is read field by field.
    if (!lire_par_champs(etat.par_champs, corps, d) ||
        !verifier_date_lue(d, marque_heure(corps), etat.regles.douze_heures)) {
      if (p == Position::champs_refuses)
        journaliser_erreur_date(etat, journal, ligne_erreur_champs(c, texte));
      return {};
    }
  }
  if (!date_a_deplacer(d, decalage)) return ecrire_date(d);
  const auto deplacee = date_deplacee(d, decalage);
  if (!deplacee) {
    journaliser_erreur_date(etat, journal, ligne_erreur_champs(c, texte));
    return {};
  }
  return ecrire_date(*deplacee);
}

bool marque_douze_heures(std::string_view texte) {
  return marque_heure(texte) != MarqueHeure::aucune;
}

// ---------------------------------------------------------------- multiformat

VarianteMultiformat variante_multiformat(std::string_view format) {
  if (contient(format, "mm/dd/yyyy")) return VarianteMultiformat::us;
  if (contient(format, "jj/mm/aaaa")) return VarianteMultiformat::jj_mm_aaaa;
  if (contient(format, "multiformat_dt_mini_1\u00e8reUE")) return VarianteMultiformat::proche_ue;
  if (contient(format, "multiformat_dt_mini_1\u00e8reUS")) return VarianteMultiformat::proche_us;
  return VarianteMultiformat::jour_d_abord;
}

namespace {

std::optional<int> entier_deux_chiffres(std::string_view champ) {
  if (champ.size() != 2 || !est_chiffre(champ[0]) || !est_chiffre(champ[1])) return std::nullopt;
  return (champ[0] - '0') * 10 + (champ[1] - '0');
}

// Time of day of "hh:mn:ss" as a fraction of a day; 0 when it does not read.
double fraction_heure(std::string_view heure) {
  const auto h = entier_deux_chiffres(morceau(heure, 0, 2));
  const auto mn = entier_deux_chiffres(morceau(heure, 3, 2));
  const auto s = entier_deux_chiffres(morceau(heure, 6, 2));
  if (!h || !mn || !s || *h > 23 || *mn > 59 || *s > 59) return 0.0;
  return (*h * 3600 + *mn * 60 + *s) / 86400.0;
}

// The time of a multiformat text. The pattern of the text keeps colons where
// they are and turns digits into "*": its "**:**" and "****" are found
// directly on the text. A time is read only as hh:mn or hh:mn:ss,
// zero-padded; a time written otherwise ("0:00", "7:5:00") or on a 12-hour
// clock makes the text unreadable rather than read at the wrong hour.
// "00:00:00" when the text has no time; false when it is unreadable.
bool lire_heure_multiformat(std::string_view t, std::string_view& heure,
                            std::array<char, 8>& heure_completee) {
  heure = "00:00:00";
  const std::size_t p_heure = position_heure(t);
  if (p_heure == npos || p_heure == 0) return !(p_heure == npos && t.find(':') != npos);
  const char avant = t[p_heure - 1];
  if (est_chiffre(avant) || avant == ':') return false;
  // hh:mn, then ":ss" when a colon follows.
  const bool secondes = p_heure + 5 < t.size() && t[p_heure + 5] == ':';
  heure = morceau(t, p_heure, secondes ? 8 : 5);
  if (secondes && !(heure.size() == 8 && est_chiffre(heure[6]) && est_chiffre(heure[7])))
    return false;
  if (heure.size() == 5) {
    for (std::size_t i = 0; i < 5; ++i) heure_completee[i] = heure[i];
    heure_completee[5] = ':';
    heure_completee[6] = heure_completee[7] = '0';
    heure = std::string_view(heure_completee.data(), 8);
  }
  const std::string_view suite = morceau(t, p_heure + (secondes ? 8 : 5), npos);
  return !((!suite.empty() && (est_chiffre(suite[0]) || suite[0] == ':')) ||
           marque_douze_heures(suite) || (fraction_heure(heure) == 0.0 && heure != "00:00:00"));
}

// Two digits at p, not followed by a third.
bool deux_chiffres_entoures(std::string_view t, std::size_t p) {
  return p + 2 <= t.size() && est_chiffre(t[p]) && est_chiffre(t[p + 1]) &&
         (p + 2 == t.size() || !est_chiffre(t[p + 2]));
}

// The date of a multiformat text; a text without a year at its head or
// after two fields reads 2 January 1900.
struct DateMultiformat {
  std::string_view jour = "02", mois = "01", annee = "1900";
};

// US order unless the first field cannot be a month.
bool ordre_us(std::string_view premier, std::string_view second, DateMultiformat& d) {
  const auto n = lire_entier(premier);
  if (!n) return false;
  if (*n > 12) {
    d.jour = premier;
    d.mois = second;
  } else {
    d.mois = premier;
    d.jour = second;
  }
  return true;
}

// The order that gives an existing date; when both do, the variant's order
// for the first date of a listing, then the one nearer the previous date.
bool ordre_le_plus_proche(std::string_view premier, std::string_view second, std::string_view heure,
                          VarianteMultiformat variante, EtatLecteurDates& etat,
                          DateMultiformat& d) {
  const auto a = entier_deux_chiffres(morceau(d.annee, 0, 2));
  const auto b = entier_deux_chiffres(morceau(d.annee, 2, 2));
  const auto f1 = entier_deux_chiffres(premier);
  const auto f2 = entier_deux_chiffres(second);
  if (!a || !b || !f1 || !f2) return false;
  const int an = *a * 100 + *b;
  const double h = fraction_heure(heure);
  const auto jour_mois = encoder_date(an, *f2, *f1);
  const auto mois_jour = encoder_date(an, *f1, *f2);
  if (!jour_mois && !mois_jour) return false;
  bool jour_d_abord;
  if (!jour_mois || !mois_jour) {
    jour_d_abord = jour_mois.has_value();
  } else if (etat.premiere_date_multiformat) {
    jour_d_abord = variante == VarianteMultiformat::proche_ue;
  } else {
    const double ecart_jm = std::fabs(*jour_mois + h - etat.date_multiformat_precedente);
    const double ecart_mj = std::fabs(*mois_jour + h - etat.date_multiformat_precedente);
    jour_d_abord = ecart_jm <= ecart_mj;
  }
  etat.date_multiformat_precedente = (jour_d_abord ? *jour_mois : *mois_jour) + h;
  etat.premiere_date_multiformat = false;
  d.jour = jour_d_abord ? premier : second;
  d.mois = jour_d_abord ? second : premier;
  return true;
}

// A year-last text, "ff/ff/aaaa": the order of day and month follows the variant.
bool lire_annee_a_la_fin(std::string_view t, std::string_view heure, VarianteMultiformat variante,
                         EtatLecteurDates& etat, DateMultiformat& d) {
  if (!deux_chiffres_entoures(t, 0) || !deux_chiffres_entoures(t, 3)) return false;
  const std::string_view premier = morceau(t, 0, 2), second = morceau(t, 3, 2);
  d.annee = morceau(t, 6, 4);
  switch (variante) {
    case VarianteMultiformat::jour_d_abord:
    case VarianteMultiformat::jj_mm_aaaa:
      d.jour = premier;
      d.mois = second;
      return true;
    case VarianteMultiformat::us:
      return ordre_us(premier, second, d);
    case VarianteMultiformat::proche_ue:
    case VarianteMultiformat::proche_us:
      return ordre_le_plus_proche(premier, second, heure, variante, etat, d);
  }
  return true;
}

}  // namespace

std::string date_multiformat(std::string_view texte, std::string_view format,
                             EtatLecteurDates& etat) {
  const VarianteMultiformat variante = variante_multiformat(format);
  const std::string_view t = trim_vue(texte);
  std::string_view heure;
  std::array<char, 8> heure_completee{};
  if (!lire_heure_multiformat(t, heure, heure_completee)) return {};

  const std::size_t p_annee = position_chiffres_consecutifs(t, 4);
  DateMultiformat d;
  if (p_annee == 0) {
    if (!deux_chiffres_entoures(t, 5) || !deux_chiffres_entoures(t, 8)) return {};
    d.annee = morceau(t, 0, 4);
    d.mois = morceau(t, 5, 2);
    d.jour = morceau(t, 8, 2);
  } else if (p_annee == 6) {
    if (!lire_annee_a_la_fin(t, heure, variante, etat, d)) return {};
  }
  std::string r;
  r.reserve(19);
  r.append(d.jour).append("/").append(d.mois).append("/").append(d.annee).append(" ").append(heure);
  return r;
}

}  // namespace tamso
