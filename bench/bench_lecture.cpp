// The per-line costs of a run, measured on one core with the file in memory:
// cutting a block into lines, reading its plain lines (date and six values),
// and the same lines through the step-by-step date and number readers.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <benchmark/benchmark.h>

#include "base/tracking_log.h"
#include "input/date_format.h"
#include "input/line_blocks.h"
#include "input/text.h"
#include "processing/fast_lines.h"

namespace fs = std::filesystem;
using namespace tamso;

namespace {

// One block of logger lines like the benchmark generator's; with
// `guillemets`, the same lines with every field between quotes.
std::string ecrire_bloc(bool guillemets) {
  const fs::path p = fs::temp_directory_path() / (guillemets ? "tamso-bench-lecture-guillemets.csv"
                                                             : "tamso-bench-lecture.csv");
  std::ofstream f(p, std::ios::binary);
  std::mt19937 g(7);
  std::uniform_real_distribution<double> u(0, 1);
  for (int i = 0; i < 20000; ++i) {
    char ligne[160];
    std::snprintf(ligne, sizeof ligne,
                  "2021-11-%02d %02d:%02d:%02d;%.3f;%.1f;%.3f;%.1f;%.2f;%.2f\r\n", 7 + i / 1440,
                  (i / 60) % 24, i % 60, u(g) < 0.1 ? 7 : 0, 10 + 5 * u(g), 400 + 100 * u(g),
                  1 + u(g), 1000 + 20 * u(g), 12 + u(g), 8 + u(g));
    std::string l;
    if (guillemets) l += '"';
    for (const char* c = ligne; *c != '\0'; ++c) {
      if (guillemets && (*c == ';' || *c == '\r')) l += '"';
      l += *c == '.' ? ',' : *c;
      if (guillemets && *c == ';') l += '"';
    }
    f << l;
  }
  return p.string();
}

const std::string& chemin_bloc(bool guillemets = false) {
  static const std::string simple = ecrire_bloc(false);
  static const std::string entre_guillemets = ecrire_bloc(true);
  return guillemets ? entre_guillemets : simple;
}

PlanLecture plan_logger() {
  EtatLecteurDates lecteur;
  memoriser_format("aaaa-mm-jj hh:mn:ss", lecteur);
  return construire_plan(lecteur, false, ';', false, 1, 1, 2, {2, 3, 4, 5, 6, 7}, {"NA", "-99999"},
                         false, 0, false, 0, ',');
}

void BM_DecoupageEnLignes(benchmark::State& state) {
  FichierEnBlocs f(chemin_bloc(), NettoyageLignes{}, 8 << 20);
  BlocLignes b;
  for (auto _ : state) {
    f.lire(0, b);
    benchmark::DoNotOptimize(b.debuts.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(b.debuts.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(f.taille()));
}

// state.range(0): every field between quotes.
void BM_LectureRapide(benchmark::State& state) {
  FichierEnBlocs f(chemin_bloc(state.range(0) != 0), NettoyageLignes{}, 8 << 20);
  BlocLignes b;
  f.lire(0, b);
  const PlanLecture plan = plan_logger();
  LignesLues l;
  for (auto _ : state) {
    lire_lignes_rapides(plan, b.texte.data(), b.debuts, b.longueurs, l);
    benchmark::DoNotOptimize(l.valeurs.data());
  }
  // Every line must be read here, quoted or not.
  for (const StatutLigne s : l.statuts)
    if (s != StatutLigne::rapide) state.SkipWithError("une ligne laissée au lecteur pas à pas");
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(b.debuts.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(f.taille()));
}

void BM_LecturePasAPas(benchmark::State& state) {
  FichierEnBlocs f(chemin_bloc(), NettoyageLignes{}, 8 << 20);
  BlocLignes b;
  f.lire(0, b);
  EtatLecteurDates lecteur;
  JournalSuivi journal;
  long double somme = 0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < b.debuts.size(); ++i) {
      const std::string_view l(b.texte.data() + b.debuts[i], b.longueurs[i]);
      const std::string d =
          normaliser_date_mesure(champ(l, 1, ';'), "aaaa-mm-jj hh:mn:ss", lecteur, journal);
      benchmark::DoNotOptimize(d.data());
      for (int c = 2; c <= 7; ++c) {
        std::string x = champ(l, c, ';');
        if (est_numerique(x)) {
          remplacer_caractere(',', '.', x);
          somme += lire_decimal_strict_long(x).value_or(0);
        }
      }
    }
  }
  benchmark::DoNotOptimize(somme);
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(b.debuts.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(f.taille()));
}

}  // namespace

BENCHMARK(BM_DecoupageEnLignes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LectureRapide)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LecturePasAPas)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
