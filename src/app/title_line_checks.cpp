#include "app/title_line_checks.h"

#include <string>
#include <string_view>

#include "app/listing.h"
#include "app/session.h"
#include "base/quotation.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

// Number of columns of a line: separators plus one, runs of spaces counting
// once with the space separator; separators inside quoted fields do not count.
int nombre_colonnes(std::string_view ligne, char sep) {
  if (sep == ' ') return compter_separateurs(trim(reduire_espaces(ligne)), ' ') + 1;
  return compter_separateurs(ligne, sep) + 1;
}

// Names A1, B2, C3, ... of the columns of a file without titles, joined by tabs.
std::string intitules_generes(int nb) {
  std::string r;
  for (int i = 1; i <= nb; ++i) {
    if (i > 1) r += '\t';
    r += static_cast<char>(64 + i);
    r += std::to_string(i);
  }
  return r;
}

// The checks, in the order they are made, over the title line (`intitule_`)
// and the first data line (`donnee_`) of the loaded file.
class ControleIntitules {
 public:
  explicit ControleIntitules(Session& s)
      : s_(s),
        d_(s.description),
        e_(s.etat_listage),
        f_(s.fichier_charge),
        avec_intitules_(d_.avec_sans_intitule == Intitules::avec),
        t_(e_.ligne_intitules),
        p_(e_.premiere_ligne),
        intitule_(avec_intitules_ ? f_.texte(t_) : std::string{}),
        donnee_(f_.texte(p_)) {}

  SuiteListage executer(int& nb_colonnes);

 private:
  bool oui(const std::string& question, Boutons boutons) {
    return question_oui(s_, question, TypeMessage::confirmation, boutons);
  }
  void ouvrir_le_fichier() {
    s_.port().ouvrir_dans_editeur(repertoire_de(f_.chemin), nom_de_fichier(f_.chemin));
  }
  const std::string& ligne_comptee() const { return avec_intitules_ ? intitule_ : donnee_; }

  SuiteListage intitules_faits_de_chiffres();
  SuiteListage donnee_faite_de_lettres();
  SuiteListage ligne_intitules_avant_le_fichier();
  void compter_colonnes_et_nommer();
  SuiteListage intitules_alternatifs_a_compter();
  SuiteListage colonnes_separees_par_espaces();
  SuiteListage colonnes_de_valeurs();
  SuiteListage intitules_surtout_numeriques();

  Session& s_;
  Description& d_;
  EtatListage& e_;
  const FichierCharge& f_;
  const bool avec_intitules_;
  const long long t_;  // index of the title line
  const long long p_;  // index of the first data line
  std::string intitule_;
  const std::string donnee_;
  int nb_colonnes_ = 0;
};

SuiteListage ControleIntitules::executer(int& nb_colonnes) {
  SuiteListage suite = intitules_faits_de_chiffres();
  if (suite == SuiteListage::continuer) suite = donnee_faite_de_lettres();
  if (suite == SuiteListage::continuer) suite = ligne_intitules_avant_le_fichier();
  if (suite == SuiteListage::continuer) {
    compter_colonnes_et_nommer();
    suite = intitules_alternatifs_a_compter();
  }
  if (suite == SuiteListage::continuer) suite = colonnes_separees_par_espaces();
  if (suite == SuiteListage::continuer) suite = colonnes_de_valeurs();
  if (suite == SuiteListage::continuer) suite = intitules_surtout_numeriques();
  nb_colonnes = nb_colonnes_;
  return suite;
}

// A declared title line with more digits than letters (and no "DATE" or
// "TIME"): propose the option without titles.
SuiteListage ControleIntitules::intitules_faits_de_chiffres() {
  if (!avec_intitules_ || t_ < 0) return SuiteListage::continuer;
  const std::string haut = majuscules(intitule_);
  const int lettres = compter_lettres(intitule_), chiffres = compter_numeriques(intitule_);
  if (contient(haut, "DATE") || contient(haut, "TIME") || lettres >= chiffres)
    return SuiteListage::continuer;
  const std::string q = "la ligne n°" + std::to_string(t_ + 1) +
                        "  ne semble pas correspondre à une suite d'intitulés de colonnes.." +
                        "\n" + "\n" + " le nombre de chiffres (" + std::to_string(chiffres) +
                        ") est supérieur au nombre de lettres (" + std::to_string(lettres) +
                        ")\n\n" + citation(intitule_) + "\n\n" +
                        " proposition => choisir l'option sans intitulé de colonnes" + "\n\n" +
                        "     corriger  (Oui)\n\n" + "     continuer (Annuler)";
  if (!oui(q, Boutons::oui_annuler)) return SuiteListage::continuer;
  d_.avec_sans_intitule = Intitules::sans;
  s_.description_modifiee = true;
  return SuiteListage::arreter;
}

