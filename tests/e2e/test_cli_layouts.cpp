// End-to-end: date layouts written by real loggers, each a small file run
// through the batch program, its results compared byte for byte with
// results worked out by hand.
#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::q;
using test::Sortie;

struct Disposition {
  const char* nom;
  std::vector<std::string> fichier;   // the data file, title line first
  std::vector<std::string> reglages;  // the description's date settings
  const char* debut;                  // period, 12-hour step
  const char* fin;
  std::vector<std::string> attendu;  // the results lines after the title line
  const char* pas = "12:00:00";
};

// The results' title line: the time column (in two columns, the date
// column's title), the values, the number of rows and the method.
std::string titre(const std::vector<std::string>& fichier, std::size_t lignes) {
  const bool deux = fichier[0].starts_with("Date;Heure");
  return std::string(deux ? "Date" : "temps(Date inf ou =)") + ";Niveau;Temp;nb(" +
         std::to_string(lignes) + ")_methode_(moyenne des n mesures OK)";
}

const Disposition kDispositions[] = {
    // Month first, nothing zero-padded: rows of 00:00, 12:00 and 00:00 take
    // 0:00, then 0:30 and 1:00, then 23:30 and the next midnight.
    {"non complétés",
     {"Date;Niveau;Temp", "11/9/2019 0:00;1,0;10", "11/9/2019 0:30;2,0;11", "11/9/2019 1:00;3,0;12",
      "11/9/2019 23:30;4,0;13", "11/10/2019 0:00;5,0;14"},
     {"Edit_format_datetime_mesure.text= mm/jj/aaaa hh:mn"},
     "09/11/2019 00:00:00",
     "10/11/2019 00:00:00",
     {"09/11/2019 00:00:00;  1,0; 10,0;1", "09/11/2019 12:00:00;  2,5; 11,5;2",
      "10/11/2019 00:00:00;  4,5; 13,5;2"}},
    // A 12-hour clock: 11 AM and 12 PM (noon) up to noon; 1 PM, 11 PM and
    // 12 AM (the next midnight) up to midnight.
    {"horloge de 12 heures",
     {"Date;Niveau;Temp", "11/15/21 11:00:00 AM;1,0;10", "11/15/21 12:00:00 PM;2,0;11",
      "11/15/21 1:00:00 PM;3,0;12", "11/15/21 11:00:00 PM;4,0;13", "11/16/21 12:00:00 AM;5,0;14"},
     {"Edit_format_datetime_mesure.text= mm/jj/20aa hh:mn:ss AM/PM"},
     "15/11/2021 12:00:00",
     "16/11/2021 00:00:00",
     {"15/11/2021 12:00:00;  1,5; 10,5;2", "16/11/2021 00:00:00;  4,0; 13,0;3"}},
    // A compact date and an hour column 1 to 24, 24 being the midnight that
    // ends the day.
    {"date compacte et heure 1 à 24",
     {"Date;Heure;Niveau;Temp", "20000101;1;1,0;10", "20000101;12;2,0;11", "20000101;23;3,0;12",
      "20000101;24;4,0;13", "20000102;1;5,0;14"},
     {"RadioGroup_datetime_nb_col_ItemIndex= 1", "Edit_num_col_date.text= 1",
      "Edit_num_col_time.text= 2", "Edit_format_date_mesure_seule.text= aaaammjj",
      "Edit_format_time_mesure_seul.text= hh", "CheckBox_col_cochee.Checked= true",
      "Edit_col_cochee.text= 3,4"},
     "01/01/2000 12:00:00",
     "02/01/2000 12:00:00",
     {"01/01/2000 12:00:00;  1,5; 10,5;2", "02/01/2000 00:00:00;  3,5; 12,5;2",
      "02/01/2000 12:00:00;  5,0; 14,0;1"}},
    // Date and time in one run of digits; 2400 is midnight too.
    {"date et heure compactes",
     {"Date;Niveau;Temp", "201901011530;1,0;10", "201901012359;2,0;11", "201901012400;3,0;12",
      "201901020001;4,0;13"},
     {"Edit_format_datetime_mesure.text= aaaammjjhhmn"},
     "02/01/2019 00:00:00",
     "02/01/2019 12:00:00",
     {"02/01/2019 00:00:00;  2,0; 11,0;3", "02/01/2019 12:00:00;  4,0; 13,0;1"}},
    // ISO 8601 with fractions and offsets across the spring change of
    // daylight saving: in UTC+1 the four readings are half an hour apart.
    {"ISO 8601 avec décalage",
     {"Date;Niveau;Temp", "2019-03-31T01:00:00.000+01:00;1,0;10",
      "2019-03-31T01:30:00.500+01:00;2,0;11", "2019-03-31T03:00:00.000+02:00;3,0;12",
      "2019-03-31T01:30:00.250Z;4,0;13"},
     {"Edit_format_datetime_mesure.text= aaaa-mm-jjThh:mn:ss.szz UTC+01:00"},
     "31/03/2019 01:00:00",
     "31/03/2019 02:30:00",
     {"31/03/2019 01:00:00;  1,0; 10,0;1", "31/03/2019 01:30:00;  2,0; 11,0;1",
      "31/03/2019 02:00:00;  3,0; 12,0;1", "31/03/2019 02:30:00;  4,0; 13,0;1"},
     "00:30:00"},
};

class Dispositions : public test::AvecCli {};

TEST_F(Dispositions, ChaqueDispositionDonneSesResultats) {
  for (const Disposition& x : kDispositions) {
    SCOPED_TRACE(x.nom);
    DossierTemporaire d;
    const std::string donnees = d.sous_dossier("donnees"), sortie = d.sous_dossier("sortie");
    d.ecrire("donnees/mesures.csv", crlf(x.fichier));
    std::vector<std::string> l = {
        "Edit_masque.text= *.csv",       "RadioGroup_separateur_colonne_ItemIndex= 2",
        "Edit_nb_decimale.text= 1",      "Edit_NA.text= NA",
        "Edit_nom_fic_sortie.text= res", "RadioGroup_separateur_sortie_ItemIndex= 3",
        "dossier_choisi= " + donnees,    "dossier_choisi_sortie= " + sortie};
    l.insert(l.end(), x.reglages.begin(), x.reglages.end());
    const std::string dsc = d.ecrire("station.dsc", crlf(l));
    const Sortie r = lancer(d, "run " + q(dsc) + " --from '" + x.debut + "' --to '" + x.fin +
                                   "' --step " + x.pas + " --decimal-separator ,");
    ASSERT_EQ(r.code, 0) << r.erreurs;
    std::vector<std::string> attendu = {titre(x.fichier, x.attendu.size())};
    attendu.insert(attendu.end(), x.attendu.begin(), x.attendu.end());
    EXPECT_EQ(DossierTemporaire::lire(sortie + "res.txt"), crlf(attendu));
    EXPECT_EQ(r.erreurs.find("!!!"), std::string::npos) << r.erreurs;
  }
}

}  // namespace
}  // namespace tamso
