// The measurement date-time reader: formats made of the codes aaaa, aa, mm,
// jj, hh, mn, ss read by position, and the multiformat reader.
#pragma once

#include <string>
#include <string_view>

#include "input/date_fields.h"
#include "input/dates.h"

namespace tamso {

class JournalSuivi;

// State shared by every reading of measurement dates, owned by the session.
struct EtatLecteurDates {
  std::string format_memorise;  // normalised format, kept from the first date read after a listing
  std::string date_fixe_du_format;  // fixed date at the head of the format ("2022_03_12_")
  ReglesHeure regles;               // 12-hour clock, offsets, zone of the dates given
  FormatParChamps par_champs;       // the format read field by field, for unpadded texts
  bool premiere_date_multiformat = false;
  double date_multiformat_precedente = 0.0;
  int nb_dates_inversees = 0;
  int nb_dates_inversees_suite = 0;
  // Lines " + erreur date : " still to be written to the log; -1: all of them.
  int erreurs_a_journaliser = -1;
  // Gives today's date for formats that carry only a time; maintenant() when empty.
  Horloge horloge;
  // Working copies of the current line's text and format, reused from line to line.
  std::string tampon_texte;
  std::string tampon_format;
};

// A listing starts: the format is normalised again at the next date read and
// the first multiformat date gets the variant's first-date reading.
void preparer_lecteur_dates_listage(EtatLecteurDates& etat);
// A processing run starts: no first-date reading, inversion counters at 0.
void preparer_lecteur_dates_traitement(EtatLecteurDates& etat);

// Normalises a format: the words "AM", "PM", "zz" and "UTC+hh:mn" go to the
// rules of the hour; every other character than a digit or one of
// "a h j m n s" becomes "_"; a fixed date at its head ("2022/03/12 hh:mn:ss")
// goes to date_fixe_du_format and the format becomes the matching full
// date-time format. The result is stored in format_memorise, and the same
// format cut into fields in par_champs.
void memoriser_format(std::string_view format, EtatLecteurDates& etat);

// Reads the date-time field of a line (or the date field, a space and the
// time field) under its format and gives "jj/mm/aaaa hh:mn:ss". The text is
// read by position first; a text that is not zero-padded ("1/3/2021 7:5:00")
// is then read field by field. An AM or PM mark after the time is applied,
// the hour 24 is midnight at the end of the day, and under a format with
// "zz" the offset that ends the text is taken away (then the zone of the
// format's "UTC+hh:mn" added). Sentinels: "??" for an empty text, "" for an
// unreadable text or broken field rules (with a " + erreur date : " line);
// "01/01/1900 00:00:00" for a format without a year code. A format
// containing "multiformat" or "OU" goes to date_multiformat. The format is
// normalised at the first call after a listing and kept as is until the next
// one.
std::string normaliser_date_mesure(std::string_view texte, std::string_view format,
                                   EtatLecteurDates& etat, JournalSuivi& journal);

// True when the text holds an AM or PM mark of a 12-hour clock ("AM", "pm",
// "a.m.", "P.M."), a word of its own.
bool marque_douze_heures(std::string_view texte);

// Variants of the multiformat reader, chosen by the words of the format.
enum class VarianteMultiformat {
  jour_d_abord = 0,
  us = 1,
  jj_mm_aaaa = 2,
  proche_ue = 3,
  proche_us = 4
};
VarianteMultiformat variante_multiformat(std::string_view format);

// Reads a date written year first (yyyy/mm/dd, yyyy-mm-ddThh:mn) or year last
// (the day/month order following the variant) with an optional hh:mn[:ss].
// A text with no four-digit year at its head or after two fields gives
// "02/01/1900" with the time; a year-last text that no reading of the variant
// makes a date gives the empty text.
std::string date_multiformat(std::string_view texte, std::string_view format,
                             EtatLecteurDates& etat);

}  // namespace tamso
