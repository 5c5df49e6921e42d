#include "base/quotation.h"

namespace tamso {

namespace {

std::string milliers(std::size_t n) {
  std::string chiffres = std::to_string(n), r;
  for (std::size_t i = 0; i < chiffres.size(); ++i) {
    if (i > 0 && (chiffres.size() - i) % 3 == 0) r.push_back(' ');
    r.push_back(chiffres[i]);
  }
  return r;
}

}  // namespace

std::string citation(std::string_view texte, std::size_t longueur) {
  if (texte.size() <= longueur) return std::string(texte);
  std::size_t fin = longueur;
  // Back to the start of a UTF-8 character (continuation bytes are 10xxxxxx).
  while (fin > 0 && (static_cast<unsigned char>(texte[fin]) & 0xC0) == 0x80 && longueur - fin < 3)
    --fin;
  return std::string(texte.substr(0, fin)) + " [...] (" + milliers(texte.size()) + " caractères)";
}

std::string lignes_bornees(std::string_view texte, std::size_t longueur) {
  if (texte.size() <= longueur) return std::string(texte);
  std::string r;
  r.reserve(std::min(texte.size(), longueur * 8));
  std::size_t debut = 0;
  while (true) {
    const std::size_t fin = texte.find('\n', debut);
    const std::string_view ligne =
        texte.substr(debut, fin == std::string_view::npos ? std::string_view::npos : fin - debut);
    r += citation(ligne, longueur);
    if (fin == std::string_view::npos) break;
    r.push_back('\n');
    debut = fin + 1;
  }
  return r;
}

}  // namespace tamso
