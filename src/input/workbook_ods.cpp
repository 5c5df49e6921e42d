// .ods: the tables of content.xml, in order. Cells carry their value and its
// type; the data style of the cell (through its own style, the row's or the
// column's default) tells whether a date shows its time. Repeated rows and
// columns are kept as runs and only expanded when written.
#include <algorithm>
#include <charconv>
#include <iterator>
#include <map>
#include <vector>

#include "input/workbook_readers.h"

namespace tamso {

namespace {

constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr std::string_view kNumber = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";

std::uint64_t repetition(const char** a, std::string_view local) {
  const char* v = attribut_ns(a, kTable, local);
  if (!v) return 1;
  std::uint64_t n = 0;
  const std::string_view t(v);
  const auto r = std::from_chars(t.data(), t.data() + t.size(), n);
  if (r.ec != std::errc() || n == 0) return 1;
  return n;
}

// ---------------------------------------------------------------- styles

struct StylesOds {
  std::map<std::string, GenreDate> donnees;  // data style -> what it shows
  struct StyleCellule {
    std::string donnees, parent;
  };
  std::map<std::string, StyleCellule> cellules;

  GenreDate genre(const std::string& style) const {
    std::string s = style;
    for (int profondeur = 0; profondeur < 16 && !s.empty(); ++profondeur) {
      const auto c = cellules.find(s);
      if (c == cellules.end()) return GenreDate::aucun;
      if (!c->second.donnees.empty()) {
        const auto d = donnees.find(c->second.donnees);
        return d == donnees.end() ? GenreDate::aucun : d->second;
      }
      s = c->second.parent;
    }
    return GenreDate::aucun;
  }
};

// Reads data styles and cell styles; stops at the body when told to.
class AnalyseStylesOds : public LecteurXml {
 public:
  AnalyseStylesOds(StylesOds& s, bool arret_au_corps) : s_(s), arret_au_corps_(arret_au_corps) {}
  void ouvrir(const char* nom, const char** a) override {
    if (arret_au_corps_ && nom_est(nom, kOffice, "body")) {
      fini = true;
      return;
    }
    const bool date = nom_est(nom, kNumber, "date-style");
    const bool heure = nom_est(nom, kNumber, "time-style");
    if (date || heure) {
      const char* n = attribut_ns(a, kStyle, "name");
      style_donnees_ = n ? n : "";
      a_date_ = false;
      a_heure_ = heure;
      dans_style_donnees_ = true;
      return;
    }
    if (dans_style_donnees_) {
      const std::string_view l = nom_local(nom);
      if (l == "day" || l == "month" || l == "year" || l == "day-of-week" || l == "era" ||
          l == "quarter" || l == "week-of-year")
        a_date_ = true;
      else if (l == "hours" || l == "minutes" || l == "seconds" || l == "am-pm")
        a_heure_ = true;
      return;
    }
    if (nom_est(nom, kStyle, "style") || nom_est(nom, kStyle, "default-style")) {
      const char* famille = attribut_ns(a, kStyle, "family");
      const char* n = attribut_ns(a, kStyle, "name");
      if (!famille || std::string_view(famille) != "table-cell" || !n) return;
      const char* d = attribut_ns(a, kStyle, "data-style-name");
      const char* p = attribut_ns(a, kStyle, "parent-style-name");
      s_.cellules[n] = {d ? d : "", p ? p : ""};
    }
  }
  void fermer(const char* nom) override {
    if (nom_est(nom, kNumber, "date-style") || nom_est(nom, kNumber, "time-style")) {
      dans_style_donnees_ = false;
      GenreDate g = GenreDate::aucun;
      if (a_date_ && a_heure_)
        g = GenreDate::date_heure;
      else if (a_date_)
        g = GenreDate::date;
      else if (a_heure_)
        g = GenreDate::heure;
      if (!style_donnees_.empty()) s_.donnees[style_donnees_] = g;
    }
  }

