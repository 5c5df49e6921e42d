#include "ui/region_format.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "processing/engine.h"
#include "ui/setting_controls.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

RegionFormat::RegionFormat(ContexteFenetre& fenetre, QWidget* parent)
    : QGroupBox(QStringLiteral("3- Format de sortie"), parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Cadre3"));
  ControlesReglages& controles = fenetre_.controles();
  const auto entree = [this](QLineEdit* e) {
    connect(e, &QLineEdit::returnPressed, this, [this] { fenetre_.sur_entree(); });
    return e;
  };
  auto* vb = new QVBoxLayout(this);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(3);
  auto* ligne_nom = rangee();
  ligne_nom->addWidget(etiquette("Label12", QStringLiteral("fichier"), this));
  auto* nom = controles.edit("Edit_nom_fic_sortie", &Description::nom_fic_sortie, this);
  nom->setProperty("teinte", QStringLiteral("c4"));
  nom->setToolTip(QStringLiteral("nom du fichier de sortie"));
  ligne_nom->addWidget(entree(nom), 1);
  vb->addLayout(ligne_nom);
  auto* ligne = rangee();
  ligne->addWidget(controles.case_a_cocher("CheckBox_inc_nom", QStringLiteral("nom incrémenté"),
                                           &Description::inc_nom, this));
  ligne->addStretch(1);
  ligne->addWidget(etiquette("Label18", QStringLiteral("décimales"), this));
  ligne->addWidget(entree(controles.edit("Edit_nb_decimale", &Description::nb_decimale, this, 36)));
  vb->addLayout(ligne);
  vb->addWidget(controles.groupe_options("DECIMAL_SEPARATOR_sortie", QStringLiteral("décimales en"),
                                         {QStringLiteral("virgule"), QStringLiteral("point")},
                                         &Description::decimal_sortie, 0, this));
  vb->addWidget(
      controles.groupe_options("separateur_sortie", QStringLiteral("séparateur de sortie"),
                               {QStringLiteral("tabulation"), QStringLiteral("espace"),
                                QStringLiteral("espace+ tab"), QStringLiteral("point-virgule")},
                               &Description::separateur_sortie, 2, this));
  QStringList methodes;
  for (int i = 0; i < 6; ++i) methodes << qs(legende_methode(static_cast<Methode>(i)));
  vb->addWidget(controles.groupe_options("methode", QStringLiteral("méthode"), methodes,
                                         &Description::methode, 1, this));
  vb->addWidget(construire_post_traitement());
  vb->addStretch(1);
}

QWidget* RegionFormat::construire_post_traitement() {
  ControlesReglages& controles = fenetre_.controles();
  auto* post = new QGroupBox(QStringLiteral("post-traitement"), this);
  post->setObjectName(QStringLiteral("Label66"));
  auto* vp = new QVBoxLayout(post);
  vp->setContentsMargins(6, 2, 6, 4);
  vp->setSpacing(2);
  auto* lacunes = rangee();
  lacunes->addWidget(controles.case_a_cocher("CheckBox_post_traitement",
                                             QStringLiteral("combler les lacunes"),
                                             &Description::post_traitement, post));
  lacunes->addWidget(etiquette("Label68", QStringLiteral("≤"), post));
  lacunes->addWidget(controles.edit("Edit_nmax_lacune", &Description::nmax_lacune, post, 36));
  lacunes->addStretch(1);
  vp->addLayout(lacunes);
  // The exclusions of "Delta(y)" and "Dérivée" change the other box.
  const auto montrer = [this](bool) { fenetre_.afficher_description(); };
  vp->addWidget(case_a_libelle_long(controles.case_a_cocher(
      "CheckBox_cumul_corriger",
      QStringLiteral("croissance forcée des cumuls entrants   _-_-__ => _---¯¯  "),
      &Description::cumul_corriger, post)));
  vp->addWidget(case_a_libelle_long(controles.case_a_cocher(
      "CheckBox_delta_Y", QStringLiteral("Delta(y) = y(i)-y(i-1) => _---¯¯ => _-_-__"),
      &Description::delta_Y, post, montrer)));
  vp->addWidget(case_a_libelle_long(controles.case_a_cocher(
      "CheckBox_derivees", QStringLiteral("Dérivée  [ y(i) - y(i-1) ] / pas"),
      &Description::derivees, post, montrer)));
  return post;
}

}  // namespace tamso
