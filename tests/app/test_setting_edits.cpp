#include <optional>

#include <gtest/gtest.h>

#include "app/log_commands.h"
#include "app/program_files.h"
#include "app/run.h"
#include "app/setting_edits.h"
#include "app/window_colours.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using OperationsFenetre = test::AvecSession;

// ---------------------------------------------------------------- columns to extract

TEST_F(OperationsFenetre, ColumnListIsCleanedAndLosesTheDateColumns) {
  struct Cas {
    const char* saisie;
    bool deux_colonnes;  // date in column 2, time in 3; otherwise date-time in 1
    const char* liste;
    bool retirees;
  };
  for (const Cas& c : {Cas{" 3; 5.,,7,", false, "3,5,7", false}, Cas{"1,3", false, "3", true},
                       Cas{"2,3,4,1", true, "4,1", true}}) {
    SCOPED_TRACE(c.saisie);
    d().num_col_datetime = "1";
    d().datetime_nb_col = c.deux_colonnes ? ColonnesDate::deux : ColonnesDate::une;
    d().num_col_date = "2";
    d().num_col_time = "3";
    const auto r = nettoyer_colonnes_a_extraire(c.saisie, d());
    EXPECT_EQ(r.liste, c.liste);
    EXPECT_EQ(r.entrees_retirees, c.retirees);
  }
}

TEST_F(OperationsFenetre, RemovalIsToldOnlyWhenTheBoxIsChecked) {
  d().col_cochee_liste = "2,3";
  valider_colonnes_a_extraire(s(), "2,3");
  EXPECT_FALSE(s().description_modifiee);  // an unchanged list

  d().num_col_datetime = "1";
  d().col_cochee = true;
  valider_colonnes_a_extraire(s(), "1,3");
  ASSERT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(port_.dernier_texte(),
            " Il a fallu enlever le n° de la colonne date/time de la liste des colonnes à "
            "extraire\n\n  de <1,3>\n\n   à <3>");
  EXPECT_EQ(d().col_cochee_liste, "3");
  EXPECT_TRUE(s().description_modifiee);

  d().col_cochee = false;
  valider_colonnes_a_extraire(s(), "1,4");
  EXPECT_EQ(port_.echanges.size(), 1u);
  EXPECT_EQ(d().col_cochee_liste, "4");
}

// ---------------------------------------------------------------- titles of the columns

