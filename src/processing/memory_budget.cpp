#include "processing/memory_budget.h"

#include <algorithm>
#include <string>

#include "base/interaction.h"
#include "base/memory.h"
#include "input/text.h"

namespace tamso {

namespace {
// Measured on runs of millions of rows: a list item holds its 19-character
// text, its end and its value; a grid row holds per column a packed cell and
// its count, and the results about as much again in text.
constexpr std::uint64_t kOctetsElementListe = 19 + 8 + 8;
constexpr std::uint64_t kOctetsLigneGrille = 110;
constexpr std::uint64_t kOctetsCelluleGrille = 36;
}  // namespace

std::uint64_t octets_liste(long long lignes) {
  return static_cast<std::uint64_t>(std::max(0LL, lignes) + 2) * kOctetsElementListe;
}

std::uint64_t octets_grille(long long lignes, int v) {
  const auto n = static_cast<std::uint64_t>(std::max(0LL, lignes) + 3);
  return n *
         (kOctetsLigneGrille + kOctetsCelluleGrille * static_cast<std::uint64_t>(std::max(1, v)));
}

AccordMemoire accord_memoire(Interaction& port, std::uint64_t octets, long long lignes, int v,
                             std::uint64_t limite) {
  const bool limite_donnee = limite > 0;
  if (!limite_donnee) {
    const auto disponible = memoire_disponible();
    if (!disponible) return AccordMemoire::sous_limite;
    limite = *disponible;
  }
  if (octets <= limite) return AccordMemoire::sous_limite;
  const int colonnes = std::max(1, v);
  const std::string texte =
      " Le traitement demanderait environ " + texte_octets(octets) + " de mémoire\n (" +
      format_milliers(lignes) + " lignes de résultats x " + std::to_string(colonnes) +
      (colonnes > 1 ? " colonnes" : " colonne") + " de valeurs)\n" +
      (limite_donnee ? " pour une limite de " + texte_octets(limite) + " (--max-memory)"
                     : " pour " + texte_octets(limite) + " de mémoire disponible") +
      ".\n\n Réduire la période, allonger le pas ou extraire moins de colonnes.\n\n"
      "   continuer quand même ? ";
  return port.demander_poursuite(TypeMessage::avertissement, texte, Boutons::oui_non,
                                 Reponse::non) == Reponse::oui
             ? AccordMemoire::forcee
             : AccordMemoire::refusee;
}

}  // namespace tamso
