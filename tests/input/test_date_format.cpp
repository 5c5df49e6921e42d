#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/tracking_log.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/file_name_dates.h"
#include "input/proposed_formats.h"

namespace tamso {
namespace {

// 12 March 2022 at midnight, 5 April 2022 at midnight.
constexpr double k12Mars2022 = 44632.0;
constexpr double k5Avril2022 = 44656.0;

class LecteurDates : public ::testing::Test {
 protected:
  // Each call reads with a state just after a listing, as the first date read.
  std::string lire_seul(std::string_view texte, std::string_view format) {
    EtatLecteurDates neuf;
    neuf.horloge = etat.horloge;
    return normaliser_date_mesure(texte, format, neuf, journal);
  }
  std::string lire(std::string_view texte, std::string_view format) {
    return normaliser_date_mesure(texte, format, etat, journal);
  }
  EtatLecteurDates etat;
  JournalSuivi journal;
};

TEST_F(LecteurDates, FormatsLusParPosition) {
  EXPECT_EQ(lire_seul("2022/03/12 01:15:30", "aaaa_mm_jj_hh_mn_ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("2022/03/12 01:15:30", "aaaa-mm-jj hh:mn:ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("2022-03-12T01:15:30", "aaaa-mm-jjThh:mn:ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("12/03/2022 01:15:30", "jj_mm_aaaa_hh_mn_ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("03/12/2022 01:15:30", "mm_jj_aaaa_hh_mn_ss"), "12/03/2022 01:15:30");
  // Tenths after the seconds are ignored; no seconds code reads "00".
  EXPECT_EQ(lire_seul("12/03/2022 01:15:30.7", "jj_mm_aaaa hh_mn_ss.s"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("12/03/2022 01:15", "jj_mm_aaaa hh_mn"), "12/03/2022 01:15:00");
  // Quotes around the field.
  EXPECT_EQ(lire_seul("\"2022/03/12 01:15:30\"", "aaaa_mm_jj_hh_mn_ss"), "12/03/2022 01:15:30");
  // A text whose seconds are cut short reads "00".
  EXPECT_EQ(lire_seul("2022/03/12 01:15:", "aaaa_mm_jj_hh_mn_ss"), "12/03/2022 01:15:00");
  EXPECT_TRUE(journal.vide());
  EXPECT_EQ(etat.nb_dates_inversees, 0);
}

TEST_F(LecteurDates, FormatsDeDateSeuleEtAnneeADeuxChiffres) {
  EXPECT_EQ(lire_seul("12/03/2022", "jj_mm_aaaa"), "12/03/2022 00:00:00");
  EXPECT_EQ(lire_seul("2022-03-12", "aaaa_mm_jj"), "12/03/2022 00:00:00");
  EXPECT_EQ(lire_seul("03/12/2022", "mm_jj_aaaa"), "12/03/2022 00:00:00");
  EXPECT_EQ(lire_seul("22/03/12", "20aa_mm_jj"), "12/03/2022 00:00:00");
  EXPECT_EQ(lire_seul("22/03/12 01:15", "20aa_mm_jj_hh_mn"), "12/03/2022 01:15:00");
  EXPECT_EQ(lire_seul("99/12/31 23:59:59", "19aa_mm_jj_hh_mn_ss"), "31/12/1999 23:59:59");
  // The century digits after the month: day, month, then the year.
  EXPECT_EQ(lire_seul("12/03/22 01:15:30", "jj_mm_20aa_hh_mn_ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(lire_seul("12/03/22", "jj_mm_20aa"), "12/03/2022 00:00:00");
  // A two-digit year without its century cannot be read.
  EXPECT_EQ(lire_seul("12/03/22 01:15:30", "jj_mm_aa_hh_mn_ss"), "");
  EXPECT_TRUE(journal.vide());
}

TEST_F(LecteurDates, DateFixeEnTeteEtHeureSeule) {
  EXPECT_EQ(lire("01:15:30", "2022/03/12 hh:mn:ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(etat.date_fixe_du_format, "2022_03_12_");
  EXPECT_EQ(etat.format_memorise, "aaaa_mm_jj_hh_mn_ss");
  // A full date-time is read as such under the same format.
  EXPECT_EQ(lire("2022/03/13 02:00:00", "2022/03/12 hh:mn:ss"), "13/03/2022 02:00:00");

  EtatLecteurDates jour_d_abord;
  EXPECT_EQ(normaliser_date_mesure("23:59:59", "12-03-2022 hh:mn:ss", jour_d_abord, journal),
            "12/03/2022 23:59:59");
  EXPECT_EQ(jour_d_abord.date_fixe_du_format, "12_03_2022_");
  EXPECT_EQ(jour_d_abord.format_memorise, "jj_mm_aaaa_hh_mn_ss");

  // A time alone is dated today by the clock.
  etat = EtatLecteurDates{};
  etat.horloge = [] { return k12Mars2022 + 0.75; };
  EXPECT_EQ(lire("01:15:30", "hh_mn_ss"), "12/03/2022 01:15:30");
  EXPECT_EQ(etat.format_memorise, "hh_mn_ss");
  etat.horloge = [] { return k12Mars2022 + 1; };
  EXPECT_EQ(lire("01:15:31", "hh_mn_ss"), "13/03/2022 01:15:31");
  EXPECT_EQ(lire("1:15:30", "hh_mn_ss"), "");
  EXPECT_TRUE(journal.vide());
}

TEST_F(LecteurDates, OrdreInverseCompteEtSignaleParSerie) {
  const std::string format = "aaaa_mm_jj_hh_mn_ss";
  EXPECT_EQ(lire("12/03/2022 01:15:30", format), "12/03/2022 01:15:30");
  EXPECT_EQ(etat.nb_dates_inversees, 1);
  EXPECT_EQ(etat.nb_dates_inversees_suite, 1);
  ASSERT_EQ(journal.taille(), 1u);
  EXPECT_EQ(journal.derniere(), "12/03/2022 01:15:30 date invers\u00e9e mais corrig\u00e9e");
  EXPECT_EQ(lire("13/03/2022 01:15:30", format), "13/03/2022 01:15:30");
  EXPECT_EQ(etat.nb_dates_inversees, 2);
  EXPECT_EQ(etat.nb_dates_inversees_suite, 2);
  EXPECT_EQ(journal.taille(), 1u);
  // A line in the expected order ends the series.
  EXPECT_EQ(lire("2022/03/14 00:00:00", format), "14/03/2022 00:00:00");
  EXPECT_EQ(etat.nb_dates_inversees, 2);
  EXPECT_EQ(etat.nb_dates_inversees_suite, 0);
  EXPECT_EQ(lire("15/03/2022 00:00:00", format), "15/03/2022 00:00:00");
  EXPECT_EQ(etat.nb_dates_inversees, 3);
  ASSERT_EQ(journal.taille(), 2u);
  EXPECT_EQ(journal.derniere(), "15/03/2022 00:00:00 date invers\u00e9e mais corrig\u00e9e");

  // Day-first format, year-first line.
  EtatLecteurDates autre;
  EXPECT_EQ(normaliser_date_mesure("2022-03-12 01:15:30", "jj_mm_aaaa_hh_mn_ss", autre, journal),
            "12/03/2022 01:15:30");
  EXPECT_EQ(autre.nb_dates_inversees, 1);
  // A line that no order makes a year is not counted as corrected.
  EtatLecteurDates illisible;
  EXPECT_EQ(normaliser_date_mesure("ab/cd/efgh 0123456789", format, illisible, journal), "");
  EXPECT_EQ(illisible.nb_dates_inversees, 0);
  EXPECT_EQ(journal.derniere(),
            " + erreur date : ab/cd/efgh 01:34:  corriger <ab/cd/efgh 0123456789>");
}

TEST_F(LecteurDates, ReglesDesChampsEtSentinelles) {
  EXPECT_EQ(lire_seul("32/01/2022 00:00:00", "jj_mm_aaaa_hh_mn_ss"), "");
  ASSERT_EQ(journal.taille(), 1u);
  EXPECT_EQ(journal.derniere(),
            " + erreur date : 32/01/2022 00:00:  corriger <32/01/2022 00:00:00>");
  EXPECT_EQ(lire_seul("12/00/2022 00:00:00", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(lire_seul("12/13/2022 00:00:00", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(lire_seul("12/03/2022 31:00:00", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(journal.derniere(),
            " + erreur date : 12/03/2022 31:00:  corriger <12/03/2022 31:00:00>");
  EXPECT_EQ(lire_seul("12/03/2022 01:60:00", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(lire_seul("12/03/2022 29:00:00", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(lire_seul("12/03/2022 01:15:60", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(journal.taille(), 7u);
  // 31 February passes these rules; the conversion turns it down.
  EXPECT_EQ(lire_seul("31/02/2022 00:00:00", "jj_mm_aaaa_hh_mn_ss"), "31/02/2022 00:00:00");

  EXPECT_EQ(lire_seul("", "jj_mm_aaaa_hh_mn_ss"), "??");
  EXPECT_EQ(lire_seul("", "multiformat"), "??");
  // Too few numeric characters: no date, no line.
  EXPECT_EQ(lire_seul("12/03/22", "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(lire_seul("date inconnue", "jj_mm_aaaa_hh_mn_ss"), "");
  // No year code: capitals are fillers.
  EXPECT_EQ(lire_seul("12/03/2022 01:15:30", "jj_mm_hh_mn_ss"), "01/01/1900 00:00:00");
  EXPECT_EQ(lire_seul("2022/03/12 01:15:30", "AAAA_MM_JJ_HH_MN_SS"), "01/01/1900 00:00:00");
  EXPECT_EQ(journal.taille(), 7u);
}

// A text that is not zero-padded is read field by field, a 12-hour mark is
// applied, the hour 24 ends the day, compact dates read on, and an offset
// that ends the text is taken away under "zz".
TEST_F(LecteurDates, DispositionsDuTerrain) {
  struct Cas {
    const char* texte;
    const char* format;
    const char* attendu;
  };
  for (const Cas& c : {
           // Fields not zero-padded.
           Cas{"11/9/2019 0:00", "mm/jj/aaaa hh:mn", "09/11/2019 00:00:00"},
           Cas{"12/4/2019 13:05", "mm/jj/aaaa hh:mn", "04/12/2019 13:05:00"},
           Cas{"1-3-2021 7:5:00", "jj-mm-aaaa hh:mn:ss", "01/03/2021 07:05:00"},
           Cas{"11/19/2019 7:05:00", "mm_jj_aaaa_hh_mn_ss", "19/11/2019 07:05:00"},
           Cas{"2019- 7-01 10:15:30", "aaaa_mm_jj_hh_mn_ss", "01/07/2019 10:15:30"},
           Cas{"7/12/2009 13:42:05.5", "jj/mm/aaaa hh:mn:ss.s", "07/12/2009 13:42:05"},
           Cas{"12/4/2019", "mm/jj/aaaa", "04/12/2019 00:00:00"},
           // 12-hour clocks: 12 AM is midnight, 12 PM noon.
           Cas{"11/15/2021 01:00:00 PM", "mm_jj_aaaa_hh_mn_ss", "15/11/2021 13:00:00"},
           Cas{"11/15/2021 01:00 a.m.", "mm_jj_aaaa_hh_mn", "15/11/2021 01:00:00"},
           Cas{"15/11/21 12:00:00 am", "jj_mm_20aa_hh_mn_ss", "15/11/2021 00:00:00"},
           Cas{"11/15/21 12:10:00 PM", "mm/jj/20aa hh:mn:ss AM/PM", "15/11/2021 12:10:00"},
           Cas{"11/15/21 1:10:00 PM", "mm/jj/20aa hh:mn:ss AM/PM", "15/11/2021 13:10:00"},
           Cas{"20-03-06 01:00:00 PM", "20aa-mm-jj hh:mn:ss AM/PM", "06/03/2020 13:00:00"},
           // Compact dates, an hour column, the hour 24.
           Cas{"20000101 1", "aaaammjj hh", "01/01/2000 01:00:00"},
           Cas{"20000101 24", "aaaammjj hh", "02/01/2000 00:00:00"},
           Cas{"20000101 2400", "aaaammjj hhmn", "02/01/2000 00:00:00"},
           Cas{"20191231 730", "aaaammjj hhmn", "31/12/2019 07:30:00"},
           Cas{"201901011530", "aaaammjjhhmn", "01/01/2019 15:30:00"},
           Cas{"20000101", "aaaammjj", "01/01/2000 00:00:00"},
           Cas{"31/12/2019 24:00:00", "jj_mm_aaaa_hh_mn_ss", "01/01/2020 00:00:00"},
           // Offsets, taken away to give UTC, or the zone the format names.
           Cas{"2019-07-01T10:15:30.250+02:00", "aaaa-mm-jjThh:mn:ss.szz", "01/07/2019 08:15:30"},
           Cas{"2019-07-01T00:30:00-05:00", "aaaa-mm-jjThh:mn:sszz", "01/07/2019 05:30:00"},
           Cas{"2019-07-01T10:15:30Z", "aaaa-mm-jjThh:mn:sszz UTC+01:00", "01/07/2019 11:15:30"},
           Cas{"2019-03-31T03:30:00+02:00", "aaaa-mm-jjThh:mn:ss zz UTC+01:00",
               "31/03/2019 02:30:00"},
           Cas{"2019-03-31T01:30:00+01:00", "aaaa-mm-jjThh:mn:ss zz UTC+01:00",
               "31/03/2019 01:30:00"},
           Cas{"14/05/2009 0:00:00 +02:00", "jj/mm/aaaa hh:mn:ss zz UTC+01:00",
               "13/05/2009 23:00:00"},
           Cas{"20190701T1015+0200", "aaaammjjThhmnzz", "01/07/2019 08:15:00"},
           Cas{"\"2019-07-01 10:15 GMT-05\"", "aaaa-mm-jj hh:mn zz UTC-5", "01/07/2019 10:15:00"},
       }) {
    journal.vider();
    EXPECT_EQ(lire_seul(c.texte, c.format), c.attendu) << c.texte << " / " << c.format;
    EXPECT_TRUE(journal.vide()) << c.texte << " / " << c.format;
  }
}

// A text that no reading makes a date, or that is laid out in a way the
// multiformat reader does not take, is unreadable with a log line, never
// read at the wrong place.
TEST_F(LecteurDates, TexteDUneAutreDispositionIllisible) {
  struct Cas {
    const char* texte;
    const char* format;
  };
  for (const Cas& c : {
           Cas{"11/15/2021 00:08:00 PM", "mm_jj_aaaa_hh_mn_ss"},
           Cas{"11/15/2021 13:08:00 PM", "mm_jj_aaaa_hh_mn_ss"},
           Cas{"11/15/21 13:10:00", "mm/jj/20aa hh:mn:ss AM/PM"},
           Cas{"31/12/2019 24:00:01", "jj_mm_aaaa_hh_mn_ss"},
           Cas{"31/12/2019 7:60", "jj_mm_aaaa_hh_mn"},
           Cas{"2019-07-01 10:15:30", "aaaa-mm-jj hh:mn:sszz"},
           Cas{"11/9/2019 0:00", "mm/dd/yyyy OU yyyy/dd/mm"},
           Cas{"11/19/2019 7:05:00", "mm/dd/yyyy OU yyyy/dd/mm"},
           Cas{"11/19/2019 10:5:00", "jj/mm/aaaa OU aaaa/mm/jj"},
           Cas{"2019-7-1 10:05", "multiformat"},
           Cas{"11/15/2021 01:00:00 PM", "mm/dd/yyyy OU yyyy/dd/mm"},
           Cas{"11/15/2021 25:00", "multiformat"},
       }) {
    journal.vider();
    EXPECT_EQ(lire_seul(c.texte, c.format), "") << c.texte << " / " << c.format;
    EXPECT_EQ(journal.taille(), 1u) << c.texte << " / " << c.format;
  }
  EXPECT_EQ(journal.derniere(), " + erreur date :   corriger <11/15/2021 25:00>");
  // Readable layouts stay readable: a tail without a 12-hour mark or under
  // a format without "zz", a missing code read at the head of its unit.
  EXPECT_EQ(lire_seul("2019-07-01T10:15:30Z", "aaaa-mm-jjThh:mn:ss"), "01/07/2019 10:15:30");
  EXPECT_EQ(lire_seul("2019-07-01T10:15:30+02:00", "aaaa-mm-jjThh:mn:ss"), "01/07/2019 10:15:30");
  EXPECT_EQ(lire_seul("2019-07-01 10:15 Amsterdam", "aaaa_mm_jj_hh_mn"), "01/07/2019 10:15:00");
  EXPECT_EQ(lire_seul("2019-07-01 10", "aaaa_mm_jj_hh"), "01/07/2019 10:00:00");
  EXPECT_EQ(lire_seul("2019-07 10:00", "aaaa_mm hh:mn"), "01/07/2019 10:00:00");
  EXPECT_EQ(lire_seul("11/19/2019 10:05 PMT", "mm/dd/yyyy OU yyyy/dd/mm"), "19/11/2019 10:05:00");
  EXPECT_TRUE(marque_douze_heures(" PM"));
  EXPECT_TRUE(marque_douze_heures("a.m."));
  EXPECT_FALSE(marque_douze_heures(" AMS"));
  EXPECT_FALSE(marque_douze_heures("+02:00"));
}

// Every text the reader read before it learned the field-by-field reading,
// the 12-hour marks, the hour 24, compact dates and offsets is read the same
// way, with the same log lines; a text it refused may now be read, and then
// as a real date (tests/data/dates/README.md).
TEST(LecturesDAvant, MemesDatesPourLesTextesDejaLus) {
  std::ifstream f(std::string(TAMSO_DONNEES_TEST) + "dates/lectures_avant.tsv");
  ASSERT_TRUE(f);
  std::string ligne, courant = "\x01";
  EtatLecteurDates etat;
  JournalSuivi journal;
  int deja_lus = 0, nouveaux = 0;
  int inversions_avant = 0;
  while (std::getline(f, ligne)) {
    std::vector<std::string> c;
    for (std::size_t debut = 0;;) {
      const std::size_t tab = ligne.find('\t', debut);
      c.push_back(ligne.substr(debut, tab - debut));
      if (tab == std::string::npos) break;
      debut = tab + 1;
    }
    ASSERT_EQ(c.size(), 5u) << ligne;
    const std::string &format = c[0], &texte = c[1], &avant = c[2];
    if (format != courant) {
      courant = format;
      etat = EtatLecteurDates{};
      etat.horloge = [] { return 44632.5; };
      preparer_lecteur_dates_listage(etat);
      journal.vider();
      inversions_avant = 0;
    }
    const std::size_t lignes = journal.taille();
    const int inversions = etat.nb_dates_inversees;
    const int inversees_avant = std::stoi(c[4]) - inversions_avant;
    inversions_avant = std::stoi(c[4]);
    const std::string lu = normaliser_date_mesure(texte, format, etat, journal);
    if (!avant.empty()) {
      ++deja_lus;
      ASSERT_EQ(lu, avant) << format << " <" << texte << ">";
      int erreurs = 0;
      for (std::size_t k = lignes; k < journal.taille(); ++k)
        erreurs += journal.lignes()[k].rfind(" + erreur date", 0) == 0;
      EXPECT_EQ(std::to_string(erreurs), c[3]) << format << " <" << texte << ">";
      EXPECT_EQ(etat.nb_dates_inversees - inversions, inversees_avant)
          << format << " <" << texte << ">";
    } else if (!lu.empty()) {
      ++nouveaux;
      ASSERT_TRUE(texte_en_date(lu, nullptr, journal).has_value())
          << format << " <" << texte << ">";
    }
  }
  EXPECT_GT(deja_lus, 1000);
  EXPECT_GT(nouveaux, 100);
}

// An unreadable-date run writes only the lines it is allowed to.
TEST_F(LecteurDates, LignesDErreurLimitees) {
  etat.erreurs_a_journaliser = 2;
  for (const char* t : {"32/01/2022 00:00:00", "33/01/2022 00:00:00", "34/01/2022 00:00:00"})
    EXPECT_EQ(lire(t, "jj_mm_aaaa_hh_mn_ss"), "");
  EXPECT_EQ(journal.taille(), 2u);
  EXPECT_EQ(etat.erreurs_a_journaliser, 0);
}

TEST_F(LecteurDates, FormatMemoriseJusquAuListageSuivant) {
  EXPECT_EQ(lire("03/04/2022 00:00:00", "jj_mm_aaaa_hh_mn_ss"), "03/04/2022 00:00:00");
  EXPECT_EQ(etat.format_memorise, "jj_mm_aaaa_hh_mn_ss");
  // A format edited after the listing waits for the next listing.
  EXPECT_EQ(lire("03/04/2022 00:00:00", "mm_jj_aaaa_hh_mn_ss"), "03/04/2022 00:00:00");
  preparer_lecteur_dates_listage(etat);
  EXPECT_TRUE(etat.format_memorise.empty());
  EXPECT_TRUE(etat.premiere_date_multiformat);
  EXPECT_EQ(lire("03/04/2022 00:00:00", "mm_jj_aaaa_hh_mn_ss"), "04/03/2022 00:00:00");
  EXPECT_EQ(etat.format_memorise, "mm_jj_aaaa_hh_mn_ss");
  // Normalisation: every character but digits and a h j m n s is a filler.
  memoriser_format("aaaa/mm/jj T hh:mn:ss.s #E", etat);
  EXPECT_EQ(etat.format_memorise, "aaaa_mm_jj___hh_mn_ss_s___");
  EXPECT_EQ(etat.date_fixe_du_format, "");
  // The multiformat reader leaves the memorised format alone.
  preparer_lecteur_dates_listage(etat);
  lire("03/04/2022", "mm/dd/yyyy OU yyyy/dd/mm");
  EXPECT_TRUE(etat.format_memorise.empty());

  etat.nb_dates_inversees = 4;
  etat.nb_dates_inversees_suite = 2;
  etat.date_multiformat_precedente = 12.5;
  preparer_lecteur_dates_traitement(etat);
  EXPECT_FALSE(etat.premiere_date_multiformat);
  EXPECT_EQ(etat.nb_dates_inversees, 0);
  EXPECT_EQ(etat.nb_dates_inversees_suite, 0);
  EXPECT_EQ(etat.date_multiformat_precedente, 12.5);
}

TEST_F(LecteurDates, MultiformatAnneeEnTeteOuEnFin) {
  EXPECT_EQ(variante_multiformat("multiformat"), VarianteMultiformat::jour_d_abord);
  EXPECT_EQ(variante_multiformat("aaaa OU jj"), VarianteMultiformat::jour_d_abord);
  EXPECT_EQ(variante_multiformat("mm/dd/yyyy OU yyyy/dd/mm"), VarianteMultiformat::us);
  EXPECT_EQ(variante_multiformat("jj/mm/aaaa OU aaaa/mm/jj"), VarianteMultiformat::jj_mm_aaaa);
  EXPECT_EQ(variante_multiformat("multiformat_dt_mini_1\u00e8reUE"),
            VarianteMultiformat::proche_ue);
  EXPECT_EQ(variante_multiformat("multiformat_dt_mini_1\u00e8reUS"),
            VarianteMultiformat::proche_us);
  EXPECT_EQ(variante_multiformat("jj/mm/aaaa OU mm/dd/yyyy"), VarianteMultiformat::us);

  for (const char* format : {"multiformat", "jj/mm/aaaa OU aaaa/mm/jj", "x OU y"}) {
    EXPECT_EQ(lire("03/04/2022 10:20", format), "03/04/2022 10:20:00") << format;
    EXPECT_EQ(lire(" 2022-04-03T10:20:30.25 ", format), "03/04/2022 10:20:30") << format;
    EXPECT_EQ(lire("03-04-2022", format), "03/04/2022 00:00:00") << format;
    // No four-digit year at the head or after two fields.
    EXPECT_EQ(lire("3/4/2022 10:20:30", format), "02/01/1900 10:20:30") << format;
    // A time at the very start is not taken, and the year is then elsewhere.
    EXPECT_EQ(lire("10:20 03/04/2022", format), "02/01/1900 00:00:00") << format;
  }
  // Month first unless the first field is above 12.
  const char* us = "mm/dd/yyyy OU yyyy/dd/mm";
  EXPECT_EQ(lire("03/04/2022", us), "04/03/2022 00:00:00");
  EXPECT_EQ(lire("25/04/2022", us), "25/04/2022 00:00:00");
  EXPECT_EQ(lire("12/04/2022 08:00:00", us), "04/12/2022 08:00:00");
  EXPECT_EQ(lire("2022/04/25 08:00:00", us), "25/04/2022 08:00:00");
  EXPECT_EQ(lire("xx/04/2022", us), "");
  ASSERT_EQ(journal.taille(), 1u);
  EXPECT_EQ(journal.derniere(), " + erreur date :   corriger <xx/04/2022>");
}

TEST_F(LecteurDates, MultiformatLectureLaPlusProcheDeLaPrecedente) {
  const char* ue = "multiformat_dt_mini_1\u00e8reUE";
  const char* us = "multiformat_dt_mini_1\u00e8reUS";
  // First date of a listing: the variant's own order.
  preparer_lecteur_dates_listage(etat);
  EXPECT_EQ(lire("04/05/2022 12:00", us), "05/04/2022 12:00:00");
  EXPECT_FALSE(etat.premiere_date_multiformat);
  EXPECT_DOUBLE_EQ(etat.date_multiformat_precedente, k5Avril2022 + 0.5);
  // Then the reading nearest to the previous date, whatever the variant.
  EXPECT_EQ(lire("04/06/2022", us), "06/04/2022 00:00:00");
  EXPECT_EQ(lire("07/04/2022", us), "07/04/2022 00:00:00");
  EXPECT_DOUBLE_EQ(etat.date_multiformat_precedente, k5Avril2022 + 2);
  // Only one reading is a date: it is taken.
  EXPECT_EQ(lire("04/13/2022", us), "13/04/2022 00:00:00");
  EXPECT_EQ(lire("14/04/2022", us), "14/04/2022 00:00:00");
  // Day and month equal: one date.
  EXPECT_EQ(lire("04/04/2022", us), "04/04/2022 00:00:00");
  // A year-first text is read as such and leaves the previous date alone.
  EXPECT_EQ(lire("2022-12-01", us), "01/12/2022 00:00:00");
  EXPECT_DOUBLE_EQ(etat.date_multiformat_precedente, k5Avril2022 - 1);
  // No reading is a date: no date, nothing remembered.
  EXPECT_EQ(lire("31/31/2022", us), "");
  EXPECT_EQ(lire("ab/04/2022", us), "");
  EXPECT_DOUBLE_EQ(etat.date_multiformat_precedente, k5Avril2022 - 1);
  EXPECT_EQ(journal.taille(), 2u);
  journal.vider();

  preparer_lecteur_dates_listage(etat);
  EXPECT_EQ(lire("04/05/2022", ue), "04/05/2022 00:00:00");
  EXPECT_DOUBLE_EQ(etat.date_multiformat_precedente, k5Avril2022 + 29);
  // The first date after a listing with only one valid reading.
  preparer_lecteur_dates_listage(etat);
  EXPECT_EQ(lire("05/25/2022", ue), "25/05/2022 00:00:00");
  EXPECT_FALSE(etat.premiere_date_multiformat);

  // A processing run starts from the listing's last date.
  etat.date_multiformat_precedente = k5Avril2022;
  preparer_lecteur_dates_traitement(etat);
  EXPECT_EQ(lire("06/04/2022", us), "06/04/2022 00:00:00");
  // Equal distances: day first.
  etat.date_multiformat_precedente = (*encoder_date(2022, 2, 3) + *encoder_date(2022, 3, 2)) / 2;
  EXPECT_EQ(lire("02/03/2022", us), "02/03/2022 00:00:00");
  EXPECT_TRUE(journal.vide());
}

TEST(FormatsProposes, QuatreListesEtDoubleClic) {
  const auto listes = listes_formats_proposes();
  ASSERT_EQ(listes.size(), 4u);
  EXPECT_EQ(listes[0].nom, "ListBox_date_fic");
  EXPECT_EQ(listes[0].edit, "Edit_f_date_fichier");
  EXPECT_EQ(listes[0].bouton, "SpeedButton_date_fic");
  EXPECT_EQ(listes[0].largeur, 255);
  EXPECT_EQ(listes[0].hauteur, 128);
  ASSERT_EQ(listes[0].entrees.size(), 7u);
  EXPECT_EQ(listes[0].entrees[3], "(20)4,3,2");
  EXPECT_EQ(listes[0].entrees[6], "3(xxxx),/,3(0000xx),/,3(000000xx)");
  EXPECT_EQ(listes[1].nom, "ListBox_date_heure");
  EXPECT_EQ(listes[1].edit, "Edit_format_datetime_mesure");
  EXPECT_EQ(listes[1].hauteur, 300);
  // Ready-made field layouts come after the eleven formats of before, which
  // keep their places.
  ASSERT_EQ(listes[1].entrees.size(), 17u);
  EXPECT_EQ(listes[1].entrees[2], "jj_mm_20aa_hh_mn_ss");
  EXPECT_EQ(listes[1].entrees[10], "multiformat_dt_mini_1\u00e8reUS");
  EXPECT_EQ(listes[2].nom, "ListBox_date");
  EXPECT_EQ(listes[2].edit, "Edit_format_date_mesure_seule");
  EXPECT_EQ(listes[2].largeur, 200);
  EXPECT_EQ(listes[2].hauteur, 96);
  ASSERT_EQ(listes[2].entrees.size(), 5u);
  EXPECT_EQ(listes[2].entrees[3], "20aa_mm_jj");
  EXPECT_EQ(listes[3].nom, "ListBox_heure");
  EXPECT_EQ(listes[3].edit, "Edit_format_time_mesure_seul");
  EXPECT_EQ(listes[3].hauteur, 128);
  ASSERT_EQ(listes[3].entrees.size(), 7u);
  EXPECT_EQ(listes[3].entrees[2], "hh_mn_ss.s");

  EXPECT_EQ(indice_format_propose(kListeDateFichier, "20aammjj"), 4);
  EXPECT_EQ(indice_format_propose(kListeDateHeure, "aaaa_mm_jj_hh_mn_ss"), 0);
  EXPECT_EQ(indice_format_propose(kListeHeure, "hh:mn:ss"), -1);
  // Only the date-time and date lists drop a "(" comment.
  EXPECT_EQ(format_choisi(kListeDateHeure, "jj/mm/aaaa OU aaaa/mm/jj"), "jj/mm/aaaa OU aaaa/mm/jj");
  EXPECT_EQ(format_choisi(kListeDateHeure, "aaaa_mm_jj_hh_mn_ss (ISO) "), "aaaa_mm_jj_hh_mn_ss");
  EXPECT_EQ(format_choisi(kListeDate, " jj_mm_aaaa(FR)"), "jj_mm_aaaa");
  EXPECT_EQ(format_choisi(kListeDateFichier, "(20)4,3,2"), "(20)4,3,2");
  EXPECT_EQ(format_choisi(kListeHeure, "hh_mn_ss.s"), "hh_mn_ss.s");
}

// ---------------------------------------------------------------- round trips

struct DateHeure {
  int an, mois, jour, heure, minute, seconde, dixieme;
};

class Generateur {
 public:
  explicit Generateur(unsigned graine) : alea_(graine) {}
  DateHeure tirer(int an_min, int an_max) {
    DateHeure d{};
    d.an = entre(an_min, an_max);
    d.mois = entre(1, 12);
    d.jour = entre(1, 31);
    while (!encoder_date(d.an, d.mois, d.jour)) --d.jour;
    d.heure = entre(0, 23);
    d.minute = entre(0, 59);
    d.seconde = entre(0, 59);
    d.dixieme = entre(0, 9);
    return d;
  }
  int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(alea_); }

 private:
  std::mt19937 alea_;
};

// A date written after a model: %Y the year, %y its last two digits, %m %d
// %H %M %S on two digits, %t the tenth of a second, %I the hour of a 12-hour
// clock and %p its mark; after "-" (%-d, %-H, ...) a field is not padded;
// other characters as they are.
std::string ecrire(std::string_view modele, const DateHeure& d) {
  std::string r;
  for (std::size_t i = 0; i < modele.size(); ++i) {
    if (modele[i] != '%') {
      r += modele[i];
      continue;
    }
    const bool sans_zero = modele[i + 1] == '-';
    if (sans_zero) ++i;
    const char code = modele[++i];
    if (code == 'p') {
      r += d.heure < 12 ? "AM" : "PM";
      continue;
    }
    char b[8];
    const int v = code == 'Y'   ? d.an
                  : code == 'y' ? d.an % 100
                  : code == 'm' ? d.mois
                  : code == 'd' ? d.jour
                  : code == 'H' ? d.heure
                  : code == 'I' ? (d.heure % 12 == 0 ? 12 : d.heure % 12)
                  : code == 'M' ? d.minute
                  : code == 'S' ? d.seconde
                                : d.dixieme;
    std::snprintf(b, sizeof b,
                  code == 'Y'                    ? "%04d"
                  : code == 't' || sans_zero ? "%d"
                                                 : "%02d",
                  v);
    r += b;
  }
  return r;
}

double valeur(const DateHeure& d, bool avec_heure = true, bool avec_secondes = true,
              bool avec_minutes = true) {
  if (!avec_heure) return *encoder_date(d.an, d.mois, d.jour);
  return *encoder_date(d.an, d.mois, d.jour, d.heure, avec_minutes ? d.minute : 0,
                       avec_secondes ? d.seconde : 0);
}

struct CasFormat {
  std::string format;
  int an_min, an_max;
  std::string modele, autre_modele = "";  // the other one every second date
  bool avec_heure = true, avec_secondes = true;
  int minutes_ajoutees = 0;  // the zone of the results, from dates written in UTC
  bool avec_minutes = true;
};

TEST(FormatsProposes, ChaqueFormatRelitLaDateEcrite) {
  std::vector<CasFormat> cas = {
      {"aaaa_mm_jj_hh_mn_ss", 1900, 2100, "%Y-%m-%d %H:%M:%S"},
      {"jj_mm_aaaa_hh_mn_ss", 1900, 2100, "%d/%m/%Y %H:%M:%S"},
      {"jj_mm_20aa_hh_mn_ss", 2000, 2099, "%d/%m/%y %H:%M:%S"},
      {"mm_jj_aaaa_hh_mn_ss", 1900, 2100, "%m/%d/%Y %H:%M:%S"},
      {"19aa_mm_jj_hh_mn_ss", 1900, 1999, "%y/%m/%d %H:%M:%S"},
      {"20aa_mm_jj_hh_mn_ss", 2000, 2099, "%y/%m/%d %H:%M:%S"},
      {"jj_mm_aaaa", 1900, 2100, "%d/%m/%Y", "", false},
      {"jj/mm/aaaa OU aaaa/mm/jj", 1900, 2100, "%Y-%m-%dT%H:%M:%S", "%d/%m/%Y %H:%M:%S"},
      {"mm/dd/yyyy OU yyyy/dd/mm", 1900, 2100, "%Y/%m/%d %H:%M:%S", "%m/%d/%Y %H:%M:%S"},
      {"mm/jj/aaaa hh:mn:ss", 1900, 2100, "%-m/%-d/%Y %-H:%-M:%-S", "%m/%d/%Y %H:%M:%S"},
      {"mm/jj/20aa hh:mn:ss AM/PM", 2000, 2099, "%-m/%-d/%y %-I:%M:%S %p", "%m/%d/%y %I:%M:%S %p"},
      {"aaaammjjhhmn", 1900, 2100, "%Y%m%d%H%M", "", true, false},
      {"aaaa-mm-jjThh:mn:ss.szz UTC", 1900, 2100, "%Y-%m-%dT%H:%M:%S.%tZ",
       "%Y-%m-%dT%H:%M:%S+00:00"},
      {"aaaa-mm-jjThh:mn:ss.szz UTC+01:00", 1900, 2100, "%Y-%m-%dT%H:%M:%S.%tZ", "", true, true,
       60},
      {"jj/mm/aaaa hh:mn:ss zz UTC+01:00", 1900, 2100, "%-d/%m/%Y %-H:%M:%S +00:00",
       "%d/%m/%Y %H:%M:%S Z", true, true, 60},
  };
  // Two-column layouts: every proposed date format with every proposed time format.
  for (const auto& [format_date, date] : {std::pair{"aaaa_mm_jj", "%Y/%m/%d"},
                                          {"jj_mm_aaaa", "%d/%m/%Y"},
                                          {"mm_jj_aaaa", "%m-%d-%Y"},
                                          {"20aa_mm_jj", "%y/%m/%d"},
                                          {"aaaammjj", "%Y%m%d"}}) {
    const bool siecle = std::string_view(format_date) == "20aa_mm_jj";
    const int an_min = siecle ? 2000 : 1900, an_max = siecle ? 2099 : 2100;
    const std::string f = format_date, m = date;
    cas.push_back({f + " hh_mn_ss", an_min, an_max, m + " %H:%M:%S"});
    cas.push_back({f + " hh_mn", an_min, an_max, m + " %H:%M", "", true, false});
    cas.push_back({f + " hh_mn_ss.s", an_min, an_max, m + " %H:%M:%S.%t"});
    cas.push_back({f + " hh", an_min, an_max, m + " %-H", "", true, false, 0, false});
    cas.push_back({f + " hhmn", an_min, an_max, m + " %H%M", "", true, false});
    cas.push_back({f + " hh:mn:ss AM/PM", an_min, an_max, m + " %-I:%M:%S %p"});
    cas.push_back({f + " hh:mn:sszz UTC", an_min, an_max, m + " %H:%M:%SZ"});
  }
  // Every entry of the format lists is covered.
  for (const auto* liste : {&kListeDateHeure, &kListeDate, &kListeHeure})
    for (const std::string_view entree : liste->entrees) {
      const std::string format = format_choisi(*liste, entree);
      bool couvert = false;
      for (const auto& c : cas) couvert = couvert || c.format.find(format) != std::string::npos;
      couvert = couvert || entree.starts_with("multiformat_dt_mini");
      EXPECT_TRUE(couvert) << entree;
    }

  Generateur alea(20220312);
  for (const CasFormat& c : cas) {
    EtatLecteurDates etat;
    JournalSuivi journal;
    preparer_lecteur_dates_listage(etat);
    for (int i = 0; i < 400; ++i) {
      const DateHeure d = alea.tirer(c.an_min, c.an_max);
      const bool autre = i % 2 && !c.autre_modele.empty();
      const std::string texte = ecrire(autre ? c.autre_modele : c.modele, d);
      const std::string normal = normaliser_date_mesure(texte, c.format, etat, journal);
      const double attendu = valeur(d, c.avec_heure, c.avec_secondes, c.avec_minutes);
      const auto lu = texte_en_date(normal, nullptr, journal);
      ASSERT_TRUE(lu) << c.format << " <" << texte << "> " << normal;
      ASSERT_EQ(date_heure_en_texte(*lu),
                date_heure_en_texte(attendu + c.minutes_ajoutees / 1440.0))
          << c.format << " <" << texte << "> " << normal;
    }
    EXPECT_TRUE(journal.vide()) << c.format;
    EXPECT_EQ(etat.nb_dates_inversees, 0) << c.format;
  }

  // The nearest-date variants read series of dates a few hours apart.
  for (const bool europeen : {true, false}) {
    const std::string format =
        europeen ? "multiformat_dt_mini_1\u00e8reUE" : "multiformat_dt_mini_1\u00e8reUS";
    EtatLecteurDates etat;
    JournalSuivi journal;
    for (int serie = 0; serie < 40; ++serie) {
      preparer_lecteur_dates_listage(etat);
      const DateHeure depart = alea.tirer(1900, 2099);
      double v = *encoder_date(depart.an, depart.mois, depart.jour, depart.heure);
      for (int i = 0; i < 60; ++i) {
        v += alea.entre(0, 6 * 3600) / 86400.0;
        const ChampsDate c = decoder_date(v);
        const DateHeure d{c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde, 0};
        const std::string texte = ecrire(europeen ? "%d/%m/%Y %H:%M:%S" : "%m/%d/%Y %H:%M:%S", d);
        const std::string normal = normaliser_date_mesure(texte, format, etat, journal);
        ASSERT_EQ(texte_en_date(normal, nullptr, journal), valeur(d))
            << format << " <" << texte << "> " << normal;
      }
    }
    EXPECT_TRUE(journal.vide());
  }
}

TEST(LecteursDatesHostiles, TexteQuelconqueDonneUneSentinelleOuUneDateCanonique) {
  std::mt19937 alea(7);
  const std::string alphabet = "0123456789012345/:-T. \"aE,;_()x";
  const char* formats[] = {"aaaa_mm_jj_hh_mn_ss",
                           "jj_mm_20aa",
                           "2022/03/12 hh:mn:ss",
                           "hh_mn_ss",
                           "mm/dd/yyyy OU yyyy/dd/mm",
                           "multiformat_dt_mini_1\u00e8reUS",
                           "",
                           "aaaa"};
  JournalSuivi journal;
  int nb_dates = 0;
  for (int i = 0; i < 20000; ++i) {
    // Random characters, or a well-formed date with a few characters changed.
    const char* modeles[] = {"2022/03/12 01:15:30", "12/03/2022 01:15:30", "01:15:30", "22/03/12"};
    std::string texte(std::uniform_int_distribution<int>(0, 30)(alea), ' ');
    if (i % 2) texte = modeles[alea() % 4];
    for (int k = i % 2 ? alea() % 3 : static_cast<int>(texte.size()); k > 0; --k)
      texte[alea() % texte.size()] = alphabet[alea() % alphabet.size()];
    EtatLecteurDates etat;
    etat.horloge = [] { return 44632.5; };
    const std::string normal = normaliser_date_mesure(texte, formats[i % 8], etat, journal);
    // Whatever is accepted is written back exactly as read.
    if (const double v = texte_en_date(normal, nullptr, journal).value_or(0.0); v >= 1.0) {
      ++nb_dates;
      ASSERT_EQ(date_heure_en_texte(v), normal) << "<" << texte << "> " << formats[i % 8];
    }
    std::string date;
    double valeur = -1;
    date_nom_fichier(texte, texte.substr(0, 12), valeur, date, journal, [] { return 9.0; });
    ASSERT_TRUE(date.empty() || (date.size() == 10 && date[4] == '/' && date[7] == '/')) << date;
    extraire_paquets(texte, texte.substr(texte.size() / 2));
  }
  EXPECT_GT(nb_dates, 1000);
}

}  // namespace
}  // namespace tamso
