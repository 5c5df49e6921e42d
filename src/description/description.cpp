#include "description/description.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

#include "base/tracking_log.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

using D = Description;
using T = TypeParametre;

// Default and start-of-program texts of every setting, in file order. The
// markers below stand for values known only at run time.
constexpr const char* kRepProgramme = "\x01programme";
constexpr const char* kMaintenant = "\x01maintenant";
constexpr const char* kVide = "";

struct Valeurs {
  const char* defaut;
  const char* demarrage;
};

struct Ligne {
  DefinitionParametre def;
  Valeurs valeurs;
};

// Every setting with its two texts, in the order of the DSC file.
constexpr Ligne kTable[] = {
    {{"CheckBox_aide_flottante.Checked", T::drapeau, &D::aide_flottante}, {"false", "false"}},
    {{"CheckBox_car_null.Checked", T::drapeau, &D::car_null}, {"false", "false"}},
    {{"CheckBox_col_cochee.Checked", T::drapeau, &D::col_cochee}, {"false", "false"}},
    {{"CheckBox_correction_si_t1egalt2.Checked", T::drapeau, &D::correction_si_t1egalt2},
     {"false", "false"}},
    {{"CheckBox_correction_si_t1supt2.Checked", T::drapeau, &D::correction_si_t1supt2},
     {"false", "false"}},
    {{"CheckBox_inc_nom.Checked", T::drapeau, &D::inc_nom}, {"true", "true"}},
    {{"CheckBox_int_col_alternatif.Checked", T::drapeau, &D::int_col_alternatif},
     {"false", "false"}},
    {{"CheckBox_prelire_tous.Checked", T::drapeau, &D::prelire_tous}, {"false", "false"}},
    {{"CheckBox_recursif.Checked", T::drapeau, &D::recursif}, {"false", "false"}},
    {{"CheckBox_post_traitement.Checked", T::drapeau, &D::post_traitement}, {"false", "false"}},
    {{"CheckBox_decalage_actif.Checked", T::drapeau, &D::decalage_actif}, {"false", "false"}},
    {{"CheckBox_derive_active.Checked", T::drapeau, &D::derive_active}, {"false", "false"}},
    {{"CheckBox_delta_Y.Checked", T::drapeau, &D::delta_Y}, {"false", "false"}},
    {{"CheckBox_derivees.Checked", T::drapeau, &D::derivees}, {"false", "false"}},
    {{"CheckBox_cumul_corriger.Checked", T::drapeau, &D::cumul_corriger}, {"false", "false"}},
    {{"dossier_choisi_sortie", T::repertoire, &D::dossier_choisi_sortie}, {kRepProgramme, kVide}},
    {{"dossier_choisi", T::repertoire, &D::dossier_choisi}, {"\x01point", kVide}},
    {{"dossier_description", T::repertoire, &D::dossier_description}, {kRepProgramme, kVide}},
    {{"Edit_balise_deb.text", T::texte, &D::balise_deb}, {"DATA", "Date/time"}},
    {{"Edit_balise_fin.text", T::texte, &D::balise_fin}, {"END", "END OF DATA"}},
    {{"Edit_col_cochee.text", T::texte, &D::col_cochee_liste}, {"1,2,3", kVide}},
    {{"Edit_equiv_na.text", T::texte, &D::equiv_na},
     {"NA;-1;-99999;-99999.0;-99990.0", "NA;-1;-99999;-99999.000;-99990.0"}},
    {{"Edit_f_date_fichier.text", T::texte, &D::f_date_fichier}, {kVide, kVide}},
    {{"Edit_f_station.text", T::texte, &D::f_station}, {kVide, "1"}},
    {{"Edit_format_date_mesure_seule.text", T::texte, &D::format_date_mesure_seule},
     {"aaaa-mm-jj", "aaaa_mm_jj"}},
    {{"Edit_format_datetime_mesure.text", T::texte, &D::format_datetime_mesure},
     {"aaaa-mm-jjEhh:mn:ss", "aaaa_mm_jj_hh_mn_ss"}},
    {{"Edit_format_time_mesure_seul.text", T::texte, &D::format_time_mesure_seul},
     {"hh:mn:ss", "hh_mn_ss"}},
    {{"Edit_masque.text", T::texte, &D::masque}, {"*.csV", "csv"}},
    {{"Edit_max_na.text", T::texte, &D::max_na}, {kVide, kVide}},
    {{"Edit_min_na.text", T::texte, &D::min_na}, {kVide, kVide}},
    {{"Edit_NA.text", T::texte, &D::texte_na}, {kVide, "#N/A"}},
    {{"Edit_name_prog_blocnote.text", T::texte, &D::name_prog_blocnote},
     {"notepad.exe", "notepad++.exe "}},
    {{"Edit_nb_decimale.text", T::texte, &D::nb_decimale}, {"3", "2"}},
    {{"Edit_new_desc_colonne.text", T::texte, &D::new_desc_colonne}, {kVide, kVide}},
    {{"Edit_nom_fic_sortie.text", T::texte, &D::nom_fic_sortie}, {"A", "A10"}},
    {{"Edit_num_col_date.text", T::texte, &D::num_col_date}, {"1", "1"}},
    {{"Edit_num_col_datetime.text", T::texte, &D::num_col_datetime}, {"1", "1"}},
    {{"Edit_num_col_time.text", T::texte, &D::num_col_time}, {"1", "2"}},
    {{"Edit_num_feuille_excel.text", T::texte, &D::num_feuille_excel}, {"1", "1"}},
    {{"Edit_num_ligne_donnee.text", T::texte, &D::num_ligne_donnee}, {"2", "2"}},
    {{"Edit_num_ligne_intitule_col.text", T::texte, &D::num_ligne_intitule_col}, {"1", "1"}},
    {{"Edit_nmax_lacune.text", T::texte, &D::nmax_lacune}, {"1", "3"}},
    {{"Label_nom_feuille.caption", T::texte, &D::nom_feuille}, {kVide, "nom"}},
    {{"Label_nom_fic_excel.caption", T::texte, &D::nom_fic_excel}, {kVide, kVide}},
    {{"RadioButton_decalage_negatif.Checked", T::drapeau, &D::decalage_negatif},
     {"false", "false"}},
    {{"RadioButton_decalage_positif.Checked", T::drapeau, &D::decalage_positif}, {"true", "true"}},
    {{"RadioGroup_avec_sans_intitule_ItemIndex", T::indice, &D::avec_sans_intitule, 1}, {"0", "0"}},
    {{"RadioGroup_coul_nb.ItemIndex", T::indice, &D::coul_nb}, {"0", "\x01schema"}},
    {{"RadioGroup_datetime_nb_col_ItemIndex", T::indice, &D::datetime_nb_col, 1}, {"0", "0"}},
    {{"RadioGroup_DECIMAL_SEPARATOR_entree_ItemIndex", T::indice, &D::decimal_entree, 1},
     {"0", "0"}},
    {{"RadioGroup_DECIMAL_SEPARATOR_sortie_ItemIndex", T::indice, &D::decimal_sortie, 1},
     {"0", "0"}},
    {{"RadioGroup_methode_ItemIndex", T::indice, &D::methode, 5}, {"0", "0"}},
    {{"RadioGroup_numlig_balise_ItemIndex", T::indice, &D::numlig_balise, 1}, {"0", "0"}},
    {{"RadioGroup_separateur_colonne_ItemIndex", T::indice, &D::separateur_colonne, 3}, {"0", "0"}},
    {{"RadioGroup_separateur_sortie_ItemIndex", T::indice, &D::separateur_sortie, 3}, {"0", "0"}},
    {{"suite_coche_liste_graph_deriv", T::selection, &D::suite_coche_liste_graph_deriv},
     {kVide, kVide}},
    {{"suite_coche_liste_graph", T::selection, &D::suite_coche_liste_graph}, {kVide, kVide}},
    {{"TimePicker_decalage", T::heure, &D::decalage}, {"02/01/1900 00:00:00", "00:00:00"}},
    {{"TimePicker_derive_reelle", T::heure, &D::derive_reelle},
     {"02/01/1900 00:00:00", "00:00:00"}},
    {{"TimePicker_derive_erronee", T::heure, &D::derive_erronee},
     {"02/01/1900 00:00:00", "00:00:00"}},
    {{"DateTimePicker_constat_derive", T::date_heure, &D::constat_derive},
     {"02/01/1900 00:00:00", "09/04/2023 17:58:54"}},
    {{"DateTimePicker_debut_derive", T::date_heure, &D::debut_derive},
     {"02/01/1900 00:00:00", "09/04/2023 17:58:54"}},
    {{"Label_min_dsc.caption", T::texte_date_heure, &D::min_dsc},
     {kMaintenant, "02/04/2023 07:29:32"}},
    {{"Label_max_dsc.caption", T::texte_date_heure, &D::max_dsc}, {kMaintenant, "date-heure"}},
    {{"Label_pas_dsc.caption", T::texte, &D::pas_dsc}, {"00:15:00", "pas"}},
};

