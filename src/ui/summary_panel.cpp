#include "ui/summary_panel.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "app/session.h"
#include "ui/window_context.h"

namespace tamso {

PanneauResume::PanneauResume(ContexteFenetre& fenetre, QWidget* parent)
    : PanneauFlottant(parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Panel_resume_dsc"));
  fixerDeplacable(true);
  auto* vr = new QVBoxLayout(this);
  auto* hr = rangee();
  titre_ = etiquette("Label_resume_dsc", QString(), this);
  QFont gras = titre_->font();
  gras.setBold(true);
  titre_->setFont(gras);
  hr->addWidget(titre_, 1);
  auto* fermer = bouton(QStringLiteral("SpeedButton_fermer_resume"), QStringLiteral("X"), this);
  fermer->setFixedWidth(28);
  hr->addWidget(fermer);
  vr->addLayout(hr);
  vr->addLayout(construire_lecteur());
  texte_ = new QPlainTextEdit(this);
  texte_->setObjectName(QStringLiteral("Memo_resume_dsc"));
  texte_->setReadOnly(true);
  texte_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vr->addWidget(texte_, 1);
  hide();
  connect(fermer, &QPushButton::clicked, this, &QWidget::hide);
}

QHBoxLayout* PanneauResume::construire_lecteur() {
  QWidget* ligne = this;
  auto* hl = rangee();
#ifdef _WIN32
  hl->addWidget(texte(QStringLiteral("lecteur"), ligne));
  edit_lecteur_ = new QLineEdit(ligne);
  edit_lecteur_->setObjectName(QStringLiteral("Edit_lecteur"));
  edit_lecteur_->setMaxLength(1);
  edit_lecteur_->setFixedWidth(30);
  hl->addWidget(edit_lecteur_);
  connect(edit_lecteur_, &QLineEdit::textEdited, this, [this](const QString& t) {
    QString l = t.toUpper();
    l.remove(QLatin1Char(':'));
    if (l.isEmpty()) l = qs(fenetre_.session().repertoire_programme()).left(1);
    edit_lecteur_->setText(l.left(1));
  });
#else
  hl->addWidget(texte(QStringLiteral("remplacer le début des chemins"), ligne));
  edit_prefixe_ = new QLineEdit(ligne);
  edit_prefixe_->setObjectName(QStringLiteral("Edit_prefixe_ancien"));
  hl->addWidget(edit_prefixe_, 1);
  hl->addWidget(texte(QStringLiteral("par"), ligne));
  edit_lecteur_ = new QLineEdit(ligne);
  edit_lecteur_->setObjectName(QStringLiteral("Edit_lecteur"));
  hl->addWidget(edit_lecteur_, 1);
#endif
  auto* modifier =
      bouton(QStringLiteral("SpeedButton_modifier_lecteur"), QStringLiteral("Modifier"), ligne);
  hl->addWidget(modifier);
  connect(modifier, &QPushButton::clicked, this, &PanneauResume::modifier_lecteur);
  return hl;
}

void PanneauResume::ouvrir() {
  Session& s = fenetre_.session();
  if (!resume_dsc(s, resume_)) {
    fenetre_.rafraichir();
    return;
  }
  titre_->setText(QStringLiteral("Résumé des DSC de ") + qs(s.description.dossier_description));
#ifndef _WIN32
  if (edit_prefixe_->text().isEmpty()) {
    QString racine = QStorageInfo(qs(s.description.dossier_description)).rootPath();
    if (!racine.endsWith(QLatin1Char('/'))) racine += QLatin1Char('/');
    edit_prefixe_->setText(racine);
    edit_lecteur_->setText(racine);
  }
#else
  edit_lecteur_->setText(qs(resume_.lecteur));
#endif
  afficher_texte();
  const QWidget* p = parentWidget();
  setGeometry(20, 30, std::max(400, p->width() - 40),
              std::min(712, std::max(300, p->height() - 60)));
  show();
  raise();
}

void PanneauResume::modifier_lecteur() {
  resume_.lecteur = ss(edit_lecteur_->text().trimmed());
#ifndef _WIN32
  resume_.prefixe_ancien = ss(edit_prefixe_->text().trimmed());
#endif
  resume_.texte.clear();
  changer_lecteur(fenetre_.session(), resume_);
  afficher_texte();
  fenetre_.rafraichir();
}

void PanneauResume::afficher_texte() {
  QStringList l;
  for (const auto& t : resume_.texte) l << qs(t);
  texte_->setPlainText(l.join(QLatin1Char('\n')));
}

}  // namespace tamso
