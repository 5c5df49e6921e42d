#include "app/startup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/description_files.h"
#include "app/installation.h"
#include "app/period_commands.h"
#include "app/program_files.h"
#include "app/save.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "app/window_colours.h"
#include "input/conversion.h"
#include "input/files.h"
#include "input/text.h"
#include "processing/period.h"

namespace fs = std::filesystem;

namespace tamso {

namespace {

Reponse demander(Session& s, const std::string& texte, Boutons boutons) {
  return s.port().demander(TypeMessage::confirmation, texte, boutons);
}

std::string repertoire_courant() {
  std::error_code ec;
  const fs::path p = fs::current_path(ec);
  return ec ? std::string() : avec_barre_finale(p.string());
}

std::string& repertoire_de_session(Session& s, Repertoire quel) {
  switch (quel) {
    case Repertoire::donnees:
      return s.description.dossier_choisi;
    case Repertoire::description:
      return s.description.dossier_description;
    case Repertoire::sortie:
      break;
  }
  return s.description.dossier_choisi_sortie;
}

std::string etiquette_vide(Repertoire quel) {
  switch (quel) {
    case Repertoire::donnees:
      return kEtiquetteRepDonnees;
    case Repertoire::description:
      return kEtiquetteRepDescription;
    case Repertoire::sortie:
      break;
  }
  return kEtiquetteRepSortie;
}

// "D:" for a path beginning with a drive letter, empty otherwise.
std::string lecteur_de(std::string_view chemin) {
  return chemin.size() >= 2 && chemin[1] == ':' ? std::string(chemin.substr(0, 2)) : std::string();
}

// The example installation of the program, recognised when a DSC file named
// on the command line comes from another drive.
void verifier_lecteur_exemple(Session& s, const std::string& argument) {
  Description& d = s.description;
  const std::string lecteur = lecteur_de(argument);
  if (lecteur.empty()) return;
  const bool exemple = commence_par(d.dossier_choisi, "C:\\TAMSO\\Bases de données (exemple)\\") &&
                       d.dossier_description.size() > 1 &&
                       commence_par(std::string_view(d.dossier_description).substr(1),
                                    ":\\TAMSO\\Descriptions-BD\\") &&
                       d.dossier_choisi_sortie == "C:\\TAMSO\\Export\\";
  if (!exemple) return;
  const bool different = !egal_sans_casse(lecteur, lecteur_de(d.dossier_choisi)) ||
                         !egal_sans_casse(lecteur, lecteur_de(d.dossier_description)) ||
                         !egal_sans_casse(lecteur, lecteur_de(d.dossier_choisi_sortie));
  if (!different) return;
  const std::string q = " Vérifier le lecteur des 3 répertoires \n\n" + d.dossier_choisi + "\n\n" +
                        d.dossier_description + "\n\n" + d.dossier_choisi_sortie + "\n\n" +
                        " Remplacer tous les lecteurs par " + lecteur + "  ?" + "\n\n";
  if (demander(s, q, Boutons::oui_non) != Reponse::oui) return;
  d.dossier_choisi = lecteur + d.dossier_choisi.substr(2);
  d.dossier_choisi_sortie = lecteur + d.dossier_choisi_sortie.substr(2);
}

}  // namespace

std::string argument_description(const std::vector<std::string>& arguments) {
  std::string r;
  for (const auto& a : arguments) {
    if (!r.empty()) r += ' ';
    r += a;
  }
  r = trim(r);
  if (r.size() >= 2 && r.front() == '"' && r.back() == '"') r = trim(r.substr(1, r.size() - 2));
  return r;
}

std::string ligne_version() {
  return std::string("Tamso v") + version_tamso() + ", programme de bureau Qt, compilé le " +
         __DATE__;
}

bool sequence_demarrage(Session& s, const std::string& argument) {
  // The temporary texts that a program killed before its end left beside
  // the program's files (converted workbooks, files being written).
  supprimer_temporaires_orphelins(s.repertoire_programme());
  // On a first start there is no period of a last run: a description given
  // to open brings its own.
  const bool periode_connue = fichier_existe(s.chemin_periode());
  if (!lire_periode(s)) return false;
  std::string chemin = !argument.empty() ? argument : lire_derniere_description(s);

  lire_couleurs(s);
  if (s.description.coul_nb == 1) s.couleurs = couleurs_gris();

  s.description_modifiee = false;
  s.source = SourceDonnees::repertoire;
  s.table.entetes_tableau();

  if (!chemin.empty() && !fichier_existe(chemin)) {
    s.port().informer(TypeMessage::avertissement,
                      "Le fichier <" + chemin + ">" + "\n" + " n'existe pas ");
    chemin.clear();
  }

  bool lu = false;
  bool description_prise = false;
  if (!chemin.empty() && chemin != kDescriptionAucune && fichier_existe(chemin)) {
    bool utiliser = true;
    if (argument.empty()) {
      const std::string q = "____________________________________ T a m s o\n\ndans => " +
                            repertoire_de(chemin) + "\n\n\n" +
                            "utiliser la dernière description utilisée ?                     \n\n" +
                            nom_de_fichier(chemin) + "\n";
      utiliser = demander(s, q, Boutons::oui_non) == Reponse::oui;
    }
    if (utiliser) {
      const AttenteLecture attente(s);
      std::string dossier = avec_barre_finale(repertoire_de(chemin));
      if (!repertoire_existe(dossier)) {
        s.port().informer(TypeMessage::avertissement,
                          " dossier_description = \n<" + dossier + "> non trouvée" + "\n" +
                              " essai dans le répertoire du programme...");
        dossier = s.repertoire_programme();
      }
      const Description avant = s.description;
      const std::string nom_avant = s.nom_description, legende_avant = s.legende_fenetre;
      s.description.dossier_description = dossier;
      s.nom_description = nom_de_fichier(chemin);
      s.legende_fenetre = titre_programme() + "         >  " + s.nom_description;
      s.table.entetes_tableau();
      lu = lire_description(s);
      if (lu) {
        description_prise = true;
        // As when a description is opened, the file's own directory line
        // cannot move the description away from where it was found.
        s.description.dossier_description = dossier;
        verifier_repertoires(s);
      } else {
        // A file read only in part is not taken: the program starts with the
        // settings it had, so that leaving it cannot write a mix of two
        // descriptions over the file.
        s.description = avant;
        s.nom_description = nom_avant;
        s.legende_fenetre = legende_avant;
      }
    }
  }

  if (!argument.empty() && description_prise) {
    verifier_lecteur_exemple(s, argument);
    s.description.dossier_description = avec_barre_finale(repertoire_de(argument));
    if (!periode_connue) prendre_periode_dsc(s);
  }

  s.journal.vider();
  s.ajouter_ligne_suivi(titre_programme());
  s.ajouter_ligne_suivi("");
  s.ajouter_ligne_suivi(ligne_version());
  const char sep = s.separateur_decimal();
  s.ajouter_ligne_suivi(std::string("ORDINATEUR  DecimalSeparator  ") + sep + "  " +
                        (sep == '.' ? " point" : " virgule"));

  s.fichiers_coches.clear();
  rafraichir_titres_colonnes(s);
  s.description_modifiee = false;
  return lu;
}

const std::vector<std::string>& fichiers_temporaires() {
  static const std::vector<std::string> noms = {"~tmp_xls.csv",  "~tmp.xls",  "~tmp.txt",
                                                "~tmp0.txt",     "~tmp1.txt", "~presse-papier.ppp",
                                                "~résultats.txt"};
  return noms;
}

void supprimer_fichiers_temporaires(const Session& s) {
  supprimer_copies_converties();
  for (const auto& nom : fichiers_temporaires()) {
    const std::string chemin = s.repertoire_temporaire() + nom;
    std::error_code ec;
    if (fichier_existe(chemin)) fs::remove(fs::path(chemin), ec);
  }
}

bool quitter_programme(Session& s, const std::function<void(Session&)>& enregistrer_resultats) {
  if (s.source == SourceDonnees::presse_papier && !contient(s.nom_description, "(ppp")) {
    const std::string propose = nom_description_propose(s);
    const std::string q =
        "avant de quitter, enregistrer une description propre au Presse-Papier "
        "?\n\n (Non) actuelle : " +
        s.nom_description + "\n\n" + " (Oui) proposée : " + propose + "\n\n" +
        "  (Annuler)  = retour";
    switch (demander(s, q, Boutons::oui_non_annuler)) {
      case Reponse::oui:
        s.nom_description = propose;
        s.description_modifiee = true;
        break;
      case Reponse::non:
        s.description_modifiee = true;
        break;
      default:
        return false;
    }
  }
  if (demander(s, "Quitter  ?\n", Boutons::oui_non) != Reponse::oui) return false;
  if (s.description_modifiee && enregistrer_resultats) enregistrer_resultats(s);
  if (s.periode_modifiee) ecrire_periode(s);
  ecrire_description(s);
  supprimer_fichiers_temporaires(s);
  return true;
}

// ---------------------------------------------------------------- directory chooser

std::string legende_choix_repertoire(Repertoire quel) {
  switch (quel) {
    case Repertoire::donnees:
      return "Répertoire des données";
    case Repertoire::description:
      return "Répertoire des descriptions";
    case Repertoire::sortie:
      break;
  }
  return "Répertoire de sortie";
}

std::string repertoire_depart_choix(Session& s, Repertoire quel) {
  const std::string etiquette = s.etiquette_repertoire(quel);
  if (repertoire_existe(etiquette)) return avec_barre_finale(etiquette);
  const std::string courant = repertoire_courant();
  if (etiquette == etiquette_vide(quel)) return courant;
  if (quel == Repertoire::sortie) {
    const std::string& donnees = s.description.dossier_choisi;
    if (donnees.empty()) return courant;
    const std::string export_ = donnees + "EXPORT";
    if (demander(s, " Créer le sous répertoire " + export_ + " pour les fichiers de sortie ? ",
                 Boutons::oui_non) != Reponse::oui)
      return courant;
    std::error_code ec;
    fs::create_directories(fs::path(export_), ec);
    if (!repertoire_existe(export_)) {
      s.port().informer(TypeMessage::erreur, "Impossible de créer le répertoire  " + export_);
      return courant;
    }
    s.description.dossier_choisi_sortie = avec_barre_finale(export_);
    s.description_modifiee = false;
    return s.description.dossier_choisi_sortie;
  }
  s.port().informer(TypeMessage::avertissement, "   " + legende_choix_repertoire(quel) + "\n\n" +
                                                    "DOSSIER INACCESSIBLE\n\n" + "<" + etiquette +
                                                    ">" + "\n\n");
  return courant;
}

void proposer_masque(Session& s, const std::string& dossier) {
  Description& d = s.description;
  std::string premier;
  std::vector<FichierTrouve> trouves;
  const int n = lister_fichiers(dossier, d.masque, d.recursif, premier, trouves);
  if (n > 0) {
    s.etiquette("Label54") = std::to_string(n);
    s.etiquette("Label_fic") = premier;
    return;
  }
  // The folder's first file, by name.
  std::vector<std::string> noms;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(dossier), ec), fin; !ec && it != fin; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    const std::string nom = it->path().filename().string();
    if (nom.empty() || nom.front() == '.' || contient(nom, "~")) continue;
    noms.push_back(nom);
  }
  if (noms.empty()) return;
  const std::string nom = *std::min_element(noms.begin(), noms.end());
  const std::size_t point = nom.rfind('.');
  if (point == std::string::npos || point == 0) return;
  const std::string nouveau = "*" + nom.substr(point);
  if (majuscules(nouveau) == majuscules(d.masque)) return;

  std::string premier_nouveau;
  std::vector<FichierTrouve> avec_nouveau;
  const int n_nouveau =
      lister_fichiers(dossier, nouveau, d.recursif, premier_nouveau, avec_nouveau);
  const std::string q = dossier + "\n\n" +
                        "   Aucun fichier de ce répertoire n'a l'extention attendue de " +
                        d.masque + "\n\n" +
                        " Mettre à jour le champ [masque] des extentions de fichiers ?      \n\n" +
                        "  attendu  => " + d.masque + "\n\n" + "  nouveau détecté => " + nouveau +
                        "  " + std::to_string(n_nouveau) + " fichier(s)";
  if (demander(s, q, Boutons::oui_non) == Reponse::oui) changer_masque(s, nouveau);
  s.etiquette("Label54") = std::to_string(n_nouveau);
  s.etiquette("Label_fic") = premier_nouveau;
  if (avec_nouveau.empty()) return;
  const FichierTrouve& f = avec_nouveau.front();
  if (demander(s, " Visualiser un fichier de données pour aider à remplir les champs ? \n" + f.nom,
               Boutons::oui_non) == Reponse::oui)
    s.port().ouvrir_dans_editeur(avec_barre_finale(dossier) + f.sous_repertoire, f.nom);
}

