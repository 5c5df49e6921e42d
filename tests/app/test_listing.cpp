#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/listing.h"
#include "app/session.h"
#include "support/scripted_interaction.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

class Listage : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
    d().f_station = "1";
  }
  void copier(const std::string& fixture, const std::string& nom) {
    copier_donnee("listage/" + fixture, nom);
  }
  std::string cell(int r, const char* titre) { return cellule(r, titre); }
};

TEST_F(Listage, TitledSemicolonFileRaisesNoQuestion) {
  copier("station_pv.csv", "Env10_2021_11_10_00.csv");
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_TRUE(port_.echanges.empty()) << port_.dernier_texte();
  EXPECT_EQ(s().table.nb_lignes(), 2);
  EXPECT_EQ(cell(1, "n"), "1");
  EXPECT_EQ(cell(1, "fichier"), "Env10_2021_11_10_00.csv");
  EXPECT_EQ(cell(1, "s/répertoire"), "");
  EXPECT_EQ(cell(1, "Station"), "Env10");   // first syllable of the name
  EXPECT_EQ(cell(1, "taille (Mo)"), " 0");  // 86 bytes
  EXPECT_EQ(cell(1, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cell(1, "date fin"), "12/03/2021 10:30:00");  // the final blank line is skipped
  EXPECT_EQ(cell(1, "n.données"), "3");
  EXPECT_EQ(cell(1, "n.extraites"), " ---");
  EXPECT_EQ(cell(1, "nb Colonnes"), " 2");
  EXPECT_EQ(cell(1, "n°Lig intitulés"), " -");
  EXPECT_EQ(s().intitule_origine, "Date;Temp");
  EXPECT_EQ(s().etat_listage.nb_colonnes_valeurs, 1);
  EXPECT_EQ(s().etiquette("Label_nb_fic"), "1 fichier");
  EXPECT_EQ(s().etiquette("Label_date_min"), "12/03/2021 10:00:00");
  EXPECT_EQ(s().etiquette("Label_date_max"), "12/03/2021 10:30:00");
}

TEST_F(Listage, OnlyTheFirstRowIsPreReadByDefault) {
  copier("station_pv.csv", "a.csv");
  copier("station_pv.csv", "b.csv");
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(cell(1, "date dep"), "12/03/2021 10:00:00");
  for (int c = 6; c <= 14; ++c) EXPECT_EQ(s().table.cellule(c, 2), " ---") << c;
  EXPECT_EQ(cell(2, "fichier"), "b.csv");
}

TEST_F(Listage, PreReadAllTakesOnlyTheMarkedRows) {
  for (const char* n : {"a.csv", "b.csv", "c.csv"}) copier("station_pv.csv", n);
  s().description.prelire_tous = true;
  s().fichiers_coches = {"b.csv", "c.csv"};
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(cell(1, "date dep"), " ---");
  EXPECT_EQ(cell(2, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cell(3, "date dep"), "12/03/2021 10:00:00");
  // The marks come back on their rows.
  EXPECT_FALSE(s().table.est_marquee(1));
  EXPECT_TRUE(s().table.est_marquee(2));
  EXPECT_TRUE(s().table.est_marquee(3));
}

TEST_F(Listage, NumbersOnTheTitleLineAskToDropTitles) {
  copier("titres_chiffres.csv", "a.csv");
  port_.reponses = {Reponse::oui};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "la ligne n°1  ne semble pas correspondre à une suite d'intitulés de colonnes..\n\n"
            " le nombre de chiffres (6) est supérieur au nombre de lettres (0)\n\n12;13;14\n\n"
            " proposition => choisir l'option sans intitulé de colonnes\n\n"
            "     corriger  (Oui)\n\n     continuer (Annuler)");
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::sans);
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(Listage, WrongSeparatorGivesTheOneColumnDiagnosis) {
  copier("station_pv.csv", "a.csv");
  s().description.separateur_colonne = SeparateurColonne::virgule;  // comma
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_FALSE(port_.echanges.empty());
  EXPECT_EQ(
      port_.echanges[0].texte,
      "??? avec le séparateur de colonne => Virgule une seule colonne de détectée !!!        "
      "\n\n  vérifier le séparateur de colonne en Entrée\n\n"
      "  Aide : décompte de la ligne <intitulés d'origine>\n"
      "     0 tabulation(s)   \n     0 espace(s)\n     1 point-virgule(s)\n     0 virgule(s)\n\n"
      "  vérifier la liste des colonnes à extraire ci-dessous\n\n<Date;Temp>");
  ASSERT_EQ(port_.editeur.size(), 1u);
  EXPECT_EQ(port_.editeur[0].second, "a.csv");
  EXPECT_EQ(s().journal.derniere(), "<Date;Temp>");
}

TEST_F(Listage, NoMatchingFile) {
  copier("station_pv.csv", "a.txt");
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  EXPECT_EQ(port_.dernier_texte(),
            "aucun fichier ne correspond au filtre <*.csv>\n\n dans " + donnees_);
  EXPECT_EQ(s().etiquette("Label_nb_fic"), "0 fichier");
  // A data folder that does not exist is said to be missing.
  d().dossier_choisi = donnees_ + "absent/";
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  EXPECT_EQ(port_.dernier_texte(),
            " répertoire des données introuvable :\n\n  " + donnees_ + "absent/");
}

TEST_F(Listage, SizeInMegabytesWithTheComputersSeparator) {
  copier("station_pv.csv", "a.csv");
  const std::string gros = donnees_ + "b.csv";
  { std::ofstream(gros).put('x'); }
  std::filesystem::resize_file(gros, 12582912);
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(cell(2, "taille (Mo)"), " 12,29");
  EXPECT_EQ(s().etiquette("Label8"), "taille totale 12,29 Mo");
}

TEST_F(Listage, StationFromTheFileContent) {
  copier("station_contenu.txt", "a.csv");
  s().description.f_station = "Ligne 2, Colonne 2";
  s().description.num_ligne_intitule_col = "3";
  s().description.num_ligne_donnee = "4";
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(cell(1, "Station"), "Rivière");
  EXPECT_EQ(cell(1, "n°Lig intitulés"), " 3");
  EXPECT_EQ(cell(1, "date dep"), "01/06/2021 00:00:00");
  // A line beyond the file leaves the default station.
  s().description.f_station = "ligne 40, colonne 1";
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(cell(1, "Station"), "a");
}

TEST_F(Listage, BadFirstDateAsksToOpenTheFile) {
  copier("station_pv.csv", "a.csv");
  s().description.num_col_datetime = "2";
  port_.reponses = {Reponse::oui};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "-- Date de la 1ère mesure <>\n\naaaa-mm-jj hh:mn:ss\n1,5 en colonne 2\n\n"
            "Problème de date : vérifier les paramètres de la colonne Date/Heure et son format "
            "\n\n1ères données en ligne 2 ? : 2021-03-12 10:00:00;1,5\n\n"
            " Ouvrir le fichier et annuler le traitement ?");
  EXPECT_EQ(port_.editeur.size(), 1u);
}

