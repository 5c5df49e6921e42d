#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "app/run.h"
#include "app/save.h"
#include "app/session.h"
#include "input/files.h"
#include "processing/engine.h"
#include "results/results_writer.h"
#include "support/session_fixture.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using V = std::optional<long double>;

// ---------------------------------------------------------------- "%5.<d>f"

TEST(ResultatsValeurs, FixedNotationInFiveCharacters) {
  EXPECT_EQ(valeur_formatee(3.14159L, 2, '.'), " 3.14");
  EXPECT_EQ(valeur_formatee(3.14159L, 2, ','), " 3,14");
  EXPECT_EQ(valeur_formatee(12345.678L, 2, ','), "12345,68");
  EXPECT_EQ(valeur_formatee(-0.5L, 2, ','), "-0,50");
  EXPECT_EQ(valeur_formatee(-0.001L, 2, '.'), "-0.00");  // the sign stays
  EXPECT_EQ(valeur_formatee(7.0L, 0, ','), "    7");     // no decimal mark
  EXPECT_EQ(valeur_formatee(-3.0L, 0, ','), "   -3");
  EXPECT_EQ(valeur_formatee(0.0L, 3, ','), "0,000");
  // Exact binary halves go to the even neighbour.
  EXPECT_EQ(valeur_formatee(0.125L, 2, '.'), " 0.12");
  EXPECT_EQ(valeur_formatee(0.375L, 2, '.'), " 0.38");
  EXPECT_EQ(valeur_formatee(2.5L, 0, '.'), "    2");
  EXPECT_EQ(valeur_formatee(1e20L, 1, ','), "100000000000000000000,0");
}

std::string selon_printf(long double v, int d) {
  char b[8192];
  std::snprintf(b, sizeof b, "%5.*Lf", d, v);
  return b;
}

TEST(ResultatsValeurs, SameTextAsPrintf) {
  std::uint64_t x = 88172645463325252ULL;
  const auto hasard = [&x] { return x ^= x << 13, x ^= x >> 7, x ^= x << 17; };
  const auto reel = [](std::uint64_t n) { return static_cast<long double>(n); };
  const long double p10[] = {1, 10, 100, 1000, 1e4L, 1e5L, 1e6L};
  int ecarts = 0;
  for (int i = 0; i < 300000 && ecarts < 10; ++i) {
    const int d = i % 7;
    const int e = static_cast<int>(hasard() % 140) - 130;
    const long double v[] = {
        reel(hasard() % 1000000) / reel(1ULL << (hasard() % 12)),  // exact halves
        (reel(hasard() % 20000001) - 10000000) / 1000,             // measurements
        (reel(hasard() % 100000) + 0.5L) / p10[d],                 // near halves
        std::ldexp(reel(hasard() | 1), e),                         // across 2^63
        std::ldexp(reel(hasard() | (1ULL << 63)), e / 2 - 40)};    // any significand
    long double y = v[hasard() % 5];
    if (hasard() & 1) y = -y;
    if (valeur_formatee(y, d, '.') != selon_printf(y, d)) {
      ADD_FAILURE() << "d=" << d << " printf=" << selon_printf(y, d)
                    << " obtenu=" << valeur_formatee(y, d, '.');
      ++ecarts;
    }
  }
  using L = std::numeric_limits<long double>;
  for (const long double y : {0.0L, -0.0L, L::infinity(), -L::infinity(), L::quiet_NaN(), L::max(),
                              L::denorm_min(), 9223372036854775807.5L, 0.5L, -1.5L})
    for (const int d : {0, 1, 2, 6, 19, 25})
      EXPECT_EQ(valeur_formatee(y, d, '.'), selon_printf(y, d)) << "d=" << d;
}

// ---------------------------------------------------------------- results lines and file

