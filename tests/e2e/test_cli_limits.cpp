// End-to-end: the batch program at the edges — runs bigger than the machine,
// hostile names and lines, failures that must say why.
#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

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

class Limites : public test::AvecCli {
 protected:
  void SetUp() override {
    donnees_ = d_.sous_dossier("donnees");
    d_.ecrire("donnees/mesures.csv",
              crlf({"Date;Niveau", "2023-03-01 00:05:00;1,0", "2023-03-01 00:10:00;2,0"}));
  }
  std::string dsc(const std::vector<std::string>& autres = {}) {
    std::vector<std::string> l = {"Edit_masque.text= *.csv",
                                  "RadioGroup_separateur_colonne_ItemIndex= 2",
                                  "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                                  "Edit_nom_fic_sortie.text= res",
                                  "dossier_choisi= " + donnees_,
                                  "dossier_choisi_sortie= " + sortie_};
    l.insert(l.end(), autres.begin(), autres.end());
    return d_.ecrire("station.dsc", crlf(l));
  }
  bool sortie_vide() const { return fs::is_empty(sortie_); }
  std::string donnees_;
};

// A year of hours on one column: 8,761 results rows (both ends included),
// 8,762 list items with the one before the start, 8,765 grid rows: 306,740 +
// 1,279,690 bytes, about 1.6 MB, above a limit of 1 MB. The batch program
// does not go on.
TEST_F(Limites, RunAboveTheMemoryLimitIsRefusedWithItsEstimate) {
  const Sortie r = lancer(d_, "run " + q(dsc()) +
                                  " --from '01/01/2023 00:00:00' --to '01/01/2024 00:00:00'"
                                  " --step 01:00:00 --max-memory 1M");
  EXPECT_EQ(r.code, 1) << r.erreurs;
  EXPECT_NE(r.erreurs.find(" Le traitement demanderait environ 1,6 Mo de mémoire\n (8 761 lignes "
                           "de résultats x 1 colonne de valeurs)\n pour une limite de 1,0 Mo "
                           "(--max-memory)."),
            std::string::npos)
      << r.erreurs;
  EXPECT_NE(r.erreurs.find("continuer quand même ? \n  -> Non"), std::string::npos);
  EXPECT_TRUE(sortie_vide());

  const Sortie illisible = lancer(d_, "run " + q(dsc()) + " --max-memory beaucoup");
  EXPECT_EQ(illisible.code, 2);
  EXPECT_NE(illisible.erreurs.find("taille de mémoire illisible : <beaucoup>"), std::string::npos);
}

