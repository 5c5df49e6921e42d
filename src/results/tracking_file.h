// The tracking file written beside every results file (results path +
// ".TXT"): the run's settings and the file table, then the whole tracking
// log; and the end-of-run summary and statistics that go into the log.
#pragma once

#include <string>
#include <vector>

namespace tamso {

class JournalSuivi;
struct VueTraitement;

// The first part of the tracking file: settings of the run and the file table.
std::vector<std::string> entete_fichier_suivi(const VueTraitement& s);

// The run summary appended to the log: method and options, drift, time
// shift, lines extracted, results, dates read with day and year swapped.
void resume_traitement(const VueTraitement& s, JournalSuivi& journal);

// The statistics block appended to the log: per value column, the results
// lines minus the lines written as no data, then the totals.
void statistiques_resultats(const VueTraitement& s, JournalSuivi& journal);

// The results lines written (fewer than the timestamps when a stop request
// ended the formatting early).
int lignes_resultats_ecrites(const VueTraitement& s);
// Per value column (the grid's columns 2..C-1, in order), the results lines
// written as no data: no source line in the row, or a missing value.
std::vector<int> vides_par_colonne(const VueTraitement& s);

}  // namespace tamso
