// Solinst .xle exports (XML) turned into semicolon-separated Windows-1252
// text: a title line "Date;Time;ms;" then one title per channel, the channel's
// <Identification> followed by " [" + its <Unit> + "]" when it has one
// ("LEVEL [m]"), channels in the order of their numbers; then one line per
// <Log> record: its <Date>, <Time> and <ms>, then the value of each channel
// (<ch1>, <ch2>, ...), an empty field where the record has none. Lines end
// with CR LF. A ";", a tabulation or a line end inside a text becomes a space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamso {

struct ResultatXle {
  std::string erreur;  // French, empty on success
  std::uint64_t nb_enregistrements = 0;
  int nb_canaux = 0;
};

// Converts the export into `destination`. The file appears complete or not
// at all: damaged XML, a document type declaration (refused, as entities
// could be expanded), a root other than <Body_xle> or a write failure leave
// no destination.
ResultatXle convertir_xle(const std::string& source, const std::string& destination);

// True when the first bytes of a file look like a Solinst export: "<?xml"
// at the start (after a byte-order mark and blanks) and "<Body_xle" further.
bool ressemble_a_xle(std::string_view debut);

}  // namespace tamso