class Resultats : public test::AvecResultats {
 protected:
  void SetUp() override {
    AvecResultats::SetUp();
    reglages();
  }
  void reglages() {
    d().separateur_sortie = SeparateurSortie::tabulation;
    d().decimal_sortie = SeparateurDecimal::virgule;
    d().nb_decimale = "2";
    d().texte_na = "e";
    d().nom_fic_sortie = "A10";
  }
  // Row 1 is never written; row 3 had no line.
  void grille_type() {
    grille(4, {"Température", "T2"});
    ligne(1, 5, {1.0L, 2.0L});
    ligne(2, 3, {3.14159L, 12345.678L});
    ligne(3, 0, {V{}, V{}});
    ligne(4, 2, {V{}, -0.5L});
  }
};

TEST_F(Resultats, WholeFileWindows1252WithCrLf) {
  grille_type();
  ASSERT_TRUE(formater_resultats(s()));
  ASSERT_TRUE(enregistrer_resultats(s()));
  const std::string texte =
      "temps(Date inf ou =)\tTempérature\tT2\tnb(3)_methode_(moyenne des n mesures OK)\r\n"
      "01/03/2023 00:05:00\t 3,14\t12345,68\t3\r\n"
      "01/03/2023 00:10:00\t \t \t0\r\n"
      "01/03/2023 00:15:00\te\t-0,50\t2\r\n";
  std::string octets = texte;
  octets.replace(octets.find("é"), 2, "\xE9");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "A10.txt"), octets);
  EXPECT_EQ(port_.presse_papier, texte);  // the clipboard holds the file's text
  EXPECT_EQ(s().resultats.lignes_valeurs,
            (std::vector<std::string>{"Température\tT2", " 3,14\t12345,68", " \t ", "e\t-0,50"}));
  EXPECT_EQ(s().etiquette("Label21"), "A10.txt");
  EXPECT_EQ(s().journal.lignes().front(), " => A10.txt");
  EXPECT_EQ(s().resultats.chemin_suivi, sortie_ + "A10.txt.TXT");
  EXPECT_TRUE(fichier_existe(sortie_ + "A10.txt.TXT"));
  EXPECT_TRUE(s().resultats.en_attente);  // cleared by the run, not here
}

TEST_F(Resultats, HeaderOfOneDateColumn) {
  grille(3, {"T1", "T2"});
  Session& x = s();
  x.intitule_origine = "Date\tT1\tT2";
  x.description.datetime_nb_col = ColonnesDate::une;
  x.description.separateur_colonne = SeparateurColonne::point_virgule;
  x.description.int_col_alternatif = false;
  x.grille.sources = {0, 1, 2, 3, 0, 0, 0};
  const auto titres =
      titres_colonnes(x.description, x.periode, x.intitule_origine,
                      x.etat_traitement.station_reference, x.grille, ParametresMoteur{});
  std::copy(titres.begin(), titres.end(), x.grille.titres.begin() + 1);
  x.description.separateur_sortie = SeparateurSortie::point_virgule;
  formater_resultats(x);
  EXPECT_EQ(x.resultats.lignes[0],
            "temps(Date inf ou =);T1;T2;nb(2)_methode_(moyenne des n mesures OK)");
  // N timestamps, N - 1 data lines: the first timestamp is never written.
  ASSERT_EQ(x.resultats.lignes.size(), 3u);
  EXPECT_EQ(x.resultats.lignes[1], "01/03/2023 00:05:00; ; ;0");
}

TEST_F(Resultats, SeparatorsAndNoDataTexts) {
  EXPECT_EQ(separateur_sortie(SeparateurSortie::espace), " ");
  EXPECT_EQ(separateur_sortie(SeparateurSortie::espace_tabulation), " \t");
  EXPECT_EQ(separateur_sortie(SeparateurSortie::tabulation), "\t");
  grille(3, {"a", "b"});
  ligne(2, 0, {V{}, V{}});
  ligne(3, 1, {V{}, 1.0L});
  d().separateur_sortie = SeparateurSortie::espace_tabulation;
  d().texte_na = "v";  // empty fields in an empty row only
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "01/03/2023 00:05:00 \t \t \t0");
  EXPECT_EQ(s().resultats.lignes[2], "01/03/2023 00:10:00 \tv \t 1,00 \t1");
  d().texte_na = "NA";
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "01/03/2023 00:05:00 \tNA \tNA \t0");
}

