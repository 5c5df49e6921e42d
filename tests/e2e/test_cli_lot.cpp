// End-to-end: several descriptions in one command (each in its own process,
// some at once, one failing, results files that would collide), the JSON
// summary for scripts read back by the tests' own reader, and the exit
// statuses of the batch program.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"
#include "support/json_reader.h"

namespace tamso {
namespace {

using test::crlf;
using test::DossierTemporaire;
using test::lancer;
using test::lire_json;
using test::q;
using test::Sortie;
using test::ValeurJson;

namespace fs = std::filesystem;

const std::string kPeriode =
    " --from '01/03/2023 00:10:00' --to '01/03/2023 00:20:00' --step 00:10:00"
    " --decimal-separator ,";

// Four 5-minute readings. The timestamp list starts one step before the
// period: 00:00, 00:10, 00:20; with "(inf ou =)" row 00:10 takes the
// readings of 00:05 and 00:10, row 00:20 those of 00:15 and 00:20.
const std::vector<std::string> kAmont = {
    "Date;Niveau;Temp",           "2023-03-01 00:05:00;1,0;10", "2023-03-01 00:10:00;2,0;11",
    "2023-03-01 00:15:00;3,0;12", "2023-03-01 00:20:00;4,0;13",
};
// Means, one decimal in fields of 5: Niveau 1,5 and 3,5; Temp 10,5 and 12,5.
const std::string kResultatsAmont = crlf({
    "temps(Date inf ou =);Niveau;Temp;nb(2)_methode_(moyenne des n mesures OK)",
    "01/03/2023 00:10:00;  1,5; 10,5;2",
    "01/03/2023 00:20:00;  3,5; 12,5;2",
});
// The first two temperatures missing: row 00:10 has no temperature (written
// "NA"), row 00:20 the mean of 20 and 22.
const std::vector<std::string> kAval = {
    "Date;Niveau;Temp",           "2023-03-01 00:05:00;5,0;NA", "2023-03-01 00:10:00;6,0;NA",
    "2023-03-01 00:15:00;7,0;20", "2023-03-01 00:20:00;8,0;22",
};
const std::string kResultatsAval = crlf({
    "temps(Date inf ou =);Niveau;Temp;nb(2)_methode_(moyenne des n mesures OK)",
    "01/03/2023 00:10:00;  5,5;NA;2",
    "01/03/2023 00:20:00;  7,5; 21,0;2",
});
const std::string kTitres =
    "description\tfichiers\tlignes extraites\tlignes de résultats\trésultats\tstatut\n";

class Lot : public test::AvecCli {
 protected:
  // A station: its data folder holding mesures.csv, and its description
  // (results named after it in the output folder unless told otherwise).
  std::string station(const std::string& nom, const std::vector<std::string>& mesures,
                      const std::vector<std::string>& autres = {}) {
    const std::string donnees = d_.sous_dossier("donnees_" + nom);
    d_.ecrire("donnees_" + nom + "/mesures.csv", crlf(mesures));
    return description(nom, donnees, autres);
  }
  std::string description(const std::string& nom, const std::string& donnees,
                          const std::vector<std::string>& autres = {}) {
    std::vector<std::string> l = {"Edit_masque.text= *.csv",
                                  "RadioGroup_separateur_colonne_ItemIndex= 2",
                                  "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                                  "Edit_nb_decimale.text= 1",
                                  "Edit_equiv_na.text= NA",
                                  "Edit_NA.text= NA",
                                  "Edit_nom_fic_sortie.text= " + nom,
                                  "RadioGroup_separateur_sortie_ItemIndex= 3",
                                  "dossier_choisi= " + donnees,
                                  "dossier_choisi_sortie= " + sortie_};
    // A setting given again replaces the one above (a DSC file keeps the
    // first line of a key).
    for (const std::string& autre : autres) {
      const std::string cle = autre.substr(0, autre.find("= ") + 2);
      const auto meme = std::find_if(l.begin(), l.end(),
                                     [&](const std::string& x) { return x.rfind(cle, 0) == 0; });
      if (meme != l.end())
        *meme = autre;
      else
        l.push_back(autre);
    }
    return d_.ecrire(nom + ".dsc", crlf(l));
  }
  std::set<std::string> sorties() const {
    std::set<std::string> noms;
    for (const auto& e : fs::directory_iterator(sortie_)) noms.insert(e.path().filename().string());
    return noms;
  }
  // What the runs left in the program directory (their folders of temporaries).
  std::set<std::string> restes_programme() const {
    std::set<std::string> noms;
    const std::string programme = d_.chemin() + "programme";
    if (!fs::exists(programme)) return noms;
    for (const auto& e : fs::directory_iterator(programme))
      if (e.path().filename().string().front() == '~') noms.insert(e.path().filename().string());
    return noms;
  }
  ValeurJson bilan(const std::string& chemin) const {
    return lire_json(DossierTemporaire::lire(chemin));
  }
};

// Three descriptions, three at a time: the one whose data folder is missing
// fails with status 4 and says why under its name; the two others run to the
// end. The status of the command is that of the first failing description.
TEST_F(Lot, RunsInParallelOneFailingDoesNotStopTheOthers) {
  const std::string amont = station("amont", kAmont);
  const std::string panne = description("panne", d_.chemin() + "donnees_absentes/");
  const std::string aval = station("aval", kAval);
  const std::string json = d_.chemin() + "bilan.json";
  const Sortie r = lancer(d_, "run " + q(amont) + " " + q(panne) + " " + q(aval) +
                                  " --jobs 3 --summary-json " + q(json) + kPeriode);
  EXPECT_EQ(r.code, 4) << r.erreurs;
  EXPECT_EQ(r.sortie, kTitres + amont + "\t1\t4\t2\t" + sortie_ + "amont.txt\t0 complet\n" + panne +
                          "\t0\t0\t0\t-\t4 données illisibles\n" + aval + "\t1\t4\t2\t" + sortie_ +
                          "aval.txt\t0 complet\n");
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "amont.txt"), kResultatsAmont);
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "aval.txt"), kResultatsAval);
  EXPECT_EQ(sorties(),
            (std::set<std::string>{"amont.txt", "amont.txt.TXT", "aval.txt", "aval.txt.TXT"}));
  EXPECT_NE(r.erreurs.find("== " + panne +
                           " : statut 4 (données illisibles)\ntamso-cli: "
                           "répertoire des données illisible : " +
                           d_.chemin() + "donnees_absentes/\n"),
            std::string::npos)
      << r.erreurs;
  EXPECT_NE(r.erreurs.find("== " + amont + " : statut 0 (complet)\n"), std::string::npos);
  EXPECT_NE(r.erreurs.find("== " + aval + " : statut 0 (complet)\n"), std::string::npos);
  // Each run kept its temporaries in a folder of its own, gone with it.
  EXPECT_TRUE(restes_programme().empty());

  // The summary: the runs in the order of the command line.
  const ValeurJson b = bilan(json);
  EXPECT_EQ(b["programme"].chaine(), "tamso-cli");
  EXPECT_EQ(b["version"].chaine(), TAMSO_VERSION_PROJET);
  EXPECT_EQ(b["statut"].entier(), 4);
  ASSERT_EQ(b["descriptions"].taille(), 3u);
  const ValeurJson& p = b["descriptions"][1];
  EXPECT_EQ(p["description"].chaine(), panne);
  EXPECT_EQ(p["statut"].entier(), 4);
  EXPECT_EQ(p["etat"].chaine(), "données illisibles");
  EXPECT_EQ(p["message"].chaine(),
            "répertoire des données illisible : " + d_.chemin() + "donnees_absentes/");
  EXPECT_TRUE(p["resultats"].est_nul());
  EXPECT_FALSE(p["traitement"].booleen);
  EXPECT_EQ(p["fichiers"].taille(), 0u);
  const ValeurJson& a = b["descriptions"][2];
  EXPECT_EQ(a["description"].chaine(), aval);
  EXPECT_EQ(a["statut"].entier(), 0);
  EXPECT_EQ(a["resultats"].chaine(), sortie_ + "aval.txt");
  EXPECT_EQ(a["lignes_resultats"].entier(), 2);
  ASSERT_EQ(a["colonnes"].taille(), 2u);
  EXPECT_EQ(a["colonnes"][0]["titre"].chaine(), "Niveau");
  EXPECT_EQ(a["colonnes"][0]["na"].entier(), 0);
  EXPECT_EQ(a["colonnes"][1]["titre"].chaine(), "Temp");
  EXPECT_EQ(a["colonnes"][1]["na"].entier(), 1);
  EXPECT_EQ(a["na"].entier(), 1);
  EXPECT_EQ(b["descriptions"][0]["statut"].entier(), 0);
  EXPECT_EQ(b["descriptions"][0]["na"].entier(), 0);
}