 private:
  StylesOds& s_;
  bool arret_au_corps_;
  bool dans_style_donnees_ = false, a_date_ = false, a_heure_ = false;
  std::string style_donnees_;
};

// ---------------------------------------------------------------- tables

// Counts the tables and finds the name of the wanted one. With `tout` the
// whole document is read (to count every table); otherwise the parse stops
// once the wanted table has begun.
class AnalyseTables : public LecteurXml {
 public:
  AnalyseTables(int numero, bool tout) : numero_(numero), tout_(tout) {}
  void ouvrir(const char* nom, const char** a) override {
    if (!nom_est(nom, kTable, "table")) return;
    if (profondeur_++ > 0) return;
    ++nb_tables;
    if (nb_tables == numero_) {
      const char* n = attribut_ns(a, kTable, "name");
      nom_table = n ? n : "";
      trouve = true;
      if (!tout_) fini = true;
    }
  }
  void fermer(const char* nom) override {
    if (nom_est(nom, kTable, "table")) --profondeur_;
  }
  int nb_tables = 0;
  bool trouve = false;
  std::string nom_table;

 private:
  int numero_;
  bool tout_;
  int profondeur_ = 0;
};

class AnalyseTableOds : public LecteurXml {
 public:
  AnalyseTableOds(VisiteurLignes& v, int numero, const StylesOds& styles,
                  const LimitesClasseur& limites)
      : v_(v), numero_(numero), styles_(styles), limites_(limites) {}

  void ouvrir(const char* nom, const char** a) override {
    if (nom_est(nom, kTable, "table")) {
      if (profondeur_table_++ == 0) dans_table_ = ++nb_tables_ == numero_;
      return;
    }
    if (!dans_table_ || profondeur_table_ != 1) return;
    if (dans_annotation_ > 0) {
      if (nom_est(nom, kOffice, "annotation")) ++dans_annotation_;
      return;
    }
    if (nom_est(nom, kTable, "table-column")) {
      const std::uint64_t n = repetition(a, "number-columns-repeated");
      const char* style = attribut_ns(a, kTable, "default-cell-style-name");
      if (style && colonne_suivante_ < limites_.colonnes)
        colonnes_.push_back({colonne_suivante_, n, style});
      colonne_suivante_ += n;
    } else if (nom_est(nom, kTable, "table-row")) {
      dans_ligne_ = true;
      repetition_ligne_ = repetition(a, "number-rows-repeated");
      const char* style = attribut_ns(a, kTable, "default-cell-style-name");
      style_ligne_ = style ? style : "";
      colonne_ = 0;
      octets_ligne_ = 0;
      cellules_.clear();
    } else if (dans_ligne_ &&
               (nom_est(nom, kTable, "table-cell") || nom_est(nom, kTable, "covered-table-cell"))) {
      ouvrir_cellule(a);
    } else if (dans_cellule_) {
      if (nom_est(nom, kOffice, "annotation")) {
        dans_annotation_ = 1;
      } else if (nom_est(nom, kText, "p") || nom_est(nom, kText, "h")) {
        if (paragraphes_ > 0) texte_.push_back(' ');
        ++paragraphes_;
        dans_paragraphe_ = true;
      } else if (dans_paragraphe_ && nom_est(nom, kText, "s")) {
        const char* c = attribut_ns(a, kText, "c");
        std::uint64_t n = 1;
        if (c) std::from_chars(c, c + std::char_traits<char>::length(c), n);
        texte_.append(static_cast<std::size_t>(std::min<std::uint64_t>(n, 1024)), ' ');
        borner_ligne();
      } else if (dans_paragraphe_ && nom_est(nom, kText, "tab")) {
        texte_.push_back('\t');
      } else if (dans_paragraphe_ && nom_est(nom, kText, "line-break")) {
        texte_.push_back(' ');
      }
    }
  }

  void fermer(const char* nom) override {
    if (nom_est(nom, kTable, "table")) {
      if (--profondeur_table_ == 0 && dans_table_) {
        dans_table_ = false;
        fini = true;  // the wanted table is read
      }
      return;
    }
    if (!dans_table_ || profondeur_table_ != 1) return;
    if (dans_annotation_ > 0) {
      if (nom_est(nom, kOffice, "annotation")) --dans_annotation_;
      return;
    }
    if (nom_est(nom, kTable, "table-row")) {
      fermer_ligne();
    } else if (dans_cellule_ &&
               (nom_est(nom, kTable, "table-cell") || nom_est(nom, kTable, "covered-table-cell"))) {
      fermer_cellule();
    } else if (nom_est(nom, kText, "p") || nom_est(nom, kText, "h")) {
      dans_paragraphe_ = false;
    }
  }

