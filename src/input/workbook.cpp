#include "input/workbook.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <unistd.h>

#include "input/dates.h"
#include "input/encoding.h"
#include "input/files.h"
#include "input/text.h"
#include "input/workbook_cfbf.h"
#include "input/workbook_readers.h"

namespace tamso {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- writer

// Writes the used range row by row: missing rows and cells inside the range
// come out empty, every row has as many fields as the range is wide. Cells go
// straight into the output block, so no row, however long, is held whole.
class EcrivainPlage : public VisiteurLignes {
 public:
  static constexpr std::size_t kBloc = 1 << 20;

  EcrivainPlage(const std::string& chemin, const Plage& plage, const LimitesClasseur& limites)
      : chemin_(chemin), plage_(plage), limites_(limites) {
    f_ = std::fopen(chemin.c_str(), "wb");
    prochaine_ = plage.ligne_min;
    tampon_.reserve(kBloc + 4096);
  }
  ~EcrivainPlage() override {
    if (f_) std::fclose(f_);
  }
  EcrivainPlage(const EcrivainPlage&) = delete;
  EcrivainPlage& operator=(const EcrivainPlage&) = delete;

  bool ouvert() const { return f_ != nullptr; }
  const ErreurClasseur& erreur() const { return erreur_; }
  std::uint64_t nb_lignes() const { return nb_lignes_; }
  std::uint64_t taille() const { return taille_; }

  bool ligne(std::uint32_t numero, std::uint32_t repetition,
             const std::vector<CelluleTexte>& cellules) override {
    if (erreur_) return false;
    for (std::uint64_t k = 0; k < repetition; ++k) {
      const std::uint64_t r = numero + k;
      if (r < plage_.ligne_min) continue;
      if (r > plage_.ligne_max) break;
      if (r < prochaine_) {
        erreur_ = {EchecClasseur::endommage, "lignes de la feuille dans le désordre"};
        return false;
      }
      while (prochaine_ < r)
        if (!ecrire_ligne_vide()) return false;
      if (!ecrire_ligne(cellules)) return false;
      ++prochaine_;
      ++nb_lignes_;
    }
    return true;
  }

  // Writes the empty rows that end the range, flushes and closes.
  bool terminer() {
    while (!erreur_ && prochaine_ <= plage_.ligne_max)
      if (!ecrire_ligne_vide()) return false;
    if (erreur_) return false;
    if (!vider() || std::fclose(f_) != 0) {
      f_ = nullptr;
      erreur_ = {EchecClasseur::ecriture, chemin_};
      return false;
    }
    f_ = nullptr;
    return true;
  }

 private:
  bool ecrire_cellule(std::string_view utf8) {
    const std::string octets = utf8_vers_cp1252(utf8);
    for (std::size_t debut = 0; debut < octets.size(); debut += kBloc) {
      const std::size_t n = std::min(kBloc, octets.size() - debut);
      if (!compter(n)) return false;
      for (std::size_t i = debut; i < debut + n; ++i) {
        char c = octets[i];
        if (c == '\t')
          c = ';';
        else if (c == '\r' || c == '\n')
          c = ' ';  // a line break would split the row
        tampon_.push_back(c);
      }
      if (tampon_.size() >= kBloc && !vider()) return false;
    }
    return true;
  }

  bool ecrire_ligne(const std::vector<CelluleTexte>& cellules) {
    std::size_t k = 0;
    for (std::uint32_t c = plage_.colonne_min;; ++c) {
      if (c > plage_.colonne_min && !ecrire(";")) return false;
      while (k < cellules.size() &&
             cellules[k].colonne + static_cast<std::uint64_t>(cellules[k].repetition) <= c)
        ++k;
      if (k < cellules.size() && cellules[k].colonne <= c && !ecrire_cellule(cellules[k].valeur()))
        return false;
      if (c == plage_.colonne_max) break;
    }
    return ecrire("\r\n");
  }

