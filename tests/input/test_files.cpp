#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "input/files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::AvecDossier;
using test::crlf;
using test::DossierTemporaire;
using test::InteractionScriptee;

using Fichiers = AvecDossier;

TEST(Chemins, FinalSeparatorAndParts) {
  EXPECT_EQ(avec_barre_finale(""), "");
  EXPECT_EQ(avec_barre_finale("/a/b"), "/a/b/");
  EXPECT_EQ(avec_barre_finale("/a/b/"), "/a/b/");
  EXPECT_EQ(avec_barre_finale("D:\\mesures\\"), "D:\\mesures\\");
  EXPECT_EQ(repertoire_de("/a/b/c.dsc"), "/a/b/");
  EXPECT_EQ(repertoire_de("D:\\m\\c.dsc"), "D:\\m\\");
  EXPECT_EQ(repertoire_de("c.dsc"), "");
  EXPECT_EQ(nom_de_fichier("/a/b/c.dsc"), "c.dsc");
}

TEST(Chemins, ProgramDirectoryFollowsTamsoHome) {
  DossierTemporaire d;
  ::setenv("TAMSO_HOME", (d.chemin() + "prog").c_str(), 1);
  EXPECT_EQ(repertoire_programme(), d.chemin() + "prog/");
  EXPECT_TRUE(repertoire_existe(d.chemin() + "prog"));
}

TEST(DecouperLignes, AcceptsCrLfAndThePair) {
  EXPECT_EQ(decouper_lignes("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(decouper_lignes("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(decouper_lignes("").empty());
}

TEST_F(Fichiers, WritesWindows1252WithCrLfAndReadsBack) {
  const std::string chemin = dossier_->chemin() + "t.txt";
  ASSERT_TRUE(ecrire_lignes_texte(chemin, {"état", "", "fin"}));
  EXPECT_EQ(DossierTemporaire::lire(chemin), "\xE9tat\r\n\r\nfin\r\n");
  const auto lignes = lire_lignes_texte(chemin);
  ASSERT_TRUE(lignes);
  EXPECT_EQ(*lignes, (std::vector<std::string>{"état", "", "fin"}));
  // Nothing but the target is left in the folder.
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dossier_->chemin()))
    ++n;
  EXPECT_EQ(n, 2);  // t.txt and the program folder
}

TEST_F(Fichiers, WritesFollowNoLinkAndFailuresSayWhy) {
  namespace fs = std::filesystem;
  std::string raison;
  EXPECT_FALSE(ecrire_lignes_texte(dossier_->chemin() + "absent/t.txt", {"x"}, &raison));
  EXPECT_EQ(raison, "répertoire inexistant");
  // A link planted at the temporary's name towards someone else's file is
  // passed over: the target gets the text, the other file stays whole.
  const std::string autre = dossier_->ecrire("autre.txt", "intact\r\n");
  const std::string chemin = dossier_->ecrire("garde.txt", "ancien\r\n");
  const std::string piege = chemin + ".~" + std::to_string(::getpid()) + ".tmp";
  fs::create_symlink(autre, piege);
  EXPECT_TRUE(ecrire_lignes_texte(chemin, {"nouveau"}));
  EXPECT_EQ(DossierTemporaire::lire(chemin), "nouveau\r\n");
  EXPECT_EQ(DossierTemporaire::lire(autre), "intact\r\n");
  EXPECT_TRUE(fs::is_symlink(piege));
  // A target that cannot be replaced (a folder holding a file): nothing
  // changes and no temporary is left.
  dossier_->ecrire("dossier/x", "x");
  EXPECT_FALSE(ecrire_lignes_texte(dossier_->chemin() + "dossier", {"y"}, &raison));
  EXPECT_EQ(raison, "un répertoire porte ce nom");
  int temporaires = 0;
  for (const auto& e : fs::directory_iterator(dossier_->chemin()))
    if (e.path().extension() == ".tmp") ++temporaires;
  EXPECT_EQ(temporaires, 1);  // the planted link only
}

