#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include "app/program_files.h"
#include "app/window_changes.h"
#include "input/files.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

class ChangementsFenetre : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    s().description_modifiee = false;
  }
};

// ---------------------------------------------------------------- settings

TEST_F(ChangementsFenetre, AnEditedTextOrTimeGoesIntoTheDescriptionAndMarksIt) {
  modifier_reglage(s(), &Description::nb_decimale, "5");
  EXPECT_EQ(d().nb_decimale, "5");
  EXPECT_TRUE(s().description_modifiee);
  s().description_modifiee = false;
  modifier_reglage(s(), &Description::decalage, 0.0625);  // 01:30:00
  EXPECT_EQ(d().decalage, 0.0625);
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_TRUE(port_.echanges.empty());
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
  const auto coches = [this] { return std::pair{d().delta_Y, d().derivees}; };
  cocher_reglage(s(), &Description::delta_Y, true);
  EXPECT_EQ(coches(), std::pair(true, false));
  cocher_reglage(s(), &Description::derivees, true);
  EXPECT_EQ(coches(), std::pair(false, true));
  cocher_reglage(s(), &Description::delta_Y, true);
  EXPECT_EQ(coches(), std::pair(true, false));
  // Unchecking one leaves the other as it is.
  cocher_reglage(s(), &Description::derivees, false);
  EXPECT_EQ(coches(), std::pair(true, false));
  cocher_reglage(s(), &Description::delta_Y, false);
  EXPECT_EQ(coches(), std::pair(false, false));
}

