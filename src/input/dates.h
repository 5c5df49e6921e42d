// Date-time values and their texts. A date-time value is a double counting
// days since 30 December 1899 at midnight, the fraction being the time of
// day; 0 means no date. Texts are day first whatever the locale.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tamso {

class JournalSuivi;

struct ChampsDate {
  int annee = 1899, mois = 12, jour = 30;
  int heure = 0, minute = 0, seconde = 0;
};

// Value of a calendar date and time; nothing when the date does not exist
// (31 February) or a field is out of range (hour 25).
std::optional<double> encoder_date(int annee, int mois, int jour, int heure = 0, int minute = 0,
                                   int seconde = 0);
// Calendar fields of a value, to the nearest second.
ChampsDate decoder_date(double valeur);

// "dd/mm/yyyy hh:mm:ss" (" 00:00:00" at midnight).
std::string date_heure_en_texte(double valeur);
// "dd/mm/yyyy".
std::string date_en_texte(double valeur);
// "hh:mm:ss" of the time of day.
std::string heure_en_texte(double valeur);
// The short date, then " hh:mm:ss" when the time of day is not 00:00:00.
std::string date_heure_courte_en_texte(double valeur);

// Reads "dd/mm/yyyy hh:mm:ss", "dd/mm/yyyy" or "hh:mm:ss" strictly (day
// first, zero-padded, exactly these separators); a time alone is a time of
// day with date 0. Nothing for any other text or an impossible date.
std::optional<double> lire_date_heure(std::string_view texte);

// The current local date and time as a value.
double maintenant();

// A clock giving the current date-time; an empty clock means maintenant().
using Horloge = std::function<double()>;
double heure_courante(const Horloge& horloge);

// Weekday name ("dimanche" ... "samedi") of a value.
std::string jour_de_semaine(double valeur);

// Converts a normalised date-time text, or a date typed by a user (day first
// or year first, with or without a time) into a value; nothing when it
// cannot.
// "yyyy-mm-dd hh:mn" and "dd/mm/yyyy" are completed to "jj/mm/aaaa hh:mn:ss";
// a time alone ("hh:mn:ss") gives a time of day with date 0. The corrected
// text, when given, receives the cleaned text once it passed the field checks
// (even when it then turns out to be no real date, such as 31 February). A
// text of the right length that fails the field checks leaves a
// " * erreur date : " line in the tracking log. Allocates nothing but that
// line and the corrected text.
std::optional<double> texte_en_date(std::string_view texte, std::string* texte_corrige,
                                    JournalSuivi& journal);

}  // namespace tamso
