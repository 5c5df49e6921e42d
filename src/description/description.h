// The description: the 65 settings that say how one family of data files is
// read and what is produced from it. Each setting is addressed by its key,
// the name under which the DSC file stores it.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tamso {

class JournalSuivi;

// How a setting's value is written as text and read back.
enum class TypeParametre {
  drapeau,           // "true" / "false"
  indice,            // decimal integer
  texte,             // unchanged text
  repertoire,        // path with a final separator
  heure,             // time of day "hh:mm:ss"
  date_heure,        // "dd/mm/yyyy" then " hh:mm:ss" when not midnight
  texte_date_heure,  // "dd/mm/yyyy hh:mm:ss" label text, unchanged
  selection,         // graph window check states, trimmed
};

// The options of the index settings, named; the DSC file keeps their
// numbers (the option's rank in its group).
enum class Intitules { avec = 0, sans = 1 };    // a title line or none
enum class ColonnesDate { une = 0, deux = 1 };  // date and time in one or two columns
enum class SeparateurDecimal { virgule = 0, point = 1 };
enum class Methode {  // aggregation method
  moyenne = 0,
  derniere = 1,
  maximum = 2,
  minimum = 3,
  moyenne_comblee = 4,
  cumul = 5
};
enum class DebutDonnees { numero_ligne = 0, balises = 1 };  // data found by line number or tags
enum class SeparateurColonne { tabulation = 0, espace = 1, point_virgule = 2, virgule = 3 };
enum class SeparateurSortie {
  tabulation = 0,
  espace = 1,
  espace_tabulation = 2,
  point_virgule = 3
};

// The rank of an option in its group (its number in the DSC file).
template <class Option>
constexpr int indice(Option o) {
  return static_cast<int>(o);
}

struct Description {
  // flags
  bool aide_flottante = false;          // CheckBox_aide_flottante
  bool car_null = false;                // CheckBox_car_null
  bool col_cochee = false;              // CheckBox_col_cochee
  bool correction_si_t1egalt2 = false;  // CheckBox_correction_si_t1egalt2
  bool correction_si_t1supt2 = false;   // CheckBox_correction_si_t1supt2
  bool inc_nom = true;                  // CheckBox_inc_nom
  bool int_col_alternatif = false;      // CheckBox_int_col_alternatif
  bool prelire_tous = false;            // CheckBox_prelire_tous
  bool recursif = false;                // CheckBox_recursif
  bool post_traitement = false;         // CheckBox_post_traitement
  bool decalage_actif = false;          // CheckBox_decalage_actif
  bool derive_active = false;           // CheckBox_derive_active
  bool delta_Y = false;                 // CheckBox_delta_Y
  bool derivees = false;                // CheckBox_derivees
  bool cumul_corriger = false;          // CheckBox_cumul_corriger
  // directories, each held with a final separator (empty: none chosen)
  std::string dossier_choisi_sortie;
  std::string dossier_choisi;
  std::string dossier_description;
  // texts
  std::string balise_deb;                // Edit_balise_deb
  std::string balise_fin;                // Edit_balise_fin
  std::string col_cochee_liste;          // Edit_col_cochee
  std::string equiv_na;                  // Edit_equiv_na
  std::string f_date_fichier;            // Edit_f_date_fichier
  std::string f_station;                 // Edit_f_station
  std::string format_date_mesure_seule;  // Edit_format_date_mesure_seule
  std::string format_datetime_mesure;    // Edit_format_datetime_mesure
  std::string format_time_mesure_seul;   // Edit_format_time_mesure_seul
  std::string masque;                    // Edit_masque
  std::string max_na;                    // Edit_max_na
  std::string min_na;                    // Edit_min_na
  std::string texte_na;                  // Edit_NA
  std::string name_prog_blocnote;        // Edit_name_prog_blocnote
  std::string nb_decimale;               // Edit_nb_decimale
  std::string new_desc_colonne;          // Edit_new_desc_colonne
  std::string nom_fic_sortie;            // Edit_nom_fic_sortie
  std::string num_col_date;              // Edit_num_col_date
  std::string num_col_datetime;          // Edit_num_col_datetime
  std::string num_col_time;              // Edit_num_col_time
  std::string num_feuille_excel;         // Edit_num_feuille_excel
  std::string num_ligne_donnee;          // Edit_num_ligne_donnee
  std::string num_ligne_intitule_col;    // Edit_num_ligne_intitule_col
  std::string nmax_lacune;               // Edit_nmax_lacune
  std::string nom_feuille;               // Label_nom_feuille
  std::string nom_fic_excel;             // Label_nom_fic_excel
  bool decalage_negatif = false;         // RadioButton_decalage_negatif
  bool decalage_positif = true;          // RadioButton_decalage_positif
  // option indexes
  Intitules avec_sans_intitule = Intitules::avec;
  int coul_nb = 0;  // 0 colours, 1 greys (kept within -1..1: -1 is no option)
  ColonnesDate datetime_nb_col = ColonnesDate::une;
  SeparateurDecimal decimal_entree = SeparateurDecimal::virgule;
  SeparateurDecimal decimal_sortie = SeparateurDecimal::virgule;
  Methode methode = Methode::moyenne;  // -moy -der -max -min -moy_ -sum
  DebutDonnees numlig_balise = DebutDonnees::numero_ligne;
  SeparateurColonne separateur_colonne = SeparateurColonne::tabulation;
  SeparateurSortie separateur_sortie = SeparateurSortie::tabulation;
  // graph window selections
  std::string suite_coche_liste_graph_deriv;
  std::string suite_coche_liste_graph;
  // times of day (fraction of a day) and date-time values
  double decalage = 0.0;        // TimePicker_decalage
  double derive_reelle = 0.0;   // TimePicker_derive_reelle
  double derive_erronee = 0.0;  // TimePicker_derive_erronee
  double constat_derive = 0.0;  // DateTimePicker_constat_derive
  double debut_derive = 0.0;    // DateTimePicker_debut_derive
  // last run's period, as label texts
  std::string min_dsc;  // Label_min_dsc
  std::string max_dsc;  // Label_max_dsc
  std::string pas_dsc;  // Label_pas_dsc

