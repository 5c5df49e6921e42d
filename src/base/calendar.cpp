#include "base/calendar.h"

namespace tamso {

long long division_plancher(long long a, long long b) {
  long long q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

long long arrondi_demi_pair(long long a, long long b) {
  long long q = division_plancher(a, b);
  const long long reste = a - q * b;
  if (2 * reste > b || (2 * reste == b && q % 2 != 0)) ++q;
  return q;
}

int jours_dans_mois(int annee, int mois) {
  static const int kJours[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mois < 1 || mois > 12) return 0;
  if (mois == 2) {
    const bool bissextile = (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
    return bissextile ? 29 : 28;
  }
  return kJours[mois - 1];
}

DateCalendrier decaler_mois(int annee, int mois, int jour, long long nb_mois) {
  const long long rang = static_cast<long long>(annee) * 12 + (mois - 1) + nb_mois;
  DateCalendrier d;
  d.annee = static_cast<int>(division_plancher(rang, 12));
  d.mois = static_cast<int>(rang - static_cast<long long>(d.annee) * 12) + 1;
  const int dernier = jours_dans_mois(d.annee, d.mois);
  d.jour = jour > dernier ? dernier : jour;
  return d;
}

}  // namespace tamso
