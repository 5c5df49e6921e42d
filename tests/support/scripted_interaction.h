// A test port: answers questions from a script and records every text shown.
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

class InteractionScriptee : public Interaction {
 public:
  // Answers given in order; when the script is empty, OK for a message and
  // "Annuler" (or "Non") for a question, and the question counts as unscripted.
  std::deque<Reponse> reponses;
  std::deque<std::optional<std::string>> fichiers_a_ouvrir;
  std::deque<std::optional<std::string>> fichiers_a_enregistrer;
  std::string presse_papier;
  bool arret = false;
  // Called with every text shown, once it is answered: lets a test change the
  // world while the program waits for the person.
  std::function<void(const std::string&)> pendant_question;

  std::vector<Echange> echanges;
  std::vector<DialogueFichier> dialogues;
  std::vector<Repertoire> choix_repertoire;
  std::vector<std::pair<std::string, int>> progressions;
  std::vector<std::pair<std::string, std::string>> editeur;
  int questions_non_scriptees = 0;

  // Every text shown, in order.
  std::vector<std::string> textes() const;
  // The last text shown; empty when none.
  std::string dernier_texte() const;

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override;
  void progression(const std::string& texte, int phase) override;
  bool arret_demande() override { return arret; }
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override;
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override;
  void ouvrir_choix_repertoire(Repertoire quel) override { choix_repertoire.push_back(quel); }
  void ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) override {
    editeur.emplace_back(dossier, fichier);
  }
  std::string texte_presse_papier() override { return presse_papier; }
  void copier_dans_presse_papier(const std::string& texte) override { presse_papier = texte; }
};

}  // namespace tamso::test
