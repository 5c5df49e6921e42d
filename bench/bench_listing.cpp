// Listing a folder of 2,000 small logger files with pre-reading off: only the
// first file is read, the others are only named, sized and given a station.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <benchmark/benchmark.h>

#include "app/listing.h"
#include "app/session.h"
#include "cli/batch_interaction.h"

namespace fs = std::filesystem;
using namespace tamso;

namespace {

const std::string& dossier_donnees() {
  static const std::string dossier = [] {
    const fs::path d = fs::temp_directory_path() / "tamso-bench-listage";
    fs::remove_all(d);
    fs::create_directories(d / "donnees");
    for (int i = 0; i < 2000; ++i) {
      char nom[64];
      std::snprintf(nom, sizeof nom, "Station%02d_2021_%04d.csv", i % 17, i);
      std::ofstream f(d / "donnees" / nom, std::ios::binary);
      f << "Date;Temp;Niveau\r\n";
      for (int k = 0; k < 20; ++k)
        f << "2021-01-01 10:" << (k < 10 ? "0" : "") << k << ":00;12,5;1,25\r\n";
    }
    ::setenv("TAMSO_HOME", (d / "programme").c_str(), 1);
    return (d / "donnees").string() + "/";
  }();
  return dossier;
}

void BM_Listage2000Fichiers(benchmark::State& state) {
  std::ostringstream muet;
  InteractionLot port(muet);
  Session s(port);
  s.description = description_par_defaut(s.repertoire_programme());
  s.description.dossier_choisi = dossier_donnees();
  s.description.masque = "*.csv";
  s.description.separateur_colonne = SeparateurColonne::point_virgule;
  s.description.format_datetime_mesure = "aaaa-mm-jj hh:mn:ss";
  s.description.f_station = "1";
  for (auto _ : state) {
    if (!lister_fichiers_donnees(s)) state.SkipWithError("le listage a échoué");
    benchmark::DoNotOptimize(s.table.nb_lignes());
  }
  state.counters["fichiers"] = s.table.nb_fichiers();
}
BENCHMARK(BM_Listage2000Fichiers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
