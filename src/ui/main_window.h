// The main window: every setting of the description and of the period in the
// five regions of the window, the numbered stages, the file table, the
// tracking log and the results; it binds each control to the session and
// leaves every rule to the core.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/description_files.h"
#include "ui/qt_interaction.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTimeEdit;

namespace tamso {

class EtiquetteChemin;
class EtiquetteCliquable;
class ModeleTableFichiers;
class PanneauFlottant;
class PanneauRepertoires;
class VueTableFichiers;

class FenetrePrincipale : public QMainWindow {
  Q_OBJECT
 public:
  // The window owns its port; `argument` is the DSC file named on the command line.
  FenetrePrincipale(std::unique_ptr<InteractionQt> port, OptionsSession options,
                    std::string argument = {}, QWidget* parent = nullptr);
  ~FenetrePrincipale() override;

  Session& session() { return session_; }
  InteractionQt& port() { return *port_; }

  // ---- what the port asks of the window ----
  void afficher_progression(const std::string& texte, int phase);
  // Lets pending window events run (at most every few tens of milliseconds);
  // returns the stop request.
  bool laisser_vivre();
  void ouvrir_choix_repertoire(Repertoire quel);
  // Brings every control in line with the session.
  void rafraichir();

  bool demarrage_fait() const { return demarrage_fait_; }
  bool occupe() const { return occupe_; }
  // Length of the shutdown countdown (five minutes).
  void fixer_duree_compte_a_rebours(double minutes) { minutes_extinction_ = minutes; }
  // Runs the shutdown countdown; true when the computer is being switched off.
  bool compte_a_rebours_extinction();
  // Shows a results file in the results view.
  void afficher_fichier_resultats(const QString& chemin);

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // ---- building ----
  void construire();
  QWidget* construire_region_description();
  QWidget* construire_region_listage();
  QWidget* construire_region_format();
  QWidget* construire_region_periode();
  QWidget* construire_region_sortie();
  void construire_panneaux();

  // Controls bound to a description setting: the user's edits go straight to
  // the session and mark the description modified.
  QLineEdit* edit(const char* nom, std::string Description::*champ, QWidget* parent,
                  int largeur = 0, bool marquer = true);
  QCheckBox* case_a_cocher(const char* nom, const QString& texte, bool Description::*champ,
                           QWidget* parent, std::function<void(bool)> apres = {});
  // An option group "RadioGroup_<suffixe>" of buttons "RadioButton<k>_<suffixe>";
  // colonnes 0 puts the caption and the options on one line.
  QWidget* boite_options(const char* suffixe, const QString& titre, const QStringList& options,
                         int colonnes, QWidget* parent, QButtonGroup*& groupe);
  QWidget* groupe_options(const char* suffixe, const QString& titre, const QStringList& options,
                          int Description::*champ, int colonnes, QWidget* parent,
                          std::function<void(int)> apres = {});
  QTimeEdit* heure(const char* nom, double Description::*champ, QWidget* parent);
  QDateTimeEdit* date_heure(const char* nom, double Description::*champ, QWidget* parent);
  QLabel* etiquette(const char* nom, const QString& texte, QWidget* parent);
  // The check made on leaving the box or on Enter (entree).
  void valider_en_sortie(QLineEdit* e, std::function<void(const std::string&, bool)> valider);
  EtiquetteCliquable* date_cliquable(const char* nom, QWidget* parent);

  // ---- bringing the controls in line ----
  void afficher_description();
  void afficher_periode();
  void afficher_etiquettes();
  void afficher_journal();
  void afficher_visibilites();
  void afficher_table();
  void afficher_liste_horodatee();
  void appliquer_couleurs();
  void rafraichir_indicateur();
  void peindre_decalage_derive();
  void colorer_bornes_na();

  // ---- help ----
  void afficher_aide(QWidget* w);
  void afficher_lignes_aide(const std::vector<std::string>& lignes);
  void aide_tableau(int colonne, int ligne);

  // ---- stages ----
  // Runs one long stage: the other controls ignore the user meanwhile, the
  // stop button works and the window keeps repainting.
  void etape(QPushButton* b, const std::function<void()>& travail, const char* etat_fin = "bleu");
  void sur_lister();
  void sur_creer_liste();
  void sur_traiter();
  void sur_stop();
  void sur_sauver();
  void sur_sans_col_date();
  // The results area: the results list, the file just written or the values alone.
  void afficher_resultats();

  // ---- description file ----
  void sur_ouvrir_description();
  void sur_enregistrer();
  void sur_enregistrer_sous();
  void sur_nouveau();
  void sur_resume();
  void sur_modifier_lecteur();

  // ---- directories ----
  void sur_bouton_repertoire(Repertoire quel);
  void sur_valider_repertoire();
  void fermer_choix_repertoire();
  void sur_recents();
  void sur_recent_choisi(const QString& entree);

