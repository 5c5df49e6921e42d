// The layout detector on small samples shaped like logger exports: where the
// titles and the data are, the separator, the date columns and format, the
// value columns, the decimal mark, the no-data markers and the tags.
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/layout_detection.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

struct Cas {
  const char* nom;
  std::vector<std::string> lignes;
  int separateur;    // 0 tab, 1 space, 2 semicolon, 3 comma
  int intitules;     // title line, 0 none
  int donnees;       // first data line
  const char* date;  // "3 <format>" or "1+2 <date>|<time>"
  const char* valeurs;
  char decimale = '.';
  const char* na = "";
  int unites = 0;
};

std::string liste(const std::vector<int>& v) {
  std::string r;
  for (const int x : v) r += (r.empty() ? "" : ",") + std::to_string(x);
  return r;
}

std::string liste(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& x : v) r += (r.empty() ? "" : ";") + x;
  return r;
}

std::string date_de(const DispositionDetectee& d) {
  return d.deux_colonnes ? std::to_string(d.colonne_date) + "+" + std::to_string(d.colonne_heure) +
                               " <" + d.format_date + ">|<" + d.format_heure + ">"
                         : std::to_string(d.colonne_date_heure) + " <" + d.format_date_heure + ">";
}

const Cas kCas[] = {
    // Clock times in a metadata block do not make data; the titles come
    // after it.
    {"bloc d'en-tête avec des heures",
     {"Report Date:,11/19/2019 19:25", "TIME : 18:30:08", "Setup Time,10:00", "",
      "Date Time,Level,Temp", "11/18/2019 10:00,1.5,8.2", "11/18/2019 10:15,1.6,8.3",
      "11/18/2019 10:30,1.7,8.4", "11/18/2019 13:45,1.8,8.5"},
     3,
     5,
     6,
     "1 <mm/jj/aaaa hh:mn>",
     "2,3"},
    // A day above 12 decides the order.
    {"jour au-dessus de 12",
     {"Date;Niveau", "12/03/2021 10:00:00;1,5", "13/03/2021 10:00:00;2,5"},
     2,
     1,
     2,
     "1 <jj/mm/aaaa hh:mn:ss>",
     "2",
     ','},
    // No day above 12: the order under which the dates go forward.
    {"ordre par les dates croissantes, jour d'abord",
     {"Date;Niveau", "11/01/2021 12:00;1.5", "12/01/2021 12:00;2", "01/02/2021 12:00;3.5",
      "02/02/2021 12:00;4"},
     2,
     1,
     2,
     "1 <jj/mm/aaaa hh:mn>",
     "2"},
    {"ordre par les dates croissantes, mois d'abord",
     {"Date;Niveau", "01/11/2021 12:00;1.5", "01/12/2021 12:00;2", "02/01/2021 12:00;3.5",
      "02/02/2021 12:00;4"},
     2,
     1,
     2,
     "1 <mm/jj/aaaa hh:mn>",
     "2"},
    // Sentinels and text markers are no-data values; -1 is a reading; a
    // record number is not a value column.
    {"sentinelles et -1",
     {"No\tDate\tT\tH", "1\t2021-01-01 00:00:00\t-1\t-9999", "2\t2021-01-01 01:00:00\t-1,5\tNA",
      "3\t2021-01-01 02:00:00\t-9999\t4,25", "4\t2021-01-01 03:00:00\t0,5\t4,5"},
     0,
     1,
     2,
     "2 <aaaa-mm-jj hh:mn:ss>",
     "3,4",
     ',',
     "-9999;NA"},
    // A units line and a processing line between titles and data, quoted
    // text and numbers.
    {"lignes d'unités",
     {R"("TOA5","station","CR1000")", R"("TIMESTAMP","RECORD","AirT","RH")",
      R"("TS","RN","Deg C","%")", R"("","","Avg","Smp")", R"("2024-07-21 00:00:00",10,"8.5",75)",
      R"("2024-07-21 01:00:00",11,"NAN",74)", R"("2024-07-21 02:00:00",12,"8.1",77)"},
     3,
     2,
     5,
     "1 <aaaa-mm-jj hh:mn:ss>",
     "3,4",
     '.',
     "NAN",
     3},
    // Date and time in two columns, space separator, no titles.
    {"deux colonnes séparées par des espaces",
     {"[Data]", "3", "2009/03/05 16:30:00.0    1023.5   8.21",
      "2009/03/05 16:45:00.0    1023.7   8.20", "2009/03/05 17:00:00.0    1023.9   8.19"},
     1,
     0,
     3,
     "1+2 <aaaa/mm/jj>|<hh:mn:ss>",
     "3,4"},
    // A compact date and an hour column 1 to 24; titles padded with blanks.
    {"date compacte et colonne d'heures",
     {"# comment", "# STN,YYYYMMDD,   HH,   DD", "  260,20000101,    1,  230",
      "  260,20000101,    2,  240", "  260,20000101,   24,  250"},
     3,
     2,
     3,
     "2+3 <aaaammjj>|<hh>",
     "4"},
    // A 12-hour clock after a record number, quoted titles holding commas.
    {"horloge de 12 heures",
     {R"("Plot Title: 1")", R"("#","Date Time, GMT-05:00","Temp, °C")",
      "1,11/15/21 11:00:00 AM,14.673", "2,11/15/21 11:10:00 AM,11.346",
      "3,11/15/21 12:20:00 PM,9.632"},
     3,
     2,
     3,
     "2 <mm/jj/20aa hh:mn:ss AM/PM>",
     "3"},
    // Every line begins with the separator: the reader drops it, the
    // columns are counted without it. Only the data lines: an empty first
    // field, counted.
    {"séparateur en tête de chaque ligne",
     {";Date;Niveau", ";2021-03-12 10:00:00;1,5", ";2021-03-12 10:15:00;2,5"},
     2,
     1,
     2,
     "1 <aaaa-mm-jj hh:mn:ss>",
     "2",
     ','},
    {"séparateur en tête des données seules",
     {"Date;Niveau;T", ";2021-03-12 10:00:00;1,5", ";2021-03-12 10:15:00;2,5"},
     2,
     1,
     2,
     "2 <aaaa-mm-jj hh:mn:ss>",
     "3",
     ','},
    // Offsets across the change to summer time: the results in the
    // smaller one.
    {"décalages horaires",
     {"time;value", "2019-03-31T01:00:00+01:00;1.25", "2019-03-31T01:30:00+01:00;2",
      "2019-03-31T03:00:00+02:00;3"},
     2,
     1,
     2,
     "1 <aaaa-mm-jjThh:mn:sszz UTC+01:00>",
     "2"},
};

