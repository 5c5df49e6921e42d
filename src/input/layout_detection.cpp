#include "input/layout_detection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/tracking_log.h"
#include "input/date_fields.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/text.h"

namespace tamso {

namespace {

// The line without its quoted fields (a quote at the start of the line or
// after one of the four separators, up to its closing quote): the
// separators inside them are not counted.
std::string sans_champs_entre_guillemets(std::string_view ligne) {
  std::string r;
  r.reserve(ligne.size());
  bool debut_champ = true;
  for (std::size_t i = 0; i < ligne.size(); ++i) {
    const char c = ligne[i];
    if (c == '"' && debut_champ) {
      std::size_t k = i + 1;
      while (k < ligne.size() && (ligne[k] != '"' || (k + 1 < ligne.size() && ligne[k + 1] == '"')))
        k += ligne[k] == '"' ? 2U : 1U;
      i = k;
      debut_champ = false;
      continue;
    }
    r.push_back(c);
    debut_champ = c == '\t' || c == ' ' || c == ';' || c == ',';
  }
  return r;
}

}  // namespace

DetectionSeparateur detecter_separateur(std::string_view ligne_lue) {
  DetectionSeparateur d;
  const std::string ligne = sans_champs_entre_guillemets(ligne_lue);
  d.tabulations = compter_caractere('\t', ligne);
  d.espaces = compter_caractere(' ', ligne);
  d.points_virgules = compter_caractere(';', ligne);
  d.virgules = compter_caractere(',', ligne);
  const std::array<int, 4> n = {d.tabulations, d.espaces, d.points_virgules, d.virgules};
  for (int i = 0; i < 4; ++i) {
    bool plus_grand = true;
    for (int k = 0; k < 4; ++k)
      if (k != i && n[static_cast<std::size_t>(k)] >= n[static_cast<std::size_t>(i)])
        plus_grand = false;
    if (plus_grand) d.detecte = i;
  }
  if (d.detecte == 1 && d.points_virgules >= 4 && d.tabulations > d.virgules) d.detecte = 2;
  return d;
}

// ------------------------------------------------------------ sample reading

bool lire_echantillon(const std::string& chemin, EchantillonFichier& e, std::size_t octets) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) return false;
  f.seekg(0, std::ios::end);
  const auto taille = static_cast<std::size_t>(std::max<std::streamoff>(0, f.tellg()));
  f.seekg(0);
  const std::size_t n = std::min(taille, octets);
  std::string tete(n, '\0');
  f.read(tete.data(), static_cast<std::streamsize>(n));
  if (static_cast<std::size_t>(f.gcount()) != n) return false;
  e = EchantillonFichier{};
  e.complet = n == taille;
  const auto couper = [](std::string_view texte, std::vector<std::string>& lignes) {
    std::size_t debut = 0;
    for (std::size_t i = 0; i < texte.size(); ++i) {
      if (texte[i] != '\r' && texte[i] != '\n') continue;
      lignes.emplace_back(texte.substr(debut, i - debut));
      if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
      debut = i + 1;
    }
    if (debut < texte.size()) lignes.emplace_back(texte.substr(debut));
  };
  // A sample that stops inside a line leaves that line out.
  std::string_view vue(tete);
  if (!e.complet) {
    const std::size_t fin_ligne = vue.find_last_of("\r\n");
    if (fin_ligne != std::string_view::npos) vue = vue.substr(0, fin_ligne + 1);
  }
  couper(vue, e.debut);
  if (!e.complet) {
    const std::size_t n_fin = std::min<std::size_t>(taille - n, 16 * 1024);
    std::string queue(n_fin, '\0');
    f.seekg(static_cast<std::streamoff>(taille - n_fin));
    f.read(queue.data(), static_cast<std::streamsize>(n_fin));
    std::string_view q(queue.data(), static_cast<std::size_t>(f.gcount()));
    // The first line of the tail is cut: it is left out.
    const std::size_t p = q.find_first_of("\r\n");
    q = p == std::string_view::npos ? std::string_view{} : q.substr(p + 1);
    couper(q, e.fin);
  }
  return true;
}

// ------------------------------------------------------------ detection

