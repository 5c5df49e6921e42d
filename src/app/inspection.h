// Inspection of a sample data file: the data directory and the mask are
// taken from it, then its first lines tell where the titles and the data are
// and which separator is used; every correction is proposed before it is made.
#pragma once

#include <string>
#include <vector>

#include "input/layout_detection.h"

namespace tamso {

class Session;

// The sample-file button: asks for the file, then inspects it.
void choisir_fichier_exemple(Session& s);
// The inspection of a chosen sample file, ending with a listing; gives the
// layout detected in it (not `trouvee` when none was).
DispositionDetectee inspecter_fichier_exemple(Session& s, const std::string& chemin);

// The detected layout in a few lines, as the inspection shows it.
std::string resume_disposition(const DispositionDetectee& d);

}  // namespace tamso
