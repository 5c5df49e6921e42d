// The batch program's exit statuses, the same for its three commands and
// for a run of several descriptions.
#pragma once

namespace tamso {

enum CodeSortie : int {
  kSucces = 0,              // results written, complete
  kEchec = 1,               // nothing written, for a reason not below (a question answered to
                            // stop, the memory limit, memory running out)
  kUsage = 2,               // bad command line, or a description (or file) it names unreadable
  kSansDonnees = 3,         // results written, but no line extracted
  kEntree = 4,              // the data: folder unreadable, no file matching the mask, a file
                            // unreadable or not read to its end (its results then partial)
  kArrete = 5,              // stopped by an interrupt or a termination signal
  kEcritureImpossible = 6,  // a file could not be written (results, tracking file, output
                            // folder, summary, description)
};

// The status in words, for summaries: "complet", "échec", ...
inline const char* nom_code_sortie(int code) {
  switch (code) {
    case kSucces:
      return "complet";
    case kEchec:
      return "échec";
    case kUsage:
      return "usage";
    case kSansDonnees:
      return "sans données";
    case kEntree:
      return "données illisibles";
    case kArrete:
      return "arrêté";
    case kEcritureImpossible:
      return "écriture impossible";
    default:
      return "inconnu";
  }
}

}  // namespace tamso
