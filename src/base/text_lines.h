// A list of text lines kept in few buffers: hundreds of thousands of results
// lines cost their characters and one offset each, not one allocation each.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_pages.h"

namespace tamso {

class LignesTexte {
 public:
  LignesTexte() = default;

  std::size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  std::string_view operator[](std::size_t i) const {
    const Morceau& m = morceau_de(i);
    const std::size_t k = i - m.premiere;
    const std::size_t debut = k == 0 ? 0 : m.fins[k - 1];
    return std::string_view(m.texte).substr(debut, m.fins[k] - debut);
  }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }

  void clear() {
    morceaux_.clear();
    n_ = 0;
  }
  void reserve(std::size_t lignes, std::size_t octets) {
    Morceau& m = dernier();
    m.fins.reserve(m.fins.size() + lignes);
    m.texte.reserve(m.texte.size() + octets);
  }
  void emplace_back(std::string_view ligne) { push_back(ligne); }
  // n times the same line.
  void assign(std::size_t n, std::string_view ligne) {
    clear();
    for (std::size_t i = 0; i < n; ++i) push_back(ligne);
  }
  void push_back(std::string_view ligne) {
    Morceau& m = dernier();
    m.texte.append(ligne);
    m.fins.push_back(m.texte.size());
    ++n_;
  }
  // The lines of `autre` after these, their text taken over, not copied.
  void ajouter(LignesTexte&& autre) {
    for (Morceau& m : autre.morceaux_) {
      if (m.fins.empty()) continue;
      m.premiere = n_;
      n_ += m.fins.size();
      morceaux_.push_back(std::move(m));
    }
    autre.clear();
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
  // Lines kept together in one buffer; a list made in pieces (on several
  // threads) keeps each piece's buffer.
  struct Morceau {
    // Tens of megabytes for a long period's results: on large pages.
    std::basic_string<char, std::char_traits<char>, AllocateurGrand<char>> texte;
    std::vector<std::size_t, AllocateurGrand<std::size_t>> fins;
    std::size_t premiere = 0;  // index of its first line in the list
  };
  Morceau& dernier() {
    if (morceaux_.empty()) morceaux_.emplace_back();
    return morceaux_.back();
  }
  const Morceau& morceau_de(std::size_t i) const {
    if (morceaux_.size() == 1) return morceaux_.front();
    const auto suivant =
        std::upper_bound(morceaux_.begin(), morceaux_.end(), i,
                         [](std::size_t x, const Morceau& m) { return x < m.premiere; });
    return *(suivant - 1);
  }
  std::vector<Morceau> morceaux_;
  std::size_t n_ = 0;
};

}  // namespace tamso
