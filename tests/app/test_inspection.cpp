#include <filesystem>

#include <gtest/gtest.h>

#include "app/inspection.h"
#include "app/session.h"
#include "support/scripted_interaction.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

TEST(DetecterSeparateur, StrictlyLargestCount) {
  EXPECT_EQ(detecter_separateur("a;b;c d").detecte, 2);
  EXPECT_EQ(detecter_separateur("a\tb\tc").detecte, 0);
  EXPECT_EQ(detecter_separateur("1,2,3;4").detecte, 3);
  EXPECT_EQ(detecter_separateur("a\tb;c").detecte, -1);  // a tie: nothing detected
  EXPECT_EQ(detecter_separateur("abc").detecte, -1);
  // Many spaces, yet four semicolons and more tabs than commas: semicolon.
  const auto d = detecter_separateur("2021-01-01 10:00:00 ; 1 ; 2 ; 3 ; 4\t \t  x");
  EXPECT_EQ(d.points_virgules, 4);
  EXPECT_EQ(d.detecte, 2);
  EXPECT_EQ(detecter_separateur("a b c;d;e;f;g").detecte, 2);  // 4 ";" vs 2 " "
}

// Characters inside quoted fields are not counted: quoted decimal commas
// and the spaces of a quoted date do not outnumber the separator.
TEST(DetecterSeparateur, QuotedFieldsLeftOut) {
  auto d = detecter_separateur("\"2021-11-07 10:00:00\";\"12,5\";\"13,25\";\"1,5\"");
  EXPECT_EQ(d.virgules, 0);
  EXPECT_EQ(d.espaces, 0);
  EXPECT_EQ(d.points_virgules, 3);
  EXPECT_EQ(d.detecte, 2);
  d = detecter_separateur("\"a \"\" b\" \"c d\",1,2");
  EXPECT_EQ(d.espaces, 1);
  EXPECT_EQ(d.virgules, 2);
  EXPECT_EQ(d.detecte, 3);
  // A quote inside a field opens nothing.
  EXPECT_EQ(detecter_separateur("a\"b c d;e").espaces, 2);
}

class Inspection : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
  }
  std::string copier(const std::string& fixture, const std::string& nom) {
    return copier_donnee("listage/" + fixture, nom);
  }
};

TEST_F(Inspection, WellDescribedFileShowsItsLayoutBeforeApplyingIt) {
  const std::string chemin = copier("station_pv.csv", "a.csv");
  port_.reponses = {Reponse::oui, Reponse::oui};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_EQ(port_.echanges.size(), 2u) << port_.dernier_texte();
  EXPECT_EQ(port_.echanges[0].texte,
            "FICHIER\n  a.csv                   \n\n\nDESCRIPTION DES DONNEES\n\n"
            " Utiliser les paramètrages tels quel => (Oui)\n\n"
            " ou les adapter et éditer le fichier => (Non)\n");
  EXPECT_EQ(port_.echanges[1].texte,
            "FICHIER\n  a.csv\n\ndisposition détectée :\n\n"
            " séparateur de colonnes : <point-virgule>\n"
            " intitulés de colonnes en ligne 1\n"
            " 1ères données en ligne 2\n"
            " date/heure en colonne 1 <aaaa-mm-jj hh:mn:ss>\n"
            " valeurs en colonnes 2, séparateur décimal <,>\n"
            " période du 12/03/2021 10:00:00 au 12/03/2021 10:30:00\n"
            " pas observé 00:15:00\n\n"
            " appliquer cette disposition     => (Oui)\n\n"
            " la revoir question par question => (Non)\n\n"
            " annuler                         => (Annuler)");
  const Description& d = s().description;
  EXPECT_EQ(d.dossier_choisi, donnees_);
  EXPECT_EQ(d.masque, "*.csv");  // same extension: the mask stays
  EXPECT_EQ(d.col_cochee_liste, "2");
  EXPECT_EQ(d.decimal_entree, SeparateurDecimal::virgule);
  EXPECT_EQ(d.equiv_na, "NA");  // no -1 among the no-data values
  EXPECT_EQ(d.min_dsc, "12/03/2021 10:00:00");
  EXPECT_EQ(d.pas_dsc, "00:15:00");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(s().table.cellule(6, 1), "12/03/2021 10:00:00");  // the listing ran
  EXPECT_EQ(port_.editeur.size(), 1u);                        // the file is shown
}

TEST_F(Inspection, FileDescribedWithoutTitlesRaisesThreeQuestionsInOrder) {
  const std::string chemin = copier("station_pv.csv", "a.csv");
  s().description.avec_sans_intitule = Intitules::sans;
  s().description.num_ligne_donnee = "1";
  port_.reponses = {Reponse::oui,     Reponse::non,     Reponse::annuler,
                    Reponse::annuler, Reponse::annuler, Reponse::annuler};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_GE(port_.echanges.size(), 5u);
  EXPECT_EQ(port_.echanges[2].texte.rfind("la ligne n°1 semble correspondre à des intitulés", 0),
            0u);
  EXPECT_EQ(port_.echanges[3].texte.rfind(
                " Les premières données sont détectées en ligne 2 et non en 1", 0),
            0u);
  EXPECT_EQ(port_.echanges[4].texte,
            "2- Il se pourrait qu'il y ait des intitulés de colonnes en ligne 1\n\nDate;Temp\n\n"
            " proposition => [avec intitulés] et [intitulés en ligne 1]\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  // Every proposal was declined: the description is as it was.
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::sans);
  EXPECT_EQ(s().description.num_ligne_donnee, "1");
}

