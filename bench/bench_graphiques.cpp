// The graph window on a big result grid: the time to open it (lists,
// series, first drawing) and to replot a chart after each zoom or pan step.
// Usage: tamso_bench_graphiques [timestamps] [columns checked] [picture.png],
// offscreen.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <ctime>
#include <memory>
#include <vector>

#include <QApplication>
#include <QTest>

#include "app/graphs.h"
#include "app/session.h"
#include "gui/port_test.h"
#include "support/temp_dir.h"
#include "ui/graph_chart.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"

using namespace tamso;

namespace {

double ms_depuis(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// A grid of n one-minute rows and v value columns, a gap every 1000 rows.
void remplir(GrilleResultats& g, int n, int v) {
  g.creer(n, v);
  g.c = v + 2;
  g.titres.assign(static_cast<std::size_t>(v + 5), "");
  for (int c = 2; c < g.c; ++c) g.titres[static_cast<std::size_t>(c)] = "col" + std::to_string(c);
  g.titres[static_cast<std::size_t>(g.c)] = "nb";
  g.temps.assign(static_cast<std::size_t>(n + 3), 0.0);
  for (int r = 1; r <= n; ++r) {
    g.temps[static_cast<std::size_t>(r)] = 44000.0 + (r - 1) / 1440.0;
    for (int c = 2; c < g.c; ++c) {
      Cellule& x = g.cellule(r, c);
      x.na = r % 1000 == 0;
      x.valeur = std::sin(r / 500.0 + c) * 10 + c;
      g.compte(r, c) = x.na ? 0 : 1;
    }
    g.cellule(r, g.c).valeur = 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int v = argc > 2 ? std::atoi(argv[2]) : 6;
  test::DossierTemporaire dossier;
  auto port = std::make_unique<test::PortTest>();
  FenetrePrincipale fenetre(std::move(port), OptionsSession{',', dossier.chemin()});
  fenetre.resize(1366, 768);
  fenetre.show();
  if (!QTest::qWaitFor([&fenetre] { return fenetre.demarrage_fait(); }, 5000)) return 1;
  Session& s = fenetre.session();
  remplir(s.grille, n, v);
  s.etat_traitement.lignes_extraites = n;
  // Six columns checked: two on each of the first three charts.
  s.description.suite_coche_liste_graph = "0,1,;2,3,;4,5,;;;";
  s.description.suite_coche_liste_graph_deriv = ";;;;;";
  auto* graphiques = fenetre.findChild<FenetreGraphiques*>();
  if (!graphiques) return 1;

  // The series alone (the grid read into the points of six series).
  {
    std::vector<ListesGraphique> listes(3);
    for (std::size_t k = 0; k < 3; ++k) {
      listes[k].valeurs.assign(static_cast<std::size_t>(v + 1), false);
      listes[k].valeurs[2 * k] = listes[k].valeurs[2 * k + 1] = true;
    }
    std::vector<double> t, cpu;
    for (int i = 0; i < 5; ++i) {
      const auto t0 = std::chrono::steady_clock::now();
      const std::clock_t c0 = std::clock();
      const auto traces =
          tracer_graphiques(s.grille, listes, Abscisse::date_heure, 1.0 / 1440, false);
      t.push_back(ms_depuis(t0));
      cpu.push_back(static_cast<double>(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
    }
    // The processor time of both cores tells the work apart from the waits
    // on a busy machine.
    std::printf("séries seules :");
    for (double x : t) std::printf(" %.1f", x);
    std::printf(" ms (temps processeur :");
    for (double x : cpu) std::printf(" %.1f", x);
    std::printf(" ms)\n");
  }

  // The first opening, then four more (each shows the window again and
  // redraws every chart from the grid).
  std::vector<double> ouvertures;
  for (int i = 0; i < 5; ++i) {
    if (i > 0) {
      graphiques->basculer();  // hides it
      QApplication::processEvents();
    }
    const auto t0 = std::chrono::steady_clock::now();
    graphiques->basculer();
    QApplication::processEvents();
    ouvertures.push_back(ms_depuis(t0));
  }
  std::printf("ouverture (%d horodates, %d colonnes) : première %.1f ms, suivantes", n, v,
              ouvertures[0]);
  for (std::size_t i = 1; i < ouvertures.size(); ++i) std::printf(" %.1f", ouvertures[i]);
  std::printf(" ms\n");

  // A picture of the window, when a path is given.
  if (argc > 3) graphiques->grab().save(QString::fromLocal8Bit(argv[3]));

  GrapheTamso* g = graphiques->graphe(0);
  double pire = 0.0, total = 0.0;
  const int pas = 20;
  for (int i = 0; i < pas; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (i % 2 == 0) {
      g->xAxis->scaleRange(0.8);  // zoom
      g->yAxis->scaleRange(0.9);
    } else {
      g->xAxis->moveRange(g->xAxis->range().size() * 0.1);  // pan
    }
    g->replot(QCustomPlot::rpImmediateRefresh);
    const double t = ms_depuis(t0);
    pire = std::max(pire, t);
    total += t;
  }
  std::printf("zoom ou déplacement d'un graphique : moyenne %.1f ms, pire %.1f ms (%d pas)\n",
              total / pas, pire, pas);
  return 0;
}
