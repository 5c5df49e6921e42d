#include <filesystem>

#include <gtest/gtest.h>

#include "app/data_loading.h"
#include "input/conversion.h"
#include "input/encoding.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::DossierTemporaire;

namespace fs = std::filesystem;

// Each character of the text as a UTF-16 code unit, low byte first or not.
std::string utf16(std::u16string_view texte, bool le) {
  std::string s;
  for (char16_t u : texte) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    s += le ? std::string{lo, hi} : std::string{hi, lo};
  }
  return s;
}
const std::string kBomLe = "\xFF\xFE", kBomBe = "\xFE\xFF", kBom8 = "\xEF\xBB\xBF";

TEST(DetectionCodage, ByteOrderMarkOrValidMultiByteUtf8) {
  struct Cas {
    const char* nom;
    std::string debut;
    bool suite;
    CodageDonnees attendu;
  };
  const std::vector<Cas> cas = {
      {"UTF-16 LE", kBomLe + utf16(u"Date\t\u00B0C", true), false, CodageDonnees::utf16le},
      {"UTF-16 BE", kBomBe + utf16(u"Date\t\u00B0C", false), false, CodageDonnees::utf16be},
      {"UTF-8 with its mark, ASCII after it", kBom8 + "Date;Temp", false, CodageDonnees::utf8},
      {"UTF-8 without a mark",
       "Date;Temp \xC2\xB0"
       "C\r\n1;2",
       false, CodageDonnees::utf8},
      {"plain ASCII", "Date;Temp\r\n1;2\r\n", false, CodageDonnees::windows_1252},
      {"Windows-1252 \xE9", "Temp\xE9rature;1", false, CodageDonnees::windows_1252},
      {"UTF-8 then a byte that is not",
       "\xC2\xB0"
       "C;caf\xE9;",
       false, CodageDonnees::windows_1252},
      {"overlong form", "a\xC0\xAF", false, CodageDonnees::windows_1252},
      {"UTF-16 without a mark", utf16(u"Date;1", true), false, CodageDonnees::windows_1252},
      // A character cut by the end of the bytes read counts only when the file goes on.
      {"cut character, more to come", "\xC2\xB0 ok \xE2\x82", true, CodageDonnees::utf8},
      {"cut character at the end of the file", "\xC2\xB0 ok \xE2\x82", false,
       CodageDonnees::windows_1252},
      {"empty", "", false, CodageDonnees::windows_1252},
  };
  for (const Cas& c : cas) EXPECT_EQ(detecter_codage(c.debut, c.suite), c.attendu) << c.nom;
}

// Conversions checked whole and cut in two at every byte, so that characters
// astride two blocks are met everywhere.
TEST(ConvertisseurTexte, ConvertsToWindows1252WhereverTheBlocksEnd) {
  struct Cas {
    const char* nom;
    CodageDonnees codage;
    std::string entree, attendu;
  };
  const std::vector<Cas> cas = {
      {"UTF-8 mark dropped, degree sign", CodageDonnees::utf8,
       kBom8 + "Temp \xC2\xB0"
               "C\r\n\xE2\x82\xAC",
       "Temp \xB0"
       "C\r\n\x80"},
      {"UTF-8, a byte that is not UTF-8 kept", CodageDonnees::utf8, "a\xE9z \xC3\xA9",
       "a\xE9z \xE9"},
      {"UTF-8 cut at the end of the file", CodageDonnees::utf8, "x\xE2\x82", "x\xE2\x82"},
      {"UTF-8 stand-ins", CodageDonnees::utf8,
       "\xE2\x88\x92"
       "5 \xE2\x89\xA4 \xCE\xA9",
       "-5 <= Ohm"},
      {"UTF-16 LE, CR alone ends lines", CodageDonnees::utf16le,
       kBomLe + utf16(u"T\u00B0C\ra\u2122\r", true),
       "T\xB0"
       "C\ra\x99\r"},
      {"UTF-16 BE, LF", CodageDonnees::utf16be, kBomBe + utf16(u"\u00E9t\u00E9\n\u2212", false),
       "\xE9t\xE9\n-"},
      {"UTF-16 pair beyond the code page", CodageDonnees::utf16le, utf16(u"a\U0001F600b", true),
       "a?b"},
      {"UTF-16 lone surrogates", CodageDonnees::utf16le,
       utf16(u"a", true) + "\x3D\xD8" + utf16(u"b", true) + std::string("\x00\xDC", 2), "a?b?"},
      {"UTF-16 last odd byte", CodageDonnees::utf16le, utf16(u"ab", true) + "c", "ab?"},
      {"UTF-16 NUL kept for the loader to clean", CodageDonnees::utf16be,
       utf16(std::u16string(u"a\0b", 3), false), std::string("a\0b", 3)},
  };
  for (const Cas& c : cas) {
    for (std::size_t k = 0; k <= c.entree.size(); ++k) {
      ConvertisseurTexte conv(c.codage);
      std::string sortie;
      conv.convertir(std::string_view(c.entree).substr(0, k), false, sortie);
      conv.convertir(std::string_view(c.entree).substr(k), true, sortie);
      EXPECT_EQ(sortie, c.attendu) << c.nom << ", cut at " << k;
    }
  }
}

