#include "support/json_reader.h"

#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace tamso::test {

namespace {

class Lecteur {
 public:
  explicit Lecteur(const std::string& t) : t_(t) {}

  ValeurJson document() {
    ValeurJson v = valeur();
    blancs();
    if (i_ != t_.size()) echouer("texte après la valeur");
    return v;
  }

 private:
  [[noreturn]] void echouer(const std::string& quoi) const {
    throw std::runtime_error("JSON invalide à l'octet " + std::to_string(i_) + " : " + quoi);
  }
  void blancs() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r'))
      ++i_;
  }
  bool prendre(char c) {
    blancs();
    if (i_ < t_.size() && t_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void attendre(char c) {
    if (!prendre(c)) echouer(std::string("'") + c + "' attendu");
  }
  void mot(const char* m) {
    for (const char* p = m; *p; ++p, ++i_)
      if (i_ >= t_.size() || t_[i_] != *p) echouer(std::string(m) + " attendu");
  }

  ValeurJson valeur() {
    blancs();
    if (i_ >= t_.size()) echouer("valeur attendue");
    ValeurJson v;
    switch (t_[i_]) {
      case '{':
        ++i_;
        v.genre = ValeurJson::Genre::objet;
        if (prendre('}')) return v;
        do {
          blancs();
          if (i_ >= t_.size() || t_[i_] != '"') echouer("clé attendue");
          std::string cle = chaine();
          attendre(':');
          if (v.membres.count(cle)) echouer("clé répétée : " + cle);
          v.ordre.push_back(cle);
          v.membres.emplace(cle, valeur());
        } while (prendre(','));
        attendre('}');
        return v;
      case '[':
        ++i_;
        v.genre = ValeurJson::Genre::tableau;
        if (prendre(']')) return v;
        do v.elements.push_back(valeur());
        while (prendre(','));
        attendre(']');
        return v;
      case '"':
        v.genre = ValeurJson::Genre::texte;
        v.texte = chaine();
        return v;
      case 't':
        mot("true");
        v.genre = ValeurJson::Genre::booleen;
        v.booleen = true;
        return v;
      case 'f':
        mot("false");
        v.genre = ValeurJson::Genre::booleen;
        return v;
      case 'n':
        mot("null");
        return v;
      default:
        v.genre = ValeurJson::Genre::nombre;
        v.nombre = nombre();
        return v;
    }
  }

  double nombre() {
    const std::size_t debut = i_;
    const auto chiffres = [&] {
      const std::size_t d = i_;
      while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
      return i_ - d;
    };
    if (i_ < t_.size() && t_[i_] == '-') ++i_;
    if (i_ < t_.size() && t_[i_] == '0') {
      ++i_;
    } else if (chiffres() == 0) {
      echouer("nombre attendu");
    }
    if (i_ < t_.size() && t_[i_] == '.') {
      ++i_;
      if (chiffres() == 0) echouer("chiffre attendu après le point");
    }
    if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
      ++i_;
      if (i_ < t_.size() && (t_[i_] == '+' || t_[i_] == '-')) ++i_;
      if (chiffres() == 0) echouer("exposant sans chiffre");
    }
    std::istringstream lu(t_.substr(debut, i_ - debut));
    lu.imbue(std::locale::classic());
    double v = 0;
    lu >> v;
    return v;
  }

  unsigned hex4() {
    if (i_ + 4 > t_.size()) echouer("\\u incomplet");
    unsigned v = 0;
    for (int k = 0; k < 4; ++k, ++i_) {
      const char c = t_[i_];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<unsigned>(c - 'A' + 10);
      else
        echouer("chiffre hexadécimal attendu");
    }
    return v;
  }

  static void utf8(std::string& s, unsigned long p) {
    if (p < 0x80) {
      s += static_cast<char>(p);
    } else if (p < 0x800) {
      s += static_cast<char>(0xC0 | (p >> 6));
      s += static_cast<char>(0x80 | (p & 0x3F));
    } else if (p < 0x10000) {
      s += static_cast<char>(0xE0 | (p >> 12));
      s += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (p & 0x3F));
    } else {
      s += static_cast<char>(0xF0 | (p >> 18));
      s += static_cast<char>(0x80 | ((p >> 12) & 0x3F));
      s += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (p & 0x3F));
    }
  }

  std::string chaine() {
    ++i_;  // the opening quote
    std::string s;
    while (true) {
      if (i_ >= t_.size()) echouer("chaîne non fermée");
      const unsigned char c = static_cast<unsigned char>(t_[i_]);
      if (c == '"') {
        ++i_;
        return s;
      }
      if (c < 0x20) echouer("caractère de contrôle dans une chaîne");
      if (c != '\\') {
        s += static_cast<char>(c);
        ++i_;
        continue;
      }
      if (++i_ >= t_.size()) echouer("échappement incomplet");
      const char e = t_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          s += e;
          break;
        case 'b':
          s += '\b';
          break;
        case 'f':
          s += '\f';
          break;
        case 'n':
          s += '\n';
          break;
        case 'r':
          s += '\r';
          break;
        case 't':
          s += '\t';
          break;
        case 'u': {
          unsigned long p = hex4();
          if (p >= 0xD800 && p <= 0xDBFF) {
            if (i_ + 2 > t_.size() || t_[i_] != '\\' || t_[i_ + 1] != 'u')
              echouer("moitié de paire UTF-16 seule");
            i_ += 2;
            const unsigned bas = hex4();
            if (bas < 0xDC00 || bas > 0xDFFF) echouer("paire UTF-16 invalide");
            p = 0x10000 + ((p - 0xD800) << 10) + (bas - 0xDC00);
          } else if (p >= 0xDC00 && p <= 0xDFFF) {
            echouer("moitié de paire UTF-16 seule");
          }
          utf8(s, p);
          break;
        }
        default:
          echouer(std::string("échappement inconnu \\") + e);
      }
    }
  }

  const std::string& t_;
  std::size_t i_ = 0;
};

}  // namespace

