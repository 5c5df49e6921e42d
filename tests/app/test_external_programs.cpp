#include <gtest/gtest.h>

#include "app/external_programs.h"

namespace tamso {
namespace {

TEST(Editeur, NotepadPlusPlusOpensCentredAndInFront) {
  EXPECT_EQ(reglage_editeur_effectif("notepad++.exe", 1366, 768),
            "notepad++.exe -x783 -y484 -alwaysOnTop");
  EXPECT_EQ(reglage_editeur_effectif("notepad++.exe -alwaysOnTop", 1366, 768),
            "notepad++.exe -alwaysOnTop");
  EXPECT_EQ(reglage_editeur_effectif("gedit", 1366, 768), "gedit");
}

TEST(Editeur, ProgramThenFilePathThenParameters) {
  const auto c =
      commande_editeur("C:\\outils\\editeur.exe -n", "D:\\mesures\\", "a b.csv", 800, 600);
  EXPECT_EQ(c.programme, "C:\\outils\\editeur.exe");
  EXPECT_EQ(c.arguments, (std::vector<std::string>{"D:\\mesures\\a b.csv", "-n"}));
}

TEST(Editeur, CentredNotepadPlusPlusGetsItsThreeParameters) {
  const auto c = commande_editeur("notepad++.exe ", "/d/", "f.txt", 1000, 800);
  EXPECT_EQ(c.programme, "notepad++.exe");
  EXPECT_EQ(c.arguments, (std::vector<std::string>{"/d/f.txt", "-x600", "-y500", "-alwaysOnTop"}));
}

TEST(Editeur, AProgramWithoutParameterGetsOnlyThePath) {
  const auto c = commande_editeur("  kate ", "", "/tmp/x.txt", 0, 0);
  EXPECT_EQ(c.programme, "kate");
  EXPECT_EQ(c.arguments, (std::vector<std::string>{"/tmp/x.txt"}));
}

TEST(Editeur, NotepadMeansThePlatformEditor) {
  EXPECT_TRUE(est_editeur_par_defaut("notepad.exe"));
  EXPECT_TRUE(est_editeur_par_defaut("C:\\Windows\\NOTEPAD.EXE"));
  EXPECT_TRUE(est_editeur_par_defaut(" notepad "));
  EXPECT_FALSE(est_editeur_par_defaut("notepad++.exe"));
}

TEST(Editeur, QuestionWhenTheEditorIsMissing) {
  EXPECT_EQ(question_editeur_introuvable("blocnote.exe"),
            "  Erreur de lecture: vérifier le nom du [blocnote] \n\n  remplacer blocnote.exe\n\n"
            "  par notepad.exe  => (Oui)\n\n");
}

TEST(Extinction, CommandsAreArgumentListsWithTheWarning) {
  const auto c = commandes_extinction();
  ASSERT_FALSE(c.empty());
#ifndef _WIN32
  EXPECT_EQ(c[0], (CommandeExterne{"shutdown", {"-h", "+1", kMessageExtinction}}));
  EXPECT_EQ(c.back(), (CommandeExterne{"systemctl", {"poweroff"}}));
#endif
}

}  // namespace
}  // namespace tamso
