// The data-file loader: brings one data file in, cleaned (NUL bytes turned
// into byte 1 or "_", tabulations into ";" for tab-separated files), without
// ever holding more than a block of it in memory. Lines stay Windows-1252
// bytes; only texts shown to the user are decoded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamso {

class JournalSuivi;
class Interaction;

// How the bytes of a data file are cleaned as they are read.
struct NettoyageLignes {
  char nul = '\x01';  // what a NUL byte becomes
  bool tabulation_vers_point_virgule = false;
};

// Streams the lines of a file in large blocks. A line ends at CR, LF or the
// pair; the view it gives stays valid until the next call.
class LecteurLignes {
 public:
  static constexpr std::size_t kTailleBloc = 1 << 20;

  LecteurLignes(const std::string& chemin, NettoyageLignes nettoyage,
                std::size_t taille_bloc = kTailleBloc);
  ~LecteurLignes();
  LecteurLignes(const LecteurLignes&) = delete;
  LecteurLignes& operator=(const LecteurLignes&) = delete;

  bool ouvert() const { return fichier_ != nullptr; }
  bool suivante(std::string_view& ligne);
  std::uint64_t octets_lus() const { return octets_lus_; }
  // A read failed before the end of the file.
  bool erreur() const;

 private:
  bool remplir();

  std::FILE* fichier_ = nullptr;
  NettoyageLignes nettoyage_;
  std::vector<char> tampon_;
  std::size_t debut_ = 0, fin_ = 0;
  bool fin_fichier_ = false;
  bool cr_en_attente_ = false;  // a CR ended the last line: skip an LF right after it
  std::uint64_t octets_lus_ = 0;
};

// A loaded data file: its first lines kept in memory, the others read again
// from the file when asked for.
class FichierCharge {
 public:
  static constexpr std::size_t kLignesGardees = 256;

  std::string chemin;   // the file actually read (a data file's converted copy)
  std::string origine;  // the data file it stands for, as named by the caller
  NettoyageLignes nettoyage;
  std::vector<std::string> debut;  // the first lines (bytes, cleaned)
  long long nb_lignes = 0;
  long long derniere_non_vide = -1;     // index of the last line that is not blank
  std::string texte_derniere_non_vide;  // that line, kept so it is not read again
  std::uint64_t taille = 0;             // bytes
  // False for a file of which only the first lines and the last non-blank
  // line's text were read: nb_lignes and derniere_non_vide are then unknown
  // (-1) until a reading of the whole file sets them.
  bool complet = true;
  // What the file was loaded from and how: a second load of the same,
  // unchanged file with the same settings reuses this one.
  std::string cle;

  // Line i (from 0), bytes as cleaned; empty beyond the end.
  std::string ligne(long long i) const;
  // The same decoded into UTF-8 text.
  std::string texte(long long i) const;
  // Index of the first (last) line containing the text, -1 when none.
  long long premiere_ligne_contenant(std::string_view morceau) const;
  long long derniere_ligne_contenant(std::string_view morceau) const;

  // Calls f(index, line) for every line in order until f returns false.
  // False when the file could not be read to the end it had when it was
  // loaded (it cannot be opened, a read fails, it was cut short since); true
  // when f stopped the reading.
  template <class F>
  bool parcourir(F&& f) const {
    LecteurLignes lecteur(chemin, nettoyage);
    std::string_view l;
    long long i = 0;
    while (lecteur.suivante(l))
      if (!f(i++, l)) return true;
    return lecteur.ouvert() && !lecteur.erreur() && lecteur.octets_lus() >= taille;
  }
};

// Reads a whole file once: the first lines, the count, the last non-blank line.
FichierCharge lire_fichier_charge(const std::string& chemin, NettoyageLignes nettoyage);
// Reads only the first lines and the last non-blank line of a big file (not
// complet); a small file, or one whose last non-blank line is among its
// first lines, is read whole.
FichierCharge lire_debut_et_fin(const std::string& chemin, NettoyageLignes nettoyage,
                                std::size_t taille_bloc);

// Copies a file replacing every byte equal to one value by another. A missing
// source shows "fichier inexistant\n" + path and writes an empty destination;
// an empty one logs "fichier VIDE => " + path.
void copier_en_remplacant(const std::string& source, char ancien, const std::string& destination,
                          char nouveau, Interaction& port, JournalSuivi& journal);

// Temporary files of the workbook and clipboard sources, in the program directory.
inline constexpr const char* kFichierTemporaireExcel = "~tmp_xls.csv";
inline constexpr const char* kFichierPressePapier = "~presse-papier.ppp";

// How a data file is loaded, from the description and the data source.
struct ReglesChargement {
  bool tabulation = false;            // tab-separated files: tabulations read as ";"
  bool car_null = false;              // unreadable characters handled: NUL bytes read as "_"
  std::string num_ligne_donnee;       // the first data line, as typed
  bool presse_papier = false;         // the clipboard source: its capture must exist
  std::string fichier_presse_papier;  // where the clipboard capture is
  bool reutilisable = false;          // a file of a data folder: loaded again only when changed
  // A file of a data folder: read through its Windows-1252 copy, made in
  // `repertoire_temporaire`, when it is UTF-16, UTF-8 or a Solinst .xle export.
  bool convertir = false;
  std::string repertoire_temporaire;
  bool masque_ppp = false;      // the mask is "ppp": a text too short is the clipboard's
  std::size_t taille_bloc = 0;  // bytes per block read (0: the usual size)
};

// Loads one data file into `fichier` (Memo1) and previews it into `apercu`
// (Memo6). False ends the caller's work: the clipboard capture is missing or
// holds too few lines (after a message). A file that needs converting is read
// through its converted copy; a .xle export that cannot be converted is said
// and loads as no line, a text whose copy cannot be written is read as it is.
// With `debut_et_fin`, a big file of which the caller reads every line
// itself may be loaded without being counted (see lire_debut_et_fin).
bool charger_fichier_donnees(FichierCharge& fichier, std::vector<std::string>& apercu,
                             const std::string& chemin, const ReglesChargement& regles,
                             bool debut_et_fin, Interaction& port, JournalSuivi& journal);

// The first lines of the loaded file as shown to the user.
void apercu_fichier(const FichierCharge& fichier, std::vector<std::string>& apercu);

}  // namespace tamso
