// Lines quoted in messages and the tracking log keep their beginning only.
#include <string>

#include <gtest/gtest.h>

#include "base/quotation.h"
#include "base/tracking_log.h"

namespace tamso {
namespace {

TEST(Citation, ShortTextsWholeLongOnesCutWithTheirLength) {
  struct Cas {
    std::string texte;
    std::size_t longueur;
    std::string attendu;
  };
  const Cas cas[] = {
      {"", 5, ""},
      {"abcde", 5, "abcde"},
      {"abcdef", 5, "abcde [...] (6 caractères)"},
      {std::string(1234567, 'x'), 3, "xxx [...] (1 234 567 caractères)"},
      // "é" is two bytes in UTF-8: a cut inside it goes back before it.
      {"ab\xC3\xA9"
       "cd",
       3, "ab [...] (6 caractères)"},
  };
  for (const Cas& c : cas) EXPECT_EQ(citation(c.texte, c.longueur), c.attendu) << c.texte.size();
  EXPECT_EQ(citation(std::string(400, 'a')).size(),
            kLongueurCitation + std::string(" [...] (400 caractères)").size());
}

TEST(Citation, EveryLineOfAMessageIsBounded) {
  EXPECT_EQ(lignes_bornees("court\n" + std::string(10, 'y') + "\n\nfin", 4),
            "cour [...] (5 caractères)\nyyyy [...] (10 caractères)\n\nfin");
  EXPECT_EQ(lignes_bornees("a\nb", 1), "a\nb");
}

TEST(Citation, TheTrackingLogKeepsTheBeginningOfLongLines) {
  JournalSuivi j;
  const std::string longue(5'000'000, 'z');
  j.ajouter_ligne_suivi("ligne " + longue);
  j.ajouter_ligne_suivi("ligne " + longue);
  j.ajouter_ligne_suivi("ligne " + longue);
  // Two equal lines are kept, the third is dropped, as for short lines.
  ASSERT_EQ(j.taille(), 2u);
  EXPECT_EQ(j.derniere(), "ligne " + std::string(JournalSuivi::kLongueurLigneJournal - 6, 'z') +
                              " [...] (5 000 006 caractères)");
}

}  // namespace
}  // namespace tamso
