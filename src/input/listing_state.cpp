#include "input/listing_state.h"

namespace tamso {

char separateur_des_lignes(int choix) {
  switch (choix) {
    case 1:
      return ' ';
    case 3:
      return ',';
    default:
      return ';';
  }
}

std::string legende_separateur(int choix) {
  static const char* kLegendes[] = {"Tabulation", "Espace", "Point-virgule", "Virgule"};
  return choix >= 0 && choix <= 3 ? kLegendes[choix] : "";
}

}  // namespace tamso
