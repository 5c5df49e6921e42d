#include "app/file_table_commands.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "app/period_commands.h"
#include "app/session.h"
#include "input/dates.h"
#include "input/file_name_dates.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr int kColStation = 3;
constexpr int kColFichier = 1;

// "aaaa/mm/jj" read as a date; 0 when it is not one.
double date_aaaa_mm_jj(const std::string& texte) {
  const auto a = lire_entier(champ(texte, 1, '/'));
  const auto m = lire_entier(champ(texte, 2, '/'));
  const auto j = lire_entier(champ(texte, 3, '/'));
  if (!a || !m || !j) return 0.0;
  return encoder_date(static_cast<int>(*a), static_cast<int>(*m), static_cast<int>(*j))
      .value_or(0.0);
}

// The first or last date of a file offered as the period's start or end.
void capturer_date(Session& s, int colonne, int ligne) {
  const std::string date = s.table.cellule(colonne, ligne);
  if (compter_numeriques(date) < 8) return;
  const std::string q = date + (colonne == 6 ? " récupérer la date dep comme date min ?\n"
                                             : " récupérer la date fin comme date max?\n");
  if (!question_oui(s, q)) return;
  const auto valeur = texte_en_date(trim(date), nullptr, s.journal);
  if (!valeur) return;
  if (colonne == 6)
    changer_debut(s, *valeur);
  else
    changer_fin(s, *valeur);
  s.description_modifiee = true;
}

}  // namespace

std::vector<std::string> libelles_marquage(const Session& s, int ligne) {
  const std::string& v = s.table.cellule(kColStation, ligne);
  return {"ne cocher que les <" + v + ">", "cocher les <" + v + "> en plus",
          "décocher toutes les lignes", "décocher juste les  <" + v + ">",
          "cocher toutes les lignes "};
}

void reconstruire_fichiers_coches(Session& s) {
  s.fichiers_coches = s.table.fichiers_marques();
}

void appliquer_marquage(Session& s, int ligne, ChoixMarquage choix) {
  TableFichiers& t = s.table;
  const std::string v = t.cellule(kColStation, ligne);
  std::string& titre = s.etiquette("graphiques.Label1");
  for (int r = 1; r < t.nb_lignes(); ++r) {
    const bool meme = t.cellule(kColStation, r) == v;
    switch (choix) {
      case ChoixMarquage::seulement:
        t.marquer(r, meme);
        break;
      case ChoixMarquage::en_plus:
        if (meme) t.marquer(r, true);
        break;
      case ChoixMarquage::decocher_tout:
        t.marquer(r, false);
        break;
      case ChoixMarquage::decocher_seulement:
        if (meme) t.marquer(r, false);
        break;
      case ChoixMarquage::cocher_tout:
        t.marquer(r, true);
        break;
    }
  }
  switch (choix) {
    case ChoixMarquage::seulement:
      titre = "Station " + v;
      break;
    case ChoixMarquage::en_plus:
      titre += "+" + v;
      break;
    default:
      titre = "Graphiques";
      break;
  }
  reconstruire_fichiers_coches(s);
}

std::string chemin_fichier_ligne(Session& s, int ligne) {
  return chemin_fichier_ligne(s.table, ligne, s.source, s.description.dossier_choisi,
                              s.repertoire_temporaire());
}

int double_clic_tableau(Session& s, int colonne, int ligne) {
  TableFichiers& t = s.table;
  if (t.nb_fichiers() == 0) return -1;
  if (ligne >= 1 && colonne == TableFichiers::kColonneMarque) {
    t.marquer(ligne, t.cellule(colonne, ligne).empty());
    reconstruire_fichiers_coches(s);
    return -1;
  }
  if (ligne >= 1 && colonne == kColFichier) {
    const std::string chemin = chemin_fichier_ligne(s, ligne);
    s.port().ouvrir_dans_editeur(repertoire_de(chemin), nom_de_fichier(chemin));
    return -1;
  }
  if (colonne < 0 || colonne >= TableFichiers::kNbColonnes) return -1;
  if (ligne >= 1) {
    // A data cell does not sort: a double click on a first or last date
    // offers it as the period bound, for the file that was clicked.
    if (colonne == 6 || colonne == 7) capturer_date(s, colonne, ligne);
    return -1;
  }
  // Sizes and counts are written after a blank (" 12,29"): the blank does not
  // make them texts.
  const std::string_view premiere = trim_vue(t.cellule(colonne, 1));
  const bool numerique = !premiere.empty() && premiere[0] >= '0' && premiere[0] <= '9' &&
                         t.cellule(colonne, 0) != "date_NOM_Fichier";
  const bool croissant =
      colonne == TableFichiers::kColonneMarque ? !t.tri_croissant : t.tri_croissant;
  t.trier_tableau(numerique ? CleTri::numerique : CleTri::texte, colonne, croissant);
  t.tri_croissant = !t.tri_croissant;
  return colonne;
}

