// The listing's ways out of a pre-read file: the corrections that end it, the
// one that lists again, and what a second pass starts from. Then the
// inspection's proposals that follow its scan of a sample file.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/inspection.h"
#include "app/listing.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "support/scripted_interaction.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

// A data file without titles: n lines "2021-03-12 10:00:00;1,5", one minute
// apart, each 25 bytes with its CR LF.
std::string lignes_minute(int n) {
  std::string texte;
  for (int k = 0; k < n; ++k) {
    const int minutes = 10 * 60 + k;
    char buf[64];
    std::snprintf(buf, sizeof buf, "2021-03-%02d %02d:%02d:00;1,5\r\n", 12 + minutes / 1440,
                  (minutes / 60) % 24, minutes % 60);
    texte += buf;
  }
  return texte;
}

class EtapesListage : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    decrire_csv_point_virgule();
    d().f_station = "1";
    // Titles on line 1, data from line 2: the defaults.
  }
  void ecrire(const std::string& nom, const std::string& texte) {
    std::ofstream(donnees_ + nom, std::ios::binary) << texte;
  }
  std::string cell(int r, const char* titre) { return cellule(r, titre); }
  // The tracking-log lines that mark a pass ("t0") and a listed row.
  std::vector<std::string> passes_et_lignes() const {
    std::vector<std::string> r;
    for (const auto& l : session_->journal.lignes()) {
      if (l.rfind("t0 = ", 0) == 0)
        r.push_back("t0");
      else if (l.find(" -> ") != std::string::npos)
        r.push_back(l);
    }
    return r;
  }
};

const char* const kQuestionChiffres =
    "a- la ligne n°1  ne semble pas correspondre à une suite d'intitulés de colonnes...\n\n"
    "2021-03-12 10:00:00;1,5\n\n"
    " proposition => choisir l'option sans intitulé de colonnes\n\n"
    "     corriger et relancer  (Oui)\n\n"
    "     ou annuler            (Annuler)";

TEST_F(EtapesListage, AcceptedTitleCorrectionListsEverythingAgain) {
  ecrire("a.csv", lignes_minute(1000));
  ecrire("b.csv", lignes_minute(1000));
  s().description.prelire_tous = true;
  // The digits of line 1 first raise the letters-and-digits question (kept),
  // then the share of digits (accepted): the listing runs again without titles.
  port_.reponses = {Reponse::annuler, Reponse::oui};
  ASSERT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  ASSERT_EQ(port_.echanges.size(), 2u) << port_.dernier_texte();
  EXPECT_EQ(port_.echanges[0].texte.rfind("la ligne n°1  ne semble pas correspondre", 0), 0u);
  EXPECT_EQ(port_.echanges[1].texte, kQuestionChiffres);
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::sans);
  EXPECT_EQ(s().description.num_ligne_donnee, "1");
  EXPECT_TRUE(s().description_modifiee);
  // The first pass stopped on row 1; the second listed both rows.
  EXPECT_EQ(passes_et_lignes(),
            (std::vector<std::string>{"t0", "1   -> a.csv", "t0", "1   -> a.csv", "2   -> b.csv"}));
  EXPECT_EQ(s().table.nb_lignes(), 3);
  for (int r : {1, 2}) {
    EXPECT_EQ(cell(r, "date dep"), "12/03/2021 10:00:00") << r;
    EXPECT_EQ(cell(r, "date fin"), "13/03/2021 02:39:00") << r;  // 999 minutes later
    EXPECT_EQ(cell(r, "n.données"), "1 000") << r;
    EXPECT_EQ(cell(r, "nb Colonnes"), " 2") << r;
    EXPECT_EQ(cell(r, "n°Lig intitulés"), " -") << r;
    EXPECT_EQ(cell(r, "taille (Mo)"), " 0,02") << r;  // 25 000 bytes
  }
  EXPECT_EQ(s().intitule_origine, "A1\tB2");
  // Each pass counts its own sizes: 2 x 25 000 bytes, not the first pass's row again.
  EXPECT_EQ(s().etiquette("Label8"), "taille totale 0,05 Mo");
  EXPECT_EQ(s().etiquette("Label_date_min"), "12/03/2021 10:00:00");
  EXPECT_EQ(s().etiquette("Label_date_max"), "13/03/2021 02:39:00");
}

TEST_F(EtapesListage, DeclinedTitleCorrectionEndsTheListing) {
  ecrire("a.csv", lignes_minute(3));
  port_.reponses = {Reponse::annuler, Reponse::annuler};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 2u);
  EXPECT_EQ(port_.echanges[1].texte, kQuestionChiffres);
  EXPECT_EQ(passes_et_lignes(), (std::vector<std::string>{"t0", "1   -> a.csv"}));
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::avec);
  EXPECT_EQ(s().description.num_ligne_donnee, "2");
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(EtapesListage, StopDuringTheCorrectionEndsTheSecondPassAtOnce) {
  ecrire("a.csv", lignes_minute(3));
  port_.reponses = {Reponse::annuler, Reponse::oui};
  port_.pendant_question = [this](const std::string& texte) {
    if (texte.rfind("a- la ligne", 0) == 0) port_.arret = true;
  };
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  EXPECT_EQ(port_.echanges.size(), 2u);
  // The second pass starts (its t0 is written) and stops before any row.
  EXPECT_EQ(passes_et_lignes(), (std::vector<std::string>{"t0", "1   -> a.csv", "t0"}));
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::sans);
}

