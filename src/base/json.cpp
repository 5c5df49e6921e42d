#include "base/json.h"

#include <cmath>
#include <cstdio>

namespace tamso {

namespace {

// Length of the UTF-8 sequence at `i`, 0 when the bytes there are not one
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t longueur_utf8(std::string_view t, std::size_t i) {
  const auto octet = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
  const unsigned char c = octet(i);
  std::size_t n = 0;
  unsigned long point = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    point = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    point = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    point = c & 0x07u;
  } else {
    return 0;
  }
  if (i + n > t.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((octet(i + k) & 0xC0u) != 0x80u) return 0;
    point = (point << 6) | (octet(i + k) & 0x3Fu);
  }
  if ((n == 3 && point < 0x800) || (n == 4 && point < 0x10000) || point > 0x10FFFF ||
      (point >= 0xD800 && point <= 0xDFFF))
    return 0;
  return n;
}

}  // namespace

std::string chaine_json(std::string_view texte) {
  std::string r;
  r.reserve(texte.size() + 2);
  r += '"';
  for (std::size_t i = 0; i < texte.size();) {
    const unsigned char c = static_cast<unsigned char>(texte[i]);
    switch (c) {
      case '"':
        r += "\\\"";
        break;
      case '\\':
        r += "\\\\";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      case '\t':
        r += "\\t";
        break;
      default:
        if (c < 0x20) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
          r += code;
        } else if (const std::size_t n = longueur_utf8(texte, i); n == 0) {
          r += "\\ufffd";
        } else {
          r.append(texte.substr(i, n));
          i += n;
          continue;
        }
    }
    ++i;
  }
  r += '"';
  return r;
}

void EcrivainJson::avant_valeur() {
  if (apres_cle_) {
    apres_cle_ = false;
    return;
  }
  if (premiers_.empty()) return;
  if (premiers_.back() == '1')
    premiers_.back() = '0';
  else
    texte_ += ',';
}

EcrivainJson& EcrivainJson::ouvrir_objet() {
  avant_valeur();
  texte_ += '{';
  premiers_ += '1';
  return *this;
}

EcrivainJson& EcrivainJson::fermer_objet() {
  texte_ += '}';
  if (!premiers_.empty()) premiers_.pop_back();
  return *this;
}

EcrivainJson& EcrivainJson::ouvrir_tableau() {
  avant_valeur();
  texte_ += '[';
  premiers_ += '1';
  return *this;
}

EcrivainJson& EcrivainJson::fermer_tableau() {
  texte_ += ']';
  if (!premiers_.empty()) premiers_.pop_back();
  return *this;
}

EcrivainJson& EcrivainJson::cle(std::string_view nom) {
  avant_valeur();
  texte_ += chaine_json(nom);
  texte_ += ':';
  apres_cle_ = true;
  return *this;
}

EcrivainJson& EcrivainJson::texte(std::string_view valeur) {
  avant_valeur();
  texte_ += chaine_json(valeur);
  return *this;
}

EcrivainJson& EcrivainJson::entier(long long valeur) {
  avant_valeur();
  texte_ += std::to_string(valeur);
  return *this;
}

EcrivainJson& EcrivainJson::nombre(double valeur) {
  if (!std::isfinite(valeur)) return nul();
  avant_valeur();
  char tampon[64];
  std::snprintf(tampon, sizeof tampon, "%.3f", valeur);
  // The C library writes the point whatever the computer's separator is,
  // as long as the locale is "C", which the programs keep for numbers.
  std::string t = tampon;
  for (char& c : t)
    if (c == ',') c = '.';
  // Trailing zeros and a bare point go: 0.500 -> 0.5, 2.000 -> 2.
  while (!t.empty() && t.back() == '0') t.pop_back();
  if (!t.empty() && t.back() == '.') t.pop_back();
  if (t == "-0") t = "0";
  texte_ += t;
  return *this;
}

EcrivainJson& EcrivainJson::booleen(bool valeur) {
  avant_valeur();
  texte_ += valeur ? "true" : "false";
  return *this;
}

EcrivainJson& EcrivainJson::nul() {
  avant_valeur();
  texte_ += "null";
  return *this;
}

EcrivainJson& EcrivainJson::brut(std::string_view json) {
  avant_valeur();
  texte_.append(json);
  return *this;
}

}  // namespace tamso
