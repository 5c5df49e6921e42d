// The memory a run will take, worked out before the timestamp list and the
// result grid are built, and the question asked when the machine cannot
// hold it.
#pragma once

#include <cstdint>

namespace tamso {

class Interaction;

// Bytes of a timestamp list of `lignes` items (text, ends, values).
std::uint64_t octets_liste(long long lignes);
// Bytes of the result grid of `lignes` rows and `v` value columns, and of
// the results written from it.
std::uint64_t octets_grille(long long lignes, int v);

enum class AccordMemoire {
  sous_limite,  // it fits
  forcee,       // it does not, and the user chose to go on
  refusee,      // it does not: nothing is built
};

// Whether `octets` more may be taken: under the limit (`limite`, else the
// memory available now) without a word; above it the user is told the
// estimate and the limit and asked whether to go on anyway (a batch run does
// not). `lignes` is the count of results lines said. An unknown available
// memory never stops a run.
AccordMemoire accord_memoire(Interaction& port, std::uint64_t octets, long long lignes, int v,
                             std::uint64_t limite);

}  // namespace tamso
