// .xls (BIFF5 and BIFF8): FreeXL opens the workbook, names its sheets and
// gives the texts of the cells. It gives formula cells as empty and booleans
// as integers, and decides dates its own way, so the records of the chosen
// sheet are also read here: numbers, booleans, errors and the cached results
// of formulas, each with the number format of its cell.
#include <algorithm>
#include <cstring>
#include <map>

#include <freexl.h>

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
    case 0x2A:
      return "#N/A";
    default:
      return "#N/A";
  }
}

// The records of a BIFF stream.
struct Enregistrement {
  std::uint16_t type = 0;
  const std::uint8_t* donnees = nullptr;
  std::uint16_t taille = 0;
};

class Enregistrements {
 public:
  Enregistrements(const std::vector<std::uint8_t>& flux, std::size_t debut)
      : flux_(flux), position_(debut) {}
  bool suivant(Enregistrement& e) {
    if (position_ + 4 > flux_.size()) return false;
    e.type = u16(flux_.data() + position_);
    e.taille = u16(flux_.data() + position_ + 2);
    if (position_ + 4 + e.taille > flux_.size()) return false;
    e.donnees = flux_.data() + position_ + 4;
    position_ += 4u + e.taille;
    return true;
  }
  // The next record without moving on.
  bool voir(Enregistrement& e) const {
    Enregistrements copie = *this;
    return copie.suivant(e);
  }

 private:
  const std::vector<std::uint8_t>& flux_;
  std::size_t position_;
};

constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kFilepass = 0x002F, kDatemode = 0x0022;
constexpr std::uint16_t kFormat = 0x041E, kXf = 0x00E0, kBoundsheet = 0x0085;
constexpr std::uint16_t kNumber = 0x0203, kRk = 0x027E, kMulrk = 0x00BD, kBoolerr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006, kString = 0x0207, kContinue = 0x003C;

// Characters of a BIFF8 string whose pieces may go on in CONTINUE records:
// each piece starts with its own flag byte saying whether it is 8 or 16 bits.
std::string chaine_biff8(const std::uint8_t* p, std::size_t reste, std::size_t nb, bool seize_bits,
                         Enregistrements& suite) {
  std::string r;
  std::size_t lus = 0;
  for (;;) {
    const std::size_t largeur = seize_bits ? 2 : 1;
    while (lus < nb && reste >= largeur) {
      const char32_t c = seize_bits ? u16(p) : *p;
      ajouter_utf8(r, c);
      p += largeur;
      reste -= largeur;
      ++lus;
    }
    if (lus >= nb) break;
    Enregistrement e;
    if (!suite.voir(e) || e.type != kContinue || e.taille < 1) break;
    suite.suivant(e);
    seize_bits = e.donnees[0] & 1;
    p = e.donnees + 1;
    reste = e.taille - 1u;
  }
  return r;
}

// A cell read from the sheet's records.
struct CelluleBiff {
  std::uint32_t ligne = 0;
  std::uint16_t colonne = 0;
  enum Genre : std::uint8_t { nombre, booleen, erreur, texte } genre = nombre;
  std::uint32_t xf = 0;  // format index, or the index of the text
  double valeur = 0.0;
};

struct Globaux {
  bool biff8 = true;
  bool chiffre = false;
  bool base_1904 = false;
  std::vector<std::uint16_t> xf_format;                         // XF -> format number
  std::vector<std::pair<std::uint16_t, GenreDate>> formats;     // format number -> genre
  std::vector<std::pair<std::string, std::uint32_t>> feuilles;  // name, stream offset
};

