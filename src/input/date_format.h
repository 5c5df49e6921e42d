// The measurement date-time reader: formats made of the codes aaaa, aa, mm,
// jj, hh, mn, ss read by position.
#pragma once

#include <string>

namespace tamso {

// State shared by every reading of measurement dates, owned by the session.
struct EtatLecteurDates {
  std::string format_memorise;      // normalised format, kept from the first date read after a listing
  std::string date_fixe_du_format;  // fixed date at the head of the format ("2022_03_12_")
  bool premiere_date_multiformat = false;
  double date_multiformat_precedente = 0.0;
  int nb_dates_inversees = 0;
  int nb_dates_inversees_suite = 0;
};

}  // namespace tamso
