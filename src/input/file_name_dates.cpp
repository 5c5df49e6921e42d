#include "input/file_name_dates.h"

#include <climits>

#include "base/tracking_log.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// A syllable number as champ takes it; 0 (no syllable) when out of range.
int numero_syllabe(long long k) {
  return k < 1 || k > INT_MAX ? 0 : static_cast<int>(k);
}

std::size_t compter_chiffres(std::string_view t) {
  std::size_t n = 0;
  for (const char c : t) n += est_chiffre(c);
  return n;
}

// Removes a double quote at the start, then a double quote that is the first
// one left and the last character.
std::string_view sans_guillemets(std::string_view t) {
  if (!t.empty() && t.front() == '"') t.remove_prefix(1);
  if (!t.empty() && t.find('"') == t.size() - 1) t.remove_suffix(1);
  return t;
}

// What one comma item of a syllable rule adds to the result.
void element_regle(std::string_view nom, std::string_view element, std::string& resultat) {
  const std::string_view nu = trim_vue(element);
  if (tout_chiffres(nu) > 0) {
    resultat.append(champ_vue(nom, numero_syllabe(lire_entier(nu).value_or(0)), '_'));
    return;
  }
  if (const std::size_t p = nu.find('(');
      p != npos && p > 0 && nu.back() == ')' && tout_chiffres(nu.substr(0, p)) > 0) {
    const std::string_view masque = nu.substr(p + 1, nu.size() - p - 2);
    const std::string_view syllabe =
        champ_vue(nom, numero_syllabe(lire_entier(nu.substr(0, p)).value_or(0)), '_');
    if (syllabe.size() >= masque.size())
      for (std::size_t i = 0; i < masque.size(); ++i)
        if (masque[i] == 'x') resultat.push_back(syllabe[i]);
    return;
  }
  if (element == "E" || element == "e") {
    resultat.push_back(' ');
  } else if (element.size() >= 2 && element.front() == '"' && element.back() == '"') {
    resultat.append(element.substr(1, element.size() - 2));
  } else {
    resultat.append(element);
  }
}

}  // namespace

std::string nom_fichier_simplifie(std::string_view nom_fichier) {
  std::string nom(nom_fichier);
  const std::size_t point = nom.rfind('.');
  const std::size_t chemin = nom.find_last_of("\\/:");
  if (point != npos && (chemin == npos || point > chemin)) nom.erase(point);
  if (!contient(nom, "_")) remplacer_caractere('-', '_', nom);
  for (char& c : nom)
    if (c == ' ' || c == ',' || c == ';') c = '_';
  return nom;
}

std::string extraire_paquets(std::string_view nom_fichier, std::string_view regle_saisie) {
  std::string nom = trim(nom_fichier);
  const std::string_view regle_nue = sans_guillemets(regle_saisie);
  if (nom.empty()) return {};
  std::string regle(regle_nue);
  if (!contient(regle, ",")) {
    if (tout_chiffres(regle) > 0 || (contient(regle, "(") && contient(regle, ")")))
      regle += ',';
    else
      return regle;  // a fixed text
  }
  for (char& c : nom)
    if (c == ' ' || c == '-' || c == ',' || c == ';' || c == '.') c = '_';

  if (const std::size_t q = regle.find('?'); q != npos) {
    // "2,Baro?": syllable 2, tagged "-Baro" when the name speaks of Baro.
    const std::size_t virgule = regle.rfind(',', q);
    const std::size_t debut = virgule == npos ? 0 : virgule + 1;
    const std::string etiquette = regle.substr(debut, q - debut);
    const long long k = lire_entier(champ_vue(regle, 1, ',')).value_or(1);
    std::string resultat = champ(nom, numero_syllabe(k), '_');
    if (!etiquette.empty() && contient(majuscules(nom), majuscules(etiquette)))
      resultat.append("-").append(etiquette);
    return resultat;
  }

  std::string resultat;
  std::string_view reste = regle;
  while (true) {
    const std::size_t virgule = reste.find(',');
    element_regle(nom, reste.substr(0, virgule), resultat);
    if (virgule == npos) break;
    reste.remove_prefix(virgule + 1);
  }
  return resultat;
}

