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

// The program, then the file's path, then the parameters; a centred
// Notepad++ gets its three parameters.
TEST(Editeur, ProgramThenFilePathThenParameters) {
  struct Cas {
    const char *reglage, *dossier, *fichier;
    int largeur, hauteur;
    CommandeExterne attendu;
  };
  for (const Cas& c : {Cas{"C:\\outils\\editeur.exe -n",
                           "D:\\mesures\\",
                           "a b.csv",
                           800,
                           600,
                           {"C:\\outils\\editeur.exe", {"D:\\mesures\\a b.csv", "-n"}}},
                       Cas{"notepad++.exe ",
                           "/d/",
                           "f.txt",
                           1000,
                           800,
                           {"notepad++.exe", {"/d/f.txt", "-x600", "-y500", "-alwaysOnTop"}}},
                       Cas{"  kate ", "", "/tmp/x.txt", 0, 0, {"kate", {"/tmp/x.txt"}}}})
    EXPECT_EQ(commande_editeur(c.reglage, c.dossier, c.fichier, c.largeur, c.hauteur), c.attendu)
        << c.reglage;
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
