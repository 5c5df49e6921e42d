#include <gtest/gtest.h>

#include <memory>

#include "app/setting_edits.h"
#include "app/session.h"
#include "app/program_files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "app/run.h"
#include "app/window_colours.h"
#include "app/log_commands.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

class OperationsFenetre : public test::AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    session_ = std::make_unique<Session>(port_, OptionsSession{',', programme_});
    s().description = description_par_defaut(programme_);
  }
  Session& s() { return *session_; }
  Description& d() { return session_->description; }

  InteractionScriptee port_;
  std::unique_ptr<Session> session_;
};

// ---------------------------------------------------------------- columns to extract

TEST_F(OperationsFenetre, ColumnListIsCleanedOfBlanksSeparatorsAndDoubledCommas) {
  d().num_col_datetime = "1";
  const auto r = nettoyer_colonnes_a_extraire(" 3; 5.,,7,", d());
  EXPECT_EQ(r.liste, "3,5,7");
  EXPECT_FALSE(r.entrees_retirees);
}

TEST_F(OperationsFenetre, DateTimeColumnIsRemovedFromTheList) {
  d().num_col_datetime = "1";
  const auto r = nettoyer_colonnes_a_extraire("1,3", d());
  EXPECT_EQ(r.liste, "3");
  EXPECT_TRUE(r.entrees_retirees);
}

TEST_F(OperationsFenetre, WithTwoDateColumnsBothAreRemoved) {
  d().datetime_nb_col = ColonnesDate::deux;
  d().num_col_date = "2";
  d().num_col_time = "3";
  const auto r = nettoyer_colonnes_a_extraire("2,3,4,1", d());
  EXPECT_EQ(r.liste, "4,1");
  EXPECT_TRUE(r.entrees_retirees);
}

TEST_F(OperationsFenetre, RemovalIsToldOnlyWhenTheBoxIsChecked) {
  d().num_col_datetime = "1";
  d().col_cochee = true;
  valider_colonnes_a_extraire(s(), "1,3");
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.dernier_texte(),
            " Il a fallu enlever le n° de la colonne date/time de la liste des colonnes à "
            "extraire\n\n  de <1,3>\n\n   à <3>");
  EXPECT_EQ(d().col_cochee_liste, "3");
  EXPECT_TRUE(s().description_modifiee);

  port_.echanges.clear();
  d().col_cochee = false;
  valider_colonnes_a_extraire(s(), "1,4");
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_EQ(d().col_cochee_liste, "4");
}

TEST_F(OperationsFenetre, AnUnchangedListLeavesTheDescriptionUnmodified) {
  d().col_cochee_liste = "2,3";
  valider_colonnes_a_extraire(s(), "2,3");
  EXPECT_FALSE(s().description_modifiee);
}

// ---------------------------------------------------------------- titles of the columns

TEST_F(OperationsFenetre, TitlesLabelShowsDashesWhenTheBoxIsUnchecked) {
  d().col_cochee = false;
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "---");
}

TEST_F(OperationsFenetre, TitlesLabelTakesTheTitlesOfTheFirstFile) {
  d().col_cochee = true;
  d().col_cochee_liste = "3;2";
  s().intitule_origine = "Date\tTemp\tNiveau";
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "=> Niveau | Temp");
}

TEST_F(OperationsFenetre, TitlesLabelTakesTheAlternativeTitlesWhenAsked) {
  d().col_cochee = true;
  d().col_cochee_liste = "2";
  d().int_col_alternatif = true;
  d().new_desc_colonne = "t,h,p";
  s().intitule_origine = "Date\tTemp\tNiveau";
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "=> h");
}

TEST_F(OperationsFenetre, TitlesLabelSplitsBlankSeparatedTitles) {
  d().col_cochee = true;
  d().col_cochee_liste = "2,3";
  d().separateur_colonne = SeparateurColonne::espace;
  s().intitule_origine = "Date   Temp   Niveau";
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "=> Temp | Niveau");
}

