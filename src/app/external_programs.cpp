#include "app/external_programs.h"

#include "input/files.h"
#include "input/text.h"

namespace tamso {

std::string reglage_editeur_effectif(std::string_view reglage, int largeur_ecran,
                                     int hauteur_ecran) {
  if (contient(reglage, "notepad++.exe") && !contient(reglage, "-alwaysOnTop"))
    return "notepad++.exe -x" + std::to_string(largeur_ecran / 2 + 100) + " -y" +
           std::to_string(hauteur_ecran / 2 + 100) + " -alwaysOnTop";
  return std::string(reglage);
}

CommandeExterne commande_editeur(std::string_view reglage, const std::string& dossier,
                                 const std::string& fichier, int largeur_ecran, int hauteur_ecran) {
  const std::string effectif = reglage_editeur_effectif(reglage, largeur_ecran, hauteur_ecran);
  CommandeExterne c;
  const std::size_t tiret = effectif.find(" -");
  c.programme = trim(std::string_view(effectif).substr(0, tiret));
  c.arguments.push_back(dossier + fichier);
  if (tiret != std::string::npos) {
    const std::string parametres = effectif.substr(tiret);
    std::string mot;
    for (const char ch : parametres) {
      if (ch == ' ' || ch == '\t') {
        if (!mot.empty()) c.arguments.push_back(mot);
        mot.clear();
      } else {
        mot.push_back(ch);
      }
    }
    if (!mot.empty()) c.arguments.push_back(mot);
  }
  return c;
}

bool est_editeur_par_defaut(std::string_view programme) {
  const std::string nom = minuscules(nom_de_fichier(trim(programme)));
  return nom == "notepad.exe" || nom == "notepad";
}

std::string question_editeur_introuvable(std::string_view reglage) {
  return "  Erreur de lecture: vérifier le nom du [blocnote] \n\n  remplacer " +
         std::string(reglage) + "\n\n" + "  par notepad.exe  => (Oui)\n\n";
}

std::vector<CommandeExterne> ouvertures_manuel(
    const std::string& chemin, bool windows,
    const std::function<bool(const std::string&)>& existe) {
  std::vector<CommandeExterne> r;
  if (!windows) {
    r.push_back({"", {chemin}});
    return r;
  }
  const std::string dossier = repertoire_de(chemin);
  const std::string nom = nom_de_fichier(chemin);
  if (existe(kLecteurPdfFixe)) r.push_back({kLecteurPdfFixe, {nom}, dossier});
  r.push_back({"", {chemin}});
  r.push_back({"Acrobat.exe", {chemin}});
  std::string adresse;
  for (const char ch : nom) adresse += ch == ' ' ? std::string("%20") : std::string(1, ch);
  r.push_back({"firefox.exe", {adresse}, "file:///" + dossier});
  return r;
}

std::string message_manuel_introuvable(const std::string& chemin) {
  return "<" + chemin + "> introuvable";
}

std::string message_sans_lecteur_pdf(const std::string& chemin, bool windows) {
  if (windows) return "Firefox et Acrobat introuvables";
  return "Aucun lecteur de PDF n'a pu être lancé pour <" + chemin + ">";
}

std::vector<CommandeExterne> commandes_extinction() {
#ifdef _WIN32
  return {{"shutdown.exe", {"-s", "-c", kMessageExtinction}}};
#else
  return {{"shutdown", {"-h", "+1", kMessageExtinction}}, {"systemctl", {"poweroff"}}};
#endif
}

}  // namespace tamso
