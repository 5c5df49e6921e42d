// The session: the state the main window holds, shared by the desktop
// program and the batch tool. Every rule lives in the core and works on it;
// every question and message goes through the interaction port.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "base/interaction.h"
#include "base/progress.h"
#include "base/tracking_log.h"
#include "description/data_source.h"
#include "description/description.h"
#include "input/date_format.h"
#include "input/file_table.h"
#include "input/files.h"
#include "input/listing_state.h"
#include "input/loader.h"
#include "processing/engine.h"
#include "processing/period.h"
#include "processing/result_grid.h"
#include "processing/timestamp_list.h"
#include "results/results_state.h"

namespace tamso {

// A window colour.
struct Couleur {
  int rouge = 0, vert = 0, bleu = 0;
  bool operator==(const Couleur&) const = default;
};

struct OptionsSession {
  // The computer's decimal separator ("," on French settings).
  char separateur_decimal = ',';
  // Program directory; empty means the per-user application data directory.
  std::string repertoire_programme;
  // Folder of the program's own files (the user manual), where the program
  // itself is; empty means the program directory.
  std::string repertoire_installation{};
  // Folder of the temporary files ("~tmp_xls.csv", "~tmp.txt", converted
  // copies of data files); empty means the program directory. The batch
  // program gives each of its runs a folder of its own.
  std::string repertoire_temporaire{};
};

inline constexpr const char* kDescriptionAucune = "fichier de description de données";
inline constexpr const char* kDescriptionAucuneBarre = "\\fichier de description de données";
inline constexpr const char* kEtiquetteRepDonnees = "répertoire données";
inline constexpr const char* kEtiquetteRepDescription = "répertoire description";
inline constexpr const char* kEtiquetteRepSortie = "répertoire de sortie";
inline constexpr const char* kNomFichierRecents = "nom_fic_rep_recents.txt";

// "T a m s o  -  " + subtitle + " v" + the version ("7.43").
std::string titre_programme();

class Session : public Avancement {
 public:
  Session(Interaction& port, OptionsSession options = {});

  Interaction& port() { return *port_; }
  const std::string& repertoire_programme() const { return rep_programme_; }
  const std::string& repertoire_temporaire() const { return rep_temporaire_; }
  char separateur_decimal() const { return separateur_decimal_; }

  // ---- paths of the files beside the program ----
  std::string chemin_parametres() const;  // base + ".prm"
  std::string chemin_periode() const;     // base + ".2dt"
  std::string chemin_recents() const;     // "nom_fic_rep_recents.txt"
  // The answers given about editors that descriptions named.
  std::string chemin_programmes_autorises() const;
  // The user manual, in the folder of the program's own files.
  std::string chemin_manuel() const;

  // ---- progress ----
  // Progress of a stage (1 listing, 2 timestamp list, 3 processing, 0 none):
  // the phase's duration and the durations line (Label6) follow, then the
  // port shows the text.
  void progression(const std::string& texte, int phase) override;
  // Starts the clock of a phase; the listing's start resets the three durations.
  void demarrer_phase(int phase) override;
  std::array<double, 4> debuts_phases{};

  // ---- tracking log ----
  void ajouter_ligne_suivi(const std::string& ligne) { journal.ajouter_ligne_suivi(ligne); }

  // ---- labels of the working directories (placeholder when none chosen) ----
  std::string etiquette_repertoire(Repertoire quel) const;
  // True when the description names no file (empty or a placeholder).
  bool sans_nom_description() const;
  // Path of the DSC file: description directory + name with its extension
  // replaced by ".DSC".
  std::string chemin_dsc() const;

  // Caption of the listing button, following the source mode.
  std::string legende_bouton_lister() const;
  // Counts the data files of the data directory matching the mask.
  int compter_fichiers_donnees();
  // The same, shown: the count in `Label54`, the first file's name in
  // `Label_fic`.
  int compter_et_montrer_fichiers();

  // ---- state ----
  Description description;
  std::string nom_description = kDescriptionAucune;  // Label_description_bd
  // The editor setting the user typed in this session (not one a description
  // file brought): it is started without asking.
  std::string editeur_saisi;
  bool description_modifiee = false;
  Periode periode;
  bool periode_modifiee = false;
  // Whole days added to the time shift (SpinEdit_decalage_jour, 0 to 400);
  // not kept in any file.
  int decalage_jours = 0;
  ListeHorodatee liste_horodatee;  // ListBox_date_clean
  // The last run: its grid and its facts.
  GrilleResultats grille;
  EtatTraitement etat_traitement;
  EtatResultats resultats;
  JournalSuivi journal;
  TableFichiers table;
  std::vector<std::string> fichiers_coches;  // ListBox_fic_coche
  // The sample file an inspection ends with: the listing that follows
  // pre-reads it, when no file is marked, rather than the first file.
  std::string exemple_a_prelire;
  EtatLecteurDates lecteur_dates;
  OptionsLecture lecture;
  SourceDonnees source = SourceDonnees::repertoire;
  std::string intitule_origine;  // Edit_intitule_origine
  std::array<Couleur, 4> couleurs{};
  std::vector<std::string> repertoires_recents;
  std::string legende_fenetre;
  // Texts the window shows in its labels, by control name ("Label_nb_fic", ...).
  std::map<std::string, std::string> etiquettes;
  std::string& etiquette(const std::string& nom) { return etiquettes[nom]; }
  // The data file last loaded (Memo1) and its preview (Memo6).
  FichierCharge fichier_charge;
  // What "~tmp_xls.csv" was converted from (workbook path, size, time and
  // sheet number); empty when it was not converted by this program.
  std::string cle_feuille_convertie;
  std::vector<std::string> apercu;
  EtatListage etat_listage;
  // Stop request: set by the stop button (or the port), cleared when a stage starts.
  bool arret = false;
  bool arret_demande() override {
    if (!arret && port_->arret_demande()) arret = true;
    return arret;
  }
  void effacer_arret() override { arret = false; }
  // Data files found by the last count or listing.
  std::vector<FichierTrouve> liste_fichiers;
  std::string premier_fichier;
  int nb_fichiers = 0;

 private:
  Interaction* port_;
  std::string rep_programme_;
  std::string rep_installation_;
  std::string rep_temporaire_;
  char separateur_decimal_;
};

// A question answered Yes (the buttons Yes and No unless others are given).
bool question_oui(Session& s, const std::string& question,
                  TypeMessage type = TypeMessage::confirmation, Boutons boutons = Boutons::oui_non);
// "'<valeur>' n'est pas une valeur entière correcte": a number that does not
// read as a whole number stops the operation in progress.
void message_entier(Session& s, const std::string& valeur);

}  // namespace tamso
