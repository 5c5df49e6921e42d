// The workbook source of a session: the description's sheet converted into
// "~tmp_xls.csv" in the program directory, and converted anew only when the
// workbook or the sheet changed.
#pragma once

#include <string>

namespace tamso {

class Session;

// Converts the chosen sheet of the workbook into "~tmp_xls.csv" in the program
// directory and loads it (Memo1); the sheet's name goes into
// `Label_nom_feuille`. False, after a message, when no converted file exists.
bool lire_feuille_excel(Session& s, const std::string& classeur);

// True when "~tmp_xls.csv" holds the sheet the description names as the
// workbook is now: the same workbook path, size and modification time and
// the same sheet number as at its conversion by this program.
bool feuille_convertie_a_jour(const Session& s);
// Converts the description's sheet anew unless the converted text is up to
// date. False, after a message, when no converted file exists.
bool actualiser_feuille_excel(Session& s);

}  // namespace tamso