  void texte(std::string_view t) override {
    if (dans_paragraphe_ && dans_annotation_ == 0) {
      texte_.append(t);
      borner_ligne();
    }
  }

 private:
  struct Colonnes {
    std::uint64_t debut, nombre;
    std::string style;
  };

  // The texts of a row are held until the row ends: never more of them than
  // a converted text may hold (runs of spaces would otherwise let a small
  // part make a huge row).
  void borner_ligne() {
    if (!erreur && octets_ligne_ + texte_.size() > limites_.octets_texte)
      erreur = {EchecClasseur::trop_volumineux, "ligne de texte trop longue"};
  }

  void ouvrir_cellule(const char** a) {
    dans_cellule_ = true;
    repetition_cellule_ = repetition(a, "number-columns-repeated");
    texte_.clear();
    paragraphes_ = 0;
    const auto lire = [a](std::string_view espace, std::string_view local) {
      const char* v = attribut_ns(a, espace, local);
      return v ? std::string(v) : std::string();
    };
    type_ = lire(kOffice, "value-type");
    valeur_ = lire(kOffice, "value");
    date_ = lire(kOffice, "date-value");
    duree_ = lire(kOffice, "time-value");
    booleen_ = lire(kOffice, "boolean-value");
    chaine_ = lire(kOffice, "string-value");
    a_chaine_ = attribut_ns(a, kOffice, "string-value") != nullptr;
    style_ = lire(kTable, "style-name");
  }

  // The style of a cell without its own: the row's default, else the column's.
  std::string style_effectif() const {
    if (!style_.empty()) return style_;
    if (!style_ligne_.empty()) return style_ligne_;
    // The runs of columns come in order: the last one starting at or before the cell.
    const auto apres = std::upper_bound(
        colonnes_.begin(), colonnes_.end(), colonne_,
        [](std::uint64_t colonne, const Colonnes& c) { return colonne < c.debut; });
    if (apres == colonnes_.begin()) return {};
    const Colonnes& c = *std::prev(apres);
    if (colonne_ - c.debut < c.nombre) return c.style;
    return {};
  }

  std::string texte_cellule() const {
    if (type_ == "float" || type_ == "percentage" || type_ == "currency") {
      if (const auto x = lire_nombre_classeur(valeur_)) return texte_nombre(*x);
    } else if (type_ == "date") {
      if (const auto d = lire_date_iso(date_)) {
        GenreDate g = styles_.genre(style_effectif());
        if (g == GenreDate::aucun)
          g = date_.find('T') == std::string::npos ? GenreDate::date : GenreDate::date_heure;
        return texte_valeur_date(*d, g);
      }
    } else if (type_ == "time") {
      if (const auto d = lire_duree_iso(duree_); d && *d >= 0)
        return texte_valeur_date(*d, GenreDate::heure);
    } else if (type_ == "boolean") {
      if (booleen_ == "true" || booleen_ == "1") return kTexteVrai;
      if (booleen_ == "false" || booleen_ == "0") return kTexteFaux;
    } else if (type_ == "string" && a_chaine_) {
      return chaine_;
    }
    return texte_;
  }

  void fermer_cellule() {
    dans_cellule_ = false;
    dans_paragraphe_ = false;
    std::string t = texte_cellule();
    octets_ligne_ += t.size();
    if (!t.empty()) {
      if (colonne_ + repetition_cellule_ > limites_.colonnes) {
        erreur = {EchecClasseur::trop_volumineux, "cellule au-delà des limites d'une feuille"};
        return;
      }
      cellules_.push_back({static_cast<std::uint32_t>(colonne_),
                           static_cast<std::uint32_t>(repetition_cellule_), std::move(t)});
    }
    colonne_ += repetition_cellule_;
  }