TEST_F(Resultats, DecimalSeparatorRuleLineByLine) {
  // "point": a date written with points keeps the commas of its line; the
  // value line, without the date, turns them into points.
  grille(2, {"a"}, {"07.11.2021 00:00:00", "07.11.2021 00:10:00"});
  ligne(2, 1, {1.5L});
  d().decimal_sortie = SeparateurDecimal::point;
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "07.11.2021 00:10:00\t 1,50\t1");
  EXPECT_EQ(s().resultats.lignes_valeurs[1], " 1.50");
  // "virgule" on a computer writing points.
  preparer('.');
  reglages();
  grille(2, {"a"});
  ligne(2, 1, {1.5L});
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "01/03/2023 00:05:00\t 1,50\t1");
  // "point" on a computer writing points: nothing to change.
  d().decimal_sortie = SeparateurDecimal::point;
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "01/03/2023 00:05:00\t 1.50\t1");
}

TEST_F(Resultats, UnreadableDecimalsFallBackToThree) {
  grille(2, {"a"});
  ligne(2, 1, {2.0L});
  d().nb_decimale = "deux";
  formater_resultats(s());
  EXPECT_EQ(s().resultats.lignes[1], "01/03/2023 00:05:00\t2,000\t1");
  EXPECT_EQ(s().journal.lignes().back(), " nombre de décimales <deux> incorrect : 3 décimales");
}

TEST_F(Resultats, ProgressAndStop) {
  grille(5, {"a"});
  formater_resultats(s());
  ASSERT_FALSE(port_.progressions.empty());
  EXPECT_EQ(port_.progressions.back().first, "3- patienter ... formatage 100%   ");
  EXPECT_EQ(port_.progressions.back().second, 3);
  // A stop request ends the pass; the lines made so far are kept (on one
  // thread, the first row).
  port_.arret = true;
  s().lecture.fils = 1;
  EXPECT_FALSE(formater_resultats(s()));
  EXPECT_EQ(s().resultats.lignes.size(), 2u);
  EXPECT_EQ(port_.progressions.back().first, "3- patienter ... formatage 40%   ");
}

// ---------------------------------------------------------------- names

TEST_F(Resultats, NamesWithPlaceholders) {
  grille(97, {"a"});
  s().resultats.durees = {0, 20.0 / 86400, 3.0 / 86400, 60.0 / 86400};  // 83 s
  s().periode.debut = "07/11/2021 00:00:00";
  s().periode.fin = "08/11/2021 00:00:00";
  const auto nom = [this](const char* texte) {
    d().nom_fic_sortie = texte;
    return nom_resultats(vue_traitement(s()));
  };
  EXPECT_EQ(nom("A#").nom, "A_00;01;23.txt");
  EXPECT_EQ(nom("A#").nom_travail, "A");
  EXPECT_EQ(nom("   ").nom, "A_00;01;23.txt");
  EXPECT_EQ(nom("A§").nom, "A du 07-11-2021 au 08-11-2021 (96).txt");
  EXPECT_EQ(nom("A§").nom_travail, "A");
  EXPECT_EQ(nom("A").nom_travail, "");
  EXPECT_EQ(nom("res.old.txt").racine, "res");
  EXPECT_EQ(nom("res.old.txt").extension, ".txt");
  EXPECT_EQ(nom(" mes res .csv").racine, "mes res");
  // Stem before the first point, extension from the last.
  nom("res.old.txt");
  formater_resultats(s());
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(s().resultats.chemin_resultats, sortie_ + "res.txt");
}

