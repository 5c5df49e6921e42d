// The one port through which the core talks to the person using it: every
// question, message, file dialog, editor launch, clipboard access and progress
// report. The texts are built by the core; an implementation only shows them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/tones.h"

namespace tamso {

enum class TypeMessage { information, avertissement, erreur, confirmation };
enum class Boutons { ok, oui_non, oui_non_annuler, oui_annuler, ok_annuler, oui_ok, annuler };
enum class Reponse { ok, oui, non, annuler };

// What an open-file or save-file dialog shows.
struct DialogueFichier {
  std::string titre;
  std::string dossier;  // where the dialog starts
  std::string filtre;   // "Fichiers descriptifs (*.dsc)|*.dsc|Tous les fichiers (*.*)|*.*"
  std::string propose;  // proposed file name
  bool demander_ecrasement = false;  // save dialog: ask before overwriting
};

// The three working directories.
enum class Repertoire { donnees, description, sortie };

class Interaction {
 public:
  virtual ~Interaction() = default;

  // A modal message with a type and a button set; returns the button pressed.
  virtual Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) = 0;
  // A question whose answer that goes on without changing the description and
  // without destroying a file is known; a program that cannot ask (the batch
  // program) takes that answer.
  virtual Reponse demander_poursuite(TypeMessage type, const std::string& texte, Boutons boutons,
                                     Reponse /*poursuite*/) {
    return demander(type, texte, boutons);
  }
  // A message with the OK button.
  void informer(TypeMessage type, const std::string& texte) { demander(type, texte, Boutons::ok); }

  // Progress text of a stage (1 listing, 2 timestamp list, 3 processing).
  virtual void progression(const std::string& texte, int phase) = 0;
  // Polled between files, lines or rows of long work.
  virtual bool arret_demande() = 0;

  // Chosen path, or nothing when the dialog is cancelled.
  virtual std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) = 0;
  virtual std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) = 0;
  // Opens the chooser of one working directory (the window's panel).
  virtual void ouvrir_choix_repertoire(Repertoire quel) = 0;

  virtual void ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) = 0;
  virtual std::string texte_presse_papier() = 0;
  virtual void copier_dans_presse_papier(const std::string& texte) = 0;
  // False when there is no clipboard to copy to (texts for it need not be built).
  virtual bool a_un_presse_papier() const { return true; }

  // Plays the tones one after the other; a tone the sound output cannot play
  // is skipped without a word. A program without sound plays nothing.
  virtual void jouer_tonalites(const std::vector<Tonalite>& /*tonalites*/) {}
  // Opens a web page in the default browser.
  virtual void ouvrir_page_web(const std::string& /*adresse*/) {}
  // A banner in front of the whole window with `texte`, until it is called
  // with an empty text.
  virtual void afficher_bandeau(const std::string& /*texte*/) {}
  // The session's label texts changed in the middle of a command: a window
  // shows them at once.
  virtual void montrer_etiquettes() {}
};

}  // namespace tamso
