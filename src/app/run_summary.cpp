#include "app/run_summary.h"

#include <algorithm>
#include <cctype>

#include "app/installation.h"
#include "app/save.h"
#include "app/session.h"
#include "base/json.h"
#include "input/text.h"
#include "processing/period.h"
#include "results/run_view.h"
#include "results/tracking_file.h"

namespace tamso {

namespace {

// A count as the file table writes it ("12 345"); -1 when the cell holds
// none ("---", empty).
long long compte_de_cellule(const std::string& cellule) {
  std::string chiffres;
  for (const char c : cellule) {
    if (c == ' ') continue;
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    chiffres += c;
  }
  if (chiffres.empty() || chiffres.size() > 18) return -1;
  return std::stoll(chiffres);
}

int colonne(std::string_view titre) {
  const auto& titres = TableFichiers::titres();
  for (std::size_t i = 0; i < titres.size(); ++i)
    if (trim(titres[i]) == trim(titre)) return static_cast<int>(i);
  return -1;
}

void ecrire_compte(EcrivainJson& j, long long n) {
  if (n < 0)
    j.nul();
  else
    j.entier(n);
}

void ecrire_texte_ou_nul(EcrivainJson& j, const std::string& t) {
  if (t.empty())
    j.nul();
  else
    j.texte(t);
}

}  // namespace

std::string date_iso(const std::string& texte) {
  const std::string t = trim(texte);
  const auto chiffres = [&t](std::size_t debut, std::size_t n) {
    for (std::size_t i = debut; i < debut + n; ++i)
      if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
    return true;
  };
  if (t.size() != 19 || t[2] != '/' || t[5] != '/' || t[10] != ' ' || t[13] != ':' ||
      t[16] != ':' || !chiffres(0, 2) || !chiffres(3, 2) || !chiffres(6, 4) || !chiffres(11, 2) ||
      !chiffres(14, 2) || !chiffres(17, 2))
    return texte;
  return t.substr(6, 4) + "-" + t.substr(3, 2) + "-" + t.substr(0, 2) + "T" + t.substr(11, 8);
}

void remplir_bilan(const Session& s, BilanRun& b) {
  const VueTraitement vue = vue_traitement(s);
  b.debut = date_iso(s.periode.debut);
  b.fin = date_iso(s.periode.fin);
  b.pas = texte_pas(s.periode);
  b.test = s.periode.test_date == TestDate::inf_strict ? "inf strict" : "inf ou =";
  for (std::size_t i = 0; i < b.durees.size(); ++i)
    b.durees[i] = std::max(0.0, s.resultats.durees[i + 1] * 86400.0);

  const TableFichiers& t = s.table;
  const EtatTraitement& et = s.etat_traitement;
  const auto cellule = [&t](int ligne, std::string_view titre) {
    const int c = colonne(titre);
    return c < 0 ? std::string{} : t.cellule(c, ligne);
  };
  b.fichiers.clear();
  for (int r = 1; r <= t.nb_fichiers(); ++r) {
    FichierBilan f;
    f.fichier = cellule(r, "fichier");
    f.sous_repertoire = trim(cellule(r, "s/répertoire"));
    f.station = trim(cellule(r, "Station"));
    f.traite = std::find(et.lignes_traitees.begin(), et.lignes_traitees.end(), r) !=
               et.lignes_traitees.end();
    f.debut = date_iso(trim(cellule(r, "date dep")));
    f.fin = date_iso(trim(cellule(r, "date fin")));
    f.lignes = compte_de_cellule(cellule(r, "n.données"));
    f.lignes_extraites = compte_de_cellule(cellule(r, "n.extraites"));
    const auto sans_tirets = [](std::string v) {
      v = trim(v);
      return v == "---" ? std::string{} : v;
    };
    f.pas_observe = sans_tirets(cellule(r, "pas moyen observé"));
    f.correction = sans_tirets(cellule(r, "correction"));
    f.duree = sans_tirets(cellule(r, "durée de traitement"));
    b.fichiers.push_back(std::move(f));
  }

  b.traitement = !s.grille.vide();
  b.lignes_extraites = et.lignes_extraites;
  b.dates_illisibles = et.dates_illisibles;
  b.fichiers_incomplets = et.fichiers_incomplets;
  b.colonnes.clear();
  b.na = 0;
  b.lignes_resultats = 0;
  if (b.traitement) {
    b.lignes_resultats = lignes_resultats_ecrites(vue);
    const std::vector<int> vides = vides_par_colonne(vue);
    for (std::size_t i = 0; i < vides.size(); ++i) {
      const std::size_t c = i + 2;
      b.colonnes.push_back(
          {c < s.grille.titres.size() ? trim(s.grille.titres[c]) : std::string{}, vides[i]});
      b.na += vides[i];
    }
  }
}

std::string bilan_en_json(const BilanRun& b) {
  EcrivainJson j;
  j.ouvrir_objet();
  j.cle("description").texte(b.description);
  j.cle("statut").entier(b.statut);
  j.cle("etat").texte(b.etat);
  j.cle("message");
  ecrire_texte_ou_nul(j, b.message);
  j.cle("resultats");
  ecrire_texte_ou_nul(j, b.resultats);
  j.cle("suivi");
  ecrire_texte_ou_nul(j, b.suivi);
  j.cle("periode").ouvrir_objet();
  j.cle("debut");
  ecrire_texte_ou_nul(j, b.debut);
  j.cle("fin");
  ecrire_texte_ou_nul(j, b.fin);
  j.cle("pas");
  ecrire_texte_ou_nul(j, b.pas);
  j.cle("test");
  ecrire_texte_ou_nul(j, b.test);
  j.fermer_objet();

  j.cle("fichiers").ouvrir_tableau();
  for (const FichierBilan& f : b.fichiers) {
    j.ouvrir_objet();
    j.cle("fichier").texte(f.fichier);
    j.cle("sous_repertoire").texte(f.sous_repertoire);
    j.cle("station").texte(f.station);
    j.cle("traite").booleen(f.traite);
    j.cle("debut");
    ecrire_texte_ou_nul(j, f.debut);
    j.cle("fin");
    ecrire_texte_ou_nul(j, f.fin);
    j.cle("lignes");
    ecrire_compte(j, f.lignes);
    j.cle("lignes_extraites");
    ecrire_compte(j, f.lignes_extraites);
    j.cle("pas_observe");
    ecrire_texte_ou_nul(j, f.pas_observe);
    j.cle("correction");
    ecrire_texte_ou_nul(j, f.correction);
    j.cle("duree");
    ecrire_texte_ou_nul(j, f.duree);
    j.fermer_objet();
  }
  j.fermer_tableau();

  j.cle("traitement").booleen(b.traitement);
  j.cle("lignes_extraites").entier(b.lignes_extraites);
  j.cle("dates_illisibles").entier(b.dates_illisibles);
  j.cle("fichiers_incomplets").ouvrir_tableau();
  for (const std::string& f : b.fichiers_incomplets) j.texte(f);
  j.fermer_tableau();
  j.cle("lignes_resultats").entier(b.lignes_resultats);
  j.cle("colonnes").ouvrir_tableau();
  for (const ColonneBilan& c : b.colonnes) {
    j.ouvrir_objet();
    j.cle("titre").texte(c.titre);
    j.cle("na").entier(c.na);
    j.fermer_objet();
  }
  j.fermer_tableau();
  j.cle("na").entier(b.na);
  j.cle("durees_s").ouvrir_objet();
  j.cle("listage").nombre(b.durees[0]);
  j.cle("liste_horodatee").nombre(b.durees[1]);
  j.cle("traitement").nombre(b.durees[2]);
  j.cle("total").nombre(b.durees[0] + b.durees[1] + b.durees[2]);
  j.fermer_objet();
  j.cle("questions").ouvrir_tableau();
  for (const QuestionBilan& q : b.questions) {
    j.ouvrir_objet();
    j.cle("question").texte(q.question);
    j.cle("reponse").texte(q.reponse);
    j.fermer_objet();
  }
  j.fermer_tableau();
  j.cle("messages").ouvrir_tableau();
  for (const std::string& m : b.messages) j.texte(m);
  j.fermer_tableau();
  j.fermer_objet();
  return j.resultat();
}

std::string document_bilans(const std::vector<std::string>& objets, int statut) {
  EcrivainJson j;
  j.ouvrir_objet();
  j.cle("programme").texte("tamso-cli");
  j.cle("version").texte(version_tamso());
  j.cle("statut").entier(statut);
  j.cle("descriptions").ouvrir_tableau();
  for (const std::string& o : objets) j.brut(o);
  j.fermer_tableau();
  j.fermer_objet();
  return j.resultat() + "\n";
}

}  // namespace tamso