// Wide files: 100,000 value columns, and a list of 20,000 columns to extract.
// Each line is cut once, so the run takes a moment, where walking the line
// again for each field took minutes (the run is stopped after 120 s).
TEST_F(Limites, LinesOfAHundredThousandFieldsAreReadInOnePass) {
  constexpr int kColonnes = 100'000;
  std::string titres = "Date", valeurs;
  for (int i = 0; i < kColonnes; ++i) {
    titres += ";v";
    for (int k = i; k > 0; k /= 26) titres.push_back(static_cast<char>('a' + k % 26));
    valeurs += ";" + std::to_string(i % 7);
  }
  d_.ecrire("donnees/mesures.csv",
            crlf({titres, "2023-03-01 00:10:00" + valeurs, "2023-03-01 00:20:00" + valeurs}));
  std::string liste = "2";
  for (int c = 3; c <= 20'001; ++c) liste += "," + std::to_string(c);
  const std::string options =
      " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00' --step 00:10:00";
  for (const std::string& mode : {std::string(), std::string(" --reference")}) {
    SCOPED_TRACE(mode);
    const Sortie r = lancer(
        d_,
        "run " + q(dsc({"CheckBox_col_cochee.Checked= true", "Edit_col_cochee.text= " + liste})) +
            options + mode,
        120);
    ASSERT_EQ(r.code, 0) << r.erreurs.substr(0, 2000);
    const std::string res = DossierTemporaire::lire(sortie_ + "res.txt");
    // Title line, then the rows 00:10 and 00:20, each of 20,000 values and
    // the date-time and count columns.
    const auto debut_ligne = res.find("01/03/2023 00:20:00");
    ASSERT_NE(debut_ligne, std::string::npos);
    const std::string ligne = res.substr(debut_ligne, res.find('\n', debut_ligne) - debut_ligne);
    EXPECT_EQ(std::count(ligne.begin(), ligne.end(), '\t'), 20'001);
    fs::remove(sortie_ + "res.txt");
    fs::remove(sortie_ + "res.txt.TXT");
  }
}

// A first data line of a million characters: the question quotes its
// beginning, the tracking file stays small.
TEST_F(Limites, AHugeLineIsQuotedByItsBeginning) {
  d_.ecrire("donnees/mesures.csv",
            crlf({"Date;Niveau", std::string(1'000'000, 'x'), "2023-03-01 00:10:00;2,0"}));
  const Sortie r = lancer(d_, "run " + q(dsc()) +
                                  " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00'"
                                  " --step 00:10:00");
  EXPECT_EQ(r.code, 0) << r.erreurs.substr(0, 2000);
  EXPECT_NE(r.erreurs.find("1ères données en ligne 2 ? : " + std::string(300, 'x') +
                           " [...] (1 000 000 caractères)"),
            std::string::npos)
      << r.erreurs.substr(0, 1500);
  EXPECT_LT(r.erreurs.size(), 5000u);
  EXPECT_LT(fs::file_size(sortie_ + "res.txt.TXT"), 20'000u);
}

// Command lines and paths that cannot work say why, and point to the way.
TEST_F(Limites, UnworkableArgumentsSayWhy) {
  const std::string fifo = d_.chemin() + "tube.dsc";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Cas {
    std::string arguments;
    std::string message;
  };
  const Cas cas[] = {
      {"run " + q(dsc()) + " --from '02/03/2023 00:00:00' --to '01/03/2023 00:00:00'",
       "la fin de période <01/03/2023 00:00:00> n'est pas après son début <02/03/2023 "
       "00:00:00> (--from, --to)"},
      {"run " + q(dsc()) +
           " --from '01/03/2023 00:00:00' --to '05/03/2023 00:00:00'"
           " --step 24:00:00",
       "pas de temps illisible : <24:00:00> (--step hh:mm:ss, de 00:00:01 à 23:59:59 ; un pas "
       "d'un jour ou plus : --days N, --months N, --years N)"},
      // A named pipe would block the program until someone writes into it.
      {"run " + q(fifo),
       "fichier de description n'est pas un fichier ordinaire (tube nommé, périphérique) : " +
           fifo},
      {"run " + q(d_.chemin()), "fichier de description est un répertoire : " + d_.chemin()},
      {"run " + q(dsc()) + " --clipboard-file " + q(fifo),
       "fichier du presse-papier n'est pas un fichier ordinaire (tube nommé, périphérique) : " +
           fifo},
  };
  for (const Cas& c : cas) {
    const Sortie r = lancer(d_, c.arguments, 20);
    EXPECT_EQ(r.code, 2) << c.arguments;
    EXPECT_EQ(r.erreurs, "tamso-cli: " + c.message + "\n") << c.arguments;
  }
}

// Names holding a tabulation or a line feed keep one row each in the file
// list and in the tracking file, written with \t and \n.
TEST_F(Limites, NamesWithTabsAndLineFeedsKeepTheirRows) {
  fs::rename(donnees_ + "mesures.csv", donnees_ + "a\tb.csv");
  d_.ecrire("donnees/c\nd.csv", crlf({"Date;Niveau", "2023-03-01 00:20:00;3,0"}));
  const Sortie l = lancer(d_, "list " + q(dsc()));
  ASSERT_EQ(l.code, 0) << l.erreurs;
  EXPECT_EQ(std::count(l.sortie.begin(), l.sortie.end(), '\n'), 3) << l.sortie;
  EXPECT_NE(l.sortie.find("\ta\\tb.csv\t"), std::string::npos) << l.sortie;
  EXPECT_NE(l.sortie.find("\tc\\nd.csv\t"), std::string::npos) << l.sortie;
  const Sortie r = lancer(d_, "run " + q(dsc()) +
                                  " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00'"
                                  " --step 00:10:00");
  ASSERT_EQ(r.code, 0) << r.erreurs;
  const std::string suivi = DossierTemporaire::lire(sortie_ + "res.txt.TXT");
  EXPECT_NE(suivi.find("<---------------a\\tb.csv"), std::string::npos);
  EXPECT_NE(suivi.find("<---------------c\\nd.csv"), std::string::npos);
  EXPECT_EQ(suivi.find("c\nd.csv"), std::string::npos);
}

#if !defined(__SANITIZE_ADDRESS__)
// Memory running out half-way (the address space cut to 400 MB, the limit
// raised past it) ends the program with its own message, not an abort.
TEST_F(Limites, MemoryRunningOutIsReportedNotACrash) {
  const Sortie r = lancer(d_,
                          "run " + q(dsc()) +
                              " --from '01/01/2021 00:00:00' --to '01/01/2023 00:00:00'"
                              " --step 00:00:01 --max-memory 1T",
                          0, "ulimit -v 400000; ");
  EXPECT_EQ(r.code, 1) << r.erreurs;
  EXPECT_NE(r.erreurs.find("tamso-cli: mémoire insuffisante"), std::string::npos) << r.erreurs;
  EXPECT_TRUE(sortie_vide());
}
#endif

}  // namespace
}  // namespace tamso
