// .xlsx and .xlsm: the package relationships lead to the workbook, its sheet
// list and the parts of the chosen sheet, shared strings and styles.
// Relationship targets may be relative or absolute; cells may hold shared
// strings, inline strings, numbers, booleans, errors, ISO dates or formulas
// (read through their cached values).
#include <charconv>
#include <map>
#include <vector>

#include "input/workbook_readers.h"

namespace tamso {

namespace {

bool finit_par(std::string_view t, std::string_view fin) {
  return t.size() >= fin.size() && t.substr(t.size() - fin.size()) == fin;
}

std::string dossier_de(std::string_view partie) {
  const std::size_t p = partie.rfind('/');
  return p == std::string_view::npos ? std::string() : std::string(partie.substr(0, p + 1));
}

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"
std::string relations_de(std::string_view partie) {
  const std::size_t p = partie.rfind('/');
  if (p == std::string_view::npos) return "_rels/" + std::string(partie) + ".rels";
  return std::string(partie.substr(0, p + 1)) + "_rels/" + std::string(partie.substr(p + 1)) +
         ".rels";
}

std::optional<long long> entier(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  long long v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return v;
}

// ---------------------------------------------------------------- relationships

struct Relation {
  std::string type, cible;
};

class AnalyseRelations : public LecteurXml {
 public:
  explicit AnalyseRelations(std::string dossier) : dossier_(std::move(dossier)) {}
  void ouvrir(const char* nom, const char** a) override {
    if (nom_local(nom) != "Relationship") return;
    const char* id = attribut(a, "Id");
    const char* type = attribut(a, "Type");
    const char* cible = attribut(a, "Target");
    const char* mode = attribut(a, "TargetMode");
    if (!id || !cible || (mode && std::string_view(mode) == "External")) return;
    relations[id] = {type ? type : "", resoudre_cible(dossier_, cible)};
  }
  void fermer(const char*) override {}
  std::map<std::string, Relation> relations;

 private:
  std::string dossier_;
};

// ---------------------------------------------------------------- workbook

struct FeuilleDeclaree {
  std::string nom, relation;
};

class AnalyseClasseur : public LecteurXml {
 public:
  void ouvrir(const char* nom, const char** a) override {
    const std::string_view n = nom_local(nom);
    if (n == "workbookPr") {
      const char* v = attribut(a, "date1904");
      base_1904 = v && (std::string_view(v) == "1" || std::string_view(v) == "true");
    } else if (n == "sheet") {
      const char* nom_feuille = attribut(a, "name");
      const char* id = attribut(a, "id");
      feuilles.push_back({nom_feuille ? nom_feuille : "", id ? id : ""});
    }
  }
  void fermer(const char*) override {}
  bool base_1904 = false;
  std::vector<FeuilleDeclaree> feuilles;
};

// ---------------------------------------------------------------- styles

class AnalyseStyles : public LecteurXml {
 public:
  void ouvrir(const char* nom, const char** a) override {
    const std::string_view n = nom_local(nom);
    if (n == "numFmts")
      dans_formats_ = true;
    else if (n == "cellXfs")
      dans_xfs_ = true;
    else if (n == "numFmt" && dans_formats_) {
      const char* id = attribut(a, "numFmtId");
      const char* code = attribut(a, "formatCode");
      if (id && code)
        if (const auto i = entier(id)) formats_[*i] = genre_format_excel(code);
    } else if (n == "xf" && dans_xfs_) {
      const char* id = attribut(a, "numFmtId");
      xfs_.push_back(id ? entier(id).value_or(0) : 0);
    }
  }
  void fermer(const char* nom) override {
    const std::string_view n = nom_local(nom);
    if (n == "numFmts")
      dans_formats_ = false;
    else if (n == "cellXfs")
      dans_xfs_ = false;
  }
  // The genre of every cell format, by its index.
  std::vector<GenreDate> genres() const {
    std::vector<GenreDate> g;
    g.reserve(xfs_.size());
    for (long long id : xfs_) {
      const auto f = formats_.find(id);
      g.push_back(f != formats_.end() ? f->second : genre_format_integre(static_cast<int>(id)));
    }
    return g;
  }

