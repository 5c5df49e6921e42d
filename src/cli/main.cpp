// tamso-cli: the batch program over the core.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/batch_interaction.h"
#include "core/session.h"
#include "description/dsc_file.h"
#include "input/files.h"

using namespace tamso;

namespace {

// Reads a description file and writes it back, normalised, to another file.
int commande_description(const std::string& dsc, const std::string& sortie) {
  InteractionLot port(std::cerr);
  Session session(port);
  port.fixer_journal(&session.journal);
  if (!fichier_existe(dsc)) {
    std::cerr << "tamso-cli: fichier de description introuvable : " << dsc << "\n";
    return 2;
  }
  session.description.dossier_description = avec_barre_finale(repertoire_de(dsc));
  session.nom_description = nom_de_fichier(dsc);
  if (!lire_description(session)) return 1;
  for (const auto& l : lignes_dsc(session.description)) std::cout << l << "\n";
  if (!sortie.empty()) {
    session.description.dossier_description = avec_barre_finale(repertoire_de(sortie));
    session.nom_description = nom_de_fichier(sortie);
    if (!ecrire_description(session)) return 1;
    std::cerr << "description écrite : " << session.chemin_dsc() << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Tamso en mode lot : séries temporelles régulières à partir de fichiers d'enregistreurs"};
  app.require_subcommand(1);

  std::string dsc, sortie;
  auto* desc = app.add_subcommand("description", "lit une description (.dsc) et l'affiche");
  desc->add_option("DESCRIPTION", dsc, "fichier de description")->required();
  desc->add_option("--write", sortie, "réécrit la description lue dans ce fichier");

  CLI11_PARSE(app, argc, argv);
  if (*desc) return commande_description(dsc, sortie);
  return 0;
}
