#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/text_lines.h"

namespace tamso {
namespace {

// A list built in pieces reads as the same lines, in the same order, as one
// built line by line: by index, by iteration, at both ends, and after more
// lines are added to it.
TEST(LignesTexte, PiecesReadAsOneList) {
  const std::vector<std::string> attendu = {"titre", "a;1", "", "b;2", "c;3", "d;4", "e;5"};
  LignesTexte entiere;
  for (const auto& l : attendu) entiere.push_back(l);

  LignesTexte liste, morceau1, vide, morceau2;
  liste.push_back("titre");
  morceau1.push_back("a;1");
  morceau1.push_back("");
  morceau2.push_back("b;2");
  morceau2.push_back("c;3");
  liste.ajouter(std::move(morceau1));
  liste.ajouter(std::move(vide));
  liste.ajouter(std::move(morceau2));
  liste.push_back("d;4");
  LignesTexte fin;
  fin.push_back("e;5");
  liste.ajouter(std::move(fin));

  EXPECT_TRUE(liste == attendu);
  EXPECT_TRUE(entiere == attendu);
  ASSERT_EQ(liste.size(), attendu.size());
  for (std::size_t i = 0; i < attendu.size(); ++i) EXPECT_EQ(liste[i], attendu[i]) << i;
  EXPECT_EQ(liste.front(), "titre");
  EXPECT_EQ(liste.back(), "e;5");
  EXPECT_EQ(liste.en_vecteur(), attendu);
  EXPECT_TRUE(morceau1.empty());
  liste.clear();
  EXPECT_TRUE(liste.empty());
  liste.push_back("x");
  EXPECT_EQ(liste[0], "x");
}

}  // namespace
}  // namespace tamso