TEST(DetecterDisposition, DispositionsDeLoggers) {
  for (const Cas& c : kCas) {
    SCOPED_TRACE(c.nom);
    const DispositionDetectee d = detecter_disposition(c.lignes);
    ASSERT_TRUE(d.trouvee);
    EXPECT_EQ(d.separateur, c.separateur);
    EXPECT_EQ(d.ligne_intitules, c.intitules);
    EXPECT_EQ(d.ligne_unites, c.unites);
    EXPECT_EQ(d.premiere_ligne_donnees, c.donnees);
    EXPECT_EQ(date_de(d), c.date);
    EXPECT_EQ(liste(d.colonnes_valeurs), c.valeurs);
    EXPECT_EQ(d.decimale, c.decimale);
    EXPECT_EQ(liste(d.marques_na), c.na);
  }
}

TEST(DetecterDisposition, SansDateRienNEstTrouve) {
  EXPECT_FALSE(detecter_disposition({"a;b;c", "1;2;3", "4;5;6"}).trouvee);
  EXPECT_FALSE(detecter_disposition({}).trouvee);
  // A date and a bare hour in one field, runs of digits of every count.
  EXPECT_FALSE(detecter_disposition({"2019/07/01T10;1", "2019/07/01T11;2"}).trouvee);
  EXPECT_FALSE(detecter_disposition({"1 2 3 4 5 6 7;1", "1:2:3:4:5:6:7:8;2", "1.5;2"}).trouvee);
}

// A trailer after the data: tags around the data, from the marker above
// them, or from the title line when there is no marker.
TEST(DetecterDisposition, BalisesAutourDesDonneesSuiviesDUneFin) {
  const std::vector<std::string> diver = {"TIME : 16:30:06",
                                          "[Data]",
                                          "2",
                                          "2009/03/05 16:30:00.0  1023.5",
                                          "2009/03/05 16:45:00.0  1023.7",
                                          "END OF DATA FILE OF DATALOGGER FOR WINDOWS"};
  auto d = detecter_disposition(diver);
  EXPECT_TRUE(d.fin_avant_la_fin);
  EXPECT_EQ(d.balise_debut, "[Data]");
  EXPECT_EQ(d.ligne_balise, 2);
  EXPECT_EQ(d.balise_fin, "END OF DATA");  // its steady first words
  EXPECT_EQ(d.derniere_ligne_donnees, 5);
  const std::vector<std::string> titres = {"Serial:12", "Date/Time;Level", "01/02/2021 10:00;1",
                                           "01/02/2021 11:00;2",
                                           "End of log: 7 records, battery 3.62 V"};
  d = detecter_disposition(titres);
  EXPECT_EQ(d.balise_debut, "Date/Time");
  EXPECT_EQ(d.balise_fin, "End of log");
  // Without a trailer the data are found by line number.
  d = detecter_disposition({"[Data]", "01/02/2021 10:00;1", "01/02/2021 11:00;2"});
  EXPECT_TRUE(d.balise_debut.empty());
  EXPECT_FALSE(d.fin_avant_la_fin);
}

// The period and the usual step between lines; the tail of a long file
// gives the last date.
TEST(DetecterDisposition, PeriodeEtPas) {
  const std::vector<std::string> l = {"Date;V", "01/02/2021 10:00;1", "01/02/2021 10:10;2",
                                      "01/02/2021 10:20;3", "01/02/2021 10:45;4"};
  auto d = detecter_disposition(l);
  EXPECT_EQ(d.pas_secondes, 600);
  EXPECT_EQ(d.premiere_date, "01/02/2021 10:00:00");
  EXPECT_EQ(d.derniere_date, "01/02/2021 10:45:00");
  d = detecter_disposition(l, {"03/02/2021 23:50;7", "END"});
  EXPECT_EQ(d.derniere_date, "03/02/2021 23:50:00");
  EXPECT_TRUE(d.fin_avant_la_fin);
}

