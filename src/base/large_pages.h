// An allocator for the large arrays of a run (the result grid): big arrays
// are mapped directly and asked for large memory pages, so that filling a
// grid of hundreds of megabytes costs a few hundred page faults instead of
// tens of thousands.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace tamso {

void* allouer_grand(std::size_t octets);
void liberer_grand(void* p, std::size_t octets);
// The same, every byte zero: a big array's pages are then only touched,
// and cleared by the system, where and when they are first written.
void* allouer_grand_zero(std::size_t octets);

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

// An array of n elements whose bytes all start at zero, for element types
// whose zero bytes are their empty value. Kept in large pages like the above.
template <class T>
class TableauZero {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  TableauZero() = default;
  explicit TableauZero(std::size_t n)
      : p_(n ? static_cast<T*>(allouer_grand_zero(n * sizeof(T))) : nullptr), n_(n) {}
  TableauZero(const TableauZero& autre) : TableauZero(autre.n_) {
    if (n_) std::memcpy(p_, autre.p_, n_ * sizeof(T));
  }
  TableauZero(TableauZero&& autre) noexcept
      : p_(std::exchange(autre.p_, nullptr)), n_(std::exchange(autre.n_, 0)) {}
  TableauZero& operator=(TableauZero autre) noexcept {
    std::swap(p_, autre.p_);
    std::swap(n_, autre.n_);
    return *this;
  }
  ~TableauZero() { liberer_grand(p_, n_ * sizeof(T)); }

  T& operator[](std::size_t i) { return p_[i]; }
  const T& operator[](std::size_t i) const { return p_[i]; }
  std::size_t size() const { return n_; }
  T* data() { return p_; }
  const T* data() const { return p_; }

 private:
  T* p_ = nullptr;
  std::size_t n_ = 0;
};

}  // namespace tamso