// Temporaries of programs that are gone are removed; those of a program
// still running, and other names, are kept.
TEST_F(Fichiers, OrphanTemporariesAreRemoved) {
  namespace fs = std::filesystem;
  // A child that has exited and been waited for: its pid is free.
  const pid_t fils = ::fork();
  if (fils == 0) ::_exit(0);
  int statut = 0;
  ::waitpid(fils, &statut, 0);
  const std::string mort = std::to_string(fils), vivant = std::to_string(::getpid());
  // Gone: the first three; kept: a live pid, names not quite of the pattern.
  const std::vector<std::string> noms = {"r.txt.~" + mort + ".tmp",
                                         "r.txt.TXT.~" + mort + "-3.tmp",
                                         "~converti_" + mort + "_2.txt",
                                         "r.txt.~" + vivant + ".tmp",
                                         "~converti_" + vivant + "_1.txt",
                                         "r.txt.~" + mort + "-.tmp",
                                         "~converti_x_1.txt",
                                         "r.txt.~12a.tmp",
                                         "r.tmp",
                                         "r.txt"};
  for (const std::string& nom : noms) dossier_->ecrire("sortie/" + nom, "x");
  EXPECT_EQ(supprimer_temporaires_orphelins(dossier_->chemin() + "sortie/"), 3);
  std::set<std::string> restes;
  for (const auto& e : fs::directory_iterator(dossier_->chemin() + "sortie/"))
    restes.insert(e.path().filename().string());
  EXPECT_EQ(restes, std::set<std::string>(noms.begin() + 3, noms.end()));
}

// A batch command's folder of temporaries: made new for its process, kept
// while the process runs, removed with its content once the process is gone;
// a link under such a name is never followed.
TEST_F(Fichiers, BatchFoldersOfTemporariesLiveAsLongAsTheirProcess) {
  namespace fs = std::filesystem;
  const pid_t fils = ::fork();
  if (fils == 0) ::_exit(0);
  int statut = 0;
  ::waitpid(fils, &statut, 0);
  const std::string dossier = dossier_->sous_dossier("prog");
  const std::string mien = creer_dossier_temporaire_processus(dossier);
  EXPECT_EQ(mien, dossier + "~lot_" + std::to_string(::getpid()) + "/");
  ASSERT_TRUE(repertoire_existe(mien));
  dossier_->ecrire("prog/~lot_" + std::to_string(::getpid()) + "/~tmp_xls.csv", "x");
  // A dead process's folder, a link of that pattern to a folder that must
  // stay, and a folder whose name only looks like one.
  const std::string mort = "~lot_" + std::to_string(fils);
  dossier_->ecrire("prog/" + mort + "/~converti_1_1.txt", "x");
  const std::string garde = dossier_->sous_dossier("garde");
  dossier_->ecrire("garde/f.txt", "x");
  const pid_t autre = ::fork();
  if (autre == 0) ::_exit(0);
  ::waitpid(autre, &statut, 0);
  fs::create_directory_symlink(garde, dossier + "~lot_" + std::to_string(autre));
  dossier_->sous_dossier("prog/~lot_" + std::to_string(fils) + "_1");
  EXPECT_EQ(supprimer_temporaires_orphelins(dossier), 1);
  EXPECT_FALSE(fs::exists(dossier + mort));
  EXPECT_TRUE(fichier_existe(mien + "~tmp_xls.csv"));
  EXPECT_TRUE(fichier_existe(garde + "f.txt"));
  EXPECT_TRUE(fs::is_symlink(dossier + "~lot_" + std::to_string(autre)));
  EXPECT_TRUE(repertoire_existe(dossier + "~lot_" + std::to_string(fils) + "_1"));
  // A folder of this pid left by an ended process is taken over, emptied.
  EXPECT_EQ(creer_dossier_temporaire_processus(dossier), mien);
  EXPECT_FALSE(fichier_existe(mien + "~tmp_xls.csv"));
}

