// End-to-end: the four examples of examples/, run as `make demo` runs them
// (`tamso-cli run <dsc> --data <its folder> --out <folder> --decimal-separator ,`),
// on copies in a temporary folder so that nothing in the repository is
// written. Each results file is compared with what the rules give, worked out
// by hand from the example's data file and description:
//   - the period and step are the description's Label_min_dsc, Label_max_dsc
//     and Label_pas_dsc; the timestamp list starts one step before the period
//     start, and its first timestamp is never written;
//   - the date test is "(inf ou =)": a line at t goes to the timestamp T[k]
//     with T[k-1] < t <= T[k];
//   - values are written "%5.<d>f" with the computer's decimal separator
//     (","), then each data line follows the output decimal separator: with
//     "point" a line holding no point has its commas turned into points.
// The tracking files are Windows-1252 bytes: "\xE9" is "é".
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::q;
using test::Sortie;

namespace fs = std::filesystem;

const std::string kExemples = TAMSO_DONNEES_TEST "../../examples/";

// One example run on copies of its description and data folder.
struct Exemple {
  Sortie sortie;
  std::string dossier_sortie;
  std::string resultats;      // the results file's bytes
  std::string suivi;          // the tracking file's bytes
  bool depot_intact = false;  // the repository's description is unchanged by the run
};

Exemple lancer_exemple(const DossierTemporaire& d, const std::string& nom,
                       const std::string& fichier_resultats) {
  const std::string description = d.chemin() + nom + ".dsc";
  const std::string avant = DossierTemporaire::lire(kExemples + nom + ".dsc");
  fs::copy_file(kExemples + nom + ".dsc", description);
  fs::copy(kExemples + nom, d.chemin() + nom, fs::copy_options::recursive);
  Exemple e;
  e.dossier_sortie = d.sous_dossier("out");
  e.sortie = lancer(d, "run " + q(description) + " --data " + q(d.chemin() + nom + "/") +
                           " --out " + q(e.dossier_sortie) + " --decimal-separator ,");
  e.resultats = DossierTemporaire::lire(e.dossier_sortie + fichier_resultats);
  e.suivi = DossierTemporaire::lire(e.dossier_sortie + fichier_resultats + ".TXT");
  e.depot_intact = !avant.empty() && DossierTemporaire::lire(kExemples + nom + ".dsc") == avant;
  return e;
}

// The lines of a file whose every line ends with CR LF.
std::vector<std::string> lignes(const std::string& texte) {
  std::vector<std::string> l;
  std::size_t debut = 0;
  for (std::size_t fin; (fin = texte.find("\r\n", debut)) != std::string::npos; debut = fin + 2)
    l.push_back(texte.substr(debut, fin - debut));
  if (debut != texte.size()) l.push_back(texte.substr(debut));  // an unterminated last line
  return l;
}

void attendre_lignes_de_suivi(const std::string& suivi, const std::vector<std::string>& attendues) {
  for (const auto& l : attendues)
    EXPECT_NE(suivi.find("\r\n" + l + "\r\n"), std::string::npos) << "ligne de suivi : " << l;
}

