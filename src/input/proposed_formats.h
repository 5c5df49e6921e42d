// The ready-made formats offered in the lists beside the date and time
// format edits.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tamso {

struct ListeFormatsProposes {
  std::string_view nom;     // the list ("ListBox_date_heure")
  std::string_view bouton;  // the small button that shows it
  std::string_view edit;    // the edit it fills
  int largeur = 0;
  int hauteur = 0;
  std::span<const std::string_view> entrees;
  // A double click copies only the part of the entry before any "(", trimmed.
  bool avant_parenthese = false;
};

// The list is placed this many pixels to the right of the edit it serves.
inline constexpr int kEcartListeFormats = 3;

extern const ListeFormatsProposes kListeDateFichier;  // Edit_f_date_fichier
extern const ListeFormatsProposes kListeDateHeure;    // Edit_format_datetime_mesure
extern const ListeFormatsProposes kListeDate;         // Edit_format_date_mesure_seule
extern const ListeFormatsProposes kListeHeure;        // Edit_format_time_mesure_seul

// The four lists, in the order above.
std::span<const ListeFormatsProposes> listes_formats_proposes();

// Index of the entry equal to the edit's text, -1 when there is none.
int indice_format_propose(const ListeFormatsProposes& liste, std::string_view texte_edit);

// The text a double click on an entry puts into the edit.
std::string format_choisi(const ListeFormatsProposes& liste, std::string_view entree);

}  // namespace tamso
