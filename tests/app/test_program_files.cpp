#include <gtest/gtest.h>

#include "app/program_files.h"
#include "input/files.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;

class FichiersProgramme : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
};

TEST(Couleurs, ThreeNumbersOrTheDefault) {
  const Couleur defaut{1, 2, 3};
  EXPECT_EQ(couleur_depuis_texte("255,245,221", defaut), (Couleur{255, 245, 221}));
  EXPECT_EQ(couleur_depuis_texte("10,20", defaut), defaut);
  EXPECT_EQ(couleur_depuis_texte("1,2,3,4", defaut), defaut);
  EXPECT_EQ(couleur_depuis_texte("", defaut), defaut);
  EXPECT_EQ(couleur_en_texte(Couleur{208, 240, 218}), "208,240,218");
}

TEST_F(FichiersProgramme, NoParametersFileGivesDefaultColoursAndNoQuestion) {
  EXPECT_EQ(s().couleurs, couleurs_par_defaut());
  EXPECT_EQ(d().coul_nb, 0);
  EXPECT_EQ(lire_derniere_description(s()), "");
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(FichiersProgramme, ColoursAndSchemeComeFromTheParametersFile) {
  dossier_->ecrire("programme/tamso.prm", crlf({"/d/x.dsc", "1,2,3", "faux", "", "4,5,6", "1"}));
  nouvelle_session(',', false);
  EXPECT_EQ(s().couleurs[0], (Couleur{1, 2, 3}));
  EXPECT_EQ(s().couleurs[1], couleurs_par_defaut()[1]);
  EXPECT_EQ(s().couleurs[2], couleurs_par_defaut()[2]);
  EXPECT_EQ(s().couleurs[3], (Couleur{4, 5, 6}));
  EXPECT_EQ(lire_schema_couleurs(s()), 1);
  EXPECT_EQ(d().coul_nb, 1);  // the window's scheme at start
  EXPECT_EQ(lire_derniere_description(s()), "/d/x.dsc");
  dossier_->ecrire("programme/tamso.prm", crlf({"", "", "", "", "", "0"}));
  EXPECT_EQ(lire_schema_couleurs(s()), 0);
}

TEST_F(FichiersProgramme, NumberedLinesWrittenTogether) {
  const std::string chemin = dossier_->ecrire("n.txt", crlf({"a", "b", "c"}));
  ASSERT_TRUE(ecrire_lignes_numerotees(chemin, {{2, "B"}, {60, "fin"}, {61, "ignoree"}}));
  std::vector<std::string> attendu(60);
  attendu[0] = "a";
  attendu[1] = "B";
  attendu[2] = "c";
  attendu[59] = "fin";
  EXPECT_EQ(DossierTemporaire::lire(chemin), crlf(attendu));
}

TEST_F(FichiersProgramme, RecentDirectoriesSortedWithoutDuplicatesNorPlaceholders) {
  d().dossier_choisi = "/mesures/";
  ajouter_repertoires_recents(s());  // description and output still placeholders
  EXPECT_EQ(s().repertoires_recents, std::vector<std::string>{"1- /mesures/"});
  d().dossier_choisi_sortie = "/export/";
  d().dossier_description = "/desc/";
  ajouter_repertoires_recents(s());
  ajouter_repertoires_recents(s());
  const std::vector<std::string> attendu = {"1- /mesures/", "2- /desc/", "3- /export/"};
  EXPECT_EQ(s().repertoires_recents, attendu);
  d().dossier_choisi = "/autres/";
  ajouter_repertoires_recents(s());
  EXPECT_EQ(s().repertoires_recents,
            (std::vector<std::string>{"1- /autres/", "1- /mesures/", "2- /desc/", "3- /export/"}));
  EXPECT_EQ(DossierTemporaire::lire(programme_ + "nom_fic_rep_recents.txt"),
            crlf(s().repertoires_recents));

  Session t(port_, OptionsSession{',', programme_});
  charger_repertoires_recents(t);
  EXPECT_EQ(t.repertoires_recents, s().repertoires_recents);
}

TEST_F(FichiersProgramme, DirectoryChecksOpenTheMissingChooser) {
  d().dossier_choisi = dossier_->chemin() + "absent/";
  verifier_repertoires(s());
  EXPECT_EQ(port_.choix_repertoire, std::vector<Repertoire>{Repertoire::donnees});
  port_.choix_repertoire.clear();
  d().dossier_choisi = dossier_->chemin();
  d().dossier_choisi_sortie = dossier_->chemin() + "absent/";
  verifier_repertoires(s());
  EXPECT_EQ(port_.choix_repertoire, std::vector<Repertoire>{Repertoire::sortie});
  port_.choix_repertoire.clear();
  d().dossier_choisi_sortie = dossier_->chemin();
  verifier_repertoires(s());
  EXPECT_TRUE(port_.choix_repertoire.empty());
}

TEST_F(FichiersProgramme, GraphWindowGeometryComesBackAsWritten) {
  EXPECT_FALSE(lire_geometrie_graphiques(s()).has_value());
  const GeometrieFenetre g{-1200, 35, 1024, 700, false};
  ASSERT_TRUE(ecrire_geometrie_graphiques(s(), g));
  EXPECT_EQ(DossierTemporaire::lire(programme_ + kNomFichierFenetreGraphiques),
            crlf({"-1200,35,1024,700,0"}));
  EXPECT_EQ(lire_geometrie_graphiques(s()), g);
  ASSERT_TRUE(ecrire_geometrie_graphiques(s(), GeometrieFenetre{0, 0, 800, 600, true}));
  EXPECT_EQ(lire_geometrie_graphiques(s()), (GeometrieFenetre{0, 0, 800, 600, true}));
}

TEST_F(FichiersProgramme, GraphWindowGeometryRefusesAnUnreadableLine) {
  for (const char* ligne :
       {"10,20,800,600", "10,20,800,600,0,1", "10,x,800,600,0", "10,,800,600,0", "10,20,99,600,0",
        "10,20,800,99,0", "10,20,800,600,2", "10,20,800.5,600,0", " 10,20,800,600,0"}) {
    dossier_->ecrire("programme/" + std::string(kNomFichierFenetreGraphiques), crlf({ligne}));
    EXPECT_FALSE(lire_geometrie_graphiques(s()).has_value()) << ligne;
  }
}

}  // namespace
}  // namespace tamso
