#include "app/timestamp_commands.h"

#include <algorithm>

#include "app/session.h"
#include "input/dates.h"
#include "input/text.h"
#include "processing/period.h"

namespace tamso {

IssueListe generer_liste_horodatee(Session& s) {
  ContexteListe c{s.periode, s.periode_modifiee, s.liste_horodatee, s.port(), s.journal, s};
  c.colonnes_valeurs = std::max(1, s.etat_listage.nb_colonnes_valeurs);
  c.memoire_max = s.lecture.memoire_max;
  return generer_liste_horodatee(c);
}

IssueListe creer_liste_horodatee(Session& s) {
  Periode& p = s.periode;
  const double debut = valeur_debut(p), fin = valeur_fin(p), pas = valeur_pas(p);
  if (secondes_pas(p) == 0) {
    s.port().informer(TypeMessage::erreur, " le pas est à zéro\n\n   <" + heure_en_texte(pas) +
                                               ">  \n\n" +
                                               "   corriger cette valeur et relancer ...");
    return IssueListe::refusee;
  }
  const int attendu = nombre_lignes_attendu(debut, fin, pas);
  if (attendu <= 0) {
    s.port().informer(TypeMessage::erreur,
                      " la date de fin est antérieure à la date de début\n\n  début " + p.debut +
                          "  \n\n" + "  fin   " + p.fin + "  \n\n" +
                          "   corriger cette valeur ...");
    return IssueListe::refusee;
  }
  // The step in words: a day, month or year step is not a time of day.
  const std::string question = " Créer une nouvelle liste de dates régulières ? \n\n\n du " +
                               texte_date_heure_complet(debut) + "\n\n" + " au " +
                               texte_date_heure_complet(fin) + "\n\n" + " au pas de " +
                               texte_pas(p) + "\n\n" + " => " + std::to_string(attendu) + " dates" +
                               texte_nombre_jours(attendu, pas) + "\n\n";
  if (s.port().demander(TypeMessage::confirmation, question, Boutons::oui_non_annuler) !=
      Reponse::oui)
    return IssueListe::annulee;
  // A new stage: an earlier stop request no longer counts.
  s.effacer_arret();
  p.resume_lignes = format_milliers(attendu);
  p.resume_negatif = attendu < 0;
  return generer_liste_horodatee(s);
}

}  // namespace tamso
