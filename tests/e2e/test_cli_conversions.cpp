// End-to-end: data files that are not Windows-1252 text (UTF-16, UTF-8 with
// its byte-order mark, Solinst .xle exports) run like any text family; their
// titles reach the results and tracking files as Windows-1252.
#include <filesystem>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::q;
using test::Sortie;

namespace fs = std::filesystem;

const std::string& kDonnees = test::kDonneesE2e;

class Conversions : public test::AvecCli {
 protected:
  Sortie run(const std::string& nom, const std::string& donnees, const std::string& periode,
             const std::string& options = "") {
    fs::remove_all(sortie_);
    fs::create_directories(sortie_);
    return lancer(d_, "run " + q(kDonnees + nom + ".dsc") + " --data " + q(donnees) + " --out " +
                          q(sortie_) + periode + " --decimal-separator ," + options);
  }
  std::string resultats() const { return DossierTemporaire::lire(sortie_ + "res.txt"); }
  std::string suivi() const { return DossierTemporaire::lire(sortie_ + "res.txt.TXT"); }
  // No converted copy is left in the program directory once the program ends.
  void aucune_copie_laissee() const {
    const std::string programme = d_.chemin() + "programme";
    if (!fs::exists(programme)) return;
    for (const auto& e : fs::directory_iterator(programme))
      EXPECT_NE(e.path().filename().string().rfind("~converti_", 0), 0u) << e.path();
  }
};

const std::string kPeriodeMars =
    " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00' --step 00:10:00";

// releve.txt: UTF-16 LE with its mark, tab-separated, date and time in two
// columns, titles Date, Heure, "Temp °C", "Niveau (m)"; readings at 00:05,
// 00:10, 00:15, 00:20 of Temp 10,5 11,5 12,0 13,0 and Niveau 1,20 1,30 1,40
// 1,50. Rows 00:10 and 00:20 ("inf ou =") each take two readings: Temp
// (10,5 + 11,5) / 2 = 11,00 and (12,0 + 13,0) / 2 = 12,50; Niveau 1,25 and
// 1,45; two decimals in fields of 5. The date title is the date column's.
// The fast block reading, on one thread or several, and the step-by-step
// reading read the same text.
TEST_F(Conversions, Utf16FileRunsWithItsTitles) {
  for (const std::string options : {"", " --threads 3", " --reference"}) {
    SCOPED_TRACE(options);
    const Sortie r = run("utf16", kDonnees + "utf16/", kPeriodeMars, options);
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(resultats(),
              crlf({"Date;Temp \xB0"
                    "C;Niveau (m);nb(2)_methode_(moyenne des n mesures OK)",
                    "01/03/2023 00:10:00;11,00; 1,25;2", "01/03/2023 00:20:00;12,50; 1,45;2"}));
    EXPECT_NE(suivi().find("2 - 0 = 2  <- Temp \xB0"
                           "C\r\n"),
              std::string::npos);
    EXPECT_EQ(r.erreurs.find("!!!"), std::string::npos) << r.erreurs;
    aucune_copie_laissee();
  }
}

// mesures.csv: UTF-8 with its mark, semicolons, one date-time column; titles
// "Date", "Température (°C)", "Conductivité (µS/cm)". Rows 00:10 and 00:20
// take (10,0 + 11,0) / 2 = 10,5 and (500 + 510) / 2 = 505,0, then
// (12,0 + 14,0) / 2 = 13,0 and (520 + 530) / 2 = 525,0, one decimal. The mark
// is not part of the date title "temps(Date inf ou =)".
TEST_F(Conversions, Utf8FileWithItsMarkRunsWithItsTitles) {
  const Sortie r = run("utf8bom", kDonnees + "utf8bom/", kPeriodeMars);
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(resultats(),
            crlf({"temps(Date inf ou =);Temp\xE9rature (\xB0"
                  "C);Conductivit\xE9 (\xB5S/cm);nb(2)_methode_(moyenne des n mesures OK)",
                  "01/03/2023 00:10:00; 10,5;505,0;2", "01/03/2023 00:20:00; 13,0;525,0;2"}));
  EXPECT_NE(suivi().find("2 - 0 = 2  <- Temp\xE9rature (\xB0"
                         "C)\r\n"),
            std::string::npos);
  aucune_copie_laissee();
}

