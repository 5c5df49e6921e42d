// The main window: it composes the five regions of the window and its
// panels over one session and one port, runs the long stages that span the
// regions, starts the program and leaves it. Each region binds its own
// controls to the session and leaves every rule to the core.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <QMainWindow>

#include "app/session.h"
#include "ui/qt_interaction.h"
#include "ui/window_context.h"

class QLabel;
class QScrollArea;

namespace tamso {

class AideContextuelle;
class CadresAide;
class FenetreGraphiques;
class ControlesReglages;
class PanneauCouleurs;
class PanneauExtinction;
class PanneauMarquage;
class PanneauRepertoires;
class PanneauResume;
class PanneauSuivi;
class RegionDescription;
class RegionFormat;
class RegionListage;
class RegionPeriode;
class RegionSortie;

class FenetrePrincipale : public QMainWindow, private ContexteFenetre {
  Q_OBJECT
 public:
  // The window owns its port; `argument` is the DSC file named on the command line.
  FenetrePrincipale(std::unique_ptr<InteractionQt> port, OptionsSession options,
                    std::string argument = {}, QWidget* parent = nullptr);
  ~FenetrePrincipale() override;

  Session& session() override { return session_; }
  InteractionQt& port() override { return *port_; }

  // ---- what the port asks of the window ----
  void afficher_progression(const std::string& texte, int phase);
  // Lets pending window events run (at most every few tens of milliseconds);
  // returns the stop request.
  bool laisser_vivre();
  void ouvrir_choix_repertoire(Repertoire quel);
  // A navy banner with yellow text in front of every control, 50 pixels
  // below the window's top and centred; an empty text removes it.
  void afficher_bandeau(const std::string& texte);
  // The session's label texts, shown at once in the middle of a command.
  void montrer_etiquettes();
  // Brings every control in line with the session.
  void rafraichir() override;

  bool demarrage_fait() const { return demarrage_fait_; }
  bool occupe() const override { return occupe_; }
  // Length of the shutdown countdown (five minutes).
  void fixer_duree_compte_a_rebours(double minutes) { minutes_extinction_ = minutes; }
  // Runs the shutdown countdown; true when the computer is being switched off.
  bool compte_a_rebours_extinction() override;

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
  void construire_panneaux();
  // Ctrl+O, Ctrl+S, F5 and F9 press the buttons they stand for.
  void installer_raccourcis();
  // Hides the first open panel (marking, colours, summary, directories);
  // false when none was open.
  bool fermer_panneau_ouvert();

  // ---- what the regions and panels ask of the window ----
  ControlesReglages& controles() override { return *controles_; }
  PanneauSuivi& suivi() override { return *suivi_; }
  AideContextuelle& aide() override { return *aide_; }
  void etape(QPushButton* b, const std::function<void()>& travail, const char* etat_fin) override;
  void etape_listage(const std::function<void()>& travail) override;
  void sur_entree() override;
  void afficher_description() override;
  void afficher_periode() override;
  void afficher_etiquettes() override;
  void afficher_visibilites() override;
  void afficher_table() override;
  void afficher_resultats() override;
  void afficher_liste_horodatee() override;
  void afficher_legende_lister() override;
  void appliquer_couleurs() override;
  void rafraichir_indicateur() override;
  void reappliquer_style() override;
  void montrer_region_description(bool visible) override;
  void demander_quitter() override;
  void basculer_cadres_aide(bool avec_titres) override;
  void basculer_graphiques() override;
  void rafraichir_graphiques() override;

  void demarrer();
  // A double click on the floating help: the results file in the text editor.
  void editer_resultats_depuis_aide();

  std::unique_ptr<InteractionQt> port_;
  Session session_;
  std::string argument_;
  bool demarrage_fait_ = false;
  bool occupe_ = false;
  bool espacements_serres_ = false;  // rows laid closer on a low window
  void ajuster_espacements();
  bool quitter_autorise_ = false;
  bool echap_presse_ = false;
  double minutes_extinction_ = 5.0;
  std::chrono::steady_clock::time_point dernier_pompage_{};
  std::unique_ptr<ControlesReglages> controles_;
  std::unique_ptr<AideContextuelle> aide_;
  CadresAide* cadres_aide_ = nullptr;

  // the window's areas
  QWidget* racine_ = nullptr;
  QScrollArea* defilement_ = nullptr;
  QWidget* contenu_ = nullptr;

  // the five regions
  RegionDescription* description_ = nullptr;
  RegionListage* listage_ = nullptr;
  RegionFormat* format_ = nullptr;
  RegionPeriode* periode_ = nullptr;
  RegionSortie* sortie_ = nullptr;

  // the panels
  PanneauSuivi* suivi_ = nullptr;
  PanneauRepertoires* choix_rep_ = nullptr;
  PanneauCouleurs* couleurs_ = nullptr;
  PanneauResume* resume_ = nullptr;
  PanneauMarquage* marquage_ = nullptr;
  PanneauExtinction* extinction_ = nullptr;
  QLabel* bandeau_ = nullptr;
  // The graph window, made with the main window and only shown or hidden.
  FenetreGraphiques* graphiques_ = nullptr;
};

}  // namespace tamso
