#include "input/workbook_cfbf.h"

#include <algorithm>
#include <cstring>

namespace tamso {

namespace {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kFinChaine = 0xFFFFFFFE;
constexpr std::uint32_t kLibre = 0xFFFFFFFF;
constexpr std::uint32_t kMaxSecteur = 0xFFFFFFFA;

std::uint16_t u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool aller_a(std::FILE* f, std::uint64_t position) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<long long>(position), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::uint64_t taille_de(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return 0;
  return static_cast<std::uint64_t>(_ftelli64(f));
#else
  if (fseeko(f, 0, SEEK_END) != 0) return 0;
  return static_cast<std::uint64_t>(ftello(f));
#endif
}

char minuscule(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool egal_sans_casse(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (minuscule(a[i]) != minuscule(b[i])) return false;
  return true;
}

ErreurClasseur endommage(const std::string& detail) {
  return {EchecClasseur::endommage, "fichier composé endommagé (" + detail + ")"};
}

}  // namespace

bool est_fichier_composite(const std::string& chemin) {
  std::FILE* f = std::fopen(chemin.c_str(), "rb");
  if (!f) return false;
  std::uint8_t tete[8] = {};
  const bool ok = std::fread(tete, 1, 8, f) == 8 && std::memcmp(tete, kSignature, 8) == 0;
  std::fclose(f);
  return ok;
}

FichierComposite::~FichierComposite() {
  if (f_) std::fclose(f_);
}

bool FichierComposite::lire_secteur(std::uint32_t numero, std::vector<std::uint8_t>& t) const {
  if (numero >= nb_secteurs_) return false;
  const std::uint64_t position = (static_cast<std::uint64_t>(numero) + 1) * taille_secteur_;
  t.resize(taille_secteur_);
  if (!aller_a(f_, position)) return false;
  const std::size_t lus = std::fread(t.data(), 1, taille_secteur_, f_);
  // The last sector of a file may be cut short.
  if (lus == 0) return false;
  std::fill(t.begin() + static_cast<std::ptrdiff_t>(lus), t.end(), 0);
  return true;
}

std::optional<std::vector<std::uint32_t>> FichierComposite::chaine(
    const std::vector<std::uint32_t>& table, std::uint32_t debut) const {
  std::vector<std::uint32_t> r;
  std::uint32_t s = debut;
  while (s != kFinChaine) {
    if (s >= table.size() || r.size() >= table.size()) return std::nullopt;  // out of range, loop
    r.push_back(s);
    s = table[s];
  }
  return r;
}

ErreurClasseur FichierComposite::ouvrir(const std::string& chemin) {
  f_ = std::fopen(chemin.c_str(), "rb");
  if (!f_) return {EchecClasseur::introuvable, "ouverture impossible"};
  std::uint8_t t[512];
  if (std::fread(t, 1, 512, f_) != 512 || std::memcmp(t, kSignature, 8) != 0)
    return {EchecClasseur::pas_un_classeur, "pas un fichier composé"};
  taille_fichier_ = taille_de(f_);
  const std::uint16_t decalage = u16(t + 0x1E), decalage_mini = u16(t + 0x20);
  if ((decalage != 9 && decalage != 12) || decalage_mini != 6) return endommage("en-tête");
  taille_secteur_ = 1u << decalage;
  taille_mini_ = 1u << decalage_mini;
  seuil_mini_ = u32(t + 0x38);
  const std::uint64_t nb = (taille_fichier_ + taille_secteur_ - 1) / taille_secteur_;
  nb_secteurs_ =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(nb > 0 ? nb - 1 : 0, kMaxSecteur));

  // Sectors of the allocation table: 109 in the header, the rest in a chain.
  std::vector<std::uint32_t> secteurs_fat;
  for (int i = 0; i < 109; ++i) {
    const std::uint32_t s = u32(t + 0x4C + 4 * i);
    if (s != kLibre && s != kFinChaine) secteurs_fat.push_back(s);
  }
  std::uint32_t difat = u32(t + 0x44);
  std::vector<std::uint8_t> secteur;
  for (std::uint32_t n = 0; difat != kFinChaine && difat != kLibre; ++n) {
    if (n > nb_secteurs_ || !lire_secteur(difat, secteur)) return endommage("table des tables");
    const std::uint32_t par_secteur = taille_secteur_ / 4 - 1;
    for (std::uint32_t i = 0; i < par_secteur; ++i) {
      const std::uint32_t s = u32(secteur.data() + 4 * i);
      if (s != kLibre && s != kFinChaine) secteurs_fat.push_back(s);
    }
    difat = u32(secteur.data() + 4 * par_secteur);
  }
  if (secteurs_fat.size() > nb_secteurs_ + 1ull) return endommage("table d'allocation");
  for (std::uint32_t s : secteurs_fat) {
    if (!lire_secteur(s, secteur)) return endommage("table d'allocation");
    for (std::uint32_t i = 0; i < taille_secteur_ / 4; ++i)
      fat_.push_back(u32(secteur.data() + 4 * i));
  }

