// The changes the main window makes to the session when the user works one
// of its controls: the new value goes into the description, the description
// is marked modified, and the reactions that go with that control follow.
// Also the text editor's launch, with its fallback to the platform's editor.
// The window only passes the control's value and shows the session again.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/external_programs.h"
#include "description/description.h"

namespace tamso {

class Session;
struct Description;

// ---- a setting changed in its control ----

// An edit box, a time picker or a date-time picker.
void modifier_reglage(Session& s, std::string Description::*champ, std::string valeur);
void modifier_reglage(Session& s, double Description::*champ, double valeur);
// A check box. "Delta(y)" and "Dérivée" exclude each other, "croissance forcée
// des cumuls" may warn; then the titles of the columns to extract are refreshed.
void cocher_reglage(Session& s, bool Description::*champ, bool coche);
// An option group. The colour scheme takes its colours; then the titles of
// the columns to extract are refreshed.
void choisir_option(Session& s, const MembreParametre& champ, int indice);
// The sign of the time shift: choosing one sign unchecks the other.
void choisir_signe_decalage(Session& s, bool positif);

// Leaving the alternative titles box, or Enter in it (entree): Enter marks
// the description modified. True when the data files are to be listed again,
// which is when the description is modified.
bool valider_intitules_alternatifs(Session& s, bool entree);
// Leaving the columns to extract, or Enter in it (entree): the list is
// checked and cleaned; on Enter the description is also marked modified and
// written.
void valider_colonnes_saisies(Session& s, const std::string& saisie, bool entree);

// ---- period ----

// The date test options: the period's effects, and the results list and the
// values-only list are emptied (the results area shows the list again).
void choisir_test_date(Session& s, int test);
// A double click on one of the clickable dates, given by its label's name
// and text: the date it offers goes into the period after the question.
// False when nothing was taken (or the label is not a clickable date).
bool recuperer_date_cliquee(Session& s, std::string_view label, const std::string& texte);

// ---- file table ----

// "réaf tableau complet": the next listing shows every file again.
void demander_tableau_complet(Session& s);

// ---- text editor ----

// Starts a program; false when it could not be started.
using LanceurProgramme = std::function<bool(const CommandeExterne&)>;

// The editor setting used when the user's editor cannot be started.
inline constexpr const char* kEditeurDeSecours = "notepad.exe";

enum class IssueEditeur {
  lance,      // the editor of the setting was started
  abandonne,  // it could not be started and the setting was kept
  remplace,   // the setting became "notepad.exe" (description modified)
  echec,      // no program could open the file (said in a message)
  refuse,     // the user did not allow the editor a description named: the
              // platform's own showed the file
};

// The question asked before starting, for the first time for this user, an
// editor that a description file named.
std::string question_editeur_de_description(const std::string& description,
                                            const std::string& reglage);

// Opens dossier + fichier in the editor of the setting through `lancer`.
// An editor a description named (not the platform's own, not one the user
// typed in this session) is started only once the user allowed it; the
// answer is kept for this user (a No opens the file with the platform's own
// way). When that editor cannot be started, asks whether to use "notepad.exe"
// instead (on Yes the setting becomes "notepad.exe" and the description is
// marked modified) and, whatever the answer, opens the file with it. The
// program "notepad.exe" stands for the platform's own way of showing a
// text file, which `lancer` substitutes; when that one fails, nothing else
// is proposed and a message names the file.
IssueEditeur editer_fichier(Session& s, const std::string& dossier, const std::string& fichier,
                            int largeur_ecran, int hauteur_ecran, const LanceurProgramme& lancer);

// " aucun programme n'a pu ouvrir le fichier <path>".
std::string message_editeur_sans_programme(const std::string& chemin);

// ---- user manual ----

// "help": when the manual is missing, says "<path> introuvable"; otherwise
// tries the ways of showing it in order through `lancer` (a command without a
// program meaning the desktop's document viewer) and says so when none starts.
// True when one started.
bool ouvrir_manuel(Session& s, const LanceurProgramme& lancer, bool windows = kSurWindows);

}  // namespace tamso
