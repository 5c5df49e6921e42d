#include <gtest/gtest.h>

#include "support/session_fixture.h"

namespace tamso {
namespace {

class SessionTest : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
};

TEST_F(SessionTest, FilesBesideTheProgram) {
  nouvelle_session('.', false);
  EXPECT_EQ(s().repertoire_programme(), programme_);
  EXPECT_EQ(s().chemin_parametres(), programme_ + "tamso.prm");
  EXPECT_EQ(s().chemin_periode(), programme_ + "tamso.2dt");
  EXPECT_EQ(s().chemin_recents(), programme_ + "nom_fic_rep_recents.txt");
  EXPECT_EQ(s().separateur_decimal(), '.');
  // Without an explicit directory the session uses TAMSO_HOME.
  Session t(port_);
  EXPECT_EQ(t.repertoire_programme(), programme_);
}

TEST_F(SessionTest, StartsWithPlaceholdersAndTheWindowCaption) {
  EXPECT_TRUE(s().sans_nom_description());
  EXPECT_EQ(s().nom_description, "fichier de description de données");
  EXPECT_EQ(s().etiquette_repertoire(Repertoire::donnees), "répertoire données");
  EXPECT_EQ(s().etiquette_repertoire(Repertoire::description), "répertoire description");
  EXPECT_EQ(s().etiquette_repertoire(Repertoire::sortie), "répertoire de sortie");
  d().dossier_choisi = "/m/";
  EXPECT_EQ(s().etiquette_repertoire(Repertoire::donnees), "/m/");
  EXPECT_EQ(s().legende_fenetre.rfind("T a m s o  -  ", 0), 0u);
  // The version is the project's, as the build gives it.
  EXPECT_NE(s().legende_fenetre.find(" v" TAMSO_VERSION_PROJET + std::string(20, ' ') + programme_),
            std::string::npos);
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_FALSE(s().periode_modifiee);
}

TEST(SourceDuMasque, ExcelClipboardOrDirectory) {
  EXPECT_EQ(source_du_masque("classeur.xlsx"), SourceDonnees::excel);
  EXPECT_EQ(source_du_masque("*.XLS"), SourceDonnees::excel);
  EXPECT_EQ(source_du_masque("ppp"), SourceDonnees::presse_papier);
  EXPECT_EQ(source_du_masque("*.csv"), SourceDonnees::repertoire);
}

TEST_F(SessionTest, DescriptionPathUsesTheDscExtension) {
  d().dossier_description = dossier_->chemin();
  s().nom_description = " riviere.txt ";
  EXPECT_EQ(s().chemin_dsc(), dossier_->chemin() + "riviere.DSC");
  s().nom_description = "riviere.dsc";  // a new file keeps the name as shown
  EXPECT_EQ(s().chemin_dsc(), dossier_->chemin() + "riviere.dsc");
  dossier_->ecrire("Lac.Dsc", "x");
  s().nom_description = "lac";  // an existing file of any case is the one used
  EXPECT_EQ(s().chemin_dsc(), dossier_->chemin() + "Lac.Dsc");
}

}  // namespace
}  // namespace tamso
