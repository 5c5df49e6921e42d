#include "ui/shutdown_panel.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

#include "app/run.h"
#include "app/setting_edits.h"

namespace tamso {

PanneauExtinction::PanneauExtinction(QWidget* parent) : PanneauFlottant(parent) {
  setObjectName(QStringLiteral("Panel4"));
  setStyleSheet(
      QStringLiteral("QFrame#Panel4 { background: navy; } QLabel { color: yellow; font-size: 14pt; "
                     "font-weight: bold; }"));
  auto* ve = new QVBoxLayout(this);
  auto* message = texte(
      QStringLiteral("5 mn, pour annuler la mise en veille du PC en appuyant sur une touche..."),
      this);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  ve->addWidget(message, 1);
  minutes_ = etiquette("Label49", QString(), this);
  minutes_->setAlignment(Qt::AlignCenter);
  ve->addWidget(minutes_);
  hide();
}

bool PanneauExtinction::compte_a_rebours(double minutes, char separateur_decimal) {
  const QWidget* p = parentWidget();
  setGeometry(std::max(0, (p->width() - 650) / 2), 80, std::min(650, p->width()), 200);
  show();
  raise();
  QElapsedTimer horloge;
  horloge.start();
  {
    QEventLoop attente;
    QTimer::singleShot(500, &attente, &QEventLoop::quit);
    attente.exec();
  }
  horloge.restart();
  annule_ = false;
  en_cours_ = true;
  while (true) {
    const double ecoule = static_cast<double>(horloge.elapsed()) / 60000.0;
    if (ecoule >= minutes || annule_) break;
    minutes_->setText(qs(texte_compte_a_rebours(minutes - ecoule, separateur_decimal)));
    QEventLoop attente;
    QTimer::singleShot(200, &attente, &QEventLoop::quit);
    attente.exec();
  }
  en_cours_ = false;
  hide();
  return !annule_;
}

}  // namespace tamso