namespace {

constexpr const char* kNomsSeparateurs[] = {"tabulation", "espace", "point-virgule", "virgule"};
constexpr char kCaracteres[] = {'\t', ' ', ';', ','};
// At most this many lines of the sample are looked at.
constexpr std::size_t kLignesAuPlus = 20000;
// At most this many data lines are read under each candidate format.
constexpr std::size_t kLignesDeDatesAuPlus = 3000;

std::string_view sans_blancs(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

bool blanche(std::string_view ligne) {
  return sans_blancs(ligne).empty();
}

// The fields of a line, trimmed and unquoted. With the space separator runs
// of spaces separate once; otherwise a leading separator closes an empty
// first field.
std::vector<std::string> champs_de(std::string_view ligne, char sep) {
  std::vector<std::string> r;
  LecteurChamps lecteur(ligne, sep, SeparateurInitial::champ_vide);
  std::string_view brut;
  while (lecteur.suivant(brut)) r.push_back(texte_champ(brut));
  return r;
}

// ---- the shape of a date text

// What a field holds that looks like a date, a time, or both: its runs of
// digits and what lies between them, the text's AM/PM mark, its offset.
struct Forme {
  std::vector<std::string_view> groupes;  // runs of digits
  std::vector<std::string> entre;         // entre[i] lies between groupes[i] and [i + 1]
  bool marque = false;                    // AM or PM after the time
  bool zone = false;                      // an offset ends the text
  bool espace_zone = false;               // a blank before the offset
  int decalage = 0;                       // the offset, in minutes
  bool fraction = false;                  // a fraction of a second
  std::string signature;                  // the shape as text, to compare lines
};

bool separateur_de_date(std::string_view s) {
  if (s.empty() || s.size() > 2) return false;
  for (const char c : s)
    if (c != '/' && c != '-' && c != '.' && c != ' ' && c != ':' && c != 'T' && c != '_')
      return false;
  return true;
}

std::optional<Forme> forme_de(std::string_view champ) {
  std::string_view t = sans_blancs(champ);
  if (t.empty() || t.size() > 40 || !est_chiffre(t.front())) return std::nullopt;
  Forme f;
  // An offset after a time: "+02:00", "Z", " +0100".
  if (t.find(':') != std::string_view::npos || t.find('T') != std::string_view::npos) {
    std::string_view reste;
    if (const auto z = decalage_en_fin(t, reste)) {
      if (reste.size() < t.size() && !reste.empty()) {
        f.zone = true;
        f.decalage = *z;
        t = sans_blancs(reste);
        f.espace_zone = t.size() < champ.size() && sans_blancs(champ)[t.size()] == ' ';
      }
    }
  }
  // The AM or PM mark, the last word.
  if (const std::size_t esp = t.rfind(' '); esp != std::string_view::npos) {
    const std::string_view mot = t.substr(esp + 1);
    if (!mot.empty() && !est_chiffre(mot.front()) && marque_heure(mot) != MarqueHeure::aucune) {
      f.marque = true;
      t = sans_blancs(t.substr(0, esp));
    }
  }
  std::size_t i = 0;
  while (i < t.size()) {
    std::size_t k = i;
    while (k < t.size() && est_chiffre(t[k])) ++k;
    if (k == i) return std::nullopt;
    f.groupes.push_back(t.substr(i, k - i));
    if (k == t.size()) break;
    std::size_t j = k;
    while (j < t.size() && !est_chiffre(t[j])) ++j;
    const std::string_view s = t.substr(k, j - k);
    // A fraction of a second ends the text: ".250".
    if ((s == "." || s == ",") && j < t.size() && f.groupes.size() >= 3 && k > 0 &&
        t.substr(k).find_first_not_of("0123456789", 1) == std::string_view::npos &&
        f.entre.size() >= 1 && f.entre.back() == ":") {
      f.fraction = true;
      break;
    }
    if (!separateur_de_date(s) || j == t.size()) return std::nullopt;
    f.entre.emplace_back(s);
    i = j;
  }
  if (f.groupes.size() > 6) return std::nullopt;
  for (const auto& g : f.groupes)
    if (g.size() > 14) return std::nullopt;
  // The signature keeps the separators and the widths of the long runs (a
  // year, a compact date); short runs may be written with one or two digits.
  for (std::size_t g = 0; g < f.groupes.size(); ++g) {
    const std::size_t w = f.groupes[g].size();
    f.signature += w <= 2 ? "n" : std::to_string(w);
    if (g < f.entre.size()) f.signature += f.entre[g];
  }
  if (f.marque) f.signature += " M";
  if (f.zone) f.signature += " Z";
  return f;
}

enum class Sorte : std::uint8_t { rien, date, heure, date_heure };

// What a shape can be: a date, a time of day, or both.
Sorte sorte_de(const Forme& f) {
  const auto n = f.groupes.size();
  const auto w = [&f](std::size_t g) { return f.groupes[g].size(); };
  const auto deux_points = [&f](std::size_t a) { return f.entre[a] == ":"; };
  const bool date3 = n >= 3 && !deux_points(0) && !deux_points(1) &&
                     (w(0) == 4 || w(2) == 4 || (w(0) <= 2 && w(1) <= 2 && w(2) <= 2)) &&
                     w(1) <= 2 && (w(0) <= 2 || w(0) == 4) && (w(2) <= 2 || w(2) == 4);
  if (n == 1) {
    if (w(0) == 8) return Sorte::date;
    if (w(0) == 10 || w(0) == 12 || w(0) == 14) return Sorte::date_heure;
    return Sorte::rien;
  }
  if (n == 2) {
    if (w(0) == 8 && w(1) <= 4 && (f.entre[0] == " " || f.entre[0] == "T"))
      return Sorte::date_heure;
    if (deux_points(0) && w(0) <= 2 && w(1) == 2) return Sorte::heure;
    return Sorte::rien;
  }
  if (n == 3) {
    if (deux_points(0) && deux_points(1) && w(0) <= 2 && w(1) == 2 && w(2) == 2)
      return Sorte::heure;
    return date3 && !f.marque && !f.zone ? Sorte::date : Sorte::rien;
  }
  // A date, then the hours and minutes (and seconds).
  if (n < 5 || !date3 || !deux_points(3) || (n == 6 && !deux_points(4))) return Sorte::rien;
  if (f.entre[2] != " " && f.entre[2] != "T" && f.entre[2] != "  " && f.entre[2] != "-" &&
      f.entre[2] != "_")
    return Sorte::rien;
  if (w(3) > 2 || w(4) > 2 || (n == 6 && w(5) > 2)) return Sorte::rien;
  return Sorte::date_heure;
}

// A field that a date-time, a date or a time of day of a logger could be.
// Time-only fields are made of hh:mn[:ss]; a bare hour column ("1".."24",
// "2400") is only taken beside a date column.
bool heure_nue(std::string_view champ, std::string* format) {
  const std::string_view t = sans_blancs(champ);
  if (t.empty() || t.size() > 4 || tout_chiffres(t) == 0) return false;
  const int v = entier_ou(t, -1);
  if (t.size() <= 2 ? v > 24 : (v > 2400 || v % 100 > 59)) return false;
  if (format) *format = t.size() <= 2 ? "hh" : "hhmn";
  return true;
}

// The candidate formats of a shape, in the format language (zero-padded
// codes: the reader takes unpadded text under them).
std::vector<std::string> formats_candidats(const Forme& f, Sorte sorte, int zone_sortie) {
  std::vector<std::string> dates;
  const auto n = f.groupes.size();
  const auto w = [&f](std::size_t g) { return f.groupes[g].size(); };
  std::string suite;  // the time part and what follows the codes
  if (sorte == Sorte::heure || sorte == Sorte::date_heure) {
    std::size_t h = sorte == Sorte::heure ? 0 : 3;
    if (n == 1 || (n == 2 && sorte == Sorte::date_heure)) {
      // compact: "aaaammjjhhmn", "aaaammjj hhmn"
      if (n == 1) {
        dates.push_back(w(0) == 14 ? "aaaammjjhhmnss" : w(0) == 12 ? "aaaammjjhhmn" : "aaaammjjhh");
      } else {
        dates.push_back("aaaammjj" + f.entre[0] + (w(1) <= 2 ? "hh" : "hhmn"));
      }
      h = n;
    }
    if (h < n) {
      suite = "hh" + f.entre[h] + "mn";
      if (h + 2 < n) suite += f.entre[h + 1] + "ss";
    }
  }
  if (f.marque) suite += " AM/PM";
  if (f.zone) {
    char zone[16];
    const int a = std::abs(zone_sortie);
    if (zone_sortie == 0)
      std::snprintf(zone, sizeof zone, "UTC");
    else
      std::snprintf(zone, sizeof zone, "UTC%c%02d:%02d", zone_sortie < 0 ? '-' : '+', a / 60,
                    a % 60);
    suite += std::string(f.espace_zone ? " " : "") + "zz " + zone;
  }
  if (sorte == Sorte::heure) return {suite};
  if (!dates.empty()) {
    for (auto& d : dates) d += suite;
    return dates;
  }
  if (n == 1) return {"aaaammjj"};
  const std::string s1 = f.entre[0], s2 = f.entre[1];
  const std::string milieu = sorte == Sorte::date_heure ? f.entre[2] : "";
  std::vector<std::string> r;
  const auto ajouter = [&](const std::string& a, const std::string& b, const std::string& c) {
    r.push_back(a + s1 + b + s2 + c + milieu + suite);
  };
  if (w(0) == 4) {
    ajouter("aaaa", "mm", "jj");
  } else if (w(2) == 4) {
    ajouter("jj", "mm", "aaaa");
    ajouter("mm", "jj", "aaaa");
  } else {
    for (const char* siecle : {"20", "19"}) {
      ajouter("jj", "mm", std::string(siecle) + "aa");
      ajouter("mm", "jj", std::string(siecle) + "aa");
      ajouter(std::string(siecle) + "aa", "mm", "jj");
    }
  }
  return r;
}

bool est_nombre(std::string_view texte, char* decimale = nullptr) {
  std::string_view t = sans_blancs(texte);
  if (t.empty()) return false;
  if (t.front() == '+' || t.front() == '-') t.remove_prefix(1);
  bool chiffres = false;
  char mark = 0;
  std::size_t i = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (est_chiffre(c)) {
      chiffres = true;
    } else if ((c == '.' || c == ',') && mark == 0) {
      mark = c;
    } else {
      break;
    }
  }
  if (!chiffres) return false;
  if (i < t.size()) {
    if (t[i] != 'e' && t[i] != 'E') return false;
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i)
      if (!est_chiffre(t[i])) return false;
  }
  if (decimale && mark) *decimale = mark;
  return true;
}

