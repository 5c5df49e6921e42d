// End-to-end: runs of the batch program that once went wrong silently. Each
// says what its results hold, by its exit status and on standard error.
#include <filesystem>
#include <set>

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

// Four 5-minute readings; with a 10-minute step from 00:10 to 00:20 the rows
// 00:10 and 00:20 each take two of them.
const std::vector<std::string> kMesures = {
    "Date;Niveau;Temp",           "2023-03-01 00:05:00;1,0;10", "2023-03-01 00:10:00;2,0;11",
    "2023-03-01 00:15:00;3,0;12", "2023-03-01 00:20:00;4,0;13",
};
const std::string kAttendu = crlf({
    "temps(Date inf ou =);Niveau;Temp;nb(2)_methode_(moyenne des n mesures OK)",
    "01/03/2023 00:10:00;  1,5; 10,5;2",
    "01/03/2023 00:20:00;  3,5; 12,5;2",
});
const std::string kPeriode =
    " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00' --step 00:10:00"
    " --decimal-separator ,";

class Run : public test::AvecCli {
 protected:
  void SetUp() override {
    donnees_ = d_.sous_dossier("donnees");
    d_.ecrire("donnees/mesures.csv", crlf(kMesures));
  }
  // A description of the fixture files, with more settings.
  std::string dsc(const std::vector<std::string>& autres = {}) {
    std::vector<std::string> l = {"Edit_masque.text= *.csv",
                                  "RadioGroup_separateur_colonne_ItemIndex= 2",
                                  "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                                  "Edit_nb_decimale.text= 1",
                                  "Edit_NA.text= NA",
                                  "Edit_nom_fic_sortie.text= res",
                                  "RadioGroup_separateur_sortie_ItemIndex= 3",
                                  "dossier_choisi= " + donnees_,
                                  "dossier_choisi_sortie= " + sortie_};
    l.insert(l.end(), autres.begin(), autres.end());
    return d_.ecrire("station.dsc", crlf(l));
  }
  Sortie run(const std::string& description, const std::string& options = kPeriode) {
    return lancer(d_, "run " + q(description) + options);
  }
  std::set<std::string> fichiers_de_sortie() const {
    std::set<std::string> noms;
    for (const auto& e : fs::directory_iterator(sortie_)) noms.insert(e.path().filename().string());
    return noms;
  }

  std::string donnees_;
};

TEST_F(Run, CompleteRunExitsZero) {
  const Sortie r = run(dsc());
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, sortie_ + "res.txt\n" + sortie_ + "res.txt.TXT\n");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "res.txt"), kAttendu);
  EXPECT_EQ(r.erreurs.find("!!!"), std::string::npos) << r.erreurs;
}

// The date column listed among the columns to extract is taken out at the
// start of the run, as leaving the list's box does, and the user is told.
TEST_F(Run, DateColumnListedForExtractionIsTakenOut) {
  const Sortie r = run(dsc({"CheckBox_col_cochee.Checked= true", "Edit_col_cochee.text= 1,2,3"}));
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "res.txt"), kAttendu);
  EXPECT_NE(r.erreurs.find(" Il a fallu enlever le n° de la colonne date/time de la liste des "
                           "colonnes à extraire\n\n  de <1,2,3>\n\n   à <2,3>"),
            std::string::npos)
      << r.erreurs;
}

// Runs that place no line write results made only of missing values: they
// end with status 3 and say so on standard error and in the tracking file.
TEST_F(Run, NothingExtractedIsNotASuccess) {
  struct Cas {
    const char* nom;
    std::vector<std::string> reglages;
    std::string options;
    std::string fichier;  // replaces mesures.csv when not empty
  };
  // UTF-16 without its byte-order mark is not recognised: read as
  // Windows-1252, its NUL bytes hide every date.
  std::string utf16;
  for (const char c : crlf(kMesures)) utf16 += std::string{c, '\0'};
  const std::vector<Cas> cas = {
      {"période sans données",
       {},
       " --from '01/03/2024 00:10:00' --to '01/03/2024 00:20:00' --step 00:10:00",
       ""},
      {"colonne de date au-delà de la ligne", {"Edit_num_col_datetime.text= 9"}, kPeriode, ""},
      {"fichier UTF-16 sans marque", {}, kPeriode, utf16},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    d_.ecrire("donnees/mesures.csv", c.fichier.empty() ? crlf(kMesures) : c.fichier);
    fs::remove_all(sortie_);
    fs::create_directories(sortie_);
    const Sortie r = run(dsc(c.reglages), c.options);
    EXPECT_EQ(r.code, 3) << r.erreurs;
    EXPECT_EQ(r.sortie, sortie_ + "res.txt\n" + sortie_ + "res.txt.TXT\n");
    EXPECT_NE(r.erreurs.find("!!! AUCUNE LIGNE EXTRAITE"), std::string::npos) << r.erreurs;
    EXPECT_NE(r.erreurs.find("3- TRAITEMENT SANS DONNÉES"), std::string::npos);
    EXPECT_NE(DossierTemporaire::lire(sortie_ + "res.txt.TXT").find("!!! AUCUNE LIGNE EXTRAITE"),
              std::string::npos);
  }
}

