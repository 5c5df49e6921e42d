#include "input/conversion.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "input/encoding.h"
#include "input/files.h"
#include "input/text.h"
#include "input/xle.h"

#ifdef _WIN32
#include <process.h>
#define TAMSO_PID _getpid
#else
#include <unistd.h>
#define TAMSO_PID getpid
#endif

namespace fs = std::filesystem;

namespace tamso {

// ---------------------------------------------------------------- detection

CodageDonnees detecter_codage(std::string_view d, bool suite) {
  if (d.substr(0, 3) == "\xEF\xBB\xBF") return CodageDonnees::utf8;
  if (d.substr(0, 2) == "\xFF\xFE") return CodageDonnees::utf16le;
  if (d.substr(0, 2) == "\xFE\xFF") return CodageDonnees::utf16be;
  bool multi = false;
  std::size_t i = 0;
  while (i < d.size()) {
    if (static_cast<unsigned char>(d[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t code = 0;
    const std::size_t n = lire_sequence_utf8(d, i, code);
    if (n == 0) {
      if (suite && sequence_utf8_coupee(d.substr(i))) break;
      return CodageDonnees::windows_1252;
    }
    multi = true;
    i += n;
  }
  return multi ? CodageDonnees::utf8 : CodageDonnees::windows_1252;
}

// ---------------------------------------------------------------- conversion

void ConvertisseurTexte::convertir(std::string_view octets, bool fin, std::string& sortie) {
  switch (codage_) {
    case CodageDonnees::windows_1252:
      sortie.append(octets);
      break;
    case CodageDonnees::utf8:
      convertir_utf8(octets, fin, sortie);
      break;
    case CodageDonnees::utf16le:
    case CodageDonnees::utf16be:
      convertir_utf16(octets, fin, sortie);
      break;
  }
}

void ConvertisseurTexte::convertir_utf8(std::string_view octets, bool fin, std::string& sortie) {
  std::string travail;
  if (!reste_.empty()) {
    travail = reste_ + std::string(octets);
    reste_.clear();
    octets = travail;
  }
  sortie.reserve(sortie.size() + octets.size());
  std::size_t i = 0;
  while (i < octets.size()) {
    const char c = octets[i];
    if (static_cast<unsigned char>(c) < 0x80) {
      sortie.push_back(c);
      ++i;
      continue;
    }
    char32_t code = 0;
    const std::size_t n = lire_sequence_utf8(octets, i, code);
    if (n > 0) {
      ajouter_cp1252(sortie, code);
      i += n;
    } else if (!fin && sequence_utf8_coupee(octets.substr(i))) {
      reste_.assign(octets.substr(i));  // its end comes with the next block
      break;
    } else {
      sortie.push_back(c);  // not UTF-8: the byte as Windows-1252
      ++i;
    }
  }
}

void ConvertisseurTexte::ajouter_unite(char32_t u, std::string& sortie) {
  const bool haute = u >= 0xD800 && u <= 0xDBFF, basse = u >= 0xDC00 && u <= 0xDFFF;
  if (haut_ != 0) {
    if (basse) {
      ajouter_cp1252(sortie, 0x10000 + ((haut_ - 0xD800) << 10) + (u - 0xDC00));
      haut_ = 0;
      return;
    }
    sortie.push_back('?');  // a high surrogate without its pair
    haut_ = 0;
  }
  if (haute)
    haut_ = u;
  else if (basse)
    sortie.push_back('?');
  else
    ajouter_cp1252(sortie, u);
}

void ConvertisseurTexte::convertir_utf16(std::string_view octets, bool fin, std::string& sortie) {
  const bool le = codage_ == CodageDonnees::utf16le;
  std::size_t i = 0;
  const auto octet = [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); };
  if (!reste_.empty() && !octets.empty()) {
    const char32_t a = octet(reste_[0]), b = octet(octets[0]);
    ajouter_unite(le ? a | (b << 8) : (a << 8) | b, sortie);
    reste_.clear();
    i = 1;
  }
  sortie.reserve(sortie.size() + octets.size() / 2);
  for (; i + 1 < octets.size(); i += 2) {
    const char32_t a = octet(octets[i]), b = octet(octets[i + 1]);
    ajouter_unite(le ? a | (b << 8) : (a << 8) | b, sortie);
  }
  if (i < octets.size()) reste_.assign(1, octets[i]);
  if (fin) {
    if (haut_ != 0) sortie.push_back('?');
    if (!reste_.empty()) sortie.push_back('?');
    haut_ = 0;
    reste_.clear();
  }
}

namespace {

constexpr std::size_t kBlocConversion = 1 << 20;
constexpr std::size_t kOctetsRechercheXle = 1 << 16;
constexpr std::uintmax_t kOctetsCopiesMax = 1ull << 30;

class Fichier {
 public:
  Fichier(const std::string& chemin, const char* mode) : f_(std::fopen(chemin.c_str(), mode)) {}
  ~Fichier() { fermer(); }
  Fichier(const Fichier&) = delete;
  Fichier& operator=(const Fichier&) = delete;
  std::FILE* get() const { return f_; }
  bool fermer() {
    const bool ok = !f_ || std::fclose(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
};

// The first n bytes of a file; `suite`: the file holds more.
std::string premiers_octets(const std::string& chemin, std::size_t n, bool& suite) {
  suite = false;
  Fichier f(chemin, "rb");
  if (!f.get()) return {};
  std::string d;
  std::vector<char> bloc(1 << 16);
  while (d.size() < n) {
    const std::size_t k = std::fread(bloc.data(), 1, std::min(bloc.size(), n - d.size()), f.get());
    if (k == 0) return d;
    d.append(bloc.data(), k);
  }
  suite = std::fgetc(f.get()) != EOF;
  return d;
}

bool extension_xle(const std::string& chemin) {
  const std::string nom = nom_de_fichier(chemin);
  return nom.size() > 4 && majuscules(std::string_view(nom).substr(nom.size() - 4)) == ".XLE";
}

}  // namespace

GenreConversion conversion_du_fichier(const std::string& chemin) {
  if (extension_xle(chemin)) return GenreConversion::xle;
  bool suite = false;
  const std::string debut = premiers_octets(chemin, kOctetsDetection, suite);
  if (ressemble_a_xle(std::string_view(debut).substr(0, kOctetsRechercheXle)))
    return GenreConversion::xle;
  switch (detecter_codage(debut, suite)) {
    case CodageDonnees::utf8:
      return GenreConversion::utf8;
    case CodageDonnees::utf16le:
      return GenreConversion::utf16le;
    case CodageDonnees::utf16be:
      return GenreConversion::utf16be;
    case CodageDonnees::windows_1252:
      break;
  }
  return GenreConversion::aucune;
}

std::string convertir_texte(const std::string& source, CodageDonnees codage,
                            const std::string& destination) {
  std::string erreur;
  {
    Fichier entree(source, "rb");
    if (!entree.get()) return "ouverture impossible";
    Fichier sortie(destination, "wb");
    if (!sortie.get()) return "écriture impossible : " + destination;
    ConvertisseurTexte convertisseur(codage);
    std::vector<char> bloc(kBlocConversion);
    std::string texte;
    for (;;) {
      const std::size_t n = std::fread(bloc.data(), 1, bloc.size(), entree.get());
      if (n == 0 && std::ferror(entree.get())) {
        erreur = "erreur de lecture";
        break;
      }
      texte.clear();
      convertisseur.convertir(std::string_view(bloc.data(), n), n == 0, texte);
      if (!texte.empty() &&
          std::fwrite(texte.data(), 1, texte.size(), sortie.get()) != texte.size()) {
        erreur = "écriture impossible : " + destination;
        break;
      }
      if (n == 0) break;
    }
    if (!sortie.fermer() && erreur.empty()) erreur = "écriture impossible : " + destination;
  }
  if (!erreur.empty()) supprimer_fichier(destination);
  return erreur;
}

// ---------------------------------------------------------------- copies

namespace {

// The state of a data file when it was looked at: path, size, modification time.
struct Etat {
  std::uintmax_t taille = 0;
  fs::file_time_type date{};
  bool operator==(const Etat&) const = default;
};

std::optional<Etat> etat_fichier(const std::string& chemin) {
  std::error_code ec;
  Etat e;
  e.taille = fs::file_size(chemin, ec);
  if (ec) return std::nullopt;
  e.date = fs::last_write_time(chemin, ec);
  if (ec) return std::nullopt;
  return e;
}

// The data files already looked at, with their copies. Files that need no
// conversion are remembered too, so that they are not looked at again.
class CopiesConverties {
 public:
  ~CopiesConverties() { vider(); }

  FichierALire fichier_a_lire(const std::string& source, const std::string& repertoire) {
    std::lock_guard<std::mutex> verrou(mutex_);
    const auto etat = etat_fichier(source);
    if (!etat) return {source, GenreConversion::aucune, {}};
    const auto it = entrees_.find(source);
    if (it != entrees_.end()) {
      Entree& e = it->second;
      if (e.etat == *etat && (e.genre == GenreConversion::aucune || copie_intacte(e))) {
        e.usage = ++horloge_;
        return {e.genre == GenreConversion::aucune ? source : e.copie, e.genre, {}};
      }
      oublier(it);
    }
    Entree e;
    e.etat = *etat;
    e.genre = conversion_du_fichier(source);
    e.usage = ++horloge_;
    if (e.genre == GenreConversion::aucune) {
      entrees_.emplace(source, e);
      return {source, e.genre, {}};
    }
    e.copie = repertoire + "~converti_" + std::to_string(TAMSO_PID()) + "_" +
              std::to_string(++numero_) + ".txt";
    std::string erreur;
    if (e.genre == GenreConversion::xle) {
      erreur = convertir_xle(source, e.copie).erreur;
    } else {
      const CodageDonnees codage = e.genre == GenreConversion::utf8      ? CodageDonnees::utf8
                                   : e.genre == GenreConversion::utf16le ? CodageDonnees::utf16le
                                                                         : CodageDonnees::utf16be;
      erreur = convertir_texte(source, codage, e.copie);
    }
    if (!erreur.empty()) return {{}, e.genre, erreur};
    e.taille_copie = taille_fichier(e.copie);
    octets_ += e.taille_copie;
    const std::string copie = e.copie;
    entrees_.emplace(source, std::move(e));
    limiter(source);
    return {copie, entrees_.at(source).genre, {}};
  }

  void vider() {
    std::lock_guard<std::mutex> verrou(mutex_);
    for (const auto& [source, e] : entrees_)
      if (!e.copie.empty()) supprimer_fichier(e.copie);
    entrees_.clear();
    octets_ = 0;
  }

 private:
  struct Entree {
    Etat etat;
    GenreConversion genre = GenreConversion::aucune;
    std::string copie;
    std::uintmax_t taille_copie = 0;
    std::uint64_t usage = 0;
  };
  using Iterateur = std::map<std::string, Entree>::iterator;

  static bool copie_intacte(const Entree& e) {
    std::error_code ec;
    return fs::file_size(e.copie, ec) == e.taille_copie && !ec;
  }

  void oublier(Iterateur it) {
    if (!it->second.copie.empty()) {
      supprimer_fichier(it->second.copie);
      octets_ -= it->second.taille_copie;
    }
    entrees_.erase(it);
  }

  // Removes the least recently used copies beyond the bound, never the one
  // just made.
  void limiter(const std::string& garder) {
    while (octets_ > kOctetsCopiesMax) {
      auto plus_vieille = entrees_.end();
      for (auto it = entrees_.begin(); it != entrees_.end(); ++it)
        if (it->first != garder && !it->second.copie.empty() &&
            (plus_vieille == entrees_.end() || it->second.usage < plus_vieille->second.usage))
          plus_vieille = it;
      if (plus_vieille == entrees_.end()) return;
      oublier(plus_vieille);
    }
  }

  std::mutex mutex_;
  std::map<std::string, Entree> entrees_;
  std::uintmax_t octets_ = 0;
  std::uint64_t horloge_ = 0;
  std::uint64_t numero_ = 0;
};

CopiesConverties& copies() {
  static CopiesConverties c;
  return c;
}

}  // namespace

FichierALire fichier_a_lire(const std::string& source, const std::string& repertoire) {
  return copies().fichier_a_lire(source, repertoire);
}

void supprimer_copies_converties() {
  copies().vider();
}

}  // namespace tamso
