#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "app/listing.h"
#include "app/run.h"
#include "app/timestamp_commands.h"
#include "input/dates.h"
#include "processing/engine.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::crlf;

// A value expected in a cell, or nothing for an NA cell.
using V = std::optional<long double>;

// Seven lines over five 5-minute timestamps 00:00 .. 00:20.
const std::vector<std::string> kDonnees = {
    "Date;A;B",
    "2023-03-01 00:00:00;1;10",
    "2023-03-01 00:03:00;2;",
    "2023-03-01 00:05:00;3;30",
    "2023-03-01 00:07:00;4;NA",
    "2023-03-01 00:10:00;;50",
    "2023-03-01 00:12:00;6;60",
    "2023-03-01 00:20:00;7;70",
};

class Moteur : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
    d().equiv_na = "NA;-99999";
    d().f_station = "S1";
  }
  void fichier(const std::string& nom, const std::vector<std::string>& lignes) {
    dossier_->ecrire("donnees/" + nom, crlf(lignes));
  }
  // Lists and builds the 5-minute timestamps from 00:05 to `fin` (the list
  // begins at 00:00).
  void preparer(int test = 0, const char* fin = "01/03/2023 00:20:00") {
    EXPECT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
    s().periode.debut = "01/03/2023 00:05:00";
    s().periode.fin = fin;
    s().periode.pas = 5.0 / 1440;
    s().periode.unite = UnitePas::heure;
    s().periode.test_date = static_cast<TestDate>(test);
    EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
  }
  // Prepares and runs the engine.
  IssueMoteur executer(Methode methode, int test) {
    d().methode = methode;
    preparer(test);
    return executer_moteur(s(), ParametresMoteur{});
  }
  void verifier(int r, int c, V attendu) {
    const Cellule& x = s().grille.cellule(r, c);
    if (!attendu) {
      EXPECT_TRUE(x.na) << "ligne " << r << " colonne " << c;
      return;
    }
    EXPECT_FALSE(x.na) << "ligne " << r << " colonne " << c;
    EXPECT_NEAR(static_cast<double>(x.valeur), static_cast<double>(*attendu), 1e-12)
        << "ligne " << r << " colonne " << c;
  }
  // Rows 1..5: columns A and B, then the number of lines.
  void grille(const std::vector<std::array<V, 2>>& valeurs, const std::vector<int>& lignes) {
    ASSERT_EQ(s().grille.n(), 5);
    ASSERT_EQ(s().grille.c, 4);
    for (int r = 1; r <= 5; ++r) {
      const int nb = lignes[static_cast<std::size_t>(r - 1)];
      EXPECT_EQ(s().grille.nb_lignes_ligne(r), nb) << "ligne " << r;
      if (nb == 0) continue;  // a row without lines is written as NA whatever it holds
      verifier(r, 2, valeurs[static_cast<std::size_t>(r - 1)][0]);
      verifier(r, 3, valeurs[static_cast<std::size_t>(r - 1)][1]);
    }
  }
};

TEST_F(Moteur, TimestampsBeginOneStepBeforeThePeriod) {
  fichier("a.csv", kDonnees);
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  const auto& T = s().grille.temps;
  EXPECT_EQ(date_heure_en_texte(T[1]), "01/03/2023 00:00:00");
  EXPECT_EQ(date_heure_en_texte(T[5]), "01/03/2023 00:20:00");
  EXPECT_EQ(s().grille.titres[1], "temps(Date inf ou =)");
  EXPECT_EQ(s().grille.titres[2], "A");
  EXPECT_EQ(s().grille.titres[3], "B");
  EXPECT_EQ(s().grille.titres[4], "nb(4)_methode_(moyenne des n mesures OK)_station(S1)");
}

