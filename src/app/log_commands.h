// The commands of the tracking log: emptying it, and listing the columns the
// results will hold.
#pragma once

namespace tamso {

class Session;

// ---- tracking log ----

// "clear": after a Yes to " Effacer le texte ? ", the log is emptied.
bool effacer_suivi(Session& s);
// "lister les colonnes": the columns requested in output, into the log.
// False when it stopped on a message.
bool lister_colonnes(Session& s);

}  // namespace tamso
