// Runs the batch program as a user would, from a shell, with its program
// directory inside a test folder and its standard error kept in a file.
#pragma once

#include <array>
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tamso::test {

struct Sortie {
  int code = -1;        // exit status; -1 when the program did not exit normally
  std::string sortie;   // standard output
  std::string erreurs;  // standard error
};

// Runs tamso-cli with the given arguments (already quoted for the shell).
// With a positive delai_s the program is stopped after that many seconds
// (exit status 124), so that a run that would never end fails the test.
// `avant` is shell text run first in the same shell ("ulimit -v …; ").
inline Sortie lancer(const DossierTemporaire& d, const std::string& arguments, int delai_s = 0,
                     const std::string& avant = {}) {
  const std::string fichier_erreurs = d.chemin() + "erreurs.txt";
  const std::string limite = delai_s > 0 ? "timeout " + std::to_string(delai_s) + " " : "";
  const std::string commande = avant + "TAMSO_HOME='" + d.chemin() + "programme' " + limite +
                               "'" TAMSO_CLI "' " + arguments + " 2>'" + fichier_erreurs +
                               "' </dev/null";
  Sortie r;
  FILE* f = popen(commande.c_str(), "r");
  if (!f) return r;
  std::array<char, 4096> tampon{};
  std::size_t n = 0;
  while ((n = fread(tampon.data(), 1, tampon.size(), f)) > 0) r.sortie.append(tampon.data(), n);
  const int statut = pclose(f);
  r.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
  r.erreurs = DossierTemporaire::lire(fichier_erreurs);
  return r;
}

// Runs tamso-cli as `lancer` does, started with the interrupt signal blocked
// and sent to it at once: the program takes the stop as soon as it listens
// for one, whatever the timing.
inline Sortie lancer_interrompu(const DossierTemporaire& d, const std::string& arguments) {
  const std::string sortie = d.chemin() + "sortie.txt", erreurs = d.chemin() + "erreurs.txt";
  const std::string commande = "exec env TAMSO_HOME='" + d.chemin() +
                               "programme' '" TAMSO_CLI "' " + arguments + " >'" + sortie +
                               "' 2>'" + erreurs + "' </dev/null";
  posix_spawnattr_t attributs;
  posix_spawnattr_init(&attributs);
  sigset_t bloques;
  sigemptyset(&bloques);
  sigaddset(&bloques, SIGINT);
  posix_spawnattr_setsigmask(&attributs, &bloques);
  posix_spawnattr_setflags(&attributs, POSIX_SPAWN_SETSIGMASK);
  std::string sh = "/bin/sh", c = "-c";
  char* argv[] = {sh.data(), c.data(), const_cast<char*>(commande.c_str()), nullptr};
  Sortie r;
  pid_t pid = 0;
  const int e = posix_spawn(&pid, "/bin/sh", nullptr, &attributs, argv, environ);
  posix_spawnattr_destroy(&attributs);
  if (e != 0) return r;
  ::kill(pid, SIGINT);
  int statut = 0;
  ::waitpid(pid, &statut, 0);
  r.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
  r.sortie = DossierTemporaire::lire(sortie);
  r.erreurs = DossierTemporaire::lire(erreurs);
  return r;
}

// A test folder holding the program directory and an output folder.
class AvecCli : public ::testing::Test {
 protected:
  // What the last run wrote on standard error.
  std::string erreurs() const { return DossierTemporaire::lire(d_.chemin() + "erreurs.txt"); }
  DossierTemporaire d_;
  std::string sortie_ = d_.sous_dossier("sortie");
};

// A path quoted for the shell.
inline std::string q(const std::string& chemin) {
  return "'" + chemin + "'";
}

inline const std::string kDonneesE2e = TAMSO_DONNEES_TEST "e2e/";

}  // namespace tamso::test
