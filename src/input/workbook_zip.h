// The zip container of .xlsx, .xlsm and .ods workbooks and the XML parts in
// it, read in blocks through an event parser: no part is ever held whole in
// memory, and no file is extracted to disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct zip;

namespace tamso {

// Why a workbook could not be read.
enum class EchecClasseur {
  aucun,
  introuvable,      // no such file, or it cannot be opened
  pas_un_classeur,  // not a workbook this program reads
  chiffre,          // protected by a password
  endommage,        // damaged, truncated or malformed
  feuille_absente,  // the sheet number is beyond the workbook's sheets
  trop_volumineux,  // beyond the limits below
  plage_demesuree,  // a used range far larger than the cells it holds
  ecriture,         // the converted text could not be written
};

struct ErreurClasseur {
  EchecClasseur genre = EchecClasseur::aucun;
  std::string detail;  // French, for the message
  explicit operator bool() const { return genre != EchecClasseur::aucun; }
};

// Bounds that keep a hostile or broken file from exhausting the machine.
struct LimitesClasseur {
  std::uint64_t octets_partie = 4ull << 30;   // bytes of one XML part once inflated
  std::uint64_t octets_chaines = 1ull << 30;  // shared strings kept in memory
  std::uint64_t octets_texte = 2ull << 30;    // converted text
  std::uint32_t lignes = 1048576;             // rows of a sheet
  std::uint32_t colonnes = 16384;             // columns of a sheet
  // The used range is written whole (its empty cells as empty fields) up to
  // this many cells, or beyond when at least one cell in `cases_par_cellule`
  // holds a value: a stray far cell cannot turn a small sheet into gigabytes
  // of separators. 2^24 cells is a whole .xls sheet (65536 rows, 256 columns).
  std::uint64_t cases_garanties = 1ull << 24;
  std::uint64_t cases_par_cellule = 64;
  // The converted text may be this large whatever the workbook, or up to
  // `texte_par_octet_classeur` times the workbook's size: a text used by many
  // cells, or repeated cells, cannot make a small file into a huge text.
  std::uint64_t octets_texte_garantis = 256ull << 20;
  std::uint64_t texte_par_octet_classeur = 64;
};

// Events of the XML parser. Element and attribute names arrive as
// namespace URI + '\x01' + local name (local name alone without namespace).
class LecteurXml {
 public:
  virtual ~LecteurXml() = default;
  virtual void ouvrir(const char* nom, const char** attributs) = 0;
  virtual void fermer(const char* nom) = 0;
  virtual void texte(std::string_view) {}
  // Set by a handler to stop the parse with this failure.
  ErreurClasseur erreur;
  // Set by a handler that has read all it needs: the parse stops, successfully.
  bool fini = false;
};

// The local part of an expanded name.
std::string_view nom_local(const char* nom);
// Value of the attribute of that local name (any namespace), or nullptr.
const char* attribut(const char** attributs, std::string_view local);
// Value of the attribute of that namespace and local name, or nullptr.
const char* attribut_ns(const char** attributs, std::string_view espace, std::string_view local);
// True when the expanded name is that namespace and local name.
bool nom_est(const char* nom, std::string_view espace, std::string_view local);

class ArchiveZip {
 public:
  ArchiveZip() = default;
  ~ArchiveZip();
  ArchiveZip(const ArchiveZip&) = delete;
  ArchiveZip& operator=(const ArchiveZip&) = delete;

  ErreurClasseur ouvrir(const std::string& chemin);
  bool contient(const std::string& nom) const;
  // The exact name of an entry, found again without regard to case when needed.
  std::optional<std::string> trouver(const std::string& nom) const;
  // Parses one XML entry in blocks. Any failure (missing entry, bad
  // compression, malformed XML, a document type declaration, a part beyond
  // the limit) comes back as the error.
  ErreurClasseur analyser(const std::string& nom, LecteurXml& lecteur,
                          const LimitesClasseur& limites) const;
  // A small entry read whole (at most `maximum` bytes).
  std::optional<std::string> lire_petite_entree(const std::string& nom,
                                                std::uint64_t maximum) const;

 private:
  struct zip* zip_ = nullptr;
};

// A part name relative to the folder of the part holding the relationship:
// "worksheets/sheet1.xml" from "xl/", "/xl/worksheets/sheet1.xml" or
// "../xl/x.xml" resolved inside the archive ("" when it climbs out of it).
std::string resoudre_cible(std::string_view dossier_source, std::string_view cible);

}  // namespace tamso
