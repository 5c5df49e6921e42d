#include "input/loader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "base/interaction.h"
#include "base/tracking_log.h"
#include "input/conversion.h"
#include "input/encoding.h"
#include "input/files.h"
#include "input/line_blocks.h"
#include "input/text.h"

namespace tamso {

// ---------------------------------------------------------------- line reader

LecteurLignes::LecteurLignes(const std::string& chemin, NettoyageLignes nettoyage,
                             std::size_t taille_bloc)
    : nettoyage_(nettoyage), tampon_(std::max<std::size_t>(taille_bloc, 16)) {
  fichier_ = std::fopen(chemin.c_str(), "rb");
}

LecteurLignes::~LecteurLignes() {
  if (fichier_) std::fclose(fichier_);
}

bool LecteurLignes::remplir() {
  if (fin_fichier_ || !fichier_) return false;
  // Keep the unread part at the front; grow when one line fills the block.
  if (debut_ > 0) {
    std::memmove(tampon_.data(), tampon_.data() + debut_, fin_ - debut_);
    fin_ -= debut_;
    debut_ = 0;
  }
  if (fin_ == tampon_.size()) tampon_.resize(tampon_.size() * 2);
  const std::size_t n = std::fread(tampon_.data() + fin_, 1, tampon_.size() - fin_, fichier_);
  if (n == 0) {
    fin_fichier_ = true;
    return false;
  }
  char* p = tampon_.data() + fin_;
  // NUL bytes are rare: look for one before touching the block.
  if (std::memchr(p, '\0', n)) std::replace(p, p + n, '\0', nettoyage_.nul);
  if (nettoyage_.tabulation_vers_point_virgule) std::replace(p, p + n, '\t', ';');
  fin_ += n;
  octets_lus_ += n;
  return true;
}

bool LecteurLignes::erreur() const {
  return fichier_ && std::ferror(fichier_) != 0;
}

bool LecteurLignes::suivante(std::string_view& ligne) {
  if (!fichier_) return false;
  std::size_t cherche = debut_;
  for (;;) {
    if (cr_en_attente_ && debut_ < fin_) {
      if (tampon_[debut_] == '\n') ++debut_;
      cr_en_attente_ = false;
      cherche = debut_;
    }
    const char* base = tampon_.data();
    const char* p = base + cherche;
    const char* fin = base + fin_;
    const char* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(fin - p)));
    const char* limite = lf ? lf : fin;
    const char* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limite - p)));
    const char* bout = cr ? cr : lf;
    if (bout) {
      ligne = std::string_view(base + debut_, static_cast<std::size_t>(bout - (base + debut_)));
      debut_ = static_cast<std::size_t>(bout - base) + 1;
      if (*bout == '\r') {
        if (debut_ < fin_) {
          if (tampon_[debut_] == '\n') ++debut_;
        } else {
          cr_en_attente_ = true;
        }
      }
      return true;
    }
    const std::size_t deja = fin_ - debut_;
    if (!remplir()) {
      if (fin_ > debut_) {  // a last line without its end
        ligne = std::string_view(tampon_.data() + debut_, fin_ - debut_);
        debut_ = fin_;
        return true;
      }
      return false;
    }
    cherche = debut_ + deja;
  }
}

// ---------------------------------------------------------------- loaded file

namespace {

bool vide_ou_blancs(std::string_view l) {
  return trim_vue(l).empty();
}

}  // namespace

