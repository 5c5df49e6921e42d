#include <filesystem>

#include <gtest/gtest.h>

#include "app/inspection.h"
#include "app/listing.h"
#include "app/run.h"
#include "app/save.h"
#include "app/timestamp_commands.h"
#include "app/workbook_source.h"
#include "input/workbook.h"
#include "processing/engine.h"
#include "results/results_writer.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

namespace fs = std::filesystem;

std::string fixture(const std::string& nom) {
  return std::string(TAMSO_DONNEES_TEST "classeurs/") + nom;
}

// The first sheet of the "mesures" workbooks, as worked out from the cells
// each writer was given: a date alone, a time alone, numbers, booleans,
// formulas (25 = 12.5 * 2, 0.025 = 0.1 / 4, the text "Etat!"), an empty row
// and empty cells inside the range, a ";" inside a cell (not protected),
// accents in Windows-1252.
const std::string kMesures =
    "Date;Heure;Temp;Humidit\xe9;Etat;Calcul\r\n"
    "01/03/2024;00:10:01;12.5;80;VRAI;25\r\n"
    "01/03/2024 00:20:00;;-3.25;0.1;FAUX;0.025\r\n"
    ";;;;;\r\n"
    "a;b;23:59:59;1234567.891;0.00001;Hygrom\xe9trie;Etat!\r\n"
    "29/02/2024 23:59:59;12:00:00;0;-0.5;;1000000000000000\r\n"
    "01/03/2024 00:00:00;00:00:00;fin;;;\r\n";
const std::string kNotes = "n\xb0;valeur\r\n1;2.5\r\n2;7.5\r\n";

class ClasseurEcrivains : public test::AvecDossier,
                          public ::testing::WithParamInterface<const char*> {
 protected:
  std::string destination() const { return programme_ + "~tmp_xls.csv"; }
  ResultatConversion convertir(int numero) {
    return convertir_feuille_classeur(fixture(GetParam()), numero, destination());
  }
};

// The first sheet, the second with a formula, an empty third one (no file),
// a fourth beyond the workbook (named in the message).
TEST_P(ClasseurEcrivains, EverySheet) {
  ResultatConversion r = convertir(1);
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, GetParam(), 1);
  EXPECT_EQ(r.nom_feuille, "Mesures");
  EXPECT_EQ(test::DossierTemporaire::lire(destination()), kMesures);
  EXPECT_EQ(r.nb_lignes, 7u);
  EXPECT_EQ(r.taille, kMesures.size());

  r = convertir(2);
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, GetParam(), 2);
  EXPECT_EQ(r.nom_feuille, "Notes");
  EXPECT_EQ(test::DossierTemporaire::lire(destination()), kNotes);

  fs::remove(destination());
  r = convertir(3);
  EXPECT_FALSE(r.erreur);
  EXPECT_TRUE(r.feuille_vide);
  EXPECT_FALSE(fs::exists(destination()));

  r = convertir(4);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::feuille_absente);
  EXPECT_EQ(r.nb_feuilles, 3);
  EXPECT_EQ(message_echec_classeur(r, "C:/d/m.xlsx", 4),
            "la feuille n°4 n'existe pas dans le classeur\nC:/d/m.xlsx\n\n qui contient 3 "
            "feuilles");
  EXPECT_FALSE(fs::exists(destination()));
}

INSTANTIATE_TEST_SUITE_P(QuatreEcrivains, ClasseurEcrivains,
                         ::testing::Values("mesures_python.xlsx", "mesures_libreoffice.xlsx",
                                           "mesures.ods", "mesures.xls"));

class Classeur : public test::AvecDossier {
 protected:
  std::string destination() const { return programme_ + "~tmp_xls.csv"; }
  ResultatConversion convertir(const std::string& nom, int numero = 1,
                               const LimitesClasseur& limites = {}) {
    return convertir_feuille_classeur(fixture(nom), numero, destination(), limites);
  }
  std::string texte() const { return test::DossierTemporaire::lire(destination()); }
};

TEST_F(Classeur, DateSystemOf1904FromEveryWriter) {
  for (const char* nom : {"base1904_libreoffice.xlsx", "base1904.xls"}) {
    const ResultatConversion r = convertir(nom);
    ASSERT_FALSE(r.erreur) << nom;
    EXPECT_EQ(texte(), "Horodatage;Valeur\r\n01/03/2024 12:00:00;1.5\r\n") << nom;
  }
}