void effacer_selection(Session& s, int premiere, int derniere) {
  TableFichiers& t = s.table;
  if (t.nb_fichiers() == 0) return;
  const std::string q =
      premiere != derniere
          ? "effacer toutes les lignes sélectionnées ?\n  de la ligne " + std::to_string(premiere) +
                "  à la ligne " + std::to_string(derniere)
          : "effacer la lignes sélectionnée  L" + std::to_string(premiere) + "  ?\n";
  if (question_oui(s, q)) {
    if (premiere < 1 || !t.supprimer_lignes(premiere, derniere))
      s.port().informer(TypeMessage::erreur, "Invalid row range");
    else
      t.liste_partielle = true;
  }
  resume_tableau(s);
}

void effacer_vers_le_bas(Session& s, int courante) {
  TableFichiers& t = s.table;
  if (t.nb_fichiers() == 0) return;
  if (question_oui(s, "effacer toutes les lignes vers le bas, courante comprise ?") &&
      courante >= 1 && courante < t.nb_lignes()) {
    t.fixer_nb_lignes(courante);
    t.liste_partielle = true;
  }
  resume_tableau(s);
}

void effacer_vers_le_haut(Session& s, int courante) {
  TableFichiers& t = s.table;
  if (t.nb_fichiers() == 0) return;
  if (question_oui(s, "effacer toutes les lignes vers le haut, courante comprise ?") &&
      courante >= 1 && courante < t.nb_lignes()) {
    t.supprimer_lignes(1, courante);
    if (t.nb_lignes() < 2) t.fixer_nb_lignes(2);
    t.liste_partielle = true;
  }
  resume_tableau(s);
}

void effacer_hors_periode(Session& s, bool sans_confirmation) {
  TableFichiers& t = s.table;
  if (t.nb_fichiers() == 0) return;
  if (sans_confirmation ||
      question_oui(s, "effacer les lignes hors intervalle = période ciblée ?")) {
    const auto jour = [](const std::string& libelle) {
      return lire_date_heure(libelle.substr(0, 10)).value_or(0.0);
    };
    const double debut = jour(s.periode.debut), fin = jour(s.periode.fin);
    const int col = t.position_colonne("date_NOM_Fichier", s.port());
    for (int r = t.nb_lignes() - 1; r >= 1; --r) {
      const std::string& texte = t.cellule(col, r);
      if (compter_caractere('/', texte) != 2) continue;
      const double d = date_aaaa_mm_jj(texte);
      if (d < debut || d > fin) {
        t.supprimer_lignes(r, r);
        t.liste_partielle = true;
      }
    }
  }
  resume_tableau(s);
}

void resume_tableau(Session& s) {
  TableFichiers& t = s.table;
  const int n = t.nb_fichiers();
  s.etiquette("Label_nb_fic") = compte_fichiers(n, "  ");
  if (n < 2) return;
  const auto debut = std::chrono::steady_clock::now();
  s.etiquette("Label6") = "durée ??:??:??";
  long long milliemes = 0;
  double date_min = *encoder_date(2100, 1, 1), date_max = *encoder_date(1900, 1, 1);
  const std::string regle = trim(s.description.f_date_fichier);
  for (int r = 1; r <= n; ++r) {
    s.etiquette("Label_patienter") =
        "3- patienter ... " + std::to_string(r) + " / " + std::to_string(n);
    const std::string taille = trim(t.lire_cellule(r, "taille (Mo)", s.port()));
    std::string lisible = taille;
    remplacer_caractere(',', '.', lisible);
    const auto mo = lire_decimal_strict(lisible);
    if (!mo) {
      s.port().informer(TypeMessage::erreur,
                        "'" + taille + "' n'est pas une valeur en virgule flottante correcte");
      return;
    }
    milliemes += std::llround(*mo * 1000.0);
    if (!regle.empty()) {
      double valeur = maintenant();
      std::string texte;
      date_nom_fichier(t.cellule(kColFichier, r), regle, valeur, texte, s.journal);
      t.ecrire_cellule(r, "date_NOM_Fichier", texte, s.port());
      if (!texte.empty()) {
        date_min = std::min(date_min, valeur);
        date_max = std::max(date_max, valeur);
      }
    }
    const double secondes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    s.etiquette("Label6") = "durée " + heure_en_texte(secondes / 86400.0);
  }
  s.etat_listage.taille_totale_ko = static_cast<double>(milliemes);
  s.etiquette("Label8") =
      "taille totale " +
      format_deux_decimales(static_cast<double>(milliemes) / 1000.0, s.separateur_decimal()) +
      " Mo";
  s.etiquette("Label_date_min") = date_heure_en_texte(date_min);
  s.etiquette("Label_date_max") = date_heure_en_texte(date_max);
  s.etiquette("Label_date_min.couleur") = date_min < date_max ? "bleu" : "rouge";
}

}  // namespace tamso
