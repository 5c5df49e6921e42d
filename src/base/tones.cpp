#include "base/tones.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <random>

namespace tamso {

std::vector<Tonalite> tonalites_signal(std::uint64_t graine) {
  std::mt19937_64 alea(graine);
  std::uniform_int_distribution<int> frequence(0, 4999);
  std::uniform_int_distribution<int> duree(0, 79);
  std::vector<Tonalite> t;
  t.reserve(9);
  for (int i = 0; i < 9; ++i) {
    Tonalite u;
    u.frequence = 120 + frequence(alea);
    u.duree_ms = 20 + duree(alea);
    u.volume = 0.5;
    t.push_back(u);
  }
  return t;
}

std::vector<Tonalite> tonalites_signal() {
  const auto horloge = std::chrono::system_clock::now().time_since_epoch().count();
  return tonalites_signal(static_cast<std::uint64_t>(horloge));
}

std::size_t nombre_echantillons(int duree_ms) {
  if (duree_ms <= 0) return 0;
  // duree / 1000 x 44100 = duree x 441 / 10, worked in whole numbers so that
  // a half is seen exactly.
  const std::uint64_t dixiemes = static_cast<std::uint64_t>(duree_ms) * 441u;
  std::uint64_t n = dixiemes / 10u;
  const std::uint64_t reste = dixiemes % 10u;
  if (reste > 5u || (reste == 5u && n % 2u == 1u)) ++n;
  return static_cast<std::size_t>(n);
}

std::vector<std::int32_t> echantillons_tonalite(double frequence, int duree_ms, double volume) {
  const std::size_t n = nombre_echantillons(duree_ms);
  const double v = std::clamp(volume, 0.0, 1.0);
  std::vector<std::int32_t> e(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double angle =
        2.0 * std::numbers::pi * frequence * static_cast<double>(k) / kEchantillonsParSeconde;
    // nearbyint rounds a half to the even neighbour (the default rounding).
    e[k] = static_cast<std::int32_t>(std::nearbyint(std::sin(angle) * 2147483647.0 * v));
  }
  return e;
}

}  // namespace tamso
