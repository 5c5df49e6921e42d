#include <string>

#include <gtest/gtest.h>

#include "base/tracking_log.h"
#include "input/dates.h"

namespace tamso {
namespace {

// 12 March 2022: 44562 for 1 January 2022, 59 days of January and February,
// then 11 days.
constexpr double k12Mars2022 = 44632.0;
constexpr double kSeconde = 1.0 / 86400.0;

TEST(ValeurDate, EncodeEtDecodeLeCalendrier) {
  EXPECT_EQ(encoder_date(1899, 12, 30), 0.0);
  EXPECT_EQ(encoder_date(1900, 1, 1), 2.0);
  EXPECT_EQ(encoder_date(2000, 1, 1), 36526.0);
  EXPECT_EQ(encoder_date(2022, 3, 12), k12Mars2022);
  EXPECT_DOUBLE_EQ(*encoder_date(2022, 3, 12, 1, 15, 30), k12Mars2022 + 4530 * kSeconde);
  // Leap years: every fourth year, not 1900 nor 2100, but 2000.
  EXPECT_TRUE(encoder_date(2024, 2, 29));
  EXPECT_TRUE(encoder_date(2000, 2, 29));
  EXPECT_FALSE(encoder_date(2023, 2, 29));
  EXPECT_FALSE(encoder_date(1900, 2, 29));
  EXPECT_FALSE(encoder_date(2100, 2, 29));
  EXPECT_FALSE(encoder_date(2022, 4, 31));
  EXPECT_FALSE(encoder_date(2022, 13, 1));
  EXPECT_FALSE(encoder_date(2022, 3, 12, 24, 0, 0));
  EXPECT_FALSE(encoder_date(2022, 3, 12, 1, 60, 0));

  const ChampsDate c = decoder_date(k12Mars2022 + 4530 * kSeconde);
  EXPECT_EQ(c.annee, 2022);
  EXPECT_EQ(c.mois, 3);
  EXPECT_EQ(c.jour, 12);
  EXPECT_EQ(c.heure, 1);
  EXPECT_EQ(c.minute, 15);
  EXPECT_EQ(c.seconde, 30);
  // 12 March 2022 was a Saturday, 30 December 1899 too.
  EXPECT_EQ(jour_de_semaine(k12Mars2022), "samedi");
  EXPECT_EQ(jour_de_semaine(k12Mars2022 + 1.5), "dimanche");
  EXPECT_EQ(jour_de_semaine(0.0), "samedi");
}

TEST(ValeurDate, TexteStandardJourEnTete) {
  EXPECT_EQ(date_heure_en_texte(k12Mars2022 + 4530 * kSeconde), "12/03/2022 01:15:30");
  EXPECT_EQ(date_heure_en_texte(k12Mars2022), "12/03/2022 00:00:00");
  EXPECT_EQ(date_en_texte(2.0), "01/01/1900");
  EXPECT_EQ(heure_en_texte(0.75), "18:00:00");
  // The nearest second: 23:59:59.7 is midnight of the next day.
  EXPECT_EQ(date_heure_en_texte(k12Mars2022 + 86399.7 * kSeconde), "13/03/2022 00:00:00");
  EXPECT_EQ(date_heure_courte_en_texte(k12Mars2022), "12/03/2022");
  EXPECT_EQ(date_heure_courte_en_texte(k12Mars2022 + 0.5), "12/03/2022 12:00:00");
}

TEST(ValeurDate, LecteurStrictDuTexteStandard) {
  EXPECT_DOUBLE_EQ(*lire_date_heure("12/03/2022 01:15:30"), k12Mars2022 + 4530 * kSeconde);
  EXPECT_EQ(*lire_date_heure("12/03/2022"), k12Mars2022);
  EXPECT_DOUBLE_EQ(*lire_date_heure("18:00:00"), 0.75);
  // Day first, always: 03/12 is 3 December.
  EXPECT_EQ(*lire_date_heure("03/12/2022"), k12Mars2022 + 266);
  EXPECT_FALSE(lire_date_heure("12-03-2022 01:15:30"));
  EXPECT_FALSE(lire_date_heure("12/03/2022T01:15:30"));
  EXPECT_FALSE(lire_date_heure("12/03/2022 01.15.30"));
  EXPECT_FALSE(lire_date_heure("2022/03/12"));
  EXPECT_FALSE(lire_date_heure("1/3/2022"));
  EXPECT_FALSE(lire_date_heure("31/02/2022"));
  EXPECT_FALSE(lire_date_heure("24:00:00"));
  EXPECT_FALSE(lire_date_heure(""));
  // Text and reader agree on every second of a day and across the years.
  for (double v : {2.0, 36526.5, k12Mars2022 + 4530 * kSeconde, 73415.999988425923})
    EXPECT_EQ(date_heure_en_texte(*lire_date_heure(date_heure_en_texte(v))),
              date_heure_en_texte(v));
}

TEST(ValeurDate, HorlogeInjectable) {
  EXPECT_EQ(heure_courante([] { return 1234.5; }), 1234.5);
  const double avant = maintenant();
  const double lu = heure_courante({});
  EXPECT_GE(lu, avant);
  EXPECT_LT(lu - avant, 1.0 / 24);
  // Some day after 1 January 2020.
  EXPECT_GT(lu, 43831.0);
}

TEST(TexteEnDate, CompleteParLaLongueurDansLesDeuxOrdres) {
  JournalSuivi journal;
  std::string corrige;
  EXPECT_DOUBLE_EQ(texte_en_date("12/03/2022 01:15:30", &corrige, journal).value_or(-1.0),
                   k12Mars2022 + 4530 * kSeconde);
  EXPECT_EQ(corrige, "12/03/2022 01:15:30");
  // Year first, "-" read as "/", completed with ":00".
  EXPECT_DOUBLE_EQ(texte_en_date("2022-03-12 01:15", &corrige, journal).value_or(-1.0),
                   k12Mars2022 + 4500 * kSeconde);
  EXPECT_EQ(corrige, "12/03/2022 01:15:00");
  EXPECT_EQ(texte_en_date("2022/03/12", &corrige, journal), k12Mars2022);
  EXPECT_EQ(corrige, "12/03/2022 00:00:00");
  EXPECT_DOUBLE_EQ(texte_en_date("12/03/2022 01", &corrige, journal).value_or(-1.0),
                   k12Mars2022 + 1.0 / 24);
  EXPECT_EQ(corrige, "12/03/2022 01:00:00");
  // Spaces trimmed and reduced, one trailing colon removed.
  EXPECT_DOUBLE_EQ(texte_en_date("  12/03/2022    01:15:  ", &corrige, journal).value_or(-1.0),
                   k12Mars2022 + 4500 * kSeconde);
  EXPECT_EQ(corrige, "12/03/2022 01:15:00");
  // A time alone is a time of day.
  EXPECT_DOUBLE_EQ(texte_en_date("18:00:00", &corrige, journal).value_or(-1.0), 0.75);
  EXPECT_EQ(corrige, "18:00:00");
  EXPECT_DOUBLE_EQ(texte_en_date("12/03/2022 01:15:30", nullptr, journal).value_or(-1.0),
                   k12Mars2022 + 4530 * kSeconde);
  EXPECT_TRUE(journal.vide());
}

TEST(TexteEnDate, ReglesDesChampsEcriventUneLigne) {
  JournalSuivi journal;
  std::string corrige = "inchangé";
  EXPECT_FALSE(texte_en_date("2022-03-12 01:75:00", &corrige, journal));
  ASSERT_EQ(journal.taille(), 1u);
  EXPECT_EQ(journal.derniere(), " * erreur date : 12/03/2022 01:75:00   <2022-03-12 01:75:00>");
  EXPECT_EQ(corrige, "inchangé");
  // No time part: the rebuilt text ends with the space before the missing time.
  EXPECT_FALSE(texte_en_date("12/03/22", nullptr, journal));
  EXPECT_EQ(journal.derniere(), " * erreur date : 12/03/22    <12/03/22>");
  EXPECT_FALSE(texte_en_date("32/01/2022 00:00:00", nullptr, journal));
  EXPECT_EQ(journal.derniere(), " * erreur date : 32/01/2022 00:00:00   <32/01/2022 00:00:00>");
  EXPECT_FALSE(texte_en_date("12/13/2022 00:00:00", nullptr, journal));
  EXPECT_FALSE(texte_en_date("12/03/2022 31:00:00", nullptr, journal));
  EXPECT_FALSE(texte_en_date("12/03/2022 01:00:61", nullptr, journal));
  // A three-digit day leaves a seven-character time.
  EXPECT_FALSE(texte_en_date("2022/03/123 1:15:30", nullptr, journal));
  EXPECT_EQ(journal.derniere(), " * erreur date : 123/03/2022 1:15:30   <2022/03/123 1:15:30>");
  EXPECT_EQ(journal.taille(), 7u);
  // The text as received, spaces included, closes the line.
  EXPECT_FALSE(texte_en_date(" 00/03/2022 ", nullptr, journal));
  EXPECT_EQ(journal.derniere(), " * erreur date : 00/03/2022 00:00:00   < 00/03/2022 >");
}

TEST(TexteEnDate, ZeroSansLignePourLeReste) {
  JournalSuivi journal;
  EXPECT_FALSE(texte_en_date("", nullptr, journal));
  EXPECT_FALSE(texte_en_date("   ", nullptr, journal));
  EXPECT_FALSE(texte_en_date("12/03/22 01:15", nullptr, journal));  // 14 characters
  EXPECT_FALSE(texte_en_date("12/03/2022 01:15:30.5", nullptr, journal));
  EXPECT_FALSE(texte_en_date("abc", nullptr, journal));
  EXPECT_FALSE(texte_en_date(std::string(5000, '1'), nullptr, journal));
  // Passes the field rules, but no such date or time.
  std::string corrige;
  EXPECT_FALSE(texte_en_date("31/02/2022 00:00:00", &corrige, journal));
  EXPECT_EQ(corrige, "31/02/2022 00:00:00");
  EXPECT_FALSE(texte_en_date("12/03/2022 29:00:00", nullptr, journal));
  EXPECT_FALSE(texte_en_date("29:00:00", nullptr, journal));
  // 19 characters without "/" at the 3rd or 5th place.
  EXPECT_FALSE(texte_en_date("12.03.2022 01:15:30", nullptr, journal));
  EXPECT_FALSE(texte_en_date("20220312  011530000", nullptr, journal));
  // Midnight alone is the time 00:00:00, a value like any other.
  EXPECT_EQ(texte_en_date("00:00:00", nullptr, journal), 0.0);
  EXPECT_TRUE(journal.vide());
}

}  // namespace
}  // namespace tamso
