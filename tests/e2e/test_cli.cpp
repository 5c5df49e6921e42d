// End-to-end: the batch program on small fixtures, whole files compared with
// what the rules give, worked out by hand.
#include <filesystem>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::Sortie;

const std::string& kDonnees = test::kDonneesE2e;
using LigneDeCommande = test::AvecCli;

TEST_F(LigneDeCommande, RunWritesTheResultsFileByteForByte) {
  const Sortie r = lancer(d_, "run '" + kDonnees + "simple.dsc' --data '" + kDonnees +
                                  "simple/' --out '" + sortie_ +
                                  "' --from '01/03/2023 00:10:00' --to '01/03/2023 00:30:00'"
                                  " --step 00:10:00 --decimal-separator ,");
  ASSERT_EQ(r.code, 0) << erreurs();
  EXPECT_EQ(r.sortie, sortie_ + "res.txt\n" + sortie_ + "res.txt.TXT\n");
  // Timestamps 00:00, 00:10, 00:20, 00:30; the first is never written.
  // 00:10 gets 00:05 and 00:10: Niveau (2,5 + 3) / 2, Temp 12 (the empty
  // field before it is forgotten); 00:20 gets the NA line; 00:30 gets 00:25.
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "res.txt"),
            crlf({"temps(Date inf ou =);Niveau;Temp;nb(3)_methode_(moyenne des n mesures OK)",
                  "01/03/2023 00:10:00; 2,75;12,00;2", "01/03/2023 00:20:00;NA;14,00;1",
                  "01/03/2023 00:30:00; 5,00;15,00;1"}));
  const std::string suivi = DossierTemporaire::lire(sortie_ + "res.txt.TXT");
  EXPECT_EQ(suivi.rfind(" SUIVI DU TRAITEMENT : TABLEAU DES FICHIERS\r\n\r\n", 0), 0u);
  EXPECT_NE(suivi.find(" s\xE9parateur IN = (Point-virgule)\r\n"), std::string::npos);
  EXPECT_NE(suivi.find(" nombre de r\xE9sultats = 3\r\n"), std::string::npos);
  EXPECT_NE(suivi.find("3 - 1 = 2  <- Niveau\r\n"), std::string::npos);
  EXPECT_NE(suivi.find("3 - 0 = 3  <- Temp\r\n"), std::string::npos);
}

TEST_F(LigneDeCommande, ErrorsNameTheirCauseAndWriteNothing) {
  Sortie r = lancer(d_, "run '" + d_.chemin() + "absente.dsc'");
  EXPECT_NE(r.code, 0);
  EXPECT_NE(erreurs().find("absente.dsc"), std::string::npos);
  r = lancer(d_, "run '" + kDonnees + "simple.dsc' --data '" + d_.sous_dossier("vide") +
                     "' --out '" + sortie_ +
                     "' --step 00:10:00 --from '01/03/2023 00:10:00'"
                     " --to '01/03/2023 00:30:00'");
  EXPECT_NE(r.code, 0);
  EXPECT_NE(erreurs().find("aucun fichier"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(sortie_));
  r = lancer(d_, "run '" + kDonnees + "simple.dsc' --test maybe");
  EXPECT_NE(r.code, 0);
}

TEST_F(LigneDeCommande, ListPrintsTheFileTable) {
  const Sortie r = lancer(d_, "list '" + kDonnees + "simple.dsc' --data '" + kDonnees +
                                  "simple/' --decimal-separator ,");
  ASSERT_EQ(r.code, 0) << erreurs();
  EXPECT_EQ(r.sortie,
            "n\tfichier\ts/répertoire\tStation\tdate_NOM_Fichier\ttaille (Mo)\tdate dep\tdate fin\t"
            "n.données\tn.extraites\tpas moyen observé\tdurée de traitement\tcorrection\t"
            "nb Colonnes\tn°Lig intitulés\t x\n"
            "1\tmesures.csv\t\t\t\t 0\t01/03/2023 00:00:00\t01/03/2023 00:25:00\t5\t ---\t ---\t"
            "00:00:00\t ---\t 3\t -\t\n");
}

// A fixture of tests/data/e2e: its description run on its data folder from
// 00:00 to 00:20 with a 10-minute step, the results file compared byte for
// byte with the one worked out by hand beside it (<name>_resultats.txt).
class FixtureE2e : public test::AvecCli {
 protected:
  Sortie executer(const std::string& nom, const std::string& jour) {
    return lancer(d_, "run '" + kDonnees + nom + ".dsc' --data '" + kDonnees + nom + "/' --out '" +
                          sortie_ + "' --from '" + jour + " 00:00:00' --to '" + jour +
                          " 00:20:00' --step 00:10:00 --decimal-separator ,");
  }
  Sortie lister(const std::string& nom) {
    return lancer(d_, "list '" + kDonnees + nom + ".dsc' --data '" + kDonnees + nom +
                          "/' --decimal-separator ,");
  }
  static std::string attendu(const std::string& nom) {
    return DossierTemporaire::lire(kDonnees + nom + "_resultats.txt");
  }
  // The file row of `list` (its second line).
  static std::string rangee(const Sortie& r) {
    const std::size_t debut = r.sortie.find('\n') + 1;
    return r.sortie.substr(debut);
  }
};

// Commas inside quoted titles and quoted numbers ("8.24"): one title, one
// number each; the quoted date reads as the format says.
TEST_F(FixtureE2e, QuotedTitlesAndNumbersOfACommaSeparatedFile) {
  const Sortie r = executer("guillemets", "21/07/2024");
  ASSERT_EQ(r.code, 0) << erreurs();
  ASSERT_FALSE(attendu("guillemets").empty());
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "res.txt"), attendu("guillemets"));
  EXPECT_EQ(r.erreurs.find("!!!"), std::string::npos) << r.erreurs;
  const std::string suivi = DossierTemporaire::lire(sortie_ + "res.txt.TXT");
  EXPECT_NE(suivi.find("\r\n3=>Temp, \xB0"
                       "C\r\n4=>RH, %\r\n"),
            std::string::npos)
      << suivi;
  EXPECT_EQ(suivi.find("pb conversion"), std::string::npos);
  // The four columns counted outside the quotes; the dates of the first and
  // last data lines.
  const Sortie l = lister("guillemets");
  ASSERT_EQ(l.code, 0) << erreurs();
  EXPECT_EQ(rangee(l),
            "1\thobo.csv\t\t\t\t 0\t21/07/2024 00:00:00\t21/07/2024 00:15:00\t4\t ---\t ---\t"
            "00:00:00\t ---\t 4\t 2\t\n");
}

// Data lines that begin with ";" under a title line that does not: their
// first field is empty, the date is in column 2 where the titles say.
TEST_F(FixtureE2e, DataLinesWithAnEmptyFirstField) {
  const Sortie r = executer("separateur_en_tete", "01/03/2023");
  ASSERT_EQ(r.code, 0) << erreurs();
  ASSERT_FALSE(attendu("separateur_en_tete").empty());
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "res.txt"), attendu("separateur_en_tete"));
  EXPECT_EQ(r.erreurs.find("!!!"), std::string::npos) << r.erreurs;
  const Sortie l = lister("separateur_en_tete");
  ASSERT_EQ(l.code, 0) << erreurs();
  EXPECT_EQ(rangee(l),
            "1\tniveaux.csv\t\t\t\t 0\t01/03/2023 00:05:00\t01/03/2023 00:20:00\t4\t ---\t ---\t"
            "00:00:00\t ---\t 4\t -\t\n");
}

}  // namespace
}  // namespace tamso
