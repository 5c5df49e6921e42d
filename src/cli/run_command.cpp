#include "cli/run_command.h"

#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>

#include "app/listing.h"
#include "app/run.h"
#include "app/run_summary.h"
#include "app/save.h"
#include "app/session.h"
#include "app/timestamp_commands.h"
#include "base/memory.h"
#include "cli/batch_interaction.h"
#include "cli/cli_helpers.h"
#include "cli/exit_status.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/files.h"
#include "processing/period.h"
#include "results/results_writer.h"

namespace tamso {

namespace {

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

// One run on its session: each way it can end says why on standard error
// and in `message`.
class Run {
 public:
  Run(Session& s, InteractionLot& port, const OptionsRun& o) : s_(s), port_(port), o_(o) {}

  int executer(const std::string& dsc);
  const std::string& message() const { return message_; }
  bool periode_fixee() const { return periode_fixee_; }
  // Seconds spent listing, building the timestamp list, processing and saving.
  const std::array<double, 3>& durees() const { return durees_; }

 private:
  int echouer(const std::string& message, int code) {
    message_ = message;
    return erreur(message, code);
  }
  // Nothing was written: the cause, or the stop that ended the run first.
  int rien_ecrit(const std::string& message, int code = kEchec) {
    if (g_arret)
      return echouer("traitement arrêté avant l'écriture des résultats : rien n'est écrit",
                     kArrete);
    return echouer(message, code);
  }
  bool lire_presse_papier_fichier();
  int fixer_periode();
  int traiter_et_dire();

  Session& s_;
  InteractionLot& port_;
  const OptionsRun& o_;
  std::string message_;
  bool periode_fixee_ = false;
  std::array<double, 3> durees_{};
};

// Times a stage into its place of the durations.
class Chronometre {
 public:
  explicit Chronometre(double& duree) : duree_(duree), debut_(std::chrono::steady_clock::now()) {}
  ~Chronometre() {
    duree_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut_).count();
  }
  Chronometre(const Chronometre&) = delete;
  Chronometre& operator=(const Chronometre&) = delete;

