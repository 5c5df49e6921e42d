#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "base/tracking_log.h"
#include "description/description.h"
#include "input/dates.h"
#include "input/files.h"

namespace tamso {
namespace {

const std::string kProg = "/opt/tamso/";

std::string texte(const Description& d, const char* cle) {
  const DefinitionParametre* p = trouver_parametre(cle);
  EXPECT_NE(p, nullptr) << cle;
  return p ? valeur_en_texte(d, *p) : std::string{};
}

bool affecter(Description& d, const char* cle, std::string_view valeur) {
  JournalSuivi j;
  const DefinitionParametre* p = trouver_parametre(cle);
  EXPECT_NE(p, nullptr) << cle;
  return p && affecter_texte(d, *p, valeur, j);
}

TEST(ModeleDescription, SixtyFiveUniqueKeysInFileOrder) {
  const auto& ps = parametres_description();
  ASSERT_EQ(ps.size(), 65u);
  EXPECT_STREQ(ps.front().cle, "CheckBox_aide_flottante.Checked");
  EXPECT_STREQ(ps[15].cle, "dossier_choisi_sortie");
  EXPECT_STREQ(ps[46].cle, "RadioGroup_avec_sans_intitule_ItemIndex");
  EXPECT_STREQ(ps[47].cle, "RadioGroup_coul_nb.ItemIndex");
  EXPECT_STREQ(ps[57].cle, "TimePicker_decalage");
  EXPECT_STREQ(ps.back().cle, "Label_pas_dsc.caption");
  std::set<std::string> cles;
  for (const auto& p : ps) cles.insert(p.cle);
  EXPECT_EQ(cles.size(), 65u);
  EXPECT_EQ(trouver_parametre("edit_masque.text"), nullptr);  // exact key only
}

TEST(ModeleDescription, DefaultsAsTexts) {
  const Description d = description_par_defaut(kProg);
  EXPECT_EQ(texte(d, "CheckBox_inc_nom.Checked"), "true");
  EXPECT_EQ(texte(d, "CheckBox_recursif.Checked"), "false");
  EXPECT_EQ(texte(d, "Edit_masque.text"), "*.csV");
  EXPECT_EQ(texte(d, "Edit_equiv_na.text"), "NA;-1;-99999;-99999.0;-99990.0");
  EXPECT_EQ(texte(d, "Edit_format_datetime_mesure.text"), "aaaa-mm-jjEhh:mn:ss");
  EXPECT_EQ(texte(d, "Edit_name_prog_blocnote.text"), "notepad.exe");
  EXPECT_EQ(texte(d, "Edit_nb_decimale.text"), "3");
  EXPECT_EQ(texte(d, "Edit_num_ligne_donnee.text"), "2");
  EXPECT_EQ(texte(d, "RadioButton_decalage_positif.Checked"), "true");
  EXPECT_EQ(texte(d, "RadioGroup_methode_ItemIndex"), "0");
  EXPECT_EQ(texte(d, "TimePicker_decalage"), "00:00:00");
  EXPECT_EQ(texte(d, "DateTimePicker_constat_derive"), "02/01/1900");
  EXPECT_EQ(texte(d, "Label_pas_dsc.caption"), "00:15:00");
  // Directories: the data directory is a separator and a dot, read back with
  // a final separator; the two others the program directory.
  EXPECT_EQ(d.dossier_choisi, std::string(1, kSeparateurChemin) + "." + kSeparateurChemin);
  EXPECT_EQ(d.dossier_choisi_sortie, kProg);
  EXPECT_EQ(d.dossier_description, kProg);
  // The last run's period defaults to now.
  ASSERT_EQ(d.min_dsc.size(), 19u);
  EXPECT_NEAR(*lire_date_heure(d.min_dsc), maintenant(), 2.0 / 86400);
}

TEST(ModeleDescription, ValuesAtProgramStart) {
  const Description d = description_au_demarrage(1);
  EXPECT_EQ(d.masque, "csv");
  EXPECT_EQ(d.balise_deb, "Date/time");
  EXPECT_EQ(d.balise_fin, "END OF DATA");
  EXPECT_EQ(d.name_prog_blocnote, "notepad++.exe ");
  EXPECT_EQ(d.num_col_time, "2");
  EXPECT_EQ(d.coul_nb, 1);
  EXPECT_EQ(d.dossier_choisi, "");
  EXPECT_EQ(texte(d, "DateTimePicker_debut_derive"), "09/04/2023 17:58:54");
  EXPECT_EQ(d.max_dsc, "date-heure");
  EXPECT_EQ(d.pas_dsc, "pas");
}

TEST(ModeleDescription, FlagsReadOnlyExactTrue) {
  Description d;
  for (const char* v : {"True", "TRUE", "", " true", "1"}) {
    d.recursif = true;
    ASSERT_TRUE(affecter(d, "CheckBox_recursif.Checked", v));
    EXPECT_FALSE(d.recursif) << v;
  }
  ASSERT_TRUE(affecter(d, "CheckBox_recursif.Checked", "true"));
  EXPECT_TRUE(d.recursif);
}

TEST(ModeleDescription, IndexesOutsideTheirOptionsAreRefused) {
  // Each index setting and its last option.
  const std::pair<const char*, int> derniers[] = {
      {"RadioGroup_avec_sans_intitule_ItemIndex", 1},
      {"RadioGroup_datetime_nb_col_ItemIndex", 1},
      {"RadioGroup_DECIMAL_SEPARATOR_entree_ItemIndex", 1},
      {"RadioGroup_DECIMAL_SEPARATOR_sortie_ItemIndex", 1},
      {"RadioGroup_methode_ItemIndex", 5},
      {"RadioGroup_numlig_balise_ItemIndex", 1},
      {"RadioGroup_separateur_colonne_ItemIndex", 3},
      {"RadioGroup_separateur_sortie_ItemIndex", 3}};
  for (const auto& [cle, dernier] : derniers) {
    Description d;
    ASSERT_TRUE(affecter(d, cle, std::to_string(dernier))) << cle;
    for (const std::string& hors : {std::to_string(dernier + 1), std::string("-1"),
                                    std::string("999999"), std::string("2.5"), std::string()}) {
      EXPECT_FALSE(affecter(d, cle, hors)) << cle << " " << hors;
      EXPECT_EQ(texte(d, cle), std::to_string(dernier)) << cle << " " << hors;  // unchanged
    }
  }
  // The colour scheme's option group brings any value back within its options.
  Description d;
  ASSERT_TRUE(affecter(d, "RadioGroup_coul_nb.ItemIndex", "5"));
  EXPECT_EQ(d.coul_nb, 1);
  ASSERT_TRUE(affecter(d, "RadioGroup_coul_nb.ItemIndex", "-3"));
  EXPECT_EQ(d.coul_nb, -1);
}

TEST(ModeleDescription, TimesKeepOnlyTheTimeOfDay) {
  Description a, b;
  ASSERT_TRUE(affecter(a, "TimePicker_decalage", "02/01/1900 00:00:00"));
  ASSERT_TRUE(affecter(b, "TimePicker_decalage", "00:00:00"));
  EXPECT_EQ(a.decalage, b.decalage);
  EXPECT_EQ(a.decalage, 0.0);
  ASSERT_TRUE(affecter(a, "TimePicker_derive_reelle", "07/11/2021 01:30:15"));
  EXPECT_EQ(texte(a, "TimePicker_derive_reelle"), "01:30:15");
  EXPECT_NEAR(a.derive_reelle, (3600 + 1800 + 15) / 86400.0, 1e-9);
}

TEST(ModeleDescription, DateTimesDropMidnight) {
  Description d;
  ASSERT_TRUE(affecter(d, "DateTimePicker_debut_derive", "07/11/2021"));
  EXPECT_EQ(texte(d, "DateTimePicker_debut_derive"), "07/11/2021");
  ASSERT_TRUE(affecter(d, "DateTimePicker_debut_derive", "07/11/2021 10:30:00"));
  EXPECT_EQ(texte(d, "DateTimePicker_debut_derive"), "07/11/2021 10:30:00");
  ASSERT_TRUE(affecter(d, "DateTimePicker_debut_derive", "2021-11-07 10:30"));
  EXPECT_EQ(texte(d, "DateTimePicker_debut_derive"), "07/11/2021 10:30:00");
}

TEST(ModeleDescription, DirectoriesGetAFinalSeparatorSelectionsAreTrimmed) {
  Description d;
  ASSERT_TRUE(affecter(d, "dossier_choisi", "/mesures/station1"));
  EXPECT_EQ(d.dossier_choisi, "/mesures/station1/");
  ASSERT_TRUE(affecter(d, "dossier_choisi", "D:\\mesures\\"));
  EXPECT_EQ(d.dossier_choisi, "D:\\mesures\\");
  ASSERT_TRUE(affecter(d, "dossier_choisi", ""));
  EXPECT_EQ(d.dossier_choisi, "");
  ASSERT_TRUE(affecter(d, "suite_coche_liste_graph", "  1,0,1  "));
  EXPECT_EQ(d.suite_coche_liste_graph, "1,0,1");
  ASSERT_TRUE(affecter(d, "Edit_NA.text", " x "));
  EXPECT_EQ(d.texte_na, " x ");  // texts are kept as given
}

TEST(ModeleDescription, ApplyDefaultsKeepsTheThreeDirectories) {
  Description d = description_au_demarrage(0);
  d.dossier_choisi = "/d/";
  d.dossier_description = "/desc/";
  d.dossier_choisi_sortie = "/out/";
  d.methode = Methode::minimum;
  d.recursif = true;
  appliquer_defauts(d, kProg);
  EXPECT_EQ(d.dossier_choisi, "/d/");
  EXPECT_EQ(d.dossier_description, "/desc/");
  EXPECT_EQ(d.dossier_choisi_sortie, "/out/");
  EXPECT_EQ(d.methode, Methode::moyenne);
  EXPECT_FALSE(d.recursif);
  EXPECT_EQ(d.masque, "*.csV");
}

TEST(ModeleDescription, MethodCodes) {
  EXPECT_EQ(code_methode(Methode::moyenne), "-moy");
  EXPECT_EQ(code_methode(Methode::derniere), "-der");
  EXPECT_EQ(code_methode(Methode::moyenne_comblee), "-moy_");
  EXPECT_EQ(code_methode(Methode::cumul), "-sum");
}

}  // namespace
}  // namespace tamso
