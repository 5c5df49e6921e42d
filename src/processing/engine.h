// The extraction and aggregation engine: every selected data file is read
// line by line; each line's date-time is corrected (shift, drift, day and
// second corrections) and placed in its interval of the timestamp list, and
// every extracted value column is accumulated into the result grid by the
// chosen method. Then the grid is finalised and post-processed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "description/data_source.h"
#include "description/description.h"

namespace tamso {

class Avancement;
class GrilleResultats;
class Interaction;
class JournalSuivi;
class TableFichiers;
class FichierCharge;
struct Description;
struct EtatLecteurDates;
struct EtatListage;
struct ListeHorodatee;
struct Periode;

// How the engine reads the data files.
struct OptionsLecture {
  int fils = 0;                   // threads reading a file; 0: one per core
  bool reference = false;         // every line through the step-by-step chain, on one thread
  std::size_t taille_bloc = 0;    // bytes per block of lines; 0: the usual size
  std::uint64_t memoire_max = 0;  // bytes a run may take; 0: the memory available
};

// What the run driver has worked out before the engine starts.
struct ParametresMoteur {
  double decalage = 0.0;   // total time shift in days, signed
  int decalage_jours = 0;  // whole days of the shift (SpinEdit_decalage_jour)
  double derive = 0.0;     // drift observed (true time minus the logger's), in days
};

// Facts of the last run, for the results, the statistics and the graphs.
struct EtatTraitement {
  ParametresMoteur parametres;
  Methode methode = Methode::moyenne;
  int ligne_reference = 1;  // file-table row of the reference file
  std::string station_reference;
  long long lignes_extraites = 0;            // lines assigned over the run
  long long dates_illisibles = 0;            // lines of data whose date did not read, not placed
  std::optional<double> date_min, date_max;  // earliest and latest date-time seen
  bool liste_partielle = false;
  bool arrete = false;               // a stop request ended the file loop
  std::vector<int> lignes_traitees;  // file-table rows processed, in order
  int fichiers_lus = 0;              // of them, the files read (wholly or up to a stop)
  // Files that could not be read to their end (a read error, a file cut
  // short while the run read it): the results hold their beginning only.
  std::vector<std::string> fichiers_incomplets;
};

enum class IssueMoteur {
  termine,     // the grid is ready
  sans_liste,  // the timestamp list is empty
  abandonne,   // the user cancelled at a question: nothing to write
  echec,       // a file could not be loaded, or the columns cannot be extracted
};

// What the engine reads, what it fills, and where it asks, logs and shows.
struct ContexteMoteur {
  const Description& description;
  const Periode& periode;
  const ListeHorodatee& liste_horodatee;
  const EtatListage& etat_listage;
  const std::string& intitule_origine;  // the title line of the listing
  SourceDonnees source;
  std::string repertoire_programme;  // where the temporary texts are
  OptionsLecture lecture;
  char separateur_decimal;  // the computer's
  TableFichiers& table;     // per-file facts are written into it
  GrilleResultats& grille;
  EtatTraitement& etat_traitement;
  FichierCharge& fichier_charge;     // the file being read (Memo1) ...
  std::vector<std::string>& apercu;  // ... and its preview (Memo6)
  EtatLecteurDates& lecteur_dates;
  JournalSuivi& journal;
  std::map<std::string, std::string>& etiquettes;  // labels of the window, by control name
  Interaction& port;  // the questions about a file's first line and date
  Avancement& avancement;
};

// The run from the grid's creation to its post-processing. The period of
// the run is already recorded and the file-table summary made.
IssueMoteur executer_moteur(ContexteMoteur& s, const ParametresMoteur& p);

// Interval search: the row 1..N whose interval holds the time, -1 when none.
// "(inf ou =)": T[k-1] < t <= T[k]; "(inf strict)": T[k-1] <= t < T[k]. The
// search starts at the cursor (the last interval found) and wraps once.
int chercher_intervalle(const std::vector<double>& temps, int n, double t, bool inf_strict,
                        int& curseur);

// Titles of the output columns (date-time, values, row count).
// The date-time title names the shift and the date test; the last, the number
// of results, the method and the station of the reference file.
std::vector<std::string> titres_colonnes(const Description& d, const Periode& periode,
                                         const std::string& intitule_origine,
                                         const std::string& station, const GrilleResultats& g,
                                         const ParametresMoteur& p);

// Total time shift in days: the whole days plus the shift time (to whole
// seconds), negative when the shift is subtracted.
double decalage_total(const Description& d, int decalage_jours);
// Drift: true time minus the logger's time, each to whole seconds, in days.
double derive_constatee(const Description& d);

// Caption of an aggregation method ("moyenne des n mesures OK", ...).
std::string legende_methode(Methode methode);

// "pas moyen observé": the mean and the smallest step of a file, in seconds.
std::string texte_pas_observe(double somme_jours, long long nombre, double minimum_jours,
                              char separateur_decimal);

}  // namespace tamso