  bool ecrire_ligne_vide() {
    if (vide_.empty()) {
      vide_.assign(plage_.colonne_max - plage_.colonne_min, ';');
      vide_ += "\r\n";
    }
    if (!ecrire(vide_)) return false;
    ++prochaine_;
    ++nb_lignes_;
    return true;
  }

  bool compter(std::size_t n) {
    taille_ += n;
    if (taille_ > limites_.octets_texte) {
      erreur_ = {EchecClasseur::trop_volumineux, "texte converti trop volumineux"};
      return false;
    }
    return true;
  }

  bool ecrire(std::string_view t) {
    if (!compter(t.size())) return false;
    tampon_ += t;
    return tampon_.size() < kBloc || vider();
  }

  bool vider() {
    if (!tampon_.empty() && std::fwrite(tampon_.data(), 1, tampon_.size(), f_) != tampon_.size()) {
      erreur_ = {EchecClasseur::ecriture, chemin_};
      return false;
    }
    tampon_.clear();
    return true;
  }

  std::string chemin_;
  Plage plage_;
  LimitesClasseur limites_;
  std::FILE* f_ = nullptr;
  std::string tampon_, vide_;
  std::uint64_t prochaine_ = 0, nb_lignes_ = 0, taille_ = 0;
  ErreurClasseur erreur_;
};

// The temporary text of a conversion, removed unless it was renamed into
// place: on an error, a limit reached or an exception alike.
class FichierProvisoire {
 public:
  explicit FichierProvisoire(std::string chemin) : chemin_(std::move(chemin)) {}
  ~FichierProvisoire() {
    if (!garde_) supprimer_fichier(chemin_);
  }
  FichierProvisoire(const FichierProvisoire&) = delete;
  FichierProvisoire& operator=(const FichierProvisoire&) = delete;
  const std::string& chemin() const { return chemin_; }
  void garder() { garde_ = true; }

 private:
  std::string chemin_;
  bool garde_ = false;
};

// "A", "Z", "AA", "XFD" for columns 0, 25, 26, 16383.
std::string nom_colonne(std::uint64_t colonne) {
  std::string r;
  for (std::uint64_t n = colonne + 1; n > 0; n = (n - 1) / 26)
    r.insert(r.begin(), static_cast<char>('A' + (n - 1) % 26));
  return r;
}

std::string nom_cellule(std::uint64_t colonne, std::uint64_t ligne) {
  return nom_colonne(colonne) + std::to_string(ligne + 1);
}

std::string milliers(std::uint64_t n) {
  return format_milliers(static_cast<long long>(std::min<std::uint64_t>(n, INT64_MAX)));
}

std::uint64_t produit_borne(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > UINT64_MAX / a) return UINT64_MAX;
  return a * b;
}

// Whether the used range can be written: its empty cells bounded by the cells
// that hold a value, its text by the size of the workbook.
ErreurClasseur verifier_plage(const Plage& plage, std::uint64_t taille_classeur,
                              const LimitesClasseur& limites) {
  const std::uint64_t largeur = plage.colonne_max - plage.colonne_min + 1ull;
  const std::uint64_t hauteur = plage.ligne_max - plage.ligne_min + 1ull;
  const std::uint64_t cases = produit_borne(hauteur, largeur);
  if (cases > std::max(limites.cases_garanties,
                       produit_borne(limites.cases_par_cellule, plage.nb_cellules)))
    return {EchecClasseur::plage_demesuree,
            nom_cellule(plage.colonne_min, plage.ligne_min) + ":" +
                nom_cellule(plage.colonne_max, plage.ligne_max) + " (" + milliers(hauteur) +
                " lignes de " + milliers(largeur) + " colonnes) pour " +
                milliers(plage.nb_cellules) +
                (plage.nb_cellules > 1 ? " cellules non vides" : " cellule non vide")};
  // Every row: its cells, a ";" between two of them, CR LF. A cell's text is
  // never longer in Windows-1252 than in UTF-8.
  const std::uint64_t separateurs = produit_borne(hauteur, largeur + 1);
  const std::uint64_t texte = plage.octets_cellules > UINT64_MAX - separateurs
                                  ? UINT64_MAX
                                  : plage.octets_cellules + separateurs;
  if (texte > limites.octets_texte)
    return {EchecClasseur::trop_volumineux, "texte converti de " + milliers(texte) +
                                                " octets, au-delà de " +
                                                milliers(limites.octets_texte)};
  const std::uint64_t permis =
      std::max(limites.octets_texte_garantis,
               produit_borne(limites.texte_par_octet_classeur, taille_classeur));
  if (texte > permis)
    return {EchecClasseur::trop_volumineux, "texte converti de " + milliers(texte) +
                                                " octets pour un classeur de " +
                                                milliers(taille_classeur) + " octets"};
  return {};
}

