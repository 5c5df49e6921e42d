#include "input/layout_detection.h"

#include <array>
#include <string>

#include "input/text.h"

namespace tamso {

namespace {

// The line without its quoted fields (a quote at the start of the line or
// after one of the four separators, up to its closing quote): the
// separators inside them are not counted.
std::string sans_champs_entre_guillemets(std::string_view ligne) {
  std::string r;
  r.reserve(ligne.size());
  bool debut_champ = true;
  for (std::size_t i = 0; i < ligne.size(); ++i) {
    const char c = ligne[i];
    if (c == '"' && debut_champ) {
      std::size_t k = i + 1;
      while (k < ligne.size() && (ligne[k] != '"' || (k + 1 < ligne.size() && ligne[k + 1] == '"')))
        k += ligne[k] == '"' ? 2U : 1U;
      i = k;
      debut_champ = false;
      continue;
    }
    r.push_back(c);
    debut_champ = c == '\t' || c == ' ' || c == ';' || c == ',';
  }
  return r;
}

}  // namespace

DetectionSeparateur detecter_separateur(std::string_view ligne_lue) {
  DetectionSeparateur d;
  const std::string ligne = sans_champs_entre_guillemets(ligne_lue);
  d.tabulations = compter_caractere('\t', ligne);
  d.espaces = compter_caractere(' ', ligne);
  d.points_virgules = compter_caractere(';', ligne);
  d.virgules = compter_caractere(',', ligne);
  const std::array<int, 4> n = {d.tabulations, d.espaces, d.points_virgules, d.virgules};
  for (int i = 0; i < 4; ++i) {
    bool plus_grand = true;
    for (int k = 0; k < 4; ++k)
      if (k != i && n[static_cast<std::size_t>(k)] >= n[static_cast<std::size_t>(i)])
        plus_grand = false;
    if (plus_grand) d.detecte = i;
  }
  if (d.detecte == 1 && d.points_virgules >= 4 && d.tabulations > d.virgules) d.detecte = 2;
  return d;
}

}  // namespace tamso
