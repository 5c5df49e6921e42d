#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/timestamp_commands.h"
#include "input/dates.h"
#include "processing/period.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

const std::string kCorrigerMois =
    "\n\n     corriger     (Oui)\n\n     continuer    (Non)\n\n     ou annuler   (Annuler)";
const std::string kCorrigerHeures =
    "   corriger     (Oui)\n\n   continuer    (Non)\n\n   ou annuler   (Annuler)";

class ListeHorodateeGeneration : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
  void periode(const char* debut, const char* fin, UnitePas unite, int nb = 1,
               double pas = 15.0 / 1440, TestDate test = TestDate::inf_strict) {
    Periode& p = s().periode;
    p.debut = debut;
    p.fin = fin;
    p.unite = unite;
    p.nb_pas = nb;
    p.pas = pas;
    p.test_date = test;
    s().periode_modifiee = false;
  }
  // The timestamps 1..N, with the placeholder in front and each value equal to
  // what the date reader gives for its text.
  void attendre_liste(const std::vector<std::string>& horodates) {
    const ListeHorodatee& l = s().liste_horodatee;
    std::vector<std::string> attendu{"_intitulés des colonnes"};
    attendu.insert(attendu.end(), horodates.begin(), horodates.end());
    EXPECT_EQ(l.elements, attendu);
    EXPECT_EQ(l.n, static_cast<int>(horodates.size()));
    ASSERT_EQ(l.valeurs.size(), l.elements.size());
    EXPECT_EQ(l.valeurs[0], 0.0);
    for (std::size_t i = 1; i < l.elements.size(); ++i)
      EXPECT_EQ(l.valeurs[i], lire_date_heure(l.elements[i]).value_or(-1)) << l.elements[i];
  }
};

TEST_F(ListeHorodateeGeneration, PasHoraireDepuisUnPasAvantLeDebut) {
  periode("01/01/2024 00:00:00", "01/01/2024 01:00:00", UnitePas::heure, 1, 15.0 / 1440,
          TestDate::inf_ou_egal);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"31/12/2023 23:45:00", "01/01/2024 00:00:00", "01/01/2024 00:15:00",
                  "01/01/2024 00:30:00", "01/01/2024 00:45:00", "01/01/2024 01:00:00"});
  EXPECT_EQ(s().liste_horodatee.nr_final, "5");
  EXPECT_EQ(s().periode.resume_lignes, "6");
  EXPECT_TRUE(port_.echanges.empty());  // no date-test question for a time step
  EXPECT_FALSE(s().periode_modifiee);

  // A step that does not divide the period: the last item is the last step
  // not after the end.
  periode("01/01/2024 00:00:00", "01/01/2024 01:10:00", UnitePas::heure, 1, 20.0 / 1440);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"31/12/2023 23:40:00", "01/01/2024 00:00:00", "01/01/2024 00:20:00",
                  "01/01/2024 00:40:00", "01/01/2024 01:00:00"});

  // Progress through the port, stage 2.
  ASSERT_FALSE(port_.progressions.empty());
  EXPECT_EQ(port_.progressions.front().first, "2- liste horodatée ...  0%  ");
  EXPECT_EQ(port_.progressions.back().first, "2- liste horodatée ... 100%   ");
  for (const auto& [texte, phase] : port_.progressions) EXPECT_EQ(phase, 2) << texte;
}

