#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/graphs.h"
#include "processing/period.h"
#include "processing/result_grid.h"

namespace tamso {
namespace {

using P = std::optional<double>;  // a point, nothing for a gap
constexpr P gap = std::nullopt;

// The lists of the five charts, each of n items, with the given items checked.
CochesGraphiques coches(std::size_t n, const std::array<std::vector<int>, kNbGraphiques>& indices) {
  CochesGraphiques c;
  for (std::size_t k = 0; k < c.size(); ++k) {
    c[k].assign(n, false);
    for (int i : indices[k]) c[k][static_cast<std::size_t>(i)] = true;
  }
  return c;
}

std::vector<bool> liste(std::size_t n, const std::vector<int>& indices) {
  std::vector<bool> l(n, false);
  for (int i : indices) l[static_cast<std::size_t>(i)] = true;
  return l;
}

std::vector<int> indices_coches(const std::vector<bool>& l) {
  std::vector<int> r;
  for (std::size_t i = 0; i < l.size(); ++i)
    if (l[i]) r.push_back(static_cast<int>(i));
  return r;
}

std::vector<P> points(const SerieGraphique& s) {
  std::vector<P> r;
  for (double y : s.y) r.push_back(std::isnan(y) ? gap : P{y});
  return r;
}

// ------------------------------------------------------------------ items

TEST(ItemsGraphiques, TitlesOfTheValueColumnsThenTheRowCountPaddedToTheLongestTitle) {
  GrilleResultats g;
  g.creer(3, 3);
  g.c = 5;
  g.titres[1] = "temps(Date inf ou =)";
  g.titres[2] = "T";
  g.titres[3] = "débit(m3/s)";  // 11 characters
  g.titres[4] = "Q";
  g.titres[5] = "nb(2)_methode_(moyenne des n mesures OK)";
  EXPECT_EQ(items_graphiques(g),
            (std::vector<std::string>{"T", "débit(m3/s)", "Q", "n OK       "}));

  g.titres[3] = "H";  // every title shorter than "n OK"
  EXPECT_EQ(items_graphiques(g), (std::vector<std::string>{"T", "H", "Q", "n OK"}));
  EXPECT_TRUE(items_graphiques(GrilleResultats{}).empty());  // no grid, no item
}

// ------------------------------------------------------- text of the choices

TEST(ChoixGraphiques, WrittenChartByChartEachIndexFollowedByAComma) {
  EXPECT_EQ(ecrire_choix_graphiques(coches(6, {{{0, 5}, {1}, {}, {}, {}}})), "0,5,;1,;;;;");
  EXPECT_EQ(ecrire_choix_graphiques(coches(6, {})), ";;;;;");
  EXPECT_EQ(ecrire_choix_graphiques(coches(12, {{{}, {}, {}, {}, {11, 0, 3}}})), ";;;;0,3,11,;");
  EXPECT_EQ(ecrire_choix_graphiques(CochesGraphiques{}), ";;;;;");
}

// Item i on chart i mod 5, the first fifteen items only (with 8 items: the
// value columns 0..6, then "n OK").
TEST(ChoixGraphiques, DefaultDispatchChecksTheFirstFifteenItemsInTurn) {
  const std::pair<std::size_t, const char*> cas[] = {
      {8, "0,5,;1,6,;2,7,;3,;4,;"},
      {20, "0,5,10,;1,6,11,;2,7,12,;3,8,13,;4,9,14,;"},
      {1, "0,;;;;;"},
      {0, ";;;;;"}};
  for (const auto& [n, attendu] : cas) {
    const CochesGraphiques c = cocher_par_defaut(n);
    for (const auto& l : c) EXPECT_EQ(l.size(), n);
    EXPECT_EQ(ecrire_choix_graphiques(c), attendu) << n;
  }
  EXPECT_EQ(indices_coches(cocher_par_defaut(8)[2]), (std::vector<int>{2, 7}));
}

struct CasLecture {
  const char* texte;
  int k;
  bool lu;                    // read to its end
  std::vector<int> attendus;  // items checked after reading (6 items)
};

TEST(ChoixGraphiques, ReadingAGroupChecksItsIndexesBelowTheItemCount) {
  const std::vector<CasLecture> cas = {
      {"0,5,;1,;;;;", 0, true, {0, 5}},
      {"0,5,;1,;;;;", 1, true, {1}},
      {"0,5,;1,;;;;", 2, true, {}},
      {"0,5,;1,;;;;", 4, true, {}},
      {";1,;;;;", 0, true, {}},  // an empty first group
      {";1,;;;;", 1, true, {1}},
      {"", 3, true, {}},
      {";;;;2,4,;", 4, true, {2, 4}},
      {"0,9,3,;", 0, true, {0, 3}},  // 9 is beyond the six items
      {"0,6,;", 0, true, {0}},       // so is 6
      {"0,5", 0, true, {0}},         // one comma: one index read
      {"3,1,3,;", 0, true, {1, 3}},  // order and repeats do not matter
      {"0,x,3,;", 0, false, {0}},    // stops at "x"
      {"0,,3,;", 0, false, {0}},     // an empty entry is no number
      {"0,2.5,;", 0, false, {0}},    // nor is a decimal one
      {"1,;a,;4,;", 2, true, {4}},   // another group's bad entry is not read
  };
  for (const CasLecture& c : cas) {
    std::vector<bool> l(6, true);  // every item unchecked first
    EXPECT_EQ(lire_choix_graphiques(c.texte, c.k, l), c.lu) << c.texte << " group " << c.k;
    EXPECT_EQ(indices_coches(l), c.attendus) << c.texte << " group " << c.k;
  }
}

TEST(ChoixGraphiques, WrittenChoicesReadBackIntoTheSameLists) {
  const CochesGraphiques ecrit = coches(9, {{{0, 8}, {}, {1, 2, 3}, {7}, {4, 5, 6}}});
  const std::string texte = ecrire_choix_graphiques(ecrit);
  for (int k = 0; k < kNbGraphiques; ++k) {
    std::vector<bool> l(9, false);
    EXPECT_TRUE(lire_choix_graphiques(texte, k, l));
    EXPECT_EQ(l, ecrit[static_cast<std::size_t>(k)]) << "chart " << k + 1;
  }
}

// ---------------------------------------------------------------- colours

TEST(CouleursGraphiques, FifteenColoursInTurnLightenedInTheThreeDView) {
  struct Cas {
    int n;
    bool trois_d;
    CouleurSerie attendue;
  };
  const std::vector<Cas> cas = {
      {0, false, {0, 0, 255}},     {1, false, {255, 128, 64}},  {5, false, {156, 30, 174}},
      {14, false, {0, 0, 0}},      {15, false, {0, 0, 255}},    {31, false, {255, 128, 64}},
      {0, true, {170, 170, 255}},  {1, true, {255, 255, 234}},  {7, true, {250, 250, 255}},
      {13, true, {255, 225, 250}}, {14, true, {170, 170, 170}},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(couleur_serie(c.n, c.trois_d), c.attendue) << c.n << (c.trois_d ? " 3D" : "");
}

// ----------------------------------------------------------------- series

// Twelve timestamps every 6 hours from 15/03/2023 00:00:00 (45000); columns
// "T" (2) and "Q" (3), the row count in column 4.
//   T: 10 r in every row but row 10, NA.
//   Q: 100 - r; row 5 without source value (not NA), row 7 NA.
//   row count: 2 in every row but rows 4 and 8, 0.
class TraceGraphique : public ::testing::Test {
 protected:
  static constexpr double kPas = 0.25;

  void SetUp() override {
    g_.creer(12, 2);
    g_.c = 4;
    g_.titres[1] = "temps(Date inf ou =)";
    g_.titres[2] = "T";
    g_.titres[3] = "Q";
    g_.titres[4] = "nb(11)";
    for (int r = 1; r <= 12; ++r) {
      g_.temps[static_cast<std::size_t>(r)] = 45000 + (r - 1) * kPas;
      valeur(r, 2, 10 * r, 1);
      valeur(r, 3, 100 - r, 1);
      g_.cellule(r, 4).valeur = (r == 4 || r == 8) ? 0 : 2;
    }
    valeur(10, 2, 0, 0, true);
    valeur(5, 3, 95, 0);
    valeur(7, 3, 0, 0, true);
  }
  void valeur(int r, int col, long double v, int compte, bool na = false) {
    g_.cellule(r, col) = Cellule{na, v};
    g_.compte(r, col) = compte;
  }
  GraphiqueTrace tracer(const std::vector<int>& valeurs, const std::vector<int>& derivees = {},
                        Abscisse a = Abscisse::date_heure, bool trois_d = false) {
    return tracer_graphique(g_, liste(3, valeurs), liste(3, derivees), a, kPas, trois_d, compteur_);
  }

  GrilleResultats g_;
  int compteur_ = 0;
};

TEST_F(TraceGraphique, ValuesOfRowsTwoToNMinusOneWithGapsWhereTheCellIsNAOrEmpty) {
  const GraphiqueTrace t = tracer({0, 1});
  ASSERT_EQ(t.series.size(), 2u);
  const SerieGraphique& T = t.series[0];
  EXPECT_EQ(T.titre, "T");
  EXPECT_EQ(T.colonne, 2);
  EXPECT_FALSE(T.derivee);
  EXPECT_EQ(points(T), (std::vector<P>{20, 30, 40, 50, 60, 70, 80, 90, gap, 110}));
  const SerieGraphique& Q = t.series[1];
  EXPECT_EQ(Q.titre, "Q");
  EXPECT_EQ(Q.colonne, 3);
  EXPECT_EQ(points(Q), (std::vector<P>{98, 97, 96, gap, 94, gap, 92, 91, 90, 89}));
  // X: the timestamps of rows 2..11.
  ASSERT_EQ(T.x->size(), 10u);
  for (int r = 2; r <= 11; ++r) {
    EXPECT_EQ((*T.x)[static_cast<std::size_t>(r - 2)], 45000 + (r - 1) * 0.25) << r;
    EXPECT_EQ((*Q.x)[static_cast<std::size_t>(r - 2)], 45000 + (r - 1) * 0.25) << r;
  }
}

// A derivative leaves gaps at the first row and at both rows next to an NA;
// it needs a row before it that is not NA.
TEST_F(TraceGraphique, ADerivativeLeavesGapsAtTheFirstRowAndBothRowsNextToAnNA) {
  const std::tuple<int, const char*, std::vector<P>> cas[] = {
      // T rises by 10 a step of 0.25 day: 40 a day; row 10 is NA.
      {0, "d/dt > T", {gap, 40, 40, 40, 40, 40, 40, 40, gap, gap}},
      // Q falls by 1 a step: -4 a day. Row 5 has no source value (a gap, but
      // not NA: row 6 has a derivative); row 7 is NA (gaps at rows 7 and 8).
      {1, "d/dt > Q", {gap, -4, -4, gap, -4, gap, gap, -4, -4, -4}}};
  for (const auto& [item, titre, attendus] : cas) {
    const GraphiqueTrace t = tracer({item}, {item});
    ASSERT_EQ(t.series.size(), 1u);
    EXPECT_EQ(t.series[0].titre, titre);
    EXPECT_TRUE(t.series[0].derivee);
    EXPECT_EQ(points(t.series[0]), attendus);
  }
}

TEST_F(TraceGraphique, ADerivativeChoiceOfAnUncheckedValueItemDrawsNothing) {
  const GraphiqueTrace t = tracer({0}, {1});
  ASSERT_EQ(t.series.size(), 1u);
  EXPECT_EQ(t.series[0].titre, "T");
  EXPECT_FALSE(t.series[0].derivee);
  EXPECT_EQ(compteur_, 1);
}

TEST_F(TraceGraphique, TheRowCountIsDrawnWhereItIsAboveZeroAndNeverAsADerivative) {
  for (const bool derivee : {false, true}) {
    const GraphiqueTrace t = tracer({2}, derivee ? std::vector<int>{2} : std::vector<int>{});
    ASSERT_EQ(t.series.size(), 1u);
    const SerieGraphique& n = t.series[0];
    EXPECT_EQ(n.colonne, 4);
    EXPECT_FALSE(n.derivee);
    EXPECT_EQ(n.titre, "n OK");  // not titled as the derivative it is not
    EXPECT_EQ(points(n), (std::vector<P>{2, 2, gap, 2, 2, 2, gap, 2, 2, 2}));
  }
}

TEST_F(TraceGraphique, UnderTheRowNumberTheFirstPointLiesAtOne) {
  const GraphiqueTrace t = tracer({0}, {}, Abscisse::numero);
  EXPECT_EQ(std::vector<double>(t.series[0].x->begin(), t.series[0].x->end()),
            (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(points(t.series[0]), (std::vector<P>{20, 30, 40, 50, 60, 70, 80, 90, gap, 110}));
}

TEST_F(TraceGraphique, TheVerticalRangeSpansThreeTimesTheDrawnValuesOfEverySeries) {
  // T and the row count: lo = 2, hi = 110, R = 108.
  GraphiqueTrace t = tracer({0, 2});
  EXPECT_TRUE(t.plage);
  EXPECT_DOUBLE_EQ(t.bas, 2 - 108 - 0.1);
  EXPECT_DOUBLE_EQ(t.haut, 110 + 108 + 0.1);
  // Q alone: lo = 89, hi = 98, R = 9 (the values of gaps do not count).
  t = tracer({1});
  EXPECT_TRUE(t.plage);
  EXPECT_DOUBLE_EQ(t.bas, 89 - 9 - 0.1);
  EXPECT_DOUBLE_EQ(t.haut, 98 + 9 + 0.1);
  // A derivative that keeps one value, and no series: the range is kept.
  t = tracer({0}, {0});
  EXPECT_FALSE(t.plage);
  EXPECT_TRUE(t.valeur_unique);
  EXPECT_EQ(t.bas, 40);
  EXPECT_FALSE(tracer({}).plage);
  EXPECT_FALSE(tracer({}).valeur_unique);
  EXPECT_TRUE(tracer({}).series.empty());
}

TEST_F(TraceGraphique, ASingleDrawnValueKeepsTheRange) {
  for (int r = 1; r <= 12; ++r) g_.compte(r, 2) = r == 6 ? 1 : 0;
  const GraphiqueTrace t = tracer({0});
  EXPECT_EQ(points(t.series[0]), (std::vector<P>{gap, gap, gap, gap, 60, gap, gap, gap, gap, gap}));
  EXPECT_FALSE(t.plage);
}

TEST_F(TraceGraphique, ColoursRunOnFromOneChartToTheNext) {
  // Chart 1: T and Q, colours 0 and 1; chart 2: the row count, colour 2.
  const GraphiqueTrace un = tracer({0, 1});
  const GraphiqueTrace deux = tracer({2});
  EXPECT_EQ(compteur_, 3);
  EXPECT_EQ(un.series[0].couleur, (CouleurSerie{0, 0, 255}));
  EXPECT_EQ(un.series[1].couleur, (CouleurSerie{255, 128, 64}));
  EXPECT_EQ(deux.series[0].couleur, (CouleurSerie{0, 128, 0}));
  // The fifteenth colour, then the first again; lightened in 3D.
  compteur_ = 14;
  const GraphiqueTrace trois = tracer({0, 1}, {}, Abscisse::date_heure, true);
  EXPECT_EQ(trois.series[0].couleur, (CouleurSerie{170, 170, 170}));
  EXPECT_EQ(trois.series[1].couleur, (CouleurSerie{170, 170, 255}));
  EXPECT_EQ(compteur_, 16);
}

TEST(TraceGraphiqueSeize, ASixteenthCheckedColumnIsNotDrawn) {
  // Sixteen value columns (2..17), three timestamps; items 0..15 checked.
  GrilleResultats g;
  g.creer(3, 16);
  g.c = 18;
  for (int col = 2; col <= 17; ++col) {
    g.titres[static_cast<std::size_t>(col)] = "c" + std::to_string(col);
    g.cellule(2, col).valeur = col;
    g.compte(2, col) = 1;
  }
  std::vector<bool> valeurs(17, true);
  valeurs[16] = false;
  int compteur = 0;
  const GraphiqueTrace t = tracer_graphique(g, valeurs, std::vector<bool>(17, false),
                                            Abscisse::date, 1, false, compteur);
  ASSERT_EQ(t.series.size(), 15u);
  EXPECT_EQ(t.series.front().colonne, 2);
  EXPECT_EQ(t.series.back().colonne, 16);
  EXPECT_EQ(t.series.back().titre, "c16");
  EXPECT_EQ(compteur, 15);
  // Row 2 is the only row drawn: column col gives the point col.
  EXPECT_EQ(points(t.series.back()), (std::vector<P>{16}));
  // lo = 2, hi = 16 over the fifteen series.
  EXPECT_DOUBLE_EQ(t.bas, 2 - 14 - 0.1);
  EXPECT_DOUBLE_EQ(t.haut, 16 + 14 + 0.1);
}

// A grid big enough to be read on several threads: every point and every
// block summary as the rules give them, whatever the slices.
TEST(TraceGraphiques, ABigGridGivesEveryPointAndBlockSummaryOfEveryChart) {
  // Rows 1..n one minute apart; column 2 holds r, NA where r is a multiple
  // of 1000; column 3 holds 2r; the row count is 1.
  const int n = 150001;
  GrilleResultats g;
  g.creer(n, 2);
  g.c = 4;
  g.titres = {"", "", "a", "b", "n", "", ""};
  g.temps.assign(static_cast<std::size_t>(n + 3), 0.0);
  for (int r = 1; r <= n; ++r) {
    g.temps[static_cast<std::size_t>(r)] = 45000 + r / 1440.0;
    g.cellule(r, 2) = Cellule{r % 1000 == 0, static_cast<long double>(r)};
    g.compte(r, 2) = 1;
    g.cellule(r, 3).valeur = 2.0L * r;
    g.compte(r, 3) = 1;
    g.cellule(r, 4).valeur = 1;
  }
  // Chart 1: a and the derivative of b; chart 2: the row count.
  const std::vector<GraphiqueTrace> t = tracer_graphiques(
      g, {{{true, true, false}, {false, true, false}}, {{false, false, true}, {}}},
      Abscisse::date_heure, 1.0 / 1440, false);
  ASSERT_EQ(t.size(), 2u);
  ASSERT_EQ(t[0].series.size(), 2u);
  ASSERT_EQ(t[1].series.size(), 1u);
  EXPECT_EQ(t[1].series[0].couleur, (CouleurSerie{0, 128, 0}));
  const SerieGraphique& a = t[0].series[0];
  const SerieGraphique& db = t[0].series[1];
  const std::size_t points = static_cast<std::size_t>(n - 2);
  ASSERT_EQ(a.y.size(), points);
  ASSERT_EQ(a.x, t[1].series[0].x);  // one set of abscissae for all
  std::size_t fautes = 0;
  for (std::size_t i = 0; i < points; ++i) {
    const int r = static_cast<int>(i) + 2;
    const bool na = r % 1000 == 0;
    // b rises by 2 a minute: 2880 a day, from row 3 on.
    fautes += (*a.x)[i] != 45000 + r / 1440.0;
    fautes += na ? !std::isnan(a.y[i]) : a.y[i] != r;
    fautes += r == 2 ? !std::isnan(db.y[i]) : std::abs(db.y[i] - 2880) > 1e-6;
    fautes += t[1].series[0].y[i] != 1;
  }
  EXPECT_EQ(fautes, 0u);
  // Block k holds points 64k..64k+63, rows 64k+2..64k+65 (the last block
  // is shorter): a gap where one of them is a multiple of 1000.
  const std::size_t blocs = (points + 63) / 64;
  ASSERT_EQ(a.blocs.size(), blocs);
  for (std::size_t k = 0; k < blocs; ++k) {
    const int premiere = static_cast<int>(64 * k) + 2;
    const int derniere = std::min(premiere + 63, n - 1);
    const int na = (derniere / 1000) * 1000;  // the last multiple of 1000
    const bool trou = na >= premiere;
    const BlocPoints& b = a.blocs[k];
    ASSERT_EQ(b.trou, trou) << k;
    EXPECT_EQ(b.bas, premiere == na ? premiere + 1 : premiere) << k;
    EXPECT_EQ(b.haut, derniere == na ? derniere - 1 : derniere) << k;
  }
  // The vertical range of chart 1: a and the derivative span 2..149999
  // (row 150000 is NA).
  EXPECT_DOUBLE_EQ(t[0].bas, 2 - 149997 - 0.1);
  EXPECT_DOUBLE_EQ(t[0].haut, 149999 + 149997 + 0.1);
}

// ----------------------------------------------------------------- labels

TEST(TextesGraphiques, StepLabelByUnit) {
  struct Cas {
    UnitePas unite;
    int nb;
    double pas;
    const char* attendu;
  };
  const std::vector<Cas> cas = {
      {UnitePas::heure, 1, 15.0 / 1440, "pas = 00:15:00"},
      {UnitePas::heure, 1, 0.0625, "pas = 01:30:00"},
      {UnitePas::heure, 1, 0.5 + 1.0 / 86400, "pas = 12:00:01"},
      {UnitePas::jour, 1, 0, "pas = 1 jour"},
      {UnitePas::jour, 2, 0, "pas = 2 jours"},
      {UnitePas::mois, 1, 0, "pas = 1 mois"},
      {UnitePas::mois, 3, 0, "pas = 3 mois"},
      {UnitePas::annee, 1, 0, "pas = 1 année"},
      {UnitePas::annee, 2, 0, "pas = 2 années"},
  };
  for (const Cas& c : cas) {
    Periode p;
    p.unite = c.unite;
    p.nb_pas = c.nb;
    p.pas = c.pas;
    EXPECT_EQ(texte_pas_graphiques(p), c.attendu);
  }
}

TEST(TextesGraphiques, PointReadOutGivesTheSeriesTheDateWithItsTimeAndTheValue) {
  // 45000 is 15/03/2023 00:00:00.
  EXPECT_EQ(lignes_lecture_point("T", 45000, 12.3456, Abscisse::date),
            (std::vector<std::string>{"  série   T", "  15/03/2023 00:00:00", "  12.346 "}));
  EXPECT_EQ(lignes_lecture_point("d/dt > Q", 45000 + 12.5 / 24, -4, Abscisse::date_heure),
            (std::vector<std::string>{"  série   d/dt > Q", "  15/03/2023 12:30:00", "  -4.000 "}));
  EXPECT_EQ(lignes_lecture_point("n OK", 7, 2, Abscisse::numero),
            (std::vector<std::string>{"  série   n OK", "  7", "  2.000 "}));
}

TEST(TextesGraphiques, HelpLinesEachFollowedByAnEmptyLine) {
  const std::vector<std::string> l = lignes_aide_graphiques();
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[0], " Zoomer avec la roulette ou en sélectionnant une zone");
  EXPECT_EQ(l[2],
            " Réinitialiser le zoom avec un double-clik ou en "
            "sélectionnant une zone vers le haut");
  EXPECT_EQ(l[4], " Déplacements du graphe avec clik droit et glissements");
  EXPECT_EQ(l[6],
            " Clik gauche sur un point pour afficher X et Y et déplacer "
            "le curseur pour effacer");
  for (std::size_t i = 1; i < l.size(); i += 2) EXPECT_EQ(l[i], "") << i;
}

}  // namespace
}  // namespace tamso
