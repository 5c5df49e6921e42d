// End-to-end: which folders the batch program searches, and descriptions it
// must refuse rather than give wrong results from.
#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::q;
using test::Sortie;

// A search that never ends is stopped after this many seconds (exit 124).
constexpr int kDelai = 20;
const std::string kPeriode =
    " --from '01/03/2023 00:10:00' --to '01/03/2023 00:30:00' --step 00:10:00"
    " --decimal-separator ,";
// The sample file read once: see LigneDeCommande.RunWritesTheResultsFileByteForByte.
const std::string kEntete =
    "temps(Date inf ou =);Niveau;Temp;nb(3)_methode_(moyenne des n mesures OK)";

class Dossiers : public test::AvecCli {
 protected:
  // A description in the folder `ou`: the given lines, then the sample
  // description (the first line of a key counts).
  std::string poser_dsc(const std::string& ou, const std::vector<std::string>& lignes) {
    const std::string simple = DossierTemporaire::lire(test::kDonneesE2e + "simple.dsc");
    return d_.ecrire(ou + "x.dsc", crlf(lignes) + simple);
  }
  // The sample data file, copied as ou + nom.
  void poser_mesures(const std::string& ou, const std::string& nom = "mesures.csv") {
    fs::create_directories(d_.chemin() + ou);
    fs::copy_file(test::kDonneesE2e + "simple/mesures.csv", d_.chemin() + ou + nom);
  }
  // Two links that lead back to folders on their own way: a search that
  // follows them forks at every level.
  void poser_boucle(const std::string& ou) {
    const std::string b = d_.sous_dossier(ou + "boucle");
    fs::create_directory_symlink("..", b + "haut");
    fs::create_directory_symlink(".", b + "ici");
  }
  Sortie lancer_run(const std::string& dsc, const std::string& options) {
    return lancer(d_, "run " + q(dsc) + " --out " + q(sortie_) + kPeriode + options, kDelai);
  }
  std::string resultats() const { return DossierTemporaire::lire(sortie_ + "res.txt"); }
};

// "n", "fichier" and "s/répertoire" of each row listed.
std::vector<std::string> fichiers_listes(const std::string& table) {
  std::vector<std::string> r;
  std::size_t debut = table.find('\n') + 1;  // after the title row
  for (std::size_t fin; (fin = table.find('\n', debut)) != std::string::npos; debut = fin + 1) {
    const std::string ligne = table.substr(debut, fin - debut);
    std::size_t t = ligne.find('\t');
    t = ligne.find('\t', t + 1);
    r.push_back(ligne.substr(0, ligne.find('\t', t + 1)));
  }
  return r;
}

TEST_F(Dossiers, IndexOutsideItsOptionsIsRefusedNamingTheValue) {
  poser_mesures("donnees/");
  for (const auto& [ligne, valeur] : std::vector<std::pair<std::string, std::string>>{
           {"RadioGroup_methode_ItemIndex= 999999", "999999"},
           {"RadioGroup_separateur_colonne_ItemIndex= 99", "99"},
           {"RadioGroup_DECIMAL_SEPARATOR_sortie_ItemIndex= 2", "2"},
           {"RadioGroup_datetime_nb_col_ItemIndex= -1", "-1"}}) {
    const std::string dsc = poser_dsc("desc/", {ligne});
    const Sortie r = lancer_run(dsc, " --data " + q(d_.chemin() + "donnees"));
    EXPECT_EQ(r.code, 2) << ligne;
    EXPECT_NE(erreurs().find("'" + valeur + "' n'est pas une valeur entière correcte\n"),
              std::string::npos)
        << erreurs();
    EXPECT_NE(erreurs().find("description illisible"), std::string::npos) << ligne;
    EXPECT_TRUE(fs::is_empty(sortie_)) << ligne;
  }
}

TEST_F(Dossiers, DescriptionWithoutDataFolderReadsItsOwnFolder) {
  // No data folder named, sub-folders searched: the description's folder
  // and its sub-folder, not the file-system root.
  const std::string dsc = poser_dsc("desc/", {"CheckBox_recursif.Checked= true"});
  poser_mesures("desc/");
  poser_mesures("desc/sous/", "suite.csv");
  const Sortie l = lancer(d_, "list " + q(dsc) + " --decimal-separator ,", kDelai);
  ASSERT_EQ(l.code, 0) << erreurs();
  EXPECT_EQ(fichiers_listes(l.sortie),
            (std::vector<std::string>{"1\tmesures.csv\t", "2\tsuite.csv\tsous/"}));

  const Sortie r = lancer_run(dsc, "");
  ASSERT_EQ(r.code, 0) << erreurs();
  // The same lines twice: the same means, twice the line counts.
  EXPECT_EQ(resultats(),
            crlf({kEntete, "01/03/2023 00:10:00; 2,75;12,00;4", "01/03/2023 00:20:00;NA;14,00;2",
                  "01/03/2023 00:30:00; 5,00;15,00;2"}));
}

TEST_F(Dossiers, DataOptionIsUsedWithoutSearchingTheDescriptionFolder) {
  // Searched, the description's folder would never end (a fork of links),
  // and its 101 files would bring the question about pre-reading over 100.
  const std::string dsc = poser_dsc(
      "desc/", {"CheckBox_recursif.Checked= true", "CheckBox_prelire_tous.Checked= true"});
  poser_boucle("desc/");
  for (int i = 0; i <= 100; ++i) d_.ecrire("desc/anciens/f" + std::to_string(i) + ".csv", "");
  poser_mesures("donnees/");
  const Sortie l = lancer(
      d_, "list " + q(dsc) + " --data " + q(d_.chemin() + "donnees") + " --decimal-separator ,",
      kDelai);
  ASSERT_EQ(l.code, 0) << erreurs();
  EXPECT_EQ(fichiers_listes(l.sortie), std::vector<std::string>{"1\tmesures.csv\t"});
  EXPECT_EQ(erreurs().find("supérieur à 100"), std::string::npos) << erreurs();
}

TEST_F(Dossiers, PipeAndLinkLoopInTheDataFolderAreLeftAside) {
  // A pipe named like a data file would block its reading for ever; the
  // loop would keep a search of sub-folders going.
  poser_mesures("donnees/");
  ASSERT_EQ(::mkfifo((d_.chemin() + "donnees/attente.csv").c_str(), 0600), 0);
  poser_boucle("donnees/");
  for (const char* recursif : {"false", "true"}) {
    const std::string dsc =
        poser_dsc("desc/", {std::string("CheckBox_recursif.Checked= ") + recursif});
    const Sortie r = lancer_run(dsc, " --data " + q(d_.chemin() + "donnees"));
    ASSERT_EQ(r.code, 0) << recursif << "\n" << erreurs();
    EXPECT_EQ(resultats(),
              crlf({kEntete, "01/03/2023 00:10:00; 2,75;12,00;2", "01/03/2023 00:20:00;NA;14,00;1",
                    "01/03/2023 00:30:00; 5,00;15,00;1"}))
        << recursif;
    fs::remove(sortie_ + "res.txt");
    fs::remove(sortie_ + "res.txt.TXT");
  }
}

}  // namespace
}  // namespace tamso
