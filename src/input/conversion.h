// Data files that are not Windows-1252 text are converted, where they are
// read, into the Windows-1252 text every stage reads: UTF-16 text with its
// byte-order mark, UTF-8 text, and Solinst .xle exports (see xle.h). The
// converted copy lives in the program directory and is kept while its source
// is unchanged, so that the run does not convert again what the listing did.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamso {

enum class CodageDonnees { windows_1252, utf8, utf16le, utf16be };

// How many first bytes of a file decide its encoding.
inline constexpr std::size_t kOctetsDetection = 4u << 20;

// The encoding of a file from its first bytes (`suite`: the file goes on
// beyond them). A byte-order mark decides (UTF-8, UTF-16 LE or BE); without
// one the text is UTF-8 when its bytes are valid UTF-8 and hold at least one
// multi-byte character (a character cut by the end of the bytes read does
// not count against it); anything else is Windows-1252.
CodageDonnees detecter_codage(std::string_view debut, bool suite);

// Converts text of one encoding into Windows-1252, block after block; a
// character astride two blocks is kept until the next one. Line ends stay as
// they are. In UTF-8, a byte that begins no valid sequence is taken as a
// Windows-1252 byte; in UTF-16, a lone surrogate or a last odd byte gives "?".
// Characters the code page lacks get the stand-ins of ajouter_cp1252.
class ConvertisseurTexte {
 public:
  explicit ConvertisseurTexte(CodageDonnees codage) : codage_(codage) {}
  // Appends the conversion of the next bytes; `fin`: no byte comes after them.
  void convertir(std::string_view octets, bool fin, std::string& sortie);

 private:
  void convertir_utf8(std::string_view octets, bool fin, std::string& sortie);
  void convertir_utf16(std::string_view octets, bool fin, std::string& sortie);
  void ajouter_unite(char32_t unite, std::string& sortie);

  CodageDonnees codage_;
  std::string reste_;  // bytes of a character cut by the end of the last block
  char32_t haut_ = 0;  // a UTF-16 high surrogate waiting for its pair
};

// What a data file needs before it is read.
enum class GenreConversion { aucune, utf8, utf16le, utf16be, xle };

// Decides on the file's name and first bytes: a .xle file (any case), or a
// file starting with "<?xml" whose first 64 KB hold "<Body_xle", is a Solinst
// export; else its encoding decides (Windows-1252 needs nothing).
GenreConversion conversion_du_fichier(const std::string& chemin);

// Converts the text file into Windows-1252 text at `destination`. The detail
// of a failure (French), empty on success; the destination is then removed.
std::string convertir_texte(const std::string& source, CodageDonnees codage,
                            const std::string& destination);

// The file to read in place of a data file.
struct FichierALire {
  std::string chemin;  // the data file itself, or its converted copy
  GenreConversion genre = GenreConversion::aucune;
  std::string erreur;  // why the conversion failed (French); chemin is then empty
};

// The file the loader reads for `source`: the source itself when it needs no
// conversion, else a converted copy "~converti_…" made in `repertoire` (the
// program directory) or the one made earlier while the source keeps its
// path, size and modification time. Copies beyond a total of 1 GB are
// removed, least recently used first.
FichierALire fichier_a_lire(const std::string& source, const std::string& repertoire);

// Removes every converted copy made by this program (done on leaving too).
void supprimer_copies_converties();

}  // namespace tamso
