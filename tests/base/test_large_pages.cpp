#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/large_pages.h"

namespace tamso {
namespace {

// Small arrays come from the heap, big ones are mapped; both hold what is
// written, and grow and shrink like any vector.
TEST(GrandesPages, SmallAndBigArraysHoldTheirValues) {
  for (const std::size_t n : {std::size_t{1000}, std::size_t{3} << 20}) {  // 4 KB, 12 MB
    std::vector<std::uint32_t, AllocateurGrand<std::uint32_t>> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint32_t>(i * 2654435761u);
    v.resize(n + n / 2, 7);
    std::size_t faux = 0;
    for (std::size_t i = 0; i < n; ++i) faux += v[i] != static_cast<std::uint32_t>(i * 2654435761u);
    EXPECT_EQ(faux, 0u) << n;
    EXPECT_EQ(v.back(), 7u);
    v.clear();
    v.shrink_to_fit();
  }
}

// Zeroed arrays read zero everywhere before any write, small or mapped, and
// a copy holds the same bytes while the moved-from array is left empty.
TEST(GrandesPages, ZeroedArraysStartAtZeroAndCopy) {
  for (const std::size_t n : {std::size_t{1000}, std::size_t{3} << 20}) {
    TableauZero<std::uint64_t> t(n);
    std::size_t non_nuls = 0;
    for (std::size_t i = 0; i < n; ++i) non_nuls += t[i] != 0;
    EXPECT_EQ(non_nuls, 0u) << n;
    t[n - 1] = 42;
    const TableauZero<std::uint64_t> copie(t);
    EXPECT_EQ(copie[n - 1], 42u);
    EXPECT_EQ(copie[0], 0u);
    TableauZero<std::uint64_t> deplace(std::move(t));
    EXPECT_EQ(deplace.size(), n);
    EXPECT_EQ(deplace[n - 1], 42u);
    EXPECT_EQ(t.size(), 0u);  // NOLINT(bugprone-use-after-move): the state moved-from is set
  }
}

}  // namespace
}  // namespace tamso
