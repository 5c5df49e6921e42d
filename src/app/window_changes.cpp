#include "app/window_changes.h"

#include <utility>
#include <vector>

#include "app/description_files.h"
#include "app/period_commands.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "app/window_colours.h"
#include "input/files.h"

namespace tamso {

// ---------------------------------------------------------------- settings

void modifier_reglage(Session& s, std::string Description::*champ, std::string valeur) {
  if (champ == &Description::name_prog_blocnote) s.editeur_saisi = valeur;
  s.description.*champ = std::move(valeur);
  s.description_modifiee = true;
}

void modifier_reglage(Session& s, double Description::*champ, double valeur) {
  s.description.*champ = valeur;
  s.description_modifiee = true;
}

void cocher_reglage(Session& s, bool Description::*champ, bool coche) {
  s.description.*champ = coche;
  s.description_modifiee = true;
  if (champ == &Description::delta_Y)
    cocher_delta_y(s, coche);
  else if (champ == &Description::derivees)
    cocher_derivees(s, coche);
  else if (champ == &Description::cumul_corriger)
    cocher_cumul_corriger(s, coche);
  rafraichir_titres_colonnes(s);
}

void choisir_option(Session& s, const MembreParametre& champ, int indice) {
  ecrire_indice(s.description, champ, indice);
  s.description_modifiee = true;
  if (champ == MembreParametre(&Description::coul_nb)) appliquer_schema_couleurs(s, indice);
  rafraichir_titres_colonnes(s);
}

void choisir_signe_decalage(Session& s, bool positif) {
  s.description.decalage_positif = positif;
  s.description.decalage_negatif = !positif;
  s.description_modifiee = true;
}

bool valider_intitules_alternatifs(Session& s, bool entree) {
  if (entree) s.description_modifiee = true;
  return s.description_modifiee;
}

void valider_colonnes_saisies(Session& s, const std::string& saisie, bool entree) {
  valider_colonnes_a_extraire(s, saisie);
  if (!entree) return;
  s.description_modifiee = true;
  ecrire_description(s);
}

// ---------------------------------------------------------------- period

void choisir_test_date(Session& s, int test) {
  changer_test_date(s, test);
  s.resultats.lignes.clear();
  s.resultats.lignes_valeurs.clear();
  s.resultats.vue = EtatResultats::Vue::liste;
}

bool recuperer_date_cliquee(Session& s, std::string_view label, const std::string& texte) {
  if (label == "Label_pas_dsc") return recuperer_pas_dsc(s);
  if (label == "Label_max_dsc") return recuperer_max_dsc(s);
  if (label == "Label_min_dsc") return recuperer_min_dsc(s);
  if (label == "Label_date_heure_min") return recuperer_date_heure_mini(s, texte);
  if (label == "Label_date_heure_max") return recuperer_date_heure_maxi(s, texte);
  if (label == "Label_date_min") return recuperer_date_min_table(s, texte);
  if (label == "Label_date_max") return recuperer_date_max_table(s, texte);
  return false;
}

// ---------------------------------------------------------------- file table

void demander_tableau_complet(Session& s) {
  s.table.liste_partielle = false;
}

// ---------------------------------------------------------------- text editor

namespace {

// Whether the editor of the setting may be started: the platform's own or
// Notepad++ by its bare name, one the user typed, or one a description named
// that the user allowed (asked once; the answers are kept for this user, one
// line "oui <setting>" or "non <setting>" each).
bool editeur_permis(Session& s, const std::string& reglage, const CommandeExterne& commande) {
  if (est_editeur_par_defaut(commande.programme) || commande.programme == "notepad++.exe" ||
      reglage == s.editeur_saisi)
    return true;
  std::vector<std::string> reponses =
      lire_lignes_texte(s.chemin_programmes_autorises()).value_or(std::vector<std::string>{});
  for (const std::string& l : reponses) {
    if (l == "oui " + reglage) return true;
    if (l == "non " + reglage) return false;
  }
  const bool oui = s.port().demander(TypeMessage::avertissement,
                                     question_editeur_de_description(s.nom_description, reglage),
                                     Boutons::oui_non) == Reponse::oui;
  reponses.push_back((oui ? "oui " : "non ") + reglage);
  ecrire_lignes_texte(s.chemin_programmes_autorises(), reponses);
  return oui;
}

}  // namespace

std::string question_editeur_de_description(const std::string& description,
                                            const std::string& reglage) {
  return " La description " + description +
         " demande d'ouvrir les fichiers avec le programme :\n\n   " + reglage +
         "\n\n Ce programme n'a pas été choisi sur cet ordinateur : une description reçue "
         "d'ailleurs peut nommer n'importe quel programme.\n\n Le lancer, maintenant et les "
         "prochaines fois ?\n\n   (Non : les fichiers s'ouvrent avec l'éditeur du bureau)";
}

IssueEditeur editer_fichier(Session& s, const std::string& dossier, const std::string& fichier,
                            int largeur_ecran, int hauteur_ecran, const LanceurProgramme& lancer) {
  std::string& reglage = s.description.name_prog_blocnote;
  const CommandeExterne commande =
      commande_editeur(reglage, dossier, fichier, largeur_ecran, hauteur_ecran);
  if (!editeur_permis(s, reglage, commande)) {
    if (lancer(commande_editeur(kEditeurDeSecours, dossier, fichier, largeur_ecran, hauteur_ecran)))
      return IssueEditeur::refuse;
    s.port().informer(TypeMessage::erreur, message_editeur_sans_programme(dossier + fichier));
    return IssueEditeur::echec;
  }
  if (lancer(commande)) return IssueEditeur::lance;
  // The platform's own way failed: there is nothing else to propose.
  if (est_editeur_par_defaut(commande.programme)) {
    s.port().informer(TypeMessage::erreur, message_editeur_sans_programme(dossier + fichier));
    return IssueEditeur::echec;
  }
  IssueEditeur issue = IssueEditeur::abandonne;
  if (s.port().demander(TypeMessage::avertissement, question_editeur_introuvable(reglage),
                        Boutons::oui_non) == Reponse::oui) {
    reglage = kEditeurDeSecours;
    s.description_modifiee = true;
    issue = IssueEditeur::remplace;
  }
  // The file is shown all the same.
  if (!lancer(commande_editeur(kEditeurDeSecours, dossier, fichier, largeur_ecran, hauteur_ecran)))
    s.port().informer(TypeMessage::erreur, message_editeur_sans_programme(dossier + fichier));
  return issue;
}

std::string message_editeur_sans_programme(const std::string& chemin) {
  return " aucun programme n'a pu ouvrir le fichier \n\n<" + chemin + ">";
}

bool ouvrir_manuel(Session& s, const LanceurProgramme& lancer, bool windows) {
  const std::string chemin = s.chemin_manuel();
  if (!fichier_existe(chemin)) {
    s.port().informer(TypeMessage::information, message_manuel_introuvable(chemin));
    return false;
  }
  for (const CommandeExterne& c : ouvertures_manuel(chemin, windows, fichier_existe))
    if (lancer(c)) return true;
  s.port().informer(TypeMessage::information, message_sans_lecteur_pdf(chemin, windows));
  return false;
}

}  // namespace tamso
