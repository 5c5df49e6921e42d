// The tests' JSON reader: what it accepts and what it refuses, for the
// documents of the batch program to be read back by code of their own.
#include <string>

#include <gtest/gtest.h>

#include "support/json_reader.h"

namespace tamso::test {
namespace {

TEST(LectureJson, ReadsValuesEscapesAndKeepsTheOrderOfKeys) {
  const ValeurJson v = lire_json(
      " {\"b\": [1, -2.5e1, 0.25, true, false, null],\n"
      "  \"a\": {\"t\": \"x\\\"\\\\\\/\\n\\t\\u00e9\\ud83c\\udf27\"}} ");
  ASSERT_EQ(v.genre, ValeurJson::Genre::objet);
  EXPECT_EQ(v.ordre, (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(v["b"].taille(), 6u);
  EXPECT_EQ(v["b"][0].entier(), 1);
  EXPECT_EQ(v["b"][1].nombre, -25.0);
  EXPECT_EQ(v["b"][2].nombre, 0.25);
  EXPECT_TRUE(v["b"][3].booleen);
  EXPECT_FALSE(v["b"][4].booleen);
  EXPECT_TRUE(v["b"][5].est_nul());
  EXPECT_EQ(v["a"]["t"].chaine(), "x\"\\/\n\t\xC3\xA9\xF0\x9F\x8C\xA7");
  EXPECT_THROW(v["c"], std::runtime_error);
  EXPECT_THROW(v["b"][6], std::runtime_error);
  EXPECT_THROW(v["b"][2].entier(), std::runtime_error);
}

TEST(LectureJson, RefusesWhatIsNotJson) {
  for (const std::string texte :
       {"", "{", "{\"a\":1,}", "[1,]", "[1 2]", "{\"a\" 1}", "{'a':1}", "01", "1.", "-", "tru",
        "\"a", "\"\\x\"", "\"\\ud800\"", "\"a\nb\"", "{\"a\":1,\"a\":2}", "1 2", "\"\xE9\"",
        "\"\xC0\xAF\""}) {
    EXPECT_THROW(lire_json(texte), std::runtime_error) << texte;
  }
}

}  // namespace
}  // namespace tamso::test
