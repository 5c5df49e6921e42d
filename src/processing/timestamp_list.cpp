#include "processing/timestamp_list.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>

#include <climits>

#include "base/calendar.h"
#include "base/interaction.h"
#include "base/progress.h"
#include "base/tracking_log.h"
#include "input/dates.h"
#include "input/text.h"
#include "processing/memory_budget.h"
#include "processing/period.h"

namespace tamso {

namespace {

constexpr long long kSecondesJour = 86400;
constexpr const char* kProgression = "2- liste horodatée ... ";
constexpr int kLignesAvantQuestion = 32000;
// Progress and the stop request are looked at about this often.
constexpr auto kTranche = std::chrono::milliseconds(30);

bool est_calendaire(UnitePas unite) {
  return unite == UnitePas::jour || unite == UnitePas::mois || unite == UnitePas::annee;
}

long long heure_du_jour(long long secondes) {
  return secondes - division_plancher(secondes, kSecondesJour) * kSecondesJour;
}

long long minuit(long long secondes) {
  return secondes - heure_du_jour(secondes);
}

// Texts of the list items, the date part computed once per day.
class TexteInstant {
 public:
  std::string operator()(long long secondes) {
    const long long jour = division_plancher(secondes, kSecondesJour);
    if (jour != jour_ || date_.empty()) {
      jour_ = jour;
      date_ = date_en_texte(static_cast<double>(jour));
    }
    const long long h = secondes - jour * kSecondesJour;
    char heure[9] = {
        static_cast<char>('0' + h / 36000),   static_cast<char>('0' + h / 3600 % 10), ':',
        static_cast<char>('0' + h / 600 % 6), static_cast<char>('0' + h / 60 % 10),   ':',
        static_cast<char>('0' + h % 60 / 10), static_cast<char>('0' + h % 10),        '\0'};
    std::string t;
    t.reserve(date_.size() + 9);
    t += date_;
    t += ' ';
    t += heure;
    return t;
  }