// An interrupt while the run processes stops it: the results of the lines
// read so far are written, said to be partial, with status 5.
TEST_F(Run, InterruptedRunWritesPartialResultsAndSaysSo) {
  const Sortie r = test::lancer_interrompu(d_, "run " + q(dsc()) + kPeriode);
  ASSERT_EQ(r.code, 5) << r.erreurs;
  EXPECT_EQ(r.sortie, sortie_ + "res.txt\n" + sortie_ + "res.txt.TXT\n");
  EXPECT_NE(r.erreurs.find("!!! TRAITEMENT ARRÊTÉ à la demande pendant la lecture du fichier 1 "
                           "sur 1"),
            std::string::npos)
      << r.erreurs;
  EXPECT_EQ(r.erreurs.find("TRAITEMENT EFFECTUÉ"), std::string::npos);
  EXPECT_NE(DossierTemporaire::lire(sortie_ + "res.txt.TXT").find("3- TRAITEMENT ARR"),
            std::string::npos);
}

// With numbering off, results that would replace a file go to a recovery
// file, numbered in turn: no run ever loses the results of another.
TEST_F(Run, RecoveryFilesAreNumbered) {
  const std::string description = dsc({"CheckBox_inc_nom.Checked= false"});
  for (int i = 0; i < 3; ++i) {
    const Sortie r = run(description);
    ASSERT_EQ(r.code, 0) << r.erreurs;
  }
  EXPECT_EQ(fichiers_de_sortie(),
            (std::set<std::string>{"res.txt", "res.txt.TXT", "~résultats.txt", "~résultats.txt.TXT",
                                   "~résultats(1).txt", "~résultats(1).txt.TXT"}));
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "~résultats(1).txt"), kAttendu);
}

// Runs started together on one folder each claim a name of their own.
TEST_F(Run, RunsStartedTogetherNeverShareAResultsName) {
  const std::string description = dsc();
  std::string commande = "sh -c '";
  const std::string une = "TAMSO_HOME=" + d_.chemin() + "programme " TAMSO_CLI " run " +
                          description +
                          " --from \"01/03/2023 00:10:00\" --to \"01/03/2023 "
                          "00:20:00\" --step 00:10:00 --decimal-separator , >/dev/null 2>&1 & ";
  for (int i = 0; i < 8; ++i) commande += une;
  commande += "wait'";
  ASSERT_EQ(std::system(commande.c_str()), 0);
  std::set<std::string> resultats;
  for (const std::string& nom : fichiers_de_sortie())
    if (nom.size() > 4 && nom.substr(nom.size() - 4) == ".txt") resultats.insert(nom);
  EXPECT_EQ(resultats,
            (std::set<std::string>{"res.txt", "res(1).txt", "res(2).txt", "res(3).txt",
                                   "res(4).txt", "res(5).txt", "res(6).txt", "res(7).txt"}));
  for (const std::string& nom : resultats)
    EXPECT_EQ(DossierTemporaire::lire(sortie_ + nom), kAttendu) << nom;
}

// A workbook's sheet is converted anew for a run on another workbook:
// never is the text of the previous one read again.
TEST_F(Run, EachWorkbookRunReadsItsOwnSheet) {
  const std::string classeurs = TAMSO_DONNEES_TEST "classeurs/";
  fs::copy_file(classeurs + "releves_python.xlsx", donnees_ + "A.xlsx");
  fs::copy_file(classeurs + "mesures_python.xlsx", donnees_ + "B.xlsx");
  const std::string options =
      " --from '01/03/2024 00:10:00' --to '01/03/2024 00:20:00' --step 00:10:00";
  const auto run_classeur = [&](const std::string& nom, const std::vector<std::string>& autres) {
    std::vector<std::string> l = {"Edit_masque.text= xlsx",
                                  "Label_nom_fic_excel.caption= " + nom + ".xlsx",
                                  "Edit_nom_fic_sortie.text= " + nom,
                                  "dossier_choisi= " + donnees_,
                                  "dossier_choisi_sortie= " + sortie_,
                                  "RadioGroup_separateur_colonne_ItemIndex= 2"};
    l.insert(l.end(), autres.begin(), autres.end());
    return lancer(d_, "run " + q(d_.ecrire(nom + ".dsc", crlf(l))) + options);
  };
  Sortie r = run_classeur("A", {"Edit_format_datetime_mesure.text= jj/mm/aaaa hh:mn:ss"});
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(
      DossierTemporaire::lire(sortie_ + "A.txt").rfind("temps(Date inf ou =)\tTemp\tHum\t", 0), 0u);
  r = run_classeur(
      "B",
      {"RadioGroup_datetime_nb_col_ItemIndex= 1", "Edit_format_date_mesure_seule.text= jj/mm/aaaa",
       "Edit_format_time_mesure_seul.text= hh:mn:ss", "Edit_num_col_time.text= 2"});
  ASSERT_EQ(r.sortie, sortie_ + "B.txt\n" + sortie_ + "B.txt.TXT\n") << r.erreurs;
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "B.txt")
                .rfind("Date\tTemp\tHumidit\xe9\tEtat\tCalcul\t", 0),
            0u);
}

// A period bound without its date would silently mean 30/12/1899.
TEST_F(Run, PeriodBoundWithoutADateIsRefused) {
  for (const char* options : {" --from 01:00:00 --to '01/03/2023 00:20:00' --step 00:10:00",
                              " --from '01/03/2023 00:10:00' --to 12:00:00 --step 00:10:00"}) {
    const Sortie r = run(dsc(), options);
    EXPECT_EQ(r.code, 2) << options;
    EXPECT_NE(r.erreurs.find("de période sans date"), std::string::npos) << r.erreurs;
  }
  EXPECT_TRUE(fs::is_empty(sortie_));
}

}  // namespace
}  // namespace tamso
