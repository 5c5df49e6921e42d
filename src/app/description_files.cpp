#include "app/description_files.h"

#include <filesystem>

#include "app/clipboard_commands.h"
#include "app/period_commands.h"
#include "app/program_files.h"
#include "app/session.h"
#include "description/description.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

const char* const kFiltreDsc = "Fichiers descriptifs (*.dsc)|*.dsc|Tous les fichiers (*.*)|*.*";

// After a read or a write: data source from the mask, the count of data
// files, the listing button's caption (read from the session when shown).
void apres_lecture(Session& s) {
  s.intitule_origine.clear();
  s.source = source_du_masque(s.description.masque);
  if (s.source == SourceDonnees::presse_papier) {
    // The clipboard's data of now, not of when the description was saved.
    lire_presse_papier(s);
  } else if (s.source == SourceDonnees::repertoire) {
    s.compter_et_montrer_fichiers();
  }
}

void fixer_depuis_chemin(Session& s, const std::string& chemin) {
  s.description.dossier_description = avec_barre_finale(repertoire_de(chemin));
  s.nom_description = nom_de_fichier(chemin);
}

void relire_apres_enregistrement(Session& s) {
  s.table.entetes_tableau();
  lire_description(s);
  verifier_repertoires(s);
}

}  // namespace

bool lire_description(Session& s, const std::string& dossier_donnees) {
  if (s.sans_nom_description()) return false;
  const std::string chemin = s.chemin_dsc();
  if (!fichier_existe(chemin)) {
    s.port().informer(TypeMessage::erreur, " Fichier de description <" + trim(s.nom_description) +
                                               "> introuvable dans le dossier" + "\n\n" + "<" +
                                               s.description.dossier_description + ">");
    return false;
  }
  const auto lignes = lire_lignes_texte(chemin);
  if (!lignes) {
    s.port().informer(TypeMessage::erreur, "Impossible d'ouvrir le fichier " + chemin);
    return false;
  }
  if (const auto refusee =
          appliquer_lignes_dsc(*lignes, s.description, s.repertoire_programme(),
                               repertoire_de(chemin), dossier_donnees, s.journal)) {
    message_entier(s, *refusee);
    return false;
  }
  s.description_modifiee = false;
  apres_lecture(s);
  return true;
}

bool ecrire_description(Session& s, ModeEcriture /*mode*/) {
  // Both modes write the same lines; "création" differs only by who names the file.
  if (s.sans_nom_description()) return false;
  const std::string chemin = s.chemin_dsc();
  std::string raison;
  if (!ecrire_lignes_texte(chemin, lignes_dsc(s.description), &raison)) {
    s.port().informer(TypeMessage::erreur,
                      "Impossible de créer le fichier " + chemin + "\n\n  (" + raison + ")");
    return false;
  }
  if (s.periode_modifiee) ecrire_periode(s);
  if (s.description_modifiee) mettre_a_jour_parametres(s);
  s.description_modifiee = false;
  return true;
}

std::string nom_description_propose(const Session& s) {
  std::string base = trim(s.nom_description);
  const std::size_t point = base.rfind('.');
  if (point != std::string::npos) base.erase(point);
  if (const std::size_t p = base.find("_("); p != std::string::npos) base.erase(p);
  std::string masque = s.description.masque;
  remplacer_caractere('*', '_', masque);
  remplacer_caractere('.', '_', masque);
  static const char* kSeparateurs[] = {" Tab", " esp", " ;", " ,"};
  const std::string sep = kSeparateurs[indice(s.description.separateur_colonne)];
  return base + "_(" + masque + sep + ").dsc";
}

AttenteLecture::AttenteLecture(Session& s) : s_(s) {
  s_.etiquette("Label_patientez") = "patientez...";
  s_.port().montrer_etiquettes();
}

AttenteLecture::~AttenteLecture() {
  s_.etiquette("Label_patientez").clear();
  s_.port().montrer_etiquettes();
}

void ouvrir_description(Session& s) {
  DialogueFichier d;
  d.titre = "choix de la description des données : " + s.description.dossier_description;
  d.dossier = s.description.dossier_description;
  d.filtre = kFiltreDsc;
  d.propose =
      !s.sans_nom_description() && fichier_existe(s.chemin_dsc()) ? s.nom_description : "*.dsc";
  const auto choisi = s.port().choisir_fichier_a_ouvrir(d);
  if (!choisi) return;
  const AttenteLecture attente(s);
  const Description avant = s.description;
  const std::string nom_avant = s.nom_description, legende_avant = s.legende_fenetre;
  const auto coches_avant = s.fichiers_coches;
  const bool modifiee_avant = s.description_modifiee;
  s.description_modifiee = true;
  s.fichiers_coches.clear();
  fixer_depuis_chemin(s, *choisi);
  s.legende_fenetre = titre_programme() + "         >  " + s.nom_description;
  if (!lire_description(s)) {
    // A file read only in part is neither taken nor written over: the
    // description in use stays as it was, and the file keeps its own settings.
    s.description = avant;
    s.nom_description = nom_avant;
    s.legende_fenetre = legende_avant;
    s.fichiers_coches = coches_avant;
    s.description_modifiee = modifiee_avant;
    return;
  }
  // The file's own directory line cannot move the description away from
  // where it was found.
  fixer_depuis_chemin(s, *choisi);
  reecrire_parametres(s);
  ecrire_ligne_parametre("0", s.chemin_parametres(), 6, s.port());
  ecrire_description(s);
  relire_apres_enregistrement(s);
}

