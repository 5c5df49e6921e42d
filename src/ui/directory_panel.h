// The directory chooser panel: drives and mounted volumes, the directory
// tree, the files of the selected directory and their count, shortcuts to
// the documents and desktop folders, and the list of recent directories.
#pragma once

#include <QString>
#include <QStringList>

#include "base/interaction.h"
#include "ui/widgets.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QTreeView;
class QVBoxLayout;

namespace tamso {

class PanneauRepertoires : public PanneauFlottant {
  Q_OBJECT
 public:
  explicit PanneauRepertoires(QWidget* parent);

  // Shows the panel for one chooser, starting in that directory.
  void ouvrir(Repertoire quel, const QString& titre, const QString& depart);
  Repertoire actif() const { return actif_; }
  // The selected directory, with a final separator.
  QString dossier() const { return dossier_; }
  void choisir_dossier(const QString& dossier);

  void montrer_recents(const QStringList& entrees);
  void cacher_recents();
  bool recents_visibles() const;

 signals:
  void valide();
  void annule();
  void recents_demandes();
  void recent_choisi(const QString& entree);
  void fichier_choisi(const QString& chemin);

 private:
  void construire_en_tete(QVBoxLayout* gauche);
  void construire_arborescence(QVBoxLayout* gauche);
  void construire_commandes(QVBoxLayout* gauche);
  void remplir_lecteurs();
  void remplir_fichiers();

  Repertoire actif_ = Repertoire::donnees;
  QString dossier_;
  QLabel* titre_ = nullptr;
  QComboBox* lecteurs_ = nullptr;
  QFileSystemModel* modele_ = nullptr;
  QTreeView* arbre_ = nullptr;
  QListWidget* fichiers_ = nullptr;
  QLabel* nb_fichiers_ = nullptr;
  QLabel* choisi_ = nullptr;
  QListWidget* recents_ = nullptr;
};

}  // namespace tamso
