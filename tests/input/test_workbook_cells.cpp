#include <gtest/gtest.h>

#include "input/dates.h"
#include "input/workbook_cells.h"
#include "input/workbook_zip.h"

namespace tamso {
namespace {

TEST(ClasseurNombre, ShortestExactDecimalWithAPointAndReadingBack) {
  for (const auto& [v, texte] : {std::pair{12.5, "12.5"},
                                 {80.0, "80"},
                                 {-3.25, "-3.25"},
                                 {0.1, "0.1"},
                                 {1e-5, "0.00001"},
                                 {1234567.891, "1234567.891"},
                                 {1e15, "1000000000000000"},
                                 // 0.1 + 0.2 is not 0.3: the exact value keeps every digit.
                                 {0.1 + 0.2, "0.30000000000000004"},
                                 // Zero has no sign; huge values take an exponent.
                                 {-0.0, "0"},
                                 {0.0, "0"},
                                 {1e300, "1e+300"}})
    EXPECT_EQ(texte_nombre(v), texte) << texte;
  EXPECT_EQ(lire_nombre_classeur("1E-005"), 1e-5);
  EXPECT_EQ(lire_nombre_classeur(" 45352.5 "), 45352.5);
  EXPECT_EQ(lire_nombre_classeur("+2"), 2.0);
  EXPECT_FALSE(lire_nombre_classeur(""));
  EXPECT_FALSE(lire_nombre_classeur("12,5"));
  EXPECT_FALSE(lire_nombre_classeur("abc"));
}

TEST(ClasseurFormat, DatesTimesAndTheRest) {
  using G = GenreDate;
  const std::pair<const char*, GenreDate> cas[] = {
      {"dd/mm/yyyy", G::date},
      {"dd/mm/yyyy\\ hh:mm:ss", G::date_heure},
      {"hh:mm:ss", G::heure},
      {"[h]:mm:ss", G::heure},
      {"mm:ss", G::heure},  // minutes before seconds
      {"mmm-yy", G::date},  // a month
      {"h:mm AM/PM", G::heure},
      {"[$-40C]dddd d mmmm yyyy", G::date},
      {"DD/MM/YYYY HH:MM", G::date_heure},
      // Text, colours and quotes are not dates.
      {"General", G::aucun},
      {"Standard", G::aucun},
      {"0.00", G::aucun},
      {"0.00E+00", G::aucun},
      {"[Red]#,##0.00", G::aucun},
      {"#,##0 \"days\"", G::aucun},
      {"0\\ \\h", G::aucun},
      {"\"TRUE\";\"TRUE\";\"FALSE\"", G::aucun},
      {"@", G::aucun},
      // Only the first section counts; a ";" between quotes or after a
      // backslash does not end it.
      {"0.0;[Red]dd/mm/yyyy", G::aucun},
      {"\"a;b\" dd/mm/yyyy", G::date},
      {"0\\;dd/mm/yyyy", G::date},
      // "_" and "*" take the next character as it is.
      {"0_d", G::aucun},
      {"0*y", G::aucun},
      // A 12-hour mark alone, or a bracketed duration alone, is a time.
      {"a/p", G::heure},
      {"AM/PM", G::heure},
      {"[ss]", G::heure},
      {"[hm]", G::aucun}};
  for (const auto& [format, genre] : cas) EXPECT_EQ(genre_format_excel(format), genre) << format;
}

TEST(ClasseurFormat, BuiltInFormats) {
  EXPECT_EQ(genre_format_integre(0), GenreDate::aucun);
  EXPECT_EQ(genre_format_integre(2), GenreDate::aucun);
  EXPECT_EQ(genre_format_integre(14), GenreDate::date);
  EXPECT_EQ(genre_format_integre(17), GenreDate::date);
  EXPECT_EQ(genre_format_integre(20), GenreDate::heure);
  EXPECT_EQ(genre_format_integre(21), GenreDate::heure);
  EXPECT_EQ(genre_format_integre(22), GenreDate::date_heure);
  EXPECT_EQ(genre_format_integre(46), GenreDate::heure);
  EXPECT_EQ(genre_format_integre(49), GenreDate::aucun);  // "@"
}

TEST(ClasseurSerie, DaySystemOf1900) {
  // 45352 days after 30 December 1899 is 1 March 2024.
  EXPECT_EQ(texte_serie_date(45352, GenreDate::date, false), "01/03/2024");
  EXPECT_EQ(texte_serie_date(45352, GenreDate::date_heure, false), "01/03/2024 00:00:00");
  EXPECT_EQ(texte_serie_date(45352.5, GenreDate::date_heure, false), "01/03/2024 12:00:00");
  // 45352.0138888889 is 00:20:00.000 to the nearest second.
  EXPECT_EQ(texte_serie_date(45352.0138888889, GenreDate::date_heure, false),
            "01/03/2024 00:20:00");
  EXPECT_EQ(texte_serie_date(0.006956018518518519, GenreDate::heure, false), "00:10:01");
  // The time of day alone, whatever the date.
  EXPECT_EQ(texte_serie_date(45352.75, GenreDate::heure, false), "18:00:00");
}

TEST(ClasseurSerie, EarlySerialsOf1900AndTheDaySystemOf1904) {
  // Serial 1 is 1 January 1900, serial 59 is 28 February 1900, serial 61 1
  // March 1900: the early serials carry the leap-year error of 1900.
  EXPECT_EQ(texte_serie_date(1, GenreDate::date, false), "01/01/1900");
  EXPECT_EQ(texte_serie_date(59, GenreDate::date, false), "28/02/1900");
  EXPECT_EQ(texte_serie_date(61, GenreDate::date, false), "01/03/1900");
  // 1904: serial 0 is 1 January 1904; 43890 days later is 1 March 2024.
  EXPECT_EQ(texte_serie_date(0, GenreDate::date, true), "01/01/1904");
  EXPECT_EQ(texte_serie_date(43890.5, GenreDate::date_heure, true), "01/03/2024 12:00:00");
  EXPECT_EQ(texte_serie_date(0.5, GenreDate::heure, true), "12:00:00");
}

TEST(ClasseurSerie, NoDateOutsideTheCalendar) {
  EXPECT_FALSE(texte_serie_date(-1, GenreDate::date, false));
  EXPECT_FALSE(texte_serie_date(3e6, GenreDate::date, false));  // past the year 9999
}

TEST(ClasseurIso, DatesAndDurations) {
  EXPECT_EQ(lire_date_iso("2024-03-01"), encoder_date(2024, 3, 1));
  EXPECT_EQ(lire_date_iso("2024-03-01T00:20:00"), encoder_date(2024, 3, 1, 0, 20, 0));
  const auto d = lire_date_iso("2024-02-29T23:59:59.6");
  ASSERT_TRUE(d);
  EXPECT_EQ(texte_valeur_date(*d, GenreDate::date_heure), "01/03/2024 00:00:00");
  EXPECT_FALSE(lire_date_iso("2023-02-29"));
  EXPECT_FALSE(lire_date_iso("01/03/2024"));
  EXPECT_FALSE(lire_date_iso("2024-03-01T25:00:00"));

  EXPECT_DOUBLE_EQ(*lire_duree_iso("PT12H00M00S"), 0.5);
  EXPECT_DOUBLE_EQ(*lire_duree_iso("PT00H10M01S"), 601.0 / 86400);
  EXPECT_DOUBLE_EQ(*lire_duree_iso("P1DT6H"), 1.25);
  EXPECT_DOUBLE_EQ(*lire_duree_iso("-PT6H"), -0.25);
  EXPECT_FALSE(lire_duree_iso("12:00:00"));
  EXPECT_FALSE(lire_duree_iso("PT"));
  EXPECT_FALSE(lire_duree_iso("PT5X"));
}

TEST(ClasseurPlage, BoundsOfTheCellsWithText) {
  ChercheurPlage c;
  c.ligne(3, 1, {{2, 1, "a"}, {5, 1, ""}});
  c.ligne(7, 2, {{1, 3, "b"}});
  const Plage& p = c.plage();
  ASSERT_FALSE(p.vide);
  EXPECT_EQ(p.ligne_min, 3u);
  EXPECT_EQ(p.ligne_max, 8u);  // row 7 repeated twice
  EXPECT_EQ(p.colonne_min, 1u);
  EXPECT_EQ(p.colonne_max, 3u);  // the empty cell at column 5 does not count
}

TEST(ClasseurPlage, CellsSortedByColumnTheLaterWins) {
  std::vector<CelluleTexte> cellules = {{4, 1, "d"}, {1, 1, "a"}, {4, 1, "e"}};
  ranger_cellules(cellules);
  ASSERT_EQ(cellules.size(), 2u);
  EXPECT_EQ(cellules[0].texte, "a");
  EXPECT_EQ(cellules[1].texte, "e");
}

TEST(ClasseurRelation, TargetsStayInsideTheArchive) {
  EXPECT_EQ(resoudre_cible("xl/", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(resoudre_cible("xl/", "/xl/worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(resoudre_cible("xl/worksheets/", "../sharedStrings.xml"), "xl/sharedStrings.xml");
  EXPECT_EQ(resoudre_cible("", "./xl//workbook.xml"), "xl/workbook.xml");
  // Climbing out of the archive leads nowhere.
  EXPECT_EQ(resoudre_cible("xl/", "../../etc/passwd"), "");
  EXPECT_EQ(resoudre_cible("", "/../x.xml"), "");
}

}  // namespace
}  // namespace tamso