TEST_F(EtapesListage, TitlesFoundOnTheFirstDataLineAreDeclared) {
  ecrire("a.csv", "Date;Temp\r\n2021-03-12 10:00:00;1,5\r\n");
  s().description.avec_sans_intitule = Intitules::sans;
  s().description.num_ligne_donnee = "1";
  port_.reponses = {Reponse::oui};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "la ligne n°1 semble correspondre à des intitulés de colonnes..\n\nDate;Temp\n\n"
            " proposition => choisir l'option avec intitulé de colonnes et son n° de ligne\n\n"
            "     corriger  (Oui)\n\n     continuer (Annuler)");
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::avec);
  EXPECT_EQ(s().description.num_ligne_intitule_col, "1");
  EXPECT_EQ(s().description.num_ligne_donnee, "2");  // it was the title line
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(passes_et_lignes(), (std::vector<std::string>{"t0", "1   -> a.csv"}));
}

TEST_F(EtapesListage, AlternativeTitlesOfAnotherCountEndTheListing) {
  ecrire("a.csv", "Date;Temp\r\n2021-03-12 10:00:00;1,5\r\n");
  s().description.int_col_alternatif = true;
  s().description.new_desc_colonne = "Date,Temp,Vent";
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            " le nombre de colonnes alternatives (3) est différent\n\n du nombre original (2)\n\n"
            " => vérifier la similitude ...\n\n   ou effacer les intitulés alternatifs\n\n"
            "   ou le séparateur (Point-virgule)");
}

// Quoted titles holding the separator are one title each: the columns are
// counted outside the quotes, the titles of the columns to extract are read
// whole, and alternative titles quoted alike count the same.
TEST_F(EtapesListage, QuotedTitlesHoldingTheSeparator) {
  ecrire("a.csv",
         "Date;\"KB 8,2 [mmol/l]\";\"Temp; C\"\r\n2021-03-12 10:00:00;\"1,5\";2\r\n"
         "2021-03-12 10:01:00;\"1,6\";3\r\n");
  Description& d = s().description;
  d.col_cochee = true;
  d.col_cochee_liste = "3,2";
  EXPECT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  EXPECT_TRUE(port_.echanges.empty()) << port_.dernier_texte();
  EXPECT_EQ(cell(1, "nb Colonnes"), " 3");
  EXPECT_EQ(s().etat_listage.nb_colonnes_valeurs, 2);
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "=> Temp; C | KB 8,2 [mmol/l]");
  d.int_col_alternatif = true;
  d.new_desc_colonne = "Date,\"KB, mmol/l\",Temp";
  EXPECT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  EXPECT_TRUE(port_.echanges.empty()) << port_.dernier_texte();
  EXPECT_EQ(titres_colonnes_a_extraire(s()), "=> Temp | KB, mmol/l");
}

class EtapesListageEspaces : public EtapesListage {
 protected:
  void SetUp() override {
    EtapesListage::SetUp();
    Description& d = s().description;
    d.separateur_colonne = SeparateurColonne::espace;
    d.datetime_nb_col = ColonnesDate::deux;
    d.num_col_date = "1";
    d.num_col_time = "2";
    d.format_date_mesure_seule = "aaaa-mm-jj";
    d.format_time_mesure_seul = "hh:mn:ss";
    // "Temp C" reads as one title "Temp_C": two titles over three data fields.
    ecrire("a.csv", "Date Temp C\r\n2021-03-12 10:00:00 1,5\r\n2021-03-12 10:15:00 2,5\r\n");
  }
};

const char* const kQuestionEspaces =
    "1- Valider et LISTER\n\nAvec le séparateur Espace\n"
    "le nombre de colonnes détectées entre intitulé et données est différent\n\n"
    "nb col (intitulé) = 2\nDate Temp_C\n"
    "nb col (données)  = 3\n2021-03-12 10:00:00 1,5\n\n"
    " la ligne d'intitulés corrigée suivante contient 2 colonnes\nDate,Temp_C\n\n"
    " Juste stopper le traitement ===> ( Ok )\n\n"
    " Stopper le traitement et utiliser la ligne corrigée alternative => (Oui)";

TEST_F(EtapesListageEspaces, OkGoesOnWithTheDataCount) {
  port_.reponses = {Reponse::ok};
  ASSERT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, kQuestionEspaces);
  EXPECT_EQ(cell(1, "nb Colonnes"), " 3");
  EXPECT_EQ(cell(1, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cell(1, "date fin"), "12/03/2021 10:15:00");
  EXPECT_FALSE(s().description.int_col_alternatif);
}