// A line after the data (a trailer) is named as the last data line it is.
TEST_F(Listage, TrailerIsAskedAboutAsTheLastLine) {
  std::ofstream(donnees_ + "a.csv", std::ios::binary)
      << "Date;Temp\r\n2021-03-12 10:00:00;1,5\r\n2021-03-12 10:15:00;2,5\r\nEND OF DATA\r\n";
  port_.reponses = {Reponse::non};
  EXPECT_TRUE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "-- Date de la dernière mesure <>\n\naaaa-mm-jj hh:mn:ss\nEND OF DATA en colonne 1\n\n"
            "Problème de date : vérifier les paramètres de la colonne Date/Heure et son format "
            "\n\ndernières données en ligne 4 ? : END OF DATA\n\n"
            " Ouvrir le fichier et annuler le traitement ?");
}

// Whether a title line is taken for numbers: separators and blanks count on
// neither side. Titles aligned with blanks, or short titles between commas,
// stay titles; a line of numbers is still taken for data.
TEST_F(Listage, TitleLinesOfFewLettersStayTitles) {
  struct Cas {
    SeparateurColonne sep;
    const char* titres;
    const char* donnees;
    bool question;
  };
  const Cas kCas[] = {
      {SeparateurColonne::virgule, "# STN,YYYYMMDD,   HH,   DD,    T,    Q,    U,    N,    M,    R",
       "  260,20000101,    1,  230,   12,    0,   87,    8,    0,    0", false},
      {SeparateurColonne::espace, "Date        Time       Level_m   Temp_C",
       "20000101 10:00:00 1.5 12.5", false},
      {SeparateurColonne::virgule, "D,A,B,C,E,F", "20000101,1,2,3,4,5", false},
      {SeparateurColonne::virgule, "  12,  13, 14.5,  20000101", "20000101,1,2,3", true},
  };
  s().description.format_datetime_mesure = "aaaammjj";
  for (const Cas& c : kCas) {
    SCOPED_TRACE(c.titres);
    s().description.separateur_colonne = c.sep;
    s().description.num_col_datetime = c.sep == SeparateurColonne::espace ? "1" : "2";
    std::ofstream(donnees_ + "a.csv", std::ios::binary) << c.titres << "\r\n"
                                                        << c.donnees << "\r\n";
    port_.echanges.clear();
    port_.reponses = {Reponse::annuler};
    lister_fichiers_donnees(s(), true);
    bool posee = false;
    for (const auto& e : port_.echanges)
      posee = posee || e.texte.rfind("a- la ligne n°1  ne semble pas", 0) == 0;
    EXPECT_EQ(posee, c.question);
  }
}

TEST(SeparateurDesLignes, ChoiceToCharacter) {
  EXPECT_EQ(separateur_des_lignes(0), ';');
  EXPECT_EQ(separateur_des_lignes(1), ' ');
  EXPECT_EQ(separateur_des_lignes(2), ';');
  EXPECT_EQ(separateur_des_lignes(3), ',');
  EXPECT_EQ(legende_separateur(2), "Point-virgule");
}

}  // namespace
}  // namespace tamso
