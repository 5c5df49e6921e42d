// A list of text lines kept in one buffer: hundreds of thousands of results
// lines cost their characters and one offset each, not one allocation each.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_pages.h"

namespace tamso {

class LignesTexte {
 public:
  LignesTexte() = default;

  std::size_t size() const { return fins_.size(); }
  bool empty() const { return fins_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t debut = i == 0 ? 0 : fins_[i - 1];
    return std::string_view(texte_).substr(debut, fins_[i] - debut);
  }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }

  void clear() {
    texte_.clear();
    fins_.clear();
  }
  void reserve(std::size_t lignes, std::size_t octets) {
    fins_.reserve(lignes);
    texte_.reserve(octets);
  }
  void emplace_back(std::string_view ligne) { push_back(ligne); }
  // n times the same line.
  void assign(std::size_t n, std::string_view ligne) {
    clear();
    for (std::size_t i = 0; i < n; ++i) push_back(ligne);
  }
  void push_back(std::string_view ligne) {
    texte_.append(ligne);
    fins_.push_back(texte_.size());
  }

  class const_iterator {
   public:
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    const_iterator() = default;
    const_iterator(const LignesTexte* l, std::size_t i) : l_(l), i_(i) {}
    std::string_view operator*() const { return (*l_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      auto copie = *this;
      ++i_;
      return copie;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const LignesTexte* l_ = nullptr;
    std::size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  std::vector<std::string> en_vecteur() const {
    std::vector<std::string> v;
    v.reserve(size());
    for (auto l : *this) v.emplace_back(l);
    return v;
  }
  bool operator==(const std::vector<std::string>& v) const {
    if (v.size() != size()) return false;
    for (std::size_t i = 0; i < size(); ++i)
      if ((*this)[i] != v[i]) return false;
    return true;
  }

 private:
  // Tens of megabytes for a long period's results: on large pages.
  std::basic_string<char, std::char_traits<char>, AllocateurGrand<char>> texte_;
  std::vector<std::size_t, AllocateurGrand<std::size_t>> fins_;
};

}  // namespace tamso