namespace {

// "3,aaaammjj" is "aaaammjj,3".
void mettre_le_motif_en_tete(std::string& regle) {
  if (compter_caractere(',', regle) != 1) return;
  const std::size_t v = regle.find(',');
  const std::string premier = regle.substr(0, v), second = regle.substr(v + 1);
  if (!contient(premier, "aa") && contient(second, "aa")) regle = second + "," + premier;
}

// Keeps the syllable that holds the date ("aaaammjj,3") and takes the
// century out of the rule: its digits ("20aammjj,3") or its parenthesis
// ("(20)4,3,2").
std::string isoler_syllabe_et_siecle(std::string& nom, std::string& regle) {
  std::string siecle;
  const int nb_virgules = compter_caractere(',', regle);
  const int nb_parentheses = compter_caractere('(', regle);
  if (nb_parentheses == 0 && nb_virgules == 1) {
    const std::size_t v = regle.find(',');
    if (const auto k = lire_entier(std::string_view(regle).substr(v + 1)); k && *k > 0)
      nom = champ(nom, numero_syllabe(*k), '_');
    regle.erase(v);
    for (const char c : regle)
      if (est_chiffre(c)) siecle.push_back(c);
  } else if (nb_parentheses == 1 && nb_virgules == 2 && regle.front() == '(') {
    if (const std::size_t f = regle.find(')'); f != npos) {
      siecle = regle.substr(1, f - 1);
      regle.erase(0, f + 1);
    }
  }
  return siecle;
}

// A name with one "-" before its first "_" ends at the "-".
void couper_au_tiret(std::string& nom) {
  if (compter_caractere('-', nom) != 1) return;
  const std::size_t tiret = nom.find('-'), souligne = nom.find('_');
  if (souligne != npos && tiret < souligne) nom.erase(tiret);
}

// A plain pattern reads the first run of digits of the name: name and rule
// become a one-syllable name and its rule. The name is emptied when it has
// no such run and the pattern is not a separated date.
void lire_premiers_chiffres(std::string& nom, std::string& regle) {
  const std::size_t debut = position_chiffres_consecutifs(nom, 6);
  const std::size_t nb_chiffres = compter_chiffres(nom);
  if (debut != npos && nb_chiffres == 8) {
    nom = nom.substr(debut, 8) + ",z";
    regle = "aaaammjj,1";
  } else if (debut != npos) {
    nom = nom.substr(debut, nb_chiffres) + ",z";
    if (compter_numeriques(regle) == 2) {
      // "20aammjj": the century goes in front of the digits.
      const std::size_t p2 = regle.find("aa");
      if (p2 != npos && p2 >= 2) nom.insert(0, regle.substr(p2 - 2, 2));
      for (char& c : regle)
        if (est_chiffre(c)) c = 'a';
    } else {
      regle = "aaaammjj";
    }
    regle += ",1";
  } else if (regle == "aaaa_mm_jj" || regle == "jj_mm_aaaa") {
    regle += ",1";
    nom += ",z";
  } else {
    nom.clear();
  }
}

struct DateNom {
  std::string annee, mois, jour;
};

// How reading the date's fields ended.
enum class IssueChamps { lus, sans_date, refuses };

// The name and rule prepared, with the separators of their syllables and items.
struct NomEtRegle {
  const std::string& nom;
  const std::string& regle;
  const std::string& siecle;
  char separateur;
  char separateur_items;
};

// The date is written in one syllable, at the places of the codes.
IssueChamps lire_date_dans_syllabe(const NomEtRegle& n, DateNom& d) {
  const std::size_t p4 = n.regle.find("aaaa"), p2 = n.regle.find("aa");
  const auto k = lire_entier(champ_vue(n.regle, 2, n.separateur_items));
  if (!k) return IssueChamps::sans_date;
  const std::string_view piece = champ_vue(n.nom, numero_syllabe(*k), n.separateur);
  if (p4 != npos)
    d.annee = morceau(piece, p4, 4);
  else
    d.annee = n.siecle + std::string(morceau(piece, p2, 2));
  const std::size_t pm = n.regle.find("mm"), pj = n.regle.find("jj");
  d.mois = deux_chiffres(pm == npos ? std::string_view() : morceau(piece, pm, 2));
  d.jour = deux_chiffres(pj == npos ? std::string_view() : morceau(piece, pj, 2));
  return IssueChamps::lus;
}

// Year, month and day are whole syllables.
IssueChamps lire_syllabes_entieres(const NomEtRegle& n, DateNom& d, std::string_view nom_fichier,
                                   JournalSuivi& journal) {
  int numeros[3];
  for (int i = 0; i < 3; ++i) {
    const auto k = lire_entier(champ_vue(n.regle, i + 1, n.separateur_items));
    if (!k) return IssueChamps::sans_date;
    numeros[i] = numero_syllabe(*k);
  }
  d.annee = n.siecle + champ(n.nom, numeros[0], n.separateur);
  d.mois = deux_chiffres(champ_vue(n.nom, numeros[1], n.separateur));
  d.jour = deux_chiffres(champ_vue(n.nom, numeros[2], n.separateur));
  const bool regles = d.jour >= "01" && d.jour <= "31" && d.mois >= "01" && d.mois <= "12" &&
                      d.annee.size() >= 2 && est_chiffre(d.annee[0]) && est_chiffre(d.annee[1]);
  if (!regles) {
    journal.ajouter_ligne_suivi(" - erreur date : " + d.annee + "/" + d.mois + "/" + d.jour +
                                "  <" + std::string(nom_fichier) + ">");
    return IssueChamps::refuses;
  }
  return IssueChamps::lus;
}

// Pieces picked by masks, giving "aaaa/mm/jj", "jj/mm/aaaa" or "aaaammjj".
void lire_paquets(const NomEtRegle& n, DateNom& d) {
  const std::string paquet = extraire_paquets(n.nom, n.regle);
  if (paquet.size() == 10 && !est_chiffre(paquet[4])) {
    d.annee = paquet.substr(0, 4);
    d.mois = paquet.substr(5, 2);
    d.jour = paquet.substr(8, 2);
  } else if (paquet.size() == 10 && !est_chiffre(paquet[2])) {
    d.jour = paquet.substr(0, 2);
    d.mois = paquet.substr(3, 2);
    d.annee = paquet.substr(6, 4);
  } else if (paquet.size() == 8) {
    d.annee = paquet.substr(0, 4);
    d.mois = paquet.substr(4, 2);
    d.jour = paquet.substr(6, 2);
  }
}

// The rule's last character names the separator of the name's syllables.
IssueChamps lire_champs_date(const std::string& nom, const std::string& regle,
                             const std::string& siecle, DateNom& d, std::string_view nom_fichier,
                             JournalSuivi& journal) {
  const char dernier = regle.back();
  const NomEtRegle n{nom, regle, siecle,
                     est_chiffre(dernier) ? '_' : (dernier == 'E' ? ' ' : dernier),
                     contient(regle, ";") ? ';' : ','};
  if (regle.find("aa") != npos) return lire_date_dans_syllabe(n, d);
  if (!contient(regle, "(")) return lire_syllabes_entieres(n, d, nom_fichier, journal);
  lire_paquets(n, d);
  return IssueChamps::lus;
}

// A date made of eight digits within the field ranges.
bool date_valide(const DateNom& d) {
  const std::string joint = d.annee + d.mois + d.jour;
  return compter_lettres(joint) == 0 && compter_numeriques(joint) == 8 &&
         !hors_bornes(d.annee, 1900, 2100) && !hors_bornes(d.mois, 1, 12) &&
         !hors_bornes(d.jour, 1, 31);
}

}  // namespace

