#include "results/results_writer.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <thread>
#include <vector>

#include "base/progress.h"
#include "base/tracking_log.h"
#include "description/description.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/files.h"
#include "input/line_blocks.h"
#include "input/text.h"
#include "processing/engine.h"
#include "processing/period.h"
#include "processing/result_grid.h"
#include "processing/timestamp_list.h"
#include "results/results_state.h"
#include "results/run_view.h"
#include "results/tracking_file.h"

namespace tamso {

namespace {

__extension__ typedef unsigned __int128 U128;

constexpr std::uint64_t kPuissances10[20] = {1ULL,
                                             10ULL,
                                             100ULL,
                                             1000ULL,
                                             10000ULL,
                                             100000ULL,
                                             1000000ULL,
                                             10000000ULL,
                                             100000000ULL,
                                             1000000000ULL,
                                             10000000000ULL,
                                             100000000000ULL,
                                             1000000000000ULL,
                                             10000000000000ULL,
                                             100000000000000ULL,
                                             1000000000000000ULL,
                                             10000000000000000ULL,
                                             100000000000000000ULL,
                                             1000000000000000000ULL,
                                             10000000000000000000ULL};

constexpr int kLargeurChamp = 5;
constexpr int kDecimalesParDefaut = 3;
constexpr int kDecimalesMax = 30;

// Writes the digits of q backwards so that they end at fin, at least
// `minimum` of them (leading zeros); returns the first digit.
char* chiffres_u64(std::uint64_t q, char* fin, int minimum) {
  char* p = fin;
  do {
    *--p = static_cast<char>('0' + q % 10);
    q /= 10;
  } while (q != 0);
  while (fin - p < minimum) *--p = '0';
  return p;
}

char* chiffres_u128(U128 q, char* fin, int minimum) {
  if (q <= std::numeric_limits<std::uint64_t>::max())
    return chiffres_u64(static_cast<std::uint64_t>(q), fin, minimum);
  const U128 base = kPuissances10[19];
  char* p = chiffres_u64(static_cast<std::uint64_t>(q % base), fin, 19);
  return chiffres_u64(static_cast<std::uint64_t>(q / base), p, minimum - 19);
}

// The value times 10^decimales, rounded to the nearest whole number (ties to
// even) from the exact binary value, as the C library rounds. False when the
// value is out of this path's reach (2^63 and above, or too many decimals).
bool mise_a_l_echelle(long double absolue, int decimales, U128& q) {
  q = 0;
  if (absolue == 0) return true;
  std::uint64_t m = 0;
  int k = 0;  // absolue = m / 2^k
#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64
  // The 80-bit format: a 64-bit significand with its leading bit, then the
  // biased exponent.
  std::uint16_t exposant = 0;
  std::memcpy(&m, &absolue, sizeof m);
  std::memcpy(&exposant, reinterpret_cast<const char*>(&absolue) + sizeof m, sizeof exposant);
  k = 16383 + 63 - std::max<int>(exposant & 0x7FFF, 1);
#else
  int exposant = 0;
  const long double fraction = std::frexp(absolue, &exposant);  // [0.5, 1)
  m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  k = 64 - exposant;
#endif
  if (k <= 0) return false;
  const U128 produit = static_cast<U128>(m) * kPuissances10[decimales];
  if (k >= 129) return true;  // below half a unit of the last decimal
  if (k == 128) {
    q = produit > (static_cast<U128>(1) << 127) ? 1 : 0;
    return true;
  }
  q = produit >> k;
  const U128 reste = produit & ((static_cast<U128>(1) << k) - 1);
  const U128 moitie = static_cast<U128>(1) << (k - 1);
  if (reste > moitie || (reste == moitie && (q & 1) != 0)) ++q;
  return true;
}

void formater_par_bibliotheque(std::string& sortie, long double valeur, int decimales,
                               char separateur) {
  char tampon[128];
  const int n = std::snprintf(tampon, sizeof tampon, "%5.*Lf", decimales, valeur);
  if (n < 0) return;
  const std::size_t debut = sortie.size();
  if (static_cast<std::size_t>(n) < sizeof tampon) {
    sortie.append(tampon, static_cast<std::size_t>(n));
  } else {
    sortie.resize(debut + static_cast<std::size_t>(n) + 1);
    std::snprintf(&sortie[debut], static_cast<std::size_t>(n) + 1, "%5.*Lf", decimales, valeur);
    sortie.resize(debut + static_cast<std::size_t>(n));
  }
  // The C library writes the decimal mark of its locale.
  for (std::size_t i = debut; i < sortie.size(); ++i)
    if (sortie[i] == '.' || sortie[i] == ',') sortie[i] = separateur;
}

// Output decimal separator, applied to a finished line as a whole: "virgule"
// turns points into commas when the line holds no comma, "point" the reverse.
void appliquer_separateur_sortie(std::string& ligne, SeparateurDecimal choix) {
  if (choix == SeparateurDecimal::virgule && ligne.find(',') == std::string::npos)
    remplacer_caractere('.', ',', ligne);
  else if (choix == SeparateurDecimal::point && ligne.find('.') == std::string::npos)
    remplacer_caractere(',', '.', ligne);
}

void ajouter_entier(std::string& sortie, long double nombre) {
  char tampon[32];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, static_cast<long long>(nombre));
  sortie.append(tampon, r.ptr);
}

std::string texte_formatage(long long pourcentage) {
  return "3- patienter ... formatage " + std::to_string(pourcentage) + "%   ";
}

}  // namespace

