// The reactions of the main window's setting controls, as operations on the
// session: the checks and corrections of the edits with their messages, the
// check boxes that exclude or warn, the titles of the columns to extract.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tamso {

class Session;
struct Description;
struct Couleur;

// ---- columns to extract (Edit_col_cochee) ----

struct NettoyageColonnes {
  std::string liste;              // the cleaned list
  bool entrees_retirees = false;  // a date or time column number was removed
};
// Blanks removed, ";" and "." read as ",", one "," of the first ",," and a
// final "," removed; then the entries equal to the date-time column (one
// column) or to the date or time column (two columns) are removed, and empty
// entries dropped.
NettoyageColonnes nettoyer_colonnes_a_extraire(std::string_view saisie, const Description& d);
// Leaving the box or Enter: cleans the typed list, tells when a date or time
// column had to be removed (only when the box "n'extraire que les colonnes
// suivantes" is checked), stores a changed list and marks the description
// modified, then refreshes the titles of the columns to extract.
void valider_colonnes_a_extraire(Session& s, const std::string& saisie);

// The text of the label beside "n'extraire que les colonnes suivantes":
// "---" when unchecked, "=> t1 | t2 ..." otherwise; nothing when the label
// stays as it is (empty list, a list still being typed, a column number
// that is not a whole number, which is reported).
std::optional<std::string> titres_colonnes_a_extraire(Session& s);
// Puts that text into Label_col_alternatives.
void rafraichir_titres_colonnes(Session& s);

// ---- formats ----

// The date-time format and the file-date format: ";" read as ":" (and "." as
// "," for the file-date format), the first "hh:mm" made "hh:mn"; blanks at
// either end removed, blanks inside made "_" (a filler: the codes keep their
// positions), except around the commas of a file-date rule, where they go.
std::string nettoyer_format(std::string_view saisie, bool format_fichier);
// True when the format holds exactly four "m".
bool quatre_m(std::string_view format);
// The date-only format: the same, and the first "hh:mn" removed.
std::string nettoyer_format_date_seule(std::string_view saisie);
// Leaving the box or Enter.
void valider_format_datetime(Session& s, const std::string& saisie);
void valider_format_date_fichier(Session& s, const std::string& saisie);
void valider_format_date_seule(Session& s, const std::string& saisie);

// ---- no-data equivalences (Edit_equiv_na) ----

// The first "," becomes ";" when the character after it is not "+", "-", a
// digit or "E" (a "," before a number is a decimal comma).
std::string nettoyer_equivalences(std::string_view saisie);
// Leaving the box or Enter; warns when more than seven equivalences are given.
void valider_equivalences(Session& s, const std::string& saisie);

// ---- line numbers ----

// Enter in the first-data-line box. False when the line is refused (not
// after the title line, or not a whole number); the flag is then unchanged.
bool valider_num_ligne_donnee(Session& s);

// Enter in the mask, the title-line number, the column numbers, the
// decimals, the output name, the no-data value, the station rule or the
// first-file titles: when the description was modified, counts the data
// files and lists them, or says that none has the mask's extension.
void valider_par_entree(Session& s);

// ---- mask (Edit_masque) ----

// The user types the extension only: "*" and "." are refused.
bool caractere_refuse_masque(char c);
// A new mask: the data source follows it; any mask but "ppp" marks the
// description modified.
void changer_masque(Session& s, const std::string& masque);

// ---- check boxes ----

// "Delta(y)" and "Dérivée" exclude each other.
void cocher_delta_y(Session& s, bool coche);
void cocher_derivees(Session& s, bool coche);
// "croissance forcée des cumuls": warns when checked while the method is not
// "max", once a timestamp list has been built in this run of the program.
void cocher_cumul_corriger(Session& s, bool coche);

// Double click on the alternative titles: after a Yes, they become the
// titles read from the first data file. True when copied.
bool recuperer_intitule_origine(Session& s);

}  // namespace tamso
