#include "app/save.h"

#include <filesystem>
#include <functional>

#include "app/description_files.h"
#include "app/session.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/files.h"
#include "input/text.h"
#include "processing/engine.h"
#include "results/results_writer.h"
#include "results/tracking_file.h"

namespace tamso {

namespace {

void cacher_patienter(Session& s) {
  s.etiquette("Label_patienter").clear();
}

// The results lines as the results file holds them, read back as UTF-8: the
// clipboard receives exactly the file's text. `vivre` is called now and then
// while a long text is put together.
std::string texte_du_fichier(const LignesTexte& lignes, const std::function<void()>& vivre) {
  std::string texte;
  std::size_t taille = 0;
  for (const std::string_view l : lignes) taille += l.size() + 2;
  texte.reserve(taille);
  bool ascii = true;
  std::size_t n = 0;
  for (const std::string_view l : lignes) {
    for (const char c : l) ascii &= static_cast<unsigned char>(c) < 0x80;
    texte += l;
    texte += "\r\n";
    if ((++n & 0xFFFF) == 0) vivre();
  }
  // Plain ASCII (the usual results) comes back unchanged from the round trip.
  if (!ascii) return cp1252_vers_utf8(utf8_vers_cp1252(texte));
  return texte;
}

std::string options_fin(const Session& s) {
  const Description& d = s.description;
  std::string t;
  const std::string& station = s.etat_traitement.station_reference;
  if (!trim(station).empty()) t += " station( " + station + " )";
  if (d.post_traitement) t += " avec POSTtraitement des données extraites";
  if (d.delta_Y)
    t += "  calcul des delta Y (rétro cumul)  y(i) - y(i-1) ";
  else if (d.derivees)
    t += "  calcul des dérivées (rétro cumul) [y(i) - y(i-1)] / pas";
  return t;
}

// The first free name of a numbered family (racine + extension, then
// racine + "(1)" + extension, ...), claimed so that no other run takes it.
// The claim of a name that cannot be created at all is given up: the write
// then fails and says so.
std::string reserver_numerote(const std::string& racine, const std::string& extension,
                              bool& reserve) {
  for (long long i = 0;; ++i) {
    const std::string chemin =
        racine + (i == 0 ? std::string() : "(" + std::to_string(i) + ")") + extension;
    switch (reserver_fichier(chemin)) {
      case Reservation::reserve:
        reserve = true;
        return chemin;
      case Reservation::echec:
        reserve = false;
        return chemin;
      case Reservation::existe:
        break;
    }
  }
}

// The path of the results file: the expanded name, then the numbering, the
// overwrite question or the save dialog. A new name is claimed at once
// (`reserve`: an empty file now stands under it).
std::string chemin_a_ecrire(Session& s, bool& reserve) {
  const Description& d = s.description;
  Interaction& port = s.port();
  const std::string& sortie = d.dossier_choisi_sortie;
  const NomResultats nom = nom_resultats(vue_traitement(s));
  s.resultats.nom_travail = nom.nom_travail;
  reserve = false;
  std::string chemin = sortie + nom.racine + nom.extension;
  if (d.inc_nom) return reserver_numerote(sortie + nom.racine, nom.extension, reserve);
  switch (reserver_fichier(chemin)) {
    case Reservation::reserve:
      reserve = true;
      return chemin;
    case Reservation::echec:
      return chemin;
    case Reservation::existe:
      break;
  }
  const std::string question = sortie + "\n\n" + " Le fichier  " + nom.racine + nom.extension +
                               "\n\n" + "   existe déjà" + "\n\n" + " => écraser ?";
  if (port.demander_poursuite(TypeMessage::confirmation, question, Boutons::oui_non,
                              Reponse::non) == Reponse::oui)
    return chemin;
  DialogueFichier dialogue;
  dialogue.titre = "enregistrement des résultats de calcul";
  dialogue.filtre = "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*";
  dialogue.dossier = sortie;
  dialogue.propose = nom.racine;
  dialogue.demander_ecrasement = true;
  if (const auto choisi = port.choisir_fichier_a_enregistrer(dialogue)) {
    chemin = *choisi;
    if (!contient(majuscules(nom_de_fichier(chemin)), ".TXT")) chemin += ".txt";
    s.resultats.nom_travail = chemin;
    return chemin;
  }
  // The results are never lost: they go to a recovery file, numbered so
  // that it never replaces the results of an earlier run.
  chemin = reserver_numerote(sortie + "~résultats", ".txt", reserve);
  s.resultats.nom_travail = chemin;
  s.ajouter_ligne_suivi("");
  s.ajouter_ligne_suivi(" données calculées récupérables dans ");
  s.ajouter_ligne_suivi(chemin);
  return chemin;
}

}  // namespace

namespace {

// Text files processed in their own folder send their results to "Export".
bool sortie_dans_export(const Description& d) {
  return majuscules(d.masque) == "TXT" && !d.dossier_choisi.empty() &&
         d.dossier_choisi == d.dossier_choisi_sortie;
}

}  // namespace

std::string chemin_resultats_prevu(const Description& d) {
  std::string sortie = d.dossier_choisi_sortie;
  if (sortie_dans_export(d)) sortie += std::string("Export") + kSeparateurChemin;
  std::string nom = d.nom_fic_sortie;
  if (trim(nom).empty()) nom = "A#";
  if (nom.find('.') == std::string::npos) nom += ".txt";
  return sortie + trim(champ(nom, 1, '.')) + nom.substr(nom.rfind('.'));
}

VueTraitement vue_traitement(const Session& s) {
  return {s.description, s.periode, s.liste_horodatee, s.grille,          s.etat_traitement,
          s.resultats,   s.table,   s.lecteur_dates,   s.nom_description, s.separateur_decimal()};
}

bool formater_resultats(Session& s) {
  return formater_resultats(s.description, s.grille, s.liste_horodatee, s.separateur_decimal(),
                            s.resultats, s.journal, s, s.lecture.fils);
}

bool enregistrer_resultats(Session& s) {
  Description& d = s.description;
  Interaction& port = s.port();
  EtatResultats& res = s.resultats;

  // Text files processed in their own folder: the results go to "Export".
  if (sortie_dans_export(d)) {
    const std::string exporte = d.dossier_choisi_sortie + "Export" + kSeparateurChemin;
    std::error_code ec;
    std::filesystem::create_directories(exporte, ec);
    if (!repertoire_existe(exporte)) {
      port.informer(TypeMessage::erreur, "Impossible de créer le répertoire " + exporte);
      return false;
    }
    d.dossier_choisi_sortie = exporte;
    s.etiquette("Label_rep_sortie") = exporte;
    s.etiquette("SpeedButton_choix_rep_sortie.hint") = exporte;
    s.description_modifiee = true;
  }
  s.etiquette("Label_patienter") = "3- patienter ...enregistrement   ";
  port.progression(s.etiquette("Label_patienter"), 0);

  if (!res.en_attente) {
    if (commence_par(s.nom_description, "Temporaire") &&
        port.demander_poursuite(TypeMessage::confirmation,
                                " Le fichier  " + s.nom_description + " est temporaire" + "\n\n" +
                                    " L'enregistrer avec un nom finalisé ?",
                                Boutons::oui_non, Reponse::non) == Reponse::oui)
      enregistrer_description_sous(s);
    const bool ecrite = ecrire_description(s);
    cacher_patienter(s);
    return ecrite;
  }

  bool reserve = false;
  const std::string chemin = chemin_a_ecrire(s, reserve);
  const std::string nom = nom_de_fichier(chemin);
  // What runs killed before the end left in this folder goes first.
  supprimer_temporaires_orphelins(repertoire_de(chemin));
  s.etiquette("Label21") = nom;
  s.ajouter_ligne_suivi(" => " + nom);
  // The results and their tracking file are both written before either
  // takes its name: a failure (a full disk) leaves neither behind.
  FichierEnAttente fichier_resultats, fichier_suivi;
  // A batch run has no clipboard; results read from the clipboard leave it.
  res.copie_presse_papier = s.source != SourceDonnees::presse_papier && port.a_un_presse_papier();
  res.description_enregistree = false;
  const std::string avant_resultats = res.chemin_resultats, avant_suivi = res.chemin_suivi;
  const auto echec = [&](const std::string& fichier, const std::string& raison) {
    fichier_resultats.abandonner();
    fichier_suivi.abandonner();
    if (reserve) supprimer_fichier(chemin);
    res.chemin_resultats = avant_resultats;
    res.chemin_suivi = avant_suivi;
    port.informer(TypeMessage::erreur,
                  "Impossible de créer le fichier " + fichier + "\n\n  (" + raison + ")");
    cacher_patienter(s);
    return false;
  };
  // The window is let live between the steps of a long save.
  const auto entre_etapes = [&] { port.progression(s.etiquette("Label_patienter"), 0); };
  if (!fichier_resultats.ecrire(chemin, res.lignes, entre_etapes))
    return echec(chemin, fichier_resultats.raison());
  entre_etapes();
  res.chemin_resultats = chemin;
  res.chemin_suivi = chemin + ".TXT";
  if (!ecrire_fichier_suivi(s, fichier_suivi))
    return echec(res.chemin_suivi, fichier_suivi.raison());
  entre_etapes();
  if (!fichier_resultats.mettre_en_place()) return echec(chemin, fichier_resultats.raison());
  if (!fichier_suivi.mettre_en_place()) {
    // The results have their name already: they are kept, and said to be;
    // they stay pending, to be saved again with their tracking file.
    port.informer(TypeMessage::erreur, "Impossible de créer le fichier " + res.chemin_suivi +
                                           "\n\n  (" + fichier_suivi.raison() +
                                           ")\n\n  les résultats sont écrits dans " + chemin);
    res.chemin_suivi.clear();
    cacher_patienter(s);
    return false;
  }
  res.vue = EtatResultats::Vue::fichier;
  if (res.copie_presse_papier) {
    entre_etapes();
    port.copier_dans_presse_papier(texte_du_fichier(res.lignes, entre_etapes));
    entre_etapes();
  }

  s.progression(" --- ", 0);
  s.etiquette("Label10") = "reste 00:00:00    0 Mo";
  cacher_patienter(s);
  s.etiquette("SpeedButton_traiter_fichier.couleur") = "bleu";
  if (!res.arret_pc)
    port.informer(bilan_traitement(vue_traitement(s)) == BilanTraitement::complet
                      ? TypeMessage::information
                      : TypeMessage::avertissement,
                  message_fin_traitement(s));
  return true;
}

std::string message_fin_traitement(const Session& s) {
  const Description& d = s.description;
  const EtatResultats& res = s.resultats;
  const std::string options = options_fin(s);
  std::string reserves;
  for (const std::string& l : reserves_traitement(vue_traitement(s))) reserves += l + "\n\n";
  return reserves + titre_fin_traitement(vue_traitement(s)) +
         "  (méthode : " + legende_methode(d.methode) + ")" + options + "\n\n" + "     " +
         format_milliers(s.etat_traitement.lignes_extraites) + " lignes extraites" + "\n\n" +
         "     " + format_milliers(std::max(s.grille.n() - 1, 0)) + " lignes     x     " +
         std::to_string(s.grille.c) + " colonnes attendues" + "\n\n" + options + "\n\n" +
         nom_de_fichier(res.chemin_resultats) + " <- Données horodatée régulières" +
         (res.copie_presse_papier ? " ( copiées dans le presse-papier )" : "") + "\n\n" +
         nom_de_fichier(res.chemin_suivi) +
         " <- fenêtre de suivi dans le répertoire : " + repertoire_de(res.chemin_resultats) +
         "\n\n" +
         (res.description_enregistree
              ? "    (le fichier de description est également enregistré), durée totale = "
              : "    durée totale = ") +
         duree_en_texte(res.duree_totale());
}

bool copier_sans_date(Session& s) {
  EtatResultats& res = s.resultats;
  if (res.lignes_valeurs.empty()) return false;
  const std::string chemin = s.repertoire_temporaire() + "~tmp.txt";
  std::string raison;
  if (!ecrire_lignes_texte(chemin, res.lignes_valeurs, &raison)) {
    s.port().informer(TypeMessage::erreur,
                      "Impossible de créer le fichier " + chemin + "\n\n  (" + raison + ")");
    return false;
  }
  if (s.source != SourceDonnees::presse_papier && s.port().a_un_presse_papier())
    s.port().copier_dans_presse_papier(texte_du_fichier(res.lignes_valeurs, [] {}));
  res.vue = EtatResultats::Vue::valeurs;
  s.port().informer(TypeMessage::information,
                    " les colonnes sans la date ni le nombre de lignes extraites\n\n sont copiées "
                    "dans le presse-papier");
  return true;
}

bool ecrire_fichier_suivi(Session& s, FichierEnAttente& fichier) {
  EtatResultats& res = s.resultats;
  std::vector<std::string> lignes = entete_fichier_suivi(vue_traitement(s));
  resume_traitement(vue_traitement(s), s.journal);
  statistiques_resultats(vue_traitement(s), s.journal);

  if (s.description_modifiee) res.description_enregistree = ecrire_description(s);
  // The folder actually written to: the output directory, or the one chosen
  // in the save dialog.
  const std::string dossier = repertoire_de(res.chemin_resultats);
  s.ajouter_ligne_suivi("  Données horodatée régulières extraites et enregistrées dans    " +
                        nom_de_fichier(res.chemin_resultats));
  s.ajouter_ligne_suivi(
      std::string(res.copie_presse_papier ? "  ainsi que dans le presse-papier" : " ") +
      " au pas de " + texte_pas(s.periode));
  s.ajouter_ligne_suivi("  La fenêtre de suivi dans   " + nom_de_fichier(res.chemin_suivi) +
                        " du répertoire : ");
  s.ajouter_ligne_suivi("   " + dossier);
  s.ajouter_ligne_suivi("  durée totale = " + duree_en_texte(res.duree_totale()));

  lignes.push_back("");
  lignes.push_back(" Fenêtre de suivi");
  const auto& journal = s.journal.lignes();
  lignes.insert(lignes.end(), journal.begin(), journal.end());
  if (!fichier.ecrire(res.chemin_suivi, lignes)) return false;
  const double fin = maintenant();
  s.ajouter_ligne_suivi("");
  s.ajouter_ligne_suivi(heure_en_texte(fin) + "  durée totale " +
                        heure_en_texte(fin - res.debut_run));
  return true;
}

}  // namespace tamso
