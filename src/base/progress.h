// What a long stage of work reports to and polls: its progress text, the
// clock of its phase, and the stop request. The stages take it instead of
// the session, so that they do not depend on who shows the progress.
#pragma once

#include <chrono>
#include <string>

namespace tamso {

class Avancement {
 public:
  virtual ~Avancement() = default;
  // Starts the clock of a phase (1 listing, 2 timestamp list, 3 processing).
  virtual void demarrer_phase(int phase) = 0;
  // Progress text of a phase (0: none), shown at most as often as it changes.
  virtual void progression(const std::string& texte, int phase) = 0;
  // True once a stop was asked; it stays asked until cleared.
  virtual bool arret_demande() = 0;
  // A stage starts, or keeps what it read: the stop request is cleared.
  virtual void effacer_arret() = 0;
};

// Progress reports and stop tests of a long loop are made every few tens of
// milliseconds, never per line or per row: true once that time has passed
// since the last time it was true.
class Cadence {
 public:
  bool echue() {
    const auto t = std::chrono::steady_clock::now();
    if (t - dernier_ < std::chrono::milliseconds(40)) return false;
    dernier_ = t;
    return true;
  }

 private:
  std::chrono::steady_clock::time_point dernier_{};
};

}  // namespace tamso
