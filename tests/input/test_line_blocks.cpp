#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "input/line_blocks.h"
#include "input/loader.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::DossierTemporaire;
using Lignes = std::vector<std::string>;

// The lines the stream reader gives for a file. Its buffer is smaller than
// usual so that many files are cheap to read; lines longer than it make it
// grow as usual.
Lignes selon_lecteur(const std::string& chemin, NettoyageLignes n) {
  LecteurLignes lecteur(chemin, n, 4096);
  Lignes r;
  std::string_view l;
  while (lecteur.suivante(l)) r.emplace_back(l);
  return r;
}

// The lines of one block, checked against the block's own buffer.
void ajouter_lignes(const BlocLignes& b, Lignes& sortie) {
  ASSERT_EQ(b.debuts.size(), b.longueurs.size());
  for (std::size_t i = 0; i < b.debuts.size(); ++i) {
    ASSERT_LE(static_cast<std::size_t>(b.debuts[i]) + b.longueurs[i], b.texte.size())
        << "bloc " << b.numero << " ligne " << i;
    sortie.emplace_back(b.texte.data() + b.debuts[i], b.longueurs[i]);
  }
}

// The lines of every block, read one by one in file order.
Lignes selon_blocs(const FichierEnBlocs& f) {
  Lignes r;
  BlocLignes b;
  std::uint64_t octets = 0;
  for (std::uint64_t n = 0; n < f.nb_blocs(); ++n) {
    f.lire(n, b);
    EXPECT_EQ(b.numero, n);
    EXPECT_FALSE(b.erreur);
    octets += b.octets;
    ajouter_lignes(b, r);
  }
  EXPECT_EQ(octets, f.taille());  // the blocks cover the file exactly
  return r;
}

std::string afficher(const Lignes& l) {
  std::string r;
  for (const auto& x : l) {
    r += '[';
    for (const char c : x) {
      if (static_cast<unsigned char>(c) < 0x20)
        r += "\\x" + std::to_string(static_cast<int>(c));
      else
        r += c;
    }
    r += "]\n";
  }
  return r;
}

// A random file: short and long lines, empty lines, every kind of line end,
// NUL bytes and tabulations, a last line with or without its end, sometimes
// a lone CR as the very last byte. With `tres_longues`, some lines run past
// the read-ahead margin of the block reader.
std::string octets_au_hasard(std::mt19937& g, bool tres_longues) {
  static const std::string kAlphabet = "abcXYZ0123456789;;;,,.  -:\xE9";
  static const char* kFins[] = {"\n", "\r", "\r\n"};
  std::uniform_int_distribution<int> de(0, 99);
  std::string r;
  const int nb = de(g) % 30;
  for (int i = 0; i < nb; ++i) {
    const int genre = de(g);
    std::size_t longueur;
    if (genre < 15)
      longueur = 0;
    else if (genre < 88)
      longueur = static_cast<std::size_t>(de(g) % 50);
    else if (genre < 98 || !tres_longues)
      longueur = 60 + static_cast<std::size_t>(de(g)) * 2;
    else
      longueur = 4150 + static_cast<std::size_t>(de(g)) * 3;
    for (std::size_t k = 0; k < longueur; ++k) {
      const int c = de(g);
      if (c < 3)
        r += '\0';
      else if (c < 7)
        r += '\t';
      else
        r += kAlphabet[static_cast<std::size_t>(de(g)) % kAlphabet.size()];
    }
    r += kFins[de(g) % 3];
  }
  const int fin = de(g) % 4;
  if (fin == 1)
    r += "last line without end";
  else if (fin == 2)
    r += "ends with a lone CR\r";
  else if (fin == 3 && !r.empty())
    r.pop_back();  // drops an end (or half of a CR LF)
  return r;
}

struct Cas {
  std::string octets;
  std::size_t taille_bloc;
};

// Files built so that line ends fall on the edges the block reader works
// with: the block limits, the end of its first read (a block plus 4096
// bytes) and the end of its first extension (twice that).
std::vector<Cas> octets_aux_limites() {
  std::vector<Cas> r;
  const auto autour = [&r](std::size_t bord, std::size_t taille, bool complet) {
    // The line end begins two bytes or one before the edge, on it or after
    // it; for the read-ahead edges, only on the last byte read or the first
    // one not read.
    for (std::size_t decalage = complet ? 0 : 1; decalage < (complet ? 4u : 3u); ++decalage) {
      const std::size_t n = bord - 2 + decalage;
      for (const char* fin : {"\r\n", "\r", "\n", "\r\r\n", "\n\r"}) {
        if (!complet && (std::string_view(fin).size() > 2)) continue;
        r.push_back({std::string(n, 'x') + fin + "y\r\nz", taille});
        r.push_back({std::string(n, 'x') + fin, taille});
        if (complet) r.push_back({"a\r\n" + std::string(n - 3, 'x') + fin + "\r\n\r\nb\n", taille});
      }
    }
  };
  for (const std::size_t taille : {64u, 100u}) {
    autour(taille, taille, true);
    autour(2 * taille, taille, true);
  }
  autour(64 + 4096, 64, false);
  autour(100 + 4096, 100, false);
  autour(2 * (64 + 4096), 64, false);
  // Only line ends, of every kind.
  for (const std::size_t taille : {64u, 100u}) {
    r.push_back({std::string(300, '\n'), taille});
    r.push_back({std::string(300, '\r'), taille});
    std::string crlf;
    for (int i = 0; i < 150; ++i) crlf += "\r\n";
    r.push_back({crlf, taille});
    r.push_back({"\r" + crlf, taille});
    r.push_back({"\r", taille});
    r.push_back({"\n", taille});
    r.push_back({"x", taille});
  }
  return r;
}