TEST_F(OperationsFenetre, TitlesLabelStaysWhileTheListIsBeingTyped) {
  d().col_cochee = true;
  d().col_cochee_liste = "2,";
  s().intitule_origine = "a;b";
  EXPECT_FALSE(titres_colonnes_a_extraire(s()).has_value());
  d().col_cochee_liste = "";
  EXPECT_FALSE(titres_colonnes_a_extraire(s()).has_value());
}

TEST_F(OperationsFenetre, TitlesLabelIsEmptyWithoutTitles) {
  d().col_cochee = true;
  d().col_cochee_liste = "2";
  s().intitule_origine = "";
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "");
}

TEST_F(OperationsFenetre, NonIntegerColumnInTheTitlesIsReported) {
  d().col_cochee = true;
  d().col_cochee_liste = "2,x";
  s().intitule_origine = "a;b";
  s().etiquette("Label_col_alternatives") = "avant";
  rafraichir_titres_colonnes(s());
  EXPECT_EQ(port_.dernier_texte(), "'x' n'est pas une valeur entière correcte");
  EXPECT_EQ(s().etiquette("Label_col_alternatives"), "avant");
}

// ---------------------------------------------------------------- formats

TEST_F(OperationsFenetre, DateTimeFormatWithThreeMIsCorrectedSilently) {
  valider_format_datetime(s(), "aaaa-mm-jj hh:mm:ss");
  EXPECT_EQ(d().format_datetime_mesure, "aaaa-mm-jj_hh:mn:ss");
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(OperationsFenetre, DateTimeFormatWithFourMBringsTheWarning) {
  valider_format_datetime(s(), "aaaa-mm-jj hh mm ss");
  EXPECT_EQ(d().format_datetime_mesure, "aaaa-mm-jj_hh_mm_ss");
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.dernier_texte(),
            " il y a 4 \"m\", vérifier que les minutes soient \"mn\" et non \"mm\" comme les "
            "mois !");
}

TEST_F(OperationsFenetre, SemicolonsBecomeColonsAndFileDatePointsBecomeCommas) {
  EXPECT_EQ(nettoyer_format("aaaa.mm.jj", true), "aaaa,mm,jj");
  EXPECT_EQ(nettoyer_format("aaaa.mm.jj", false), "aaaa.mm.jj");
}

// A blank is a filler: removing it would move every later code one place.
TEST_F(OperationsFenetre, BlanksInsideAFormatKeepTheirPlace) {
  EXPECT_EQ(nettoyer_format(" jj/mm/aaaa hh;mm;ss ", false), "jj/mm/aaaa_hh:mn:ss");
  EXPECT_EQ(nettoyer_format("aaaa-mm-jj  hh:mn", false), "aaaa-mm-jj__hh:mn");
  EXPECT_EQ(nettoyer_format("aaaa mm jj,5", true), "aaaa_mm_jj,5");
  EXPECT_EQ(nettoyer_format("3(xxxx), /, 3(0000xx) ,/,3(000000xx)", true),
            "3(xxxx),/,3(0000xx),/,3(000000xx)");
  valider_format_datetime(s(), "aaaa-mm-jj hh:mn:ss");
  EXPECT_EQ(d().format_datetime_mesure, "aaaa-mm-jj_hh:mn:ss");
  valider_format_date_fichier(s(), "aaaa mm jj,3");
  EXPECT_EQ(d().f_date_fichier, "aaaa_mm_jj,3");
}

TEST_F(OperationsFenetre, DateOnlyFormatLosesItsTime) {
  EXPECT_EQ(nettoyer_format_date_seule("jj/mm/aaaa hh:mm"), "jj/mm/aaaa");
  valider_format_date_seule(s(), "aaaa-mm-jj hh mm");
  EXPECT_EQ(d().format_date_mesure_seule, "aaaa-mm-jj_hh_mm");
  EXPECT_TRUE(port_.echanges.empty());  // no four-"m" check here
}