const Ligne* ligne_de(const DefinitionParametre& p) {
  for (const auto& l : kTable)
    if (&l.def == &p || std::string_view(l.def.cle) == p.cle) return &l;
  return nullptr;
}

bool est_repertoire(const DefinitionParametre& p) {
  return p.type == T::repertoire;
}

std::string resoudre(const char* valeur, const std::string& repertoire_programme,
                     int schema_couleurs) {
  const std::string_view v = valeur;
  if (v == kRepProgramme) return avec_barre_finale(repertoire_programme);
  if (v == kMaintenant) return date_heure_en_texte(maintenant());
  if (v == "\x01point") return dossier_donnees_par_defaut();
  if (v == "\x01schema") return std::to_string(schema_couleurs);
  return std::string(v);
}

}  // namespace

std::string dossier_donnees_par_defaut() {
  return std::string(1, kSeparateurChemin) + ".";
}

bool dossier_donnees_absent(std::string_view dossier) {
  const auto separateur = [](char c) { return c == '/' || c == '\\'; };
  std::string_view d = trim_vue(dossier);
  if (d.size() > 1 && separateur(d.back())) d.remove_suffix(1);
  if (d.size() == 2 && separateur(d.front())) d.remove_prefix(1);
  return d.empty() || d == ".";
}