// The river gauge (riviere.dsc): semicolons, a title line, decimal commas,
// 576 readings about every 5 minutes (some a few seconds early or late) from
// 07/11/2021 00:00:00 to 08/11/2021 23:54:57. Mean (method 0), 3 decimals,
// ";" and decimal comma out, station "amont" (syllable 2 of
// station_amont_2021-11.csv). Period 07/11/2021 01:00:00 to 09/11/2021
// 00:00:00 by 1 hour: timestamps 07/11 00:00 ... 09/11 00:00, N = 49, so 48
// results lines, one per hour from 07/11 01:00. Checked: the header, the
// number of lines, the timestamp of every line, and six whole lines.
TEST(Exemples, RiviereMeanPerHour) {
  DossierTemporaire d;
  const Exemple e = lancer_exemple(d, "riviere", "riviere_horaire.txt");
  ASSERT_EQ(e.sortie.code, 0) << e.sortie.erreurs;
  EXPECT_EQ(e.sortie.sortie, e.dossier_sortie + "riviere_horaire.txt\n" + e.dossier_sortie +
                                 "riviere_horaire.txt.TXT\n");
  ASSERT_EQ(e.resultats.substr(e.resultats.size() - 2), "\r\n");
  const std::vector<std::string> l = lignes(e.resultats);
  ASSERT_EQ(l.size(), 49u);  // the header and 48 results lines
  EXPECT_EQ(l[0],
            "temps(Date inf ou =);Niveau_m;Temp\xE9rature_C;Conductivit\xE9_uS;"
            "nb(48)_methode_(moyenne des n mesures OK)_station(amont)");
  // Line i is the timestamp 07/11/2021 00:00:00 + i hours.
  for (int i = 1; i <= 48; ++i) {
    const int jour = 7 + i / 24, heure = i % 24;
    const std::string hh = std::string(heure < 10 ? "0" : "") + std::to_string(heure);
    EXPECT_EQ(l[static_cast<std::size_t>(i)].substr(0, 20),
              "0" + std::to_string(jour) + "/11/2021 " + hh + ":00:00;")
        << "ligne " << i;
  }
  // First line written: the 12 readings 00:05 ... 01:00 (the 00:00:00
  // reading went to the first timestamp, which is never written).
  // Niveau 14,426 / 12 = 1,20217; Temp 114,42 / 12 = 9,535; Cond 5448 / 12 = 454.
  EXPECT_EQ(l[1], "07/11/2021 01:00:00;1,202;9,535;454,000;12");
  // The reading of 09:00:02 is after 09:00:00, so it opens the next hour:
  // 09:00 gets 11 readings, 08:05 ... 08:55. Niveau 13,791 / 11 = 1,25373;
  // Temp 110,36 / 11 = 10,03273; Cond 5008 / 11 = 455,27273.
  EXPECT_EQ(l[9], "07/11/2021 09:00:00;1,254;10,033;455,273;11");
  // ... and 10:00 gets 13, 09:00:02 ... 10:00:00. Niveau 16,367 / 13 = 1,259;
  // Temp 131,20 / 13 = 10,09231; Cond 5919 / 13 = 455,30769.
  EXPECT_EQ(l[10], "07/11/2021 10:00:00;1,259;10,092;455,308;13");
  // Day change: 23:05 ... 23:55 of the 7th and 00:00:00 of the 8th (the
  // timestamp itself), written with its " 00:00:00". Niveau 16,015 / 12 =
  // 1,33458; Temp (120,64 + 9,50) / 12 = 10,845; Cond 5460 / 12 = 455.
  EXPECT_EQ(l[24], "08/11/2021 00:00:00;1,335;10,845;455,000;12");
  // 12:05 ... 12:59:57: the reading 3 s before 13:00 belongs to 13:00.
  // Niveau 15,333 / 12 = 1,27775; Temp 123,42 / 12 = 10,285; Cond 5449 / 12 = 454,08333.
  EXPECT_EQ(l[37], "08/11/2021 13:00:00;1,278;10,285;454,083;12");
  // Last line: 23:05 ... 23:54:57, 11 readings (the file ends before 09/11).
  // Niveau 14,813 / 11 = 1,34664; Temp 120,64 / 11 = 10,96727; Cond 5006 / 11 = 455,09091.
  EXPECT_EQ(l[48], "09/11/2021 00:00:00;1,347;10,967;455,091;11");

  // Tracking file: 48 results, no value missing in any column; all 576
  // readings placed (the first in the unwritten first row).
  attendre_lignes_de_suivi(
      e.suivi, {" nombre de r\xE9sultats = 48", "48 - 0 = 48  <- Niveau_m",
                "48 - 0 = 48  <- Temp\xE9rature_C", "48 - 0 = 48  <- Conductivit\xE9_uS",
                "     576 lignes extraites", "     48 lignes     x     5 colonnes attendues",
                "      NOMBRE de VALEURS utilisables = 144   issues de 576 lignes de donn\xE9"
                "es"});
  // File table row: "n.données" 576, "n.extraites" 576.
  EXPECT_NE(e.suivi.find(" \t576 \t576 \t"), std::string::npos);
  EXPECT_TRUE(e.depot_intact);
}

