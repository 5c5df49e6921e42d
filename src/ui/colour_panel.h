// The colour panel: the colour scheme ("couleurs" or "niveaux de gris") and
// the four buttons that choose the window colours in the colour dialog.
#pragma once

#include "ui/widgets.h"

namespace tamso {

class ContexteFenetre;

class PanneauCouleurs : public PanneauFlottant {
  Q_OBJECT
 public:
  PanneauCouleurs(ContexteFenetre& fenetre, QWidget* parent);

  // The button "couleurs": shows the panel below `sous`, or hides it.
  void basculer(QWidget* sous);

 private:
  // Colour numero (1 to 4) chosen in the colour dialog.
  void choisir(int numero);

  ContexteFenetre& fenetre_;
};

}  // namespace tamso