// Two workbooks, converted by runs going at once: each run reads the sheet
// of its own workbook, never the one the other converted.
TEST_F(Lot, RunsAtOnceEachReadTheirOwnWorkbook) {
  const std::string classeurs = TAMSO_DONNEES_TEST "classeurs/";
  const std::string donnees = d_.sous_dossier("classeurs");
  fs::copy_file(classeurs + "releves_python.xlsx", donnees + "A.xlsx");
  fs::copy_file(classeurs + "mesures_python.xlsx", donnees + "B.xlsx");
  const auto classeur = [&](const std::string& nom, const std::vector<std::string>& autres) {
    std::vector<std::string> l = {"Edit_masque.text= xlsx",
                                  "Label_nom_fic_excel.caption= " + nom + ".xlsx",
                                  "Edit_nom_fic_sortie.text= " + nom,
                                  "dossier_choisi= " + donnees,
                                  "dossier_choisi_sortie= " + sortie_,
                                  "RadioGroup_separateur_colonne_ItemIndex= 2"};
    l.insert(l.end(), autres.begin(), autres.end());
    return d_.ecrire(nom + ".dsc", crlf(l));
  };
  const std::string a = classeur("A", {"Edit_format_datetime_mesure.text= jj/mm/aaaa hh:mn:ss"});
  const std::string b =
      classeur("B", {"RadioGroup_datetime_nb_col_ItemIndex= 1",
                     "Edit_format_date_mesure_seule.text= jj/mm/aaaa",
                     "Edit_format_time_mesure_seul.text= hh:mn:ss", "Edit_num_col_time.text= 2"});
  const std::string periode =
      " --from '01/03/2024 00:10:00' --to '01/03/2024 00:20:00' --step "
      "00:10:00";
  // Each alone first: what a run of each gives when nothing else runs.
  std::string seul_a, seul_b;
  ASSERT_EQ(lancer(d_, "run " + q(a) + periode).code, 0);
  ASSERT_EQ(lancer(d_, "run " + q(b) + periode).code, 0);
  seul_a = DossierTemporaire::lire(sortie_ + "A.txt");
  seul_b = DossierTemporaire::lire(sortie_ + "B.txt");
  EXPECT_EQ(seul_a.rfind("temps(Date inf ou =)\tTemp\tHum\t", 0), 0u);
  EXPECT_EQ(seul_b.rfind("Date\tTemp\tHumidit\xe9\tEtat\tCalcul\t", 0), 0u);
  for (int essai = 0; essai < 4; ++essai) {
    SCOPED_TRACE(essai);
    fs::remove_all(sortie_);
    fs::create_directories(sortie_);
    const Sortie r = lancer(d_, "run " + q(a) + " " + q(b) + " --jobs 2" + periode);
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(DossierTemporaire::lire(sortie_ + "A.txt"), seul_a);
    EXPECT_EQ(DossierTemporaire::lire(sortie_ + "B.txt"), seul_b);
  }
  // The converted sheets were in folders of their own, gone with their runs.
  EXPECT_TRUE(restes_programme().empty());
}

