// The description file (.DSC): 65 lines "key= value" in the order of the
// settings, Windows-1252, CR LF; its lines built from a description and read
// back into one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamso {

struct Description;
class JournalSuivi;

// The 65 lines of a description, in file order.
std::vector<std::string> lignes_dsc(const Description& d);

// The value of a key among the lines of a DSC file: the first line whose text
// before its first "=" equals the key (case ignored, nothing trimmed); the
// text after that "=" up to the next "=" or the end, trimmed. Nothing found:
// trouve is false and the result empty.
std::string valeur_de_cle(const std::vector<std::string>& lignes, std::string_view cle,
                          bool& trouve);
// Index of the line holding the key, -1 when none.
int ligne_de_cle(const std::vector<std::string>& lignes, std::string_view cle);

// Applies the lines of a DSC file to a description, key by key in reading
// order; a key no line holds takes its default (the directories' defaults
// are `repertoire_programme`). A data folder left empty (or ".", or the
// default "\.") is `dossier_dsc`, the description file's own folder; a
// data or output folder written without a root or a drive is taken from
// that folder; a `dossier_donnees` given takes the place of the one the
// file names.
// Returns the value refused when reading stopped at an index that is not a
// whole number or names none of its options (the settings read before it
// stay applied); nothing when every key was read.
std::optional<std::string> appliquer_lignes_dsc(
    const std::vector<std::string>& lignes, Description& d, const std::string& repertoire_programme,
    const std::string& dossier_dsc, const std::string& dossier_donnees, JournalSuivi& journal);

// The candidate directory of an old one when moved to a drive.
std::string candidat_lecteur(std::string_view ancien, std::string_view lecteur,
                             std::string_view prefixe_ancien);

}  // namespace tamso
