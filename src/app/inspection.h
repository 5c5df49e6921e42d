// Inspection of a sample data file: the data directory and the mask are
// taken from it, then its first lines tell where the titles and the data are
// and which separator is used; every correction is proposed before it is made.
#pragma once

#include <string>

#include "input/layout_detection.h"

namespace tamso {

class Session;

// The sample-file button: asks for the file, then inspects it.
void choisir_fichier_exemple(Session& s);
// The inspection of a chosen sample file, ending with a listing.
void inspecter_fichier_exemple(Session& s, const std::string& chemin);

}  // namespace tamso