// Every sample of the layout corpus (tests/data/dispositions): the detector
// finds what attendu.tsv says a careful user sets. Line numbers there count
// in the file as written; the no-data markers are compared as a set.
TEST(DetecterDisposition, CorpusDeDispositions) {
  const std::string dossier = std::string(TAMSO_DONNEES_TEST) + "dispositions/";
  std::ifstream tsv(dossier + "attendu.tsv");
  ASSERT_TRUE(tsv) << dossier;
  std::string ligne;
  std::vector<std::string> noms;
  const auto decouper = [](const std::string& l) {
    std::vector<std::string> r;
    std::stringstream in(l);
    std::string x;
    while (std::getline(in, x, '\t')) r.push_back(x);
    if (!l.empty() && l.back() == '\t') r.emplace_back();
    return r;
  };
  const auto ensemble = [&](const std::string& l) {
    std::set<std::string> r;
    std::stringstream in(l);
    std::string x;
    while (std::getline(in, x, ';'))
      if (!x.empty()) r.insert(x);
    return r;
  };
  const char* kSeparateurs[] = {"tabulation", "espace", "point-virgule", "virgule"};
  int fichiers = 0;
  while (std::getline(tsv, ligne)) {
    if (ligne.empty() || ligne[0] == '#') continue;
    if (noms.empty()) {
      noms = decouper(ligne);
      continue;
    }
    std::map<std::string, std::string> a;
    const auto champs = decouper(ligne);
    for (std::size_t k = 0; k < noms.size() && k < champs.size(); ++k) a[noms[k]] = champs[k];
    SCOPED_TRACE(a["fichier"]);
    ++fichiers;
    EchantillonFichier e;
    ASSERT_TRUE(lire_echantillon(dossier + a["fichier"], e));
    const DispositionDetectee d = detecter_disposition(e.debut, e.fin);
    ASSERT_TRUE(d.trouvee);
    EXPECT_EQ(kSeparateurs[d.separateur], a["separateur"]);
    EXPECT_EQ(std::to_string(d.ligne_intitules), a["ligne_intitules"]);
    EXPECT_EQ(std::to_string(d.premiere_ligne_donnees), a["premiere_ligne_donnees"]);
    const std::string colonnes =
        d.deux_colonnes ? std::to_string(d.colonne_date) + "+" + std::to_string(d.colonne_heure)
                        : std::to_string(d.colonne_date_heure);
    EXPECT_EQ(colonnes, a["colonnes_date"]);
    EXPECT_EQ(d.deux_colonnes ? d.format_date + "|" + d.format_heure : d.format_date_heure,
              a["format"]);
    EXPECT_EQ(std::string(1, d.decimale), a["decimale"]);
    EXPECT_EQ(liste(d.colonnes_valeurs), a["colonnes_valeurs"]);
    EXPECT_EQ(ensemble(liste(d.marques_na)), ensemble(a["marques_na"]));
    EXPECT_EQ(d.balise_fin, a["balise_fin"]);
    if (!a["balise_debut"].empty()) {
      EXPECT_EQ(d.balise_debut, a["balise_debut"]);
    }
  }
  EXPECT_GE(fichiers, 30);
}

// The sample: lines cut at CR, LF and CR LF; the tail of a file longer than
// the sample without its cut first line.
TEST(LireEchantillon, DebutEtFin) {
  test::DossierTemporaire dir;
  const std::string chemin = dir.chemin() + "a.txt";
  {
    std::ofstream f(chemin, std::ios::binary);
    f << "a\rb\r\nc\n";
    for (int i = 0; i < 1000; ++i) f << "ligne " << i << "\r\n";
    f << "fin";
  }
  EchantillonFichier e;
  ASSERT_TRUE(lire_echantillon(chemin, e, 1 << 20));
  EXPECT_TRUE(e.complet);
  ASSERT_EQ(e.debut.size(), 1004u);
  EXPECT_EQ(e.debut[0], "a");
  EXPECT_EQ(e.debut[1], "b");
  EXPECT_EQ(e.debut[2], "c");
  EXPECT_EQ(e.debut.back(), "fin");
  ASSERT_TRUE(lire_echantillon(chemin, e, 100));
  EXPECT_FALSE(e.complet);
  EXPECT_EQ(e.debut.back(), "ligne 9");  // the line cut by the sample's end is left out
  ASSERT_FALSE(e.fin.empty());
  EXPECT_EQ(e.fin.back(), "fin");
  EXPECT_EQ(e.fin[e.fin.size() - 2], "ligne 999");
  EXPECT_FALSE(lire_echantillon(dir.chemin() + "absent.txt", e));
}

}  // namespace
}  // namespace tamso
