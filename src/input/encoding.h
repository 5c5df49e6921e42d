// Windows-1252 at the file boundary, UTF-8 inside the program.
#pragma once

#include <string>
#include <string_view>

namespace tamso {

// Decodes single-byte Windows-1252 text into UTF-8. The five bytes the code
// page leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 control points of
// the same value, so that decoding then encoding gives back the same bytes.
std::string cp1252_vers_utf8(std::string_view octets);

// Encodes UTF-8 text into Windows-1252. A character the code page cannot hold
// becomes "?"; a byte sequence that is not valid UTF-8 is taken byte for byte
// as Windows-1252 (text that was never UTF-8 passes through unchanged).
std::string utf8_vers_cp1252(std::string_view texte);

// Number of characters (code points) of a UTF-8 text.
std::size_t longueur_utf8(std::string_view texte);

// Appends the UTF-8 form of one code point.
void ajouter_utf8(std::string& sortie, char32_t code);

}  // namespace tamso
