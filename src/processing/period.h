// The target period and step, shared by every description and kept in the
// period file beside the program.
#pragma once

#include <string>

namespace tamso {

class Session;

struct Periode {
  std::string debut;          // Label_temps_deb, "dd/mm/yyyy hh:mm:ss"
  std::string fin;            // Label_temps_fin
  double pas = 15.0 / 1440;   // TimePicker_pas, time of day
  std::string resume_lignes;  // Label25, the line-count summary
  int nb_pas = 1;             // SpinEdit_pas_jour_mois_annee, 1..400
  int test_date = 0;          // 0 "(inf ou =)", 1 "(inf strict)"
  int unite = 0;              // 0 "hh:mn:ss", 1 "jour", 2 "mois", 3 "année"
};

// Writes lines 1 to 7 of the period file and clears the period modified flag.
bool ecrire_periode(Session& s);
// Applies the non-empty lines of the period file. A line 5, 6 or 7 that is not
// a whole number stops with "'%s' n'est pas une valeur entière correcte";
// false then.
bool lire_periode(Session& s);

}  // namespace tamso
