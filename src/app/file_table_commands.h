// What the user does with the file table: marking by station, double clicks,
// row deletions and the summary of the listed files.
#pragma once

#include <string>
#include <vector>

namespace tamso {

class Session;

// The five marking choices offered on a right click in "Station" or " x".
enum class ChoixMarquage { seulement, en_plus, decocher_tout, decocher_seulement, cocher_tout };

// The captions of the five choices for the station of a row.
std::vector<std::string> libelles_marquage(const Session& s, int ligne);
// Applies a choice for the station of a row, rebuilds the marked-file list
// and sets the graph window's title.
void appliquer_marquage(Session& s, int ligne, ChoixMarquage choix);
// Rebuilds the marked-file list (ListBox_fic_coche) from the table.
void reconstruire_fichiers_coches(Session& s);

// Double click on a cell: the mark toggles in " x", the file opens in the
// text editor from "fichier", a first or last date ("date dep", "date fin")
// is offered as the period's start or end, a title sorts the table by its
// column. Returns the column sorted, -1 when none.
int double_clic_tableau(Session& s, int colonne, int ligne);

// The deletion commands; each asks first and recomputes the summary.
void effacer_selection(Session& s, int premiere, int derniere);
void effacer_vers_le_bas(Session& s, int courante);
void effacer_vers_le_haut(Session& s, int courante);
void effacer_hors_periode(Session& s, bool sans_confirmation);

// The summary after deletions and at the start of a run: number of files,
// total size, smallest and largest file-name dates.
void resume_tableau(Session& s);

// Path of the file of a row: data directory + sub-folder + name (the
// temporary text of a workbook or clipboard source instead).
std::string chemin_fichier_ligne(Session& s, int ligne);

}  // namespace tamso
