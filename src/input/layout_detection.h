// What a sample of a data file tells about its layout: the separator, where
// the titles and the data are, the date columns and their format, the decimal
// mark, the value columns and the no-data markers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamso {

// Separator found on a data line: the character whose count is strictly the
// largest; -1 when none is. Counts are given back for the question. The
// characters inside quoted fields are not counted.
struct DetectionSeparateur {
  int tabulations = 0, espaces = 0, points_virgules = 0, virgules = 0;
  int detecte = -1;  // 0 tabulation, 1 space, 2 semicolon, 3 comma
};
DetectionSeparateur detecter_separateur(std::string_view ligne);

// The layout found over a whole sample. Line numbers count from 1 in the
// sample as given; columns from 1 in the fields of a line.
struct DispositionDetectee {
  bool trouvee = false;            // a data block with dates was found
  int separateur = -1;             // 0 tabulation, 1 space, 2 semicolon, 3 comma
  int ligne_intitules = 0;         // 0: no title line
  int ligne_unites = 0;            // a units line between titles and data, 0: none
  int premiere_ligne_donnees = 0;  // first line of the data block
  int derniere_ligne_donnees = 0;  // last line of the data block within the sample
  int nb_champs = 0;               // fields of a data line
  // Lines after the data that are not data (a trailer), and the start and
  // end tags proposed around the data (empty: data found by line number).
  bool fin_avant_la_fin = false;
  std::string balise_debut, balise_fin;
  int ligne_balise = 0;  // the line of the start tag, which the data's line numbers count from
  // The date: in one column, or a date column and a time column.
  bool deux_colonnes = false;
  int colonne_date_heure = 0, colonne_date = 0, colonne_heure = 0;
  std::string format_date_heure, format_date, format_heure;
  char decimale = '.';                  // '.' or ','
  std::vector<int> colonnes_valeurs;    // the numeric columns, the date's excepted
  std::vector<std::string> marques_na;  // no-data markers seen in the value columns
  int pas_secondes = 0;  // the most frequent interval between two data lines, 0: unknown
  std::string premiere_date, derniere_date;  // "jj/mm/aaaa hh:mn:ss" of the block's ends
  // What was found and why, a line each, for the user to check.
  std::vector<std::string> explications;
};

// Detects the layout of a sample: its first lines (and, when the file is
// longer than the sample, `fin` holds its last lines, for the trailer).
// Lines are Windows-1252 text without their line ends.
DispositionDetectee detecter_disposition(const std::vector<std::string>& lignes,
                                         const std::vector<std::string>& fin = {});

// The sample of a file: its first lines within `octets` bytes, cut at CR, LF
// or CR LF, and its last lines when the file is longer. False when the file
// cannot be read.
struct EchantillonFichier {
  std::vector<std::string> debut, fin;
  bool complet = true;  // the whole file is in `debut`
};
bool lire_echantillon(const std::string& chemin, EchantillonFichier& e,
                      std::size_t octets = 256 * 1024);

}  // namespace tamso