// ---------------------------------------------------------------- values

void ajouter_valeur_formatee(std::string& sortie, long double valeur, int decimales,
                             char separateur_decimal) {
  U128 q = 0;
  if (std::numeric_limits<long double>::digits > 64 || decimales < 0 || decimales > 19 ||
      !std::isfinite(valeur) || !mise_a_l_echelle(std::fabs(valeur), decimales, q)) {
    formater_par_bibliotheque(sortie, valeur, decimales < 0 ? 0 : decimales, separateur_decimal);
    return;
  }
  // Digits at the end of the buffer; the integer digits move one place to
  // the left for the decimal mark; sign and padding go in front.
  char tampon[80];
  char* const fin = tampon + sizeof tampon;
  char* debut = chiffres_u128(q, fin, decimales + 1);
  if (decimales > 0) {
    char* const fraction = fin - decimales;
    std::memmove(debut - 1, debut, static_cast<std::size_t>(fraction - debut));
    --debut;
    fraction[-1] = separateur_decimal;
  }
  if (std::signbit(valeur)) *--debut = '-';
  while (fin - debut < kLargeurChamp) *--debut = ' ';
  sortie.append(debut, fin);
}

std::string valeur_formatee(long double valeur, int decimales, char separateur_decimal) {
  std::string t;
  ajouter_valeur_formatee(t, valeur, decimales, separateur_decimal);
  return t;
}

std::string separateur_sortie(SeparateurSortie choix) {
  switch (choix) {
    case SeparateurSortie::espace:
      return " ";
    case SeparateurSortie::espace_tabulation:
      return " \t";
    case SeparateurSortie::point_virgule:
      return ";";
    case SeparateurSortie::tabulation:
      break;
  }
  return "\t";
}

std::optional<int> nombre_decimales(const std::string& texte) {
  const auto n = lire_entier(trim(texte));
  if (!n || *n < 0 || *n > kDecimalesMax) return std::nullopt;
  return static_cast<int>(*n);
}

// ---------------------------------------------------------------- results lines

namespace {

// What every results row is written with.
struct MiseEnForme {
  const GrilleResultats& g;
  const LignesTexte& dates;  // the timestamps' texts
  std::string sep;
  int decimales = 0;
  std::string na, na_ligne_vide;
  char sep_decimal = ',';
  SeparateurDecimal decimal_sortie = SeparateurDecimal::virgule;
};

// Rows [debut, fin) into their results lines and value-only lines.
void formater_rangees(const MiseEnForme& m, int debut, int fin, LignesTexte& lignes,
                      LignesTexte& lignes_valeurs) {
  const GrilleResultats& g = m.g;
  const int c = g.c;
  // About ten characters a value: each piece's text is reserved once.
  const auto rangs = static_cast<std::size_t>(std::max(fin - debut, 1));
  const auto largeur = static_cast<std::size_t>(std::max(c, 1)) * 10;
  lignes.reserve(rangs, rangs * (largeur + 24));
  lignes_valeurs.reserve(rangs, rangs * largeur);
  constexpr std::string_view kSansDate;
  std::string valeurs, ligne;
  for (int r = debut; r < fin; ++r) {
    valeurs.clear();
    const long double nb = g.nb_lignes_ligne(r);
    for (int k = 2; k <= c - 1; ++k) {
      if (k > 2) valeurs += m.sep;
      const Cellule& x = g.cellule(r, k);
      if (nb == 0)
        valeurs += m.na_ligne_vide;
      else if (x.na)
        valeurs += m.na;
      else
        ajouter_valeur_formatee(valeurs, x.valeur, m.decimales, m.sep_decimal);
    }
    const std::string_view date = static_cast<std::size_t>(r) < m.dates.size()
                                      ? m.dates[static_cast<std::size_t>(r)]
                                      : kSansDate;
    ligne.clear();
    ligne += date;
    if (c > 2) {
      ligne += m.sep;
      ligne += valeurs;
    }
    ligne += m.sep;
    ajouter_entier(ligne, nb);
    appliquer_separateur_sortie(ligne, m.decimal_sortie);
    appliquer_separateur_sortie(valeurs, m.decimal_sortie);
    lignes.push_back(ligne);
    lignes_valeurs.push_back(valeurs);
  }
}

// Rows a piece of the formatting holds: about eight pieces a thread, to share
// the work among them, and at most 32768 rows, for the stop request to be
// heard often; few pieces in all, for a list to find its lines fast.
int rangees_par_morceau(int rangees, int fils) {
  return std::clamp((rangees + 8 * fils - 1) / (8 * fils), 1, 1 << 15);
}

}  // namespace

