#include "app/clipboard_source.h"

#include <chrono>

#include "app/session.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/loader.h"

namespace tamso {

std::optional<std::uintmax_t> capturer_presse_papier(Session& s, std::string_view texte) {
  const auto debut = std::chrono::steady_clock::now();
  s.etiquette("Label10") = "patience lecture presse-papier...";
  s.fichier_charge = FichierCharge{};
  if (texte.empty()) {
    s.port().informer(TypeMessage::avertissement, "le presse-papier est vide! ...");
    return std::nullopt;
  }
  const std::string brut = s.repertoire_temporaire() + "~tmp.txt";
  const std::string capture = s.repertoire_temporaire() + kFichierPressePapier;
  std::string raison;
  if (!ecrire_lignes_texte(brut, decouper_lignes(texte), &raison)) {
    s.port().informer(TypeMessage::erreur,
                      "écriture impossible du fichier\n" + brut + "\n\n  (" + raison + ")");
    return std::nullopt;
  }
  copier_en_remplacant(brut, '\t', capture, ';', s.port(), s.journal);
  const std::uintmax_t taille = taille_fichier(capture);
  s.fichier_charge = lire_fichier_charge(brut, NettoyageLignes{});

  Description& d = s.description;
  if (d.separateur_colonne != SeparateurColonne::point_virgule || d.masque != "ppp")
    s.description_modifiee = true;
  d.separateur_colonne = SeparateurColonne::point_virgule;
  d.masque = "ppp";
  s.source = source_du_masque(d.masque);

  const double secondes =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
  const std::string duree = heure_en_texte(secondes / 86400.0);
  s.etiquette("Label10") = "lecture en " + duree;
  s.etiquette("Label6") = "Durée " + duree;
  return taille;
}

}  // namespace tamso
