#include <gtest/gtest.h>

#include "app/data_loading.h"
#include "input/loader.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::DossierTemporaire;
using test::InteractionScriptee;

std::vector<std::string> toutes(const std::string& chemin, NettoyageLignes n, std::size_t bloc) {
  LecteurLignes l(chemin, n, bloc);
  std::vector<std::string> r;
  std::string_view v;
  while (l.suivante(v)) r.emplace_back(v);
  return r;
}

class Chargeur : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
    d().separateur_colonne = SeparateurColonne::point_virgule;
    d().num_ligne_donnee = "2";
  }
};

TEST_F(Chargeur, LineEndsAcrossBlockBoundaries) {
  const std::string chemin = dossier_->ecrire("f.txt", "ab\r\ncd\ref\n\ngh\r\r\nij");
  const std::vector<std::string> attendu = {"ab", "cd", "ef", "", "gh", "", "ij"};
  // Every block size puts the CR LF pairs astride a boundary somewhere.
  for (std::size_t bloc : {1u, 2u, 3u, 4u, 5u, 7u, 64u})
    EXPECT_EQ(toutes(chemin, NettoyageLignes{}, bloc), attendu) << "bloc " << bloc;
}

TEST_F(Chargeur, LongLinesGrowTheBlock) {
  const std::string longue(100000, 'x');
  const std::string chemin = dossier_->ecrire("l.txt", "a\n" + longue + "\r\nb");
  EXPECT_EQ(toutes(chemin, NettoyageLignes{}, 16), (std::vector<std::string>{"a", longue, "b"}));
}

TEST_F(Chargeur, CleaningOfNulAndTabulations) {
  const std::string chemin = dossier_->ecrire("n.txt", std::string("a\tb\0c\n", 6));
  EXPECT_EQ(toutes(chemin, NettoyageLignes{'\x01', true}, 1024), std::vector<std::string>{"a;b\x01"
                                                                                          "c"});
  EXPECT_EQ(toutes(chemin, NettoyageLignes{'_', false}, 1024), std::vector<std::string>{"a\tb_c"});
}

TEST_F(Chargeur, LoadedFileKeepsFirstLinesAndFindsOthers) {
  std::string contenu;
  for (int i = 0; i < 1000; ++i) contenu += "ligne " + std::to_string(i) + "\r\n";
  contenu += "FIN\r\n   \r\n";
  const FichierCharge f =
      lire_fichier_charge(dossier_->ecrire("g.txt", contenu), NettoyageLignes{});
  EXPECT_EQ(f.nb_lignes, 1002);
  EXPECT_EQ(f.debut.size(), FichierCharge::kLignesGardees);
  EXPECT_EQ(f.ligne(999), "ligne 999");  // read again from the file
  EXPECT_EQ(f.ligne(2000), "");
  EXPECT_EQ(f.derniere_non_vide, 1000);  // a line of blanks is blank
  EXPECT_EQ(f.premiere_ligne_contenant("ligne 5"), 5);
  EXPECT_EQ(f.derniere_ligne_contenant("ligne 5"), 599);
  EXPECT_EQ(f.premiere_ligne_contenant("absent"), -1);
  EXPECT_EQ(f.taille, contenu.size());
}

// A file loaded again unchanged is the same load; a file that changed, or a
// load under other settings, is read again.
TEST_F(Chargeur, SecondLoadReadsAgainOnlyWhatChanged) {
  const std::string chemin = dossier_->ecrire("r.csv", "t\r\n1;2\r\n3;4\r\n");
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.nb_lignes, 3);
  dossier_->ecrire("r.csv", "t\r\n1;2\r\n3;4\r\n5;6\r\n");
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.nb_lignes, 4);
  EXPECT_EQ(s().fichier_charge.ligne(3), "5;6");
  // Tabulations read as ";" under the tab setting: the same file, loaded anew.
  dossier_->ecrire("r.csv", "t\r\n1\t22\r\n3\t4\r\n5\t6\r\n");
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.ligne(1), "1\t22");
  d().separateur_colonne = SeparateurColonne::tabulation;
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.ligne(1), "1;22");
}

