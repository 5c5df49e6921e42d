// Region 3 of the main window, "3- Format de sortie": the output file's name,
// its decimals and separators, the method and the post-processing.
#pragma once

#include <QGroupBox>

namespace tamso {

class ContexteFenetre;

class RegionFormat : public QGroupBox {
  Q_OBJECT
 public:
  RegionFormat(ContexteFenetre& fenetre, QWidget* parent);

 private:
  QWidget* construire_post_traitement();

  ContexteFenetre& fenetre_;
};

}  // namespace tamso
