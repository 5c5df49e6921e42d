#include "app/setting_edits.h"

#include <cmath>
#include <cstdio>

#include "app/listing.h"
#include "app/program_files.h"
#include "app/session.h"
#include "input/text.h"
#include "processing/engine.h"

namespace tamso {

namespace {

// Two column numbers are the same when both read as the same whole number,
// or, when one does not read, when their trimmed texts are equal.
bool meme_colonne(std::string_view a, std::string_view b) {
  const auto na = lire_entier(a), nb = lire_entier(b);
  if (na && nb) return *na == *nb;
  return trim(a) == trim(b);
}

std::string sans_blancs(std::string_view texte) {
  return supprimer_caractere(' ', texte);
}

}  // namespace

// ---------------------------------------------------------------- columns to extract

NettoyageColonnes nettoyer_colonnes_a_extraire(std::string_view saisie, const Description& d) {
  std::string liste = sans_blancs(saisie);
  remplacer_caractere(';', ',', liste);
  remplacer_caractere('.', ',', liste);
  remplacer_texte(",,", ",", liste);
  if (!liste.empty() && liste.back() == ',') liste.pop_back();

  std::vector<std::string> exclues;
  if (d.datetime_nb_col == ColonnesDate::deux) {
    exclues = {d.num_col_date, d.num_col_time};
  } else {
    exclues = {d.num_col_datetime};
  }
  NettoyageColonnes r;
  const int n = compter_caractere(',', liste) + 1;
  const ChampsLigne entrees(liste, ',');
  for (int i = 1; i <= n; ++i) {
    const std::string entree = entrees(i);
    if (entree.empty()) continue;
    bool exclue = false;
    for (const auto& e : exclues)
      if (meme_colonne(entree, e)) exclue = true;
    if (exclue) {
      r.entrees_retirees = true;
      continue;
    }
    if (!r.liste.empty()) r.liste += ',';
    r.liste += entree;
  }
  return r;
}

void valider_colonnes_a_extraire(Session& s, const std::string& saisie) {
  Description& d = s.description;
  const NettoyageColonnes r = nettoyer_colonnes_a_extraire(saisie, d);
  if (r.entrees_retirees && d.col_cochee)
    s.port().informer(TypeMessage::information,
                      " Il a fallu enlever le n° de la colonne date/time de la liste des colonnes "
                      "à extraire\n\n  de <" +
                          saisie + ">\n\n" + "   à <" + r.liste + ">");
  if (r.liste != saisie || d.col_cochee_liste != r.liste) {
    d.col_cochee_liste = r.liste;
    s.description_modifiee = true;
  }
  rafraichir_titres_colonnes(s);
}

std::optional<std::string> titres_colonnes_a_extraire(Session& s) {
  const Description& d = s.description;
  if (!d.col_cochee) return std::string("---");
  std::string liste = d.col_cochee_liste;
  if (liste.empty() || (liste.size() > 1 && liste.back() == ',')) return std::nullopt;
  remplacer_caractere(';', ',', liste);
  const int n = compter_caractere(',', liste) + 1;

  std::string titres;
  if (d.int_col_alternatif) {
    titres = d.new_desc_colonne;
  } else {
    titres = s.intitule_origine;
    if (d.separateur_colonne == SeparateurColonne::espace)
      titres = ligne_espaces_vers_separateur(titres, ';');
  }
  titres = intitules_en_tabulations(titres);
  if (titres.empty()) return std::string();

  std::string texte;
  const ChampsLigne entrees(liste, ',');
  const ChampsLigne champs_titres(titres, '\t');
  for (int i = 1; i <= n; ++i) {
    const std::string entree = entrees(i);
    const auto numero = lire_entier(entree);
    if (!numero) {
      message_entier(s, entree);
      return std::nullopt;
    }
    const std::string titre =
        *numero >= 1 && *numero <= 100000 ? champs_titres(static_cast<int>(*numero)) : "";
    texte += (i == 1 ? "=> " : " | ") + titre;
  }
  return texte;
}

void rafraichir_titres_colonnes(Session& s) {
  if (const auto t = titres_colonnes_a_extraire(s)) s.etiquette("Label_col_alternatives") = *t;
}

// ---------------------------------------------------------------- formats

namespace {

// A blank inside a format is a filler like any other character: it becomes
// "_" so that every code after it keeps its position; blanks at either end
// are dropped, and in a file-date rule so are the blanks around its commas
// (they only space out the list).
std::string blancs_en_bouche_trous(std::string_view saisie, bool format_fichier) {
  std::string f;
  const std::string_view t = trim_vue(saisie);
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] != ' ') {
      f += t[i];
      continue;
    }
    if (format_fichier) {
      std::size_t j = i;
      while (j < t.size() && t[j] == ' ') ++j;
      const bool pres_virgule = (!f.empty() && f.back() == ',') || (j < t.size() && t[j] == ',');
      if (pres_virgule) {
        i = j - 1;
        continue;
      }
    }
    f += '_';
  }
  return f;
}

}  // namespace

std::string nettoyer_format(std::string_view saisie, bool format_fichier) {
  std::string f(trim_vue(saisie));
  remplacer_caractere(';', ':', f);
  if (format_fichier) remplacer_caractere('.', ',', f);
  remplacer_texte("hh:mm", "hh:mn", f);
  return blancs_en_bouche_trous(f, format_fichier);
}

bool quatre_m(std::string_view format) {
  return compter_caractere('m', format) == 4;
}

