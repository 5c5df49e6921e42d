// The facts of one batch run, for scripts: the files read with their dates,
// counts and corrections, the results rows and their missing values, the
// durations, the questions asked and the answers taken. Written as JSON by
// the batch program's --summary-json.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tamso {

class Session;

struct FichierBilan {
  std::string fichier, sous_repertoire, station;
  bool traite = false;              // read by the run (marked, or every file when none is)
  std::string debut, fin;           // first and last date read, ISO 8601 ("" when none)
  long long lignes = -1;            // lines of data read (-1 unknown)
  long long lignes_extraites = -1;  // of them, the lines placed in the grid
  std::string pas_observe;          // "   300 s / 295 s": mean step / smallest step
  std::string correction;           // day and second corrections made
  std::string duree;                // reading time, "hh:mm:ss"
};

struct ColonneBilan {
  std::string titre;
  int na = 0;  // results rows written as no data in this column
};

struct QuestionBilan {
  std::string question, reponse;
};

struct BilanRun {
  std::string description;       // the description file, as an absolute path
  int statut = 0;                // the exit status the run alone would give
  std::string etat;              // the status in words
  std::string message;           // what went wrong, when something did
  std::string resultats, suivi;  // the files written ("" when not)
  // The period of the run (ISO 8601), its step as the tracking file gives
  // it ("01:00:00", "1 jour") and the date test ("inf ou =", "inf strict").
  std::string debut, fin, pas, test;
  std::vector<FichierBilan> fichiers;
  long long lignes_extraites = 0;
  long long dates_illisibles = 0;  // lines whose date did not read, not placed
  std::vector<std::string> fichiers_incomplets;
  long long lignes_resultats = 0;  // results rows written
  std::vector<ColonneBilan> colonnes;
  long long na = 0;  // the missing values of every column
  // Seconds spent listing, building the timestamp list and processing.
  std::array<double, 3> durees{};
  std::vector<QuestionBilan> questions;
  std::vector<std::string> messages;  // messages shown without a question
  bool traitement = false;            // the run reached its processing
};

// "07/11/2021 00:10:00" -> "2021-11-07T00:10:00"; any other text unchanged.
std::string date_iso(const std::string& texte);

// The facts of the session's last run (period, files, counts, results,
// durations) into the summary; status, message, questions are the caller's.
void remplir_bilan(const Session& s, BilanRun& b);

// One run as a JSON object.
std::string bilan_en_json(const BilanRun& b);
// The document of a batch command: the program, its version, the command's
// exit status and the runs' objects in the order of the command line.
std::string document_bilans(const std::vector<std::string>& objets, int statut);

}  // namespace tamso