namespace {

// The last line that is not blank, looked for from the file's last block
// down to block `jusqu_a`: its text, and how many lines follow it. Nothing
// when those blocks hold none, or when a read fails (`erreur` is then set).
struct DerniereLigne {
  std::string texte;
  long long suivantes = 0;
};
std::optional<DerniereLigne> derniere_non_vide_depuis_la_fin(const FichierEnBlocs& fichier,
                                                             std::uint64_t jusqu_a, bool& erreur) {
  erreur = false;
  BlocLignes b;
  long long apres = 0;  // lines of the blocks after the one being read
  for (std::uint64_t n = fichier.nb_blocs(); n-- > jusqu_a;) {
    fichier.lire(n, b);
    if (b.erreur) {
      erreur = true;
      return std::nullopt;
    }
    for (std::size_t k = b.debuts.size(); k-- > 0;) {
      const std::string_view l(b.texte.data() + b.debuts[k], b.longueurs[k]);
      if (vide_ou_blancs(l)) continue;
      return DerniereLigne{std::string(l), apres + static_cast<long long>(b.debuts.size() - k - 1)};
    }
    apres += static_cast<long long>(b.debuts.size());
  }
  return std::nullopt;
}

// A file of many blocks, counted without being cut into lines: its first
// lines from the blocks at its start, its last line that is not blank from
// the blocks at its end. False, with `f` to be made again, when a read fails.
bool compter_sans_couper(const FichierEnBlocs& fichier, FichierCharge& f) {
  const std::uint64_t nb = fichier.nb_blocs();
  const auto total = fichier.compter_lignes(fils_de_lecture(0));
  if (!total) return false;
  f.nb_lignes = static_cast<long long>(*total);
  f.taille = fichier.taille();
  BlocLignes b;
  for (std::uint64_t n = 0; n < nb && f.debut.size() < FichierCharge::kLignesGardees; ++n) {
    fichier.lire(n, b);
    if (b.erreur) return false;
    for (std::size_t k = 0; k < b.debuts.size() && f.debut.size() < FichierCharge::kLignesGardees;
         ++k)
      f.debut.emplace_back(b.texte.data() + b.debuts[k], b.longueurs[k]);
  }
  bool erreur = false;
  const auto derniere = derniere_non_vide_depuis_la_fin(fichier, 0, erreur);
  if (erreur) return false;
  if (derniere) {
    f.derniere_non_vide = f.nb_lignes - 1 - derniere->suivantes;
    f.texte_derniere_non_vide = derniere->texte;
  }
  return true;
}

}  // namespace

FichierCharge lire_fichier_charge(const std::string& chemin, NettoyageLignes nettoyage) {
  FichierCharge f;
  f.chemin = chemin;
  f.nettoyage = nettoyage;
  FichierEnBlocs fichier(chemin, nettoyage);
  if (!fichier.ouvert()) return f;
  // A big file is counted fast; a read that fails is read again below, to
  // its failing block.
  if (fichier.nb_blocs() > 2) {
    if (compter_sans_couper(fichier, f)) return f;
    f = FichierCharge{};
    f.chemin = chemin;
    f.nettoyage = nettoyage;
  }
  // Worker threads cut the blocks into lines and find each block's last
  // line that is not blank; the blocks come back in order to be counted.
  struct DerniereNonVide {
    long long indice = -1;
  };
  const int fils = fichier.nb_blocs() > 1 ? fils_de_lecture(0) : 0;
  FileDeBlocs<DerniereNonVide> file(
      fichier,
      [](const BlocLignes& b, DerniereNonVide& d) {
        d.indice = -1;
        for (std::size_t k = b.debuts.size(); k-- > 0;) {
          if (!vide_ou_blancs(std::string_view(b.texte.data() + b.debuts[k], b.longueurs[k]))) {
            d.indice = static_cast<long long>(k);
            break;
          }
        }
      },
      fils > 1 ? fils : 0, 2 * fils + 2);
  long long i = 0;
  while (auto* e = file.suivant()) {
    const BlocLignes& b = e->bloc;
    const auto ligne = [&b](std::size_t k) {
      return std::string_view(b.texte.data() + b.debuts[k], b.longueurs[k]);
    };
    for (std::size_t k = 0; k < b.debuts.size() && f.debut.size() < FichierCharge::kLignesGardees;
         ++k)
      f.debut.emplace_back(ligne(k));
    if (e->analyse.indice >= 0) {
      f.derniere_non_vide = i + e->analyse.indice;
      f.texte_derniere_non_vide.assign(ligne(static_cast<std::size_t>(e->analyse.indice)));
    }
    i += static_cast<long long>(b.debuts.size());
    f.taille += b.octets;
    if (b.erreur) break;
  }
  f.nb_lignes = i;
  return f;
}