// ---------------------------------------------------------------- kinds of file

enum class FormatClasseur { xlsx, ods, xls };

std::optional<FormatClasseur> format_du_classeur(const std::string& chemin, ErreurClasseur& e) {
  std::FILE* f = std::fopen(chemin.c_str(), "rb");
  if (!f) {
    e = {EchecClasseur::introuvable, "ouverture impossible"};
    return std::nullopt;
  }
  unsigned char tete[4] = {};
  const std::size_t n = std::fread(tete, 1, 4, f);
  std::fclose(f);
  if (n == 4 && tete[0] == 'P' && tete[1] == 'K') {
    ArchiveZip a;
    if ((e = a.ouvrir(chemin))) {
      // Zip signature but no readable directory: a truncated or damaged file.
      if (e.genre == EchecClasseur::pas_un_classeur)
        e = {EchecClasseur::endommage, "archive zip incomplète ou endommagée"};
      return std::nullopt;
    }
    if (a.contient("content.xml") || a.contient("mimetype")) return FormatClasseur::ods;
    if (a.contient("[Content_Types].xml") || a.contient("xl/workbook.xml"))
      return FormatClasseur::xlsx;
    e = {EchecClasseur::pas_un_classeur, "archive zip sans classeur"};
    return std::nullopt;
  }
  if (est_fichier_composite(chemin)) {
    FichierComposite c;
    if ((e = c.ouvrir(chemin))) return std::nullopt;
    // A password-protected .xlsx is a compound file holding the encrypted package.
    if (c.contient("EncryptedPackage") || c.contient("EncryptionInfo")) {
      e = {EchecClasseur::chiffre, ""};
      return std::nullopt;
    }
    return FormatClasseur::xls;
  }
  e = {EchecClasseur::pas_un_classeur, ""};
  return std::nullopt;
}

std::string temporaire_de(const std::string& destination) {
  return destination + ".~" + std::to_string(::getpid()) + ".tmp";
}

}  // namespace

namespace {

ResultatConversion convertir(const std::string& classeur, int numero,
                             const FichierProvisoire& temporaire, const LimitesClasseur& limites) {
  ResultatConversion r;
  const auto format = format_du_classeur(classeur, r.erreur);
  if (!format) return r;
  OuvertureFeuille o;
  switch (*format) {
    case FormatClasseur::xlsx:
      o = ouvrir_feuille_xlsx(classeur, numero, limites);
      break;
    case FormatClasseur::ods:
      o = ouvrir_feuille_ods(classeur, numero, limites);
      break;
    case FormatClasseur::xls:
      o = ouvrir_feuille_xls(classeur, numero, limites);
      break;
  }
  r.nb_feuilles = o.nb_feuilles;
  if (o.erreur) {
    r.erreur = o.erreur;
    return r;
  }
  r.nom_feuille = o.lecteur->nom_feuille();

  ChercheurPlage chercheur;
  if ((r.erreur = o.lecteur->parcourir(chercheur))) return r;
  const Plage& plage = chercheur.plage();
  if (plage.vide) {
    r.feuille_vide = true;
    return r;
  }
  if ((r.erreur = verifier_plage(plage, taille_fichier(classeur), limites))) return r;

  EcrivainPlage ecrivain(temporaire.chemin(), plage, limites);
  if (!ecrivain.ouvert()) {
    r.erreur = {EchecClasseur::ecriture, ""};
    return r;
  }
  ErreurClasseur e = o.lecteur->parcourir(ecrivain);
  if (ecrivain.erreur()) e = ecrivain.erreur();
  if (!e && !ecrivain.terminer()) e = ecrivain.erreur();
  if (e) {
    r.erreur = e;
  } else {
    r.nb_lignes = ecrivain.nb_lignes();
    r.taille = ecrivain.taille();
  }
  return r;
}

}  // namespace

