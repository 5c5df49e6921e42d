#include <filesystem>

#include <gtest/gtest.h>

#include "app/clipboard_source.h"
#include "app/data_loading.h"
#include "input/loader.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

namespace fs = std::filesystem;
class PressePapierCapture : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    d().masque = "*.csv";
    d().separateur_colonne = SeparateurColonne::tabulation;
    s().description_modifiee = false;
  }
  std::string brut() const { return test::DossierTemporaire::lire(programme_ + "~tmp.txt"); }
  std::string capture() const {
    return test::DossierTemporaire::lire(programme_ + "~presse-papier.ppp");
  }
};

TEST_F(PressePapierCapture, CopiedCellsBecomeASemicolonFile) {
  const auto taille = capturer_presse_papier(
      s(), "Date\tTemp\r\n01/03/2024 00:00:00\t12,5\r\n01/03/2024 00:10:00\t13\r\n");
  ASSERT_TRUE(taille);
  EXPECT_TRUE(port_.echanges.empty());
  const std::string attendu = "Date;Temp\r\n01/03/2024 00:00:00;12,5\r\n01/03/2024 00:10:00;13\r\n";
  EXPECT_EQ(capture(), attendu);
  EXPECT_EQ(*taille, attendu.size());
  EXPECT_EQ(brut(), "Date\tTemp\r\n01/03/2024 00:00:00\t12,5\r\n01/03/2024 00:10:00\t13\r\n");
  // Read from now on as a semicolon file of the clipboard mode.
  EXPECT_EQ(d().separateur_colonne, SeparateurColonne::point_virgule);
  EXPECT_EQ(d().masque, "ppp");
  EXPECT_EQ(s().source, SourceDonnees::presse_papier);
  EXPECT_TRUE(s().description_modifiee);
  // Memo1 holds the text as pasted.
  EXPECT_EQ(s().fichier_charge.nb_lignes, 3);
  EXPECT_EQ(s().fichier_charge.texte(0), "Date\tTemp");
  EXPECT_EQ(s().etiquette("Label10").rfind("lecture en ", 0), 0u);
  EXPECT_EQ(s().etiquette("Label6").rfind("Durée ", 0), 0u);
}

TEST_F(PressePapierCapture, EmptyClipboardSaysSoAndWritesNothing) {
  EXPECT_FALSE(capturer_presse_papier(s(), ""));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, "le presse-papier est vide! ...");
  EXPECT_FALSE(fs::exists(programme_ + "~presse-papier.ppp"));
  EXPECT_EQ(d().masque, "*.csv");
  EXPECT_FALSE(s().description_modifiee);
}

// Tabulations and semicolons inside cells are not protected; accents are
// written in Windows-1252.
TEST_F(PressePapierCapture, CellsAreJoinedBySemicolonsInWindows1252) {
  ASSERT_TRUE(capturer_presse_papier(s(), "a;b\tc\nd\te\tf"));
  EXPECT_EQ(capture(), "a;b;c\r\nd;e;f\r\n");
  ASSERT_TRUE(capturer_presse_papier(s(), "Humidité\t°C"));
  EXPECT_EQ(capture(),
            "Humidit\xe9;\xb0"
            "C\r\n");
}

TEST_F(PressePapierCapture, AClipboardDescriptionStaysUnmodified) {
  d().masque = "ppp";
  d().separateur_colonne = SeparateurColonne::point_virgule;
  ASSERT_TRUE(capturer_presse_papier(s(), "x\ty"));
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(PressePapierCapture, OneLineOnlyIsReportedByTheLoader) {
  ASSERT_TRUE(capturer_presse_papier(s(), "Date\tTemp"));
  EXPECT_EQ(capture(), "Date;Temp\r\n");
  d().num_ligne_donnee = "2";
  EXPECT_FALSE(charger_fichier_donnees(s(), programme_ + kFichierPressePapier));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            " le presse papier ne contient que 11 octets\n\n 3 premières lignes :\n"
            "==============================\nDate;Temp\n"
            "==============================\n\n"
            " => Annuler pour   Recopier les données du fichier Excel");
  EXPECT_EQ(port_.echanges[0].boutons, Boutons::annuler);
}

}  // namespace
}  // namespace tamso
