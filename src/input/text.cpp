#include "input/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include <climits>

#include "base/tracking_log.h"
#include "input/encoding.h"

namespace tamso {

namespace {

// Optional sign, digits with at most one point (at least one digit), then an
// optional exponent "E"/"e" with optional sign and at least one digit.
bool forme_decimale(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t chiffres = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (est_chiffre(s[i]))
      ++chiffres;
    else if (s[i] == '.' && !point)
      point = true;
    else
      break;
  }
  if (chiffres == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exp = 0;
    for (; i < s.size() && est_chiffre(s[i]); ++i) ++exp;
    if (exp == 0) return false;
  }
  return i == s.size();
}

template <typename T>
std::optional<T> lire_decimal(std::string_view s) {
  if (!forme_decimale(s)) return std::nullopt;
  if (s.front() == '+') s.remove_prefix(1);
  T valeur{};
  const auto [fin, erreur] = std::from_chars(s.data(), s.data() + s.size(), valeur);
  if (fin != s.data() + s.size()) return std::nullopt;
  if (erreur == std::errc::result_out_of_range) {
    // Underflow reads as zero, overflow as infinity, as a user would expect of
    // "1E-400" and "1E400"; neither is an error.
    bool negatif = s.front() == '-';
    std::size_t e = s.find_first_of("eE");
    bool exposant_negatif = e != std::string_view::npos && e + 1 < s.size() && s[e + 1] == '-';
    if (exposant_negatif) return negatif ? -T(0) : T(0);
    return negatif ? -HUGE_VALL : HUGE_VALL;
  }
  if (erreur != std::errc()) return std::nullopt;
  return valeur;
}

}  // namespace

// ---------------------------------------------------------------- fields

namespace {

// Position just after the quote that closes the quoted text opened at
// `ouverture` (a doubled quote inside stands for one); npos when it is not
// closed.
std::size_t apres_guillemet_fermant(std::string_view texte, std::size_t ouverture) {
  std::size_t k = ouverture + 1;
  for (;;) {
    const std::size_t q = texte.find('"', k);
    if (q == std::string_view::npos) return q;
    if (q + 1 < texte.size() && texte[q + 1] == '"') {
      k = q + 2;
      continue;
    }
    return q + 1;
  }
}

// With a separator other than the space: the separator that ends the field
// beginning at `debut`, npos when the field runs to the end of the line.
std::size_t fin_de_champ(std::string_view texte, std::size_t debut, char sep) {
  std::size_t k = debut;
  while (k < texte.size() && texte[k] == ' ') ++k;
  if (k < texte.size() && texte[k] == '"') {
    k = apres_guillemet_fermant(texte, k);
    return k == std::string_view::npos ? k : texte.find(sep, k);
  }
  return texte.find(sep, debut);
}

// Field n (from 1) as written; false when the line has no such field.
bool champ_brut(std::string_view texte, int n, char sep, SeparateurInitial initial,
                std::string_view& brut);

}  // namespace

SeparateurInitial separateur_initial(std::string_view ligne_reference, char sep) {
  return sep != ' ' && !ligne_reference.empty() && ligne_reference.front() == sep
             ? SeparateurInitial::ignore
             : SeparateurInitial::champ_vide;
}

LecteurChamps::LecteurChamps(std::string_view ligne, char sep, SeparateurInitial initial)
    : ligne_(ligne), separateur_(sep), fini_(ligne.empty()) {
  if (sep == ' ') {
    // Leading spaces are ignored.
    while (position_ < ligne_.size() && ligne_[position_] == ' ') ++position_;
  } else if (!fini_ && ligne_[0] == sep && initial == SeparateurInitial::ignore) {
    position_ = 1;
  }
}