// Text that stands for no reading.
bool marque_textuelle(std::string_view t) {
  static const std::array<std::string_view, 10> kMarques = {"NA",  "N/A", "#N/A", "NAN",     "NULL",
                                                            "---", "--",  "-",    "#VALUE!", "ERR"};
  const std::string m = majuscules(sans_blancs(t));
  return std::find(kMarques.begin(), kMarques.end(), m) != kMarques.end();
}

// A number that cannot be a reading: a run of nines, negative (-999,
// -9999, -99999.0) or large and positive (99999). Never -1.
bool sentinelle(std::string_view texte) {
  std::string_view t = sans_blancs(texte);
  if (!est_nombre(t)) return false;
  const bool negatif = !t.empty() && t.front() == '-';
  if (negatif || t.front() == '+') t.remove_prefix(1);
  std::size_t neufs = 0;
  while (neufs < t.size() && t[neufs] == '9') ++neufs;
  const std::string_view reste = t.substr(neufs);
  if (!reste.empty()) {
    if (reste[0] != '.' && reste[0] != ',') return false;
    if (reste.substr(1).find_first_not_of('0') != std::string_view::npos) return false;
  }
  return negatif ? neufs >= 3 : neufs >= 5;
}

// The value seen most often and how often (the smallest on a tie); the
// default and 0 when nothing was seen.
template <class Valeur>
std::pair<Valeur, int> le_plus_frequent(const std::map<Valeur, int>& comptes, Valeur defaut) {
  std::pair<Valeur, int> r{defaut, 0};
  for (const auto& [valeur, n] : comptes)
    if (n > r.second) r = {valeur, n};
  return r;
}

