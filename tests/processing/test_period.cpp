#include <fstream>
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

Periode periode_heures(const char* debut, const char* fin, double pas) {
  Periode p;
  p.debut = debut;
  p.fin = fin;
  p.pas = pas;
  p.unite = UnitePas::heure;
  return p;
}

TEST(PeriodeValeurs, PasSelonUnite) {
  Periode p;
  p.unite = UnitePas::heure;
  p.pas = 15.0 / 1440;
  EXPECT_EQ(secondes_pas(p), 900);
  EXPECT_EQ(valeur_pas(p), 900 / 86400.0);
  p.pas = 900.9 / 86400;  // fractions of a second are dropped, not rounded
  EXPECT_EQ(secondes_pas(p), 900);
  p.pas = 2 + 3600 / 86400.0;  // only the time of day counts
  EXPECT_EQ(secondes_pas(p), 3600);
  p.pas = 0;
  EXPECT_EQ(valeur_pas(p), 0.0);

  p.nb_pas = 3;
  p.unite = UnitePas::jour;
  EXPECT_EQ(valeur_pas(p), 3.0);
  p.unite = UnitePas::mois;
  EXPECT_EQ(valeur_pas(p), 90.0);
  p.unite = UnitePas::annee;
  EXPECT_EQ(valeur_pas(p), 1095.0);
  p.nb_pas = -2;
  EXPECT_EQ(valeur_pas(p), 730.0);
}

TEST(PeriodeValeurs, NombreDeLignesArrondiAuPair) {
  const double debut = date("01/01/2024 00:00:00");
  const double heure = 1.0 / 24, quart = 15.0 / 1440;
  // A whole quotient k gives k when even, k + 1 when odd.
  EXPECT_EQ(nombre_lignes_attendu(debut, date("01/01/2024 10:00:00"), heure), 10);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("01/01/2024 11:00:00"), heure), 12);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("01/01/2024 01:00:00"), quart), 4);
  EXPECT_EQ(nombre_lignes_attendu(date("31/12/2023 23:45:00"), date("01/01/2024 01:00:00"), quart),
            6);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("01/01/2024 10:20:00"), heure), 11);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("01/01/2024 10:40:00"), heure), 11);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("31/12/2023 21:00:00"), heure), -2);
  EXPECT_EQ(nombre_lignes_attendu(debut, debut, heure), 0);
  EXPECT_EQ(nombre_lignes_attendu(debut, date("02/01/2024 00:00:00"), 0.0), 0);
  // One year of quarter hours.
  EXPECT_EQ(nombre_lignes_attendu(date("01/01/2023 00:00:00"), date("01/01/2024 00:00:00"), quart),
            35040);
  EXPECT_EQ(
      nombre_lignes_attendu(periode_heures("01/01/2024 00:00:00", "01/01/2024 11:00:00", heure)),
      12);
}

TEST(PeriodeValeurs, TexteDuNombreDeJours) {
  const double quart = 15.0 / 1440;
  EXPECT_EQ(texte_nombre_jours(4, quart), "");
  EXPECT_EQ(texte_nombre_jours(95, quart), "");
  EXPECT_EQ(texte_nombre_jours(96, quart), " => 1 jour");
  EXPECT_EQ(texte_nombre_jours(192, quart), " => 2 jours");
  EXPECT_EQ(texte_nombre_jours(35064, quart), " => 365 jours");
  EXPECT_EQ(texte_nombre_jours(-5, 1.0), " => 5 jours");
  EXPECT_EQ(texte_nombre_jours(0, 1.0), "");
  EXPECT_EQ(texte_nombre_jours(2000000000, 146000.0), " => 292000000000000 jours");
}

