#include "app/program_files.h"

#include <algorithm>
#include <charconv>

#include "app/session.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

const std::array<Couleur, 4>& couleurs_par_defaut() {
  static const std::array<Couleur, 4> c = {Couleur{255, 245, 221}, Couleur{245, 216, 175},
                                           Couleur{208, 240, 218}, Couleur{183, 251, 249}};
  return c;
}

Couleur couleur_depuis_texte(const std::string& texte, const Couleur& defaut) {
  if (compter_caractere(',', texte) != 2) return defaut;
  const auto composante = [&](int n) {
    return static_cast<int>(std::clamp<long long>(champ_entier(texte, n, ',', 0), 0, 255));
  };
  return Couleur{composante(1), composante(2), composante(3)};
}

std::string couleur_en_texte(const Couleur& c) {
  return std::to_string(c.rouge) + "," + std::to_string(c.vert) + "," + std::to_string(c.bleu);
}

void lire_couleurs(Session& s) {
  const auto lignes = lire_lignes_texte(s.chemin_parametres());
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string texte = lignes && lignes->size() > i + 1 ? (*lignes)[i + 1] : std::string{};
    s.couleurs[i] = couleur_depuis_texte(texte, couleurs_par_defaut()[i]);
  }
}

int lire_schema_couleurs(const Session& s) {
  const std::string l = lire_ligne_fichier(s.chemin_parametres(), 6);
  return l.empty() || l == "0" ? 0 : 1;
}

std::string lire_derniere_description(const Session& s) {
  return lire_ligne_fichier(s.chemin_parametres(), 1);
}

bool ecrire_lignes_numerotees(const std::string& chemin, const std::map<int, std::string>& lignes) {
  std::vector<std::string> contenu = lire_lignes_texte(chemin).value_or(std::vector<std::string>{});
  contenu.resize(kMaxParametre);
  for (const auto& [k, texte] : lignes)
    if (k >= 1 && k <= kMaxParametre) contenu[static_cast<std::size_t>(k - 1)] = texte;
  return ecrire_lignes_texte(chemin, contenu);
}

bool signaler_si_echec(Session& s, bool ok, const std::string& chemin) {
  if (!ok) s.port().informer(TypeMessage::erreur, "Impossible de créer le fichier " + chemin);
  return ok;
}

bool mettre_a_jour_parametres(Session& s) {
  std::map<int, std::string> lignes;
  lignes[1] = s.description.dossier_description + s.nom_description;
  const bool couleurs = s.description.coul_nb == 0;
  if (couleurs)
    for (int i = 0; i < 4; ++i)
      lignes[2 + i] = couleur_en_texte(s.couleurs[static_cast<std::size_t>(i)]);
  lignes[6] = couleurs ? "0" : "1";
  const std::string chemin = s.chemin_parametres();
  return signaler_si_echec(s, ecrire_lignes_numerotees(chemin, lignes), chemin);
}

bool reecrire_parametres(Session& s) {
  const std::string chemin = s.chemin_parametres();
  return signaler_si_echec(
      s, ecrire_fichier_une_ligne(s.description.dossier_description + s.nom_description, chemin),
      chemin);
}

std::optional<GeometrieFenetre> lire_geometrie_graphiques(const Session& s) {
  const std::string ligne =
      lire_ligne_fichier(s.repertoire_programme() + kNomFichierFenetreGraphiques, 1);
  if (compter_caractere(',', ligne) != 4) return std::nullopt;
  int v[5] = {};
  std::size_t debut = 0;
  for (int& n : v) {
    const std::size_t fin = std::min(ligne.find(',', debut), ligne.size());
    const char* p = ligne.data() + debut;
    const auto [reste, erreur] = std::from_chars(p, ligne.data() + fin, n);
    if (erreur != std::errc{} || reste != ligne.data() + fin || p == reste) return std::nullopt;
    debut = fin + 1;
  }
  if (v[2] < 100 || v[3] < 100 || (v[4] != 0 && v[4] != 1)) return std::nullopt;
  return GeometrieFenetre{v[0], v[1], v[2], v[3], v[4] == 1};
}

bool ecrire_geometrie_graphiques(const Session& s, const GeometrieFenetre& g) {
  const std::string ligne = std::to_string(g.x) + "," + std::to_string(g.y) + "," +
                            std::to_string(g.largeur) + "," + std::to_string(g.hauteur) + "," +
                            (g.agrandie ? "1" : "0");
  return ecrire_fichier_une_ligne(ligne, s.repertoire_programme() + kNomFichierFenetreGraphiques);
}

void ajouter_repertoires_recents(Session& s) {
  const std::string entrees[] = {
      "1- " + s.etiquette_repertoire(Repertoire::donnees),
      "2- " + s.etiquette_repertoire(Repertoire::description),
      "3- " + s.etiquette_repertoire(Repertoire::sortie),
  };
  const std::string refusees[] = {std::string("1- ") + kEtiquetteRepDonnees,
                                  std::string("2- ") + kEtiquetteRepDescription,
                                  std::string("3- ") + kEtiquetteRepSortie};
  auto& liste = s.repertoires_recents;
  for (const auto& e : entrees) {
    if (std::find(std::begin(refusees), std::end(refusees), e) != std::end(refusees)) continue;
    if (std::find(liste.begin(), liste.end(), e) != liste.end()) continue;
    liste.push_back(e);
  }
  std::sort(liste.begin(), liste.end());
  ecrire_lignes_texte(s.chemin_recents(), liste);
}

void charger_repertoires_recents(Session& s) {
  if (const auto lignes = lire_lignes_texte(s.chemin_recents())) {
    s.repertoires_recents.clear();
    for (const auto& l : *lignes)
      if (!l.empty()) s.repertoires_recents.push_back(l);
  }
  if (s.repertoires_recents.empty()) ajouter_repertoires_recents(s);
}

}  // namespace tamso

namespace tamso {

void verifier_repertoires(Session& s) {
  if (repertoire_existe(s.description.dossier_choisi)) {
    if (!repertoire_existe(s.description.dossier_choisi_sortie))
      s.port().ouvrir_choix_repertoire(Repertoire::sortie);
  } else {
    s.port().ouvrir_choix_repertoire(Repertoire::donnees);
  }
}

}  // namespace tamso
