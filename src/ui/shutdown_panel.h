// The shutdown countdown shown after a run when "éteindre le PC à la fin du
// traitement" is checked: any key cancels it.
#pragma once

#include "ui/widgets.h"

namespace tamso {

class PanneauExtinction : public PanneauFlottant {
  Q_OBJECT
 public:
  explicit PanneauExtinction(QWidget* parent);

  // Counts `minutes` down, showing the minutes left with the computer's
  // decimal separator; true when the time ran out, false when cancelled.
  bool compte_a_rebours(double minutes, char separateur_decimal);
  bool en_cours() const { return en_cours_; }
  void annuler() { annule_ = true; }

 private:
  QLabel* minutes_ = nullptr;
  bool en_cours_ = false;
  bool annule_ = false;
};

}  // namespace tamso
