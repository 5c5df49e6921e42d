// Runs the batch program as a user would, from a shell, with its program
// directory inside a test folder and its standard error kept in a file.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include <sys/wait.h>

#include "support/temp_dir.h"

namespace tamso::test {

struct Sortie {
  int code = -1;     // exit status; -1 when the program did not exit normally
  std::string sortie;  // standard output
  std::string erreurs;  // standard error
};

// Runs tamso-cli with the given arguments (already quoted for the shell).
// With a positive delai_s the program is stopped after that many seconds
// (exit status 124), so that a run that would never end fails the test.
inline Sortie lancer(const DossierTemporaire& d, const std::string& arguments, int delai_s = 0) {
  const std::string fichier_erreurs = d.chemin() + "erreurs.txt";
  const std::string limite = delai_s > 0 ? "timeout " + std::to_string(delai_s) + " " : "";
  const std::string commande = "TAMSO_HOME='" + d.chemin() + "programme' " + limite +
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

// A path quoted for the shell.
inline std::string q(const std::string& chemin) { return "'" + chemin + "'"; }

inline const std::string kDonneesE2e = TAMSO_DONNEES_TEST "e2e/";

}  // namespace tamso::test
