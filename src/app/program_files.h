// The files beside the program: the parameters file (last description,
// window colours, colour scheme), the period file and the recent directories.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>

namespace tamso {

class Session;
struct Couleur;

// Default window colours, in the order of lines 2 to 5 of the parameters file.
const std::array<Couleur, 4>& couleurs_par_defaut();
// "r,g,b"; a text without exactly two "," gives the default.
Couleur couleur_depuis_texte(const std::string& texte, const Couleur& defaut);
std::string couleur_en_texte(const Couleur& c);

// Lines 2 to 5 of the parameters file into the session's colours.
void lire_couleurs(Session& s);
// Line 6: an empty line or "0" gives 0, anything else 1.
int lire_schema_couleurs(const Session& s);
// Line 1: the last description's path.
std::string lire_derniere_description(const Session& s);

// Writes several lines of a numbered-line file at once (60 lines after the write).
bool ecrire_lignes_numerotees(const std::string& chemin, const std::map<int, std::string>& lignes);

// Shows "Impossible de créer le fichier <path>" when a write failed; returns ok.
bool signaler_si_echec(Session& s, bool ok, const std::string& chemin);

// The parameters-file update made when a modified description is written:
// line 1 the description path, lines 2 to 5 the colours when the scheme is
// "couleurs", line 6 the scheme.
bool mettre_a_jour_parametres(Session& s);
// Rewrites the parameters file with the single line description directory + name.
bool reecrire_parametres(Session& s);

// Where the graph window was left, kept between two openings in the file
// "fenetre_graphiques.txt" of the program directory, one line
// "x,y,width,height,maximised" (maximised 0 or 1; x and y may be negative on
// a screen left of or above the main one).
inline constexpr const char* kNomFichierFenetreGraphiques = "fenetre_graphiques.txt";
struct GeometrieFenetre {
  int x = 0, y = 0, largeur = 0, hauteur = 0;
  bool agrandie = false;
  bool operator==(const GeometrieFenetre&) const = default;
};
// Nothing when the file is missing, its line does not hold five whole
// numbers or the size is below 100 by 100 pixels.
std::optional<GeometrieFenetre> lire_geometrie_graphiques(const Session& s);
bool ecrire_geometrie_graphiques(const Session& s, const GeometrieFenetre& g);

// Adds the three current directories to the recent list (placeholders and
// entries already there are not added), keeps it sorted and saves it.
void ajouter_repertoires_recents(Session& s);
// Loads the recent list from its file when it exists; when the file is
// missing or the list is empty, the current directories are added.
void charger_repertoires_recents(Session& s);

}  // namespace tamso

namespace tamso {

// The directory checks made after a description is read: when the data
// directory exists but the output directory does not, the output chooser
// opens; when the data directory does not exist, the data chooser opens.
void verifier_repertoires(Session& s);

}  // namespace tamso
