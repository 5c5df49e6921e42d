// Listing of data files: the data files matching the mask (or the single
// workbook sheet, or the clipboard capture) fill the file table, and the
// first file (or the marked ones, or all) is pre-read to check its layout and
// find its first and last measurement dates.
#pragma once

#include <string>

#include "input/listing_state.h"

namespace tamso {

class Session;

// "1  Valider et lister": the listing as the button runs it. An explicit
// listing clears the partial-list flag; otherwise a table whose rows were
// deleted is kept as it is. False when the listing stopped early.
bool lister_fichiers_donnees(Session& s, bool explicite = true);

// The listing proper; when a correction of the title option is accepted, it
// runs once more over all the files with the corrected description.
bool listage(Session& s);

// The one-column diagnosis: counts of each separator in the line.
void diagnostic_separateur(Session& s, const std::string& ligne);

}  // namespace tamso