bool formater_resultats(const Description& d, const GrilleResultats& g, const ListeHorodatee& liste,
                        char sep_decimal, EtatResultats& res, JournalSuivi& journal,
                        Avancement& avancement, int fils) {
  res.lignes.clear();
  res.lignes_valeurs.clear();
  res.vue = EtatResultats::Vue::liste;
  const int n = g.n(), c = g.c;
  if (g.vide() || c < 2) return true;

  const auto lues = nombre_decimales(d.nb_decimale);
  if (!lues)
    journal.ajouter_ligne_suivi(" nombre de décimales <" + d.nb_decimale + "> incorrect : " +
                                std::to_string(kDecimalesParDefaut) + " décimales");
  const std::string cle_na = majuscules(trim(d.texte_na));
  const MiseEnForme m{g,
                      liste.elements,
                      separateur_sortie(d.separateur_sortie),
                      lues.value_or(kDecimalesParDefaut),
                      d.texte_na,
                      cle_na == "E"   ? " "
                      : cle_na == "V" ? ""
                                      : d.texte_na,
                      sep_decimal,
                      d.decimal_sortie};

  std::string entete, entete_valeurs;
  for (int k = 1; k <= c; ++k) {
    if (k > 1) entete += m.sep;
    entete += g.titres[static_cast<std::size_t>(k)];
  }
  for (int k = 2; k <= c - 1; ++k) {
    if (k > 2) entete_valeurs += m.sep;
    entete_valeurs += g.titres[static_cast<std::size_t>(k)];
  }
  res.lignes.push_back(entete);
  res.lignes_valeurs.push_back(entete_valeurs);

  // Rows 2..N in pieces, taken in turn by the threads; this one reports the
  // progress and hears the stop request, after which no piece is begun. The
  // pieces are then joined in order, up to the first one not made.
  const int nb_fils = fils_de_lecture(fils);
  const int par_morceau = rangees_par_morceau(n - 1, nb_fils);
  const int nb_morceaux = std::max(0, (n - 1 + par_morceau - 1) / par_morceau);
  struct Morceau {
    LignesTexte lignes, valeurs;
    std::atomic<bool> fait{false};
  };
  std::vector<Morceau> morceaux(static_cast<std::size_t>(nb_morceaux));
  std::atomic<int> prochain{0}, rangees_faites{0};
  std::atomic<bool> arret{false};
  // Formats the next piece not begun; false when none is left.
  const auto morceau_suivant = [&] {
    const int k = prochain++;
    if (k >= nb_morceaux) return false;
    Morceau& x = morceaux[static_cast<std::size_t>(k)];
    const int debut = 2 + k * par_morceau, fin = std::min(n + 1, debut + par_morceau);
    formater_rangees(m, debut, fin, x.lignes, x.valeurs);
    x.fait.store(true, std::memory_order_release);
    rangees_faites += fin - debut;
    return true;
  };
  std::vector<std::thread> aides;
  const int nb_aides = std::min(nb_fils, nb_morceaux) - 1;
  for (int k = 0; k < nb_aides; ++k)
    aides.emplace_back([&] {
      while (!arret.load(std::memory_order_relaxed) && morceau_suivant()) {
      }
    });
  Cadence cadence;
  bool complet = true;
  while (morceau_suivant()) {
    if (cadence.echue()) {
      avancement.progression(texte_formatage(std::lround(100.0 * (1 + rangees_faites) / n)), 3);
      if (avancement.arret_demande()) {
        arret = true;
        complet = false;
        break;
      }
    }
  }
  for (auto& t : aides) t.join();
  for (Morceau& x : morceaux) {
    if (!x.fait.load(std::memory_order_acquire)) break;
    res.lignes.ajouter(std::move(x.lignes));
    res.lignes_valeurs.ajouter(std::move(x.valeurs));
  }
  if (complet) avancement.progression(texte_formatage(100), 3);
  return complet;
}