TEST_F(Inspection, AcceptedProposalsFixTheDescription) {
  const std::string chemin = copier("station_pv.csv", "a.csv");
  s().description.avec_sans_intitule = Intitules::sans;
  s().description.num_ligne_donnee = "1";
  // The first data line counts one space, one semicolon and one comma; the
  // whole sample tells the semicolon, proposed in place of the tabulation.
  s().description.separateur_colonne = SeparateurColonne::tabulation;
  port_.reponses = {Reponse::oui, Reponse::non, Reponse::annuler,
                    Reponse::oui, Reponse::oui, Reponse::oui};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_GE(port_.echanges.size(), 4u);
  EXPECT_NE(port_.echanges[3].texte.find("soit <point-virgule> et non <tabulation>"),
            std::string::npos);
  EXPECT_EQ(s().description.separateur_colonne, SeparateurColonne::point_virgule);
  EXPECT_EQ(s().description.num_ligne_donnee, "2");
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::avec);
  EXPECT_EQ(s().description.num_ligne_intitule_col, "1");
  EXPECT_TRUE(s().description_modifiee);
}

// Question by question, a date format the file does not use is corrected
// to the one found.
TEST_F(Inspection, DateFoundIsProposedQuestionByQuestion) {
  const std::string chemin = copier("station_pv.csv", "a.csv");
  s().description.format_datetime_mesure = "jj/mm/aaaa hh:mn:ss";
  port_.reponses = {Reponse::oui, Reponse::non, Reponse::oui, Reponse::annuler};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_GE(port_.echanges.size(), 3u);
  EXPECT_EQ(port_.echanges[2].texte,
            "La date de mesure semble lisible ainsi :\n\n2021-03-12 10:00:00;1,5\n\n"
            " proposition => [date/heure en colonne 1 <aaaa-mm-jj hh:mn:ss>]\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  EXPECT_EQ(s().description.format_datetime_mesure, "aaaa-mm-jj hh:mn:ss");
  EXPECT_FALSE(s().description.col_cochee);  // the value columns were declined
}

// The listing that ends an inspection pre-reads the sample, not the first
// file of the folder (here of another layout).
TEST_F(Inspection, TheListingAfterwardsPreReadsTheSample) {
  dossier_->ecrire("donnees/a.csv", test::crlf({"x;y", "HEADER", "Date;V", "01/01/2020 00:00;1"}));
  const std::string chemin = copier("station_pv.csv", "b.csv");
  port_.reponses = {Reponse::oui, Reponse::oui};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_EQ(port_.echanges.size(), 2u) << port_.dernier_texte();
  EXPECT_EQ(cellule(2, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cellule(1, "date dep"), " ---");
}

TEST_F(Inspection, NoTimeInTheWindowDetectsOnTheLastLineRead) {
  const std::string chemin = copier("sans_heure.txt", "a.txt");
  s().description.masque = "*.txt";
  s().description.separateur_colonne = SeparateurColonne::espace;
  s().description.avec_sans_intitule = Intitules::sans;
  s().description.num_ligne_donnee = "1";
  port_.reponses = {Reponse::oui, Reponse::non};
  inspecter_fichier_exemple(s(), chemin);
  ASSERT_GE(port_.echanges.size(), 2u);
  // Lines 1 to 100 are scanned; line 100 reads "100;101;102".
  EXPECT_EQ(port_.echanges[1].texte,
            "d'après le contenu de ce nouveau fichier de donnée,\n et de la première ligne à "
            "'date' :\n\n100;101;102\n\n<tab>=0\n<esp>=0\n<;>=2\n<,>=0\n\n"
            " Il semble que le séparateur de colonnes soit <point-virgule> et non <espace>\n\n"
            " modifier le séparateur (oui)\n\n garder <Espace> (non)");
  EXPECT_EQ(port_.echanges[2].texte.rfind(
                " Les premières données sont détectées en ligne 100 et non en 1", 0),
            0u);
}

TEST_F(Inspection, TabFileDescribedWithTabsKeepsItsSeparator) {
  const std::string chemin = copier("tabulations_nul.txt", "a.txt");
  s().description.masque = "*.txt";
  s().description.separateur_colonne = SeparateurColonne::tabulation;
  port_.reponses = {Reponse::oui};
  inspecter_fichier_exemple(s(), chemin);
  for (const auto& e : port_.echanges)
    EXPECT_EQ(e.texte.find("séparateur de colonnes soit"), std::string::npos) << e.texte;
  EXPECT_EQ(s().description.separateur_colonne, SeparateurColonne::tabulation);
}

TEST_F(Inspection, ExtensionBecomesTheMaskAndNoOpensTheEditor) {
  const std::string chemin = copier("station_pv.csv", "a.dat");
  port_.reponses = {Reponse::non};
  inspecter_fichier_exemple(s(), chemin);
  EXPECT_EQ(s().description.masque, "dat");
  EXPECT_TRUE(s().description_modifiee);
  ASSERT_EQ(port_.editeur.size(), 1u);
  EXPECT_EQ(port_.editeur[0], std::make_pair(donnees_, std::string("a.dat")));
}

}  // namespace
}  // namespace tamso
