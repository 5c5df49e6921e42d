// The end-of-run signal: nine short tones of random pitch and length, and
// the samples of one tone as the sound output plays them (one channel,
// 44100 samples a second, 32-bit signed). Nothing here touches a sound device.
#pragma once

#include <cstdint>
#include <vector>

namespace tamso {

inline constexpr int kEchantillonsParSeconde = 44100;

struct Tonalite {
  int frequence = 0;  // hertz
  int duree_ms = 0;   // milliseconds
  double volume = 0.5;
  bool operator==(const Tonalite&) const = default;
};

// The nine tones of the signal, drawn from a generator seeded with `graine`:
// each of 120 + (an integer below 5000) hertz, 20 + (an integer below 80)
// milliseconds, volume 0.5.
std::vector<Tonalite> tonalites_signal(std::uint64_t graine);
// The same, seeded from the clock.
std::vector<Tonalite> tonalites_signal();

// Samples of a tone of `duree_ms` milliseconds: duree_ms / 1000 x 44100 of
// them, rounded to the nearest whole number (a half to the even one).
std::size_t nombre_echantillons(int duree_ms);

// The tone's sine wave: sample k is sin(2 pi f k / 44100) x 2147483647 x
// volume, rounded to the nearest whole number (a half to the even one). The
// volume is taken between 0 and 1.
std::vector<std::int32_t> echantillons_tonalite(double frequence, int duree_ms, double volume);
inline std::vector<std::int32_t> echantillons_tonalite(const Tonalite& t) {
  return echantillons_tonalite(t.frequence, t.duree_ms, t.volume);
}

}  // namespace tamso
