// The program's version and the folder of its own files (the user manual,
// the examples), wherever the programs were put: beside them in the build
// folder, or in the shared-data folder of an installation (for a program in
// /usr/bin, /usr/share/tamso).
#pragma once

#include <string>

namespace tamso {

// "7.43": the version the build was made with.
const char* version_tamso();

// The folder of the running program, with a final separator; empty when it
// cannot be known.
std::string repertoire_executable();

// The folder of the program's own files for a program in `repertoire_exe`:
// the installation's shared-data folder, reached from the program's folder
// as an installation lays them out, when it exists; else the program's
// folder itself (a build folder). With a final separator.
std::string repertoire_fichiers_programme(const std::string& repertoire_exe);

// The folder of the examples (descriptions and their data) among the
// program's own files, with a final separator.
std::string repertoire_exemples(const std::string& repertoire_fichiers);

}  // namespace tamso