  // The directory.
  const auto repertoire = chaine(fat_, u32(t + 0x30));
  if (!repertoire || repertoire->empty()) return endommage("répertoire");
  for (std::uint32_t s : *repertoire) {
    if (!lire_secteur(s, secteur)) return endommage("répertoire");
    for (std::uint32_t k = 0; k + 128 <= taille_secteur_; k += 128) {
      const std::uint8_t* e = secteur.data() + k;
      Entree entree;
      const std::uint16_t longueur = std::min<std::uint16_t>(u16(e + 0x40), 64);
      for (std::uint16_t i = 0; i + 1 < longueur; i += 2) {
        const std::uint16_t c = u16(e + i);
        if (c == 0) break;
        entree.nom += c < 128 ? static_cast<char>(c) : '?';
      }
      entree.type = e[0x42];
      entree.debut = u32(e + 0x74);
      entree.taille = u32(e + 0x78);
      if (taille_secteur_ == 4096) entree.taille |= static_cast<std::uint64_t>(u32(e + 0x7C)) << 32;
      entrees_.push_back(std::move(entree));
    }
  }
  if (entrees_.empty() || entrees_[0].type != 5) return endommage("racine");

  // The allocation table of the small streams.
  const std::uint32_t debut_mini = u32(t + 0x3C);
  if (debut_mini != kFinChaine && debut_mini != kLibre) {
    const auto secteurs = chaine(fat_, debut_mini);
    if (!secteurs) return endommage("petite table d'allocation");
    for (std::uint32_t s : *secteurs) {
      if (!lire_secteur(s, secteur)) return endommage("petite table d'allocation");
      for (std::uint32_t i = 0; i < taille_secteur_ / 4; ++i)
        mini_fat_.push_back(u32(secteur.data() + 4 * i));
    }
  }
  return {};
}

const FichierComposite::Entree* FichierComposite::trouver(const std::string& nom) const {
  for (const auto& e : entrees_)
    if (e.type == 2 && egal_sans_casse(e.nom, nom)) return &e;
  return nullptr;
}

bool FichierComposite::contient(const std::string& nom) const {
  return trouver(nom) != nullptr;
}

std::optional<std::vector<std::uint8_t>> FichierComposite::lire_flux(const std::string& nom,
                                                                     std::uint64_t maximum) const {
  const Entree* e = trouver(nom);
  if (!e || e->taille > maximum || e->taille > taille_fichier_) return std::nullopt;
  std::vector<std::uint8_t> flux;
  flux.reserve(static_cast<std::size_t>(e->taille));
  std::vector<std::uint8_t> secteur;
  if (e->taille < seuil_mini_) {
    // Small streams live in 64-byte pieces of the root's stream.
    const Entree& racine = entrees_[0];
    const auto secteurs_racine = chaine(fat_, racine.debut);
    const auto pieces = chaine(mini_fat_, e->debut);
    if (!secteurs_racine || !pieces) return std::nullopt;
    const std::uint32_t par_secteur = taille_secteur_ / taille_mini_;
    for (std::uint32_t m : *pieces) {
      const std::uint32_t indice = m / par_secteur;
      if (indice >= secteurs_racine->size() || !lire_secteur((*secteurs_racine)[indice], secteur))
        return std::nullopt;
      const std::uint8_t* p = secteur.data() + (m % par_secteur) * taille_mini_;
      flux.insert(flux.end(), p, p + taille_mini_);
      if (flux.size() >= e->taille) break;
    }
  } else {
    const auto secteurs = chaine(fat_, e->debut);
    if (!secteurs) return std::nullopt;
    for (std::uint32_t s : *secteurs) {
      if (!lire_secteur(s, secteur)) return std::nullopt;
      flux.insert(flux.end(), secteur.begin(), secteur.end());
      if (flux.size() >= e->taille) break;
    }
  }
  if (flux.size() < e->taille) return std::nullopt;
  flux.resize(static_cast<std::size_t>(e->taille));
  return flux;
}

}  // namespace tamso
