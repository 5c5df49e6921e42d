// A fresh temporary folder per test, removed afterwards; TAMSO_HOME points
// into it so that nothing touches the user's own program directory.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tamso::test {

class DossierTemporaire {
 public:
  DossierTemporaire();
  ~DossierTemporaire();
  DossierTemporaire(const DossierTemporaire&) = delete;
  DossierTemporaire& operator=(const DossierTemporaire&) = delete;

  // The folder, with a final separator.
  const std::string& chemin() const { return chemin_; }
  // Creates a sub-folder (and its parents); returns it with a final separator.
  std::string sous_dossier(const std::string& nom) const;
  // Writes raw bytes to a file below the folder; returns its path.
  std::string ecrire(const std::string& nom, const std::string& octets) const;
  // Reads a file's raw bytes.
  static std::string lire(const std::string& chemin);

 private:
  std::string chemin_;
};

// A test fixture with a temporary folder that is also the program directory.
class AvecDossier : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  DossierTemporaire* dossier_ = nullptr;
  std::string programme_;  // program directory (TAMSO_HOME), with a final separator
};

// Joins lines with CR LF after each, as the program writes them.
std::string crlf(const std::vector<std::string>& lignes);

}  // namespace tamso::test