bool LecteurChamps::suivant(std::string_view& brut) {
  const std::size_t taille = ligne_.size();
  if (separateur_ == ' ') {
    if (position_ >= taille) return false;
    const std::size_t debut = position_;
    std::size_t k = debut;
    if (ligne_[k] == '"') k = apres_guillemet_fermant(ligne_, k);
    const std::size_t fin = k == std::string_view::npos ? taille : ligne_.find(' ', k);
    const std::size_t bout = fin == std::string_view::npos ? taille : fin;
    brut = ligne_.substr(debut, bout - debut);
    position_ = bout;
    while (position_ < taille && ligne_[position_] == ' ') ++position_;
    return true;
  }
  if (fini_) return false;
  const std::size_t debut = position_;
  const std::size_t p = fin_de_champ(ligne_, debut, separateur_);
  if (p == std::string_view::npos) {
    brut = ligne_.substr(debut);
    fini_ = true;
  } else {
    brut = ligne_.substr(debut, p - debut);
    position_ = p + 1;
  }
  return true;
}

bool texte_champ_vue(std::string_view brut, std::string_view& texte) {
  const std::string_view t = trim_vue(brut);
  if (t.empty() || t.front() != '"') {
    texte = t;
    return true;
  }
  const std::size_t apres = apres_guillemet_fermant(t, 0);
  if (apres == std::string_view::npos) {
    // Not closed: the text runs to the end, with no doubled quote in it.
    if (t.find('"', 1) != std::string_view::npos) return false;
    texte = trim_vue(t.substr(1));
    return true;
  }
  const std::string_view dedans = t.substr(1, apres - 2);
  if (apres != t.size() || dedans.find('"') != std::string_view::npos) return false;
  texte = trim_vue(dedans);
  return true;
}

void ChampsLigne::couper(std::string_view ligne, char separateur, SeparateurInitial initial) {
  bruts_.clear();
  LecteurChamps lecteur(ligne, separateur, initial);
  std::string_view brut;
  while (lecteur.suivant(brut)) bruts_.push_back(brut);
}

std::string texte_champ(std::string_view brut) {
  std::string_view vue;
  if (texte_champ_vue(brut, vue)) return std::string(vue);
  const std::string_view t = trim_vue(brut);
  std::string r;
  r.reserve(t.size());
  std::size_t i = 1;
  for (; i < t.size(); ++i) {
    if (t[i] != '"') {
      r.push_back(t[i]);
    } else if (i + 1 < t.size() && t[i + 1] == '"') {
      r.push_back('"');
      ++i;
    } else {
      ++i;
      break;
    }
  }
  r.append(t.substr(std::min(i, t.size())));
  return trim(r);
}

namespace {

bool champ_brut(std::string_view texte, int n, char sep, SeparateurInitial initial,
                std::string_view& brut) {
  if (n <= 0) return false;
  if (sep == ' ') {
    LecteurChamps lecteur(texte, sep, initial);
    for (int k = 1; k <= n; ++k)
      if (!lecteur.suivant(brut)) return false;
    return true;
  }
  // The same walk as LecteurChamps, without its state: this runs for every
  // field of every line the step-by-step chain reads.
  if (texte.empty()) return false;
  std::size_t debut = texte[0] == sep && initial == SeparateurInitial::ignore ? 1 : 0;
  for (int k = 1;; ++k) {
    const std::size_t fin = fin_de_champ(texte, debut, sep);
    if (k == n) {
      brut = fin == std::string_view::npos ? texte.substr(debut) : texte.substr(debut, fin - debut);
      return true;
    }
    if (fin == std::string_view::npos) return false;
    debut = fin + 1;
  }
}

}  // namespace

std::string_view champ_vue(std::string_view texte, int n, char sep, SeparateurInitial initial) {
  std::string_view brut, t;
  if (!champ_brut(texte, n, sep, initial, brut)) return {};
  return texte_champ_vue(brut, t) ? t : trim_vue(brut);
}

std::string champ(std::string_view texte, int n, char sep, SeparateurInitial initial) {
  std::string_view brut;
  if (!champ_brut(texte, n, sep, initial, brut)) return {};
  return texte_champ(brut);
}

