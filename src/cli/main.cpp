// tamso-cli: the batch program. It runs the same stages as the desktop
// program, headless: list, inspect a sample file, process.
#include <clocale>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>

#include <CLI/CLI.hpp>

#include "app/description_files.h"
#include "app/inspection.h"
#include "app/listing.h"
#include "app/run.h"
#include "app/save.h"
#include "app/session.h"
#include "app/timestamp_commands.h"
#include "base/memory.h"
#include "cli/batch_interaction.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/files.h"
#include "input/text.h"
#include "processing/period.h"
#include "results/results_writer.h"

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
    "Exit status of 'run': 0 results complete; 1 nothing written (no file, a question answered "
    "to stop, a failure; or results written without their tracking file, their path on standard "
    "output); 2 bad command line or description; 3 results written but no line "
    "extracted (every value missing); 4 results written but a data file could not be read to "
    "its end; 5 stopped by a signal (results of the lines read so far, or nothing written).";

// Exit statuses of 'run'.
enum CodeSortie : int {
  kSucces = 0,
  kEchec = 1,
  kUsage = 2,
  kSansDonnees = 3,
  kFichierIncomplet = 4,
  kArrete = 5,
};

// Set by the first interrupt or termination signal; the second one ends the
// program (the handler is reset to the default once it has run).
volatile std::sig_atomic_t g_arret = 0;

extern "C" void sur_signal_arret(int) {
  g_arret = 1;
}

// From the processing on, an interrupt or termination signal asks the run
// to stop; before it (listing, timestamp list) it ends the program at once,
// with nothing written. A program started with these signals blocked gets
// them unblocked here: a stop sent before is then taken at once.
void intercepter_signaux_arret() {
  struct sigaction action {};
  action.sa_handler = sur_signal_arret;
  sigemptyset(&action.sa_mask);
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigset_t signaux;
  sigemptyset(&signaux);
  sigaddset(&signaux, SIGINT);
  sigaddset(&signaux, SIGTERM);
  sigprocmask(SIG_UNBLOCK, &signaux, nullptr);
}

// The computer's decimal separator, from the locale; numbers are then read
// and written by the program itself, whatever the locale.
char separateur_du_systeme() {
  std::setlocale(LC_ALL, "");
  const char* p = std::localeconv()->decimal_point;
  const char sep = p && *p ? *p : '.';
  std::setlocale(LC_ALL, "C");
  return sep;
}

int erreur(const std::string& message, int code = 2) {
  std::cerr << "tamso-cli: " << message << "\n";
  return code;
}

std::string absolu(const std::string& chemin) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(chemin, ec);
  return ec ? chemin : p.lexically_normal().string();
}

// Reads a description file into the session. A data folder given on the
// command line replaces the file's own before any data file is counted, so
// the file's folder is never searched. False with a message on failure.
bool charger_description(Session& s, const std::string& dsc, const std::string& donnees = {}) {
  if (const std::string defaut = defaut_de_fichier(dsc); !defaut.empty()) {
    erreur("fichier de description " + defaut + " : " + dsc);
    return false;
  }
  const std::string chemin = absolu(dsc);
  s.description.dossier_description = avec_barre_finale(repertoire_de(chemin));
  s.nom_description = nom_de_fichier(chemin);
  if (!lire_description(s, donnees.empty() ? std::string{} : absolu(donnees))) {
    erreur("description illisible : " + dsc);
    return false;
  }
  // The file's own directory line cannot move the description away.
  s.description.dossier_description = avec_barre_finale(repertoire_de(chemin));
  s.nom_description = nom_de_fichier(chemin);
  return true;
}

bool repertoire_donnees_lisible(const Session& s) {
  if (source_du_masque(s.description.masque) == SourceDonnees::repertoire &&
      !repertoire_existe(s.description.dossier_choisi)) {
    erreur("répertoire des données illisible : " + s.description.dossier_choisi);
    return false;
  }
  return true;
}

// The text of a file standing for the clipboard: UTF-8 when it is, else Windows-1252.
bool lire_presse_papier_fichier(InteractionLot& port, const std::string& fichier) {
  if (fichier.empty()) return true;
  // A pipe would be read until its writer closes it: only plain files.
  if (const std::string defaut = defaut_de_fichier(fichier); !defaut.empty()) {
    erreur("fichier du presse-papier " + defaut + " : " + fichier);
    return false;
  }
  std::ifstream f(fichier, std::ios::binary);
  if (!f) {
    erreur("fichier du presse-papier illisible : " + fichier);
    return false;
  }
  const std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const bool utf8 = cp1252_vers_utf8(utf8_vers_cp1252(octets)) == octets;
  port.fixer_presse_papier(utf8 ? octets : cp1252_vers_utf8(octets));
  return true;
}

