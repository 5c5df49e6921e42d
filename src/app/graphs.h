// What the graph window draws, apart from the drawing itself: the five
// charts' column choices and their text form kept in the description, the
// default dispatch of the columns, the series of a chart (points, gaps,
// derivatives, colours), its vertical range and the window's label texts.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_pages.h"

namespace tamso {

class GrilleResultats;
struct Periode;

inline constexpr int kNbGraphiques = 5;
inline constexpr int kSeriesParGraphique = 15;

// The check states of the five value lists (or the five derivative lists):
// one flag per item, item i standing for output column i + 2, the last item
// for the row-count column ("n OK").
using CochesGraphiques = std::array<std::vector<bool>, kNbGraphiques>;

// The items of a value list: the titles of columns 2..C-1, then "n OK"
// padded on the right with spaces to the length of the longest title.
std::vector<std::string> items_graphiques(const GrilleResultats& g);

// The text form of the choices: for each chart in order, the indexes (from
// 0) of its checked items each followed by ",", then ";" ("0,5,;1,;;;;").
std::string ecrire_choix_graphiques(const CochesGraphiques& coches);

// Reads group k (0..4) of a choice text into list k: every item unchecked,
// then the indexes of the group checked when below the item count. An entry
// that is not a whole number stops the reading there (false).
bool lire_choix_graphiques(std::string_view texte, int k, std::vector<bool>& liste);

// The default dispatch: item i (i < nb_items, i < 15) checked on chart
// i mod 5, every other item unchecked; every list has nb_items items.
CochesGraphiques cocher_par_defaut(int nb_items);

// A series colour (the session's window colours are `Couleur`).
struct CouleurSerie {
  int r = 0, g = 0, b = 0;
  bool operator==(const CouleurSerie&) const = default;
};
// Entry n mod 15 of the series colour table (of the 3D table, each component
// plus 170 capped at 255, in the 3D view).
CouleurSerie couleur_serie(int n, bool trois_d);

// What the horizontal axis shows: 0 "jj-mm-aaaa hh:mm", 1 "jj-mm-aaaa",
// 2 "hh:mm", 3 "mmm-aaaa" (date-time values), 4 "n" (the row number).
enum class Abscisse { date_heure = 0, date = 1, heure = 2, mois = 3, numero = 4 };

// The points of the graphs: millions of values, filled once.
using PointsGraphique = std::vector<double, AllocateurGrandBrut<double>>;

// A summary of each run of kPointsParBloc points of a series (the last run
// may be shorter): its lowest and highest value, and whether a gap (NaN)
// falls in it. A chart showing many points per pixel reads the summaries
// instead of the points.
inline constexpr std::size_t kPointsParBloc = 64;
struct BlocPoints {
  double bas = 0.0, haut = 0.0;
  bool trou = false;
};

struct SerieGraphique {
  std::string titre;  // the item's text, "d/dt > " before it for a derivative
  int colonne = 0;    // output column 2..C
  bool derivee = false;
  CouleurSerie couleur;
  // One point per drawn row (rows 2..N-1): x is the timestamp value (days
  // since 30 December 1899) or r - 1 under the abscissa "n", shared by every
  // series of one drawing; y is NaN where the line is broken (NA cell, no
  // source value, a derivative next to NA).
  std::shared_ptr<const PointsGraphique> x;
  PointsGraphique y;
  std::vector<BlocPoints> blocs;
};

struct GraphiqueTrace {
  std::vector<SerieGraphique> series;  // at most 15
  // The vertical range: set when the drawn values span an interval (the
  // data then fill its middle third); otherwise the chart keeps its range,
  // and when every drawn value is the same, bas and haut hold it.
  bool plage = false;
  bool valeur_unique = false;
  double bas = 0.0, haut = 0.0;
};

// The value and derivative lists of one chart.
struct ListesGraphique {
  std::vector<bool> valeurs, derivees;
};

// The series of the charts drawn by one redraw, in their order, from their
// value and derivative lists: the series counter starts at 0 and runs on
// from one chart to the next (it chooses the colours). `pas_jours` is the
// step of the regular timestamps in days, for derivatives. The grid is read
// once, on every core when it is big.
std::vector<GraphiqueTrace> tracer_graphiques(const GrilleResultats& g,
                                              const std::vector<ListesGraphique>& listes,
                                              Abscisse abscisse, double pas_jours, bool trois_d);

// The series of one chart; `compteur` is the number of series drawn before
// it in the same redraw, and comes back increased by the chart's series.
GraphiqueTrace tracer_graphique(const GrilleResultats& g, const std::vector<bool>& valeurs,
                                const std::vector<bool>& derivees, Abscisse abscisse,
                                double pas_jours, bool trois_d, int& compteur);

// "pas = " and the step: a time of day "00:15:00"; "1 jour", "2 jours";
// "3 mois"; "1 année", "2 années".
std::string texte_pas_graphiques(const Periode& p);

// The point read-out box's lines: "  série   " + title, "  " + the date and
// time (a midnight written out; the row number under "n"), "  " + the value
// as "%5.3f ".
std::vector<std::string> lignes_lecture_point(const std::string& titre, double x, double y,
                                              Abscisse abscisse);

// The help box's lines, each followed by an empty line.
std::vector<std::string> lignes_aide_graphiques();

}  // namespace tamso
