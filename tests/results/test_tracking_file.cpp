#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include "app/save.h"
#include "app/session.h"
#include "input/encoding.h"
#include "input/files.h"
#include "results/results_writer.h"
#include "results/tracking_file.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;

const std::string kRegle = "    " + std::string(140, '-');

class Suivi : public test::AvecResultats {
 protected:
  void SetUp() override {
    AvecResultats::SetUp();
    Session& x = s();
    d().separateur_colonne = SeparateurColonne::point_virgule;
    d().methode = Methode::maximum;
    d().nom_fic_sortie = "A#";
    d().min_na = d().max_na = "";
    x.nom_description = "station1.dsc";
    x.description_modifiee = false;
    x.periode.debut = "01/03/2023 00:00:00";
    x.periode.fin = "01/03/2023 00:15:00";
    x.periode.pas = 5.0 / 1440;
    x.periode.unite = UnitePas::heure;
    x.periode.test_date = TestDate::inf_ou_egal;
    x.resultats.durees = {0, 0, 0, 83.0 / 86400};
    x.etat_traitement.lignes_extraites = 1234;
    x.etat_traitement.station_reference = "S1";
    x.table.entetes_tableau();
    x.table.fixer_cellule(0, 1, "1");
    x.table.fixer_cellule(1, 1, "f1.csv");
    x.table.fixer_cellule(3, 1, "S1");
  }
  // n timestamps, v value columns T1.., every row empty.
  void grille(int n, int v) {
    std::vector<std::string> titres;
    for (int k = 1; k <= v; ++k) titres.push_back("T" + std::to_string(k));
    AvecResultats::grille(n, titres);
  }
  // The last lines of the log.
  std::vector<std::string> fin_suivi(std::size_t n) const {
    const auto& l = session_->journal.lignes();
    return {l.end() - static_cast<std::ptrdiff_t>(std::min(n, l.size())), l.end()};
  }
};

TEST_F(Suivi, WholeTrackingFile) {
  grille(4, 2);
  ligne(2, 3, {1.0L, 2.0L});
  ligne(4, 1, {5.0L, V{}});
  d().derivees = true;
  s().ajouter_ligne_suivi("bannière");
  s().ajouter_ligne_suivi("       --> TRAITEMENT du seul fichier");
  formater_resultats(s());
  ASSERT_TRUE(enregistrer_resultats(s()));
  const std::string chemin = sortie_ + "A_00;01;23.txt.TXT";
  EXPECT_EQ(s().resultats.chemin_suivi, chemin);
  const std::vector<std::string> attendu = {
      " SUIVI DU TRAITEMENT : TABLEAU DES FICHIERS",
      "",
      "  Description de données : station1.dsc",
      " extention csv",
      " séparateur IN = (Point-virgule)",
      " méthode de calcul = (max des n  mesures OK )",
      "  calcul des dérivées (rétro cumul) [y(i) - y(i-1)] / pas",
      "A",
      " test des dates = ((inf ou =))",
      " pas = (00:05:00)",
      " période du 01/03/2023 00:00:00 au 01/03/2023 00:15:00",
      " nombre de résultats = 3",
      "",
      " \tn \tfichier \ts/répertoire \tStation \tdate_NOM_Fichier \ttaille (Mo) \tdate dep \tdate "
      "fin \tn.données \tn.extraites \tpas moyen observé \tdurée de traitement \tcorrection \tnb "
      "Colonnes \tn°Lig intitulés \t x",
      " \t1 \tf1.csv \t \tS1 \t \t \t \t \t \t \t \t \t \t \t \t",
      "",
      " Fenêtre de suivi",
      "bannière",
      "       --> TRAITEMENT du seul fichier",
      " => A_00;01;23.txt",
      "",
      "3- TRAITEMENT EFFECTUÉ  (méthode : max des n  mesures OK ) station( S1 )  (inf ou =)",
      "     1 234 lignes extraites",
      "     3 lignes     x     4 colonnes attendues",
      "",
      " ========== nombre de résultats - nombre de VIDES(= na)",
      "3 - 1 = 2  <- T1",
      "3 - 2 = 1  <- T2",
      kRegle,
      "      NOMBRE de VALEURS utilisables = 3   issues de 1234 lignes de données",
      "      nombre de NA ou vides dans l\"ensemble du tableau = 3",
      kRegle,
      "  Données horodatée régulières extraites et enregistrées dans    A_00;01;23.txt",
      "  ainsi que dans le presse-papier au pas de 00:05:00",
      "  La fenêtre de suivi dans   A_00;01;23.txt.TXT du répertoire : ",
      "   " + sortie_,
      "  durée totale =  1 mn 23 s ",
  };
  const std::string octets = DossierTemporaire::lire(chemin);
  EXPECT_EQ(octets, utf8_vers_cp1252(crlf(attendu)));
  EXPECT_NE(octets.find("\r\n s\xE9parateur IN = (Point-virgule)\r\n"), std::string::npos);
  // After the file, the log alone receives an empty line and the end time.
  const auto fin = fin_suivi(2);
  EXPECT_EQ(fin[0], "");
  EXPECT_NE(fin[1].find("  durée totale "), std::string::npos);
  EXPECT_EQ(fin[1].size(), 8 + std::string("  durée totale ").size() + 8);
}

