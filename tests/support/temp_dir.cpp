#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tamso::test {

DossierTemporaire::DossierTemporaire() {
  static std::atomic<int> compteur{0};
  const fs::path p = fs::temp_directory_path() / ("tamso-test-" + std::to_string(::getpid()) + "-" +
                                                  std::to_string(compteur++));
  fs::remove_all(p);
  fs::create_directories(p);
  chemin_ = p.string() + "/";
}

DossierTemporaire::~DossierTemporaire() {
  std::error_code ec;
  fs::remove_all(chemin_, ec);
}

std::string DossierTemporaire::sous_dossier(const std::string& nom) const {
  fs::create_directories(chemin_ + nom);
  std::string r = chemin_ + nom;
  if (r.back() != '/') r += '/';
  return r;
}

std::string DossierTemporaire::ecrire(const std::string& nom, const std::string& octets) const {
  const std::string chemin = chemin_ + nom;
  fs::create_directories(fs::path(chemin).parent_path());
  std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
  f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
  return chemin;
}

std::string DossierTemporaire::lire(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void AvecDossier::SetUp() {
  dossier_ = new DossierTemporaire();
  programme_ = dossier_->sous_dossier("programme");
  ::setenv("TAMSO_HOME", programme_.c_str(), 1);
}

void AvecDossier::TearDown() {
  delete dossier_;
  dossier_ = nullptr;
}

std::string crlf(const std::vector<std::string>& lignes) {
  std::string r;
  for (const auto& l : lignes) r += l + "\r\n";
  return r;
}

}  // namespace tamso::test