// The rooftop weather station (meteo.dsc): tab-separated, date and time in
// two columns (titles Date, Heure), 144 readings every 10 minutes of
// 07/11/2021 from 00:00 to 23:50. Method 5 "cumul": each row holds the sum of
// its readings, then the finalisation adds the row before it, so every row
// is the running total since the first row, the unwritten first row (the
// 00:00 reading: rain 0,0, air 7,0) included. 1 decimal, tab and decimal
// point out, station "toit" (syllable 2 of meteo_toit.txt); the date-time
// title is the date column's title alone. Period 07/11/2021 01:00:00 to
// 08/11/2021 00:00:00 by 1 hour: N = 25, 24 results lines, each hour H
// taking the six readings (H-1):10 ... H:00, the last taking 23:10 ... 23:50.
// The whole file is checked.
TEST(Exemples, MeteoRunningSums) {
  DossierTemporaire d;
  const Exemple e = lancer_exemple(d, "meteo", "pluie_cumul.txt");
  ASSERT_EQ(e.sortie.code, 0) << e.sortie.erreurs;
  EXPECT_EQ(e.sortie.sortie,
            e.dossier_sortie + "pluie_cumul.txt\n" + e.dossier_sortie + "pluie_cumul.txt.TXT\n");
  // Rain per hour: 0 up to 04:00; 05:00 0,6 (the 05:00 reading); 06:00 2,2;
  // 07:00 1,6; 08:00 1,6; 09:00 2,2; 10:00 2,6; 11:00 1,4; 12:00 1,2; then 0.
  // Air per hour (sum of six readings): 01:00 42,4 (7,0 7,0 7,1 7,1 7,1 7,1),
  // 02:00 43,1, 03:00 44,0, 04:00 44,7, 05:00 45,4, 06:00 46,2, 07:00 47,0,
  // 08:00 47,7, 09:00 48,4, 10:00 49,1, 11:00 50,0, 12:00 50,7, 13:00 51,4,
  // 14:00 52,2, 15:00 53,0, 16:00 53,7, 17:00 54,4, 18:00 55,1, 19:00 56,0,
  // 20:00 56,7, 21:00 57,4, 22:00 58,2, 23:00 59,0, 00:00 49,7 (five
  // readings); running totals from the first row's 7,0.
  EXPECT_EQ(e.resultats, crlf({"Date\tPluie_mm\tTempAir_C\tnb(24)_methode_(cumul)_station(toit)",
                               "07/11/2021 01:00:00\t  0.0\t 49.4\t6",
                               "07/11/2021 02:00:00\t  0.0\t 92.5\t6",
                               "07/11/2021 03:00:00\t  0.0\t136.5\t6",
                               "07/11/2021 04:00:00\t  0.0\t181.2\t6",
                               "07/11/2021 05:00:00\t  0.6\t226.6\t6",
                               "07/11/2021 06:00:00\t  2.8\t272.8\t6",
                               "07/11/2021 07:00:00\t  4.4\t319.8\t6",
                               "07/11/2021 08:00:00\t  6.0\t367.5\t6",
                               "07/11/2021 09:00:00\t  8.2\t415.9\t6",
                               "07/11/2021 10:00:00\t 10.8\t465.0\t6",
                               "07/11/2021 11:00:00\t 12.2\t515.0\t6",
                               "07/11/2021 12:00:00\t 13.4\t565.7\t6",
                               "07/11/2021 13:00:00\t 13.4\t617.1\t6",
                               "07/11/2021 14:00:00\t 13.4\t669.3\t6",
                               "07/11/2021 15:00:00\t 13.4\t722.3\t6",
                               "07/11/2021 16:00:00\t 13.4\t776.0\t6",
                               "07/11/2021 17:00:00\t 13.4\t830.4\t6",
                               "07/11/2021 18:00:00\t 13.4\t885.5\t6",
                               "07/11/2021 19:00:00\t 13.4\t941.5\t6",
                               "07/11/2021 20:00:00\t 13.4\t998.2\t6",
                               "07/11/2021 21:00:00\t 13.4\t1055.6\t6",
                               "07/11/2021 22:00:00\t 13.4\t1113.8\t6",
                               "07/11/2021 23:00:00\t 13.4\t1172.8\t6",
                               "08/11/2021 00:00:00\t 13.4\t1222.5\t5"}));
  attendre_lignes_de_suivi(
      e.suivi,
      {" nombre de r\xE9sultats = 24", "24 - 0 = 24  <- Pluie_mm", "24 - 0 = 24  <- TempAir_C",
       "     144 lignes extraites", "     24 lignes     x     4 colonnes attendues",
       "      NOMBRE de VALEURS utilisables = 48   issues de 144 lignes de donn\xE9"
       "es",
       "      aucune valeur NA ou vides d\xE9tect\xE9"
       "e dans l\"ensemble du tableau"});
  // File table row: "n.données" 144, "n.extraites" 144.
  EXPECT_NE(e.suivi.find(" \t144 \t144 \t"), std::string::npos);
  EXPECT_TRUE(e.depot_intact);
}

