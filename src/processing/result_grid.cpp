#include "processing/result_grid.h"

namespace tamso {

void GrilleResultats::creer(int n, int v) {
  n_ = n < 0 ? 0 : n;
  v_ = v < 0 ? 0 : v;
  const std::size_t taille = static_cast<std::size_t>(n_ + 3) * static_cast<std::size_t>(v_ + 5);
  // Empty cells: their pages are cleared where they are first written.
  cellules_ = TableauZero<Cellule>(taille);
  comptes_ = TableauZero<std::int32_t>(taille);
  temps.assign(static_cast<std::size_t>(n_ + 3), 0.0);
  titres.assign(static_cast<std::size_t>(v_ + 5), std::string{});
  sources.assign(static_cast<std::size_t>(v_ + 5), 0);
  manquants.assign(static_cast<std::size_t>(v_ + 5), 0);
  c = 0;
}

}  // namespace tamso
