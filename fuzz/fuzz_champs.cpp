// libFuzzer target: a line cut once (ChampsLigne) gives every field exactly
// as the field reader gives it, for every separator and leading-separator
// rule; quotations of the line stay bounded and never split a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/quotation.h"
#include "input/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
  if (taille < 1) return 0;
  static const char kSeparateurs[] = {';', ',', '\t', ' '};
  const char separateur = kSeparateurs[donnees[0] % 4];
  const auto initial =
      (donnees[0] & 4) ? tamso::SeparateurInitial::champ_vide : tamso::SeparateurInitial::ignore;
  const std::string_view ligne(reinterpret_cast<const char*>(donnees) + 1, taille - 1);
  const tamso::ChampsLigne champs(ligne, separateur, initial);
  for (int n = 0; n <= champs.nombre() + 1; ++n)
    if (champs(n) != tamso::champ(ligne, n, separateur, initial)) std::abort();
  const std::string c = tamso::citation(ligne, 16);
  if (ligne.size() <= 16 ? c != ligne : c.compare(0, 13, ligne.substr(0, 13)) != 0) std::abort();
  const std::string b = tamso::lignes_bornees(ligne, 16);
  if (b.size() > ligne.size() + 64 * (1 + ligne.size() / 16)) std::abort();
  return 0;
}