Globaux lire_globaux(const std::vector<std::uint8_t>& flux) {
  Globaux g;
  Enregistrements r(flux, 0);
  Enregistrement e;
  if (!r.suivant(e) || e.type != kBof || e.taille < 4) return g;
  g.biff8 = u16(e.donnees) == 0x0600;
  while (r.suivant(e) && e.type != kEof) {
    const std::uint8_t* d = e.donnees;
    switch (e.type) {
      case kFilepass:
        g.chiffre = true;
        break;
      case kDatemode:
        if (e.taille >= 2) g.base_1904 = u16(d) == 1;
        break;
      case kXf:
        if (e.taille >= 4) g.xf_format.push_back(u16(d + 2));
        break;
      case kFormat: {
        if (e.taille < 3) break;
        std::string code;
        if (g.biff8 && e.taille >= 5) {
          Enregistrements suite = r;
          code = chaine_biff8(d + 5, e.taille - 5u, u16(d + 2), d[4] & 1, suite);
        } else {
          const std::size_t n = std::min<std::size_t>(d[2], e.taille - 3u);
          code = cp1252_vers_utf8(std::string_view(reinterpret_cast<const char*>(d + 3), n));
        }
        g.formats.emplace_back(u16(d), genre_format_excel(code));
        break;
      }
      case kBoundsheet: {
        if (e.taille < 7) break;
        std::string nom;
        const std::size_t n = d[6];
        if (g.biff8 && e.taille >= 8) {
          Enregistrements suite = r;
          nom = chaine_biff8(d + 8, e.taille - 8u, n, d[7] & 1, suite);
        } else {
          nom = cp1252_vers_utf8(std::string_view(reinterpret_cast<const char*>(d + 7),
                                                  std::min<std::size_t>(n, e.taille - 7u)));
        }
        g.feuilles.emplace_back(std::move(nom), u32(d));
        break;
      }
      default:
        break;
    }
  }
  return g;
}

// The value records of a sheet, turned into cells and texts. The text result
// of a formula comes in the STRING record that follows the formula.
struct ValeursFeuille {
  Enregistrements& r;
  bool biff8;
  std::vector<CelluleBiff>& cellules;
  std::vector<std::string>& textes;
  bool chaine_attendue = false;
  CelluleBiff en_attente{};

  void ajouter(std::uint32_t ligne, std::uint16_t col, CelluleBiff::Genre g, std::uint32_t xf,
               double v) {
    cellules.push_back({ligne, col, g, xf, v});
  }

  void ajouter_erreur(std::uint32_t ligne, std::uint16_t col, std::uint8_t code) {
    textes.emplace_back(texte_erreur(code));
    ajouter(ligne, col, CelluleBiff::erreur, static_cast<std::uint32_t>(textes.size() - 1), 0.0);
  }

  void lire(const Enregistrement& e) {
    const std::uint8_t* d = e.donnees;
    switch (e.type) {
      case kNumber:
        if (e.taille >= 14)
          ajouter(u16(d), u16(d + 2), CelluleBiff::nombre, u16(d + 4), f64(d + 6));
        break;
      case kRk:
        if (e.taille >= 10)
          ajouter(u16(d), u16(d + 2), CelluleBiff::nombre, u16(d + 4), valeur_rk(u32(d + 6)));
        break;
      case kMulrk:
        lire_mulrk(e);
        break;
      case kBoolerr:
        if (e.taille < 8) break;
        if (d[7])
          ajouter_erreur(u16(d), u16(d + 2), d[6]);
        else
          ajouter(u16(d), u16(d + 2), CelluleBiff::booleen, u16(d + 4), d[6] ? 1.0 : 0.0);
        break;
      case kFormula:
        lire_formule(e);
        break;
      case kString:
        lire_chaine(e);
        break;
      default:
        break;
    }
  }

  // Several RK numbers of one row.
  void lire_mulrk(const Enregistrement& e) {
    if (e.taille < 6) return;
    const std::uint8_t* d = e.donnees;
    const std::uint16_t ligne = u16(d), premiere = u16(d + 2);
    const std::size_t n = (e.taille - 6u) / 6;
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint8_t* p = d + 4 + 6 * k;
      ajouter(ligne, static_cast<std::uint16_t>(premiere + k), CelluleBiff::nombre, u16(p),
              valeur_rk(u32(p + 2)));
    }
  }

  // The cached result of a formula.
  void lire_formule(const Enregistrement& e) {
    if (e.taille < 20) return;
    const std::uint8_t* d = e.donnees;
    const std::uint16_t ligne = u16(d), col = u16(d + 2), xf = u16(d + 4);
    chaine_attendue = false;
    if (d[12] != 0xFF || d[13] != 0xFF) {
      ajouter(ligne, col, CelluleBiff::nombre, xf, f64(d + 6));
      return;
    }
    switch (d[6]) {
      case 0:  // a text, in the STRING record that follows
        chaine_attendue = true;
        en_attente = {ligne, col, CelluleBiff::texte, 0, 0.0};
        break;
      case 1:
        ajouter(ligne, col, CelluleBiff::booleen, xf, d[8] ? 1.0 : 0.0);
        break;
      case 2:
        ajouter_erreur(ligne, col, d[8]);
        break;
      default:  // an empty text
        break;
    }
  }

  void lire_chaine(const Enregistrement& e) {
    if (!chaine_attendue || e.taille < 2) return;
    const std::uint8_t* d = e.donnees;
    chaine_attendue = false;
    std::string t;
    if (biff8 && e.taille >= 3) {
      t = chaine_biff8(d + 3, e.taille - 3u, u16(d), d[2] & 1, r);
    } else {
      t = cp1252_vers_utf8(std::string_view(reinterpret_cast<const char*>(d + 2),
                                            std::min<std::size_t>(u16(d), e.taille - 2u)));
    }
    textes.push_back(std::move(t));
    en_attente.xf = static_cast<std::uint32_t>(textes.size() - 1);
    cellules.push_back(en_attente);
  }
};

