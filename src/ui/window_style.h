// The style sheets of the main window and of its panels, from the four
// window colours (background, buttons, lists, help).
#pragma once

#include <array>

#include <QString>

namespace tamso {

struct Couleur;

QString feuille_de_style_fenetre(const std::array<Couleur, 4>& c);
QString feuille_de_style_panneaux(const std::array<Couleur, 4>& c);

}  // namespace tamso