FichierCharge lire_debut_et_fin(const std::string& chemin, NettoyageLignes nettoyage,
                                std::size_t taille_bloc) {
  FichierEnBlocs fichier(chemin, nettoyage, taille_bloc);
  const std::uint64_t nb = fichier.nb_blocs();
  BlocLignes b;
  if (nb >= 3) fichier.lire(0, b);
  if (nb < 3 || b.erreur || b.debuts.size() < FichierCharge::kLignesGardees)
    return lire_fichier_charge(chemin, nettoyage);
  FichierCharge f;
  f.chemin = chemin;
  f.nettoyage = nettoyage;
  f.taille = fichier.taille();
  for (std::size_t k = 0; k < FichierCharge::kLignesGardees; ++k)
    f.debut.emplace_back(b.texte.data() + b.debuts[k], b.longueurs[k]);
  // The last non-blank line, from the end; it lies beyond the first block,
  // so beyond the lines kept.
  bool erreur = false;
  if (const auto derniere = derniere_non_vide_depuis_la_fin(fichier, 1, erreur)) {
    f.texte_derniere_non_vide = derniere->texte;
    f.complet = false;
    f.nb_lignes = -1;
    f.derniere_non_vide = -1;
    return f;
  }
  return lire_fichier_charge(chemin, nettoyage);
}

std::string FichierCharge::ligne(long long i) const {
  if (i < 0 || (complet && i >= nb_lignes)) return {};
  if (static_cast<std::size_t>(i) < debut.size()) return debut[static_cast<std::size_t>(i)];
  if (i == derniere_non_vide) return texte_derniere_non_vide;
  std::string resultat;
  parcourir([&](long long k, std::string_view l) {
    if (k < i) return true;
    resultat.assign(l);
    return false;
  });
  return resultat;
}

std::string FichierCharge::texte(long long i) const {
  return cp1252_vers_utf8(ligne(i));
}

long long FichierCharge::premiere_ligne_contenant(std::string_view morceau) const {
  long long trouve = -1;
  parcourir([&](long long k, std::string_view l) {
    if (l.find(morceau) == std::string_view::npos) return true;
    trouve = k;
    return false;
  });
  return trouve;
}

long long FichierCharge::derniere_ligne_contenant(std::string_view morceau) const {
  long long trouve = -1;
  parcourir([&](long long k, std::string_view l) {
    if (l.find(morceau) != std::string_view::npos) trouve = k;
    return true;
  });
  return trouve;
}

// ---------------------------------------------------------------- copies