// The well logger export (puits.dsc): data between the tags DATA and END,
// the title on line 2 and the data from line 3 counted from the tag line,
// lines before the tag ("Export enregistreur", "Site", "Unités") and after
// END ("Fin du fichier") left out. 96 readings every 15 minutes of
// 07/11/2021, 00:00 to 23:45: pressure 12,400 falling by 0,001 a reading,
// temperature 11,2 throughout. Method 1, the last valid reading of each
// hour; 3 decimals, tab and decimal point out, station "P3". Period
// 07/11/2021 01:00:00 to 08/11/2021 00:00:00 by 1 hour: 24 results lines.
// Hour H takes (H-1):15, :30, :45, H:00 and keeps H:00, the 4H-th reading
// after 00:00: 12,400 - 0,004 H; the last row takes 23:15, 23:30, 23:45 and
// keeps 12,305. The whole file is checked.
TEST(Exemples, PuitsLastValueBetweenTags) {
  DossierTemporaire d;
  const Exemple e = lancer_exemple(d, "puits", "puits_P3.txt");
  ASSERT_EQ(e.sortie.code, 0) << e.sortie.erreurs;
  EXPECT_EQ(e.sortie.sortie,
            e.dossier_sortie + "puits_P3.txt\n" + e.dossier_sortie + "puits_P3.txt.TXT\n");
  EXPECT_EQ(e.resultats, crlf({"temps(Horodatage inf ou =)\tPression_m\tTemp_C\t"
                               "nb(24)_methode_(ponctuel = derni\xE8re mesure OK)_station(P3)",
                               "07/11/2021 01:00:00\t12.396\t11.200\t4",
                               "07/11/2021 02:00:00\t12.392\t11.200\t4",
                               "07/11/2021 03:00:00\t12.388\t11.200\t4",
                               "07/11/2021 04:00:00\t12.384\t11.200\t4",
                               "07/11/2021 05:00:00\t12.380\t11.200\t4",
                               "07/11/2021 06:00:00\t12.376\t11.200\t4",
                               "07/11/2021 07:00:00\t12.372\t11.200\t4",
                               "07/11/2021 08:00:00\t12.368\t11.200\t4",
                               "07/11/2021 09:00:00\t12.364\t11.200\t4",
                               "07/11/2021 10:00:00\t12.360\t11.200\t4",
                               "07/11/2021 11:00:00\t12.356\t11.200\t4",
                               "07/11/2021 12:00:00\t12.352\t11.200\t4",
                               "07/11/2021 13:00:00\t12.348\t11.200\t4",
                               "07/11/2021 14:00:00\t12.344\t11.200\t4",
                               "07/11/2021 15:00:00\t12.340\t11.200\t4",
                               "07/11/2021 16:00:00\t12.336\t11.200\t4",
                               "07/11/2021 17:00:00\t12.332\t11.200\t4",
                               "07/11/2021 18:00:00\t12.328\t11.200\t4",
                               "07/11/2021 19:00:00\t12.324\t11.200\t4",
                               "07/11/2021 20:00:00\t12.320\t11.200\t4",
                               "07/11/2021 21:00:00\t12.316\t11.200\t4",
                               "07/11/2021 22:00:00\t12.312\t11.200\t4",
                               "07/11/2021 23:00:00\t12.308\t11.200\t4",
                               "08/11/2021 00:00:00\t12.305\t11.200\t3"}));
  attendre_lignes_de_suivi(
      e.suivi,
      {" nombre de r\xE9sultats = 24", "24 - 0 = 24  <- Pression_m", "24 - 0 = 24  <- Temp_C",
       "     96 lignes extraites", "     24 lignes     x     4 colonnes attendues",
       "      NOMBRE de VALEURS utilisables = 48   issues de 96 lignes de donn\xE9"
       "es"});
  // File table row: "n.données" 96 (the lines between the title and END),
  // "n.extraites" 96.
  EXPECT_NE(e.suivi.find(" \t96 \t96 \t"), std::string::npos);
  EXPECT_TRUE(e.depot_intact);
}