TEST_F(Classeur, UsedRangeStartsAtTheFirstUsedRowAndColumn) {
  // Cells C3:D5 and, without references, A6:B6; 1904 system; an ISO date
  // cell, an error cell and a rich inline string whose phonetic run is not text.
  const ResultatConversion r = convertir("base1904_python.xlsx");
  ASSERT_FALSE(r.erreur) << r.erreur.detail;
  EXPECT_EQ(r.nom_feuille, "Horodatage");
  EXPECT_EQ(texte(),
            ";;Horodatage;Valeur\r\n"
            ";;01/03/2024 12:00:00;1.5\r\n"
            ";;01/03/2024 12:10:00;#DIV/0!\r\n"
            "x;2;;\r\n");
}

TEST_F(Classeur, OpenDocumentRepeatsStylesAndNotes) {
  // The date takes its style from its column; a row and a cell repeated twice;
  // a note is not the cell's text; two paragraphs joined by a space; a
  // merged-over cell is empty; the trailing empty runs stay out of the range.
  const ResultatConversion r = convertir("colonnes_python.ods");
  ASSERT_FALSE(r.erreur) << r.erreur.detail;
  EXPECT_EQ(texte(),
            "Horodatage;Note;\r\n"
            "01/03/2024 00:00:00;7;7\r\n"
            "01/03/2024 00:00:00;7;7\r\n"
            "a  b c;;VRAI\r\n");
}

TEST_F(Classeur, OlderConvertedFileIsRemovedOnFailure) {
  dossier_->ecrire("programme/~tmp_xls.csv", "ancienne;feuille\r\n");
  ASSERT_TRUE(fs::exists(destination()));
  const ResultatConversion r = convertir("mesures_python.xlsx", 9);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::feuille_absente);
  EXPECT_FALSE(fs::exists(destination()));
}

struct CasHostile {
  const char* fichier;
  EchecClasseur genre;
};

class ClasseurHostile : public Classeur, public ::testing::WithParamInterface<CasHostile> {};

TEST_P(ClasseurHostile, ClearFailureAndNoFile) {
  const ResultatConversion r = convertir(GetParam().fichier, 1);
  EXPECT_EQ(r.erreur.genre, GetParam().genre) << r.erreur.detail;
  EXPECT_FALSE(r.feuille_vide);
  EXPECT_FALSE(fs::exists(destination()));
  const std::string m = message_echec_classeur(r, fixture(GetParam().fichier), 1);
  EXPECT_NE(m.find(fixture(GetParam().fichier)), std::string::npos) << m;
  EXPECT_NE(m.find("feuille n°1"), std::string::npos) << m;
  // Nothing else left in the program directory either.
  EXPECT_TRUE(fs::is_empty(programme_));
}

INSTANTIATE_TEST_SUITE_P(
    Fichiers, ClasseurHostile,
    ::testing::Values(CasHostile{"absent.xlsx", EchecClasseur::introuvable},
                      CasHostile{"chiffre.xlsx", EchecClasseur::chiffre},
                      CasHostile{"chiffre.ods", EchecClasseur::chiffre},
                      CasHostile{"chiffre.xls", EchecClasseur::chiffre},
                      CasHostile{"pas_un_classeur.xlsx", EchecClasseur::pas_un_classeur},
                      CasHostile{"archive_sans_classeur.xlsx", EchecClasseur::pas_un_classeur},
                      CasHostile{"binaire.xlsb", EchecClasseur::pas_un_classeur},
                      CasHostile{"tronque.xlsx", EchecClasseur::endommage},
                      CasHostile{"doctype.xlsx", EchecClasseur::endommage},
                      CasHostile{"xml_invalide.xlsx", EchecClasseur::endommage},
                      CasHostile{"repetitions.ods", EchecClasseur::trop_volumineux}));

TEST_F(Classeur, InflatedPartStopsAtTheLimit) {
  // 20 MB of blanks compressed into a few kilobytes.
  LimitesClasseur limites;
  limites.octets_partie = 1 << 20;
  const ResultatConversion r = convertir("gonfle.xlsx", 1, limites);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::trop_volumineux);
  EXPECT_FALSE(fs::exists(destination()));
  // Within the default limits the same file reads: one cell.
  ASSERT_FALSE(convertir("gonfle.xlsx").erreur);
  EXPECT_EQ(texte(), "x\r\n");
}

TEST_F(Classeur, ConvertedTextBeyondTheLimit) {
  LimitesClasseur limites;
  limites.octets_texte = 100;  // the first sheet is 269 bytes
  const ResultatConversion r = convertir("mesures_python.xlsx", 1, limites);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::trop_volumineux);
  EXPECT_FALSE(fs::exists(destination()));
}

