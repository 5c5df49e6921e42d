#include "app/listing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/session.h"
#include "app/description_files.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/file_name_dates.h"
#include "app/clipboard_source.h"
#include "input/text.h"
#include "input/workbook.h"
#include "app/data_loading.h"
#include "app/title_line_checks.h"
#include "app/workbook_source.h"

namespace tamso {

namespace {

using Chrono = std::chrono::steady_clock;

double secondes_depuis(Chrono::time_point t) {
  return std::chrono::duration<double>(Chrono::now() - t).count();
}

// The date-time text of a data line: one field, or the date field, a space
// and the time field.
std::string champ_date(const EtatListage& e, std::string_view ligne) {
  if (e.nb_colonnes_date == 2)
    return champ(ligne, e.col_date, e.separateur) + " " + champ(ligne, e.col_time, e.separateur);
  return champ(ligne, e.col_datetime, e.separateur);
}

std::string description_champ(const EtatListage& e, std::string_view ligne) {
  if (e.nb_colonnes_date == 2)
    return champ(ligne, e.col_date, e.separateur) + " " + champ(ligne, e.col_time, e.separateur) +
           " en colonnes " + std::to_string(e.col_date) + "/" + std::to_string(e.col_time);
  return champ(ligne, e.col_datetime, e.separateur) + " en colonne " +
         std::to_string(e.col_datetime);
}

// The station of a file read from its content ("ligne 2, colonne 3").
std::string station_du_contenu(Session& s, const std::string& chemin) {
  std::string station = "a";
  const std::string regle = majuscules(s.description.f_station);
  if (!charger_fichier_donnees(s, chemin)) return station;
  const long long num_ligne = nombre_apres_mot(regle, "LIGNE", 0);
  const int num_colonne = static_cast<int>(nombre_apres_mot(regle, "COLONNE", 0));
  char sep = ' ';
  if (contient(regle, "TABULATION"))
    sep = s.fichier_charge.nettoyage.tabulation_vers_point_virgule ? ';' : '\t';
  if (contient(regle, "VIRGULE")) sep = ',';
  if (contient(regle, "POINT-VIRGULE")) sep = ';';
  // A line number of 0 or past the end gives no station: the default stays.
  if (num_ligne < 1 || num_ligne > s.fichier_charge.nb_lignes) return station;
  const std::string ligne = s.fichier_charge.texte(num_ligne - 1);
  station = num_colonne < 1 ? ligne : champ(ligne, num_colonne, sep);
  reparer_accents(station);
  return station;
}

// Reads and checks the date of a data line. False when the listing must end.
bool lire_date_ligne(Session& s, long long index, std::string& normalisee) {
  EtatListage& e = s.etat_listage;
  const std::string ligne = s.fichier_charge.texte(index);
  normalisee = normaliser_date_mesure(champ_date(e, ligne), e.format_mesure, s.lecteur_dates,
                                      s.journal);
  if (!normalisee.empty() && !contient(normalisee, "//") && !contient(normalisee, "::"))
    return true;
  const std::string champ_texte = champ(ligne, e.col_datetime, e.separateur);
  if (normalisee.empty() && e.nb_colonnes_date == 1 && champ_texte.size() == 17 &&
      commence_par(e.format_mesure, "aaaa")) {
    const std::string q = "Problème de date de mesure vide\n\nformat actuel :\n" + e.format_mesure +
                          "\n" + "    " + description_champ(e, ligne) + "\n\n" +
                          "format proposé :\n" + "20aa/mm/jj-hh:mn:ss   => (Oui)" + "\n\n" +
                          "annuler le traitement => (Annuler)";
    if (s.port().demander(TypeMessage::confirmation, q, Boutons::oui_annuler) == Reponse::oui) {
      s.description.format_datetime_mesure = "20aa/mm/jj-hh:mn:ss";
      s.description_modifiee = true;
    }
    return false;
  }
  const std::string q = "-- Date de la 1ère mesure <" + normalisee + ">\n\n" + e.format_mesure +
                        "\n" + description_champ(e, ligne) + "\n\n" +
                        "Problème de date : vérifier les paramètres de la colonne Date/Heure et "
                        "son format \n\n" +
                        "1ères données en ligne " + std::to_string(index + 1) + " ? : " + ligne +
                        "\n\n" + " Ouvrir le fichier et annuler le traitement ?";
  if (s.port().demander(TypeMessage::avertissement, q, Boutons::oui_non) == Reponse::oui) {
    s.port().ouvrir_dans_editeur(repertoire_de(s.fichier_charge.chemin),
                                 nom_de_fichier(s.fichier_charge.chemin));
    return false;
  }
  return true;
}

}  // namespace

void diagnostic_separateur(Session& s, const std::string& ligne) {
  const int tab = compter_caractere('\t', ligne), esp = compter_caractere(' ', ligne),
            pv = compter_caractere(';', ligne), v = compter_caractere(',', ligne);
  const std::string legende = legende_separateur(indice(s.description.separateur_colonne));
  const std::string l1 = "??? avec le séparateur de colonne => " + legende +
                         " une seule colonne de détectée !!!        ";
  const std::string l2 = "  vérifier le séparateur de colonne en Entrée";
  const std::string l3 = "  Aide : décompte de la ligne <intitulés d'origine>";
  const std::string c1 = "     " + std::to_string(tab) + " tabulation(s)   ";
  const std::string c2 = "     " + std::to_string(esp) + " espace(s)";
  const std::string c3 = "     " + std::to_string(pv) + " point-virgule(s)";
  const std::string c4 = "     " + std::to_string(v) + " virgule(s)";
  const std::string l4 = "  vérifier la liste des colonnes à extraire ci-dessous";
  const std::string l5 = "<" + ligne + ">";
  s.port().informer(TypeMessage::avertissement, l1 + "\n\n" + l2 + "\n\n" + l3 + "\n" + c1 + "\n" +
                                                    c2 + "\n" + c3 + "\n" + c4 + "\n\n" + l4 +
                                                    "\n\n" + l5);
  s.ajouter_ligne_suivi("");
  for (const std::string* l : {&l1, &l2, &l3, &c1, &c2, &c3, &c4, &l4, &l5})
    s.ajouter_ligne_suivi(*l);
}

bool lister_fichiers_donnees(Session& s, bool explicite) {
  if (!explicite && s.table.liste_partielle && s.table.nb_fichiers() > 0) return true;
  s.table.liste_partielle = false;
  s.ajouter_ligne_suivi("");
  if (s.nb_fichiers > 100 && s.description.prelire_tous) {
    const std::string q = " le nombre de fichiers à pré-lire est supérieur à 100 (" +
                          std::to_string(s.nb_fichiers) + ")\n\n" +
                          " => très long car <Pré lecture de tous les fichiers> \n\n" +
                          "  Continuer ?";
    if (s.port().demander_poursuite(TypeMessage::confirmation, q, Boutons::oui_annuler,
                                    Reponse::oui) != Reponse::oui)
      return false;
  }
  s.etat_listage.date_min = s.etat_listage.date_max = std::nullopt;
  s.demarrer_phase(1);
  s.progression("1- listage, patienter ..", 1);
  s.etiquette("Label8") = "---";
  s.etiquette("Label10") = "---";
  s.source = source_du_masque(s.description.masque);
  switch (s.source) {
    case SourceDonnees::excel:
      s.ajouter_ligne_suivi("       --> Lire le fichier Excel");
      // The sheet is converted anew when the description was modified or
      // the workbook (or its sheet number) is not the one last converted.
      if (s.description_modifiee
              ? !lire_feuille_excel(s, s.description.dossier_choisi + s.description.nom_fic_excel)
              : !actualiser_feuille_excel(s))
        return false;
      break;
    case SourceDonnees::presse_papier:
      s.ajouter_ligne_suivi("       --> Lire le presse-papier <" + s.repertoire_programme() +
                            kFichierPressePapier + ">");
      s.table.entetes_tableau();
      if (!capturer_presse_papier(s, s.port().texte_presse_papier())) return false;
      break;
    case SourceDonnees::repertoire: {
      const int n = s.compter_fichiers_donnees();
      s.ajouter_ligne_suivi(n >= 2 ? "       --> Lister les " + std::to_string(n) +
                                         " fichiers et lire le 1er"
                                   : std::string("       --> Lire le fichier"));
      break;
    }
  }
  if (s.description_modifiee) ecrire_description(s);
  s.arret = false;
  const bool ok = listage(s);
  // The marks of the files still listed come back.
  for (int r = 1; r < s.table.nb_lignes(); ++r) s.table.marquer(r, false);
  for (const auto& nom : s.fichiers_coches)
    for (int r = 1; r < s.table.nb_lignes(); ++r)
      if (s.table.cellule(1, r) == nom) {
        s.table.marquer(r, true);
        break;
      }
  return ok;
}

bool listage(Session& s) {
  Description& d = s.description;
  EtatListage& e = s.etat_listage;
  Interaction& port = s.port();
  const auto t0 = Chrono::now();
  s.ajouter_ligne_suivi("t0 = " + date_heure_en_texte(maintenant()));
  e.date_min = e.date_max = std::nullopt;
  preparer_lecteur_dates_listage(s.lecteur_dates);
  if (s.arret_demande()) return false;

  const bool marques_avant = !s.fichiers_coches.empty() || s.table.une_ligne_marquee();

  // The files: one temporary text for a workbook or the clipboard.
  std::vector<FichierTrouve> fichiers;
  std::string repertoire = s.description.dossier_choisi;
  if (s.source == SourceDonnees::repertoire) {
    s.compter_fichiers_donnees();
    fichiers = s.liste_fichiers;
  } else {
    const std::string nom =
        s.source == SourceDonnees::excel ? kFichierTemporaireExcel : kFichierPressePapier;
    repertoire = s.repertoire_programme();
    fichiers.push_back({"", nom, taille_fichier(repertoire + nom)});
    s.description_modifiee = false;
  }
  const int nb = static_cast<int>(fichiers.size());
  e.nb_fichiers = nb;
  if (nb == 0) {
    port.informer(TypeMessage::information, "aucun fichier ne correspond au filtre <" + d.masque +
                                                ">" + "\n\n" + " dans " + d.dossier_choisi);
    s.etiquette("Label_nb_fic") = "0 fichier";
    return false;
  }
  s.etiquette("Label_nb_fic") = std::to_string(nb) + " fichiers";
  s.etiquette("Label54") = std::to_string(nb);
  e.ligne_intitules = e.premiere_ligne = e.derniere_ligne = -1;
  s.table.entetes_tableau();
  s.table.fixer_nb_lignes(1);
  e.separateur = separateur_des_lignes(indice(d.separateur_colonne));
  e.nb_colonnes_date = d.datetime_nb_col == ColonnesDate::deux ? 2 : 1;
  e.col_datetime = entier_ou(d.num_col_datetime, 1);
  e.col_date = entier_ou(d.num_col_date, 1);
  e.col_time = entier_ou(d.num_col_time, 2);
  e.format_mesure = e.nb_colonnes_date == 2 ? trim(d.format_date_mesure_seule) + " " +
                                                  trim(d.format_time_mesure_seul)
                                            : trim(d.format_datetime_mesure);
  e.taille_totale_ko = 0.0;

  // Pre-reading: every file (the marked ones when there are marks), or only
  // the first marked file (the first file when none is marked).
  const auto est_coche = [&s](const std::string& nom) {
    return std::find(s.fichiers_coches.begin(), s.fichiers_coches.end(), nom) !=
           s.fichiers_coches.end();
  };
  int ligne_premier_marque = 1;
  if (marques_avant && !s.fichiers_coches.empty())
    for (int r = 1; r <= nb; ++r)
      if (fichiers[static_cast<std::size_t>(r - 1)].nom == s.fichiers_coches.front()) {
        ligne_premier_marque = r;
        break;
      }
  double ko_a_lire = 0.0, ko_lus = 0.0;
  if (d.prelire_tous)
    for (const auto& f : fichiers)
      if (!marques_avant || est_coche(f.nom)) ko_a_lire += static_cast<double>(f.taille) / 1024;
  double& date_nom_min = e.date_nom_min;
  double& date_nom_max = e.date_nom_max;
  date_nom_min = date_nom_max = 0.0;

  for (int r = 1; r <= nb; ++r) {
    const FichierTrouve& ft = fichiers[static_cast<std::size_t>(r - 1)];
    // A workbook's row shows the workbook and the data directory; the clipboard's row shows
    // "Presse-papier".
    std::string nom = ft.nom, sous = ft.sous_repertoire;
    if (s.source == SourceDonnees::presse_papier) {
      nom = "Presse-papier";
      sous.clear();
    } else if (s.source == SourceDonnees::excel) {
      nom = d.nom_fic_excel;
      sous = d.dossier_choisi;
    }
    s.ajouter_ligne_suivi(std::to_string(r) + "  " + sous + " -> " + nom);
    const auto t_fichier = Chrono::now();
    const std::string chemin = repertoire + ft.sous_repertoire + ft.nom;

    std::string station = "a";
    const std::string regle_station = majuscules(d.f_station);
    if (!contient(regle_station, "LIGNE") && !contient(regle_station, "COLONNE"))
      station = extraire_paquets(nom, d.f_station);
    else
      station = station_du_contenu(s, chemin);

    TableFichiers& t = s.table;
    t.ecrire_cellule(r, "n", std::to_string(r), port);
    t.ecrire_cellule(r, "fichier", nom, port);
    t.ecrire_cellule(r, "s/répertoire", sous, port);
    t.ecrire_cellule(r, "Station", station, port);
    if (s.source == SourceDonnees::repertoire && !trim(d.f_date_fichier).empty()) {
      double valeur = maintenant();
      std::string texte;
      date_nom_fichier(ft.nom, trim(d.f_date_fichier), valeur, texte, s.journal);
      t.ecrire_cellule(r, "date_NOM_Fichier", texte, port);
      if (!texte.empty()) {
        if (date_nom_min == 0.0 || valeur < date_nom_min) date_nom_min = valeur;
        if (valeur > date_nom_max) date_nom_max = valeur;
      }
    }
    const double ko = static_cast<double>(ft.taille) / 1024;
    t.ecrire_cellule(r, "taille (Mo)",
                     " " + format_deux_decimales(ko / 1000, s.separateur_decimal()), port);
    e.taille_totale_ko += ko;

    const bool prelire = d.prelire_tous ? (!marques_avant || est_coche(ft.nom))
                                        : r == ligne_premier_marque;
    if (!prelire) {
      for (int c = 6; c <= 14; ++c) t.fixer_cellule(c, r, " ---");
      if (s.arret_demande()) break;
      continue;
    }

    s.etiquette("Label_nom_de_fichier") = nom_fichier_simplifie(nom);
    s.etiquette("Label_fic") = std::to_string(r) + "  " + nom;
    s.etiquette("Label1") = format_deux_decimales(ko / 1000, s.separateur_decimal()) + " Mo";
    if (!charger_fichier_donnees(s, chemin)) return false;
    const FichierCharge& f = s.fichier_charge;

    // Data bounds.
    if (d.numlig_balise == DebutDonnees::balises) {
      e.decalage_balise = std::max(0LL, f.premiere_ligne_contenant(utf8_vers_cp1252(d.balise_deb)));
      e.premiere_ligne = entier_ou(d.num_ligne_donnee, 1) - 1 + e.decalage_balise;
      e.derniere_ligne = f.derniere_ligne_contenant(utf8_vers_cp1252(d.balise_fin)) - 1;
    } else {
      e.decalage_balise = 0;
      e.premiere_ligne = entier_ou(d.num_ligne_donnee, 1) - 1;
      e.derniere_ligne = f.derniere_non_vide;
    }
    e.ligne_intitules =
        d.avec_sans_intitule == Intitules::avec ? entier_ou(d.num_ligne_intitule_col, 0) - 1 + e.decalage_balise : -1;
    if (d.avec_sans_intitule == Intitules::avec && entier_ou(d.num_ligne_intitule_col, 0) < 1) e.ligne_intitules = -1;

    int nb_colonnes = 0;
    const SuiteListage suite = verifier_intitules(s, nb_colonnes);
    if (suite == SuiteListage::relister) return listage(s);
    if (suite == SuiteListage::arreter) return false;

    const long long nb_donnees = std::max(0LL, f.nb_lignes - e.premiere_ligne);
    s.etiquette("Label26") = format_milliers(nb_donnees);
    s.etiquette("Label_nb_colonnes") =
        std::to_string(e.nb_colonnes_valeurs) +
        (e.nb_colonnes_valeurs == 1 ? " colonne de données" : " colonnes de données");
    t.ecrire_cellule(r, "nb Colonnes", " " + std::to_string(nb_colonnes), port);
    t.ecrire_cellule(r, "n°Lig intitulés",
                     e.ligne_intitules >= 1 ? " " + std::to_string(e.ligne_intitules + 1) : " -",
                     port);

    std::string premiere, derniere;
    if (!lire_date_ligne(s, e.premiere_ligne, premiere)) return false;
    if (!lire_date_ligne(s, e.derniere_ligne, derniere)) return false;
    t.ecrire_cellule(r, "date dep", premiere.empty() ? "    ????" : premiere, port);
    t.ecrire_cellule(r, "date fin", derniere.empty() ? "    ????" : derniere, port);
    t.ecrire_cellule(r, "n.données", format_milliers(e.derniere_ligne - e.premiere_ligne + 1), port);
    t.ecrire_cellule(r, "n.extraites", " ---", port);
    t.ecrire_cellule(r, "pas moyen observé", " ---", port);
    t.ecrire_cellule(r, "correction", " ---", port);
    s.etiquette("Label_date_heure_min") = premiere;
    s.etiquette("Label_date_heure_max") = derniere;
    const auto v1 = texte_en_date(premiere, nullptr, s.journal);
    const auto v2 = texte_en_date(derniere, nullptr, s.journal);
    if (v1 && (!e.date_min || *v1 < *e.date_min)) e.date_min = v1;
    if (v2 && (!e.date_max || *v2 > *e.date_max)) e.date_max = v2;

    t.ecrire_cellule(r, "durée de traitement", secondes_en_hms(secondes_depuis(t_fichier)), port);
    s.progression("1- listage, patienter ...", 1);
    ko_lus += ko;
    if (ko_a_lire > 0.0) {
      const double passe = secondes_depuis(t0);
      const double reste = ko_lus > 0.0 ? passe * (ko_a_lire - ko_lus) / ko_lus : 0.0;
      s.etiquette("Label10") =
          "reste " + secondes_en_hms(reste) + "    " +
          format_deux_decimales((ko_a_lire - ko_lus) / 1000, s.separateur_decimal()) + " Mo";
    } else {
      s.etiquette("Label10") =
          "Total " + format_deux_decimales(ko_lus / 1000, s.separateur_decimal()) + " Mo";
    }
    if (s.arret_demande()) break;
  }

  s.ajouter_ligne_suivi("");
  s.etiquette("Label_date_min") = e.date_min ? date_heure_en_texte(*e.date_min) : "";
  s.etiquette("Label_date_max") = e.date_max ? date_heure_en_texte(*e.date_max) : "";
  s.etiquette("Label_nb_fic") = std::to_string(nb) + " fichiers";
  s.etiquette("Label8") =
      "taille totale " + format_deux_decimales(e.taille_totale_ko / 1000, s.separateur_decimal()) +
      " Mo";
  s.progression(" --- ", 1);
  return true;
}

}  // namespace tamso
