#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/program_files.h"
#include "app/startup.h"
#include "input/files.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

namespace fs = std::filesystem;

// The session as the program starts it, before any description is read.
class Demarrage : public test::AvecSession {
 protected:
  void SetUp() override {
    AvecSession::SetUp();
    nouvelle_session(',', false);
  }
  // A DSC file holding a few keys; its other settings take their defaults.
  std::string ecrire_dsc(const std::string& nom, const std::string& masque) {
    return AvecSession::ecrire_dsc(nom,
                                   {"Edit_masque.text= " + masque, "Edit_nb_decimale.text= 4"});
  }
  // The last description named in the parameters file.
  void derniere_description(const std::string& chemin) {
    ASSERT_TRUE(ecrire_fichier_une_ligne(chemin, s().chemin_parametres()));
  }
};

TEST(ArgumentDescription, PiecesOfAPathWithBlanksAreJoined) {
  EXPECT_EQ(argument_description({"/home/a/mes", "descriptions/x.dsc"}),
            "/home/a/mes descriptions/x.dsc");
  EXPECT_EQ(argument_description({"\"/a b/x.dsc\""}), "/a b/x.dsc");
  EXPECT_EQ(argument_description({"  /x.dsc "}), "/x.dsc");
  EXPECT_EQ(argument_description({}), "");
}

TEST_F(Demarrage, WithoutFilesNothingIsAskedAndTheBannerNamesTheSeparator) {
  for (const auto& [separateur, nom] : {std::pair{',', "virgule"}, {'.', "point"}}) {
    SCOPED_TRACE(nom);
    nouvelle_session(separateur, false);
    EXPECT_FALSE(sequence_demarrage(s(), ""));
    EXPECT_TRUE(port_.echanges.empty());
    const std::vector<std::string> attendu = {
        titre_programme(), "", ligne_version(),
        std::string("ORDINATEUR  DecimalSeparator  ") + separateur + "   " + nom};
    EXPECT_EQ(s().journal.lignes(), attendu);
    EXPECT_EQ(s().couleurs, couleurs_par_defaut());
    EXPECT_FALSE(s().description_modifiee);
  }
}

TEST_F(Demarrage, DeletedLastDescriptionGivesOneMessage) {
  const std::string chemin = descriptions_ + "perdue.dsc";
  derniere_description(chemin);
  EXPECT_FALSE(sequence_demarrage(s(), ""));
  EXPECT_EQ(port_.textes(),
            std::vector<std::string>{"Le fichier <" + chemin + ">\n n'existe pas "});
  EXPECT_EQ(s().nom_description, kDescriptionAucune);
}

