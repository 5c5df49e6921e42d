#include "input/proposed_formats.h"

#include <array>

#include "input/text.h"

namespace tamso {

namespace {

constexpr std::array<std::string_view, 7> kEntreesDateFichier = {
    "aaaammjj,3",
    "aaaa_mm_jj,3",
    "2,3,4",
    "(20)4,3,2",
    "20aammjj",
    "20aammjjhhmmss",
    "3(xxxx),/,3(0000xx),/,3(000000xx)"};

constexpr std::array<std::string_view, 11> kEntreesDateHeure = {"aaaa_mm_jj_hh_mn_ss",
                                                                "jj_mm_aaaa_hh_mn_ss",
                                                                "jj_mm_20aa_hh_mn_ss",
                                                                "mm_jj_aaaa_hh_mn_ss",
                                                                "19aa_mm_jj_hh_mn_ss",
                                                                "20aa_mm_jj_hh_mn_ss",
                                                                "jj_mm_aaaa",
                                                                "jj/mm/aaaa OU aaaa/mm/jj",
                                                                "mm/dd/yyyy OU yyyy/dd/mm",
                                                                "multiformat_dt_mini_1\u00e8reUE",
                                                                "multiformat_dt_mini_1\u00e8reUS"};

constexpr std::array<std::string_view, 4> kEntreesDate = {"aaaa_mm_jj", "jj_mm_aaaa", "mm_jj_aaaa",
                                                          "20aa_mm_jj"};

constexpr std::array<std::string_view, 3> kEntreesHeure = {"hh_mn_ss", "hh_mn", "hh_mn_ss.s"};

}  // namespace

const ListeFormatsProposes kListeDateFichier = {"ListBox_date_fic",
                                                "SpeedButton_date_fic",
                                                "Edit_f_date_fichier",
                                                255,
                                                128,
                                                kEntreesDateFichier,
                                                false};
const ListeFormatsProposes kListeDateHeure = {"ListBox_date_heure",
                                              "SpeedButton_date_heure",
                                              "Edit_format_datetime_mesure",
                                              255,
                                              204,
                                              kEntreesDateHeure,
                                              true};
const ListeFormatsProposes kListeDate = {"ListBox_date",
                                         "SpeedButton_date",
                                         "Edit_format_date_mesure_seule",
                                         200,
                                         80,
                                         kEntreesDate,
                                         true};
const ListeFormatsProposes kListeHeure = {"ListBox_heure",
                                          "SpeedButton_heure",
                                          "Edit_format_time_mesure_seul",
                                          200,
                                          64,
                                          kEntreesHeure,
                                          false};

std::span<const ListeFormatsProposes> listes_formats_proposes() {
  static const std::array<ListeFormatsProposes, 4> kListes = {kListeDateFichier, kListeDateHeure,
                                                              kListeDate, kListeHeure};
  return kListes;
}

int indice_format_propose(const ListeFormatsProposes& liste, std::string_view texte_edit) {
  for (std::size_t i = 0; i < liste.entrees.size(); ++i)
    if (liste.entrees[i] == texte_edit) return static_cast<int>(i);
  return -1;
}

std::string format_choisi(const ListeFormatsProposes& liste, std::string_view entree) {
  if (!liste.avant_parenthese) return std::string(entree);
  return trim(entree.substr(0, entree.find('(')));
}

}  // namespace tamso
