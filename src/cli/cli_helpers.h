// What the batch program's commands share: the computer's decimal
// separator, error lines, paths and the reading of a description.
#pragma once

#include <string>

namespace tamso {

class Session;
struct OptionsSession;

// The temporaries of one batch command: what killed runs left in the
// program directory is removed first, then the command gets a folder of its
// own there ("~lot_<pid>"), which no other run writes in, removed with its
// content when the command ends. The options' program and temporary
// directories are set.
class DossierTemporaireLot {
 public:
  explicit DossierTemporaireLot(OptionsSession& options);
  ~DossierTemporaireLot();
  DossierTemporaireLot(const DossierTemporaireLot&) = delete;
  DossierTemporaireLot& operator=(const DossierTemporaireLot&) = delete;

 private:
  std::string chemin_;
};

// The computer's decimal separator, from the locale; numbers are then read
// and written by the program itself, whatever the locale.
char separateur_du_systeme();

// "tamso-cli: <message>" on standard error; returns the code.
int erreur(const std::string& message, int code);

// The path made absolute and normal; as it is when it cannot be.
std::string absolu(const std::string& chemin);

// Reads a description file into the session. A data folder given on the
// command line replaces the file's own before any data file is counted, so
// the file's folder is never searched. Empty, or what went wrong.
std::string charger_description(Session& s, const std::string& dsc,
                                const std::string& donnees = {});

// Empty when the data directory of a description reading a folder exists;
// else the message.
std::string defaut_repertoire_donnees(const Session& s);

}  // namespace tamso