void copier_en_remplacant(const std::string& source, char ancien, const std::string& destination,
                          char nouveau, Interaction& port, JournalSuivi& journal) {
  std::string octets;
  if (!fichier_existe(source)) {
    port.informer(TypeMessage::information, "fichier inexistant\n" + source);
  } else {
    std::ifstream f(source, std::ios::binary);
    octets.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    if (octets.empty()) journal.ajouter_ligne_suivi("fichier VIDE => " + source);
    std::replace(octets.begin(), octets.end(), ancien, nouveau);
  }
  std::ofstream d(destination, std::ios::binary | std::ios::trunc);
  d.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

// ---------------------------------------------------------------- loader

bool charger_fichier_donnees(FichierCharge& fichier, std::vector<std::string>& apercu,
                             const std::string& chemin, const ReglesChargement& r,
                             bool debut_et_fin, Interaction& port, JournalSuivi& journal) {
  const bool tabulation = r.tabulation;
  // The workbook and clipboard sources are read through their temporary text,
  // which the caller names; a data file that is not Windows-1252 text, through
  // its converted copy.
  std::string source = chemin;
  if (r.presse_papier) {
    if (!fichier_existe(r.fichier_presse_papier)) {
      port.informer(TypeMessage::information, chemin + "\n\n" + "fichier introuvable ");
      return false;
    }
  }

  // A missing or empty file is said once and loads as no line.
  if (!fichier_existe(source)) {
    port.informer(TypeMessage::information, "fichier inexistant\n" + source);
  } else if (taille_fichier(source) == 0) {
    journal.ajouter_ligne_suivi("fichier VIDE => " + source);
  }

  // A big file loaded for the listing is not read again for the run when it
  // has not changed since.
  std::string cle;
  if (r.reutilisable && fichier_existe(source)) {
    std::error_code ec;
    const auto date = std::filesystem::last_write_time(source, ec);
    if (!ec)
      cle = source + '\n' + std::to_string(taille_fichier(source)) + '\n' +
            std::to_string(date.time_since_epoch().count()) + '\n' + (tabulation ? "t" : "-") +
            (r.car_null ? "n" : "-") + r.num_ligne_donnee;
  }
  if (!cle.empty() && fichier.cle == cle && fichier_existe(fichier.chemin)) {
    apercu_fichier(fichier, apercu);
    return true;
  }
  fichier = FichierCharge{};
  const auto garder_cle = [&fichier, &cle] { fichier.cle = cle; };

  if (r.convertir && fichier_existe(chemin) && taille_fichier(chemin) > 0) {
    const FichierALire a = fichier_a_lire(chemin, r.repertoire_temporaire);
    if (a.erreur.empty()) {
      source = a.chemin;
    } else if (a.genre == GenreConversion::xle) {
      // An export is nothing without its conversion.
      port.informer(TypeMessage::erreur, "fichier .xle illisible\n" + chemin + "\n\n" + a.erreur);
      journal.ajouter_ligne_suivi("fichier .xle illisible => " + chemin + " : " + a.erreur);
      fichier.origine = chemin;
      apercu_fichier(fichier, apercu);
      return true;
    } else {
      // A text whose copy cannot be written is read as it is.
      journal.ajouter_ligne_suivi("conversion impossible => " + chemin + " : " + a.erreur);
    }
  }

  NettoyageLignes nettoyage;
  nettoyage.tabulation_vers_point_virgule = tabulation;
  const long long num_donnee = lire_entier(r.num_ligne_donnee).value_or(0);
  // Not counted: only when the count cannot decide anything here.
  if (debut_et_fin && !r.car_null &&
      num_donnee + 2 <= static_cast<long long>(FichierCharge::kLignesGardees)) {
    fichier = lire_debut_et_fin(source, nettoyage, r.taille_bloc);
    fichier.origine = chemin;
    if (!fichier.complet) {
      apercu_fichier(fichier, apercu);
      return true;
    }
  } else {
    fichier = lire_fichier_charge(source, nettoyage);
    fichier.origine = chemin;
  }
  apercu_fichier(fichier, apercu);
  if (fichier.nb_lignes >= num_donnee + 2 && !r.car_null) {
    garder_cle();
    return true;
  }

  // A short file, or one whose unreadable characters are handled: read again
  // with NUL bytes turned into "_" (tab-separated files keep byte 1).
  if (!tabulation) {
    if (r.masque_ppp) {
      std::string message = " le presse papier ne contient que " + std::to_string(fichier.taille) +
                            " octets\n\n" + " 3 premières lignes :\n" +
                            "==============================\n";
      for (long long i = 0; i < 3 && i < fichier.nb_lignes; ++i) message += fichier.texte(i) + "\n";
      message += "==============================\n\n";
      message += " => Annuler pour   Recopier les données du fichier Excel";
      port.demander(TypeMessage::avertissement, message, Boutons::annuler);
      return false;
    }
    nettoyage.nul = '_';
  }
  fichier = lire_fichier_charge(source, nettoyage);
  fichier.origine = chemin;
  apercu_fichier(fichier, apercu);
  garder_cle();
  return true;
}

void apercu_fichier(const FichierCharge& fichier, std::vector<std::string>& apercu) {
  apercu.clear();
  const auto& lignes = fichier.debut;
  for (std::size_t i = 0; i < lignes.size() && i < 21; ++i) {
    std::string l = cp1252_vers_utf8(lignes[i]);
    for (char& c : l)
      if (c == ';' || c == '\0') c = '\t';
    reparer_accents(l);
    apercu.push_back(std::move(l));
  }
  apercu.push_back("=================================================");
  apercu.push_back("cet affichage n'est qu'une partie du fichier...");
  apercu.push_back("    double click pour affichage complet");
}

}  // namespace tamso
