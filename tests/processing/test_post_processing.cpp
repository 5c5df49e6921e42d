#include <optional>

#include <gtest/gtest.h>

#include "processing/post_processing.h"
#include "processing/result_grid.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using V = std::optional<long double>;

// A grid of one value column whose rows 1..N hold the given values (nothing:
// a row without lines).
GrilleResultats grille(const std::vector<V>& valeurs) {
  GrilleResultats g;
  g.creer(static_cast<int>(valeurs.size()), 1);
  g.c = 3;
  g.titres[2] = "Q";
  for (int r = 1; r <= g.n(); ++r) {
    const V& v = valeurs[static_cast<std::size_t>(r - 1)];
    if (!v) continue;
    g.cellule(r, 2).valeur = *v;
    g.compte(r, 2) = 1;
    g.cellule(r, 3).valeur = 1;
  }
  return g;
}

std::vector<V> colonne(const GrilleResultats& g) {
  std::vector<V> r;
  for (int i = 1; i <= g.n(); ++i)
    r.push_back(g.cellule(i, 2).na ? V{} : V{g.cellule(i, 2).valeur});
  return r;
}

class PostTraitement : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
};

// A drop keeps the level reached; a missing value (row 4 of the second case,
// its count kept) counts as a drop; a value in row 1 is not added again.
TEST(CumulsForces, ForcedGrowth) {
  struct Cas {
    std::vector<V> valeurs;
    int ligne_na;  // a row whose value is NA, or 0
    std::vector<V> attendu;
  };
  for (const Cas& c :
       {Cas{{V{}, 1.0L, 2.0L, 3.0L, 0.5L, 1.5L}, 0, {0.0L, 1.0L, 2.0L, 3.0L, 3.0L, 4.5L}},
        Cas{{V{}, 1.0L, 2.0L, 0.0L, 3.0L, 4.0L}, 4, {0.0L, 1.0L, 2.0L, 2.0L, 5.0L, 6.0L}},
        Cas{{5.0L, 6.0L, 1.0L}, 0, {5.0L, 6.0L, 6.0L}}}) {
    GrilleResultats g = grille(c.valeurs);
    if (c.ligne_na) g.cellule(c.ligne_na, 2).na = true;
    corriger_cumuls(g);
    EXPECT_EQ(colonne(g), c.attendu);
    if (c.ligne_na) {
      EXPECT_EQ(g.compte(c.ligne_na, 2), 1);
    }
  }
}

TEST_F(PostTraitement, ShortGapsAreFilledLinearly) {
  GrilleResultats g = grille({V{}, 10.0L, V{}, V{}, 16.0L, V{}, V{}, V{}, V{}, 20.0L, 21.0L});
  EXPECT_EQ(combler_lacunes(g, 3, s().journal, s()), 2);
  const auto v = colonne(g);
  EXPECT_EQ(v[2], V{12.0L});
  EXPECT_EQ(v[3], V{14.0L});
  EXPECT_EQ(g.nb_lignes_ligne(3), 2);  // interpolated rows show 2
  for (int r = 6; r <= 9; ++r) EXPECT_FALSE(v[static_cast<std::size_t>(r - 1)]) << r;
  EXPECT_EQ(g.manquants[2], 4);  // the four rows left empty (row 1 is not examined)
  const auto& log = s().journal.lignes();
  EXPECT_NE(std::find(log.begin(), log.end(), "    régression effectuée sur 2 données 2-5"),
            log.end());
  EXPECT_NE(
      std::find(log.begin(), log.end(), "    ---> régression NON effectuée sur 4 données 5-10"),
      log.end());
  EXPECT_EQ(log[log.size() - 2], "  2 interpolations effectuées");
  EXPECT_EQ(log.back(), std::string(74, '='));
  EXPECT_NE(std::find(log.begin(), log.end(), "---> POST-traitement  sur 11 lignes horodatées"),
            log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "--> Q"), log.end());
}

TEST_F(PostTraitement, LeadingAndTrailingGaps) {
  // From row 2 on: two empty rows, 7, 8, then five empty rows.
  GrilleResultats g = grille({V{}, V{}, V{}, 7.0L, 8.0L, V{}, V{}, V{}, V{}, V{}});
  EXPECT_EQ(combler_lacunes(g, 3, s().journal, s()), 7);
  const auto v = colonne(g);
  EXPECT_EQ(g.nb_lignes_ligne(1), 0);  // row 1 is never examined nor filled
  EXPECT_EQ(v[1], V{7.0L});
  EXPECT_EQ(v[2], V{7.0L});
  for (int r = 6; r <= 10; ++r) EXPECT_EQ(v[static_cast<std::size_t>(r - 1)], V{8.0L}) << r;
  EXPECT_EQ(g.nb_lignes_ligne(10), 1);  // the trailing fill shows 1
  EXPECT_EQ(g.nb_lignes_ligne(2), 2);
}

TEST(Differences, DeltaAndDerivative) {
  GrilleResultats g = grille({V{}, 5.0L, 7.0L, 10.0L});
  calculer_differences(g, false, 0);
  EXPECT_EQ(colonne(g), (std::vector<V>{0.0L, 0.0L, 2.0L, 3.0L}));
  GrilleResultats h = grille({V{}, 1.0L, 2.0L});
  calculer_differences(h, true, 15.0 / 1440);
  EXPECT_NEAR(static_cast<double>(h.cellule(3, 2).valeur), 96.0, 1e-9);
}

TEST_F(PostTraitement, DeltaWinsOverDerivativeAndBadGapLengthIsThree) {
  d().delta_Y = d().derivees = d().post_traitement = true;
  d().nmax_lacune = "x";
  s().periode.pas = 15.0 / 1440;
  GrilleResultats g = grille({V{}, 1.0L, V{}, V{}, V{}, 5.0L, 6.0L});
  post_traiter(d(), s().periode, g, s().journal, s());
  // Three missing values filled: 1, 2, 3, 4, 5, 6, then deltas.
  EXPECT_EQ(colonne(g), (std::vector<V>{0.0L, 0.0L, 1.0L, 1.0L, 1.0L, 1.0L, 1.0L}));
  const auto& log = s().journal.lignes();
  EXPECT_NE(std::find(log.begin(), log.end(), "  calcul des delta Y (rétro cumul)  y(i) - y(i-1)"),
            log.end());
}

}  // namespace
}  // namespace tamso
