#include "ui/marking_panel.h"

#include <algorithm>

#include <QRadioButton>
#include <QVBoxLayout>

#include "app/file_table_commands.h"
#include "app/session.h"
#include "ui/window_context.h"

namespace tamso {

PanneauMarquage::PanneauMarquage(ContexteFenetre& fenetre, QWidget* parent)
    : PanneauFlottant(parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Panel_coche"));
  auto* vco = new QVBoxLayout(this);
  vco->setSpacing(2);
  for (int i = 0; i < 5; ++i) {
    auto* r = new QRadioButton(this);
    r->setObjectName(QStringLiteral("RadioButton_coche%1").arg(i + 1));
    r->setAutoExclusive(false);
    choix_.push_back(r);
    vco->addWidget(r);
    connect(r, &QRadioButton::clicked, this, [this, i] {
      appliquer_marquage(fenetre_.session(), ligne_, static_cast<ChoixMarquage>(i));
      hide();
      fenetre_.afficher_table();
    });
  }
  auto* esc = bouton(QStringLiteral("SpeedButton9"), QStringLiteral("esc"), this);
  vco->addWidget(esc);
  connect(esc, &QPushButton::clicked, this, &QWidget::hide);
  hide();
}

void PanneauMarquage::ouvrir(int ligne, QPoint position) {
  ligne_ = ligne;
  const auto libelles = libelles_marquage(fenetre_.session(), ligne);
  for (std::size_t i = 0; i < choix_.size() && i < libelles.size(); ++i) {
    choix_[i]->setChecked(false);
    choix_[i]->setText(qs(libelles[i]));
  }
  adjustSize();
  const QWidget* parent = parentWidget();
  position.setX(std::max(0, std::min(position.x(), parent->width() - width())));
  position.setY(std::max(0, std::min(position.y(), parent->height() - height())));
  move(position);
  show();
  raise();
}

}  // namespace tamso
