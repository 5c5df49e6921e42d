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

// On Windows the fixed viewer comes first when it is installed, then the
// desktop's viewer (no program), Acrobat, and Firefox with the name's blanks
// as "%20" started in the manual's folder written as a file address.
TEST(Manuel, WaysOfShowingTheManualInOrder) {
  const std::string chemin = "D:\\Tamso v7\\tamso manuel.pdf";
  const auto present = [](const std::string& p) { return p == kLecteurPdfFixe; };
  const auto absent = [](const std::string&) { return false; };
  const std::vector<CommandeExterne> sans_lecteur_fixe = {
      {"", {chemin}},
      {"Acrobat.exe", {chemin}},
      {"firefox.exe", {"tamso%20manuel.pdf"}, "file:///D:\\Tamso v7\\"}};
  EXPECT_EQ(ouvertures_manuel(chemin, true, absent), sans_lecteur_fixe);
  auto avec_lecteur_fixe = sans_lecteur_fixe;
  avec_lecteur_fixe.insert(
      avec_lecteur_fixe.begin(),
      {"C:\\LOGICIELS\\PDFX_Vwr_Port\\PDFXCview.exe", {"tamso manuel.pdf"}, "D:\\Tamso v7\\"});
  EXPECT_EQ(ouvertures_manuel(chemin, true, present), avec_lecteur_fixe);
  // Elsewhere the desktop's viewer only, even where a file of that name exists.
  EXPECT_EQ(ouvertures_manuel("/opt/tamso/tamso_manuel.pdf", false, present),
            (std::vector<CommandeExterne>{{"", {"/opt/tamso/tamso_manuel.pdf"}}}));
}

TEST(Manuel, Messages) {
  EXPECT_EQ(message_manuel_introuvable("/opt/tamso/tamso_manuel.pdf"),
            "</opt/tamso/tamso_manuel.pdf> introuvable");
  EXPECT_EQ(message_sans_lecteur_pdf("C:\\t\\tamso_manuel.pdf", true),
            "Firefox et Acrobat introuvables");
  EXPECT_EQ(message_sans_lecteur_pdf("/opt/tamso/tamso_manuel.pdf", false),
            "Aucun lecteur de PDF n'a pu être lancé pour </opt/tamso/tamso_manuel.pdf>");
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
