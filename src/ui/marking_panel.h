// The marking choices offered by a right click on the station or the mark
// column of the file table: mark only, or also, the files of one station,
// unmark them, mark or unmark every file.
#pragma once

#include <vector>

#include "ui/widgets.h"

class QRadioButton;

namespace tamso {

class ContexteFenetre;

class PanneauMarquage : public PanneauFlottant {
  Q_OBJECT
 public:
  PanneauMarquage(ContexteFenetre& fenetre, QWidget* parent);

  // Offers the choices for the station of a row of the table, at `position`
  // (in the parent's coordinates, kept inside it).
  void ouvrir(int ligne, QPoint position);

 private:
  ContexteFenetre& fenetre_;
  std::vector<QRadioButton*> choix_;
  int ligne_ = 0;
};

}  // namespace tamso