const ValeurJson& ValeurJson::operator[](const std::string& cle) const {
  if (genre != Genre::objet) throw std::runtime_error("pas un objet (clé " + cle + ")");
  const auto it = membres.find(cle);
  if (it == membres.end()) throw std::runtime_error("clé absente : " + cle);
  return it->second;
}

const ValeurJson& ValeurJson::operator[](std::size_t i) const {
  if (genre != Genre::tableau) throw std::runtime_error("pas un tableau");
  if (i >= elements.size()) throw std::runtime_error("indice hors du tableau");
  return elements[i];
}

const std::string& ValeurJson::chaine() const {
  if (genre != Genre::texte) throw std::runtime_error("pas une chaîne");
  return texte;
}

long long ValeurJson::entier() const {
  if (genre != Genre::nombre || std::floor(nombre) != nombre)
    throw std::runtime_error("pas un nombre entier");
  return static_cast<long long>(nombre);
}

ValeurJson lire_json(const std::string& texte) {
  // A JSON text is UTF-8 (RFC 8259 section 8.1).
  for (std::size_t i = 0; i < texte.size();) {
    const auto o = [&](std::size_t k) { return static_cast<unsigned char>(texte[k]); };
    const unsigned char c = o(i);
    std::size_t n = c < 0x80             ? 1
                    : (c & 0xE0) == 0xC0 ? 2
                    : (c & 0xF0) == 0xE0 ? 3
                    : (c & 0xF8) == 0xF0 ? 4
                                         : 0;
    if (n == 0 || i + n > texte.size() || (n == 2 && c < 0xC2) || (n == 4 && c > 0xF4))
      throw std::runtime_error("UTF-8 invalide à l'octet " + std::to_string(i));
    for (std::size_t k = 1; k < n; ++k)
      if ((o(i + k) & 0xC0) != 0x80)
        throw std::runtime_error("UTF-8 invalide à l'octet " + std::to_string(i));
    if ((n == 3 && c == 0xE0 && o(i + 1) < 0xA0) || (n == 3 && c == 0xED && o(i + 1) >= 0xA0) ||
        (n == 4 && c == 0xF0 && o(i + 1) < 0x90) || (n == 4 && c == 0xF4 && o(i + 1) >= 0x90))
      throw std::runtime_error("UTF-8 invalide à l'octet " + std::to_string(i));
    i += n;
  }
  return Lecteur(texte).document();
}

}  // namespace tamso::test
