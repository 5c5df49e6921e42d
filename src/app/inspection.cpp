#include "app/inspection.h"

#include <array>

#include "app/session.h"
#include "input/encoding.h"
#include "app/listing.h"
#include "input/text.h"
#include "input/workbook.h"
#include "app/data_loading.h"
#include "app/workbook_source.h"

namespace tamso {

namespace {

const char* const kNomsSeparateurs[] = {"tabulation", "espace", "point-virgule", "virgule"};

std::string nom_separateur(int i) { return i >= 0 && i <= 3 ? kNomsSeparateurs[i] : ""; }

bool oui(Session& s, const std::string& question, Boutons boutons = Boutons::oui_annuler) {
  return s.port().demander(TypeMessage::confirmation, question, boutons) == Reponse::oui;
}

std::string extension_sans_point(const std::string& nom) {
  const std::size_t p = nom.rfind('.');
  return p == std::string::npos ? std::string{} : nom.substr(p + 1);
}

std::string masque_nu(const std::string& masque) {
  return supprimer_caractere('.', supprimer_caractere('*', masque));
}

void compter(Session& s) {
  s.compter_fichiers_donnees();
  s.etiquette("Label54") = std::to_string(s.nb_fichiers);
}

// Which separator to propose when no count is strictly the largest: none when
// the current choice is among the largest, else the most telling of them.
int proposition_sans_vainqueur(const DetectionSeparateur& d, int actuel) {
  const std::array<int, 4> n = {d.tabulations, d.espaces, d.points_virgules, d.virgules};
  const int max = std::max({n[0], n[1], n[2], n[3]});
  if (max == 0) return -1;
  if (actuel >= 0 && actuel <= 3 && n[static_cast<std::size_t>(actuel)] == max) return -1;
  for (int i : {2, 0, 3, 1})
    if (n[static_cast<std::size_t>(i)] == max) return i;
  return -1;
}

}  // namespace


void choisir_fichier_exemple(Session& s) {
  DialogueFichier d;
  const std::string& dossier = s.description.dossier_choisi;
  d.titre = "Exemplaire de fichier dans le répertoire des données : " + dossier;
  d.dossier = dossier;
  d.filtre = "Fichiers (*.*)|*.*|Tous les fichiers (*.*)|*.*";
  d.propose = "*.*";
  const auto choisi = s.port().choisir_fichier_a_ouvrir(d);
  if (choisi) inspecter_fichier_exemple(s, *choisi);
}

void inspecter_fichier_exemple(Session& s, const std::string& chemin) {
  Description& d = s.description;
  for (const char* l : {"Label_nb_fic", "Label8", "Label10"}) s.etiquette(l) = "---";
  s.table.entetes_tableau();
  d.dossier_choisi = avec_barre_finale(repertoire_de(chemin));
  compter(s);

  const std::string nom = nom_de_fichier(chemin);
  const std::string extension = extension_sans_point(nom);
  if (!egal_sans_casse(extension, masque_nu(d.masque)) || d.masque == "ppp") {
    d.masque = extension;
    s.description_modifiee = true;
  }
  s.source = source_du_masque(d.masque);
  if (s.source == SourceDonnees::excel) {
    d.nom_fic_excel = nom;
    s.description_modifiee = true;
    if (!lire_feuille_excel(s, chemin)) return;
  }
  compter(s);

  const std::string q7 = "FICHIER\n  " + nom + "                   " + "\n\n\n" +
                         "DESCRIPTION DES DONNEES\n\n" +
                         " Utiliser les paramètrages tels quel => (Oui)" + "\n" + "\n" +
                         " ou les adapter et éditer le fichier => (Non)" + "\n";
  if (!oui(s, q7, Boutons::oui_non)) {
    s.port().ouvrir_dans_editeur(d.dossier_choisi, nom);
    return;
  }
  const bool extension_attendue = egal_sans_casse(extension, masque_nu(d.masque));
  if (s.source == SourceDonnees::repertoire && !extension_attendue) {
    const std::string q = " L'extention du fichier (" + extension + ") n'est pas celui attendu (" +
                          d.masque + ") \r\r" + "   modifier l'extention et continuer (Oui)  " +
                          "\n\n" + "   ou juste visualiser le fichier     (Non) ";
    if (oui(s, q, Boutons::oui_non)) {
      d.masque = extension;
      s.description_modifiee = true;
      compter(s);
      if (!egal_sans_casse(extension, masque_nu(d.masque))) s.nom_description = "Temporaire.DSC";
      lister_fichiers_donnees(s);
    } else {
      compter(s);
      s.port().ouvrir_dans_editeur(d.dossier_choisi, nom);
    }
    return;
  }

  // Inspection of the lines.
  compter(s);
  std::string source = chemin;
  if (s.source == SourceDonnees::excel) {
    if (d.separateur_colonne != SeparateurColonne::point_virgule) {
      d.separateur_colonne = SeparateurColonne::point_virgule;
      s.description_modifiee = true;
    }
    source = s.repertoire_programme() + kFichierTemporaireExcel;
  }
  if (!charger_fichier_donnees(s, source)) return;
  s.port().ouvrir_dans_editeur(d.dossier_choisi, nom);
  const FichierCharge& f = s.fichier_charge;
  s.etiquette("Label_nb_lignes") = format_milliers(f.nb_lignes);

  const bool balises = d.numlig_balise == DebutDonnees::balises;
  long long decalage = 0;
  if (balises)
    decalage = std::max(0LL, f.premiere_ligne_contenant(utf8_vers_cp1252(d.balise_deb)));

  long long detectee = -1;
  const long long fin_scan = std::min(decalage + 100, f.nb_lignes);
  long long i = 0;
  for (; i < fin_scan; ++i) {
    const std::string ligne = f.texte(i);
    const bool titres = d.avec_sans_intitule == Intitules::avec;
    if (!titres && i == entier_ou(d.num_ligne_donnee, 1) - 1 + decalage &&
        compter_lettres(ligne) > compter_numeriques(ligne)) {
      const std::string q = "la ligne n°" + std::to_string(i + 1) +
                            " semble correspondre à des intitulés de colonnes..." + "\n" + "\n" +
                            ligne + "\n\n" +
                            " proposition => choisir l'option avec intitulé de colonnes et son n° "
                            "de ligne" +
                            "\n\n" + "     corriger (Oui)\n\n" + "     annuler  (Annuler)";
      if (oui(s, q)) {
        d.avec_sans_intitule = Intitules::avec;
        d.num_ligne_donnee = std::to_string(i + 1);
        d.numlig_balise = DebutDonnees::numero_ligne;
        s.description_modifiee = true;
      }
    } else if (titres && i == entier_ou(d.num_ligne_intitule_col, 1) - 1 + decalage &&
               compter_lettres(ligne) < compter_numeriques(ligne)) {
      const std::string q = "la ligne n°" + std::to_string(i + 1) +
                            "  ne semble pas correspondre à une suite d'intitulés de colonnes..." +
                            "\n" + "\n" + ligne + "\n\n" +
                            " proposition => choisir l'option sans intitulé de colonnes" + "\n\n" +
                            "     corriger (Oui)\n\n" + "     annuler  (Annuler)";
      if (oui(s, q)) {
        d.avec_sans_intitule = Intitules::sans;
        s.description_modifiee = true;
      }
    }
    if (contient_heure(ligne)) {
      detectee = i;
      break;
    }
  }
  // No time within the window: the last line read stands for the first data line.
  if (detectee < 0) detectee = std::max(0LL, i - 1);
  const std::string ligne_donnee = f.texte(detectee);

  if (detectee == 0 && d.avec_sans_intitule == Intitules::avec) {
    const std::string q =
        "d'après le contenu de ce nouveau fichier de donnée,\n il semble qu'il n'y ait pas de ligne "
        "d'intitulé de colonnes comme prévu\n\n" +
        ligne_donnee + "\n\n" + " => option [sans intitulé] et [donnée en ligne " +
        std::to_string(1) + "]" + "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
    if (oui(s, q)) {
      d.avec_sans_intitule = Intitules::sans;
      d.numlig_balise = DebutDonnees::numero_ligne;
      d.num_ligne_donnee = "1";
      s.description_modifiee = true;
    }
  }

  // The separator is counted on the line as the file holds it: a tab file
  // described with tabulations is loaded with ";" in place of its tabs.
  const FichierCharge brut = lire_fichier_charge(source, NettoyageLignes{});
  const std::string ligne_brute = brut.texte(detectee);
  const DetectionSeparateur det = detecter_separateur(ligne_brute);
  const int actuel = indice(d.separateur_colonne);
  const int propose = det.detecte >= 0 ? det.detecte : proposition_sans_vainqueur(det, actuel);
  if (propose >= 0 && propose != actuel) {
    const std::string q =
        "d'après le contenu de ce nouveau fichier de donnée,\n et de la première ligne à 'date' "
        ":\n\n" +
        ligne_brute + "\n\n" + "<tab>=" + std::to_string(det.tabulations) + "\n" + "<esp>=" +
        std::to_string(det.espaces) + "\n" + "<;>=" + std::to_string(det.points_virgules) + "\n" +
        "<,>=" + std::to_string(det.virgules) + "\n\n" +
        " Il semble que le séparateur de colonnes soit <" + nom_separateur(propose) +
        "> et non <" + nom_separateur(actuel) + ">\n\n" + " modifier le séparateur (oui)" +
        "\n\n" + " garder <" + legende_separateur(actuel) + "> (non)";
    if (oui(s, q, Boutons::oui_non)) {
      d.separateur_colonne = static_cast<SeparateurColonne>(propose);
      s.description_modifiee = true;
    }
  }

  if (d.numlig_balise == DebutDonnees::numero_ligne) {
    const int declaree = entier_ou(d.num_ligne_donnee, 1);
    if (detectee + 1 != declaree) {
      const std::string n = std::to_string(detectee + 1);
      const std::string q = " Les premières données sont détectées en ligne " + n + " et non en " +
                            std::to_string(declaree) + "\n\n" + ligne_donnee + "\n\n" +
                            " proposition => [donnée en ligne " + n + "]" + "\n\n" +
                            "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
      if (oui(s, q)) {
        d.num_ligne_donnee = n;
        s.description_modifiee = true;
      }
    }
    if (detectee >= 1) {
      const std::string precedente = f.texte(detectee - 1);
      const std::string i_num = std::to_string(detectee);
      if (d.avec_sans_intitule == Intitules::sans) {
        if (compter_lettres(precedente) > compter_numeriques(precedente)) {
          const std::string q = "2- Il se pourrait qu'il y ait des intitulés de colonnes en ligne " +
                                i_num + "\n\n" + precedente + "\n\n" +
                                " proposition => [avec intitulés] et [intitulés en ligne " + i_num +
                                "]" + "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
          if (oui(s, q)) {
            d.avec_sans_intitule = Intitules::avec;
            d.num_ligne_intitule_col = i_num;
            s.description_modifiee = true;
          }
        }
      } else {
        const int t = entier_ou(d.num_ligne_intitule_col, 1);
        const std::string texte_t = f.texte(t - 1);
        if (trim(texte_t).empty() && !trim(precedente).empty()) {
          const std::string q =
              "1- Il se pourrait qu'il y ait des intitulés de colonnes en ligne " + i_num +
              " et non en ligne " + std::to_string(t) + "\n\n" + "L" + i_num + " <" + texte_t +
              ">" + "\n\n" + "L" + std::to_string(detectee - 1) + " <" + precedente + "\n\n" +
              ligne_donnee + "\n\n" + " proposition => [intitulés en ligne " + i_num + "] / " +
              std::to_string(t) + "\n\n" + "  corriger (Oui)\n\n" + "  annuler  (Annuler)";
          if (oui(s, q)) {
            d.num_ligne_intitule_col = i_num;
            s.description_modifiee = true;
          }
        }
      }
    }
  }
  lister_fichiers_donnees(s);
}

}  // namespace tamso
