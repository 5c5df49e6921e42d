#include <gtest/gtest.h>

#include "app/clipboard_commands.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

class BoutonPressePapier : public test::AvecSession {
 protected:
  std::string capture() { return test::DossierTemporaire::lire(programme_ + "~presse-papier.ppp"); }
};

TEST_F(BoutonPressePapier, EmptyClipboardIsReported) {
  EXPECT_FALSE(lire_presse_papier(s()));
  EXPECT_EQ(port_.dernier_texte(), "le presse-papier est vide! ...");
}

TEST_F(BoutonPressePapier, ImportAsksThenShowsTheFirstLines) {
  port_.presse_papier = "a\tb\n1\t2\n3\t4\n5\t6\n";
  d().masque = "*.csv";
  d().separateur_colonne = SeparateurColonne::tabulation;
  s().description_modifiee = false;
  port_.reponses = {Reponse::oui, Reponse::annuler};
  EXPECT_FALSE(importer_presse_papier(s()));
  ASSERT_EQ(port_.echanges.size(), 2u);
  EXPECT_EQ(port_.echanges[0].texte,
            "=== Presse-Papiers ===\n\n  Voulez-vous importer les données du presse-papier");
  EXPECT_EQ(port_.echanges[1].texte,
            " le presse papier contient 20 octets\n\n voir le cadre en ci-dessous et les 3 lignes "
            "suivantes\n\n les 3 premières lignes :\n\n\na\tb\n1\t2\n3\t4\n");
  EXPECT_EQ(capture(), "a;b\r\n1;2\r\n3;4\r\n5;6\r\n");
  // Cancelled: the previous mask, separator and mark come back.
  EXPECT_EQ(d().masque, "*.csv");
  EXPECT_EQ(d().separateur_colonne, SeparateurColonne::tabulation);
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_EQ(s().source, SourceDonnees::repertoire);
}

TEST_F(BoutonPressePapier, ImportCancelledAtOnceChangesNothing) {
  port_.presse_papier = "a\tb\n";
  port_.reponses = {Reponse::annuler};
  EXPECT_FALSE(importer_presse_papier(s()));
  EXPECT_EQ(port_.echanges.size(), 1u);
  EXPECT_TRUE(capture().empty());
}

}  // namespace
}  // namespace tamso