// Descriptions that would write one results file are refused before any
// runs: the same description twice, two names alike in one folder, folders
// made one by --out or reached through a link.
TEST_F(Lot, DescriptionsWritingOneResultsFileAreRefusedBeforeAnyRuns) {
  const std::string amont = station("amont", kAmont);
  const std::string aval = station("aval", kAval);
  const std::string homonyme = station("homonyme", kAval, {"Edit_nom_fic_sortie.text= amont"});
  const std::string ailleurs_dossier = d_.sous_dossier("ailleurs");
  fs::create_directory_symlink(sortie_, d_.chemin() + "lien");
  const std::string par_lien = station(
      "par_lien", kAval,
      {"Edit_nom_fic_sortie.text= amont", "dossier_choisi_sortie= " + d_.chemin() + "lien/"});
  const std::string ailleurs =
      station("ailleurs", kAval,
              {"Edit_nom_fic_sortie.text= amont", "dossier_choisi_sortie= " + ailleurs_dossier});
  struct Cas {
    std::string arguments, premiere, seconde, cible;
  };
  const std::vector<Cas> cas = {
      {q(amont) + " " + q(aval) + " " + q(amont), amont, amont, sortie_ + "amont.txt"},
      {q(amont) + " " + q(homonyme), amont, homonyme, sortie_ + "amont.txt"},
      {q(amont) + " " + q(par_lien), amont, par_lien, sortie_ + "amont.txt"},
      {q(ailleurs) + " " + q(amont) + " --out " + q(ailleurs_dossier), ailleurs, amont,
       ailleurs_dossier + "amont.txt"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.arguments);
    const Sortie r = lancer(d_, "run " + c.arguments + " --jobs 2" + kPeriode);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.sortie, "");
    EXPECT_EQ(r.erreurs, "tamso-cli: les descriptions " + c.premiere + " et " + c.seconde +
                             " écriraient le même fichier de résultats : " + c.cible +
                             "\ntamso-cli: aucune description n'est traitée (--out, ou le nom du "
                             "fichier de sortie de chaque description)\n");
    EXPECT_TRUE(fs::is_empty(sortie_));
    EXPECT_TRUE(fs::is_empty(ailleurs_dossier));
  }
  // Same name, other folder: no collision.
  const Sortie r = lancer(d_, "run " + q(amont) + " " + q(ailleurs) + kPeriode);
  EXPECT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(DossierTemporaire::lire(sortie_ + "amont.txt"), kResultatsAmont);
  EXPECT_TRUE(fs::exists(ailleurs_dossier + "amont.txt"));
}

