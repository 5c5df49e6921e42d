// A test port for the core: answers questions from a script and records
// every text shown, every progress report, directory chooser and editor.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/scripted_answers.h"

namespace tamso::test {

class InteractionScriptee : public PortScripte<Interaction> {
 public:
  bool arret = false;
  std::vector<Repertoire> choix_repertoire;
  std::vector<std::pair<std::string, int>> progressions;
  std::vector<std::pair<std::string, std::string>> editeur;

  void progression(const std::string& texte, int phase) override {
    progressions.emplace_back(texte, phase);
  }
  bool arret_demande() override { return arret; }
  void ouvrir_choix_repertoire(Repertoire quel) override { choix_repertoire.push_back(quel); }
  void ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) override {
    editeur.emplace_back(dossier, fichier);
  }
};

}  // namespace tamso::test
