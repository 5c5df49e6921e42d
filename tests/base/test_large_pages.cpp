#include <cstdint>
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

}  // namespace
}  // namespace tamso
