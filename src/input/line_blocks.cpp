#include "input/line_blocks.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tamso {

FichierEnBlocs::FichierEnBlocs(const std::string& chemin, NettoyageLignes nettoyage,
                               std::size_t taille_bloc)
    : taille_bloc_(taille_bloc == 0 ? kTailleBloc : std::max<std::size_t>(taille_bloc, 64)),
      nettoyage_(nettoyage) {
  fd_ = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  taille_ = static_cast<std::uint64_t>(st.st_size);
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

FichierEnBlocs::~FichierEnBlocs() {
  if (fd_ >= 0) ::close(fd_);
}

bool FichierEnBlocs::lire_a(std::uint64_t position, char* destination, std::size_t n) const {
  while (n > 0) {
    const ssize_t lu = ::pread(fd_, destination, n, static_cast<off_t>(position));
    if (lu <= 0) return false;
    destination += lu;
    position += static_cast<std::uint64_t>(lu);
    n -= static_cast<std::size_t>(lu);
  }
  return true;
}

namespace {

// Cleans bytes just read as the line reader cleans them.
void nettoyer(const NettoyageLignes& nettoyage, char* p, std::size_t k) {
  if (std::memchr(p, '\0', k)) std::replace(p, p + k, '\0', nettoyage.nul);
  if (nettoyage.tabulation_vers_point_virgule) std::replace(p, p + k, '\t', ';');
}

// One block being cut into lines: b.texte holds the file's bytes from
// `origine` to `lu_jusqu_a`, cleaned, and grows when the last line runs past
// them. `lire_a` reads bytes of the file at a position.
template <class LireA>
struct DecoupageBloc {
  const LireA& lire_a;
  const NettoyageLignes& nettoyage;
  std::uint64_t taille;  // of the file
  std::uint64_t origine;
  std::uint64_t lu_jusqu_a;
  BlocLignes& b;
  // Most files have no CR at all: then only LF is looked for.
  bool sans_cr = false;

  char octet(std::uint64_t position) const {
    return b.texte[static_cast<std::size_t>(position - origine)];
  }

  bool lire_debut() {
    b.texte.resize(static_cast<std::size_t>(lu_jusqu_a - origine));
    if (!lire_a(origine, b.texte.data(), b.texte.size())) {
      b.erreur = true;
      return false;
    }
    nettoyer(nettoyage, b.texte.data(), b.texte.size());
    sans_cr = std::memchr(b.texte.data(), '\r', b.texte.size()) == nullptr;
    return true;
  }

  // Reads further when the last line runs past what was read.
  bool etendre() {
    if (lu_jusqu_a >= taille) return false;
    const std::uint64_t cible =
        std::min(taille, lu_jusqu_a + std::max<std::uint64_t>(4096, lu_jusqu_a - origine));
    const std::size_t avant = b.texte.size();
    b.texte.resize(static_cast<std::size_t>(cible - origine));
    if (!lire_a(lu_jusqu_a, b.texte.data() + avant, b.texte.size() - avant)) {
      b.erreur = true;
      return false;
    }
    nettoyer(nettoyage, b.texte.data() + avant, b.texte.size() - avant);
    if (std::memchr(b.texte.data() + avant, '\r', b.texte.size() - avant)) sans_cr = false;
    lu_jusqu_a = cible;
    return true;
  }

  // The first line start at or after the block's first byte `s`; false when
  // no line starts in the block.
  bool premiere_ligne(std::uint64_t& s, std::uint64_t fin) {
    if (s == 0) return true;
    for (;;) {
      if (s >= fin) return false;
      const char avant = octet(s - 1);
      if (avant == '\n') return true;
      if (avant == '\r') {
        if (s >= lu_jusqu_a && !etendre()) return false;
        if (octet(s) != '\n') return true;
      }
      ++s;
    }
  }

  void ajouter_ligne(std::uint64_t s, std::ptrdiff_t longueur) {
    b.debuts.push_back(static_cast<std::uint32_t>(s - origine));
    b.longueurs.push_back(static_cast<std::uint32_t>(longueur));
  }

  // Cuts the lines that start from `s` up to the block's end.
  void couper(std::uint64_t s, std::uint64_t fin) {
    while (s < fin) {
      const char* base = b.texte.data();
      const char* p = base + (s - origine);
      const char* bout = base + b.texte.size();
      const char* lf =
          static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(bout - p)));
      const char* limite = lf ? lf : bout;
      const char* cr = sans_cr ? nullptr
                               : static_cast<const char*>(
                                     std::memchr(p, '\r', static_cast<std::size_t>(limite - p)));
      const char* terme = cr ? cr : lf;
      if (!terme) {
        if (lu_jusqu_a < taille) {
          if (!etendre()) return;
          continue;
        }
        // The last line of the file, without its end.
        ajouter_ligne(s, bout - p);
        return;
      }
      if (*terme == '\r' && terme + 1 == bout && lu_jusqu_a < taille) {
        // Whether an LF follows this CR is in the part not yet read.
        if (!etendre()) return;
        continue;
      }
      ajouter_ligne(s, terme - p);
      std::uint64_t suite = s + static_cast<std::uint64_t>(terme - p) + 1;
      if (*terme == '\r' && terme + 1 < bout && terme[1] == '\n') ++suite;
      s = suite;
    }
  }
};

}  // namespace

