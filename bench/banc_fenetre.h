// What the window benchmarks share: a clock in milliseconds, and the
// window's controls by name (a missing one ends the benchmark).
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QString>
#include <QWidget>

namespace tamso::banc {

using Montre = std::chrono::steady_clock;

inline double ms_entre(Montre::time_point a, Montre::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

template <class T>
T* controle(QWidget& w, const char* nom) {
  T* c = w.findChild<T*>(QString::fromLatin1(nom));
  if (!c) {
    std::fprintf(stderr, "contrôle %s introuvable\n", nom);
    std::exit(1);
  }
  return c;
}

}  // namespace tamso::banc
