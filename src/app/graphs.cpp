#include "app/graphs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

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

GraphiqueTrace tracer_graphique(const GrilleResultats& g, const std::vector<bool>& valeurs,
                                const std::vector<bool>& derivees, Abscisse abscisse,
                                double pas_jours, bool trois_d, int& compteur) {
  GraphiqueTrace trace;
  const std::vector<std::string> items = items_graphiques(g);
  double bas = std::numeric_limits<double>::infinity();
  double haut = -std::numeric_limits<double>::infinity();

  for (std::size_t i = 0; i < valeurs.size() && i < items.size(); ++i) {
    if (!valeurs[i]) continue;
    if (trace.series.size() >= static_cast<std::size_t>(kSeriesParGraphique)) break;
    ++compteur;
    SerieGraphique s;
    s.colonne = static_cast<int>(i) + 2;
    const bool comptage = s.colonne == g.c;
    const bool coche_derivee = i < derivees.size() && derivees[i];
    // The row count is always drawn as it is, and titled so.
    s.derivee = coche_derivee && !comptage;
    s.titre = s.derivee ? "d/dt > " + items[i] : items[i];
    s.couleur = couleur_serie(compteur - 1, trois_d);
    const std::size_t lignes = g.n() > 2 ? static_cast<std::size_t>(g.n() - 2) : 0;
    s.x.reserve(lignes);
    s.y.reserve(lignes);

    for (int r = 2; r <= g.n() - 1; ++r) {
      s.x.push_back(abscisse == Abscisse::numero ? static_cast<double>(r - 1)
                                                 : g.temps[static_cast<std::size_t>(r)]);
      double y = kSansPoint;
      if (comptage) {
        const long double nb = g.nb_lignes_ligne(r);
        if (nb > 0) y = static_cast<double>(nb);
      } else {
        const Cellule& cellule = g.cellule(r, s.colonne);
        if (!cellule.na && g.compte(r, s.colonne) > 0) {
          if (!s.derivee) {
            y = static_cast<double>(cellule.valeur);
          } else if (r > 2 && !g.cellule(r - 1, s.colonne).na) {
            const long double ecart = cellule.valeur - g.cellule(r - 1, s.colonne).valeur;
            const double d = static_cast<double>(ecart / pas_jours);
            if (std::isfinite(d)) y = d;
          }
        }
      }
      if (!std::isnan(y)) {
        bas = std::min(bas, y);
        haut = std::max(haut, y);
      }
      s.y.push_back(y);
    }
    trace.series.push_back(std::move(s));
  }

  if (haut > bas) {
    const double etendue = haut - bas;
    trace.plage = true;
    trace.bas = bas - etendue - 0.1;
    trace.haut = haut + etendue + 0.1;
  }
  return trace;
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
