// Dates and station names read from the syllables of data-file names.
#pragma once

#include <string>
#include <string_view>

#include "input/dates.h"

namespace tamso {

class JournalSuivi;

// The file name prepared for syllable cutting: extension removed, "-" read as
// "_" when the name has no "_", spaces, "," and ";" read as "_".
std::string nom_fichier_simplifie(std::string_view nom_fichier);

// Reads the date of a file name under a rule such as "aaaammjj,3",
// "aaaa_mm_jj,3", "2,3,4", "(20)4,3,2", "20aammjj" or
// "3(xxxx),/,3(0000xx),/,3(000000xx)". On success the text is "aaaa/mm/jj"
// and the value the date (1.0 for a date that does not exist, such as
// 31 February). When the rule or the name gives nothing the text is empty
// and the value is the clock's current date-time; when the date read breaks
// the field rules the text is empty, the value is left as it was and the
// tracking log says why.
void date_nom_fichier(std::string_view nom_fichier, std::string_view regle, double& valeur,
                      std::string& texte, JournalSuivi& journal, const Horloge& horloge = {});

// Builds a text from the syllables of a file name (cut on "_", space, "-",
// ",", ";" and "."): each comma item of the rule is a syllable number, a
// syllable number with a mask ("3(0000xx)" keeps the characters under the
// "x"), or a literal ("E" or a quoted space for a space). A rule without a
// comma that is neither a number nor a masked syllable is a fixed text.
// "2,Baro?" gives syllable 2, followed by "-Baro" when the name contains the
// tag Baro in any case.
std::string extraire_paquets(std::string_view nom_fichier, std::string_view regle);

}  // namespace tamso
