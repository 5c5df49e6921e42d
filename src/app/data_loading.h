// Loading a data file of the session's description (Memo1 and its preview
// Memo6), as the listing, the inspection and the station rules do.
#pragma once

#include <string>

namespace tamso {

class Session;

// Loads a file into the session's `fichier_charge` and `apercu` by the rules
// of its description and data source. False ends the caller's work.
bool charger_fichier_donnees(Session& s, const std::string& chemin, bool debut_et_fin = false);

}  // namespace tamso