TEST_F(ChangementsFenetre, ForcedGrowthWarnsOnceAListExistsAndTheMethodIsNotMax) {
  d().methode = Methode::moyenne;
  cocher_reglage(s(), &Description::cumul_corriger, true);
  EXPECT_TRUE(port_.echanges.empty());  // no timestamp list built yet
  EXPECT_TRUE(d().cumul_corriger);

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
  const std::array<Couleur, 4> gris = {Couleur{240, 240, 240}, Couleur{215, 215, 215},
                                       Couleur{230, 230, 230}, Couleur{220, 220, 220}};
  EXPECT_TRUE(std::equal(gris.begin(), gris.end(), s().couleurs.begin()));
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

TEST_F(ChangementsFenetre, ColumnsToExtractAreCleanedOnLeavingAndWrittenOnEnter) {
  d().num_col_datetime = "1";
  d().dossier_description = programme_;
  s().nom_description = "station.dsc";
  valider_colonnes_saisies(s(), " 3; 5.,,7,", false);
  EXPECT_EQ(d().col_cochee_liste, "3,5,7");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_FALSE(fichier_existe(s().chemin_dsc()));
  EXPECT_TRUE(port_.echanges.empty());
  // The list is unchanged: Enter alone marks the description and writes it.
  s().description_modifiee = false;
  valider_colonnes_saisies(s(), "3,5,7", true);
  const auto lignes = lire_lignes_texte(s().chemin_dsc());
  ASSERT_TRUE(lignes.has_value());
  EXPECT_NE(std::find(lignes->begin(), lignes->end(), "Edit_col_cochee.text= 3,5,7"),
            lignes->end());
  EXPECT_FALSE(s().description_modifiee);  // written
}

// ---------------------------------------------------------------- period and file table

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

// After a Yes, the earliest date of the table becomes the start as it is;
// the earliest listed date-time is offered rounded down to the 15-minute step.
TEST_F(ChangementsFenetre, AClickedDateBecomesTheStart) {
  struct Cas {
    const char* label;
    const char* question;  // nullptr: not a clickable date, nothing asked
    const char* debut;
    std::optional<bool> modifiee;
  };
  const Cas cas[] = {
      {"Label_date_min", " récupérer la date min ?\n07/11/2021 10:07:00", "07/11/2021 10:07:00",
       true},
      {"Label_date_heure_min",
       " récupérer la date/heure mini ?\n\n(oui) 07/11/2021 10:00:00\n\n(non) 07/11/2021 "
       "10:07:00\n\n",
       "07/11/2021 10:00:00", std::nullopt},
      {"Label_nb_fic", nullptr, "", false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.label);
    port_.echanges.clear();
    s().description_modifiee = false;
    s().periode.pas = 15.0 / 1440;
    port_.reponses = {Reponse::oui};
    EXPECT_EQ(recuperer_date_cliquee(s(), c.label, "07/11/2021 10:07:00"), c.question != nullptr);
    EXPECT_EQ(port_.textes(),
              c.question ? std::vector<std::string>{c.question} : std::vector<std::string>{});
    if (c.question) {
      EXPECT_EQ(s().periode.debut, c.debut);
    }
    if (c.modifiee) {
      EXPECT_EQ(s().description_modifiee, *c.modifiee);
    }
  }
}

TEST_F(ChangementsFenetre, TheWholeTableIsAskedForAgain) {
  s().table.liste_partielle = true;
  demander_tableau_complet(s());
  EXPECT_FALSE(s().table.liste_partielle);
}

// ---------------------------------------------------------------- text editor

// The launcher records every command; the first `echecs` ones fail. After a
// failure of the user's editor, Yes makes the setting "notepad.exe"; either
// way the file is then opened with it. When "notepad.exe" (the platform's
// own way) fails, nothing is proposed and a message names the file.
TEST_F(ChangementsFenetre, TheEditorOfTheSettingOrItsFallback) {
  struct Cas {
    const char* reglage;
    std::string dossier, fichier;
    int echecs;
    Reponse reponse;
    IssueEditeur issue;
    std::vector<CommandeExterne> lances;
    const char* reglage_apres;
    std::vector<std::string> messages;  // the texts said, in order
  };
  const std::string question =
      "  Erreur de lecture: vérifier le nom du [blocnote] \n\n  remplacer blocnote.exe -n\n\n"
      "  par notepad.exe  => (Oui)\n\n";
  const std::string aucun = " aucun programme n'a pu ouvrir le fichier \n\n</d/f.txt>";
  const CommandeExterne blocnote{"blocnote.exe", {"/d/f.txt", "-n"}};
  const CommandeExterne notepad{"notepad.exe", {"/d/f.txt"}};
  const Cas cas[] = {
      {"blocnote.exe -n",
       "/d/",
       "f.txt",
       0,
       Reponse::oui,
       IssueEditeur::lance,
       {blocnote},
       "blocnote.exe -n",
       {}},
      // Notepad++ opens in the middle of the 1366 x 768 screen.
      {"notepad++.exe",
       "",
       "/d/f.txt",
       0,
       Reponse::oui,
       IssueEditeur::lance,
       {{"notepad++.exe", {"/d/f.txt", "-x783", "-y484", "-alwaysOnTop"}}},
       "notepad++.exe",
       {}},
      {"blocnote.exe -n",
       "/d/",
       "f.txt",
       1,
       Reponse::oui,
       IssueEditeur::remplace,
       {blocnote, notepad},
       "notepad.exe",
       {question}},
      {"blocnote.exe -n",
       "/d/",
       "f.txt",
       1,
       Reponse::non,
       IssueEditeur::abandonne,
       {blocnote, notepad},
       "blocnote.exe -n",
       {question}},
      {"blocnote.exe -n",
       "/d/",
       "f.txt",
       2,
       Reponse::non,
       IssueEditeur::abandonne,
       {blocnote, notepad},
       "blocnote.exe -n",
       {question, aucun}},
      // The setting is already the platform's own way: no question naming it again.
      {"notepad.exe",
       "/d/",
       "f.txt",
       1,
       Reponse::oui,
       IssueEditeur::echec,
       {notepad},
       "notepad.exe",
       {aucun}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(c.reglage) + " " + std::to_string(c.echecs));
    port_.echanges.clear();
    port_.reponses = {c.reponse};
    s().description_modifiee = false;
    // Typed by the user: started without the question about descriptions.
    modifier_reglage(s(), &Description::name_prog_blocnote, c.reglage);
    s().description_modifiee = false;
    std::vector<CommandeExterne> lances;
    const LanceurProgramme lanceur = [&lances, &c](const CommandeExterne& x) {
      lances.push_back(x);
      return static_cast<int>(lances.size()) > c.echecs;
    };
    EXPECT_EQ(editer_fichier(s(), c.dossier, c.fichier, 1366, 768, lanceur), c.issue);
    EXPECT_EQ(lances, c.lances);
    EXPECT_EQ(d().name_prog_blocnote, c.reglage_apres);
    EXPECT_EQ(s().description_modifiee, c.issue == IssueEditeur::remplace);
    std::vector<std::string> dits;
    for (const auto& e : port_.echanges) dits.push_back(e.texte);
    EXPECT_EQ(dits, c.messages);
  }
}

// An editor a description file brought is started only once the user
// allowed it, asked once; the answer is kept for the next sessions.
TEST_F(ChangementsFenetre, EditorNamedByADescriptionIsAskedOnce) {
  s().nom_description = "recue.dsc";
  d().name_prog_blocnote = "outil.sh --fort";
  const CommandeExterne bureau{"notepad.exe", {"/d/f.txt"}};
  std::vector<CommandeExterne> lances;
  const LanceurProgramme lanceur = [&lances](const CommandeExterne& x) {
    lances.push_back(x);
    return true;
  };
  // Refused: the platform's own way shows the file, and the refusal stays.
  port_.reponses = {Reponse::non};
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur), IssueEditeur::refuse);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            question_editeur_de_description("recue.dsc", "outil.sh --fort"));
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur), IssueEditeur::refuse);
  EXPECT_EQ(lances, (std::vector<CommandeExterne>{bureau, bureau}));
  EXPECT_EQ(port_.echanges.size(), 1u);
  // Another setting is asked about on its own; allowed, it starts from then
  // on, in a later session too (the answers are in the program's folder).
  d().name_prog_blocnote = "outil.sh";
  port_.reponses = {Reponse::oui};
  lances.clear();
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur), IssueEditeur::lance);
  Session autre(port_, OptionsSession{',', programme_});
  autre.description.name_prog_blocnote = "outil.sh";
  EXPECT_EQ(editer_fichier(autre, "/d/", "f.txt", 1366, 768, lanceur), IssueEditeur::lance);
  EXPECT_EQ(lances,
            (std::vector<CommandeExterne>{{"outil.sh", {"/d/f.txt"}}, {"outil.sh", {"/d/f.txt"}}}));
  EXPECT_EQ(port_.echanges.size(), 2u);
  // The first setting is still refused.
  d().name_prog_blocnote = "outil.sh --fort";
  EXPECT_EQ(editer_fichier(s(), "/d/", "f.txt", 1366, 768, lanceur), IssueEditeur::refuse);
  EXPECT_EQ(port_.echanges.size(), 2u);
}

