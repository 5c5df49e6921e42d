// The file table: one title row and 16 columns addressed by their titles,
// one row per listed data file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamso {

class Interaction;

class TableFichiers {
 public:
  static constexpr int kNbColonnes = 16;
  // The 16 titles, in column order.
  static const std::vector<std::string>& titres();
  static const std::vector<int>& largeurs();

  TableFichiers() { entetes_tableau(); }

  // Clears every row and writes the title row and one empty row.
  void entetes_tableau();

  int nb_lignes() const { return static_cast<int>(cellules_.size()); }
  int nb_colonnes() const { return kNbColonnes; }
  // Cell of a column and a row (row 0 is the title row); empty outside the table.
  const std::string& cellule(int colonne, int ligne) const;
  void fixer_cellule(int colonne, int ligne, std::string texte);
  void fixer_nb_lignes(int n);

  // Index (from 0) of the column whose trimmed title equals the trimmed
  // title; the last one when several match; -1 for an empty title; -1 with
  // the message "La colonne <title> n'existe pas" when none matches.
  int position_colonne(std::string_view titre, Interaction& port) const;

 private:
  std::vector<std::vector<std::string>> cellules_;  // [row][column]
};

}  // namespace tamso