// No titles declared but a first data line with more letters than digits:
// propose titles on that line.
SuiteListage ControleIntitules::donnee_faite_de_lettres() {
  if (avec_intitules_ || compter_lettres(donnee_) <= compter_numeriques(donnee_))
    return SuiteListage::continuer;
  const std::string q = "la ligne n°" + std::to_string(p_ + 1) +
                        " semble correspondre à des intitulés de colonnes.." + "\n" + "\n" +
                        donnee_ + "\n\n" +
                        " proposition => choisir l'option avec intitulé de colonnes et son n° "
                        "de ligne" +
                        "\n\n" + "     corriger  (Oui)\n\n" + "     continuer (Annuler)";
  if (!oui(q, Boutons::oui_annuler)) return SuiteListage::continuer;
  const long long numero = p_ + 1 - e_.decalage_balise;
  d_.avec_sans_intitule = Intitules::avec;
  d_.num_ligne_intitule_col = std::to_string(numero);
  if (d_.numlig_balise == DebutDonnees::numero_ligne && entier_ou(d_.num_ligne_donnee, 0) == numero)
    d_.num_ligne_donnee = std::to_string(numero + 1);
  s_.description_modifiee = true;
  return SuiteListage::arreter;
}

// Titles declared on no line (a number below 1): say so and show the file.
SuiteListage ControleIntitules::ligne_intitules_avant_le_fichier() {
  if (!avec_intitules_ || t_ >= 0) return SuiteListage::continuer;
  s_.port().informer(TypeMessage::erreur,
                     "??? le n° de ligne des intitulés de colonnes semble être nul\n\n => "
                     "sélectionner l'option sans intitulé de colonne ...\n\n   le fichier sera "
                     "ouvert dans le blocnote");
  ouvrir_le_fichier();
  return SuiteListage::arreter;
}

// The column count of the title line (or of the first data line), and the
// names of the file's own columns: its titles, or A1, B2, ... without titles.
void ControleIntitules::compter_colonnes_et_nommer() {
  nb_colonnes_ = nombre_colonnes(ligne_comptee(), e_.separateur);
  e_.ligne_intitules_texte = avec_intitules_ ? intitule_ : intitules_generes(nb_colonnes_);
  reparer_accents(e_.ligne_intitules_texte);
  s_.intitule_origine = e_.ligne_intitules_texte;
}

// Alternative titles in use must name as many columns as the file has.
SuiteListage ControleIntitules::intitules_alternatifs_a_compter() {
  if (!d_.int_col_alternatif || trim(d_.new_desc_colonne).empty()) return SuiteListage::continuer;
  const std::string& alt = d_.new_desc_colonne;
  // Their commas, semicolons and tabulations separate, outside quoted titles.
  const int nb_alt = compter_separateurs(intitules_en_tabulations(alt), '\t') + 1;
  if (nb_alt == nb_colonnes_) return SuiteListage::continuer;
  s_.port().informer(
      TypeMessage::erreur,
      " le nombre de colonnes alternatives (" + std::to_string(nb_alt) + ") est différent\n\n" +
          " du nombre original (" + std::to_string(nb_colonnes_) + ")" + "\n\n" +
          " => vérifier la similitude ...\n\n" + "   ou effacer les intitulés alternatifs\n\n" +
          "   ou le séparateur (" + legende_separateur(indice(d_.separateur_colonne)) + ")");
  return SuiteListage::arreter;
}