TEST_F(Resultats, AutomaticNumbering) {
  dossier_->ecrire("sortie/A10.txt", "un");
  dossier_->ecrire("sortie/A10(1).txt", "deux");
  grille(2, {"a"});
  formater_resultats(s());
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(s().resultats.chemin_resultats, sortie_ + "A10(2).txt");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "A10.txt"), "un");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "A10(1).txt"), "deux");
}

TEST_F(Resultats, OverwriteQuestionThenSaveDialog) {
  dossier_->ecrire("sortie/A10.txt", "ancien");
  grille(2, {"a"});
  formater_resultats(s());
  d().inc_nom = false;
  const std::string contenu = crlf(s().resultats.lignes.en_vecteur());

  port_.reponses = {Reponse::oui};
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(port_.echanges.front().texte,
            sortie_ + "\n\n Le fichier  A10.txt\n\n   existe déjà\n\n => écraser ?");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "A10.txt"), contenu);

  // No: the save dialog; ".txt" is added to a name without it.
  port_.reponses = {Reponse::non};
  port_.fichiers_a_enregistrer = {sortie_ + "choisi"};
  ASSERT_TRUE(enregistrer_resultats(s()));
  ASSERT_EQ(port_.dialogues.size(), 1u);
  const DialogueFichier& d = port_.dialogues[0];
  EXPECT_EQ(d.titre, "enregistrement des résultats de calcul");
  EXPECT_EQ(d.filtre, "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*");
  EXPECT_EQ(d.dossier, sortie_);
  EXPECT_EQ(d.propose, "A10");
  EXPECT_TRUE(d.demander_ecrasement);
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "choisi.txt"), contenu);
  EXPECT_EQ(s().resultats.nom_travail, sortie_ + "choisi.txt");

  // A cancelled dialog: the recovery file, and the log says where.
  port_.reponses = {Reponse::non};
  ASSERT_TRUE(enregistrer_resultats(s()));
  const std::string recuperation = sortie_ + "~résultats.txt";
  EXPECT_EQ(DossierTemporaire::lire(recuperation), contenu);
  EXPECT_TRUE(suivi_contient(
      {"", " données calculées récupérables dans ", recuperation, " => ~résultats.txt"}));
  // A second one never replaces the first.
  port_.reponses = {Reponse::non};
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(s().resultats.chemin_resultats, sortie_ + "~résultats(1).txt");
  EXPECT_EQ(DossierTemporaire::lire(recuperation), contenu);
}

// ---------------------------------------------------------------- save step

TEST_F(Resultats, ClipboardSourceLeavesClipboardAlone) {
  grille(2, {"a"});
  formater_resultats(s());
  s().source = SourceDonnees::presse_papier;
  port_.presse_papier = "12:00\t5";
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(port_.presse_papier, "12:00\t5");
  EXPECT_TRUE(fichier_existe(sortie_ + "A10.txt"));
}

TEST_F(Resultats, TextFilesInTheirOwnFolderGoToExport) {
  grille(2, {"a"});
  formater_resultats(s());
  Description& d = s().description;
  d.masque = "txt";
  d.dossier_choisi = sortie_;
  s().description_modifiee = false;
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(d.dossier_choisi_sortie, sortie_ + "Export/");
  EXPECT_EQ(s().resultats.chemin_resultats, sortie_ + "Export/A10.txt");
  EXPECT_TRUE(fichier_existe(sortie_ + "Export/A10.txt"));
  EXPECT_EQ(s().etiquette("Label_rep_sortie"), sortie_ + "Export/");
}

TEST_F(Resultats, WithoutPendingResultsOnlyTheDescription) {
  grille(2, {"a"});
  formater_resultats(s());
  s().resultats.en_attente = false;
  s().nom_description = "Temporaire_1.dsc";
  port_.reponses = {Reponse::non};
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(port_.textes(), std::vector<std::string>{" Le fichier  Temporaire_1.dsc est "
                                                     "temporaire\n\n L'enregistrer avec un nom "
                                                     "finalisé ?"});
  EXPECT_TRUE(fichier_existe(programme_ + "Temporaire_1.dsc"));
  EXPECT_FALSE(fichier_existe(sortie_ + "A10.txt"));
  EXPECT_EQ(s().etiquette("Label_patienter"), "");
}

