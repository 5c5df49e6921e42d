#include "processing/block_placing.h"

#include <algorithm>

#include "processing/engine.h"

namespace tamso {

PlanPlacement construire_plan_placement(const std::vector<double>& temps, int n, bool inf_strict,
                                        bool unite_calendaire, const CorrectionTemps& correction,
                                        bool plus_un_jour, bool plus_une_seconde, Methode methode) {
  PlanPlacement p;
  p.temps = &temps;
  p.n = n;
  p.inf_strict = inf_strict;
  p.unite_calendaire = unite_calendaire;
  p.correction = correction;
  p.plus_un_jour = plus_un_jour;
  p.plus_une_seconde = plus_une_seconde;
  p.methode = methode;
  // Strictly increasing times make a time's row one and the same wherever
  // the search starts.
  bool croissants = n >= 1 && static_cast<std::size_t>(n) < temps.size();
  for (int k = 2; croissants && k <= n; ++k)
    croissants = temps[static_cast<std::size_t>(k - 1)] < temps[static_cast<std::size_t>(k)];
  p.actif = croissants;
  return p;
}

int rangee_du_temps(const PlanPlacement& plan, double tc, int& curseur) {
  int k = chercher_intervalle(*plan.temps, plan.n, tc, plan.inf_strict, curseur);
  if (k > 0 && plan.unite_calendaire && plan.inf_strict) k -= 1;
  return k < 1 || k >= plan.n + 1 ? 0 : k;
}

namespace {

// Where the search of a block's first time starts: at its row, found by
// halving rather than by walking from the first row.
int depart(const PlanPlacement& plan, double tc) {
  const auto& t = *plan.temps;
  const auto debut = t.begin() + 1, fin = t.begin() + 1 + plan.n;
  return std::max(1, static_cast<int>(std::lower_bound(debut, fin, tc) - t.begin()));
}

}  // namespace

void placer_bloc(const PlanPlacement& plan, const LignesLues& lues, std::size_t nv,
                 PlacementBloc& sortie) {
  sortie.complet = false;
  sortie.rangees.clear();
  sortie.k.clear();
  sortie.valeurs.clear();
  sortie.comptes.clear();
  sortie.na.clear();
  sortie.nb.clear();
  if (!plan.actif) return;
  for (const StatutLigne s : lues.statuts)
    if (s == StatutLigne::reference) return;
  sortie.rangees.reserve(lues.temps.size());
  int curseur = 0, derniere = 0;
  double precedent = 0.0;
  for (std::size_t r = 0; r < lues.temps.size(); ++r) {
    const double t = lues.temps[r];
    // A time corrected from the previous line's: the engine places the block.
    if (r > 0 &&
        ((t < precedent && plan.plus_un_jour) || (t == precedent && plan.plus_une_seconde)))
      return;
    precedent = t;
    const double tc = plan.correction.corriger(t);
    if (curseur == 0) curseur = depart(plan, tc);
    const int k = rangee_du_temps(plan, tc, curseur);
    sortie.rangees.push_back(k);
    if (k == 0) continue;
    if (k < derniere) return;  // a time that goes back to an earlier row
    if (k > derniere) {
      derniere = k;
      sortie.k.push_back(k);
      sortie.valeurs.resize(sortie.valeurs.size() + nv, 0.0L);
      sortie.comptes.resize(sortie.comptes.size() + nv, 0);
      sortie.na.resize(sortie.na.size() + nv, 0);
      sortie.nb.push_back(0);
    }
    // The same steps as a line placed on its own into an empty cell.
    const std::size_t base = sortie.valeurs.size() - nv;
    prendre_ligne(plan.methode, lues.valeurs.data() + r * nv, lues.manquants[r], nv,
                  sortie.valeurs.data() + base, sortie.comptes.data() + base,
                  sortie.na.data() + base);
    sortie.nb.back() += 1;
  }
  sortie.curseur = std::max(1, curseur);
  sortie.complet = true;
}

}  // namespace tamso
