// Text, field and number helpers shared by every reader of data lines.
// Texts are UTF-8; every rule below concerns ASCII characters only, so
// counting and cutting work byte by byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamso {

class JournalSuivi;

inline bool est_chiffre(char c) {
  return c >= '0' && c <= '9';
}

// The n characters of the text from position p, fewer at its end, none past it.
inline std::string_view morceau(std::string_view texte, std::size_t p, std::size_t n) {
  return p >= texte.size() ? std::string_view{} : texte.substr(p, n);
}

// ---- fields and lines ----

// How a line that begins with the separator (other than the space) is cut.
enum class SeparateurInitial : std::uint8_t {
  ignore,      // the leading separator is dropped: field 1 is what follows it
  champ_vide,  // it closes an empty field 1
};

// How the lines of one file are cut, from its reference line (its title
// line, or its first data line when it has no titles): when that line does
// not begin with the separator, a line that does has an empty first field;
// when it does too (every line of the family carries a leading separator),
// the leading separator is dropped, so the columns keep their numbers. The
// space separator always ignores leading spaces.
SeparateurInitial separateur_initial(std::string_view ligne_reference, char separateur);

// Field n (from 1) of a line under a one-character separator. With the space
// separator repeated spaces form one separator and leading spaces are
// ignored; with any other separator two adjacent separators delimit an empty
// field, and a leading separator is dropped or closes an empty field 1 (see
// SeparateurInitial). A field that begins with a double quote (after its
// leading spaces) ends at the matching quote, so that separators inside it
// do not separate ("" inside stands for one "); the quotes are removed, the
// text between the closing quote and the next separator is kept, and an
// unclosed quote runs to the end of the line. Fields are trimmed of spaces
// (the text of a quoted one too). A field that does not exist (n = 0, or too
// few separators) is empty.
std::string champ(std::string_view texte, int n, char separateur,
                  SeparateurInitial initial = SeparateurInitial::ignore);

// The same field as a view into the line (no allocation). A quoted field
// whose text is not a piece of the line (a doubled quote inside it, or text
// after its closing quote) is given as written, quotes included.
std::string_view champ_vue(std::string_view texte, int n, char separateur,
                           SeparateurInitial initial = SeparateurInitial::ignore);

// Walks the fields of a line in order, cut as `champ` cuts them.
class LecteurChamps {
 public:
  LecteurChamps(std::string_view ligne, char separateur,
                SeparateurInitial initial = SeparateurInitial::ignore);
  // The next field as written (spaces and quotes included); false past the
  // last field.
  bool suivant(std::string_view& brut);

 private:
  std::string_view ligne_;
  char separateur_;
  std::size_t position_ = 0;
  bool fini_ = false;
};

// The text of a field as written (from LecteurChamps): trimmed, a quoted one
// without its quotes.
std::string texte_champ(std::string_view brut);

// A line cut into its fields once, as `champ` cuts it: for lines of
// thousands of fields read column by column (a line is never walked again
// for each field).
class ChampsLigne {
 public:
  ChampsLigne() = default;
  ChampsLigne(std::string_view ligne, char separateur,
              SeparateurInitial initial = SeparateurInitial::ignore) {
    couper(ligne, separateur, initial);
  }
  void couper(std::string_view ligne, char separateur,
              SeparateurInitial initial = SeparateurInitial::ignore);
  int nombre() const { return static_cast<int>(bruts_.size()); }
  // Field n (from 1) as `champ` gives it; empty outside 1..nombre().
  std::string operator()(int n) const {
    return n >= 1 && n <= nombre() ? texte_champ(bruts_[static_cast<std::size_t>(n - 1)])
                                   : std::string{};
  }

 private:
  std::vector<std::string_view> bruts_;
};
// The same as a view into the field; false when the text is not a piece of
// it (a doubled quote inside the quotes, or text after the closing quote).
bool texte_champ_vue(std::string_view brut, std::string_view& texte);

// Number of separator characters of a line outside its quoted fields (a
// line without quotes: every one of them).
int compter_separateurs(std::string_view ligne, char separateur);

// A title line whose columns are separated by ",", ";" or tabulations,
// separated by tabulations only: outside quoted titles every "," and ";"
// becomes a tabulation and a quote that does not open a title a space;
// quoted titles are kept as written, for `champ` to read with the
// tabulation.
std::string intitules_en_tabulations(std::string_view ligne);

// Turns a line whose columns are aligned with spaces into a line separated
// by the given character; a one-character word after a word ("Temp C") is
// joined to it with "_". A quoted title is kept as written, its spaces
// included.
std::string ligne_espaces_vers_separateur(std::string_view ligne, char separateur);

