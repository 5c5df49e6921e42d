#include <cstdint>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "base/tones.h"

namespace tamso {
namespace {

// duree / 1000 x 44100 samples, a half going to the even neighbour.
TEST(Tonalites, SampleCountRoundsAHalfToEven) {
  struct Cas {
    int duree_ms;
    std::size_t attendu;
  };
  const Cas cas[] = {
      {20, 882},   // shortest tone: 882.0
      {99, 4366},  // longest tone: 4365.9
      {21, 926},   // 926.1
      {25, 1102},  // 1102.5: the even neighbour is below
      {35, 1544},  // 1543.5: the even neighbour is above
      {1000, 44100}, {0, 0},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(nombre_echantillons(c.duree_ms), c.attendu) << c.duree_ms;
    EXPECT_EQ(echantillons_tonalite(440, c.duree_ms, 0.5).size(), c.attendu) << c.duree_ms;
  }
}

// A quarter of the sampling rate gives 0, A, 0, -A, ... with A = 2147483647
// x volume: 1073741823.5 at the volume 0.5, rounded to the even 1073741824
// on both sides of zero (rounding half up would give -1073741823, cutting
// the fraction 1073741823).
TEST(Tonalites, QuarterRateToneAtHalfVolume) {
  const auto e = echantillons_tonalite(11025, 20, 0.5);
  ASSERT_EQ(e.size(), 882u);
  const std::int32_t cycle[] = {0, 1073741824, 0, -1073741824};
  for (std::size_t k = 0; k < e.size(); ++k) EXPECT_EQ(e[k], cycle[k % 4]) << k;
}

// A sixth of the sampling rate: sin(60°) = sin(120°) = 0.8660254037844386,
// times 1073741823.5 gives 929887696.257 on either side of zero.
TEST(Tonalites, SixthRateTone) {
  const auto e = echantillons_tonalite(7350, 20, 0.5);
  const std::int32_t cycle[] = {0, 929887696, 929887696, 0, -929887696, -929887696};
  for (std::size_t k = 0; k < 60; ++k) EXPECT_EQ(e[k], cycle[k % 6]) << k;
}

// Full volume reaches the extremes of the 32-bit samples but -2147483648;
// no volume is silence.
TEST(Tonalites, ExtremesOfTheVolume) {
  const auto plein = echantillons_tonalite(11025, 20, 1.0);
  EXPECT_EQ(plein[1], 2147483647);
  EXPECT_EQ(plein[3], -2147483647);
  for (const std::int32_t x : echantillons_tonalite(11025, 20, 0.0)) ASSERT_EQ(x, 0);
}

// Nine tones, each of 120..5119 Hz and 20..99 ms at the volume 0.5; a seed
// gives the same tones again, and the draws cover the whole ranges.
TEST(Tonalites, NineTonesOfTheSignal) {
  EXPECT_EQ(tonalites_signal(7), tonalites_signal(7));
  EXPECT_NE(tonalites_signal(7), tonalites_signal(8));
  int f_min = 1 << 30, f_max = 0, d_min = 1 << 30, d_max = 0;
  std::set<int> durees;
  for (std::uint64_t graine = 0; graine < 400; ++graine) {
    const auto t = tonalites_signal(graine);
    ASSERT_EQ(t.size(), 9u);
    for (const Tonalite& u : t) {
      EXPECT_EQ(u.volume, 0.5);
      f_min = std::min(f_min, u.frequence);
      f_max = std::max(f_max, u.frequence);
      d_min = std::min(d_min, u.duree_ms);
      d_max = std::max(d_max, u.duree_ms);
      durees.insert(u.duree_ms);
    }
  }
  EXPECT_GE(f_min, 120);
  EXPECT_LE(f_max, 5119);
  EXPECT_LT(f_min, 200);  // 3600 draws reach both ends of the range
  EXPECT_GT(f_max, 5000);
  EXPECT_EQ(d_min, 20);
  EXPECT_EQ(d_max, 99);
  EXPECT_EQ(durees.size(), 80u);
  EXPECT_EQ(tonalites_signal().size(), 9u);
}

}  // namespace
}  // namespace tamso