TEST_F(ListeHorodateeGeneration, MoisEtAnnees) {
  periode("01/03/2023 00:00:00", "01/06/2023 00:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"01/02/2023 00:00:00", "01/03/2023 00:00:00", "01/04/2023 00:00:00",
                  "01/05/2023 00:00:00", "01/06/2023 00:00:00"});
  EXPECT_EQ(s().periode.resume_lignes, "5 => 150 jours");
  EXPECT_EQ(s().liste_horodatee.nr_final, "4");

  periode("01/03/2023 00:00:00", "01/09/2023 00:00:00", UnitePas::mois, 2);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"01/01/2023 00:00:00", "01/03/2023 00:00:00", "01/05/2023 00:00:00",
                  "01/07/2023 00:00:00", "01/09/2023 00:00:00"});

  periode("01/11/2023 00:00:00", "01/02/2024 00:00:00", UnitePas::mois, 1);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"01/10/2023 00:00:00", "01/11/2023 00:00:00", "01/12/2023 00:00:00",
                  "01/01/2024 00:00:00", "01/02/2024 00:00:00"});

  periode("01/01/2025 00:00:00", "01/01/2027 00:00:00", UnitePas::annee);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste(
      {"01/01/2024 00:00:00", "01/01/2025 00:00:00", "01/01/2026 00:00:00", "01/01/2027 00:00:00"});
  EXPECT_EQ(s().periode.resume_lignes, "4 => 1460 jours");
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(ListeHorodateeGeneration, JoursAvecUneHeureQuiNestPasMinuit) {
  const std::string question =
      "--- PAR JOUR ------------\n\n01/01/2024 10:30:00  10:30:00\n04/01/2024 10:30:00  10:30:00"
      "\n\n les heures des dates de début ou de fin ne sont pas à zéro =>  00:00:00    \n\n"
      "10:30:00 -> 00:00:00  et  \n10:30:00 -> 00:00:00" +
      kCorrigerMois;
  port_.reponses = {Reponse::non, Reponse::oui, Reponse::annuler, Reponse::oui};

  periode("01/01/2024 10:30:00", "04/01/2024 10:30:00", UnitePas::jour);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, question);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::avertissement);
  EXPECT_EQ(port_.echanges[0].boutons, Boutons::oui_non_annuler);
  attendre_liste({"31/12/2023 10:30:00", "01/01/2024 10:30:00", "02/01/2024 10:30:00",
                  "03/01/2024 10:30:00", "04/01/2024 10:30:00"});
  EXPECT_EQ(s().periode.debut, "01/01/2024 10:30:00");

  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(s().periode.debut, "01/01/2024 00:00:00");
  EXPECT_EQ(s().periode.fin, "04/01/2024 00:00:00");
  EXPECT_TRUE(s().periode_modifiee);
  attendre_liste({"31/12/2023 00:00:00", "01/01/2024 00:00:00", "02/01/2024 00:00:00",
                  "03/01/2024 00:00:00", "04/01/2024 00:00:00"});

  // Only the end off midnight; Cancel leaves the list empty.
  periode("01/01/2024 00:00:00", "04/01/2024 06:00:00", UnitePas::jour);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::annulee);
  EXPECT_EQ(port_.echanges.back().texte,
            "--- PAR JOUR ------------\n\n01/01/2024 00:00:00  00:00:00\n04/01/2024 06:00:00  "
            "06:00:00\n\n les heures des dates de début ou de fin ne sont pas à zéro =>  00:00:00"
            "    \n\n    06:00:00 -> 00:00:00" +
                kCorrigerMois);
  EXPECT_TRUE(s().liste_horodatee.vide());
  EXPECT_EQ(s().liste_horodatee.n, 0);
  EXPECT_EQ(s().periode.fin, "04/01/2024 06:00:00");

  // The date test "(inf ou =)" is questioned first for calendar units.
  periode("01/01/2024 00:00:00", "03/01/2024 00:00:00", UnitePas::jour, 1, 0.01,
          TestDate::inf_ou_egal);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(port_.echanges.back().texte,
            " le test sur les dates devrait être (inf strict)\n\n   [date [mesure]  <    "
            "[horodatées] (inf strict)]\n\n   corriger cette option (Oui / Non)");
  EXPECT_EQ(port_.echanges.back().boutons, Boutons::oui_non);
  EXPECT_EQ(s().periode.test_date, TestDate::inf_strict);
  EXPECT_TRUE(s().periode_modifiee);
  EXPECT_EQ(s().liste_horodatee.n, 4);

  periode("01/01/2024 00:00:00", "03/01/2024 00:00:00", UnitePas::jour, 1, 0.01,
          TestDate::inf_ou_egal);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);  // unscripted: No
  EXPECT_EQ(s().periode.test_date, TestDate::inf_ou_egal);
  EXPECT_EQ(s().liste_horodatee.n, 4);
}

