#include "support/scripted_answers.h"

namespace tamso::test {

std::vector<std::string> ReponsesScriptees::textes() const {
  std::vector<std::string> t;
  for (const auto& e : echanges) t.push_back(e.texte);
  return t;
}

std::string ReponsesScriptees::dernier_texte() const {
  return echanges.empty() ? std::string{} : echanges.back().texte;
}

Reponse ReponsesScriptees::repondre(TypeMessage type, const std::string& texte, Boutons boutons) {
  Reponse r = Reponse::ok;
  if (boutons != Boutons::ok) {
    if (!reponses.empty()) {
      r = reponses.front();
      reponses.pop_front();
    } else {
      ++questions_non_scriptees;
      r = boutons == Boutons::oui_non  ? Reponse::non
          : boutons == Boutons::oui_ok ? Reponse::ok
                                       : Reponse::annuler;
    }
  }
  echanges.push_back({type, texte, boutons, r});
  if (pendant_question) pendant_question(texte);
  return r;
}

std::optional<std::string> ReponsesScriptees::choisir(std::deque<std::optional<std::string>>& file,
                                                      const DialogueFichier& d) {
  dialogues.push_back(d);
  if (file.empty()) return std::nullopt;
  auto r = file.front();
  file.pop_front();
  return r;
}

}  // namespace tamso::test