TEST_F(Suivi, StatisticsOfNinetySixResults) {
  grille(97, 2);
  for (int r = 2; r <= 97; ++r) ligne(r, 1, {r <= 11 ? V{} : V{1.0L}, 2.0L});
  d().min_na = "-50";
  d().max_na = "1e6";
  s().etat_traitement.lignes_extraites = 500;
  formater_resultats(s());
  statistiques_resultats(vue_traitement(s()), s().journal);
  EXPECT_EQ(fin_suivi(8),
            (std::vector<std::string>{
                "",
                " ========== nombre de résultats - nombre de VIDES(= na)",
                "96 - 10 = 86  <- T1",
                "96 - 0 = 96  <- T2",
                kRegle,
                "      NOMBRE de VALEURS utilisables = 182  (NA si sup ou = à Min=-50)    "
                "(NA si inf ou = à Max=1e6)     issues de 500 lignes de données",
                "      nombre de NA ou vides dans l\"ensemble du tableau = 10",
                kRegle,
            }));
}

TEST_F(Suivi, StatisticsOfTheLinesWrittenWithoutMissingValues) {
  grille(5, 1);
  for (int r = 2; r <= 5; ++r) ligne(r, 1, {1.0L});
  d().max_na = "9";
  s().etat_traitement.lignes_extraites = 7;
  port_.arret = true;  // the formatting, on one thread, stops after its first row
  s().lecture.fils = 1;
  formater_resultats(s());
  statistiques_resultats(vue_traitement(s()), s().journal);
  EXPECT_EQ(fin_suivi(5), (std::vector<std::string>{
                              "1 - 0 = 1  <- T1",
                              kRegle,
                              "      NOMBRE de VALEURS utilisables = 1  (NA si inf ou = à Max=9)  "
                              "   issues de 7 lignes de données",
                              "      aucune valeur NA ou vides détectée dans l\"ensemble du "
                              "tableau",
                              kRegle,
                          }));
}

