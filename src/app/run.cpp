#include "app/run.h"

#include <cmath>
#include <cstdio>

#include "app/description_files.h"
#include "app/file_table_commands.h"
#include "app/listing.h"
#include "app/period_commands.h"
#include "app/save.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "app/timestamp_commands.h"
#include "app/workbook_source.h"
#include "base/tones.h"
#include "input/dates.h"
#include "input/text.h"
#include "processing/engine.h"
#include "processing/period.h"
#include "results/results_writer.h"

namespace tamso {

namespace {

bool continuer(Session& s, const std::string& question) {
  return s.port().demander_poursuite(TypeMessage::avertissement, question, Boutons::oui_non,
                                     Reponse::oui) == Reponse::oui;
}

}  // namespace

double decalage_total(const Session& s) {
  return decalage_total(s.description, s.decalage_jours);
}

IssueMoteur executer_moteur(Session& s, const ParametresMoteur& p) {
  if (s.liste_horodatee.n > 0) {
    Description& d = s.description;
    d.min_dsc = s.periode.debut;
    d.max_dsc = s.periode.fin;
    d.pas_dsc = heure_en_texte(s.periode.pas);
    if (s.periode_modifiee) ecrire_periode(s);
    if (s.source == SourceDonnees::excel && !actualiser_feuille_excel(s)) return IssueMoteur::echec;
    resume_tableau(s);
  }
  ParametresMoteur parametres = p;
  if (s.description.derive_active) parametres.derive = derive_constatee(s.description);
  ContexteMoteur c{s.description,
                   s.periode,
                   s.liste_horodatee,
                   s.etat_listage,
                   s.intitule_origine,
                   s.source,
                   s.repertoire_temporaire(),
                   s.lecture,
                   s.separateur_decimal(),
                   s.table,
                   s.grille,
                   s.etat_traitement,
                   s.fichier_charge,
                   s.apercu,
                   s.lecteur_dates,
                   s.journal,
                   s.etiquettes,
                   s.port(),
                   s};
  return executer_moteur(c, parametres);
}

IssueTraitement traiter_run(Session& s) {
  Description& d = s.description;
  Interaction& port = s.port();
  if (s.table.nb_fichiers() == 0) {
    port.informer(TypeMessage::information, " Il faut d'abord Lister des fichiers de données...");
    return IssueTraitement::refuse;
  }
  if (s.liste_horodatee.n > 32000 &&
      !continuer(s,
                 "\n\nLe nombre de lignes à générer est supérieur à 32000     .\n\n"
                 "   continuer ? "))
    return IssueTraitement::refuse;
  const double decalage = decalage_total(s);
  const std::string signe_decalage = d.decalage_negatif ? "-" : "+";
  if (d.decalage_actif && decalage != 0.0 &&
      !continuer(s, "Le décalage des dates de mesure n'est pas nul\n\n   " + signe_decalage + " " +
                        std::to_string(s.decalage_jours) + " j " + heure_en_texte(d.decalage) +
                        "\n\n" + "   continuer ? "))
    return IssueTraitement::refuse;
  const double derive = derive_constatee(s.description);
  if (d.derive_active && derive != 0.0 &&
      !continuer(s, "La dérive des dates de mesure n'est pas nulle\n\n   " +
                        heure_en_texte(d.derive_erronee) + " => " +
                        heure_en_texte(d.derive_reelle) + " dérive = " + (derive < 0 ? "-" : "+") +
                        heure_en_texte(std::fabs(derive)) + "\n\n" + "   continuer ? "))
    return IssueTraitement::refuse;
  if (d.cumul_corriger && d.methode != Methode::maximum &&
      port.demander(TypeMessage::avertissement,
                    " Il faudrait choisir l'option <max des n  mesures OK > \n pour bien traiter "
                    "une valeur croissante (cumuls)\n\n   annuler pour modifier ? ",
                    Boutons::oui_non) == Reponse::oui)
    return IssueTraitement::refuse;

  s.resultats.en_attente = true;
  // The date or time column listed among the columns to extract is taken
  // out, as leaving the list's box does.
  if (d.col_cochee) valider_colonnes_a_extraire(s, d.col_cochee_liste);
  const int marques = static_cast<int>(s.fichiers_coches.size());
  const int nb = marques > 0 ? marques : s.table.nb_fichiers();
  std::string texte = nb == 1 ? "du seul fichier" : "des " + std::to_string(nb) + " fichiers";
  if (marques > 0) texte += marques > 1 ? " cochés" : " coché";
  const std::string egal(50, '=');
  s.ajouter_ligne_suivi("");
  s.ajouter_ligne_suivi(egal);
  s.ajouter_ligne_suivi("       --> TRAITEMENT " + texte);
  s.ajouter_ligne_suivi(egal);

  s.resultats.debut_run = maintenant();
  if (s.etat_listage.nb_colonnes_valeurs <= 0 && !lister_fichiers_donnees(s, false))
    return IssueTraitement::echec;
  if (s.liste_horodatee.vide()) {
    const IssueListe l = generer_liste_horodatee(s);
    if (l != IssueListe::creee && l != IssueListe::arretee) return IssueTraitement::echec;
  }

  ParametresMoteur p;
  p.decalage = decalage;
  p.decalage_jours = s.decalage_jours;
  switch (executer_moteur(s, p)) {
    case IssueMoteur::termine:
      break;
    case IssueMoteur::abandonne:
      return IssueTraitement::abandonne;
    case IssueMoteur::sans_liste:
    case IssueMoteur::echec:
      return IssueTraitement::echec;
  }
  s.progression("3- patienter ... mise en forme   ", 3);
  s.resultats.formatage_complet = formater_resultats(s);
  if (signal_de_fin(s.resultats, maintenant())) jouer_signal(s);
  const bool ecrit = enregistrer_resultats(s);
  if (ecrit) s.resultats.en_attente = false;
  s.progression(" --- ", 0);
  s.etiquette("Label10") = "reste 00:00:00    0 Mo";
  return ecrit ? IssueTraitement::enregistre : IssueTraitement::echec_ecriture;
}

void demander_arret(Session& s, bool traitement_en_cours) {
  if (!traitement_en_cours) return;
  if (s.port().demander(TypeMessage::confirmation, "Stopper le traitement  ?\n",
                        Boutons::oui_non) == Reponse::oui)
    s.arret = true;
}

void sauver_resultats(Session& s) {
  if (s.table.nb_fichiers() == 0) {
    s.port().informer(TypeMessage::information, " pas de données à enregistrer...");
    return;
  }
  if (enregistrer_resultats(s))
    s.port().informer(TypeMessage::information,
                      " Données extraites enregistrées dans \n" + s.resultats.chemin_resultats);
}

// ---------------------------------------------------------------- end-of-run signal

bool signal_de_fin(const EtatResultats& r, double maintenant) {
  return !r.arret_pc && maintenant - r.debut_run > 1.0 / 1440;
}

void jouer_signal(Session& s) {
  s.port().jouer_tonalites(tonalites_signal());
}

// ---------------------------------------------------------------- shutdown countdown

std::string texte_compte_a_rebours(double minutes_restantes, char separateur_decimal) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%8.2f mn", minutes_restantes);
  std::string t = buf;
  remplacer_caractere('.', separateur_decimal, t);
  return t;
}

}  // namespace tamso