 private:
  long long jour_ = 0;
  std::string date_;
};

Reponse question_corriger(ContexteListe& s, const std::string& texte) {
  return s.port.demander_poursuite(TypeMessage::avertissement, texte, Boutons::oui_non_annuler,
                                   Reponse::non);
}

// Both ends at 00:00:00 of their days.
void heures_a_zero(ContexteListe& s) {
  Periode& p = s.periode;
  fixer_debut(p, valeur_depuis_secondes(minuit(secondes_depuis_origine(valeur_debut(p)))));
  fixer_fin(p, valeur_depuis_secondes(minuit(secondes_depuis_origine(valeur_fin(p)))));
  s.periode_modifiee = true;
}

// Yes puts both ends at 00:00:00, No goes on as they are, Cancel stops.
bool corriger_heures(ContexteListe& s, const std::string& texte) {
  switch (question_corriger(s, texte)) {
    case Reponse::oui:
      heures_a_zero(s);
      return true;
    case Reponse::non:
      return true;
    default:
      return false;
  }
}

bool question_jour(ContexteListe& s) {
  const Periode& p = s.periode;
  const double d = valeur_debut(p), f = valeur_fin(p);
  const bool debut_decale = heure_du_jour(secondes_depuis_origine(d)) != 0;
  const bool fin_decalee = heure_du_jour(secondes_depuis_origine(f)) != 0;
  if (!debut_decale && !fin_decalee) return true;
  std::string detail;
  if (debut_decale) detail = heure_en_texte(d) + " -> 00:00:00";
  if (fin_decalee)
    detail += std::string(debut_decale ? "  et  \n" : "    ") + heure_en_texte(f) + " -> 00:00:00";
  const std::string texte =
      "--- PAR JOUR ------------\n\n" + texte_date_heure_complet(d) + "  " + heure_en_texte(d) +
      "\n" + texte_date_heure_complet(f) + "  " + heure_en_texte(f) + "\n\n" +
      " les heures des dates de début ou de fin ne sont pas à zéro =>  00:00:00    \n\n" + detail +
      "\n\n" + "     corriger     (Oui)\n\n" + "     continuer    (Non)\n\n" +
      "     ou annuler   (Annuler)";
  return corriger_heures(s, texte);
}

bool questions_mois(ContexteListe& s) {
  Periode& p = s.periode;
  const ChampsDate c1 = decoder_date(valeur_debut(p)), c2 = decoder_date(valeur_fin(p));
  if (c1.jour != 1 || c2.jour != 1) {
    std::string detail;
    if (c1.jour != 1) detail = p.debut.substr(0, 10);
    if (c2.jour != 1) detail += std::string(c1.jour != 1 ? "  et  " : "    ") + p.fin.substr(0, 10);
    const std::string texte =
        "--- PAR MOIS ------------\n\n   les dates de début et de fin ne sont pas du type  "
        "01/mm/aaaa\n\n" +
        detail + "\n\n" + "     corriger     (Oui)\n\n" + "     continuer    (Non)\n\n" +
        "     ou annuler   (Annuler)";
    switch (question_corriger(s, texte)) {
      case Reponse::oui: {
        int a2 = c2.annee, m2 = c2.mois;
        // An end in the start's month moves one month later.
        if (m2 == c1.mois && ++m2 == 13) {
          m2 = 1;
          ++a2;
        }
        const auto d = encoder_date(c1.annee, c1.mois, 1);
        const auto f = encoder_date(a2, m2, 1);
        if (d && f) {
          fixer_debut(p, *d);
          fixer_fin(p, *f);
          s.periode_modifiee = true;
        }
        break;
      }
      case Reponse::non:
        break;
      default:
        return false;
    }
  }
  const double d = valeur_debut(p), f = valeur_fin(p);
  if (heure_du_jour(secondes_depuis_origine(d)) == 0 &&
      heure_du_jour(secondes_depuis_origine(f)) == 0)
    return true;
  const std::string texte =
      "--- PAR MOIS ------------\n\n" + texte_date_heure_complet(d) + "\n" +
      texte_date_heure_complet(f) + "\n\n" +
      " les heures des dates de début et de fin ne sont pas à zéro 00:00:00\n\n" +
      "   corriger     (Oui)\n\n" + "   continuer    (Non)\n\n" + "   ou annuler   (Annuler)";
  return corriger_heures(s, texte);
}

bool question_annee(ContexteListe& s) {
  Periode& p = s.periode;
  const ChampsDate c1 = decoder_date(valeur_debut(p)), c2 = decoder_date(valeur_fin(p));
  if (c1.mois == 1 && c1.jour == 1 && c2.mois == 1 && c2.jour == 1) return true;
  const std::string texte =
      "--- PAR ANNEE ------------\n\n   les dates de début et de fin ne sont pas du type   "
      "01/01/aaaa\n\n   " +
      p.debut + "\n" + "   " + p.fin + "\n\n" + "   corriger     (Oui)\n\n" +
      "   continuer    (Non)\n\n" + "   ou annuler   (Annuler)";
  switch (question_corriger(s, texte)) {
    case Reponse::oui: {
      const int a2 = c2.annee == c1.annee ? c2.annee + 1 : c2.annee;
      const auto d = encoder_date(c1.annee, 1, 1);
      const auto f = encoder_date(a2, 1, 1);
      if (d && f) {
        fixer_debut(p, *d);
        fixer_fin(p, *f);
        s.periode_modifiee = true;
      }
      return true;
    }
    case Reponse::non:
      return true;
    default:
      return false;
  }
}

// The questions of the calendar units; false when the user cancels.
bool questions_calendaires(ContexteListe& s) {
  Periode& p = s.periode;
  if (p.test_date == TestDate::inf_ou_egal &&
      s.port.demander(TypeMessage::avertissement,
                      " le test sur les dates devrait être (inf strict)\n\n"
                      "   [date [mesure]  <    [horodatées] (inf strict)]\n\n"
                      "   corriger cette option (Oui / Non)",
                      Boutons::oui_non) == Reponse::oui) {
    p.test_date = TestDate::inf_strict;
    s.periode_modifiee = true;
  }
  switch (p.unite) {
    case UnitePas::jour:
      return question_jour(s);
    case UnitePas::mois:
      return questions_mois(s);
    case UnitePas::annee:
      return question_annee(s);
    default:
      return true;
  }
}

// Instant of item k (from 1) in seconds, or nothing past the calendar's range.
// Time units step from the working start by k − 1 steps; months and years
// step the calendar from the period start, the day of month kept (or the
// month's last day when the month is shorter) and the start's time of day.
class Pas {
 public:
  Pas(const Periode& p, long long debut_s, long long pas_s)
      : unite_(p.unite),
        nb_(std::llabs(static_cast<long long>(p.nb_pas))),
        debut_s_(debut_s),
        pas_s_(pas_s) {
    const ChampsDate c = decoder_date(valeur_depuis_secondes(debut_s));
    annee_ = c.annee;
    mois_ = c.mois;
    jour_ = c.jour;
    heure_s_ = heure_du_jour(debut_s);
  }

  std::optional<long long> instant(long long k) const {
    if (unite_ != UnitePas::mois && unite_ != UnitePas::annee) return debut_s_ + (k - 2) * pas_s_;
    const long long mois = (k - 2) * nb_ * (unite_ == UnitePas::annee ? 12 : 1);
    const DateCalendrier d = decaler_mois(annee_, mois_, jour_, mois);
    const auto v = encoder_date(d.annee, d.mois, d.jour);
    if (!v) return std::nullopt;
    return secondes_depuis_origine(*v) + heure_s_;
  }