// The summary of one run: its period, its file with its dates and counts,
// the results rows and the missing values, the durations, and the
// questions the batch program answered (a results file already there: not
// overwritten, the save dialog cancelled, the results kept aside).
TEST_F(Lot, SummaryOfOneRunHoldsItsFactsAndTheAnswersTaken) {
  const std::string amont = station("amont", kAmont, {"CheckBox_inc_nom.Checked= false"});
  const std::string json = d_.chemin() + "bilan.json";
  ASSERT_EQ(lancer(d_, "run " + q(amont) + kPeriode).code, 0);
  const Sortie r = lancer(d_, "run " + q(amont) + " --summary-json " + q(json) + kPeriode);
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, sortie_ + "~résultats.txt\n" + sortie_ + "~résultats.txt.TXT\n");

  const ValeurJson b = bilan(json);
  EXPECT_EQ(b.ordre, (std::vector<std::string>{"programme", "version", "statut", "descriptions"}));
  EXPECT_EQ(b["statut"].entier(), 0);
  ASSERT_EQ(b["descriptions"].taille(), 1u);
  const ValeurJson& run = b["descriptions"][0];
  EXPECT_EQ(run["description"].chaine(), amont);
  EXPECT_EQ(run["statut"].entier(), 0);
  EXPECT_EQ(run["etat"].chaine(), "complet");
  EXPECT_TRUE(run["message"].est_nul());
  EXPECT_EQ(run["resultats"].chaine(), sortie_ + "~résultats.txt");
  EXPECT_EQ(run["suivi"].chaine(), sortie_ + "~résultats.txt.TXT");
  EXPECT_EQ(run["periode"]["debut"].chaine(), "2023-03-01T00:10:00");
  EXPECT_EQ(run["periode"]["fin"].chaine(), "2023-03-01T00:20:00");
  EXPECT_EQ(run["periode"]["pas"].chaine(), "00:10:00");
  EXPECT_EQ(run["periode"]["test"].chaine(), "inf ou =");

  ASSERT_EQ(run["fichiers"].taille(), 1u);
  const ValeurJson& f = run["fichiers"][0];
  EXPECT_EQ(f["fichier"].chaine(), "mesures.csv");
  EXPECT_EQ(f["sous_repertoire"].chaine(), "");
  EXPECT_TRUE(f["traite"].booleen);
  EXPECT_EQ(f["debut"].chaine(), "2023-03-01T00:05:00");
  EXPECT_EQ(f["fin"].chaine(), "2023-03-01T00:20:00");
  EXPECT_EQ(f["lignes"].entier(), 4);
  EXPECT_EQ(f["lignes_extraites"].entier(), 4);
  // Three steps of 300 s between the four readings: mean and smallest.
  EXPECT_EQ(f["pas_observe"].chaine(), "300 s / 300 s");
  EXPECT_TRUE(f["correction"].est_nul());

  EXPECT_TRUE(run["traitement"].booleen);
  EXPECT_EQ(run["lignes_extraites"].entier(), 4);
  EXPECT_EQ(run["dates_illisibles"].entier(), 0);
  EXPECT_EQ(run["fichiers_incomplets"].taille(), 0u);
  EXPECT_EQ(run["lignes_resultats"].entier(), 2);
  ASSERT_EQ(run["colonnes"].taille(), 2u);
  EXPECT_EQ(run["colonnes"][0]["titre"].chaine(), "Niveau");
  EXPECT_EQ(run["colonnes"][1]["titre"].chaine(), "Temp");
  EXPECT_EQ(run["na"].entier(), 0);

  const ValeurJson& durees = run["durees_s"];
  EXPECT_EQ(durees.ordre,
            (std::vector<std::string>{"listage", "liste_horodatee", "traitement", "total"}));
  double somme = 0;
  for (const char* phase : {"listage", "liste_horodatee", "traitement"}) {
    EXPECT_GE(durees[phase].nombre, 0.0) << phase;
    somme += durees[phase].nombre;
  }
  // Each is rounded to the millisecond on its own.
  EXPECT_NEAR(durees["total"].nombre, somme, 0.002);
  EXPECT_LT(durees["total"].nombre, 60.0);

  ASSERT_EQ(run["questions"].taille(), 2u);
  EXPECT_EQ(run["questions"][0]["question"].chaine(),
            sortie_ + "\n\n Le fichier  amont.txt\n\n   existe déjà\n\n => écraser ?");
  EXPECT_EQ(run["questions"][0]["reponse"].chaine(), "Non");
  EXPECT_EQ(run["questions"][1]["question"].chaine(), "enregistrement des résultats de calcul");
  EXPECT_EQ(run["questions"][1]["reponse"].chaine(), "Annuler");
  EXPECT_GE(run["messages"].taille(), 1u);
}