TEST_F(Resultats, FailedWriteKeepsResultsPending) {
  grille(2, {"a"});
  formater_resultats(s());
  d().dossier_choisi_sortie = sortie_ + "absent/";
  EXPECT_FALSE(enregistrer_resultats(s()));
  EXPECT_EQ(port_.dernier_texte(), "Impossible de créer le fichier " + sortie_ +
                                       "absent/A10.txt\n\n  (répertoire inexistant)");
  EXPECT_TRUE(s().resultats.en_attente);
  EXPECT_EQ(s().resultats.chemin_resultats, "");
  // A later save can retry.
  d().dossier_choisi_sortie = sortie_;
  EXPECT_TRUE(enregistrer_resultats(s()));
}

TEST_F(Resultats, FinalMessage) {
  grille_type();
  formater_resultats(s());
  Description& d = s().description;
  d.post_traitement = true;
  d.delta_Y = true;
  s().etat_traitement.lignes_extraites = 1234;
  s().etat_traitement.station_reference = "S1";
  s().resultats.durees = {0, 0, 0, 83.0 / 86400};
  // A modified description is written with the results, and said to be.
  s().nom_description = "station.dsc";
  s().description_modifiee = true;
  ASSERT_TRUE(enregistrer_resultats(s()));
  const std::string options =
      " station( S1 ) avec POSTtraitement des données extraites  calcul des delta Y (rétro "
      "cumul)  y(i) - y(i-1) ";
  EXPECT_EQ(port_.dernier_texte(),
            "3- TRAITEMENT EFFECTUÉ  (méthode : moyenne des n mesures OK)" + options +
                "\n\n     1 234 lignes extraites\n\n     3 lignes     x     4 colonnes "
                "attendues\n\n" +
                options +
                "\n\nA10.txt <- Données horodatée régulières ( copiées dans le presse-papier )"
                "\n\nA10.txt.TXT <- fenêtre de suivi dans le répertoire : " +
                sortie_ +
                "\n\n    (le fichier de description est également enregistré), durée totale "
                "=  1 mn 23 s ");
  EXPECT_EQ(port_.echanges.back().type, TypeMessage::information);
  // Saved again, the description unchanged and no clipboard (a batch run):
  // the message says neither.
  port_.avec_presse_papier = false;
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_NE(port_.dernier_texte().find("A10(1).txt <- Données horodatée régulières\n\n"),
            std::string::npos)
      << port_.dernier_texte();
  EXPECT_NE(port_.dernier_texte().find("\n\n    durée totale =  1 mn 23 s "), std::string::npos);
  EXPECT_EQ(s().etiquette("Label10"), "reste 00:00:00    0 Mo");
  // Switching the computer off after the run: no message.
  s().resultats.arret_pc = true;
  const std::size_t messages = port_.echanges.size();
  ASSERT_TRUE(enregistrer_resultats(s()));
  EXPECT_EQ(port_.echanges.size(), messages);
}