TEST_F(Suivi, RunSummaryWithOptionsDriftAndShift) {
  grille(4, 1);
  Description& d = s().description;
  d.methode = Methode::moyenne;
  d.post_traitement = true;
  d.cumul_corriger = true;
  d.correction_si_t1supt2 = true;
  d.correction_si_t1egalt2 = true;
  d.derive_active = true;
  d.derive_erronee = 10.0 / 24;
  d.derive_reelle = (10 * 3600 + 30) / 86400.0;
  d.decalage_actif = true;
  d.decalage_negatif = true;
  d.decalage = 1.5 / 24;
  s().periode.test_date = TestDate::inf_strict;
  s().etat_traitement.station_reference = "";
  s().etat_traitement.lignes_extraites = 5;
  s().etat_traitement.parametres.decalage_jours = 2;
  s().lecteur_dates.nb_dates_inversees = 3;
  s().ajouter_ligne_suivi("a");
  s().ajouter_ligne_suivi("b");
  resume_traitement(vue_traitement(s()), s().journal);
  statistiques_resultats(vue_traitement(s()), s().journal);
  // The empty line after the swapped dates and the one opening the
  // statistics collapse into one.
  EXPECT_EQ(
      std::vector<std::string>(s().journal.lignes().begin() + 2, s().journal.lignes().begin() + 13),
      (std::vector<std::string>{
          "",
          "3- TRAITEMENT EFFECTUÉ  (méthode : moyenne des n mesures OK)  (inf strict) avec "
          "POSTtraitement des 4 données extraites + avec cumul croissant forcé  correction + "
          "1 j SI t1>t2   correction +1s SI t1=t2  ",
          "  La dérive des dates de mesure n'est pas nulle",
          "   10:00:00 => 10:00:30  dérive = +00:00:30",
          " Le décalage des dates de mesure n'est pas nul",
          "   - 2 j 01:30:00",
          "     5 lignes extraites",
          "     3 lignes     x     3 colonnes attendues",
          " ----------------------->  nombre de dates inversées : 3",
          "",
          " ========== nombre de résultats - nombre de VIDES(= na)",
      }));
}

TEST_F(Suivi, StepInCalendarUnits) {
  grille(3, 1);
  s().periode.unite = UnitePas::jour;
  s().periode.nb_pas = 2;
  const auto entete = entete_fichier_suivi(vue_traitement(s()));
  EXPECT_NE(std::find(entete.begin(), entete.end(), " pas = (2 jour)"), entete.end());
  formater_resultats(s());
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_TRUE(suivi_contient({"  ainsi que dans le presse-papier au pas de 2 jours"}));
  s().periode.unite = UnitePas::annee;
  s().periode.nb_pas = 1;
  const auto annee = entete_fichier_suivi(vue_traitement(s()));
  EXPECT_NE(std::find(annee.begin(), annee.end(), " pas = (1 année)"), annee.end());
}

TEST_F(Suivi, SecondSaveKeepsTheWholeLog) {
  grille(3, 1);
  d().nom_fic_sortie = "A10";
  formater_resultats(s());
  ASSERT_TRUE(enregistrer_resultats(s()));
  ASSERT_TRUE(enregistrer_resultats(s()));
  const auto lignes = lire_lignes_texte(sortie_ + "A10(1).txt.TXT");
  ASSERT_TRUE(lignes);
  EXPECT_EQ(std::count(lignes->begin(), lignes->end(), " => A10.txt"), 1);
  EXPECT_EQ(std::count(lignes->begin(), lignes->end(), " => A10(1).txt"), 1);
  EXPECT_EQ(lignes->at(6), "");  // no placeholder: empty working name
}

TEST_F(Suivi, UnwritableTrackingFileStopsTheSave) {
  grille(3, 1);
  d().nom_fic_sortie = "A10";
  dossier_->ecrire("sortie/A10.txt.TXT/occupe", "x");
  formater_resultats(s());
  EXPECT_FALSE(enregistrer_resultats(s()));
  // Both files are written before either takes its name: the tracking
  // file's name, taken by a folder, fails last, when the results are in
  // place; they are kept and said to be.
  EXPECT_EQ(port_.dernier_texte(), "Impossible de créer le fichier " + sortie_ +
                                       "A10.txt.TXT\n\n  (un répertoire porte ce nom)\n\n  "
                                       "les résultats sont écrits dans " +
                                       sortie_ + "A10.txt");
  EXPECT_TRUE(fichier_existe(sortie_ + "A10.txt"));
  EXPECT_TRUE(s().resultats.en_attente);
}

}  // namespace
}  // namespace tamso
