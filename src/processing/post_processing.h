// Post-processing of a finalised result grid, in this order: forced
// increasing cumulative values, linear filling of short gaps, delta Y or
// derivative.
#pragma once

namespace tamso {

class Avancement;
class GrilleResultats;
class JournalSuivi;
struct Description;
struct Periode;

// A counter that a sensor resets becomes one ever-growing total.
void corriger_cumuls(GrilleResultats& g);
// Fills runs of at most nmax missing values linearly (a run at the start
// takes the first value after it, a run at the end the last value before it).
// Returns the number of cells filled.
int combler_lacunes(GrilleResultats& g, int nmax, JournalSuivi& journal, Avancement& avancement);
// Each value becomes its difference with the previous row, or that difference
// divided by the step (in days) for the derivative.
void calculer_differences(GrilleResultats& g, bool derivee, double pas_jours);

// The three treatments as the description asks for them; the gap filling
// logs what it does and stops at a stop request.
void post_traiter(const Description& d, const Periode& p, GrilleResultats& g, JournalSuivi& journal,
                  Avancement& avancement);

}  // namespace tamso
