#include "results/tracking_file.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/tracking_log.h"
#include "description/description.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/file_table.h"
#include "input/files.h"
#include "input/listing_state.h"
#include "input/text.h"
#include "processing/engine.h"
#include "processing/period.h"
#include "processing/result_grid.h"
#include "results/results_state.h"
#include "results/results_writer.h"
#include "results/run_view.h"

namespace tamso {

namespace {

constexpr const char* kDeltaY = "  calcul des delta Y (rétro cumul)  y(i) - y(i-1) ";
constexpr const char* kDerivees = "  calcul des dérivées (rétro cumul) [y(i) - y(i-1)] / pas";

std::string legende_test(const Periode& p) {
  return p.test_date == TestDate::inf_strict ? "(inf strict)" : "(inf ou =)";
}

// The step as the settings show it: the step time, or the count and its unit.
std::string pas_reglage(const Periode& p) {
  switch (p.unite) {
    case UnitePas::jour:
      return std::to_string(p.nb_pas) + " jour";
    case UnitePas::mois:
      return std::to_string(p.nb_pas) + " mois";
    case UnitePas::annee:
      return std::to_string(p.nb_pas) + " année";
    case UnitePas::heure:
      break;
  }
  return texte_pas(p);
}

int nb_resultats(const VueTraitement& s) {
  return std::max(s.grille.n() - 1, 0);
}

}  // namespace

std::vector<std::string> entete_fichier_suivi(const VueTraitement& s) {
  const Description& d = s.description;
  const Periode& p = s.periode;
  std::vector<std::string> l = {
      " SUIVI DU TRAITEMENT : TABLEAU DES FICHIERS",
      "",
      "  Description de données : " + s.nom_description,
      " extention " + d.masque,
      " séparateur IN = (" + legende_separateur(indice(d.separateur_colonne)) + ")",
      " méthode de calcul = (" + legende_methode(d.methode) + ")",
  };
  if (d.delta_Y || d.derivees) l.push_back(d.delta_Y ? kDeltaY : kDerivees);
  l.push_back(s.resultats.nom_travail);
  l.push_back(" test des dates = (" + legende_test(p) + ")");
  l.push_back(" pas = (" + pas_reglage(p) + ")");
  l.push_back(" période du " + p.debut + " au " + p.fin);
  l.push_back(" nombre de résultats = " + std::to_string(nb_resultats(s)));
  l.push_back("");
  const TableFichiers& t = s.table;
  for (int r = 0; r < t.nb_lignes(); ++r) {
    std::string ligne;
    for (int c = 0; c < t.nb_colonnes(); ++c) {
      ligne += " \t";
      ligne += nom_lisible(t.cellule(c, r));
    }
    l.push_back(std::move(ligne));
  }
  return l;
}

void resume_traitement(const VueTraitement& s, JournalSuivi& journal) {
  const Description& d = s.description;
  const EtatTraitement& et = s.etat_traitement;
  std::string options;
  if (!trim(et.station_reference).empty()) options += " station( " + et.station_reference + " )";
  options += "  " + legende_test(s.periode);
  if (d.post_traitement)
    options += " avec POSTtraitement des " + std::to_string(s.grille.n()) + " données extraites";
  if (d.cumul_corriger) options += " + avec cumul croissant forcé";
  if (d.correction_si_t1supt2) options += "  correction + 1 j SI t1>t2 ";
  if (d.correction_si_t1egalt2) options += "  correction +1s SI t1=t2  ";
  journal.ajouter_ligne_suivi("");
  for (const std::string& l : reserves_traitement(s)) journal.ajouter_ligne_suivi(l);
  journal.ajouter_ligne_suivi(titre_fin_traitement(s) +
                              "  (méthode : " + legende_methode(d.methode) + ")" + options);

  const double derive = derive_constatee(d);
  if (d.derive_active && derive != 0.0) {
    journal.ajouter_ligne_suivi("  La dérive des dates de mesure n'est pas nulle");
    journal.ajouter_ligne_suivi(
        "   " + heure_en_texte(d.derive_erronee) + " => " + heure_en_texte(d.derive_reelle) +
        "  dérive = " + (derive < 0 ? "-" : "+") + heure_en_texte(std::fabs(derive)));
  }
  if (d.decalage_actif) {
    journal.ajouter_ligne_suivi(" Le décalage des dates de mesure n'est pas nul");
    journal.ajouter_ligne_suivi(std::string("   ") + (d.decalage_negatif ? "-" : "+") + " " +
                                std::to_string(et.parametres.decalage_jours) + " j " +
                                heure_en_texte(d.decalage));
  }
  journal.ajouter_ligne_suivi("     " + format_milliers(et.lignes_extraites) + " lignes extraites");
  journal.ajouter_ligne_suivi("     " + format_milliers(nb_resultats(s)) + " lignes     x     " +
                              std::to_string(s.grille.c) + " colonnes attendues");
  if (const int inversees = s.lecteur_dates.nb_dates_inversees; inversees > 0) {
    journal.ajouter_ligne_suivi(" ----------------------->  nombre de dates inversées : " +
                                std::to_string(inversees));
    journal.ajouter_ligne_suivi("");
  }
}

int lignes_resultats_ecrites(const VueTraitement& s) {
  // The data lines of the results file: fewer than N - 1 when a stop
  // request ended the formatting early.
  const int ecrites = static_cast<int>(s.resultats.lignes.size()) - 1;
  return std::clamp(ecrites, 0, nb_resultats(s));
}

std::vector<int> vides_par_colonne(const VueTraitement& s) {
  const GrilleResultats& g = s.grille;
  const int r_lignes = lignes_resultats_ecrites(s);
  // Counted row by row, as the grid lies in memory.
  std::vector<int> vides(static_cast<std::size_t>(std::max(g.c - 2, 0)), 0);
  for (int r = 2; r <= r_lignes + 1; ++r) {
    const bool ligne_vide = g.nb_lignes_ligne(r) == 0;
    for (int c = 2; c <= g.c - 1; ++c)
      vides[static_cast<std::size_t>(c - 2)] += ligne_vide || g.cellule(r, c).na;
  }
  return vides;
}

void statistiques_resultats(const VueTraitement& s, JournalSuivi& journal) {
  const Description& d = s.description;
  const GrilleResultats& g = s.grille;
  const int r_lignes = lignes_resultats_ecrites(s);
  const std::vector<int> vides_colonnes = vides_par_colonne(s);
  const std::string regle = "    " + std::string(140, '-');
  journal.ajouter_ligne_suivi("");
  journal.ajouter_ligne_suivi(" ========== nombre de résultats - nombre de VIDES(= na)");
  long long utilisables = 0, vides_total = 0;
  for (int c = 2; c <= g.c - 1; ++c) {
    const int vides = vides_colonnes[static_cast<std::size_t>(c - 2)];
    utilisables += r_lignes - vides;
    vides_total += vides;
    journal.ajouter_ligne_suivi(std::to_string(r_lignes) + " - " + std::to_string(vides) + " = " +
                                std::to_string(r_lignes - vides) + "  <- " +
                                g.titres[static_cast<std::size_t>(c)]);
  }
  journal.ajouter_ligne_suivi(regle);
  std::string bornes;
  if (!d.min_na.empty()) bornes += "  (NA si sup ou = à Min=" + d.min_na + ")  ";
  if (!d.max_na.empty()) bornes += "  (NA si inf ou = à Max=" + d.max_na + ")  ";
  journal.ajouter_ligne_suivi(
      "      NOMBRE de VALEURS utilisables = " + format_milliers(utilisables) + bornes +
      "   issues de " + std::to_string(s.etat_traitement.lignes_extraites) + " lignes de données");
  if (vides_total > 0)
    journal.ajouter_ligne_suivi("      nombre de NA ou vides dans l\"ensemble du tableau = " +
                                format_milliers(vides_total));
  else
    journal.ajouter_ligne_suivi(
        "      aucune valeur NA ou vides détectée dans l\"ensemble du tableau");
  journal.ajouter_ligne_suivi(regle);
}

}  // namespace tamso
