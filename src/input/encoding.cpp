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

}  // namespace

std::size_t lire_sequence_utf8(std::string_view s, std::size_t i, char32_t& code) {
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

bool sequence_utf8_coupee(std::string_view reste) {
  if (reste.empty()) return false;
  const auto b0 = static_cast<unsigned char>(reste[0]);
  std::size_t n = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF)
    n = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF)
    n = 3;
  else if (b0 >= 0xF0 && b0 <= 0xF4)
    n = 4;
  if (n == 0 || reste.size() >= n) return false;
  for (std::size_t k = 1; k < reste.size(); ++k)
    if ((static_cast<unsigned char>(reste[k]) & 0xC0) != 0x80) return false;
  return true;
}

namespace {

// Latin Extended-A (U+0100..U+017F) without accents; the letters the code
// page holds (Œ œ Š š Ÿ Ž ž) and Ĳ ĳ are dealt with before this table.
constexpr std::string_view kLatinEtenduA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii??JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

// Greek letters by name, upper case from U+0391, lower case from U+03B1.
constexpr std::array<std::string_view, 25> kGrecMajuscules = {
    "Alpha", "Beta",   "Gamma",   "Delta", "Epsilon", "Zeta",    "Eta", "Theta", "Iota",
    "Kappa", "Lambda", "Mu",      "Nu",    "Xi",      "Omicron", "Pi",  "Rho",   "?",
    "Sigma", "Tau",    "Upsilon", "Phi",   "Chi",     "Psi",     "Ohm"};
constexpr std::array<std::string_view, 25> kGrecMinuscules = {
    "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",  "theta", "iota",
    "kappa", "lambda", "\xB5",    "nu",    "xi",      "omicron", "pi",   "rho",   "sigma",
    "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega"};

std::string_view remplacement_cp1252(char32_t c) {
  if (c >= 0x0100 && c <= 0x017F) {
    if (c == 0x0132) return "IJ";
    if (c == 0x0133) return "ij";
    return kLatinEtenduA.substr(c - 0x0100, 1);
  }
  if (c >= 0x0391 && c <= 0x03A9) return kGrecMajuscules[c - 0x0391];
  if (c >= 0x03B1 && c <= 0x03C9) return kGrecMinuscules[c - 0x03B1];
  // Superscript and subscript digits and signs.
  static constexpr std::string_view kChiffres = "0123456789";
  if (c == 0x2070) return "0";
  if (c >= 0x2074 && c <= 0x2079) return kChiffres.substr(c - 0x2070, 1);
  if (c >= 0x2080 && c <= 0x2089) return kChiffres.substr(c - 0x2080, 1);
  switch (c) {
    case 0x207A:
    case 0x208A:
      return "+";
    case 0x207B:
    case 0x208B:
    case 0x2010:  // hyphens and dashes the code page lacks
    case 0x2011:
    case 0x2012:
    case 0x2015:
    case 0x2212:  // minus sign
      return "-";
    case 0x2264:
      return "<=";
    case 0x2265:
      return ">=";
    case 0x2260:
      return "<>";
    case 0x2248:
      return "~";
    case 0x221E:
      return "inf";
    case 0x2126:  // Ohm sign
      return "Ohm";
    case 0x212A:  // Kelvin sign
      return "K";
    case 0x212B:  // Angstrom sign
      return "\xC5";
    case 0x2103:
      return "\xB0"
             "C";
    case 0x2109:
      return "\xB0"
             "F";
    case 0x02DA:  // ring above, written for a degree
      return "\xB0";
    case 0x2032:
      return "'";
    case 0x2033:
      return "\"";
    case 0x2219:
    case 0x22C5:
      return "\xB7";
    case 0x2044:
    case 0x2215:
      return "/";
    case 0x2192:
      return "->";
    case 0x2190:
      return "<-";
    case 0x2116:
      return "No";
    case 0x2007:  // figure and narrow no-break spaces
    case 0x202F:
      return "\xA0";
    case 0x200B:  // zero-width characters and the byte-order mark
    case 0x200C:
    case 0x200D:
    case 0x2060:
    case 0xFEFF:
      return "";
    default:
      break;
  }
  if (c >= 0x2000 && c <= 0x200A) return " ";
  return "?";
}

}  // namespace

void ajouter_cp1252(std::string& sortie, char32_t code) {
  const int b = octet_cp1252(code);
  if (b >= 0)
    sortie.push_back(static_cast<char>(b));
  else
    sortie += remplacement_cp1252(code);
}

std::string utf8_vers_cp1252_translittere(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t i = 0;
  while (i < texte.size()) {
    char32_t code = 0;
    const std::size_t n = lire_sequence_utf8(texte, i, code);
    if (n == 0) {
      sortie.push_back(texte[i++]);
      continue;
    }
    ajouter_cp1252(sortie, code);
    i += n;
  }
  return sortie;
}

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
    const std::size_t n = lire_sequence_utf8(texte, i, code);
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