int compter_separateurs(std::string_view ligne, char sep) {
  int n = 0;
  bool debut_champ = true;
  for (std::size_t i = 0; i < ligne.size(); ++i) {
    const char c = ligne[i];
    if (c == sep) {
      ++n;
      debut_champ = true;
    } else if (c == '"' && debut_champ) {
      const std::size_t apres = apres_guillemet_fermant(ligne, i);
      if (apres == std::string_view::npos) break;
      i = apres - 1;
      debut_champ = false;
    } else if (c != ' ') {
      debut_champ = false;
    }
  }
  return n;
}

std::string intitules_en_tabulations(std::string_view ligne) {
  std::string r;
  r.reserve(ligne.size());
  bool debut_titre = true;
  for (std::size_t i = 0; i < ligne.size(); ++i) {
    const char c = ligne[i];
    if (c == ',' || c == ';' || c == '\t') {
      r.push_back('\t');
      debut_titre = true;
    } else if (c == '"' && debut_titre) {
      const std::size_t apres = apres_guillemet_fermant(ligne, i);
      const std::size_t fin = apres == std::string_view::npos ? ligne.size() : apres;
      r.append(ligne.substr(i, fin - i));
      i = fin - 1;
      debut_titre = false;
    } else {
      r.push_back(c == '"' ? ' ' : c);
      if (c != ' ') debut_titre = false;
    }
  }
  return r;
}

std::string ligne_espaces_vers_separateur(std::string_view ligne, char sep) {
  if (ligne.size() < 3) return {};
  std::string s = "  ";
  s.append(ligne);
  s.append("   ");
  // The characters of the quoted titles (a quote at the start of a word up
  // to its closing quote, or to the end of the line) are kept as they are.
  std::vector<bool> garde(s.size(), false);
  for (std::size_t i = 2; i < s.size() - 3; ++i) {
    if (s[i] != '"' || s[i - 1] != ' ') continue;
    const std::size_t apres = apres_guillemet_fermant(s.substr(0, s.size() - 3), i);
    const std::size_t fin = apres == std::string::npos ? s.size() - 3 : apres;
    for (std::size_t k = i; k < fin; ++k) garde[k] = true;
    i = fin - 1;
  }
  const auto espace = [&](std::size_t i) { return s[i] == ' ' && !garde[i]; };
  std::string copie;
  copie.reserve(s.size());
  std::vector<bool> garde_copie;
  garde_copie.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (espace(i) && i > 0 && i + 2 < s.size() && s[i - 1] != ' ' && s[i + 1] != ' ' &&
        s[i + 2] == ' ')
      c = '_';
    // Runs of spaces become one space.
    if (c == ' ' && !garde[i] && !copie.empty() && copie.back() == ' ' && !garde_copie.back())
      continue;
    copie.push_back(c);
    garde_copie.push_back(garde[i]);
  }
  while (!copie.empty() && copie.back() == ' ' && !garde_copie.back()) {
    copie.pop_back();
    garde_copie.pop_back();
  }
  if (sep != ' ')
    for (std::size_t i = 0; i < copie.size(); ++i)
      if (copie[i] == ' ' && !garde_copie[i]) copie[i] = sep;
  if (!copie.empty() && copie.front() == sep && !garde_copie.front()) copie.erase(0, 1);
  return copie;
}

void compter_colonnes(std::string_view intitule, std::string_view donnees, int& nb_intitule,
                      int& nb_donnees, JournalSuivi& journal) {
  nb_intitule = compter_separateurs(trim(reduire_espaces(intitule)), ' ') + 1;
  nb_donnees = compter_separateurs(trim(reduire_espaces(donnees)), ' ') + 1;
  journal.ajouter_ligne_suivi("nb col (intitulé) = " + std::to_string(nb_intitule));
  journal.ajouter_ligne_suivi("nb col (données)  = " + std::to_string(nb_donnees));
}

// ---------------------------------------------------------------- counting

int compter_caractere(char c, std::string_view texte) {
  int n = 0;
  for (char x : texte) n += (x == c);
  return n;
}

