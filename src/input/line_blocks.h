// Reads a data file as blocks of whole lines, cleaned as the line reader
// cleans them, so that several threads can work on different parts of one
// file. A block owns the lines that start inside its byte range; a line is
// ended by CR, LF or the pair, exactly as LecteurLignes ends it, so the lines
// of all the blocks, in block order, are the lines of the file.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "input/loader.h"

namespace tamso {

struct BlocLignes {
  std::uint64_t numero = 0;
  std::vector<char> texte;               // the bytes read, cleaned
  std::vector<std::uint32_t> debuts;     // start of each line in texte
  std::vector<std::uint32_t> longueurs;  // length of each line, without its end
  std::uint64_t octets = 0;              // bytes of the file the block stands for
  bool erreur = false;                   // the file could not be read
};

// An open data file cut into blocks of about `taille_bloc` bytes.
class FichierEnBlocs {
 public:
  static constexpr std::size_t kTailleBloc = 1 << 18;

  // A block size of 0 takes kTailleBloc; others are at least 64 bytes.
  FichierEnBlocs(const std::string& chemin, NettoyageLignes nettoyage,
                 std::size_t taille_bloc = kTailleBloc);
  ~FichierEnBlocs();
  FichierEnBlocs(const FichierEnBlocs&) = delete;
  FichierEnBlocs& operator=(const FichierEnBlocs&) = delete;

  bool ouvert() const { return fd_ >= 0; }
  std::uint64_t taille() const { return taille_; }
  std::uint64_t nb_blocs() const { return (taille_ + taille_bloc_ - 1) / taille_bloc_; }
  // Reads block n and cuts it into lines. Safe to call from several threads.
  void lire(std::uint64_t n, BlocLignes& b) const;
  // The file's number of lines, counted on `fils` threads without cutting
  // them; nothing when the file cannot be read to its end.
  std::optional<std::uint64_t> compter_lignes(int fils) const;

 private:
  bool lire_a(std::uint64_t position, char* destination, std::size_t n) const;
  int fd_ = -1;
  std::uint64_t taille_ = 0;
  std::size_t taille_bloc_;
  NettoyageLignes nettoyage_;
};

// Blocks read and analysed ahead by worker threads, given back in file order.
// At most `en_vol` blocks exist at once, so memory does not grow with the
// file. With no worker thread, each block is read and analysed when asked.
template <class Analyse>
class FileDeBlocs {
 public:
  struct Element {
    BlocLignes bloc;
    Analyse analyse;
    bool pret = false;
  };
  using Analyseur = std::function<void(const BlocLignes&, Analyse&)>;

  FileDeBlocs(const FichierEnBlocs& fichier, Analyseur analyseur, int fils, int en_vol)
      : fichier_(fichier),
        analyseur_(std::move(analyseur)),
        nb_(fichier.nb_blocs()),
        elements_(static_cast<std::size_t>(std::max(1, en_vol))) {
    for (int k = 0; k < fils; ++k) fils_.emplace_back([this] { travailler(); });
  }
  ~FileDeBlocs() { arreter(); }
  FileDeBlocs(const FileDeBlocs&) = delete;
  FileDeBlocs& operator=(const FileDeBlocs&) = delete;

  // The next block in file order, nullptr after the last one. The block
  // stays valid until the next call.
  Element* suivant() {
    if (courant_ > 0) liberer();
    if (courant_ >= nb_) return nullptr;
    Element& e = elements_[courant_ % elements_.size()];
    if (fils_.empty()) {
      fichier_.lire(courant_, e.bloc);
      analyseur_(e.bloc, e.analyse);
    } else {
      std::unique_lock<std::mutex> verrou(mutex_);
      pret_cv_.wait(verrou, [&] { return e.pret && e.bloc.numero == courant_; });
    }
    ++courant_;
    return &e;
  }

  // Ends the workers without waiting for the blocks not yet read.
  void arreter() {
    {
      std::lock_guard<std::mutex> verrou(mutex_);
      fin_ = true;
    }
    libre_cv_.notify_all();
    for (auto& t : fils_) t.join();
    fils_.clear();
  }

 private:
  void liberer() {
    if (fils_.empty()) return;
    {
      std::lock_guard<std::mutex> verrou(mutex_);
      elements_[(courant_ - 1) % elements_.size()].pret = false;
      liberes_ = courant_;
    }
    libre_cv_.notify_all();
  }

  void travailler() {
    for (;;) {
      std::uint64_t n;
      Element* e;
      {
        std::unique_lock<std::mutex> verrou(mutex_);
        if (fin_ || prochain_ >= nb_) return;
        n = prochain_++;
        // The slot of block n is free once block n - en_vol has been given back.
        libre_cv_.wait(verrou, [&] { return fin_ || n < liberes_ + elements_.size(); });
        if (fin_) return;
        e = &elements_[n % elements_.size()];
      }
      fichier_.lire(n, e->bloc);
      analyseur_(e->bloc, e->analyse);
      {
        std::lock_guard<std::mutex> verrou(mutex_);
        e->pret = true;
      }
      pret_cv_.notify_all();
    }
  }

  const FichierEnBlocs& fichier_;
  Analyseur analyseur_;
  std::uint64_t nb_;
  std::vector<Element> elements_;
  std::vector<std::thread> fils_;
  std::mutex mutex_;
  std::condition_variable pret_cv_, libre_cv_;
  std::uint64_t prochain_ = 0, liberes_ = 0, courant_ = 0;
  bool fin_ = false;
};

// Threads to use for reading: the machine's cores unless told otherwise.
int fils_de_lecture(int demandes);

}  // namespace tamso
