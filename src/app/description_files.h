// The session's description file: reading and writing it, and the operations
// that open, save, save under a new name and create descriptions, and the
// summary of the DSC files of the description directory with its drive change.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "description/dsc_file.h"

namespace tamso {

class Session;
struct Description;

// Reads the current description file into the settings ("lire"). False when
// nothing was read (no name, missing file) or reading stopped at an index
// value that is not a whole number or names none of its options.
// A data folder left empty (or ".", or the default "\.") is the description
// file's own folder. A data folder given here takes the place of the one the
// file names, before the data files are counted.
bool lire_description(Session& s, const std::string& dossier_donnees = {});

enum class ModeEcriture { ecrire, creation };
// Writes the settings into the description file ("écrire", "création"), then
// the period file when the period was modified and the parameters file when
// the description was. False when the file could not be written.
bool ecrire_description(Session& s, ModeEcriture mode = ModeEcriture::ecrire);

// The name proposed for a new description file, from the current name, the
// mask and the column separator ("station1_(__csv ;).dsc").
std::string nom_description_propose(const Session& s);

// "patientez..." (Label_patientez) shown while a description is read: from
// the making of the object to its end.
class AttenteLecture {
 public:
  explicit AttenteLecture(Session& s);
  ~AttenteLecture();
  AttenteLecture(const AttenteLecture&) = delete;
  AttenteLecture& operator=(const AttenteLecture&) = delete;

 private:
  Session& s_;
};

// "Choix du fichier de description  *.dsc".
void ouvrir_description(Session& s);
// "Enregistrer".
void enregistrer_description(Session& s);
// "Enregistrer sous ..."; depuis_nouveau when called by "Nouveau".
bool enregistrer_description_sous(Session& s, bool depuis_nouveau = false);
// "Nouveau".
void nouvelle_description(Session& s);

// The description summary panel: the DSC files of the description directory
// and the directories each one names.
struct ResumeDsc {
  // The drive box: a drive letter ("D" or "D:"). On systems without drive
  // letters it holds the path prefix that replaces `prefixe_ancien`.
  std::string lecteur;
  std::string prefixe_ancien;
  std::vector<std::string> chemins;  // ListBox_CheminsFichiers
  std::vector<std::string> texte;    // the text area
};

// "Résumé des DSC": lists the DSC files and runs the directory pass without
// modification. False when no description directory has been chosen.
bool resume_dsc(Session& s, ResumeDsc& r);
// The directory pass over the listed files, with or without modification.
// False when a file could not be read or written (the pass stops there).
bool passe_repertoires(Session& s, ResumeDsc& r, bool modifier);
// "Modifier": asks for confirmation, then runs the pass with modification.
bool changer_lecteur(Session& s, ResumeDsc& r);
// The drive a pass uses: an empty box (or ":") means the program's own
// drive; a single letter gets ":" appended.
std::string lecteur_de_passe(const Session& s, std::string_view boite);
}  // namespace tamso
