#include "cli/batch_interaction.h"

#include <ostream>

#include "base/quotation.h"
#include "base/tracking_log.h"

namespace tamso {

namespace {

const char* texte_reponse(Reponse r) {
  switch (r) {
    case Reponse::ok:
      return "OK";
    case Reponse::oui:
      return "Oui";
    case Reponse::non:
      return "Non";
    case Reponse::annuler:
      return "Annuler";
  }
  return "";
}

bool oui_propose(Boutons b) {
  return b == Boutons::oui_non || b == Boutons::oui_non_annuler || b == Boutons::oui_annuler ||
         b == Boutons::oui_ok;
}

}  // namespace

Reponse InteractionLot::reponse_par_defaut(Boutons boutons) {
  switch (boutons) {
    case Boutons::ok:
      return Reponse::ok;
    case Boutons::oui_non:
      return Reponse::non;
    case Boutons::oui_non_annuler:
      return Reponse::annuler;
    case Boutons::oui_annuler:
      return Reponse::annuler;
    case Boutons::ok_annuler:
      return Reponse::annuler;
    case Boutons::oui_ok:
      return Reponse::ok;
    case Boutons::annuler:
      return Reponse::annuler;
  }
  return Reponse::annuler;
}

Reponse InteractionLot::repondre(const std::string& texte_entier, Boutons boutons,
                                 Reponse reponse) {
  // A message built around a line of data shows the beginning of that line.
  const std::string texte = lignes_bornees(texte_entier, kLongueurLigneMessage);
  if (politique_ == PolitiqueLot::accepter && oui_propose(boutons)) reponse = Reponse::oui;
  if (boutons == Boutons::ok) {
    erreurs_ << texte << "\n";
    messages_.push_back(texte);
    return reponse;
  }
  erreurs_ << texte << "\n  -> " << texte_reponse(reponse) << "\n";
  questions_.push_back({texte, texte_reponse(reponse)});
  if (journal_) {
    journal_->ajouter_ligne_suivi("question : " + texte);
    journal_->ajouter_ligne_suivi("  -> réponse prise : " + std::string(texte_reponse(reponse)));
  }
  return reponse;
}

Reponse InteractionLot::demander(TypeMessage, const std::string& texte, Boutons boutons) {
  return repondre(texte, boutons, reponse_par_defaut(boutons));
}

Reponse InteractionLot::demander_poursuite(TypeMessage, const std::string& texte, Boutons boutons,
                                           Reponse poursuite) {
  return repondre(texte, boutons, poursuite);
}

std::optional<std::string> InteractionLot::choisir_fichier_a_ouvrir(const DialogueFichier& d) {
  erreurs_ << d.titre << "\n  -> Annuler (pas de dialogue en mode lot)\n";
  questions_.push_back({d.titre, "Annuler"});
  return std::nullopt;
}

std::optional<std::string> InteractionLot::choisir_fichier_a_enregistrer(const DialogueFichier& d) {
  erreurs_ << d.titre << "\n  -> Annuler (pas de dialogue en mode lot)\n";
  questions_.push_back({d.titre, "Annuler"});
  return std::nullopt;
}

}  // namespace tamso