const std::vector<DefinitionParametre>& parametres_description() {
  static const std::vector<DefinitionParametre> defs = [] {
    std::vector<DefinitionParametre> v;
    for (const auto& l : kTable) v.push_back(l.def);
    return v;
  }();
  return defs;
}

const DefinitionParametre* trouver_parametre(std::string_view cle) {
  for (const auto& p : parametres_description())
    if (cle == p.cle) return &p;
  return nullptr;
}

std::string code_methode(Methode methode) {
  static const char* kCodes[] = {"-moy", "-der", "-max", "-min", "-moy_", "-sum"};
  return kCodes[indice(methode)];
}

int lire_indice(const Description& d, const MembreParametre& membre) {
  return std::visit(
      [&d](auto m) {
        using Valeur = std::remove_cv_t<std::remove_reference_t<decltype(d.*m)>>;
        if constexpr (std::is_same_v<Valeur, int> || std::is_enum_v<Valeur>)
          return static_cast<int>(d.*m);
        else
          return 0;
      },
      membre);
}

void ecrire_indice(Description& d, const MembreParametre& membre, int indice) {
  std::visit(
      [&d, indice](auto m) {
        using Valeur = std::remove_reference_t<decltype(d.*m)>;
        if constexpr (std::is_same_v<Valeur, int> || std::is_enum_v<Valeur>)
          d.*m = static_cast<Valeur>(indice);
      },
      membre);
}