// Bytes written as they are: no line-end or Windows-1252 conversion.
TEST_F(Fichiers, BytesAreWrittenAsTheyAre) {
  const std::string chemin = dossier_->chemin() + "b.json";
  const std::string octets = "{\"t\":\"\xC3\xA9\"}\n";
  FichierEnAttente f;
  ASSERT_TRUE(f.ecrire_octets(chemin, octets));
  EXPECT_FALSE(fichier_existe(chemin));
  ASSERT_TRUE(f.mettre_en_place());
  EXPECT_EQ(DossierTemporaire::lire(chemin), octets);
  FichierEnAttente g;
  EXPECT_FALSE(g.ecrire_octets(dossier_->chemin() + "absent/b.json", octets));
  EXPECT_EQ(g.raison(), "répertoire inexistant");
}

TEST_F(Fichiers, LineOfAFile) {
  const std::string chemin = dossier_->ecrire("l.txt", "un\r\ndeux\ntrois");
  EXPECT_EQ(lire_ligne_fichier(chemin, 1), "un");
  EXPECT_EQ(lire_ligne_fichier(chemin, 3), "trois");
  EXPECT_EQ(lire_ligne_fichier(chemin, 4), "");
  EXPECT_EQ(lire_ligne_fichier(chemin, 0), "");
  EXPECT_EQ(lire_ligne_fichier(dossier_->chemin() + "absent.txt", 1), "");
}

TEST_F(Fichiers, ParameterLineRewritesSixtyLines) {
  InteractionScriptee port;
  const std::string chemin = dossier_->chemin() + "p.prm";
  ASSERT_TRUE(ecrire_ligne_parametre("1", chemin, 6, port));
  std::vector<std::string> attendu(60);
  attendu[5] = "1";
  EXPECT_EQ(DossierTemporaire::lire(chemin), crlf(attendu));
  ASSERT_TRUE(ecrire_ligne_parametre("c:\\x.dsc", chemin, 1, port));
  attendu[0] = "c:\\x.dsc";
  EXPECT_EQ(DossierTemporaire::lire(chemin), crlf(attendu));
  EXPECT_TRUE(port.echanges.empty());
}

TEST_F(Fichiers, ParameterLineAboveSixtyIsRefused) {
  InteractionScriptee port;
  const std::string chemin = dossier_->ecrire("p.prm", "a\r\n");
  EXPECT_FALSE(ecrire_ligne_parametre("x", chemin, 61, port));
  EXPECT_EQ(DossierTemporaire::lire(chemin), "a\r\n");
  ASSERT_EQ(port.echanges.size(), 1u);
  EXPECT_EQ(port.echanges[0].texte, " max_parametre = 60\n augmenter ce nombre dans le source...");
  EXPECT_EQ(port.echanges[0].boutons, Boutons::ok);
}

TEST_F(Fichiers, OneLineFileAndTextAreas) {
  const std::string chemin = dossier_->ecrire("u.txt", "a\r\nb\r\nc\r\n");
  ASSERT_TRUE(ecrire_fichier_une_ligne("seule", chemin));
  EXPECT_EQ(DossierTemporaire::lire(chemin), "seule\r\n");
  const std::string zone = dossier_->chemin() + "zone.txt";
  ASSERT_TRUE(enregistrer_lignes({"1- /a/", "2- /b/"}, zone));
  EXPECT_EQ(charger_lignes(zone), (std::vector<std::string>{"1- /a/", "2- /b/"}));
  EXPECT_TRUE(charger_lignes(dossier_->chemin() + "absent").empty());
}

TEST(ListerFichiers, MaskExtension) {
  EXPECT_EQ(extension_du_masque("csv"), ".CSV");
  EXPECT_EQ(extension_du_masque("*.csv"), ".CSV");
  EXPECT_EQ(extension_du_masque(".CSV"), ".CSV");
  EXPECT_EQ(extension_du_masque("*.csV"), ".CSV");
  EXPECT_EQ(extension_du_masque(".*"), ".*");
  EXPECT_EQ(extension_du_masque("*.*"), ".*");
}