// "(inf ou =)": row 1 takes 00:00, row 2 00:03 and 00:05, row 3 00:07 and
// 00:10, row 4 00:12, row 5 00:20. "(inf strict)": row 2 takes 00:00 and
// 00:03, row 3 00:05 and 00:07, row 4 00:10 and 00:12; 00:20, the last
// timestamp, is ignored. In both, row 3 of A had 4 then an empty field: the
// empty field changes nothing; the minimum of B in row 2 starts from its
// first valid value; a row without lines holds 0, which the running sum adds.
TEST_F(Moteur, EverySixMethodsWithBothDateTests) {
  fichier("a.csv", kDonnees);
  struct Cas {
    Methode methode;
    int test;
    std::vector<std::array<V, 2>> valeurs;
  };
  const std::vector<int> inclus = {1, 2, 2, 1, 1}, strict = {0, 2, 2, 2, 0};
  const Cas cas[] = {
      {Methode::moyenne, 0, {{1, 10}, {2.5, 30}, {4, 50}, {6, 60}, {7, 70}}},
      {Methode::derniere, 0, {{1, 10}, {3, 30}, {4, 50}, {6, 60}, {7, 70}}},
      {Methode::maximum, 0, {{1, 10}, {3, 30}, {4, 50}, {6, 60}, {7, 70}}},
      {Methode::minimum, 0, {{1, 10}, {2, 30}, {4, 50}, {6, 60}, {7, 70}}},
      {Methode::moyenne_comblee, 0, {{1, 10}, {2.5, 30}, {4, 50}, {6, 60}, {7, 70}}},
      {Methode::cumul, 0, {{1, 10}, {6, 40}, {10, 90}, {16, 150}, {23, 220}}},
      {Methode::moyenne, 1, {{}, {1.5, 10}, {3.5, 30}, {6, 55}, {}}},
      {Methode::derniere, 1, {{}, {2, 10}, {4, 30}, {6, 60}, {}}},
      {Methode::maximum, 1, {{}, {2, 10}, {4, 30}, {6, 60}, {}}},
      {Methode::minimum, 1, {{}, {1, 10}, {3, 30}, {6, 50}, {}}},
      {Methode::moyenne_comblee, 1, {{}, {1.5, 10}, {3.5, 30}, {6, 55}, {}}},
      {Methode::cumul, 1, {{}, {3, 10}, {10, 40}, {16, 150}, {}}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE("méthode " + std::to_string(indice(c.methode)) + ", test " +
                 std::to_string(c.test));
    ASSERT_EQ(executer(c.methode, c.test), IssueMoteur::termine);
    grille(c.valeurs, c.test == 0 ? inclus : strict);
    if (c.methode == Methode::cumul && c.test == 0) {
      EXPECT_EQ(s().grille.manquants[2], 0);
    }
    if (c.methode == Methode::moyenne && c.test == 1) {
      EXPECT_EQ(s().grille.manquants[2], 1);
      EXPECT_EQ(s().grille.manquants[3], 1);
      EXPECT_EQ(s().grille.titres[1], "temps(Date inf srict)");
    }
  }
}

// One interval of four lines: A holds 5, 6 and two empty fields, B an empty
// field, -1 and two missing-data texts, C nothing valid. A cell is NA only
// when no valid value fell into it, whatever the last line held; the maximum
// and the minimum start from the first valid value.
TEST_F(Moteur, MissingValuesAfterOrBeforeValidOnesChangeNothing) {
  fichier("a.csv", {"Date;A;B;C", "2023-03-01 00:06:00;5;;NA", "2023-03-01 00:07:00;6;-1;",
                    "2023-03-01 00:08:00;;NA;NA", "2023-03-01 00:09:00;;NA;"});
  struct Cas {
    Methode methode;
    long double a, b;
  };
  for (const Cas& c : {Cas{Methode::moyenne, 5.5L, -1}, Cas{Methode::derniere, 6, -1},
                       Cas{Methode::maximum, 6, -1}, Cas{Methode::minimum, 5, -1},
                       Cas{Methode::moyenne_comblee, 5.5L, -1}, Cas{Methode::cumul, 11, -1}}) {
    ASSERT_EQ(executer(c.methode, 0), IssueMoteur::termine);
    SCOPED_TRACE("méthode " + std::to_string(indice(c.methode)));
    EXPECT_EQ(s().grille.nb_lignes_ligne(3), 4);
    verifier(3, 2, c.a);
    verifier(3, 3, c.b);
    verifier(3, 4, V{});
  }
}

// Gap filling takes a cell for a gap only when no valid value fell into it:
// a value read in a row whose last line lacked it is kept as it was read.
TEST_F(Moteur, GapFillingKeepsAValueReadBeforeAnEmptyField) {
  fichier("a.csv",
          {"Date;A;B", "2023-03-01 00:05:00;1;1", "2023-03-01 00:08:00;10;1",
           "2023-03-01 00:10:00;;1", "2023-03-01 00:15:00;3;1", "2023-03-01 00:20:00;4;1"});
  d().post_traitement = true;
  d().nmax_lacune = "1";
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  verifier(3, 2, 10.0L);
  EXPECT_EQ(s().grille.manquants[2], 0);
}

TEST_F(Moteur, SingleGapFilledByTheMeanOfItsNeighbours) {
  fichier("a.csv", {"Date;A;B", "2023-03-01 00:04:00;2;", "2023-03-01 00:05:00;4;",
                    "2023-03-01 00:15:00;10;30", "2023-03-01 00:20:00;1;1"});
  ASSERT_EQ(executer(Methode::moyenne_comblee, 0), IssueMoteur::termine);
  // Row 3 (00:10) got no line: A = (3 + 10) / 2; B of row 2 got no valid
  // value, so its neighbour stays NA.
  verifier(3, 2, 6.5L);
  verifier(3, 3, V{});
  EXPECT_EQ(s().grille.nb_lignes_ligne(3), 3);
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  EXPECT_EQ(s().grille.nb_lignes_ligne(3), 0);
}

TEST_F(Moteur, ValueChainDetectionLimitsThresholdsAndMissingTexts) {
  fichier("a.csv", {"Date;A;B", "2023-03-01 00:05:00;<0,5;-50", "2023-03-01 00:10:00;1.5;-50.1",
                    "2023-03-01 00:15:00;-99999;abc", "2023-03-01 00:20:00;12/03;1,2,3"});
  d().min_na = "-50";
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  verifier(2, 2, 0.5L);    // below a detection limit: read as 0.5
  verifier(2, 3, -50.0L);  // equal to the threshold: kept
  verifier(3, 2, 1.5L);
  verifier(3, 3, V{});  // below it: NA
  verifier(4, 2, V{});  // a missing-data text
  verifier(4, 3, V{});
  verifier(5, 2, V{});
  verifier(5, 3, V{});
}

TEST_F(Moteur, DayAndSecondCorrections) {
  fichier("a.csv",
          {"Date;A;B", "2023-03-01 00:10:00;1;1", "2023-03-01 00:10:00;2;2",
           "2023-02-28 00:14:00;3;3", "2023-02-28 00:13:00;4;4", "2023-02-28 00:12:00;5;5"});
  d().correction_si_t1supt2 = true;
  d().correction_si_t1egalt2 = true;
  ASSERT_EQ(executer(Methode::derniere, 0), IssueMoteur::termine);
  // 00:10:01 (+1 s) goes to row 4; the three lines of 28/02 move to 01/03
  // 00:14, 00:13 and 00:12, all in row 4.
  verifier(3, 2, 1.0L);
  verifier(4, 2, 5.0L);
  EXPECT_EQ(s().grille.nb_lignes_ligne(4), 4);
  const auto& log = s().journal.lignes();
  EXPECT_NE(std::find(log.begin(), log.end(), "3 : + 1s à 01/03/2023 00:10:00"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "4 : + 1j à 28/02/2023 00:14:00"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "5 : + 1j à 28/02/2023 00:13:00"), log.end());
  EXPECT_EQ(std::find(log.begin(), log.end(), "6 : + 1j à 28/02/2023 00:12:00"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "nb (+ 1j) = 3"), log.end());
  EXPECT_EQ(s().table.lire_cellule(1, "correction", port_), "+1jour,s 3/1x");
}

// A date written without its zero padding is read field by field; one that
// no reading makes a date (hour 0 or 13 with a 12-hour mark) is never
// placed: the line is counted, the first two are logged, on both reading
// paths. A line of empty fields is no line of data: it is not counted.
TEST_F(Moteur, UnreadableDatesAreCountedNotPlaced) {
  fichier("a.csv", {"Date;A;B", "2023-03-01 00:06:00;1;1", "2023-03-01 0:07:00;2;2",
                    "2023-03-01 00:08:00 PM;3;3", "2023-03-01 13:09:00 PM;4;4", " ; ;",
                    "2023-03-01 00:11:00;5;5"});
  for (const bool reference : {false, true}) {
    s().lecture.reference = reference;
    s().journal.vider();
    ASSERT_EQ(executer(Methode::derniere, 0), IssueMoteur::termine);
    SCOPED_TRACE(reference ? "pas à pas" : "lecture rapide");
    EXPECT_EQ(s().grille.nb_lignes_ligne(3), 2);  // 00:06 and 00:07
    verifier(3, 2, 2.0L);
    EXPECT_EQ(s().grille.nb_lignes_ligne(4), 1);  // 00:11
    EXPECT_EQ(s().etat_traitement.lignes_extraites, 3);
    EXPECT_EQ(s().etat_traitement.dates_illisibles, 2);
    const auto& log = s().journal.lignes();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& l) { return l.rfind(" + erreur date", 0) == 0; }),
              2);
    EXPECT_NE(std::find(log.begin(), log.end(), "nb dates illisibles = 2"), log.end());
  }
}