void valider_choix_repertoire(Session& s, Repertoire quel, const std::string& dossier) {
  ajouter_repertoires_recents(s);
  repertoire_de_session(s, quel) = avec_barre_finale(dossier);
  if (quel == Repertoire::donnees) {
    s.description_modifiee = true;
    valider_par_entree(s);
  }
  ecrire_description(s);
}

IssueRecent choisir_repertoire_recent(Session& s, Repertoire actif, const std::string& entree) {
  if (entree.size() <= 3) return IssueRecent::rien;
  const std::string chemin = entree.substr(3);
  if (!repertoire_existe(chemin)) {
    s.port().informer(TypeMessage::avertissement, "\n" + chemin + " Répertoire inexistant \n\n");
    return IssueRecent::rien;
  }
  switch (demander(
      s, "  Choisir le répertoire " + chemin + "\n\n" + "  (Non) = effacer la liste" + "\n\n",
      Boutons::oui_non_annuler)) {
    case Reponse::oui:
      repertoire_de_session(s, actif) = avec_barre_finale(chemin);
      s.description_modifiee = true;
      return IssueRecent::choisi;
    case Reponse::non:
      if (demander(s, "  Effacer la liste des répertoires ?\n\n", Boutons::oui_non) != Reponse::oui)
        return IssueRecent::rien;
      s.repertoires_recents.clear();
      ecrire_lignes_texte(s.chemin_recents(), std::vector<std::string>{});
      return IssueRecent::liste_effacee;
    default:
      return IssueRecent::rien;
  }
}

}  // namespace tamso
