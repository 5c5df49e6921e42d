#include <filesystem>

#include <gtest/gtest.h>

#include "app/description_files.h"
#include "app/program_files.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/loader.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;

// The program's start session, its description directory the descriptions folder.
class FichierDsc : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
    d().dossier_description = descriptions_;
  }
  // Writes a DSC file of raw Windows-1252 lines and names it as the current one.
  std::string poser_dsc(const std::string& nom, const std::vector<std::string>& lignes) {
    s().nom_description = nom;
    return ecrire_dsc(nom, lignes);
  }
};

TEST_F(FichierDsc, WrittenFileIsSixtyFiveKeyLinesInOrder) {
  s().nom_description = "station1.dsc";
  d().methode = Methode::maximum;
  d().nom_fic_sortie = "résultat";
  d().texte_na = "";
  ASSERT_TRUE(ecrire_description(s()));
  const std::string octets = DossierTemporaire::lire(descriptions_ + "station1.dsc");
  const auto lignes = decouper_lignes(octets);
  ASSERT_EQ(lignes.size(), 65u);
  EXPECT_EQ(lignes.front(), "CheckBox_aide_flottante.Checked= false");
  EXPECT_EQ(lignes[51], "RadioGroup_methode_ItemIndex= 2");
  EXPECT_EQ(lignes[30], "Edit_NA.text= ");  // an empty value ends in "= "
  EXPECT_EQ(lignes.back(), "Label_pas_dsc.caption= pas");
  // Windows-1252 bytes and CR LF after every line, the last included.
  EXPECT_NE(octets.find("Edit_nom_fic_sortie.text= r\xE9sultat\r\n"), std::string::npos);
  EXPECT_EQ(octets.substr(octets.size() - 2), "\r\n");
  EXPECT_EQ(std::count(octets.begin(), octets.end(), '\n'), 65);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(FichierDsc, WriteThenReadGivesTheSameSettings) {
  Description& d = s().description;
  d.recursif = true;
  d.inc_nom = false;
  d.dossier_choisi = donnees_;
  d.dossier_choisi_sortie = dossier_->sous_dossier("sortie");
  d.masque = "*.txt";
  d.equiv_na = "NA;-9999;V";
  d.format_datetime_mesure = "jj/mm/aaaa hh:mn:ss";
  d.nom_fic_sortie = "débit_#";
  d.methode = Methode::cumul;
  d.separateur_colonne = SeparateurColonne::point_virgule;
  d.coul_nb = 1;
  d.decalage = (2 * 3600 + 30 * 60) / 86400.0;
  d.constat_derive = *encoder_date(2023, 4, 9, 17, 58, 54);
  d.debut_derive = *encoder_date(2023, 1, 1);
  d.min_dsc = "01/01/2021 00:00:00";
  d.suite_coche_liste_graph = "1,1,0";
  d.name_prog_blocnote = "gedit";  // the start value's final blank would be trimmed
  s().nom_description = "aller_retour.dsc";
  ASSERT_TRUE(ecrire_description(s()));
  const Description ecrite = d;
  d = description_au_demarrage(0);
  d.dossier_description = descriptions_;
  ASSERT_TRUE(lire_description(s()));
  EXPECT_EQ(lignes_dsc(d), lignes_dsc(ecrite));
  EXPECT_EQ(d, ecrite);
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(FichierDsc, ReadingTrimsAndCutsAtEqualSign) {
  d().nom_fic_sortie = "  a=b  ";
  d().texte_na = " ";
  d().balise_deb = "  DATA";
  s().nom_description = "coupe.dsc";
  ASSERT_TRUE(ecrire_description(s()));
  ASSERT_TRUE(lire_description(s()));
  EXPECT_EQ(d().nom_fic_sortie, "a");
  EXPECT_EQ(d().texte_na, "");  // one blank reads back empty
  EXPECT_EQ(d().balise_deb, "DATA");
  EXPECT_EQ(d().name_prog_blocnote, "notepad++.exe");
}

TEST_F(FichierDsc, NoKeyGivesExactlyTheDefaults) {
  poser_dsc("vide.dsc", {"rien ici", "Autre_cle= 3"});
  d().methode = Methode::moyenne_comblee;
  ASSERT_TRUE(lire_description(s()));
  Description attendu = description_par_defaut(programme_);
  // Settings 63 and 64 take the current date and time.
  EXPECT_NEAR(*lire_date_heure(d().min_dsc), maintenant(), 2.0 / 86400);
  EXPECT_NEAR(*lire_date_heure(d().max_dsc), maintenant(), 2.0 / 86400);
  attendu.min_dsc = d().min_dsc;
  attendu.max_dsc = d().max_dsc;
  attendu.dossier_choisi = descriptions_;  // no data folder: the file's own
  EXPECT_EQ(d(), attendu);
}

TEST_F(FichierDsc, KeyMatchingRules) {
  poser_dsc("cles.dsc",
            {"Edit_masque.text=*.txt", "edit_nom_fic_sortie.TEXT= sortie", "Edit_NA.text = x",
             "Edit_nb_decimale.text= 4", "Edit_nb_decimale.text= 5",
             "CheckBox_recursif.Checked= True", "Edit_balise_deb.text= D\u00C3\u00A9but"});
  // The UTF-8 "é" of another editor reaches the program as two characters.
  ASSERT_TRUE(lire_description(s()));
  EXPECT_EQ(d().masque, "*.txt");           // no blank after "=" still reads
  EXPECT_EQ(d().nom_fic_sortie, "sortie");  // key letters in any case
  EXPECT_EQ(d().texte_na, "");              // a blank before "=" does not match
  EXPECT_EQ(d().nb_decimale, "4");          // the first occurrence counts
  EXPECT_FALSE(d().recursif);
  EXPECT_EQ(d().balise_deb, "Début");  // accents repaired
}

TEST_F(FichierDsc, IndexNotNamingAnOptionStopsReadingAtThatKey) {
  for (const std::string& valeur : std::vector<std::string>{"deux", "6", "-1", "999999"}) {
    poser_dsc("faux.dsc",
              {"Edit_masque.text= *.dat", "RadioGroup_datetime_nb_col_ItemIndex= 1",
               "RadioGroup_methode_ItemIndex= " + valeur,
               "RadioGroup_separateur_sortie_ItemIndex= 3", "Label_pas_dsc.caption= 01:00:00"});
    d().dossier_description = descriptions_;  // the file names none
    d().masque = "*.csv";
    d().separateur_sortie = SeparateurSortie::espace;
    d().pas_dsc = "avant";
    d().methode = Methode::moyenne_comblee;
    s().description_modifiee = true;
    port_.echanges.clear();
    EXPECT_FALSE(lire_description(s())) << valeur;
    ASSERT_EQ(port_.echanges.size(), 1u) << valeur;
    EXPECT_EQ(port_.echanges[0].texte, "'" + valeur + "' n'est pas une valeur entière correcte");
    // Settings read before the key stay applied, later ones keep their values.
    EXPECT_EQ(d().masque, "*.dat") << valeur;
    EXPECT_EQ(d().datetime_nb_col, ColonnesDate::deux) << valeur;
    EXPECT_EQ(d().methode, Methode::moyenne_comblee) << valeur;
    EXPECT_EQ(d().separateur_sortie, SeparateurSortie::espace) << valeur;
    EXPECT_EQ(d().pas_dsc, "avant") << valeur;
    EXPECT_TRUE(s().description_modifiee) << valeur;
  }
}

TEST_F(FichierDsc, OpenOfAFileReadInPartKeepsBothDescriptions) {
  const std::vector<std::string> contenu = {"Edit_masque.text= *.dat",
                                            "RadioGroup_methode_ItemIndex= 999999"};
  const std::string chemin = dossier_->ecrire("ailleurs/hors.dsc", crlf(contenu));
  s().nom_description = "actuelle.dsc";
  d().masque = "*.txt";
  const Description avant = d();
  port_.fichiers_a_ouvrir.push_back(chemin);
  ouvrir_description(s());
  EXPECT_EQ(port_.dernier_texte(), "'999999' n'est pas une valeur entière correcte");
  EXPECT_EQ(d(), avant);
  EXPECT_EQ(s().nom_description, "actuelle.dsc");
  EXPECT_EQ(DossierTemporaire::lire(chemin), crlf(contenu));  // not written over
  EXPECT_FALSE(fichier_existe(s().chemin_parametres()));
}

TEST_F(FichierDsc, DataFolderLeftEmptyOrRelativeIsTakenFromTheFileOwnFolder) {
  dossier_->ecrire("descriptions/a.csv", "x");
  const std::string autre = dossier_->sous_dossier("autre");
  const std::string sous = dossier_->sous_dossier("descriptions/sous");
  // The line naming the data folder ("" for none) and the folder it gives.
  const std::pair<std::string, std::string> cas[] = {
      {"", descriptions_},
      {"dossier_choisi=", descriptions_},
      {"dossier_choisi= .", descriptions_},
      {"dossier_choisi= ./", descriptions_},
      {"dossier_choisi= \\.", descriptions_},
      {"dossier_choisi= \\.\\", descriptions_},
      {"dossier_choisi= /./", descriptions_},
      {"dossier_choisi= " + autre, autre},
      {"dossier_choisi= /", "/"},
      {"dossier_choisi= sous/", sous},
      {"dossier_choisi= sous", sous},
      {"dossier_choisi= ./sous/./", sous},
      {"dossier_choisi= ../autre/", autre},
      {"dossier_choisi= C:\\mesures\\", "C:\\mesures\\"}};
  for (const auto& [ligne, attendu] : cas) {
    poser_dsc("sans.dsc", {ligne, "Edit_masque.text= *.csv"});
    d().dossier_description = descriptions_;  // the file names none
    d().dossier_choisi = "/ailleurs/";
    ASSERT_TRUE(lire_description(s())) << ligne;
    EXPECT_EQ(d().dossier_choisi, attendu) << ligne;
    if (attendu == descriptions_) {
      EXPECT_EQ(s().nb_fichiers, 1) << ligne;  // a.csv, beside the file
    }
  }
}

TEST_F(FichierDsc, RelativeOutputFolderIsTakenFromTheFileOwnFolder) {
  const std::pair<std::string, std::string> cas[] = {
      {"dossier_choisi_sortie= resultats/", descriptions_ + "resultats/"},
      {"dossier_choisi_sortie= ../sortie", dossier_->chemin() + "sortie/"},
      {"dossier_choisi_sortie= /tmp/", "/tmp/"},
      {"", s().repertoire_programme()}};
  for (const auto& [ligne, attendu] : cas) {
    poser_dsc("sortie.dsc", {ligne, "Edit_masque.text= *.csv"});
    d().dossier_description = descriptions_;
    ASSERT_TRUE(lire_description(s())) << ligne;
    EXPECT_EQ(d().dossier_choisi_sortie, attendu) << ligne;
  }
}

TEST_F(FichierDsc, GivenDataFolderTakesThePlaceOfTheFileOwnBeforeCounting) {
  dossier_->ecrire("descriptions/a.csv", "x");
  dossier_->ecrire("donnees/b.csv", "x");
  dossier_->ecrire("donnees/c.csv", "x");
  poser_dsc("d.dsc", {"dossier_choisi= " + descriptions_, "Edit_masque.text= *.csv"});
  ASSERT_TRUE(lire_description(s(), dossier_->chemin() + "donnees"));
  EXPECT_EQ(d().dossier_choisi, dossier_->chemin() + "donnees/");
  EXPECT_EQ(s().nb_fichiers, 2);
  EXPECT_EQ(s().premier_fichier, "b.csv");
}

TEST_F(FichierDsc, MissingFileChangesNothing) {
  s().nom_description = "absent.dsc";
  d().methode = Methode::minimum;
  s().description_modifiee = true;
  const Description avant = d();
  EXPECT_FALSE(lire_description(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            " Fichier de description <absent.dsc> introuvable dans le dossier\n\n<" +
                descriptions_ + ">");
  EXPECT_EQ(d(), avant);
  EXPECT_TRUE(s().description_modifiee);
}

TEST_F(FichierDsc, PlaceholderNamesDoNothing) {
  for (const char* nom :
       {"fichier de description de données", "\\fichier de description de données", "  "}) {
    s().nom_description = nom;
    EXPECT_FALSE(lire_description(s()));
    EXPECT_FALSE(ecrire_description(s()));
  }
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(FichierDsc, ExtensionIsComparedWithoutCase) {
  poser_dsc("Station.dsc", {"Edit_masque.text= *.abc"});
  s().nom_description = "Station.DSC";
  ASSERT_TRUE(lire_description(s()));
  EXPECT_EQ(d().masque, "*.abc");
  // The file names no directory: the description directory took its default.
  EXPECT_EQ(d().dossier_description, programme_);
  d().dossier_description = descriptions_;
  s().nom_description = "Station.txt";  // any extension means the DSC file
  d().masque = "*.xyz";
  ASSERT_TRUE(ecrire_description(s()));
  EXPECT_FALSE(fichier_existe(descriptions_ + "Station.DSC"));
  EXPECT_NE(DossierTemporaire::lire(descriptions_ + "Station.dsc").find("*.xyz"),
            std::string::npos);
}

TEST_F(FichierDsc, UnwritableFileKeepsTheModifiedFlag) {
  d().dossier_description = dossier_->chemin() + "absent/";
  s().nom_description = "x.dsc";
  s().description_modifiee = true;
  EXPECT_FALSE(ecrire_description(s()));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte, "Impossible de créer le fichier " + dossier_->chemin() +
                                         "absent/x.dsc\n\n  (répertoire inexistant)");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_FALSE(fichier_existe(s().chemin_parametres()));
}

TEST_F(FichierDsc, WritingAModifiedDescriptionUpdatesTheParametersAndThePeriod) {
  s().nom_description = "p.dsc";
  s().couleurs[0] = Couleur{1, 2, 3};
  s().description_modifiee = false;
  ASSERT_TRUE(ecrire_description(s()));
  EXPECT_FALSE(fichier_existe(s().chemin_parametres()));

  s().description_modifiee = true;
  ASSERT_TRUE(ecrire_description(s()));
  EXPECT_FALSE(s().description_modifiee);
  std::vector<std::string> attendu(60);
  attendu[0] = descriptions_ + "p.dsc";
  attendu[1] = "1,2,3";
  attendu[2] = "245,216,175";
  attendu[3] = "208,240,218";
  attendu[4] = "183,251,249";
  attendu[5] = "0";
  EXPECT_EQ(DossierTemporaire::lire(s().chemin_parametres()), crlf(attendu));

  // With the grey scheme the colours stay as they were.
  s().couleurs[0] = Couleur{9, 9, 9};
  d().coul_nb = 1;
  s().description_modifiee = true;
  ASSERT_TRUE(ecrire_description(s()));
  attendu[5] = "1";
  EXPECT_EQ(DossierTemporaire::lire(s().chemin_parametres()), crlf(attendu));

  // A modified period is written too.
  s().periode.debut = "01/01/2022 00:00:00";
  s().periode_modifiee = true;
  ASSERT_TRUE(ecrire_description(s()));
  EXPECT_FALSE(s().periode_modifiee);
  EXPECT_EQ(lire_ligne_fichier(s().chemin_periode(), 1), "01/01/2022 00:00:00");
}

TEST_F(FichierDsc, ProposedNameKeepsOneMaskPart) {
  s().nom_description = "station1.dsc";
  d().masque = "*.csv";
  d().separateur_colonne = SeparateurColonne::point_virgule;
  EXPECT_EQ(nom_description_propose(s()), "station1_(__csv ;).dsc");
  s().nom_description = nom_description_propose(s());
  EXPECT_EQ(nom_description_propose(s()), "station1_(__csv ;).dsc");
  d().separateur_colonne = SeparateurColonne::tabulation;
  d().masque = "txt";
  EXPECT_EQ(nom_description_propose(s()), "station1_(txt Tab).dsc");
}

TEST_F(FichierDsc, SaveUnderAppendsTheExtension) {
  port_.fichiers_a_enregistrer.push_back(descriptions_ + "station2");
  s().nom_description = "station1.dsc";
  d().masque = "*.csv";
  d().separateur_colonne = SeparateurColonne::virgule;
  enregistrer_description_sous(s());
  ASSERT_EQ(port_.dialogues.size(), 1u);
  EXPECT_EQ(port_.dialogues[0].titre, "enregistrement  de la description des données");
  EXPECT_EQ(port_.dialogues[0].propose, "station1_(__csv ,).dsc");
  EXPECT_EQ(port_.dialogues[0].dossier, descriptions_);
  EXPECT_TRUE(port_.dialogues[0].demander_ecrasement);
  EXPECT_EQ(s().nom_description, "station2.dsc");
  EXPECT_TRUE(fichier_existe(descriptions_ + "station2.dsc"));
  // The parameters file holds the path of the new description on line 1.
  EXPECT_EQ(lire_ligne_fichier(s().chemin_parametres(), 1), descriptions_ + "station2.dsc");

  port_.fichiers_a_enregistrer.push_back(descriptions_ + "STATION3.DSC");
  enregistrer_description_sous(s());
  EXPECT_EQ(s().nom_description, "STATION3.DSC");
  EXPECT_TRUE(fichier_existe(descriptions_ + "STATION3.DSC"));

  port_.fichiers_a_enregistrer.push_back(std::nullopt);  // cancelled
  enregistrer_description_sous(s());
  EXPECT_EQ(s().nom_description, "STATION3.DSC");
}

TEST_F(FichierDsc, OpenTakesTheDirectoryWhereTheFileWasFound) {
  const std::string ailleurs = dossier_->sous_dossier("ailleurs");
  dossier_->ecrire("ailleurs/choisi.dsc",
                   crlf({"dossier_description= /nulle/part/", "RadioGroup_methode_ItemIndex= 3",
                         "dossier_choisi= " + ailleurs, "dossier_choisi_sortie= " + ailleurs}));
  port_.fichiers_a_ouvrir.push_back(ailleurs + "choisi.dsc");
  ouvrir_description(s());
  ASSERT_EQ(port_.dialogues.size(), 1u);
  EXPECT_EQ(port_.dialogues[0].titre, "choix de la description des données : " + descriptions_);
  EXPECT_EQ(port_.dialogues[0].filtre,
            "Fichiers descriptifs (*.dsc)|*.dsc|Tous les fichiers (*.*)|*.*");
  EXPECT_EQ(port_.dialogues[0].propose, "*.dsc");
  EXPECT_EQ(d().methode, Methode::minimum);
  EXPECT_EQ(d().dossier_description, ailleurs);
  EXPECT_EQ(s().nom_description, "choisi.dsc");
  EXPECT_EQ(s().legende_fenetre, titre_programme() + "         >  choisi.dsc");
  // The file itself now names the directory it was found in.
  EXPECT_EQ(lire_ligne_fichier(ailleurs + "choisi.dsc", 18), "dossier_description= " + ailleurs);
  std::vector<std::string> attendu(60);
  attendu[0] = ailleurs + "choisi.dsc";
  attendu[5] = "0";
  EXPECT_EQ(DossierTemporaire::lire(s().chemin_parametres()), crlf(attendu));
  EXPECT_TRUE(port_.choix_repertoire.empty());  // both directories exist
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(FichierDsc, SaveAsksAndMakesTheTitleLineConsistent) {
  s().nom_description = "s.dsc";
  d().avec_sans_intitule = Intitules::avec;
  d().num_ligne_intitule_col = "0";
  s().description_modifiee = true;
  port_.reponses = {Reponse::oui};
  enregistrer_description(s());
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            " Enregistrer les modifications de la description de données    s.dsc\n\n dans le "
            "répertoire " +
                descriptions_ + "   ?   \n\n");
  EXPECT_EQ(port_.echanges[0].boutons, Boutons::oui_non_annuler);
  EXPECT_EQ(d().num_ligne_intitule_col, "1");
  EXPECT_TRUE(fichier_existe(descriptions_ + "s.dsc"));

  d().avec_sans_intitule = Intitules::sans;
  d().num_ligne_intitule_col = "3";
  port_.reponses = {Reponse::non};
  enregistrer_description(s());
  EXPECT_EQ(port_.echanges[1].texte.rfind(" Enregistrer la description de données    s.dsc", 0),
            0u);
  EXPECT_EQ(d().num_ligne_intitule_col, "3");  // "No" writes nothing
  port_.reponses = {Reponse::oui};
  enregistrer_description(s());
  EXPECT_EQ(d().num_ligne_intitule_col, "0");
}

TEST_F(FichierDsc, SaveWithoutDescriptionDirectoryOpensItsChooser) {
  d().dossier_description.clear();
  s().description_modifiee = true;
  enregistrer_description(s());
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.echanges[0].texte,
            " Nouveau fichier de description \n choisir d'abord le dossier des descriptions...");
  EXPECT_EQ(port_.choix_repertoire, std::vector<Repertoire>{Repertoire::description});
  EXPECT_FALSE(s().description_modifiee);
  // The banner stands in front of the window while the message is shown.
  using Bandeau = std::pair<std::string, std::size_t>;
  EXPECT_EQ(
      port_.bandeaux,
      (std::vector<Bandeau>{
          {"déplacer \"notepad++\" vers le bas pour voir les messages au centre de l'écran", 0},
          {"", 1}}));
}

TEST_F(FichierDsc, NewDescriptionKeepsOnlyTheDirectories) {
  d().dossier_choisi = donnees_;
  d().dossier_choisi_sortie = donnees_;
  d().methode = Methode::cumul;
  s().nom_description = "ancienne.dsc";
  ecrire_fichier_une_ligne("x", s().chemin_parametres());
  port_.reponses = {Reponse::non};
  nouvelle_description(s());
  EXPECT_EQ(d().methode, Methode::cumul);  // anything but Yes stops
  EXPECT_TRUE(fichier_existe(s().chemin_parametres()));
  // Yes, then the save dialog cancelled: nothing changed, nothing deleted.
  port_.reponses = {Reponse::oui};
  port_.fichiers_a_enregistrer.push_back(std::nullopt);
  nouvelle_description(s());
  EXPECT_EQ(d().methode, Methode::cumul);
  EXPECT_EQ(s().nom_description, "ancienne.dsc");
  EXPECT_EQ(lire_ligne_fichier(s().chemin_parametres(), 1), "x");
  port_.echanges.clear();
  port_.reponses = {Reponse::non};
  nouvelle_description(s());

  port_.reponses = {Reponse::oui};
  port_.fichiers_a_enregistrer.push_back(descriptions_ + "neuve");
  nouvelle_description(s());
  EXPECT_EQ(port_.echanges[1].texte,
            "Nouvelle description ? \n\n ( Valeurs par défaut, seuls les 3 répertoires sont "
            "conservés )     ");
  EXPECT_EQ(port_.dialogues.back().titre, "Nouvelle description des données à créer");
  EXPECT_EQ(port_.dialogues.back().propose, "");
  EXPECT_EQ(s().nom_description, "neuve.dsc");
  EXPECT_EQ(d().methode, Methode::moyenne);
  EXPECT_EQ(d().masque, "*.csV");
  EXPECT_EQ(d().dossier_choisi, donnees_);
  EXPECT_EQ(d().dossier_description, descriptions_);
  EXPECT_EQ(port_.dernier_texte(),
            " Choisir le répertoire des données \n  et ouvrir un exemplaire de fichier à "
            "traiter ...");
  EXPECT_EQ(port_.choix_repertoire.back(), Repertoire::donnees);
  EXPECT_EQ(lire_ligne_fichier(s().chemin_parametres(), 1), descriptions_ + "neuve.dsc");
}

TEST_F(FichierDsc, ReadingSetsSourceCaptionAndFileCount) {
  dossier_->ecrire("donnees/b.csv", "x");
  dossier_->ecrire("donnees/a.csv", "x");
  poser_dsc("src.dsc", {"dossier_choisi= " + donnees_, "Edit_masque.text= *.csv"});
  s().intitule_origine = "anciens titres";
  ASSERT_TRUE(lire_description(s()));
  EXPECT_EQ(s().source, SourceDonnees::repertoire);
  EXPECT_EQ(s().nb_fichiers, 2);
  EXPECT_EQ(s().premier_fichier, "a.csv");
  EXPECT_EQ(s().etiquette("Label54"), "2");
  EXPECT_EQ(s().etiquette("Label_fic"), "a.csv");
  EXPECT_EQ(s().intitule_origine, "");
  EXPECT_EQ(s().legende_bouton_lister(), "1- Valider et Lister les fichiers   *.csv");
  // A clipboard description reads the clipboard again.
  port_.presse_papier = "Date\tT\n12/03/2021 10:00\t4\n";
  poser_dsc("pp.dsc", {"Edit_masque.text= ppp", "RadioGroup_separateur_colonne_ItemIndex= 2"});
  d().dossier_description = descriptions_;
  ASSERT_TRUE(lire_description(s())) << port_.dernier_texte();
  EXPECT_EQ(s().source, SourceDonnees::presse_papier);
  EXPECT_EQ(DossierTemporaire::lire(s().repertoire_programme() + kFichierPressePapier),
            crlf({"Date;T", "12/03/2021 10:00;4"}));
  d().masque = "classeur.Xls";
  EXPECT_EQ(s().legende_bouton_lister(), "1- Valider le fichier classeur.Xls");
  d().masque = "ppp";
  EXPECT_EQ(s().legende_bouton_lister(), "1- Valider le presse-papier");
}

// ---- description summary and drive change ----

TEST_F(FichierDsc, DirectoryPassWithoutModificationChangesNoFile) {
  const std::string existe = dossier_->sous_dossier("existe");
  const std::vector<std::string> contenu = {
      "dossier_choisi= " + existe, "dossier_description= /absent/desc", "Edit_masque.text= *.csv"};
  const std::string chemin = poser_dsc("a.dsc", contenu);
  ResumeDsc r;
  ASSERT_TRUE(resume_dsc(s(), r));
  EXPECT_EQ(r.chemins, std::vector<std::string>{chemin});
  // The data directory's default, "/./", exists: it is the root directory.
  const std::string defaut = dossier_donnees_par_defaut() + kSeparateurChemin;
  const std::vector<std::string> attendu = {
      chemin,
      "",
      "a.dsc",
      "  " + existe,
      "  échec  /absent/desc/=>/absent/desc/",
      "/absent/desc/ <= /absent/desc/  échec",
      "  " + defaut,
  };
  EXPECT_EQ(r.texte, attendu);
  EXPECT_EQ(DossierTemporaire::lire(chemin), crlf(contenu));
}

TEST_F(FichierDsc, SummaryNeedsADescriptionDirectory) {
  d().dossier_description.clear();
  ResumeDsc r;
  EXPECT_FALSE(resume_dsc(s(), r));
  EXPECT_EQ(port_.dernier_texte(), " D'abord choisir un répertoire des fichiers de description \n");
  EXPECT_EQ(port_.choix_repertoire, std::vector<Repertoire>{Repertoire::description});
}

TEST_F(FichierDsc, DriveChangeRewritesTheDirectoriesThatExist) {
  // Two copies of a tree: "/.../disque1/..." moved to "/.../disque2/...".
  const std::string d1 = dossier_->sous_dossier("disque1");
  const std::string d2 = dossier_->sous_dossier("disque2");
  dossier_->sous_dossier("disque2/donnees");
  dossier_->sous_dossier("disque2/sortie");
  const std::string chemin = poser_dsc(
      "m.dsc", {"Edit_masque.text= *.csv", "dossier_choisi= " + d1 + "donnees",
                "dossier_description= " + d1 + "desc", "dossier_choisi_sortie= " + d1 + "sortie"});
  d().dossier_choisi = d1 + "donnees/";
  d().dossier_choisi_sortie = d1 + "sortie/";
  ResumeDsc r;
  r.chemins = {chemin};
  r.prefixe_ancien = d1;
  r.lecteur = d2;
  port_.reponses = {Reponse::oui};
  ASSERT_TRUE(changer_lecteur(s(), r));
  EXPECT_EQ(port_.echanges[0].texte,
            " Confimation du changement de lecteur dans les fichiers DSC  (" + d2 + ")  ");
  const auto lignes = lire_lignes_texte(chemin).value();
  EXPECT_EQ(lignes[0], "Edit_masque.text= *.csv");
  EXPECT_EQ(lignes[1], "dossier_choisi= " + d2 + "donnees/");
  EXPECT_EQ(lignes[2], "dossier_description= " + d1 + "desc");  // no such directory: unchanged
  EXPECT_EQ(lignes[3], "dossier_choisi_sortie= " + d2 + "sortie/");
  EXPECT_EQ(r.texte.back(),
            " mise à jour des 1 fichiers de description, 2 modif. avec le lecteur " + d2 +
                " ( 3x1 = 3 )");
  EXPECT_EQ(d().dossier_choisi, d2 + "donnees/");
  EXPECT_EQ(d().dossier_choisi_sortie, d2 + "sortie/");
  EXPECT_EQ(d().dossier_description, descriptions_);
  EXPECT_TRUE(s().description_modifiee);
}

TEST(CandidatLecteur, DriveLetterOrPrefix) {
  EXPECT_EQ(candidat_lecteur("C:\\TAMSO\\Export\\", "D:", ""), "D:\\TAMSO\\Export\\");
  EXPECT_EQ(candidat_lecteur("/media/a/m/", "/media/b", "/media/a"), "/media/b/m/");
  EXPECT_EQ(candidat_lecteur("/autre/m/", "/media/b", "/media/a"), "/autre/m/");
  EXPECT_EQ(candidat_lecteur("/x/", "", ""), "/x/");
}

}  // namespace
}  // namespace tamso