// A run that read nothing, part of a file or was stopped never reads as
// done: the message, its type and the tracking log say what the results hold.
TEST_F(Resultats, IncompleteRunsSaySoPlainly) {
  grille_type();
  struct Cas {
    const char* nom;
    std::function<void(Session&)> preparer;
    BilanTraitement bilan;
    const char* titre;
    const char* reserve;
  };
  const std::vector<Cas> cas = {
      {"complet", [](Session&) {}, BilanTraitement::complet, "3- TRAITEMENT EFFECTUÉ", nullptr},
      {"dates illisibles", [](Session& x) { x.etat_traitement.dates_illisibles = 1500; },
       BilanTraitement::complet, "3- TRAITEMENT EFFECTUÉ",
       "!!! 1 500 lignes de données à date illisible, non placées (voir \"+ erreur date\" et "
       "\"nb dates illisibles\" dans la fenêtre de suivi)"},
      {"rien extrait", [](Session& x) { x.etat_traitement.lignes_extraites = 0; },
       BilanTraitement::sans_donnees, "3- TRAITEMENT SANS DONNÉES",
       "!!! AUCUNE LIGNE EXTRAITE : toutes les valeurs des résultats sont manquantes (vérifier "
       "le n° et le format de la colonne date/heure, le séparateur de colonnes, le codage des "
       "fichiers et la période)"},
      {"fichier coupé", [](Session& x) { x.etat_traitement.fichiers_incomplets = {"b.csv"}; },
       BilanTraitement::incomplet, "3- TRAITEMENT INCOMPLET",
       "!!! FICHIER LU INCOMPLÈTEMENT : b.csv (erreur de lecture, ou fichier raccourci pendant "
       "le traitement) : les résultats n'en contiennent que le début"},
      {"arrêt pendant la lecture",
       [](Session& x) {
         x.etat_traitement.arrete = true;
         x.etat_traitement.fichiers_lus = 2;
         x.etat_traitement.lignes_traitees = {1, 2, 3};
       },
       BilanTraitement::arrete, "3- TRAITEMENT ARRÊTÉ",
       "!!! TRAITEMENT ARRÊTÉ à la demande pendant la lecture du fichier 2 sur 3 : les "
       "résultats ne tiennent compte que des lignes lues avant l'arrêt"},
      // Rows 2 and 3 formatted before the stop: the results end at 00:10.
      {"arrêt pendant la mise en forme",
       [](Session& x) {
         x.resultats.formatage_complet = false;
         LignesTexte coupees;
         for (std::size_t i = 0; i < 3; ++i) coupees.push_back(x.resultats.lignes[i]);
         x.resultats.lignes = coupees;
       },
       BilanTraitement::arrete, "3- TRAITEMENT ARRÊTÉ",
       "!!! MISE EN FORME ARRÊTÉE à la demande : les résultats s'arrêtent au 01/03/2023 "
       "00:10:00 (2 lignes sur 3)"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    formater_resultats(s());
    s().resultats.formatage_complet = true;
    s().etat_traitement = EtatTraitement{};
    s().etat_traitement.lignes_extraites = 9;
    s().resultats.en_attente = true;
    s().journal.vider();
    c.preparer(s());
    EXPECT_EQ(bilan_traitement(vue_traitement(s())), c.bilan);
    ASSERT_TRUE(enregistrer_resultats(s()));
    const std::string message = port_.dernier_texte();
    EXPECT_EQ(port_.echanges.back().type, c.bilan == BilanTraitement::complet
                                              ? TypeMessage::information
                                              : TypeMessage::avertissement);
    const std::string debut = c.reserve ? std::string(c.reserve) + "\n\n" + c.titre : c.titre;
    EXPECT_EQ(message.substr(0, debut.size()), debut);
    if (c.reserve) {
      EXPECT_TRUE(suivi_contient({c.reserve}));
    } else {
      EXPECT_EQ(message.find("!!!"), std::string::npos);
    }
  }
}

TEST_F(Resultats, CopyWithoutDate) {
  EXPECT_FALSE(copier_sans_date(s()));
  EXPECT_TRUE(port_.echanges.empty());
  grille_type();
  formater_resultats(s());
  ASSERT_TRUE(copier_sans_date(s()));
  EXPECT_EQ(DossierTemporaire::lire(programme_ + "~tmp.txt"),
            "Temp\xE9rature\tT2\r\n 3,14\t12345,68\r\n \t \r\ne\t-0,50\r\n");
  EXPECT_EQ(port_.presse_papier, "Température\tT2\r\n 3,14\t12345,68\r\n \t \r\ne\t-0,50\r\n");
  EXPECT_EQ(port_.dernier_texte(),
            " les colonnes sans la date ni le nombre de lignes extraites\n\n sont copiées dans le "
            "presse-papier");
}

}  // namespace
}  // namespace tamso
