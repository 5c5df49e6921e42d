// The readers of one sheet of a workbook, one per kind of file. Each opens
// the workbook, selects the sheet and can then walk its rows as often as
// asked (once to find the used range, once to write it).
#pragma once

#include <memory>
#include <string>

#include "input/workbook_cells.h"
#include "input/workbook_zip.h"

namespace tamso {

class LecteurFeuille {
 public:
  virtual ~LecteurFeuille() = default;
  virtual const std::string& nom_feuille() const = 0;
  // One walk over the rows of the sheet, in increasing order.
  virtual ErreurClasseur parcourir(VisiteurLignes& visiteur) = 0;
};

// What opening a sheet gives: the reader, or the failure. The number of
// sheets is known whenever the workbook itself could be read.
struct OuvertureFeuille {
  std::unique_ptr<LecteurFeuille> lecteur;
  ErreurClasseur erreur;
  int nb_feuilles = 0;
};

// Sheet numbers count from 1.
OuvertureFeuille ouvrir_feuille_xlsx(const std::string& chemin, int numero,
                                     const LimitesClasseur& limites);
OuvertureFeuille ouvrir_feuille_ods(const std::string& chemin, int numero,
                                    const LimitesClasseur& limites);
OuvertureFeuille ouvrir_feuille_xls(const std::string& chemin, int numero,
                                    const LimitesClasseur& limites);

// Booleans as a French spreadsheet shows them.
inline constexpr const char* kTexteVrai = "VRAI";
inline constexpr const char* kTexteFaux = "FAUX";

}  // namespace tamso