TEST_F(Classeur, UnwritableDestination) {
  const std::string cible = programme_ + "absent/~tmp_xls.csv";
  const ResultatConversion r = convertir_feuille_classeur(fixture("mesures_python.xlsx"), 1, cible);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::ecriture);
  EXPECT_NE(message_echec_classeur(r, "m.xlsx", 1).find(cible), std::string::npos);
}

TEST(ClasseurNumeroFeuille, NotAboveZeroReadsTheFirstSheet) {
  EXPECT_EQ(numero_feuille_excel("2"), 2);
  EXPECT_EQ(numero_feuille_excel(" 3 "), 3);
  EXPECT_EQ(numero_feuille_excel("0"), 1);
  EXPECT_EQ(numero_feuille_excel("-4"), 1);
  EXPECT_EQ(numero_feuille_excel(""), 1);
  EXPECT_FALSE(numero_feuille_excel("deux"));
  EXPECT_FALSE(numero_feuille_excel("1.5"));
}

// ---------------------------------------------------------------- in the session

class ClasseurSession : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    d().masque = "xlsx";
    d().separateur_colonne = SeparateurColonne::point_virgule;
    d().avec_sans_intitule = Intitules::avec;
    d().num_ligne_intitule_col = "1";
    d().num_ligne_donnee = "2";
    d().datetime_nb_col = ColonnesDate::une;
    d().num_col_datetime = "1";
    d().format_datetime_mesure = "jj/mm/aaaa hh:mn:ss";
    d().f_station = "1";
  }
  std::string copier(const std::string& nom) { return copier_donnee("classeurs/" + nom, nom); }
  std::string temporaire() const { return programme_ + "~tmp_xls.csv"; }
};

TEST_F(ClasseurSession, ReadsTheChosenSheetAndItsName) {
  d().num_feuille_excel = "2";
  ASSERT_TRUE(lire_feuille_excel(s(), fixture("mesures.ods")));
  EXPECT_TRUE(port_.echanges.empty()) << port_.dernier_texte();
  EXPECT_EQ(d().nom_feuille, "Notes");
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kNotes);
  // Memo1 holds the converted text.
  EXPECT_EQ(s().fichier_charge.nb_lignes, 3);
  EXPECT_EQ(s().fichier_charge.texte(0), "n°;valeur");
  EXPECT_EQ(s().etiquette("Label6").rfind("durée ", 0), 0u);
  EXPECT_EQ(s().etiquette("Label10").rfind("durée ", 0), 0u);
}

TEST_F(ClasseurSession, SheetNumberZeroReadsTheFirstSheet) {
  d().num_feuille_excel = "0";
  ASSERT_TRUE(lire_feuille_excel(s(), fixture("mesures.xls")));
  EXPECT_EQ(d().nom_feuille, "Mesures");
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kMesures);
}

TEST_F(ClasseurSession, EmptySheetSaysSo) {
  d().num_feuille_excel = "3";
  d().nom_feuille = "avant";
  EXPECT_FALSE(lire_feuille_excel(s(), fixture("mesures_python.xlsx")));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, " problème, memo1 vide!!!");
  EXPECT_FALSE(fs::exists(temporaire()));
  EXPECT_EQ(d().nom_feuille, "avant");
}

TEST_F(ClasseurSession, FailureIsShownAndLogged) {
  d().num_feuille_excel = "1";
  const std::string chemin = fixture("chiffre.xlsx");
  EXPECT_FALSE(lire_feuille_excel(s(), chemin));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].type, TypeMessage::erreur);
  EXPECT_EQ(port_.echanges[0].texte,
            "classeur protégé par un mot de passe :\n" + chemin +
                "\n\nfeuille n°1 non lue => enregistrer le classeur sans mot de passe");
  EXPECT_FALSE(fs::exists(temporaire()));
  bool consigne = false;
  for (const auto& l : s().journal.lignes()) consigne |= l.find(chemin) != std::string::npos;
  EXPECT_TRUE(consigne);
}

TEST_F(ClasseurSession, SheetNumberThatIsNotANumber) {
  d().num_feuille_excel = "deux";
  EXPECT_FALSE(lire_feuille_excel(s(), fixture("mesures_python.xlsx")));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            "le n° de feuille <deux> n'est pas un nombre entier\n\n classeur : " +
                fixture("mesures_python.xlsx"));
  EXPECT_FALSE(fs::exists(temporaire()));
}