std::string valeur_en_texte(const Description& d, const DefinitionParametre& p) {
  switch (p.type) {
    case T::drapeau:
      return booleen_en_texte(d.*std::get<bool D::*>(p.membre));
    case T::indice:
      return std::to_string(lire_indice(d, p.membre));
    case T::heure:
      return heure_en_texte(d.*std::get<double D::*>(p.membre));
    case T::date_heure:
      return date_heure_courte_en_texte(d.*std::get<double D::*>(p.membre));
    case T::texte:
    case T::repertoire:
    case T::texte_date_heure:
    case T::selection:
      return d.*std::get<std::string D::*>(p.membre);
  }
  return {};
}

bool affecter_texte(Description& d, const DefinitionParametre& p, std::string_view valeur,
                    JournalSuivi& journal) {
  switch (p.type) {
    case T::drapeau:
      d.*std::get<bool D::*>(p.membre) = texte_en_booleen(valeur);
      return true;
    case T::indice: {
      const auto n = lire_entier(valeur);
      if (!n || *n < INT32_MIN || *n > INT32_MAX) return false;
      // An index that names none of its options is refused: taken as it is,
      // it would sum values under an empty caption or split lines at nothing.
      if (p.dernier_indice >= 0 && (*n < 0 || *n > p.dernier_indice)) return false;
      int v = static_cast<int>(*n);
      // The colour scheme's option group brings a value back within its
      // options: above the last, the last; below the first, none.
      if (p.membre == MembreParametre(&D::coul_nb)) v = v > 1 ? 1 : (v < 0 ? -1 : v);
      ecrire_indice(d, p.membre, v);
      return true;
    }
    case T::heure: {
      // Only the time of day counts.
      // A text that is no time leaves the picker at 00:00:00.
      const double v = texte_en_date(valeur, nullptr, journal).value_or(0.0);
      d.*std::get<double D::*>(p.membre) = v - std::floor(v);
      return true;
    }
    case T::date_heure:
      // A text that is no date leaves the picker at its origin.
      d.*std::get<double D::*>(p.membre) = texte_en_date(valeur, nullptr, journal).value_or(0.0);
      return true;
    case T::repertoire:
      d.*std::get<std::string D::*>(p.membre) = avec_barre_finale(valeur);
      return true;
    case T::selection:
      d.*std::get<std::string D::*>(p.membre) = trim(valeur);
      return true;
    case T::texte:
    case T::texte_date_heure:
      d.*std::get<std::string D::*>(p.membre) = std::string(valeur);
      return true;
  }
  return true;
}

std::string texte_par_defaut(const DefinitionParametre& p,
                             const std::string& repertoire_programme) {
  const Ligne* l = ligne_de(p);
  return l ? resoudre(l->valeurs.defaut, repertoire_programme, 0) : std::string{};
}

Description description_par_defaut(const std::string& repertoire_programme) {
  Description d;
  JournalSuivi ignore;
  for (const auto& l : kTable)
    affecter_texte(d, l.def, resoudre(l.valeurs.defaut, repertoire_programme, 0), ignore);
  return d;
}

void appliquer_defauts(Description& d, const std::string& repertoire_programme) {
  JournalSuivi ignore;
  for (const auto& l : kTable)
    if (!est_repertoire(l.def))
      affecter_texte(d, l.def, resoudre(l.valeurs.defaut, repertoire_programme, 0), ignore);
}

Description description_au_demarrage(int schema_couleurs) {
  Description d;
  JournalSuivi ignore;
  for (const auto& l : kTable)
    affecter_texte(d, l.def, resoudre(l.valeurs.demarrage, "", schema_couleurs), ignore);
  return d;
}

}  // namespace tamso
