// What the parts of the main window (its five regions and its panels) ask
// of the window that composes them: the session and the port, the controls
// bound to the description, the tracking log and the help, the long stages
// that span regions, and bringing the controls in line with the session.
#pragma once

#include <functional>

class QPushButton;

namespace tamso {

class AideContextuelle;
class ControlesReglages;
class InteractionQt;
class PanneauSuivi;
class Session;

class ContexteFenetre {
 public:
  virtual Session& session() = 0;
  virtual InteractionQt& port() = 0;
  virtual ControlesReglages& controles() = 0;
  virtual PanneauSuivi& suivi() = 0;
  virtual AideContextuelle& aide() = 0;

  // ---- stages ----
  virtual bool occupe() const = 0;
  // Runs one long stage started by the button b: the other controls ignore
  // the user meanwhile, the stop button works and the window keeps
  // repainting; b ends in the state etat_fin.
  virtual void etape(QPushButton* b, const std::function<void()>& travail,
                     const char* etat_fin = "bleu") = 0;
  // A stage started from a setting; it runs on the listing button.
  virtual void etape_listage(const std::function<void()>& travail) = 0;
  // Enter in a setting box: when the description was modified, the data
  // files are counted and listed again.
  virtual void sur_entree() = 0;

  // ---- bringing the controls in line ----
  virtual void rafraichir() = 0;
  virtual void afficher_description() = 0;
  virtual void afficher_periode() = 0;
  virtual void afficher_etiquettes() = 0;
  virtual void afficher_visibilites() = 0;
  virtual void afficher_table() = 0;
  virtual void afficher_resultats() = 0;
  virtual void afficher_liste_horodatee() = 0;
  virtual void afficher_legende_lister() = 0;
  virtual void appliquer_couleurs() = 0;
  virtual void rafraichir_indicateur() = 0;
  // Applies the window's style sheet again (after a change of a property it reads).
  virtual void reappliquer_style() = 0;

  // ---- the window ----
  // "grand Tableau" hides the description region.
  virtual void montrer_region_description(bool visible) = 0;
  virtual void demander_quitter() = 0;
  // "?+" (with the titles) and "?-": the help frames, or hides them when shown.
  virtual void basculer_cadres_aide(bool avec_titres) = 0;
  // The graph button: shows the graph window, or hides it when shown.
  virtual void basculer_graphiques() = 0;
  // After a run: a graph window left open draws the new results.
  virtual void rafraichir_graphiques() = 0;
  virtual bool compte_a_rebours_extinction() = 0;

 protected:
  ~ContexteFenetre() = default;
};

}  // namespace tamso