// ---------------------------------------------------------------- save

NomResultats nom_resultats(const VueTraitement& s) {
  static const std::string kParagraphe = "§";
  NomResultats r;
  std::string nom = s.description.nom_fic_sortie;
  if (trim(nom).empty()) nom = "A#";
  if (const std::size_t p = nom.find('#'); p != std::string::npos) {
    nom.erase(p, 1);
    r.nom_travail = nom;
    nom += "_" + heure_en_texte(s.resultats.duree_totale());
    remplacer_caractere(':', ';', nom);
  }
  if (const std::size_t p = nom.find(kParagraphe); p != std::string::npos) {
    nom.erase(p, kParagraphe.size());
    r.nom_travail = nom;
    nom += " du " + s.periode.debut.substr(0, 10) + " au " + s.periode.fin.substr(0, 10) + " (" +
           std::to_string(std::max(s.grille.n() - 1, 0)) + ")";
    remplacer_caractere(':', ';', nom);
    remplacer_caractere('/', '-', nom);
  }
  if (nom.find('.') == std::string::npos) nom += ".txt";
  r.extension = nom.substr(nom.rfind('.'));
  r.racine = champ(nom, 1, '.');
  r.nom = std::move(nom);
  return r;
}

BilanTraitement bilan_traitement(const VueTraitement& s) {
  const EtatTraitement& et = s.etat_traitement;
  if (et.arrete || !s.resultats.formatage_complet) return BilanTraitement::arrete;
  if (et.lignes_extraites == 0) return BilanTraitement::sans_donnees;
  if (!et.fichiers_incomplets.empty()) return BilanTraitement::incomplet;
  return BilanTraitement::complet;
}

std::string titre_fin_traitement(const VueTraitement& s) {
  switch (bilan_traitement(s)) {
    case BilanTraitement::arrete:
      return "3- TRAITEMENT ARRÊTÉ";
    case BilanTraitement::sans_donnees:
      return "3- TRAITEMENT SANS DONNÉES";
    case BilanTraitement::incomplet:
      return "3- TRAITEMENT INCOMPLET";
    case BilanTraitement::complet:
      break;
  }
  return "3- TRAITEMENT EFFECTUÉ";
}

std::vector<std::string> reserves_traitement(const VueTraitement& s) {
  const EtatTraitement& et = s.etat_traitement;
  const EtatResultats& res = s.resultats;
  std::vector<std::string> r;
  if (et.arrete)
    r.push_back("!!! TRAITEMENT ARRÊTÉ à la demande pendant la lecture du fichier " +
                std::to_string(et.fichiers_lus) + " sur " +
                std::to_string(et.lignes_traitees.size()) +
                " : les résultats ne tiennent compte que des lignes lues avant l'arrêt");
  if (!res.formatage_complet) {
    const long long ecrites = std::max<long long>(0, static_cast<long long>(res.lignes.size()) - 1);
    const auto& elements = s.liste_horodatee.elements;
    const std::size_t derniere = static_cast<std::size_t>(ecrites + 1);
    r.push_back("!!! MISE EN FORME ARRÊTÉE à la demande : les résultats s'arrêtent " +
                (ecrites > 0 && derniere < elements.size()
                     ? "au " + std::string(elements[derniere]) + " "
                     : std::string()) +
                "(" + format_milliers(ecrites) + " lignes sur " +
                format_milliers(std::max(s.grille.n() - 1, 0)) + ")");
  }
  if (et.lignes_extraites == 0)
    r.push_back(
        "!!! AUCUNE LIGNE EXTRAITE : toutes les valeurs des résultats sont manquantes "
        "(vérifier le n° et le format de la colonne date/heure, le séparateur de "
        "colonnes, le codage des fichiers et la période)");
  for (const std::string& nom : et.fichiers_incomplets)
    r.push_back("!!! FICHIER LU INCOMPLÈTEMENT : " + nom +
                " (erreur de lecture, ou fichier raccourci pendant le traitement) : les "
                "résultats n'en contiennent que le début");
  if (et.dates_illisibles > 0)
    r.push_back("!!! " + format_milliers(et.dates_illisibles) +
                " lignes de données à date illisible, non placées (voir \"+ erreur date\" et "
                "\"nb dates illisibles\" dans la fenêtre de suivi)");
  return r;
}

}  // namespace tamso
