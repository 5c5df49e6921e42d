#include "processing/post_processing.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/progress.h"
#include "base/tracking_log.h"
#include "description/description.h"
#include "input/text.h"
#include "processing/period.h"
#include "processing/result_grid.h"

namespace tamso {

namespace {

// First row examined by the gap filling: row 1 gathers what falls at or
// before the period start and is never written.
constexpr int kPremiereLigne = 2;

}  // namespace

void corriger_cumuls(GrilleResultats& g) {
  const int n = g.n();
  const auto lignes = static_cast<std::size_t>(n + 1);
  for (int c = 2; c <= g.c - 1; ++c) {
    std::vector<long double> base(lignes, 0), decalage(lignes, 0);
    std::vector<char> remise(lignes, 0);
    for (int r = 1; r <= n; ++r) {
      Cellule& x = g.cellule(r, c);
      const auto i = static_cast<std::size_t>(r);
      if (x.na) {
        x.na = false;
        x.valeur = 0;
        g.compte(r, c) = 1;
        base[i] = 0;
      } else if (r > 1 && g.cellule(r - 1, c).valeur > x.valeur) {
        base[i] = 0;  // the counter went down
      } else {
        base[i] = x.valeur;
      }
    }
    for (int r = 1; r <= n; ++r) {
      const auto i = static_cast<std::size_t>(r);
      remise[i] = base[i] == 0 && base[i - 1] > 0;
    }
    // The first row has no level to carry: its offset is 0.
    decalage[1] = 0;
    for (int r = 2; r <= n; ++r) {
      const auto i = static_cast<std::size_t>(r);
      decalage[i] = remise[i] ? decalage[i - 1] + base[i - 1] : decalage[i - 1];
    }
    for (int r = 1; r <= n; ++r) {
      const auto i = static_cast<std::size_t>(r);
      g.cellule(r, c).valeur = base[i] + decalage[i];
    }
  }
}

int combler_lacunes(GrilleResultats& g, int nmax, JournalSuivi& journal, Avancement& avancement) {
  const int n = g.n();
  const std::string egal(74, '=');
  journal.ajouter_ligne_suivi("");
  journal.ajouter_ligne_suivi(egal);
  journal.ajouter_ligne_suivi("---> POST-traitement  sur " + std::to_string(n) +
                              " lignes horodatées");
  journal.ajouter_ligne_suivi(egal);
  journal.ajouter_ligne_suivi(
      "   un maximum de " + std::to_string(nmax) +
      " données manquantes par lacune, ( NA ou vides ) sont comblées par calcul");
  int comblees = 0;
  const int r0 = kPremiereLigne;
  for (int c = 2; c <= g.c - 1; ++c) {
    journal.ajouter_ligne_suivi("--> " + g.titres[static_cast<std::size_t>(c)]);
    for (int r = r0; r <= n; ++r)
      if (g.nb_lignes_ligne(r) == 0 || g.compte(r, c) == 0) g.cellule(r, c).na = true;
    int debut = 0, fin = 0;
    bool premiere_lacune = true;
    for (int r = r0; r <= n; ++r) {
      if (debut == 0 && g.cellule(r, c).na) debut = r;
      if (debut > 0 && !g.cellule(r, c).na) fin = r;
      if (debut > 0 && fin > 0) {
        const int longueur = fin - debut;
        if (longueur > nmax) {
          journal.ajouter_ligne_suivi("    ---> régression NON effectuée sur " +
                                      std::to_string(longueur) + " données " +
                                      std::to_string(debut - 1) + "-" + std::to_string(fin));
        } else {
          const long double gauche = g.cellule(debut - 1, c).valeur;
          const long double droite = g.cellule(fin, c).valeur;
          const long double pente = (droite - gauche) / (longueur + 1);
          for (int k = debut; k < fin; ++k) {
            Cellule& x = g.cellule(k, c);
            x.valeur = premiere_lacune && debut == r0 ? droite : gauche + (k - debut + 1) * pente;
            x.na = false;
            g.compte(k, c) = 1;
            g.cellule(k, g.c).valeur = 2;
            ++comblees;
          }
          journal.ajouter_ligne_suivi("    régression effectuée sur " + std::to_string(longueur) +
                                      " données " + std::to_string(debut - 1) + "-" +
                                      std::to_string(fin));
        }
        premiere_lacune = false;
        debut = fin = 0;
      }
      if (avancement.arret_demande()) break;
    }
    // A gap that runs to the end takes the last value, whatever its length.
    if (debut > 0) {
      for (int k = debut; k <= n; ++k) {
        Cellule& x = g.cellule(k, c);
        x.valeur = g.cellule(debut - 1, c).valeur;
        x.na = false;
        g.compte(k, c) = 1;
        g.cellule(k, g.c).valeur = 1;
        ++comblees;
      }
    }
    int manquants = 0;
    for (int r = 1; r <= n; ++r) manquants += g.cellule(r, c).na ? 1 : 0;
    g.manquants[static_cast<std::size_t>(c)] = manquants;
  }
  journal.ajouter_ligne_suivi("");
  journal.ajouter_ligne_suivi("  " + std::to_string(comblees) + " interpolations effectuées");
  journal.ajouter_ligne_suivi(egal);
  return comblees;
}

void calculer_differences(GrilleResultats& g, bool derivee, double pas_jours) {
  for (int c = 2; c <= g.c - 1; ++c) {
    long double p = 0;
    for (int r = 1; r <= g.n(); ++r) {
      Cellule& x = g.cellule(r, c);
      if (r <= 2) {
        p = x.valeur;
        x.valeur = 0;
        x.na = false;
        continue;
      }
      const long double q = x.valeur;
      x.valeur = derivee ? (q - p) / pas_jours : q - p;
      p = q;
    }
  }
}

void post_traiter(const Description& d, const Periode& p, GrilleResultats& g, JournalSuivi& journal,
                  Avancement& avancement) {
  if (d.cumul_corriger) corriger_cumuls(g);
  if (d.post_traitement)
    combler_lacunes(g, static_cast<int>(lire_entier(d.nmax_lacune).value_or(3)), journal,
                    avancement);
  if (d.delta_Y || d.derivees) {
    const bool derivee = !d.delta_Y;
    journal.ajouter_ligne_suivi(derivee
                                    ? "  calcul des dérivées (rétro cumul) [y(i) - y(i-1)] / pas"
                                    : "  calcul des delta Y (rétro cumul)  y(i) - y(i-1)");
    journal.ajouter_ligne_suivi("");
    calculer_differences(g, derivee, std::fabs(valeur_pas(p)));
  }
}

}  // namespace tamso
