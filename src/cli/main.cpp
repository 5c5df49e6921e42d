// tamso-cli: the batch program. It runs the same stages as the desktop
// program, headless: list, inspect a sample file, process one description
// or several.
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/description_files.h"
#include "app/inspection.h"
#include "app/installation.h"
#include "app/listing.h"
#include "app/session.h"
#include "cli/batch_interaction.h"
#include "cli/cli_helpers.h"
#include "cli/exit_status.h"
#include "cli/multi_run.h"
#include "cli/run_command.h"
#include "input/files.h"

using namespace tamso;

namespace {

constexpr const char* kPolitique =
    "Questions: the batch program never reads standard input. Each question is answered with the "
    "answer that goes on without changing the description and without destroying a file "
    "(continue, keep, do not overwrite); 'inspect' instead accepts every proposed correction. "
    "The question and the answer taken are written to standard error and to the tracking log.\n"
    "Stop: an interrupt (Ctrl-C) or a termination signal while 'run' processes stops the "
    "reading; the results of the lines read so far are written and said to be partial (a "
    "second signal, or one before the processing, ends the program at once, writing nothing).\n"
    "Several descriptions: 'run A.dsc B.dsc ...' runs each with its own settings and period "
    "(the options apply to all), --jobs N at a time, each in a process of its own; one failing "
    "does not stop the others. Two descriptions that would write the same results file are "
    "refused before any runs. A summary line per description ends the output (description, "
    "files, lines extracted, results rows, results file, status).\n"
    "--summary-json FILE: the facts of each run for scripts (files with their dates, counts and "
    "corrections, results rows, missing values, durations, questions and answers taken).\n"
    "Exit status:\n"
    "  0  success: results written, complete\n"
    "  1  nothing written for another reason: a question answered to stop, the memory limit, "
    "memory running out\n"
    "  2  bad use: bad command line, a description or file it names unreadable, two "
    "descriptions writing one results file\n"
    "  3  nothing extracted: results written, but every value is missing\n"
    "  4  input error: data folder unreadable, no file matching the mask, a data file "
    "unreadable or not read to its end (its results then partial)\n"
    "  5  stopped by an interrupt or a termination signal\n"
    "  6  write failure: results, tracking file, output folder, summary or description could "
    "not be written\n"
    "With several descriptions: 0 when every run succeeded, else the status of the first that "
    "did not, in the order given.";

int commande_list(const std::string& dsc, const std::string& donnees, const std::string& sep) {
  InteractionLot port(std::cerr);
  OptionsSession opts;
  opts.separateur_decimal = sep.empty() ? separateur_du_systeme() : sep[0];
  const DossierTemporaireLot temporaires(opts);
  Session s(port, opts);
  port.fixer_journal(&s.journal);
  if (const std::string m = charger_description(s, dsc, donnees); !m.empty())
    return erreur(m, kUsage);
  if (const std::string m = defaut_repertoire_donnees(s); !m.empty()) return erreur(m, kEntree);
  const bool ok = lister_fichiers_donnees(s);
  if (s.table.nb_fichiers() == 0)
    return erreur("aucun fichier ne correspond au masque " + s.description.masque + " dans " +
                      s.description.dossier_choisi,
                  kEntree);
  for (int r = 0; r < s.table.nb_lignes(); ++r) {
    for (int c = 0; c < s.table.nb_colonnes(); ++c)
      std::cout << (c ? "\t" : "") << nom_lisible(s.table.cellule(c, r));
    std::cout << "\n";
  }
  return ok ? kSucces : kEchec;
}

int commande_inspect(const std::string& echantillon, const std::string& dsc,
                     const std::string& sortie, bool expliquer) {
  InteractionLot port(std::cerr, PolitiqueLot::accepter);
  OptionsSession opts;
  opts.separateur_decimal = separateur_du_systeme();
  const DossierTemporaireLot temporaires(opts);
  Session s(port, opts);
  port.fixer_journal(&s.journal);
  if (const std::string defaut = defaut_de_fichier(echantillon); !defaut.empty())
    return erreur("fichier exemple " + defaut + " : " + echantillon, kUsage);
  if (!dsc.empty()) {
    if (const std::string m = charger_description(s, dsc); !m.empty()) return erreur(m, kUsage);
  } else {
    s.description = description_par_defaut(s.repertoire_programme());
    s.nom_description = "Temporaire.dsc";
  }
  const DispositionDetectee dispo = inspecter_fichier_exemple(s, absolu(echantillon));
  if (expliquer) {
    for (const auto& l : dispo.explications) std::cout << l << "\n";
    if (dispo.trouvee) std::cout << "\n" << resume_disposition(dispo) << "\n";
  }
  const std::string cible = absolu(sortie.empty() ? nom_description_propose(s) : sortie);
  s.description.dossier_description = avec_barre_finale(repertoire_de(cible));
  s.nom_description = nom_de_fichier(cible);
  if (!ecrire_description(s))
    return erreur("description impossible à écrire : " + cible, kEcritureImpossible);
  std::cout << s.chemin_dsc() << "\n";
  return kSucces;
}

// Where the installed program keeps its manual and its examples.
std::string texte_fichiers_installes() {
  const std::string fichiers = repertoire_fichiers_programme(repertoire_executable());
  if (fichiers.empty()) return {};
  return "\nManual (PDF, French): " + fichiers + "tamso_manuel.pdf; examples (descriptions and " +
         "their data): " + repertoire_exemples(fichiers) + "; see also man tamso-cli.";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tamso-cli : séries temporelles régulières à partir de fichiers d'enregistreurs"};
  app.footer(std::string(kPolitique) + texte_fichiers_installes());
  app.set_version_flag("--version", std::string("tamso-cli ") + version_tamso());
  app.require_subcommand(1);

  OptionsRun o;
  std::vector<std::string> descriptions;
  int travaux = 1;
  auto* run = app.add_subcommand("run",
                                 "liste, crée la liste horodatée, traite, écrit les "
                                 "résultats et le fichier de suivi, pour chaque description");
  run->add_option("DESCRIPTION", descriptions, "fichier(s) de description (.dsc)")->required();
  run->add_option("--data", o.donnees, "répertoire des données (sinon celui de la description)");
  run->add_option("--out", o.sortie, "répertoire de sortie (sinon celui de la description)");
  run->add_option("--from", o.debut, "début de période \"jj/mm/aaaa hh:mm:ss\"");
  run->add_option("--to", o.fin, "fin de période \"jj/mm/aaaa hh:mm:ss\"");
  auto* pas = run->add_option("--step", o.pas, "pas hh:mm:ss");
  auto* jours = run->add_option("--days", o.jours, "pas en jours")->check(CLI::Range(1, 400));
  auto* mois = run->add_option("--months", o.mois, "pas en mois")->check(CLI::Range(1, 400));
  auto* annees = run->add_option("--years", o.annees, "pas en années")->check(CLI::Range(1, 400));
  pas->excludes(jours)->excludes(mois)->excludes(annees);
  jours->excludes(mois)->excludes(annees);
  mois->excludes(annees);
  run->add_option("--test", o.test, "le = (inf ou =), lt = (inf strict)")
      ->check(CLI::IsMember({"le", "lt"}));
  run->add_option("--shift-days", o.decalage_jours, "jours ajoutés au décalage")
      ->check(CLI::Range(0, 400));
  run->add_option("--decimal-separator", o.separateur, "séparateur décimal de l'ordinateur")
      ->check(CLI::IsMember({",", "."}));
  auto* fils = run->add_option("--threads", o.fils,
                               "fils de lecture d'un fichier (0 = un par cœur, 1 = un seul) ; le "
                               "résultat ne dépend pas du nombre de fils")
                   ->check(CLI::Range(0, 64));
  run->add_flag("--reference", o.reference,
                "lit chaque ligne pas à pas, sans la lecture rapide (contrôle, même résultat)");
  run->add_option("--max-memory", o.memoire_max,
                  "mémoire que le traitement peut prendre (800M, 12G ...) ; sinon la mémoire "
                  "disponible : au-delà, le traitement est refusé avec son estimation");
  run->add_option("--clipboard-file", o.presse_papier,
                  "texte tenant lieu de presse-papier (description au masque \"ppp\")");
  run->add_option("--jobs", travaux,
                  "descriptions traitées en même temps, chacune dans son processus (1 par "
                  "défaut)")
      ->check(CLI::Range(1, 64));
  run->add_option("--summary-json", o.bilan_json,
                  "écrit le bilan de chaque traitement en JSON (fichiers, dates, comptes, "
                  "corrections, lignes de résultats, valeurs manquantes, durées, questions)");

  std::string dsc_list, donnees_list, sep_list;
  auto* list = app.add_subcommand("list", "liste les fichiers de données (tableau des fichiers)");
  list->add_option("DESCRIPTION", dsc_list, "fichier de description (.dsc)")->required();
  list->add_option("--data", donnees_list, "répertoire des données");
  list->add_option("--decimal-separator", sep_list, "séparateur décimal de l'ordinateur")
      ->check(CLI::IsMember({",", "."}));

  std::string echantillon, dsc_inspect, ecrire;
  auto* inspect = app.add_subcommand("inspect",
                                     "inspecte un fichier exemple et écrit la "
                                     "description qui en résulte");
  inspect->add_option("SAMPLE_FILE", echantillon, "fichier de données exemple")->required();
  inspect->add_option("--dsc", dsc_inspect, "description de départ");
  inspect->add_option("--write", ecrire, "description à écrire");
  bool expliquer = false;
  inspect->add_flag("--explain", expliquer,
                    "montre ce qui a été détecté et pourquoi (lignes, comptes), pour corriger");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version end the program with 0; anything else is bad use.
    const int code = app.exit(e);
    return code == 0 ? kSucces : kUsage;
  }
  try {
    if (*run) {
      if (descriptions.size() == 1) return commande_run(descriptions.front(), o);
      return commande_run_lot(descriptions, o, travaux, fils->count() > 0);
    }
    if (*list) return commande_list(dsc_list, donnees_list, sep_list);
    if (*inspect) return commande_inspect(echantillon, dsc_inspect, ecrire, expliquer);
  } catch (const std::bad_alloc&) {
    return erreur(
        "mémoire insuffisante : le traitement a demandé plus de mémoire que l'ordinateur n'en a "
        "(réduire la période, allonger le pas, extraire moins de colonnes)",
        kEchec);
  }
  return kUsage;
}
