// The scripted side of a test port, shared by the core's port and the
// window's: the answers and file choices a test queues, and every text the
// program showed, in order.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/interaction.h"

namespace tamso::test {

struct Echange {
  TypeMessage type;
  std::string texte;
  Boutons boutons;
  Reponse reponse;
};

class ReponsesScriptees {
 public:
  // Answers given in order; when the script is empty, OK for a message and
  // for "Oui/OK", "Non" for "Oui/Non", "Annuler" otherwise, and the question
  // counts as unscripted.
  std::deque<Reponse> reponses;
  std::deque<std::optional<std::string>> fichiers_a_ouvrir;
  std::deque<std::optional<std::string>> fichiers_a_enregistrer;
  std::string presse_papier;
  // Called with every text shown, once it is answered: lets a test change the
  // world while the program waits for the person.
  std::function<void(const std::string&)> pendant_question;

  std::vector<Echange> echanges;
  std::vector<DialogueFichier> dialogues;
  int questions_non_scriptees = 0;

  // Every text shown, in order.
  std::vector<std::string> textes() const;
  // The last text shown; empty when none.
  std::string dernier_texte() const;

  Reponse repondre(TypeMessage type, const std::string& texte, Boutons boutons);
  // Records the dialog; the next file of the queue, nothing once it is empty.
  std::optional<std::string> choisir(std::deque<std::optional<std::string>>& file,
                                     const DialogueFichier& d);
};

// A port of type Port whose questions, file dialogs and clipboard are the script's.
template <class Port>
class PortScripte : public Port, public ReponsesScriptees {
 public:
  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override {
    return repondre(type, texte, boutons);
  }
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override {
    return choisir(fichiers_a_ouvrir, d);
  }
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override {
    return choisir(fichiers_a_enregistrer, d);
  }
  std::string texte_presse_papier() override { return presse_papier; }
  void copier_dans_presse_papier(const std::string& texte) override { presse_papier = texte; }
};

}  // namespace tamso::test