void FichierEnBlocs::lire(std::uint64_t n, BlocLignes& b) const {
  b.numero = n;
  b.debuts.clear();
  b.longueurs.clear();
  b.erreur = false;
  const std::uint64_t debut = n * taille_bloc_;
  const std::uint64_t fin = std::min(taille_, debut + taille_bloc_);
  b.octets = fin > debut ? fin - debut : 0;
  if (fd_ < 0 || debut >= taille_) return;

  // One byte before the block tells whether its first byte starts a line;
  // a margin after it usually holds the end of its last line.
  const auto lecture = [this](std::uint64_t position, char* destination, std::size_t k) {
    return lire_a(position, destination, k);
  };
  DecoupageBloc<decltype(lecture)> decoupage{
      lecture, nettoyage_, taille_, debut > 0 ? debut - 1 : 0, std::min(taille_, fin + 4096), b};
  std::uint64_t s = debut;
  if (decoupage.lire_debut() && decoupage.premiere_ligne(s, fin)) decoupage.couper(s, fin);
}

namespace {

// Line ends among k bytes: each LF, and each CR that no LF follows (`suivant`
// is the byte after them, 0 at the end of the file).
std::uint64_t fins_de_ligne(const char* p, std::size_t k, char suivant) {
  std::uint64_t n = 0;
  std::size_t i = 0;
#ifdef __SSE2__
  // Byte counters that each compare adds one to, summed before they can wrap.
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  while (i + 17 <= k) {
    __m128i compte = zero;
    for (int tour = 0; tour < 255 && i + 17 <= k; ++tour, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i apres = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i fin_cr = _mm_andnot_si128(_mm_cmpeq_epi8(apres, lf), _mm_cmpeq_epi8(v, cr));
      compte = _mm_sub_epi8(compte, _mm_cmpeq_epi8(v, lf));
      compte = _mm_sub_epi8(compte, fin_cr);
    }
    const __m128i sommes = _mm_sad_epu8(compte, zero);
    n += static_cast<std::uint64_t>(_mm_cvtsi128_si64(sommes)) +
         static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sommes, sommes)));
  }
#endif
  for (; i < k; ++i) {
    const char apres = i + 1 < k ? p[i + 1] : suivant;
    n += p[i] == '\n' || (p[i] == '\r' && apres != '\n');
  }
  return n;
}

}  // namespace

// A line starts at the first byte and after every line end but the last
// byte's: the line ends, and one more when the last byte ends no line.
std::optional<std::uint64_t> FichierEnBlocs::compter_lignes(int fils) const {
  if (fd_ < 0) return std::nullopt;
  if (taille_ == 0) return 0;
  const std::uint64_t nb = nb_blocs();
  const auto n =
      static_cast<std::uint64_t>(std::clamp<std::int64_t>(fils, 1, static_cast<std::int64_t>(nb)));
  std::vector<std::uint64_t> fins(static_cast<std::size_t>(n), 0);
  std::atomic<bool> echec{false};
  const auto compter = [&](std::uint64_t t) {
    std::vector<char> tampon(taille_bloc_ + 1);
    for (std::uint64_t k = t; k < nb && !echec.load(std::memory_order_relaxed); k += n) {
      const std::uint64_t debut = k * taille_bloc_;
      const auto octets = static_cast<std::size_t>(std::min(taille_, debut + taille_bloc_) - debut);
      // One byte more: whether an LF follows a CR that ends the block.
      const std::size_t lus = debut + octets < taille_ ? octets + 1 : octets;
      if (!lire_a(debut, tampon.data(), lus)) {
        echec = true;
        return;
      }
      fins[static_cast<std::size_t>(t)] +=
          fins_de_ligne(tampon.data(), octets, lus > octets ? tampon[octets] : '\0');
    }
  };
  std::vector<std::thread> aides;
  for (std::uint64_t t = 1; t < n; ++t) aides.emplace_back(compter, t);
  compter(0);
  for (auto& a : aides) a.join();
  char dernier = 0;
  if (echec || !lire_a(taille_ - 1, &dernier, 1)) return std::nullopt;
  std::uint64_t total = dernier == '\n' || dernier == '\r' ? 0 : 1;
  for (const std::uint64_t x : fins) total += x;
  return total;
}

int fils_de_lecture(int demandes) {
  if (demandes > 0) return demandes;
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min(n, 8u));
}

}  // namespace tamso
