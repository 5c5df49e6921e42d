#include <string>

#include <gtest/gtest.h>

#include "app/period_commands.h"
#include "input/dates.h"
#include "processing/period.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

double date(const char* texte) {
  return *lire_date_heure(texte);
}

class PeriodeCommandes : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
    Periode& p = s().periode;
    p.debut = "01/01/2024 00:00:00";
    p.fin = "02/01/2024 00:00:00";
    p.pas = 15.0 / 1440;
    p.unite = UnitePas::heure;
    remplir_liste();
    s().periode_modifiee = false;
    s().description_modifiee = false;
  }
  void remplir_liste() {
    s().liste_horodatee.elements.clear();
    s().liste_horodatee.elements.push_back("_intitulés des colonnes");
    s().liste_horodatee.elements.push_back("01/01/2024 00:00:00");
    s().liste_horodatee.valeurs = {0.0, date("01/01/2024 00:00:00")};
    s().liste_horodatee.n = 1;
  }
  // The common effects of a period edit.
  void attendre_effets_periode(const char* resume) {
    EXPECT_TRUE(s().periode_modifiee);
    EXPECT_TRUE(s().liste_horodatee.vide());
    EXPECT_EQ(s().liste_horodatee.n, 0);
    EXPECT_EQ(s().periode.resume_lignes, resume);
  }
};

