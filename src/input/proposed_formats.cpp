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

constexpr std::array<std::string_view, 17> kEntreesDateHeure = {
    "aaaa_mm_jj_hh_mn_ss",
    "jj_mm_aaaa_hh_mn_ss",
    "jj_mm_20aa_hh_mn_ss",
    "mm_jj_aaaa_hh_mn_ss",
    "19aa_mm_jj_hh_mn_ss",
    "20aa_mm_jj_hh_mn_ss",
    "jj_mm_aaaa",
    "jj/mm/aaaa OU aaaa/mm/jj",
    "mm/dd/yyyy OU yyyy/dd/mm",
    "multiformat_dt_mini_1\u00e8reUE",
    "multiformat_dt_mini_1\u00e8reUS",
    "mm/jj/aaaa hh:mn:ss (11/9/2019 0:00)",
    "mm/jj/20aa hh:mn:ss AM/PM (11/15/21 1:00:00 PM)",
    "aaaammjjhhmn (201901011530)",
    "aaaa-mm-jjThh:mn:ss.szz UTC (2019-07-01T10:15:30.250+02:00)",
    "aaaa-mm-jjThh:mn:ss.szz UTC+01:00 (r\u00e9sultats en UTC+1)",
    "jj/mm/aaaa hh:mn:ss zz UTC+01:00 (14/05/2009 0:00:00 +02:00)"};

constexpr std::array<std::string_view, 5> kEntreesDate = {"aaaa_mm_jj", "jj_mm_aaaa", "mm_jj_aaaa",
                                                          "20aa_mm_jj", "aaaammjj"};

constexpr std::array<std::string_view, 7> kEntreesHeure = {
    "hh_mn_ss", "hh_mn", "hh_mn_ss.s", "hh", "hhmn", "hh:mn:ss AM/PM", "hh:mn:sszz UTC"};

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
                                              380,
                                              300,
                                              kEntreesDateHeure,
                                              true};
const ListeFormatsProposes kListeDate = {"ListBox_date",
                                         "SpeedButton_date",
                                         "Edit_format_date_mesure_seule",
                                         200,
                                         96,
                                         kEntreesDate,
                                         true};
const ListeFormatsProposes kListeHeure = {"ListBox_heure",
                                          "SpeedButton_heure",
                                          "Edit_format_time_mesure_seul",
                                          200,
                                          128,
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