constexpr std::size_t kTailles[] = {100, 4096, FichierEnBlocs::kTailleBloc};

class LignesEnBlocs : public ::testing::Test {
 protected:
  // Compares the cut into blocks of the given sizes with the stream
  // reader, under every cleaning setting or the usual one only.
  void comparer(const std::string& octets, const std::string& origine,
                const std::vector<std::size_t>& tailles, bool tous_reglages) {
    // A new file each time: rewriting one file makes the file system flush it.
    const std::string chemin =
        dossier_.ecrire("f" + std::to_string(nb_fichiers_++) + ".txt", octets);
    for (const bool tab : {false, true}) {
      for (const char nul : {'\x01', '_'}) {
        if (!tous_reglages && (tab || nul != '\x01')) continue;
        NettoyageLignes n;
        n.nul = nul;
        n.tabulation_vers_point_virgule = tab;
        const Lignes attendu = selon_lecteur(chemin, n);
        for (const std::size_t taille : tailles) {
          FichierEnBlocs f(chemin, n, taille);
          ASSERT_TRUE(f.ouvert());
          ASSERT_EQ(f.taille(), octets.size());
          // The lines counted without being cut, on one thread or several.
          for (const int fils : {1, 3})
            EXPECT_EQ(f.compter_lignes(fils), attendu.size())
                << origine << " taille de bloc " << taille << ", " << fils << " fils";
          const Lignes obtenu = selon_blocs(f);
          ASSERT_EQ(obtenu, attendu)
              << origine << " taille de bloc " << taille << " tab " << tab << "\nattendu:\n"
              << afficher(attendu) << "obtenu:\n"
              << afficher(obtenu);
        }
      }
    }
  }
  DossierTemporaire dossier_;
  int nb_fichiers_ = 0;
};

TEST_F(LignesEnBlocs, SameLinesAsTheStreamReaderForRandomFiles) {
  std::mt19937 g(20211107);
  const std::vector<std::size_t> tailles(std::begin(kTailles), std::end(kTailles));
  for (int i = 0; i < 120; ++i) {
    comparer(octets_au_hasard(g, i % 10 == 0), "fichier au hasard " + std::to_string(i), tailles,
             true);
    // The smallest blocks (a size of 1 becomes 64) for the usual setting
    // only: the cleaning never makes or removes a line end.
    comparer(octets_au_hasard(g, i % 10 == 5), "fichier au hasard " + std::to_string(i) + "b",
             {i % 2 ? 1u : 64u}, false);
  }
}

TEST_F(LignesEnBlocs, SameLinesWhenLineEndsFallOnBlockAndWindowEdges) {
  const auto cas = octets_aux_limites();
  for (std::size_t i = 0; i < cas.size(); ++i)
    comparer(cas[i].octets, "fichier aux limites " + std::to_string(i), {cas[i].taille_bloc},
             false);
}

TEST_F(LignesEnBlocs, CleaningOfNulBytesAndTabulations) {
  const std::string chemin = dossier_.ecrire("f.txt", std::string("a\tb\0c\r\n\t\0\n", 10));
  NettoyageLignes n;
  n.nul = '_';
  FichierEnBlocs f(chemin, n, 64);
  EXPECT_EQ(selon_blocs(f), (Lignes{std::string("a\tb_c"), std::string("\t_")}));
  n.tabulation_vers_point_virgule = true;
  n.nul = '\x01';
  FichierEnBlocs g(chemin, n, 64);
  EXPECT_EQ(selon_blocs(g), (Lignes{std::string("a;b\x01"
                                                "c"),
                                    std::string(";\x01")}));
}

