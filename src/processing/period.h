// The target period and step, shared by every description and kept in the
// period file beside the program, with the values derived from them: the
// step value, the expected line count and the texts shown beside the period.
#pragma once

#include <string>

namespace tamso {

// Step units (RadioButton1_jour_mois_annee .. RadioButton4_jour_mois_annee);
// the period file keeps their rank.
enum class UnitePas {
  heure = 0,
  jour = 1,
  mois = 2,
  annee = 3
};  // "hh:mn:ss" "jour" "mois" "année"
// Date tests (RadioButton1_actuel_ou_passee, RadioButton2_actuel_ou_passee).
enum class TestDate { inf_ou_egal = 0, inf_strict = 1 };  // "(inf ou =)" "(inf strict)"
// Range of the step count box.
inline constexpr int kNbPasMin = 1;
inline constexpr int kNbPasMax = 400;

// Today at 00:00:00 and tomorrow at 00:00:00, as period label texts.
std::string debut_periode_par_defaut();
std::string fin_periode_par_defaut();

struct Periode {
  // Label_temps_deb / Label_temps_fin, always "dd/mm/yyyy hh:mm:ss"; the
  // date and time pickers of each end show the same date-time.
  std::string debut = debut_periode_par_defaut();
  std::string fin = fin_periode_par_defaut();
  double pas = 15.0 / 1440;           // TimePicker_pas, time of day
  std::string resume_lignes = "---";  // Label25, the line-count summary
  bool resume_negatif = false;        // Label25 shown in red
  int nb_pas = 1;                     // SpinEdit_pas_jour_mois_annee, 1..400
  TestDate test_date = TestDate::inf_ou_egal;
  UnitePas unite = UnitePas::heure;
};

// ---- date-time values in whole seconds ----

// Whole seconds from 30 December 1899 00:00:00 (nearest second).
long long secondes_depuis_origine(double valeur);
// The value of a whole number of seconds: the very value the date reader
// gives for the text of that instant.
double valeur_depuis_secondes(long long secondes);

// ---- derived values ----

// Period start and end read back from their labels (0 when unreadable).
double valeur_debut(const Periode& p);
double valeur_fin(const Periode& p);
// Sets a label from a value ("dd/mm/yyyy hh:mm:ss").
void fixer_debut(Periode& p, double valeur);
void fixer_fin(Periode& p, double valeur);

// Step in whole seconds: unit 0 the step time of day rounded down to whole
// seconds, unit 1 N days, unit 2 30 × N days, unit 3 365 × N days, else 0.
long long secondes_pas(const Periode& p);
// The same in days.
double valeur_pas(const Periode& p);

// Round-half-to-even of ((fin − debut) / pas + 0.5): a whole quotient k gives
// k when k is even, k + 1 when it is odd. 0 when the step is 0.
int nombre_lignes_attendu(double debut, double fin, double pas);
// From the period start and end with the current step.
int nombre_lignes_attendu(const Periode& p);

// " => " + the whole days of |nombre × pas| + " jour" ("s" above 1); empty
// when that is 0 days.
std::string texte_nombre_jours(long long nombre, double pas);

// Text of a timestamp of the list: "dd/mm/yyyy hh:mm:ss", " 00:00:00" at midnight.
std::string texte_element_liste(double valeur);
// Date-time text of messages and labels, the same form.
std::string texte_date_heure_complet(double valeur);
// "dimanche" for 1 ... "samedi" for 7; empty otherwise.
std::string nom_jour_semaine(int jour);
// Weekday labels of the period start and end (Label_jour_semaine_deb/_fin).
std::string jour_semaine_debut(const Periode& p);
std::string jour_semaine_fin(const Periode& p);
// "00:15:00", "1 jour", "2 jours", "3 mois", "1 année", "2 années".
std::string texte_pas(const Periode& p);

// ---- rounding to whole steps, counted from 30 December 1899 00:00:00 ----

// The value unchanged when the step is 0.
double arrondir_au_pas_inferieur(double valeur, double pas);
// Halves go to the later step.
double arrondir_au_pas_proche(double valeur, double pas);

}  // namespace tamso
