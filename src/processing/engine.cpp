#include "processing/engine.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "base/interaction.h"
#include "base/progress.h"
#include "base/quotation.h"
#include "base/tracking_log.h"
#include "description/description.h"
#include "input/date_format.h"
#include "input/dates.h"
#include "input/encoding.h"
#include "input/file_table.h"
#include "input/files.h"
#include "input/line_blocks.h"
#include "input/listing_state.h"
#include "input/loader.h"
#include "input/text.h"
#include "input/workbook.h"
#include "processing/block_placing.h"
#include "processing/fast_lines.h"
#include "processing/memory_budget.h"
#include "processing/period.h"
#include "processing/post_processing.h"
#include "processing/result_grid.h"
#include "processing/timestamp_list.h"

namespace tamso {

namespace {

using Chrono = std::chrono::steady_clock;

constexpr double kUneSeconde = 1.0 / 86400.0;
constexpr double kMinimumInitial = 9999.0;       // days
constexpr int kDatesIllisiblesJournalisees = 2;  // per file

// "hh:mm:ss" of a duration in days, seconds truncated as a clock shows them.
std::string heure_tronquee(double jours) {
  if (!(jours >= 0)) jours = 0;
  const long long s =
      static_cast<long long>(std::floor((jours - std::floor(jours)) * 86400.0 + 1e-6));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", (s / 3600) % 24, (s / 60) % 60, s % 60);
  return buf;
}

struct Parametres {
  Methode methode = Methode::moyenne;
  bool inf_strict = false;
  bool unite_calendaire = false;
  double pas = 0.0;  // days
  std::vector<std::string> equivalents_na;
  bool seuil_bas = false, seuil_haut = false;
  double bas = 0.0, haut = 0.0;
  CorrectionTemps correction;  // shift and drift
  char separateur = ';';
  bool deux_colonnes = false;
  int col_datetime = 1, col_date = 1, col_time = 2;
  std::string format;
  long long ligne_intitules = -1;
  bool car_null = false, plus_un_jour = false, plus_une_seconde = false;
  bool balises = false;  // data between tags: lines after the end tag are not data
  char separateur_decimal = ',';
};

bool est_na(const Parametres& p, std::string_view x) {
  for (const auto& e : p.equivalents_na)
    if (x == e) return true;
  return false;
}

bool hors_seuils(const Parametres& p, std::string_view x) {
  if (x.empty() || (!p.seuil_bas && !p.seuil_haut)) return false;
  const double v = texte_en_reel(x);
  return (p.seuil_bas && v < p.bas) || (p.seuil_haut && v > p.haut);
}

std::string texte_date(const Parametres& p, SeparateurInitial initial, std::string_view ligne) {
  if (p.deux_colonnes)
    return champ(ligne, p.col_date, p.separateur, initial) + " " +
           champ(ligne, p.col_time, p.separateur, initial);
  return champ(ligne, p.col_datetime, p.separateur, initial);
}

// Per-file counters.
struct Fichier {
  long long premiere = 0, derniere = 0;
  // How its lines that begin with the separator are cut.
  SeparateurInitial initial = SeparateurInitial::ignore;
  double precedent = 0.0;
  double somme_pas = 0.0, min_pas = kMinimumInitial;
  long long nb_pas = 0;
  int illisibles = 0, conversions = 0, jours = 0, secondes = 0;
  long long dates_illisibles = 0;  // lines of data whose date does not read
  long long assignees = 0;
  int curseur = 1;
};

// The row that the last fast-read lines went to, worked on in local copies:
// lines that follow each other mostly fall in the same row, and the same
// additions in the same order give the same values in a local copy as in
// the grid. Given back to the grid before anything else reads or changes it.
struct RangeeEnCours {
  int k = -1;
  int nv = 0;
  std::array<long double, 64> valeurs{};
  std::array<std::int32_t, 64> comptes{};
  std::array<bool, 64> na{};
  long double nb = 0;

  void prendre(GrilleResultats& g, int rang) {
    k = rang;
    nv = std::min(64, g.c - 2);
    for (int x = 0; x < nv; ++x) {
      const Cellule& cell = g.cellule(k, x + 2);
      valeurs[static_cast<std::size_t>(x)] = cell.valeur;
      na[static_cast<std::size_t>(x)] = cell.na;
      comptes[static_cast<std::size_t>(x)] = g.compte(k, x + 2);
    }
    nb = g.cellule(k, g.c).valeur;
  }
  void rendre(GrilleResultats& g) {
    if (k < 0) return;
    for (int x = 0; x < nv; ++x) {
      Cellule& cell = g.cellule(k, x + 2);
      cell.valeur = valeurs[static_cast<std::size_t>(x)];
      cell.na = na[static_cast<std::size_t>(x)];
      g.compte(k, x + 2) = comptes[static_cast<std::size_t>(x)];
    }
    g.cellule(k, g.c).valeur = nb;
    k = -1;
  }
};

class Moteur {
 public:
  Moteur(ContexteMoteur& s, const ParametresMoteur& pm) : s_(s), pm_(pm), g_(s.grille) {}
  IssueMoteur executer();

 private:
  bool preparer();
  void creer_grille(int v);
  bool colonnes_de_reference();
  IssueMoteur traiter_fichier(int ligne_table, bool reference);
  // The first and last dates of a file: the normalised texts and their values.
  struct DatesExtremes {
    std::string textes[2];
    std::optional<double> valeurs[2];
  };
  std::string annoncer_fichier(int i);
  bool charger(const std::string& chemin);
  long long bornes_donnees(Fichier& f) const;
  bool premiere_ligne_acceptee(int i, const std::string& chemin, const std::string& l1);
  bool lire_dates_extremes(const Fichier& f, DatesExtremes& dates);
  void ecrire_faits_du_debut(int i, const Fichier& f, const DatesExtremes& dates, bool reference,
                             long long decalage, const std::string& l1);
  void lire_toutes_les_lignes(int i, Fichier& f, long long decalage, const std::string& nom);
  void traiter_ligne(long long j, std::string_view ligne, Fichier& f);
  void traiter_ligne_lue(long long j, std::string_view ligne, double t, const long double* valeurs,
                         std::uint64_t manquants, Fichier& f);
  template <class TexteDate, class Valeur>
  void placer(long long j, double t, Fichier& f, TexteDate&& texte_date_normalisee,
              Valeur&& valeur);
  // Column c of a line from its source field's text.
  void chaine_valeur(std::string x, int c, int k, long long j, Fichier& f);
  void accumuler(int k, int c, bool na, long double v);
  void accumuler_ligne(int k, const long double* valeurs, std::uint64_t manquants);
  bool parcourir_lignes(int i, Fichier& f);
  bool parcourir_blocs(int i, Fichier& f);
  bool placer_bloc_entier(const LignesLues& l, const PlacementBloc& p, Fichier& f);
  void compter_pas(Fichier& f, double t);
  void avancer(int i, long pourcentage);
  PlanLecture plan() const;
  void fin_fichier(int i, Fichier& f, Chrono::time_point debut);
  void finaliser();
  void combler_trous_simples();
  void progression(const std::string& texte) { s_.avancement.progression(texte, 3); }

