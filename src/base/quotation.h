// Lines of data quoted in messages and in the tracking log: a file may hold a
// line of millions of characters, and a message shows only its beginning.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tamso {

// The most characters of one line a message or the log quotes.
constexpr std::size_t kLongueurCitation = 300;
// The longest line a message box shows: beyond the quoted lines, a guard
// for a message that quotes a line whole.
constexpr std::size_t kLongueurLigneMessage = 1000;

// The text whole when it is short enough, else its first `longueur`
// characters (never cutting a UTF-8 character) followed by
// " [...] (N caractères)".
std::string citation(std::string_view texte, std::size_t longueur = kLongueurCitation);

// Every line of a text (between line feeds) quoted as `citation` quotes it:
// a message may be built around a whole line of data.
std::string lignes_bornees(std::string_view texte, std::size_t longueur);

}  // namespace tamso
