// A test port for the core: answers questions from a script and records
// every text shown, every progress report, directory chooser and editor.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/scripted_answers.h"

namespace tamso::test {

class InteractionScriptee : public PortScripte<Interaction> {
 public:
  bool arret = false;
  bool avec_presse_papier = true;  // false: a port without a clipboard (batch)
  std::vector<Repertoire> choix_repertoire;
  std::vector<std::pair<std::string, int>> progressions;
  std::vector<std::pair<std::string, std::string>> editeur;
  // Every series of tones asked for, every web page opened.
  std::vector<std::vector<Tonalite>> tonalites;
  std::vector<std::string> pages_web;
  // Every banner shown (an empty text removes it), with the number of
  // messages shown before it.
  std::vector<std::pair<std::string, std::size_t>> bandeaux;
  // Called with every progress report: lets a test change the world while
  // the program works.
  std::function<void(const std::string&, int)> pendant_progression;

  void progression(const std::string& texte, int phase) override {
    progressions.emplace_back(texte, phase);
    if (pendant_progression) pendant_progression(texte, phase);
  }
  void jouer_tonalites(const std::vector<Tonalite>& t) override { tonalites.push_back(t); }
  void ouvrir_page_web(const std::string& adresse) override { pages_web.push_back(adresse); }
  void afficher_bandeau(const std::string& texte) override {
    bandeaux.emplace_back(texte, echanges.size());
  }
  bool arret_demande() override { return arret; }
  bool a_un_presse_papier() const override { return avec_presse_papier; }
  void ouvrir_choix_repertoire(Repertoire quel) override { choix_repertoire.push_back(quel); }
  void ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) override {
    editeur.emplace_back(dossier, fichier);
  }
};

}  // namespace tamso::test