 private:
  UnitePas unite_;
  long long nb_;
  long long debut_s_, pas_s_;
  int annee_ = 0, mois_ = 0, jour_ = 0;
  long long heure_s_ = 0;
};

std::string pourcentage(long long i, int attendu) {
  const long long p = attendu > 0 ? std::min<long long>(i * 100 / attendu, 100) : 100;
  return std::to_string(p) + "%   ";
}

}  // namespace

namespace {

// The number of timestamps a list from one step before the period start to
// its end would hold, after the checks and questions that may stop it
// (nothing then, and `refus` says why).
std::optional<int> lignes_a_generer(ContexteListe& s, IssueListe& refus) {
  const Periode& p = s.periode;
  refus = IssueListe::refusee;
  if (secondes_pas(p) == 0) {
    s.port.informer(TypeMessage::erreur,
                    " le pas est à zéro\n\n   corriger cette valeur et relancer ...");
    return std::nullopt;
  }
  refus = IssueListe::annulee;
  if (est_calendaire(p.unite) && !questions_calendaires(s)) return std::nullopt;
  const long long pas_s = secondes_pas(p);
  const long long fin_s = secondes_depuis_origine(valeur_fin(p));
  const long long depart_s = secondes_depuis_origine(valeur_debut(p)) - pas_s;
  const int attendu = nombre_lignes_attendu(valeur_depuis_secondes(depart_s),
                                            valeur_depuis_secondes(fin_s), valeur_pas(p));
  if (attendu > kLignesAvantQuestion &&
      s.port.demander_poursuite(TypeMessage::information,
                                "\n\n   Le nombre de lignes à générer est supérieur à 32000       "
                                ".\n\n   continuer ? ",
                                Boutons::oui_non, Reponse::oui) != Reponse::oui)
    return std::nullopt;
  const std::uint64_t octets = octets_liste(attendu) + octets_grille(attendu, s.colonnes_valeurs);
  const AccordMemoire accord =
      accord_memoire(s.port, octets, attendu - 1, s.colonnes_valeurs, s.memoire_max);
  if (accord == AccordMemoire::refusee) return std::nullopt;
  s.liste.memoire_forcee = accord == AccordMemoire::forcee;
  if (s.liste.deja_generee) {
    const long long jours = arrondi_demi_pair(fin_s - depart_s, kSecondesJour);
    s.journal.ajouter_ligne_suivi("");
    s.journal.ajouter_ligne_suivi("de " + p.debut);
    s.journal.ajouter_ligne_suivi("à  " + p.fin + "  " + std::to_string(jours) + " jour" +
                                  (jours > 1 ? "s" : ""));
    s.journal.ajouter_ligne_suivi("nb dates = " + std::to_string(attendu));
    s.journal.ajouter_ligne_suivi("pas = " + texte_pas(p));
  }
  s.liste.deja_generee = true;
  return attendu;
}

// The timestamps one after the other up to the period end, with progress
// every few tens of milliseconds; true when a stop request ended them early.
bool remplir_liste(ContexteListe& s, int attendu) {
  using Chrono = std::chrono::steady_clock;
  const Periode& p = s.periode;
  ListeHorodatee& liste = s.liste;
  const long long pas_s = secondes_pas(p);
  const long long fin_s = secondes_depuis_origine(valeur_fin(p));
  const Pas suivant(p, secondes_depuis_origine(valeur_debut(p)), pas_s);
  TexteInstant texte;
  auto dernier_point = Chrono::now();
  int i = 0;
  while (i < INT_MAX) {
    const auto cur = suivant.instant(i + 1);
    if (!cur || *cur > fin_s) break;
    ++i;
    liste.elements.push_back(texte(*cur));
    liste.valeurs.push_back(valeur_depuis_secondes(*cur));
    if (i != 1 && i % 1024 != 0) continue;
    const auto a_present = Chrono::now();
    if (i != 1 && a_present - dernier_point < kTranche) continue;
    dernier_point = a_present;
    if (i != 1) {
      s.avancement.progression(kProgression + pourcentage(i, attendu), 2);
      if (p.unite == UnitePas::jour)
        s.avancement.progression("2- liste ... " + pourcentage(i, attendu), 2);
    }
    if (s.avancement.arret_demande()) {
      liste.n = i;
      return true;
    }
  }
  liste.n = i;
  return false;
}

}  // namespace

IssueListe generer_liste_horodatee(ContexteListe& s) {
  Periode& p = s.periode;
  ListeHorodatee& liste = s.liste;
  s.avancement.demarrer_phase(2);
  s.avancement.progression(std::string(kProgression) + " 0%  ", 2);
  s.journal.ajouter_ligne_suivi("");
  s.journal.ajouter_ligne_suivi("       --> liste horodatée");
  liste.vider();
  IssueListe refus = IssueListe::annulee;
  const std::optional<int> attendu = lignes_a_generer(s, refus);
  if (!attendu) return refus;

  // The whole list at once: its memory was weighed above.
  const std::size_t reserve = static_cast<std::size_t>(std::max(*attendu, 0)) + 2;
  liste.elements.reserve(reserve, reserve * 19 + 32);
  liste.valeurs.reserve(reserve);
  liste.elements.emplace_back(kIntitulesColonnes);
  liste.valeurs.push_back(0.0);
  const bool arretee = remplir_liste(s, *attendu);
  const int i = liste.n;
  s.avancement.progression(std::string(kProgression) + "100%   ", 2);
  p.resume_lignes = format_milliers(i) + texte_nombre_jours(i, valeur_pas(p));
  p.resume_negatif = false;
  liste.nr_final = format_milliers(std::max(i - 1, 0));
  return arretee ? IssueListe::arretee : IssueListe::creee;
}

}  // namespace tamso