  bool operator==(const Description&) const = default;
};

using MembreParametre =
    std::variant<bool Description::*, int Description::*, std::string Description::*,
                 double Description::*, Intitules Description::*, ColonnesDate Description::*,
                 SeparateurDecimal Description::*, Methode Description::*,
                 DebutDonnees Description::*, SeparateurColonne Description::*,
                 SeparateurSortie Description::*>;

struct DefinitionParametre {
  const char* cle;
  TypeParametre type;
  MembreParametre membre;
  // Index settings: the last of their options (the first is 0). -1 when the
  // value is not checked against its options (the colour scheme's option
  // group brings any value back within them).
  int dernier_indice = -1;
};

// The rank of the option an index setting holds, and the option of a rank;
// `membre` names an index setting (an option or a whole number).
int lire_indice(const Description& d, const MembreParametre& membre);
void ecrire_indice(Description& d, const MembreParametre& membre, int indice);

// The 65 settings in the order of the DSC file.
const std::vector<DefinitionParametre>& parametres_description();
// The setting with exactly this key, or nullptr.
const DefinitionParametre* trouver_parametre(std::string_view cle);

// Method codes of indexes 0 to 5 ("-moy", ...), empty for any other index.
std::string code_methode(Methode methode);

// The text a setting is written as in a DSC file.
std::string valeur_en_texte(const Description& d, const DefinitionParametre& p);

// Sets a setting from its text, converted by its kind. False only for an
// index whose text is not a whole number or names no option of its setting
// (nothing changes then).
bool affecter_texte(Description& d, const DefinitionParametre& p, std::string_view valeur,
                    JournalSuivi& journal);

// The text of a setting's default, as a DSC file that lacks the key gives it.
// The output and description directories default to the program directory,
// settings 63 and 64 to the current date and time.
std::string texte_par_defaut(const DefinitionParametre& p, const std::string& repertoire_programme);

// A description holding every default.
Description description_par_defaut(const std::string& repertoire_programme);
// Every setting to its default except the three directories, which keep their values.
void appliquer_defauts(Description& d, const std::string& repertoire_programme);
// The values the main window holds from its creation until a description is read.
// The colour scheme comes from line 6 of the parameters file.
Description description_au_demarrage(int schema_couleurs);

// The data directory's default, a separator and a dot.
std::string dossier_donnees_par_defaut();
// Whether a data directory names no folder: empty, "." or the default, with
// either separator and with or without a final one ("\.\", "/./", "./").
bool dossier_donnees_absent(std::string_view dossier);

}  // namespace tamso
