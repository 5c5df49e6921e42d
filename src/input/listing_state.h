// What a listing of data files leaves for the stages that follow, and the
// column separators of the data lines.
#pragma once

#include <optional>
#include <string>

namespace tamso {

// What a listing leaves for the stages that follow.
struct EtatListage {
  int nb_fichiers = 0;
  char separateur = ';';     // separator of the loaded lines
  int nb_colonnes_date = 1;  // 1 or 2
  int col_datetime = 1, col_date = 1, col_time = 2;
  std::string format_mesure;       // trimmed format(s), "date time" for two columns
  long long ligne_intitules = -1;  // index of the title line, -1 without titles
  long long premiere_ligne = -1, derniere_ligne = -1;
  long long decalage_balise = 0;                  // index of the start tag line, 0 without tags
  int nb_colonnes_valeurs = 0;                    // columns minus the date/time columns
  std::string ligne_intitules_texte;              // the title line as read (UTF-8)
  std::optional<double> date_min, date_max;       // earliest first and latest last date
  double date_nom_min = 0.0, date_nom_max = 0.0;  // dates read from the file names
  double taille_totale_ko = 0.0;
};

// Separator character of the loaded lines for a column-separator choice:
// tabulation and semicolon ";" (tab files are loaded with ";"), space " ",
// comma ",".
char separateur_des_lignes(int choix);
// Caption of a column-separator choice ("Tabulation", "Espace", ...).
std::string legende_separateur(int choix);

}  // namespace tamso
