// Deterministic generator of realistic logger text for the benchmarks: the
// same arguments always give the same bytes.
//   generer_donnees LIGNES FICHIERS DOSSIER
// writes FICHIERS files "logger_NN.csv" holding LIGNES lines in all: a title
// line, then one line a minute with decimal commas, some seconds of jitter on
// about 10 % of the lines, about 0.5 % "-99999", 0.5 % empty fields, 0.05 %
// "NA", and rare gaps of several hours.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// xorshift64*: small, fast and the same everywhere.
struct Hasard {
  std::uint64_t etat = 0x9E3779B97F4A7C15ULL;
  std::uint64_t suivant() {
    etat ^= etat >> 12;
    etat ^= etat << 25;
    etat ^= etat >> 27;
    return etat * 2685821657736338717ULL;
  }
  double uniforme() { return static_cast<double>(suivant() >> 11) / 9007199254740992.0; }
};

void civil(long long jours, int& a, int& m, int& j) {  // days since 1970-01-01
  jours += 719468;
  const long long era = (jours >= 0 ? jours : jours - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(jours - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  j = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  a = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

// A value with a decimal comma, or a missing one.
void valeur(std::string& l, Hasard& h, double v, int decimales) {
  const double u = h.uniforme();
  if (u < 0.005) {
    l += "-99999";
    return;
  }
  if (u < 0.010) return;  // empty field
  if (u < 0.0105) {
    l += "NA";
    return;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimales, v);
  for (char* p = buf; *p; ++p)
    if (*p == '.') *p = ',';
  l += buf;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: generer_donnees LIGNES FICHIERS DOSSIER\n");
    return 2;
  }
  const long long lignes = std::atoll(argv[1]);
  const int fichiers = std::atoi(argv[2]);
  const std::string dossier = argv[3];
  if (lignes <= 0 || fichiers <= 0) return 2;
  Hasard h;
  // 2021-11-07 10:07:00, in seconds since 1970.
  long long t = 18938LL * 86400 + 10 * 3600 + 7 * 60;
  const long long par_fichier = (lignes + fichiers - 1) / fichiers;
  long long restantes = lignes;
  std::string l;
  for (int f = 0; f < fichiers && restantes > 0; ++f) {
    char nom[64];
    std::snprintf(nom, sizeof nom, "/logger_%02d.csv", f + 1);
    std::FILE* sortie = std::fopen((dossier + nom).c_str(), "wb");
    if (!sortie) {
      std::perror(nom);
      return 1;
    }
    std::setvbuf(sortie, nullptr, _IOFBF, 1 << 20);
    std::fputs("Date;Temp_C;Cond_uS;Niveau_m;Pression_hPa;Batt_V;O2_mg\r\n", sortie);
    for (long long k = 1; k < par_fichier && restantes > 0; ++k, --restantes) {
      if (h.uniforme() < 0.00002) t += 3600 * (2 + static_cast<long long>(h.suivant() % 6));
      long long ts = t;
      if (h.uniforme() < 0.10) ts += static_cast<long long>(h.suivant() % 9) - 4;
      int a = 0, m = 0, j = 0;
      civil(ts / 86400, a, m, j);
      const long long s = ts % 86400;
      char date[32];
      std::snprintf(date, sizeof date, "%04d-%02d-%02d %02lld:%02lld:%02lld", a, m, j, s / 3600,
                    (s / 60) % 60, s % 60);
      l.assign(date);
      const double x = static_cast<double>(k % 1440) / 1440.0;
      l += ';';
      valeur(l, h, 10.0 + 5.0 * x + h.uniforme(), 3);
      l += ';';
      valeur(l, h, 450.0 + 20.0 * h.uniforme(), 1);
      l += ';';
      valeur(l, h, 1.2 + 0.3 * x + 0.01 * h.uniforme(), 3);
      l += ';';
      valeur(l, h, 1010.0 + 8.0 * h.uniforme(), 1);
      l += ';';
      valeur(l, h, 12.5 + 0.3 * h.uniforme(), 2);
      l += ';';
      valeur(l, h, 8.0 + 0.5 * h.uniforme(), 2);
      l += "\r\n";
      std::fwrite(l.data(), 1, l.size(), sortie);
      t += 60;
    }
    std::fclose(sortie);
  }
  return 0;
}
