#include "app/inspection.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/data_loading.h"
#include "app/listing.h"
#include "app/session.h"
#include "app/workbook_source.h"
#include "base/quotation.h"
#include "input/encoding.h"
#include "input/text.h"
#include "input/workbook.h"

namespace tamso {

namespace {

const char* const kNomsSeparateurs[] = {"tabulation", "espace", "point-virgule", "virgule"};

std::string nom_separateur(int i) {
  return i >= 0 && i <= 3 ? kNomsSeparateurs[i] : "";
}

bool oui(Session& s, const std::string& question, Boutons boutons = Boutons::oui_annuler) {
  return question_oui(s, question, TypeMessage::confirmation, boutons);
}

std::string extension_sans_point(const std::string& nom) {
  const std::size_t p = nom.rfind('.');
  return p == std::string::npos ? std::string{} : nom.substr(p + 1);
}

std::string masque_nu(const std::string& masque) {
  return supprimer_caractere('.', supprimer_caractere('*', masque));
}

void compter(Session& s) {
  s.compter_fichiers_donnees();
  s.etiquette("Label54") = std::to_string(s.nb_fichiers);
}

// Which separator to propose when no count is strictly the largest: none when
// the current choice is among the largest, else the most telling of them.
int proposition_sans_vainqueur(const DetectionSeparateur& d, int actuel) {
  const std::array<int, 4> n = {d.tabulations, d.espaces, d.points_virgules, d.virgules};
  const int max = std::max({n[0], n[1], n[2], n[3]});
  if (max == 0) return -1;
  if (actuel >= 0 && actuel <= 3 && n[static_cast<std::size_t>(actuel)] == max) return -1;
  for (int i : {2, 0, 3, 1})
    if (n[static_cast<std::size_t>(i)] == max) return i;
  return -1;
}

// The inspection of one sample file. Its steps share the file's name and
// extension, the file actually read (the sample, or the CSV of a workbook's
// sheet) and the line found to hold the first data.
class InspectionExemple {
 public:
  InspectionExemple(Session& s, const std::string& chemin)
      : s_(s),
        d_(s.description),
        chemin_(chemin),
        nom_(nom_de_fichier(chemin)),
        extension_(extension_sans_point(nom_)),
        source_(chemin) {}

  void executer();
  const DispositionDetectee& disposition() const { return dispo_; }

 private:
  const FichierCharge& fichier() const { return s_.fichier_charge; }

  bool prendre_dossier_et_masque();
  bool garder_les_parametrages();
  bool extension_inattendue();
  bool charger_exemple();
  void detecter();
  Reponse proposer_la_disposition();
  void appliquer_la_disposition();
  void proposer_date();
  void proposer_valeurs();
  void lister();
  long long decalage_des_balises() const;
  void chercher_premiere_donnee(long long decalage);
  void proposer_intitules_sur(long long i, const std::string& ligne, long long decalage);
  void proposer_sans_intitules_sur(long long i, const std::string& ligne, long long decalage);
  void proposer_sans_intitule_en_tete();
  void proposer_separateur();
  void proposer_ligne_donnees();
  void proposer_intitules_avant_donnees();
  void proposer_intitules_deplaces();

