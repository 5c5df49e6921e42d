// The fast reading of data lines: the date-time and the value fields of the
// common lines are read in one pass, with no allocation, by code that has no
// state and can run on several threads. Any line it is not sure to read
// exactly as the step-by-step reader of the engine would (odd dates,
// exponents, "<" values, control characters, quoted fields holding a doubled
// quote, ...) is marked for that reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/date_fields.h"
#include "input/text.h"

namespace tamso {

struct EtatLecteurDates;

// What the fast reader needs to know, fixed for the whole run.
struct PlanLecture {
  bool actif = false;  // false: every line goes to the step-by-step reader
  char separateur = ';';
  // How a line that begins with the separator is cut; fixed for each file.
  SeparateurInitial initial = SeparateurInitial::ignore;
  bool deux_colonnes = false;
  int col_datetime = 1, col_date = 1, col_time = 2;
  // Positions of the codes in the memorised date format; -1 when absent.
  int p_annee = -1, p_mois = -1, p_jour = -1, p_heure = -1, p_minute = -1, p_seconde = -1;
  std::size_t longueur_min = 0;  // shortest date text that holds every code
  bool date_fixe = false;        // the format carries a fixed date (8-character texts differ)
  bool annee_courte = false;     // two-digit year: the century digits go into the text first
  char siecle[2] = {'2', '0'};
  FormatParChamps par_champs;  // the format read field by field, for unpadded dates
  std::vector<int> colonnes;   // source column of each value column, in output order
  int col_max = 0;             // highest column read
  std::vector<std::string> equivalents_na;
  std::uint64_t longueurs_na_numeriques =
      0;  // bit n: one of them reads as a number of n characters
  bool seuil_bas = false, seuil_haut = false;
  double bas = 0.0, haut = 0.0;
  char separateur_decimal = ',';
};

// Builds the plan from the memorised date format and the run's settings.
// `format_memorise` empty or a multiformat format leaves the plan inactive.
PlanLecture construire_plan(const EtatLecteurDates& lecteur, bool multiformat, char separateur,
                            bool deux_colonnes, int col_datetime, int col_date, int col_time,
                            std::vector<int> colonnes, std::vector<std::string> equivalents_na,
                            bool seuil_bas, double bas, bool seuil_haut, double haut,
                            char separateur_decimal);

enum class StatutLigne : std::uint8_t {
  vide,       // an empty line
  rapide,     // read here: time and values below
  reference,  // to be read by the step-by-step reader
};

// The lines of one block as read by the fast reader. Values are kept for the
// lines read here only, `nb_valeurs` per line, in line order.
struct LignesLues {
  std::vector<StatutLigne> statuts;
  std::vector<std::uint8_t> blanches;    // 1 for a line of spaces only (or empty)
  std::vector<double> temps;             // date-time of each line read here
  std::vector<long double> valeurs;      // values of the lines read here
  std::vector<std::uint64_t> manquants;  // bit k: value k is missing
  void vider() {
    statuts.clear();
    blanches.clear();
    temps.clear();
    valeurs.clear();
    manquants.clear();
  }
};

// Reads one line. True when the line is read here: `t`, the values and the
// missing bits are set; false when the step-by-step reader must take it.
bool lire_ligne_rapide(const PlanLecture& plan, std::string_view ligne, double& t,
                       long double* valeurs, std::uint64_t& manquants);

// Reads every line of a block into `sortie`.
void lire_lignes_rapides(const PlanLecture& plan, const char* texte,
                         const std::vector<std::uint32_t>& debuts,
                         const std::vector<std::uint32_t>& longueurs, LignesLues& sortie);

// A plain decimal written with at most 19 digits, read exactly as the
// general number reader reads it: `long` correctly rounded to long double,
// `court` to double. False for anything else (exponent, "<", letters, ...).
bool lire_nombre_simple(std::string_view texte, long double& long_, double& court);

}  // namespace tamso