// Each way a command ends has its status, said by --help.
TEST_F(Lot, ExitStatusesTellWhatWentWrong) {
  const std::string amont = station("amont", kAmont);
  const std::string vide = description("vide", d_.sous_dossier("donnees_vides"));
  const std::string fichier = d_.ecrire("un_fichier", "x");
  const std::string long_nom = description("long", d_.chemin() + "donnees_amont/",
                                           {"Edit_nom_fic_sortie.text= " + std::string(300, 'x')});
  struct Cas {
    std::string arguments;
    int code;
    std::string message;  // on standard error
  };
  const std::vector<Cas> cas = {
      {"", 2, "A subcommand is required"},
      {"run", 2, "DESCRIPTION is required"},
      {"lancer " + q(amont), 2, ""},
      {"run " + q(amont) + " --inconnue", 2, "--inconnue"},
      {"run " + q(amont) + " --jobs 0", 2, "--jobs"},
      {"run " + q(d_.chemin() + "absente.dsc"), 2, "fichier de description introuvable"},
      {"run " + q(description("perdue", d_.chemin() + "nulle_part/")) + kPeriode, 4,
       "répertoire des données illisible : " + d_.chemin() + "nulle_part/"},
      {"run " + q(vide) + kPeriode, 4,
       "aucun fichier ne correspond au masque *.csv dans " + d_.chemin() + "donnees_vides/"},
      {"list " + q(vide), 4, "aucun fichier ne correspond au masque *.csv dans "},
      {"run " + q(amont) + " --out " + q(fichier + "/sous") + kPeriode, 6,
       "répertoire de sortie impossible à créer : " + fichier + "/sous/"},
      {"run " + q(long_nom) + kPeriode, 6, "nom de fichier trop long"},
      {"inspect " + q(d_.chemin() + "donnees_amont/mesures.csv") + " --write " +
           q(d_.chemin() + "nulle_part/n.dsc"),
       6, "description impossible à écrire"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.arguments);
    const Sortie r = lancer(d_, c.arguments);
    EXPECT_EQ(r.code, c.code) << r.erreurs;
    EXPECT_NE(r.erreurs.find(c.message), std::string::npos) << r.erreurs;
  }
  // A summary that cannot be written: the results are, the status says the write failed.
  const Sortie r = lancer(
      d_, "run " + q(amont) + " --summary-json " + q(d_.chemin() + "nulle_part/b.json") + kPeriode);
  EXPECT_EQ(r.code, 6);
  EXPECT_EQ(r.sortie, sortie_ + "amont.txt\n" + sortie_ + "amont.txt.TXT\n");
  EXPECT_NE(r.erreurs.find("tamso-cli: bilan impossible à écrire : " + d_.chemin() +
                           "nulle_part/b.json (répertoire inexistant)"),
            std::string::npos)
      << r.erreurs;

  const Sortie version = lancer(d_, "--version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.sortie, "tamso-cli " TAMSO_VERSION_PROJET "\n");
  const Sortie aide = lancer(d_, "--help");
  EXPECT_EQ(aide.code, 0);
  for (const char* ligne :
       {"  0  success", "  1  nothing written", "  2  bad use", "  3  nothing extracted",
        "  4  input error", "  5  stopped", "  6  write failure"})
    EXPECT_NE(aide.sortie.find(ligne), std::string::npos) << ligne;
}

}  // namespace
}  // namespace tamso