class CopiesConverties : public test::AvecDossier {
 protected:
  void TearDown() override {
    supprimer_copies_converties();
    AvecDossier::TearDown();
  }
  // The converted copies in the program directory.
  std::vector<std::string> copies() const {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(programme_))
      if (e.path().filename().string().rfind("~converti_", 0) == 0)
        noms.push_back(e.path().string());
    return noms;
  }
};

// Windows-1252 and ASCII files are read where they are: no copy.
TEST_F(CopiesConverties, FilesThatNeedNothingAreNotCopied) {
  for (const std::string& contenu : {std::string("Date;Temp\r\n2021-01-01 00:00:00;1\r\n"),
                                     std::string("Temp\xE9rature;1\r\n"), std::string("a\rb\rc")}) {
    const std::string source = dossier_->ecrire("w.csv", contenu);
    const FichierALire a = fichier_a_lire(source, programme_);
    EXPECT_EQ(a.chemin, source);
    EXPECT_EQ(a.genre, GenreConversion::aucune);
    EXPECT_TRUE(a.erreur.empty());
  }
  EXPECT_TRUE(copies().empty());
}

// A copy is made once and kept while the source keeps its size and time; a
// changed source gets a new copy and its old one goes.
TEST_F(CopiesConverties, CopyKeptWhileTheSourceIsUnchanged) {
  const std::string source = dossier_->ecrire("u.csv", kBom8 +
                                                           "Temp \xC2\xB0"
                                                           "C\r\n1\r\n");
  const FichierALire a = fichier_a_lire(source, programme_);
  EXPECT_EQ(a.genre, GenreConversion::utf8);
  ASSERT_EQ(copies(), std::vector<std::string>{a.chemin});
  EXPECT_EQ(a.chemin.rfind(programme_ + "~converti_", 0), 0u);
  EXPECT_EQ(DossierTemporaire::lire(a.chemin),
            "Temp \xB0"
            "C\r\n1\r\n");
  // Marked by hand (same size): a second look finds the copy, not a new conversion.
  dossier_->ecrire(a.chemin.substr(dossier_->chemin().size()), "marque \r\n1\r\n");
  const FichierALire b = fichier_a_lire(source, programme_);
  EXPECT_EQ(b.chemin, a.chemin);
  EXPECT_EQ(DossierTemporaire::lire(b.chemin), "marque \r\n1\r\n");
  // The source changes: converted again, the old copy removed.
  dossier_->ecrire("u.csv", kBom8 +
                                "Temp \xC2\xB0"
                                "C\r\n1\r\n2\r\n");
  const FichierALire c = fichier_a_lire(source, programme_);
  EXPECT_NE(c.chemin, a.chemin);
  EXPECT_EQ(DossierTemporaire::lire(c.chemin),
            "Temp \xB0"
            "C\r\n1\r\n2\r\n");
  EXPECT_EQ(copies(), std::vector<std::string>{c.chemin});
  // A copy removed behind the program's back is made again.
  fs::remove(c.chemin);
  const FichierALire e = fichier_a_lire(source, programme_);
  EXPECT_EQ(DossierTemporaire::lire(e.chemin),
            "Temp \xB0"
            "C\r\n1\r\n2\r\n");
  supprimer_copies_converties();
  EXPECT_TRUE(copies().empty());
}

TEST_F(CopiesConverties, WhatEachFileNeeds) {
  struct Cas {
    const char* nom;
    std::string contenu;
    GenreConversion attendu;
  };
  const std::vector<Cas> cas = {
      {"a.txt", kBomLe + utf16(u"x", true), GenreConversion::utf16le},
      {"b.txt", kBomBe + utf16(u"x", false), GenreConversion::utf16be},
      {"c.txt", "\xC2\xB0", GenreConversion::utf8},
      {"d.XLE", "anything", GenreConversion::xle},
      {"e.xml", kBom8 + "\r\n <?xml version=\"1.0\"?>\r\n<Body_xle>", GenreConversion::xle},
      {"f.xml", "<?xml version=\"1.0\"?><racine/>", GenreConversion::aucune},
      {"g.txt", "Date;Temp", GenreConversion::aucune},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(conversion_du_fichier(dossier_->ecrire(c.nom, c.contenu)), c.attendu) << c.nom;
}

TEST_F(CopiesConverties, DamagedExportLeavesNoCopy) {
  const std::string source = dossier_->ecrire("casse.xle", "<?xml version=\"1.0\"?><Body_xle><Da");
  const FichierALire a = fichier_a_lire(source, programme_);
  EXPECT_EQ(a.genre, GenreConversion::xle);
  EXPECT_TRUE(a.chemin.empty());
  EXPECT_NE(a.erreur.find("XML invalide (ligne 1"), std::string::npos) << a.erreur;
  EXPECT_TRUE(copies().empty());
}

// Through the loader: every stage reads the converted text, lines stay
// Windows-1252 bytes, the preview shows the characters.
class ChargeurConversion : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
    d().num_ligne_donnee = "2";
  }
  void TearDown() override {
    supprimer_copies_converties();
    AvecSession::TearDown();
  }
};

