#include "input/file_table.h"

#include <utility>

#include "base/interaction.h"
#include "input/text.h"

namespace tamso {

const std::vector<std::string>& TableFichiers::titres() {
  static const std::vector<std::string> t = {
      "n",           "fichier",           "s/répertoire",
      "Station",     "date_NOM_Fichier",  "taille (Mo)",
      "date dep",    "date fin",          "n.données",
      "n.extraites", "pas moyen observé", "durée de traitement",
      "correction",  "nb Colonnes",       "n°Lig intitulés",
      " x"};
  return t;
}

void TableFichiers::entetes_tableau() {
  cellules_.assign(2, std::vector<std::string>(kNbColonnes));
  cellules_[0] = titres();
}

int TableFichiers::nb_fichiers() const {
  const int r = nb_lignes() - 1;
  if (r == 1) {
    // The one empty row of a reset table holds no file.
    bool vide = true;
    for (const auto& c : cellules_[1]) vide = vide && c.empty();
    if (vide) return 0;
  }
  return r < 0 ? 0 : r;
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

void TableFichiers::ecrire_cellule(int ligne, std::string_view titre, std::string texte,
                                   Interaction& port) {
  const int c = position_colonne(titre, port);
  if (c >= 0) fixer_cellule(c, ligne, std::move(texte));
}

std::string TableFichiers::lire_cellule(int ligne, std::string_view titre,
                                        Interaction& port) const {
  return cellule(position_colonne(titre, port), ligne);
}

void TableFichiers::marquer(int ligne, bool oui) {
  if (ligne >= 1 && ligne < nb_lignes()) fixer_cellule(kColonneMarque, ligne, oui ? "x" : "");
}

bool TableFichiers::une_ligne_marquee() const {
  for (int r = 1; r < nb_lignes(); ++r)
    if (est_marquee(r)) return true;
  return false;
}

std::vector<std::string> TableFichiers::fichiers_marques() const {
  std::vector<std::string> noms;
  for (int r = 1; r < nb_lignes(); ++r)
    if (est_marquee(r)) noms.push_back(cellule(1, r));
  return noms;
}

bool TableFichiers::supprimer_lignes(int premiere, int derniere) {
  if (premiere < 0 || premiere > derniere || derniere >= nb_lignes()) return false;
  cellules_.erase(cellules_.begin() + premiere, cellules_.begin() + derniere + 1);
  if (cellules_.empty()) cellules_.emplace_back(kNbColonnes);
  return true;
}

void TableFichiers::echanger_lignes(int a, int b) {
  if (a < 0 || b < 0 || a >= nb_lignes() || b >= nb_lignes()) return;
  std::swap(cellules_[static_cast<std::size_t>(a)], cellules_[static_cast<std::size_t>(b)]);
}

void TableFichiers::trier_tableau(CleTri cle, int colonne, bool croissant) {
  const int n = nb_lignes() - 1;
  const auto avant = [&](int a, int b) {  // row a must come after row b
    const std::string& x = cellule(colonne, a);
    const std::string& y = cellule(colonne, b);
    if (cle == CleTri::numerique) {
      // Counts are shown in groups of three digits ("1 234"): blanks do not count.
      const double vx = texte_en_reel(supprimer_caractere(' ', x));
      const double vy = texte_en_reel(supprimer_caractere(' ', y));
      return croissant ? vx > vy : vx < vy;
    }
    return croissant ? x > y : x < y;
  };
  for (int ecart = n / 2; ecart >= 1; ecart /= 2) {
    bool echange = true;
    while (echange) {
      echange = false;
      for (int i = 1; i <= n - ecart; ++i)
        if (avant(i, i + ecart)) {
          echanger_lignes(i, i + ecart);
          echange = true;
        }
    }
  }
}

}  // namespace tamso