int compter_numeriques(std::string_view texte) {
  int n = 0;
  for (char x : texte) n += (est_chiffre(x) || x == '+' || x == ',' || x == '.');
  return n;
}

int compter_lettres(std::string_view texte) {
  int n = 0;
  for (char x : texte) n += (x >= 'A' && x <= 'z');
  return n;
}

int compter_chiffres_separateurs(std::string_view texte) {
  int n = 0;
  for (char x : texte)
    n += (est_chiffre(x) || x == ' ' || x == '+' || x == ',' || x == '-' || x == '.' || x == '/' ||
          x == ':');
  return n;
}

int tout_chiffres(std::string_view texte) {
  if (texte.empty()) return 0;
  for (char x : texte)
    if (!est_chiffre(x)) return 0;
  return static_cast<int>(texte.size());
}

// ---------------------------------------------------------------- numbers

std::optional<double> lire_decimal_strict(std::string_view texte) {
  return lire_decimal<double>(texte);
}

std::optional<long double> lire_decimal_strict_long(std::string_view texte) {
  return lire_decimal<long double>(texte);
}

std::optional<long long> lire_entier(std::string_view texte) {
  texte = trim_vue(texte);
  if (texte.empty()) return std::nullopt;
  bool negatif = false;
  if (texte.front() == '+' || texte.front() == '-') {
    negatif = texte.front() == '-';
    texte.remove_prefix(1);
  }
  if (texte.empty() || !tout_chiffres(texte)) return std::nullopt;
  long long valeur = 0;
  const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
  if (erreur != std::errc() || fin != texte.data() + texte.size()) return std::nullopt;
  return negatif ? -valeur : valeur;
}

int entier_ou(std::string_view texte, int defaut) {
  const auto n = lire_entier(texte);
  return n && *n >= INT_MIN && *n <= INT_MAX ? static_cast<int>(*n) : defaut;
}

bool est_numerique(std::string_view texte) {
  std::string s = trim(majuscules(texte));
  if (!s.empty() && s.front() == '<') s.erase(0, 1);
  remplacer_caractere(',', '.', s);
  return lire_decimal_strict(s).has_value();
}

double texte_en_reel(std::string_view texte) {
  std::string s = trim(texte);
  remplacer_caractere(',', '.', s);
  return lire_decimal_strict(s).value_or(0.0);
}

void adapter_separateur_decimal(std::string& champ_numerique, char separateur_decimal) {
  for (char& c : champ_numerique)
    if (c == '.' || c == ',') c = separateur_decimal;
}

bool hors_bornes(std::string_view texte, long long bas, long long haut) {
  const long long v = lire_entier(texte).value_or(0);
  return v < bas || v > haut;
}

long long champ_entier(std::string_view texte, int n, char separateur, long long defaut) {
  return lire_entier(champ_vue(texte, n, separateur)).value_or(defaut);
}

long long nombre_apres_mot(std::string_view texte, std::string_view mot, long long defaut) {
  const std::string haut = majuscules(texte);
  const std::size_t p = haut.find(mot);
  if (mot.empty() || p == std::string::npos) return defaut;
  std::string chiffres;
  for (std::size_t i = p + mot.size(); i < haut.size(); ++i) {
    const char c = haut[i];
    if (c == ',' || c == '-' || c == ';') break;
    if (est_chiffre(c)) chiffres.push_back(c);
  }
  return lire_entier(chiffres).value_or(defaut);
}

bool contient_heure(std::string_view t) {
  return position_heure(t) != std::string_view::npos;
}

std::size_t position_heure(std::string_view t) {
  for (std::size_t i = 0; i + 5 <= t.size(); ++i)
    if (est_chiffre(t[i]) && est_chiffre(t[i + 1]) && t[i + 2] == ':' && est_chiffre(t[i + 3]) &&
        est_chiffre(t[i + 4]))
      return i;
  return std::string_view::npos;
}

