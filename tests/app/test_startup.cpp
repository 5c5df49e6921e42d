#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/session.h"
#include "app/startup.h"
#include "app/program_files.h"
#include "input/files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;
namespace fs = std::filesystem;

class Demarrage : public test::AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    descriptions_ = dossier_->sous_dossier("descriptions");
    nouvelle_session();
  }
  void nouvelle_session(char separateur = ',') {
    session_ = std::make_unique<Session>(port_, OptionsSession{separateur, programme_});
  }
  // A DSC file holding a few keys; its other settings take their defaults.
  std::string ecrire_dsc(const std::string& nom, const std::string& masque) {
    return dossier_->ecrire("descriptions/" + nom,
                            "Edit_masque.text= " + masque + "\r\nEdit_nb_decimale.text= 4\r\n");
  }
  Session& s() { return *session_; }

  InteractionScriptee port_;
  std::string descriptions_;
  std::unique_ptr<Session> session_;
};

TEST(ArgumentDescription, PiecesOfAPathWithBlanksAreJoined) {
  EXPECT_EQ(argument_description({"/home/a/mes", "descriptions/x.dsc"}),
            "/home/a/mes descriptions/x.dsc");
  EXPECT_EQ(argument_description({"\"/a b/x.dsc\""}), "/a b/x.dsc");
  EXPECT_EQ(argument_description({"  /x.dsc "}), "/x.dsc");
  EXPECT_EQ(argument_description({}), "");
}

TEST_F(Demarrage, WithoutFilesNothingIsAskedAndTheBannerIsWritten) {
  EXPECT_FALSE(sequence_demarrage(s(), ""));
  EXPECT_TRUE(port_.echanges.empty());
  const std::vector<std::string> attendu = {titre_programme(), "", ligne_version(),
                                            "ORDINATEUR  DecimalSeparator  ,   virgule"};
  EXPECT_EQ(s().journal.lignes(), attendu);
  EXPECT_EQ(s().couleurs, couleurs_par_defaut());
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(Demarrage, PointSeparatorIsNamedInTheBanner) {
  nouvelle_session('.');
  sequence_demarrage(s(), "");
  EXPECT_EQ(s().journal.derniere(), "ORDINATEUR  DecimalSeparator  .   point");
}

TEST_F(Demarrage, DeletedLastDescriptionGivesOneMessage) {
  const std::string chemin = descriptions_ + "perdue.dsc";
  ASSERT_TRUE(ecrire_fichier_une_ligne(chemin, s().chemin_parametres()));
  EXPECT_FALSE(sequence_demarrage(s(), ""));
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.dernier_texte(), "Le fichier <" + chemin + ">\n n'existe pas ");
  EXPECT_EQ(s().nom_description, kDescriptionAucune);
}

