#include "description/dsc_file.h"

#include <filesystem>

#include "description/description.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

// A directory written without a root or a drive ("donnees/", "../mesures").
bool repertoire_relatif(std::string_view r) {
  r = trim_vue(r);
  if (r.empty() || r.front() == '/' || r.front() == '\\') return false;
  const bool lecteur = r.size() >= 2 && r[1] == ':' &&
                       ((r[0] >= 'A' && r[0] <= 'Z') || (r[0] >= 'a' && r[0] <= 'z'));
  return !lecteur;
}

// A relative directory taken from the description file's folder, so that a
// description travels with its data (the shipped examples do).
void depuis_dossier_dsc(std::string& repertoire, const std::string& dossier_dsc) {
  if (dossier_dsc.empty() || !repertoire_relatif(repertoire)) return;
  const std::filesystem::path p =
      (std::filesystem::path(dossier_dsc) / std::string(trim_vue(repertoire))).lexically_normal();
  repertoire = avec_barre_finale(p.string());
}

// Keys in reading order: the file order, except that the data directory comes
// before the output directory and the graph selection before its derivative one.
std::vector<const DefinitionParametre*> ordre_lecture() {
  std::vector<const DefinitionParametre*> ordre;
  for (const auto& p : parametres_description()) ordre.push_back(&p);
  const auto echanger = [&ordre](std::string_view a, std::string_view b) {
    std::size_t ia = 0, ib = 0;
    for (std::size_t i = 0; i < ordre.size(); ++i) {
      if (ordre[i]->cle == a) ia = i;
      if (ordre[i]->cle == b) ib = i;
    }
    std::swap(ordre[ia], ordre[ib]);
  };
  echanger("dossier_choisi", "dossier_choisi_sortie");
  echanger("suite_coche_liste_graph", "suite_coche_liste_graph_deriv");
  return ordre;
}

}  // namespace

std::vector<std::string> lignes_dsc(const Description& d) {
  std::vector<std::string> lignes;
  lignes.reserve(parametres_description().size());
  for (const auto& p : parametres_description())
    lignes.push_back(std::string(p.cle) + "= " + valeur_en_texte(d, p));
  return lignes;
}

int ligne_de_cle(const std::vector<std::string>& lignes, std::string_view cle) {
  for (std::size_t i = 0; i < lignes.size(); ++i) {
    const std::string& l = lignes[i];
    const std::size_t egal = l.find('=');
    if (egal == std::string::npos) continue;
    if (egal_sans_casse(std::string_view(l).substr(0, egal), cle)) return static_cast<int>(i);
  }
  return -1;
}

std::string valeur_de_cle(const std::vector<std::string>& lignes, std::string_view cle,
                          bool& trouve) {
  const int i = ligne_de_cle(lignes, cle);
  trouve = i >= 0;
  if (!trouve) return {};
  const std::string_view l = lignes[static_cast<std::size_t>(i)];
  const std::size_t egal = l.find('=');
  const std::size_t suivant = l.find('=', egal + 1);
  return trim(l.substr(
      egal + 1, suivant == std::string_view::npos ? std::string_view::npos : suivant - egal - 1));
}

std::optional<std::string> appliquer_lignes_dsc(
    const std::vector<std::string>& lignes, Description& d, const std::string& repertoire_programme,
    const std::string& dossier_dsc, const std::string& dossier_donnees, JournalSuivi& journal) {
  for (const DefinitionParametre* p : ordre_lecture()) {
    bool trouve = false;
    std::string valeur = valeur_de_cle(lignes, p->cle, trouve);
    if (!trouve) valeur = texte_par_defaut(*p, repertoire_programme);
    reparer_accents(valeur);
    if (!affecter_texte(d, *p, valeur, journal)) return valeur;
    if (p->membre == MembreParametre(&Description::dossier_choisi)) {
      std::string& donnees = d.dossier_choisi;
      if (!dossier_donnees.empty())
        donnees = avec_barre_finale(dossier_donnees);
      else if (dossier_donnees_absent(donnees))
        donnees = dossier_dsc;
      else
        depuis_dossier_dsc(donnees, dossier_dsc);
    } else if (p->membre == MembreParametre(&Description::dossier_choisi_sortie)) {
      depuis_dossier_dsc(d.dossier_choisi_sortie, dossier_dsc);
    }
  }
  return std::nullopt;
}

std::string candidat_lecteur(std::string_view ancien, std::string_view lecteur,
                             std::string_view prefixe_ancien) {
  if (lecteur.empty()) return std::string(ancien);
  const bool lettre = lecteur.size() == 2 && lecteur[1] == ':';
  if (lettre) return std::string(lecteur) + std::string(ancien.size() > 2 ? ancien.substr(2) : "");
  // Without drive letters: the leading path prefix is replaced.
  if (!prefixe_ancien.empty() && commence_par(ancien, prefixe_ancien))
    return std::string(lecteur) + std::string(ancien.substr(prefixe_ancien.size()));
  return std::string(ancien);
}

}  // namespace tamso
