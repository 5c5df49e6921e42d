// libFuzzer target of the workbook conversion: the input is written as a
// workbook file and its first sheet converted. Whatever the bytes, the
// conversion ends with a text or a failure, and never leaves a text behind
// on a failure nor a temporary file at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "input/workbook.h"

namespace {

namespace fs = std::filesystem;

const fs::path& dossier() {
  static const fs::path d = [] {
    const char* base = std::getenv("TAMSO_FUZZ_DOSSIER");
    fs::path p = fs::path(base ? base : "/tmp") / ("tamso-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(p);
    return p;
  }();
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
  const std::string classeur = (dossier() / "classeur").string();
  const fs::path sortie = dossier() / "sortie";
  fs::create_directories(sortie);
  {
    std::FILE* f = std::fopen(classeur.c_str(), "wb");
    if (!f) std::abort();
    if (taille > 0 && std::fwrite(donnees, 1, taille, f) != taille) std::abort();
    std::fclose(f);
  }
  const std::string destination = (sortie / "~tmp_xls.csv").string();
  tamso::LimitesClasseur limites;
  limites.octets_texte = 64u << 20;  // keeps each run short
  limites.octets_texte_garantis = 16u << 20;
  for (int numero : {1, 2}) {
    const tamso::ResultatConversion r =
        tamso::convertir_feuille_classeur(classeur, numero, destination, limites);
    const bool texte = fs::exists(destination);
    if (r.erreur || r.feuille_vide) {
      if (texte) std::abort();  // a failure leaves no text
      (void)tamso::message_echec_classeur(r, classeur, numero);
    } else if (!texte || fs::file_size(destination) != r.taille) {
      std::abort();
    }
    fs::remove(destination);
    if (!fs::is_empty(sortie)) std::abort();  // a temporary text left behind
  }
  return 0;
}
