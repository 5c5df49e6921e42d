#include <gtest/gtest.h>

#include "input/file_table.h"
#include "support/scripted_interaction.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

TEST(TableFichiers, TitlesAndReset) {
  TableFichiers t;
  EXPECT_EQ(t.nb_colonnes(), 16);
  EXPECT_EQ(t.nb_lignes(), 2);
  EXPECT_EQ(t.cellule(0, 0), "n");
  EXPECT_EQ(t.cellule(15, 0), " x");
  t.fixer_cellule(1, 5, "a.csv");
  EXPECT_EQ(t.nb_lignes(), 6);
  EXPECT_EQ(t.cellule(1, 5), "a.csv");
  EXPECT_EQ(t.cellule(1, 50), "");
  t.entetes_tableau();
  EXPECT_EQ(t.nb_lignes(), 2);
  EXPECT_EQ(t.cellule(1, 1), "");
  EXPECT_EQ(t.cellule(2, 0), "s/répertoire");
}

TEST(TableFichiers, PositionColonneByTrimmedTitle) {
  TableFichiers t;
  InteractionScriptee port;
  EXPECT_EQ(t.position_colonne("n", port), 0);
  EXPECT_EQ(t.position_colonne(" x", port), 15);
  EXPECT_EQ(t.position_colonne("x ", port), 15);
  EXPECT_EQ(t.position_colonne("  n.données ", port), 8);
  EXPECT_EQ(t.position_colonne("", port), -1);
  EXPECT_TRUE(port.echanges.empty());
  EXPECT_EQ(t.position_colonne("inconnue", port), -1);
  ASSERT_EQ(port.echanges.size(), 1u);
  EXPECT_EQ(port.echanges[0].texte, "La colonne <inconnue> n'existe pas");
  // When two columns carry the title, the last one is meant.
  t.fixer_cellule(3, 0, "fichier");
  EXPECT_EQ(t.position_colonne("fichier", port), 3);
}

}  // namespace
}  // namespace tamso
