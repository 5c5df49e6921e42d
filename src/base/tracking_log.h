// The tracking log: the ordered lines of the "Fenêtre de suivi", copied whole
// into the tracking file at each save of results.
#pragma once

#include <string>
#include <vector>

namespace tamso {

class JournalSuivi {
 public:
  // Appends a line, except when the log already holds at least two lines and
  // its last line equals the new one. A line longer than
  // kLongueurLigneJournal keeps its beginning (see `citation`).
  void ajouter_ligne_suivi(const std::string& ligne);
  static constexpr std::size_t kLongueurLigneJournal = 2000;

  void vider() { lignes_.clear(); }
  const std::vector<std::string>& lignes() const { return lignes_; }
  std::size_t taille() const { return lignes_.size(); }
  bool vide() const { return lignes_.empty(); }
  const std::string& derniere() const { return lignes_.back(); }

 private:
  std::vector<std::string> lignes_;
};

}  // namespace tamso