TEST(PeriodeValeurs, TextesDesDatesEtDuPas) {
  EXPECT_EQ(texte_element_liste(date("01/01/2024 00:00:00")), "01/01/2024 00:00:00");
  EXPECT_EQ(texte_element_liste(date("31/12/2023 23:45:00")), "31/12/2023 23:45:00");
  EXPECT_EQ(texte_date_heure_complet(date("07/11/2021")), "07/11/2021 00:00:00");
  EXPECT_EQ(texte_element_liste(valeur_depuis_secondes(-1)), "29/12/1899 23:59:59");

  EXPECT_EQ(nom_jour_semaine(1), "dimanche");
  EXPECT_EQ(nom_jour_semaine(4), "mercredi");
  EXPECT_EQ(nom_jour_semaine(7), "samedi");
  EXPECT_EQ(nom_jour_semaine(0), "");
  EXPECT_EQ(nom_jour_semaine(8), "");
  const Periode p = periode_heures("01/01/2024 10:00:00", "07/01/2024 23:00:00", 0.01);
  EXPECT_EQ(jour_semaine_debut(p), "lundi");
  EXPECT_EQ(jour_semaine_fin(p), "dimanche");

  Periode q;
  q.unite = UnitePas::heure;
  q.pas = 90.0 / 1440;
  EXPECT_EQ(texte_pas(q), "01:30:00");
  q.unite = UnitePas::jour;
  EXPECT_EQ(texte_pas(q), "1 jour");
  q.nb_pas = 2;
  EXPECT_EQ(texte_pas(q), "2 jours");
  q.unite = UnitePas::mois;
  EXPECT_EQ(texte_pas(q), "2 mois");
  q.unite = UnitePas::annee;
  EXPECT_EQ(texte_pas(q), "2 années");
  q.nb_pas = 1;
  EXPECT_EQ(texte_pas(q), "1 année");
}

TEST(PeriodeValeurs, ArrondiAuxPasEntiers) {
  const double quart = 15.0 / 1440;
  const auto texte = [](double v) { return texte_date_heure_complet(v); };
  EXPECT_EQ(texte(arrondir_au_pas_inferieur(date("07/11/2021 10:07:00"), quart)),
            "07/11/2021 10:00:00");
  EXPECT_EQ(texte(arrondir_au_pas_inferieur(date("07/11/2021 10:14:59"), quart)),
            "07/11/2021 10:00:00");
  EXPECT_EQ(texte(arrondir_au_pas_inferieur(date("07/11/2021 10:15:00"), quart)),
            "07/11/2021 10:15:00");
  EXPECT_EQ(texte(arrondir_au_pas_proche(date("07/11/2021 10:07:00"), quart)),
            "07/11/2021 10:00:00");
  EXPECT_EQ(texte(arrondir_au_pas_proche(date("07/11/2021 10:08:00"), quart)),
            "07/11/2021 10:15:00");
  EXPECT_EQ(texte(arrondir_au_pas_proche(date("07/11/2021 10:07:30"), quart)),
            "07/11/2021 10:15:00");
  EXPECT_EQ(texte(arrondir_au_pas_proche(date("07/11/2021 23:55:00"), quart)),
            "08/11/2021 00:00:00");
  EXPECT_EQ(texte(arrondir_au_pas_inferieur(date("07/11/2021 10:07:00"), 1.0)),
            "07/11/2021 00:00:00");
  EXPECT_EQ(arrondir_au_pas_inferieur(date("07/11/2021 10:07:00"), 0.0),
            date("07/11/2021 10:07:00"));
  // The aligned value is the one the reader gives for its text.
  EXPECT_EQ(arrondir_au_pas_proche(date("07/11/2021 10:08:00"), quart),
            date("07/11/2021 10:15:00"));
}

class PeriodeFichier : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
  void ecrire(const std::vector<std::string>& lignes) {
    std::ofstream(s().chemin_periode(), std::ios::binary) << test::crlf(lignes);
  }
};

