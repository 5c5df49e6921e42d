#include <array>

#include <gtest/gtest.h>

#include "app/file_table_commands.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

class CommandesTableau : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
    d().f_date_fichier.clear();
  }
  // Rows of (file, station, size, file-name date).
  void remplir(const std::vector<std::array<std::string, 4>>& lignes) {
    TableFichiers& t = s().table;
    t.entetes_tableau();
    t.fixer_nb_lignes(static_cast<int>(lignes.size()) + 1);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      t.fixer_cellule(0, r, std::to_string(r));
      t.fixer_cellule(1, r, lignes[i][0]);
      t.fixer_cellule(3, r, lignes[i][1]);
      t.fixer_cellule(5, r, lignes[i][2]);
      t.fixer_cellule(4, r, lignes[i][3]);
    }
  }
  std::vector<std::string> colonne(int c) {
    std::vector<std::string> v;
    for (int r = 1; r < s().table.nb_lignes(); ++r) v.push_back(s().table.cellule(c, r));
    return v;
  }
};

TEST_F(CommandesTableau, NumericAndTextSorts) {
  remplir({{"b", "S1", " 10", ""}, {"a", "S2", " 9", ""}, {"c", "S1", " 100", ""}});
  // Row 1 begins with a digit after its blank: numeric sort.
  EXPECT_EQ(double_clic_tableau(s(), 5, 0), 5);
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"a", "b", "c"}));
  // The second double click on the same title sorts the other way.
  double_clic_tableau(s(), 5, 0);
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"c", "b", "a"}));
  // Text sort by character code: "10" before "9".
  remplir({{"x", "9", "", ""}, {"y", "10", "", ""}, {"z", "Z", "", ""}});
  s().table.trier_tableau(CleTri::texte, 3, true);
  EXPECT_EQ(colonne(3), (std::vector<std::string>{"10", "9", "Z"}));
  s().table.trier_tableau(CleTri::numerique, 3, true);
  EXPECT_EQ(colonne(3), (std::vector<std::string>{"Z", "9", "10"}));  // Z reads as 0
}

TEST_F(CommandesTableau, GroupedCountsSortAsNumbers) {
  remplir({{"a", "", "", ""}, {"b", "", "", ""}});
  s().table.fixer_cellule(8, 1, "1 234");
  s().table.fixer_cellule(8, 2, "987");
  s().table.trier_tableau(CleTri::numerique, 8, true);
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"b", "a"}));
}

TEST_F(CommandesTableau, MarksByStation) {
  remplir({{"a", "S1", "1", ""}, {"b", "S2", "1", ""}, {"c", "S1", "1", ""}});
  EXPECT_EQ(libelles_marquage(s(), 1)[0], "ne cocher que les <S1>");
  EXPECT_EQ(libelles_marquage(s(), 1)[3], "décocher juste les  <S1>");
  appliquer_marquage(s(), 1, ChoixMarquage::seulement);
  EXPECT_EQ(s().fichiers_coches, (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(s().etiquette("graphiques.Label1"), "Station S1");
  appliquer_marquage(s(), 2, ChoixMarquage::en_plus);
  EXPECT_EQ(s().fichiers_coches, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(s().etiquette("graphiques.Label1"), "Station S1+S2");
  appliquer_marquage(s(), 1, ChoixMarquage::decocher_seulement);
  EXPECT_EQ(s().fichiers_coches, std::vector<std::string>{"b"});
  appliquer_marquage(s(), 1, ChoixMarquage::decocher_tout);
  EXPECT_TRUE(s().fichiers_coches.empty());
  EXPECT_FALSE(s().table.une_ligne_marquee());
  EXPECT_EQ(s().etiquette("graphiques.Label1"), "Graphiques");
  // A double click on " x" toggles the mark.
  double_clic_tableau(s(), 15, 2);
  EXPECT_EQ(s().fichiers_coches, std::vector<std::string>{"b"});
  double_clic_tableau(s(), 15, 2);
  EXPECT_TRUE(s().fichiers_coches.empty());
}

TEST_F(CommandesTableau, DoubleClickOnADateOffersItAsPeriodBound) {
  remplir({{"a", "S1", "1", ""}, {"b", "S1", "1", ""}});
  s().table.fixer_cellule(6, 2, "03/02/2021 10:15:00");
  s().table.fixer_cellule(7, 2, "    ????");
  s().periode.debut = "01/01/2021 00:00:00";
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(double_clic_tableau(s(), 6, 2), -1);  // a data cell does not sort
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "03/02/2021 10:15:00 récupérer la date dep comme date min ?\n");
  EXPECT_EQ(s().periode.debut, "03/02/2021 10:15:00");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"a", "b"}));
  double_clic_tableau(s(), 7, 2);  // no date there: no question
  EXPECT_EQ(port_.echanges.size(), 1u);
}