  void fermer_ligne() {
    dans_ligne_ = false;
    if (!cellules_.empty()) {
      if (ligne_ + repetition_ligne_ > limites_.lignes) {
        erreur = {EchecClasseur::trop_volumineux, "ligne au-delà des limites d'une feuille"};
        return;
      }
      if (!v_.ligne(static_cast<std::uint32_t>(ligne_),
                    static_cast<std::uint32_t>(repetition_ligne_), cellules_)) {
        erreur = {EchecClasseur::ecriture, "écriture interrompue"};
        return;
      }
      cellules_.clear();
    }
    ligne_ += repetition_ligne_;
  }

  VisiteurLignes& v_;
  int numero_;
  const StylesOds& styles_;
  const LimitesClasseur& limites_;

  int nb_tables_ = 0, profondeur_table_ = 0;
  bool dans_table_ = false, dans_ligne_ = false, dans_cellule_ = false;
  bool dans_paragraphe_ = false;
  int dans_annotation_ = 0, paragraphes_ = 0;
  std::vector<Colonnes> colonnes_;
  std::uint64_t colonne_suivante_ = 0;
  std::uint64_t ligne_ = 0, repetition_ligne_ = 1, colonne_ = 0, repetition_cellule_ = 1;
  std::uint64_t octets_ligne_ = 0;
  std::string style_ligne_;
  std::string type_, valeur_, date_, duree_, booleen_, chaine_, style_, texte_;
  bool a_chaine_ = false;
  std::vector<CelluleTexte> cellules_;
};

class LecteurOds : public LecteurFeuille {
 public:
  LecteurOds(std::unique_ptr<ArchiveZip> archive, int numero, std::string nom, StylesOds styles,
             LimitesClasseur limites)
      : archive_(std::move(archive)),
        numero_(numero),
        nom_(std::move(nom)),
        styles_(std::move(styles)),
        limites_(limites) {}
  const std::string& nom_feuille() const override { return nom_; }
  ErreurClasseur parcourir(VisiteurLignes& v) override {
    AnalyseTableOds a(v, numero_, styles_, limites_);
    return archive_->analyser("content.xml", a, limites_);
  }

 private:
  std::unique_ptr<ArchiveZip> archive_;
  int numero_;
  std::string nom_;
  StylesOds styles_;
  LimitesClasseur limites_;
};

}  // namespace

OuvertureFeuille ouvrir_feuille_ods(const std::string& chemin, int numero,
                                    const LimitesClasseur& limites) {
  OuvertureFeuille o;
  auto archive = std::make_unique<ArchiveZip>();
  if ((o.erreur = archive->ouvrir(chemin))) return o;
  // A document saved with a password lists its encrypted parts in the manifest.
  if (const auto manifeste = archive->lire_petite_entree("META-INF/manifest.xml", 1 << 22))
    if (manifeste->find("encryption-data") != std::string::npos) {
      o.erreur = {EchecClasseur::chiffre, ""};
      return o;
    }
  const auto type = archive->lire_petite_entree("mimetype", 256);
  if (!archive->contient("content.xml") ||
      (type && type->find("opendocument.spreadsheet") == std::string::npos)) {
    o.erreur = {EchecClasseur::pas_un_classeur, "aucun contenu OpenDocument"};
    return o;
  }
  StylesOds styles;
  if (archive->contient("styles.xml")) {
    AnalyseStylesOds s(styles, false);
    if ((o.erreur = archive->analyser("styles.xml", s, limites))) return o;
  }
  {
    AnalyseStylesOds s(styles, true);
    if ((o.erreur = archive->analyser("content.xml", s, limites))) return o;
  }
  AnalyseTables t(numero, false);
  if ((o.erreur = archive->analyser("content.xml", t, limites))) return o;
  if (!t.trouve) {
    o.nb_feuilles = t.nb_tables;
    o.erreur = {EchecClasseur::feuille_absente, ""};
    return o;
  }
  // The count of sheets is known only by reading the document to its end;
  // it is needed for the message of a missing sheet only.
  o.nb_feuilles = numero;
  o.lecteur = std::make_unique<LecteurOds>(std::move(archive), numero, t.nom_table,
                                           std::move(styles), limites);
  return o;
}

}  // namespace tamso
