#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/date_format.h"
#include "input/dates.h"
#include "input/text.h"
#include "processing/fast_lines.h"

namespace tamso {
namespace {

// ---------------------------------------------------------------- plain numbers

std::string virgule_en_point(std::string t) {
  for (char& c : t)
    if (c == ',') c = '.';
  return t;
}

// The same value, down to the sign of a zero.
bool memes_bits(long double a, long double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}
bool memes_bits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Compares the fast number reader with the general one on one text.
::testing::AssertionResult comme_le_lecteur_general(const std::string& t) {
  long double l = 0;
  double c = 0;
  if (!lire_nombre_simple(t, l, c)) return ::testing::AssertionSuccess();
  const auto attendu_long = lire_decimal_strict_long(virgule_en_point(t));
  const auto attendu = lire_decimal_strict(virgule_en_point(t));
  if (!attendu_long || !attendu)
    return ::testing::AssertionFailure()
           << "<" << t << "> read although the general reader refuses it";
  if (!memes_bits(l, *attendu_long) || !memes_bits(c, *attendu))
    return ::testing::AssertionFailure() << "<" << t << "> long " << static_cast<double>(l)
                                         << " court " << c << " attendu " << *attendu;
  return ::testing::AssertionSuccess();
}

bool accepte(const std::string& t) {
  long double l = 0;
  double c = 0;
  return lire_nombre_simple(t, l, c);
}

TEST(NombreSimple, RandomPlainDecimalsReadAsTheGeneralReaderReadsThem) {
  std::mt19937_64 g(43);
  std::uniform_int_distribution<int> de(0, 1 << 20);
  int lus = 0;
  for (int i = 0; i < 60000; ++i) {
    const int nb_chiffres = 1 + de(g) % 19;
    const int zeros = de(g) % 3 == 0 ? de(g) % (nb_chiffres + 1) : 0;
    std::string chiffres;
    std::uint64_t m = 0;
    for (int k = 0; k < nb_chiffres; ++k) {
      const char c = k < zeros ? '0' : static_cast<char>('0' + de(g) % 10);
      chiffres += c;
      m = m * 10 + static_cast<std::uint64_t>(c - '0');
    }
    // The mark anywhere: before the first digit, between two, after the last, or none.
    const int place = de(g) % (nb_chiffres + 2) - 1;
    std::string t;
    const int signe = de(g) % 3;
    if (signe == 1) t += '+';
    if (signe == 2) t += '-';
    for (int k = 0; k <= nb_chiffres; ++k) {
      if (k == place) t += de(g) % 2 ? ',' : '.';
      if (k < nb_chiffres) t += chiffres[static_cast<std::size_t>(k)];
    }
    long double l = 0;
    double c = 0;
    const bool ok = lire_nombre_simple(t, l, c);
    // Every mantissa a double holds exactly is read here.
    if (m <= (std::uint64_t{1} << 53)) {
      EXPECT_TRUE(ok) << t;
    }
    EXPECT_TRUE(comme_le_lecteur_general(t));
    lus += ok;
  }
  EXPECT_GT(lus, 40000);
}

TEST(NombreSimple, EdgeForms) {
  for (const char* t : {"0",
                        "-0",
                        "+0",
                        "-0,0",
                        "0.",
                        ".5",
                        ",5",
                        "5.",
                        "5,",
                        "-.5",
                        "+,5",
                        "007",
                        "-007,50",
                        "9007199254740992",
                        "9007199254740993",
                        "900719925474099,3",
                        "0,000000000000000001",
                        "1234567890123456789",
                        "0.1",
                        "0,3",
                        "2.675",
                        "1013,2",
                        "-99999",
                        "123456.7890123",
                        "0.5",
                        "1.0000000000000002"}) {
    EXPECT_TRUE(comme_le_lecteur_general(t));
  }
  for (const char* t : {"0", "-0", ".5", "5.", "-.5", "9007199254740992", "0,000000000000000001"})
    EXPECT_TRUE(accepte(t)) << t;
  long double l = 1;
  double c = 1;
  ASSERT_TRUE(lire_nombre_simple("-0", l, c));
  EXPECT_TRUE(std::signbit(l));
  EXPECT_TRUE(std::signbit(c));
  ASSERT_TRUE(lire_nombre_simple("-007,50", l, c));
  EXPECT_EQ(l, -7.5L);
  EXPECT_EQ(c, -7.5);
  ASSERT_TRUE(lire_nombre_simple("0,1", l, c));
  EXPECT_EQ(l, 0.1L);  // the long value is rounded once, not from the double
  EXPECT_EQ(c, 0.1);
  ASSERT_TRUE(lire_nombre_simple("1013,2", l, c));
  EXPECT_EQ(l, 1013.2L);
}

TEST(NombreSimple, AnythingElseIsRefused) {
  for (const char* t : {"",
                        "-",
                        "+",
                        ".",
                        ",",
                        "-.",
                        "1E3",
                        "1e3",
                        "1,5E2",
                        "2e-1",
                        "<0,5",
                        "<5",
                        "1.2.3",
                        "1,2.3",
                        "1,,2",
                        " 5",
                        "5 ",
                        "5 0",
                        "--5",
                        "+-5",
                        "5-",
                        "5+",
                        "abc",
                        "NA",
                        "inf",
                        "nan",
                        "0x10",
                        "1_5",
                        "\"1\"",
                        "12345678901234567890",
                        "00000000000000000001",
                        "0,0000000000000000001",
                        "99999999999999999999999"}) {
    EXPECT_FALSE(accepte(t)) << "<" << t << ">";
  }
}

// ---------------------------------------------------------------- plan

struct Reglages {
  std::string format = "aaaa-mm-jj hh:mn:ss";
  char separateur = ';';
  bool deux_colonnes = false;
  int col_datetime = 1, col_date = 1, col_time = 2;
  std::vector<int> colonnes = {2, 3, 4};
  std::vector<std::string> na = {"NA", "-99999"};
  bool seuil_bas = false, seuil_haut = false;
  double bas = 0, haut = 0;
  char separateur_decimal = ',';
};

PlanLecture plan(const Reglages& r) {
  EtatLecteurDates etat;
  memoriser_format(r.format, etat);
  return construire_plan(etat, contient(r.format, "multiformat"), r.separateur, r.deux_colonnes,
                         r.col_datetime, r.col_date, r.col_time, r.colonnes, r.na, r.seuil_bas,
                         r.bas, r.seuil_haut, r.haut, r.separateur_decimal);
}

struct Lue {
  bool lue = false;
  double t = 0;
  std::vector<long double> valeurs;
  std::uint64_t manquants = 0;
};

Lue lire(const PlanLecture& p, std::string_view ligne) {
  Lue r;
  std::array<long double, 64> v{};
  r.lue = lire_ligne_rapide(p, ligne, r.t, v.data(), r.manquants);
  if (r.lue)
    r.valeurs.assign(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(p.colonnes.size()));
  return r;
}

double date(int a, int mo, int j, int h, int mn, int s) {
  return *encoder_date(a, mo, j, h, mn, s);
}

TEST(PlanLecture, ActiveOnlyForFormatsReadByPosition) {
  EXPECT_TRUE(plan({}).actif);
  Reglages r;
  r.format = "jj/mm/aaaa hh:mn:ss";
  EXPECT_TRUE(plan(r).actif);
  r.format = "aaaa-mm-jj hh:mn";
  EXPECT_TRUE(plan(r).actif);
  r.format = "aaaammjj hhmnss";  // compact: read on past the tenth character
  EXPECT_TRUE(plan(r).actif);
  // A 12-hour clock or an offset is left to the date reader.
  for (const char* f : {"aaaa-mm-jj", "hh:mn:ss", "jj/mm/aa hh:mn:ss", "aaaa-mm-jj hh",
                        "multiformat_dt", "mm/jj/aaaa hh:mn:ss AM", "aaaa-mm-jjThh:mn:sszz"}) {
    r.format = f;
    EXPECT_FALSE(plan(r).actif) << f;
  }
  // No format memorised yet.
  EtatLecteurDates vide;
  EXPECT_FALSE(
      construire_plan(vide, false, ';', false, 1, 1, 2, {2}, {}, false, 0, false, 0, ',').actif);
  r = {};
  r.colonnes.assign(64, 2);
  EXPECT_TRUE(plan(r).actif);
  r.colonnes.assign(65, 2);
  EXPECT_FALSE(plan(r).actif);
  r.colonnes = {0, 2};
  EXPECT_FALSE(plan(r).actif);
  r.colonnes = {2, 257};
  EXPECT_FALSE(plan(r).actif);
  r = {};
  r.col_datetime = 0;
  EXPECT_FALSE(plan(r).actif);
}

// A line read fast: its date, its values in the order of the listed columns
// (those of missing fields aside), the bits of its missing fields.
struct CasLigne {
  const char* nom;
  Reglages r;
  std::string ligne;
  std::optional<double> t;  // nothing: left to the step-by-step reader
  std::vector<long double> valeurs = {};
  std::uint64_t manquants = 0;
};

TEST(LigneRapide, DatesValuesAndMissingFields) {
  const double t = date(2021, 11, 7, 10, 7, 0);
  const std::vector<long double> v123 = {1.0L, 2.0L, 3.0L};
  const Reglages deux{.deux_colonnes = true, .colonnes = {3, 4}};
  const Reglages seuils{
      .colonnes = {2, 3, 4, 5}, .seuil_bas = true, .seuil_haut = true, .bas = -50, .haut = 100};
  Reglages seuil_bas = seuils;
  seuil_bas.seuil_haut = false;
  const CasLigne cas[] = {
      {"simple", {}, "2021-11-07 10:07:00;12,345;456,7;-1", t, {12.345L, 456.7L, -1.0L}},
      {"zéros et signes",
       {},
       "2020-02-29 23:59:59;0;+5;-0",
       date(2020, 2, 29, 23, 59, 59),
       {0.0L, 5.0L, -0.0L}},
      // Spaces around fields, a leading separator, fields beyond the last one read.
      {"espaces", {}, "  2021-11-07 10:07:00 ;  1,5 ;2 ; 3  ", t, {1.5L, 2.0L, 3.0L}},
      {"séparateur en tête", {}, ";2021-11-07 10:07:00;1.5;2;3", t, {1.5L, 2.0L, 3.0L}},
      {"champs en trop", {}, "2021-11-07 10:07:00;1,5;2;3;99;abc;\"x\"", t, {1.5L, 2.0L, 3.0L}},
      // The date codes are read by position: what lies between them and after
      // the seconds does not count.
      {"codes par position", {}, "2021/11/07T10h07m00;1;2;3", t, v123},
      {"dixièmes", {}, "2021-11-07 10:07:00.750;1;2;3", t, v123},
      {"texte après", {}, "2021-11-07_10:07:00 UTC;1;2;3", t, v123},
      // Empty fields, missing-data texts and missing fields.
      {"manquants", {}, "2021-11-07 10:07:00;;NA;-99999", t, {}, 0b111},
      {"trop peu de champs", {}, "2021-11-07 10:07:00;7", t, {7.0L, 0, 0}, 0b110},
      {"NA entouré de blancs", {}, "2021-11-07 10:07:00; NA ;8;   ", t, {0, 8.0L, 0}, 0b101},
      // A missing-data text written with the other decimal mark matches once
      // its marks become the computer's separator.
      {"texte manquant, virgule",
       {.colonnes = {2, 3}, .na = {"-99999,0"}},
       "2021-11-07 10:07:00;-99999.0;-99999,0",
       t,
       {},
       0b11},
      {"texte manquant, point",
       {.colonnes = {2, 3}, .na = {"-99999,0"}, .separateur_decimal = '.'},
       "2021-11-07 10:07:00;-99999.0;-99999,0",
       t,
       {-99999.0L, 0},
       0b10},
      {"ordre des colonnes", {.colonnes = {4, 2}}, "2021-11-07 10:07:00;1;NA;3", t, {3.0L, 1.0L}},
      // Thresholds: a value beyond one is missing, one equal to it is kept.
      {"seuils",
       seuils,
       "2021-11-07 10:07:00;-50;-50,001;100;100,5",
       t,
       {-50.0L, 0, 100.0L, 0},
       0b1010},
      {"seuil bas seul",
       seuil_bas,
       "2021-11-07 10:07:00;-50;-50,001;100;100,5",
       t,
       {-50.0L, 0, 100.0L, 100.5L},
       0b0010},
      // A two-digit year after its century digits: the reader puts the
      // century into the text, then reads the four-digit year.
      {"20aa, jour d'abord", {.format = "jj/mm/20aa hh:mn:ss"}, "07/11/21 10:07:00;1;2;3", t, v123},
      {"20aa, 2099",
       {.format = "jj/mm/20aa hh:mn:ss"},
       "07/11/99 23:59:59;1;2;3",
       date(2099, 11, 7, 23, 59, 59),
       v123},
      {"20aa, année d'abord",
       {.format = "20aa-mm-jj hh:mn:ss"},
       "21-11-07 10:07:00;1;2;3",
       t,
       v123},
      {"19aa",
       {.format = "19aa-mm-jj hh:mn:ss"},
       "85-01-31 00:00:00;1;2;3",
       date(1985, 1, 31, 0, 0, 0),
       v123},
      {"20aa, heure 25", {.format = "20aa-mm-jj hh:mn:ss"}, "21-11-07 25:07:00;1;2;3", {}},
      {"20aa, 29 février", {.format = "20aa-mm-jj hh:mn:ss"}, "21-02-29 10:07:00;1;2;3", {}},
      // Date and time in two columns, in either order.
      {"deux colonnes", deux, "2021-11-07;10:07:00;1;2", t, {1.0L, 2.0L}},
      {"heure puis date",
       {.deux_colonnes = true, .col_date = 2, .col_time = 1, .colonnes = {3, 4}},
       "10:07:00;2021-11-07;1;2",
       t,
       {1.0L, 2.0L}},
      {"heure puis date, lue dans l'autre ordre",
       {.deux_colonnes = true, .col_date = 2, .col_time = 1, .colonnes = {3, 4}},
       "2021-11-07;10:07:00;1;2",
       {}},
      // The space separator: runs of spaces are one separator.
      {"espaces, deux colonnes",
       {.separateur = ' ', .deux_colonnes = true, .colonnes = {3, 4}},
       "   2021-11-07   10:07:00  1,5     -2   ",
       t,
       {1.5L, -2.0L}},
      {"espaces, T",
       {.format = "aaaa-mm-jjThh:mn:ss", .separateur = ' ', .colonnes = {2, 3}},
       "2021-11-07T10:07:00 1,5  NA",
       t,
       {1.5L, 0},
       0b10},
      // The comma separator with decimal points.
      {"virgule", {.separateur = ','}, "2021-11-07 10:07:00,1.25,,-3", t, {1.25L, 0, -3.0L}, 0b010},
      {"jour d'abord", {.format = "jj/mm/aaaa hh:mn:ss"}, "07/11/2021 10:07:00;1;2;3", t, v123},
      {"jour d'abord, année en tête",
       {.format = "jj/mm/aaaa hh:mn:ss"},
       "2021-11-07 10:07:00;1;2;3",
       {}},
      // No seconds in the format: the seconds of the text are not read.
      {"sans secondes", {.format = "aaaa-mm-jj hh:mn"}, "2021-11-07 10:07:45;1;2;3", t, v123},
      {"sans secondes, texte sans",
       {.format = "aaaa-mm-jj hh:mn"},
       "2021-11-07 10:07;1;2;3",
       t,
       v123},
      // A format carrying a fixed date: a time alone takes that date, which is
      // left to the step-by-step reader; a full date-time is read as usual.
      {"date fixe, heure seule", {.format = "2022/03/12 hh:mn:ss"}, "10:07:00;1;2;3", {}},
      {"date fixe", {.format = "2022/03/12 hh:mn:ss"}, "2021-11-07 10:07:00;1;2;3", t, v123},
      // An inactive plan reads nothing.
      {"multiformat", {.format = "multiformat"}, "2021-11-07 10:07:00;1;2;3", {}},
  };
  for (const CasLigne& c : cas) {
    SCOPED_TRACE(c.nom);
    const Lue l = lire(plan(c.r), c.ligne);
    ASSERT_EQ(l.lue, c.t.has_value());
    if (!c.t) continue;
    EXPECT_EQ(l.t, *c.t);
    EXPECT_EQ(l.manquants, c.manquants);
    for (std::size_t k = 0; k < c.valeurs.size(); ++k) {
      if (!(c.manquants >> k & 1)) {
        EXPECT_TRUE(memes_bits(l.valeurs[k], c.valeurs[k])) << k;
      }
    }
  }
  EXPECT_TRUE(plan({.format = "2022/03/12 hh:mn:ss"}).actif);
}

TEST(LigneRapide, LinesLeftToTheStepByStepReader) {
  const PlanLecture p = plan({});
  for (const std::string& ligne : {
           std::string("\"2021-11-07 \"10:07:00;1;2;3"),  // a quote inside the date
           std::string("2021-\"11-07 10:07:00\";1;2;3"),
           std::string("2021-11-07 10:07:00;\"1\"\"\";2;3"),  // a doubled quote in a value
           std::string("2021-11-07 10:07:00;\"1\"5;2;3"),     // text after the closing quote
           std::string("2021-11-07 10:07:00;2;\"3\x01\";4"),  // a control byte inside quotes
           std::string("2021-11-07 10:07:00;1\x01;2;3"),      // a NUL byte made readable
           std::string("2021-11-07 10:07:00;1\t;2;3"),
           std::string("2021-11-07\t10:07:00;1;2;3"),
           std::string("07/11/2021 10:07:00;1;2;3"),  // the other date order
           std::string("2021-11-07 29:00:00;1;2;3"),
           std::string("2021-02-31 10:07:00;1;2;3"),  // 31 February
           std::string("2021-02-29 10:07:00;1;2;3"),  // not a leap year
           std::string("2021-13-07 10:07:00;1;2;3"),
           std::string("2021-11-00 10:07:00;1;2;3"),
           std::string("2021-11-32 10:07:00;1;2;3"),
           std::string("2021-11-07 10:60:00;1;2;3"),
           std::string("2021-11-07 10:07:60;1;2;3"),
           std::string("0000-11-07 10:07:00;1;2;3"),
           std::string("2021-11-07 1O:07:00;1;2;3"),  // a letter O
           std::string("2021-11-07 10:07:00;<0,5;2;3"),
           std::string("2021-11-07 10:07:00;1E3;2;3"),
           std::string("2021-11-07 10:07:00;1,5E2;2;3"),
           std::string("2021-11-07 10:07:00;abc;2;3"),  // an unknown text
           std::string("2021-11-07 10:07:00;1;2;n/a"),
           std::string("2021-11-07 10:07:00;1;2;12345678901234567890"),
           std::string(";1;2;3"),  // no date
           std::string("   "),
           std::string(""),
       }) {
    EXPECT_FALSE(lire(p, ligne).lue) << "<" << ligne << ">";
  }
}

// Dates that are not zero-padded, cut short or at the hour 24 are read
// field by field, as the date reader reads them.
TEST(LigneRapide, DatesReadFieldByField) {
  const PlanLecture p = plan({});
  for (const auto& [ligne, attendu] : {
           std::pair{"2021-11-07 24:00:00;1;2;3", date(2021, 11, 8, 0, 0, 0)},
           {"2021-11-07 10:07;1;2;3", date(2021, 11, 7, 10, 7, 0)},
           {"2021-11-07 10:07:0;1;2;3", date(2021, 11, 7, 10, 7, 0)},
           {"2021-11-7 9:7:5;1;2;3", date(2021, 11, 7, 9, 7, 5)},
       }) {
    const auto r = lire(p, ligne);
    ASSERT_TRUE(r.lue) << ligne;
    EXPECT_EQ(r.t, attendu) << ligne;
  }
}

// A quoted field is read without its quotes: a quoted date, quoted numbers,
// quotes holding the separator or spaces.
TEST(LigneRapide, QuotedFieldsReadWithoutTheirQuotes) {
  const PlanLecture p = plan({});
  for (const char* ligne :
       {"\"2021-11-07 10:07:00\";1;2;3", " \"2021-11-07 10:07:00\" ;\"1\"; \" 2,0 \" ;\"3\"",
        "\"2021-11-07 10:07:00\";\"1\";2;\"3\";\"x;\"\"y\"\"\""}) {
    const Lue l = lire(p, ligne);
    ASSERT_TRUE(l.lue) << ligne;
    EXPECT_EQ(l.t, date(2021, 11, 7, 10, 7, 0)) << ligne;
    EXPECT_EQ(l.valeurs, (std::vector<long double>{1.0L, 2.0L, 3.0L})) << ligne;
    EXPECT_EQ(l.manquants, 0U) << ligne;
  }
  // A separator inside quotes does not separate: "1,5" with the comma is 1.5.
  Reglages r;
  r.separateur = ',';
  Lue l = lire(plan(r), "\"2021-11-07 10:07:00\",\"1,5\",\"\",\"NA\"");
  ASSERT_TRUE(l.lue);
  EXPECT_EQ(l.valeurs[0], 1.5L);
  EXPECT_EQ(l.manquants, 0b110U);
  // Date and time in two quoted fields.
  r = {};
  r.deux_colonnes = true;
  r.colonnes = {3, 4};
  l = lire(plan(r), "\"2021-11-07\";\"10:07:00\";1;2");
  ASSERT_TRUE(l.lue);
  EXPECT_EQ(l.t, date(2021, 11, 7, 10, 7, 0));
  EXPECT_EQ(l.valeurs, (std::vector<long double>{1.0L, 2.0L}));
  // An unclosed quote takes the rest of the line: the values are missing.
  l = lire(p, "\"2021-11-07 10:07:00;1;2;3");
  if (l.lue) {
    EXPECT_EQ(l.manquants, 0b111U);
  }
  // A quote the date reader keeps on a code makes the date unreadable.
  for (const char* ligne : {"\"\"2021-11-07 10:07:00;1;2;3", "\"2021-11-07\" \"10:07:00\";1;2;3",
                            "\"\"\"2021-11-07 10:07:00\";1;2;3"})
    EXPECT_FALSE(lire(p, ligne).lue) << ligne;
}

// A line that begins with the separator: dropped, or closing an empty
// field 1, as the plan says for its file.
TEST(LigneRapide, LeadingSeparator) {
  Reglages r;
  r.col_datetime = 2;
  r.colonnes = {1, 3, 4};
  PlanLecture p = plan(r);
  Lue l = lire(p, ";2021-11-07 10:07:00;1;2");
  EXPECT_FALSE(l.lue);  // read as if the date were field 1
  p.initial = SeparateurInitial::champ_vide;
  for (const char* ligne : {";2021-11-07 10:07:00;1;2", ";\"2021-11-07 10:07:00\";\"1\";2"}) {
    l = lire(p, ligne);
    ASSERT_TRUE(l.lue) << ligne;
    EXPECT_EQ(l.t, date(2021, 11, 7, 10, 7, 0));
    EXPECT_EQ(l.manquants, 0b001U);
    EXPECT_EQ(l.valeurs[1], 1.0L);
    EXPECT_EQ(l.valeurs[2], 2.0L);
  }
}

// Written in the other order, a two-digit year reads as another date
// (2007-11-21): never as 2021-11-07.
TEST(LigneRapide, TwoDigitYearsInTheOtherOrder) {
  const Lue l = lire(plan({.format = "20aa-mm-jj hh:mn:ss"}), "07/11/21 10:07:00;1;2;3");
  if (l.lue) {
    EXPECT_EQ(l.t, date(2007, 11, 21, 10, 7, 0));
  }
}

TEST(LigneRapide, VeryLongDateTexts) {
  Reglages r;
  r.deux_colonnes = true;
  r.colonnes = {3};
  const PlanLecture p = plan(r);
  for (const std::size_t n : {40u, 62u, 63u, 64u, 65u, 200u}) {
    const std::string ligne = "2021-11-07;10:07:00" + std::string(n, '9') + ";1";
    const Lue l = lire(p, ligne);
    // Read or not, a long text is never read as another date.
    if (l.lue) {
      EXPECT_EQ(l.t, date(2021, 11, 7, 10, 7, 0)) << n;
      EXPECT_EQ(l.valeurs[0], 1.0L) << n;
    }
  }
}

TEST(LignesRapides, ABlockOfLines) {
  const PlanLecture p = plan({});
  const std::vector<std::string> lignes = {
      "2021-11-07 10:07:00;1;2;3",   "",           "   ",
      "2021-11-07 10:08:00;;NA;4,5", "Date;A;B;C", "2021-11-07 10:09:00;<1;2;3",
      "2021-11-07 10:10:00;7;8;9"};
  std::string texte;
  std::vector<std::uint32_t> debuts, longueurs;
  for (const auto& l : lignes) {
    texte += "##";  // bytes between the lines are never read
    debuts.push_back(static_cast<std::uint32_t>(texte.size()));
    longueurs.push_back(static_cast<std::uint32_t>(l.size()));
    texte += l;
  }
  LignesLues sortie;
  sortie.statuts.push_back(StatutLigne::vide);  // what a previous block left is cleared
  lire_lignes_rapides(p, texte.data(), debuts, longueurs, sortie);
  using S = StatutLigne;
  EXPECT_EQ(sortie.statuts, (std::vector<S>{S::rapide, S::vide, S::reference, S::rapide,
                                            S::reference, S::reference, S::rapide}));
  EXPECT_EQ(sortie.blanches, (std::vector<std::uint8_t>{0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(sortie.temps,
            (std::vector<double>{date(2021, 11, 7, 10, 7, 0), date(2021, 11, 7, 10, 8, 0),
                                 date(2021, 11, 7, 10, 10, 0)}));
  EXPECT_EQ(sortie.manquants, (std::vector<std::uint64_t>{0, 0b011, 0}));
  ASSERT_EQ(sortie.valeurs.size(), 9u);
  EXPECT_EQ(sortie.valeurs[0], 1.0L);
  EXPECT_EQ(sortie.valeurs[2], 3.0L);
  EXPECT_EQ(sortie.valeurs[5], 4.5L);
  EXPECT_EQ(sortie.valeurs[6], 7.0L);
  EXPECT_EQ(sortie.valeurs[8], 9.0L);
}

}  // namespace
}  // namespace tamso
