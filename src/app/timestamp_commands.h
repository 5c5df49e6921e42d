// The timestamp list of the session: generated when a run needs it, and by
// the button "<=  2-  créer la liste horodatée".
#pragma once

#include "processing/timestamp_list.h"

namespace tamso {

class Session;

// The list generator on the session's period and list.
IssueListe generer_liste_horodatee(Session& s);

// The button "<=  2-  créer la liste horodatée": refuses a zero step and an
// end not after the start, asks for confirmation, then clears the stop
// request and generates.
IssueListe creer_liste_horodatee(Session& s);

}  // namespace tamso
