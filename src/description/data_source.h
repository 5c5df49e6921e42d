// Where a description's data come from, and how its data files are loaded.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "input/loader.h"

namespace tamso {

struct Description;
class TableFichiers;

// The source of the data, from the mask: "XLS" one workbook sheet, "PPP" the
// clipboard, anything else a folder of files.
enum class SourceDonnees { repertoire, excel, presse_papier };
SourceDonnees source_du_masque(std::string_view masque);

// How the data files of a description are loaded: `repertoire_programme`
// holds the clipboard's temporary text, `taille_bloc` the size of the blocks
// read (0: the usual size).
ReglesChargement regles_chargement(const Description& d, SourceDonnees source,
                                   const std::string& repertoire_programme,
                                   std::size_t taille_bloc);

// The path of the file of a file-table row: data directory + sub-folder +
// name, or the temporary text of a workbook or clipboard source.
std::string chemin_fichier_ligne(const TableFichiers& t, int ligne, SourceDonnees source,
                                 const std::string& dossier_donnees,
                                 const std::string& repertoire_programme);

}  // namespace tamso
