#include "base/large_pages.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace tamso {

namespace {

// From one large page up, arrays are mapped on their own.
constexpr std::size_t kGrandePage = std::size_t{2} << 20;
constexpr std::size_t kSeuil = kGrandePage;

}  // namespace

void* allouer_grand(std::size_t octets) {
  if (octets < kSeuil) {
    void* p = std::malloc(octets == 0 ? 1 : octets);
    if (!p) throw std::bad_alloc();
    return p;
  }
  return allouer_grand_zero(octets);
}

// A fresh anonymous mapping reads as zeros.
void* allouer_grand_zero(std::size_t octets) {
  if (octets < kSeuil) {
    void* p = std::calloc(octets == 0 ? 1 : octets, 1);
    if (!p) throw std::bad_alloc();
    return p;
  }
  // Mapped a large page more than asked, then trimmed to start on a large
  // page boundary: only whole, aligned large pages can back it.
  const std::size_t reserve = octets + kGrandePage;
  void* brut = ::mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (brut == MAP_FAILED) throw std::bad_alloc();
  const auto debut = reinterpret_cast<std::uintptr_t>(brut);
  const std::uintptr_t aligne = (debut + kGrandePage - 1) & ~(std::uintptr_t{kGrandePage} - 1);
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::uintptr_t fin = (aligne + octets + page - 1) & ~(std::uintptr_t{page} - 1);
  if (aligne > debut) ::munmap(brut, aligne - debut);
  if (debut + reserve > fin) ::munmap(reinterpret_cast<void*>(fin), debut + reserve - fin);
  void* p = reinterpret_cast<void*>(aligne);
#ifdef MADV_HUGEPAGE
  ::madvise(p, octets, MADV_HUGEPAGE);
#endif
  return p;
}

void liberer_grand(void* p, std::size_t octets) {
  if (!p) return;
  if (octets < kSeuil) {
    std::free(p);
    return;
  }
  ::munmap(p, octets);
}

}  // namespace tamso
