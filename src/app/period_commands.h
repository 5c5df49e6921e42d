// The period controls of the main window as operations on the session: the
// start and end pickers, the step editors, the date test, the "O" buttons
// and the double clicks that copy a date into the period.
#pragma once

#include <string>
#include <string_view>

namespace tamso {

class Session;

// Every change below marks the period modified, empties the timestamp list
// and refreshes the line-count summary (Label25).

// Start or end pickers changed (date and time of day together).
void changer_debut(Session& s, double valeur);
void changer_fin(Session& s, double valeur);
// Step time picker (only the time of day counts).
void changer_pas(Session& s, double heure);
// Step count box, kept within 1..400.
void changer_nb_pas(Session& s, int nombre);
// Step unit option (0..3); other values are ignored.
void changer_unite(Session& s, int unite);
// Date test option (0 or 1); other values are ignored. The results lists
// that depend on the date test are emptied by the results owner.
void changer_test_date(Session& s, int test);

// The "O" buttons: after a Yes to "=== heure début ===..." (resp. "fin",
// "pas"), the time of day goes to 00:00:00. True when it was set.
bool mettre_heure_debut_a_zero(Session& s);
bool mettre_heure_fin_a_zero(Session& s);
bool mettre_pas_a_zero(Session& s);

// A clickable date is taken only when it holds at least 8 characters among
// digits, "+", "," and ".".
bool date_recuperable(std::string_view texte);

// Double clicks on the labels of the description's last period
// (Label_pas_dsc, Label_max_dsc, Label_min_dsc). True when the period took it.
bool recuperer_pas_dsc(Session& s);
bool recuperer_max_dsc(Session& s);
bool recuperer_min_dsc(Session& s);
// The description's last period as a whole (start, end and step, a time of
// day), without a question: the button beside those labels. False with a
// message when one of them cannot be read.
bool prendre_periode_dsc(Session& s);
// Double clicks on the earliest and latest date-times of the listed files:
// Yes takes the date-time aligned on whole steps (rounded down for the
// start, to the nearest step for the end), No takes it unchanged.
bool recuperer_date_heure_mini(Session& s, const std::string& texte);
bool recuperer_date_heure_maxi(Session& s, const std::string& texte);
// Double clicks on the earliest and latest file dates of the file table.
bool recuperer_date_min_table(Session& s, const std::string& texte);
bool recuperer_date_max_table(Session& s, const std::string& texte);

// Line-count refresh after any edit of the period or the step: with a step
// and an end different from the start, Label25 shows the expected line count
// and its day count, and the period is marked modified; otherwise "---".
void rafraichir_nombre_lignes(Session& s);

// ---- period file ----

// Writes lines 1 to 7 of the period file and clears the period modified flag.
bool ecrire_periode(Session& s);
// Applies the non-empty lines of the period file. A line 5, 6 or 7 that is not
// a whole number stops with "'%s' n'est pas une valeur entière correcte";
// false then.
bool lire_periode(Session& s);

}  // namespace tamso
