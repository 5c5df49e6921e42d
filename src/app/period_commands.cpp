#include "app/period_commands.h"

#include <algorithm>
#include <cmath>

#include "app/program_files.h"
#include "app/session.h"
#include "input/dates.h"
#include "input/text.h"
#include "processing/period.h"

namespace tamso {

namespace {

void effets_periode(Session& s) {
  s.periode_modifiee = true;
  s.liste_horodatee.vider();
  rafraichir_nombre_lignes(s);
}

// A date copied into the period also marks the description modified.
void effets_recuperation(Session& s) {
  s.description_modifiee = true;
  effets_periode(s);
}

// The date of a clickable label, nothing when it is not one.
std::optional<double> date_du_texte(Session& s, const std::string& texte) {
  if (!date_recuperable(texte)) return std::nullopt;
  return texte_en_date(texte, nullptr, s.journal);
}

bool recuperer_simple(Session& s, const std::string& texte, const std::string& question,
                      bool debut) {
  const auto v = date_du_texte(s, texte);
  if (!v || !question_oui(s, question + texte)) return false;
  if (debut)
    fixer_debut(s.periode, *v);
  else
    fixer_fin(s.periode, *v);
  effets_recuperation(s);
  return true;
}

bool recuperer_aligne(Session& s, const std::string& texte, bool debut) {
  const auto lue = date_du_texte(s, texte);
  if (!lue) return false;
  const double v = *lue;
  const double pas = valeur_pas(s.periode);
  const double aligne = debut ? arrondir_au_pas_inferieur(v, pas) : arrondir_au_pas_proche(v, pas);
  const std::string question = std::string(debut ? " récupérer la date/heure mini ?\n\n(oui) "
                                                 : " récupérer la date/heure maxi ?\n\n(oui) ") +
                               texte_date_heure_complet(aligne) + "\n\n" + "(non) " + texte +
                               "\n\n";
  double choisi = 0.0;
  switch (s.port().demander(TypeMessage::confirmation, question, Boutons::oui_non_annuler)) {
    case Reponse::oui:
      choisi = aligne;
      break;
    case Reponse::non:
      choisi = v;
      break;
    default:
      return false;
  }
  if (debut)
    fixer_debut(s.periode, choisi);
  else
    fixer_fin(s.periode, choisi);
  effets_recuperation(s);
  return true;
}

}  // namespace

void changer_debut(Session& s, double valeur) {
  fixer_debut(s.periode, valeur);
  effets_periode(s);
}

void changer_fin(Session& s, double valeur) {
  fixer_fin(s.periode, valeur);
  effets_periode(s);
}

void changer_pas(Session& s, double heure) {
  s.periode.pas = std::isfinite(heure) ? heure - std::floor(heure) : 0.0;
  effets_periode(s);
}

void changer_nb_pas(Session& s, int nombre) {
  s.periode.nb_pas = std::clamp(nombre, kNbPasMin, kNbPasMax);
  effets_periode(s);
}

void changer_unite(Session& s, int unite) {
  if (unite < 0 || unite > 3) return;
  s.periode.unite = static_cast<UnitePas>(unite);
  effets_periode(s);
}

void changer_test_date(Session& s, int test) {
  if (test != 0 && test != 1) return;
  s.periode.test_date = static_cast<TestDate>(test);
  effets_periode(s);
}

bool mettre_heure_debut_a_zero(Session& s) {
  const double v = valeur_debut(s.periode);
  if (!question_oui(s, "=== heure début ===\n\n  " + heure_en_texte(v) + "\n\n" + " mettre à\n\n" +
                           "  00:00:00   ?"))
    return false;
  changer_debut(s, std::floor(v));
  return true;
}

bool mettre_heure_fin_a_zero(Session& s) {
  const double v = valeur_fin(s.periode);
  if (!question_oui(s, "=== heure de fin ===\n\n  " + heure_en_texte(v) + "\n\n" + " mettre à\n\n" +
                           "  00:00:00   ?"))
    return false;
  changer_fin(s, std::floor(v));
  return true;
}

bool mettre_pas_a_zero(Session& s) {
  if (!question_oui(s, "=== heure du pas ===\n\n  " + heure_en_texte(s.periode.pas) + "\n\n" +
                           " mettre à\n\n" + "  00:00:00 ?"))
    return false;
  changer_pas(s, 0.0);
  return true;
}

bool date_recuperable(std::string_view texte) {
  return compter_numeriques(texte) >= 8;
}

namespace {

// The description's step is a time of day ("00:15:00"): taken when it reads
// as one.
std::optional<double> pas_dsc(const Description& d) {
  const auto v = lire_date_heure(trim(d.pas_dsc));
  if (!v || *v >= 1.0) return std::nullopt;
  return v;
}

}  // namespace

bool recuperer_pas_dsc(Session& s) {
  const std::string& texte = s.description.pas_dsc;
  const auto v = pas_dsc(s.description);
  if (!v || !question_oui(s, " récupérer le pas ?\n" + texte)) return false;
  s.periode.pas = *v;
  effets_recuperation(s);
  return true;
}

bool recuperer_max_dsc(Session& s) {
  return recuperer_simple(s, s.description.max_dsc, " récupérer la date/heure max ?\n", false);
}

bool recuperer_min_dsc(Session& s) {
  return recuperer_simple(s, s.description.min_dsc, " récupérer la date/heure min ?\n", true);
}

bool prendre_periode_dsc(Session& s) {
  const Description& d = s.description;
  const auto debut = date_du_texte(s, d.min_dsc);
  const auto fin = date_du_texte(s, d.max_dsc);
  const auto pas = pas_dsc(d);
  if (!debut || !fin || !pas) {
    s.port().informer(TypeMessage::erreur, " période de la description illisible :\n\n  " +
                                               d.min_dsc + "\n  " + d.max_dsc + "\n  " + d.pas_dsc);
    return false;
  }
  fixer_debut(s.periode, *debut);
  fixer_fin(s.periode, *fin);
  s.periode.pas = *pas;
  s.periode.unite = UnitePas::heure;
  effets_periode(s);
  return true;
}

bool recuperer_date_heure_mini(Session& s, const std::string& texte) {
  return recuperer_aligne(s, texte, true);
}

bool recuperer_date_heure_maxi(Session& s, const std::string& texte) {
  return recuperer_aligne(s, texte, false);
}

bool recuperer_date_min_table(Session& s, const std::string& texte) {
  return recuperer_simple(s, texte, " récupérer la date min ?\n", true);
}

bool recuperer_date_max_table(Session& s, const std::string& texte) {
  return recuperer_simple(s, texte, " récupérer la date max ?\n", false);
}

void rafraichir_nombre_lignes(Session& s) {
  Periode& p = s.periode;
  const double debut = valeur_debut(p), fin = valeur_fin(p), pas = valeur_pas(p);
  if (pas != 0 && secondes_depuis_origine(fin) != secondes_depuis_origine(debut)) {
    const int n = nombre_lignes_attendu(debut, fin, pas);
    p.resume_lignes = format_milliers(n) + texte_nombre_jours(n, pas);
    p.resume_negatif = n < 0;
    s.periode_modifiee = true;
  } else {
    p.resume_lignes = "---";
    p.resume_negatif = false;
  }
}

bool ecrire_periode(Session& s) {
  const Periode& p = s.periode;
  const std::map<int, std::string> lignes = {
      {1, p.debut},
      {2, p.fin},
      {3, heure_en_texte(p.pas)},
      {4, p.resume_lignes},
      {5, std::to_string(p.nb_pas)},
      {6, std::to_string(static_cast<int>(p.test_date))},
      {7, std::to_string(static_cast<int>(p.unite))},
  };
  const std::string chemin = s.chemin_periode();
  if (!signaler_si_echec(s, ecrire_lignes_numerotees(chemin, lignes), chemin)) return false;
  s.periode_modifiee = false;
  return true;
}

bool lire_periode(Session& s) {
  const auto lignes = lire_lignes_texte(s.chemin_periode()).value_or(std::vector<std::string>{});
  const auto ligne = [&lignes](std::size_t k) {
    return k <= lignes.size() ? lignes[k - 1] : std::string{};
  };
  Periode& p = s.periode;
  // A date that cannot be converted is reported in the tracking log by the
  // conversion and leaves the period as it was.
  const auto lire_date = [&s](const std::string& l) {
    return texte_en_date(l, nullptr, s.journal);
  };
  if (const std::string l = ligne(1); !l.empty())
    if (const auto v = lire_date(l)) fixer_debut(p, *v);
  if (const std::string l = ligne(2); !l.empty())
    if (const auto v = lire_date(l)) fixer_fin(p, *v);
  if (const std::string l = ligne(3); !l.empty()) {
    std::optional<double> v = lire_date_heure(trim(l));
    if (!v) v = lire_date(l);
    if (v) p.pas = *v - std::floor(*v);
  }
  if (const std::string l = ligne(4); !l.empty()) {
    p.resume_lignes = l;
    p.resume_negatif = commence_par(trim(l), "-") && l != "---";
  }
  // Lines 5 to 7: the step count (kept within its box's range), the date
  // test and the step unit (an option's rank; any other number is ignored).
  for (std::size_t k = 5; k <= 7; ++k) {
    const std::string l = ligne(k);
    if (l.empty()) continue;
    const auto n = lire_entier(l);
    if (!n) {
      message_entier(s, l);
      return false;
    }
    if (k == 5)
      p.nb_pas = static_cast<int>(std::clamp<long long>(*n, kNbPasMin, kNbPasMax));
    else if (k == 6 && (*n == 0 || *n == 1))
      p.test_date = static_cast<TestDate>(*n);
    else if (k == 7 && *n >= 0 && *n <= 3)
      p.unite = static_cast<UnitePas>(*n);
  }
  return true;
}

}  // namespace tamso
