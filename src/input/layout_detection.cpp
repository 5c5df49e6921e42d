#include "input/layout_detection.h"

#include <array>

#include "input/text.h"

namespace tamso {

DetectionSeparateur detecter_separateur(std::string_view ligne) {
  DetectionSeparateur d;
  d.tabulations = compter_caractere('\t', ligne);
  d.espaces = compter_caractere(' ', ligne);
  d.points_virgules = compter_caractere(';', ligne);
  d.virgules = compter_caractere(',', ligne);
  const std::array<int, 4> n = {d.tabulations, d.espaces, d.points_virgules, d.virgules};
  for (int i = 0; i < 4; ++i) {
    bool plus_grand = true;
    for (int k = 0; k < 4; ++k)
      if (k != i && n[static_cast<std::size_t>(k)] >= n[static_cast<std::size_t>(i)])
        plus_grand = false;
    if (plus_grand) d.detecte = i;
  }
  if (d.detecte == 1 && d.points_virgules >= 4 && d.tabulations > d.virgules) d.detecte = 2;
  return d;
}

}  // namespace tamso
