#include "base/tracking_log.h"

namespace tamso {

void JournalSuivi::ajouter_ligne_suivi(const std::string& ligne) {
  if (lignes_.size() >= 2 && lignes_.back() == ligne) return;
  lignes_.push_back(ligne);
}

}  // namespace tamso
