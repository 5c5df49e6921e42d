// .xls (BIFF8 of Excel 97 and later, BIFF5/7 of Excel 5 and 95): the workbook
// stream of the compound file, read record by record. The globals give the
// date system, the cell formats, the shared strings and the sheets with the
// offset of each; the chosen sheet's records give its cells. Every length,
// index and offset is checked against the bytes of the stream: a record that
// does not fit, a string longer than its data or a cell pointing to a missing
// shared string makes the workbook damaged, never a read past the data.
#include <algorithm>
#include <cstring>
#include <map>

#include "input/encoding.h"
#include "input/workbook_cfbf.h"
#include "input/workbook_readers.h"

namespace tamso {

namespace {

std::uint16_t u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
double f64(const std::uint8_t* p) {
  std::uint64_t b = 0;
  for (int i = 7; i >= 0; --i) b = (b << 8) | p[i];
  double d;
  std::memcpy(&d, &b, sizeof d);
  return d;
}

// Value of an RK number: a 30-bit integer or the high half of a double,
// divided by 100 when flagged.
double valeur_rk(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t b = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &b, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

const char* texte_erreur(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    default:
      return "#N/A";
  }
}

ErreurClasseur endommage(const std::string& detail) {
  return {EchecClasseur::endommage, detail};
}

constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kFilepass = 0x002F, kDatemode = 0x0022;
constexpr std::uint16_t kFormat = 0x041E, kXf = 0x00E0, kBoundsheet = 0x0085, kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kNumber = 0x0203, kRk = 0x027E, kMulrk = 0x00BD, kBoolerr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006, kString = 0x0207, kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204, kRstring = 0x00D6;

// ---------------------------------------------------------------- records

struct Enregistrement {
  std::uint16_t type = 0;
  const std::uint8_t* donnees = nullptr;
  std::uint16_t taille = 0;
};

// The records of a BIFF stream from an offset. A record whose header or data
// the stream cuts short ends the walk and is remembered as such.
class Enregistrements {
 public:
  Enregistrements(const std::vector<std::uint8_t>& flux, std::size_t debut)
      : flux_(flux), position_(debut) {}
  bool suivant(Enregistrement& e) {
    if (position_ >= flux_.size()) return false;
    if (flux_.size() - position_ < 4) {
      tronque_ = true;
      return false;
    }
    e.type = u16(flux_.data() + position_);
    e.taille = u16(flux_.data() + position_ + 2);
    if (flux_.size() - position_ - 4 < e.taille) {
      tronque_ = true;
      return false;
    }
    e.donnees = flux_.data() + position_ + 4;
    position_ += 4u + e.taille;
    return true;
  }
  // The next record without moving on.
  bool voir(Enregistrement& e) const {
    Enregistrements copie = *this;
    return copie.suivant(e);
  }
  bool tronque() const { return tronque_; }

 private:
  const std::vector<std::uint8_t>& flux_;
  std::size_t position_;
  bool tronque_ = false;
};

// The data of a record and of the CONTINUE records after it, read as one run
// of bytes. Characters of a string cut by a record boundary go on after a new
// option byte that says again whether they are 8 or 16 bits wide; any other
// data (string headers, formatting runs, Far-East data) just goes on.
class Morceaux {
 public:
  Morceaux(const Enregistrement& premier, Enregistrements& suite) {
    pieces_.emplace_back(premier.donnees, premier.taille);
    Enregistrement e;
    while (suite.voir(e) && e.type == kContinue) {
      suite.suivant(e);
      pieces_.emplace_back(e.donnees, e.taille);
    }
  }
  // Only the record itself, for strings that never go on.
  explicit Morceaux(const Enregistrement& seul) { pieces_.emplace_back(seul.donnees, seul.taille); }