void enregistrer_description(Session& s) {
  if (s.description.dossier_description.empty()) {
    s.port().afficher_bandeau(
        "déplacer \"notepad++\" vers le bas pour voir les messages au centre de l'écran");
    s.port().informer(TypeMessage::information,
                      " Nouveau fichier de description \n choisir d'abord le dossier des "
                      "descriptions...");
    s.port().afficher_bandeau("");
    s.description_modifiee = false;
    s.port().ouvrir_choix_repertoire(Repertoire::description);
    return;
  }
  if (s.sans_nom_description()) {
    enregistrer_description_sous(s);
    return;
  }
  const std::string question =
      std::string(s.description_modifiee
                      ? " Enregistrer les modifications de la description de données  "
                      : " Enregistrer la description de données  ") +
      "  " + s.nom_description + "\n\n" + " dans le répertoire " +
      s.description.dossier_description + "   ?   \n\n";
  switch (s.port().demander(TypeMessage::confirmation, question, Boutons::oui_non_annuler)) {
    case Reponse::oui: {
      Description& d = s.description;
      if (d.avec_sans_intitule == Intitules::avec &&
          lire_entier(d.num_ligne_intitule_col).value_or(-1) == 0)
        d.num_ligne_intitule_col = "1";
      else if (d.avec_sans_intitule == Intitules::sans)
        d.num_ligne_intitule_col = "0";
      s.description_modifiee = true;
      ecrire_description(s);
      break;
    }
    case Reponse::non:
      s.description_modifiee = false;
      break;
    default:
      break;
  }
}

bool enregistrer_description_sous(Session& s, bool depuis_nouveau) {
  const std::string nom_avant = s.nom_description;
  DialogueFichier d;
  d.titre = depuis_nouveau ? "Nouvelle description des données à créer"
                           : "enregistrement  de la description des données";
  d.propose = depuis_nouveau ? s.nom_description : nom_description_propose(s);
  if (s.description.masque == "ppp") d.propose = "ppp.dsc";
  d.dossier = s.description.dossier_description;
  d.filtre = kFiltreDsc;
  d.demander_ecrasement = true;
  const auto choisi = s.port().choisir_fichier_a_enregistrer(d);
  if (!choisi) {
    s.nom_description = nom_avant;
    return false;
  }
  std::string chemin = *choisi;
  if (!contient(majuscules(nom_de_fichier(chemin)), ".DSC")) chemin += ".dsc";
  fixer_depuis_chemin(s, chemin);
  if (s.description.masque != "ppp") reecrire_parametres(s);
  s.description_modifiee = true;
  ecrire_description(s, ModeEcriture::creation);
  relire_apres_enregistrement(s);
  return true;
}

void nouvelle_description(Session& s) {
  if (s.port().demander(TypeMessage::confirmation,
                        "Nouvelle description ? \n\n ( Valeurs par défaut, seuls les 3 "
                        "répertoires sont conservés )     ",
                        Boutons::oui_non_annuler) != Reponse::oui)
    return;
  Description& d = s.description;
  const std::string donnees = d.dossier_choisi, description = d.dossier_description,
                    sortie = d.dossier_choisi_sortie;
  // Kept until the new file is named: a cancelled save dialog gives back the
  // description, the file table and the parameters file as they were.
  const Description avant = d;
  const std::string nom_avant = s.nom_description;
  const TableFichiers table_avant = s.table;
  s.nom_description.clear();
  appliquer_defauts(d, s.repertoire_programme());
  s.table.entetes_tableau();
  verifier_repertoires(s);
  d.dossier_choisi = donnees;
  d.dossier_description = description;
  d.dossier_choisi_sortie = sortie;
  if (!enregistrer_description_sous(s, true)) {
    d = avant;
    s.nom_description = nom_avant;
    s.table = table_avant;
    return;
  }
  // The parameters file now names the new description (none under "ppp").
  if (d.masque == "ppp") {
    std::error_code ec;
    std::filesystem::remove(s.chemin_parametres(), ec);
  }
  s.port().informer(TypeMessage::information,
                    " Choisir le répertoire des données \n  et ouvrir un exemplaire de fichier à "
                    "traiter ...");
  s.port().ouvrir_choix_repertoire(Repertoire::donnees);
}

// ---------------------------------------------------------------- summary

