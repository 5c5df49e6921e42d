// The processing run: "3- traiter" checks that a run makes sense, asks about
// the settings that silently change every measurement, writes the run banner,
// lists and builds the timestamp list when needed, runs the engine and saves
// the results. Also the stop and save commands.
#pragma once

#include <string>

#include "processing/engine.h"
#include "results/results_state.h"

namespace tamso {

class Session;

enum class IssueTraitement {
  enregistre,      // results and tracking file written
  refuse,          // nothing listed, or a question answered to stop
  abandonne,       // the user cancelled during the run: nothing written
  echec,           // a file, the listing or the timestamp list failed
  echec_ecriture,  // the results could not be written (or not with their tracking file)
};

// Total time shift in days: the whole days plus the shift time (to whole
// seconds), negative when the shift is subtracted.
double decalage_total(const Session& s);

IssueTraitement traiter_run(Session& s);

// The engine on the session: the period of the run becomes the description's
// last run (and the period file is written when the period changed), a
// workbook sheet is converted anew when it changed, the file-table summary
// is made, then the engine runs on the session's records.
IssueMoteur executer_moteur(Session& s, const ParametresMoteur& p);
// The "traiter" button: true when results were written.
inline bool traiter(Session& s) {
  return traiter_run(s) == IssueTraitement::enregistre;
}

// The stop button: asks, then sets the stop request. Ignored when no run is
// in progress.
void demander_arret(Session& s, bool traitement_en_cours);
// The "sauver ->" button.
void sauver_resultats(Session& s);

// ---- end-of-run signal ----

// The signal is played at the end of a run that lasted more than a minute
// (its start to `maintenant`, in days), unless the computer is to be switched
// off after it.
bool signal_de_fin(const EtatResultats& r, double maintenant);
// The nine tones of the signal, drawn anew ("test son", the end of a long run).
void jouer_signal(Session& s);

// ---- shutdown countdown ----

// The minutes left before the computer is switched off, "%8.2f mn" with the
// computer's decimal separator.
std::string texte_compte_a_rebours(double minutes_restantes, char separateur_decimal);

}  // namespace tamso
