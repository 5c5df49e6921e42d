// The placing of a block of fast-read lines by the worker that read it.
// Each line's corrected time finds its row; the lines of every row of the
// block are added up from an empty cell, in line order. A row that holds no
// line yet when the block's turn comes takes its sum as it is: the same
// additions in the same order as placing the lines one by one. The rows that
// already hold lines (the block's first row, continued from the previous
// block) are placed again line by line by the engine.
#pragma once

#include <cstdint>
#include <vector>

#include "description/description.h"
#include "processing/fast_lines.h"

namespace tamso {

// A cell's value once a valid value v is taken in by the method: the last
// value, the largest, the smallest (the first valid value of the cell takes
// it as it is), or the sum.
inline long double combiner(Methode methode, long double cellule, long double v,
                            bool premiere_valeur) {
  switch (methode) {
    case Methode::derniere:
      return v;
    case Methode::maximum:
      return premiere_valeur || v > cellule ? v : cellule;
    case Methode::minimum:
      return premiere_valeur || v < cellule ? v : cellule;
    case Methode::moyenne:
    case Methode::moyenne_comblee:
    case Methode::cumul:
      break;
  }
  return cellule + v;
}

// A line's values taken into the cells of its row: a missing value marks a
// cell NA only while no valid value has fallen into it, a valid value clears
// the mark and is combined by the method.
template <class Na>
void prendre_ligne(Methode methode, const long double* v, std::uint64_t manquants, std::size_t nv,
                   long double* valeurs, std::int32_t* comptes, Na* na) {
  for (std::size_t x = 0; x < nv; ++x) {
    if ((manquants >> x) & 1U) {
      if (comptes[x] == 0) na[x] = true;
      continue;
    }
    na[x] = false;
    valeurs[x] = combiner(methode, valeurs[x], v[x], comptes[x] == 0);
    ++comptes[x];
  }
}

// The time shift and the drift of the measurement times.
struct CorrectionTemps {
  double decalage = 0.0;  // days
  bool derive = false;
  double derive_delta = 0.0, d0 = 0.0, d1 = 0.0;

  // A measurement time moved by the shift and by the drift grown since its start.
  double corriger(double t) const {
    const double d = derive ? derive_delta / (d1 - d0) * (t - d0) : 0.0;
    return t + decalage + d;
  }
};

// What the workers need to place lines, fixed for the whole run.
struct PlanPlacement {
  bool actif = false;                          // false: the engine places every line
  const std::vector<double>* temps = nullptr;  // the grid's target times, strictly increasing
  int n = 0;                                   // rows of the grid
  bool inf_strict = false, unite_calendaire = false;
  CorrectionTemps correction;
  // A time that goes back (or repeats) is corrected from the previous line's:
  // such a block is left to the engine.
  bool plus_un_jour = false, plus_une_seconde = false;
  Methode methode = Methode::moyenne;
};

// Builds the plan over the grid's times; inactive when they are not strictly
// increasing.
PlanPlacement construire_plan_placement(const std::vector<double>& temps, int n, bool inf_strict,
                                        bool unite_calendaire, const CorrectionTemps& correction,
                                        bool plus_un_jour, bool plus_une_seconde, Methode methode);

// The row of a corrected time (1..n), 0 when it falls outside the grid.
int rangee_du_temps(const PlanPlacement& plan, double tc, int& curseur);

// A block as its worker placed it.
struct PlacementBloc {
  // Every line of the block was read fast, no time of it needs a correction
  // after the first, and its rows come in increasing order.
  bool complet = false;
  std::vector<std::int32_t> rangees;  // row of each fast line, 0 outside the grid
  std::vector<int> k;                 // the rows, in increasing order
  std::vector<long double> valeurs;   // nv per row
  std::vector<std::int32_t> comptes;  // nv per row: valid values taken in
  std::vector<std::uint8_t> na;       // nv per row: a missing value and no valid one
  std::vector<long double> nb;        // lines of each row
  int curseur = 1;                    // where the search of the next time starts
};

// Places the fast lines of a block (`lues`, nv values a line).
void placer_bloc(const PlanPlacement& plan, const LignesLues& lues, std::size_t nv,
                 PlacementBloc& sortie);

}  // namespace tamso