TEST_F(LignesEnBlocs, BlockSizeAndCount) {
  const std::string chemin = dossier_.ecrire("f.txt", std::string(1000, 'x'));
  // Blocks are never smaller than 64 bytes.
  EXPECT_EQ(FichierEnBlocs(chemin, {}, 1).nb_blocs(), 16u);
  EXPECT_EQ(FichierEnBlocs(chemin, {}, 64).nb_blocs(), 16u);
  EXPECT_EQ(FichierEnBlocs(chemin, {}, 100).nb_blocs(), 10u);
  EXPECT_EQ(FichierEnBlocs(chemin, {}, 1000).nb_blocs(), 1u);
  EXPECT_EQ(FichierEnBlocs(chemin, {}, 999).nb_blocs(), 2u);
  // One line of 1000 bytes starts in block 0 and nowhere else.
  FichierEnBlocs f(chemin, {}, 64);
  BlocLignes b;
  f.lire(0, b);
  ASSERT_EQ(b.debuts.size(), 1u);
  EXPECT_EQ(b.longueurs[0], 1000u);
  EXPECT_EQ(b.octets, 64u);
  for (std::uint64_t n = 1; n < f.nb_blocs(); ++n) {
    f.lire(n, b);
    EXPECT_TRUE(b.debuts.empty()) << n;
  }
  EXPECT_EQ(b.octets, 1000u - 15 * 64);  // the last block is shorter
}

TEST_F(LignesEnBlocs, MissingAndEmptyFiles) {
  FichierEnBlocs absent(dossier_.chemin() + "absent.txt", {}, 64);
  EXPECT_FALSE(absent.ouvert());
  EXPECT_EQ(absent.nb_blocs(), 0u);
  const std::string chemin = dossier_.ecrire("vide.txt", "");
  FichierEnBlocs vide(chemin, {}, 64);
  EXPECT_TRUE(vide.ouvert());
  EXPECT_EQ(vide.nb_blocs(), 0u);
  for (const int fils : {0, 3}) {
    FileDeBlocs<int> file(
        vide, [](const BlocLignes&, int&) {}, fils, 2);
    EXPECT_EQ(file.suivant(), nullptr);
  }
}

// ---------------------------------------------------------------- queue of blocks

struct LignesAnalysees {
  Lignes lignes;
  std::uint64_t numero = 0;
};

class FileBlocs : public LignesEnBlocs {
 protected:
  // Takes every block from the queue; checks their order and that the
  // analysis each carries is that of its own block.
  Lignes tout_lire(const FichierEnBlocs& f, int fils, int en_vol) {
    FileDeBlocs<LignesAnalysees> file(
        f,
        [](const BlocLignes& b, LignesAnalysees& a) {
          a.lignes.clear();
          a.numero = b.numero;
          for (std::size_t i = 0; i < b.debuts.size(); ++i)
            a.lignes.emplace_back(b.texte.data() + b.debuts[i], b.longueurs[i]);
        },
        fils, en_vol);
    Lignes r;
    std::uint64_t attendu = 0;
    while (auto* e = file.suivant()) {
      EXPECT_EQ(e->bloc.numero, attendu);
      EXPECT_EQ(e->analyse.numero, attendu);
      Lignes du_bloc;
      ajouter_lignes(e->bloc, du_bloc);
      EXPECT_EQ(e->analyse.lignes, du_bloc) << "bloc " << attendu;
      r.insert(r.end(), du_bloc.begin(), du_bloc.end());
      ++attendu;
    }
    EXPECT_EQ(attendu, f.nb_blocs());
    EXPECT_EQ(file.suivant(), nullptr);  // stays at the end
    return r;
  }
};

TEST_F(FileBlocs, BlocksComeBackInFileOrderWithTheSameLines) {
  std::mt19937 g(7);
  std::string octets;
  for (int i = 0; i < 12; ++i) octets += octets_au_hasard(g, i == 3) + "\n";
  const std::string chemin = dossier_.ecrire("f.txt", octets);
  for (const bool tab : {false, true}) {
    NettoyageLignes n;
    n.tabulation_vers_point_virgule = tab;
    const Lignes attendu = selon_lecteur(chemin, n);
    for (const std::size_t taille : {64u, 4096u}) {
      FichierEnBlocs f(chemin, n, taille);
      for (const int fils : {0, 1, 3})
        for (const int en_vol : {1, 3})
          EXPECT_EQ(tout_lire(f, fils, en_vol), attendu)
              << "taille " << taille << " fils " << fils << " en vol " << en_vol;
    }
  }
}

TEST_F(FileBlocs, StoppingEarlyEndsTheWorkers) {
  std::string octets;
  for (int i = 0; i < 2000; ++i) octets += "2021-11-07 10:07:00;" + std::to_string(i) + "\r\n";
  const std::string chemin = dossier_.ecrire("f.txt", octets);
  FichierEnBlocs f(chemin, {}, 64);
  for (const int en_vol : {1, 2, 5}) {
    FileDeBlocs<int> file(
        f, [](const BlocLignes& b, int& a) { a = static_cast<int>(b.debuts.size()); }, 3, en_vol);
    for (std::uint64_t n = 0; n < 5; ++n) {
      auto* e = file.suivant();
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->bloc.numero, n);
      EXPECT_EQ(e->analyse, static_cast<int>(e->bloc.debuts.size()));
    }
    file.arreter();  // the remaining blocks are never read; the workers end
  }
}

}  // namespace
}  // namespace tamso
