// Saving the results of a run: the results file under its name (numbered,
// asked about, or kept in a recovery file), the clipboard, the tracking file
// and the final message; and the copy of the value columns alone.
#pragma once

#include <string>

#include "results/run_view.h"

namespace tamso {

class FichierEnAttente;
struct Description;

class Session;

// The records of the session's last run.
VueTraitement vue_traitement(const Session& s);

// The results file a run of this description aims at: the output directory
// (its "Export" folder for text files processed in their own folder), the
// name of the name box and its extension, ".txt" when it has none. The
// placeholders "#" and "§" are left as they are written: two runs whose
// names differ only by what they expand to would still race for one name.
std::string chemin_resultats_prevu(const Description& d);

// Builds the session's results lines (see formater_resultats of the results layer).
bool formater_resultats(Session& s);

// The save step: results file, clipboard, tracking file, final message. When
// no results are pending only the description is saved. False when nothing
// could be written; the results-pending flag is never changed here (the run
// clears it once this returns true).
bool enregistrer_resultats(Session& s);

// "sans col DateTime": the value columns alone go to "~tmp.txt" in the
// program directory and to the clipboard. False when there is nothing to copy
// or the file cannot be written.
bool copier_sans_date(Session& s);

// The text of the message that ends a save.
std::string message_fin_traitement(const Session& s);

// Writes the tracking file of the last results file (resultats.chemin_suivi)
// with the summary, the statistics, the closing lines and the whole log,
// under its temporary name (`fichier` puts it in place). The description is
// written on the way when it was modified. False when the file cannot be
// written (the reason in `fichier`).
bool ecrire_fichier_suivi(Session& s, FichierEnAttente& fichier);

}  // namespace tamso
