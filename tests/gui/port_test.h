// A test port for the main window: scripted answers and file choices, every
// text shown recorded, no program ever started.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/qt_interaction.h"

namespace tamso::test {

struct Question {
  TypeMessage type;
  std::string texte;
  Boutons boutons;
};

class PortTest : public InteractionQt {
 public:
  std::deque<Reponse> reponses;
  std::deque<std::optional<std::string>> fichiers_a_ouvrir;
  std::deque<std::optional<std::string>> fichiers_a_enregistrer;
  std::deque<std::optional<QColor>> couleurs;
  std::string presse_papier;

  std::vector<Question> questions;
  std::vector<DialogueFichier> dialogues;
  std::vector<CommandeExterne> programmes;
  bool eteint = false;

  std::string dernier_texte() const { return questions.empty() ? "" : questions.back().texte; }
  std::vector<std::string> textes() const {
    std::vector<std::string> t;
    for (const auto& q : questions) t.push_back(q.texte);
    return t;
  }

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override {
    questions.push_back({type, texte, boutons});
    if (boutons == Boutons::ok) return Reponse::ok;
    if (reponses.empty()) return boutons == Boutons::oui_non ? Reponse::non : Reponse::annuler;
    const Reponse r = reponses.front();
    reponses.pop_front();
    return r;
  }
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override {
    dialogues.push_back(d);
    if (fichiers_a_ouvrir.empty()) return std::nullopt;
    auto f = fichiers_a_ouvrir.front();
    fichiers_a_ouvrir.pop_front();
    return f;
  }
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override {
    dialogues.push_back(d);
    if (fichiers_a_enregistrer.empty()) return std::nullopt;
    auto f = fichiers_a_enregistrer.front();
    fichiers_a_enregistrer.pop_front();
    return f;
  }
  bool demarrer_programme(const CommandeExterne& c) override {
    programmes.push_back(c);
    return true;
  }
  std::optional<QColor> choisir_couleur(const QColor&, const QString&,
                                        const std::vector<QColor>&) override {
    if (couleurs.empty()) return std::nullopt;
    auto c = couleurs.front();
    couleurs.pop_front();
    return c;
  }
  void eteindre_ordinateur() override { eteint = true; }
  std::string texte_presse_papier() override { return presse_papier; }
  void copier_dans_presse_papier(const std::string& t) override { presse_papier = t; }
};

}  // namespace tamso::test
