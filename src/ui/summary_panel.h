// The summary of the DSC files of the description directory, and the change
// of the drive (or, off Windows, of the start of the paths) in all of them.
#pragma once

#include "app/description_files.h"
#include "ui/widgets.h"

class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;

namespace tamso {

class ContexteFenetre;

class PanneauResume : public PanneauFlottant {
  Q_OBJECT
 public:
  PanneauResume(ContexteFenetre& fenetre, QWidget* parent);

  // "Résumé des DSC": builds the summary and shows it over the window.
  void ouvrir();

 private:
  QHBoxLayout* construire_lecteur();
  // "Modifier": the new drive written into every DSC file.
  void modifier_lecteur();
  void afficher_texte();

  ContexteFenetre& fenetre_;
  ResumeDsc resume_;
  QLabel* titre_ = nullptr;
  QLineEdit* edit_lecteur_ = nullptr;
  QLineEdit* edit_prefixe_ = nullptr;
  QPlainTextEdit* texte_ = nullptr;
};

}  // namespace tamso