 private:
  bool dans_formats_ = false, dans_xfs_ = false;
  std::map<long long, GenreDate> formats_;
  std::vector<long long> xfs_;
};

// ---------------------------------------------------------------- shared strings

// Every string in one block of text, with the end of each.
struct ChainesPartagees {
  std::string texte;
  std::vector<std::uint64_t> fins;
  std::size_t taille() const { return fins.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::uint64_t debut = i == 0 ? 0 : fins[i - 1];
    return std::string_view(texte).substr(debut, fins[i] - debut);
  }
};

class AnalyseChaines : public LecteurXml {
 public:
  AnalyseChaines(ChainesPartagees& c, std::uint64_t maximum) : c_(c), maximum_(maximum) {}
  void ouvrir(const char* nom, const char**) override {
    const std::string_view n = nom_local(nom);
    if (n == "si")
      dans_si_ = true;
    else if (n == "rPh")
      ++phonetique_;
    else if (n == "t" && dans_si_ && phonetique_ == 0)
      dans_t_ = true;
  }
  void fermer(const char* nom) override {
    const std::string_view n = nom_local(nom);
    if (n == "t")
      dans_t_ = false;
    else if (n == "rPh" && phonetique_ > 0)
      --phonetique_;
    else if (n == "si") {
      dans_si_ = false;
      c_.fins.push_back(c_.texte.size());
      if (c_.texte.size() + c_.fins.size() * sizeof(std::uint64_t) > maximum_)
        erreur = {EchecClasseur::trop_volumineux, "table des chaînes trop volumineuse"};
    }
  }
  void texte(std::string_view t) override {
    if (dans_t_) c_.texte.append(t);
  }

 private:
  ChainesPartagees& c_;
  std::uint64_t maximum_;
  bool dans_si_ = false, dans_t_ = false;
  int phonetique_ = 0;
};

// ---------------------------------------------------------------- sheet

enum class TypeCellule { nombre, partagee, formule_texte, en_ligne, booleen, erreur, date };

TypeCellule type_cellule(const char* t) {
  if (!t) return TypeCellule::nombre;
  const std::string_view v(t);
  if (v == "s") return TypeCellule::partagee;
  if (v == "str") return TypeCellule::formule_texte;
  if (v == "inlineStr") return TypeCellule::en_ligne;
  if (v == "b") return TypeCellule::booleen;
  if (v == "e") return TypeCellule::erreur;
  if (v == "d") return TypeCellule::date;
  return TypeCellule::nombre;
}

// "B12" -> column 1, row 11 (from 0). False for anything else.
bool lire_reference(std::string_view r, std::uint32_t& colonne, std::uint32_t& ligne) {
  std::size_t i = 0;
  std::uint64_t c = 0;
  while (i < r.size() && ((r[i] >= 'A' && r[i] <= 'Z') || (r[i] >= 'a' && r[i] <= 'z'))) {
    const char l = static_cast<char>(r[i] & ~0x20);
    c = c * 26 + static_cast<std::uint64_t>(l - 'A' + 1);
    if (c > (1u << 30)) return false;
    ++i;
  }
  if (i == 0 || i == r.size()) return false;
  const auto n = entier(r.substr(i));
  if (!n || *n < 1 || *n > (1ll << 31)) return false;
  colonne = static_cast<std::uint32_t>(c - 1);
  ligne = static_cast<std::uint32_t>(*n - 1);
  return true;
}

class AnalyseFeuille : public LecteurXml {
 public:
  AnalyseFeuille(VisiteurLignes& v, const ChainesPartagees& chaines,
                 const std::vector<GenreDate>& genres, bool base_1904,
                 const LimitesClasseur& limites)
      : v_(v), chaines_(chaines), genres_(genres), base_1904_(base_1904), limites_(limites) {}

  void ouvrir(const char* nom, const char** a) override {
    const std::string_view n = nom_local(nom);
    if (n == "sheetData") {
      dans_donnees_ = true;
    } else if (!dans_donnees_) {
      return;
    } else if (n == "row") {
      livrer_ligne();
      const char* r = attribut(a, "r");
      std::uint32_t numero = premiere_ligne_ ? 0 : ligne_ + 1;
      if (r) {
        const auto k = entier(r);
        if (!k || *k < 1 || *k > limites_.lignes) return hors_limites();
        numero = static_cast<std::uint32_t>(*k - 1);
      }
      if (numero >= limites_.lignes) return hors_limites();
      if (!premiere_ligne_ && numero <= ligne_) {
        erreur = {EchecClasseur::endommage, "lignes de la feuille dans le désordre"};
        return;
      }
      ligne_ = numero;
      premiere_ligne_ = false;
      dans_ligne_ = true;
      colonne_suivante_ = 0;
    } else if (n == "c" && dans_ligne_) {
      dans_cellule_ = true;
      valeur_.clear();
      en_ligne_.clear();
      a_valeur_ = a_en_ligne_ = false;
      type_ = type_cellule(attribut(a, "t"));
      genre_ = GenreDate::aucun;
      if (const char* s = attribut(a, "s"))
        if (const auto k = entier(s); k && *k >= 0 && static_cast<std::size_t>(*k) < genres_.size())
          genre_ = genres_[static_cast<std::size_t>(*k)];
      colonne_ = colonne_suivante_;
      if (const char* r = attribut(a, "r")) {
        std::uint32_t ligne = 0;
        if (!lire_reference(r, colonne_, ligne)) {
          erreur = {EchecClasseur::endommage, std::string("référence de cellule invalide ") + r};
          return;
        }
      }
      if (colonne_ >= limites_.colonnes) return hors_limites();
      colonne_suivante_ = colonne_ + 1;
    } else if (dans_cellule_) {
      if (n == "v") {
        dans_v_ = true;
        a_valeur_ = true;
      } else if (n == "is") {
        dans_is_ = true;
        a_en_ligne_ = true;
      } else if (n == "rPh") {
        ++phonetique_;
      } else if (n == "t" && dans_is_ && phonetique_ == 0) {
        dans_t_ = true;
      }
    }
  }

