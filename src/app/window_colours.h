// The window's colours (the parameters file's four colours or the fixed
// greys) and the indicator of unsaved changes on the save buttons.
#pragma once

#include <array>
#include <string_view>

namespace tamso {

class Session;
struct Couleur;

// ---- colours ----

// The four greys of "niveaux de gris".
const std::array<Couleur, 4>& couleurs_gris();
// "couleurs" (0): the colours of the parameters file; "niveaux de gris" (1):
// the greys. Marks the description modified so that the next write keeps them.
void appliquer_schema_couleurs(Session& s, int schema);
// A colour chosen in the colour panel (numero 1 to 4).
void choisir_couleur(Session& s, int numero, const Couleur& c);
// The sixteen custom colours offered by the colour dialog (ColorA..ColorP).
std::array<Couleur, 16> couleurs_personnalisees(const Session& s);
// A colour written as six hexadecimal digits in the order blue, green, red.
Couleur couleur_bvr(std::string_view hexa);

// ---- indicator of unsaved changes ----

struct Indicateur {
  bool enregistrer_rouge = false;       // "Enregistrer"
  bool enregistrer_sous_rouge = false;  // "Enregistrer sous ..."
};
Indicateur indicateur_modification(const Session& s);

}  // namespace tamso