  bool fin() {
    avancer();
    return piece_ >= pieces_.size();
  }
  bool octet(std::uint8_t& b) {
    avancer();
    if (piece_ >= pieces_.size()) return false;
    b = pieces_[piece_].first[position_++];
    return true;
  }
  bool mot(std::uint16_t& v) {
    std::uint8_t a = 0, b = 0;
    if (!octet(a) || !octet(b)) return false;
    v = static_cast<std::uint16_t>(a | (b << 8));
    return true;
  }
  bool double_mot(std::uint32_t& v) {
    std::uint16_t a = 0, b = 0;
    if (!mot(a) || !mot(b)) return false;
    v = a | (static_cast<std::uint32_t>(b) << 16);
    return true;
  }
  bool sauter(std::uint64_t n) {
    while (n > 0) {
      avancer();
      if (piece_ >= pieces_.size()) return false;
      const std::size_t reste = pieces_[piece_].second - position_;
      const std::size_t pas = static_cast<std::size_t>(std::min<std::uint64_t>(n, reste));
      position_ += pas;
      n -= pas;
    }
    return true;
  }
  // `nb` characters into UTF-8, 16 bits wide or 8 (the low byte of the code).
  bool caracteres(std::size_t nb, bool seize_bits, std::string& sortie) {
    std::uint32_t haut = 0;  // a high surrogate waiting for its pair
    for (std::size_t k = 0; k < nb; ++k) {
      if (piece_ < pieces_.size() && position_ >= pieces_[piece_].second) {
        // Characters go on in the next record, after their option byte.
        ++piece_;
        position_ = 0;
        std::uint8_t options = 0;
        if (!octet(options)) return false;
        seize_bits = options & 1;
      }
      std::uint32_t c = 0;
      if (seize_bits) {
        if (piece_ >= pieces_.size() || pieces_[piece_].second - position_ < 2) return false;
        c = u16(pieces_[piece_].first + position_);
        position_ += 2;
      } else {
        std::uint8_t b = 0;
        if (!octet(b)) return false;
        c = b;
      }
      if (haut != 0) {
        if (c >= 0xDC00 && c <= 0xDFFF) {
          ajouter_utf8(sortie, 0x10000 + ((haut - 0xD800) << 10) + (c - 0xDC00));
          haut = 0;
          continue;
        }
        ajouter_utf8(sortie, 0xFFFD);
        haut = 0;
      }
      if (c >= 0xD800 && c <= 0xDBFF)
        haut = c;
      else if (c >= 0xDC00 && c <= 0xDFFF)
        ajouter_utf8(sortie, 0xFFFD);
      else
        ajouter_utf8(sortie, c);
    }
    if (haut != 0) ajouter_utf8(sortie, 0xFFFD);
    return true;
  }

  // A BIFF8 string: its length (one or two bytes), its option byte, the
  // counts of formatting runs and of Far-East data when flagged, the
  // characters, then the runs and the Far-East data, skipped.
  bool chaine_biff8(bool longueur_16, std::string& sortie) {
    std::uint16_t nb = 0;
    std::uint8_t court = 0, options = 0;
    if (longueur_16 ? !mot(nb) : !octet(court)) return false;
    if (!longueur_16) nb = court;
    if (!octet(options)) return false;
    std::uint16_t runs = 0;
    std::uint32_t extension = 0;
    if ((options & 0x08) && !mot(runs)) return false;
    if ((options & 0x04) && !double_mot(extension)) return false;
    return caracteres(nb, options & 1, sortie) && sauter(4ull * runs) && sauter(extension);
  }

  // A BIFF5 string: its length (one or two bytes) and bytes of the code page.
  bool chaine_biff5(bool longueur_16, std::string& sortie) {
    std::uint16_t nb = 0;
    std::uint8_t court = 0;
    if (longueur_16 ? !mot(nb) : !octet(court)) return false;
    if (!longueur_16) nb = court;
    std::string octets;
    for (std::uint16_t k = 0; k < nb; ++k) {
      std::uint8_t b = 0;
      if (!octet(b)) return false;
      octets.push_back(static_cast<char>(b));
    }
    sortie = cp1252_vers_utf8(octets);
    return true;
  }

 private:
  // Past the end of a piece, on to the next (outside the characters of a string).
  void avancer() {
    while (piece_ < pieces_.size() && position_ >= pieces_[piece_].second) {
      ++piece_;
      position_ = 0;
    }
  }

