#include "base/tracking_log.h"

#include <utility>

#include "base/quotation.h"

namespace tamso {

void JournalSuivi::ajouter_ligne_suivi(const std::string& ligne) {
  // A line of data quoted whole would make the log (and the tracking file)
  // as big as the data: each line of the log keeps its beginning only.
  if (ligne.size() > kLongueurLigneJournal) {
    std::string bornee = lignes_bornees(ligne, kLongueurLigneJournal);
    if (lignes_.size() >= 2 && lignes_.back() == bornee) return;
    lignes_.push_back(std::move(bornee));
    return;
  }
  if (lignes_.size() >= 2 && lignes_.back() == ligne) return;
  lignes_.push_back(ligne);
}

}  // namespace tamso
