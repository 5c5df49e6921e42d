// The file table: one title row and 16 columns addressed by their titles,
// one row per listed data file; marks, sort and row deletion.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamso {

class Interaction;

// Kind of key of a sort.
enum class CleTri { texte, numerique };

class TableFichiers {
 public:
  static constexpr int kNbColonnes = 16;
  static constexpr int kColonneFichier = 1;
  static constexpr int kColonneMarque = 15;
  // The 16 titles, in column order.
  static const std::vector<std::string>& titres();

  TableFichiers() { entetes_tableau(); }

  // Clears every row and writes the title row and one empty row.
  void entetes_tableau();

  // Rows, the title row included.
  int nb_lignes() const { return static_cast<int>(cellules_.size()); }
  int nb_colonnes() const { return kNbColonnes; }
  // Rows holding a file (the row count minus the title row; 0 when row 1 is
  // the empty row left by a reset).
  int nb_fichiers() const;
  // Cell of a column and a row (row 0 is the title row); empty outside the table.
  const std::string& cellule(int colonne, int ligne) const;
  void fixer_cellule(int colonne, int ligne, std::string texte);
  void fixer_nb_lignes(int n);

  // Index (from 0) of the column whose trimmed title equals the trimmed
  // title; the last one when several match; -1 for an empty title; -1 with
  // the message "La colonne <title> n'existe pas" when none matches.
  int position_colonne(std::string_view titre, Interaction& port) const;
  // The cell of a row in the column with that title.
  void ecrire_cellule(int ligne, std::string_view titre, std::string texte, Interaction& port);
  std::string lire_cellule(int ligne, std::string_view titre, Interaction& port) const;

  // ---- marks ----
  bool est_marquee(int ligne) const { return cellule(kColonneMarque, ligne) == "x"; }
  void marquer(int ligne, bool oui);
  bool une_ligne_marquee() const;
  // The file names (column 1) of the marked rows, in table order.
  std::vector<std::string> fichiers_marques() const;

  // ---- rows ----
  // Deletes rows first..last; false when the range is not within the table
  // ("Invalid row range"), nothing changed then.
  bool supprimer_lignes(int premiere, int derniere);
  void echanger_lignes(int a, int b);
  // Shell sort of the file rows by one column.
  void trier_tableau(CleTri cle, int colonne, bool croissant);

  // Set by every row deletion; while set a listing keeps the table.
  bool liste_partielle = false;
  // Direction of the next sort by double click; flips after every sort.
  bool tri_croissant = true;

 private:
  std::vector<std::vector<std::string>> cellules_;  // [row][column]
};

}  // namespace tamso