  std::vector<std::pair<const std::uint8_t*, std::size_t>> pieces_;
  std::size_t piece_ = 0, position_ = 0;
};

// ---------------------------------------------------------------- globals

// Every shared string in one block of text, with the end of each.
struct ChainesPartagees {
  std::string texte;
  std::vector<std::size_t> fins;
  std::size_t taille() const { return fins.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t debut = i == 0 ? 0 : fins[i - 1];
    return std::string_view(texte).substr(debut, fins[i] - debut);
  }
};

struct Feuille {
  std::string nom;
  std::uint32_t position = 0;
};

struct Globaux {
  bool biff8 = true;
  bool base_1904 = false;
  std::vector<std::uint16_t> xf_format;        // XF -> format number
  std::map<std::uint16_t, GenreDate> formats;  // format number -> genre
  std::vector<Feuille> feuilles;
  ChainesPartagees chaines;
};

ErreurClasseur lire_chaines(const Enregistrement& sst, Enregistrements& suite,
                            ChainesPartagees& c) {
  Morceaux m(sst, suite);
  std::uint32_t total = 0, uniques = 0;
  if (!m.double_mot(total) || !m.double_mot(uniques))
    return endommage("table des chaînes partagées tronquée");
  for (std::uint32_t k = 0; k < uniques && !m.fin(); ++k) {
    if (!m.chaine_biff8(true, c.texte)) return endommage("table des chaînes partagées tronquée");
    c.fins.push_back(c.texte.size());
  }
  return {};
}

ErreurClasseur lire_globaux(const std::vector<std::uint8_t>& flux, Globaux& g) {
  Enregistrements r(flux, 0);
  Enregistrement e;
  if (!r.suivant(e) || e.type != kBof || e.taille < 4)
    return endommage("début du classeur introuvable");
  const std::uint16_t version = u16(e.donnees);
  if (version != 0x0600 && version != 0x0500) return endommage("version de classeur .xls inconnue");
  g.biff8 = version == 0x0600;
  for (;;) {
    if (!r.suivant(e))
      return endommage(r.tronque() ? "enregistrement tronqué" : "classeur incomplet");
    if (e.type == kEof) return {};
    const std::uint8_t* d = e.donnees;
    switch (e.type) {
      case kFilepass:
        return {EchecClasseur::chiffre, ""};
      case kDatemode:
        if (e.taille >= 2) g.base_1904 = u16(d) == 1;
        break;
      case kXf:
        if (e.taille < 4) return endommage("format de cellule tronqué");
        g.xf_format.push_back(u16(d + 2));
        break;
      case kFormat: {
        if (e.taille < 3) return endommage("format de nombre tronqué");
        Morceaux m(e, r);
        std::uint16_t numero = 0;
        std::string code;
        if (!m.mot(numero) || !(g.biff8 ? m.chaine_biff8(true, code) : m.chaine_biff5(false, code)))
          return endommage("format de nombre tronqué");
        g.formats[numero] = genre_format_excel(code);
        break;
      }
      case kBoundsheet: {
        Morceaux m(e, r);
        Feuille f;
        std::uint16_t etat = 0;
        if (!m.double_mot(f.position) || !m.mot(etat) ||
            !(g.biff8 ? m.chaine_biff8(false, f.nom) : m.chaine_biff5(false, f.nom)))
          return endommage("feuille déclarée tronquée");
        g.feuilles.push_back(std::move(f));
        break;
      }
      case kSst:
        if (!g.biff8) break;
        if (const ErreurClasseur erreur = lire_chaines(e, r, g.chaines)) return erreur;
        break;
      default:
        break;
    }
  }
}

// ---------------------------------------------------------------- cells

// A cell read from the sheet's records.
struct CelluleBiff {
  std::uint32_t ligne = 0;
  std::uint32_t colonne = 0;
  enum Genre : std::uint8_t { nombre, booleen, texte, partagee } genre = nombre;
  std::uint32_t indice = 0;  // the format (XF) of a number, or the index of the text
  double valeur = 0.0;
};

// The value records of a sheet, turned into cells. Texts of their own go to
// `textes`; a shared string is kept by its index.
class ValeursFeuille {
 public:
  ValeursFeuille(Enregistrements& r, const Globaux& g, std::vector<CelluleBiff>& cellules,
                 std::vector<std::string>& textes)
      : r_(r), g_(g), cellules_(cellules), textes_(textes) {}

  ErreurClasseur lire(const Enregistrement& e) {
    const std::uint8_t* d = e.donnees;
    switch (e.type) {
      case kNumber:
        if (e.taille < 14) return tronque();
        nombre(u16(d), u16(d + 2), u16(d + 4), f64(d + 6));
        break;
      case kRk:
        if (e.taille < 10) return tronque();
        nombre(u16(d), u16(d + 2), u16(d + 4), valeur_rk(u32(d + 6)));
        break;
      case kMulrk:
        return lire_mulrk(e);
      case kBoolerr:
        if (e.taille < 8) return tronque();
        if (d[7])
          texte(u16(d), u16(d + 2), texte_erreur(d[6]));
        else
          booleen(u16(d), u16(d + 2), d[6] != 0);
        break;
      case kLabelSst: {
        if (e.taille < 10) return tronque();
        const std::uint32_t k = u32(d + 6);
        if (k >= g_.chaines.taille())
          return endommage("chaîne partagée " + std::to_string(k) + " absente");
        chaine_attendue_ = false;
        cellules_.push_back({u16(d), u16(d + 2), CelluleBiff::partagee, k, 0.0});
        break;
      }
      case kLabel:
      case kRstring: {
        if (e.taille < 8) return tronque();
        Morceaux m(e);
        std::string t;
        if (!m.sauter(6) || !(g_.biff8 ? m.chaine_biff8(true, t) : m.chaine_biff5(true, t)))
          return tronque();
        texte(u16(d), u16(d + 2), std::move(t));
        break;
      }
      case kFormula:
        return lire_formule(e);
      case kString:
        return lire_chaine(e);
      default:
        break;
    }
    return {};
  }

