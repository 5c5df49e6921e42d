#include "support/scripted_interaction.h"

namespace tamso::test {

std::vector<std::string> InteractionScriptee::textes() const {
  std::vector<std::string> t;
  for (const auto& e : echanges) t.push_back(e.texte);
  return t;
}

std::string InteractionScriptee::dernier_texte() const {
  return echanges.empty() ? std::string{} : echanges.back().texte;
}

Reponse InteractionScriptee::demander(TypeMessage type, const std::string& texte, Boutons boutons) {
  Reponse r = Reponse::ok;
  if (boutons != Boutons::ok) {
    if (!reponses.empty()) {
      r = reponses.front();
      reponses.pop_front();
    } else {
      ++questions_non_scriptees;
      r = boutons == Boutons::oui_non ? Reponse::non
          : boutons == Boutons::oui_ok ? Reponse::ok
                                       : Reponse::annuler;
    }
  }
  echanges.push_back({type, texte, boutons, r});
  if (pendant_question) pendant_question(texte);
  return r;
}

void InteractionScriptee::progression(const std::string& texte, int phase) {
  progressions.emplace_back(texte, phase);
}

std::optional<std::string> InteractionScriptee::choisir_fichier_a_ouvrir(const DialogueFichier& d) {
  dialogues.push_back(d);
  if (fichiers_a_ouvrir.empty()) return std::nullopt;
  auto r = fichiers_a_ouvrir.front();
  fichiers_a_ouvrir.pop_front();
  return r;
}

std::optional<std::string> InteractionScriptee::choisir_fichier_a_enregistrer(
    const DialogueFichier& d) {
  dialogues.push_back(d);
  if (fichiers_a_enregistrer.empty()) return std::nullopt;
  auto r = fichiers_a_enregistrer.front();
  fichiers_a_enregistrer.pop_front();
  return r;
}

}  // namespace tamso::test