// ---------------------------------------------------------------- user manual

// The manual is looked for in the program directory here (the session was
// given no other folder for its own files). Missing, it is named in the
// message and nothing starts; present, the ways are tried until one starts,
// and when none does the last message says so.
TEST_F(ChangementsFenetre, TheManualIsOpenedOrSaidMissing) {
  const std::string chemin = programme_ + "tamso_manuel.pdf";
  EXPECT_EQ(s().chemin_manuel(), chemin);
  std::vector<CommandeExterne> lances;
  int echecs = 0;
  const LanceurProgramme lanceur = [&lances, &echecs](const CommandeExterne& x) {
    lances.push_back(x);
    return static_cast<int>(lances.size()) > echecs;
  };

  EXPECT_FALSE(ouvrir_manuel(s(), lanceur, false));
  EXPECT_TRUE(lances.empty());
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::information);
  EXPECT_EQ(port_.dernier_texte(), "<" + chemin + "> introuvable");

  dossier_->ecrire("programme/tamso_manuel.pdf", "%PDF-1.4\n");
  ASSERT_TRUE(fichier_existe(chemin));
  port_.echanges.clear();
  EXPECT_TRUE(ouvrir_manuel(s(), lanceur, false));
  EXPECT_EQ(lances, (std::vector<CommandeExterne>{{"", {chemin}}}));
  EXPECT_TRUE(port_.echanges.empty());

  // Windows, where nothing starts: the three ways of a machine without the
  // fixed viewer are tried, then the message.
  lances.clear();
  echecs = 99;
  EXPECT_FALSE(ouvrir_manuel(s(), lanceur, true));
  ASSERT_EQ(lances.size(), 3u);
  EXPECT_EQ(lances[1].programme, "Acrobat.exe");
  EXPECT_EQ(port_.dernier_texte(), "Firefox et Acrobat introuvables");
}

}  // namespace
}  // namespace tamso
