#include "processing/period.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

#include <climits>

#include "base/calendar.h"
#include "base/tracking_log.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr long long kSecondesJour = 86400;

int vers_entier(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// A period label read back; texts other than "dd/mm/yyyy hh:mm:ss" go
// through the lenient reader.
double lire_etiquette(const std::string& texte) {
  if (const auto v = lire_date_heure(trim(texte))) return *v;
  JournalSuivi muet;
  return texte_en_date(texte, nullptr, muet).value_or(0.0);
}

}  // namespace

std::string debut_periode_par_defaut() {
  return texte_date_heure_complet(std::floor(maintenant()));
}

std::string fin_periode_par_defaut() {
  return texte_date_heure_complet(std::floor(maintenant()) + 1);
}

long long secondes_depuis_origine(double valeur) {
  if (!std::isfinite(valeur)) return 0;
  const double jour = std::floor(valeur);
  return static_cast<long long>(jour) * kSecondesJour + std::llround((valeur - jour) * 86400.0);
}

double valeur_depuis_secondes(long long secondes) {
  const long long jour = division_plancher(secondes, kSecondesJour);
  // Same sum as the date reader: whole days, then the seconds of the day.
  return static_cast<double>(jour) + static_cast<double>(secondes - jour * kSecondesJour) / 86400.0;
}

double valeur_debut(const Periode& p) {
  return lire_etiquette(p.debut);
}
double valeur_fin(const Periode& p) {
  return lire_etiquette(p.fin);
}
void fixer_debut(Periode& p, double valeur) {
  p.debut = texte_date_heure_complet(valeur);
}
void fixer_fin(Periode& p, double valeur) {
  p.fin = texte_date_heure_complet(valeur);
}

long long secondes_pas(const Periode& p) {
  const long long n = std::llabs(static_cast<long long>(p.nb_pas));
  switch (p.unite) {
    case UnitePas::heure: {
      // The picker's time as hh:mm:ss: milliseconds are dropped.
      if (!std::isfinite(p.pas)) return 0;
      const double fraction = p.pas - std::floor(p.pas);
      const long long ms = std::llround(fraction * 86400000.0);
      return (ms / 1000) % kSecondesJour;
    }
    case UnitePas::jour:
      return n * kSecondesJour;
    case UnitePas::mois:
      return 30 * n * kSecondesJour;
    case UnitePas::annee:
      return 365 * n * kSecondesJour;
    default:
      return 0;
  }
}

double valeur_pas(const Periode& p) {
  return static_cast<double>(secondes_pas(p)) / 86400.0;
}

int nombre_lignes_attendu(double debut, double fin, double pas) {
  const long long pas_s = std::llabs(std::llround(pas * 86400.0));
  if (pas_s == 0) return 0;
  const long long ecart = secondes_depuis_origine(fin) - secondes_depuis_origine(debut);
  // (ecart / pas + 1/2) = (2 ecart + pas) / (2 pas), worked in whole numbers
  // so that a whole quotient is met exactly.
  return vers_entier(arrondi_demi_pair(2 * ecart + pas_s, 2 * pas_s));
}

int nombre_lignes_attendu(const Periode& p) {
  return nombre_lignes_attendu(valeur_debut(p), valeur_fin(p), valeur_pas(p));
}

std::string texte_nombre_jours(long long nombre, double pas) {
  const long long pas_s = std::llabs(std::llround(pas * 86400.0));
  const long long n = std::llabs(nombre);
  // |n × pas| in whole days, without overflowing for long steps.
  const long long jours = n * (pas_s / kSecondesJour) + n * (pas_s % kSecondesJour) / kSecondesJour;
  if (jours == 0) return {};
  return " => " + std::to_string(jours) + " jour" + (jours > 1 ? "s" : "");
}

std::string texte_element_liste(double valeur) {
  std::string t = date_heure_en_texte(valeur);
  if (t.size() < 19) t += " 00:00:00";
  return t;
}

std::string texte_date_heure_complet(double valeur) {
  std::string t = date_heure_en_texte(valeur);
  if (t.size() == 10) t += " 00:00:00";
  return t;
}

std::string nom_jour_semaine(int jour) {
  static const char* kNoms[] = {"dimanche", "lundi",    "mardi", "mercredi",
                                "jeudi",    "vendredi", "samedi"};
  if (jour < 1 || jour > 7) return {};
  return kNoms[jour - 1];
}

std::string jour_semaine_debut(const Periode& p) {
  return jour_de_semaine(valeur_debut(p));
}
std::string jour_semaine_fin(const Periode& p) {
  return jour_de_semaine(valeur_fin(p));
}

std::string texte_pas(const Periode& p) {
  const int n = p.nb_pas;
  switch (p.unite) {
    case UnitePas::heure:
      return heure_en_texte(valeur_pas(p));
    case UnitePas::jour:
      return std::to_string(n) + " jour" + (n >= 2 ? "s" : "");
    case UnitePas::mois:
      return std::to_string(n) + " mois";
    case UnitePas::annee:
      return std::to_string(n) + " année" + (n >= 2 ? "s" : "");
    default:
      return {};
  }
}

double arrondir_au_pas_inferieur(double valeur, double pas) {
  const long long pas_s = std::llabs(std::llround(pas * 86400.0));
  if (pas_s == 0) return valeur;
  const long long t = secondes_depuis_origine(valeur);
  return valeur_depuis_secondes(division_plancher(t, pas_s) * pas_s);
}

double arrondir_au_pas_proche(double valeur, double pas) {
  const long long pas_s = std::llabs(std::llround(pas * 86400.0));
  if (pas_s == 0) return valeur;
  const long long t = secondes_depuis_origine(valeur);
  long long q = division_plancher(t, pas_s);
  if (2 * (t - q * pas_s) >= pas_s) ++q;
  return valeur_depuis_secondes(q * pas_s);
}

}  // namespace tamso
