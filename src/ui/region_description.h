// Region 1 of the main window, "1- Description des fichiers de données":
// the working directories and their chooser, the description file, the mask
// and the data source, the layout of the data files, the values and the
// corrections of the measurement dates.
#pragma once

#include <chrono>
#include <string>

#include <QGroupBox>

#include "base/interaction.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QPushButton;

namespace tamso {

struct Description;
struct ListeFormatsProposes;
class ContexteFenetre;
class ControlesReglages;
class EtiquetteChemin;
class EtiquetteCliquable;
class PanneauRepertoires;
class PanneauResume;

class RegionDescription : public QGroupBox {
  Q_OBJECT
 public:
  RegionDescription(ContexteFenetre& fenetre, QWidget* parent);

  // The panels the region opens, made once the regions are built.
  void attacher(PanneauRepertoires* choix_repertoire, PanneauResume* resume);

  // ---- bringing the controls in line ----
  void afficher();
  void afficher_visibilites();
  void rafraichir_indicateur();
  // "patientez..." while a description is read: shown when it has a text.
  void afficher_attente();
  // The input decimal separator is not offered (the computer's is used).
  void cacher_decimal_entree();

  // ---- the directory chooser ----
  void ouvrir_choix_repertoire(Repertoire quel);
  void fermer_choix_repertoire();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // ---- building: files and description, layout of the data, values ----
  QWidget* construire_fichiers();
  void construire_repertoires(QGridLayout* g, int& r);
  void construire_fichier_description(QGridLayout* g, int& r);
  void construire_source(QGridLayout* g, int& r);
  QWidget* construire_disposition();
  void construire_debut_donnees(QGridLayout* g, int& r);
  void construire_colonnes_dates(QGridLayout* g, int& r);
  void construire_noms_et_corrections(QGridLayout* g, int& r);
  QWidget* construire_valeurs();
  void construire_na(QGridLayout* g, int& r);
  void construire_colonnes_extraites(QGridLayout* g, int& r);
  QWidget* construire_decalage(QWidget* parent);
  QWidget* construire_derive(QWidget* parent);
  // The button of the proposed formats of an edit box.
  QWidget* bouton_formats(const ListeFormatsProposes& liste, QLineEdit* cible, QWidget* parent);
  // An edit box whose Enter lists the files again when the description was modified.
  QLineEdit* edit_entree(const char* nom, std::string Description::*champ, QWidget* parent,
                         int largeur = 0);

  // ---- reactions ----
  void sur_masque_modifie(const QString& texte);
  void peindre_decalage_derive();
  void colorer_bornes_na();
  void sur_bouton_repertoire(Repertoire quel);
  void sur_valider_repertoire();
  void sur_recents();
  void sur_recent_choisi(const QString& entree);

  ContexteFenetre& fenetre_;
  ControlesReglages& controles_;
  PanneauRepertoires* choix_rep_ = nullptr;
  PanneauResume* resume_ = nullptr;
  std::chrono::steady_clock::time_point dernier_clic_repertoire_{};

  EtiquetteChemin* labels_rep_[3] = {};
  QPushButton* boutons_rep_[3] = {};
  EtiquetteCliquable* label_description_ = nullptr;
  QLabel* label_patientez_ = nullptr;
  QPushButton* bouton_enregistrer_ = nullptr;
  QPushButton* bouton_enregistrer_sous_ = nullptr;
  QLineEdit* edit_masque_ = nullptr;
  QLineEdit* edit_alternatifs_ = nullptr;
  QWidget* ligne_intitule_ = nullptr;
  QWidget* balises_ = nullptr;
  QWidget* une_colonne_ = nullptr;
  QWidget* deux_colonnes_ = nullptr;
  QWidget* excel_ = nullptr;
  QWidget* groupe_decimal_entree_ = nullptr;
  QWidget* panneau_decalage_ = nullptr;
  QWidget* panneau_derive_ = nullptr;
  QSpinBox* jours_decalage_ = nullptr;
  QLineEdit* edit_intitule_origine_ = nullptr;
  QLineEdit* bornes_na_[2] = {};
};

}  // namespace tamso
