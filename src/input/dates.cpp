#include "input/dates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "base/calendar.h"
#include "base/tracking_log.h"
#include "input/text.h"

namespace tamso {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
constexpr long long jours_depuis_civil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civil_depuis_jours(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

// 30 December 1899 counted from 1970-01-01.
constexpr long long kOrigine = jours_depuis_civil(1899, 12, 30);

bool deux_chiffres_a(std::string_view t, std::size_t p, int& valeur) {
  if (p + 2 > t.size()) return false;
  const char a = t[p], b = t[p + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return false;
  valeur = (a - '0') * 10 + (b - '0');
  return true;
}

}  // namespace

std::optional<double> encoder_date(int annee, int mois, int jour, int heure, int minute,
                                   int seconde) {
  if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1 ||
      jour > jours_dans_mois(annee, mois) || heure < 0 || heure > 23 || minute < 0 || minute > 59 ||
      seconde < 0 || seconde > 59)
    return std::nullopt;
  const long long jours =
      jours_depuis_civil(annee, static_cast<unsigned>(mois), static_cast<unsigned>(jour)) -
      kOrigine;
  return static_cast<double>(jours) + (heure * 3600 + minute * 60 + seconde) / 86400.0;
}

ChampsDate decoder_date(double valeur) {
  ChampsDate c;
  if (!std::isfinite(valeur)) return c;
  long long jour = static_cast<long long>(std::floor(valeur));
  long long secondes = std::llround((valeur - static_cast<double>(jour)) * 86400.0);
  if (secondes >= 86400) {
    secondes -= 86400;
    ++jour;
  }
  civil_depuis_jours(jour + kOrigine, c.annee, c.mois, c.jour);
  c.heure = static_cast<int>(secondes / 3600);
  c.minute = static_cast<int>((secondes / 60) % 60);
  c.seconde = static_cast<int>(secondes % 60);
  return c;
}

std::string date_en_texte(double valeur) {
  const ChampsDate c = decoder_date(valeur);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", c.jour, c.mois, c.annee);
  return buf;
}

std::string heure_en_texte(double valeur) {
  const ChampsDate c = decoder_date(valeur);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", c.heure, c.minute, c.seconde);
  return buf;
}

std::string date_heure_en_texte(double valeur) {
  return date_en_texte(valeur) + " " + heure_en_texte(valeur);
}

std::string date_heure_courte_en_texte(double valeur) {
  const ChampsDate c = decoder_date(valeur);
  if (c.heure == 0 && c.minute == 0 && c.seconde == 0) return date_en_texte(valeur);
  return date_heure_en_texte(valeur);
}

std::optional<double> lire_date_heure(std::string_view t) {
  int j = 0, mo = 0, a1 = 0, a2 = 0, h = 0, mn = 0, s = 0;
  const auto heure_a = [&t, &h, &mn, &s](std::size_t p) {
    return deux_chiffres_a(t, p, h) && t[p + 2] == ':' && deux_chiffres_a(t, p + 3, mn) &&
           t[p + 5] == ':' && deux_chiffres_a(t, p + 6, s);
  };
  if (t.size() == 8) {
    if (!heure_a(0) || h > 23 || mn > 59 || s > 59) return std::nullopt;
    return (h * 3600 + mn * 60 + s) / 86400.0;
  }
  if (t.size() != 10 && t.size() != 19) return std::nullopt;
  if (!deux_chiffres_a(t, 0, j) || t[2] != '/' || !deux_chiffres_a(t, 3, mo) || t[5] != '/' ||
      !deux_chiffres_a(t, 6, a1) || !deux_chiffres_a(t, 8, a2))
    return std::nullopt;
  if (t.size() == 19 && (t[10] != ' ' || !heure_a(11))) return std::nullopt;
  return encoder_date(a1 * 100 + a2, mo, j, h, mn, s);
}

double maintenant() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return encoder_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec)
      .value_or(0.0);
}

std::string jour_de_semaine(double valeur) {
  static const char* kNoms[] = {"dimanche", "lundi",    "mardi", "mercredi",
                                "jeudi",    "vendredi", "samedi"};
  // 30 December 1899 was a Saturday.
  const long long jour = static_cast<long long>(std::floor(valeur));
  const long long k = ((jour + 6) % 7 + 7) % 7;
  return kNoms[k];
}

double heure_courante(const Horloge& horloge) {
  return horloge ? horloge() : maintenant();
}

std::optional<double> texte_en_date(std::string_view texte_recu, std::string* texte_corrige,
                                    JournalSuivi& journal) {
  // Only texts of at most 20 characters once trimmed and with their runs of
  // spaces reduced can lead to a 19- or 8-character text: the work is done
  // in small buffers and stops early on anything longer.
  constexpr std::size_t kMax = 20;
  char t[kMax + 12];
  std::size_t n = 0;
  for (const char c : trim_vue(texte_recu)) {
    if (c == ' ' && n > 0 && t[n - 1] == ' ') continue;
    if (n == kMax) return std::nullopt;
    t[n++] = c;
  }
  if (n > 0 && t[n - 1] == ':') --n;
  const auto completer = [&t, &n](std::string_view suite) {
    for (const char c : suite) t[n++] = c;
  };
  switch (n) {
    case 10:
      completer(" 00:00:00");
      break;
    case 13:
      completer(":00:00");
      break;
    case 16:
      completer(":00");
      break;
    default:
      break;
  }
  if (n != 19 && n != 8) return std::nullopt;
  for (std::size_t i = 0; i < n; ++i)
    if (t[i] == '-') t[i] = '/';

  std::size_t barre = 0;
  while (barre < n && t[barre] != '/') ++barre;
  if (barre == 4 || barre == 2) {
    // Year first or day first: rebuilt day first from its four fields.
    char u[kMax + 12];
    for (std::size_t i = 0; i < n; ++i) u[i] = t[i] == ' ' ? '/' : t[i];
    const std::string_view vu(u, n);
    const std::string_view f1 = champ_vue(vu, 1, '/'), mois = champ_vue(vu, 2, '/'),
                           f3 = champ_vue(vu, 3, '/'), temps = champ_vue(vu, 4, '/');
    const std::string_view jour = barre == 4 ? f3 : f1;
    const std::string_view annee = barre == 4 ? f1 : f3;
    char r[2 * kMax + 8];
    std::size_t m = 0;
    for (const std::string_view morceau : {jour, std::string_view("/"), mois, std::string_view("/"),
                                           annee, std::string_view(" "), temps})
      for (const char c : morceau) r[m++] = c;
    const auto chiffre_entre = [&temps](std::size_t p, char max) {
      return p < temps.size() && temps[p] >= '0' && temps[p] <= max;
    };
    // A time part shorter than hh:mn:ss breaks the rules too.
    const bool regles = jour >= "01" && jour <= "31" && mois >= "01" && mois <= "12" &&
                        temps.size() >= 8 && chiffre_entre(0, '2') && chiffre_entre(3, '5') &&
                        chiffre_entre(6, '5');
    if (!regles) {
      journal.ajouter_ligne_suivi(" * erreur date : " + std::string(r, m) + "   <" +
                                  std::string(texte_recu) + ">");
      return std::nullopt;
    }
    std::copy(r, r + m, t);
    n = m;
  }
  const std::string_view resultat(t, n);
  if (texte_corrige) texte_corrige->assign(resultat);
  if (n != 19 && n != 8) return std::nullopt;
  // A text that passes the field checks but is no real date-time (31 February,
  // hour 25) is no date either.
  return lire_date_heure(resultat);
}

}  // namespace tamso