TEST_F(ListeHorodateeGeneration, QuestionsDesMois) {
  port_.reponses = {Reponse::oui, Reponse::oui, Reponse::oui, Reponse::non};
  periode("15/03/2023 00:00:00", "20/03/2023 00:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "--- PAR MOIS ------------\n\n   les dates de début et de fin ne sont pas du type  "
            "01/mm/aaaa\n\n15/03/2023  et  20/03/2023" +
                kCorrigerMois);
  EXPECT_EQ(s().periode.debut, "01/03/2023 00:00:00");
  EXPECT_EQ(s().periode.fin, "01/04/2023 00:00:00");
  EXPECT_TRUE(s().periode_modifiee);
  attendre_liste({"01/02/2023 00:00:00", "01/03/2023 00:00:00", "01/04/2023 00:00:00"});

  // Only the end off the first: it goes back to the first of its month.
  periode("01/03/2023 00:00:00", "20/05/2023 00:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(port_.echanges.back().texte,
            "--- PAR MOIS ------------\n\n   les dates de début et de fin ne sont pas du type  "
            "01/mm/aaaa\n\n    20/05/2023" +
                kCorrigerMois);
  EXPECT_EQ(s().periode.fin, "01/05/2023 00:00:00");

  // December start, same month: the end moves to January of the next year.
  periode("10/12/2023 00:00:00", "20/12/2023 00:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(s().periode.debut, "01/12/2023 00:00:00");
  EXPECT_EQ(s().periode.fin, "01/01/2024 00:00:00");

  // Times of day off midnight: "continuer" keeps the start's time for every month.
  periode("01/03/2023 06:00:00", "01/05/2023 06:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(port_.echanges.back().texte,
            "--- PAR MOIS ------------\n\n01/03/2023 06:00:00\n01/05/2023 06:00:00\n\n les "
            "heures des dates de début et de fin ne sont pas à zéro 00:00:00\n\n" +
                kCorrigerHeures);
  attendre_liste(
      {"01/02/2023 06:00:00", "01/03/2023 06:00:00", "01/04/2023 06:00:00", "01/05/2023 06:00:00"});
  EXPECT_EQ(port_.questions_non_scriptees, 0);
}

TEST_F(ListeHorodateeGeneration, JourDuMoisAbsentRameneAuDernierJour) {
  port_.reponses = {Reponse::non, Reponse::non};
  periode("31/01/2024 00:00:00", "31/05/2024 00:00:00", UnitePas::mois);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"31/12/2023 00:00:00", "31/01/2024 00:00:00", "29/02/2024 00:00:00",
                  "31/03/2024 00:00:00", "30/04/2024 00:00:00", "31/05/2024 00:00:00"});

  periode("29/02/2024 00:00:00", "28/02/2029 00:00:00", UnitePas::annee);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  attendre_liste({"28/02/2023 00:00:00", "29/02/2024 00:00:00", "28/02/2025 00:00:00",
                  "28/02/2026 00:00:00", "28/02/2027 00:00:00", "29/02/2028 00:00:00",
                  "28/02/2029 00:00:00"});
  EXPECT_EQ(port_.questions_non_scriptees, 0);
}

