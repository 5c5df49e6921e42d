#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/tracking_log.h"
#include "input/dates.h"
#include "input/file_name_dates.h"
#include "input/proposed_formats.h"

namespace tamso {
namespace {

constexpr double kMaintenant = 50000.25;
constexpr double kAvant = -5.0;

class DateNomFichier : public ::testing::Test {
 protected:
  // The date read from a name; the value starts at kAvant.
  std::string lire(std::string_view nom, std::string_view regle) {
    valeur = kAvant;
    std::string texte = "ancien";
    date_nom_fichier(nom, regle, valeur, texte, journal, [] { return kMaintenant; });
    return texte;
  }
  double valeur = 0.0;
  JournalSuivi journal;
};

TEST(NomFichierSimplifie, PreparePourLesSyllabes) {
  EXPECT_EQ(nom_fichier_simplifie("SCAN 07 01 21_09 01 21.txt"), "SCAN_07_01_21_09_01_21");
  // Without "_", "-" separates syllables too.
  EXPECT_EQ(nom_fichier_simplifie("HIDS2136-20170418-212124Z-Data.dat"),
            "HIDS2136_20170418_212124Z_Data");
  EXPECT_EQ(nom_fichier_simplifie("niveau-m_240502121714_T7418.CSV1"),
            "niveau-m_240502121714_T7418");
  EXPECT_EQ(nom_fichier_simplifie("a.b.c"), "a.b");
  // A point in a folder name is no extension.
  EXPECT_EQ(nom_fichier_simplifie("sous.rep\\station 1;a,b"), "sous.rep\\station_1_a_b");
  EXPECT_EQ(nom_fichier_simplifie("sous.rep/station"), "sous.rep/station");
  EXPECT_EQ(nom_fichier_simplifie("sans_extension"), "sans_extension");
  EXPECT_EQ(nom_fichier_simplifie(""), "");
}

TEST(ExtrairePaquets, SyllabesMasquesEtLitteraux) {
  // The examples of the built-in help.
  EXPECT_EQ(extraire_paquets("Env10_2021_11_10_00.csv", "1,3"), "Env1011");
  EXPECT_EQ(
      extraire_paquets("HIDS2136-20170418-212124Z-Data.dat", "2(xxxx),/,2(0000xx),/,2(000000xx)"),
      "2017/04/18");
  EXPECT_EQ(extraire_paquets("BFS_45_202101.CSV", "3(00xx)"), "21");
  EXPECT_EQ(extraire_paquets("fluofdv201015.mv", "1(0000xxx)"), "fdv");

  const std::string nom = "Env10_2021_11_10_00.csv";
  EXPECT_EQ(extraire_paquets(nom, "2"), "2021");
  EXPECT_EQ(extraire_paquets(nom, "\"1,3\""), "Env1011");
  EXPECT_EQ(extraire_paquets(nom, "1,\"-\",3"), "Env10-11");
  EXPECT_EQ(extraire_paquets(nom, "1,E,3"), "Env10 11");
  EXPECT_EQ(extraire_paquets(nom, "1,e,3"), "Env10 11");
  EXPECT_EQ(extraire_paquets(nom, "1,\" \",3"), "Env10 11");
  EXPECT_EQ(extraire_paquets(nom, "6,_,1"), "csv_Env10");
  EXPECT_EQ(extraire_paquets("  " + nom + " ", "1,3"), "Env1011");
  // A syllable shorter than its mask, or missing, adds nothing.
  EXPECT_EQ(extraire_paquets(nom, "1(xxxxxx),4"), "10");
  EXPECT_EQ(extraire_paquets(nom, "9,4,0"), "10");
  // A rule without comma that is neither a number nor a mask is a fixed name.
  EXPECT_EQ(extraire_paquets(nom, "Station_A"), "Station_A");
  EXPECT_EQ(extraire_paquets(nom, "\"Lac Noir\""), "Lac Noir");
  EXPECT_EQ(extraire_paquets(nom, ""), "");
  EXPECT_EQ(extraire_paquets("  ", "1,3"), "");
  // Separators of a name: space, "-", ",", ";" and ".".
  EXPECT_EQ(extraire_paquets("a b-c,d;e.f", "6,5,4,3,2,1"), "fedcba");
}

TEST(ExtrairePaquets, EtiquetteApresLeNumero) {
  EXPECT_EQ(extraire_paquets("Site_AB12_baro.csv", "2,Baro?"), "AB12-Baro");
  EXPECT_EQ(extraire_paquets("Site_AB12_temp.csv", "2,Baro?"), "AB12");
  EXPECT_EQ(extraire_paquets("Site_AB12_BARO.csv", "x,Baro?"), "Site-Baro");
  EXPECT_EQ(extraire_paquets("Site_AB12_baro.csv", "2,?"), "AB12");
}

TEST_F(DateNomFichier, ExemplesDeLAide) {
  EXPECT_EQ(lire("BFE-450046 20211214121633.CSV", "3(xxxx),/,3(0000xx),/,3(000000xx)"),
            "2021/12/14");
  EXPECT_EQ(valeur, 44544.0);
  EXPECT_EQ(lire("SCAN 07 01 21_09 01 21.txt", "(20)4,3,2"), "2021/01/07");
  EXPECT_EQ(valeur, 44203.0);
  EXPECT_EQ(lire("tbsud_g fichier TXT 2023-03-16 au 2024-02-01.TXT1", "aaaa_mm_jj,5"),
            "2023/03/16");
  EXPECT_EQ(valeur, 45001.0);
  EXPECT_EQ(lire("fluofdv201109.mv", "20aammjj"), "2020/11/09");
  EXPECT_EQ(valeur, 44144.0);
  EXPECT_EQ(lire("niveau-m_240502121714_T7418.CSV1", "20aammjj,2"), "2024/05/02");
  EXPECT_EQ(valeur, 45414.0);
  EXPECT_EQ(lire("HIDS2136-20170418-212124Z-Data.dat", "2(xxxx),/,2(0000xx),/,2(000000xx)"),
            "2017/04/18");
  EXPECT_TRUE(journal.vide());
}

TEST_F(DateNomFichier, FormesDesRegles) {
  EXPECT_EQ(lire("st_x_20211110.csv", "aaaammjj,3"), "2021/11/10");
  EXPECT_EQ(valeur, 44510.0);
  // The syllable number may come first.
  EXPECT_EQ(lire("st_x_20211110.csv", "3,aaaammjj"), "2021/11/10");
  EXPECT_EQ(lire("st_2021_1_5.csv", "2,3,4"), "2021/01/05");
  EXPECT_EQ(lire("st_99_12_31.csv", "(19)2,3,4"), "1999/12/31");
  EXPECT_EQ(lire("log211110123000.csv", "20aammjjhhmmss"), "2021/11/10");
  EXPECT_EQ(lire("st_10-11-2021.csv", "jj_mm_aaaa,2"), "2021/11/10");
  // A plain pattern: the digits of the name are read year first.
  EXPECT_EQ(lire("releve 20211110.txt", "aaaammjj"), "2021/11/10");
  // A single "-" before the first "_" ends the name.
  EXPECT_EQ(lire("211110-12_x.csv", "20aammjj"), "2021/11/10");
  // Masks giving a day-first date or eight digits.
  EXPECT_EQ(lire("BFE-450046 20211214121633.CSV", "3(000000xx),/,3(0000xx),/,3(xxxx)"),
            "2021/12/14");
  EXPECT_EQ(lire("BFE-450046 20211214121633.CSV", "3(xxxxxxxx)"), "2021/12/14");
  EXPECT_EQ(valeur, 44544.0);
  // 31 February passes the checks but has the value 1.
  EXPECT_EQ(lire("st_x_20210231.csv", "aaaammjj,3"), "2021/02/31");
  EXPECT_EQ(valeur, 1.0);
  EXPECT_TRUE(journal.vide());
}

TEST_F(DateNomFichier, SansDateLaValeurEstMaintenant) {
  EXPECT_EQ(lire("fluofdv.mv", "20aammjj"), "");
  EXPECT_EQ(valeur, kMaintenant);
  // No six digits in a row.
  EXPECT_EQ(lire("f_2011_09_x.csv", "20aammjj"), "");
  EXPECT_EQ(valeur, kMaintenant);
  EXPECT_EQ(lire("st_x_20211110.csv", ""), "");
  EXPECT_EQ(valeur, kMaintenant);
  // Syllable numbers that are not numbers.
  EXPECT_EQ(lire("x_2021_11_10.csv", "a,3,4"), "");
  EXPECT_EQ(valeur, kMaintenant);
  EXPECT_EQ(lire("st_20211110.csv", "aaaammjj,x,y"), "");
  EXPECT_EQ(valeur, kMaintenant);
  EXPECT_TRUE(journal.vide());
  // The real clock when none is given.
  double v = kAvant;
  std::string texte;
  const double avant = maintenant();
  date_nom_fichier("fluofdv.mv", "20aammjj", v, texte, journal);
  EXPECT_GE(v, avant);
  EXPECT_LT(v - avant, 1.0 / 24);
}

TEST_F(DateNomFichier, ErreursSignaleesValeurInchangee) {
  EXPECT_EQ(lire("SCAN 32 01 21.txt", "(20)4,3,2"), "");
  EXPECT_EQ(valeur, kAvant);
  ASSERT_EQ(journal.taille(), 1u);
  EXPECT_EQ(journal.derniere(), " - erreur date : 2021/01/32  <SCAN 32 01 21.txt>");
  EXPECT_EQ(lire("st_ab_11_10_123456.csv", "2,3,4"), "");
  EXPECT_EQ(journal.derniere(), " - erreur date : ab/11/10  <st_ab_11_10_123456.csv>");

  EXPECT_EQ(lire("st_x_20211399.csv", "aaaammjj,3"), "");
  EXPECT_EQ(valeur, kAvant);
  ASSERT_EQ(journal.taille(), 4u);
  EXPECT_EQ(journal.lignes()[2], "");
  EXPECT_EQ(journal.derniere(),
            "erreur : aaaammjj,3  ne fournit pas de date avec <st_x_20211399.csv>");
  EXPECT_EQ(lire("st_x_18991231.csv", "aaaammjj,3"), "");
  EXPECT_EQ(lire("st_x_21010101.csv", "aaaammjj,3"), "");
  EXPECT_EQ(lire("st_x_2021110a.csv", "aaaammjj,3"), "");
  EXPECT_EQ(journal.taille(), 10u);
  EXPECT_EQ(valeur, kAvant);
}

struct DateSimple {
  int an, mois, jour, heure, minute, seconde;
};

std::string ecrire(const char* modele, int a, int b, int c, int d = 0, int e = 0, int f = 0) {
  char tampon[96];
  std::snprintf(tampon, sizeof tampon, modele, a, b, c, d, e, f);
  return tampon;
}

TEST(DateNomFichierAleatoire, ChaqueRegleProposeeRelitLaDateEcrite) {
  struct Cas {
    int an_min, an_max;
    std::function<std::string(const DateSimple&)> nom;
  };
  const std::vector<std::pair<std::string, Cas>> cas = {
      {"aaaammjj,3",
       {1900, 2100,
        [](const DateSimple& d) { return ecrire("st_x_%04d%02d%02d.csv", d.an, d.mois, d.jour); }}},
      {"aaaa_mm_jj,3",
       {1900, 2100,
        [](const DateSimple& d) {
          return ecrire("st_x_%04d-%02d-%02d.csv", d.an, d.mois, d.jour);
        }}},
      {"2,3,4",
       {1900, 2100,
        [](const DateSimple& d) { return ecrire("st_%04d_%d_%d.dat", d.an, d.mois, d.jour); }}},
      {"(20)4,3,2",
       {2000, 2099,
        [](const DateSimple& d) {
          return ecrire("SCAN %02d %02d %02d.txt", d.jour, d.mois, d.an % 100);
        }}},
      {"20aammjj",
       {2000, 2099,
        [](const DateSimple& d) {
          return ecrire("fluofdv%02d%02d%02d.mv", d.an % 100, d.mois, d.jour);
        }}},
      {"20aammjjhhmmss",
       {2000, 2099,
        [](const DateSimple& d) {
          return ecrire("log%02d%02d%02d%02d%02d%02d.csv", d.an % 100, d.mois, d.jour, d.heure,
                        d.minute, d.seconde);
        }}},
      {"3(xxxx),/,3(0000xx),/,3(000000xx)",
       {1900, 2100,
        [](const DateSimple& d) {
          return ecrire("BFE-450046 %04d%02d%02d%02d%02d%02d.CSV", d.an, d.mois, d.jour, d.heure,
                        d.minute, d.seconde);
        }}},
  };
  ASSERT_EQ(cas.size(), kListeDateFichier.entrees.size());
  std::mt19937 alea(140521);
  const auto entre = [&alea](int a, int b) {
    return std::uniform_int_distribution<int>(a, b)(alea);
  };
  for (std::size_t k = 0; k < cas.size(); ++k) {
    const auto& [regle, c] = cas[k];
    EXPECT_EQ(regle, kListeDateFichier.entrees[k]);
    JournalSuivi journal;
    for (int i = 0; i < 400; ++i) {
      DateSimple d{entre(c.an_min, c.an_max),
                   entre(1, 12),
                   entre(1, 31),
                   entre(0, 23),
                   entre(0, 59),
                   entre(0, 59)};
      while (!encoder_date(d.an, d.mois, d.jour)) --d.jour;
      const std::string nom = c.nom(d);
      double valeur = kAvant;
      std::string texte;
      date_nom_fichier(nom, regle, valeur, texte, journal, [] { return kMaintenant; });
      ASSERT_EQ(texte, ecrire("%04d/%02d/%02d", d.an, d.mois, d.jour))
          << regle << " <" << nom << ">";
      ASSERT_EQ(valeur, *encoder_date(d.an, d.mois, d.jour)) << regle << " <" << nom << ">";
    }
    EXPECT_TRUE(journal.vide()) << regle;
  }
}

}  // namespace
}  // namespace tamso