// The same measurements as a workbook sheet and as a semicolon text file.
const std::string kReleves =
    "Date;Temp;Hum\r\n"
    "01/03/2024 00:00:00;12.5;80\r\n"
    "01/03/2024 00:10:00;12.75;81\r\n"
    "01/03/2024 00:20:00;13;79.5\r\n";

TEST_F(ClasseurSession, ListingAWorkbookMatchesListingItsText) {
  copier("releves_python.xlsx");
  d().nom_fic_excel = "releves_python.xlsx";
  d().num_feuille_excel = "1";
  s().description_modifiee = true;
  ASSERT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  EXPECT_TRUE(port_.echanges.empty()) << port_.dernier_texte();
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kReleves);
  EXPECT_EQ(d().nom_feuille, "Releves");
  const char* colonnes[] = {"date dep", "date fin", "n.données", "nb Colonnes", "n°Lig intitulés"};
  std::vector<std::string> classeur;
  for (const char* c : colonnes) classeur.push_back(s().table.lire_cellule(1, c, port_));
  EXPECT_EQ(classeur[0], "01/03/2024 00:00:00");
  EXPECT_EQ(classeur[1], "01/03/2024 00:20:00");
  EXPECT_EQ(classeur[2], "3");
  EXPECT_EQ(classeur[3], " 3");

  // The same data typed as a text file, listed in the directory mode.
  dossier_->ecrire("donnees/releves.csv", kReleves);
  d().masque = "csv";
  ASSERT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
  for (std::size_t i = 0; i < std::size(colonnes); ++i)
    EXPECT_EQ(s().table.lire_cellule(1, colonnes[i], port_), classeur[i]) << colonnes[i];
}

TEST_F(ClasseurSession, ProcessingAWorkbookMatchesProcessingItsText) {
  // Ten-minute means over 00:00 .. 00:20, first from the workbook, then from the text.
  const auto traiter = [this] {
    EXPECT_TRUE(lister_fichiers_donnees(s())) << port_.dernier_texte();
    s().periode.debut = "01/03/2024 00:10:00";
    s().periode.fin = "01/03/2024 00:20:00";
    s().periode.pas = 10.0 / 1440;
    s().periode.unite = UnitePas::heure;
    s().periode.test_date = TestDate::inf_ou_egal;
    EXPECT_EQ(generer_liste_horodatee(s()), IssueListe::creee);
    EXPECT_EQ(executer_moteur(s(), ParametresMoteur{}), IssueMoteur::termine);
  };
  copier("releves_python.xlsx");
  d().nom_fic_excel = "releves_python.xlsx";
  d().methode = Methode::moyenne;
  s().description_modifiee = true;
  traiter();
  ASSERT_EQ(s().grille.n(), 3);
  ASSERT_EQ(s().grille.c, 4);  // date-time, Temp, Hum, line count
  std::vector<std::pair<bool, long double>> classeur;
  std::vector<long long> lignes_classeur;
  for (int r = 1; r <= 3; ++r) {
    lignes_classeur.push_back(s().grille.nb_lignes_ligne(r));
    for (int c = 2; c <= 3; ++c)
      // Copies: the grid's cells are packed.
      classeur.emplace_back(static_cast<bool>(s().grille.cellule(r, c).na),
                            static_cast<long double>(s().grille.cellule(r, c).valeur));
  }
  // The 00:10 timestamp takes the line of (00:00, 00:10]: 12.75 and 81.
  EXPECT_EQ(s().grille.nb_lignes_ligne(2), 1);
  EXPECT_NEAR(static_cast<double>(s().grille.cellule(2, 2).valeur), 12.75, 1e-12);
  EXPECT_NEAR(static_cast<double>(s().grille.cellule(2, 3).valeur), 81.0, 1e-12);
  ASSERT_TRUE(formater_resultats(s()));
  const std::vector<std::string> resultats_classeur = s().resultats.lignes.en_vecteur();

  dossier_->ecrire("donnees/releves.csv", kReleves);
  d().masque = "csv";
  traiter();
  ASSERT_EQ(s().grille.n(), 3);
  std::size_t k = 0;
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(s().grille.nb_lignes_ligne(r), lignes_classeur[static_cast<std::size_t>(r - 1)]);
    for (int c = 2; c <= 3; ++c, ++k) {
      EXPECT_EQ(s().grille.cellule(r, c).na, classeur[k].first) << r << "," << c;
      EXPECT_EQ(s().grille.cellule(r, c).valeur, classeur[k].second) << r << "," << c;
    }
  }
  // The results lines, header included, are the same.
  ASSERT_TRUE(formater_resultats(s()));
  EXPECT_EQ(s().resultats.lignes, resultats_classeur);
  EXPECT_EQ(resultats_classeur.size(), 3u);  // header and the two written rows
}

