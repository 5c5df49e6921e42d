#include "processing/result_grid.h"

#include <algorithm>

namespace tamso {

void GrilleResultats::creer(int n, int v) {
  n_ = n < 0 ? 0 : n;
  v_ = v < 0 ? 0 : v;
  largeur_ = static_cast<std::size_t>(v_ + 5);
  allouer_cellules();
  temps.assign(static_cast<std::size_t>(n_ + 3), 0.0);
  titres.assign(static_cast<std::size_t>(v_ + 5), std::string{});
  sources.assign(static_cast<std::size_t>(v_ + 5), 0);
  manquants.assign(static_cast<std::size_t>(v_ + 5), 0);
  c = 0;
}

void GrilleResultats::fixer_colonnes(int colonnes) {
  c = colonnes;
  largeur_ = static_cast<std::size_t>(std::max(colonnes, 0)) + 1;
  allouer_cellules();
}

// Empty cells: their pages are cleared where they are first written, so a
// grid made again before any write costs nothing.
void GrilleResultats::allouer_cellules() {
  const std::size_t taille = static_cast<std::size_t>(n_ + 3) * largeur_;
  cellules_ = TableauZero<Cellule>();
  comptes_ = TableauZero<std::int32_t>();
  cellules_ = TableauZero<Cellule>(taille);
  comptes_ = TableauZero<std::int32_t>(taille);
}

}  // namespace tamso