std::string lecteur_de_passe(const Session& s, std::string_view boite) {
  std::string l = trim(boite);
  if (l.empty() || l == ":") {
    // The program's own drive; none on systems without drive letters.
    const std::string& p = s.repertoire_programme();
    return p.size() >= 2 && p[1] == ':' ? p.substr(0, 2) : std::string{};
  }
  // A single letter is a drive; anything else is a path prefix.
  if (l.size() == 1 && ((l[0] >= 'A' && l[0] <= 'Z') || (l[0] >= 'a' && l[0] <= 'z'))) l += ":";
  return l;
}

bool resume_dsc(Session& s, ResumeDsc& r) {
  if (s.description.dossier_description.empty()) {
    s.port().informer(TypeMessage::information,
                      " D'abord choisir un répertoire des fichiers de description \n");
    s.port().ouvrir_choix_repertoire(Repertoire::description);
    return false;
  }
  const std::string& dossier = s.description.dossier_description;
  if (r.lecteur.empty() && dossier.size() >= 2 && dossier[1] == ':')
    r.lecteur = dossier.substr(0, 1);
  r.texte.clear();
  r.chemins.clear();
  std::string premier;
  std::vector<FichierTrouve> trouves;
  lister_fichiers(dossier, "*.DSC", false, premier, trouves);
  for (const auto& f : trouves) {
    r.chemins.push_back(dossier + f.nom);
    r.texte.push_back(dossier + f.nom);
  }
  return passe_repertoires(s, r, false);
}

bool passe_repertoires(Session& s, ResumeDsc& r, bool modifier) {
  const std::string lecteur = lecteur_de_passe(s, r.lecteur);
  r.texte.emplace_back();
  static const char* kCles[] = {"dossier_choisi", "dossier_description", "dossier_choisi_sortie"};
  int changements = 0;
  for (const auto& chemin : r.chemins) {
    auto lignes = lire_lignes_texte(chemin);
    if (!lignes) {
      s.port().informer(TypeMessage::erreur, "Impossible d'ouvrir le fichier " + chemin);
      return false;
    }
    r.texte.push_back(nom_de_fichier(chemin));
    if (modifier) r.texte.push_back("- modification lecteur par <" + lecteur + "> dans " + chemin);
    for (const char* cle : kCles) {
      bool trouve = false;
      std::string ancien = valeur_de_cle(*lignes, cle, trouve);
      if (!trouve) ancien = dossier_donnees_par_defaut();
      ancien = avec_barre_finale(ancien);
      const std::string candidat =
          modifier ? candidat_lecteur(ancien, lecteur, r.prefixe_ancien) : ancien;
      if (repertoire_existe(candidat)) {
        if (modifier) {
          const std::string nouvelle = std::string(cle) + "= " + candidat;
          const int i = ligne_de_cle(*lignes, cle);
          if (i >= 0)
            lignes->at(static_cast<std::size_t>(i)) = nouvelle;
          else
            lignes->push_back(nouvelle);
          ++changements;
        }
        r.texte.push_back("  " + candidat);
      } else {
        if (std::string_view(cle) != "dossier_choisi")
          r.texte.push_back("  échec  " + ancien + "=>" + candidat);
        r.texte.push_back(candidat + " <= " + ancien + "  échec");
      }
    }
    std::string raison;
    if (modifier && !ecrire_lignes_texte(chemin, *lignes, &raison)) {
      s.port().informer(TypeMessage::erreur,
                        "Impossible de créer le fichier " + chemin + "\n\n  (" + raison + ")");
      return false;
    }
  }
  if (modifier) {
    const std::size_t n = r.chemins.size();
    r.texte.emplace_back();
    r.texte.push_back(" mise à jour des " + std::to_string(n) + " fichiers de description, " +
                      std::to_string(changements) + " modif. avec le lecteur " + lecteur + " ( 3x" +
                      std::to_string(n) + " = " + std::to_string(3 * n) + " )");
    for (std::string* dossier :
         {&s.description.dossier_choisi, &s.description.dossier_choisi_sortie,
          &s.description.dossier_description}) {
      const std::string candidat = candidat_lecteur(*dossier, lecteur, r.prefixe_ancien);
      if (repertoire_existe(candidat))
        *dossier = avec_barre_finale(candidat);
      else
        s.ajouter_ligne_suivi("    échec  " + *dossier + " => " + candidat);
    }
    s.description_modifiee = true;
  }
  return true;
}

bool changer_lecteur(Session& s, ResumeDsc& r) {
  const std::string lecteur = lecteur_de_passe(s, r.lecteur);
  const bool lettre = lecteur.size() == 2 && lecteur[1] == ':';
  const std::string cible = lettre ? lecteur.substr(0, 1) + ":\\" : lecteur;
  if (s.port().demander(
          TypeMessage::confirmation,
          " Confimation du changement de lecteur dans les fichiers DSC  (" + cible + ")  ",
          Boutons::oui_annuler) != Reponse::oui)
    return false;
  return passe_repertoires(s, r, true);
}

}  // namespace tamso
