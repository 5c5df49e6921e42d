#include <filesystem>

#include <gtest/gtest.h>

#include "input/xle.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::DossierTemporaire;

// An export of three channels: the level with a unit and parameters, the
// temperature in °C, the conductivity without a unit; the second record
// lacks its temperature.
const std::string kEntete =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<Body_xle>\r\n"
    "<File_info><Company>Essai</Company><Created_by>Levelogger</Created_by></File_info>\r\n"
    "<Instrument_info><Instrument_type>L5</Instrument_type><Channel>3</Channel>"
    "</Instrument_info>\r\n"
    "<Instrument_info_data_header><Project_ID>P1</Project_ID><Location>Puits; nord</Location>"
    "</Instrument_info_data_header>\r\n"
    "<Ch1_data_header>\r\n  <Identification>LEVEL</Identification>\r\n  <Unit>m</Unit>\r\n"
    "  <Parameters><Offset Val=\"0.000000\" Unit=\"m\"/></Parameters>\r\n</Ch1_data_header>\r\n"
    "<Ch2_data_header><Identification>TEMPERATURE</Identification><Unit>\xC2\xB0"
    "C</Unit></Ch2_data_header>\r\n"
    "<Ch3_data_header><Identification>Conductivit\xC3\xA9</Identification></Ch3_data_header>\r\n";
const std::string kDonnees =
    "<Data>\r\n"
    "<Log id=\"1\"><Date>2019/07/01</Date><Time>10:15:00</Time><ms>0</ms>"
    "<ch1>9.81</ch1><ch2>11.2</ch2><ch3>512</ch3></Log>\r\n"
    "<Log id=\"2\">\r\n  <Date>2019/07/01</Date>\r\n  <Time>10:30:00</Time>\r\n  <ms>500</ms>\r\n"
    "  <ch1> 9.79 </ch1>\r\n  <ch3>5;13</ch3>\r\n</Log>\r\n"
    "</Data>\r\n"
    "</Body_xle>\r\n";

class Xle : public ::testing::Test {
 protected:
  DossierTemporaire d_;
  std::string destination_ = d_.chemin() + "sortie.txt";
};

TEST_F(Xle, TitlesThenOneLinePerRecord) {
  const ResultatXle r = convertir_xle(d_.ecrire("a.xle", kEntete + kDonnees), destination_);
  ASSERT_TRUE(r.erreur.empty()) << r.erreur;
  EXPECT_EQ(r.nb_enregistrements, 2u);
  EXPECT_EQ(r.nb_canaux, 3);
  // Units in brackets, the degree as byte B0, é as E9; a missing value is an
  // empty field, blanks around a value go, and a ";" inside a text becomes a space.
  EXPECT_EQ(DossierTemporaire::lire(destination_),
            "Date;Time;ms;LEVEL [m];TEMPERATURE [\xB0"
            "C];Conductivit\xE9\r\n"
            "2019/07/01;10:15:00;0;9.81;11.2;512\r\n"
            "2019/07/01;10:30:00;500;9.79;;5 13\r\n");
}

// A windows-1252 declaration is read with that code page, ISO-8859-1 too; a
// channel with no identification is named after its number.
TEST_F(Xle, DeclaredSingleByteEncodings) {
  for (const std::string codage : {"windows-1252", "ISO-8859-1"}) {
    const std::string xml = "<?xml version=\"1.0\" encoding=\"" + codage +
                            "\"?><Body_xle><Ch1_data_header><Unit>\xB0"
                            "C</Unit></Ch1_data_header><Ch2_data_header><Identification>Niveau "
                            "\xE9tal</Identification></Ch2_data_header><Data><Log><Date>2019/07/01"
                            "</Date><Time>10:15:00</Time><ch2>1</ch2><ch1>2</ch1></Log></Data>"
                            "</Body_xle>";
    const ResultatXle r = convertir_xle(d_.ecrire("b.xle", xml), destination_);
    ASSERT_TRUE(r.erreur.empty()) << codage << ": " << r.erreur;
    EXPECT_EQ(DossierTemporaire::lire(destination_),
              "Date;Time;ms;ch1 [\xB0"
              "C];Niveau \xE9tal\r\n2019/07/01;10:15:00;;2;1\r\n")
        << codage;
  }
}

TEST_F(Xle, ExportWithoutRecordsGivesTheTitlesAlone) {
  const ResultatXle r =
      convertir_xle(d_.ecrire("c.xle", kEntete + "<Data/></Body_xle>"), destination_);
  ASSERT_TRUE(r.erreur.empty()) << r.erreur;
  EXPECT_EQ(DossierTemporaire::lire(destination_),
            "Date;Time;ms;LEVEL [m];TEMPERATURE [\xB0"
            "C];Conductivit\xE9\r\n");
}

// A damaged or foreign file is refused with its cause, and leaves no text
// behind, not even an older one.
TEST_F(Xle, DamagedFilesAreRefused) {
  struct Cas {
    const char* nom;
    std::string contenu;
    std::string cause;
  };
  const std::vector<Cas> cas = {
      {"cut short", kEntete + kDonnees.substr(0, 18), "XML invalide (ligne 14 : "},
      {"empty", "", "XML invalide (ligne 1"},
      {"not XML", "Date;Temp\r\n1;2\r\n", "XML invalide (ligne 1"},
      {"entities",
       "<?xml version=\"1.0\"?><!DOCTYPE Body_xle [<!ENTITY a \"aaaa\">]><Body_xle>&a;</Body_xle>",
       "déclaration de type de document refusée"},
      {"another root", "<?xml version=\"1.0\"?><Body_xlsx/>",
       "élément racine <Body_xlsx> : pas un export Solinst (<Body_xle> attendu)"},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"klingon\"?><Body_xle/>",
       "XML invalide (ligne 1"},
      {"missing file", "", "ouverture impossible"},
  };
  for (const Cas& c : cas) {
    d_.ecrire("sortie.txt", "ancien texte");
    const std::string source = std::string(c.nom) == "missing file" ? d_.chemin() + "absent.xle"
                                                                    : d_.ecrire("d.xle", c.contenu);
    const ResultatXle r = convertir_xle(source, destination_);
    EXPECT_EQ(r.erreur.rfind(c.cause, 0), 0u) << c.nom << ": " << r.erreur;
    EXPECT_FALSE(std::filesystem::exists(destination_)) << c.nom;
  }
}

TEST(XleReconnu, ByItsStart) {
  EXPECT_TRUE(ressemble_a_xle("<?xml version=\"1.0\"?>\r\n<Body_xle>"));
  EXPECT_TRUE(ressemble_a_xle("\xEF\xBB\xBF \r\n\t<?xml?><Body_xle>"));
  EXPECT_FALSE(ressemble_a_xle("<?xml version=\"1.0\"?><Body>"));
  EXPECT_FALSE(ressemble_a_xle("x<?xml?><Body_xle>"));
  EXPECT_FALSE(ressemble_a_xle(""));
}

}  // namespace
}  // namespace tamso
