#include <cmath>

#include <gtest/gtest.h>

#include "base/tracking_log.h"
#include "input/text.h"

namespace tamso {
namespace {

TEST(Champ, EmptyFieldsBetweenAdjacentSeparators) {
  EXPECT_EQ(champ("a;;b", 1, ';'), "a");
  EXPECT_EQ(champ("a;;b", 2, ';'), "");
  EXPECT_EQ(champ("a;;b", 3, ';'), "b");
  EXPECT_EQ(champ("a;;b", 4, ';'), "");
  // A leading separator does not make an empty first field.
  EXPECT_EQ(champ(";a;b", 1, ';'), "a");
  EXPECT_EQ(champ("x", 1, ','), "x");
  EXPECT_EQ(champ("x", 2, ','), "");
  EXPECT_EQ(champ("a;b", 0, ';'), "");
  EXPECT_EQ(champ("", 1, ';'), "");
  EXPECT_EQ(champ("a;b;", 3, ';'), "");
}

TEST(Champ, SpaceSeparatorJoinsRunsOfSpaces) {
  EXPECT_EQ(champ("   12   13", 1, ' '), "12");
  EXPECT_EQ(champ("   12   13", 2, ' '), "13");
  EXPECT_EQ(champ("   12   13   ", 3, ' '), "");
  // Tabs stay inside a space-separated field.
  EXPECT_EQ(champ("a\tb c", 1, ' '), "a\tb");
}

TEST(Champ, TrimsSpacesKeepsTabs) {
  EXPECT_EQ(champ(" 1,5 ;  2 ", 1, ';'), "1,5");
  EXPECT_EQ(champ(" 1,5 ;  2 ", 2, ';'), "2");
  EXPECT_EQ(champ("a;\tb\t;c", 2, ';'), "\tb\t");
  EXPECT_EQ(champ_vue("10,2,,4", 4, ','), "4");
}

// One field of one line, and what the field reader must give for it.
struct CasChamp {
  const char* ligne;
  char separateur;
  int n;
  const char* attendu;
  SeparateurInitial initial = SeparateurInitial::ignore;
};

constexpr auto kVide = SeparateurInitial::champ_vide;

const CasChamp kCasChamps[] = {
    // A quoted field holds the separator.
    {"\"Temp; C\";x", ';', 1, "Temp; C"},
    {"\"Temp; C\";x", ';', 2, "x"},
    {"\"Date Time, GMT-05:00\",\"Temp, \xB0"
     "C\",RH",
     ',', 2,
     "Temp, \xB0"
     "C"},
    {"\"Date Time, GMT-05:00\",\"Temp, \xB0"
     "C\",RH",
     ',', 3, "RH"},
    {"\"BAO\",\"14/05/2009 12:00:00 +02:00\",\"1026,675\",\"16,373\"", ',', 3, "1026,675"},
    {"\"BAO\",\"14/05/2009 12:00:00 +02:00\",\"1026,675\",\"16,373\"", ',', 4, "16,373"},
    {"\"2024-07-21 00:00:00\",2270,\"13.48\"", ',', 3, "13.48"},
    // A doubled quote stands for one, and does not close the field.
    {"\"dit \"\"oui\"\"; non\";2", ';', 1, "dit \"oui\"; non"},
    {"\"dit \"\"oui\"\"; non\";2", ';', 2, "2"},
    {"\"\"\"\";2", ';', 1, "\""},
    // An unclosed quote runs to the end of the line.
    {"1;\"a;b;c", ';', 2, "a;b;c"},
    {"1;\"a;b;c", ';', 3, ""},
    {"1;\"a\"\";b", ';', 2, "a\";b"},
    // A quoted empty field.
    {"a;\"\";b", ';', 2, ""},
    {"a;\"\";b", ';', 3, "b"},
    {"a,\"\"", ',', 2, ""},
    // Spaces around the quotes are trimmed, and so are those inside them.
    {"  \"a;b\"  ;c", ';', 1, "a;b"},
    {"  \"a;b\"  ;c", ';', 2, "c"},
    {"\" 8,5 \";c", ';', 1, "8,5"},
    // Text between the closing quote and the separator is kept.
    {"\"a;b\"c;d", ';', 1, "a;bc"},
    {"\"a\" b;d", ';', 1, "a b"},
    {"\"a\" b;d", ';', 2, "d"},
    // A quote inside a field opens nothing.
    {"a\"b;c\"", ';', 1, "a\"b"},
    {"a\"b;c\"", ';', 2, "c\""},
    // Tab separator.
    {"\"a\tb\"\tc", '\t', 1, "a\tb"},
    {"\"a\tb\"\tc", '\t', 2, "c"},
    {"x\t\t\"y\"", '\t', 3, "y"},
    // Space separator: a quoted field keeps its spaces.
    {"  \"Date Time\"   \"Temp C\" 12", ' ', 1, "Date Time"},
    {"  \"Date Time\"   \"Temp C\" 12", ' ', 2, "Temp C"},
    {"  \"Date Time\"   \"Temp C\" 12", ' ', 3, "12"},
    {"\"a  b\"x y", ' ', 1, "a  bx"},
    {"\"a  b\"x y", ' ', 2, "y"},
    {"1 \"a b", ' ', 2, "a b"},
    // A leading separator: dropped, or closing an empty field 1.
    {";a;b", ';', 1, "a"},
    {";a;b", ';', 2, "b"},
    {";a;b", ';', 1, "", kVide},
    {";a;b", ';', 2, "a", kVide},
    {";a;b", ';', 3, "b", kVide},
    {",\"x,y\",z", ',', 2, "x,y", kVide},
    {",\"x,y\",z", ',', 1, "x,y"},
    {"\t2\t3", '\t', 1, "", kVide},
    {"\t2\t3", '\t', 2, "2", kVide},
    {"a;b", ';', 1, "a", kVide},
    {"a;;b", ';', 3, "b", kVide},
    {";", ';', 1, "", kVide},
    {";", ';', 2, "", kVide},
    {"", ';', 1, "", kVide},
    // Leading spaces before the separator: already an empty field 1.
    {" ;a", ';', 1, ""},
    // The space separator ignores leading spaces either way.
    {"  12 13", ' ', 1, "12", kVide},
    {"  12 13", ' ', 2, "13", kVide},
};

TEST(Champ, QuotedFieldsAndLeadingSeparator) {
  for (const CasChamp& c : kCasChamps) {
    SCOPED_TRACE(std::string("<") + c.ligne + "> champ " + std::to_string(c.n) +
                 (c.initial == kVide ? ", champ vide en tête" : ""));
    EXPECT_EQ(champ(c.ligne, c.n, c.separateur, c.initial), c.attendu);
    // A line cut once gives every field as `champ` does.
    EXPECT_EQ(ChampsLigne(c.ligne, c.separateur, c.initial)(c.n), c.attendu);
    // The view gives the same text whenever that text is a piece of the line.
    const std::string_view vue = champ_vue(c.ligne, c.n, c.separateur, c.initial);
    if (std::string_view(c.ligne).find("\"\"") == std::string_view::npos &&
        vue.find('"') == std::string_view::npos) {
      EXPECT_EQ(vue, c.attendu);
    }
  }
}

TEST(Champ, ViewOfAQuotedFieldThatIsNoPieceOfTheLine) {
  // Its text cannot be shown by a view: the field comes as written.
  EXPECT_EQ(champ_vue("\"dit \"\"oui\"\"\";2", 1, ';'), "\"dit \"\"oui\"\"\"");
  EXPECT_EQ(champ_vue(" \"a\" b ;2", 1, ';'), "\"a\" b");
  EXPECT_EQ(champ_vue(" \"a b\" ;2", 1, ';'), "a b");
  std::string_view t;
  EXPECT_FALSE(texte_champ_vue("\"a\"\"b\"", t));
  EXPECT_FALSE(texte_champ_vue("\"a\"b", t));
  ASSERT_TRUE(texte_champ_vue("  \" a \"  ", t));
  EXPECT_EQ(t, "a");
}

TEST(Champ, FieldsOneAfterTheOther) {
  LecteurChamps l("\"a;b\";;\"c\";d\"e", ';', kVide);
  std::vector<std::string> champs;
  for (std::string_view brut; l.suivant(brut);) champs.push_back(texte_champ(brut));
  EXPECT_EQ(champs, (std::vector<std::string>{"a;b", "", "c", "d\"e"}));
}

TEST(SeparateurInitial, FollowsTheReferenceLine) {
  EXPECT_EQ(separateur_initial("Date;Temp", ';'), SeparateurInitial::champ_vide);
  EXPECT_EQ(separateur_initial(";Date;Temp", ';'), SeparateurInitial::ignore);
  EXPECT_EQ(separateur_initial(" ;Date", ';'), SeparateurInitial::champ_vide);
  EXPECT_EQ(separateur_initial(",a", ';'), SeparateurInitial::champ_vide);
  EXPECT_EQ(separateur_initial(",a", ','), SeparateurInitial::ignore);
  EXPECT_EQ(separateur_initial("", ','), SeparateurInitial::champ_vide);
}

TEST(CompterSeparateurs, SeparatorsInsideQuotedFieldsDoNotCount) {
  EXPECT_EQ(compter_separateurs("a,b,,c", ','), 3);
  EXPECT_EQ(compter_separateurs(",a", ','), 1);
  EXPECT_EQ(compter_separateurs("\"a,b\",c", ','), 1);
  EXPECT_EQ(compter_separateurs(" \"a,\"\",b\" ,c,\"d", ','), 2);
  EXPECT_EQ(compter_separateurs("1,\"a,b,c", ','), 1);
  EXPECT_EQ(compter_separateurs("a\"b,c\",d", ','), 2);
  EXPECT_EQ(compter_separateurs("\"Date Time\" \"Temp C\"", ' '), 1);
}

TEST(IntitulesEnTabulations, QuotedTitlesStayWhole) {
  EXPECT_EQ(intitules_en_tabulations("Date,Temp;Hum\tVent"), "Date\tTemp\tHum\tVent");
  // Quotes that open no title become spaces.
  EXPECT_EQ(intitules_en_tabulations("Temp\"C;Hum"), "Temp C\tHum");
  const std::string t = intitules_en_tabulations("Date; \"KB 8,2 [mmol/l]\";\"a;\"\"b\";c\"d");
  EXPECT_EQ(t, "Date\t \"KB 8,2 [mmol/l]\"\t\"a;\"\"b\"\tc d");
  EXPECT_EQ(champ(t, 2, '\t'), "KB 8,2 [mmol/l]");
  EXPECT_EQ(champ(t, 3, '\t'), "a;\"b");
  EXPECT_EQ(champ(t, 4, '\t'), "c d");
}

TEST(LigneEspacesVersSeparateur, AlignedColumnsBecomeSeparated) {
  EXPECT_EQ(ligne_espaces_vers_separateur("ab", ';'), "");
  EXPECT_EQ(ligne_espaces_vers_separateur("Date    Heure   Niveau", ';'), "Date;Heure;Niveau");
  // A one-letter unit after a title word is joined to it.
  EXPECT_EQ(ligne_espaces_vers_separateur("Date  Temp C  Cond", ';'), "Date;Temp_C;Cond");
  EXPECT_EQ(ligne_espaces_vers_separateur("  12.5   13.25  ", ' '), "12.5 13.25");
  // A quoted title keeps its spaces, runs included.
  EXPECT_EQ(ligne_espaces_vers_separateur("Date  \"Temp  C\"   Hum K", ';'),
            "Date;\"Temp  C\";Hum_K");
  EXPECT_EQ(ligne_espaces_vers_separateur("\"Date Time\" \"Temp C  ", ','),
            "\"Date Time\",\"Temp C  ");
}

TEST(CompterColonnes, CountsAndLogsBothLines) {
  JournalSuivi j;
  int ni = 0, nd = 0;
  compter_colonnes("  Date   Heure  Niveau ", "2021-01-01 10:00:00 1.5 2.5", ni, nd, j);
  EXPECT_EQ(ni, 3);
  EXPECT_EQ(nd, 4);
  ASSERT_EQ(j.taille(), 2u);
  EXPECT_EQ(j.lignes()[0], "nb col (intitulé) = 3");
  EXPECT_EQ(j.lignes()[1], "nb col (données)  = 4");
}

TEST(CompterColonnes, SpacesInsideQuotedTitlesDoNotSeparate) {
  JournalSuivi j;
  int ni = 0, nd = 0;
  compter_colonnes(" \"Date  Time\"  \"Temp C\" ", "2021-01-01 10:00:00 1.5", ni, nd, j);
  EXPECT_EQ(ni, 2);
  EXPECT_EQ(nd, 3);
}

TEST(Comptages, CountCharacterClasses) {
  const std::string longue(100000, ';');
  EXPECT_EQ(compter_caractere(';', longue + "a;"), 100001);
  EXPECT_EQ(compter_numeriques("+1,5.e-3"), 6);  // + 1 , 5 . 3
  EXPECT_EQ(compter_lettres("Az[_`{ 9"), 5);     // A z [ _ `
  // 12 digits, 2 "/", 1 space, 1 ":", then "-", "+", ",", "." (";" and "x" do not count)
  EXPECT_EQ(compter_chiffres_separateurs("12/03/2022 01:15;x-+,."), 20);
  EXPECT_EQ(tout_chiffres("2021"), 4);
  EXPECT_EQ(tout_chiffres("20a1"), 0);
  EXPECT_EQ(tout_chiffres(""), 0);
}

TEST(Nombres, EstNumeriqueAcceptsCommaLessThanAndExponent) {
  EXPECT_TRUE(est_numerique("1,5"));
  EXPECT_TRUE(est_numerique("<0.3"));
  EXPECT_TRUE(est_numerique("-2E3"));
  EXPECT_TRUE(est_numerique(" 2e-3 "));
  EXPECT_TRUE(est_numerique("+.5"));
  EXPECT_FALSE(est_numerique(""));
  EXPECT_FALSE(est_numerique("12/03"));
  EXPECT_FALSE(est_numerique("<<1"));
  EXPECT_FALSE(est_numerique("1,5,2"));
  EXPECT_FALSE(est_numerique("E3"));
  EXPECT_FALSE(est_numerique("inf"));
  EXPECT_FALSE(est_numerique("nan"));
  EXPECT_FALSE(est_numerique("0x1A"));
}

TEST(Nombres, TexteEnReelReadsWholeTextOrGivesZero) {
  EXPECT_DOUBLE_EQ(texte_en_reel("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(texte_en_reel("-12.25"), -12.25);
  EXPECT_DOUBLE_EQ(texte_en_reel("3E2"), 300.0);
  EXPECT_DOUBLE_EQ(texte_en_reel("abc"), 0.0);
  EXPECT_DOUBLE_EQ(texte_en_reel("12abc"), 0.0);
  EXPECT_DOUBLE_EQ(texte_en_reel("1E-400"), 0.0);
  EXPECT_TRUE(std::isinf(texte_en_reel("1E400")));
}

TEST(Nombres, WholeNumberReaders) {
  EXPECT_FALSE(hors_bornes("12", 1, 12));
  EXPECT_TRUE(hors_bornes("13", 1, 12));
  EXPECT_TRUE(hors_bornes("x", 1, 12));  // not a number reads as 0
  EXPECT_FALSE(hors_bornes("x", 0, 12));
  EXPECT_EQ(champ_entier("a;7;b", 2, ';', -1), 7);
  EXPECT_EQ(champ_entier("a;7;b", 3, ';', -1), -1);
  EXPECT_EQ(nombre_apres_mot("ligne 3, colonne 12", "LIGNE", 0), 3);
  EXPECT_EQ(nombre_apres_mot("ligne 3, colonne 12", "COLONNE", 0), 12);
  EXPECT_EQ(nombre_apres_mot("Col=1x2-9", "COL", 0), 12);
  EXPECT_EQ(nombre_apres_mot("ligne ,3", "LIGNE", 5), 5);
  EXPECT_EQ(nombre_apres_mot("rien", "LIGNE", 5), 5);
  EXPECT_TRUE(contient_heure("le 12/03 a 01:15"));
  EXPECT_FALSE(contient_heure("1:15"));
  std::string s = "1.234,5";
  adapter_separateur_decimal(s, ',');
  EXPECT_EQ(s, "1,234,5");
}

TEST(Remplacements, CharactersTextsAndPadding) {
  std::string t = "a.b.c";
  remplacer_caractere('.', '_', t);
  EXPECT_EQ(t, "a_b_c");
  t = "ab12c3";
  remplacer_chiffres('*', t);
  EXPECT_EQ(t, "ab**c*");
  EXPECT_EQ(supprimer_caractere('"', "\"x\"y"), "xy");
  t = "aXbXc";
  remplacer_texte("X", "--", t);
  EXPECT_EQ(t, "a--bXc");
  EXPECT_EQ(completer_a_droite("ab", 5, '.'), "ab...");
  EXPECT_EQ(completer_a_droite("é", 3, ' '), "é  ");
  EXPECT_EQ(completer_a_droite("abcdef", 3, ' '), "abcdef");
  EXPECT_EQ(deux_chiffres("7"), "07");
  EXPECT_EQ(deux_chiffres("17"), "17");
  EXPECT_EQ(deux_chiffres(""), "");
  EXPECT_EQ(trim_droite("  a  "), "  a");
  EXPECT_EQ(trim_gauche("  a  "), "a  ");
  EXPECT_EQ(trim_gauche("   "), " ");
  EXPECT_EQ(trim(" \ta\t "), "\ta\t");
}

TEST(ReparerAccents, RepairsDoubleEncodedLetters) {
  std::string t = "temp\u00C3\u00A9rature";  // tempÃ©rature
  reparer_accents(t);
  EXPECT_EQ(t, "température");
  t = "\u00C3\u00A9t\u00C3\u00A9 \u00C3\u00A0 20\u00C2\u00B0C, gla\u00C3\u00A7on, "
      "pr\u00C3\u0192\u00C2\u00A9";
  reparer_accents(t);
  EXPECT_EQ(t, "été à 20°C, glaçon, pré");
  t = "caf\u00E2\u20AC\u0161";  // â€š
  reparer_accents(t);
  EXPECT_EQ(t, "café");
  t = "niveau d'eau";
  reparer_accents(t);
  EXPECT_EQ(t, "niveau d'eau");
  // A real "â" is left alone and the loop ends.
  t = "pâte";
  reparer_accents(t);
  EXPECT_EQ(t, "pâte");
}

TEST(DureeEnTexte, SecondsMinutesHours) {
  const double s = 1.0 / 86400;
  EXPECT_EQ(duree_en_texte(5 * s), " 5 s");
  EXPECT_EQ(duree_en_texte(75 * s), " 1 mn 15 s ");
  EXPECT_EQ(duree_en_texte((2 * 3600 + 3 * 60 + 4) * s), " 2 h 3 mn 4 s ");
  EXPECT_EQ(duree_en_texte((13 * 3600 + 30 * 60) * s), " 13 h 30 mn 0 s ");
  // Whole days are not shown.
  EXPECT_EQ(duree_en_texte(1 + 10 * s), " 0 h 0 mn 10 s ");
  EXPECT_EQ(duree_en_texte(-1), "---");
}

TEST(Booleens, OnlyExactTrueIsTrue) {
  EXPECT_EQ(booleen_en_texte(true), "true");
  EXPECT_EQ(booleen_en_texte(false), "false");
  EXPECT_TRUE(texte_en_booleen("true"));
  EXPECT_FALSE(texte_en_booleen("True"));
  EXPECT_FALSE(texte_en_booleen("TRUE"));
  EXPECT_FALSE(texte_en_booleen(""));
}

TEST(FormatMilliers, GroupsOfThree) {
  EXPECT_EQ(format_milliers(0), "0");
  EXPECT_EQ(format_milliers(7), "7");
  EXPECT_EQ(format_milliers(32000), "32 000");
  EXPECT_EQ(format_milliers(1234567890), "1 234 567 890");
  EXPECT_EQ(format_milliers(-1500), "-1 500");
}

TEST(JournalSuivi, SkipsALineEqualToTheLastOnceTwoAreThere) {
  JournalSuivi j;
  j.ajouter_ligne_suivi("a");
  j.ajouter_ligne_suivi("a");  // only one line before: kept
  j.ajouter_ligne_suivi("a");  // equal to the last with two lines: skipped
  j.ajouter_ligne_suivi("b");
  j.ajouter_ligne_suivi("a");
  EXPECT_EQ(j.lignes(), (std::vector<std::string>{"a", "a", "b", "a"}));
}

}  // namespace
}  // namespace tamso
