// From the start of the program to its end: the argument naming a DSC file,
// the start-up sequence that brings back the last period and description,
// the rules of the directory chooser and of the recent directories, and
// leaving the program with the removal of the temporary files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/interaction.h"

namespace tamso {

class Session;

// The DSC path named by the program's arguments: the arguments joined by a
// blank (an unquoted path holding blanks arrives in pieces), a surrounding
// pair of double quotes removed, leading and trailing blanks removed.
std::string argument_description(const std::vector<std::string>& arguments);

// The tracking-log line naming the build.
std::string ligne_version();

// The start-up sequence, run once at the first showing of the main window:
// the period file, the colours, the last description (or the argument, which
// is opened without asking), the directory checks and the tracking-log
// banner. True when a description was read.
bool sequence_demarrage(Session& s, const std::string& argument);

// Leaving the program: the clipboard-description question, "Quitter  ?",
// the saves and the removal of the temporary files. `enregistrer_resultats`
// is the results save run when the description was modified (the
// description alone is written when it is empty). False: stay.
bool quitter_programme(Session& s, const std::function<void(Session&)>& enregistrer_resultats = {});

// Deletes those of the temporary files of the program directory that exist.
void supprimer_fichiers_temporaires(const Session& s);
// Their names.
const std::vector<std::string>& fichiers_temporaires();

// ---- directory chooser ----

// Caption of a chooser button ("Répertoire des données", ...).
std::string legende_choix_repertoire(Repertoire quel);
// The directory the chooser starts in, after the questions and messages
// about a missing directory (the output directory proposes to create
// "EXPORT" in the data directory).
std::string repertoire_depart_choix(Session& s, Repertoire quel);
// Right after the data-directory chooser opens on a folder: counts the data
// files matching the mask; when none does, proposes the extension of the
// folder's first file as the new mask and offers to show a data file.
void proposer_masque(Session& s, const std::string& dossier);
// "Valider": the recent list gets the current three directories, the chosen
// directory is taken; for the data directory the files are counted and
// listed; the description is written.
void valider_choix_repertoire(Session& s, Repertoire quel, const std::string& dossier);

enum class IssueRecent { rien, choisi, liste_effacee };
// A double click on an entry of the recent list ("1- /path/").
IssueRecent choisir_repertoire_recent(Session& s, Repertoire actif, const std::string& entree);

}  // namespace tamso