 private:
  double& duree_;
  std::chrono::steady_clock::time_point debut_;
};

// The text of a file standing for the clipboard: UTF-8 when it is, else Windows-1252.
bool Run::lire_presse_papier_fichier() {
  const std::string& fichier = o_.presse_papier;
  if (fichier.empty()) return true;
  // A pipe would be read until its writer closes it: only plain files.
  if (const std::string defaut = defaut_de_fichier(fichier); !defaut.empty()) {
    echouer("fichier du presse-papier " + defaut + " : " + fichier, kUsage);
    return false;
  }
  std::ifstream f(fichier, std::ios::binary);
  if (!f) {
    echouer("fichier du presse-papier illisible : " + fichier, kUsage);
    return false;
  }
  const std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const bool utf8 = cp1252_vers_utf8(utf8_vers_cp1252(octets)) == octets;
  port_.fixer_presse_papier(utf8 ? octets : cp1252_vers_utf8(octets));
  return true;
}

// The period: the options, else the description's last run. kSucces, or
// the status of a bound or step that does not read.
int Run::fixer_periode() {
  const Description& d = s_.description;
  Periode& p = s_.periode;
  const std::string debut = o_.debut.empty() ? d.min_dsc : o_.debut;
  const std::string fin = o_.fin.empty() ? d.max_dsc : o_.fin;
  const auto v_debut = texte_en_date(debut, nullptr, s_.journal);
  const auto v_fin = texte_en_date(fin, nullptr, s_.journal);
  // A time alone reads as that time on 30/12/1899: a bound needs its date.
  if (!v_debut) return echouer("début de période illisible : <" + debut + "> (--from)", kUsage);
  if (*v_debut < 1.0)
    return echouer("début de période sans date : <" + debut + "> (--from \"jj/mm/aaaa hh:mm:ss\")",
                   kUsage);
  if (!v_fin) return echouer("fin de période illisible : <" + fin + "> (--to)", kUsage);
  if (*v_fin < 1.0)
    return echouer("fin de période sans date : <" + fin + "> (--to \"jj/mm/aaaa hh:mm:ss\")",
                   kUsage);
  if (*v_fin <= *v_debut)
    return echouer(
        "la fin de période <" + fin + "> n'est pas après son début <" + debut + "> (--from, --to)",
        kUsage);
  fixer_debut(p, *v_debut);
  fixer_fin(p, *v_fin);
  p.test_date = o_.test == "lt" ? TestDate::inf_strict : TestDate::inf_ou_egal;
  if (o_.jours > 0 || o_.mois > 0 || o_.annees > 0) {
    p.unite = o_.jours > 0 ? UnitePas::jour : o_.mois > 0 ? UnitePas::mois : UnitePas::annee;
    p.nb_pas = o_.jours > 0 ? o_.jours : o_.mois > 0 ? o_.mois : o_.annees;
  } else {
    const std::string pas = o_.pas.empty() ? d.pas_dsc : o_.pas;
    const auto v = lire_date_heure(pas);
    if (!v || pas.size() != 8 || *v <= 0.0)
      return echouer("pas de temps illisible : <" + pas +
                         "> (--step hh:mm:ss, de 00:00:01 à 23:59:59 ; un pas d'un jour ou plus "
                         ": --days N, --months N, --years N)",
                     kUsage);
    p.unite = UnitePas::heure;
    p.pas = *v;
  }
  periode_fixee_ = true;
  return kSucces;
}

// The run and its exit status: what the results written hold, or why none
// were written.
int Run::traiter_et_dire() {
  switch (traiter_run(s_)) {
    case IssueTraitement::enregistre:
      std::cout << s_.resultats.chemin_resultats << "\n" << s_.resultats.chemin_suivi << "\n";
      switch (bilan_traitement(vue_traitement(s_))) {
        case BilanTraitement::complet:
          return kSucces;
        case BilanTraitement::arrete:
          return kArrete;
        case BilanTraitement::sans_donnees:
          return kSansDonnees;
        case BilanTraitement::incomplet:
          return kEntree;
      }
      return kSucces;
    case IssueTraitement::refuse:
      return rien_ecrit("traitement refusé");
    case IssueTraitement::abandonne:
      return rien_ecrit("traitement abandonné : rien n'est écrit");
    case IssueTraitement::echec:
      return rien_ecrit("le traitement a échoué : un fichier de données n'a pas pu être lu",
                        kEntree);
    case IssueTraitement::echec_ecriture:
      // The results in place, their tracking file not: their path is given.
      if (!s_.resultats.chemin_resultats.empty() && fichier_existe(s_.resultats.chemin_resultats)) {
        std::cout << s_.resultats.chemin_resultats << "\n";
        return echouer(
            "résultats écrits sans leur fichier de suivi : " + s_.resultats.chemin_resultats,
            kEcritureImpossible);
      }
      return rien_ecrit("les résultats n'ont pas pu être écrits", kEcritureImpossible);
  }
  return rien_ecrit("le traitement a échoué");
}

int Run::executer(const std::string& dsc) {
  s_.lecture.fils = o_.fils;
  s_.lecture.reference = o_.reference;
  if (!o_.memoire_max.empty()) {
    const auto octets = lire_taille_memoire(o_.memoire_max);
    if (!octets)
      return echouer(
          "taille de mémoire illisible : <" + o_.memoire_max + "> (--max-memory 800M, 12G ...)",
          kUsage);
    s_.lecture.memoire_max = *octets;
  }
  if (!lire_presse_papier_fichier()) return kUsage;
  if (const std::string m = charger_description(s_, dsc, o_.donnees); !m.empty())
    return echouer(m, kUsage);
  if (const std::string m = defaut_repertoire_donnees(s_); !m.empty()) return echouer(m, kEntree);
  Description& d = s_.description;
  if (!o_.sortie.empty()) d.dossier_choisi_sortie = avec_barre_finale(absolu(o_.sortie));
  if (!repertoire_existe(d.dossier_choisi_sortie)) {
    std::error_code ec;
    std::filesystem::create_directories(d.dossier_choisi_sortie, ec);
    if (ec)
      return echouer("répertoire de sortie impossible à créer : " + d.dossier_choisi_sortie + " (" +
                         raison_erreur_systeme(ec.value()) + ")",
                     kEcritureImpossible);
  }

  if (const int code = fixer_periode(); code != kSucces) return code;
  s_.decalage_jours = o_.decalage_jours;

  bool liste = false;
  {
    const Chronometre c(durees_[0]);
    liste = lister_fichiers_donnees(s_);
  }
  if (!liste) {
    if (s_.source == SourceDonnees::repertoire && s_.nb_fichiers == 0 && !g_arret)
      return echouer(
          "aucun fichier ne correspond au masque " + d.masque + " dans " + d.dossier_choisi,
          kEntree);
    return rien_ecrit("le listage des fichiers a échoué");
  }
  if (s_.table.nb_fichiers() == 0)
    return echouer(
        "aucun fichier ne correspond au masque " + d.masque + " dans " + d.dossier_choisi, kEntree);
  IssueListe l = IssueListe::creee;
  {
    const Chronometre c(durees_[1]);
    l = generer_liste_horodatee(s_);
  }
  if (l != IssueListe::creee) return rien_ecrit("la liste horodatée n'a pas pu être créée");
  intercepter_signaux_arret();
  port_.fixer_arret(&g_arret);
  const Chronometre c(durees_[2]);
  return traiter_et_dire();
}

}  // namespace

