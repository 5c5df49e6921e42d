#include "results/file_table.h"

#include "core/interaction.h"
#include "input/text.h"

namespace tamso {

const std::vector<std::string>& TableFichiers::titres() {
  static const std::vector<std::string> t = {
      "n",          "fichier",     "s/répertoire",      "Station",
      "date_NOM_Fichier", "taille (Mo)", "date dep",   "date fin",
      "n.données",  "n.extraites", "pas moyen observé", "durée de traitement",
      "correction", "nb Colonnes", "n°Lig intitulés",   " x"};
  return t;
}

const std::vector<int>& TableFichiers::largeurs() {
  static const std::vector<int> l = {44, 200, 80, 70, 100, 50, 120, 120,
                                     70, 70,  100, 100, 100, 80, 80, 20};
  return l;
}

void TableFichiers::entetes_tableau() {
  cellules_.assign(2, std::vector<std::string>(kNbColonnes));
  cellules_[0] = titres();
}

const std::string& TableFichiers::cellule(int colonne, int ligne) const {
  static const std::string vide;
  if (ligne < 0 || ligne >= nb_lignes() || colonne < 0 || colonne >= kNbColonnes) return vide;
  return cellules_[static_cast<std::size_t>(ligne)][static_cast<std::size_t>(colonne)];
}

void TableFichiers::fixer_cellule(int colonne, int ligne, std::string texte) {
  if (ligne < 0 || colonne < 0 || colonne >= kNbColonnes) return;
  if (ligne >= nb_lignes()) fixer_nb_lignes(ligne + 1);
  cellules_[static_cast<std::size_t>(ligne)][static_cast<std::size_t>(colonne)] = std::move(texte);
}

void TableFichiers::fixer_nb_lignes(int n) {
  if (n < 1) n = 1;
  cellules_.resize(static_cast<std::size_t>(n), std::vector<std::string>(kNbColonnes));
}

int TableFichiers::position_colonne(std::string_view titre, Interaction& port) const {
  const std::string_view cherche = trim_vue(titre);
  if (cherche.empty()) return -1;
  int trouve = -1;
  for (int c = 0; c < kNbColonnes; ++c)
    if (trim_vue(cellule(c, 0)) == cherche) trouve = c;
  if (trouve < 0)
    port.informer(TypeMessage::information, "La colonne <" + std::string(titre) + "> n'existe pas");
  return trouve;
}

}  // namespace tamso
