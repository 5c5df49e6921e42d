// Text, field and number helpers shared by every reader of data lines.
// Texts are UTF-8; every rule below concerns ASCII characters only, so
// counting and cutting work byte by byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Field n (from 1) of a line under a one-character separator. With the space
// separator repeated spaces form one separator and leading spaces are
// ignored; with any other separator two adjacent separators delimit an empty
// field. Fields are trimmed of spaces; quotes get no special treatment.
// A field that does not exist (n = 0, or too few separators) is empty.
std::string champ(std::string_view texte, int n, char separateur);

// The same field as a view into the line (no allocation).
std::string_view champ_vue(std::string_view texte, int n, char separateur);

// Turns a line whose columns are aligned with spaces into a line separated
// by the given character; a one-character word after a word ("Temp C") is
// joined to it with "_".
std::string ligne_espaces_vers_separateur(std::string_view ligne, char separateur);

// Counts the space-separated columns of a title line and a data line and
// writes both counts to the tracking log.
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
// Number with at most two decimals and at least one integer digit ("#0.##"),
// written with the given decimal separator.
std::string format_deux_decimales(double valeur, char separateur_decimal);
// The same with at most n decimals ("#0.#" for 1).
std::string format_decimales(double valeur, int n, char separateur_decimal);

}  // namespace tamso
