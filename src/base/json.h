// JSON text for scripts (the batch program's run summary): objects and
// arrays written as they are built, strings escaped, numbers in the C
// locale's form whatever the computer's decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace tamso {

// A JSON string literal, quotes included. Quote, backslash and control
// characters are escaped; bytes that do not form valid UTF-8 become
// U+FFFD, so that the document is always valid UTF-8.
std::string chaine_json(std::string_view texte);

// Builds one JSON value. Members and items are separated as they come; a
// member's key is given with its value. Nothing checks that objects and
// arrays are closed in order: the writer of a document does so.
class EcrivainJson {
 public:
  EcrivainJson& ouvrir_objet();
  EcrivainJson& fermer_objet();
  EcrivainJson& ouvrir_tableau();
  EcrivainJson& fermer_tableau();
  // The key of the next member of the object being written.
  EcrivainJson& cle(std::string_view nom);

  EcrivainJson& texte(std::string_view valeur);
  EcrivainJson& entier(long long valeur);
  // Finite numbers with up to 3 decimals (durations in seconds); null otherwise.
  EcrivainJson& nombre(double valeur);
  EcrivainJson& booleen(bool valeur);
  EcrivainJson& nul();
  // A value already written as JSON (an object made elsewhere).
  EcrivainJson& brut(std::string_view json);

  const std::string& resultat() const { return texte_; }

 private:
  void avant_valeur();
  std::string texte_;
  // True when the next value of the innermost container is its first.
  std::string premiers_;
  bool apres_cle_ = false;
};

}  // namespace tamso