  void fermer(const char* nom) override {
    const std::string_view n = nom_local(nom);
    if (!dans_donnees_) return;
    if (n == "sheetData") {
      livrer_ligne();
      dans_donnees_ = false;
    } else if (n == "row") {
      livrer_ligne();
    } else if (n == "c" && dans_cellule_) {
      dans_cellule_ = false;
      // A shared string is handed by reference: one string used by many
      // cells is held once, however often it is written.
      std::string_view partagee;
      std::string t = texte_cellule(partagee);
      if (erreur) return;
      if (!t.empty() || !partagee.empty())
        cellules_.push_back({colonne_, 1, std::move(t), partagee});
    } else if (n == "v") {
      dans_v_ = false;
    } else if (n == "is") {
      dans_is_ = false;
    } else if (n == "t") {
      dans_t_ = false;
    } else if (n == "rPh" && phonetique_ > 0) {
      --phonetique_;
    }
  }

  void texte(std::string_view t) override {
    if (dans_v_)
      valeur_.append(t);
    else if (dans_t_)
      en_ligne_.append(t);
  }

 private:
  void hors_limites() {
    erreur = {EchecClasseur::trop_volumineux, "cellule au-delà des limites d'une feuille"};
  }

  void livrer_ligne() {
    if (!dans_ligne_) return;
    dans_ligne_ = false;
    if (cellules_.empty()) return;
    ranger_cellules(cellules_);
    if (!v_.ligne(ligne_, 1, cellules_) && !erreur)
      erreur = {EchecClasseur::ecriture, "écriture interrompue"};
    cellules_.clear();
  }

  std::string texte_cellule(std::string_view& partagee) {
    switch (type_) {
      case TypeCellule::partagee: {
        if (!a_valeur_) return {};
        const auto k = entier(valeur_);
        if (!k || *k < 0 || static_cast<std::uint64_t>(*k) >= chaines_.taille()) {
          erreur = {EchecClasseur::endommage, "chaîne partagée " + valeur_ + " absente"};
          return {};
        }
        partagee = chaines_[static_cast<std::size_t>(*k)];
        return {};
      }
      case TypeCellule::en_ligne:
        return a_en_ligne_ ? en_ligne_ : valeur_;
      case TypeCellule::formule_texte:
      case TypeCellule::erreur:
        return valeur_;
      case TypeCellule::booleen:
        if (valeur_ == "1" || valeur_ == "true") return kTexteVrai;
        if (valeur_ == "0" || valeur_ == "false") return kTexteFaux;
        return valeur_;
      case TypeCellule::date: {
        const auto d = lire_date_iso(valeur_);
        if (!d) return valeur_;
        GenreDate g = genre_;
        if (g == GenreDate::aucun)
          g = valeur_.find('T') == std::string::npos ? GenreDate::date : GenreDate::date_heure;
        return texte_valeur_date(*d, g);
      }
      case TypeCellule::nombre:
        break;
    }
    if (!a_valeur_ && a_en_ligne_) return en_ligne_;
    if (valeur_.empty()) return {};
    const auto x = lire_nombre_classeur(valeur_);
    if (!x) return valeur_;
    if (genre_ != GenreDate::aucun)
      if (const auto d = texte_serie_date(*x, genre_, base_1904_)) return *d;
    return texte_nombre(*x);
  }

  VisiteurLignes& v_;
  const ChainesPartagees& chaines_;
  const std::vector<GenreDate>& genres_;
  bool base_1904_;
  const LimitesClasseur& limites_;

