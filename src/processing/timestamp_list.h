// The regular timestamp list (ListBox_date_clean): item 0 the placeholder
// "_intitulés des colonnes", items 1..N the target date-times.
#pragma once

#include <string>
#include <vector>

namespace tamso {

struct ListeHorodatee {
  std::vector<std::string> elements{"_intitulés des colonnes"};
  int n = 0;  // number of timestamps
};

}  // namespace tamso