struct OptionsRun {
  std::string dsc, donnees, sortie, debut, fin, pas, test = "le", separateur, presse_papier;
  int jours = 0, mois = 0, annees = 0, decalage_jours = 0;
  int fils = 0;
  bool reference = false;
  std::string memoire_max;
};

// The period: the options, else the description's last run. kSucces, or
// the status of a bound or step that does not read.
int fixer_periode(Session& s, const OptionsRun& o) {
  const Description& d = s.description;
  Periode& p = s.periode;
  const std::string debut = o.debut.empty() ? d.min_dsc : o.debut;
  const std::string fin = o.fin.empty() ? d.max_dsc : o.fin;
  const auto v_debut = texte_en_date(debut, nullptr, s.journal);
  const auto v_fin = texte_en_date(fin, nullptr, s.journal);
  // A time alone reads as that time on 30/12/1899: a bound needs its date.
  if (!v_debut) return erreur("début de période illisible : <" + debut + "> (--from)");
  if (*v_debut < 1.0)
    return erreur("début de période sans date : <" + debut + "> (--from \"jj/mm/aaaa hh:mm:ss\")");
  if (!v_fin) return erreur("fin de période illisible : <" + fin + "> (--to)");
  if (*v_fin < 1.0)
    return erreur("fin de période sans date : <" + fin + "> (--to \"jj/mm/aaaa hh:mm:ss\")");
  if (*v_fin <= *v_debut)
    return erreur("la fin de période <" + fin + "> n'est pas après son début <" + debut +
                  "> (--from, --to)");
  fixer_debut(p, *v_debut);
  fixer_fin(p, *v_fin);
  p.test_date = o.test == "lt" ? TestDate::inf_strict : TestDate::inf_ou_egal;
  if (o.jours > 0 || o.mois > 0 || o.annees > 0) {
    p.unite = o.jours > 0 ? UnitePas::jour : o.mois > 0 ? UnitePas::mois : UnitePas::annee;
    p.nb_pas = o.jours > 0 ? o.jours : o.mois > 0 ? o.mois : o.annees;
  } else {
    const std::string pas = o.pas.empty() ? d.pas_dsc : o.pas;
    const auto v = lire_date_heure(pas);
    if (!v || pas.size() != 8 || *v <= 0.0)
      return erreur("pas de temps illisible : <" + pas +
                    "> (--step hh:mm:ss, de 00:00:01 à 23:59:59 ; un pas d'un jour ou plus : "
                    "--days N, --months N, --years N)");
    p.unite = UnitePas::heure;
    p.pas = *v;
  }
  return kSucces;
}

// Nothing was written: the cause, or the stop that ended the run first.
int rien_ecrit(const std::string& message) {
  if (g_arret)
    return erreur("traitement arrêté avant l'écriture des résultats : rien n'est écrit", kArrete);
  return erreur(message, kEchec);
}

// The run and its exit status: what the results written hold, or why none
// were written.
int traiter_et_dire(Session& s) {
  switch (traiter_run(s)) {
    case IssueTraitement::enregistre:
      std::cout << s.resultats.chemin_resultats << "\n" << s.resultats.chemin_suivi << "\n";
      switch (bilan_traitement(vue_traitement(s))) {
        case BilanTraitement::complet:
          return kSucces;
        case BilanTraitement::arrete:
          return kArrete;
        case BilanTraitement::sans_donnees:
          return kSansDonnees;
        case BilanTraitement::incomplet:
          return kFichierIncomplet;
      }
      return kSucces;
    case IssueTraitement::refuse:
      return rien_ecrit("traitement refusé");
    case IssueTraitement::abandonne:
      return rien_ecrit("traitement abandonné : rien n'est écrit");
    case IssueTraitement::echec:
      // The results in place, their tracking file not: their path is given.
      if (!s.resultats.chemin_resultats.empty() && fichier_existe(s.resultats.chemin_resultats)) {
        std::cout << s.resultats.chemin_resultats << "\n";
        return erreur(
            "résultats écrits sans leur fichier de suivi : " + s.resultats.chemin_resultats,
            kEchec);
      }
      break;
  }
  return rien_ecrit("le traitement a échoué");
}