TEST_F(EtapesListageEspaces, YesThenYesTakesTheCorrectedTitles) {
  port_.reponses = {Reponse::oui, Reponse::oui};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 2u);
  EXPECT_EQ(port_.echanges[0].texte, kQuestionEspaces);
  EXPECT_EQ(port_.echanges[1].texte,
            "1- Valider et LISTER\n\n     écraser les intitulés originaux contenant 2 colonnes\n"
            "     avec la correction contenant 2 colonnes\n\n\nDate,Temp_C\n\n"
            "     ce qui serait en accord avec les 3 de colonnes de données  => (Oui)");
  EXPECT_TRUE(s().description.int_col_alternatif);
  EXPECT_EQ(s().description.new_desc_colonne, "Date,Temp_C");
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(EtapesListageEspaces, YesThenNoKeepsTheTitles) {
  port_.reponses = {Reponse::oui, Reponse::non};
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_EQ(port_.echanges.size(), 2u);
  EXPECT_FALSE(s().description.int_col_alternatif);
  EXPECT_EQ(s().description.new_desc_colonne, "");
  EXPECT_FALSE(s().description_modifiee);
}

class EtapesInspection : public EtapesListage {};

TEST_F(EtapesInspection, DataOnTheDeclaredTitleLineProposesNoTitles) {
  ecrire("a.csv", lignes_minute(3));
  // Use the settings; review the layout question by question; keep the
  // titles at the scan; take the option without titles.
  port_.reponses = {Reponse::oui, Reponse::non, Reponse::annuler, Reponse::oui, Reponse::annuler};
  inspecter_fichier_exemple(s(), donnees_ + "a.csv");
  ASSERT_EQ(port_.echanges.size(), 5u) << port_.dernier_texte();
  EXPECT_EQ(port_.echanges[2].texte,
            "la ligne n°1  ne semble pas correspondre à une suite d'intitulés de colonnes...\n\n"
            "2021-03-12 10:00:00;1,5\n\n"
            " proposition => choisir l'option sans intitulé de colonnes\n\n"
            "     corriger (Oui)\n\n     annuler  (Annuler)");
  EXPECT_EQ(port_.echanges[3].texte,
            "d'après le contenu de ce nouveau fichier de donnée,\n il semble qu'il n'y ait pas de "
            "ligne d'intitulé de colonnes comme prévu\n\n2021-03-12 10:00:00;1,5\n\n"
            " => option [sans intitulé] et [donnée en ligne 1]\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  // The date reads as described; the value columns are proposed last.
  EXPECT_EQ(port_.echanges[4].texte,
            "Colonnes de valeurs numériques détectées : 2\n séparateur décimal <,>\n"
            " sans donnée : NA\n\n proposition => [n'extraire que les colonnes 2]\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  EXPECT_EQ(s().description.avec_sans_intitule, Intitules::sans);
  EXPECT_EQ(s().description.num_ligne_donnee, "1");
  // The listing that ends the inspection reads the file from line 1.
  EXPECT_EQ(cell(1, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cell(1, "n.données"), "3");
}

TEST_F(EtapesInspection, TitlesBelowAnEmptyTitleLineAreProposed) {
  ecrire("a.csv", "\r\nDate;Temp\r\n2021-03-12 10:00:00;1,5\r\n2021-03-12 10:15:00;2,5\r\n");
  port_.reponses = {Reponse::oui, Reponse::non, Reponse::oui, Reponse::oui, Reponse::annuler};
  inspecter_fichier_exemple(s(), donnees_ + "a.csv");
  ASSERT_EQ(port_.echanges.size(), 5u) << port_.dernier_texte();
  EXPECT_EQ(port_.echanges[2].texte,
            " Les premières données sont détectées en ligne 3 et non en 2\n\n"
            "2021-03-12 10:00:00;1,5\n\n proposition => [donnée en ligne 3]\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  EXPECT_EQ(port_.echanges[3].texte,
            "1- Il se pourrait qu'il y ait des intitulés de colonnes en ligne 2 et non en ligne 1"
            "\n\nL2 <>\n\nL1 <Date;Temp\n\n2021-03-12 10:00:00;1,5\n\n"
            " proposition => [intitulés en ligne 2] / 1\n\n"
            "  corriger (Oui)\n\n  annuler  (Annuler)");
  EXPECT_EQ(s().description.num_ligne_donnee, "3");
  EXPECT_EQ(s().description.num_ligne_intitule_col, "2");
  EXPECT_EQ(cell(1, "n°Lig intitulés"), " 2");
  EXPECT_EQ(cell(1, "date dep"), "12/03/2021 10:00:00");
  EXPECT_EQ(cell(1, "date fin"), "12/03/2021 10:15:00");
}

}  // namespace
}  // namespace tamso
