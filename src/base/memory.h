// What the machine can give a run: the memory available now, and sizes in
// words a user reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tamso {

// Memory that can be taken now without pushing other programs out (bytes);
// nothing when the system does not say.
std::optional<std::uint64_t> memoire_disponible();

// "850 Mo", "6,9 Go", "12 ko": one decimal below 10 of the unit, a comma.
std::string texte_octets(std::uint64_t octets);

// "12G", "800M", "1.5g", "2000000000": bytes; nothing when it does not read
// or is zero.
std::optional<std::uint64_t> lire_taille_memoire(const std::string& texte);

}  // namespace tamso
