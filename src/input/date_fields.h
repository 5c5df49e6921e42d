// Measurement dates that are not zero-padded, on a 12-hour clock, with an
// hour 24 or a time-zone offset: a format read field by field, and the rules
// that turn the fields read into a date and time of day.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamso {

enum class CodeChamp : std::uint8_t {
  annee,         // "aaaa": four digits
  annee_siecle,  // "20aa": two digits after the century written in the format
  mois,          // "mm"
  jour,          // "jj"
  heure,         // "hh"
  minute,        // "mn"
  seconde,       // "ss"
  fraction,      // "s" after the seconds ("ss.s"): any number of digits, ignored
};

struct ElementChamp {
  CodeChamp code = CodeChamp::annee;
  std::uint8_t largeur = 2;  // digits when zero-padded
  char siecle[2] = {'2', '0'};
};

// Codes written side by side ("aaaammjj", "hhmn") form one group: one run of
// digits in the text.
struct GroupeChamps {
  std::array<ElementChamp, 6> elements{};
  std::uint8_t n = 0;
  int largeur() const;
};

// A normalised format ("mm_jj_aaaa_hh_mn") cut into groups at its fillers.
struct FormatParChamps {
  bool valide = false;
  std::array<GroupeChamps, 8> groupes{};
  std::uint8_t n = 0;
};

// The format read field by field; not valid when it holds something else
// than codes and fillers (a fixed date, a lone letter) or no year.
FormatParChamps format_par_champs(std::string_view format_normalise);

// A date and time as read, before its checks.
struct DateLue {
  int annee = 0, mois = 0, jour = 0, heure = 0, minute = 0, seconde = 0;
};

// Reads the runs of digits of the text in the order of the format's groups.
// A group of one code takes one or two digits (a year exactly its width); a
// group of several codes takes exactly their widths, or one digit less for a
// first code that was not padded ("730" under "hhmn"). Missing trailing
// seconds read 0; runs after the last group are ignored. False when the text
// does not fit.
bool lire_par_champs(const FormatParChamps& format, std::string_view texte, DateLue& d);

enum class MarqueHeure : std::uint8_t { aucune, am, pm };

// The AM or PM mark of a 12-hour clock written as a word of its own ("AM",
// "pm", "a.m.", "P.M.").
MarqueHeure marque_heure(std::string_view texte);

// A time-zone offset at the end of a date-time text: "Z", "UTC", "GMT", or a
// sign and hh, hhmn or hh:mn, after the time ("10:15:30+02:00",
// "20190701T1015+0200"). The text without its offset goes to `reste`.
std::optional<int> decalage_en_fin(std::string_view texte, std::string_view& reste);

// What a format says besides its codes: "AM" or "PM" (every time carries its
// mark), "zz" (every date ends with its offset) and "UTC", "UTC+01:00" (the
// zone the dates are given in; UTC when omitted).
struct ReglesHeure {
  bool douze_heures = false;
  bool zone_dans_texte = false;
  int zone_sortie_minutes = 0;
};

// Reads those words from the format as typed and gives the format without
// them (trailing spaces removed).
std::string_view regles_heure(std::string_view format, ReglesHeure& regles, std::string& reste);

// Checks the ranges of a date read and applies the 12-hour mark: AM and PM
// take hours 1 to 12 (12 AM is midnight, 12 PM noon); without a mark the
// hour is 0 to 23, or 24 with no minutes and seconds (midnight at the end of
// the day). False when a field is out of range, or the format asks for a
// mark the text does not carry.
bool verifier_date_lue(DateLue& d, MarqueHeure marque, bool douze_heures);

// True when the date needs a calendar step to be written: the hour 24, or an
// offset to take away.
inline bool date_a_deplacer(const DateLue& d, int minutes) {
  return d.heure == 24 || minutes != 0;
}

// The date moved back by a number of minutes (and the hour 24 carried to the
// next day); nothing when the date does not exist.
std::optional<DateLue> date_deplacee(const DateLue& d, int minutes);

}  // namespace tamso