TEST_F(ChargeurConversion, Utf16TabFileReadsAsItsText) {
  d().separateur_colonne = SeparateurColonne::tabulation;
  const std::string source = dossier_->ecrire(
      "donnees/m.txt",
      kBomLe +
          utf16(u"Date\tTemp \u00B0C\r\n2021-01-01 00:00:00\t1,5\r\n2021-01-01 00:10:00\t2\r\n",
                true));
  ASSERT_TRUE(charger_fichier_donnees(s(), source));
  const FichierCharge& f = s().fichier_charge;
  EXPECT_EQ(f.nb_lignes, 3);
  EXPECT_EQ(f.ligne(0),
            "Date;Temp \xB0"
            "C");
  EXPECT_EQ(f.ligne(2), "2021-01-01 00:10:00;2");
  EXPECT_EQ(f.texte(0), "Date;Temp °C");
  EXPECT_EQ(s().apercu[0], "Date\tTemp °C");
  EXPECT_NE(f.chemin, source);
  EXPECT_EQ(f.origine, source);
  EXPECT_TRUE(port_.echanges.empty());
  // Loaded again unchanged after another file, as the run loads what the
  // listing loaded: the same copy.
  const std::string copie = f.chemin;
  ASSERT_TRUE(charger_fichier_donnees(s(), dossier_->ecrire("donnees/autre.txt", "a\r\nb\r\n")));
  ASSERT_TRUE(charger_fichier_donnees(s(), source));
  EXPECT_EQ(s().fichier_charge.chemin, copie);
}

TEST_F(ChargeurConversion, DamagedExportIsSaidAndLoadsAsNoLine) {
  const std::string source = dossier_->ecrire("donnees/x.xle", "<?xml version=\"1.0\"?><autre/>");
  ASSERT_TRUE(charger_fichier_donnees(s(), source));
  EXPECT_EQ(s().fichier_charge.nb_lignes, 0);
  EXPECT_EQ(s().fichier_charge.origine, source);
  const std::string detail = "élément racine <autre> : pas un export Solinst (<Body_xle> attendu)";
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, "fichier .xle illisible\n" + source + "\n\n" + detail);
  EXPECT_EQ(s().journal.derniere(), "fichier .xle illisible => " + source + " : " + detail);
}

// Without a program directory to write the copy in, the text is read as it
// is, and the log says why.
TEST_F(ChargeurConversion, TextWhoseCopyCannotBeWrittenIsReadAsItIs) {
  const std::string source = dossier_->ecrire("donnees/u.csv", kBom8 + "a;b\r\n1;2\r\n3;4\r\n");
  fs::remove_all(programme_);
  ASSERT_TRUE(charger_fichier_donnees(s(), source));
  fs::create_directories(programme_);
  EXPECT_EQ(s().fichier_charge.chemin, source);
  EXPECT_EQ(s().fichier_charge.ligne(0), kBom8 + "a;b");
  EXPECT_EQ(
      s().journal.derniere().rfind("conversion impossible => " + source +
                                       " : écriture impossible : " + programme_ + "~converti_",
                                   0),
      0u)
      << s().journal.derniere();
  EXPECT_TRUE(port_.echanges.empty());
}

// The workbook's and the clipboard's texts are the program's own: never converted.
TEST_F(ChargeurConversion, OnlyDataFilesOfAFolderAreConverted) {
  s().source = SourceDonnees::excel;
  const std::string texte = kBom8 +
                            "Temp \xC2\xB0"
                            "C\r\n1;2\r\n3;4\r\n";
  const std::string source = dossier_->ecrire("programme/~tmp_xls.csv", texte);
  ASSERT_TRUE(charger_fichier_donnees(s(), source));
  EXPECT_EQ(s().fichier_charge.chemin, source);
  EXPECT_EQ(s().fichier_charge.ligne(0), kBom8 +
                                             "Temp \xC2\xB0"
                                             "C");
}

}  // namespace
}  // namespace tamso
