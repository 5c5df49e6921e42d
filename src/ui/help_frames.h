// The help frames: five coloured frames that outline and name the regions of
// the main window, and a note under the period's pickers. "?+" shows them
// with their titles and the note; "?-" without, the bars above and below
// then lying behind the controls so that the window stays usable.
#pragma once

#include <array>
#include <vector>

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace tamso {

// A frame by its left, top, right and bottom edges, in the coordinates of
// the area that holds its region.
struct BordsCadre {
  int gauche = 0, haut = 0, droite = 0, bas = 0;
};

// The frame that outlines a region: the bars lie on its edges, the bar on
// the right and the one below inside it, the bar above just over its title.
BordsCadre bords_de_region(const QRect& region);

// The four bars of a frame, 6 pixels thick: above, below, left, right.
std::array<QRect, 4> barres_cadre(const BordsCadre& b);

// A title panel of `nb_caracteres` characters: 50 pixels high, 10 pixels wide
// a character, centred between the left and right edges, its top halfway
// down the frame.
QRect panneau_titre(const BordsCadre& b, int nb_caracteres);

// The note beside the end-date picker: its left edge at the picker's, its
// top 18 pixels above the date-test group.
QRect panneau_note(int gauche_date_fin, int haut_test_date, int nb_caracteres);

class CadresAide : public QObject {
  Q_OBJECT
 public:
  // `regions`: the five regions in order; `date_fin` and `test_date` place
  // the note. Each frame lies on the parent of its region, the note on that
  // of the last region.
  CadresAide(const std::array<QWidget*, 5>& regions, QWidget* date_fin, QWidget* test_date,
             QObject* parent = nullptr);

  // "?+" (with the titles and the note) and "?-" (without, the bars above and
  // below behind the controls); when the frames are shown, either hides them.
  void basculer(bool avec_titres);
  void cacher();
  bool montres() const { return montres_; }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  struct Cadre {
    QWidget* region = nullptr;
    QString titre;
    QColor couleur;
    std::array<QWidget*, 4> barres{};
    QLabel* etiquette = nullptr;
  };
  void construire();
  void montrer(bool avec_titres);
  void placer();
  void rendre_visibles();

  std::array<Cadre, 5> cadres_;
  QWidget* date_fin_;
  QWidget* test_date_;
  QLabel* note_ = nullptr;
  bool montres_ = false;
  bool avec_titres_ = false;
};

}  // namespace tamso