TEST_F(Demarrage, LastDescriptionIsReadAfterAYes) {
  const std::string chemin = ecrire_dsc("station.dsc", "*.dat");
  ASSERT_TRUE(ecrire_fichier_une_ligne(chemin, s().chemin_parametres()));
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(sequence_demarrage(s(), ""));
  ASSERT_FALSE(port_.echanges.empty());
  EXPECT_EQ(port_.echanges[0].texte,
            "____________________________________ T a m s o\n\ndans => " + descriptions_ +
                "\n\n\nutiliser la dernière description utilisée ?                     \n\n"
                "station.dsc\n");
  EXPECT_EQ(s().nom_description, "station.dsc");
  EXPECT_EQ(s().description.dossier_description, descriptions_);
  EXPECT_EQ(s().description.masque, "*.dat");
  EXPECT_EQ(s().description.nb_decimale, "4");
  EXPECT_EQ(s().legende_fenetre, titre_programme() + "         >  station.dsc");
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(Demarrage, LastDescriptionIsLeftAfterANo) {
  const std::string chemin = ecrire_dsc("station.dsc", "*.dat");
  ASSERT_TRUE(ecrire_fichier_une_ligne(chemin, s().chemin_parametres()));
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(sequence_demarrage(s(), ""));
  EXPECT_EQ(s().description.masque, "csv");  // the value at program start
  EXPECT_EQ(s().journal.taille(), 4u);
}

TEST_F(Demarrage, ArgumentIsOpenedWithoutAsking) {
  const std::string chemin = ecrire_dsc("arg.dsc", "*.txt");
  EXPECT_TRUE(sequence_demarrage(s(), chemin));
  for (const auto& e : port_.echanges) EXPECT_EQ(e.boutons, Boutons::ok) << e.texte;
  EXPECT_EQ(s().description.masque, "*.txt");
  EXPECT_EQ(s().nom_description, "arg.dsc");
  EXPECT_EQ(s().description.dossier_description, descriptions_);
}

TEST_F(Demarrage, LastDescriptionReadInPartIsNotTaken) {
  const std::string chemin =
      dossier_->ecrire("descriptions/hors.dsc", "Edit_masque.text= *.dat\r\n"
                                                "RadioGroup_separateur_colonne_ItemIndex= 99\r\n");
  const Description avant = s().description;
  EXPECT_FALSE(sequence_demarrage(s(), chemin));
  EXPECT_EQ(port_.dernier_texte(), "'99' n'est pas une valeur entière correcte");
  // The program goes on with the settings it had: leaving it writes no file.
  EXPECT_EQ(s().description, avant);
  EXPECT_EQ(s().nom_description, kDescriptionAucune);
}

TEST_F(Demarrage, PeriodFileIsRead) {
  ASSERT_TRUE(ecrire_lignes_numerotees(s().chemin_periode(), {{1, "01/02/2022 00:00:00"},
                                                              {2, "03/02/2022 00:00:00"},
                                                              {3, "01:00:00"},
                                                              {5, "3"},
                                                              {6, "1"},
                                                              {7, "1"}}));
  sequence_demarrage(s(), "");
  EXPECT_EQ(s().periode.debut, "01/02/2022 00:00:00");
  EXPECT_EQ(s().periode.fin, "03/02/2022 00:00:00");
  EXPECT_NEAR(s().periode.pas, 1.0 / 24, 1e-9);
  EXPECT_EQ(s().periode.nb_pas, 3);
  EXPECT_EQ(s().periode.test_date, TestDate::inf_strict);
  EXPECT_EQ(s().periode.unite, UnitePas::jour);
}

// ---------------------------------------------------------------- leaving

TEST_F(Demarrage, LeavingNeedsAYes) {
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(quitter_programme(s()));
  EXPECT_EQ(port_.dernier_texte(), "Quitter  ?\n");
}

TEST_F(Demarrage, LeavingWritesTheDescriptionAndPeriodAndRemovesTemporaryFiles) {
  const std::string tmp = dossier_->ecrire("programme/~tmp.txt", "x");
  const std::string pp = dossier_->ecrire("programme/~presse-papier.ppp", "x");
  s().description.dossier_description = descriptions_;
  s().nom_description = "sortie.dsc";
  s().description.masque = "*.abc";
  s().periode_modifiee = true;
  s().description_modifiee = true;
  bool resultats = false;
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(quitter_programme(s(), [&resultats](Session&) { resultats = true; }));
  EXPECT_TRUE(resultats);
  EXPECT_FALSE(fichier_existe(tmp));
  EXPECT_FALSE(fichier_existe(pp));
  EXPECT_TRUE(fichier_existe(s().chemin_periode()));
  EXPECT_FALSE(s().periode_modifiee);
  const auto lignes = lire_lignes_texte(s().chemin_dsc());
  ASSERT_TRUE(lignes.has_value());
  EXPECT_NE(std::find(lignes->begin(), lignes->end(), "Edit_masque.text= *.abc"), lignes->end());
}

TEST_F(Demarrage, ClipboardDescriptionIsProposedBeforeLeaving) {
  s().source = SourceDonnees::presse_papier;
  s().nom_description = "st.dsc";
  s().description.masque = "ppp";
  s().description.separateur_colonne = SeparateurColonne::point_virgule;
  port_.reponses = {Reponse::annuler};
  EXPECT_FALSE(quitter_programme(s()));
  EXPECT_EQ(port_.dernier_texte(),
            "avant de quitter, enregistrer une description propre au Presse-Papier ?\n\n (Non) "
            "actuelle : st.dsc\n\n (Oui) proposée : st_(ppp ;).dsc\n\n  (Annuler)  = retour");
  port_.reponses = {Reponse::oui, Reponse::non};
  EXPECT_FALSE(quitter_programme(s()));
  EXPECT_EQ(s().nom_description, "st_(ppp ;).dsc");
  EXPECT_TRUE(s().description_modifiee);
  // A clipboard description is not asked about again.
  port_.echanges.clear();
  port_.reponses = {Reponse::non};
  quitter_programme(s());
  EXPECT_EQ(port_.echanges.size(), 1u);
}

// ---------------------------------------------------------------- directory chooser

TEST_F(Demarrage, ChooserStartsInAnExistingDirectory) {
  s().description.dossier_choisi = descriptions_;
  EXPECT_EQ(repertoire_depart_choix(s(), Repertoire::donnees), descriptions_);
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(Demarrage, ChooserOfAMissingDirectorySaysItIsInaccessible) {
  s().description.dossier_description = dossier_->chemin() + "absent/";
  repertoire_depart_choix(s(), Repertoire::description);
  EXPECT_EQ(port_.dernier_texte(), "   Répertoire des descriptions\n\nDOSSIER INACCESSIBLE\n\n<" +
                                       dossier_->chemin() + "absent/>\n\n");
}

TEST_F(Demarrage, ChooserWithoutDirectoryStartsInTheCurrentOne) {
  const std::string r = repertoire_depart_choix(s(), Repertoire::donnees);
  EXPECT_EQ(r, avec_barre_finale(fs::current_path().string()));
  EXPECT_TRUE(port_.echanges.empty());
}

TEST_F(Demarrage, MissingOutputDirectoryProposesExportInTheDataDirectory) {
  const std::string donnees = dossier_->sous_dossier("donnees");
  s().description.dossier_choisi = donnees;
  s().description.dossier_choisi_sortie = dossier_->chemin() + "absent/";
  s().description_modifiee = true;
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(repertoire_depart_choix(s(), Repertoire::sortie), donnees + "EXPORT/");
  EXPECT_EQ(port_.dernier_texte(),
            " Créer le sous répertoire " + donnees + "EXPORT pour les fichiers de sortie ? ");
  EXPECT_TRUE(repertoire_existe(donnees + "EXPORT"));
  EXPECT_EQ(s().description.dossier_choisi_sortie, donnees + "EXPORT/");
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(Demarrage, MaskIsProposedFromTheFolderFirstFile) {
  const std::string donnees = dossier_->sous_dossier("donnees");
  dossier_->ecrire("donnees/b.txt", "x");
  dossier_->ecrire("donnees/a.txt", "x");
  s().description.masque = "*.csv";
  port_.reponses = {Reponse::oui, Reponse::oui};
  proposer_masque(s(), donnees);
  ASSERT_EQ(port_.echanges.size(), 2u);
  EXPECT_EQ(port_.echanges[0].texte,
            donnees +
                "\n\n   Aucun fichier de ce répertoire n'a l'extention attendue de *.csv\n\n"
                " Mettre à jour le champ [masque] des extentions de fichiers ?      \n\n"
                "  attendu  => *.csv\n\n  nouveau détecté => *.txt  2 fichier(s)");
  EXPECT_EQ(port_.echanges[1].texte,
            " Visualiser un fichier de données pour aider à remplir les champs ? \na.txt");
  EXPECT_EQ(s().description.masque, "*.txt");
  EXPECT_TRUE(s().description_modifiee);
  ASSERT_EQ(port_.editeur.size(), 1u);
  EXPECT_EQ(port_.editeur[0].first + port_.editeur[0].second, donnees + "a.txt");
}

TEST_F(Demarrage, MatchingFilesOnlyShowTheCount) {
  const std::string donnees = dossier_->sous_dossier("donnees");
  dossier_->ecrire("donnees/a.csv", "x");
  s().description.masque = "csv";
  proposer_masque(s(), donnees);
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_EQ(s().etiquette("Label54"), "1");
  EXPECT_EQ(s().etiquette("Label_fic"), "a.csv");
}

TEST_F(Demarrage, ValidatingADirectoryKeepsTheRecentOnes) {
  const std::string donnees = dossier_->sous_dossier("donnees");
  const std::string autre = dossier_->sous_dossier("autre");
  s().description.dossier_choisi = donnees;
  valider_choix_repertoire(s(), Repertoire::sortie, autre);
  EXPECT_EQ(s().description.dossier_choisi_sortie, autre);
  EXPECT_EQ(s().repertoires_recents, (std::vector<std::string>{"1- " + donnees}));
  valider_choix_repertoire(s(), Repertoire::sortie, autre);
  EXPECT_EQ(s().repertoires_recents, (std::vector<std::string>{"1- " + donnees, "3- " + autre}));
}

TEST_F(Demarrage, RecentEntryIsChosenOrTheListCleared) {
  const std::string autre = dossier_->sous_dossier("autre");
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(choisir_repertoire_recent(s(), Repertoire::sortie, "2- " + autre), IssueRecent::choisi);
  EXPECT_EQ(port_.dernier_texte(),
            "  Choisir le répertoire " + autre + "\n\n  (Non) = effacer la liste\n\n");
  EXPECT_EQ(s().description.dossier_choisi_sortie, autre);

  s().repertoires_recents = {"2- " + autre};
  port_.reponses = {Reponse::non, Reponse::oui};
  EXPECT_EQ(choisir_repertoire_recent(s(), Repertoire::sortie, "2- " + autre),
            IssueRecent::liste_effacee);
  EXPECT_EQ(port_.dernier_texte(), "  Effacer la liste des répertoires ?\n\n");
  EXPECT_TRUE(s().repertoires_recents.empty());

  EXPECT_EQ(choisir_repertoire_recent(s(), Repertoire::sortie, "1- /absent/nulle/part/"),
            IssueRecent::rien);
  EXPECT_EQ(port_.dernier_texte(), "\n/absent/nulle/part/ Répertoire inexistant \n\n");
}

}  // namespace
}  // namespace tamso