// Counts the space-separated columns of a title line and a data line (spaces
// inside quoted fields do not separate) and writes both counts to the
// tracking log.
void compter_colonnes(std::string_view intitule, std::string_view donnees, int& nb_intitule,
                      int& nb_donnees, JournalSuivi& journal);

// ---- counting ----

int compter_caractere(char c, std::string_view texte);
// Digits and the characters + , .
int compter_numeriques(std::string_view texte);
// Characters from 'A' to 'z' in code order.
int compter_lettres(std::string_view texte);
// Digits, spaces and the characters + , - . / :
int compter_chiffres_separateurs(std::string_view texte);
// Length of the text when every character is a digit, else 0.
int tout_chiffres(std::string_view texte);

// ---- numbers ----

// Reads a decimal number (optional sign, digits, point, exponent) that fills
// the whole text. No trimming, no comma.
std::optional<double> lire_decimal_strict(std::string_view texte);
std::optional<long double> lire_decimal_strict_long(std::string_view texte);

// Reads a whole number filling the text (surrounding spaces allowed).
std::optional<long long> lire_entier(std::string_view texte);
// The same as an int, the default when the text is not a whole number.
int entier_ou(std::string_view texte, int defaut);

// Upper-cased and trimmed, one leading "<" removed, "," read as ".": true when
// the rest reads wholly as a decimal number.
bool est_numerique(std::string_view texte);
// "," read as "."; 0 when the text does not read wholly as a number.
double texte_en_reel(std::string_view texte);
// Every "." and "," of the field becomes the computer's decimal separator.
void adapter_separateur_decimal(std::string& champ_numerique, char separateur_decimal);
// The text read as a whole number (0 when it is not one) lies outside low..high.
bool hors_bornes(std::string_view texte, long long bas, long long haut);
// Field n read as a whole number; the default when it is not one.
long long champ_entier(std::string_view texte, int n, char separateur, long long defaut);
// In the upper-cased text, after the first occurrence of the word, the digits
// met up to the first ",", "-" or ";" read as a whole number.
long long nombre_apres_mot(std::string_view texte, std::string_view mot, long long defaut);
// True when the text holds two digits, a colon and two digits.
bool contient_heure(std::string_view texte);
// Position of the first two digits, a colon and two digits; npos when none.
std::size_t position_heure(std::string_view texte);
// Position of the first run of n digits; npos when none.
std::size_t position_chiffres_consecutifs(std::string_view texte, std::size_t n);

// ---- replacements ----

void remplacer_caractere(char ancien, char nouveau, std::string& texte);
void remplacer_chiffres(char c, std::string& texte);
std::string supprimer_caractere(char c, std::string_view texte);
// Replaces the first occurrence only.
void remplacer_texte(std::string_view ancien, std::string_view nouveau, std::string& texte);
// Appends the character until the text has that many characters.
std::string completer_a_droite(std::string_view texte, std::size_t longueur, char c);
std::string deux_chiffres(std::string_view texte);
std::string trim_droite(std::string_view texte);
// Leading spaces removed; the last character is always kept.
std::string trim_gauche(std::string_view texte);
std::string trim(std::string_view texte);
std::string_view trim_vue(std::string_view texte);
std::string majuscules(std::string_view texte);
std::string minuscules(std::string_view texte);
// Reduces every run of spaces to one space.
std::string reduire_espaces(std::string_view texte);
bool commence_par(std::string_view texte, std::string_view debut);
bool finit_par(std::string_view texte, std::string_view fin);
bool contient(std::string_view texte, std::string_view morceau);
bool egal_sans_casse(std::string_view a, std::string_view b);

// Repairs accented letters damaged by a wrong character encoding
// ("tempÃ©rature" becomes "température").
void reparer_accents(std::string& texte);

// ---- other text operations ----

// A duration in seconds as "hh:mm:ss", rounded to the second.
std::string secondes_en_hms(double secondes);
// A duration in days as " 5 s", " 1 mn 15 s " or " 2 h 3 mn 4 s ".
std::string duree_en_texte(double jours);
std::string booleen_en_texte(bool b);
bool texte_en_booleen(std::string_view texte);
// Number with groups of three digits separated by blanks ("### ### ### ##0").
std::string format_milliers(long long n);

// A file count and the word, singular up to one: "0 fichier", "1 fichier",
// "2 fichiers", with `espace` between them (" " or "  ").
std::string compte_fichiers(long long n, std::string_view espace = " ");
// Number with at most two decimals and at least one integer digit ("#0.##"),
// written with the given decimal separator.
std::string format_deux_decimales(double valeur, char separateur_decimal);
// The same with at most n decimals ("#0.#" for 1).
std::string format_decimales(double valeur, int n, char separateur_decimal);

}  // namespace tamso
