// The graph window: the result grid of the last run as five stacked charts,
// each with its list of columns to draw and its list of columns to draw as a
// derivative; a chart can be shown alone (then in 3D too, copied or saved as
// a picture). The choices are kept in the description; what is drawn comes
// from the graph model (app/graphs.h), the drawing from QCustomPlot.
#pragma once

#include <array>
#include <string>

#include <QPoint>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;

namespace tamso {

class ContexteFenetre;
class GrapheTamso;
class Vue3D;
enum class Abscisse;
struct GraphiqueTrace;

class FenetreGraphiques : public QWidget {
  Q_OBJECT
 public:
  FenetreGraphiques(ContexteFenetre& fenetre, QWidget* parent);
  ~FenetreGraphiques() override;

  // The main window's graph button: opens the window, or hides it when shown.
  void basculer();
  // Opening: the two choice texts are copied aside (every activation starts
  // again from them), a grid of more than 10000 timestamps gets points of
  // size 1, the window comes to the front and is activated.
  void ouvrir();
  // Activation: the lists refilled from the grid, the saved choices (or the
  // default dispatch), the labels, every chart redrawn, the no-data message.
  void activer();
  // Redraws every chart (only the one shown alone in single-chart mode) and
  // writes both choice texts back into the description.
  void afficher_graphiques();
  // The charts share the window's height, their lists beside them.
  void disposer_graphiques();
  // The title label, which the file table's marking choices change.
  void afficher_titre();

  // ---- for the tests and the screenshots ----
  GrapheTamso* graphe(int k) const;
  Vue3D* vue_3d(int k) const;
  // The chart shown alone (0..4), or -1.
  int graphe_unique() const { return unique_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  struct Emplacement {
    GrapheTamso* graphe = nullptr;
    Vue3D* vue = nullptr;
    QCheckBox* unique = nullptr;
    QListWidget* valeurs = nullptr;
    QListWidget* derivees = nullptr;
    int haut = 0;  // top edge in the window, for the wheel
  };

  // ---- building ----
  void construire();
  void construire_emplacement(int k);
  QWidget* construire_reglages();

  // ---- drawing ----
  // Draws chart k with its series.
  void tracer(int k, GraphiqueTrace t);
  Abscisse abscisse() const;
  void ecrire_choix();
  void remplir_listes();
  void sur_liste_cliquee();

  // ---- the mouse ----
  void sur_clic(int k, QPoint pos);
  void sur_deplacement(int k, QPoint pos);
  void cacher_lecture();
  void zoom_molette(QPoint pos_fenetre, int crans);

  // ---- single chart, 3D, copy ----
  void sur_unique(int k, bool coche);
  void afficher_curseurs_3d();
  void sur_curseur_3d();
  QWidget* vue_unique() const;
  void copier();
  void enregistrer();

  // ---- where the window was left ----
  void restaurer_geometrie();
  void sauver_geometrie();

  ContexteFenetre& fenetre_;
  std::array<Emplacement, 5> emplacements_;
  QWidget* reglages_ = nullptr;
  QLabel* titre_ = nullptr;
  QCheckBox* axes_ = nullptr;
  QCheckBox* trois_d_ = nullptr;
  QButtonGroup* abscisses_ = nullptr;
  QCheckBox* valeurs_xy_ = nullptr;
  QSpinBox* taille_points_ = nullptr;
  QPushButton* copier_ = nullptr;
  QPushButton* enregistrer_ = nullptr;
  std::array<QSlider*, 4> curseurs_{};
  std::array<QLabel*, 4> legendes_curseurs_{};
  QLabel* debut_ = nullptr;
  QLabel* fin_ = nullptr;
  QLabel* nb_pas_ = nullptr;
  QLabel* pas_ = nullptr;
  QLabel* aide_ = nullptr;
  QLabel* lecture_ = nullptr;
  QPoint clic_lecture_;

  // The choice texts copied aside at opening.
  std::string copie_valeurs_, copie_derivees_;
  int unique_ = -1;
  bool trois_d_sauve_ = false;
  bool remplissage_ = false;
  bool en_activation_ = false;
  bool geometrie_lue_ = false;
  // The window that was active when this one last lost the focus: coming
  // back from the main window activates the window again.
  QWidget* quittee_pour_ = nullptr;
};

}  // namespace tamso