  bool dans_donnees_ = false, dans_ligne_ = false, dans_cellule_ = false;
  bool dans_v_ = false, dans_is_ = false, dans_t_ = false;
  int phonetique_ = 0;
  bool premiere_ligne_ = true;
  std::uint32_t ligne_ = 0, colonne_ = 0, colonne_suivante_ = 0;
  TypeCellule type_ = TypeCellule::nombre;
  GenreDate genre_ = GenreDate::aucun;
  bool a_valeur_ = false, a_en_ligne_ = false;
  std::string valeur_, en_ligne_;
  std::vector<CelluleTexte> cellules_;
};

// ---------------------------------------------------------------- reader

class LecteurXlsx : public LecteurFeuille {
 public:
  LecteurXlsx(std::unique_ptr<ArchiveZip> archive, std::string partie, std::string nom,
              ChainesPartagees chaines, std::vector<GenreDate> genres, bool base_1904,
              LimitesClasseur limites)
      : archive_(std::move(archive)),
        partie_(std::move(partie)),
        nom_(std::move(nom)),
        chaines_(std::move(chaines)),
        genres_(std::move(genres)),
        base_1904_(base_1904),
        limites_(limites) {}

  const std::string& nom_feuille() const override { return nom_; }
  ErreurClasseur parcourir(VisiteurLignes& v) override {
    AnalyseFeuille a(v, chaines_, genres_, base_1904_, limites_);
    return archive_->analyser(partie_, a, limites_);
  }

 private:
  std::unique_ptr<ArchiveZip> archive_;
  std::string partie_, nom_;
  ChainesPartagees chaines_;
  std::vector<GenreDate> genres_;
  bool base_1904_;
  LimitesClasseur limites_;
};

// The relationship of a part whose type ends with this name.
const Relation* relation_de_type(const std::map<std::string, Relation>& r, std::string_view fin) {
  for (const auto& [id, rel] : r)
    if (finit_par(rel.type, fin)) return &rel;
  return nullptr;
}

}  // namespace

OuvertureFeuille ouvrir_feuille_xlsx(const std::string& chemin, int numero,
                                     const LimitesClasseur& limites) {
  OuvertureFeuille o;
  auto archive = std::make_unique<ArchiveZip>();
  if ((o.erreur = archive->ouvrir(chemin))) return o;

  // The workbook part, named by the package relationships.
  std::string classeur = "xl/workbook.xml";
  if (archive->contient("_rels/.rels")) {
    AnalyseRelations racine("");
    if ((o.erreur = archive->analyser("_rels/.rels", racine, limites))) return o;
    if (const Relation* r = relation_de_type(racine.relations, "/officeDocument"))
      classeur = r->cible;
  }
  if (!archive->contient(classeur)) {
    o.erreur = {EchecClasseur::pas_un_classeur, "aucune partie classeur dans l'archive"};
    return o;
  }
  if (!finit_par(classeur, ".xml")) {
    o.erreur = {EchecClasseur::pas_un_classeur, "classeur binaire (.xlsb) non pris en charge"};
    return o;
  }
  AnalyseClasseur c;
  if ((o.erreur = archive->analyser(classeur, c, limites))) return o;
  o.nb_feuilles = static_cast<int>(c.feuilles.size());
  if (numero < 1 || numero > o.nb_feuilles) {
    o.erreur = {EchecClasseur::feuille_absente, ""};
    return o;
  }

  AnalyseRelations relations(dossier_de(classeur));
  const std::string fichier_relations = relations_de(classeur);
  if (archive->contient(fichier_relations))
    if ((o.erreur = archive->analyser(fichier_relations, relations, limites))) return o;
  const FeuilleDeclaree& f = c.feuilles[static_cast<std::size_t>(numero - 1)];
  const auto rel = relations.relations.find(f.relation);
  std::string partie;
  if (rel != relations.relations.end())
    partie = rel->second.cible;
  else
    partie = dossier_de(classeur) + "worksheets/sheet" + std::to_string(numero) + ".xml";
  if (!archive->contient(partie)) {
    o.erreur = {EchecClasseur::endommage, "partie de la feuille " + f.nom + " absente"};
    return o;
  }

  std::vector<GenreDate> genres;
  const Relation* styles = relation_de_type(relations.relations, "/styles");
  const std::string partie_styles = styles ? styles->cible : dossier_de(classeur) + "styles.xml";
  if (archive->contient(partie_styles)) {
    AnalyseStyles s;
    if ((o.erreur = archive->analyser(partie_styles, s, limites))) return o;
    genres = s.genres();
  }
  ChainesPartagees chaines;
  const Relation* partagees = relation_de_type(relations.relations, "/sharedStrings");
  const std::string partie_chaines =
      partagees ? partagees->cible : dossier_de(classeur) + "sharedStrings.xml";
  if (archive->contient(partie_chaines)) {
    AnalyseChaines a(chaines, limites.octets_chaines);
    if ((o.erreur = archive->analyser(partie_chaines, a, limites))) return o;
  }
  o.lecteur = std::make_unique<LecteurXlsx>(std::move(archive), partie, f.nom, std::move(chaines),
                                            std::move(genres), c.base_1904, limites);
  return o;
}

}  // namespace tamso