// Reads the value records of the sheet whose substream starts at `debut`,
// leaving out those of the substreams it holds.
void lire_cellules(const std::vector<std::uint8_t>& flux, std::size_t debut, bool biff8,
                   std::vector<CelluleBiff>& cellules, std::vector<std::string>& textes) {
  Enregistrements r(flux, debut);
  Enregistrement e;
  if (!r.suivant(e) || e.type != kBof) return;
  ValeursFeuille valeurs{r, biff8, cellules, textes};
  int profondeur = 1;
  while (profondeur > 0 && r.suivant(e)) {
    if (e.type == kBof)
      ++profondeur;
    else if (e.type == kEof)
      --profondeur;
    else if (profondeur == 1)
      valeurs.lire(e);
  }
  std::stable_sort(cellules.begin(), cellules.end(),
                   [](const CelluleBiff& a, const CelluleBiff& b) {
                     return a.ligne != b.ligne ? a.ligne < b.ligne : a.colonne < b.colonne;
                   });
}

// "2024-03-01", "2024-03-01 00:10:01" or "00:10:01" as FreeXL writes them.
std::string texte_date_freexl(const char* t, GenreDate genre) {
  if (!t) return {};
  const std::string s(t);
  if (genre == GenreDate::heure) {
    const auto d = lire_date_iso("1899-12-30T" + s);
    return d ? texte_valeur_date(*d, genre) : s;
  }
  const auto d = lire_date_iso(s);
  return d ? texte_valeur_date(*d, genre) : s;
}

class LecteurXls : public LecteurFeuille {
 public:
  LecteurXls(const void* xls, std::string nom, Globaux globaux, std::vector<CelluleBiff> cellules,
             std::vector<std::string> textes)
      : xls_(xls),
        nom_(std::move(nom)),
        g_(std::move(globaux)),
        cellules_(std::move(cellules)),
        textes_(std::move(textes)) {
    for (const auto& [numero, genre] : g_.formats) genres_[numero] = genre;
    unsigned int lignes = 0;
    unsigned short colonnes = 0;
    freexl_worksheet_dimensions(xls_, &lignes, &colonnes);
    lignes_ = lignes;
    colonnes_ = colonnes;
    for (const auto& c : cellules_) {
      lignes_ = std::max<std::uint32_t>(lignes_, c.ligne + 1);
      colonnes_ = std::max<std::uint32_t>(colonnes_, c.colonne + 1u);
    }
  }
  ~LecteurXls() override { freexl_close(xls_); }

  const std::string& nom_feuille() const override { return nom_; }

