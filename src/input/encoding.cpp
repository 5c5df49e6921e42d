#include "input/encoding.h"

#include <array>

namespace tamso {

namespace {

// Code points of bytes 80..9F in Windows-1252.
constexpr std::array<char32_t, 32> kHaut = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int octet_cp1252(char32_t code) {
  if (code < 0x80) return static_cast<int>(code);
  if (code >= 0xA0 && code <= 0xFF) return static_cast<int>(code);
  for (std::size_t i = 0; i < kHaut.size(); ++i)
    if (kHaut[i] == code) return static_cast<int>(0x80 + i);
  return -1;
}

// Reads one UTF-8 sequence at position i; returns its length (0 when invalid).
std::size_t lire_sequence(std::string_view s, std::size_t i, char32_t& code) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t n = 0;
  if (b0 < 0x80) {
    code = b0;
    return 1;
  }
  if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    code = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    code = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    code = b0 & 0x07;
  } else
    return 0;
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b & 0x3F);
  }
  // Overlong forms and surrogates are not valid UTF-8.
  if ((n == 2 && code < 0x80) || (n == 3 && code < 0x800) || (n == 4 && code < 0x10000) ||
      (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
    return 0;
  return n;
}

}  // namespace

void ajouter_utf8(std::string& sortie, char32_t c) {
  if (c < 0x80) {
    sortie.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    sortie.push_back(static_cast<char>(0xC0 | (c >> 6)));
    sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    sortie.push_back(static_cast<char>(0xE0 | (c >> 12)));
    sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    sortie.push_back(static_cast<char>(0xF0 | (c >> 18)));
    sortie.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string cp1252_vers_utf8(std::string_view octets) {
  std::string sortie;
  sortie.reserve(octets.size() + octets.size() / 8);
  for (char ch : octets) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80)
      sortie.push_back(ch);
    else if (b < 0xA0)
      ajouter_utf8(sortie, kHaut[b - 0x80]);
    else
      ajouter_utf8(sortie, b);
  }
  return sortie;
}

std::string utf8_vers_cp1252(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t i = 0;
  while (i < texte.size()) {
    char32_t code = 0;
    const std::size_t n = lire_sequence(texte, i, code);
    if (n == 0) {  // not UTF-8: keep the byte as it is
      sortie.push_back(texte[i]);
      ++i;
      continue;
    }
    const int b = octet_cp1252(code);
    sortie.push_back(b < 0 ? '?' : static_cast<char>(b));
    i += n;
  }
  return sortie;
}

std::size_t longueur_utf8(std::string_view texte) {
  std::size_t n = 0;
  for (char ch : texte)
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace tamso