int commande_run(const OptionsRun& o) {
  InteractionLot port(std::cerr);
  OptionsSession opts;
  opts.separateur_decimal = o.separateur.empty() ? separateur_du_systeme() : o.separateur[0];
  Session s(port, opts);
  s.lecture.fils = o.fils;
  s.lecture.reference = o.reference;
  if (!o.memoire_max.empty()) {
    const auto octets = lire_taille_memoire(o.memoire_max);
    if (!octets)
      return erreur("taille de mémoire illisible : <" + o.memoire_max +
                    "> (--max-memory 800M, 12G ...)");
    s.lecture.memoire_max = *octets;
  }
  port.fixer_journal(&s.journal);
  if (!lire_presse_papier_fichier(port, o.presse_papier)) return 2;
  supprimer_temporaires_orphelins(s.repertoire_programme());
  if (!charger_description(s, o.dsc, o.donnees)) return 2;
  if (!repertoire_donnees_lisible(s)) return 2;
  Description& d = s.description;
  if (!o.sortie.empty()) d.dossier_choisi_sortie = avec_barre_finale(absolu(o.sortie));
  if (!repertoire_existe(d.dossier_choisi_sortie)) {
    std::error_code ec;
    std::filesystem::create_directories(d.dossier_choisi_sortie, ec);
    if (ec) return erreur("répertoire de sortie impossible à créer : " + d.dossier_choisi_sortie);
  }

  if (const int code = fixer_periode(s, o); code != kSucces) return code;
  s.decalage_jours = o.decalage_jours;

  if (!lister_fichiers_donnees(s)) return rien_ecrit("le listage des fichiers a échoué");
  if (s.table.nb_fichiers() == 0)
    return erreur("aucun fichier ne correspond au masque " + d.masque + " dans " + d.dossier_choisi,
                  kEchec);
  const IssueListe l = generer_liste_horodatee(s);
  if (l != IssueListe::creee) return rien_ecrit("la liste horodatée n'a pas pu être créée");
  intercepter_signaux_arret();
  port.fixer_arret(&g_arret);
  return traiter_et_dire(s);
}

int commande_list(const std::string& dsc, const std::string& donnees, const std::string& sep) {
  InteractionLot port(std::cerr);
  OptionsSession opts;
  opts.separateur_decimal = sep.empty() ? separateur_du_systeme() : sep[0];
  Session s(port, opts);
  port.fixer_journal(&s.journal);
  if (!charger_description(s, dsc, donnees)) return 2;
  if (!repertoire_donnees_lisible(s)) return 2;
  const bool ok = lister_fichiers_donnees(s);
  if (s.table.nb_fichiers() == 0)
    return erreur("aucun fichier ne correspond au masque " + s.description.masque + " dans " +
                      s.description.dossier_choisi,
                  1);
  for (int r = 0; r < s.table.nb_lignes(); ++r) {
    for (int c = 0; c < s.table.nb_colonnes(); ++c)
      std::cout << (c ? "\t" : "") << nom_lisible(s.table.cellule(c, r));
    std::cout << "\n";
  }
  return ok ? 0 : 1;
}

int commande_inspect(const std::string& echantillon, const std::string& dsc,
                     const std::string& sortie, bool expliquer) {
  InteractionLot port(std::cerr, PolitiqueLot::accepter);
  OptionsSession opts;
  opts.separateur_decimal = separateur_du_systeme();
  Session s(port, opts);
  port.fixer_journal(&s.journal);
  if (const std::string defaut = defaut_de_fichier(echantillon); !defaut.empty())
    return erreur("fichier exemple " + defaut + " : " + echantillon);
  if (!dsc.empty()) {
    if (!charger_description(s, dsc)) return 2;
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
  if (!ecrire_description(s)) return erreur("description impossible à écrire : " + cible, 1);
  std::cout << s.chemin_dsc() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tamso-cli : séries temporelles régulières à partir de fichiers d'enregistreurs"};
  app.footer(kPolitique);
  app.require_subcommand(1);

  OptionsRun o;
  auto* run = app.add_subcommand("run",
                                 "liste, crée la liste horodatée, traite, écrit les "
                                 "résultats et le fichier de suivi");
  run->add_option("DESCRIPTION", o.dsc, "fichier de description (.dsc)")->required();
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
  run->add_option("--threads", o.fils,
                  "fils de lecture d'un fichier (0 = un par cœur, 1 = un seul) ; le résultat "
                  "ne dépend pas du nombre de fils")
      ->check(CLI::Range(0, 64));
  run->add_flag("--reference", o.reference,
                "lit chaque ligne pas à pas, sans la lecture rapide (contrôle, même résultat)");
  run->add_option("--max-memory", o.memoire_max,
                  "mémoire que le traitement peut prendre (800M, 12G ...) ; sinon la mémoire "
                  "disponible : au-delà, le traitement est refusé avec son estimation");
  run->add_option("--clipboard-file", o.presse_papier,
                  "texte tenant lieu de presse-papier (description au masque \"ppp\")");

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

  CLI11_PARSE(app, argc, argv);
  try {
    if (*run) return commande_run(o);
    if (*list) return commande_list(dsc_list, donnees_list, sep_list);
    if (*inspect) return commande_inspect(echantillon, dsc_inspect, ecrire, expliquer);
  } catch (const std::bad_alloc&) {
    // What was built is freed on the way here; the results written, if any,
    // were complete (a results file only takes its name once written).
    return erreur(
        "mémoire insuffisante : le traitement a demandé plus de mémoire que l'ordinateur n'en a "
        "(réduire la période, allonger le pas, extraire moins de colonnes)",
        kEchec);
  }
  return 2;
}
