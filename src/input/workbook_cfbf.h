// The compound file container of .xls workbooks (and of password-protected
// .xlsx files): its directory and its streams, read sector by sector with
// every sector number and chain checked against the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "input/workbook_zip.h"

namespace tamso {

// True when the file begins with the compound file signature.
bool est_fichier_composite(const std::string& chemin);

class FichierComposite {
 public:
  FichierComposite() = default;
  ~FichierComposite();
  FichierComposite(const FichierComposite&) = delete;
  FichierComposite& operator=(const FichierComposite&) = delete;

  ErreurClasseur ouvrir(const std::string& chemin);
  // Stream names are compared without regard to case.
  bool contient(const std::string& nom) const;
  // The whole stream, or nothing when it is missing, damaged or larger than `maximum`.
  std::optional<std::vector<std::uint8_t>> lire_flux(const std::string& nom,
                                                     std::uint64_t maximum) const;

 private:
  struct Entree {
    std::string nom;  // ASCII form of the name
    int type = 0;     // 1 storage, 2 stream, 5 root
    std::uint32_t debut = 0;
    std::uint64_t taille = 0;
  };
  bool lire_secteur(std::uint32_t numero, std::vector<std::uint8_t>& tampon) const;
  // Sector numbers of a chain of the main or the mini allocation table.
  std::optional<std::vector<std::uint32_t>> chaine(const std::vector<std::uint32_t>& table,
                                                   std::uint32_t debut) const;
  const Entree* trouver(const std::string& nom) const;

  std::FILE* f_ = nullptr;
  std::uint64_t taille_fichier_ = 0;
  std::uint32_t taille_secteur_ = 512, taille_mini_ = 64, seuil_mini_ = 4096;
  std::uint32_t nb_secteurs_ = 0;
  std::vector<std::uint32_t> fat_, mini_fat_;
  std::vector<Entree> entrees_;
};

}  // namespace tamso
