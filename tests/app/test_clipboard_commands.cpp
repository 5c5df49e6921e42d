#include <gtest/gtest.h>

#include <memory>

#include "app/clipboard_commands.h"
#include "app/session.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

class BoutonPressePapier : public test::AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    session_ = std::make_unique<Session>(port_, OptionsSession{',', programme_});
    session_->description = description_par_defaut(programme_);
  }
  Session& s() { return *session_; }
  std::string capture() { return test::DossierTemporaire::lire(programme_ + "~presse-papier.ppp"); }

  InteractionScriptee port_;
  std::unique_ptr<Session> session_;
};

TEST_F(BoutonPressePapier, EmptyClipboardIsReported) {
  EXPECT_FALSE(lire_presse_papier(s()));
  EXPECT_EQ(port_.dernier_texte(), "le presse-papier est vide! ...");
}

TEST_F(BoutonPressePapier, ImportAsksThenShowsTheFirstLines) {
  port_.presse_papier = "a\tb\n1\t2\n3\t4\n5\t6\n";
  s().description.masque = "*.csv";
  s().description.separateur_colonne = SeparateurColonne::tabulation;
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
  EXPECT_EQ(s().description.masque, "*.csv");
  EXPECT_EQ(s().description.separateur_colonne, SeparateurColonne::tabulation);
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