const std::string kPeriodeJuillet =
    " --from '01/07/2019 10:10:00' --to '01/07/2019 10:20:00' --step 00:10:00";

// Two exports (puits_a.xle in UTF-8, puits_b.xle declared windows-1252), read
// as "Date;Time;ms;LEVEL [m];TEMPERATURE [°C]" lines; columns 4 and 5 are
// extracted. Records: a 10:05 9.80 11.0, 10:10 9.70 11.4; b 10:15 9.60 11.6,
// 10:20 9.50 12.0. Row 10:10: LEVEL (9,80 + 9,70) / 2 = 9,75, TEMPERATURE
// (11,0 + 11,4) / 2 = 11,20; row 10:20: 9,55 and 11,80.
const std::string kAttenduXle =
    crlf({"Date;LEVEL [m];TEMPERATURE [\xB0"
          "C];nb(2)_methode_(moyenne des n mesures OK)",
          "01/07/2019 10:10:00; 9,75;11,20;2", "01/07/2019 10:20:00; 9,55;11,80;2"});

TEST_F(Conversions, XleFamilyIsListedAndRun) {
  const Sortie liste = lancer(d_, "list " + q(kDonnees + "xle.dsc") + " --data " +
                                      q(kDonnees + "xle/") + " --decimal-separator ,");
  ASSERT_EQ(liste.code, 0) << liste.erreurs;
  // The first export is read as its text: 3 lines, data from line 2, 5 columns.
  EXPECT_EQ(liste.sortie,
            "n\tfichier\ts/répertoire\tStation\tdate_NOM_Fichier\ttaille (Mo)\tdate dep\tdate fin\t"
            "n.données\tn.extraites\tpas moyen observé\tdurée de traitement\tcorrection\t"
            "nb Colonnes\tn°Lig intitulés\t x\n"
            "1\tpuits_a.xle\t\t\t\t 0\t01/07/2019 10:05:00\t01/07/2019 10:10:00\t2\t ---\t ---\t"
            "00:00:00\t ---\t 5\t -\t\n"
            "2\tpuits_b.xle\t\t\t\t 0\t ---\t ---\t ---\t ---\t ---\t ---\t ---\t ---\t ---\t\n");

  for (const std::string options : {"", " --reference"}) {
    SCOPED_TRACE(options);
    const Sortie r = run("xle", kDonnees + "xle/", kPeriodeJuillet, options);
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(resultats(), kAttenduXle);
    // The degree of a title is the single Windows-1252 byte B0, not its UTF-8 pair.
    EXPECT_NE(resultats().find("[\xB0"
                               "C]"),
              std::string::npos);
    EXPECT_EQ(resultats().find("\xC2\xB0"), std::string::npos);
    aucune_copie_laissee();
  }
}

// A damaged export among good ones is named on standard error and in the
// tracking file; the others are processed and the run says a file was not read.
TEST_F(Conversions, DamagedXleIsSaidAndTheOthersRun) {
  const std::string donnees = d_.sous_dossier("donnees");
  for (const char* nom : {"puits_a.xle", "puits_b.xle"})
    fs::copy_file(kDonnees + "xle/" + nom, donnees + nom);
  const std::string complet = DossierTemporaire::lire(kDonnees + "xle/puits_b.xle");
  d_.ecrire("donnees/puits_c.xle", complet.substr(0, complet.size() / 2));
  const Sortie r = run("xle", donnees, kPeriodeJuillet);
  EXPECT_EQ(r.code, 4) << r.erreurs;
  EXPECT_NE(r.erreurs.find("fichier .xle illisible\n" + donnees + "puits_c.xle\n\nXML invalide"),
            std::string::npos)
      << r.erreurs;
  EXPECT_NE(suivi().find("fichier .xle illisible => " + donnees + "puits_c.xle : XML invalide"),
            std::string::npos);
  EXPECT_EQ(resultats(), kAttenduXle);
  aucune_copie_laissee();
}

}  // namespace
}  // namespace tamso
