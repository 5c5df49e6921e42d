// The facts a batch run gives scripts: dates in ISO 8601, and the results
// file a description aims at, known before it runs.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/installation.h"
#include "app/run_summary.h"
#include "app/save.h"
#include "description/description.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

TEST(DateIso, DayFirstDateTimesBecomeIsoOthersStayAsTheyAre) {
  EXPECT_EQ(date_iso("07/11/2021 00:10:00"), "2021-11-07T00:10:00");
  EXPECT_EQ(date_iso(" 31/12/1999 23:59:59 "), "1999-12-31T23:59:59");
  for (const std::string autre :
       {"", "---", "7/11/2021 00:10:00", "07/11/2021 0:10:00", "07-11-2021 00:10:00",
        "07/11/2021T00:10:00", "ab/cd/efgh ij:kl:mn"})
    EXPECT_EQ(date_iso(autre), autre);
}

TEST(CheminResultatsPrevu, OutputFolderNameAndExtension) {
  struct Cas {
    std::string masque, donnees, sortie, nom, attendu;
  };
  const Cas cas[] = {
      {"*.csv", "/d/", "/s/", "res", "/s/res.txt"},
      {"*.csv", "/d/", "/s/", " res.csv", "/s/res.csv"},
      // The first "."-separated field, trimmed, and the last extension.
      {"*.csv", "/d/", "/s/", "a .b.dat", "/s/a.dat"},
      // No name: "A#", its placeholder left as written.
      {"*.csv", "/d/", "/s/", "  ", "/s/A#.txt"},
      {"*.csv", "/d/", "/s/", "niveau§", "/s/niveau§.txt"},
      // Text files processed in their own folder write into "Export".
      {"TXT", "/d/", "/d/", "res", "/d/Export/res.txt"},
      {"txt", "/d/", "/d/", "res", "/d/Export/res.txt"},
      {"TXT", "/d/", "/s/", "res", "/s/res.txt"},
      {"*.TXT", "/d/", "/d/", "res", "/d/res.txt"},
  };
  for (const Cas& c : cas) {
    Description d;
    d.masque = c.masque;
    d.dossier_choisi = c.donnees;
    d.dossier_choisi_sortie = c.sortie;
    d.nom_fic_sortie = c.nom;
    EXPECT_EQ(chemin_resultats_prevu(d), c.attendu) << c.masque << " " << c.nom;
  }
}

// The programs find their manual and examples in the shared data of an
// installation (bin/ beside share/tamso/), else beside them (a build folder).
TEST(Installation, SharedDataOfAnInstallationElseTheProgramsFolder) {
  const test::DossierTemporaire d;
  const std::string bin = d.sous_dossier("usr/bin");
  EXPECT_EQ(repertoire_fichiers_programme(bin), bin);
  const std::string partage = d.sous_dossier("usr/share/tamso");
  EXPECT_EQ(repertoire_fichiers_programme(bin), partage);
  EXPECT_EQ(repertoire_fichiers_programme(d.chemin() + "usr/bin"), partage);
  EXPECT_EQ(repertoire_exemples(partage), partage + "examples/");
  EXPECT_EQ(repertoire_fichiers_programme(""), "");
  // The running program's folder: the test's own.
  EXPECT_EQ(repertoire_executable(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
}  // namespace tamso