TEST_F(ListeHorodateeGeneration, QuestionDesAnnees) {
  port_.reponses = {Reponse::oui, Reponse::annuler};
  periode("15/06/2023 00:00:00", "20/06/2023 00:00:00", UnitePas::annee);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(port_.echanges.back().texte,
            "--- PAR ANNEE ------------\n\n   les dates de début et de fin ne sont pas du type   "
            "01/01/aaaa\n\n   15/06/2023 00:00:00\n   20/06/2023 00:00:00\n\n" +
                kCorrigerHeures);
  EXPECT_EQ(s().periode.debut, "01/01/2023 00:00:00");
  EXPECT_EQ(s().periode.fin, "01/01/2024 00:00:00");
  attendre_liste({"01/01/2022 00:00:00", "01/01/2023 00:00:00", "01/01/2024 00:00:00"});

  periode("01/01/2023 00:00:00", "02/01/2025 00:00:00", UnitePas::annee);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::annulee);
  EXPECT_TRUE(s().liste_horodatee.vide());
  EXPECT_EQ(s().periode.fin, "02/01/2025 00:00:00");
}

TEST_F(ListeHorodateeGeneration, PlusDe32000Lignes) {
  const std::string question =
      "\n\n   Le nombre de lignes à générer est supérieur à 32000       .\n\n   continuer ? ";
  port_.reponses = {Reponse::non, Reponse::oui};
  periode("01/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure, 1, 1.0 / 86400);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::annulee);
  EXPECT_EQ(port_.dernier_texte(), question);
  EXPECT_EQ(port_.echanges.back().type, TypeMessage::information);
  EXPECT_EQ(port_.echanges.back().boutons, Boutons::oui_non);
  EXPECT_TRUE(s().liste_horodatee.vide());

  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  const ListeHorodatee& l = s().liste_horodatee;
  EXPECT_EQ(l.n, 86402);
  EXPECT_EQ(l.elements[1], "31/12/2023 23:59:59");
  EXPECT_EQ(l.elements[86402], "02/01/2024 00:00:00");
  EXPECT_EQ(l.nr_final, "86 401");
  EXPECT_EQ(s().periode.resume_lignes, "86 402 => 1 jour");
}

TEST_F(ListeHorodateeGeneration, LignesDeSuivi) {
  periode("01/01/2024 00:00:00", "01/01/2024 01:00:00", UnitePas::heure);
  generer_liste_horodatee(s());
  const std::vector<std::string> debut_de_liste = {"", "       --> liste horodatée"};
  EXPECT_EQ(s().journal.lignes(), debut_de_liste);  // nothing more the first time

  periode("01/01/2024 00:00:00", "03/01/2024 12:00:00", UnitePas::heure, 1, 1.0 / 24);
  generer_liste_horodatee(s());
  EXPECT_EQ(s().liste_horodatee.n, 62);
  std::vector<std::string> attendu = debut_de_liste;
  for (const char* l : {"", "       --> liste horodatée", "", "de 01/01/2024 00:00:00",
                        "à  03/01/2024 12:00:00  3 jours", "nb dates = 62", "pas = 01:00:00"})
    attendu.push_back(l);
  EXPECT_EQ(s().journal.lignes(), attendu);

  periode("01/03/2023 00:00:00", "01/04/2023 00:00:00", UnitePas::mois);
  generer_liste_horodatee(s());
  const auto& lignes = s().journal.lignes();
  ASSERT_GE(lignes.size(), 3u);
  EXPECT_EQ(lignes[lignes.size() - 3], "à  01/04/2023 00:00:00  61 jours");
  EXPECT_EQ(lignes[lignes.size() - 2], "nb dates = 3");
  EXPECT_EQ(lignes.back(), "pas = 1 mois");
}

TEST_F(ListeHorodateeGeneration, ArretEtPasNul) {
  port_.arret = true;
  periode("01/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::arretee);
  attendre_liste({"31/12/2023 23:45:00"});
  EXPECT_EQ(s().liste_horodatee.nr_final, "0");
  EXPECT_EQ(s().periode.resume_lignes, "1");

  // The request stays until a stage starts: the button clears it.
  port_.arret = false;
  EXPECT_TRUE(s().arret);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::arretee);
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_FALSE(s().arret);
  EXPECT_EQ(s().liste_horodatee.n, 98);

  periode("01/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure, 1, 0.0);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::refusee);
  EXPECT_EQ(port_.dernier_texte(),
            " le pas est à zéro\n\n   corriger cette valeur et relancer ...");
  EXPECT_EQ(port_.echanges.back().type, TypeMessage::erreur);
  EXPECT_TRUE(s().liste_horodatee.vide());
}

TEST_F(ListeHorodateeGeneration, BoutonCreerLaListe) {
  periode("01/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure, 1, 0.0);
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::refusee);
  EXPECT_EQ(port_.dernier_texte(),
            " le pas est à zéro\n\n   <00:00:00>  \n\n   corriger cette valeur et relancer ...");
  EXPECT_TRUE(port_.progressions.empty());

  const std::string anterieure =
      " la date de fin est antérieure à la date de début\n\n  début 02/01/2024 00:00:00  \n\n"
      "  fin   01/01/2024 00:00:00  \n\n   corriger cette valeur ...";
  periode("02/01/2024 00:00:00", "01/01/2024 00:00:00", UnitePas::heure);
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::refusee);
  EXPECT_EQ(port_.dernier_texte(), anterieure);
  periode("02/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure);
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::refusee);
  EXPECT_EQ(port_.echanges.back().type, TypeMessage::erreur);
  EXPECT_TRUE(port_.progressions.empty());

  port_.reponses = {Reponse::non, Reponse::oui, Reponse::annuler};
  periode("01/01/2024 00:00:00", "02/01/2024 00:00:00", UnitePas::heure);
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::annulee);
  EXPECT_EQ(port_.dernier_texte(),
            " Créer une nouvelle liste de dates régulières ? \n\n\n du 01/01/2024 00:00:00\n\n"
            " au 02/01/2024 00:00:00\n\n au pas de 00:15:00\n\n => 96 dates => 1 jour\n\n");
  EXPECT_EQ(port_.echanges.back().type, TypeMessage::confirmation);
  EXPECT_EQ(port_.echanges.back().boutons, Boutons::oui_non_annuler);
  EXPECT_TRUE(s().liste_horodatee.vide());

  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::creee);
  EXPECT_EQ(s().liste_horodatee.n, 98);
  EXPECT_EQ(s().liste_horodatee.elements.back(), "02/01/2024 00:00:00");
  EXPECT_EQ(s().periode.resume_lignes, "98 => 1 jour");
  EXPECT_EQ(s().liste_horodatee.nr_final, "97");

  // A calendar step is named in words.
  periode("01/01/2024 00:00:00", "01/01/2025 00:00:00", UnitePas::mois, 3);
  EXPECT_EQ(creer_liste_horodatee(s()), IssueListe::annulee);
  EXPECT_EQ(port_.dernier_texte(),
            " Créer une nouvelle liste de dates régulières ? \n\n\n du 01/01/2024 00:00:00\n\n"
            " au 01/01/2025 00:00:00\n\n au pas de 3 mois\n\n => 5 dates => 450 jours\n\n");
  EXPECT_EQ(s().liste_horodatee.n, 98);  // untouched
}

TEST_F(ListeHorodateeGeneration, UnMillionDePasSansDerive) {
  port_.reponses = {Reponse::oui};
  periode("01/01/2000 00:00:00", "08/07/2028 15:30:00", UnitePas::heure);
  EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  const ListeHorodatee& l = s().liste_horodatee;
  ASSERT_EQ(l.n, 1000000);
  ASSERT_EQ(l.elements.size(), 1000001u);
  EXPECT_EQ(l.elements[1], "31/12/1999 23:45:00");
  EXPECT_EQ(l.elements[500002], "05/04/2014 08:00:00");
  EXPECT_EQ(l.elements.back(), "08/07/2028 15:30:00");
  EXPECT_EQ(l.valeurs.back(), *lire_date_heure("08/07/2028 15:30:00"));
  EXPECT_EQ(l.valeurs[500002], *lire_date_heure("05/04/2014 08:00:00"));
  EXPECT_EQ(l.nr_final, "999 999");
  EXPECT_EQ(s().periode.resume_lignes, "1 000 000 => 10416 jours");
}

}  // namespace
}  // namespace tamso
