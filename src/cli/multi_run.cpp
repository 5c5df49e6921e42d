#include "cli/multi_run.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "app/run_summary.h"
#include "app/save.h"
#include "app/session.h"
#include "cli/batch_interaction.h"
#include "cli/cli_helpers.h"
#include "cli/exit_status.h"
#include "cli/run_command.h"
#include "input/files.h"

namespace tamso {

namespace fs = std::filesystem;

namespace {

// The runs going on, by pid (0: a free place), read by the signal handler.
constexpr std::size_t kTravauxMax = 64;
volatile std::sig_atomic_t g_enfants[kTravauxMax] = {};
volatile std::sig_atomic_t g_arret_lot = 0;

// An interrupt or termination signal goes on to every run going on, which
// takes it as it would alone (the first stops its reading and writes what
// was read, the second ends it at once); no run starts after it. The runs
// have process groups of their own, so that a Ctrl-C typed at the terminal
// reaches each of them once, through here.
extern "C" void sur_signal_lot(int signal) {
  g_arret_lot = 1;
  for (std::size_t i = 0; i < kTravauxMax; ++i)
    if (g_enfants[i] > 0) ::kill(static_cast<pid_t>(g_enfants[i]), signal);
}

class SignauxBloques {
 public:
  SignauxBloques() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    sigaddset(&s, SIGHUP);
    sigprocmask(SIG_BLOCK, &s, &avant_);
  }
  ~SignauxBloques() { sigprocmask(SIG_SETMASK, &avant_, nullptr); }
  SignauxBloques(const SignauxBloques&) = delete;
  SignauxBloques& operator=(const SignauxBloques&) = delete;

