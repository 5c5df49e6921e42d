#include "base/large_pages.h"

#include <cstdlib>
#include <sys/mman.h>

namespace tamso {

namespace {
constexpr std::size_t kSeuil = std::size_t{8} << 20;
}

void* allouer_grand(std::size_t octets) {
  if (octets < kSeuil) {
    void* p = std::malloc(octets == 0 ? 1 : octets);
    if (!p) throw std::bad_alloc();
    return p;
  }
  void* p = ::mmap(nullptr, octets, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
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