TEST_F(Moteur, PerFileCells) {
  fichier("a.csv", kDonnees);
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  TableFichiers& t = s().table;
  EXPECT_EQ(t.lire_cellule(1, "date dep", port_), "01/03/2023 00:00:00");
  EXPECT_EQ(t.lire_cellule(1, "date fin", port_), "01/03/2023 00:20:00");
  EXPECT_EQ(t.lire_cellule(1, "n.données", port_), "7");
  EXPECT_EQ(t.lire_cellule(1, "n.extraites", port_), "7");
  EXPECT_EQ(t.lire_cellule(1, "correction", port_), "---");
  EXPECT_EQ(t.lire_cellule(1, "nb Colonnes", port_), " 3");
  EXPECT_EQ(t.lire_cellule(1, "n°Lig intitulés", port_), " -");
  // Steps of 3, 2, 2, 3, 2 min (the 8 min step is above 6 x 5 min? no: kept)
  // 180+120+120+180+120+480 = 1200 s over 6 steps: 200 s, smallest 120 s.
  EXPECT_EQ(t.lire_cellule(1, "pas moyen observé", port_), "   200 s / 120 s");
  EXPECT_EQ(s().etat_traitement.lignes_extraites, 7);
}

TEST_F(Moteur, ObservedStepTexts) {
  const double s1 = 1.0 / 86400;
  EXPECT_EQ(texte_pas_observe(0, 0, 9999, ','), " ---");
  EXPECT_EQ(texte_pas_observe(3 * 90.5 * s1, 3, 9999, ','), "   90,5 s / ---");
  EXPECT_EQ(texte_pas_observe(2 * 1800 * s1, 2, 1800 * s1, ','), " 00:30:00 / 1800 s");
  // Above 30 s the mean is rounded to the second: 1000.6 s shows 00:16:41.
  EXPECT_EQ(texte_pas_observe(1000.6 * s1, 1, 1000.6 * s1, '.'), " 00:16:41 / 1000.6 s");
}