std::size_t position_chiffres_consecutifs(std::string_view t, std::size_t n) {
  std::size_t suite = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    suite = est_chiffre(t[i]) ? suite + 1 : 0;
    if (suite == n) return i + 1 - n;
  }
  return std::string_view::npos;
}

// ---------------------------------------------------------------- replacements

void remplacer_caractere(char ancien, char nouveau, std::string& texte) {
  for (char& c : texte)
    if (c == ancien) c = nouveau;
}

void remplacer_chiffres(char c, std::string& texte) {
  for (char& x : texte)
    if (est_chiffre(x)) x = c;
}

std::string supprimer_caractere(char c, std::string_view texte) {
  std::string r;
  r.reserve(texte.size());
  for (char x : texte)
    if (x != c) r.push_back(x);
  return r;
}

void remplacer_texte(std::string_view ancien, std::string_view nouveau, std::string& texte) {
  if (ancien.empty()) return;
  const std::size_t p = texte.find(ancien);
  if (p != std::string::npos) texte.replace(p, ancien.size(), nouveau);
}

std::string completer_a_droite(std::string_view texte, std::size_t longueur, char c) {
  std::string r(texte);
  std::size_t n = longueur_utf8(r);
  while (n < longueur) {
    r.push_back(c);
    ++n;
  }
  return r;
}

std::string deux_chiffres(std::string_view texte) {
  if (texte.size() == 1) return "0" + std::string(texte);
  return std::string(texte);
}

std::string trim_droite(std::string_view texte) {
  std::size_t fin = texte.size();
  while (fin > 0 && texte[fin - 1] == ' ') --fin;
  return std::string(texte.substr(0, fin));
}

std::string trim_gauche(std::string_view texte) {
  std::size_t debut = 0;
  while (debut + 1 < texte.size() && texte[debut] == ' ') ++debut;
  return std::string(texte.substr(debut));
}

std::string_view trim_vue(std::string_view texte) {
  if (texte.empty() || (texte.front() != ' ' && texte.back() != ' ')) return texte;
  std::size_t debut = 0, fin = texte.size();
  while (debut < fin && texte[debut] == ' ') ++debut;
  while (fin > debut && texte[fin - 1] == ' ') --fin;
  return texte.substr(debut, fin - debut);
}

std::string trim(std::string_view texte) {
  return std::string(trim_vue(texte));
}

