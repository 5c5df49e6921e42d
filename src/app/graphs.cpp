#include "app/graphs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <thread>

#include "input/dates.h"
#include "input/encoding.h"
#include "input/text.h"
#include "processing/period.h"
#include "processing/result_grid.h"

namespace tamso {

namespace {

constexpr double kSansPoint = std::numeric_limits<double>::quiet_NaN();

constexpr std::array<CouleurSerie, kSeriesParGraphique> kCouleurs{{
    {0, 0, 255},
    {255, 128, 64},
    {0, 128, 0},
    {128, 60, 0},
    {128, 128, 192},
    {156, 30, 174},
    {0, 128, 64},
    {80, 80, 149},
    {168, 168, 0},
    {0, 128, 192},
    {236, 0, 0},
    {240, 0, 240},
    {106, 106, 106},
    {100, 55, 80},
    {0, 0, 0},
}};

// A component lightened for the 3D view.
int eclaircir(int composante) {
  return std::min(composante + 170, 255);
}

}  // namespace

std::vector<std::string> items_graphiques(const GrilleResultats& g) {
  std::vector<std::string> items;
  if (g.c < 2) return items;  // no result grid
  std::size_t plus_long = 0;
  for (int col = 2; col <= g.c - 1; ++col) {
    const std::string& titre = g.titres[static_cast<std::size_t>(col)];
    items.push_back(titre);
    plus_long = std::max(plus_long, longueur_utf8(titre));
  }
  items.push_back(completer_a_droite("n OK", plus_long, ' '));
  return items;
}

std::string ecrire_choix_graphiques(const CochesGraphiques& coches) {
  std::string texte;
  for (const std::vector<bool>& liste : coches) {
    for (std::size_t i = 0; i < liste.size(); ++i)
      if (liste[i]) texte += std::to_string(i) + ",";
    texte += ";";
  }
  return texte;
}

bool lire_choix_graphiques(std::string_view texte, int k, std::vector<bool>& liste) {
  std::fill(liste.begin(), liste.end(), false);
  const std::string groupe = champ(texte, k + 1, ';', SeparateurInitial::champ_vide);
  const int nb = compter_caractere(',', groupe);
  for (int j = 1; j <= nb; ++j) {
    const auto indice = lire_entier(champ(groupe, j, ',', SeparateurInitial::champ_vide));
    if (!indice) return false;
    // An index beyond the list (or below it) stands for no item.
    if (*indice >= 0 && *indice < static_cast<long long>(liste.size()))
      liste[static_cast<std::size_t>(*indice)] = true;
  }
  return true;
}

CochesGraphiques cocher_par_defaut(int nb_items) {
  CochesGraphiques coches;
  const std::size_t taille = nb_items > 0 ? static_cast<std::size_t>(nb_items) : 0;
  for (std::vector<bool>& liste : coches) liste.assign(taille, false);
  for (int i = 0; i < nb_items && i < kSeriesParGraphique; ++i)
    coches[static_cast<std::size_t>(i % kNbGraphiques)][static_cast<std::size_t>(i)] = true;
  return coches;
}

CouleurSerie couleur_serie(int n, bool trois_d) {
  const int m = ((n % kSeriesParGraphique) + kSeriesParGraphique) % kSeriesParGraphique;
  CouleurSerie c = kCouleurs[static_cast<std::size_t>(m)];
  if (trois_d) c = {eclaircir(c.r), eclaircir(c.g), eclaircir(c.b)};
  return c;
}

namespace {

// Where one series takes its values from, and where it puts them.
struct SourceSerie {
  int colonne = 0;
  bool comptage = false, derivee = false;
  double* y = nullptr;
  BlocPoints* blocs = nullptr;
};

double valeur_point(const GrilleResultats& g, int r, const SourceSerie& s, double pas_jours) {
  if (s.comptage) {
    const long double nb = g.nb_lignes_ligne(r);
    return nb > 0 ? static_cast<double>(nb) : kSansPoint;
  }
  const Cellule& cellule = g.cellule(r, s.colonne);
  if (cellule.na || g.compte(r, s.colonne) <= 0) return kSansPoint;
  if (!s.derivee) return static_cast<double>(cellule.valeur);
  if (r <= 2 || g.cellule(r - 1, s.colonne).na) return kSansPoint;
  const long double ecart = cellule.valeur - g.cellule(r - 1, s.colonne).valeur;
  const double d = static_cast<double>(ecart / pas_jours);
  return std::isfinite(d) ? d : kSansPoint;
}

// Points debut..fin-1 (point i is row i + 2; debut a multiple of
// kPointsParBloc) into the shared abscissae and every series, with the
// summaries of their blocks: one block of rows at a time, read row by row,
// then each series' values of the block summed up while they are in the
// cache.
void remplir_points(const GrilleResultats& g, std::size_t debut, std::size_t fin, Abscisse abscisse,
                    double pas_jours, double* x, const std::vector<SourceSerie>& sources) {
  for (std::size_t b = debut; b < fin; b += kPointsParBloc) {
    const std::size_t b_fin = std::min(fin, b + kPointsParBloc);
    for (std::size_t i = b; i < b_fin; ++i) {
      x[i] = abscisse == Abscisse::numero ? static_cast<double>(i + 1) : g.temps[i + 2];
      for (const SourceSerie& s : sources)
        s.y[i] = valeur_point(g, static_cast<int>(i) + 2, s, pas_jours);
    }
    for (const SourceSerie& s : sources) {
      BlocPoints bloc{std::numeric_limits<double>::infinity(),
                      -std::numeric_limits<double>::infinity(), false};
      for (std::size_t i = b; i < b_fin; ++i) {
        const double y = s.y[i];
        if (std::isnan(y)) {
          bloc.trou = true;
        } else {
          bloc.bas = std::min(bloc.bas, y);
          bloc.haut = std::max(bloc.haut, y);
        }
      }
      s.blocs[b / kPointsParBloc] = bloc;
    }
  }
}

std::vector<GraphiqueTrace> tracer_series(const GrilleResultats& g,
                                          const std::vector<ListesGraphique>& listes,
                                          Abscisse abscisse, double pas_jours, bool trois_d,
                                          int& compteur) {
  std::vector<GraphiqueTrace> traces(listes.size());
  const std::vector<std::string> items = items_graphiques(g);
  const int lignes = std::max(0, g.n() - 2);

  // The series, without their points.
  for (std::size_t k = 0; k < listes.size(); ++k) {
    const std::vector<bool>& valeurs = listes[k].valeurs;
    const std::vector<bool>& derivees = listes[k].derivees;
    for (std::size_t i = 0; i < valeurs.size() && i < items.size(); ++i) {
      if (!valeurs[i]) continue;
      if (traces[k].series.size() >= static_cast<std::size_t>(kSeriesParGraphique)) break;
      ++compteur;
      SerieGraphique s;
      s.colonne = static_cast<int>(i) + 2;
      // The row count is always drawn as it is, and titled so.
      s.derivee = i < derivees.size() && derivees[i] && s.colonne != g.c;
      s.titre = s.derivee ? "d/dt > " + items[i] : items[i];
      s.couleur = couleur_serie(compteur - 1, trois_d);
      traces[k].series.push_back(std::move(s));
    }
  }

  // Their points, the grid read row by row once, in as many slices as
  // there are cores when it is big.
  const auto nb_points = static_cast<std::size_t>(lignes);
  const std::size_t nb_blocs = (nb_points + kPointsParBloc - 1) / kPointsParBloc;
  std::vector<SourceSerie> sources;
  for (GraphiqueTrace& t : traces) {
    for (SerieGraphique& s : t.series) {
      s.y.resize(nb_points);
      s.blocs.resize(nb_blocs);
      sources.push_back({s.colonne, s.colonne == g.c, s.derivee, s.y.data(), s.blocs.data()});
    }
  }
  auto x = std::make_shared<PointsGraphique>(nb_points);
  const std::size_t travail = nb_points * (sources.size() + 1);
  const std::size_t tranches =
      travail < 400000 ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  {
    std::vector<std::jthread> fils;
    for (std::size_t t = 0; t < tranches; ++t) {
      const std::size_t debut = nb_blocs * t / tranches * kPointsParBloc;
      const std::size_t fin = std::min(nb_points, nb_blocs * (t + 1) / tranches * kPointsParBloc);
      auto tache = [&, debut, fin] {
        remplir_points(g, debut, fin, abscisse, pas_jours, x->data(), sources);
      };
      if (t + 1 < tranches)
        fils.emplace_back(tache);
      else
        tache();
    }
  }

  // The vertical range of each chart: its values in the middle third.
  for (GraphiqueTrace& t : traces) {
    double bas = std::numeric_limits<double>::infinity();
    double haut = -bas;
    for (SerieGraphique& s : t.series) {
      s.x = x;
      for (const BlocPoints& b : s.blocs) {
        bas = std::min(bas, b.bas);
        haut = std::max(haut, b.haut);
      }
    }
    if (haut > bas) {
      const double etendue = haut - bas;
      t.plage = true;
      t.bas = bas - etendue - 0.1;
      t.haut = haut + etendue + 0.1;
    } else if (haut == bas) {
      t.valeur_unique = true;
      t.bas = t.haut = bas;
    }
  }
  return traces;
}

}  // namespace

std::vector<GraphiqueTrace> tracer_graphiques(const GrilleResultats& g,
                                              const std::vector<ListesGraphique>& listes,
                                              Abscisse abscisse, double pas_jours, bool trois_d) {
  int compteur = 0;
  return tracer_series(g, listes, abscisse, pas_jours, trois_d, compteur);
}

GraphiqueTrace tracer_graphique(const GrilleResultats& g, const std::vector<bool>& valeurs,
                                const std::vector<bool>& derivees, Abscisse abscisse,
                                double pas_jours, bool trois_d, int& compteur) {
  return std::move(
      tracer_series(g, {ListesGraphique{valeurs, derivees}}, abscisse, pas_jours, trois_d, compteur)
          .front());
}

std::string texte_pas_graphiques(const Periode& p) {
  const std::string n = std::to_string(p.nb_pas);
  const double pas = valeur_pas(p);
  std::string texte = "pas = ";
  switch (p.unite) {
    case UnitePas::heure:
      texte += heure_en_texte(pas);
      break;
    case UnitePas::jour:
      texte += n + " jour" + (pas > 1.0 ? "s" : "");
      break;
    case UnitePas::mois:
      texte += n + " mois";
      break;
    case UnitePas::annee:
      texte += n + " année" + (pas > 365.25 ? "s" : "");
      break;
  }
  return texte;
}

std::vector<std::string> lignes_lecture_point(const std::string& titre, double x, double y,
                                              Abscisse abscisse) {
  const std::string abscisse_texte =
      abscisse == Abscisse::numero ? std::to_string(std::llround(x)) : date_heure_en_texte(x);
  char valeur[64];
  std::snprintf(valeur, sizeof valeur, "%5.3f ", y);
  return {"  série   " + titre, "  " + abscisse_texte, "  " + std::string(valeur)};
}

std::vector<std::string> lignes_aide_graphiques() {
  return {
      " Zoomer avec la roulette ou en sélectionnant une zone",
      "",
      " Réinitialiser le zoom avec un double-clik ou en sélectionnant une zone vers le haut",
      "",
      " Déplacements du graphe avec clik droit et glissements",
      "",
      " Clik gauche sur un point pour afficher X et Y et déplacer le curseur pour effacer",
      "",
  };
}

}  // namespace tamso
