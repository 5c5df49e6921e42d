// A strict JSON reader for the tests (RFC 8259: one value, nothing after
// it), written apart from the program's writer so that a document the
// program writes is read back by other code.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamso::test {

struct ValeurJson {
  enum class Genre { nul, booleen, nombre, texte, tableau, objet };
  Genre genre = Genre::nul;
  bool booleen = false;
  double nombre = 0;
  std::string texte;  // UTF-8, escapes resolved
  std::vector<ValeurJson> elements;
  std::map<std::string, ValeurJson> membres;
  std::vector<std::string> ordre;  // the members' keys in document order

  bool est_nul() const { return genre == Genre::nul; }
  // The member of an object; throws when it is not one or has no such member.
  const ValeurJson& operator[](const std::string& cle) const;
  // The item of an array; throws out of range.
  const ValeurJson& operator[](std::size_t i) const;
  std::size_t taille() const { return genre == Genre::objet ? membres.size() : elements.size(); }
  // The text of a string; throws for anything else.
  const std::string& chaine() const;
  long long entier() const;
};

// Throws std::runtime_error (with the offset) on anything not JSON.
ValeurJson lire_json(const std::string& texte);

}  // namespace tamso::test