// With the space separator, titles and no alternative titles: the title line
// and the first data line must count the same columns, or a corrected title
// line is proposed as the alternative titles.
SuiteListage ControleIntitules::colonnes_separees_par_espaces() {
  const bool alternatifs = d_.int_col_alternatif && !trim(d_.new_desc_colonne).empty();
  if (e_.separateur != ' ' || !avec_intitules_ || alternatifs) return SuiteListage::continuer;
  intitule_ = ligne_espaces_vers_separateur(intitule_, ' ');
  int nb_intitule = 0, nb_donnees = 0;
  compter_colonnes(intitule_, donnee_, nb_intitule, nb_donnees, s_.journal);
  if (nb_intitule == nb_donnees) {
    nb_colonnes_ = nb_intitule;
    return SuiteListage::continuer;
  }
  const std::string corrigee = ligne_espaces_vers_separateur(intitule_, ',');
  const int nb_corrige = compter_separateurs(corrigee, ',') + 1;
  const std::string legende = legende_separateur(indice(d_.separateur_colonne));
  const std::string q =
      "1- Valider et LISTER\n\nAvec le séparateur " + legende + "\n" +
      "le nombre de colonnes détectées entre intitulé et données est différent\n\n" +
      "nb col (intitulé) = " + std::to_string(nb_intitule) + "\n" + intitule_ + "\n" +
      "nb col (données)  = " + std::to_string(nb_donnees) + "\n" + donnee_ + "\n\n" +
      " la ligne d'intitulés corrigée suivante contient " + std::to_string(nb_corrige) +
      " colonnes" + "\n" + corrigee + "\n\n" + " Juste stopper le traitement ===> ( Ok )" + "\n\n" +
      " Stopper le traitement et utiliser la ligne corrigée alternative => (Oui)";
  if (!oui(q, Boutons::oui_ok)) {
    nb_colonnes_ = nb_donnees;
    return SuiteListage::continuer;
  }
  bool remplacer = d_.new_desc_colonne == corrigee;
  if (!remplacer) {
    const std::string q2 =
        "1- Valider et LISTER\n\n     écraser les intitulés originaux contenant " +
        std::to_string(nb_intitule) + " colonnes\n" + "     avec la correction contenant " +
        std::to_string(nb_corrige) + " colonnes\n" + "\n\n" + corrigee + "\n\n" +
        "     ce qui serait en accord avec les " + std::to_string(nb_donnees) +
        " de colonnes de données  => (Oui)";
    remplacer = oui(q2, Boutons::oui_non);
  }
  if (remplacer) {
    d_.int_col_alternatif = true;
    d_.new_desc_colonne = corrigee;
    s_.description_modifiee = true;
  }
  s_.table.entetes_tableau();
  return SuiteListage::arreter;
}

// Only the date/time columns: the one-column diagnosis, and the file is shown.
SuiteListage ControleIntitules::colonnes_de_valeurs() {
  e_.nb_colonnes_valeurs = nb_colonnes_ - e_.nb_colonnes_date;
  if (e_.nb_colonnes_valeurs > 0) return SuiteListage::continuer;
  diagnostic_separateur(s_, ligne_comptee());
  ouvrir_le_fichier();
  s_.table.entetes_tableau();
  return SuiteListage::arreter;
}

// A title line made for three quarters of digits and + , - . / :
// (separators and blanks left aside) is data: propose the option without
// titles, with the data from that line, and list again.
SuiteListage ControleIntitules::intitules_surtout_numeriques() {
  if (!avec_intitules_) return SuiteListage::continuer;
  const std::string brut = f_.ligne(t_);
  // Separators and blanks are left aside on both sides of the share: a
  // title line padded with blanks to align its columns ("# STN,YYYYMMDD,
  // HH"), or short titles between commas ("A,B,C"), stay titles.
  const int blancs = compter_caractere(' ', brut);
  const int separateurs = e_.separateur == ' ' ? 0 : compter_caractere(e_.separateur, brut);
  const bool separateur_compte = e_.separateur == ',';  // one of + , - . / :
  const int utiles = static_cast<int>(brut.size()) - separateurs - blancs;
  const int chiffres =
      compter_chiffres_separateurs(brut) - blancs - (separateur_compte ? separateurs : 0);
  const double part = utiles > 0 ? static_cast<double>(chiffres) / utiles : 0.0;
  if (part < 0.75) return SuiteListage::continuer;
  const std::string q = "a- la ligne n°" + std::to_string(t_ + 1) +
                        "  ne semble pas correspondre à une suite d'intitulés de colonnes..." +
                        "\n" + "\n" + citation(f_.texte(t_)) + "\n\n" +
                        " proposition => choisir l'option sans intitulé de colonnes" + "\n\n" +
                        "     corriger et relancer  (Oui)\n\n" +
                        "     ou annuler            (Annuler)";
  if (!oui(q, Boutons::oui_annuler)) return SuiteListage::arreter;
  d_.avec_sans_intitule = Intitules::sans;
  d_.num_ligne_donnee = std::to_string(t_ + 1 - e_.decalage_balise);
  s_.description_modifiee = true;
  return SuiteListage::relister;
}

}  // namespace

SuiteListage verifier_intitules(Session& s, int& nb_colonnes) {
  return ControleIntitules(s).executer(nb_colonnes);
}

}  // namespace tamso