TEST_F(OperationsFenetre, TitlesLabelOfTheColumnsToExtract) {
  struct Cas {
    const char* nom;
    bool cochee;
    const char* liste;
    const char* intitule;
    std::optional<std::string> attendu;  // nothing: the label stays as it is
    const char* alternatifs = nullptr;
    bool espaces = false;  // blank-separated titles
  };
  const Cas cas[] = {
      {"case décochée", false, "2", "a;b", "---"},
      {"titres du premier fichier", true, "3;2", "Date\tTemp\tNiveau", "=> Niveau | Temp"},
      {"titres alternatifs", true, "2", "Date\tTemp\tNiveau", "=> h", "t,h,p"},
      {"séparés par des blancs", true, "2,3", "Date   Temp   Niveau", "=> Temp | Niveau", nullptr,
       true},
      {"liste en cours de saisie", true, "2,", "a;b", std::nullopt},
      {"liste vide", true, "", "a;b", std::nullopt},
      {"sans titres", true, "2", "", ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    nouvelle_session();
    d().col_cochee = c.cochee;
    d().col_cochee_liste = c.liste;
    d().int_col_alternatif = c.alternatifs != nullptr;
    if (c.alternatifs) d().new_desc_colonne = c.alternatifs;
    if (c.espaces) d().separateur_colonne = SeparateurColonne::espace;
    s().intitule_origine = c.intitule;
    EXPECT_EQ(titres_colonnes_a_extraire(s()), c.attendu);
  }
}

TEST_F(OperationsFenetre, NonIntegerColumnInTheTitlesIsReported) {
  d().col_cochee = true;
  d().col_cochee_liste = "2,x";
  s().intitule_origine = "a;b";
  s().etiquette("Label_col_alternatives") = "avant";
  rafraichir_titres_colonnes(s());
  EXPECT_EQ(port_.dernier_texte(), "'x' n'est pas une valeur entière correcte");
  EXPECT_EQ(s().etiquette("Label_col_alternatives"), "avant");
}

// ---------------------------------------------------------------- formats

// ";" reads ":", "." reads "," in a file-date rule, the first "hh:mm" is
// "hh:mn"; a blank inside is a filler: removing it would move every later code.
TEST(NettoyageFormat, CleanedTexts) {
  struct Cas {
    const char* saisie;
    bool fichier;
    const char* attendu;
  };
  for (const Cas& c :
       {Cas{"aaaa.mm.jj", true, "aaaa,mm,jj"}, Cas{"aaaa.mm.jj", false, "aaaa.mm.jj"},
        Cas{" jj/mm/aaaa hh;mm;ss ", false, "jj/mm/aaaa_hh:mn:ss"},
        Cas{"aaaa-mm-jj  hh:mn", false, "aaaa-mm-jj__hh:mn"},
        Cas{"aaaa mm jj,5", true, "aaaa_mm_jj,5"},
        Cas{"3(xxxx), /, 3(0000xx) ,/,3(000000xx)", true, "3(xxxx),/,3(0000xx),/,3(000000xx)"}})
    EXPECT_EQ(nettoyer_format(c.saisie, c.fichier), c.attendu) << c.saisie;
  EXPECT_EQ(nettoyer_format_date_seule("jj/mm/aaaa hh:mm"), "jj/mm/aaaa");
}

// Each typed text holds a blank: the cleaned text differs and marks the description.
TEST_F(OperationsFenetre, ValidatedFormatsAndTheFourMWarning) {
  const std::string quatre_m =
      " il y a 4 \"m\", vérifier que les minutes soient \"mn\" et non \"mm\" comme les mois !";
  struct Cas {
    void (*valider)(Session&, const std::string&);
    std::string Description::*format;
    const char* saisie;
    const char* attendu;
    bool avertissement;
  };
  const Cas cas[] = {
      {valider_format_datetime, &Description::format_datetime_mesure, "aaaa-mm-jj hh:mm:ss",
       "aaaa-mm-jj_hh:mn:ss", false},
      {valider_format_datetime, &Description::format_datetime_mesure, "aaaa-mm-jj hh mm ss",
       "aaaa-mm-jj_hh_mm_ss", true},
      {valider_format_datetime, &Description::format_datetime_mesure, "aaaa-mm-jj hh:mn:ss",
       "aaaa-mm-jj_hh:mn:ss", false},
      {valider_format_date_fichier, &Description::f_date_fichier, "aaaa mm jj,3", "aaaa_mm_jj,3",
       false},
      // No four-"m" check for the date alone.
      {valider_format_date_seule, &Description::format_date_mesure_seule, "aaaa-mm-jj hh mm",
       "aaaa-mm-jj_hh_mm", false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.saisie);
    port_.echanges.clear();
    s().description_modifiee = false;
    c.valider(s(), c.saisie);
    EXPECT_EQ(d().*c.format, c.attendu);
    EXPECT_TRUE(s().description_modifiee);
    EXPECT_EQ(port_.textes(),
              c.avertissement ? std::vector<std::string>{quatre_m} : std::vector<std::string>{});
  }
}

// ---------------------------------------------------------------- equivalences

TEST(NettoyageEquivalences, FirstCommaBeforeATextBecomesASemicolon) {
  for (const auto& [saisie, attendu] : {std::pair{"NA,-99999,0", "NA,-99999,0"},
                                        {"NA,5", "NA,5"},
                                        {"NA,E5", "NA,E5"},
                                        {"NA,V;-1", "NA;V;-1"},
                                        {"NA,", "NA,"}})
    EXPECT_EQ(nettoyer_equivalences(saisie), attendu) << saisie;
}

TEST_F(OperationsFenetre, MoreThanSevenEquivalencesAreWarned) {
  valider_equivalences(s(), "a;b;c;d;e;f;g");
  EXPECT_TRUE(port_.echanges.empty());
  valider_equivalences(s(), "a;b;c;d;e;f;g;h");
  EXPECT_EQ(port_.dernier_texte(),
            "seules les 7 première équivalences seront prises en compte\n\n   en restreindre le "
            "nombre...");
  EXPECT_EQ(d().equiv_na, "a;b;c;d;e;f;g;h");
}

// ---------------------------------------------------------------- line numbers

// A refused line leaves the flag unchanged; an accepted one marks the description.
TEST_F(OperationsFenetre, FirstDataLineMustFollowTheTitleLine) {
  struct Cas {
    Intitules intitules;
    const char* titre;
    const char* donnee;
    const char* message;  // nullptr: accepted without a word
  };
  const Cas cas[] = {
      {Intitules::avec, "3", "3",
       " la valeur 3 n'est pas valide comme n° de ligne de donnée par rapport à celui de "
       "l'intitulés de colonnes : 3 ..."},
      {Intitules::avec, "3", "4", nullptr},
      {Intitules::sans, "5", "2", nullptr},  // without titles, any line
      {Intitules::avec, "1", "2a", "'2a' n'est pas une valeur entière correcte"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.donnee);
    port_.echanges.clear();
    s().description_modifiee = false;
    d().avec_sans_intitule = c.intitules;
    d().num_ligne_intitule_col = c.titre;
    d().num_ligne_donnee = c.donnee;
    EXPECT_EQ(valider_num_ligne_donnee(s()), c.message == nullptr);
    EXPECT_EQ(s().description_modifiee, c.message == nullptr);
    EXPECT_EQ(port_.textes(),
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  }
}

// ---------------------------------------------------------------- Enter and the mask

TEST_F(OperationsFenetre, EnterListsTheMatchingFilesOnceModified) {
  d().masque = "dat";
  valider_par_entree(s());  // unmodified: nothing
  EXPECT_TRUE(port_.echanges.empty());
  s().description_modifiee = true;
  valider_par_entree(s());
  EXPECT_EQ(port_.dernier_texte(), " Aucun fichier ayant l'extension dat        \n");
  EXPECT_EQ(s().etiquette("Label54"), "0");

  dossier_->ecrire("donnees/a.csv", "Date;Temp\r\n2021-03-12 10:00:00;1,5\r\n");
  decrire_csv_point_virgule();
  s().description_modifiee = true;
  valider_par_entree(s());
  EXPECT_EQ(s().etiquette("Label54"), "1");
  EXPECT_EQ(s().table.cellule(1, 1), "a.csv");
}

TEST_F(OperationsFenetre, MaskRefusesStarAndPointAndPppLeavesTheDescriptionUnmarked) {
  EXPECT_TRUE(caractere_refuse_masque('*'));
  EXPECT_TRUE(caractere_refuse_masque('.'));
  EXPECT_FALSE(caractere_refuse_masque('c'));
  changer_masque(s(), "ppp");
  EXPECT_FALSE(s().description_modifiee);
  EXPECT_EQ(s().source, SourceDonnees::presse_papier);
  changer_masque(s(), "xlsx");
  EXPECT_TRUE(s().description_modifiee);
  EXPECT_EQ(s().source, SourceDonnees::excel);
}

TEST_F(OperationsFenetre, OriginalTitlesReplaceTheAlternativeOnYes) {
  s().intitule_origine = "Date;Temp";
  d().new_desc_colonne = "t;x";
  port_.reponses = {Reponse::non};
  EXPECT_FALSE(recuperer_intitule_origine(s()));
  EXPECT_EQ(d().new_desc_colonne, "t;x");
  EXPECT_EQ(port_.dernier_texte(),
            " récupérer l'intitulé de colonne d'orignine ?\n<Date;Temp>\nen place de :\n<t;x>");
  port_.reponses = {Reponse::oui};
  EXPECT_TRUE(recuperer_intitule_origine(s()));
  EXPECT_EQ(d().new_desc_colonne, "Date;Temp");
}

// ---------------------------------------------------------------- colours

TEST_F(OperationsFenetre, GreySchemeAndBack) {
  ASSERT_TRUE(ecrire_lignes_numerotees(s().chemin_parametres(), {{2, "1,2,3"}}));
  appliquer_schema_couleurs(s(), 1);
  EXPECT_EQ(s().couleurs[0], (Couleur{240, 240, 240}));
  EXPECT_EQ(s().couleurs[3], (Couleur{220, 220, 220}));
  EXPECT_TRUE(s().description_modifiee);
  appliquer_schema_couleurs(s(), 0);
  EXPECT_EQ(s().couleurs[0], (Couleur{1, 2, 3}));
  EXPECT_EQ(s().couleurs[1], (Couleur{245, 216, 175}));
}

TEST_F(OperationsFenetre, CustomAndChosenColours) {
  EXPECT_EQ(couleur_bvr("DAFEE7"), (Couleur{0xE7, 0xFE, 0xDA}));  // blue, green, red
  s().couleurs[0] = {10, 20, 30};
  s().couleurs[1] = {40, 50, 60};
  const auto c = couleurs_personnalisees(s());
  EXPECT_EQ(c[0], (Couleur{10, 20, 30}));
  EXPECT_EQ(c[2], (Couleur{0xFF, 0xFA, 0xD9}));
  EXPECT_EQ(c[3], (Couleur{0xB3, 0xE0, 0xFF}));
  EXPECT_EQ(c[8], (Couleur{40, 50, 60}));
  EXPECT_EQ(c[15], (Couleur{245, 216, 176}));
  EXPECT_FALSE(s().description_modifiee);
  choisir_couleur(s(), 3, {1, 2, 3});
  EXPECT_EQ(s().couleurs[2], (Couleur{1, 2, 3}));
  EXPECT_TRUE(s().description_modifiee);
}

// ---------------------------------------------------------------- indicator

TEST_F(OperationsFenetre, IndicatorFollowsTheFlagAndTheDescriptionDirectory) {
  const auto indicateur = [this] {
    const Indicateur i = indicateur_modification(s());
    return std::pair{i.enregistrer_rouge, i.enregistrer_sous_rouge};
  };
  s().description_modifiee = false;
  EXPECT_EQ(indicateur(), std::pair(false, false));
  s().description_modifiee = true;
  EXPECT_EQ(indicateur(), std::pair(true, false));
  d().dossier_description.clear();
  EXPECT_EQ(indicateur(), std::pair(false, true));
}

// ---------------------------------------------------------------- tracking log

TEST_F(OperationsFenetre, ClearAsksFirst) {
  s().ajouter_ligne_suivi("a");
  port_.reponses = {Reponse::non, Reponse::oui};
  EXPECT_FALSE(effacer_suivi(s()));
  EXPECT_EQ(s().journal.taille(), 1u);
  EXPECT_EQ(port_.dernier_texte(), " Effacer le texte ? ");
  EXPECT_TRUE(effacer_suivi(s()));
  EXPECT_TRUE(s().journal.vide());
}

TEST_F(OperationsFenetre, ColumnListingWritesTheTitlesAndTheExtraction) {
  s().intitule_origine = "Date";
  EXPECT_FALSE(lister_colonnes(s()));  // no separator: no column
  EXPECT_EQ(port_.dernier_texte(),
            " le nombre de colonnes détectées est nul :\n\n<Date>\n\n  vérifier les intitulés "
            "alternatifs...");

  s().journal.vider();
  s().intitule_origine = "Date;Temp;Niveau";
  s().etat_listage.nb_colonnes_valeurs = 2;
  d().col_cochee_liste = "3";
  d().methode = Methode::maximum;
  s().liste_horodatee.n = 97;
  ASSERT_TRUE(lister_colonnes(s()));
  const std::vector<std::string> attendu = {
      std::string(47, '='),
      " nb de colonnes de mesure(s) = 2",
      " nb de colonnes pour les dates/heures = 1",
      "1 - Date",
      "2 - Temp",
      "3 - Niveau",
      "...extraire : _lg=Date\tTemp\tNiveau  => ",
      "<Date> date/time = temps",
      "<Niveau>",
      "<nb(96)_methode_(max des n  mesures OK )>",
  };
  EXPECT_EQ(s().journal.lignes(), attendu);
}

TEST(CompteARebours, MinutesLeftWithTheComputerSeparator) {
  EXPECT_EQ(texte_compte_a_rebours(4.99, '.'), "    4.99 mn");
  EXPECT_EQ(texte_compte_a_rebours(0.5, ','), "    0,50 mn");
  EXPECT_EQ(texte_compte_a_rebours(12.346, ','), "   12,35 mn");
}

}  // namespace
}  // namespace tamso