TEST_F(Fichiers, ListsMatchingFilesSkippingTemporaryNames) {
  dossier_->ecrire("d/b.csv", "12345");
  dossier_->ecrire("d/a.CSV", "1");
  dossier_->ecrire("d/~a.csv", "1");
  dossier_->ecrire("d/c.txt", "1");
  dossier_->ecrire("d/sous/e.csv", "12");
  dossier_->ecrire("d/.cache/f.csv", "12");
  std::string premier;
  std::vector<FichierTrouve> liste;
  const std::string d = dossier_->chemin() + "d";
  EXPECT_EQ(lister_fichiers(d, "csv", false, premier, liste), 2);
  EXPECT_EQ(premier, "a.CSV");
  ASSERT_EQ(liste.size(), 2u);
  EXPECT_EQ(liste[0].nom, "a.CSV");
  EXPECT_EQ(liste[1].nom, "b.csv");
  EXPECT_EQ(liste[1].taille, 5u);
  EXPECT_EQ(liste[1].sous_repertoire, "");

  // Recursion enters sub-directories but not hidden ones.
  EXPECT_EQ(lister_fichiers(d, "*.csv", true, premier, liste), 3);
  ASSERT_EQ(liste.size(), 3u);
  EXPECT_EQ(liste[2].sous_repertoire, "sous/");
  EXPECT_EQ(liste[2].nom, "e.csv");

  EXPECT_EQ(lister_fichiers(d, ".*", false, premier, liste), 3);  // a.CSV b.csv c.txt
  EXPECT_EQ(lister_fichiers(dossier_->chemin() + "absent", "csv", true, premier, liste), 0);
  EXPECT_TRUE(liste.empty());
  EXPECT_EQ(premier, "");
}

// Sub-directory, name and size of each file found.
std::vector<std::string> trouves(const std::vector<FichierTrouve>& liste) {
  std::vector<std::string> r;
  for (const auto& f : liste)
    r.push_back(f.sous_repertoire + f.nom + " " + std::to_string(f.taille));
  return r;
}

TEST_F(Fichiers, SearchListsRegularFilesAndLinksToThem) {
  const std::string d = dossier_->sous_dossier("d");
  dossier_->ecrire("d/a.csv", "123");
  ASSERT_EQ(::mkfifo((d + "attente.csv").c_str(), 0600), 0);  // opening it would wait for ever
  std::filesystem::create_symlink(d + "a.csv", d + "lien.csv");
  std::filesystem::create_symlink(d + "absent.csv", d + "casse.csv");
  std::string premier;
  std::vector<FichierTrouve> liste;
  EXPECT_EQ(lister_fichiers(d, "csv", false, premier, liste), 2);
  EXPECT_EQ(trouves(liste), (std::vector<std::string>{"a.csv 3", "lien.csv 3"}));
}

TEST_F(Fichiers, SearchDoesNotFollowLinksToDirectories) {
  const std::string d = dossier_->sous_dossier("d");
  dossier_->ecrire("d/a.csv", "1");
  dossier_->ecrire("d/sous/b.csv", "12");
  dossier_->ecrire("ailleurs/c.csv", "1");
  // Two ways back up make a search that follows links fork at every level.
  std::filesystem::create_directory_symlink("..", d + "sous/haut");
  std::filesystem::create_directory_symlink(".", d + "sous/ici");
  std::filesystem::create_directory_symlink(dossier_->chemin() + "ailleurs", d + "lien");
  std::string premier;
  std::vector<FichierTrouve> liste;
  EXPECT_EQ(lister_fichiers(d, "*.csv", true, premier, liste), 2);
  EXPECT_EQ(trouves(liste), (std::vector<std::string>{"a.csv 1", "sous/b.csv 2"}));
}

}  // namespace
}  // namespace tamso
