// Whole-number and calendar arithmetic of the timestamp list and the period.
#pragma once

namespace tamso {

// a / b rounded towards minus infinity (b > 0).
long long division_plancher(long long a, long long b);
// Nearest whole number of a / b (b > 0), halves to the even number.
long long arrondi_demi_pair(long long a, long long b);

// Days of a month (1..12) of a year, leap years included.
int jours_dans_mois(int annee, int mois);

// A calendar date moved by a number of months. A day that the target month
// does not have becomes that month's last day (31 March minus one month is
// 28 or 29 February).
struct DateCalendrier {
  int annee = 1899, mois = 12, jour = 30;
};
DateCalendrier decaler_mois(int annee, int mois, int jour, long long nb_mois);

}  // namespace tamso
