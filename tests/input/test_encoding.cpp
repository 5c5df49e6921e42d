#include <gtest/gtest.h>

#include "input/encoding.h"

namespace tamso {
namespace {

TEST(Encodage, Windows1252DecodesToUtf8AndBack) {
  const std::string octets =
      "temp\xE9rature \xB0"
      "C \x80 \x9C";
  const std::string texte = cp1252_vers_utf8(octets);
  EXPECT_EQ(texte, "température °C € œ");
  EXPECT_EQ(utf8_vers_cp1252(texte), octets);
}

TEST(Encodage, EveryByteRoundTrips) {
  std::string tous;
  for (int b = 1; b < 256; ++b) tous.push_back(static_cast<char>(b));
  EXPECT_EQ(utf8_vers_cp1252(cp1252_vers_utf8(tous)), tous);
}

TEST(Encodage, UnrepresentableAndInvalidInput) {
  // A character the code page cannot hold becomes "?".
  EXPECT_EQ(utf8_vers_cp1252("a\u4E2Db"), "a?b");
  // Bytes that are not UTF-8 pass through unchanged.
  EXPECT_EQ(utf8_vers_cp1252("caf\xE9"), "caf\xE9");
  EXPECT_EQ(longueur_utf8("éta"), 3u);
}

}  // namespace
}  // namespace tamso
