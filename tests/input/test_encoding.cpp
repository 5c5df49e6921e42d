#include <vector>

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

// What data files get for characters the code page lacks; the ones it holds
// keep their byte.
TEST(Encodage, StandInsOfDataFiles) {
  struct Cas {
    const char* texte;  // UTF-8
    std::string attendu;
  };
  const std::vector<Cas> cas = {
      {"\u2212"
       "3,5",
       "-3,5"},
      {"\u2264 0", "<= 0"},
      {"\u2265 1", ">= 1"},
      {"CO\u2082", "CO2"},
      {"m\u00B2 m\u00B3", "m\xB2 m\xB3"},
      {"10\u2074 s\u207B\u00B9", "104 s-\xB9"},
      {"k\u03A9", "kOhm"},
      {"k\u2126", "kOhm"},
      {"\u03BCS/cm", "\xB5S/cm"},
      {"\u0394T", "DeltaT"},
      {"\u03C3", "sigma"},
      {"\u0141\u00F3d\u017A",
       "L\xF3"
       "dz"},
      {"\u0150\u0133", "Oij"},
      {"25\u2103",
       "25\xB0"
       "C"},
      {"\uFEFFa\u200Bb", "ab"},
      {"1\u202F234",
       "1\xA0"
       "234"},
      {"\u20AC \u2122 \u0152", "\x80 \x99 \x8C"},
      {"\u4E2D \U0001F600", "? ?"},
  };
  for (const Cas& c : cas) EXPECT_EQ(utf8_vers_cp1252_translittere(c.texte), c.attendu) << c.texte;
  // Bytes that are not UTF-8 pass through unchanged.
  EXPECT_EQ(utf8_vers_cp1252_translittere("caf\xE9 \xC2"), "caf\xE9 \xC2");
}

}  // namespace
}  // namespace tamso
