#include "cli/batch_interaction.h"

#include <ostream>

#include "results/tracking_log.h"

namespace tamso {

namespace {

const char* texte_reponse(Reponse r) {
  switch (r) {
    case Reponse::ok: return "OK";
    case Reponse::oui: return "Oui";
    case Reponse::non: return "Non";
    case Reponse::annuler: return "Annuler";
  }
  return "";
}

}  // namespace

Reponse InteractionLot::reponse_par_defaut(Boutons boutons) {
  switch (boutons) {
    case Boutons::ok: return Reponse::ok;
    case Boutons::oui_non: return Reponse::non;
    case Boutons::oui_non_annuler: return Reponse::annuler;
    case Boutons::oui_annuler: return Reponse::annuler;
    case Boutons::ok_annuler: return Reponse::annuler;
    case Boutons::oui_ok: return Reponse::ok;
    case Boutons::annuler: return Reponse::annuler;
  }
  return Reponse::annuler;
}

Reponse InteractionLot::demander(TypeMessage, const std::string& texte, Boutons boutons) {
  const Reponse r = reponse_par_defaut(boutons);
  erreurs_ << texte << "\n  -> " << texte_reponse(r) << "\n";
  if (journal_ && boutons != Boutons::ok)
    journal_->ajouter_ligne_suivi("question : " + texte + " -> " + texte_reponse(r));
  return r;
}

std::optional<std::string> InteractionLot::choisir_fichier_a_ouvrir(const DialogueFichier& d) {
  erreurs_ << d.titre << "\n  -> Annuler (aucun dialogue en mode lot)\n";
  return std::nullopt;
}

std::optional<std::string> InteractionLot::choisir_fichier_a_enregistrer(const DialogueFichier& d) {
  erreurs_ << d.titre << "\n  -> Annuler (aucun dialogue en mode lot)\n";
  return std::nullopt;
}

}  // namespace tamso