TEST_F(PeriodeCommandes, SelecteursDeLaPeriodeEtDuPas) {
  changer_debut(s(), date("07/11/2021 10:07:00"));
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:07:00");
  EXPECT_EQ(jour_semaine_debut(s().periode), "dimanche");
  changer_fin(s(), date("08/11/2021 10:07:00"));
  EXPECT_EQ(s().periode.fin, "08/11/2021 10:07:00");
  EXPECT_EQ(jour_semaine_fin(s().periode), "lundi");
  attendre_effets_periode("96 => 1 jour");
  EXPECT_FALSE(s().description_modifiee);

  remplir_liste();
  changer_pas(s(), 1.25);  // only the time of day counts: 06:00:00
  EXPECT_EQ(secondes_pas(s().periode), 6 * 3600);
  attendre_effets_periode("4 => 1 jour");

  changer_nb_pas(s(), 0);
  EXPECT_EQ(s().periode.nb_pas, 1);
  changer_nb_pas(s(), 401);
  EXPECT_EQ(s().periode.nb_pas, 400);

  changer_unite(s(), 5);
  EXPECT_EQ(s().periode.unite, UnitePas::heure);
  remplir_liste();
  changer_nb_pas(s(), 1);
  changer_unite(s(), static_cast<int>(UnitePas::jour));
  EXPECT_EQ(s().periode.unite, UnitePas::jour);
  attendre_effets_periode("2 => 2 jours");

  remplir_liste();
  s().periode_modifiee = false;
  changer_test_date(s(), 2);
  EXPECT_EQ(s().periode.test_date, TestDate::inf_ou_egal);
  EXPECT_FALSE(s().liste_horodatee.vide());
  changer_test_date(s(), static_cast<int>(TestDate::inf_strict));
  EXPECT_EQ(s().periode.test_date, TestDate::inf_strict);
  EXPECT_TRUE(s().periode_modifiee);
  EXPECT_TRUE(s().liste_horodatee.vide());
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(PeriodeCommandes, BoutonsO) {
  s().periode.debut = "07/11/2021 10:07:00";
  s().periode.fin = "08/11/2021 23:30:00";
  port_.reponses = {Reponse::non, Reponse::oui, Reponse::oui, Reponse::oui};

  EXPECT_FALSE(mettre_heure_debut_a_zero(s()));
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:07:00");
  EXPECT_FALSE(s().liste_horodatee.vide());
  EXPECT_TRUE(mettre_heure_debut_a_zero(s()));
  EXPECT_EQ(s().periode.debut, "07/11/2021 00:00:00");
  EXPECT_TRUE(mettre_heure_fin_a_zero(s()));
  EXPECT_EQ(s().periode.fin, "08/11/2021 00:00:00");
  attendre_effets_periode("96 => 1 jour");
  EXPECT_TRUE(mettre_pas_a_zero(s()));
  EXPECT_EQ(s().periode.pas, 0.0);
  EXPECT_EQ(s().periode.resume_lignes, "---");

  ASSERT_EQ(port_.echanges.size(), 4u);
  const std::string question_debut =
      "=== heure début ===\n\n  10:07:00\n\n mettre à\n\n  00:00:00   ?";
  EXPECT_EQ(port_.echanges[0].texte, question_debut);
  EXPECT_EQ(port_.echanges[0].boutons, Boutons::oui_non);
  EXPECT_EQ(port_.echanges[1].texte, question_debut);
  EXPECT_EQ(port_.echanges[2].texte,
            "=== heure de fin ===\n\n  23:30:00\n\n mettre à\n\n  00:00:00   ?");
  EXPECT_EQ(port_.echanges[3].texte,
            "=== heure du pas ===\n\n  00:15:00\n\n mettre à\n\n  00:00:00 ?");
}

TEST_F(PeriodeCommandes, DatesDeLaDescription) {
  d().min_dsc = "07/11/2021 10:07:00";
  d().max_dsc = "08/11/2021 18:00:00";
  d().pas_dsc = "00:30:00";
  port_.reponses = {Reponse::oui, Reponse::non, Reponse::oui};

  EXPECT_TRUE(recuperer_min_dsc(s()));
  EXPECT_EQ(port_.dernier_texte(), " récupérer la date/heure min ?\n07/11/2021 10:07:00");
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:07:00");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_TRUE(s().liste_horodatee.vide());

  EXPECT_FALSE(recuperer_max_dsc(s()));
  EXPECT_EQ(port_.dernier_texte(), " récupérer la date/heure max ?\n08/11/2021 18:00:00");
  EXPECT_EQ(s().periode.fin, "02/01/2024 00:00:00");

  EXPECT_TRUE(recuperer_pas_dsc(s()));
  EXPECT_EQ(port_.dernier_texte(), " récupérer le pas ?\n00:30:00");
  EXPECT_EQ(secondes_pas(s().periode), 1800);

  // A label that holds no date asks nothing.
  d().max_dsc = "---";
  d().pas_dsc = "";
  EXPECT_FALSE(recuperer_max_dsc(s()));
  EXPECT_FALSE(recuperer_pas_dsc(s()));
  EXPECT_EQ(port_.echanges.size(), 3u);
  EXPECT_EQ(port_.questions_non_scriptees, 0);
}

TEST_F(PeriodeCommandes, DatesDesFichiersAligneesSurLePas) {
  port_.reponses = {Reponse::oui, Reponse::oui, Reponse::non, Reponse::annuler, Reponse::oui};

  EXPECT_TRUE(recuperer_date_heure_mini(s(), "07/11/2021 10:07:00"));
  EXPECT_EQ(port_.echanges.back().texte,
            " récupérer la date/heure mini ?\n\n(oui) 07/11/2021 10:00:00\n\n"
            "(non) 07/11/2021 10:07:00\n\n");
  EXPECT_EQ(port_.echanges.back().boutons, Boutons::oui_non_annuler);
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:00:00");
  EXPECT_TRUE(s().description_modifiee);

  EXPECT_TRUE(recuperer_date_heure_maxi(s(), "07/11/2021 10:08:00"));
  EXPECT_EQ(port_.echanges.back().texte,
            " récupérer la date/heure maxi ?\n\n(oui) 07/11/2021 10:15:00\n\n"
            "(non) 07/11/2021 10:08:00\n\n");
  EXPECT_EQ(s().periode.fin, "07/11/2021 10:15:00");
  attendre_effets_periode("2");

  EXPECT_TRUE(recuperer_date_heure_maxi(s(), "07/11/2021 10:07:00"));
  EXPECT_EQ(port_.echanges.back().texte,
            " récupérer la date/heure maxi ?\n\n(oui) 07/11/2021 10:00:00\n\n"
            "(non) 07/11/2021 10:07:00\n\n");
  EXPECT_EQ(s().periode.fin, "07/11/2021 10:07:00");

  EXPECT_FALSE(recuperer_date_heure_mini(s(), "06/11/2021 08:00:00"));
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:00:00");

  EXPECT_FALSE(recuperer_date_heure_mini(s(), "10:07"));
  EXPECT_EQ(port_.echanges.size(), 4u);

  EXPECT_TRUE(recuperer_date_max_table(s(), "09/11/2021 00:00:00"));
  EXPECT_EQ(port_.dernier_texte(), " récupérer la date max ?\n09/11/2021 00:00:00");
  EXPECT_EQ(s().periode.fin, "09/11/2021 00:00:00");
  EXPECT_FALSE(recuperer_date_min_table(s(), "09/11/2021 00:00:00"));  // unscripted: No
  EXPECT_EQ(port_.dernier_texte(), " récupérer la date min ?\n09/11/2021 00:00:00");
  EXPECT_EQ(s().periode.debut, "07/11/2021 10:00:00");
}

}  // namespace
}  // namespace tamso