ResultatConversion convertir_feuille_classeur(const std::string& classeur, int numero,
                                              const std::string& destination,
                                              const LimitesClasseur& limites) {
  // Whatever happens, no file of an earlier conversion stays in place.
  supprimer_fichier(destination);
  FichierProvisoire temporaire(temporaire_de(destination));
  ResultatConversion r;
  try {
    r = convertir(classeur, numero, temporaire, limites);
  } catch (const std::bad_alloc&) {
    r = {};
    r.erreur = {EchecClasseur::trop_volumineux, "mémoire insuffisante"};
  } catch (const std::length_error&) {
    r = {};
    r.erreur = {EchecClasseur::trop_volumineux, "mémoire insuffisante"};
  }
  if (r.erreur) {
    if (r.erreur.genre == EchecClasseur::ecriture) r.erreur.detail = destination;
    return r;
  }
  if (r.feuille_vide) return r;
  std::error_code ec;
  fs::rename(temporaire.chemin(), destination, ec);
  if (ec) {
    r.erreur = {EchecClasseur::ecriture, destination};
    return r;
  }
  temporaire.garder();
  return r;
}

std::string message_echec_classeur(const ResultatConversion& r, const std::string& classeur,
                                   int numero) {
  const std::string feuille = "feuille n°" + std::to_string(numero);
  const std::string detail = r.erreur.detail.empty() ? "" : "\n(" + r.erreur.detail + ")";
  switch (r.erreur.genre) {
    case EchecClasseur::introuvable:
      return "classeur introuvable ou inaccessible :\n" + classeur + "\n\n" + feuille + " non lue";
    case EchecClasseur::pas_un_classeur:
      return "ce fichier n'est pas un classeur lisible (.xlsx, .xlsm, .ods, .xls) :\n" + classeur +
             "\n\n" + feuille + " non lue" + detail;
    case EchecClasseur::chiffre:
      return "classeur protégé par un mot de passe :\n" + classeur + "\n\n" + feuille +
             " non lue => enregistrer le classeur sans mot de passe";
    case EchecClasseur::endommage:
      return "classeur endommagé ou illisible :\n" + classeur + "\n\n" + feuille + " non lue" +
             detail;
    case EchecClasseur::feuille_absente:
      return "la " + feuille + " n'existe pas dans le classeur\n" + classeur + "\n\n" +
             " qui contient " + std::to_string(r.nb_feuilles) +
             (r.nb_feuilles > 1 ? " feuilles" : " feuille");
    case EchecClasseur::plage_demesuree:
      return "classeur trop grand pour ses données :\n" + classeur + "\n\nla " + feuille +
             " s'étend sur " + r.erreur.detail + "\n\n" + feuille +
             " non lue => effacer les cellules isolées loin des données";
    case EchecClasseur::trop_volumineux:
      return "la " + feuille + " du classeur\n" + classeur + "\n\n" +
             " est trop volumineuse pour être convertie" + detail;
    case EchecClasseur::ecriture:
      return "écriture impossible du fichier\n" + r.erreur.detail + "\n\n" + feuille +
             " du classeur " + classeur + " non convertie";
    case EchecClasseur::aucun:
      break;
  }
  return {};
}

std::optional<int> numero_feuille_excel(std::string_view texte) {
  const std::string t = trim(texte);
  if (t.empty()) return 1;
  const auto n = lire_entier(t);
  if (!n) return std::nullopt;
  if (*n < 1) return 1;
  if (*n > 65535) return 65535;  // beyond any workbook: reported as a missing sheet
  return static_cast<int>(*n);
}

}  // namespace tamso
