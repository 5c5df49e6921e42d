// The numbered help items shown in the help box for the control under the
// mouse pointer.
#pragma once

#include <array>
#include <string>

namespace tamso {

using LignesAide = std::array<std::string, 6>;

// The item of a control, found by its name; nullptr when it has none.
const LignesAide* aide_du_controle(const std::string& nom);

// The number of lines shown: six less the empty lines at the end, at least 2.
int nombre_lignes_aide(const LignesAide& l);

}  // namespace tamso