 private:
  sigset_t avant_;
};

// What the parent learns of a run: its status and the facts of its summary
// line, from a file the run writes before it ends.
struct Faits {
  int statut = kEchec;
  long long fichiers = 0, lignes_extraites = 0, lignes_resultats = 0;
  std::string resultats;
};

void ecrire_faits(const std::string& chemin, const BilanRun& b) {
  std::ofstream f(chemin, std::ios::binary);
  f << b.statut << "\n"
    << b.fichiers.size() << "\n"
    << b.lignes_extraites << "\n"
    << b.lignes_resultats << "\n"
    << b.resultats;
}

std::optional<Faits> lire_faits(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  Faits r;
  if (!(f >> r.statut >> r.fichiers >> r.lignes_extraites >> r.lignes_resultats)) return {};
  f.get();  // the line feed after the counts; the path takes the rest
  r.resultats.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return r;
}

std::string lire_tout(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

struct Tache {
  std::string dsc;
  pid_t pid = 0;
  std::size_t place = 0;
  bool lancee = false, finie = false;
  Faits faits;
  std::string json;  // the run's object of the summary document
};

// The folder where the runs leave their standard error, facts and summary
// objects; removed at the end.
class DossierLot {
 public:
  DossierLot() {
    const char* tmp = std::getenv("TMPDIR");
    std::string modele = std::string(tmp && *tmp ? tmp : "/tmp") + "/tamso-lot-XXXXXX";
    if (::mkdtemp(modele.data())) chemin_ = modele + "/";
  }
  ~DossierLot() {
    if (chemin_.empty()) return;
    std::error_code ec;
    fs::remove_all(chemin_, ec);
  }
  DossierLot(const DossierLot&) = delete;
  DossierLot& operator=(const DossierLot&) = delete;
  const std::string& chemin() const { return chemin_; }

 private:
  std::string chemin_;
};

// In the new process: the run of one description, with the signals as a
// run alone has them, standard error into `erreurs`; it never returns.
[[noreturn]] void run_enfant(const std::string& dsc, const OptionsRun& o, const std::string& base) {
  ::setpgid(0, 0);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
  sigset_t s;
  sigemptyset(&s);
  sigprocmask(SIG_SETMASK, &s, nullptr);
  const int nul = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  const int err = ::open((base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (nul >= 0) {
    ::dup2(nul, STDIN_FILENO);
    ::dup2(nul, STDOUT_FILENO);
  }
  if (err >= 0) ::dup2(err, STDERR_FILENO);
  BilanRun bilan;
  const int code = executer_run(dsc, o, bilan);
  {
    std::ofstream json(base + ".json", std::ios::binary);
    json << bilan_en_json(bilan);
  }
  ecrire_faits(base + ".faits", bilan);
  std::cout.flush();
  std::cerr.flush();
  // Static objects are destroyed as at the end of a program: the converted
  // copies of data files go with them.
  std::exit(code);
}

// A run that ended without its facts (killed, crashed): what the parent says
// of it.
BilanRun bilan_sans_faits(const std::string& dsc, int statut, const std::string& message) {
  BilanRun b;
  b.description = absolu(dsc);
  b.statut = statut;
  b.etat = nom_code_sortie(statut);
  b.message = message;
  return b;
}

}  // namespace

std::vector<std::string> collisions_resultats(const std::vector<std::string>& descriptions,
                                              const OptionsRun& o) {
  std::ostringstream rien;
  rien.setstate(std::ios::badbit);
  std::map<std::string, std::string> cibles;
  std::vector<std::string> messages;
  for (const std::string& dsc : descriptions) {
    InteractionLot port(rien);
    Session s(port);
    if (!charger_description(s, dsc, o.donnees).empty()) continue;
    Description& d = s.description;
    if (!o.sortie.empty()) d.dossier_choisi_sortie = avec_barre_finale(absolu(o.sortie));
    const fs::path prevu = chemin_resultats_prevu(d);
    std::error_code ec;
    // One folder under two names (a link, "a/../b") is one folder.
    fs::path dossier = fs::weakly_canonical(absolu(prevu.parent_path().string()), ec);
    if (ec) dossier = prevu.parent_path().lexically_normal();
    const std::string cle = (dossier / prevu.filename()).string();
    const auto [it, nouveau] = cibles.emplace(cle, dsc);
    if (!nouveau)
      messages.push_back("les descriptions " + it->second + " et " + dsc +
                         " écriraient le même fichier de résultats : " + cle);
  }
  return messages;
}

int commande_run_lot(const std::vector<std::string>& descriptions, const OptionsRun& o, int travaux,
                     bool fils_donnes) {
  if (const auto collisions = collisions_resultats(descriptions, o); !collisions.empty()) {
    for (const std::string& m : collisions) erreur(m, kUsage);
    return erreur(
        "aucune description n'est traitée (--out, ou le nom du fichier de sortie de "
        "chaque description)",
        kUsage);
  }
  const DossierLot dossier;
  if (dossier.chemin().empty())
    return erreur("dossier temporaire impossible à créer (TMPDIR)", kEcritureImpossible);

  std::vector<Tache> taches;
  for (const std::string& dsc : descriptions) {
    Tache t;
    t.dsc = dsc;
    taches.push_back(std::move(t));
  }
  const std::size_t simultanes =
      std::min({static_cast<std::size_t>(std::max(travaux, 1)), kTravauxMax, taches.size()});
  OptionsRun options = o;
  options.bilan_json.clear();
  // Runs at once share the cores, unless --threads says how many each takes.
  if (!fils_donnes && simultanes > 1)
    options.fils = std::max(1, static_cast<int>(std::thread::hardware_concurrency() /
                                                static_cast<unsigned>(simultanes)));

  struct sigaction action {};
  action.sa_handler = sur_signal_lot;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  struct sigaction avant_int = {};
  struct sigaction avant_term = {};
  struct sigaction avant_hup = {};
  sigaction(SIGINT, &action, &avant_int);
  sigaction(SIGTERM, &action, &avant_term);
  // A hang-up (the terminal closed) reaches the runs too: each ends as a
  // run alone would.
  sigaction(SIGHUP, &action, &avant_hup);

  std::size_t suivante = 0, en_cours = 0;
  const auto base = [&](std::size_t k) { return dossier.chemin() + std::to_string(k); };
  const auto lancer = [&](std::size_t k) {
    Tache& t = taches[k];
    std::cout.flush();
    std::cerr.flush();
    const SignauxBloques bloques;
    const pid_t pid = ::fork();
    if (pid == 0) run_enfant(t.dsc, options, base(k));
    t.lancee = true;
    if (pid < 0) {
      t.finie = true;
      t.faits.statut = kEchec;
      t.json = bilan_en_json(
          bilan_sans_faits(t.dsc, kEchec, "processus impossible à créer pour cette description"));
      return;
    }
    t.pid = pid;
    for (std::size_t i = 0; i < kTravauxMax; ++i)
      if (g_enfants[i] == 0) {
        g_enfants[i] = pid;
        t.place = i;
        break;
      }
    ++en_cours;
  };
  const auto terminer = [&](Tache& t, std::size_t k, int statut_systeme) {
    {
      const SignauxBloques bloques;
      g_enfants[t.place] = 0;
    }
    --en_cours;
    t.finie = true;
    if (const auto faits = lire_faits(base(k) + ".faits"); faits && WIFEXITED(statut_systeme)) {
      t.faits = *faits;
      t.faits.statut = WEXITSTATUS(statut_systeme);
      t.json = lire_tout(base(k) + ".json");
    } else {
      const int recu = WIFSIGNALED(statut_systeme) ? WTERMSIG(statut_systeme) : 0;
      const bool arret = g_arret_lot && (recu == SIGINT || recu == SIGTERM || recu == SIGHUP);
      const std::string message = arret ? "arrêté : rien n'est écrit"
                                  : WIFSIGNALED(statut_systeme)
                                      ? "fin anormale du traitement (signal " +
                                            std::to_string(WTERMSIG(statut_systeme)) + ")"
                                      : "fin anormale du traitement (statut " +
                                            std::to_string(WEXITSTATUS(statut_systeme)) + ")";
      t.faits.statut = arret ? kArrete : kEchec;
      t.json = bilan_en_json(bilan_sans_faits(t.dsc, t.faits.statut, message));
      std::ofstream(base(k) + ".err", std::ios::app) << "tamso-cli: " << message << "\n";
    }
    // What the run said, under its name, as soon as it is over.
    std::cerr << "== " << nom_lisible(t.dsc) << " : statut " << t.faits.statut << " ("
              << nom_code_sortie(t.faits.statut) << ")\n"
              << lire_tout(base(k) + ".err");
    std::cerr.flush();
  };

  while (true) {
    while (en_cours < simultanes && suivante < taches.size() && !g_arret_lot) lancer(suivante++);
    if (en_cours == 0) break;
    int statut = 0;
    const pid_t pid = ::waitpid(-1, &statut, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (std::size_t k = 0; k < taches.size(); ++k)
      if (taches[k].pid == pid && !taches[k].finie) terminer(taches[k], k, statut);
  }
  sigaction(SIGINT, &avant_int, nullptr);
  sigaction(SIGTERM, &avant_term, nullptr);
  sigaction(SIGHUP, &avant_hup, nullptr);

  // Descriptions a stop kept from starting.
  for (Tache& t : taches)
    if (!t.lancee) {
      t.faits.statut = kArrete;
      t.json = bilan_en_json(bilan_sans_faits(t.dsc, kArrete, "non lancé : arrêt demandé"));
    }

  int code = kSucces;
  std::cout << "description\tfichiers\tlignes extraites\tlignes de résultats\trésultats\tstatut\n";
  std::vector<std::string> objets;
  for (const Tache& t : taches) {
    const Faits& f = t.faits;
    std::cout << nom_lisible(t.dsc) << "\t" << f.fichiers << "\t" << f.lignes_extraites << "\t"
              << f.lignes_resultats << "\t"
              << (f.resultats.empty() ? "-" : nom_lisible(f.resultats)) << "\t" << f.statut << " "
              << nom_code_sortie(f.statut) << "\n";
    if (code == kSucces) code = f.statut;
    objets.push_back(t.json);
  }
  std::cout.flush();
  if (!o.bilan_json.empty() &&
      !ecrire_bilan_json(absolu(o.bilan_json), document_bilans(objets, code)) && code == kSucces)
    code = kEcritureImpossible;
  return code;
}

}  // namespace tamso