TEST_F(Chargeur, TabFileLoadsWithSemicolonsAndByteOne) {
  d().separateur_colonne = SeparateurColonne::tabulation;
  ASSERT_TRUE(charger_fichier_donnees(s(), TAMSO_DONNEES_TEST "listage/tabulations_nul.txt"));
  const FichierCharge& f = s().fichier_charge;
  ASSERT_EQ(f.nb_lignes, 4);
  EXPECT_EQ(f.ligne(0), "Date;Temp;Niveau");
  EXPECT_EQ(f.ligne(1),
            "2021-01-01 10:00:00;1.5;2\x01"
            "3");
  // The preview shows tabulations again.
  EXPECT_EQ(s().apercu[0], "Date\tTemp\tNiveau");
  EXPECT_EQ(s().apercu.size(), 4u + 3u);
  EXPECT_EQ(s().apercu[4], "=================================================");
  EXPECT_EQ(s().apercu[5], "cet affichage n'est qu'une partie du fichier...");
  EXPECT_EQ(s().apercu[6], "    double click pour affichage complet");
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(Chargeur, ShortFileOrUnreadableCharactersTurnNulIntoUnderscore) {
  const std::string chemin =
      dossier_->ecrire("c.csv", std::string("t\r\n1\0;2\r\n3;4\r\n5;6\r\n", 19));
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));  // 4 lines: enough for data on line 2
  EXPECT_EQ(s().fichier_charge.ligne(1), "1\x01;2");
  d().car_null = true;
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.ligne(1), "1_;2");
  d().car_null = false;
  d().num_ligne_donnee = "3";  // 5 lines wanted, 4 there
  ASSERT_TRUE(charger_fichier_donnees(s(), chemin));
  EXPECT_EQ(s().fichier_charge.ligne(1), "1_;2");
}

TEST_F(Chargeur, MissingAndEmptyFiles) {
  const std::string absent = dossier_->chemin() + "absent.csv";
  EXPECT_TRUE(charger_fichier_donnees(s(), absent));
  EXPECT_EQ(s().fichier_charge.nb_lignes, 0);
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, "fichier inexistant\n" + absent);
  const std::string vide = dossier_->ecrire("vide.csv", "");
  EXPECT_TRUE(charger_fichier_donnees(s(), vide));
  EXPECT_EQ(s().journal.derniere(), "fichier VIDE => " + vide);
}

TEST_F(Chargeur, ClipboardCaptureMissingOrTooShort) {
  s().source = SourceDonnees::presse_papier;
  d().masque = "ppp";
  const std::string capture = programme_ + kFichierPressePapier;
  EXPECT_FALSE(charger_fichier_donnees(s(), capture));
  EXPECT_EQ(port_.dernier_texte(), capture + "\n\nfichier introuvable ");
  dossier_->ecrire("programme/" + std::string(kFichierPressePapier), "a;b\r\n1;2\r\n");
  EXPECT_FALSE(charger_fichier_donnees(s(), capture));
  EXPECT_EQ(port_.echanges.back().boutons, Boutons::annuler);
  EXPECT_EQ(port_.dernier_texte(),
            " le presse papier ne contient que 10 octets\n\n 3 premières lignes :\n"
            "==============================\na;b\n1;2\n==============================\n\n"
            " => Annuler pour   Recopier les données du fichier Excel");
}

TEST_F(Chargeur, CopyReplacingAByte) {
  InteractionScriptee port;
  JournalSuivi journal;
  const std::string src = dossier_->ecrire("s.txt", std::string("a\0b\0", 4));
  const std::string dst = dossier_->chemin() + "d.txt";
  copier_en_remplacant(src, '\0', dst, '_', port, journal);
  EXPECT_EQ(DossierTemporaire::lire(dst), "a_b_");
  copier_en_remplacant(dossier_->chemin() + "absent", '\0', dst, '_', port, journal);
  EXPECT_EQ(DossierTemporaire::lire(dst), "");
  EXPECT_EQ(port.dernier_texte(), "fichier inexistant\n" + dossier_->chemin() + "absent");
  const std::string vide = dossier_->ecrire("v.txt", "");
  copier_en_remplacant(vide, '\0', dst, '_', port, journal);
  EXPECT_EQ(journal.derniere(), "fichier VIDE => " + vide);
}

}  // namespace
}  // namespace tamso
