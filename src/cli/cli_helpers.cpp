#include "cli/cli_helpers.h"

#include <clocale>
#include <filesystem>
#include <iostream>

#include "app/description_files.h"
#include "app/session.h"
#include "description/data_source.h"
#include "input/files.h"

namespace tamso {

DossierTemporaireLot::DossierTemporaireLot(OptionsSession& options) {
  options.repertoire_programme = repertoire_programme();
  supprimer_temporaires_orphelins(options.repertoire_programme);
  chemin_ = creer_dossier_temporaire_processus(options.repertoire_programme);
  // Without a folder of its own the command keeps its temporaries in the
  // program directory, as the desktop program does.
  options.repertoire_temporaire = chemin_;
}

DossierTemporaireLot::~DossierTemporaireLot() {
  if (chemin_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(chemin_, ec);
}

char separateur_du_systeme() {
  std::setlocale(LC_ALL, "");
  const char* p = std::localeconv()->decimal_point;
  const char sep = p && *p ? *p : '.';
  std::setlocale(LC_ALL, "C");
  return sep;
}

int erreur(const std::string& message, int code) {
  std::cerr << "tamso-cli: " << message << "\n";
  return code;
}

std::string absolu(const std::string& chemin) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(chemin, ec);
  return ec ? chemin : p.lexically_normal().string();
}

std::string charger_description(Session& s, const std::string& dsc, const std::string& donnees) {
  if (const std::string defaut = defaut_de_fichier(dsc); !defaut.empty())
    return "fichier de description " + defaut + " : " + dsc;
  const std::string chemin = absolu(dsc);
  s.description.dossier_description = avec_barre_finale(repertoire_de(chemin));
  s.nom_description = nom_de_fichier(chemin);
  if (!lire_description(s, donnees.empty() ? std::string{} : absolu(donnees)))
    return "description illisible : " + dsc;
  // The file's own directory line cannot move the description away.
  s.description.dossier_description = avec_barre_finale(repertoire_de(chemin));
  s.nom_description = nom_de_fichier(chemin);
  return {};
}

std::string defaut_repertoire_donnees(const Session& s) {
  if (source_du_masque(s.description.masque) == SourceDonnees::repertoire &&
      !repertoire_existe(s.description.dossier_choisi))
    return "répertoire des données illisible : " + s.description.dossier_choisi;
  return {};
}

}  // namespace tamso
