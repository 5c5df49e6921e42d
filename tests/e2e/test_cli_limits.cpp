// End-to-end: the batch program at the edges — runs bigger than the machine,
// hostile names and lines, failures that must say why.
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
