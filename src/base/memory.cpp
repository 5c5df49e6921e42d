#include "base/memory.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace tamso {

std::optional<std::uint64_t> memoire_disponible() {
  // MemAvailable counts the free memory and what the page cache can give
  // back at once; the free pages alone would refuse runs that fit.
  std::ifstream f("/proc/meminfo");
  std::string cle;
  std::uint64_t valeur = 0;
  std::string unite;
  while (f >> cle >> valeur) {
    std::getline(f, unite);
    if (cle == "MemAvailable:") return valeur * 1024;
  }
  const long pages = ::sysconf(_SC_AVPHYS_PAGES);
  const long taille = ::sysconf(_SC_PAGESIZE);
  if (pages > 0 && taille > 0)
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(taille);
  return std::nullopt;
}

std::string texte_octets(std::uint64_t octets) {
  static const char* kUnites[] = {"octets", "ko", "Mo", "Go", "To"};
  double v = static_cast<double>(octets);
  int u = 0;
  while (v >= 1000.0 && u < 4) {
    v /= 1000.0;
    ++u;
  }
  char tampon[32];
  if (u > 0 && v < 10.0 && std::round(v * 10.0) < 100.0)
    std::snprintf(tampon, sizeof tampon, "%.1f %s", v, kUnites[u]);
  else
    std::snprintf(tampon, sizeof tampon, "%.0f %s", v, kUnites[u]);
  std::string t = tampon;
  if (const auto p = t.find('.'); p != std::string::npos) t[p] = ',';
  return t;
}

std::optional<std::uint64_t> lire_taille_memoire(const std::string& texte) {
  if (texte.empty()) return std::nullopt;
  std::string chiffres = texte;
  double facteur = 1.0;
  switch (chiffres.back()) {
    case 'k':
    case 'K':
      facteur = 1e3;
      break;
    case 'm':
    case 'M':
      facteur = 1e6;
      break;
    case 'g':
    case 'G':
      facteur = 1e9;
      break;
    case 't':
    case 'T':
      facteur = 1e12;
      break;
    default:
      break;
  }
  if (facteur != 1.0) chiffres.pop_back();
  for (char& c : chiffres)
    if (c == ',') c = '.';
  if (chiffres.empty() || chiffres.find_first_not_of("0123456789.") != std::string::npos)
    return std::nullopt;
  char* fin = nullptr;
  const double v = std::strtod(chiffres.c_str(), &fin);
  if (fin != chiffres.c_str() + chiffres.size() || !(v > 0.0) || v * facteur > 1e18)
    return std::nullopt;
  return static_cast<std::uint64_t>(v * facteur);
}

}  // namespace tamso