TEST_F(ClasseurSession, ListingConvertsAgainOnlyWhenNeeded) {
  copier("releves_python.xlsx");
  d().nom_fic_excel = "releves_python.xlsx";
  s().description_modifiee = false;
  // No converted file yet: the listing converts.
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  ASSERT_TRUE(fs::exists(temporaire()));
  // A converted file and an unchanged description: it is read as it is.
  dossier_->ecrire("programme/~tmp_xls.csv",
                   "Date;Temp;Hum\r\n02/03/2024 00:00:00;1;2\r\n02/03/2024 00:10:00;1;2\r\n");
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(s().table.lire_cellule(1, "date dep", port_), "02/03/2024 00:00:00");
  // A modified description converts the sheet again.
  s().description_modifiee = true;
  ASSERT_TRUE(lister_fichiers_donnees(s()));
  EXPECT_EQ(s().table.lire_cellule(1, "date dep", port_), "01/03/2024 00:00:00");
}

// The converted text is the sheet of the workbook as it is now: another
// workbook under the same name, another sheet, or a text left by an earlier
// program run is converted anew, even with the description unchanged.
TEST_F(ClasseurSession, ListingConvertsAgainWhenTheWorkbookChanged) {
  d().nom_fic_excel = "classeur.xlsx";
  s().description_modifiee = false;
  dossier_->ecrire("programme/~tmp_xls.csv", "laissé par une autre exécution\r\n");
  fs::copy_file(fixture("releves_python.xlsx"), donnees_ + "classeur.xlsx");
  lister_fichiers_donnees(s());
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kReleves);
  fs::copy_file(fixture("mesures_python.xlsx"), donnees_ + "classeur.xlsx",
                fs::copy_options::overwrite_existing);
  lister_fichiers_donnees(s());
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kMesures);
  d().num_feuille_excel = "2";
  EXPECT_FALSE(feuille_convertie_a_jour(s()));
  // A run converts it too when the workbook changed after the listing.
  fs::copy_file(fixture("releves_python.xlsx"), donnees_ + "classeur.xlsx",
                fs::copy_options::overwrite_existing);
  d().num_feuille_excel = "1";
  EXPECT_FALSE(feuille_convertie_a_jour(s()));
  EXPECT_TRUE(actualiser_feuille_excel(s()));
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kReleves);
  EXPECT_TRUE(feuille_convertie_a_jour(s()));
}

TEST_F(ClasseurSession, ListingStopsWhenTheSheetCannotBeRead) {
  copier("releves_python.xlsx");
  d().nom_fic_excel = "releves_python.xlsx";
  d().num_feuille_excel = "5";
  s().description_modifiee = true;
  EXPECT_FALSE(lister_fichiers_donnees(s()));
  ASSERT_FALSE(port_.echanges.empty());
  EXPECT_EQ(port_.echanges[0].texte.rfind("la feuille n°5 n'existe pas", 0), 0u)
      << port_.echanges[0].texte;
  // The listing proper never ran: no stale file was listed.
  for (const auto& l : s().journal.lignes()) EXPECT_NE(l.rfind("t0 = ", 0), 0u) << l;
  EXPECT_EQ(s().table.lire_cellule(1, "date dep", port_), "");
}

TEST_F(ClasseurSession, InspectingAWorkbookConvertsItsSheet) {
  const std::string chemin = copier("releves_python.xlsx");
  d().masque = "csv";
  d().separateur_colonne = SeparateurColonne::tabulation;
  port_.reponses = {Reponse::oui};  // "Utiliser les paramètrages tels quel"
  inspecter_fichier_exemple(s(), chemin);
  EXPECT_EQ(d().masque, "xlsx");
  EXPECT_EQ(d().nom_fic_excel, "releves_python.xlsx");
  EXPECT_EQ(d().nom_feuille, "Releves");
  EXPECT_EQ(d().separateur_colonne, SeparateurColonne::point_virgule);  // Point-virgule
  EXPECT_EQ(test::DossierTemporaire::lire(temporaire()), kReleves);
  EXPECT_EQ(s().etiquette("Label_nb_lignes"), "4");
}

}  // namespace
}  // namespace tamso