  // ---- edits and options ----
  void sur_entree();
  void sur_masque_modifie(const QString& texte);
  void sur_unite_pas(int unite);
  void sur_test_date(int test);
  void sur_schema_couleurs();
  void sur_choisir_couleur(int numero);
  void sur_date_cliquee(const char* nom);

  // ---- file table ----
  void sur_double_clic_tableau(int colonne, int ligne);
  void sur_clic_droit_tableau(int colonne, int ligne, QPoint global);
  void sur_grand_tableau(bool grand);

  // ---- tracking log ----
  void placer_suivi(bool grand);

  void demarrer();
  void demander_quitter();
  void placer_panneau(QWidget* p, QWidget* sous, int largeur, int hauteur);

  std::unique_ptr<InteractionQt> port_;
  Session session_;
  std::string argument_;
  bool demarrage_fait_ = false;
  bool occupe_ = false;
  bool quitter_autorise_ = false;
  bool compte_a_rebours_ = false;
  bool extinction_annulee_ = false;
  double minutes_extinction_ = 5.0;
  std::chrono::steady_clock::time_point dernier_pompage_{};
  std::size_t lignes_journal_affichees_ = 0;
  int ligne_coche_ = 0;
  std::vector<std::function<void()>> liaisons_;
  std::chrono::steady_clock::time_point dernier_clic_repertoire_{};

  // regions
  QWidget* racine_ = nullptr;
  QScrollArea* defilement_ = nullptr;
  QWidget* contenu_ = nullptr;
  QGroupBox* cadres_[5] = {};
  QWidget* colonne_sortie_ = nullptr;

  // region 1
  EtiquetteChemin* label_repertoire_ = nullptr;
  EtiquetteChemin* label_rep_description_ = nullptr;
  EtiquetteChemin* label_rep_sortie_ = nullptr;
  QPushButton* bouton_rep_[3] = {};
  EtiquetteCliquable* label_description_ = nullptr;
  QPushButton* bouton_enregistrer_ = nullptr;
  QPushButton* bouton_enregistrer_sous_ = nullptr;
  QLineEdit* edit_masque_ = nullptr;
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

  // region 2
  QPushButton* bouton_lister_ = nullptr;
  VueTableFichiers* table_ = nullptr;
  ModeleTableFichiers* modele_ = nullptr;
  PanneauFlottant* panneau_coche_ = nullptr;
  std::vector<QRadioButton*> choix_coche_;
  QCheckBox* sans_confirmation_ = nullptr;

  // region 4
  QDateEdit* date_deb_ = nullptr;
  QTimeEdit* heure_deb_ = nullptr;
  QDateEdit* date_fin_ = nullptr;
  QTimeEdit* heure_fin_ = nullptr;
  QTimeEdit* heure_pas_ = nullptr;
  QSpinBox* nb_pas_ = nullptr;
  QLabel* unite_pas_ = nullptr;
  QButtonGroup* groupe_unite_ = nullptr;
  QButtonGroup* groupe_test_ = nullptr;
  QPushButton* bouton_liste_ = nullptr;

  // region 5
  QPushButton* bouton_traiter_ = nullptr;
  QPushButton* bouton_stop_ = nullptr;
  QPushButton* bouton_sauver_ = nullptr;
  QCheckBox* arret_pc_ = nullptr;
  QLabel* label_patienter_ = nullptr;
  QLabel* label_durees_ = nullptr;
  QProgressBar* barre_ = nullptr;
  QTabWidget* vues_ = nullptr;
  QStackedWidget* pile_resultats_ = nullptr;
  QPlainTextEdit* resultats_ = nullptr;
  QPlainTextEdit* resultats_sans_date_ = nullptr;
  QListView* liste_horodatee_ = nullptr;
  QPlainTextEdit* apercu_ = nullptr;
  QPlainTextEdit* aide_ = nullptr;
  QLabel* aide_flottante_ = nullptr;
  QCheckBox* case_aide_flottante_ = nullptr;

  // panels
  PanneauFlottant* suivi_ = nullptr;
  QPlainTextEdit* journal_ = nullptr;
  QRadioButton* suivi_petit_ = nullptr;
  QRadioButton* suivi_grand_ = nullptr;
  PanneauRepertoires* choix_rep_ = nullptr;
  PanneauFlottant* couleurs_ = nullptr;
  PanneauFlottant* resume_ = nullptr;
  QLineEdit* edit_lecteur_ = nullptr;
  QLineEdit* edit_prefixe_ = nullptr;
  QPlainTextEdit* texte_resume_ = nullptr;
  QLabel* label_resume_ = nullptr;
  ResumeDsc resume_dsc_;
  PanneauFlottant* panneau_extinction_ = nullptr;
  QLabel* label_minutes_ = nullptr;
};

}  // namespace tamso
