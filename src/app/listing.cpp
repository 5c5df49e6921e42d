#include "app/listing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/clipboard_source.h"
#include "app/data_loading.h"
#include "app/description_files.h"
#include "app/session.h"
#include "app/title_line_checks.h"
#include "app/workbook_source.h"
#include "base/quotation.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/file_name_dates.h"
#include "input/files.h"
#include "input/text.h"
#include "input/workbook.h"

namespace tamso {

namespace {

using Chrono = std::chrono::steady_clock;

double secondes_depuis(Chrono::time_point t) {
  return std::chrono::duration<double>(Chrono::now() - t).count();
}

// The date-time text of a data line: one field, or the date field, a space
// and the time field.
std::string champ_date(const EtatListage& e, SeparateurInitial initial, std::string_view ligne) {
  if (e.nb_colonnes_date == 2)
    return champ(ligne, e.col_date, e.separateur, initial) + " " +
           champ(ligne, e.col_time, e.separateur, initial);
  return champ(ligne, e.col_datetime, e.separateur, initial);
}

std::string description_champ(const EtatListage& e, SeparateurInitial initial,
                              std::string_view ligne) {
  if (e.nb_colonnes_date == 2)
    return citation(champ_date(e, initial, ligne)) + " en colonnes " + std::to_string(e.col_date) +
           "/" + std::to_string(e.col_time);
  return citation(champ_date(e, initial, ligne)) + " en colonne " + std::to_string(e.col_datetime);
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

// Reads and checks the date of the first (or the last) data line, its
// fields cut as `initial` says. False when the listing must end.
bool lire_date_ligne(Session& s, long long index, SeparateurInitial initial,
                     std::string& normalisee, bool derniere = false) {
  EtatListage& e = s.etat_listage;
  const std::string ligne = s.fichier_charge.texte(index);
  normalisee = normaliser_date_mesure(champ_date(e, initial, ligne), e.format_mesure,
                                      s.lecteur_dates, s.journal);
  if (!normalisee.empty() && !contient(normalisee, "//") && !contient(normalisee, "::"))
    return true;
  const std::string champ_texte = champ(ligne, e.col_datetime, e.separateur, initial);
  if (normalisee.empty() && e.nb_colonnes_date == 1 && champ_texte.size() == 17 &&
      commence_par(e.format_mesure, "aaaa")) {
    const std::string q = "Problème de date de mesure vide\n\nformat actuel :\n" + e.format_mesure +
                          "\n" + "    " + description_champ(e, initial, ligne) + "\n\n" +
                          "format proposé :\n" + "20aa/mm/jj-hh:mn:ss   => (Oui)" + "\n\n" +
                          "annuler le traitement => (Annuler)";
    if (s.port().demander(TypeMessage::confirmation, q, Boutons::oui_annuler) == Reponse::oui) {
      s.description.format_datetime_mesure = "20aa/mm/jj-hh:mn:ss";
      s.description_modifiee = true;
    }
    return false;
  }
  // The last line is named as such: a line after the data (a trailer) is
  // shown for what it is.
  const std::string q =
      std::string(derniere ? "-- Date de la dernière mesure <" : "-- Date de la 1ère mesure <") +
      citation(normalisee) + ">\n\n" + e.format_mesure + "\n" +
      description_champ(e, initial, ligne) + "\n\n" +
      "Problème de date : vérifier les paramètres de la colonne Date/Heure et "
      "son format \n\n" +
      (derniere ? "dernières données en ligne " : "1ères données en ligne ") +
      std::to_string(index + 1) + " ? : " + citation(ligne) + "\n\n" +
      " Ouvrir le fichier et annuler le traitement ?";
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
  const std::string l5 = "<" + citation(ligne) + ">";
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
    const std::string q =
        " le nombre de fichiers à pré-lire est supérieur à 100 (" + std::to_string(s.nb_fichiers) +
        ")\n\n" + " => très long car <Pré lecture de tous les fichiers> \n\n" + "  Continuer ?";
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
      s.ajouter_ligne_suivi("       --> Lire le presse-papier <" + s.repertoire_temporaire() +
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

namespace {

// How a pass of the listing ends.
enum class IssuePasse {
  listee,      // every row is listed (or a stop request kept the rows listed so far)
  abandonnee,  // no file, a file that does not load, or a correction that ends the listing
  a_relister,  // the title option was corrected: the whole listing runs again
};

// What follows a row.
enum class ApresLigne { ligne_suivante, conclure, abandonner, relister };

// A row's file: as the table shows it, and where it is read.
struct FichierLigne {
  std::string nom, sous_repertoire;  // shown in "fichier" and "s/répertoire"
  std::string chemin;
  double ko = 0.0;
  Chrono::time_point debut;  // the row's "durée de traitement" counts from here
};

// One pass of the listing: finds the files, writes one row per file and
// pre-reads the files it must, from a fresh state each time.
class PasseListage {
 public:
  explicit PasseListage(Session& s)
      : s_(s), d_(s.description), e_(s.etat_listage), port_(s.port()) {}

  IssuePasse executer();

 private:
  bool commencer();
  bool trouver_fichiers();
  void preparer_etat();
  void preparer_prelecture();
  bool est_coche(const std::string& nom) const {
    return std::find(s_.fichiers_coches.begin(), s_.fichiers_coches.end(), nom) !=
           s_.fichiers_coches.end();
  }
  ApresLigne lister_ligne(int r);
  FichierLigne ecrire_identite(int r, const FichierTrouve& ft);
  void ecrire_date_du_nom(int r, const FichierTrouve& ft);
  bool doit_prelire(int r, const FichierTrouve& ft) const;
  ApresLigne prelire(int r, const FichierLigne& fl);
  void situer_donnees();
  void ecrire_colonnes(int r, int nb_colonnes);
  bool ecrire_dates(int r);
  void ecrire_avancement(int r, const FichierLigne& fl);
  void conclure();

  Session& s_;
  Description& d_;
  EtatListage& e_;
  Interaction& port_;
  Chrono::time_point t0_;
  bool marques_avant_ = false;  // rows marked by the previous listing
  std::vector<FichierTrouve> fichiers_;
  std::string repertoire_;
  int ligne_premier_marque_ = 1;
  double ko_a_lire_ = 0.0, ko_lus_ = 0.0;
};

IssuePasse PasseListage::executer() {
  if (!commencer() || !trouver_fichiers()) return IssuePasse::abandonnee;
  preparer_etat();
  preparer_prelecture();
  for (int r = 1; r <= static_cast<int>(fichiers_.size()); ++r) {
    const ApresLigne apres = lister_ligne(r);
    if (apres == ApresLigne::conclure) break;
    if (apres == ApresLigne::abandonner) return IssuePasse::abandonnee;
    if (apres == ApresLigne::relister) return IssuePasse::a_relister;
  }
  conclure();
  return IssuePasse::listee;
}

// The pass's start time and dates; false on a stop request.
bool PasseListage::commencer() {
  t0_ = Chrono::now();
  s_.ajouter_ligne_suivi("t0 = " + date_heure_en_texte(maintenant()));
  e_.date_min = e_.date_max = std::nullopt;
  preparer_lecteur_dates_listage(s_.lecteur_dates);
  if (s_.arret_demande()) return false;
  marques_avant_ = !s_.fichiers_coches.empty() || s_.table.une_ligne_marquee();
  return true;
}

// The files: one temporary text for a workbook or the clipboard. False when
// no file matches.
bool PasseListage::trouver_fichiers() {
  repertoire_ = d_.dossier_choisi;
  if (s_.source == SourceDonnees::repertoire) {
    s_.compter_fichiers_donnees();
    fichiers_ = s_.liste_fichiers;
  } else {
    const std::string nom =
        s_.source == SourceDonnees::excel ? kFichierTemporaireExcel : kFichierPressePapier;
    repertoire_ = s_.repertoire_temporaire();
    fichiers_.push_back({"", nom, taille_fichier(repertoire_ + nom)});
    s_.description_modifiee = false;
  }
  const int nb = static_cast<int>(fichiers_.size());
  e_.nb_fichiers = nb;
  if (nb == 0) {
    if (s_.source == SourceDonnees::repertoire && !repertoire_existe(d_.dossier_choisi))
      port_.informer(TypeMessage::erreur,
                     " répertoire des données introuvable :\n\n  " + d_.dossier_choisi);
    else
      port_.informer(TypeMessage::information, "aucun fichier ne correspond au filtre <" +
                                                   d_.masque + ">" + "\n\n" + " dans " +
                                                   d_.dossier_choisi);
    s_.etiquette("Label_nb_fic") = "0 fichier";
    return false;
  }
  s_.etiquette("Label_nb_fic") = compte_fichiers(nb);
  s_.etiquette("Label54") = std::to_string(nb);
  return true;
}

// An empty table, and the separator, date columns and formats of the description.
void PasseListage::preparer_etat() {
  e_.ligne_intitules = e_.premiere_ligne = e_.derniere_ligne = -1;
  s_.table.entetes_tableau();
  s_.table.fixer_nb_lignes(1);
  e_.separateur = separateur_des_lignes(indice(d_.separateur_colonne));
  e_.nb_colonnes_date = d_.datetime_nb_col == ColonnesDate::deux ? 2 : 1;
  e_.col_datetime = entier_ou(d_.num_col_datetime, 1);
  e_.col_date = entier_ou(d_.num_col_date, 1);
  e_.col_time = entier_ou(d_.num_col_time, 2);
  e_.format_mesure = e_.nb_colonnes_date == 2 ? trim(d_.format_date_mesure_seule) + " " +
                                                    trim(d_.format_time_mesure_seul)
                                              : trim(d_.format_datetime_mesure);
  e_.taille_totale_ko = 0.0;
}

// Pre-reading: every file (the marked ones when there are marks), or only
// the first marked file (the first file when none is marked).
void PasseListage::preparer_prelecture() {
  if (!marques_avant_ && !s_.exemple_a_prelire.empty())
    for (int r = 1; r <= static_cast<int>(fichiers_.size()); ++r)
      if (fichiers_[static_cast<std::size_t>(r - 1)].nom == s_.exemple_a_prelire) {
        ligne_premier_marque_ = r;
        break;
      }
  if (marques_avant_ && !s_.fichiers_coches.empty())
    for (int r = 1; r <= static_cast<int>(fichiers_.size()); ++r)
      if (fichiers_[static_cast<std::size_t>(r - 1)].nom == s_.fichiers_coches.front()) {
        ligne_premier_marque_ = r;
        break;
      }
  if (d_.prelire_tous)
    for (const auto& f : fichiers_)
      if (!marques_avant_ || est_coche(f.nom)) ko_a_lire_ += static_cast<double>(f.taille) / 1024;
  e_.date_nom_min = e_.date_nom_max = 0.0;
}

bool PasseListage::doit_prelire(int r, const FichierTrouve& ft) const {
  return d_.prelire_tous ? (!marques_avant_ || est_coche(ft.nom)) : r == ligne_premier_marque_;
}

ApresLigne PasseListage::lister_ligne(int r) {
  const FichierTrouve& ft = fichiers_[static_cast<std::size_t>(r - 1)];
  const FichierLigne fl = ecrire_identite(r, ft);
  if (doit_prelire(r, ft)) return prelire(r, fl);
  for (int c = 6; c <= 14; ++c) s_.table.fixer_cellule(c, r, " ---");
  return s_.arret_demande() ? ApresLigne::conclure : ApresLigne::ligne_suivante;
}

// The columns every row gets: number, file, sub-directory, station, the date
// of the file name and the size.
FichierLigne PasseListage::ecrire_identite(int r, const FichierTrouve& ft) {
  // A workbook's row shows the workbook and the data directory; the clipboard's row shows
  // "Presse-papier".
  FichierLigne fl{ft.nom, ft.sous_repertoire, "", 0.0, {}};
  if (s_.source == SourceDonnees::presse_papier) {
    fl.nom = "Presse-papier";
    fl.sous_repertoire.clear();
  } else if (s_.source == SourceDonnees::excel) {
    fl.nom = d_.nom_fic_excel;
    fl.sous_repertoire = d_.dossier_choisi;
  }
  s_.ajouter_ligne_suivi(std::to_string(r) + "  " + nom_lisible(fl.sous_repertoire) + " -> " +
                         nom_lisible(fl.nom));
  fl.debut = Chrono::now();
  fl.chemin = repertoire_ + ft.sous_repertoire + ft.nom;

  std::string station = "a";
  const std::string regle_station = majuscules(d_.f_station);
  if (!contient(regle_station, "LIGNE") && !contient(regle_station, "COLONNE"))
    station = extraire_paquets(fl.nom, d_.f_station);
  else
    station = station_du_contenu(s_, fl.chemin);

  TableFichiers& t = s_.table;
  t.ecrire_cellule(r, "n", std::to_string(r), port_);
  t.ecrire_cellule(r, "fichier", fl.nom, port_);
  t.ecrire_cellule(r, "s/répertoire", fl.sous_repertoire, port_);
  t.ecrire_cellule(r, "Station", station, port_);
  ecrire_date_du_nom(r, ft);
  fl.ko = static_cast<double>(ft.taille) / 1024;
  t.ecrire_cellule(r, "taille (Mo)",
                   " " + format_deux_decimales(fl.ko / 1000, s_.separateur_decimal()), port_);
  e_.taille_totale_ko += fl.ko;
  return fl;
}

// In the directory mode with a file-name date rule: the date of the name,
// and the earliest and latest of them.
void PasseListage::ecrire_date_du_nom(int r, const FichierTrouve& ft) {
  if (s_.source != SourceDonnees::repertoire || trim(d_.f_date_fichier).empty()) return;
  double valeur = maintenant();
  std::string texte;
  date_nom_fichier(ft.nom, trim(d_.f_date_fichier), valeur, texte, s_.journal);
  s_.table.ecrire_cellule(r, "date_NOM_Fichier", texte, port_);
  if (texte.empty()) return;
  if (e_.date_nom_min == 0.0 || valeur < e_.date_nom_min) e_.date_nom_min = valeur;
  if (valeur > e_.date_nom_max) e_.date_nom_max = valeur;
}

// Loads the file, checks its layout and fills the rest of its row.
ApresLigne PasseListage::prelire(int r, const FichierLigne& fl) {
  s_.etiquette("Label_nom_de_fichier") = nom_fichier_simplifie(fl.nom);
  s_.etiquette("Label_fic") = std::to_string(r) + "  " + fl.nom;
  s_.etiquette("Label1") = format_deux_decimales(fl.ko / 1000, s_.separateur_decimal()) + " Mo";
  if (!charger_fichier_donnees(s_, fl.chemin)) return ApresLigne::abandonner;
  situer_donnees();
  int nb_colonnes = 0;
  const SuiteListage suite = verifier_intitules(s_, nb_colonnes);
  if (suite == SuiteListage::relister) return ApresLigne::relister;
  if (suite == SuiteListage::arreter) return ApresLigne::abandonner;
  ecrire_colonnes(r, nb_colonnes);
  if (!ecrire_dates(r)) return ApresLigne::abandonner;
  ecrire_avancement(r, fl);
  return s_.arret_demande() ? ApresLigne::conclure : ApresLigne::ligne_suivante;
}

// The indexes of the first and last data lines and of the title line, by
// line number or between the tags.
void PasseListage::situer_donnees() {
  const FichierCharge& f = s_.fichier_charge;
  if (d_.numlig_balise == DebutDonnees::balises) {
    e_.decalage_balise = std::max(0LL, f.premiere_ligne_contenant(utf8_vers_cp1252(d_.balise_deb)));
    e_.premiere_ligne = entier_ou(d_.num_ligne_donnee, 1) - 1 + e_.decalage_balise;
    e_.derniere_ligne = f.derniere_ligne_contenant(utf8_vers_cp1252(d_.balise_fin)) - 1;
  } else {
    e_.decalage_balise = 0;
    e_.premiere_ligne = entier_ou(d_.num_ligne_donnee, 1) - 1;
    e_.derniere_ligne = f.derniere_non_vide;
  }
  e_.ligne_intitules = d_.avec_sans_intitule == Intitules::avec
                           ? entier_ou(d_.num_ligne_intitule_col, 0) - 1 + e_.decalage_balise
                           : -1;
  if (d_.avec_sans_intitule == Intitules::avec && entier_ou(d_.num_ligne_intitule_col, 0) < 1)
    e_.ligne_intitules = -1;
}

void PasseListage::ecrire_colonnes(int r, int nb_colonnes) {
  const long long nb_donnees = std::max(0LL, s_.fichier_charge.nb_lignes - e_.premiere_ligne);
  s_.etiquette("Label26") = format_milliers(nb_donnees);
  s_.etiquette("Label_nb_colonnes") =
      std::to_string(e_.nb_colonnes_valeurs) +
      (e_.nb_colonnes_valeurs == 1 ? " colonne de données" : " colonnes de données");
  s_.table.ecrire_cellule(r, "nb Colonnes", " " + std::to_string(nb_colonnes), port_);
  s_.table.ecrire_cellule(
      r, "n°Lig intitulés",
      e_.ligne_intitules >= 1 ? " " + std::to_string(e_.ligne_intitules + 1) : " -", port_);
}

// The first and last measurement dates of the file; false when one cannot
// be read and the listing must end.
bool PasseListage::ecrire_dates(int r) {
  std::string premiere, derniere;
  // The file's reference line: its title line, or its first data line.
  const SeparateurInitial initial = separateur_initial(
      s_.fichier_charge.ligne(e_.ligne_intitules >= 0 ? e_.ligne_intitules : e_.premiere_ligne),
      e_.separateur);
  if (!lire_date_ligne(s_, e_.premiere_ligne, initial, premiere)) return false;
  if (!lire_date_ligne(s_, e_.derniere_ligne, initial, derniere, true)) return false;
  TableFichiers& t = s_.table;
  t.ecrire_cellule(r, "date dep", premiere.empty() ? "    ????" : premiere, port_);
  t.ecrire_cellule(r, "date fin", derniere.empty() ? "    ????" : derniere, port_);
  t.ecrire_cellule(r, "n.données", format_milliers(e_.derniere_ligne - e_.premiere_ligne + 1),
                   port_);
  t.ecrire_cellule(r, "n.extraites", " ---", port_);
  t.ecrire_cellule(r, "pas moyen observé", " ---", port_);
  t.ecrire_cellule(r, "correction", " ---", port_);
  s_.etiquette("Label_date_heure_min") = premiere;
  s_.etiquette("Label_date_heure_max") = derniere;
  const auto v1 = texte_en_date(premiere, nullptr, s_.journal);
  const auto v2 = texte_en_date(derniere, nullptr, s_.journal);
  if (v1 && (!e_.date_min || *v1 < *e_.date_min)) e_.date_min = v1;
  if (v2 && (!e_.date_max || *v2 > *e_.date_max)) e_.date_max = v2;
  return true;
}

// The row's reading time, the progress and the time or size still to read.
void PasseListage::ecrire_avancement(int r, const FichierLigne& fl) {
  s_.table.ecrire_cellule(r, "durée de traitement", secondes_en_hms(secondes_depuis(fl.debut)),
                          port_);
  s_.progression("1- listage, patienter ...", 1);
  ko_lus_ += fl.ko;
  if (ko_a_lire_ > 0.0) {
    const double passe = secondes_depuis(t0_);
    const double reste = ko_lus_ > 0.0 ? passe * (ko_a_lire_ - ko_lus_) / ko_lus_ : 0.0;
    s_.etiquette("Label10") =
        "reste " + secondes_en_hms(reste) + "    " +
        format_deux_decimales((ko_a_lire_ - ko_lus_) / 1000, s_.separateur_decimal()) + " Mo";
  } else {
    s_.etiquette("Label10") =
        "Total " + format_deux_decimales(ko_lus_ / 1000, s_.separateur_decimal()) + " Mo";
  }
}

void PasseListage::conclure() {
  s_.ajouter_ligne_suivi("");
  s_.etiquette("Label_date_min") = e_.date_min ? date_heure_en_texte(*e_.date_min) : "";
  s_.etiquette("Label_date_max") = e_.date_max ? date_heure_en_texte(*e_.date_max) : "";
  s_.etiquette("Label_nb_fic") = compte_fichiers(static_cast<long long>(fichiers_.size()));
  s_.etiquette("Label8") =
      "taille totale " +
      format_deux_decimales(e_.taille_totale_ko / 1000, s_.separateur_decimal()) + " Mo";
  s_.progression(" --- ", 1);
}

}  // namespace

bool listage(Session& s) {
  // A pass ends listed, abandoned, or asking for another pass after the
  // title option was corrected. The next pass reads without titles, so it
  // cannot ask again: the loop runs at most twice.
  IssuePasse issue;
  do {
    issue = PasseListage(s).executer();
  } while (issue == IssuePasse::a_relister);
  return issue == IssuePasse::listee;
}

}  // namespace tamso
