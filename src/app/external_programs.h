// The programs the system starts: the text editor that shows files and the
// operating system's power-off. Each is a program and an argument list,
// never a command line handed to a shell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamso {

struct CommandeExterne {
  std::string programme;
  std::vector<std::string> arguments;
  bool operator==(const CommandeExterne&) const = default;
};

// The editor setting as used: "notepad++.exe" without "-alwaysOnTop" opens
// centred and in front ("notepad++.exe -x<w/2+100> -y<h/2+100> -alwaysOnTop").
std::string reglage_editeur_effectif(std::string_view reglage, int largeur_ecran,
                                     int hauteur_ecran);

// The editor's command for a file: the program is the setting up to its
// first " -", the arguments the file's path then the words of the parameter
// text that follows.
CommandeExterne commande_editeur(std::string_view reglage, const std::string& dossier,
                                 const std::string& fichier, int largeur_ecran, int hauteur_ecran);

// True for "notepad.exe" (any case, any folder): the platform's own text
// editor is meant.
bool est_editeur_par_defaut(std::string_view programme);

// The question asked when the editor cannot be started; a Yes makes the
// setting "notepad.exe".
std::string question_editeur_introuvable(std::string_view reglage);

// The power-off commands to try in order, each with a one-minute warning
// where the platform has one.
std::vector<CommandeExterne> commandes_extinction();

inline constexpr const char* kMessageExtinction = "L'ordinateur va s'arrêter dans une minute...";

}  // namespace tamso
