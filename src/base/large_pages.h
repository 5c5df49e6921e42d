// An allocator for the large arrays of a run (the result grid): big arrays
// are mapped directly and asked for large memory pages, so that filling a
// grid of hundreds of megabytes costs a few hundred page faults instead of
// tens of thousands.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

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

// The same, leaving the elements that a resize adds uninitialised: for big
// arrays written in full right after, by the threads that will use them
// (their pages are then first touched there, not by a clearing pass).
template <class T>
struct AllocateurGrandBrut : AllocateurGrand<T> {
  AllocateurGrandBrut() = default;
  template <class U>
  AllocateurGrandBrut(const AllocateurGrandBrut<U>&) noexcept {}
  template <class U>
  struct rebind {
    using other = AllocateurGrandBrut<U>;
  };
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
};

}  // namespace tamso
