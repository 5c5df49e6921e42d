#include "base/tracking_log.h"

#include "base/quotation.h"

namespace tamso {

void JournalSuivi::ajouter_ligne_suivi(const std::string& ligne) {
  // A line of data quoted whole would make the log (and the tracking file)
  // as big as the data: each line of the log keeps its beginning only.
  const std::string bornee =
      ligne.size() > kLongueurLigneJournal ? lignes_bornees(ligne, kLongueurLigneJournal) : ligne;
  if (lignes_.size() >= 2 && lignes_.back() == bornee) return;
  lignes_.push_back(bornee);
}

}  // namespace tamso
