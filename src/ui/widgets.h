// Small widgets and conversions shared by the windows of the desktop program.
#pragma once

#include <string>

#include <QColor>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QString>

class QCheckBox;
class QGridLayout;
class QHBoxLayout;

namespace tamso {

struct Couleur;

// Texts are UTF-8 in the core.
inline QString qs(const std::string& s) {
  return QString::fromStdString(s);
}
inline std::string ss(const QString& q) {
  return q.toStdString();
}

// Qt's own texts (dialog buttons, file and colour dialogs) in French, from
// Qt's translations; false when they are not installed.
bool installer_traduction_qt();

// A hint, followed by the button's keyboard shortcut (its property
// "raccourci") when it has one: "lister ...  (F5)".
void fixer_bulle(QWidget* w, const QString& texte);

QColor couleur_qt(const Couleur& c);
QString couleur_css(const Couleur& c);

// Date-time values (days since 30 December 1899) and their Qt form.
QDateTime date_heure_qt(double valeur);
double valeur_date_heure(const QDateTime& d);
// A time of day (fraction of a day) and back, to whole seconds.
QTime heure_qt(double fraction);
double valeur_heure(const QTime& t);

// A label that reports double clicks (the clickable dates, the description name).
class EtiquetteCliquable : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clique();
  void doubleClique();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
};

// A check box whose long caption wraps: the caption is a label beside the
// box, and a click on it toggles the box.
QWidget* case_a_libelle_long(QCheckBox* c);

// A label that shortens a long path in its middle and shows it whole in its tooltip.
class EtiquetteChemin : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
  void fixerChemin(const QString& chemin);
  QString chemin() const { return chemin_; }
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void elider();
  QString chemin_;
};

// A panel shown over the window; it can be dragged by any point that is not
// one of its controls.
class PanneauFlottant : public QFrame {
  Q_OBJECT
 public:
  explicit PanneauFlottant(QWidget* parent);
  void fixerDeplacable(bool oui) { deplacable_ = oui; }
 signals:
  void deplace();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool deplacable_ = false;
  bool glisse_ = false;
  QPoint origine_;
};

// A command button named after its control; "etat" colours its caption
// (rouge working, bleu ready, violet finished, gris inactive).
QPushButton* bouton(const QString& nom, const QString& texte, QWidget* parent = nullptr);
void fixer_etat(QWidget* w, const char* etat);

// ---- building the window's regions ----

// A plain caption, and a label named after its control.
QLabel* texte(const QString& t, QWidget* parent);
QLabel* etiquette(const char* nom, const QString& t, QWidget* parent);
// A grid without margins, and a row of controls (laid on w when given).
QGridLayout* grille(QWidget* w);
QHBoxLayout* rangee(QWidget* w = nullptr);
// Places a panel over its parent, below the widget `sous` when given (else
// where it is), kept inside the parent.
void placer_panneau(QWidget* p, QWidget* sous, int largeur, int hauteur);

}  // namespace tamso
