// Region 2 of the main window, "2- Listage des fichiers impliqués": the
// listing button (stage 1), the dates of the listed files, the file table
// and the commands that delete or mark its rows.
#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

class QSpacerItem;

namespace tamso {

class ContexteFenetre;
class ModeleTableFichiers;
class PanneauMarquage;
class VueTableFichiers;

class RegionListage : public QGroupBox {
  Q_OBJECT
 public:
  RegionListage(ContexteFenetre& fenetre, QWidget* parent);

  // The marking panel offered by a right click, made once the regions are built.
  void attacher(PanneauMarquage* marquage) { marquage_ = marquage; }

  QPushButton* bouton_lister() const { return bouton_lister_; }
  VueTableFichiers* table() const { return table_; }
  // The table with the room under it that the tracking panel may take.
  QWidget* zone_table() const { return zone_table_; }
  // Keeps `hauteur` pixels free under the table (0: none).
  void reserver_sous_table(int hauteur);
  // Stage 1: lists the data files (or reads the clipboard first).
  void sur_lister();

  // ---- bringing the controls in line ----
  // The listing button's caption and hint, which follow the data source.
  void afficher();
  void afficher_legende();
  void afficher_table();
  // The colour of the table's dates (red when a file could not be read).
  void afficher_couleur_dates();
  // While a stage runs: the table is reloaded when rows were added.
  void suivre_table();

 private:
  // Row count and first file of the list the columns were last fitted to.
  std::string liste_ajustee_;
  void construire_haut(QVBoxLayout* vb);
  void construire_table(QVBoxLayout* vb);
  void construire_commandes(QVBoxLayout* vb);
  void sur_double_clic_tableau(int colonne, int ligne);
  void sur_clic_droit_tableau(int colonne, int ligne, QPoint global);
  // The marking choices for the row's station (column 3) or mark (" x").
  void basculer_marquage(int colonne, int ligne, QPoint global);
  // A right click on a title: the help of its column, kept while the
  // pointer stays on that title.
  void expliquer_colonne(int colonne);
  void sur_grand_tableau(bool grand);
  // The help of the table's cell under the pointer.
  void sur_survol_tableau(int colonne, int ligne);

  ContexteFenetre& fenetre_;
  PanneauMarquage* marquage_ = nullptr;
  QPushButton* bouton_lister_ = nullptr;
  QLabel* date_min_ = nullptr;
  QLabel* date_max_ = nullptr;
  VueTableFichiers* table_ = nullptr;
  QWidget* zone_table_ = nullptr;
  QSpacerItem* reserve_suivi_ = nullptr;
  int place_table_ = 0;  // its rank in the region's layout, while it is enlarged
  ModeleTableFichiers* modele_ = nullptr;
  QCheckBox* sans_confirmation_ = nullptr;
  int colonne_expliquee_ = -1;
};

}  // namespace tamso