TEST_F(Moteur, HeaderLikeFirstDataLineCanAbortTheRun) {
  fichier("a.csv", kDonnees);
  d().num_ligne_donnee = "1";
  d().avec_sans_intitule = Intitules::avec;
  preparer();
  port_.echanges.clear();
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(executer_moteur(s(), ParametresMoteur{}), IssueMoteur::abandonne);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "fichier 1\n" + donnees_ +
                "a.csv\n\n il semble que la 1ère ligne de données soit "
                "une description de colonnes \n<Date;A;B>\n nb chiffres    = 0\n nb de lettrres = 6"
                "\n\n Annuler ce traitement ?");
}

TEST_F(Moteur, MoreListedColumnsThanTheFilesHaveIsRefused) {
  fichier("a.csv", kDonnees);
  d().col_cochee = true;
  d().col_cochee_liste = "2,3,4,5";
  EXPECT_EQ(executer(Methode::moyenne, 0), IssueMoteur::echec);
  EXPECT_EQ(port_.dernier_texte(),
            " colonnes à extraire <2,3,4,5> : les fichiers n'ont que 3 colonnes (dont 2 de "
            "valeurs)\n\n colonnes absentes : 4,5\n\n vérifier la liste des colonnes à extraire");
  // Seven columns are more than the grid holds for two value columns.
  d().col_cochee_liste = "2,3,2,3,2,3,2";
  EXPECT_EQ(executer(Methode::moyenne, 0), IssueMoteur::echec);
  d().col_cochee_liste = "3";
  ASSERT_EQ(executer(Methode::moyenne, 0), IssueMoteur::termine);
  ASSERT_EQ(s().grille.c, 3);
  EXPECT_EQ(s().grille.titres[2], "B");
  verifier(2, 2, 30.0L);
}

TEST_F(Moteur, ShiftAndDriftMoveTheMeasurements) {
  fichier("a.csv", {"Date;A;B", "2023-03-01 00:04:00;1;1", "2023-03-01 00:09:00;2;2"});
  d().methode = Methode::derniere;
  preparer();
  // +2 min: 00:06 and 00:11 go to rows 3 and 4.
  ASSERT_EQ(executer_moteur(s(), ParametresMoteur{2.0 / 1440, 0}), IssueMoteur::termine);
  verifier(3, 2, 1.0L);
  verifier(4, 2, 2.0L);
  EXPECT_EQ(s().grille.titres[1], "temps(Date decalage=+0j 00:00:00 inf ou =)");
  // A drift of +10 min observed 10 days after it started: 00:00 on 01/03
  // is 5 days in, so +5 min: 00:04 -> 00:09 and 00:09 -> 00:14.
  Description& d = s().description;
  d.derive_active = true;
  d.debut_derive = *encoder_date(2023, 2, 24);
  d.constat_derive = *encoder_date(2023, 3, 6);
  d.derive_reelle = 10.0 / 1440;
  d.derive_erronee = 0.0;
  ASSERT_EQ(executer_moteur(s(), ParametresMoteur{}), IssueMoteur::termine);
  verifier(3, 2, 1.0L);
  verifier(4, 2, 2.0L);
}