 private:
  static ErreurClasseur tronque() { return endommage("enregistrement de cellule tronqué"); }

  void nombre(std::uint32_t ligne, std::uint32_t col, std::uint16_t xf, double v) {
    chaine_attendue_ = false;
    cellules_.push_back({ligne, col, CelluleBiff::nombre, xf, v});
  }
  void booleen(std::uint32_t ligne, std::uint32_t col, bool v) {
    chaine_attendue_ = false;
    cellules_.push_back({ligne, col, CelluleBiff::booleen, 0, v ? 1.0 : 0.0});
  }
  void texte(std::uint32_t ligne, std::uint32_t col, std::string t) {
    chaine_attendue_ = false;
    textes_.push_back(std::move(t));
    cellules_.push_back(
        {ligne, col, CelluleBiff::texte, static_cast<std::uint32_t>(textes_.size() - 1), 0.0});
  }

  // Several RK numbers of one row: first column, (XF, RK) pairs, last column.
  ErreurClasseur lire_mulrk(const Enregistrement& e) {
    if (e.taille < 12 || (e.taille - 6) % 6 != 0)
      return endommage("enregistrement MULRK incohérent");
    const std::uint8_t* d = e.donnees;
    const std::uint16_t ligne = u16(d), premiere = u16(d + 2);
    const std::size_t n = (e.taille - 6u) / 6;
    if (static_cast<std::size_t>(u16(d + e.taille - 2)) + 1 != premiere + n)
      return endommage("enregistrement MULRK incohérent");
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint8_t* p = d + 4 + 6 * k;
      nombre(ligne, static_cast<std::uint32_t>(premiere + k), u16(p), valeur_rk(u32(p + 2)));
    }
    return {};
  }

  // The cached result of a formula: a number, or flagged in its last two
  // bytes a text (in the STRING record that follows), a boolean, an error or
  // an empty text.
  ErreurClasseur lire_formule(const Enregistrement& e) {
    if (e.taille < 20) return tronque();
    const std::uint8_t* d = e.donnees;
    const std::uint16_t ligne = u16(d), col = u16(d + 2), xf = u16(d + 4);
    if (d[12] != 0xFF || d[13] != 0xFF) {
      nombre(ligne, col, xf, f64(d + 6));
      return {};
    }
    switch (d[6]) {
      case 0:
        chaine_attendue_ = true;
        ligne_attendue_ = ligne;
        colonne_attendue_ = col;
        break;
      case 1:
        booleen(ligne, col, d[8] != 0);
        break;
      case 2:
        texte(ligne, col, texte_erreur(d[8]));
        break;
      default:
        chaine_attendue_ = false;
        break;
    }
    return {};
  }

  ErreurClasseur lire_chaine(const Enregistrement& e) {
    Morceaux m(e, r_);
    if (!chaine_attendue_) return {};
    std::string t;
    if (!(g_.biff8 ? m.chaine_biff8(true, t) : m.chaine_biff5(true, t))) return tronque();
    texte(ligne_attendue_, colonne_attendue_, std::move(t));
    return {};
  }

  Enregistrements& r_;
  const Globaux& g_;
  std::vector<CelluleBiff>& cellules_;
  std::vector<std::string>& textes_;
  bool chaine_attendue_ = false;
  std::uint32_t ligne_attendue_ = 0, colonne_attendue_ = 0;
};

// Reads the value records of the sheet whose substream starts at `debut`,
// leaving out those of the substreams it holds (charts), and sorts them by
// row and column.
ErreurClasseur lire_cellules(const std::vector<std::uint8_t>& flux, std::uint32_t debut,
                             const Globaux& g, std::vector<CelluleBiff>& cellules,
                             std::vector<std::string>& textes) {
  if (debut >= flux.size()) return endommage("feuille hors du classeur");
  Enregistrements r(flux, debut);
  Enregistrement e;
  if (!r.suivant(e) || e.type != kBof) return endommage("début de feuille introuvable");
  ValeursFeuille valeurs(r, g, cellules, textes);
  int profondeur = 1;
  while (profondeur > 0) {
    if (!r.suivant(e))
      return endommage(r.tronque() ? "enregistrement tronqué" : "fin de feuille absente");
    if (e.type == kBof)
      ++profondeur;
    else if (e.type == kEof)
      --profondeur;
    else if (profondeur == 1)
      if (const ErreurClasseur erreur = valeurs.lire(e)) return erreur;
  }
  std::stable_sort(cellules.begin(), cellules.end(),
                   [](const CelluleBiff& a, const CelluleBiff& b) {
                     return a.ligne != b.ligne ? a.ligne < b.ligne : a.colonne < b.colonne;
                   });
  return {};
}

class LecteurXls : public LecteurFeuille {
 public:
  LecteurXls(std::string nom, Globaux globaux, std::vector<CelluleBiff> cellules,
             std::vector<std::string> textes)
      : nom_(std::move(nom)),
        g_(std::move(globaux)),
        cellules_(std::move(cellules)),
        textes_(std::move(textes)) {}

