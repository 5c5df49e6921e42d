// The regular timestamp list (ListBox_date_clean): item 0 the placeholder
// "_intitulés des colonnes", items 1..N the target date-times, beginning one
// step before the period start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_lines.h"

namespace tamso {

class Avancement;
class Interaction;
class JournalSuivi;
struct Periode;

inline constexpr const char* kIntitulesColonnes = "_intitulés des colonnes";

struct ListeHorodatee {
  // Item texts "dd/mm/yyyy hh:mm:ss"; empty until a list is generated.
  LignesTexte elements;
  // The date-time value of each item (valeurs[0] = 0 for the placeholder),
  // equal to what the date reader gives for the item's text.
  std::vector<double> valeurs;
  int n = 0;             // number of timestamps
  std::string nr_final;  // Label_nr_final: N − 1, the number of results lines
  // Set by the first list built since the program started.
  bool deja_generee = false;
  // The user chose to go on although the run was estimated to need more
  // memory than the machine has: the engine does not ask again.
  bool memoire_forcee = false;

  bool vide() const { return elements.empty(); }
  // Empties the list; N goes back to 0.
  void vider() {
    elements.clear();
    valeurs.clear();
    n = 0;
    memoire_forcee = false;
  }
};

enum class IssueListe {
  creee,    // the whole list was generated
  arretee,  // the stop request ended it early; the list keeps what was made
  annulee,  // the user cancelled or answered No: the list stays empty
  refusee,  // zero step, or (button) an end before the start
};

// What the list generator works on: the period (its questions may change
// it, and mark it modified), the list, and where it asks, logs and reports.
struct ContexteListe {
  Periode& periode;
  bool& periode_modifiee;
  ListeHorodatee& liste;
  Interaction& port;
  JournalSuivi& journal;
  Avancement& avancement;
  int colonnes_valeurs = 1;       // value columns of the listing, for the memory estimate
  std::uint64_t memoire_max = 0;  // bytes a run may take; 0: the memory available
};

// The list generator: the calendar questions of the day, month and year units
// and the date-test question, the question above 32000 lines, then the list
// from one step (or N months or years) before the period start up to the
// period end. Sets N, Label25 and Label_nr_final. The stop request ends it
// after the current item.
IssueListe generer_liste_horodatee(ContexteListe& s);

}  // namespace tamso
