#include "ui/widgets.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QStyle>
#include <QTranslator>

#include "app/session.h"

namespace tamso {

void fixer_bulle(QWidget* w, const QString& texte) {
  const QString raccourci = w->property("raccourci").toString();
  if (raccourci.isEmpty())
    w->setToolTip(texte);
  else
    w->setToolTip(texte + (texte.isEmpty() ? QStringLiteral("(") : QStringLiteral("  (")) +
                  raccourci + QLatin1Char(')'));
}

bool installer_traduction_qt() {
  static QTranslator traduction;
  if (!traduction.isEmpty()) return true;
  if (!traduction.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  return QCoreApplication::installTranslator(&traduction);
}

QColor couleur_qt(const Couleur& c) {
  return QColor(c.rouge, c.vert, c.bleu);
}

QString couleur_css(const Couleur& c) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(c.rouge).arg(c.vert).arg(c.bleu);
}

namespace {
const QDate kOrigine(1899, 12, 30);
}

QDateTime date_heure_qt(double valeur) {
  if (!std::isfinite(valeur)) valeur = 0.0;
  const long long secondes = std::llround(valeur * 86400.0);
  long long jours = secondes / 86400;
  long long reste = secondes % 86400;
  if (reste < 0) {
    reste += 86400;
    --jours;
  }
  return QDateTime(kOrigine.addDays(jours), QTime(0, 0).addSecs(static_cast<int>(reste)));
}

double valeur_date_heure(const QDateTime& d) {
  const qint64 jours = kOrigine.daysTo(d.date());
  return static_cast<double>(jours) + d.time().msecsSinceStartOfDay() / 1000 / 86400.0;
}

QTime heure_qt(double fraction) {
  if (!std::isfinite(fraction)) fraction = 0.0;
  fraction -= std::floor(fraction);
  const int secondes = static_cast<int>(std::llround(fraction * 86400.0)) % 86400;
  return QTime(0, 0).addSecs(secondes);
}

double valeur_heure(const QTime& t) {
  return t.msecsSinceStartOfDay() / 1000 / 86400.0;
}

void EtiquetteCliquable::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clique();
  QLabel::mouseReleaseEvent(e);
}

void EtiquetteCliquable::mouseDoubleClickEvent(QMouseEvent* e) {
  emit doubleClique();
  QLabel::mouseDoubleClickEvent(e);
}

namespace {

class EtiquetteCase : public QLabel {
 public:
  EtiquetteCase(const QString& t, QCheckBox* c, QWidget* parent) : QLabel(t, parent), case_(c) {
    setWordWrap(true);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) case_->click();
    QLabel::mouseReleaseEvent(e);
  }

 private:
  QCheckBox* case_;
};

}  // namespace

QWidget* case_a_libelle_long(QCheckBox* c) {
  auto* ligne = new QWidget(c->parentWidget());
  auto* h = new QHBoxLayout(ligne);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(2);
  const QString texte = c->text();
  c->setText(QString());
  c->setAccessibleName(texte);
  c->setParent(ligne);
  // The hyphens of the captions' drawings never break a line.
  QString affiche = texte;
  affiche.replace(QLatin1Char('-'), QChar(0x2011));
  auto* l = new EtiquetteCase(affiche, c, ligne);
  l->setObjectName(c->objectName() + QStringLiteral("_libelle"));
  h->addWidget(c, 0, Qt::AlignTop);
  h->addWidget(l, 1);
  return ligne;
}

void EtiquetteChemin::fixerChemin(const QString& chemin) {
  chemin_ = chemin;
  setToolTip(chemin);
  elider();
}

QSize EtiquetteChemin::minimumSizeHint() const {
  return QSize(60, QLabel::minimumSizeHint().height());
}

void EtiquetteChemin::resizeEvent(QResizeEvent* e) {
  QLabel::resizeEvent(e);
  elider();
}

void EtiquetteChemin::elider() {
  setText(
      fontMetrics().elidedText(chemin_, Qt::ElideMiddle, std::max(40, contentsRect().width() - 4)));
}

PanneauFlottant::PanneauFlottant(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
}

void PanneauFlottant::mousePressEvent(QMouseEvent* e) {
  if (deplacable_ && e->button() == Qt::LeftButton) {
    glisse_ = true;
    origine_ = e->position().toPoint();
    setCursor(Qt::SizeAllCursor);
  }
  QFrame::mousePressEvent(e);
}

void PanneauFlottant::mouseMoveEvent(QMouseEvent* e) {
  if (glisse_) {
    QPoint p = mapToParent(e->position().toPoint() - origine_);
    if (parentWidget()) {
      const QRect r = parentWidget()->rect();
      p.setX(std::clamp(p.x(), r.left() - width() + 60, r.right() - 60));
      p.setY(std::clamp(p.y(), r.top(), r.bottom() - 30));
    }
    move(p);
    emit deplace();
  }
  QFrame::mouseMoveEvent(e);
}

void PanneauFlottant::mouseReleaseEvent(QMouseEvent* e) {
  if (glisse_) {
    glisse_ = false;
    unsetCursor();
  }
  QFrame::mouseReleaseEvent(e);
}

QPushButton* bouton(const QString& nom, const QString& texte, QWidget* parent) {
  auto* b = new QPushButton(texte, parent);
  b->setObjectName(nom);
  b->setAutoDefault(false);
  b->setCursor(Qt::PointingHandCursor);
  return b;
}

void fixer_etat(QWidget* w, const char* etat) {
  if (w->property("etat").toString() == QLatin1String(etat)) return;
  w->setProperty("etat", QString::fromLatin1(etat));
  w->style()->unpolish(w);
  w->style()->polish(w);
  w->update();
}

QLabel* texte(const QString& t, QWidget* parent) {
  return new QLabel(t, parent);
}

QLabel* etiquette(const char* nom, const QString& t, QWidget* parent) {
  auto* l = new QLabel(t, parent);
  l->setObjectName(QString::fromLatin1(nom));
  return l;
}

QGridLayout* grille(QWidget* w) {
  auto* g = new QGridLayout(w);
  g->setContentsMargins(0, 0, 0, 0);
  g->setHorizontalSpacing(6);
  g->setVerticalSpacing(3);
  return g;
}

QHBoxLayout* rangee(QWidget* w) {
  auto* h = w ? new QHBoxLayout(w) : new QHBoxLayout;
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(6);
  return h;
}

void placer_panneau(QWidget* p, QWidget* sous, int largeur, int hauteur) {
  QWidget* parent = p->parentWidget();
  QPoint pos = p->pos();
  if (sous) pos = sous->mapTo(parent, QPoint(0, sous->height() + 2));
  largeur = std::min(largeur, parent->width() - 8);
  hauteur = std::min(hauteur, parent->height() - 8);
  pos.setX(std::max(4, std::min(pos.x(), parent->width() - largeur - 4)));
  pos.setY(std::max(4, std::min(pos.y(), parent->height() - hauteur - 4)));
  p->setGeometry(pos.x(), pos.y(), largeur, hauteur);
}

}  // namespace tamso