// The spring (source.dsc): semicolons, decimal points in the file, 24
// readings every 10 minutes from 07/11/2021 22:00 to 01:50, the logger's
// date staying at 07/11 after midnight, and the missing-data markers -99999
// (Debit_ls, 22:50 and 23:00) and NA (Turbidite_NTU, 23:40). With "correction
// + 1 j SI t1>t2" each of the 12 readings from "07/11/2021 00:00:00" on is
// earlier than the (corrected) one before it and is moved one day later.
// Mean, 2 decimals, ";" and decimal comma out, NA text "NA", station "S4".
// Period 07/11/2021 22:30:00 to 08/11/2021 02:00:00 by 30 minutes:
// timestamps 22:00 ... 02:00, N = 9, 8 results lines.
const std::vector<std::string> kSource = {
    "temps(Date inf ou =);Debit_ls;Turbidite_NTU;"
    "nb(8)_methode_(moyenne des n mesures OK)_station(S4)",
    // 22:10 22:20 22:30: (42,5 + 43 + 43,5) / 3; (3,2 + 3,3 + 3,4) / 3.
    "07/11/2021 22:30:00;43,00; 3,30;3",
    // 22:40 44,0, then -99999 twice: a cell is NA only when no valid value
    // fell into it, so the mean is 44,0 alone. Turbidity
    // (3,5 + 3,1 + 3,2) / 3 = 3,2667.
    "07/11/2021 23:00:00;44,00; 3,27;3",
    // 23:10 23:20 23:30: 46; (3,3 + 3,4 + 3,5) / 3 = 3,4.
    "07/11/2021 23:30:00;46,00; 3,40;3",
    // 23:40 23:50 and the midnight reading moved to the 8th:
    // (47 + 47,5 + 48) / 3 = 47,5; turbidity NA then 3,2 and 3,3: (3,2 + 3,3) / 2.
    "08/11/2021 00:00:00;47,50; 3,25;3",
    // 00:10 00:20 00:30 (moved to the 8th): 49; (3,4 + 3,5 + 3,1) / 3 = 3,333.
    "08/11/2021 00:30:00;49,00; 3,33;3",
    // 00:40 00:50 01:00: 50,5; (3,2 + 3,3 + 3,4) / 3.
    "08/11/2021 01:00:00;50,50; 3,30;3",
    // 01:10 01:20 01:30: 52; (3,5 + 3,1 + 3,2) / 3.
    "08/11/2021 01:30:00;52,00; 3,27;3",
    // 01:40 01:50: (53 + 53,5) / 2; (3,3 + 3,4) / 2.
    "08/11/2021 02:00:00;53,25; 3,35;2",
};
// The whole results file and the tracking lines that carry its counts.
TEST(Exemples, SourceMidnightCorrectionAndMissingValues) {
  DossierTemporaire d;
  const Exemple e = lancer_exemple(d, "source", "source_S4.txt");
  ASSERT_EQ(e.sortie.code, 0) << e.sortie.erreurs;
  EXPECT_EQ(e.sortie.sortie,
            e.dossier_sortie + "source_S4.txt\n" + e.dossier_sortie + "source_S4.txt.TXT\n");
  ASSERT_EQ(e.resultats.substr(e.resultats.size() - 2), "\r\n");
  EXPECT_EQ(e.resultats, crlf(kSource));
  // 8 results; all 24 readings placed (22:00 in the unwritten first row);
  // 12 day corrections, the first two logged with their line number in the
  // file and their date as read; no missing turbidity among the written
  // lines (the NA of 23:40 is followed by valid readings in its row).
  attendre_lignes_de_suivi(
      e.suivi,
      {" nombre de r\xE9sultats = 8", "8 - 0 = 8  <- Debit_ls", "8 - 0 = 8  <- Turbidite_NTU",
       "      NOMBRE de VALEURS utilisables = 16   issues de 24 lignes de donn\xE9"
       "es",
       "     24 lignes extraites", "     8 lignes     x     4 colonnes attendues",
       "14 : + 1j \xE0 07/11/2021 00:00:00", "15 : + 1j \xE0 07/11/2021 00:10:00",
       "nb (+ 1j) = 12"});
  // File table row: "n.données" 24, "n.extraites" 24, "correction" 12 days, 0 seconds.
  EXPECT_NE(e.suivi.find(" \t24 \t24 \t"), std::string::npos);
  EXPECT_NE(e.suivi.find(" \t+1jour,s 12/0x \t"), std::string::npos);
  EXPECT_TRUE(e.depot_intact);
}

}  // namespace
}  // namespace tamso
