// Inspection of a sample data file: the data directory and the mask are
// taken from it, then its first lines tell where the titles and the data are
// and which separator is used; every correction is proposed before it is made.
#pragma once

#include <string>

namespace tamso {

class Session;

// Separator found on a data line: the character whose count is strictly the
// largest; -1 when none is. Counts are given back for the question.
struct DetectionSeparateur {
  int tabulations = 0, espaces = 0, points_virgules = 0, virgules = 0;
  int detecte = -1;  // 0 tabulation, 1 space, 2 semicolon, 3 comma
};
DetectionSeparateur detecter_separateur(std::string_view ligne);

// The sample-file button: asks for the file, then inspects it.
void choisir_fichier_exemple(Session& s);
// The inspection of a chosen sample file, ending with a listing.
void inspecter_fichier_exemple(Session& s, const std::string& chemin);

}  // namespace tamso
