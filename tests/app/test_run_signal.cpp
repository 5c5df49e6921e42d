#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/listing.h"
#include "app/run.h"
#include "app/session.h"
#include "input/dates.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

constexpr double kMinute = 1.0 / 1440;
constexpr double kSeconde = kMinute / 60;

// More than a minute from the run's start, and the computer not to be
// switched off afterwards.
TEST(SignalFin, LongRunsOnlyAndNotBeforeShutdown) {
  struct Cas {
    double duree;
    bool arret_pc;
    bool attendu;
  };
  const Cas cas[] = {
      {59 * kSeconde, false, false},     {kMinute - kSeconde / 10, false, false},
      {kMinute + kSeconde, false, true}, {3 * kMinute, false, true},
      {3 * kMinute, true, false},
  };
  for (const Cas& c : cas) {
    EtatResultats r;
    r.debut_run = 45000.5;
    r.arret_pc = c.arret_pc;
    EXPECT_EQ(signal_de_fin(r, r.debut_run + c.duree), c.attendu) << c.duree / kSeconde;
  }
}

class SignalTraitement : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
    d().dossier_choisi_sortie = dossier_->sous_dossier("sortie");
    d().nom_fic_sortie = "res";
    dossier_->ecrire("donnees/a.csv",
                     test::crlf({"Date;v", "2021-03-12 10:00:00;1", "2021-03-12 10:15:00;2",
                                 "2021-03-12 10:30:00;3", "2021-03-12 10:45:00;4"}));
    s().periode.debut = "12/03/2021 10:00:00";
    s().periode.fin = "12/03/2021 11:00:00";
    s().periode.pas = 15 * kMinute;
    ASSERT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  }
  // A run whose work seems to last `duree` (days): its start is moved back
  // while the results are being laid out.
  IssueTraitement traiter_en(double duree) {
    port_.pendant_progression = [this, duree](const std::string& texte, int) {
      if (texte == "3- patienter ... mise en forme   ") s().resultats.debut_run -= duree;
    };
    return traiter_run(s());
  }
};

TEST_F(SignalTraitement, ARunOfMoreThanAMinuteEndsWithNineTones) {
  // The tones are asked for before the run's final message.
  std::size_t tonalites_au_message = 99;
  port_.pendant_question = [this, &tonalites_au_message](const std::string& texte) {
    if (texte.find("TRAITEMENT EFFECTU") != std::string::npos)
      tonalites_au_message = port_.tonalites.size();
  };
  ASSERT_EQ(traiter_en(2 * kMinute), IssueTraitement::enregistre) << port_.dernier_texte();
  ASSERT_EQ(port_.tonalites.size(), 1u);
  EXPECT_EQ(port_.tonalites[0].size(), 9u);
  EXPECT_EQ(tonalites_au_message, 1u);
}

TEST_F(SignalTraitement, NoToneAfterAShortRunNorBeforeShutdown) {
  ASSERT_EQ(traiter_en(0), IssueTraitement::enregistre) << port_.dernier_texte();
  EXPECT_TRUE(port_.tonalites.empty());
  s().resultats.arret_pc = true;
  ASSERT_EQ(traiter_en(2 * kMinute), IssueTraitement::enregistre) << port_.dernier_texte();
  EXPECT_TRUE(port_.tonalites.empty());
}

}  // namespace
}  // namespace tamso
