#include "ui/tracking_panel.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/log_commands.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "ui/window_context.h"

namespace tamso {

PanneauSuivi::PanneauSuivi(ContexteFenetre& fenetre, QWidget* parent)
    : PanneauFlottant(parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Panel1"));
  fixerDeplacable(true);
  setToolTip(QStringLiteral("   déplaçable   avec las souris   "));
  auto* vs = new QVBoxLayout(this);
  vs->setContentsMargins(6, 4, 6, 6);
  vs->setSpacing(3);
  auto* barre = rangee();
  auto* titre = texte(QStringLiteral("Fenêtre de suivi"), this);
  QFont gras = titre->font();
  gras.setBold(true);
  titre->setFont(gras);
  barre->addWidget(titre);
  barre->addStretch(1);
  petit_ = new QRadioButton(QStringLiteral("petite"), this);
  petit_->setObjectName(QStringLiteral("RadioButton_fen_suivi_petite"));
  grand_ = new QRadioButton(QStringLiteral("grande"), this);
  grand_->setObjectName(QStringLiteral("RadioButton_fen_suivi_grande"));
  petit_->setChecked(true);
  auto* effacer = bouton(QStringLiteral("SpeedButton_clear"), QStringLiteral("clear"), this);
  auto* fermer = bouton(QStringLiteral("SpeedButton_fermer_suivi"), QStringLiteral("X"), this);
  fermer->setFixedWidth(28);
  barre->addWidget(petit_);
  barre->addWidget(grand_);
  barre->addWidget(effacer);
  barre->addWidget(fermer);
  vs->addLayout(barre);
  journal_ = new QPlainTextEdit(this);
  journal_->setObjectName(QStringLiteral("Memo5"));
  journal_->setReadOnly(true);
  journal_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vs->addWidget(journal_, 1);
  connect(petit_, &QRadioButton::clicked, this, [this] { placer(false); });
  connect(grand_, &QRadioButton::clicked, this, [this] { placer(true); });
  connect(fermer, &QPushButton::clicked, this, &QWidget::hide);
  connect(effacer, &QPushButton::clicked, this, [this] {
    effacer_suivi(fenetre_.session());
    afficher_journal();
  });
}

bool PanneauSuivi::grand() const {
  return grand_->isChecked();
}

void PanneauSuivi::placer(bool grand) {
  const QRect t(repere_->mapTo(parentWidget(), QPoint(0, 0)), repere_->size());
  const int hauteur = grand ? t.height() : std::min(135, t.height());
  setGeometry(t.x(), t.bottom() - hauteur + 1, t.width(), hauteur);
  reserver();
}

void PanneauSuivi::reserver() {
  // Small and shown, the panel takes the bottom of the table's area; tall,
  // it covers the whole of it, as asked.
  if (reserver_) reserver_(isVisible() && !grand() ? height() + 4 : 0);
}

void PanneauSuivi::showEvent(QShowEvent* e) {
  PanneauFlottant::showEvent(e);
  reserver();
}

void PanneauSuivi::hideEvent(QHideEvent* e) {
  PanneauFlottant::hideEvent(e);
  reserver();
}

void PanneauSuivi::choisir_taille(bool grand) {
  (grand ? grand_ : petit_)->setChecked(true);
  if (isVisible()) placer(grand);
}

void PanneauSuivi::basculer() {
  setVisible(!isVisible());
  if (isVisible()) {
    replacer();
    raise();
  }
}

void PanneauSuivi::montrer() {
  replacer();
  show();
  raise();
}

void PanneauSuivi::afficher_journal() {
  const auto& lignes = fenetre_.session().journal.lignes();
  if (lignes.size() < lignes_affichees_) {
    journal_->clear();
    lignes_affichees_ = 0;
  }
  if (lignes.size() == lignes_affichees_) return;
  QStringList nouvelles;
  for (std::size_t i = lignes_affichees_; i < lignes.size(); ++i) nouvelles << qs(lignes[i]);
  journal_->appendPlainText(nouvelles.join(QLatin1Char('\n')));
  lignes_affichees_ = lignes.size();
  journal_->verticalScrollBar()->setValue(journal_->verticalScrollBar()->maximum());
}

}  // namespace tamso