  const std::string& nom_feuille() const override { return nom_; }

  ErreurClasseur parcourir(VisiteurLignes& v) override {
    std::vector<CelluleTexte> ligne;
    std::size_t k = 0;
    while (k < cellules_.size()) {
      const std::uint32_t r = cellules_[k].ligne;
      ligne.clear();
      for (; k < cellules_.size() && cellules_[k].ligne == r; ++k) {
        // Of several records of one cell the last one counts.
        if (k + 1 < cellules_.size() && cellules_[k + 1].ligne == r &&
            cellules_[k + 1].colonne == cellules_[k].colonne)
          continue;
        CelluleTexte c{cellules_[k].colonne, 1, {}, {}};
        if (cellules_[k].genre == CelluleBiff::partagee)
          c.reference = g_.chaines[cellules_[k].indice];
        else
          c.texte = texte_cellule(cellules_[k]);
        if (!c.valeur().empty()) ligne.push_back(std::move(c));
      }
      if (!ligne.empty() && !v.ligne(r, 1, ligne))
        return {EchecClasseur::ecriture, "écriture interrompue"};
    }
    return {};
  }

 private:
  GenreDate genre_xf(std::uint32_t xf) const {
    if (xf >= g_.xf_format.size()) return GenreDate::aucun;
    const std::uint16_t format = g_.xf_format[xf];
    const auto f = g_.formats.find(format);
    return f != g_.formats.end() ? f->second : genre_format_integre(format);
  }

  std::string texte_cellule(const CelluleBiff& c) const {
    switch (c.genre) {
      case CelluleBiff::booleen:
        return c.valeur != 0.0 ? kTexteVrai : kTexteFaux;
      case CelluleBiff::texte:
        return textes_[c.indice];
      case CelluleBiff::partagee:
        return std::string(g_.chaines[c.indice]);
      case CelluleBiff::nombre:
        break;
    }
    const GenreDate g = genre_xf(c.indice);
    if (g != GenreDate::aucun)
      if (const auto d = texte_serie_date(c.valeur, g, g_.base_1904)) return *d;
    return texte_nombre(c.valeur);
  }

  std::string nom_;
  Globaux g_;
  std::vector<CelluleBiff> cellules_;
  std::vector<std::string> textes_;
};

}  // namespace

OuvertureFeuille ouvrir_feuille_xls(const std::string& chemin, int numero,
                                    const LimitesClasseur& limites) {
  OuvertureFeuille o;
  FichierComposite composite;
  if ((o.erreur = composite.ouvrir(chemin))) return o;
  const std::string nom_flux = composite.contient("Workbook") ? "Workbook" : "Book";
  if (!composite.contient(nom_flux)) {
    o.erreur = {EchecClasseur::pas_un_classeur, "aucun classeur dans le fichier composé"};
    return o;
  }
  const auto flux = composite.lire_flux(nom_flux, limites.octets_partie);
  if (!flux) {
    o.erreur = endommage("flux du classeur illisible");
    return o;
  }
  Globaux globaux;
  if ((o.erreur = lire_globaux(*flux, globaux))) return o;
  o.nb_feuilles = static_cast<int>(globaux.feuilles.size());
  if (numero < 1 || numero > o.nb_feuilles) {
    o.erreur = {EchecClasseur::feuille_absente, ""};
    return o;
  }
  const Feuille& f = globaux.feuilles[static_cast<std::size_t>(numero - 1)];
  std::vector<CelluleBiff> cellules;
  std::vector<std::string> textes;
  if ((o.erreur = lire_cellules(*flux, f.position, globaux, cellules, textes))) return o;
  std::string nom = f.nom;
  o.lecteur = std::make_unique<LecteurXls>(std::move(nom), std::move(globaux), std::move(cellules),
                                           std::move(textes));
  return o;
}

}  // namespace tamso
