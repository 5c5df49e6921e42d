// The workbook source: one sheet of a workbook (.xlsx, .xlsm, .ods, .xls)
// read in-process and written as the semicolon-separated temporary text
// "~tmp_xls.csv", which listing, inspection and processing then read like any
// data file. One spreadsheet row per line, the used range of the sheet from
// its first to its last non-empty row and column; a tabulation or a ";"
// inside a cell is not protected and separates fields like the others.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/workbook_zip.h"

namespace tamso {

struct ResultatConversion {
  ErreurClasseur erreur;
  bool feuille_vide = false;  // the sheet holds no cell with a value
  int nb_feuilles = 0;        // known when the workbook itself could be read
  std::string nom_feuille;
  std::uint64_t nb_lignes = 0;
  std::uint64_t taille = 0;  // bytes written
};

// Converts sheet `numero` (from 1) of the workbook into `destination`:
// Windows-1252 text, CR LF line ends, cells joined by ";". The file appears
// complete or not at all: an empty sheet or a failure leaves no file there
// (an older one is removed, so that nobody reads it for the new sheet).
ResultatConversion convertir_feuille_classeur(const std::string& classeur, int numero,
                                              const std::string& destination,
                                              const LimitesClasseur& limites = {});

// The message of a failed conversion, naming the workbook and the sheet.
std::string message_echec_classeur(const ResultatConversion& r, const std::string& classeur,
                                   int numero);

// The sheet number of the setting `Edit_num_feuille_excel`: 1 when it is not
// above 0 (or empty); nothing when it is not a whole number.
std::optional<int> numero_feuille_excel(std::string_view texte);

}  // namespace tamso
