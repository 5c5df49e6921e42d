#include "app/data_loading.h"

#include "app/session.h"
#include "description/data_source.h"
#include "input/loader.h"

namespace tamso {

bool charger_fichier_donnees(Session& s, const std::string& chemin, bool debut_et_fin) {
  return charger_fichier_donnees(
      s.fichier_charge, s.apercu, chemin,
      regles_chargement(s.description, s.source, s.repertoire_temporaire(), s.lecture.taille_bloc),
      debut_et_fin, s.port(), s.journal);
}

}  // namespace tamso
