#include "ui/colour_panel.h"

#include <vector>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/session.h"
#include "app/setting_edits.h"
#include "app/window_colours.h"
#include "ui/qt_interaction.h"
#include "ui/setting_controls.h"
#include "ui/window_context.h"

namespace tamso {

PanneauCouleurs::PanneauCouleurs(ContexteFenetre& fenetre, QWidget* parent)
    : PanneauFlottant(parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Panel_couleurs"));
  fixerDeplacable(true);
  auto* vc = new QVBoxLayout(this);
  auto* hc = rangee();
  hc->addWidget(texte(QStringLiteral("couleurs de la fenêtre"), this), 1);
  auto* fermer = bouton(QStringLiteral("SpeedButton_fermer_couleurs"), QStringLiteral("X"), this);
  fermer->setFixedWidth(28);
  hc->addWidget(fermer);
  vc->addLayout(hc);
  auto* schema = fenetre_.controles().groupe_options(
      "coul_nb", QStringLiteral("schéma"),
      {QStringLiteral("couleurs"), QStringLiteral("niveaux de gris")}, &Description::coul_nb, 2,
      this, [this](int) {
        fenetre_.appliquer_couleurs();
        fenetre_.rafraichir_indicateur();
      });
  vc->addWidget(schema);
  auto* gc = new QGridLayout;
  const char* noms[] = {"SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
  const QString textes[] = {QStringLiteral("de fond"), QStringLiteral("des boutons"),
                            QStringLiteral("des listes"), QStringLiteral("de l'aide")};
  for (int i = 0; i < 4; ++i) {
    auto* b = bouton(QString::fromLatin1(noms[i]), textes[i], this);
    gc->addWidget(b, i / 2, i % 2);
    connect(b, &QPushButton::clicked, this, [this, i] { choisir(i + 1); });
  }
  vc->addLayout(gc);
  hide();
  connect(fermer, &QPushButton::clicked, this, &QWidget::hide);
}

void PanneauCouleurs::basculer(QWidget* sous) {
  if (isVisible()) {
    hide();
    return;
  }
  placer_panneau(this, sous, 300, 200);
  show();
  raise();
}

void PanneauCouleurs::choisir(int numero) {
  Session& s = fenetre_.session();
  std::vector<QColor> personnalisees;
  for (const auto& c : couleurs_personnalisees(s)) personnalisees.push_back(couleur_qt(c));
  static const char* kTitres[] = {"couleur de fond", "couleur des boutons", "couleur des listes",
                                  "couleur de l'aide"};
  const auto choisie =
      fenetre_.port().choisir_couleur(couleur_qt(s.couleurs[static_cast<std::size_t>(numero - 1)]),
                                      QString::fromUtf8(kTitres[numero - 1]), personnalisees);
  if (!choisie) return;
  choisir_couleur(s, numero, Couleur{choisie->red(), choisie->green(), choisie->blue()});
  fenetre_.appliquer_couleurs();
  fenetre_.rafraichir_indicateur();
}

}  // namespace tamso