// ---------------------------------------------------------------- equivalences

TEST_F(OperationsFenetre, EquivalencesKeepADecimalComma) {
  EXPECT_EQ(nettoyer_equivalences("NA,-99999,0"), "NA,-99999,0");
  EXPECT_EQ(nettoyer_equivalences("NA,5"), "NA,5");
  EXPECT_EQ(nettoyer_equivalences("NA,E5"), "NA,E5");
}

TEST_F(OperationsFenetre, EquivalencesCommaBeforeATextBecomesASemicolon) {
  EXPECT_EQ(nettoyer_equivalences("NA,V;-1"), "NA;V;-1");
  EXPECT_EQ(nettoyer_equivalences("NA,"), "NA,");
}

TEST_F(OperationsFenetre, MoreThanSevenEquivalencesAreWarned) {
  valider_equivalences(s(), "a;b;c;d;e;f;g");
  EXPECT_TRUE(port_.echanges.empty());
  valider_equivalences(s(), "a;b;c;d;e;f;g;h");
  EXPECT_EQ(port_.dernier_texte(),
            "seules les 7 première équivalences seront prises en compte\n\n   en restreindre le "
            "nombre...");
  EXPECT_EQ(d().equiv_na, "a;b;c;d;e;f;g;h");
}

// ---------------------------------------------------------------- line numbers