std::string majuscules(std::string_view texte) {
  std::string r(texte);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string minuscules(std::string_view texte) {
  std::string r(texte);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string reduire_espaces(std::string_view texte) {
  std::string r;
  r.reserve(texte.size());
  for (char c : texte)
    if (!(c == ' ' && !r.empty() && r.back() == ' ')) r.push_back(c);
  return r;
}

bool commence_par(std::string_view texte, std::string_view debut) {
  return texte.substr(0, debut.size()) == debut;
}

bool finit_par(std::string_view texte, std::string_view fin) {
  return texte.size() >= fin.size() && texte.substr(texte.size() - fin.size()) == fin;
}

bool contient(std::string_view texte, std::string_view morceau) {
  return texte.find(morceau) != std::string_view::npos;
}

bool egal_sans_casse(std::string_view a, std::string_view b) {
  return a.size() == b.size() && majuscules(a) == majuscules(b);
}

void reparer_accents(std::string& texte) {
  // The damaged forms as UTF-8 text: each is what a UTF-8 (or twice-converted)
  // letter looks like once its bytes were read as Windows-1252.
  struct Remplacement {
    const char* abime;
    const char* juste;
  };
  static const Remplacement kRemplacements[] = {
      {"\u00C3\u00A9", "\u00E9"},              // Ã© -> é
      {"\u00C3\u0192\u00C2\u00A9", "\u00E9"},  // ÃƒÂ© -> é
      {"\u00C2\u00B0", "\u00B0"},              // Â° -> °
      {"\u00C3\u00B4", "\u00F4"},              // Ã´ -> ô
      {"\u00C3\u00A8", "\u00E8"},              // Ã¨ -> è
      {"\u00C3\u00A7", "\u00E7"},              // Ã§ -> ç
      {"\u00C3\u00A0", "\u00E0"},              // Ã + no-break space -> à
      {"\u00C3\u00A2", "\u00E2"},              // Ã¢ -> â
      {"\u00C3\u00AA", "\u00EA"},              // Ãª -> ê
      {"\u00C3\u00AE", "\u00EE"},              // Ã® -> î
      {"\u00C3\u00B4", "\u00F4"},              // Ã´ -> ô
      {"\u00C3\u00BB", "\u00FB"},              // Ã» -> û
      {"\u00C3\u00B8", "\u00B0"},              // Ã¸ -> °
      {"\u00E2\u20AC\u0161", "\u00E9"},        // â€š -> é
  };
  const auto a_reparer = [&texte] {
    return contient(texte, "\u00C2") || contient(texte, "\u00C3") || contient(texte, "\u00E2");
  };
  const std::size_t passes_max = longueur_utf8(texte);
  for (std::size_t passe = 0; passe < passes_max && a_reparer(); ++passe)
    for (const auto& r : kRemplacements) remplacer_texte(r.abime, r.juste, texte);
}

// ---------------------------------------------------------------- other

std::string secondes_en_hms(double secondes) {
  const long long s = static_cast<long long>(secondes + 0.5);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
  return buf;
}

std::string duree_en_texte(double jours) {
  if (!std::isfinite(jours) || jours < 0) return "---";
  const double secondes_totales = jours * 24 * 3600;
  // Time of day to the nearest millisecond, then whole seconds, as a clock shows it.
  const long long ms = std::llround((jours - std::floor(jours)) * 86400000.0);
  long long s = (ms / 1000) % 86400;
  const long long h = s / 3600;
  const long long mn = (s / 60) % 60;
  s %= 60;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", h, mn, s);
  const std::string hms = buf;
  if (hms.size() != 8) return "---";
  const auto sans_zero = [](std::string piece) {
    if (piece.size() == 2 && piece[0] == '0') piece.erase(0, 1);
    return piece;
  };
  const std::string th = sans_zero(hms.substr(0, 2));
  const std::string tm = sans_zero(hms.substr(3, 2));
  const std::string ts = sans_zero(hms.substr(6, 2));
  if (secondes_totales < 60) return " " + ts + " s";
  if (secondes_totales < 3600) return " " + tm + " mn " + ts + " s ";
  return " " + th + " h " + tm + " mn " + ts + " s ";
}

std::string booleen_en_texte(bool b) {
  return b ? "true" : "false";
}

bool texte_en_booleen(std::string_view texte) {
  return texte == "true";
}

std::string format_milliers(long long n) {
  const bool negatif = n < 0;
  std::string chiffres = std::to_string(negatif ? -static_cast<unsigned long long>(n)
                                                : static_cast<unsigned long long>(n));
  std::string r;
  const std::size_t len = chiffres.size();
  for (std::size_t i = 0; i < len; ++i) {
    if (i > 0 && (len - i) % 3 == 0) r.push_back(' ');
    r.push_back(chiffres[i]);
  }
  return negatif ? "-" + r : r;
}

std::string format_deux_decimales(double valeur, char separateur_decimal) {
  return format_decimales(valeur, 2, separateur_decimal);
}

std::string format_decimales(double valeur, int n, char separateur_decimal) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", n, valeur);
  std::string r = buf;
  // The C library writes the locale's decimal mark (a windowing toolkit may
  // have set a French locale): either mark is taken as the decimal point.
  for (char& c : r)
    if (c == ',') c = '.';
  while (!r.empty() && r.back() == '0') r.pop_back();
  if (!r.empty() && r.back() == '.') r.pop_back();
  if (r == "-0") r = "0";
  for (char& c : r)
    if (c == '.') c = separateur_decimal;
  return r;
}

std::string compte_fichiers(long long n, std::string_view espace) {
  return std::to_string(n) + std::string(espace) + (n > 1 ? "fichiers" : "fichier");
}

}  // namespace tamso