// What one separator makes of the sample.
struct Essai {
  int separateur = -1;
  std::vector<std::vector<std::string>> champs;  // fields of each line
  std::vector<int> colonne;                      // the first date-like column of each line, -1
  std::vector<std::string> signature;            // its shape
  int debut = -1, fin = -1;                      // the data block (line indexes)
  int longueur = 0;                              // lines in the block with the block's shape
  int nb_champs = 0;                             // the usual field count of the block
  double typees = 0.0;                           // share of typed cells in the block
  double score = 0.0;
};

// The first column of a line that holds a date (with or without its time),
// and its shape; -1 when none.
// Whether the digits of a date shape can be a date at all: a year from 1900
// to 2100, a month and a day in range under some order (an identifier such
// as "01646500" is no compact date).
bool date_plausible(const Forme& f) {
  const auto v = [](std::string_view g) { return entier_ou(g, -1); };
  const std::string_view g0 = f.groupes[0];
  if (g0.size() >= 8) {
    const int a = v(g0.substr(0, 4)), m = v(g0.substr(4, 2)), j = v(g0.substr(6, 2));
    return a >= 1900 && a <= 2100 && m >= 1 && m <= 12 && j >= 1 && j <= 31 &&
           (g0.size() < 10 || v(g0.substr(8, 2)) <= 24);
  }
  const int a = v(g0), b = v(f.groupes[1]), c = v(f.groupes[2]);
  const auto annee = [](int x) { return x >= 1900 && x <= 2100; };
  const auto jour_mois = [](int x, int y) {
    return x >= 1 && y >= 1 && x <= 31 && y <= 31 && std::min(x, y) <= 12;
  };
  if (g0.size() == 4) return annee(a) && jour_mois(b, c);
  if (f.groupes[2].size() == 4) return annee(c) && jour_mois(a, b);
  return jour_mois(a, b) || jour_mois(b, c);
}

int colonne_date(const std::vector<std::string>& champs, std::string& signature) {
  for (std::size_t c = 0; c < champs.size(); ++c) {
    const auto f = forme_de(champs[c]);
    if (!f) continue;
    const Sorte s = sorte_de(*f);
    if ((s == Sorte::date || s == Sorte::date_heure) && date_plausible(*f)) {
      signature = f->signature;
      return static_cast<int>(c);
    }
  }
  return -1;
}

// The steady words that begin a trailer ("END OF DATA FILE OF ...",
// "End of log: 7 records"): its first three words, up to the first digit or
// punctuation; the line's first 30 characters when it begins otherwise.
std::string debut_de_remorque(std::string_view ligne) {
  const std::string_view t = sans_blancs(ligne);
  std::size_t fin = 0, mots = 0;
  while (fin < t.size()) {
    const char c = t[fin];
    const bool lettre =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0xC0;
    if (c == ' ') {
      if (++mots == 3) break;
    } else if (!lettre) {
      break;
    }
    ++fin;
  }
  const std::string_view mots_lus = sans_blancs(t.substr(0, fin));
  if (mots_lus.size() >= 3) return std::string(mots_lus);
  return std::string(sans_blancs(t.substr(0, std::min<std::size_t>(t.find('\t'), 30))));
}

bool cellule_typee(const std::string& c) {
  return sans_blancs(c).empty() || est_nombre(c) || marque_textuelle(c) || forme_de(c);
}

Essai essayer(const std::vector<std::string>& lignes, int sep) {
  Essai e;
  e.separateur = sep;
  const std::size_t n = std::min(lignes.size(), kLignesAuPlus);
  e.champs.resize(n);
  e.colonne.assign(n, -1);
  e.signature.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (blanche(lignes[i])) continue;
    e.champs[i] = champs_de(lignes[i], kCaracteres[sep]);
    e.colonne[i] = colonne_date(e.champs[i], e.signature[i]);
  }
  // The longest run of lines with one date shape at one column (blank lines
  // inside a run are passed over).
  int meilleur = 0, debut_meilleur = -1;
  std::string forme_meilleure;
  int col_meilleure = -1;
  for (std::size_t i = 0; i < n;) {
    if (e.colonne[i] < 0) {
      ++i;
      continue;
    }
    std::size_t k = i;
    int longueur = 0;
    while (k < n && (blanche(lignes[k]) ||
                     (e.colonne[k] == e.colonne[i] && e.signature[k] == e.signature[i]))) {
      if (!blanche(lignes[k])) ++longueur;
      ++k;
    }
    if (longueur > meilleur) {
      meilleur = longueur;
      debut_meilleur = static_cast<int>(i);
      forme_meilleure = e.signature[i];
      col_meilleure = e.colonne[i];
    }
    i = k;
  }
  if (debut_meilleur < 0) return e;
  // The block: from the first run of two lines or more of that shape (or the
  // longest run when it is a single line) to the last line of that shape.
  const auto meme = [&](std::size_t i) {
    return e.colonne[i] == col_meilleure && e.signature[i] == forme_meilleure;
  };
  e.debut = debut_meilleur;
  for (std::size_t i = 0; i + 1 < n && static_cast<int>(i) < debut_meilleur; ++i) {
    if (meme(i) && meme(i + 1)) {
      e.debut = static_cast<int>(i);
      break;
    }
  }
  for (std::size_t i = n; i-- > static_cast<std::size_t>(e.debut);) {
    if (meme(i)) {
      e.fin = static_cast<int>(i);
      break;
    }
  }
  std::map<std::size_t, int> comptes;
  int typees = 0, cellules = 0;
  for (int i = e.debut; i <= e.fin; ++i) {
    if (!meme(static_cast<std::size_t>(i))) continue;
    ++e.longueur;
    const auto& ch = e.champs[static_cast<std::size_t>(i)];
    ++comptes[ch.size()];
    for (const auto& c : ch) {
      ++cellules;
      if (cellule_typee(c)) ++typees;
    }
  }
  const auto [champs_usuels, plus] = le_plus_frequent<std::size_t>(comptes, 0);
  e.nb_champs = static_cast<int>(champs_usuels);
  e.typees = cellules ? static_cast<double>(typees) / cellules : 0.0;
  const double constance = e.longueur ? static_cast<double>(plus) / e.longueur : 0.0;
  e.score = e.longueur * e.typees * constance;
  return e;
}