TEST_F(CommandesTableau, DoubleClickOnAFileOpensIt) {
  remplir({{"a.csv", "S1", "1", ""}});
  d().dossier_choisi = "/d/";
  s().table.fixer_cellule(2, 1, " sous/ ");
  double_clic_tableau(s(), 1, 1);
  ASSERT_EQ(port_.editeur.size(), 1u);
  EXPECT_EQ(port_.editeur[0], std::make_pair(std::string("/d/sous/"), std::string("a.csv")));
}

TEST_F(CommandesTableau, DeletingRows) {
  remplir({{"a", "", "1", ""}, {"b", "", "1", ""}, {"c", "", "1", ""}, {"d", "", "1", ""}});
  EXPECT_FALSE(s().table.supprimer_lignes(3, 9));
  EXPECT_FALSE(s().table.supprimer_lignes(2, 1));
  EXPECT_EQ(s().table.nb_lignes(), 5);

  port_.reponses = {Reponse::oui};
  effacer_selection(s(), 2, 3);
  EXPECT_EQ(port_.echanges[0].texte,
            "effacer toutes les lignes sélectionnées ?\n  de la ligne 2  à la ligne 3");
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"a", "d"}));
  EXPECT_TRUE(s().table.liste_partielle);
  EXPECT_EQ(s().etiquette("Label_nb_fic"), "2  fichiers");

  port_.reponses = {Reponse::non};
  effacer_selection(s(), 1, 1);
  EXPECT_EQ(port_.echanges[1].texte, "effacer la lignes sélectionnée  L1  ?\n");
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"a", "d"}));

  // Upwards from the last row: the title row and one empty row are left.
  port_.reponses = {Reponse::oui};
  effacer_vers_le_haut(s(), 2);
  EXPECT_EQ(s().table.nb_lignes(), 2);
  EXPECT_EQ(s().table.cellule(1, 1), "");
  EXPECT_EQ(s().table.nb_fichiers(), 0);
}

TEST_F(CommandesTableau, DeletingDownwardsAndUpwardsFromAMiddleRow) {
  remplir({{"a", "", "1", ""}, {"b", "", "1", ""}, {"c", "", "1", ""}});
  port_.reponses = {Reponse::oui};
  effacer_vers_le_haut(s(), 2);
  EXPECT_EQ(port_.echanges[0].texte, "effacer toutes les lignes vers le haut, courante comprise ?");
  EXPECT_EQ(colonne(1), std::vector<std::string>{"c"});
  remplir({{"a", "", "1", ""}, {"b", "", "1", ""}, {"c", "", "1", ""}});
  port_.reponses = {Reponse::oui};
  effacer_vers_le_bas(s(), 2);
  EXPECT_EQ(colonne(1), std::vector<std::string>{"a"});
}

TEST_F(CommandesTableau, OutOfPeriodRowsGoRowsWithoutDateStay) {
  remplir({{"a", "", "1", "2021/01/10"},
           {"b", "", "1", ""},
           {"c", "", "1", "2021/03/01"},
           {"d", "", "1", "2020/12/31"},
           {"e", "", "1", "2021/02/28"}});
  s().periode.debut = "01/01/2021 12:00:00";  // the time is ignored
  s().periode.fin = "28/02/2021 00:00:00";
  effacer_hors_periode(s(), true);
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_EQ(colonne(1), (std::vector<std::string>{"a", "b", "e"}));
}

TEST_F(CommandesTableau, SummaryAddsSizesInThousandths) {
  remplir({{"a", "", " 12,29", ""}, {"b", "", " 0,0004", ""}, {"c", "", " 1,5", ""}});
  resume_tableau(s());
  EXPECT_EQ(s().etiquette("Label_nb_fic"), "3  fichiers");
  EXPECT_EQ(s().etiquette("Label8"), "taille totale 13,79 Mo");
  EXPECT_EQ(s().etiquette("Label_patienter"), "3- patienter ... 3 / 3");
  // No file-name date: the smallest date is still 01/01/2100.
  EXPECT_EQ(s().etiquette("Label_date_min"), "01/01/2100 00:00:00");
  EXPECT_EQ(s().etiquette("Label_date_min.couleur"), "rouge");
}

TEST_F(CommandesTableau, SummaryReadsFileNameDates) {
  remplir({{"BFS_45_20210105.csv", "", "1", ""}, {"BFS_45_20201231.csv", "", "1", ""}});
  d().f_date_fichier = "aaaammjj,3";
  resume_tableau(s());
  EXPECT_EQ(s().table.cellule(4, 1), "2021/01/05");
  EXPECT_EQ(s().table.cellule(4, 2), "2020/12/31");
  EXPECT_EQ(s().etiquette("Label_date_min"), "31/12/2020 00:00:00");
  EXPECT_EQ(s().etiquette("Label_date_max"), "05/01/2021 00:00:00");
  EXPECT_EQ(s().etiquette("Label_date_min.couleur"), "bleu");
}

}  // namespace
}  // namespace tamso