void date_nom_fichier(std::string_view nom_fichier, std::string_view regle_saisie, double& valeur,
                      std::string& texte, JournalSuivi& journal, const Horloge& horloge) {
  texte.clear();
  const auto sans_date = [&valeur, &horloge] { valeur = heure_courante(horloge); };
  std::string regle = trim(regle_saisie);
  mettre_le_motif_en_tete(regle);
  std::string nom = nom_fichier_simplifie(nom_fichier);
  const std::string siecle = isoler_syllabe_et_siecle(nom, regle);
  if (nom.empty() || regle.empty() || compter_numeriques(nom) < 6) return sans_date();
  couper_au_tiret(nom);
  if (!contient(regle, ",") && !contient(regle, "(")) lire_premiers_chiffres(nom, regle);
  if (nom.empty()) return sans_date();

  DateNom d;
  switch (lire_champs_date(nom, regle, siecle, d, nom_fichier, journal)) {
    case IssueChamps::lus:
      break;
    case IssueChamps::sans_date:
      return sans_date();
    case IssueChamps::refuses:
      return;
  }
  if (!date_valide(d)) {
    journal.ajouter_ligne_suivi("");
    journal.ajouter_ligne_suivi("erreur : " + std::string(regle_saisie) +
                                "  ne fournit pas de date avec <" + std::string(nom_fichier) + ">");
    return;
  }
  d.mois = deux_chiffres(d.mois);
  d.jour = deux_chiffres(d.jour);
  texte = d.annee + "/" + d.mois + "/" + d.jour;
  const auto date = encoder_date(static_cast<int>(lire_entier(d.annee).value_or(0)),
                                 static_cast<int>(lire_entier(d.mois).value_or(0)),
                                 static_cast<int>(lire_entier(d.jour).value_or(0)));
  valeur = date.value_or(1.0);
}

}  // namespace tamso
