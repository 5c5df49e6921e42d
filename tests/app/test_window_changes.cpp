#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/program_files.h"
#include "app/session.h"
#include "app/window_changes.h"
#include "input/files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

class ChangementsFenetre : public test::AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    session_ = std::make_unique<Session>(port_, OptionsSession{',', programme_});
    s().description = description_par_defaut(programme_);
    s().description_modifiee = false;
  }
  Session& s() { return *session_; }
  Description& d() { return session_->description; }

  InteractionScriptee port_;
  std::unique_ptr<Session> session_;
};

// ---------------------------------------------------------------- settings

TEST_F(ChangementsFenetre, AnEditedTextGoesIntoTheDescriptionAndMarksIt) {
  modifier_reglage(s(), &Description::nb_decimale, "5");
  EXPECT_EQ(d().nb_decimale, "5");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(ChangementsFenetre, AChangedTimeGoesIntoTheDescriptionAndMarksIt) {
  modifier_reglage(s(), &Description::decalage, 0.0625);  // 01:30:00
  EXPECT_EQ(d().decalage, 0.0625);
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(ChangementsFenetre, ACheckBoxMarksAndRefreshesTheTitlesOfTheColumnsToExtract) {
  d().col_cochee = true;
  d().col_cochee_liste = "2,3";
  d().int_col_alternatif = true;
  d().new_desc_colonne = "t1;t2;t3";
  cocher_reglage(s(), &Description::recursif, true);
  EXPECT_TRUE(d().recursif);
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(s().etiquette("Label_col_alternatives"), "=> t2 | t3");

  cocher_reglage(s(), &Description::col_cochee, false);
  EXPECT_FALSE(d().col_cochee);
  EXPECT_EQ(s().etiquette("Label_col_alternatives"), "---");
}

TEST_F(ChangementsFenetre, DeltaAndDerivativeExcludeEachOther) {
  cocher_reglage(s(), &Description::delta_Y, true);
  EXPECT_TRUE(d().delta_Y);
  cocher_reglage(s(), &Description::derivees, true);
  EXPECT_TRUE(d().derivees);
  EXPECT_FALSE(d().delta_Y);
  cocher_reglage(s(), &Description::delta_Y, true);
  EXPECT_TRUE(d().delta_Y);
  EXPECT_FALSE(d().derivees);
  // Unchecking one leaves the other as it is.
  cocher_reglage(s(), &Description::derivees, false);
  EXPECT_TRUE(d().delta_Y);
}

TEST_F(ChangementsFenetre, ForcedGrowthWarnsOnceAListExistsAndTheMethodIsNotMax) {
  d().methode = Methode::moyenne;
  cocher_reglage(s(), &Description::cumul_corriger, true);
  EXPECT_TRUE(port_.echanges.empty());  // no timestamp list built yet

  s().liste_horodatee.deja_generee = true;
  cocher_reglage(s(), &Description::cumul_corriger, true);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::avertissement);
  EXPECT_EQ(port_.dernier_texte(),
            " Il faudrait choisir l'option <max des n  mesures OK > \n pour bien traiter une "
            "valeur croissante (cumuls)");

  d().methode = Methode::maximum;
  cocher_reglage(s(), &Description::cumul_corriger, true);
  EXPECT_EQ(port_.echanges.size(), 1u);
  EXPECT_TRUE(d().cumul_corriger);
}

TEST_F(ChangementsFenetre, AnOptionGoesIntoTheDescriptionAndMarksIt) {
  choisir_option(s(), &Description::methode, 3);
  EXPECT_EQ(d().methode, Methode::minimum);
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(ChangementsFenetre, TheGreySchemeTakesTheFourGreys) {
  choisir_option(s(), &Description::coul_nb, 1);
  EXPECT_EQ(d().coul_nb, 1);
  EXPECT_EQ(s().couleurs[0], (Couleur{240, 240, 240}));
  EXPECT_EQ(s().couleurs[1], (Couleur{215, 215, 215}));
  EXPECT_EQ(s().couleurs[2], (Couleur{230, 230, 230}));
  EXPECT_EQ(s().couleurs[3], (Couleur{220, 220, 220}));
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(ChangementsFenetre, OneSignOfTheShiftUnchecksTheOther) {
  choisir_signe_decalage(s(), false);
  EXPECT_FALSE(d().decalage_positif);
  EXPECT_TRUE(d().decalage_negatif);
  EXPECT_TRUE(s().description_modifiee);
  choisir_signe_decalage(s(), true);
  EXPECT_TRUE(d().decalage_positif);
  EXPECT_FALSE(d().decalage_negatif);
}

TEST_F(ChangementsFenetre, AlternativeTitlesAreListedAgainOnEnterOrOnceModified) {
  EXPECT_FALSE(valider_intitules_alternatifs(s(), false));
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_TRUE(valider_intitules_alternatifs(s(), true));
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_TRUE(valider_intitules_alternatifs(s(), false));
}

TEST_F(ChangementsFenetre, LeavingTheColumnsToExtractCleansThemWithoutWriting) {
  d().num_col_datetime = "1";
  d().dossier_description = programme_;
  s().nom_description = "station.dsc";
  valider_colonnes_saisies(s(), " 3; 5.,,7,", false);
  EXPECT_EQ(d().col_cochee_liste, "3,5,7");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_FALSE(fichier_existe(s().chemin_dsc()));
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(ChangementsFenetre, EnterInTheColumnsToExtractWritesTheDescription) {
  d().num_col_datetime = "1";
  d().col_cochee_liste = "3,5,7";
  d().dossier_description = programme_;
  s().nom_description = "station.dsc";
  // The list is unchanged: Enter alone marks the description and writes it.
  valider_colonnes_saisies(s(), "3,5,7", true);
  const auto lignes = lire_lignes_texte(s().chemin_dsc());
  ASSERT_TRUE(lignes.has_value());
  EXPECT_NE(std::find(lignes->begin(), lignes->end(), "Edit_col_cochee.text= 3,5,7"),
            lignes->end());
  EXPECT_FALSE(s().description_modifiee);  // written
}

// ---------------------------------------------------------------- period

TEST_F(ChangementsFenetre, TheDateTestEmptiesTheResultsButLeavesTheDescriptionUnmarked) {
  s().resultats.lignes.push_back("temps\tT");
  s().resultats.lignes_valeurs.push_back("T");
  s().resultats.vue = EtatResultats::Vue::valeurs;
  choisir_test_date(s(), static_cast<int>(TestDate::inf_strict));
  EXPECT_EQ(s().periode.test_date, TestDate::inf_strict);
  EXPECT_TRUE(s().periode_modifiee);
  EXPECT_TRUE(s().resultats.lignes.empty());
  EXPECT_TRUE(s().resultats.lignes_valeurs.empty());
  EXPECT_EQ(s().resultats.vue, EtatResultats::Vue::liste);
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(ChangementsFenetre, TheEarliestFileDateOfTheTableBecomesTheStart) {
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(recuperer_date_cliquee(s(), "Label_date_min", "07/11/2021 10:07:00"));
  EXPECT_EQ(port_.dernier_texte(), " récupérer la date min ?\n07/11/2021 10:07:00");
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:07:00");
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(ChangementsFenetre, TheEarliestListedDateIsOfferedRoundedDownToTheStep) {
  s().periode.pas = 15.0 / 1440;
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(recuperer_date_cliquee(s(), "Label_date_heure_min", "07/11/2021 10:07:00"));
  EXPECT_EQ(port_.dernier_texte(),
            " récupérer la date/heure mini ?\n\n(oui) 07/11/2021 10:00:00\n\n(non) 07/11/2021 "
            "10:07:00\n\n");
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:00:00");
}

TEST_F(ChangementsFenetre, ALabelThatIsNotAClickableDateTakesNothing) {
  EXPECT_FALSE(recuperer_date_cliquee(s(), "Label_nb_fic", "07/11/2021 10:07:00"));
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_FALSE(s().description_modifiee);
}

// ---------------------------------------------------------------- file table

TEST_F(ChangementsFenetre, TheWholeTableIsAskedForAgain) {
  s().table.liste_partielle = true;
  demander_tableau_complet(s());
  EXPECT_FALSE(s().table.liste_partielle);
}

// ---------------------------------------------------------------- text editor

class EditeurFenetre : public ChangementsFenetre {
 protected:
  // Records every command; the first `echecs` ones fail.
  LanceurProgramme lanceur() {
    return [this](const CommandeExterne& c) {
      lances_.push_back(c);
      return static_cast<int>(lances_.size()) > echecs_;
    };
  }
  std::vector<CommandeExterne> lances_;
  int echecs_ = 0;
};

TEST_F(EditeurFenetre, TheEditorOfTheSettingOpensTheFileWithItsParameters) {
  d().name_prog_blocnote = "blocnote.exe -n";
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur()), IssueEditeur::lance);
  ASSERT_EQ(lances_.size(), 1u);
  EXPECT_EQ(lances_[0], (CommandeExterne{"blocnote.exe", {"/d/f.txt", "-n"}}));
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(EditeurFenetre, NotepadPlusPlusOpensInTheMiddleOfTheScreen) {
  d().name_prog_blocnote = "notepad++.exe";
  editer_fichier(s(), "", "/d/f.txt", 1366, 768, lanceur());
  ASSERT_EQ(lances_.size(), 1u);
  EXPECT_EQ(lances_[0], (CommandeExterne{"notepad++.exe",
                                         {"/d/f.txt", "-x783", "-y484", "-alwaysOnTop"}}));
}

TEST_F(EditeurFenetre, AYesAfterAFailureMakesTheSettingNotepadAndOpensTheFile) {
  d().name_prog_blocnote = "blocnote.exe -n";
  echecs_ = 1;
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur()), IssueEditeur::remplace);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::avertissement);
  EXPECT_EQ(port_.echanges[0].boutons, Boutons::oui_non);
  EXPECT_EQ(port_.dernier_texte(),
            "  Erreur de lecture: vérifier le nom du [blocnote] \n\n  remplacer blocnote.exe "
            "-n\n\n  par notepad.exe  => (Oui)\n\n");
  EXPECT_EQ(d().name_prog_blocnote, "notepad.exe");
  EXPECT_TRUE(s().description_modifiee);
  ASSERT_EQ(lances_.size(), 2u);
  EXPECT_EQ(lances_[1], (CommandeExterne{"notepad.exe", {"/d/f.txt"}}));
}

TEST_F(EditeurFenetre, ANoAfterAFailureKeepsTheSetting) {
  d().name_prog_blocnote = "blocnote.exe";
  echecs_ = 1;
  port_.reponses = {Reponse::non};
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur()), IssueEditeur::abandonne);
  EXPECT_EQ(d().name_prog_blocnote, "blocnote.exe");
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_EQ(lances_.size(), 1u);
}

}  // namespace
}  // namespace tamso