  Session& s_;
  Description& d_;
  const std::string chemin_;
  const std::string nom_;
  const std::string extension_;
  std::string source_;       // the file read
  long long detectee_ = -1;  // index of the first data line found
  std::string ligne_donnee_;
  DispositionDetectee dispo_;
  EchantillonFichier echantillon_;
};

void InspectionExemple::executer() {
  if (!prendre_dossier_et_masque() || !garder_les_parametrages() || extension_inattendue() ||
      !charger_exemple())
    return;
  detecter();
  if (dispo_.trouvee) {
    // The whole layout at once, or question by question.
    const Reponse r = proposer_la_disposition();
    if (r == Reponse::annuler) return;
    if (r == Reponse::oui) {
      appliquer_la_disposition();
      lister();
      return;
    }
  }
  chercher_premiere_donnee(decalage_des_balises());
  proposer_sans_intitule_en_tete();
  proposer_separateur();
  if (d_.numlig_balise == DebutDonnees::numero_ligne) {
    proposer_ligne_donnees();
    if (detectee_ >= 1) {
      if (d_.avec_sans_intitule == Intitules::sans)
        proposer_intitules_avant_donnees();
      else
        proposer_intitules_deplaces();
    }
  }
  if (dispo_.trouvee) {
    proposer_date();
    proposer_valeurs();
  }
  lister();
}

// The listing that ends the inspection pre-reads the sample.
void InspectionExemple::lister() {
  s_.exemple_a_prelire = nom_;
  lister_fichiers_donnees(s_);
  s_.exemple_a_prelire.clear();
}

// The data directory becomes the file's, the mask its extension and the
// source mode the mask's; a workbook's sheet is converted. False when the
// sheet cannot be read.
bool InspectionExemple::prendre_dossier_et_masque() {
  for (const char* l : {"Label_nb_fic", "Label8", "Label10"}) s_.etiquette(l) = "---";
  s_.table.entetes_tableau();
  d_.dossier_choisi = avec_barre_finale(repertoire_de(chemin_));
  compter(s_);
  if (!egal_sans_casse(extension_, masque_nu(d_.masque)) || d_.masque == "ppp") {
    d_.masque = extension_;
    s_.description_modifiee = true;
  }
  s_.source = source_du_masque(d_.masque);
  if (s_.source == SourceDonnees::excel) {
    d_.nom_fic_excel = nom_;
    s_.description_modifiee = true;
    if (!lire_feuille_excel(s_, chemin_)) return false;
  }
  compter(s_);
  return true;
}

// Use the settings as they are (Yes), or adapt them with the file in the
// editor (No, which ends the inspection).
bool InspectionExemple::garder_les_parametrages() {
  const std::string q7 = "FICHIER\n  " + nom_ + "                   " + "\n\n\n" +
                         "DESCRIPTION DES DONNEES\n\n" +
                         " Utiliser les paramètrages tels quel => (Oui)" + "\n" + "\n" +
                         " ou les adapter et éditer le fichier => (Non)" + "\n";
  if (oui(s_, q7, Boutons::oui_non)) return true;
  s_.port().ouvrir_dans_editeur(d_.dossier_choisi, nom_);
  return false;
}

// A directory file whose extension is not the mask's: either take the
// extension and list, or just show the file. True when this ends the inspection.
bool InspectionExemple::extension_inattendue() {
  const bool extension_attendue = egal_sans_casse(extension_, masque_nu(d_.masque));
  if (s_.source != SourceDonnees::repertoire || extension_attendue) return false;
  const std::string q = " L'extention du fichier (" + extension_ + ") n'est pas celui attendu (" +
                        d_.masque + ") \r\r" + "   modifier l'extention et continuer (Oui)  " +
                        "\n\n" + "   ou juste visualiser le fichier     (Non) ";
  if (oui(s_, q, Boutons::oui_non)) {
    d_.masque = extension_;
    s_.description_modifiee = true;
    compter(s_);
    if (!egal_sans_casse(extension_, masque_nu(d_.masque))) s_.nom_description = "Temporaire.DSC";
    lister_fichiers_donnees(s_);
  } else {
    compter(s_);
    s_.port().ouvrir_dans_editeur(d_.dossier_choisi, nom_);
  }
  return true;
}

// Loads the sample (a sheet's CSV, read with semicolons) and shows it in the
// editor. False when it does not load.
bool InspectionExemple::charger_exemple() {
  compter(s_);
  if (s_.source == SourceDonnees::excel) {
    if (d_.separateur_colonne != SeparateurColonne::point_virgule) {
      d_.separateur_colonne = SeparateurColonne::point_virgule;
      s_.description_modifiee = true;
    }
    source_ = s_.repertoire_temporaire() + kFichierTemporaireExcel;
  }
  if (!charger_fichier_donnees(s_, source_)) return false;
  s_.port().ouvrir_dans_editeur(d_.dossier_choisi, nom_);
  s_.etiquette("Label_nb_lignes") = format_milliers(fichier().nb_lignes);
  return true;
}

// Reads a sample of the file as it is written (tabulations kept) and finds
// its layout.
void InspectionExemple::detecter() {
  if (!lire_echantillon(fichier().chemin, echantillon_)) return;
  dispo_ = detecter_disposition(echantillon_.debut, echantillon_.fin);
}

namespace {

std::string liste_entiers(const std::vector<int>& v) {
  std::string r;
  for (const int x : v) r += (r.empty() ? "" : ",") + std::to_string(x);
  return r;
}

std::string liste_textes(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& x : v) r += (r.empty() ? "" : ";") + x;
  return r;
}

// The date columns and formats found, in a description.
void appliquer_date(Description& d, const DispositionDetectee& x) {
  d.datetime_nb_col = x.deux_colonnes ? ColonnesDate::deux : ColonnesDate::une;
  if (x.deux_colonnes) {
    d.num_col_date = std::to_string(x.colonne_date);
    d.num_col_time = std::to_string(x.colonne_heure);
    d.format_date_mesure_seule = x.format_date;
    d.format_time_mesure_seul = x.format_heure;
  } else {
    d.num_col_datetime = std::to_string(x.colonne_date_heure);
    d.format_datetime_mesure = x.format_date_heure;
  }
}

// The value columns, decimal mark and no-data markers found, in a
// description. Only the markers seen: a reading such as -1 stays a reading.
void appliquer_valeurs(Description& d, const DispositionDetectee& x) {
  d.decimal_entree = x.decimale == ',' ? SeparateurDecimal::virgule : SeparateurDecimal::point;
  d.col_cochee = !x.colonnes_valeurs.empty();
  d.col_cochee_liste = liste_entiers(x.colonnes_valeurs);
  d.equiv_na = x.marques_na.empty() ? "NA" : cp1252_vers_utf8(liste_textes(x.marques_na));
}

// "hh:mm:ss" of a step under a day; empty otherwise.
std::string texte_pas(int secondes) {
  if (secondes <= 0 || secondes >= 86400) return {};
  char t[16];
  std::snprintf(t, sizeof t, "%02d:%02d:%02d", secondes / 3600, secondes / 60 % 60, secondes % 60);
  return t;
}

// Line numbers as the description holds them: counted from the start tag's
// line when the data are found by tags.
int ligne_relative(const DispositionDetectee& d, int ligne, int ligne_balise) {
  return d.balise_debut.empty() ? ligne : ligne - ligne_balise + 1;
}

}  // namespace

std::string resume(const DispositionDetectee& d) {
  std::string r = " séparateur de colonnes : <" + nom_separateur(d.separateur) + ">\n";
  r += d.ligne_intitules > 0
           ? " intitulés de colonnes en ligne " + std::to_string(d.ligne_intitules) +
                 (d.ligne_unites > 0 ? " (unités en ligne " + std::to_string(d.ligne_unites) + ")"
                                     : std::string{}) +
                 "\n"
           : std::string(" sans intitulé de colonnes\n");
  r += " 1ères données en ligne " + std::to_string(d.premiere_ligne_donnees);
  if (!d.balise_debut.empty())
    r += " (ligne " + std::to_string(d.premiere_ligne_donnees - d.ligne_balise + 1) +
         " à partir de la balise de début)";
  r += "\n";
  if (!d.balise_debut.empty())
    r += " balises : début <" + cp1252_vers_utf8(d.balise_debut) + ">, fin <" +
         cp1252_vers_utf8(d.balise_fin) + ">\n";
  if (d.deux_colonnes)
    r += " date en colonne " + std::to_string(d.colonne_date) + " <" + d.format_date +
         ">, heure en colonne " + std::to_string(d.colonne_heure) + " <" + d.format_heure + ">\n";
  else
    r += " date/heure en colonne " + std::to_string(d.colonne_date_heure) + " <" +
         d.format_date_heure + ">\n";
  r += " valeurs en colonnes " + liste_entiers(d.colonnes_valeurs) + ", séparateur décimal <" +
       std::string(1, d.decimale) + ">\n";
  if (!d.marques_na.empty())
    r += " sans donnée : " + cp1252_vers_utf8(liste_textes(d.marques_na)) + "\n";
  r += " période du " + d.premiere_date + " au " + d.derniere_date + "\n";
  if (const std::string p = texte_pas(d.pas_secondes); !p.empty()) r += " pas observé " + p + "\n";
  return r;
}

Reponse InspectionExemple::proposer_la_disposition() {
  const std::string q = "FICHIER\n  " + nom_ + "\n\n" + "disposition détectée :\n\n" +
                        resume(dispo_) + "\n" + " appliquer cette disposition     => (Oui)\n\n" +
                        " la revoir question par question => (Non)\n\n" +
                        " annuler                         => (Annuler)";
  return s_.port().demander(TypeMessage::confirmation, q, Boutons::oui_non_annuler);
}

void InspectionExemple::appliquer_la_disposition() {
  const DispositionDetectee& x = dispo_;
  d_.separateur_colonne = static_cast<SeparateurColonne>(x.separateur);
  const int balise = x.ligne_balise;
  if (!x.balise_debut.empty()) {
    d_.numlig_balise = DebutDonnees::balises;
    d_.balise_deb = cp1252_vers_utf8(x.balise_debut);
    d_.balise_fin = cp1252_vers_utf8(x.balise_fin);
  } else {
    d_.numlig_balise = DebutDonnees::numero_ligne;
  }
  d_.avec_sans_intitule = x.ligne_intitules > 0 ? Intitules::avec : Intitules::sans;
  if (x.ligne_intitules > 0)
    d_.num_ligne_intitule_col = std::to_string(ligne_relative(x, x.ligne_intitules, balise));
  d_.num_ligne_donnee = std::to_string(ligne_relative(x, x.premiere_ligne_donnees, balise));
  d_.int_col_alternatif = false;
  appliquer_date(d_, x);
  appliquer_valeurs(d_, x);
  d_.min_dsc = x.premiere_date;
  d_.max_dsc = x.derniere_date;
  if (const std::string p = texte_pas(x.pas_secondes); !p.empty()) d_.pas_dsc = p;
  s_.description_modifiee = true;
}

// The date columns and format found, when the description says otherwise.
void InspectionExemple::proposer_date() {
  const DispositionDetectee& x = dispo_;
  Description essai = d_;
  appliquer_date(essai, x);
  if (essai == d_) return;
  const std::string ou = x.deux_colonnes
                             ? "[date en colonne " + std::to_string(x.colonne_date) + " <" +
                                   x.format_date + ">] et [heure en colonne " +
                                   std::to_string(x.colonne_heure) + " <" + x.format_heure + ">]"
                             : "[date/heure en colonne " + std::to_string(x.colonne_date_heure) +
                                   " <" + x.format_date_heure + ">]";
  const std::string q = "La date de mesure semble lisible ainsi :\n\n" + ligne_donnee_ + "\n\n" +
                        " proposition => " + ou + "\n\n" + "  corriger (Oui)\n\n" +
                        "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  appliquer_date(d_, x);
  s_.description_modifiee = true;
}

// The value columns, decimal mark and no-data markers found.
void InspectionExemple::proposer_valeurs() {
  const DispositionDetectee& x = dispo_;
  if (x.colonnes_valeurs.empty()) return;
  Description essai = d_;
  appliquer_valeurs(essai, x);
  if (essai == d_) return;
  const std::string& colonnes = essai.col_cochee_liste;
  const std::string& na = essai.equiv_na;
  const std::string q = "Colonnes de valeurs numériques détectées : " + colonnes + "\n" +
                        " séparateur décimal <" + std::string(1, x.decimale) + ">\n" +
                        " sans donnée : " + na + "\n\n" +
                        " proposition => [n'extraire que les colonnes " + colonnes + "]\n\n" +
                        "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  appliquer_valeurs(d_, x);
  s_.description_modifiee = true;
}

// With tags, the index of the start tag's line; else 0.
long long InspectionExemple::decalage_des_balises() const {
  if (d_.numlig_balise != DebutDonnees::balises) return 0;
  return std::max(0LL, fichier().premiere_ligne_contenant(utf8_vers_cp1252(d_.balise_deb)));
}

// Scans the lines from the top up to 100 lines past the offset, questioning the
// declared title or data line, up to the first line that holds a time.
void InspectionExemple::chercher_premiere_donnee(long long decalage) {
  const FichierCharge& f = fichier();
  const long long fin_scan =
      std::max<long long>(std::min(decalage + 100, f.nb_lignes), dispo_.premiere_ligne_donnees);
  long long i = 0;
  for (; i < fin_scan; ++i) {
    const std::string ligne = f.texte(i);
    // An accepted proposal changes the option for the lines that follow.
    if (d_.avec_sans_intitule == Intitules::avec)
      proposer_sans_intitules_sur(i, ligne, decalage);
    else
      proposer_intitules_sur(i, ligne, decalage);
    if (dispo_.trouvee ? i + 1 == dispo_.premiere_ligne_donnees : contient_heure(ligne)) {
      detectee_ = i;
      break;
    }
  }
  // No time within the window: the last line read stands for the first data line.
  if (detectee_ < 0) detectee_ = std::max(0LL, i - 1);
  ligne_donnee_ = f.texte(detectee_);
}

// Without titles, a declared first data line made of letters: propose titles there.
void InspectionExemple::proposer_intitules_sur(long long i, const std::string& ligne,
                                               long long decalage) {
  if (i != entier_ou(d_.num_ligne_donnee, 1) - 1 + decalage ||
      compter_lettres(ligne) <= compter_numeriques(ligne))
    return;
  const std::string q = "la ligne n°" + std::to_string(i + 1) +
                        " semble correspondre à des intitulés de colonnes..." + "\n" + "\n" +
                        ligne + "\n\n" +
                        " proposition => choisir l'option avec intitulé de colonnes et son n° "
                        "de ligne" +
                        "\n\n" + "     corriger (Oui)\n\n" + "     annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.avec_sans_intitule = Intitules::avec;
  d_.num_ligne_donnee = std::to_string(i + 1);
  d_.numlig_balise = DebutDonnees::numero_ligne;
  s_.description_modifiee = true;
}

// With titles, a declared title line made of digits: propose no titles.
void InspectionExemple::proposer_sans_intitules_sur(long long i, const std::string& ligne,
                                                    long long decalage) {
  if (i != entier_ou(d_.num_ligne_intitule_col, 1) - 1 + decalage ||
      compter_lettres(ligne) >= compter_numeriques(ligne))
    return;
  const std::string q = "la ligne n°" + std::to_string(i + 1) +
                        "  ne semble pas correspondre à une suite d'intitulés de colonnes..." +
                        "\n" + "\n" + citation(ligne) + "\n\n" +
                        " proposition => choisir l'option sans intitulé de colonnes" + "\n\n" +
                        "     corriger (Oui)\n\n" + "     annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.avec_sans_intitule = Intitules::sans;
  s_.description_modifiee = true;
}

// Data found on the very first line while titles are declared: propose no
// titles and the data from line 1.
void InspectionExemple::proposer_sans_intitule_en_tete() {
  if (detectee_ != 0 || d_.avec_sans_intitule != Intitules::avec) return;
  const std::string q =
      "d'après le contenu de ce nouveau fichier de donnée,\n il semble qu'il n'y ait pas de ligne "
      "d'intitulé de colonnes comme prévu\n\n" +
      ligne_donnee_ + "\n\n" + " => option [sans intitulé] et [donnée en ligne " +
      std::to_string(1) + "]" + "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.avec_sans_intitule = Intitules::sans;
  d_.numlig_balise = DebutDonnees::numero_ligne;
  d_.num_ligne_donnee = "1";
  s_.description_modifiee = true;
}

// The separator that the first data line suggests, when it is not the chosen one.
void InspectionExemple::proposer_separateur() {
  // The separator is counted on the line as the file holds it: a tab file
  // described with tabulations is loaded with ";" in place of its tabs. A
  // converted file is counted on its Windows-1252 text.
  const auto i = static_cast<std::size_t>(detectee_);
  const std::string ligne_brute =
      i < echantillon_.debut.size() ? cp1252_vers_utf8(echantillon_.debut[i]) : ligne_donnee_;
  const DetectionSeparateur det = detecter_separateur(ligne_brute);
  const int actuel = indice(d_.separateur_colonne);
  // The separator found over the whole sample comes first; else the one the
  // line's counts tell.
  const int propose = dispo_.trouvee     ? dispo_.separateur
                      : det.detecte >= 0 ? det.detecte
                                         : proposition_sans_vainqueur(det, actuel);
  if (propose < 0 || propose == actuel) return;
  const std::string q =
      "d'après le contenu de ce nouveau fichier de donnée,\n et de la première ligne à 'date' "
      ":\n\n" +
      ligne_brute + "\n\n" + "<tab>=" + std::to_string(det.tabulations) + "\n" +
      "<esp>=" + std::to_string(det.espaces) + "\n" + "<;>=" + std::to_string(det.points_virgules) +
      "\n" + "<,>=" + std::to_string(det.virgules) + "\n\n" +
      " Il semble que le séparateur de colonnes soit <" + nom_separateur(propose) + "> et non <" +
      nom_separateur(actuel) + ">\n\n" + " modifier le séparateur (oui)" + "\n\n" + " garder <" +
      legende_separateur(actuel) + "> (non)";
  if (!oui(s_, q, Boutons::oui_non)) return;
  d_.separateur_colonne = static_cast<SeparateurColonne>(propose);
  s_.description_modifiee = true;
}

// The first data line found, when it is not the declared one.
void InspectionExemple::proposer_ligne_donnees() {
  const int declaree = entier_ou(d_.num_ligne_donnee, 1);
  if (detectee_ + 1 == declaree) return;
  const std::string n = std::to_string(detectee_ + 1);
  const std::string q = " Les premières données sont détectées en ligne " + n + " et non en " +
                        std::to_string(declaree) + "\n\n" + ligne_donnee_ + "\n\n" +
                        " proposition => [donnée en ligne " + n + "]" + "\n\n" +
                        "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.num_ligne_donnee = n;
  s_.description_modifiee = true;
}

// Without titles, a line of letters just before the data: propose titles there.
void InspectionExemple::proposer_intitules_avant_donnees() {
  const long long ligne = dispo_.trouvee ? dispo_.ligne_intitules : detectee_;
  if (ligne < 1) return;
  const std::string precedente = fichier().texte(ligne - 1);
  const std::string i_num = std::to_string(ligne);
  if (!dispo_.trouvee && compter_lettres(precedente) <= compter_numeriques(precedente)) return;
  const std::string q = "2- Il se pourrait qu'il y ait des intitulés de colonnes en ligne " +
                        i_num + "\n\n" + precedente + "\n\n" +
                        " proposition => [avec intitulés] et [intitulés en ligne " + i_num + "]" +
                        "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.avec_sans_intitule = Intitules::avec;
  d_.num_ligne_intitule_col = i_num;
  s_.description_modifiee = true;
}

// With titles on an empty line and text just before the data: propose the
// titles on that line.
void InspectionExemple::proposer_intitules_deplaces() {
  const long long ligne =
      dispo_.trouvee && dispo_.ligne_intitules > 0 ? dispo_.ligne_intitules : detectee_;
  const std::string precedente = fichier().texte(ligne - 1);
  const std::string i_num = std::to_string(ligne);
  const int t = entier_ou(d_.num_ligne_intitule_col, 1);
  const std::string texte_t = fichier().texte(t - 1);
  if (!trim(texte_t).empty() || trim(precedente).empty()) return;
  const std::string q =
      "1- Il se pourrait qu'il y ait des intitulés de colonnes en ligne " + i_num +
      " et non en ligne " + std::to_string(t) + "\n\n" + "L" + i_num + " <" + texte_t + ">" +
      "\n\n" + "L" + std::to_string(detectee_ - 1) + " <" + precedente + "\n\n" + ligne_donnee_ +
      "\n\n" + " proposition => [intitulés en ligne " + i_num + "] / " + std::to_string(t) +
      "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
  if (!oui(s_, q)) return;
  d_.num_ligne_intitule_col = i_num;
  s_.description_modifiee = true;
}

}  // namespace

void choisir_fichier_exemple(Session& s) {
  DialogueFichier d;
  const std::string& dossier = s.description.dossier_choisi;
  d.titre = "Exemplaire de fichier dans le répertoire des données : " + dossier;
  d.dossier = dossier;
  d.filtre = "Fichiers (*.*)|*.*|Tous les fichiers (*.*)|*.*";
  d.propose = "*.*";
  const auto choisi = s.port().choisir_fichier_a_ouvrir(d);
  if (choisi) inspecter_fichier_exemple(s, *choisi);
}

std::string resume_disposition(const DispositionDetectee& d) {
  return resume(d);
}

DispositionDetectee inspecter_fichier_exemple(Session& s, const std::string& chemin) {
  InspectionExemple inspection(s, chemin);
  inspection.executer();
  return inspection.disposition();
}

}  // namespace tamso