// The stop is asked while the first file is read (the port says so), or it
// was asked before the engine started, while the list was made (the window
// has recorded it in the session): both end the run after the first file.
TEST_F(Moteur, StopKeepsTheRowsAlreadyRead) {
  fichier("a.csv", kDonnees);
  fichier("b.csv", {"Date;A;B", "2023-03-01 00:15:00;100;100"});
  d().methode = Methode::derniere;
  for (const bool avant_le_moteur : {false, true}) {
    SCOPED_TRACE(avant_le_moteur ? "demandé avant" : "demandé pendant");
    port_.arret = s().arret = false;
    preparer();
    port_.arret = !avant_le_moteur;
    s().arret = avant_le_moteur;
    ASSERT_EQ(executer_moteur(s(), ParametresMoteur{}), IssueMoteur::termine);
    EXPECT_TRUE(s().etat_traitement.arrete);
    EXPECT_EQ(s().etat_traitement.fichiers_lus, 1);
    verifier(1, 2, 1.0L);                         // what the first file gave is kept
    EXPECT_EQ(s().grille.nb_lignes_ligne(4), 1);  // b.csv was not read
    verifier(4, 2, 6.0L);
  }
}

// A file cut short while the run reads it (here while the run asks about its
// first line) is read to its new end and reported on both reading paths.
TEST_F(Moteur, FileCutShortWhileReadIsReported) {
  std::vector<std::string> lignes = {"Date;A;B"};
  for (int m = 1; m <= 400; ++m) {
    char b[64];
    std::snprintf(b, sizeof b, "2023-03-01 %02d:%02d:00;%d;1", m / 60, m % 60, m);
    lignes.push_back(b);
  }
  for (const bool reference : {false, true}) {
    SCOPED_TRACE(reference ? "pas à pas" : "lecture rapide");
    fichier("a.csv", lignes);
    s().lecture.reference = reference;
    s().lecture.taille_bloc = 1024;  // several blocks, so the file is not read whole beforehand
    d().num_ligne_donnee = "1";      // the title line is taken for data: a question
    d().avec_sans_intitule = Intitules::sans;
    const std::string chemin = donnees_ + "a.csv";
    port_.reponses = {Reponse::non};
    port_.pendant_question = [&chemin](const std::string& q) {
      if (q.find("1ère ligne de données") != std::string::npos)
        std::filesystem::resize_file(chemin, 2000);
    };
    preparer(0, "01/03/2023 08:00:00");
    port_.reponses = {Reponse::non};
    ASSERT_EQ(executer_moteur(s(), ParametresMoteur{}), IssueMoteur::termine);
    port_.pendant_question = nullptr;
    EXPECT_EQ(s().etat_traitement.fichiers_incomplets, std::vector<std::string>{"a.csv"});
    // 2000 bytes hold the title (10 bytes), 9 lines of 25 bytes, 67 of 26 and
    // 23 bytes of the next, read as a line of its own: minutes 1 to 77.
    EXPECT_EQ(s().etat_traitement.lignes_extraites, 77);
  }
}

TEST(ChercherIntervalle, BothTestsAndTheCursor) {
  const std::vector<double> T = {0, 10, 15, 20};
  int curseur = 1;
  EXPECT_EQ(chercher_intervalle(T, 3, 9, false, curseur), -1);
  EXPECT_EQ(chercher_intervalle(T, 3, 10, false, curseur), 1);
  EXPECT_EQ(chercher_intervalle(T, 3, 15, false, curseur), 2);
  EXPECT_EQ(chercher_intervalle(T, 3, 16, false, curseur), 3);
  EXPECT_EQ(curseur, 3);
  EXPECT_EQ(chercher_intervalle(T, 3, 20, false, curseur), 3);
  EXPECT_EQ(chercher_intervalle(T, 3, 21, false, curseur), -1);
  // Going back in time wraps the search.
  EXPECT_EQ(chercher_intervalle(T, 3, 12, false, curseur), 2);
  EXPECT_EQ(chercher_intervalle(T, 3, 15, true, curseur), 3);
  EXPECT_EQ(chercher_intervalle(T, 3, 10, true, curseur), 2);
  EXPECT_EQ(chercher_intervalle(T, 3, 20, true, curseur), -1);  // the last timestamp
}

}  // namespace
}  // namespace tamso
