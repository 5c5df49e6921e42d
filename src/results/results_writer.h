// The results of a run: the results lines built from the result grid, the
// results file with its name, the clipboard copy and the copy of the value
// columns without the date.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tamso {

class Avancement;
class GrilleResultats;
class JournalSuivi;
struct Description;
enum class SeparateurSortie;
struct EtatResultats;
struct ListeHorodatee;
struct VueTraitement;

// ---- values ----

// Appends the value exactly as printf "%5.<decimales>Lf" writes it (fixed
// notation, correctly rounded, right-aligned in at least 5 characters), the
// decimal point written as the given separator. Allocates nothing for the
// values a logger gives; only values of 2^63 and above, infinities and NaN,
// and more than 19 decimals go through the C library.
void ajouter_valeur_formatee(std::string& sortie, long double valeur, int decimales,
                             char separateur_decimal);
std::string valeur_formatee(long double valeur, int decimales, char separateur_decimal);

// The text written between fields for an output separator choice: tab,
// space, space and tab, ";" (a tab for any other choice).
std::string separateur_sortie(SeparateurSortie choix);

// The number of decimals of the output values: the trimmed text of the
// decimals box read as a whole number from 0 to 30; nothing otherwise (the
// results are then written with 3 decimals and the log says so).
std::optional<int> nombre_decimales(const std::string& texte);

// ---- results lines ----

// Builds the results lines (header, then rows 2..N) and the value-only lines
// from the result grid, on `fils` threads (0: one per core). The stop request
// ends the pass early and keeps the lines made so far, in order; false then.
bool formater_resultats(const Description& d, const GrilleResultats& g, const ListeHorodatee& liste,
                        char sep_decimal, EtatResultats& res, JournalSuivi& journal,
                        Avancement& avancement, int fils = 0);

// ---- save ----

// The results file name from the name box, its placeholders expanded ("#" the
// total run duration, "§" the period and the number of results), ".txt"
// added when the name has no extension.
struct NomResultats {
  std::string nom;          // expanded name
  std::string nom_travail;  // the name before its last placeholder was expanded
  std::string racine;       // first "."-separated field, trimmed
  std::string extension;    // from the last "." on
};
NomResultats nom_resultats(const VueTraitement& s);

// What the results of the last run hold, the first that applies: a stop
// request ended the reading or the formatting; no line was extracted (every
// value is missing); a file could not be read to its end; else complete.
enum class BilanTraitement { complet, arrete, sans_donnees, incomplet };
BilanTraitement bilan_traitement(const VueTraitement& s);
// "3- TRAITEMENT EFFECTUÉ", or "ARRÊTÉ", "SANS DONNÉES", "INCOMPLET".
std::string titre_fin_traitement(const VueTraitement& s);
// The lines that say plainly what the results lack: stop, nothing extracted,
// files not read to their end, lines whose date did not read. Empty for a
// run without any of these.
std::vector<std::string> reserves_traitement(const VueTraitement& s);

}  // namespace tamso
