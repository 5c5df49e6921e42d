// The numbered help items shown in the help box for the control under the
// mouse pointer.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tamso {

class Session;

using LignesAide = std::array<std::string, 6>;

// The item of a control, found by its name; nullptr when it has none.
const LignesAide* aide_du_controle(const std::string& nom);

// The number of lines shown: six less the empty lines at the end, at least 2.
int nombre_lignes_aide(const LignesAide& l);

// The items built when shown, from the session: over "éditer =>", "fichier
// de suivi" and "exit"; nothing over another control.
std::optional<std::vector<std::string>> aide_calculee(const std::string& nom, const Session& s);

// Over the file table: the row of titles (ligne 0), or the column of that
// title; `cellule` is the cell under the pointer. At least two lines.
std::vector<std::string> aide_tableau(int ligne, const std::string& titre,
                                      const std::string& cellule);

}  // namespace tamso