std::string pourcent(double x) {
  return std::to_string(static_cast<int>(std::lround(100.0 * x))) + " %";
}

// The dates of the block under a format, read as the reader reads them;
// empty when one of them does not read.
std::vector<double> dates_sous(const std::vector<std::string>& textes, const std::string& format) {
  EtatLecteurDates etat;
  JournalSuivi journal;
  etat.erreurs_a_journaliser = 0;
  std::vector<double> r;
  r.reserve(textes.size());
  for (const auto& t : textes) {
    const std::string n = normaliser_date_mesure(t, format, etat, journal);
    if (n.empty() || n == "??") return {};
    const auto v = texte_en_date(n, nullptr, journal);
    if (!v || *v < 1.0) return {};
    r.push_back(*v);
  }
  return r;
}

// How well dates follow one another: the steps forward less the steps back.
long long ordre(const std::vector<double>& d) {
  long long n = 0;
  for (std::size_t i = 1; i < d.size(); ++i) n += d[i] > d[i - 1] ? 1 : (d[i] < d[i - 1] ? -1 : 0);
  return n;
}

}  // namespace

DispositionDetectee detecter_disposition(const std::vector<std::string>& lignes,
                                         const std::vector<std::string>& fin) {
  DispositionDetectee r;
  auto& x = r.explications;
  // ---- separator and data block
  std::array<Essai, 4> essais;
  int choisi = -1;
  for (int s : {0, 2, 3, 1}) {
    essais[static_cast<std::size_t>(s)] = essayer(lignes, s);
    const Essai& e = essais[static_cast<std::size_t>(s)];
    x.push_back("séparateur " + std::string(kNomsSeparateurs[s]) + " : " +
                (e.debut < 0 ? std::string("aucune ligne à date")
                             : "bloc de " + std::to_string(e.longueur) + " lignes (" +
                                   std::to_string(e.debut + 1) + " à " + std::to_string(e.fin + 1) +
                                   "), " + std::to_string(e.nb_champs) + " champs, " +
                                   pourcent(e.typees) + " de cellules typées"));
    // A tie goes to the separator tried first (tabulation, semicolon,
    // comma, space), then to the one that cuts more fields.
    if (e.debut >= 0 &&
        (choisi < 0 || e.score > essais[static_cast<std::size_t>(choisi)].score * 1.0001 ||
         (e.score >= essais[static_cast<std::size_t>(choisi)].score * 0.9999 &&
          e.nb_champs > essais[static_cast<std::size_t>(choisi)].nb_champs)))
      choisi = s;
  }
  if (choisi < 0) {
    x.push_back("aucun bloc de données à date trouvé");
    return r;
  }
  const Essai& e = essais[static_cast<std::size_t>(choisi)];
  r.separateur = choisi;
  r.premiere_ligne_donnees = e.debut + 1;
  r.derniere_ligne_donnees = e.fin + 1;
  r.nb_champs = e.nb_champs;
  x.push_back("=> séparateur " + std::string(kNomsSeparateurs[choisi]) + ", données des lignes " +
              std::to_string(e.debut + 1) + " à " + std::to_string(e.fin + 1));

  // The block's lines and a field of them.
  std::vector<int> bloc;
  for (int i = e.debut; i <= e.fin; ++i)
    if (!e.champs[static_cast<std::size_t>(i)].empty() &&
        e.colonne[static_cast<std::size_t>(i)] == e.colonne[static_cast<std::size_t>(e.debut)])
      bloc.push_back(i);
  const auto champ_bloc = [&](int i, int c) -> const std::string& {
    static const std::string vide;
    const auto& ch = e.champs[static_cast<std::size_t>(i)];
    return c >= 0 && static_cast<std::size_t>(c) < ch.size() ? ch[static_cast<std::size_t>(c)]
                                                             : vide;
  };
  const std::size_t n_dates = std::min(bloc.size(), kLignesDeDatesAuPlus);

  // ---- date column(s) and format
  const int c_date = e.colonne[static_cast<std::size_t>(e.debut)];
  const auto forme = forme_de(champ_bloc(e.debut, c_date));
  const Sorte sorte = sorte_de(*forme);
  int zone_sortie = forme->decalage;
  std::vector<std::string> textes;
  std::string format_heure;
  int c_heure = -1;
  if (sorte == Sorte::date) {
    // A time column beside the date: hh:mn[:ss], or a bare hour.
    const std::string& voisin = champ_bloc(e.debut, c_date + 1);
    const auto fh = forme_de(voisin);
    if (fh && sorte_de(*fh) == Sorte::heure) {
      c_heure = c_date + 1;
      format_heure = formats_candidats(*fh, Sorte::heure, fh->decalage).front();
    } else if (heure_nue(voisin, &format_heure)) {
      c_heure = c_date + 1;
    }
    if (c_heure >= 0) {
      for (std::size_t k = 0; k < n_dates; ++k) {
        const std::string& h = champ_bloc(bloc[k], c_heure);
        const auto f = forme_de(h);
        const bool ok = format_heure.starts_with("hh:") || format_heure.starts_with("hh_")
                            ? f && sorte_de(*f) == Sorte::heure
                            : heure_nue(h, nullptr);
        if (!ok) {
          c_heure = -1;
          break;
        }
      }
    }
  }
  // Offsets: the results take the smallest offset seen.
  for (std::size_t k = 0; k < n_dates; ++k) {
    const std::string& t = champ_bloc(bloc[k], c_date);
    if (const auto f = forme_de(t); f && f->zone) zone_sortie = std::min(zone_sortie, f->decalage);
    textes.push_back(c_heure >= 0 ? t + " " + champ_bloc(bloc[k], c_heure) : t);
  }
  std::vector<std::string> candidats = formats_candidats(*forme, sorte, zone_sortie);
  if (c_heure >= 0)
    for (auto& c : candidats) c += " " + format_heure;
  std::string format_choisi;
  std::vector<double> dates;
  long long meilleur_ordre = 0;
  double meilleure_etendue = 0.0;
  for (const auto& c : candidats) {
    const auto d = dates_sous(textes, c);
    if (d.empty()) {
      x.push_back("format <" + c + "> : ne lit pas toutes les dates");
      continue;
    }
    const long long o = ordre(d);
    double etendue = 0.0;  // days covered, step by step
    for (std::size_t i = 1; i < d.size(); ++i) etendue += std::abs(d[i] - d[i - 1]);
    x.push_back("format <" + c + "> : lit " + std::to_string(d.size()) + " dates, " +
                std::to_string(o) + " en ordre croissant (avancées moins reculs), " +
                std::to_string(std::llround(etendue)) + " jours parcourus");
    // The dates that go forward, then the ones with the shorter steps (a
    // day and a month swapped make jumps of a month between close lines).
    if (format_choisi.empty() || o > meilleur_ordre ||
        (o == meilleur_ordre && etendue < meilleure_etendue * (1.0 - 1e-9))) {
      format_choisi = c;
      dates = d;
      meilleur_ordre = o;
      meilleure_etendue = etendue;
    }
  }
  if (format_choisi.empty()) {
    x.push_back("aucun format ne lit les dates de la colonne " + std::to_string(c_date + 1));
    return r;
  }
  r.trouvee = true;
  if (c_heure >= 0) {
    r.deux_colonnes = true;
    r.colonne_date = c_date + 1;
    r.colonne_heure = c_heure + 1;
    r.format_heure = format_heure;
    r.format_date = format_choisi.substr(0, format_choisi.size() - format_heure.size() - 1);
    x.push_back("=> date en colonne " + std::to_string(r.colonne_date) + " <" + r.format_date +
                ">, heure en colonne " + std::to_string(r.colonne_heure) + " <" + r.format_heure +
                ">");
  } else {
    r.colonne_date_heure = c_date + 1;
    r.format_date_heure = format_choisi;
    x.push_back("=> date en colonne " + std::to_string(r.colonne_date_heure) + " <" +
                r.format_date_heure + ">");
  }
  r.premiere_date = date_heure_en_texte(dates.front());
  r.derniere_date = date_heure_en_texte(dates.back());

  // The step: the most frequent interval between two lines, in seconds.
  std::map<long long, int> ecarts;
  for (std::size_t i = 1; i < dates.size(); ++i) {
    const long long s = std::llround((dates[i] - dates[i - 1]) * 86400.0);
    if (s > 0) ++ecarts[s];
  }
  r.pas_secondes = static_cast<int>(le_plus_frequent<long long>(ecarts, 0).first);
  if (r.pas_secondes == 0 && !dates.empty()) r.pas_secondes = 1;

  // ---- title line, units line
  const std::size_t nb = static_cast<std::size_t>(e.nb_champs);
  // The filled fields of the first data line (its trailing empty ones aside).
  std::size_t remplis = nb;
  {
    const auto& d = e.champs[static_cast<std::size_t>(e.debut)];
    while (remplis > 0 && remplis <= d.size() && sans_blancs(d[remplis - 1]).empty()) --remplis;
  }
  const auto texte_majoritaire = [&](int i) {
    const auto& ch = e.champs[static_cast<std::size_t>(i)];
    int lettres = 0, nombres = 0;
    for (const auto& c : ch) {
      if (sans_blancs(c).empty()) continue;
      if (est_nombre(c) || forme_de(c))
        ++nombres;
      else
        ++lettres;
    }
    return lettres > nombres;
  };
  const auto meme_nombre = [&](int i) {
    const auto& ch = e.champs[static_cast<std::size_t>(i)];
    // Trailing empty fields aside: a line of one text and empty fields
    // ("Plot Title: x,,,,") is no title line.
    std::size_t n = ch.size();
    while (n > 0 && sans_blancs(ch[n - 1]).empty()) --n;
    return n >= remplis && n <= nb;
  };
  int t = e.debut - 1;
  while (t >= 0 && blanche(lignes[static_cast<std::size_t>(t)])) --t;
  if (t >= 0 && meme_nombre(t) && texte_majoritaire(t)) {
    while (t - 1 >= 0 && !blanche(lignes[static_cast<std::size_t>(t - 1)]) && meme_nombre(t - 1) &&
           texte_majoritaire(t - 1))
      --t;
    r.ligne_intitules = t + 1;
    if (t + 1 < e.debut && !blanche(lignes[static_cast<std::size_t>(t + 1)]))
      r.ligne_unites = t + 2;
    x.push_back("=> intitulés en ligne " + std::to_string(r.ligne_intitules) +
                (r.ligne_unites
                     ? ", unités ou compléments jusqu'à la ligne " + std::to_string(e.debut)
                     : std::string{}));
  } else {
    x.push_back(
        "=> pas de ligne d'intitulés (la ligne au-dessus des données n'a pas le même "
        "nombre de champs ou n'est pas du texte)");
  }

  // ---- value columns, decimal mark, no-data markers
  int virgules = 0, points = 0;
  std::vector<std::string> marques;
  const auto ajouter_marque = [&marques](std::string m) {
    if (marques.size() < 7 && std::find(marques.begin(), marques.end(), m) == marques.end())
      marques.push_back(std::move(m));
  };
  const auto titre = [&](std::size_t c) -> std::string {
    if (r.ligne_intitules < 1) return {};
    const auto& ch = e.champs[static_cast<std::size_t>(r.ligne_intitules - 1)];
    return c < ch.size() ? majuscules(sans_blancs(ch[c])) : std::string{};
  };
  for (std::size_t c = 0; c < nb; ++c) {
    if (static_cast<int>(c) == c_date || static_cast<int>(c) == c_heure) continue;
    // Milliseconds beside the time belong to it.
    if (static_cast<int>(c) == std::max(c_date, c_heure) + 1 &&
        (titre(c) == "MS" || titre(c) == "MSEC" || titre(c) == "MILLISECONDES")) {
      x.push_back("colonne " + std::to_string(c + 1) + " : millisecondes de l'heure, laissée");
      continue;
    }
    int nombres = 0, textes_col = 0;
    // A record number goes up by one from line to line (nine steps in ten at
    // least: a logger may repeat or skip one); an identifier is one whole
    // number of three digits or more on every line.
    bool entiers = true, constant = true;
    int pas_de_un = 0, vus = 0;
    long long precedent = 0;
    std::vector<std::string> marques_col;
    for (const int i : bloc) {
      const std::string& v = champ_bloc(i, static_cast<int>(c));
      if (sans_blancs(v).empty()) continue;
      if (marque_textuelle(v)) {
        marques_col.push_back(std::string(sans_blancs(v)));
        continue;
      }
      char mark = 0;
      if (!est_nombre(v, &mark)) {
        ++textes_col;
        continue;
      }
      if (sentinelle(v)) {
        marques_col.push_back(std::string(sans_blancs(v)));
        continue;
      }
      ++nombres;
      if (mark == ',') ++virgules;
      if (mark == '.') ++points;
      const auto entier = lire_entier(v);
      if (!entier) {
        entiers = false;
        continue;
      }
      if (vus > 0) {
        constant = constant && *entier == precedent;
        if (*entier == precedent + 1) ++pas_de_un;
      }
      precedent = *entier;
      ++vus;
    }
    if (nombres == 0 || textes_col * 4 > nombres) continue;
    if (entiers && vus >= 3 && 10 * pas_de_un >= 9 * (vus - 1)) {
      x.push_back("colonne " + std::to_string(c + 1) + " : numéros d'enregistrement, laissée");
      continue;
    }
    if (entiers && vus >= 3 && constant && std::llabs(precedent) >= 100) {
      x.push_back("colonne " + std::to_string(c + 1) + " : identifiant constant (" +
                  std::to_string(precedent) + "), laissée");
      continue;
    }
    r.colonnes_valeurs.push_back(static_cast<int>(c) + 1);
    for (auto& m : marques_col) ajouter_marque(m);
  }
  r.marques_na = marques;
  // Under the comma separator only quoted numbers can hold a decimal comma.
  r.decimale = virgules > points ? ',' : '.';
  {
    std::string liste;
    for (const int c : r.colonnes_valeurs) liste += (liste.empty() ? "" : ",") + std::to_string(c);
    std::string na;
    for (const auto& m : r.marques_na) na += (na.empty() ? "" : ";") + m;
    x.push_back("=> valeurs en colonnes " + (liste.empty() ? std::string("(aucune)") : liste) +
                ", séparateur décimal <" + std::string(1, r.decimale) + "> (" +
                std::to_string(virgules) + " virgules, " + std::to_string(points) + " points)" +
                (na.empty() ? std::string{} : ", sans donnée : " + cp1252_vers_utf8(na)));
  }

  // ---- trailer and tags
  const auto ligne_de_donnees = [&](std::string_view l) {
    std::string sig;
    const auto ch = champs_de(l, kCaracteres[choisi]);
    return colonne_date(ch, sig) == c_date && sig == e.signature[static_cast<std::size_t>(e.debut)];
  };
  std::string fin_texte;
  if (fin.empty()) {
    for (std::size_t i = static_cast<std::size_t>(e.fin) + 1; i < lignes.size(); ++i)
      if (!blanche(lignes[i])) {
        fin_texte = lignes[i];
        break;
      }
  } else {
    int derniere = -1;
    for (std::size_t i = fin.size(); i-- > 0;)
      if (ligne_de_donnees(fin[i])) {
        derniere = static_cast<int>(i);
        break;
      }
    for (std::size_t i = static_cast<std::size_t>(derniere + 1); i < fin.size(); ++i)
      if (!blanche(fin[i])) {
        fin_texte = fin[i];
        break;
      }
    if (derniere >= 0) {
      // The last date, read as the block's.
      const auto ch = champs_de(fin[static_cast<std::size_t>(derniere)], kCaracteres[choisi]);
      if (static_cast<std::size_t>(c_date) < ch.size()) {
        std::string texte = ch[static_cast<std::size_t>(c_date)];
        if (c_heure >= 0 && static_cast<std::size_t>(c_heure) < ch.size())
          texte += " " + ch[static_cast<std::size_t>(c_heure)];
        const auto d = dates_sous({texte}, format_choisi);
        if (!d.empty()) r.derniere_date = date_heure_en_texte(d.front());
      }
    }
  }
  // A trailer of separators only is read as an empty line.
  bool remorque =
      !fin_texte.empty() &&
      fin_texte.find_first_not_of(std::string(" \t") + kCaracteres[choisi]) != std::string::npos;
  r.fin_avant_la_fin = remorque;
  // A marker line above the titles (or the data): "[Data]", "BEGIN DATA".
  const int haut = (r.ligne_intitules ? r.ligne_intitules : r.premiere_ligne_donnees) - 1;
  std::string marqueur;
  for (int i = haut - 1; i >= 0 && i >= haut - 3; --i) {
    const std::string_view l = sans_blancs(lignes[static_cast<std::size_t>(i)]);
    if (l.empty() || tout_chiffres(l) > 0) continue;  // a count of lines
    const std::string m = majuscules(l);
    const bool crochets = l.size() >= 3 && l.front() == '[' && l.back() == ']';
    const bool mot =
        (m.find("DATA") != std::string::npos || m.find("DONNEES") != std::string::npos) &&
        compter_numeriques(l) == 0 && l.size() <= 60;
    if ((crochets || mot) && l.find('\t') == std::string_view::npos) marqueur = std::string(l);
    break;
  }
  std::string debut_tag = marqueur;
  if (debut_tag.empty() && remorque && r.ligne_intitules) {
    // The longest title of the title line that no line above holds.
    for (const auto& c : e.champs[static_cast<std::size_t>(r.ligne_intitules - 1)]) {
      if (c.size() < 3 || c.size() <= debut_tag.size() || c.find('"') != std::string::npos)
        continue;
      bool unique = true;
      for (int i = 0; i < r.ligne_intitules - 1 && unique; ++i)
        unique = lignes[static_cast<std::size_t>(i)].find(c) == std::string::npos;
      if (unique) debut_tag = c;
    }
  }
  // Tags only around data followed by a trailer: the end tag is what stops
  // the data there.
  if (!debut_tag.empty() && remorque) {
    // The tag must be found first where it is meant.
    int premiere = -1;
    for (std::size_t i = 0; i < lignes.size() && premiere < 0; ++i)
      if (lignes[i].find(debut_tag) != std::string::npos) premiere = static_cast<int>(i);
    if (premiere >= 0 && premiere <= haut - 1 + (marqueur.empty() ? 1 : 0)) {
      r.balise_debut = debut_tag;
      r.ligne_balise = premiere + 1;
      r.balise_fin = debut_de_remorque(fin_texte);
    }
  }
  if (remorque)
    x.push_back("lignes après les données : <" +
                cp1252_vers_utf8(std::string(sans_blancs(fin_texte)).substr(0, 60)) + ">" +
                (r.balise_fin.empty()
                     ? std::string(" (lues comme lignes à date illisible)")
                     : " => balise de fin <" + cp1252_vers_utf8(r.balise_fin) + ">"));
  if (!r.balise_debut.empty())
    x.push_back("=> balise de début <" + cp1252_vers_utf8(r.balise_debut) + ">");
  // When the reference line (the titles, else the first data line) begins
  // with the separator too, every line's leading separator is dropped by
  // the reader: the columns are counted without that empty first field.
  const std::string& reference = lignes[static_cast<std::size_t>(
      (r.ligne_intitules ? r.ligne_intitules : r.premiere_ligne_donnees) - 1)];
  if (choisi != 1 && !reference.empty() && reference.front() == kCaracteres[choisi]) {
    for (int* c : {&r.colonne_date_heure, &r.colonne_date, &r.colonne_heure})
      if (*c > 0) --*c;
    std::vector<int> v;
    for (const int c : r.colonnes_valeurs)
      if (c > 1) v.push_back(c - 1);
    r.colonnes_valeurs = v;
    x.push_back("toutes les lignes commencent par le séparateur : colonnes comptées sans lui");
  }
  x.push_back("=> période du " + r.premiere_date + " au " + r.derniere_date + ", pas observé " +
              std::to_string(r.pas_secondes) + " s");
  return r;
}

}  // namespace tamso
