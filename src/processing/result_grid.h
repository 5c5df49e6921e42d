// The result grid of a run: one row per regular timestamp, one column per
// output column (date-time, extracted values, row count), with the count of
// valid values of every cell. It lives from one run to the next, for the
// results writer and the graph window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/large_pages.h"

namespace tamso {

// Packed: a grid holds millions of cells, and the padding that aligning the
// extended-precision value would add almost doubles its size. An empty cell
// is all zero bytes.
struct __attribute__((packed)) Cellule {
  bool na = false;  // no value
  long double valeur = 0;
};

class GrilleResultats {
 public:
  // N timestamps and V value columns of the files: (N + 3) rows, (V + 5) columns.
  void creer(int n, int v);
  // The output columns once known (c <= V + 4): each row then holds c + 1
  // cells. Before any cell is written.
  void fixer_colonnes(int colonnes);
  void vider() { *this = GrilleResultats{}; }
  bool vide() const { return n_ == 0; }

  int n() const { return n_; }
  int v() const { return v_; }
  int nb_lignes() const { return n_ + 3; }

  Cellule& cellule(int r, int col) { return cellules_[indice(r, col)]; }
  const Cellule& cellule(int r, int col) const { return cellules_[indice(r, col)]; }
  std::int32_t& compte(int r, int col) { return comptes_[indice(r, col)]; }
  std::int32_t compte(int r, int col) const { return comptes_[indice(r, col)]; }

  // Output columns C: column 1 the date-time, 2..C-1 the values, C the row count.
  int c = 0;
  std::vector<double> temps;        // target times, index 0..N+2 (0 at index 0)
  std::vector<std::string> titres;  // V + 5 titles, index 1..C used
  std::vector<int> sources;         // V + 5 source column numbers
  std::vector<int> manquants;       // V + 5 missing-value counts

  // Number of source lines assigned to row r (the value of column C).
  long double nb_lignes_ligne(int r) const { return cellule(r, c).valeur; }

 private:
  std::size_t indice(int r, int col) const {
    return static_cast<std::size_t>(r) * largeur_ + static_cast<std::size_t>(col);
  }
  void allouer_cellules();
  int n_ = 0, v_ = 0;
  std::size_t largeur_ = 0;  // cells a row
  TableauZero<Cellule> cellules_;
  TableauZero<std::int32_t> comptes_;
};

}  // namespace tamso
