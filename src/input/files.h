// Files: reading and writing text files (Windows-1252, CR LF), numbered-line
// files, the program directory and the search for data files.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_lines.h"

namespace tamso {

class Interaction;

#ifdef _WIN32
inline constexpr char kSeparateurChemin = '\\';
#else
inline constexpr char kSeparateurChemin = '/';
#endif

// The directory with a final separator added when it ends with neither "/"
// nor "\" (an empty text stays empty).
std::string avec_barre_finale(std::string_view repertoire);
bool finit_par_separateur(std::string_view chemin);

// The per-user application data directory, with a final separator; the
// environment variable TAMSO_HOME overrides it. Created when missing.
std::string repertoire_programme();
// Program base name: the parameters file is base + ".prm", the period file base + ".2dt".
inline constexpr const char* kNomBaseProgramme = "tamso";

bool fichier_existe(const std::string& chemin);
// Removes a file when it exists; nothing is said when it cannot be.
void supprimer_fichier(const std::string& chemin);
bool repertoire_existe(const std::string& chemin);
// Size in bytes; 0 when the file cannot be read.
std::uintmax_t taille_fichier(const std::string& chemin);
// Directory part of a path, with its final separator ("" when none).
std::string repertoire_de(std::string_view chemin);
// File name part of a path.
std::string nom_de_fichier(std::string_view chemin);

// Splits text into lines ending at CR, LF or the pair.
std::vector<std::string> decouper_lignes(std::string_view texte);

// Reads a Windows-1252 text file as UTF-8 lines; nothing when it cannot be read.
std::optional<std::vector<std::string>> lire_lignes_texte(const std::string& chemin);

// A file written as Windows-1252 lines ended by CR LF under a temporary name
// beside its target ("<target>.~<pid>.tmp"), then put in its place: an
// interrupted write never leaves a truncated file, and files written together
// can all be written before any takes its name. The temporary is created
// new (never through a link planted at its name) and synced to the disk
// before it is renamed; the folder is synced after. A temporary not put in
// place is removed.
class FichierEnAttente {
 public:
  FichierEnAttente() = default;
  FichierEnAttente(const FichierEnAttente&) = delete;
  FichierEnAttente& operator=(const FichierEnAttente&) = delete;
  ~FichierEnAttente() { abandonner(); }

  bool ecrire(const std::string& chemin, const std::vector<std::string>& lignes);
  // `vivre`, when given, is called after each megabyte written.
  bool ecrire(const std::string& chemin, const LignesTexte& lignes,
              const std::function<void()>& vivre = {});
  // The bytes as they are (a UTF-8 document for scripts), under the same rules.
  bool ecrire_octets(const std::string& chemin, std::string_view octets);
  // Renames the temporary over the target.
  bool mettre_en_place();
  void abandonner();
  // Why the last step failed, in words ("disque plein", "permission refusée").
  const std::string& raison() const { return raison_; }

 private:
  template <class Lignes>
  bool ecrire_lignes(const std::string& chemin, const Lignes& lignes,
                     const std::function<void()>& vivre = {});
  // The temporary created new beside `chemin` (its descriptor, -1 on failure);
  // then synced and closed, removed when something failed.
  int creer_temporaire(const std::string& chemin);
  bool fermer_temporaire(int fd, bool ok);
  std::string chemin_, temporaire_, raison_;
};

// Both steps at once. False when the file cannot be written, with the reason
// in `raison` when given.
bool ecrire_lignes_texte(const std::string& chemin, const std::vector<std::string>& lignes,
                         std::string* raison = nullptr);
bool ecrire_lignes_texte(const std::string& chemin, const LignesTexte& lignes,
                         std::string* raison = nullptr);

// Why a path cannot be read as a file, in words ("introuvable", "est un
// répertoire", "n'est pas un fichier ordinaire (tube nommé, périphérique)");
// empty when it is a regular file.
std::string defaut_de_fichier(const std::string& chemin);

// A file or folder name as a line of text shows it: tabulations, line feeds
// and carriage returns written \t, \n, \r, other control characters "?".
std::string nom_lisible(std::string_view nom);

// A system error in words a user reads ("disque plein", "nom de fichier trop long").
std::string raison_erreur_systeme(int erreur);

// Removes the temporaries that runs of this program killed before the end
// left in a folder ("*.~<pid>.tmp", "~converti_<pid>_<k>.txt" and the
// folders "~lot_<pid>" whose program is gone). The count removed.
int supprimer_temporaires_orphelins(const std::string& dossier);

// The folder of a batch run's temporaries, "~lot_<pid>" in `dossier`,
// created for this process (with a final separator); empty when it cannot
// be. `supprimer_temporaires_orphelins` removes it, with its content, once
// its process has ended.
std::string creer_dossier_temporaire_processus(const std::string& dossier);

// Claims a name for a file to be written: creates it, empty, only when
// nothing exists under that name, in one step, so that two programs naming
// their files at the same time never take the same name.
enum class Reservation { reserve, existe, echec };
Reservation reserver_fichier(const std::string& chemin);

// Line k (from 1) of a text file; empty when the file or the line is missing.
std::string lire_ligne_fichier(const std::string& chemin, int k);

// Largest line number of a numbered-line file.
inline constexpr int kMaxParametre = 60;

// Stores the text as line k of a numbered-line file of 60 lines. A k above 60
// is refused with a message and nothing is written. False when not written.
bool ecrire_ligne_parametre(const std::string& texte, const std::string& chemin, int k,
                            Interaction& port);

// Creates or overwrites the file with that single line.
bool ecrire_fichier_une_ligne(const std::string& texte, const std::string& chemin);

// Saves and loads the lines of a multi-line text area.
bool enregistrer_lignes(const std::vector<std::string>& zone, const std::string& chemin);
std::vector<std::string> charger_lignes(const std::string& chemin);

// One data file found by the search.
struct FichierTrouve {
  std::string sous_repertoire;  // "" or "sub/dir/" below the searched directory
  std::string nom;
  std::uintmax_t taille = 0;  // bytes
};

// Wanted extension of a mask: "csv", "*.csv" and ".CSV" all give ".CSV";
// ".*" means every file.
std::string extension_du_masque(std::string_view masque);

// Searches the directory for the files matching the mask (recursively when
// asked; hidden directories and links to directories are not entered; names
// holding "~" are skipped). Only regular files, or links to them, are listed.
// Fills the list and the first name; returns the count. Entries of each
// directory come in name order, so results never depend on the file system.
int lister_fichiers(const std::string& repertoire, std::string_view masque, bool recursif,
                    std::string& premier_nom, std::vector<FichierTrouve>& liste);

}  // namespace tamso
