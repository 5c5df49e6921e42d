// What a run leaves for its save: the results lines, the paths written, the
// results-pending flag and the run's clocks.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/text_lines.h"

namespace tamso {

struct EtatResultats {
  // The results lines (ListBox_DONNEE_date_clean), header first, and the
  // value fields alone (ListBox_juste_donnee), header first.
  LignesTexte lignes;
  LignesTexte lignes_valeurs;
  // The last results file and tracking file written.
  std::string chemin_resultats;
  std::string chemin_suivi;
  // The name the results were saved under before its placeholders were
  // expanded, or the path chosen in the save dialog.
  std::string nom_travail;
  // Set when a run starts, cleared once its results are saved.
  bool en_attente = false;
  // What the last save did besides the two files: the results copied to the
  // clipboard, the description file written.
  bool copie_presse_papier = false;
  bool description_enregistree = false;
  // False when a stop request ended the formatting of the results lines:
  // the results then end before the period does.
  bool formatage_complet = true;
  // Start of the run (date-time value) and the durations of the three phases
  // (listing, timestamp list, processing), in days.
  double debut_run = 0.0;
  std::array<double, 4> durees{};
  double duree_totale() const { return durees[1] + durees[2] + durees[3]; }
  // CheckBox_arret_PC: the computer is switched off after the run, so the
  // save ends without its final message.
  bool arret_pc = false;
  // What the results area shows: the results list, the results file just
  // written (RichEdit3) or the value columns alone (RichEdit4).
  enum class Vue { liste, fichier, valeurs };
  Vue vue = Vue::liste;
};

}  // namespace tamso
