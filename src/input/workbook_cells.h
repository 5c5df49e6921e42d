// Cells of a workbook sheet as text: numbers, dates and times written the way
// the rest of the program reads them, and the rows of the sheet's used range
// handed from a reader to whoever walks them (the range finder, the writer).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamso {

// What a cell's number format shows of its value.
enum class GenreDate { aucun, date, heure, date_heure };

// Number in its shortest exact decimal form with a point ("12.5", "0.00001",
// "-3", "1000000000000000"); an exponent only for magnitudes beyond 1e21 or
// below 1e-15.
std::string texte_nombre(double valeur);
// Reads a number as a workbook stores it ("1E-005", "45352.0138888889", "+2").
std::optional<double> lire_nombre_classeur(std::string_view texte);

// What an Excel number-format code shows ("dd/mm/yyyy hh:mm" date_heure,
// "[h]:mm:ss" heure, "0.00" aucun). Only the first section counts; quoted
// text, escaped characters and bracketed colours or locales are skipped.
GenreDate genre_format_excel(std::string_view code);
// The same for Excel's built-in formats 0 to 163 (14 a date, 22 a date and
// time, 21 a time, 2 a number...).
GenreDate genre_format_integre(int identifiant);

// A serial date-time of a workbook as text: "dd/mm/yyyy hh:mm:ss",
// "dd/mm/yyyy" or "hh:mm:ss" by the genre, to the nearest second. Serials of
// the 1900 system before 1 March 1900 carry the old leap-year error and are
// moved back a day; the 1904 system counts from 1 January 1904. Nothing when
// the value is not a date between the years 1 and 9999.
std::optional<std::string> texte_serie_date(double serie, GenreDate genre, bool base_1904);

// A date-time written "yyyy-mm-dd", "yyyy-mm-ddThh:mm:ss[.fff]" (an ISO text
// of a workbook) as a date-time value; nothing for any other text.
std::optional<double> lire_date_iso(std::string_view texte);
// A duration written "PT12H30M05S" (or "-PT..", "P1DT2H", fractional
// seconds) as a number of days; nothing for any other text.
std::optional<double> lire_duree_iso(std::string_view texte);
// A date-time value as text by the genre (aucun gives the full date and time).
std::string texte_valeur_date(double valeur, GenreDate genre);

// One cell of a row, or a run of equal cells (a repeated cell), columns from 0.
// A text the reader keeps for the whole walk (a shared string) is given by
// reference, so that a string used by many cells is never copied per use.
struct CelluleTexte {
  std::uint32_t colonne = 0;
  std::uint32_t repetition = 1;
  std::string texte{};           // UTF-8, the cell's own text
  std::string_view reference{};  // UTF-8, a text held by the reader, when not empty
  std::string_view valeur() const {
    return reference.empty() ? std::string_view(texte) : reference;
  }
};

// The rows of a sheet in increasing order; a row may stand for several equal
// rows. The cells of a row are sorted by column and do not overlap.
class VisiteurLignes {
 public:
  virtual ~VisiteurLignes() = default;
  // False stops the walk (the visitor keeps the reason).
  virtual bool ligne(std::uint32_t numero, std::uint32_t repetition,
                     const std::vector<CelluleTexte>& cellules) = 0;
};

// Bounds of the used range: the cells whose text is not empty; with them the
// count of those cells and of the bytes of their texts (repeated cells and
// rows counted as often as they stand; both saturate rather than overflow).
struct Plage {
  bool vide = true;
  std::uint32_t ligne_min = 0, ligne_max = 0;
  std::uint32_t colonne_min = 0, colonne_max = 0;
  std::uint64_t nb_cellules = 0;
  std::uint64_t octets_cellules = 0;
};

class ChercheurPlage : public VisiteurLignes {
 public:
  bool ligne(std::uint32_t numero, std::uint32_t repetition,
             const std::vector<CelluleTexte>& cellules) override;
  const Plage& plage() const { return plage_; }

 private:
  Plage plage_;
};

// Sorts the cells of a row by column; of two cells at the same column the
// later one stays.
void ranger_cellules(std::vector<CelluleTexte>& cellules);

}  // namespace tamso
