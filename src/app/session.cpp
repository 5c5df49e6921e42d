#include "app/session.h"

#include "app/external_programs.h"
#include "app/installation.h"
#include "app/program_files.h"
#include "input/dates.h"
#include "input/text.h"

namespace tamso {

std::string titre_programme() {
  return std::string("T a m s o  -  séries temporelles régulières v") + version_tamso();
}

Session::Session(Interaction& port, OptionsSession options)
    : port_(&port),
      rep_programme_(options.repertoire_programme.empty()
                         ? tamso::repertoire_programme()
                         : avec_barre_finale(options.repertoire_programme)),
      rep_installation_(options.repertoire_installation.empty()
                            ? rep_programme_
                            : avec_barre_finale(options.repertoire_installation)),
      rep_temporaire_(options.repertoire_temporaire.empty()
                          ? rep_programme_
                          : avec_barre_finale(options.repertoire_temporaire)),
      separateur_decimal_(options.separateur_decimal) {
  // As the main window is created: colours and colour scheme from the
  // parameters file, the settings the window holds until a description is read.
  lire_couleurs(*this);
  description = description_au_demarrage(lire_schema_couleurs(*this));
  legende_fenetre = titre_programme() + std::string(20, ' ') + rep_programme_ + kNomBaseProgramme;
}

std::string Session::chemin_parametres() const {
  return rep_programme_ + kNomBaseProgramme + ".prm";
}

std::string Session::chemin_periode() const {
  return rep_programme_ + kNomBaseProgramme + ".2dt";
}

std::string Session::chemin_recents() const {
  return rep_programme_ + kNomFichierRecents;
}

std::string Session::chemin_programmes_autorises() const {
  return rep_programme_ + "programmes_autorises.txt";
}

std::string Session::chemin_manuel() const {
  return rep_installation_ + kNomManuel;
}

std::string Session::etiquette_repertoire(Repertoire quel) const {
  switch (quel) {
    case Repertoire::donnees:
      return description.dossier_choisi.empty() ? kEtiquetteRepDonnees : description.dossier_choisi;
    case Repertoire::description:
      return description.dossier_description.empty() ? kEtiquetteRepDescription
                                                     : description.dossier_description;
    case Repertoire::sortie:
      return description.dossier_choisi_sortie.empty() ? kEtiquetteRepSortie
                                                       : description.dossier_choisi_sortie;
  }
  return {};
}

bool Session::sans_nom_description() const {
  const std::string nom = trim(nom_description);
  return nom.empty() || nom == kDescriptionAucune || nom == kDescriptionAucuneBarre;
}

std::string Session::chemin_dsc() const {
  std::string nom = trim(nom_description);
  const std::size_t point = nom.rfind('.');
  const std::size_t barre = nom.find_last_of("/\\");
  std::string extension;
  if (point != std::string::npos && (barre == std::string::npos || point > barre)) {
    extension = nom.substr(point);
    nom.erase(point);
  }
  const std::string dossier = description.dossier_description;
  const std::string chemin = dossier + nom + ".DSC";
#ifndef _WIN32
  // File names are compared without regard to letter case, as on the system
  // the descriptions come from: the file saved as "x.dsc" is the one read as
  // "x.DSC". An existing file of any case is used; a new one keeps the case
  // of the name shown when its extension is ".dsc" in any case.
  if (!fichier_existe(chemin)) {
    const std::string cherche = nom + ".DSC";
    std::string premier;
    std::vector<FichierTrouve> trouves;
    lister_fichiers(dossier.empty() ? "." : dossier, ".DSC", false, premier, trouves);
    for (const auto& f : trouves)
      if (egal_sans_casse(f.nom, cherche)) return dossier + f.nom;
    if (egal_sans_casse(extension, ".DSC")) return dossier + nom + extension;
  }
#endif
  return chemin;
}

std::string Session::legende_bouton_lister() const {
  switch (source_du_masque(description.masque)) {
    case SourceDonnees::excel:
      return "1- Valider le fichier " + description.masque;
    case SourceDonnees::presse_papier:
      return "1- Valider le presse-papier";
    case SourceDonnees::repertoire:
      break;
  }
  return "1- Valider et Lister les fichiers   " + description.masque;
}

int Session::compter_fichiers_donnees() {
  nb_fichiers = lister_fichiers(description.dossier_choisi, description.masque,
                                description.recursif, premier_fichier, liste_fichiers);
  return nb_fichiers;
}

int Session::compter_et_montrer_fichiers() {
  const int n = compter_fichiers_donnees();
  etiquette("Label54") = std::to_string(n);
  etiquette("Label_fic") = premier_fichier;
  return n;
}

void Session::demarrer_phase(int phase) {
  if (phase < 1 || phase > 3) return;
  if (phase == 1) resultats.durees = {};
  debuts_phases[static_cast<std::size_t>(phase)] = maintenant();
}

void Session::progression(const std::string& texte, int phase) {
  if (phase >= 1 && phase <= 3 && debuts_phases[static_cast<std::size_t>(phase)] != 0.0)
    resultats.durees[static_cast<std::size_t>(phase)] =
        maintenant() - debuts_phases[static_cast<std::size_t>(phase)];
  const auto d = [](double jours) {
    std::string t = heure_en_texte(jours < 0 ? 0 : jours);
    if (commence_par(t, "00:")) t.erase(0, 3);
    return t;
  };
  const auto& du = resultats.durees;
  etiquette("Label6") = "durées  " + d(du[1]) + "   " + d(du[2]) + "   " + d(du[3]) + "   totale " +
                        d(resultats.duree_totale());
  port_->progression(texte, phase);
}

bool question_oui(Session& s, const std::string& question, TypeMessage type, Boutons boutons) {
  return s.port().demander(type, question, boutons) == Reponse::oui;
}

void message_entier(Session& s, const std::string& valeur) {
  s.port().informer(TypeMessage::erreur, "'" + valeur + "' n'est pas une valeur entière correcte");
}

}  // namespace tamso
