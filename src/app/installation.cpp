#include "app/installation.h"

#include <filesystem>

#include "input/files.h"

// Both come from the build: the project's version, and the path from the
// installed programs' folder to their shared data ("../share/tamso").
#ifndef TAMSO_VERSION
#error "TAMSO_VERSION is set by the build"
#endif
#ifndef TAMSO_FICHIERS_RELATIF
#error "TAMSO_FICHIERS_RELATIF is set by the build"
#endif

namespace tamso {

namespace fs = std::filesystem;

const char* version_tamso() {
  return TAMSO_VERSION;
}

std::string repertoire_executable() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return avec_barre_finale(exe.parent_path().string());
}

std::string repertoire_fichiers_programme(const std::string& repertoire_exe) {
  if (repertoire_exe.empty()) return {};
  const fs::path installe = (fs::path(repertoire_exe) / TAMSO_FICHIERS_RELATIF).lexically_normal();
  std::error_code ec;
  if (fs::is_directory(installe, ec)) return avec_barre_finale(installe.string());
  return avec_barre_finale(repertoire_exe);
}

std::string repertoire_exemples(const std::string& repertoire_fichiers) {
  return avec_barre_finale(repertoire_fichiers + "examples");
}

}  // namespace tamso
