#include "app/log_commands.h"

#include <algorithm>

#include "app/session.h"
#include "base/quotation.h"
#include "input/text.h"
#include "processing/engine.h"

namespace tamso {

// ---------------------------------------------------------------- tracking log

bool effacer_suivi(Session& s) {
  if (!question_oui(s, " Effacer le texte ? ", TypeMessage::avertissement)) return false;
  s.journal.vider();
  return true;
}

bool lister_colonnes(Session& s) {
  const Description& d = s.description;
  const int nb_dates = d.datetime_nb_col == ColonnesDate::deux ? 2 : 1;
  const int nb_valeurs = s.etat_listage.nb_colonnes_valeurs;
  s.ajouter_ligne_suivi(std::string(47, '='));
  s.ajouter_ligne_suivi(" nb de colonnes de mesure(s) = " + std::to_string(nb_valeurs));
  s.ajouter_ligne_suivi(" nb de colonnes pour les dates/heures = " + std::to_string(nb_dates));

  std::string ligne = d.int_col_alternatif ? d.new_desc_colonne : s.intitule_origine;
  ligne = intitules_en_tabulations(ligne);
  if (d.separateur_colonne == SeparateurColonne::espace && !contient(ligne, "\t"))
    ligne = ligne_espaces_vers_separateur(ligne, '\t');
  if (!contient(ligne, "\t")) {
    s.port().informer(TypeMessage::avertissement,
                      " le nombre de colonnes détectées est nul :\n\n<" + citation(ligne) +
                          ">\n\n" + "  vérifier les intitulés alternatifs...");
    return false;
  }
  const ChampsLigne titres(ligne, '\t');
  const auto titre = [&titres](long long i) {
    return i >= 1 && i <= 100000 ? trim(titres(static_cast<int>(i))) : std::string();
  };
  for (int i = 1; i <= nb_valeurs + nb_dates; ++i)
    s.ajouter_ligne_suivi(std::to_string(i) + " - " + titre(i));
  if (d.int_col_alternatif) {
    s.ajouter_ligne_suivi("");
    const int n = compter_separateurs(ligne, '\t') + 1;
    for (int i = 1; i <= n; ++i)
      s.ajouter_ligne_suivi("  " + std::to_string(i) + " - " + titres(i));
    s.ajouter_ligne_suivi("...extraire : " + d.col_cochee_liste + "  => ");
  } else {
    s.ajouter_ligne_suivi("...extraire : _lg=" + citation(ligne) + "  => ");
  }
  const auto numero = [](const std::string& t, long long defaut) {
    return lire_entier(t).value_or(defaut);
  };
  if (nb_dates == 1) {
    s.ajouter_ligne_suivi("<" + titre(numero(d.num_col_datetime, 1)) + "> date/time = temps");
  } else {
    s.ajouter_ligne_suivi("<" + titre(numero(d.num_col_date, 1)) + "> date");
    s.ajouter_ligne_suivi("<" + titre(numero(d.num_col_time, 2)) + "> time");
  }
  const std::string& liste = d.col_cochee_liste;
  if (!trim(liste).empty()) {
    const int n = compter_caractere(',', liste) + 1;
    const ChampsLigne entrees(liste, ',');
    for (int i = 1; i <= n; ++i) {
      const std::string entree = entrees(i);
      if (entree.empty()) continue;
      const auto k = lire_entier(entree);
      if (!k) {
        message_entier(s, entree);
        return false;
      }
      s.ajouter_ligne_suivi("<" + titre(*k) + ">");
    }
  }
  const int resultats = std::max(s.liste_horodatee.n - 1, 0);
  s.ajouter_ligne_suivi("<nb(" + std::to_string(resultats) + ")_methode_(" +
                        legende_methode(d.methode) + ")>");
  return true;
}

}  // namespace tamso