TEST_F(PeriodeFichier, EcritureEtRelecture) {
  s().periode.debut = "07/11/2021 10:00:00";
  s().periode.fin = "08/11/2021 00:00:00";
  s().periode.pas = 30.0 / 1440;
  s().periode.resume_lignes = "28";
  s().periode.nb_pas = 3;
  s().periode.test_date = TestDate::inf_strict;
  s().periode.unite = UnitePas::mois;
  s().periode_modifiee = true;
  ASSERT_TRUE(ecrire_periode(s()));
  EXPECT_FALSE(s().periode_modifiee);
  std::vector<std::string> attendu = {
      "07/11/2021 10:00:00", "08/11/2021 00:00:00", "00:30:00", "28", "3", "1", "2"};
  attendu.resize(60);
  EXPECT_EQ(test::DossierTemporaire::lire(s().chemin_periode()), test::crlf(attendu));

  Session t(port_, OptionsSession{',', programme_});
  ASSERT_TRUE(lire_periode(t));
  EXPECT_EQ(t.periode.debut, "07/11/2021 10:00:00");
  EXPECT_EQ(t.periode.fin, "08/11/2021 00:00:00");
  EXPECT_EQ(heure_en_texte(t.periode.pas), "00:30:00");
  EXPECT_EQ(t.periode.resume_lignes, "28");
  EXPECT_EQ(t.periode.nb_pas, 3);
  EXPECT_EQ(t.periode.test_date, TestDate::inf_strict);
  EXPECT_EQ(t.periode.unite, UnitePas::mois);
  EXPECT_FALSE(t.periode_modifiee);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(PeriodeFichier, LignesVidesIllisiblesOuHorsBornes) {
  s().periode.fin = "05/05/2022 00:00:00";
  ecrire({"01/03/2023", "32/13/2024 00:00:00", "", "", "500", "", "9"});
  ASSERT_TRUE(lire_periode(s()));
  EXPECT_EQ(s().periode.debut, "01/03/2023 00:00:00");
  EXPECT_EQ(s().periode.fin, "05/05/2022 00:00:00");
  ASSERT_FALSE(s().journal.vide());
  EXPECT_EQ(s().journal.derniere().rfind(" * erreur date : ", 0), 0u);
  EXPECT_EQ(secondes_pas(s().periode), 900);
  EXPECT_EQ(s().periode.resume_lignes, "---");
  EXPECT_EQ(s().periode.nb_pas, 400);
  EXPECT_EQ(s().periode.test_date, TestDate::inf_ou_egal);
  EXPECT_EQ(s().periode.unite, UnitePas::heure);

  ecrire({"", "", "", "", "abc", "1", "2"});
  EXPECT_FALSE(lire_periode(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::erreur);
  EXPECT_EQ(port_.echanges[0].texte, "'abc' n'est pas une valeur entière correcte");
  EXPECT_EQ(s().periode.test_date, TestDate::inf_ou_egal);
  EXPECT_EQ(s().periode.unite, UnitePas::heure);
}

TEST_F(PeriodeFichier, ResumeDuNombreDeLignes) {
  s().periode = periode_heures("01/01/2024 00:00:00", "02/01/2024 00:00:00", 15.0 / 1440);
  rafraichir_nombre_lignes(s());
  EXPECT_EQ(s().periode.resume_lignes, "96 => 1 jour");
  EXPECT_FALSE(s().periode.resume_negatif);
  EXPECT_TRUE(s().periode_modifiee);

  s().periode_modifiee = false;
  s().periode.fin = "01/01/2024 00:00:00";
  rafraichir_nombre_lignes(s());
  EXPECT_EQ(s().periode.resume_lignes, "---");
  EXPECT_FALSE(s().periode_modifiee);

  s().periode.fin = "31/12/2023 00:00:00";
  rafraichir_nombre_lignes(s());
  EXPECT_EQ(s().periode.resume_lignes, "-96 => 1 jour");
  EXPECT_TRUE(s().periode.resume_negatif);

  s().periode.fin = "01/01/2024 12:00:00";
  s().periode.pas = 0;
  rafraichir_nombre_lignes(s());
  EXPECT_EQ(s().periode.resume_lignes, "---");

  s().periode = periode_heures("01/01/2023 00:00:00", "01/01/2024 00:00:00", 15.0 / 1440);
  rafraichir_nombre_lignes(s());
  EXPECT_EQ(s().periode.resume_lignes, "35 040 => 365 jours");
}

}  // namespace
}  // namespace tamso
