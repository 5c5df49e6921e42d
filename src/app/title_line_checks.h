// Checks of the title line of a file the listing pre-reads: whether titles are
// where the description says, how many columns the file has, and the names of
// its own columns. Each check may propose a correction that ends the listing.
#pragma once

namespace tamso {

class Session;

// How the listing goes on after the checks of a pre-read file.
enum class SuiteListage {
  continuer,  // the layout reads as described
  arreter,    // a correction was made or the layout cannot be read
  relister,   // the title option was corrected: list again with it
};

// Checks the loaded file's title line and counts its columns (`nb_colonnes`);
// fills the listing state's title text and value-column count.
SuiteListage verifier_intitules(Session& s, int& nb_colonnes);

}  // namespace tamso
