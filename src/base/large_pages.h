// An allocator for the large arrays of a run (the result grid): big arrays
// are mapped directly and asked for large memory pages, so that filling a
// grid of hundreds of megabytes costs a few hundred page faults instead of
// tens of thousands.
#pragma once

#include <cstddef>
#include <new>

namespace tamso {

void* allouer_grand(std::size_t octets);
void liberer_grand(void* p, std::size_t octets);

template <class T>
struct AllocateurGrand {
  using value_type = T;
  AllocateurGrand() = default;
  template <class U>
  AllocateurGrand(const AllocateurGrand<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(allouer_grand(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { liberer_grand(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const AllocateurGrand<U>&) const noexcept {
    return true;
  }
};

}  // namespace tamso
