#include "ui/help_frames.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QWidget>

namespace tamso {

namespace {

constexpr int kEpaisseur = 6;
constexpr int kHauteurPanneau = 50;
constexpr int kLargeurCaractere = 10;
// The bar above a region rises over the top of its title's letters, so
// that the title stays readable.
constexpr int kAuDessusDuTitre = 4;

const char* const kTitres[5] = {"1- Description des fichiers de données",
                                "2- Listage des fichiers impliqués", "3- Format de sortie",
                                "4- Période ciblée", "5- Zone de sortie et d'attente"};
const char* const kNote = "saisie manuelle ci-dessus";
const char* const kCotes[4] = {"haut", "bas", "gauche", "droite"};

QColor couleur_cadre(int i) {
  return i % 2 == 0 ? QColor(255, 91, 13) : QColor(0, 0, 255);
}

QString css(const QColor& c) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// A yellow panel with a raised bevel, its text bold, 12 points, centred.
QLabel* panneau_jaune(const QString& nom, const QString& texte, const QColor& couleur,
                      QWidget* parent) {
  auto* l = new QLabel(texte, parent);
  l->setObjectName(nom);
  l->setAlignment(Qt::AlignCenter);
  l->setStyleSheet(QStringLiteral("QLabel { background: rgb(255,255,0); color: %1; "
                                  "border: 3px outset rgb(255,255,150); padding: 0px; "
                                  "font-weight: bold; font-size: 12pt; }")
                       .arg(css(couleur)));
  l->hide();
  return l;
}

}  // namespace

BordsCadre bords_de_region(const QRect& region) {
  return {region.left(), region.top() - kAuDessusDuTitre, region.right() - kEpaisseur + 1,
          region.bottom() - kEpaisseur + 1};
}

std::array<QRect, 4> barres_cadre(const BordsCadre& b) {
  const int largeur = b.droite - b.gauche + 1;
  const int hauteur = b.bas - b.haut + kEpaisseur;
  return {QRect(b.gauche, b.haut, largeur, kEpaisseur), QRect(b.gauche, b.bas, largeur, kEpaisseur),
          QRect(b.gauche, b.haut, kEpaisseur, hauteur),
          QRect(b.droite, b.haut, kEpaisseur, hauteur)};
}

QRect panneau_titre(const BordsCadre& b, int nb_caracteres) {
  const int largeur = nb_caracteres * kLargeurCaractere;
  return {(b.gauche + b.droite - largeur) / 2, (b.haut + b.bas) / 2, largeur, kHauteurPanneau};
}

QRect panneau_note(int gauche_date_fin, int haut_test_date, int nb_caracteres) {
  return {gauche_date_fin, haut_test_date - 18, nb_caracteres * kLargeurCaractere, kHauteurPanneau};
}

CadresAide::CadresAide(const std::array<QWidget*, 5>& regions, QWidget* date_fin,
                       QWidget* test_date, QObject* parent)
    : QObject(parent), date_fin_(date_fin), test_date_(test_date) {
  for (int i = 0; i < 5; ++i) {
    cadres_[static_cast<std::size_t>(i)].region = regions[static_cast<std::size_t>(i)];
    cadres_[static_cast<std::size_t>(i)].titre = QString::fromUtf8(kTitres[i]);
    cadres_[static_cast<std::size_t>(i)].couleur = couleur_cadre(i);
  }
}

// The panels are made at their first showing and kept.
void CadresAide::construire() {
  for (std::size_t i = 0; i < cadres_.size(); ++i) {
    Cadre& c = cadres_[i];
    QWidget* parent = c.region->parentWidget();
    for (std::size_t k = 0; k < 4; ++k) {
      auto* barre = new QFrame(parent);
      barre->setObjectName(QStringLiteral("Panel_cadre%1_%2").arg(i + 1).arg(kCotes[k]));
      barre->setStyleSheet(
          QStringLiteral("QFrame { background: %1; border: 0; }").arg(css(c.couleur)));
      barre->hide();
      c.barres[k] = barre;
    }
    c.etiquette =
        panneau_jaune(QStringLiteral("Panel_titre_cadre%1").arg(i + 1), c.titre, c.couleur, parent);
    c.region->installEventFilter(this);
  }
  // The note lies over the whole window, so that it is not cut where the
  // area of the period ends; it follows that area when it scrolls.
  note_ = panneau_jaune(QStringLiteral("Panel_saisie_manuelle"), QString::fromUtf8(kNote),
                        QColor(255, 0, 0), cadres_[4].region->parentWidget());
  cadres_[3].region->parentWidget()->installEventFilter(this);
  date_fin_->installEventFilter(this);
  test_date_->installEventFilter(this);
}

void CadresAide::basculer(bool avec_titres) {
  if (montres_)
    cacher();
  else
    montrer(avec_titres);
}

void CadresAide::cacher() {
  montres_ = false;
  if (note_) rendre_visibles();
}

void CadresAide::montrer(bool avec_titres) {
  const bool premiere = note_ == nullptr;
  if (premiere) construire();
  montres_ = true;
  avec_titres_ = avec_titres;
  placer();
  rendre_visibles();
  // Without the titles, the bars above and below go behind the controls.
  const bool derriere = !premiere && !avec_titres;
  for (Cadre& c : cadres_) {
    for (std::size_t k = 0; k < 4; ++k) {
      if (derriere && k < 2)
        c.barres[k]->lower();
      else
        c.barres[k]->raise();
    }
    c.etiquette->raise();
  }
  note_->raise();
}

void CadresAide::placer() {
  for (Cadre& c : cadres_) {
    const BordsCadre b = bords_de_region(c.region->geometry());
    const auto barres = barres_cadre(b);
    for (std::size_t k = 0; k < 4; ++k) c.barres[k]->setGeometry(barres[k]);
    c.etiquette->setGeometry(panneau_titre(b, static_cast<int>(c.titre.size())));
  }
  QWidget* p = note_->parentWidget();
  note_->setGeometry(panneau_note(date_fin_->mapTo(p, QPoint(0, 0)).x(),
                                  test_date_->mapTo(p, QPoint(0, 0)).y(),
                                  static_cast<int>(note_->text().size())));
}

// A frame whose region is hidden ("grand Tableau") is hidden with it.
void CadresAide::rendre_visibles() {
  for (Cadre& c : cadres_) {
    const bool visible = montres_ && !c.region->isHidden();
    for (QWidget* b : c.barres) b->setVisible(visible);
    c.etiquette->setVisible(visible && avec_titres_);
  }
  note_->setVisible(montres_ && avec_titres_ && !cadres_[3].region->isHidden());
}

bool CadresAide::eventFilter(QObject* o, QEvent* e) {
  switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
      if (montres_) placer();
      break;
    case QEvent::Show:
    case QEvent::Hide:
      if (montres_) rendre_visibles();
      break;
    default:
      break;
  }
  return QObject::eventFilter(o, e);
}

}  // namespace tamso
