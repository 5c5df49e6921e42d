// The batch program's `run` of one description: listing, timestamp list,
// processing, results and tracking file, as the desktop program does them;
// and the summary of the run for scripts.
#pragma once

#include <string>

namespace tamso {

struct BilanRun;

struct OptionsRun {
  std::string donnees, sortie, debut, fin, pas, test = "le", separateur, presse_papier;
  int jours = 0, mois = 0, annees = 0, decalage_jours = 0;
  int fils = 0;
  bool reference = false;
  std::string memoire_max;
  // --summary-json: where the run's facts go, as JSON ("" for none).
  std::string bilan_json;
};

// Runs one description: the results and tracking paths on standard output,
// questions and messages on standard error, the facts in `bilan`. Its
// temporaries go to a folder of its own in the program directory, removed
// at the end. Returns the exit status.
int executer_run(const std::string& dsc, const OptionsRun& o, BilanRun& bilan);

// `run` with one description: the run, then its summary when asked for.
int commande_run(const std::string& dsc, const OptionsRun& o);

// Writes the summary document (UTF-8 JSON) to `chemin`; false with a message
// on standard error when it cannot be written.
bool ecrire_bilan_json(const std::string& chemin, const std::string& document);

}  // namespace tamso
