#include "app/clipboard_commands.h"

#include "app/clipboard_source.h"
#include "app/description_files.h"
#include "app/session.h"
#include "input/files.h"

namespace tamso {

bool lire_presse_papier(Session& s) {
  return capturer_presse_papier(s, s.port().texte_presse_papier()).has_value();
}

bool importer_presse_papier(Session& s) {
  if (s.port().demander(TypeMessage::confirmation,
                        "=== Presse-Papiers ===\n\n  Voulez-vous importer les données du "
                        "presse-papier",
                        Boutons::oui_annuler) != Reponse::oui)
    return false;
  const bool modifiee = s.description_modifiee;
  const std::string masque = s.description.masque;
  const SeparateurColonne separateur = s.description.separateur_colonne;
  s.table.entetes_tableau();
  s.apercu.clear();
  s.description.masque = "ppp";
  const auto revenir = [&] {
    s.description.masque = masque;
    s.description.separateur_colonne = separateur;
    s.source = source_du_masque(masque);
    s.description_modifiee = modifiee;
  };
  const std::string texte = s.port().texte_presse_papier();
  const auto taille = capturer_presse_papier(s, texte);
  if (!taille) {
    revenir();
    return false;
  }
  const auto lignes = decouper_lignes(texte);
  std::string premieres;
  for (std::size_t i = 0; i < lignes.size() && i < 3; ++i) premieres += "\n" + lignes[i];
  const std::string q = " le presse papier contient " + std::to_string(*taille) + " octets\n\n" +
                        " voir le cadre en ci-dessous et les 3 lignes suivantes\n\n" +
                        " les 3 premières lignes :\n\n" + premieres + "\n";
  if (s.port().demander(TypeMessage::confirmation, q, Boutons::oui_annuler) == Reponse::oui) {
    enregistrer_description_sous(s);
    return true;
  }
  revenir();
  return false;
}

}  // namespace tamso
