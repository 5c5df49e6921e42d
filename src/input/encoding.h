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

// Appends the Windows-1252 form of one code point, as data files are
// converted: a character the code page cannot hold gets the stand-in a reader
// expects (U+2212 minus "-", "≤" "<=", "≥" ">=", sub- and superscript digits
// as digits, Greek letters by name with Ω "Ohm" and μ the micro sign,
// Latin letters without their accent), zero-width characters and the
// byte-order mark vanish, and anything else becomes "?".
void ajouter_cp1252(std::string& sortie, char32_t code);

// Encodes UTF-8 text into Windows-1252 with the stand-ins of ajouter_cp1252;
// bytes that are not UTF-8 are kept as they are.
std::string utf8_vers_cp1252_translittere(std::string_view texte);

// Reads the UTF-8 sequence at position i: its length, with the code point in
// `code`; 0 when it is not valid UTF-8 (or is cut short by the end).
std::size_t lire_sequence_utf8(std::string_view texte, std::size_t i, char32_t& code);

// True when the bytes are the beginning of a valid UTF-8 sequence that the
// end of the text cuts short.
bool sequence_utf8_coupee(std::string_view reste);

// Number of characters (code points) of a UTF-8 text.
std::size_t longueur_utf8(std::string_view texte);

// Appends the UTF-8 form of one code point.
void ajouter_utf8(std::string& sortie, char32_t code);

}  // namespace tamso
