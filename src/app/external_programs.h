// The programs the system starts: the text editor that shows files, the
// viewers of the user manual and the operating system's power-off. Each is a
// program and an argument list, never a command line handed to a shell.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tamso {

struct CommandeExterne {
  std::string programme;
  std::vector<std::string> arguments;
  // Folder the program starts in; empty: wherever the caller is.
  std::string repertoire_travail{};
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

// ---- the maker's web page ("mise à jour") ----

inline constexpr const char* kAdressePageWeb = "https://tamso.example.org/";

// ---- the user manual ----

// The manual: a PDF file beside the program.
inline constexpr const char* kNomManuel = "tamso_manuel.pdf";
// A portable PDF viewer that is used first when it is installed there.
inline constexpr const char* kLecteurPdfFixe = "C:\\LOGICIELS\\PDFX_Vwr_Port\\PDFXCview.exe";

// The ways to show the manual at `chemin`, to try in order until one starts.
// A command without a program stands for the desktop's own document viewer
// opening the file of its one argument. On Windows: the fixed viewer when
// `existe` finds it (the manual's name, started in the manual's folder), the
// desktop's viewer, "Acrobat.exe" with the manual, then "firefox.exe" with the
// manual's name, blanks written "%20", started in "file:///" + the manual's
// folder. Elsewhere: the desktop's viewer.
std::vector<CommandeExterne> ouvertures_manuel(
    const std::string& chemin, bool windows, const std::function<bool(const std::string&)>& existe);

// "<" + path + "> introuvable": the manual is not there.
std::string message_manuel_introuvable(const std::string& chemin);
// When none of the ways could start: "Firefox et Acrobat introuvables" on
// Windows; elsewhere a message naming the manual.
std::string message_sans_lecteur_pdf(const std::string& chemin, bool windows);

// True when the program is built for Windows.
#ifdef _WIN32
inline constexpr bool kSurWindows = true;
#else
inline constexpr bool kSurWindows = false;
#endif

// The power-off commands to try in order, each with a one-minute warning
// where the platform has one.
std::vector<CommandeExterne> commandes_extinction();

inline constexpr const char* kMessageExtinction = "L'ordinateur va s'arrêter dans une minute...";

}  // namespace tamso
