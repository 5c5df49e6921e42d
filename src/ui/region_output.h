// Region 5 of the main window, "5- Zone de sortie et d'attente": the run
// (stage 3) with its stop and save buttons, the progress of the stages, the
// results and their views, the fixed help box and the window's tools.
#pragma once

#include <string>

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QListView;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QVBoxLayout;

namespace tamso {

class ContexteFenetre;
class PanneauCouleurs;
class VueLignesResultats;

class RegionSortie : public QGroupBox {
  Q_OBJECT
 public:
  RegionSortie(ContexteFenetre& fenetre, QWidget* parent);

  // The colour panel its button opens, made once the regions are built.
  void attacher(PanneauCouleurs* couleurs) { couleurs_ = couleurs; }

  QPushButton* bouton_stop() const { return bouton_stop_; }
  QPlainTextEdit* boite_aide() const { return aide_; }

  // ---- a stage ----
  void debut_etape();
  void fin_etape();
  void afficher_progression(const std::string& texte, int phase, bool occupe);

  // ---- bringing the controls in line ----
  // The results area: the results list, the file just written or the values alone.
  void afficher_resultats();
  // Empties both results views, before a run rebuilds the lines they show.
  void vider_resultats();
  void afficher_liste_horodatee();
  // The preview of the file read and the durations line.
  void afficher_apercu();

 private:
  void construire_commandes(QVBoxLayout* vb);
  void construire_progression(QVBoxLayout* vb);
  void construire_resultats(QVBoxLayout* vb);
  void construire_vues(QVBoxLayout* vb);
  void construire_outils(QVBoxLayout* vb);
  void sur_traiter();
  void sur_stop();
  void sur_sauver();
  void sur_manuel();

  ContexteFenetre& fenetre_;
  PanneauCouleurs* couleurs_ = nullptr;
  QPushButton* bouton_traiter_ = nullptr;
  QPushButton* bouton_stop_ = nullptr;
  QPushButton* bouton_sauver_ = nullptr;
  QCheckBox* arret_pc_ = nullptr;
  QLabel* label_patienter_ = nullptr;
  QLabel* label_durees_ = nullptr;
  QProgressBar* barre_ = nullptr;
  QTabWidget* vues_ = nullptr;
  QStackedWidget* pile_resultats_ = nullptr;
  VueLignesResultats* resultats_ = nullptr;
  VueLignesResultats* resultats_sans_date_ = nullptr;
  QListView* liste_horodatee_ = nullptr;
  QPlainTextEdit* apercu_ = nullptr;
  QPlainTextEdit* aide_ = nullptr;
};

}  // namespace tamso