std::string nettoyer_format_date_seule(std::string_view saisie) {
  std::string f(trim_vue(saisie));
  remplacer_caractere(';', ':', f);
  remplacer_texte("hh:mm", "hh:mn", f);
  remplacer_texte("hh:mn", "", f);
  return blancs_en_bouche_trous(f, false);
}

namespace {

void ranger_format(Session& s, std::string& cible, const std::string& saisie,
                   const std::string& nettoye) {
  if (nettoye != saisie || cible != nettoye) {
    cible = nettoye;
    s.description_modifiee = true;
  }
}

void avertir_quatre_m(Session& s, const std::string& format) {
  if (quatre_m(format))
    s.port().informer(TypeMessage::avertissement,
                      " il y a 4 \"m\", vérifier que les minutes soient \"mn\" et non \"mm\" "
                      "comme les mois !");
}

}  // namespace

void valider_format_datetime(Session& s, const std::string& saisie) {
  const std::string f = nettoyer_format(saisie, false);
  avertir_quatre_m(s, f);
  ranger_format(s, s.description.format_datetime_mesure, saisie, f);
}

void valider_format_date_fichier(Session& s, const std::string& saisie) {
  const std::string f = nettoyer_format(saisie, true);
  avertir_quatre_m(s, f);
  ranger_format(s, s.description.f_date_fichier, saisie, f);
}

void valider_format_date_seule(Session& s, const std::string& saisie) {
  ranger_format(s, s.description.format_date_mesure_seule, saisie,
                nettoyer_format_date_seule(saisie));
}

// ---------------------------------------------------------------- equivalences

std::string nettoyer_equivalences(std::string_view saisie) {
  std::string e(saisie);
  const std::size_t virgule = e.find(',');
  if (virgule != std::string::npos && virgule + 1 < e.size()) {
    const char suivant = e[virgule + 1];
    const bool nombre =
        suivant == '+' || suivant == '-' || suivant == 'E' || (suivant >= '0' && suivant <= '9');
    if (!nombre) e[virgule] = ';';
  }
  return e;
}

void valider_equivalences(Session& s, const std::string& saisie) {
  const std::string e = nettoyer_equivalences(saisie);
  if (compter_caractere(';', e) > 6)
    s.port().informer(TypeMessage::avertissement,
                      "seules les 7 première équivalences seront prises en compte\n\n   en "
                      "restreindre le nombre...");
  ranger_format(s, s.description.equiv_na, saisie, e);
}

// ---------------------------------------------------------------- line numbers

bool valider_num_ligne_donnee(Session& s) {
  const Description& d = s.description;
  if (d.avec_sans_intitule == Intitules::avec || trim(d.num_ligne_intitule_col) == "0") {
    const auto donnee = lire_entier(d.num_ligne_donnee);
    if (!donnee) {
      message_entier(s, d.num_ligne_donnee);
      return false;
    }
    const auto titre = lire_entier(d.num_ligne_intitule_col);
    if (!titre) {
      message_entier(s, d.num_ligne_intitule_col);
      return false;
    }
    if (*donnee <= *titre) {
      s.port().informer(TypeMessage::avertissement,
                        " la valeur " + d.num_ligne_donnee +
                            " n'est pas valide comme n° de ligne de donnée par rapport à celui de "
                            "l'intitulés de colonnes : " +
                            d.num_ligne_intitule_col + " ...");
      return false;
    }
  }
  s.description_modifiee = true;
  return true;
}

void valider_par_entree(Session& s) {
  if (!s.description_modifiee) return;
  s.source = source_du_masque(s.description.masque);
  if (s.source != SourceDonnees::repertoire) {
    lister_fichiers_donnees(s);
    return;
  }
  const int n = s.compter_et_montrer_fichiers();
  if (n > 0)
    lister_fichiers_donnees(s);
  else
    s.port().informer(TypeMessage::information, " Aucun fichier ayant l'extension " +
                                                    s.description.masque + "        " + "\n");
}

// ---------------------------------------------------------------- mask

bool caractere_refuse_masque(char c) {
  return c == '*' || c == '.';
}

void changer_masque(Session& s, const std::string& masque) {
  s.description.masque = masque;
  s.source = source_du_masque(masque);
  if (masque != "ppp") s.description_modifiee = true;
}

// ---------------------------------------------------------------- check boxes

void cocher_delta_y(Session& s, bool coche) {
  s.description.delta_Y = coche;
  if (coche) s.description.derivees = false;
  s.description_modifiee = true;
}

void cocher_derivees(Session& s, bool coche) {
  s.description.derivees = coche;
  if (coche) s.description.delta_Y = false;
  s.description_modifiee = true;
}

void cocher_cumul_corriger(Session& s, bool coche) {
  s.description.cumul_corriger = coche;
  s.description_modifiee = true;
  if (coche && s.liste_horodatee.deja_generee && s.description.methode != Methode::maximum)
    s.port().informer(TypeMessage::avertissement,
                      " Il faudrait choisir l'option <max des n  mesures OK > \n pour bien traiter "
                      "une valeur croissante (cumuls)");
}

bool recuperer_intitule_origine(Session& s) {
  Description& d = s.description;
  if (!question_oui(s, " récupérer l'intitulé de colonne d'orignine ?\n<" + s.intitule_origine +
                           ">" + "\n" + "en place de :\n" + "<" + d.new_desc_colonne + ">"))
    return false;
  d.new_desc_colonne = s.intitule_origine;
  s.description_modifiee = true;
  rafraichir_titres_colonnes(s);
  return true;
}

}  // namespace tamso