  ContexteMoteur& s_;
  ParametresMoteur pm_;
  GrilleResultats& g_;
  Parametres p_;
  Cadence cadence_;
  Chrono::time_point debut_run_ = Chrono::now();
  double ko_total_ = 0.0, ko_traites_ = 0.0;
  long long lignes_run_ = 0;
  bool annee_courte_ = false;  // the date format reads a two-digit year
  RangeeEnCours rangee_;
  PlanPlacement placement_;  // how lines find their row, and whether workers place them
  ChampsLigne champs_;       // the fields of the line being placed step by step
};

bool Moteur::preparer() {
  const Description& d = s_.description;
  p_.methode = d.methode;
  p_.inf_strict = s_.periode.test_date == TestDate::inf_strict;
  p_.unite_calendaire = s_.periode.unite != UnitePas::heure;
  p_.pas = std::fabs(valeur_pas(s_.periode));
  // Only the first seven missing-data texts count.
  const std::string& eq = d.equiv_na;
  std::size_t debut = 0;
  for (int k = 0; k < 7; ++k) {
    const std::size_t fin = eq.find(';', debut);
    p_.equivalents_na.push_back(
        trim(eq.substr(debut, fin == std::string::npos ? fin : fin - debut)));
    if (fin == std::string::npos) break;
    debut = fin + 1;
  }
  p_.seuil_bas = !d.min_na.empty();
  p_.seuil_haut = !d.max_na.empty();
  p_.bas = texte_en_reel(d.min_na);
  p_.haut = texte_en_reel(d.max_na);
  p_.correction.decalage = pm_.decalage;
  if (d.derive_active) {
    p_.correction.derive_delta = pm_.derive;
    p_.correction.d0 = d.debut_derive;
    p_.correction.d1 = d.constat_derive;
    p_.correction.derive = p_.correction.d1 != p_.correction.d0;
  }
  switch (d.separateur_colonne) {
    case SeparateurColonne::tabulation:  // tabulations are read as ";"
    case SeparateurColonne::point_virgule:
      p_.separateur = ';';
      break;
    case SeparateurColonne::espace:
      p_.separateur = ' ';
      break;
    case SeparateurColonne::virgule:
      p_.separateur = ',';
      break;
  }
  p_.deux_colonnes = d.datetime_nb_col == ColonnesDate::deux;
  p_.col_datetime = entier_ou(d.num_col_datetime, 1);
  p_.col_date = entier_ou(d.num_col_date, 1);
  p_.col_time = entier_ou(d.num_col_time, 2);
  p_.format = p_.deux_colonnes
                  ? trim(d.format_date_mesure_seule) + " " + trim(d.format_time_mesure_seul)
                  : trim(d.format_datetime_mesure);
  p_.ligne_intitules =
      d.avec_sans_intitule == Intitules::sans ? -1 : entier_ou(d.num_ligne_intitule_col, 0) - 1;
  p_.car_null = d.car_null;
  p_.balises = d.numlig_balise == DebutDonnees::balises;
  p_.plus_un_jour = d.correction_si_t1supt2;
  p_.plus_une_seconde = d.correction_si_t1egalt2;
  p_.separateur_decimal = s_.separateur_decimal;
  return true;
}

void Moteur::creer_grille(int v) {
  const ListeHorodatee& l = s_.liste_horodatee;
  const int n = l.n;
  g_.creer(n, v);
  for (int r = 1; r <= n; ++r) {
    g_.temps[static_cast<std::size_t>(r)] = static_cast<std::size_t>(r) < l.valeurs.size()
                                                ? l.valeurs[static_cast<std::size_t>(r)]
                                                : 0.0;
    if (r % 100 == 0 && cadence_.echue())
      progression("3- patienter ... " + std::to_string(10 + std::lround(40.0 * r / n)) + "%     ");
  }
}

// The output columns, set up on the reference file.
bool Moteur::colonnes_de_reference() {
  const Description& d = s_.description;
  const int v = g_.v();
  const int nb_dt = p_.deux_colonnes ? 2 : 1;
  std::vector<int> sources;
  if (d.col_cochee) {
    std::string liste = d.col_cochee_liste;
    remplacer_caractere(';', ',', liste);
    const ChampsLigne numeros(liste, ',');
    const int nb = compter_caractere(',', liste) + 1;
    for (int k = 1; k <= nb; ++k)
      sources.push_back(static_cast<int>(lire_entier(numeros(k)).value_or(0)));
  } else {
    for (int col = 1; col <= v + nb_dt; ++col) {
      if (p_.deux_colonnes ? (col == p_.col_date || col == p_.col_time) : col == p_.col_datetime)
        continue;
      sources.push_back(col);
    }
    sources.resize(static_cast<std::size_t>(std::max(0, v)));
  }
  const int c = static_cast<int>(sources.size()) + 2;
  // Listed columns the files do not have (or more than the grid can hold)
  // stop the run before anything is read.
  std::string absentes;
  for (int src : sources)
    if (src < 1 || src > v + nb_dt) absentes += (absentes.empty() ? "" : ",") + std::to_string(src);
  if (c > v + 4 || v <= 0 || !absentes.empty()) {
    std::string liste;
    for (int src : sources) liste += (liste.empty() ? "" : ",") + std::to_string(src);
    s_.port.informer(
        TypeMessage::erreur,
        " colonnes à extraire <" + liste + "> : les fichiers n'ont que " +
            std::to_string(v + nb_dt) + " colonnes (dont " + std::to_string(v) + " de valeurs)" +
            (absentes.empty() ? std::string{} : "\n\n colonnes absentes : " + absentes) +
            "\n\n vérifier la liste des colonnes à extraire");
    return false;
  }
  g_.fixer_colonnes(c);
  g_.sources[1] = p_.deux_colonnes ? p_.col_date : p_.col_datetime;
  if (p_.deux_colonnes) g_.sources[2] = p_.col_time;
  for (int k = 2; k <= c - 1; ++k)
    g_.sources[static_cast<std::size_t>(k)] = sources[static_cast<std::size_t>(k - 2)];
  s_.etiquettes["Label5"] = std::to_string(c) + " colonnes (avec temps et nb)";
  const auto titres = titres_colonnes(s_.description, s_.periode, s_.intitule_origine,
                                      s_.etat_traitement.station_reference, g_, pm_);
  for (int k = 1; k <= c; ++k)
    g_.titres[static_cast<std::size_t>(k)] = titres[static_cast<std::size_t>(k - 1)];
  s_.journal.ajouter_ligne_suivi("");
  s_.journal.ajouter_ligne_suivi(" colonnes à extraire :");
  for (int k = 1; k <= c; ++k)
    s_.journal.ajouter_ligne_suivi(std::to_string(k) + "=>" +
                                   g_.titres[static_cast<std::size_t>(k)]);
  return true;
}

IssueMoteur Moteur::executer() {
  ContexteMoteur& s = s_;
  const Description& d = s.description;
  TableFichiers& t = s.table;
  Interaction& port = s.port;
  EtatTraitement& et = s.etat_traitement;
  et = EtatTraitement{};
  et.parametres = pm_;
  et.methode = d.methode;
  g_.vider();

  if (s.liste_horodatee.n <= 0) {
    s.journal.ajouter_ligne_suivi("!!! : ListBox_date_clean.Items.Count= 0");
    return IssueMoteur::sans_liste;
  }
  s.avancement.demarrer_phase(3);
  progression("3- patienter ... 0%   ");
  preparer();
  // The grid of the listing's columns: weighed again, with the memory the
  // list already took out of what is available.
  const int v = std::max(0, s.etat_listage.nb_colonnes_valeurs);
  if (!s.liste_horodatee.memoire_forcee &&
      accord_memoire(s.port, octets_grille(s.liste_horodatee.n, v), s.liste_horodatee.n - 1, v,
                     s.lecture.memoire_max) == AccordMemoire::refusee) {
    s.journal.ajouter_ligne_suivi("!!! : mémoire insuffisante pour la grille des résultats");
    return IssueMoteur::abandonne;
  }
  creer_grille(v);
  placement_ =
      construire_plan_placement(g_.temps, g_.n(), p_.inf_strict, p_.unite_calendaire, p_.correction,
                                p_.plus_un_jour, p_.plus_une_seconde, p_.methode);
  preparer_lecteur_dates_traitement(s.lecteur_dates);

  int reference = 0;
  for (int r = 1; r < t.nb_lignes(); ++r) {
    for (const char* titre :
         {"date dep", "date fin", "n.données", "n.extraites", "pas moyen observé",
          "durée de traitement", "correction", "nb Colonnes", "n°Lig intitulés"})
      t.ecrire_cellule(r, titre, " ---", port);
    if (reference == 0 && t.est_marquee(r)) reference = r;
  }
  const bool marques = reference != 0;
  if (!marques) reference = 1;
  for (int r = 1; r <= t.nb_fichiers(); ++r)
    if (!marques || t.est_marquee(r)) et.lignes_traitees.push_back(r);
  et.ligne_reference = reference;
  et.station_reference = t.lire_cellule(reference, "Station", port);

  // A stop asked while the list or the grid was made is kept: it ends the run
  // after its first file.
  progression("3- patienter ... 7%   ");
  ko_total_ = s.etat_listage.taille_totale_ko;
  progression("3- patienter ... 10%   ");
  progression("3- patienter ... 50%    ");
  et.liste_partielle = marques || t.liste_partielle;
  if (et.liste_partielle) {
    s.journal.ajouter_ligne_suivi("");
    s.journal.ajouter_ligne_suivi("  Liste partielle");
  }

  for (int i : et.lignes_traitees) {
    const IssueMoteur issue = traiter_fichier(i, i == reference);
    if (issue != IssueMoteur::termine) return issue;
    ++et.fichiers_lus;
    if (s.avancement.arret_demande()) {
      et.arrete = true;
      break;
    }
  }

  // A stopped run keeps the rows read so far: the stop is cleared before the
  // finalisation.
  s.avancement.effacer_arret();
  finaliser();
  post_traiter(s.description, s.periode, g_, s.journal, s.avancement);
  s.etiquettes["Label_nb_fic"] = compte_fichiers(t.nb_lignes() - 1, "  ");
  s.etiquettes["Label_date_heure_min"] = texte_date_heure_complet(et.date_min.value_or(0.0));
  s.etiquettes["Label_date_heure_max"] = texte_date_heure_complet(et.date_max.value_or(0.0));
  return IssueMoteur::termine;
}

IssueMoteur Moteur::traiter_fichier(int i, bool reference) {
  Fichier f;
  const auto debut = Chrono::now();
  const std::string nom = annoncer_fichier(i);
  const std::string chemin = chemin_fichier_ligne(
      s_.table, i, s_.source, s_.description.dossier_choisi, s_.repertoire_programme);
  if (!charger(chemin)) return IssueMoteur::echec;
  s_.table.ecrire_cellule(
      i, "n°Lig intitulés",
      p_.ligne_intitules >= 1 ? " " + std::to_string(p_.ligne_intitules + 1) : " -", s_.port);
  const long long decalage = bornes_donnees(f);
  // The reference line: the title line, or the first data line without titles.
  f.initial = separateur_initial(
      s_.fichier_charge.ligne(p_.ligne_intitules >= 0 ? p_.ligne_intitules + decalage : f.premiere),
      p_.separateur);
  const std::string l1 = s_.fichier_charge.ligne(f.premiere);
  if (!premiere_ligne_acceptee(i, chemin, l1)) return IssueMoteur::abandonne;
  DatesExtremes dates;
  if (!lire_dates_extremes(f, dates)) return IssueMoteur::abandonne;
  ecrire_faits_du_debut(i, f, dates, reference, decalage, l1);
  if (reference) {
    if (!colonnes_de_reference()) return IssueMoteur::echec;
    s_.etat_traitement.date_min = dates.valeurs[0];
    s_.etat_traitement.date_max = dates.valeurs[1];
  }
  lire_toutes_les_lignes(i, f, decalage, nom);
  s_.avancement.arret_demande();
  fin_fichier(i, f, debut);
  return IssueMoteur::termine;
}

// The log's heading of a file and its share of the size processed; its name.
std::string Moteur::annoncer_fichier(int i) {
  TableFichiers& t = s_.table;
  const std::string nom = t.cellule(1, i);
  s_.journal.ajouter_ligne_suivi("");
  s_.journal.ajouter_ligne_suivi("  " + std::to_string(i) + " <---------------" + nom_lisible(nom) +
                                 "  " + t.lire_cellule(i, "Station", s_.port));
  s_.etiquettes["Label_fic"] = std::to_string(i) + "  " + nom;
  ko_traites_ +=
      std::round(1000.0 * texte_en_reel(trim(t.lire_cellule(i, "taille (Mo)", s_.port))));
  return nom;
}

// The fast path counts the lines as it reads them: a big file is not
// counted beforehand.
bool Moteur::charger(const std::string& chemin) {
  const Description& d = s_.description;
  return charger_fichier_donnees(
      s_.fichier_charge, s_.apercu, chemin,
      regles_chargement(d, s_.source, s_.repertoire_programme, s_.lecture.taille_bloc),
      !s_.lecture.reference && d.numlig_balise == DebutDonnees::numero_ligne, s_.port, s_.journal);
}

// The first and last data lines, by line number or between the tags; the
// start tag's line index (0 without tags).
long long Moteur::bornes_donnees(Fichier& f) const {
  const Description& d = s_.description;
  const FichierCharge& fc = s_.fichier_charge;
  long long decalage = 0;
  if (d.numlig_balise == DebutDonnees::numero_ligne) {
    f.premiere = entier_ou(d.num_ligne_donnee, 1) - 1;
    f.derniere = fc.complet ? std::max<long long>(fc.derniere_non_vide, 1) : -1;
  } else {
    const long long balise = fc.premiere_ligne_contenant(utf8_vers_cp1252(d.balise_deb));
    decalage = balise < 0 ? fc.nb_lignes : balise;
    f.premiere = entier_ou(d.num_ligne_donnee, 1) - 1 + decalage;
    const long long fin = fc.derniere_ligne_contenant(utf8_vers_cp1252(d.balise_fin));
    f.derniere = (fin >= 1 ? fin : 1) - 1;
  }
  if (f.premiere < 0) f.premiere = 0;
  return decalage;
}

// A first data line made of more letters than digits looks like titles: the
// user may cancel the run (false).
bool Moteur::premiere_ligne_acceptee(int i, const std::string& chemin, const std::string& l1) {
  const int lettres = compter_lettres(l1), chiffres = compter_numeriques(l1);
  if (lettres <= chiffres) return true;
  const std::string q = "fichier " + std::to_string(i) + "\n" + chemin + "\n\n" +
                        " il semble que la 1ère ligne de données soit une description de "
                        "colonnes " +
                        "\n" + "<" + cp1252_vers_utf8(citation(l1)) + ">" + "\n" +
                        " nb chiffres    = " + std::to_string(chiffres) + "\n" +
                        " nb de lettrres = " + std::to_string(lettres) + "\n\n" +
                        " Annuler ce traitement ?";
  if (s_.port.demander(TypeMessage::avertissement, q, Boutons::oui_non) == Reponse::oui)
    return false;
  s_.table.ecrire_cellule(i, "n°Lig intitulés", " ? ", s_.port);
  return true;
}

// The dates of the first and last data lines; a date read with "//" (a
// wrong date column) lets the user cancel the run (false).
bool Moteur::lire_dates_extremes(const Fichier& f, DatesExtremes& dates) {
  const FichierCharge& fc = s_.fichier_charge;
  const long long lignes_dates[2] = {f.premiere, f.derniere};
  for (int k = 0; k < 2; ++k) {
    const std::string ligne_date =
        k == 1 && !fc.complet ? fc.texte_derniere_non_vide : fc.ligne(lignes_dates[k]);
    dates.textes[k] = normaliser_date_mesure(texte_date(p_, f.initial, ligne_date), p_.format,
                                             s_.lecteur_dates, s_.journal);
    dates.valeurs[k] = texte_en_date(dates.textes[k], nullptr, s_.journal);
    if (contient(dates.textes[k], "//") &&
        s_.port.demander(TypeMessage::avertissement,
                         "Problème de date : vérifier le n° de la colonne Date \n\n Annuler ce "
                         "traitement ?",
                         Boutons::oui_non) == Reponse::oui)
      return false;
  }
  return true;
}

// The file-table cells known before the lines are read, and the run's
// earliest and latest dates.
void Moteur::ecrire_faits_du_debut(int i, const Fichier& f, const DatesExtremes& dates,
                                   bool reference, long long decalage, const std::string& l1) {
  TableFichiers& t = s_.table;
  EtatTraitement& et = s_.etat_traitement;
  const auto& v = dates.valeurs;
  t.ecrire_cellule(i, "date dep", dates.textes[0].empty() ? "    ????" : dates.textes[0], s_.port);
  t.ecrire_cellule(i, "date fin", dates.textes[1].empty() ? "    ????" : dates.textes[1], s_.port);
  // A last date missing, or not after the first, asks for a correction.
  if (!v[1] || (v[0] && *v[1] <= *v[0])) t.ecrire_cellule(i, "correction", "à faire", s_.port);
  if (reference || !et.date_min || (v[0] && *v[0] < *et.date_min)) et.date_min = v[0];
  if (reference || (v[1] && (!et.date_max || *v[1] > *et.date_max))) et.date_max = v[1];
  const FichierCharge& fc = s_.fichier_charge;
  if (fc.complet)
    s_.etiquettes["Label26"] = format_milliers(std::max(0LL, fc.nb_lignes - f.premiere - decalage));
  std::string l1_colonnes = l1;
  if (p_.separateur == ' ') l1_colonnes = reduire_espaces(l1_colonnes);
  t.ecrire_cellule(i, "nb Colonnes",
                   " " + std::to_string(compter_separateurs(l1_colonnes, p_.separateur) + 1),
                   s_.port);
}

// Every line of the file, by the fast path or step by step; then the count
// of a file counted while read, and a file not read to its end.
void Moteur::lire_toutes_les_lignes(int i, Fichier& f, long long decalage, const std::string& nom) {
  const bool compte_en_lisant = !s_.fichier_charge.complet;
  // Only the first unreadable dates of a file are written to the log; the
  // others are counted.
  s_.lecteur_dates.erreurs_a_journaliser = kDatesIllisiblesJournalisees;
  const bool suite = s_.lecture.reference ? parcourir_lignes(i, f) : parcourir_blocs(i, f);
  s_.lecteur_dates.erreurs_a_journaliser = -1;
  const FichierCharge& lu = s_.fichier_charge;
  if (compte_en_lisant) {
    // Counted now: the lines to process and the last line of data.
    s_.etiquettes["Label26"] = format_milliers(std::max(0LL, lu.nb_lignes - f.premiere - decalage));
    f.derniere = std::max<long long>(lu.derniere_non_vide, 1);
  }
  if (!suite) {
    s_.journal.ajouter_ligne_suivi("erreur de lecture : " +
                                   (lu.origine.empty() ? lu.chemin : lu.origine));
    s_.etat_traitement.fichiers_incomplets.push_back(nom);
  }
}

void Moteur::avancer(int i, long pourcentage) {
  progression("3- patienter ... fic-" + std::to_string(i) + "  " + std::to_string(pourcentage) +
              "%     ");
}

// The straightforward path: every line through the step-by-step chain.
bool Moteur::parcourir_lignes(int i, Fichier& f) {
  const long long pas_progression = f.derniere / 20;
  long long lues = 0;
  return s_.fichier_charge.parcourir([&](long long j, std::string_view ligne) {
    if (j < f.premiere) return true;
    traiter_ligne(j, ligne, f);
    ++lues;
    if (pas_progression > 0 && lues % pas_progression == 0 && cadence_.echue()) {
      const long long etendue = std::max(1LL, f.derniere - f.premiere + 1);
      avancer(i, std::lround(100.0 * static_cast<double>(lues) / static_cast<double>(etendue)));
    }
    if ((lues & 1023) == 0 && cadence_.echue() && s_.avancement.arret_demande()) return false;
    return true;
  });
}

PlanLecture Moteur::plan() const {
  std::vector<int> colonnes;
  for (int c = 2; c <= g_.c - 1; ++c) colonnes.push_back(g_.sources[static_cast<std::size_t>(c)]);
  const bool multiformat = contient(p_.format, "multiformat") || contient(p_.format, "OU");
  return construire_plan(s_.lecteur_dates, multiformat, p_.separateur, p_.deux_colonnes,
                         p_.col_datetime, p_.col_date, p_.col_time, std::move(colonnes),
                         p_.equivalents_na, p_.seuil_bas, p_.bas, p_.seuil_haut, p_.haut,
                         p_.separateur_decimal);
}

namespace {

// A block as the workers give it: its lines read, then placed.
struct AnalyseBloc {
  LignesLues lues;
  PlacementBloc placement;
};

}  // namespace

// The fast path: worker threads cut the file into blocks of lines, read the
// plain lines and add up the rows of each block. This thread takes the
// blocks in file order: a block its worker placed whole gives its rows to
// the grid; any other block has its lines placed here one by one. Either
// way the cells are added up exactly as the step-by-step chain adds them.
bool Moteur::parcourir_blocs(int i, Fichier& f) {
  const FichierCharge& fc = s_.fichier_charge;
  PlanLecture plan_lecture = plan();
  plan_lecture.initial = f.initial;
  annee_courte_ = plan_lecture.annee_courte;
  const std::size_t nv = plan_lecture.colonnes.size();
  FichierEnBlocs fichier(fc.chemin, fc.nettoyage, s_.lecture.taille_bloc);
  if (!fichier.ouvert()) return false;
  // A file cut short since it was loaded is read to its new end, and said so.
  const bool raccourci = fichier.taille() < fc.taille;
  const int fils = fils_de_lecture(s_.lecture.fils);
  FileDeBlocs<AnalyseBloc> file(
      fichier,
      [&plan_lecture, this, nv](const BlocLignes& b, AnalyseBloc& a) {
        lire_lignes_rapides(plan_lecture, b.texte.data(), b.debuts, b.longueurs, a.lues);
        placer_bloc(placement_, a.lues, nv, a.placement);
      },
      fils > 1 ? fils : 0, 2 * fils + 2);
  long long j = 0, derniere_non_vide = -1;
  std::uint64_t blocs = 0;
  bool lisible = true, jusqu_au_bout = true;
  while (auto* e = file.suivant()) {
    const BlocLignes& b = e->bloc;
    const LignesLues& a = e->analyse.lues;
    if (b.erreur) {
      lisible = false;
      break;
    }
    ++blocs;
    const bool entier = j >= f.premiere && e->analyse.placement.complet &&
                        placer_bloc_entier(a, e->analyse.placement, f);
    if (entier) {
      for (std::size_t x = b.debuts.size(); x-- > 0;)
        if (!a.blanches[x]) {
          derniere_non_vide = j + static_cast<long long>(x);
          break;
        }
      j += static_cast<long long>(b.debuts.size());
    }
    std::size_t r = 0;  // index among the lines read by the fast reader
    for (std::size_t x = 0; x < b.debuts.size() && !entier; ++x, ++j) {
      const StatutLigne statut = a.statuts[x];
      if (!a.blanches[x]) derniere_non_vide = j;
      if (j < f.premiere) {
        if (statut == StatutLigne::rapide) ++r;
        continue;
      }
      const std::string_view ligne(b.texte.data() + b.debuts[x], b.longueurs[x]);
      switch (statut) {
        case StatutLigne::vide:
          break;
        case StatutLigne::reference:
          traiter_ligne(j, ligne, f);
          break;
        case StatutLigne::rapide:
          traiter_ligne_lue(j, ligne, a.temps[r], a.valeurs.data() + r * nv, a.manquants[r], f);
          ++r;
          break;
      }
    }
    if (cadence_.echue()) {
      avancer(i, std::lround(100.0 * static_cast<double>(blocs) /
                             static_cast<double>(std::max<std::uint64_t>(1, fichier.nb_blocs()))));
      if (s_.avancement.arret_demande()) {
        jusqu_au_bout = false;
        break;
      }
    }
  }
  file.arreter();
  rangee_.rendre(g_);
  if (!s_.fichier_charge.complet) {
    // The count of a file loaded without it: the lines seen.
    FichierCharge& lu = s_.fichier_charge;
    lu.nb_lignes = j;
    lu.derniere_non_vide = derniere_non_vide;
    lu.complet = lisible && jusqu_au_bout;
  }
  return lisible && !raccourci;
}

// A block its worker placed whole: its rows go to the grid when the block
// follows the previous one as placing its lines one by one would. Its first
// time must need no correction, and of its rows only the first may already
// hold lines (it then takes the block's lines once more, one by one). False,
// with nothing changed, when the block must be placed line by line.
bool Moteur::placer_bloc_entier(const LignesLues& l, const PlacementBloc& p, Fichier& f) {
  if (l.temps.empty()) return true;
  const double t0 = l.temps[0];
  if ((t0 < f.precedent && p_.plus_un_jour) || (t0 == f.precedent && p_.plus_une_seconde))
    return false;
  rangee_.rendre(g_);
  for (std::size_t x = 1; x < p.k.size(); ++x)
    if (g_.nb_lignes_ligne(p.k[x]) != 0) return false;

  for (std::size_t r = 0; r < l.temps.size(); ++r) {
    compter_pas(f, l.temps[r]);
    f.precedent = l.temps[r];
    if (p.rangees[r] != 0) {
      ++f.assignees;
      ++lignes_run_;
    }
  }
  if (!annee_courte_) s_.lecteur_dates.nb_dates_inversees_suite = 0;
  if (p.k.empty()) return true;
  f.curseur = p.curseur;
  const std::size_t nv = static_cast<std::size_t>(g_.c - 2);
  std::size_t premiere = 0;
  if (g_.nb_lignes_ligne(p.k[0]) != 0) {
    for (std::size_t r = 0; r < l.temps.size() && p.rangees[r] <= p.k[0]; ++r)
      if (p.rangees[r] == p.k[0])
        accumuler_ligne(p.k[0], l.valeurs.data() + r * nv, l.manquants[r]);
    rangee_.rendre(g_);
    premiere = 1;
  }
  for (std::size_t x = premiere; x < p.k.size(); ++x) {
    const int k = p.k[x];
    for (std::size_t c = 0; c < nv; ++c) {
      Cellule& cell = g_.cellule(k, static_cast<int>(c) + 2);
      cell.valeur = p.valeurs[x * nv + c];
      cell.na = p.na[x * nv + c] != 0;
      g_.compte(k, static_cast<int>(c) + 2) = p.comptes[x * nv + c];
    }
    g_.cellule(k, g_.c).valeur = p.nb[x];
  }
  return true;
}

void Moteur::traiter_ligne(long long j, std::string_view ligne, Fichier& f) {
  // Lines with unreadable characters are counted and skipped.
  bool illisible = false;
  for (char ch : ligne) {
    const auto u = static_cast<unsigned char>(ch);
    if (u == 0 || (p_.car_null && u < 32 && u != 9 && u != 10 && u != 13)) {
      illisible = true;
      break;
    }
  }
  if (illisible) {
    ++f.illisibles;
    if (f.illisibles <= 2)
      s_.journal.ajouter_ligne_suivi("ligne " + std::to_string(j + 1) + " pb " +
                                     cp1252_vers_utf8(ligne.substr(0, 30)));
    else if (f.illisibles == 3)
      s_.journal.ajouter_ligne_suivi("ligne " + std::to_string(j + 1) + " pb etc ......... ");
    return;
  }
  if (ligne.empty()) return;

  const std::string normalise = normaliser_date_mesure(texte_date(p_, f.initial, ligne), p_.format,
                                                       s_.lecteur_dates, s_.journal);
  const double t = normalise.size() == 19 ? lire_date_heure(normalise).value_or(0.0) : 0.0;
  // A line of empty fields (a row of separators after the data) is not a
  // line of data.
  if (t == 0.0 && (!p_.balises || j <= f.derniere) &&
      std::any_of(ligne.begin(), ligne.end(), [this](char c) {
        return c != ' ' && c != '\t' && c != '\r' && c != p_.separateur;
      }))
    ++f.dates_illisibles;
  rangee_.rendre(g_);
  placer(
      j, t, f, [&normalise]() { return normalise; },
      [&](int k) {
        champs_.couper(ligne, p_.separateur, f.initial);
        for (int c = 2; c <= g_.c - 1; ++c)
          chaine_valeur(champs_(g_.sources[static_cast<std::size_t>(c)]), c, k, j, f);
        g_.cellule(k, g_.c).valeur += 1;
      });
}

// A line the fast reader has read: its date was plain, so the date reader
// would only have reset its run of swapped dates (four-digit years only).
void Moteur::traiter_ligne_lue(long long j, std::string_view ligne, double t,
                               const long double* valeurs, std::uint64_t manquants, Fichier& f) {
  if (!annee_courte_) s_.lecteur_dates.nb_dates_inversees_suite = 0;
  placer(
      j, t, f,
      [&]() {
        return normaliser_date_mesure(texte_date(p_, f.initial, ligne), p_.format, s_.lecteur_dates,
                                      s_.journal);
      },
      [&](int k) { accumuler_ligne(k, valeurs, manquants); });
}

// The observed step: the gaps between a file's successive times.
void Moteur::compter_pas(Fichier& f, double t) {
  const double ecart = t - f.precedent;
  if (ecart > 0 && ecart < 6 * p_.pas) {
    f.somme_pas += ecart;
    ++f.nb_pas;
    if (ecart < f.min_pas) f.min_pas = ecart;
  }
}

// The time corrections, the interval and the cells of one line.
template <class TexteDate, class Valeur>
void Moteur::placer(long long j, double t, Fichier& f, TexteDate&& texte_date_normalisee,
                    Valeur&& valeur) {
  compter_pas(f, t);
  if (t < f.precedent && p_.plus_un_jour) {
    t += 1.0;
    if (++f.jours <= 2)
      s_.journal.ajouter_ligne_suivi(std::to_string(j + 1) + " : + 1j à " +
                                     texte_date_normalisee());
  } else if (t == f.precedent && p_.plus_une_seconde) {
    t += kUneSeconde;
    if (++f.secondes <= 2)
      s_.journal.ajouter_ligne_suivi(std::to_string(j + 1) + " : + 1s à " +
                                     texte_date_normalisee());
  }
  f.precedent = t;

  const int k = rangee_du_temps(placement_, p_.correction.corriger(t), f.curseur);
  if (k == 0) return;

  ++f.assignees;
  ++lignes_run_;
  valeur(k);
}

void Moteur::chaine_valeur(std::string x, int c, int k, long long j, Fichier& f) {
  if (hors_seuils(p_, x)) x.clear();
  if (est_na(p_, x)) x.clear();
  if (est_numerique(x))
    adapter_separateur_decimal(x, p_.separateur_decimal);
  else
    x.clear();
  if (!x.empty() && !est_numerique(x)) {
    if (++f.conversions <= 2)
      s_.journal.ajouter_ligne_suivi("pb conversion <" + cp1252_vers_utf8(x) + "> ligne " +
                                     std::to_string(j + 1));
    x.clear();
  }
  if (hors_seuils(p_, x)) x.clear();
  const bool na = est_na(p_, x) || x.empty() || compter_numeriques(x) == 0;
  if (na) {
    accumuler(k, c, true, 0);
    return;
  }
  remplacer_caractere('<', ' ', x);
  remplacer_caractere(p_.separateur_decimal, '.', x);
  accumuler(k, c, false, lire_decimal_strict_long(trim(x)).value_or(0.0L));
}

// The values of a line read by the fast reader, with the same steps as
// accumuler column by column.
void Moteur::accumuler_ligne(int k, const long double* valeurs, std::uint64_t manquants) {
  RangeeEnCours& r = rangee_;
  if (r.k != k) {
    r.rendre(g_);
    r.prendre(g_, k);
  }
  prendre_ligne(p_.methode, valeurs, manquants, static_cast<std::size_t>(r.nv), r.valeurs.data(),
                r.comptes.data(), r.na.data());
  r.nb += 1;
}

// A cell is NA only while no valid value has fallen into it: a missing value
// after a valid one changes nothing, a valid value clears the mark.
void Moteur::accumuler(int k, int c, bool na, long double v) {
  Cellule& cell = g_.cellule(k, c);
  std::int32_t& compte = g_.compte(k, c);
  if (na) {
    if (compte == 0) cell.na = true;
    return;
  }
  cell.na = false;
  cell.valeur = combiner(p_.methode, cell.valeur, v, compte == 0);
  ++compte;
}

void Moteur::fin_fichier(int i, Fichier& f, Chrono::time_point debut) {
  ContexteMoteur& s = s_;
  TableFichiers& t = s.table;
  Interaction& port = s.port;
  EtatTraitement& et = s.etat_traitement;
  et.lignes_extraites = lignes_run_;
  et.dates_illisibles += f.dates_illisibles;
  progression("3- patienter ... fic-" + std::to_string(i) + "  100%      ");
  s.etiquettes["Label_nlig_impliquee"] = format_milliers(lignes_run_) + " lignes extraites";
  t.ecrire_cellule(i, "n.données", format_milliers(f.derniere - f.premiere + 1), port);
  t.ecrire_cellule(i, "correction",
                   f.jours == 0 && f.secondes == 0 ? std::string("---")
                                                   : "+1jour,s " + std::to_string(f.jours) + "/" +
                                                         std::to_string(f.secondes) + "x",
                   port);
  const double duree = std::chrono::duration<double>(Chrono::now() - debut).count() / 86400.0;
  t.ecrire_cellule(i, "durée de traitement", heure_tronquee(duree), port);
  t.ecrire_cellule(i, "n.extraites", std::to_string(f.assignees), port);
  t.ecrire_cellule(i, "pas moyen observé",
                   texte_pas_observe(f.somme_pas, f.nb_pas, f.min_pas, s.separateur_decimal), port);
  progression("3- traitement...  ");
  const double ecoule = std::chrono::duration<double>(Chrono::now() - debut_run_).count() / 86400.0;
  const std::string taille =
      format_deux_decimales((ko_total_ - ko_traites_) / 1000.0, s.separateur_decimal);
  if (ko_traites_ > 0) {
    const double reste = ecoule * ko_total_ / ko_traites_ - ecoule;
    s.etiquettes["Label10"] = heure_tronquee(reste) + " >> " +
                              heure_tronquee(maintenant() + reste) + "    " + taille + " Mo";
  } else {
    s.etiquettes["Label10"] = "reste " + taille + " Mo";
  }
  if (s.avancement.arret_demande()) return;
  progression("3c- patienter ... fic-" + std::to_string(i) + "         ");
  if (f.illisibles > 0) s.journal.ajouter_ligne_suivi("nb_pb = " + std::to_string(f.illisibles));
  if (f.dates_illisibles > 0)
    s.journal.ajouter_ligne_suivi("nb dates illisibles = " + std::to_string(f.dates_illisibles));
  if (f.conversions > 0)
    s.journal.ajouter_ligne_suivi("nb_pb conversion = " + std::to_string(f.conversions));
  if (f.jours > 0) s.journal.ajouter_ligne_suivi("nb (+ 1j) = " + std::to_string(f.jours));
  if (f.secondes > 0) s.journal.ajouter_ligne_suivi("nb (+ 1s) = " + std::to_string(f.secondes));
}

// Method "moy ET si vide = prec+suiv /2": a row that received no line between
// two rows that did gets, in each column, the mean of the two neighbouring
// means; its row count becomes the sum of theirs.
void Moteur::combler_trous_simples() {
  const int n = g_.n(), c = g_.c;
  std::vector<long double> lignes(static_cast<std::size_t>(n + 2), 0);
  for (int r = 1; r <= n; ++r) lignes[static_cast<std::size_t>(r)] = g_.nb_lignes_ligne(r);
  for (int r = 2; r <= n - 1; ++r) {
    const long double avant = lignes[static_cast<std::size_t>(r - 1)];
    const long double apres = lignes[static_cast<std::size_t>(r + 1)];
    if (lignes[static_cast<std::size_t>(r)] != 0 || avant == 0 || apres == 0) continue;
    for (int col = 2; col <= c - 1; ++col) {
      const Cellule& a = g_.cellule(r - 1, col);
      const Cellule& b = g_.cellule(r + 1, col);
      Cellule& x = g_.cellule(r, col);
      if (a.na || b.na || g_.compte(r - 1, col) == 0 || g_.compte(r + 1, col) == 0) {
        x.na = true;
        continue;
      }
      const long double moy_a = a.valeur / g_.compte(r - 1, col);
      const long double moy_b = b.valeur / g_.compte(r + 1, col);
      x.valeur = (moy_a + moy_b) / 2;
      x.na = false;
      g_.compte(r, col) = 1;
    }
    g_.cellule(r, c).valeur = avant + apres;
  }
}

void Moteur::finaliser() {
  progression("3- patienter ... transfert    ");
  if (p_.methode == Methode::moyenne_comblee) combler_trous_simples();
  const int n = g_.n(), c = g_.c;
  for (int r = 1; r <= n; ++r) {
    if ((r & 4095) == 0 && cadence_.echue()) progression("3- patienter ... transfert    ");
    const bool sans_ligne = g_.nb_lignes_ligne(r) == 0;
    for (int col = 2; col <= c - 1; ++col) {
      Cellule& x = g_.cellule(r, col);
      const int cnt = std::max(1, static_cast<int>(g_.compte(r, col)));
      if (sans_ligne) {
        if (r > 1) ++g_.manquants[static_cast<std::size_t>(col)];
        continue;
      }
      if ((p_.methode == Methode::moyenne || p_.methode == Methode::moyenne_comblee) && !x.na)
        x.valeur /= cnt;
      if (p_.methode == Methode::cumul && r > 1 && !x.na && !g_.cellule(r - 1, col).na)
        x.valeur += g_.cellule(r - 1, col).valeur;
    }
  }
}

}  // namespace

int chercher_intervalle(const std::vector<double>& T, int n_temps, double t, bool inf_strict,
                        int& curseur) {
  const int n = n_temps + 1;  // items of the list, placeholder included
  if (n_temps < 1 || t < T[1] || T[static_cast<std::size_t>(n - 1)] < t) return -1;
  const auto dans = [&](int k) {
    const double a = T[static_cast<std::size_t>(k - 1)], b = T[static_cast<std::size_t>(k)];
    return inf_strict ? (a <= t && t < b) : (a < t && t <= b);
  };
  for (int k = std::max(1, curseur); k <= n - 1; ++k)
    if (dans(k)) return curseur = k;
  curseur = 1;
  for (int k = 1; k <= n - 1; ++k)
    if (dans(k)) return curseur = k;
  return -1;
}

namespace {

// A time of day to whole seconds, in days.
double seconde_entiere(double jour) {
  return std::floor((jour - std::floor(jour)) * 86400.0 + 1e-6) / 86400.0;
}

}  // namespace

double decalage_total(const Description& d, int decalage_jours) {
  const double total = decalage_jours + seconde_entiere(d.decalage);
  return d.decalage_negatif ? -total : total;
}

double derive_constatee(const Description& d) {
  return seconde_entiere(d.derive_reelle) - seconde_entiere(d.derive_erronee);
}

std::string legende_methode(Methode methode) {
  static const char* kLegendes[] = {
      "moyenne des n mesures OK", "ponctuel = dernière mesure OK", "max des n  mesures OK ",
      "min des n  mesures OK ",   "moy ET si vide = prec+suiv /2", "cumul"};
  return kLegendes[indice(methode)];
}

std::vector<std::string> titres_colonnes(const Description& d, const Periode& periode,
                                         const std::string& intitule_origine,
                                         const std::string& station, const GrilleResultats& g,
                                         const ParametresMoteur& p) {
  // The tab-separated title line of the listing, or the alternative titles.
  std::string ligne = d.int_col_alternatif && !trim(d.new_desc_colonne).empty() ? d.new_desc_colonne
                                                                                : intitule_origine;
  if (d.separateur_colonne == SeparateurColonne::espace &&
      !(d.int_col_alternatif && !trim(d.new_desc_colonne).empty()))
    ligne = ligne_espaces_vers_separateur(ligne, '\t');
  ligne = intitules_en_tabulations(ligne);
  const ChampsLigne champs(ligne, '\t');
  const auto titre_source = [&champs](int col) { return trim(champs(col)); };

  std::vector<std::string> titres(static_cast<std::size_t>(g.c));
  const bool deux = d.datetime_nb_col == ColonnesDate::deux;
  if (deux) {
    titres[0] = titre_source(g.sources[1]);
  } else {
    std::string decalage;
    if (p.decalage != 0.0)
      decalage = std::string(" decalage=") + (p.decalage > 0 ? "+" : "-") +
                 std::to_string(p.decalage_jours) + "j " + heure_en_texte(d.decalage);
    const std::string test = periode.test_date == TestDate::inf_strict ? " inf srict" : " inf ou =";
    titres[0] = "temps(" + titre_source(g.sources[1]) + decalage + test + ")";
  }
  for (int k = 2; k <= g.c - 1; ++k)
    titres[static_cast<std::size_t>(k - 1)] = titre_source(g.sources[static_cast<std::size_t>(k)]);
  titres[static_cast<std::size_t>(g.c - 1)] =
      "nb(" + std::to_string(g.n() - 1) + ")" + "_methode_(" + legende_methode(d.methode) + ")" +
      (station.empty() ? std::string{} : "_station(" + station + ")");
  return titres;
}

std::string texte_pas_observe(double somme, long long nombre, double minimum, char sep) {
  if (nombre <= 0) return " ---";
  const double moyenne = somme / static_cast<double>(nombre) * 86400.0;
  const std::string texte_min = minimum == kMinimumInitial || minimum <= 0
                                    ? std::string(" ---")
                                    : " " + format_decimales(minimum * 86400.0, 1, sep) + " s";
  if (moyenne <= 900)
    return " " + ("  " + format_decimales(moyenne, 1, sep) + " s") + " /" + texte_min;
  const double jours = somme / static_cast<double>(nombre) + (moyenne > 30 ? kUneSeconde / 2 : 0.0);
  return " " + heure_tronquee(jours) + " /" + texte_min;
}

IssueMoteur executer_moteur(ContexteMoteur& s, const ParametresMoteur& p) {
  Moteur m(s, p);
  return m.executer();
}

}  // namespace tamso
