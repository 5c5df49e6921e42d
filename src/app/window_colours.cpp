#include "app/window_colours.h"

#include "app/program_files.h"
#include "app/session.h"
#include "input/text.h"

namespace tamso {

// ---------------------------------------------------------------- colours

const std::array<Couleur, 4>& couleurs_gris() {
  static const std::array<Couleur, 4> g = {Couleur{240, 240, 240}, Couleur{215, 215, 215},
                                           Couleur{230, 230, 230}, Couleur{220, 220, 220}};
  return g;
}

void appliquer_schema_couleurs(Session& s, int schema) {
  s.description.coul_nb = schema;
  if (schema == 0)
    lire_couleurs(s);
  else
    s.couleurs = couleurs_gris();
  s.description_modifiee = true;
}

void choisir_couleur(Session& s, int numero, const Couleur& c) {
  if (numero < 1 || numero > 4) return;
  s.couleurs[static_cast<std::size_t>(numero - 1)] = c;
  s.description_modifiee = true;
}

Couleur couleur_bvr(std::string_view hexa) {
  const auto octet = [&hexa](std::size_t i) {
    int v = 0;
    for (std::size_t k = i; k < i + 2 && k < hexa.size(); ++k) {
      const char c = hexa[k];
      v *= 16;
      if (c >= '0' && c <= '9')
        v += c - '0';
      else if (c >= 'A' && c <= 'F')
        v += c - 'A' + 10;
      else if (c >= 'a' && c <= 'f')
        v += c - 'a' + 10;
    }
    return v;
  };
  return Couleur{octet(4), octet(2), octet(0)};
}

std::array<Couleur, 16> couleurs_personnalisees(const Session& s) {
  return {s.couleurs[0],          couleur_bvr("DAFEE7"),  couleur_bvr("D9FAFF"),
          couleur_bvr("FFE0B3"),  Couleur{253, 234, 225}, Couleur{236, 225, 253},
          Couleur{251, 225, 253}, Couleur{255, 245, 221}, s.couleurs[1],
          Couleur{255, 240, 138}, Couleur{100, 193, 255}, Couleur{106, 196, 255},
          Couleur{250, 198, 173}, Couleur{220, 200, 251}, Couleur{183, 251, 249},
          Couleur{245, 216, 176}};
}

// ---------------------------------------------------------------- indicator

Indicateur indicateur_modification(const Session& s) {
  Indicateur i;
  if (!s.description_modifiee) return i;
  if (s.description.dossier_description.empty())
    i.enregistrer_sous_rouge = true;
  else
    i.enregistrer_rouge = true;
  return i;
}

}  // namespace tamso
