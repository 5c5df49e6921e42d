// Listing of data files: the data files matching the mask (or the single
// workbook sheet, or the clipboard capture) fill the file table, and the
// first file (or the marked ones, or all) is pre-read to check its layout and
// find its first and last measurement dates.
#pragma once

#include <string>

namespace tamso {

class Session;

// What a listing leaves for the stages that follow.
struct EtatListage {
  int nb_fichiers = 0;
  char separateur = ';';       // separator of the loaded lines
  int nb_colonnes_date = 1;    // 1 or 2
  int col_datetime = 1, col_date = 1, col_time = 2;
  std::string format_mesure;   // trimmed format(s), "date time" for two columns
  long long ligne_intitules = -1;  // index of the title line, -1 without titles
  long long premiere_ligne = -1, derniere_ligne = -1;
  long long decalage_balise = 0;   // index of the start tag line, 0 without tags
  int nb_colonnes_valeurs = 0;     // columns minus the date/time columns
  std::string ligne_intitules_texte;  // the title line as read (UTF-8)
  double date_min = 0.0, date_max = 0.0;  // earliest first and latest last date
  double date_nom_min = 0.0, date_nom_max = 0.0;  // dates read from the file names
  double taille_totale_ko = 0.0;
};

// Separator character of the loaded lines for a column-separator choice:
// tabulation and semicolon ";" (tab files are loaded with ";"), space " ",
// comma ",".
char separateur_des_lignes(int choix);
// Caption of a column-separator choice ("Tabulation", "Espace", ...).
std::string legende_separateur(int choix);

// "1  Valider et lister": the listing as the button runs it. An explicit
// listing clears the partial-list flag; otherwise a table whose rows were
// deleted is kept as it is. False when the listing stopped early.
bool lister_fichiers_donnees(Session& s, bool explicite = true);

// The listing proper; also called again by itself after an accepted correction.
bool listage(Session& s);

// The one-column diagnosis: counts of each separator in the line.
void diagnostic_separateur(Session& s, const std::string& ligne);

}  // namespace tamso
