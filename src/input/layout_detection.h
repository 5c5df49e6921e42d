// What the first lines of a sample file tell about its layout.
#pragma once

#include <string_view>

namespace tamso {

// Separator found on a data line: the character whose count is strictly the
// largest; -1 when none is. Counts are given back for the question. The
// characters inside quoted fields are not counted.
struct DetectionSeparateur {
  int tabulations = 0, espaces = 0, points_virgules = 0, virgules = 0;
  int detecte = -1;  // 0 tabulation, 1 space, 2 semicolon, 3 comma
};
DetectionSeparateur detecter_separateur(std::string_view ligne);

}  // namespace tamso