int executer_run(const std::string& dsc, const OptionsRun& o, BilanRun& bilan) {
  bilan = BilanRun{};
  bilan.description = absolu(dsc);
  InteractionLot port(std::cerr);
  OptionsSession opts;
  opts.separateur_decimal = o.separateur.empty() ? separateur_du_systeme() : o.separateur[0];
  const DossierTemporaireLot temporaires(opts);
  int code = kEchec;
  bool faits = false;
  std::string message;
  try {
    Session s(port, opts);
    port.fixer_journal(&s.journal);
    Run run(s, port, o);
    code = run.executer(dsc);
    message = run.message();
    if (run.periode_fixee()) {
      remplir_bilan(s, bilan);
      faits = true;
    }
    // Measured here to the microsecond (the session counts whole seconds).
    bilan.durees = run.durees();
    bilan.resultats = s.resultats.chemin_resultats;
    bilan.suivi = s.resultats.chemin_suivi;
    port.fixer_journal(nullptr);
  } catch (const std::bad_alloc&) {
    // What was built is freed on the way here; the results written, if any,
    // were complete (a results file only takes its name once written).
    message =
        "mémoire insuffisante : le traitement a demandé plus de mémoire que l'ordinateur n'en a "
        "(réduire la période, allonger le pas, extraire moins de colonnes)";
    code = erreur(message, kEchec);
  }
  if (!faits) bilan.fichiers.clear();
  bilan.statut = code;
  bilan.etat = nom_code_sortie(code);
  bilan.message = message;
  for (const auto& q : port.questions()) bilan.questions.push_back({q.question, q.reponse});
  bilan.messages = port.messages();
  return code;
}

bool ecrire_bilan_json(const std::string& chemin, const std::string& document) {
  FichierEnAttente f;
  if (f.ecrire_octets(chemin, document) && f.mettre_en_place()) return true;
  erreur("bilan impossible à écrire : " + chemin + " (" + f.raison() + ")", kEcritureImpossible);
  return false;
}

int commande_run(const std::string& dsc, const OptionsRun& o) {
  BilanRun bilan;
  int code = executer_run(dsc, o, bilan);
  if (!o.bilan_json.empty() &&
      !ecrire_bilan_json(absolu(o.bilan_json), document_bilans({bilan_en_json(bilan)}, code)) &&
      code == kSucces)
    code = kEcritureImpossible;
  return code;
}

}  // namespace tamso