TEST_F(OperationsFenetre, FirstDataLineMustFollowTheTitleLine) {
  d().avec_sans_intitule = Intitules::avec;
  d().num_ligne_intitule_col = "3";
  d().num_ligne_donnee = "3";
  s().description_modifiee = false;
  EXPECT_FALSE(valider_num_ligne_donnee(s()));
  EXPECT_EQ(port_.dernier_texte(),
            " la valeur 3 n'est pas valide comme n° de ligne de donnée par rapport à celui de "
            "l'intitulés de colonnes : 3 ...");
  EXPECT_FALSE(s().description_modifiee);

  d().num_ligne_donnee = "4";
  EXPECT_TRUE(valider_num_ligne_donnee(s()));
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(OperationsFenetre, WithoutTitlesAnyFirstDataLineIsAccepted) {
  d().avec_sans_intitule = Intitules::sans;
  d().num_ligne_intitule_col = "5";
  d().num_ligne_donnee = "2";
  EXPECT_TRUE(valider_num_ligne_donnee(s()));
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(OperationsFenetre, NonIntegerFirstDataLineIsReported) {
  d().avec_sans_intitule = Intitules::avec;
  d().num_ligne_donnee = "2a";
  EXPECT_FALSE(valider_num_ligne_donnee(s()));
  EXPECT_EQ(port_.dernier_texte(), "'2a' n'est pas une valeur entière correcte");
}

// ---------------------------------------------------------------- Enter and the mask

TEST_F(OperationsFenetre, EnterWithoutMatchingFileSaysSo) {
  d().dossier_choisi = dossier_->sous_dossier("vide");
  d().masque = "dat";
  s().description_modifiee = true;
  valider_par_entree(s());
  EXPECT_EQ(port_.dernier_texte(), " Aucun fichier ayant l'extension dat        \n");
  EXPECT_EQ(s().etiquette("Label54"), "0");
}

TEST_F(OperationsFenetre, EnterDoesNothingWhenTheDescriptionIsUnmodified) {
  d().dossier_choisi = dossier_->sous_dossier("vide");
  s().description_modifiee = false;
  valider_par_entree(s());
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(OperationsFenetre, EnterListsTheMatchingFiles) {
  const std::string dossier = dossier_->sous_dossier("donnees");
  dossier_->ecrire("donnees/a.csv", "Date;Temp\r\n2021-03-12 10:00:00;1,5\r\n");
  d().dossier_choisi = dossier;
  d().masque = "*.csv";
  d().separateur_colonne = SeparateurColonne::point_virgule;
  d().format_datetime_mesure = "aaaa-mm-jj hh:mn:ss";
  s().description_modifiee = true;
  valider_par_entree(s());
  EXPECT_EQ(s().etiquette("Label54"), "1");
  EXPECT_EQ(s().table.cellule(1, 1), "a.csv");
}

TEST_F(OperationsFenetre, MaskRefusesStarAndPoint) {
  EXPECT_TRUE(caractere_refuse_masque('*'));
  EXPECT_TRUE(caractere_refuse_masque('.'));
  EXPECT_FALSE(caractere_refuse_masque('c'));
}

TEST_F(OperationsFenetre, MaskPppDoesNotMarkTheDescription) {
  changer_masque(s(), "ppp");
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_EQ(s().source, SourceDonnees::presse_papier);
  changer_masque(s(), "xlsx");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(s().source, SourceDonnees::excel);
}

// ---------------------------------------------------------------- check boxes

TEST_F(OperationsFenetre, DeltaAndDerivativeExcludeEachOther) {
  cocher_delta_y(s(), true);
  EXPECT_TRUE(d().delta_Y);
  cocher_derivees(s(), true);
  EXPECT_TRUE(d().derivees);
  EXPECT_FALSE(d().delta_Y);
  cocher_delta_y(s(), true);
  EXPECT_FALSE(d().derivees);
  cocher_delta_y(s(), false);
  EXPECT_FALSE(d().delta_Y);
  EXPECT_FALSE(d().derivees);
}

TEST_F(OperationsFenetre, CumulativeWarningWaitsForTheFirstTimestampList) {
  d().methode = Methode::moyenne;
  cocher_cumul_corriger(s(), true);
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_TRUE(d().cumul_corriger);

  s().liste_horodatee.deja_generee = true;
  cocher_cumul_corriger(s(), true);
  EXPECT_EQ(port_.dernier_texte(),
            " Il faudrait choisir l'option <max des n  mesures OK > \n pour bien traiter une "
            "valeur croissante (cumuls)");

  port_.echanges.clear();
  d().methode = Methode::maximum;
  cocher_cumul_corriger(s(), true);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(OperationsFenetre, OriginalTitlesReplaceTheAlternativeOnYes) {
  s().intitule_origine = "Date;Temp";
  d().new_desc_colonne = "t;x";
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(recuperer_intitule_origine(s()));
  EXPECT_EQ(d().new_desc_colonne, "t;x");
  EXPECT_EQ(port_.dernier_texte(),
            " récupérer l'intitulé de colonne d'orignine ?\n<Date;Temp>\nen place de :\n<t;x>");
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(recuperer_intitule_origine(s()));
  EXPECT_EQ(d().new_desc_colonne, "Date;Temp");
}

// ---------------------------------------------------------------- colours

TEST_F(OperationsFenetre, GreySchemeAndBack) {
  ASSERT_TRUE(ecrire_lignes_numerotees(s().chemin_parametres(), {{2, "1,2,3"}}));
  appliquer_schema_couleurs(s(), 1);
  EXPECT_EQ(s().couleurs[0], (Couleur{240, 240, 240}));
  EXPECT_EQ(s().couleurs[3], (Couleur{220, 220, 220}));
  EXPECT_TRUE(s().description_modifiee);
  appliquer_schema_couleurs(s(), 0);
  EXPECT_EQ(s().couleurs[0], (Couleur{1, 2, 3}));
  EXPECT_EQ(s().couleurs[1], (Couleur{245, 216, 175}));
}

TEST_F(OperationsFenetre, CustomColoursAreReadBlueGreenRed) {
  EXPECT_EQ(couleur_bvr("DAFEE7"), (Couleur{0xE7, 0xFE, 0xDA}));
  s().couleurs[0] = {10, 20, 30};
  s().couleurs[1] = {40, 50, 60};
  const auto c = couleurs_personnalisees(s());
  EXPECT_EQ(c[0], (Couleur{10, 20, 30}));
  EXPECT_EQ(c[2], (Couleur{0xFF, 0xFA, 0xD9}));
  EXPECT_EQ(c[3], (Couleur{0xB3, 0xE0, 0xFF}));
  EXPECT_EQ(c[8], (Couleur{40, 50, 60}));
  EXPECT_EQ(c[15], (Couleur{245, 216, 176}));
}

TEST_F(OperationsFenetre, ChosenColourMarksTheDescription) {
  choisir_couleur(s(), 3, {1, 2, 3});
  EXPECT_EQ(s().couleurs[2], (Couleur{1, 2, 3}));
  EXPECT_TRUE(s().description_modifiee);
}

// ---------------------------------------------------------------- indicator

TEST_F(OperationsFenetre, IndicatorFollowsTheFlagAndTheDescriptionDirectory) {
  s().description_modifiee = false;
  EXPECT_FALSE(indicateur_modification(s()).enregistrer_rouge);
  EXPECT_FALSE(indicateur_modification(s()).enregistrer_sous_rouge);
  s().description_modifiee = true;
  EXPECT_TRUE(indicateur_modification(s()).enregistrer_rouge);
  EXPECT_FALSE(indicateur_modification(s()).enregistrer_sous_rouge);
  d().dossier_description.clear();
  EXPECT_FALSE(indicateur_modification(s()).enregistrer_rouge);
  EXPECT_TRUE(indicateur_modification(s()).enregistrer_sous_rouge);
}

// ---------------------------------------------------------------- tracking log

TEST_F(OperationsFenetre, ClearAsksFirst) {
  s().ajouter_ligne_suivi("a");
  port_.reponses = {Reponse::non, Reponse::oui};
  EXPECT_FALSE(effacer_suivi(s()));
  EXPECT_EQ(s().journal.taille(), 1u);
  EXPECT_EQ(port_.dernier_texte(), " Effacer le texte ? ");
  EXPECT_TRUE(effacer_suivi(s()));
  EXPECT_TRUE(s().journal.vide());
}

TEST_F(OperationsFenetre, ColumnListingWritesTheTitlesAndTheExtraction) {
  s().intitule_origine = "Date;Temp;Niveau";
  s().etat_listage.nb_colonnes_valeurs = 2;
  d().col_cochee_liste = "3";
  d().methode = Methode::maximum;
  s().liste_horodatee.n = 97;
  ASSERT_TRUE(lister_colonnes(s()));
  const std::vector<std::string> attendu = {
      std::string(47, '='),
      " nb de colonnes de mesure(s) = 2",
      " nb de colonnes pour les dates/heures = 1",
      "1 - Date",
      "2 - Temp",
      "3 - Niveau",
      "...extraire : _lg=Date\tTemp\tNiveau  => ",
      "<Date> date/time = temps",
      "<Niveau>",
      "<nb(96)_methode_(max des n  mesures OK )>",
  };
  EXPECT_EQ(s().journal.lignes(), attendu);
}

TEST_F(OperationsFenetre, ColumnListingWithoutSeparatorStops) {
  s().intitule_origine = "Date";
  EXPECT_FALSE(lister_colonnes(s()));
  EXPECT_EQ(port_.dernier_texte(),
            " le nombre de colonnes détectées est nul :\n\n<Date>\n\n  vérifier les intitulés "
            "alternatifs...");
}

TEST(CompteARebours, MinutesLeftWithTheComputerSeparator) {
  EXPECT_EQ(texte_compte_a_rebours(4.99, '.'), "    4.99 mn");
  EXPECT_EQ(texte_compte_a_rebours(0.5, ','), "    0,50 mn");
  EXPECT_EQ(texte_compte_a_rebours(12.346, ','), "   12,35 mn");
}

}  // namespace
}  // namespace tamso
