// The memory a run will take: sizes as users write and read them, and the
// question asked before a run the machine cannot hold.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/memory.h"
#include "processing/memory_budget.h"
#include "support/scripted_interaction.h"

namespace tamso {
namespace {

TEST(TailleMemoire, ReadAndWritten) {
  struct Cas {
    const char* texte;
    std::optional<std::uint64_t> octets;
  };
  const Cas lus[] = {
      {"12G", 12'000'000'000ULL}, {"800M", 800'000'000ULL}, {"1.5g", 1'500'000'000ULL},
      {"1,5G", 1'500'000'000ULL}, {"64k", 64'000ULL},       {"2000000000", 2'000'000'000ULL},
      {"", std::nullopt},         {"0", std::nullopt},      {"G", std::nullopt},
      {"-1G", std::nullopt},      {"12 G", std::nullopt},   {"1e3", std::nullopt},
      {"9999999T", std::nullopt},
  };
  for (const Cas& c : lus) EXPECT_EQ(lire_taille_memoire(c.texte), c.octets) << c.texte;

  struct Ecrit {
    std::uint64_t octets;
    const char* texte;
  };
  const Ecrit ecrits[] = {
      {512, "512 octets"},           {64'000, "64 ko"},        {850'000'000, "850 Mo"},
      {6'912'000'000, "6,9 Go"},     {9'960'000'000, "10 Go"}, {12'400'000'000, "12 Go"},
      {2'500'000'000'000, "2,5 To"},
  };
  for (const Ecrit& e : ecrits) EXPECT_EQ(texte_octets(e.octets), e.texte) << e.octets;
}

TEST(TailleMemoire, AvailableMemoryIsAPlausibleAmount) {
  const auto d = memoire_disponible();
  ASSERT_TRUE(d.has_value());
  EXPECT_GT(*d, 16'000'000u);
}

// A year of seconds on one column weighs several gigabytes: 31,536,000 rows,
// 35 bytes per list item, 110 + 36 bytes per grid row.
TEST(BudgetMemoire, EstimatesGrowWithRowsAndColumns) {
  EXPECT_EQ(octets_liste(31'536'000), 31'536'002ULL * 35);
  EXPECT_EQ(octets_grille(31'536'000, 1), 31'536'003ULL * 146);
  EXPECT_EQ(octets_grille(1000, 3), 1003ULL * (110 + 3 * 36));
  EXPECT_EQ(octets_grille(1000, 0), octets_grille(1000, 1));
}

TEST(BudgetMemoire, AboveTheLimitTheUserIsToldAndAsked) {
  test::InteractionScriptee port;
  // Under the limit: not a word.
  EXPECT_EQ(accord_memoire(port, 1'000'000, 10'000, 2, 2'000'000), AccordMemoire::sous_limite);
  EXPECT_TRUE(port.echanges.empty());

  port.reponses = {Reponse::non, Reponse::oui};
  EXPECT_EQ(accord_memoire(port, 6'900'000'000, 31'536'000, 1, 800'000'000),
            AccordMemoire::refusee);
  ASSERT_EQ(port.echanges.size(), 1u);
  EXPECT_EQ(port.echanges[0].boutons, Boutons::oui_non);
  EXPECT_EQ(port.echanges[0].texte,
            " Le traitement demanderait environ 6,9 Go de mémoire\n (31 536 000 lignes de "
            "résultats x 1 colonne de valeurs)\n pour une limite de 800 Mo (--max-memory).\n\n "
            "Réduire la période, allonger le pas ou extraire moins de colonnes.\n\n   continuer "
            "quand même ? ");
  EXPECT_EQ(accord_memoire(port, 3'000'000, 1000, 4, 2'000'000), AccordMemoire::forcee);
  EXPECT_NE(port.dernier_texte().find("x 4 colonnes de valeurs"), std::string::npos);
  // Without a limit of the user's, the machine's available memory is the limit.
  port.reponses = {Reponse::non};
  EXPECT_EQ(accord_memoire(port, 1'000'000'000'000'000ULL, 1000, 1, 0), AccordMemoire::refusee);
  EXPECT_NE(port.dernier_texte().find("de mémoire disponible."), std::string::npos);
}

}  // namespace
}  // namespace tamso