TEST_F(Demarrage, LastDescriptionIsReadAfterAYesOnly) {
  derniere_description(ecrire_dsc("station.dsc", "*.dat"));
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(sequence_demarrage(s(), ""));
  EXPECT_EQ(d().masque, "csv");  // the value at program start
  EXPECT_EQ(s().journal.taille(), 4u);

  nouvelle_session(',', false);
  port_.echanges.clear();
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(sequence_demarrage(s(), ""));
  ASSERT_FALSE(port_.echanges.empty());
  EXPECT_EQ(port_.echanges[0].texte,
            "____________________________________ T a m s o\n\ndans => " + descriptions_ +
                "\n\n\nutiliser la dernière description utilisée ?                     \n\n"
                "station.dsc\n");
  EXPECT_EQ(s().nom_description, "station.dsc");
  EXPECT_EQ(d().dossier_description, descriptions_);
  EXPECT_EQ(d().masque, "*.dat");
  EXPECT_EQ(d().nb_decimale, "4");
  EXPECT_EQ(s().legende_fenetre, titre_programme() + "         >  station.dsc");
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(Demarrage, ArgumentIsOpenedWithoutAsking) {
  const std::string chemin = ecrire_dsc("arg.dsc", "*.txt");
  EXPECT_TRUE(sequence_demarrage(s(), chemin));
  for (const auto& e : port_.echanges) EXPECT_EQ(e.boutons, Boutons::ok) << e.texte;
  EXPECT_EQ(d().masque, "*.txt");
  EXPECT_EQ(s().nom_description, "arg.dsc");
  EXPECT_EQ(d().dossier_description, descriptions_);
}

TEST_F(Demarrage, LastDescriptionReadInPartIsNotTaken) {
  const std::string chemin = AvecSession::ecrire_dsc(
      "hors.dsc", {"Edit_masque.text= *.dat", "RadioGroup_separateur_colonne_ItemIndex= 99"});
  const Description avant = d();
  EXPECT_FALSE(sequence_demarrage(s(), chemin));
  EXPECT_EQ(port_.dernier_texte(), "'99' n'est pas une valeur entière correcte");
  // The program goes on with the settings it had: leaving it writes no file.
  EXPECT_EQ(d(), avant);
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

TEST_F(Demarrage, LeavingNeedsAYesThenWritesTheDescriptionAndPeriodAndRemovesTemporaryFiles) {
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(quitter_programme(s()));
  EXPECT_EQ(port_.dernier_texte(), "Quitter  ?\n");

  const std::string tmp = dossier_->ecrire("programme/~tmp.txt", "x");
  const std::string pp = dossier_->ecrire("programme/~presse-papier.ppp", "x");
  d().dossier_description = descriptions_;
  s().nom_description = "sortie.dsc";
  d().masque = "*.abc";
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
  d().masque = "ppp";
  d().separateur_colonne = SeparateurColonne::point_virgule;
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

// An existing directory, a missing one (said to be inaccessible), none (the
// current directory).
TEST_F(Demarrage, ChooserStartsInAnExistingDirectory) {
  const std::string absent = dossier_->chemin() + "absent/";
  const std::string courant = avec_barre_finale(fs::current_path().string());
  struct Cas {
    Repertoire quel;
    std::string Description::*champ;
    std::string dossier, depart, message;
  };
  const Cas cas[] = {
      {Repertoire::donnees, &Description::dossier_choisi, descriptions_, descriptions_, ""},
      {Repertoire::description, &Description::dossier_description, absent, "",
       "   Répertoire des descriptions\n\nDOSSIER INACCESSIBLE\n\n<" + absent + ">\n\n"},
      {Repertoire::donnees, &Description::dossier_choisi, "", courant, ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.dossier);
    port_.echanges.clear();
    d().*c.champ = c.dossier;
    const std::string depart = repertoire_depart_choix(s(), c.quel);
    if (!c.depart.empty()) {
      EXPECT_EQ(depart, c.depart);
    }
    EXPECT_EQ(port_.textes(),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

TEST_F(Demarrage, MissingOutputDirectoryProposesExportInTheDataDirectory) {
  d().dossier_choisi = donnees_;
  d().dossier_choisi_sortie = dossier_->chemin() + "absent/";
  s().description_modifiee = true;
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(repertoire_depart_choix(s(), Repertoire::sortie), donnees_ + "EXPORT/");
  EXPECT_EQ(port_.dernier_texte(),
            " Créer le sous répertoire " + donnees_ + "EXPORT pour les fichiers de sortie ? ");
  EXPECT_TRUE(repertoire_existe(donnees_ + "EXPORT"));
  EXPECT_EQ(d().dossier_choisi_sortie, donnees_ + "EXPORT/");
  EXPECT_FALSE(s().description_modifiee);
}

TEST_F(Demarrage, MaskIsProposedFromTheFolderFirstFile) {
  dossier_->ecrire("donnees/b.txt", "x");
  dossier_->ecrire("donnees/a.txt", "x");
  d().masque = "*.csv";
  port_.reponses = {Reponse::oui, Reponse::oui};
  proposer_masque(s(), donnees_);
  EXPECT_EQ(
      port_.textes(),
      (std::vector<std::string>{
          donnees_ + "\n\n   Aucun fichier de ce répertoire n'a l'extention attendue de *.csv\n\n"
                     " Mettre à jour le champ [masque] des extentions de fichiers ?      \n\n"
                     "  attendu  => *.csv\n\n  nouveau détecté => *.txt  2 fichier(s)",
          " Visualiser un fichier de données pour aider à remplir les champs ? \na.txt"}));
  EXPECT_EQ(d().masque, "*.txt");
  EXPECT_TRUE(s().description_modifiee);
  ASSERT_EQ(port_.editeur.size(), 1u);
  EXPECT_EQ(port_.editeur[0].first + port_.editeur[0].second, donnees_ + "a.txt");
}

TEST_F(Demarrage, MatchingFilesOnlyShowTheCount) {
  dossier_->ecrire("donnees/a.csv", "x");
  d().masque = "csv";
  proposer_masque(s(), donnees_);
  EXPECT_TRUE(port_.echanges.empty());
  EXPECT_EQ(s().etiquette("Label54"), "1");
  EXPECT_EQ(s().etiquette("Label_fic"), "a.csv");
}

TEST_F(Demarrage, ValidatingADirectoryKeepsTheRecentOnes) {
  const std::string autre = dossier_->sous_dossier("autre");
  d().dossier_choisi = donnees_;
  valider_choix_repertoire(s(), Repertoire::sortie, autre);
  EXPECT_EQ(d().dossier_choisi_sortie, autre);
  EXPECT_EQ(s().repertoires_recents, (std::vector<std::string>{"1- " + donnees_}));
  valider_choix_repertoire(s(), Repertoire::sortie, autre);
  EXPECT_EQ(s().repertoires_recents, (std::vector<std::string>{"1- " + donnees_, "3- " + autre}));
}

TEST_F(Demarrage, RecentEntryIsChosenOrTheListCleared) {
  const std::string autre = dossier_->sous_dossier("autre");
  port_.reponses = {Reponse::oui};
  EXPECT_EQ(choisir_repertoire_recent(s(), Repertoire::sortie, "2- " + autre), IssueRecent::choisi);
  EXPECT_EQ(port_.dernier_texte(),
            "  Choisir le répertoire " + autre + "\n\n  (Non) = effacer la liste\n\n");
  EXPECT_EQ(d().dossier_choisi_sortie, autre);

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
