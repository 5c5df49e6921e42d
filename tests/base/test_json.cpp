// JSON written for scripts: strings escaped and always valid UTF-8, numbers
// in the point form, members and items separated as they come.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "base/json.h"
#include "support/json_reader.h"

namespace tamso {
namespace {

TEST(ChaineJson, EscapesAndReplacesWhatIsNotUtf8) {
  struct Cas {
    std::string texte, attendu;
  };
  const Cas cas[] = {
      {"", R"("")"},
      {"abc", R"("abc")"},
      {"a\"b\\c", R"("a\"b\\c")"},
      {"l1\r\nl2\tx", R"("l1\r\nl2\tx")"},
      // Other control characters by their code; DEL is not one.
      {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
      {std::string("a\0b", 3), R"("a\u0000b")"},
      // Valid UTF-8 passes as it is: 2, 3 and 4 bytes.
      {"Temp\xC3\xA9rature \xE2\x82\xAC \xF0\x9F\x8C\xA7",
       "\"Temp\xC3\xA9rature \xE2\x82\xAC \xF0\x9F\x8C\xA7\""},
      // A Windows-1252 byte alone ("é" = E9) is not UTF-8.
      {"Temp\xE9rature", R"("Temp\ufffdrature")"},
      // Overlong "/" (C0 AF): two bytes, each replaced.
      {"\xC0\xAF", R"("\ufffd\ufffd")"},
      // A surrogate written in UTF-8 (ED A0 80) is not a character.
      {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},
      // Above U+10FFFF (F4 90 80 80), and a sequence cut by the end.
      {"\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},
      {"x\xE2\x82", R"("x\ufffd\ufffd")"},
  };
  for (const Cas& c : cas) EXPECT_EQ(chaine_json(c.texte), c.attendu) << c.texte;
}

TEST(EcrivainJson, NestedValuesAreSeparatedAndNumbersWrittenWithAPoint) {
  EcrivainJson j;
  j.ouvrir_objet();
  j.cle("a").entier(-12);
  j.cle("b").ouvrir_tableau();
  j.nombre(0.5).nombre(2.0).nombre(1.2345).nombre(-0.0004).nombre(1234567.25);
  j.nombre(std::numeric_limits<double>::quiet_NaN()).nombre(HUGE_VAL);
  j.fermer_tableau();
  j.cle("c").ouvrir_objet().fermer_objet();
  j.cle("d").ouvrir_tableau().fermer_tableau();
  j.cle("e").ouvrir_tableau().ouvrir_objet().cle("x").booleen(true).fermer_objet();
  j.ouvrir_objet().cle("y").nul().cle("z").booleen(false).fermer_objet().fermer_tableau();
  j.cle("f").brut(R"({"k":[1,2]})");
  j.cle("g").texte("\xC3\xA9t\xC3\xA9");
  j.fermer_objet();
  // 1.2345 has 3 decimals kept (1.234 or 1.235 as the double lies);
  // -0.0004 rounds to zero, written without its sign.
  const std::string attendu_debut = R"({"a":-12,"b":[0.5,2,1.23)";
  const std::string& t = j.resultat();
  ASSERT_EQ(t.rfind(attendu_debut, 0), 0u) << t;
  const std::string attendu_fin =
      R"(,0,1234567.25,null,null],"c":{},"d":[],"e":[{"x":true},{"y":null,"z":false}],)"
      R"("f":{"k":[1,2]},"g":"été"})";
  ASSERT_GE(t.size(), attendu_fin.size());
  EXPECT_EQ(t.substr(t.size() - attendu_fin.size()), attendu_fin) << t;
  // The whole document reads back as JSON.
  const test::ValeurJson v = test::lire_json(t);
  EXPECT_EQ(v["b"].taille(), 7u);
  EXPECT_EQ(v["g"].chaine(), "\xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace tamso