  ErreurClasseur parcourir(VisiteurLignes& v) override {
    std::size_t k = 0;
    std::vector<CelluleTexte> ligne;
    for (std::uint32_t r = 0; r < lignes_; ++r) {
      ligne.clear();
      for (std::uint32_t c = 0; c < colonnes_; ++c) {
        while (k < cellules_.size() &&
               (cellules_[k].ligne < r || (cellules_[k].ligne == r && cellules_[k].colonne < c)))
          ++k;
        std::string t;
        // The last record of a cell wins.
        std::size_t dernier = k;
        while (dernier + 1 < cellules_.size() && cellules_[dernier + 1].ligne == r &&
               cellules_[dernier + 1].colonne == c)
          ++dernier;
        if (k < cellules_.size() && cellules_[k].ligne == r && cellules_[k].colonne == c)
          t = texte_biff(cellules_[dernier]);
        else
          t = texte_freexl(r, c);
        if (!t.empty()) ligne.push_back({c, 1, std::move(t)});
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
    const auto f = genres_.find(format);
    return f != genres_.end() ? f->second : genre_format_integre(format);
  }

  std::string texte_biff(const CelluleBiff& c) const {
    switch (c.genre) {
      case CelluleBiff::booleen:
        return c.valeur != 0.0 ? kTexteVrai : kTexteFaux;
      case CelluleBiff::erreur:
      case CelluleBiff::texte:
        return c.xf < textes_.size() ? textes_[c.xf] : std::string();
      case CelluleBiff::nombre:
        break;
    }
    const GenreDate g = genre_xf(c.xf);
    if (g != GenreDate::aucun)
      if (const auto d = texte_serie_date(c.valeur, g, g_.base_1904)) return *d;
    return texte_nombre(c.valeur);
  }

  std::string texte_freexl(std::uint32_t r, std::uint32_t c) const {
    FreeXL_CellValue v;
    if (c > 0xFFFF ||
        freexl_get_cell_value(xls_, r, static_cast<unsigned short>(c), &v) != FREEXL_OK)
      return {};
    switch (v.type) {
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
        return v.value.text_value ? v.value.text_value : "";
      case FREEXL_CELL_INT:
        return texte_nombre(v.value.int_value);
      case FREEXL_CELL_DOUBLE:
        return texte_nombre(v.value.double_value);
      case FREEXL_CELL_DATE:
        return texte_date_freexl(v.value.text_value, GenreDate::date);
      case FREEXL_CELL_DATETIME:
        return texte_date_freexl(v.value.text_value, GenreDate::date_heure);
      case FREEXL_CELL_TIME:
        return texte_date_freexl(v.value.text_value, GenreDate::heure);
      default:
        return {};
    }
  }

  const void* xls_;
  std::string nom_;
  Globaux g_;
  std::map<std::uint16_t, GenreDate> genres_;
  std::vector<CelluleBiff> cellules_;
  std::vector<std::string> textes_;
  std::uint32_t lignes_ = 0, colonnes_ = 0;
};

ErreurClasseur erreur_freexl(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND:
      return {EchecClasseur::introuvable, "ouverture impossible"};
    case FREEXL_INSUFFICIENT_MEMORY:
      return {EchecClasseur::trop_volumineux, "mémoire insuffisante"};
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return {EchecClasseur::pas_un_classeur, "aucun classeur dans le fichier composé"};
    default:
      return {EchecClasseur::endommage,
              "classeur .xls endommagé (code FreeXL " + std::to_string(code) + ")"};
  }
}

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
    o.erreur = {EchecClasseur::endommage, "flux du classeur illisible"};
    return o;
  }
  Globaux globaux = lire_globaux(*flux);
  if (globaux.chiffre) {
    o.erreur = {EchecClasseur::chiffre, ""};
    return o;
  }

  const void* xls = nullptr;
  const int code = freexl_open(chemin.c_str(), &xls);
  if (code != FREEXL_OK) {
    if (xls) freexl_close(xls);
    o.erreur = erreur_freexl(code);
    return o;
  }
  unsigned int info = 0;
  if (freexl_get_info(xls, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    freexl_close(xls);
    o.erreur = {EchecClasseur::chiffre, ""};
    return o;
  }
  unsigned int nb = 0;
  freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &nb);
  o.nb_feuilles = static_cast<int>(nb);
  const char* nom = nullptr;
  if (numero < 1 || numero > o.nb_feuilles ||
      freexl_get_worksheet_name(xls, static_cast<unsigned short>(numero - 1), &nom) != FREEXL_OK ||
      freexl_select_active_worksheet(xls, static_cast<unsigned short>(numero - 1)) != FREEXL_OK) {
    freexl_close(xls);
    o.erreur = {EchecClasseur::feuille_absente, ""};
    return o;
  }
  const std::string nom_feuille = nom ? nom : "";

  // The same sheet among the workbook's records, found by its name.
  std::vector<CelluleBiff> cellules;
  std::vector<std::string> textes;
  for (const auto& [n, position] : globaux.feuilles)
    if (n == nom_feuille) {
      lire_cellules(*flux, position, globaux.biff8, cellules, textes);
      break;
    }
  o.lecteur = std::make_unique<LecteurXls>(xls, nom_feuille, std::move(globaux),
                                           std::move(cellules), std::move(textes));
  return o;
}

}  // namespace tamso
