// The fast reading of data files (blocks of lines read ahead by worker
// threads, plain lines read without the step-by-step chain) must give
// exactly what the step-by-step chain gives: the same results lines, the
// same tracking log, the same file table and the same grid, bit for bit.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/listing.h"
#include "app/run.h"
#include "app/save.h"
#include "app/session.h"
#include "app/timestamp_commands.h"
#include "input/dates.h"
#include "input/line_blocks.h"
#include "input/text.h"
#include "processing/engine.h"
#include "processing/fast_lines.h"
#include "results/results_writer.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

using test::InteractionScriptee;

// ---------------------------------------------------------------- generated files

// How a logger writes its lines.
struct Disposition {
  char separateur = ';';
  char marque = ',';               // decimal mark of the values
  bool deux_colonnes = false;      // date and time in two fields
  bool t_entre = false;            // "2021-11-07T10:07:00"
  bool espaces_multiples = false;  // runs of spaces between fields
  bool jour_d_abord = false;       // "07/11/2021" rather than "2021-11-07"
  bool annee_courte = false;       // "21" rather than "2021"
  bool horloge_reculee = false;    // its clock goes back minutes rather than a day
  bool sans_zeros = false;         // "7/11/2021 9:5:0": fields not zero-padded
  bool guillemets = false;         // every field between quotes, titles holding the separator
  // A separator at the head of the lines: 1 of the data lines only (their
  // first field, titled "N", is empty), 2 of every line, titles included.
  int en_tete = 0;
  int nb_valeurs = 6;
};

// 2021-11-07 10:00:00: the first timestamp of every period below. Worked
// out at its first use: the date encoder's own constants are set up when
// the program starts, in an order between files that is not known.
double origine() {
  static const double o = *encoder_date(2021, 11, 7, 10, 0, 0);
  return o;
}

double instant(long long secondes) {
  return origine() + static_cast<double>(secondes) / 86400.0;
}

// The date fields of an instant (one, or the date and the time), in the
// disposition's order or, `inverse`, in the other one.
std::vector<std::string> champs_date(long long secondes, const Disposition& d,
                                     bool inverse = false) {
  const ChampsDate c = decoder_date(instant(secondes));
  char annee[8], jour[32], heure[32];
  std::snprintf(annee, sizeof annee, d.annee_courte ? "%02d" : "%04d",
                d.annee_courte ? c.annee % 100 : c.annee);
  if (d.jour_d_abord != inverse)
    std::snprintf(jour, sizeof jour, d.sans_zeros ? "%d/%d/%s" : "%02d/%02d/%s", c.jour, c.mois,
                  annee);
  else
    std::snprintf(jour, sizeof jour, d.sans_zeros ? "%s-%d-%d" : "%s-%02d-%02d", annee, c.mois,
                  c.jour);
  std::snprintf(heure, sizeof heure, d.sans_zeros ? "%d:%d:%d" : "%02d:%02d:%02d", c.heure,
                c.minute, c.seconde);
  if (d.deux_colonnes) return {jour, heure};
  return {std::string(jour) + (d.t_entre ? "T" : " ") + heure};
}

class Generateur {
 public:
  Generateur(unsigned graine, Disposition d) : g_(graine), d_(d) {}

  int de(int n) { return static_cast<int>(g_() % static_cast<unsigned>(n)); }

  // A measurement like 12,345 or -1013,2.
  std::string valeur() {
    std::string r = de(10) == 0 ? "-" : "";
    r += std::to_string(de(2000));
    const int decimales = de(4);
    if (decimales > 0) {
      r += d_.marque;
      for (int k = 0; k < decimales; ++k) r += static_cast<char>('0' + de(10));
    }
    return r;
  }

  // Values of a plain line, now and then a missing one.
  std::vector<std::string> valeurs(bool manquantes = true) {
    std::vector<std::string> v;
    for (int k = 0; k < d_.nb_valeurs; ++k) {
      const int x = manquantes ? de(100) : 99;
      v.push_back(x < 3 ? "-99999" : x < 6 ? "" : x < 8 ? "NA" : valeur());
    }
    return v;
  }

  std::string joindre(const std::vector<std::string>& champs, bool espaces_multiples = true) {
    std::string r;
    for (std::size_t i = 0; i < champs.size(); ++i) {
      if (i > 0) {
        r += d_.separateur;
        if (espaces_multiples && d_.espaces_multiples)
          r += std::string(static_cast<std::size_t>(de(4)), ' ');
      }
      r += d_.guillemets ? "\"" + champs[i] + "\"" : champs[i];
    }
    if (espaces_multiples && d_.espaces_multiples && de(3) == 0)
      r = std::string(static_cast<std::size_t>(1 + de(3)), ' ') + r;
    return r;
  }

  // A data line of these fields, behind the disposition's leading separator.
  std::string ligne(const std::vector<std::string>& champs) {
    return (d_.en_tete > 0 ? std::string(1, d_.separateur) : std::string()) + joindre(champs);
  }

  std::string ligne_simple(long long t, bool manquantes = true) {
    auto champs = champs_date(t, d_);
    for (auto& v : valeurs(manquantes)) champs.push_back(v);
    return ligne(champs);
  }

  // The title of value column k: quoted titles hold the separator.
  std::string titre_valeur(int k) const {
    const std::string t = "T" + std::string(1, static_cast<char>('A' + k));
    return d_.guillemets ? t + d_.separateur + " u" : t;
  }

  std::string titre() {
    std::vector<std::string> t = {"Date"};
    if (d_.deux_colonnes) t.push_back("Heure");
    for (int k = 0; k < d_.nb_valeurs; ++k) t.push_back(titre_valeur(k));
    // The listing takes a title line spaced out like the data for numbers.
    const std::string l = joindre(t, false);
    if (d_.en_tete == 1) return "N" + std::string(1, d_.separateur) + l;
    return d_.en_tete == 2 ? d_.separateur + l : l;
  }

  // A line whose quotes put the field reader's rules to work.
  std::string ligne_guillemets(long long& t) {
    t += 55 + de(11);
    const char s = d_.separateur;
    auto champs = champs_date(t, d_);
    for (auto& x : champs) x = "\"" + x + "\"";
    for (auto& v : valeurs(false)) champs.push_back("\"" + v + "\"");
    auto& x = champs[champs.size() - 1 - static_cast<std::size_t>(de(d_.nb_valeurs))];
    const std::string v = valeur();
    switch (de(9)) {
      case 0:  // a doubled quote inside
        x = "\"1\"\"" + v + "\"";
        break;
      case 1:  // text after the closing quote
        x = "\"" + v + "\"" + std::to_string(de(10));
        break;
      case 2:  // an unclosed quote: the rest of the line is its text
        x = "\"" + v;
        break;
      case 3:  // the separator inside: with decimal commas and commas, a number
        x = "\"1" + std::string(1, s) + std::to_string(de(100)) + "\"";
        break;
      case 4:  // quoted empty and missing-data fields
        x = de(2) ? "\"\"" : "\"NA\"";
        champs.back() = "\"-99999\"";
        break;
      case 5:  // spaces around and inside the quotes
        x = "  \" " + v + " \" ";
        break;
      case 6:  // the date with text after its closing quote, or unquoted
        champs[0] = de(2) ? champs[0] + " " : champs[0].substr(1, champs[0].size() - 2);
        break;
      case 7:  // a quote inside a field, not at its start
        x = v + "\"";
        break;
      default:  // a leading separator the reference line does not have, or lacking
        return (d_.en_tete > 0 ? std::string() : std::string(1, s)) + joindre(champs, false);
    }
    return ligne(champs);
  }

  // Plain lines about every minute (a few seconds of jitter), with gaps.
  std::vector<std::string> lignes_simples(int nb, long long& t) {
    std::vector<std::string> r;
    for (int i = 0; i < nb; ++i) {
      t += 55 + de(11);
      if (de(100) == 0) t += 600 + 60 * de(90);
      r.push_back(ligne_simple(t));
    }
    return r;
  }

  // A line the fast reader is not meant to read, or that puts a rule of the
  // chain to work.
  std::string ligne_hostile(long long& t) {
    t += 55 + de(11);
    const char s = d_.separateur;
    const std::string sep(1, s);
    auto date = champs_date(t, d_);
    auto v = valeurs(false);
    const auto avec = [&](std::vector<std::string> dates, std::vector<std::string> vals) {
      for (auto& x : vals) dates.push_back(x);
      return ligne(dates);
    };
    switch (de(27)) {
      case 0: {  // odd spacing around the fields
        std::string r;
        for (const auto& c : date) r += "  " + c + "   " + sep;
        for (const auto& x : v) r += " " + x + "  " + sep;
        r.pop_back();
        return s == ' ' ? r : r + "  ";
      }
      case 1:  // quoted date: whole, at its head or end only, doubled, inside
        for (auto& c : date) {
          switch (de(5)) {
            case 0:
              c = "\"" + c + "\"";
              break;
            case 1:
              c = "\"" + c;
              break;
            case 2:
              c += "\"";
              break;
            case 3:
              c = "\"\"" + c + "\"\"";
              break;
            default:
              c.insert(static_cast<std::size_t>(de(static_cast<int>(c.size()))), 1, '"');
              break;
          }
        }
        return avec(date, v);
      case 2:  // quoted values
        for (auto& x : v) x = "\"" + x + "\"";
        return avec(date, v);
      case 3:  // detection limits
        v[static_cast<std::size_t>(de(d_.nb_valeurs))] = std::string("<0") + d_.marque + "5";
        v[static_cast<std::size_t>(de(d_.nb_valeurs))] = "<" + valeur();
        return avec(date, v);
      case 4:  // exponents
        v[0] = std::string("1") + d_.marque + "5E2";
        v[1] = "2e-1";
        v[2] = std::string("-3") + d_.marque + "25E+1";
        return avec(date, v);
      case 5: {  // a NUL byte anywhere, at the end, or between the date's codes
        std::string r = avec(date, v);
        const int ou = de(3);
        if (ou == 0) r.insert(static_cast<std::size_t>(de(static_cast<int>(r.size()))), 1, '\0');
        if (ou == 1) r += '\0';
        if (const std::size_t tiret = r.find('-'); ou == 2 && tiret != std::string::npos)
          r[tiret] = '\0';
        return r;
      }
      case 6:  // the date in the other order
        return avec(champs_date(t, d_, true), v);
      case 7: {  // a date going backwards: nearly one day earlier, or minutes
        const long long arriere = d_.horloge_reculee ? t - 180 - 60 * de(20) : t - 86400 + 20;
        return avec(champs_date(arriere, d_), v);
      }
      case 8: {  // the same date twice
        const std::string l = avec(date, v);
        return l + "\r\n" + avec(date, valeurs(false));
      }
      case 9:  // too few fields, or none after the date
        v.resize(static_cast<std::size_t>(de(3)));
        return avec(date, v);
      case 10:  // text in a value column
        v[static_cast<std::size_t>(de(d_.nb_valeurs))] =
            de(2) ? "abc" : "12" + std::string(1, d_.marque) + "3x";
        v[static_cast<std::size_t>(de(d_.nb_valeurs))] = "\xE9t\xE9";
        return avec(date, v);
      case 11:
        return "";
      case 12:
        return std::string(static_cast<std::size_t>(1 + de(5)), ' ');
      case 13:  // a title line among the data
        return titre();
      case 14: {  // dates the chain refuses or reads as 0
        static const char* kMauvaises[] = {"2021-02-31 10:07:00", "2021-11-07 24:00:00",
                                           "2021-11-07 10:61:00", "2021-11-07",
                                           "n'importe quoi",      "2021-13-01 00:00:00",
                                           "2021-11-07 10:07",    "0000-01-01 00:00:00",
                                           "2021-11-07 7:05:00",  "2021-11-07 10:07:00 PM",
                                           "1899-12-30 00:00:00"};
        const std::string m = kMauvaises[de(11)];
        std::vector<std::string> dd;
        if (d_.deux_colonnes) {
          dd = {m.substr(0, 10), m.size() > 11 ? m.substr(11) : std::string()};
        } else {
          std::string x = m;
          if (d_.t_entre && x.size() > 10) x[10] = 'T';
          if (s == ' ') {
            for (char& c : x)
              if (c == ' ') c = '_';
          }
          dd = {x};
        }
        return avec(dd, v);
      }
      case 15: {  // numbers at the edges of the plain forms
        static const char* kNombres[] = {"-0",
                                         ".5",
                                         "5.",
                                         "+3",
                                         "12345678901234567890",
                                         "98765432109876543",
                                         "0,1",
                                         "-,25",
                                         "007",
                                         "9007199254740993"};
        for (auto& x : v) {
          x = kNombres[de(10)];
          for (char& c : x)
            if (c == ',' || c == '.') c = d_.marque;
        }
        return avec(date, v);
      }
      case 16:  // a leading and a trailing separator
        return sep + avec(date, v) + sep;
      case 17: {  // a line longer than a small block
        std::string r = avec(date, v);
        for (int k = 0; k < 40; ++k) r += sep + valeur();
        return r;
      }
      case 18: {  // a control character
        std::string r = avec(date, v);
        r.insert(static_cast<std::size_t>(de(static_cast<int>(r.size()))), 1,
                 de(2) ? '\x02' : '\t');
        return r;
      }
      case 19:  // extra text after the seconds
        date.back() += ".500";
        return avec(date, v);
      case 20:  // a high byte inside the date, away from its codes
        if (!d_.deux_colonnes) date[0][10] = '\xE9';
        return avec(date, v);
      case 21:  // missing-data texts and empty fields only
        for (auto& x : v) x = de(3) == 0 ? "NA" : de(2) ? "" : "-99999";
        return avec(date, v);
      case 22:  // a missing-data text written with a decimal mark
        v[0] = std::string("-99999") + d_.marque + "0";
        v[1] = "-99999.0";
        v[2] = "999.9";
        v[3] = d_.separateur == ',' ? "999.9" : "999,9";
        return avec(date, v);
      case 23: {  // values on and around the thresholds of the settings below
        static const char* kBords[] = {"-5,5",     "-5,50",  "1500",     "1500,0", "-5,500001",
                                       "1500,001", "-5,499", "1499,999", "-5.5",   "1500.0"};
        for (auto& x : v) {
          x = kBords[de(10)];
          if (d_.marque == '.')
            for (char& c : x)
              if (c == ',') c = '.';
        }
        return avec(date, v);
      }
      case 24:
      case 25: {  // a plain line with a few bytes changed
        static const std::string kOctets = std::string("0123456789 \";,.-+:/TEe<x_\t\xE9") + '\0';
        std::string r = avec(date, v);
        const int n = 1 + de(3);
        for (int k = 0; k < n; ++k) {
          const auto ou = static_cast<std::size_t>(de(static_cast<int>(r.size())));
          const char c = kOctets[static_cast<std::size_t>(de(static_cast<int>(kOctets.size())))];
          if (de(4) == 0)
            r.insert(ou, 1, c);
          else if (de(3) == 0)
            r.erase(ou, 1);
          else
            r[ou] = c;
        }
        return r;
      }
      default:  // a date field with nothing in it
        date.assign(date.size(), "");
        return avec(date, v);
    }
  }

  // The lines of a hostile file: the first and last data lines stay plain
  // (the listing reads their dates), a third of the others are hostile.
  std::vector<std::string> lignes_hostiles(int nb, long long& t) {
    std::vector<std::string> r;
    for (int i = 0; i < nb; ++i) {
      if (i >= 2 && i + 1 < nb && de(3) == 0) {
        r.push_back(d_.guillemets && de(2) == 0 ? ligne_guillemets(t) : ligne_hostile(t));
      } else {
        t += 55 + de(11);
        if (de(60) == 0) t += 600 + 60 * de(30);
        r.push_back(ligne_simple(t));
      }
    }
    return r;
  }

  // Lines joined with mixed ends (LF, CR, CR LF); `fin`: 0 a last end, 1
  // none, 2 a lone CR as the very last byte.
  std::string assembler(const std::vector<std::string>& lignes, bool fins_mixtes, int fin) {
    std::string r;
    for (std::size_t i = 0; i < lignes.size(); ++i) {
      r += lignes[i];
      if (i + 1 == lignes.size()) break;
      const int x = fins_mixtes ? de(20) : 0;
      r += x < 12 ? "\r\n" : x < 17 ? "\n" : "\r";
    }
    if (fin == 0) r += "\r\n";
    if (fin == 2) r += "\r";
    return r;
  }

 private:
  std::mt19937 g_;
  Disposition d_;
};

// ---------------------------------------------------------------- one run

struct Lecture {
  const char* nom;
  bool reference;
  int fils;
  std::size_t taille_bloc;
};

// The step-by-step chain first: the others are compared with it.
const Lecture kLectures[] = {
    {"pas a pas", true, 0, 0},
    {"rapide, 1 fil", false, 1, 0},
    {"rapide, 1 fil, blocs de 100 octets", false, 1, 100},
    {"rapide, 3 fils, blocs de 64 octets", false, 3, 64},
    {"rapide, 2 fils, blocs de 200 octets", false, 2, 200},
    // Blocks that hold the kept first lines: a file of more than three of
    // them is loaded without being counted, and counted while it is read.
    {"rapide, 2 fils, blocs de 32 Kio", false, 2, 32768},
};

struct Reglage {
  std::string dossier;  // the data folder
  std::function<void(Description&)> description = [](Description&) {};
  char separateur_decimal = ',';
  long long debut = 0, fin = 0;  // period, seconds after origine()
  double pas = 10.0 / 1440;
  TestDate test_date = TestDate::inf_ou_egal;
};

// How a run ends, and how the timestamp list is made.
using FinMoteur = decltype(executer_moteur(std::declval<Session&>(), ParametresMoteur{}));
using FinListe = decltype(generer_liste_horodatee(std::declval<Session&>()));

struct CelluleLue {
  long double valeur;
  bool na;
  std::int32_t compte;
};

struct Sortie {
  FinMoteur fin = FinMoteur::echec;
  std::vector<std::string> resultats;
  std::vector<std::string> journal;  // the lines the run added
  std::vector<std::string> table;    // the file rows
  std::vector<std::string> messages;
  std::vector<std::string> titres;
  std::vector<int> manquants;
  std::vector<CelluleLue> cellules;
  int n = 0, c = 0;
  long long extraites = 0;
  std::optional<double> date_min, date_max;
  std::string etiquette_lignes;
  // Lines of the last file as the fast reader sorts them.
  long long rapides = 0, pas_a_pas = 0;
};

// The run counted unreadable lines in its tracking log.
bool journal_compte_des_illisibles(const Sortie& o) {
  for (const auto& l : o.journal)
    if (commence_par(l, "nb_pb = ")) return true;
  return false;
}

// The fast reader's plan for the run just made, built from the same
// settings as the engine builds it.
PlanLecture plan_du_run(Session& s) {
  const Description& d = s.description;
  const GrilleResultats& g = s.grille;
  std::vector<int> colonnes;
  for (int c = 2; c <= g.c - 1; ++c) colonnes.push_back(g.sources[static_cast<std::size_t>(c)]);
  std::vector<std::string> na;
  std::size_t debut = 0;
  for (int k = 0; k < 7; ++k) {
    const std::size_t fin = d.equiv_na.find(';', debut);
    na.push_back(trim(d.equiv_na.substr(debut, fin == std::string::npos ? fin : fin - debut)));
    if (fin == std::string::npos) break;
    debut = fin + 1;
  }
  const char sep = d.separateur_colonne == SeparateurColonne::espace    ? ' '
                   : d.separateur_colonne == SeparateurColonne::virgule ? ','
                                                                        : ';';
  const std::string format =
      d.datetime_nb_col == ColonnesDate::deux
          ? trim(d.format_date_mesure_seule) + " " + trim(d.format_time_mesure_seul)
          : trim(d.format_datetime_mesure);
  PlanLecture p = construire_plan(
      s.lecteur_dates, contient(format, "multiformat") || contient(format, "OU"), sep,
      d.datetime_nb_col == ColonnesDate::deux, entier_ou(d.num_col_datetime, 1),
      entier_ou(d.num_col_date, 1), entier_ou(d.num_col_time, 2), colonnes, na, !d.min_na.empty(),
      texte_en_reel(d.min_na), !d.max_na.empty(), texte_en_reel(d.max_na), s.separateur_decimal());
  // The last file's lines that begin with the separator, cut as its title
  // line (or its first data line) says.
  const int reference = d.avec_sans_intitule == Intitules::avec
                            ? entier_ou(d.num_ligne_intitule_col, 1)
                            : entier_ou(d.num_ligne_donnee, 1);
  p.initial = separateur_initial(s.fichier_charge.ligne(reference - 1), sep);
  return p;
}

bool memes_bits(long double a, long double b) {
  constexpr std::size_t n =
      std::numeric_limits<long double>::digits == 64 ? 10 : sizeof(long double);
  unsigned char x[sizeof(long double)] = {}, y[sizeof(long double)] = {};
  std::memcpy(x, &a, sizeof a);
  std::memcpy(y, &b, sizeof b);
  return std::memcmp(x, y, n) == 0;
}

std::string texte_long(long double v) {
  char b[80];
  std::snprintf(b, sizeof b, "%.21Lg", v);
  return b;
}

// Two lists of lines, the first difference shown rather than both lists.
::testing::AssertionResult memes_lignes(const std::vector<std::string>& attendu,
                                        const std::vector<std::string>& obtenu) {
  for (std::size_t i = 0; i < std::min(attendu.size(), obtenu.size()); ++i)
    if (attendu[i] != obtenu[i])
      return ::testing::AssertionFailure()
             << "ligne " << i << ": pas à pas <" << attendu[i] << ">, rapide <" << obtenu[i] << ">";
  if (attendu.size() != obtenu.size())
    return ::testing::AssertionFailure()
           << attendu.size() << " lignes pas à pas, " << obtenu.size() << " en lecture rapide";
  return ::testing::AssertionSuccess();
}

class Differentiel : public test::AvecDossier {
 protected:
  // Writes a data file into a folder of its own; returns the folder.
  std::string fichier(const std::string& dossier, const std::string& nom,
                      const std::string& octets) {
    dossier_->ecrire(dossier + "/" + nom, octets);
    return dossier_->chemin() + dossier + "/";
  }

  Sortie executer(const Reglage& r, const Lecture& l) {
    InteractionScriptee port;
    auto session =
        std::make_unique<Session>(port, OptionsSession{r.separateur_decimal, programme_});
    Session& s = *session;
    Description& d = s.description;
    d = description_par_defaut(programme_);
    d.dossier_choisi = r.dossier;
    d.masque = "*.csv";
    d.separateur_colonne = SeparateurColonne::point_virgule;
    d.format_datetime_mesure = "aaaa-mm-jj hh:mn:ss";
    d.equiv_na = "NA;-99999";
    d.f_station = "S1";
    d.nb_decimale = "12";
    r.description(d);
    s.lecture.reference = l.reference;
    s.lecture.fils = l.fils;
    s.lecture.taille_bloc = l.taille_bloc;

    Sortie o;
    EXPECT_TRUE(lister_fichiers_donnees(s)) << port.dernier_texte();
    s.periode.debut = date_heure_en_texte(instant(r.debut));
    s.periode.fin = date_heure_en_texte(instant(r.fin));
    s.periode.pas = r.pas;
    s.periode.unite = UnitePas::heure;
    s.periode.test_date = r.test_date;
    EXPECT_EQ(generer_liste_horodatee(s), FinListe::creee);
    const std::size_t avant = s.journal.lignes().size();
    o.fin = executer_moteur(s, ParametresMoteur{});
    o.journal.assign(s.journal.lignes().begin() + static_cast<std::ptrdiff_t>(avant),
                     s.journal.lignes().end());
    formater_resultats(s);
    for (const auto& l : s.resultats.lignes) o.resultats.emplace_back(l);
    const int duree = s.table.position_colonne("durée de traitement", port);
    for (int ligne = 1; ligne < s.table.nb_lignes(); ++ligne)
      for (int col = 0; col < s.table.nb_colonnes(); ++col)
        if (col != duree) o.table.push_back(s.table.cellule(col, ligne));
    o.messages = port.textes();
    const GrilleResultats& g = s.grille;
    o.n = g.n();
    o.c = g.c;
    o.titres = g.titres;
    o.manquants = g.manquants;
    for (int ligne = 1; ligne <= g.n(); ++ligne)
      for (int col = 1; col <= g.c; ++col) {
        const Cellule& x = g.cellule(ligne, col);
        o.cellules.push_back({x.valeur, x.na, g.compte(ligne, col)});
      }
    o.extraites = s.etat_traitement.lignes_extraites;
    o.date_min = s.etat_traitement.date_min;
    o.date_max = s.etat_traitement.date_max;
    o.etiquette_lignes = s.etiquette("Label_nlig_impliquee");

    if (l.reference && o.fin == FinMoteur::termine) {
      const PlanLecture p = plan_du_run(s);
      FichierEnBlocs f(s.fichier_charge.chemin, s.fichier_charge.nettoyage);
      BlocLignes b;
      LignesLues lues;
      for (std::uint64_t k = 0; k < f.nb_blocs(); ++k) {
        f.lire(k, b);
        lire_lignes_rapides(p, b.texte.data(), b.debuts, b.longueurs, lues);
        for (const StatutLigne st : lues.statuts) {
          o.rapides += st == StatutLigne::rapide;
          o.pas_a_pas += st == StatutLigne::reference;
        }
      }
    }
    return o;
  }

  static void comparer(const Sortie& a, const Sortie& b, const std::string& quoi) {
    EXPECT_EQ(b.fin, a.fin) << quoi;
    EXPECT_TRUE(memes_lignes(a.resultats, b.resultats)) << quoi << ", résultats";
    EXPECT_TRUE(memes_lignes(a.journal, b.journal)) << quoi << ", suivi";
    EXPECT_TRUE(memes_lignes(a.table, b.table)) << quoi << ", tableau des fichiers";
    EXPECT_TRUE(memes_lignes(a.messages, b.messages)) << quoi << ", messages";
    EXPECT_TRUE(memes_lignes(a.titres, b.titres)) << quoi << ", titres";
    EXPECT_EQ(b.manquants, a.manquants) << quoi;
    EXPECT_EQ(b.extraites, a.extraites) << quoi;
    EXPECT_EQ(b.date_min, a.date_min) << quoi;
    EXPECT_EQ(b.date_max, a.date_max) << quoi;
    EXPECT_EQ(b.etiquette_lignes, a.etiquette_lignes) << quoi;
    ASSERT_EQ(b.n, a.n) << quoi;
    ASSERT_EQ(b.c, a.c) << quoi;
    ASSERT_EQ(b.cellules.size(), a.cellules.size()) << quoi;
    int ecarts = 0;
    for (std::size_t i = 0; i < a.cellules.size() && ecarts < 5; ++i) {
      const CelluleLue& x = a.cellules[i];
      const CelluleLue& y = b.cellules[i];
      if (memes_bits(x.valeur, y.valeur) && x.na == y.na && x.compte == y.compte) continue;
      ++ecarts;
      ADD_FAILURE() << quoi << ": ligne " << i / static_cast<std::size_t>(a.c) + 1 << " colonne "
                    << i % static_cast<std::size_t>(a.c) + 1 << " pas à pas "
                    << texte_long(x.valeur) << (x.na ? " NA" : "") << " n=" << x.compte
                    << ", rapide " << texte_long(y.valeur) << (y.na ? " NA" : "")
                    << " n=" << y.compte;
    }
  }

  // Runs the engine under every way of reading and compares each with the
  // step-by-step chain. Gives the step-by-step run.
  Sortie verifier(const Reglage& r, const std::string& quoi) {
    const Sortie reference = executer(r, kLectures[0]);
    EXPECT_EQ(reference.fin, FinMoteur::termine) << quoi;
    for (std::size_t k = 1; k < std::size(kLectures); ++k)
      comparer(reference, executer(r, kLectures[k]), quoi + " / " + kLectures[k].nom);
    return reference;
  }

  // Cells of value columns that hold a value (not NA) in rows that got lines.
  static int cellules_avec_valeur(const Sortie& o) {
    int n = 0;
    for (std::size_t i = 0; i < o.cellules.size(); ++i) {
      const int col = static_cast<int>(i % static_cast<std::size_t>(o.c)) + 1;
      n += col > 1 && col < o.c && !o.cellules[i].na && o.cellules[i].compte > 0;
    }
    return n;
  }
};

// ---------------------------------------------------------------- plain files

TEST_F(Differentiel, GeneratedLoggerFilesSplitInTwo) {
  Generateur g(1107, {});
  long long t = 7 * 60;
  auto premiere = g.lignes_simples(1800, t);
  auto seconde = g.lignes_simples(1200, t);
  premiere.insert(premiere.begin(), g.titre());
  seconde.insert(seconde.begin(), g.titre());
  Reglage r;
  r.dossier = fichier("simple", "a.csv", g.assembler(premiere, false, 0));
  fichier("simple", "b.csv", g.assembler(seconde, false, 1));
  r.fin = t + 600;
  const Sortie o = verifier(r, "fichier simple");
  EXPECT_EQ(o.extraites, 3000);
  EXPECT_GT(cellules_avec_valeur(o), 1000);
  EXPECT_EQ(o.pas_a_pas, 1);  // the title line of the last file
  EXPECT_EQ(o.rapides, 1200);
}

// Files over the same period, and a file whose times go back with no
// correction: rows already holding lines when a block comes must take its
// lines after theirs, in line order, under every method.
TEST_F(Differentiel, FilesOverTheSamePeriodAndTimesGoingBack) {
  Generateur g(77, {});
  const long long debut = 7 * 60;
  long long t = debut;
  auto a = g.lignes_simples(1500, t);
  long long fin = t;
  const long long milieu = debut + (t - debut) / 2;
  t = debut;
  auto b = g.lignes_simples(1500, t);  // the same times as a
  t = milieu;
  auto c = g.lignes_simples(1500, t);  // from the middle of a
  fin = std::max(fin, t);
  t = milieu;
  auto retour = g.lignes_simples(700, t);
  t = milieu - 600;  // back before the file's first line
  for (auto& l : g.lignes_simples(700, t)) retour.push_back(std::move(l));
  Reglage r;
  for (auto* lignes : {&a, &b, &c, &retour}) lignes->insert(lignes->begin(), g.titre());
  r.dossier = fichier("chevauchement", "a.csv", g.assembler(a, false, 0));
  fichier("chevauchement", "b.csv", g.assembler(b, false, 0));
  fichier("chevauchement", "c.csv", g.assembler(c, false, 0));
  fichier("chevauchement", "d.csv", g.assembler(retour, false, 0));
  r.fin = std::max(fin, t) + 600;
  for (const Methode m : {Methode::moyenne, Methode::cumul, Methode::maximum, Methode::derniere}) {
    r.description = [m](Description& d) { d.methode = m; };
    const Sortie o =
        verifier(r, "fichiers qui se recouvrent, méthode " + std::to_string(static_cast<int>(m)));
    EXPECT_EQ(o.extraites, 1500 * 3 + 1400);
  }
}

// The first data line further down: the lines before it are read by the
// fast reader but must not be placed, nor shift the values of the others.
TEST_F(Differentiel, FirstDataLineFurtherDown) {
  Generateur g(5, {});
  long long t = 7 * 60;
  auto lignes = g.lignes_simples(600, t);
  lignes.insert(lignes.begin(), g.titre());
  Reglage r;
  r.dossier = fichier("decale", "a.csv", g.assembler(lignes, true, 0));
  r.fin = t + 600;
  for (const int premiere : {2, 6, 137}) {
    r.description = [premiere](Description& d) { d.num_ligne_donnee = std::to_string(premiere); };
    const Sortie o = verifier(r, "première ligne " + std::to_string(premiere));
    EXPECT_EQ(o.extraites, 600 - (premiere - 2));
  }
}

// ---------------------------------------------------------------- hostile files

TEST_F(Differentiel, BigFileCountedWhileRead) {
  // The listing reads the first file; the second, about 500 KB (some fifteen
  // blocks of 32 KiB) ending with blank lines, is read by the run alone.
  Generateur g(2027, {});
  long long t = 7 * 60;
  auto premier = g.lignes_hostiles(300, t);
  premier.insert(premier.begin(), g.titre());
  auto second = g.lignes_hostiles(8000, t);
  second.insert(second.begin(), g.titre());
  for (const char* blanche : {"", "   ", "", " "}) second.emplace_back(blanche);
  Reglage r;
  fichier("gros", "a.csv", g.assembler(premier, true, 0));
  r.dossier = fichier("gros", "b.csv", g.assembler(second, true, 0));
  r.fin = t + 600;
  r.description = [](Description& d) { d.correction_si_t1supt2 = true; };
  const Sortie o = verifier(r, "gros fichier");
  EXPECT_GT(o.rapides, 4000);
  EXPECT_GT(cellules_avec_valeur(o), 2000);
}

// What a run on one hostile file must show besides matching the
// step-by-step chain: enough lines read each way, enough values placed.
struct Attendu {
  long long rapides = -1, pas_a_pas = -1;  // more lines than that read fast, step by step
  int cellules = -1;                       // more cells than that with a value
  std::optional<long long> rapides_exact = std::nullopt;
  int colonnes = 0;                      // grid columns, when not 0
  bool illisibles = false;               // the tracking log counts unreadable lines
  bool corrections = false;              // the time corrections and the chain's messages happened
  std::vector<std::string> titres = {};  // the first titles of the value columns, when given
};

struct Scenario {
  std::string nom;
  unsigned graine;
  Disposition disposition;
  int nb, fin;  // hostile lines; how the file ends (see assembler)
  std::function<void(Description&)> description;
  Attendu attendu;
  std::function<void(Reglage&)> reglage = [](Reglage&) {};
};

void deux_colonnes(Description& x) {
  x.datetime_nb_col = ColonnesDate::deux;
  x.format_date_mesure_seule = "aaaa-mm-jj";
  x.format_time_mesure_seul = "hh:mn:ss";
  x.num_col_date = "1";
  x.num_col_time = "2";
}

std::vector<Scenario> scenarios() {
  std::vector<Scenario> v;
  for (int m = 0; m <= 5; ++m)
    v.push_back({"méthode " + std::to_string(m) + ", deux corrections",
                 2021,
                 {},
                 900,
                 2,
                 [m](Description& d) {
                   d.methode = static_cast<Methode>(m);
                   d.correction_si_t1supt2 = d.correction_si_t1egalt2 = true;
                 },
                 // Quoted values are read by the fast reader: fewer lines step by step.
                 {.rapides = 400, .pas_a_pas = 120, .cellules = 200, .corrections = true}});
  // A clock going back a few minutes sends lines to rows already filled,
  // before and after lines of other rows: the values are added up in the
  // same order whatever the reading.
  for (const int m : {0, 2, 3, 5})
    v.push_back({"inf strict, méthode " + std::to_string(m),
                 77,
                 {.horloge_reculee = true},
                 700,
                 1,
                 [m](Description& d) { d.methode = static_cast<Methode>(m); },
                 {.rapides = 300, .pas_a_pas = 100},
                 [](Reglage& r) {
                   r.test_date = TestDate::inf_strict;
                   r.pas = 5.0 / 1440;
                 }});
  // NUL bytes read as "_", other control characters make the line unreadable;
  // tab-separated files keep NUL bytes as byte 1: those lines are unreadable.
  v.push_back({"caractères nuls",
               31,
               {},
               700,
               0,
               [](Description& d) { d.car_null = d.correction_si_t1supt2 = true; },
               {.illisibles = true}});
  v.push_back({"tabulation, caractères nuls",
               41,
               {.separateur = '\t'},
               500,
               0,
               [](Description& d) {
                 d.separateur_colonne = SeparateurColonne::tabulation;
                 d.car_null = true;
               },
               {.illisibles = true}});
  // Every column separator, six value columns.
  const Disposition espaces{.separateur = ' ', .t_entre = true, .espaces_multiples = true};
  const std::tuple<int, Disposition, const char*> separateurs[] = {
      {0, {.separateur = '\t'}, "tabulation"},
      {1, espaces, "espace"},
      {1,
       {.separateur = ' ', .deux_colonnes = true, .espaces_multiples = true},
       "espace, date et heure"},
      {2, {}, "point-virgule"},
      {3, {.separateur = ',', .marque = '.'}, "virgule"}};
  unsigned graine = 300;
  for (const auto& [choix, d, nom] : separateurs) {
    ++graine;
    v.push_back({nom,
                 graine,
                 d,
                 500,
                 static_cast<int>(graine % 3),
                 [choix, d](Description& x) {
                   x.separateur_colonne = static_cast<SeparateurColonne>(choix);
                   x.correction_si_t1supt2 = true;
                   if (d.t_entre) x.format_datetime_mesure = "aaaa-mm-jjThh:mn:ss";
                   if (d.deux_colonnes) deux_colonnes(x);
                 },
                 {.rapides = 200, .pas_a_pas = 50, .cellules = 100, .colonnes = 8}});
  }
  // Date in column 1, time in column 2; then a chosen list of columns, in another order.
  v.push_back({"date et heure en deux colonnes",
               55,
               {.deux_colonnes = true},
               600,
               0,
               [](Description& x) {
                 deux_colonnes(x);
                 x.correction_si_t1supt2 = x.correction_si_t1egalt2 = true;
               },
               {.rapides = 300}});
  v.push_back({"colonnes choisies",
               55,
               {.deux_colonnes = true},
               600,
               0,
               [](Description& x) {
                 deux_colonnes(x);
                 x.col_cochee = true;
                 x.col_cochee_liste = "8,3,5";
               },
               {.colonnes = 5}});
  // Thresholds and no-data texts, either decimal mark in the files, either separator.
  for (const char marque : {',', '.'})
    for (const char sep : {',', '.'})
      v.push_back({std::string("marque ") + marque + ", séparateur " + sep,
                   marque == ',' ? 61u : 62u,
                   {.marque = marque},
                   500,
                   0,
                   [](Description& d) {
                     d.min_na = "-5,5";
                     d.max_na = "1500";
                     d.equiv_na = "NA; -99999 ;-99999,0;abc;999,9;";
                   },
                   {.rapides = 200, .cellules = 100},
                   [sep](Reglage& r) { r.separateur_decimal = sep; }});
  // Day first: the year-first lines are the swapped ones.
  v.push_back({"jour d'abord",
               88,
               {.jour_d_abord = true},
               500,
               0,
               [](Description& d) {
                 d.format_datetime_mesure = "jj/mm/aaaa hh:mn:ss";
                 d.correction_si_t1supt2 = true;
               },
               {.rapides = 250, .pas_a_pas = 30}});
  // Without seconds in the format; the files have them.
  v.push_back({"sans secondes",
               89,
               {},
               400,
               0,
               [](Description& d) { d.format_datetime_mesure = "aaaa-mm-jj hh:mn"; },
               {.rapides = 200}});
  // Two-digit years after their century digits, year first and day first.
  v.push_back({"année sur deux chiffres",
               90,
               {.annee_courte = true},
               500,
               0,
               [](Description& d) {
                 d.format_datetime_mesure = "20aa-mm-jj hh:mn:ss";
                 d.correction_si_t1supt2 = true;
               },
               {.rapides = 300, .cellules = 100}});
  v.push_back({"année sur deux chiffres, jour d'abord",
               91,
               {.jour_d_abord = true, .annee_courte = true},
               500,
               0,
               [](Description& d) { d.format_datetime_mesure = "jj/mm/20aa hh:mn:ss"; },
               {.rapides = 300, .cellules = 100}});
  // Dates not zero-padded, in one column and in two: read field by field on
  // both paths.
  for (const bool deux : {false, true})
    v.push_back({deux ? "sans zéros, deux colonnes" : "sans zéros",
                 97,
                 {.deux_colonnes = deux, .jour_d_abord = true, .sans_zeros = true},
                 500,
                 0,
                 [deux](Description& d) {
                   d.format_datetime_mesure = "jj/mm/aaaa hh:mn:ss";
                   if (deux) {
                     deux_colonnes(d);
                     d.format_date_mesure_seule = "jj/mm/aaaa";
                   }
                 },
                 {.rapides = 300, .cellules = 100}});
  // Quoted fields, holding the separator in their titles (and, with decimal
  // commas and the comma, in their values), read by the fast reader unless
  // a doubled quote or text after a closing quote makes it hand them over.
  const std::tuple<int, Disposition, const char*, std::vector<std::string>> entre_guillemets[] = {
      {3,
       {.separateur = ',', .guillemets = true},
       "guillemets, virgule, marques virgules",
       {"TA, u", "TB, u"}},
      {3,
       {.separateur = ',', .marque = '.', .guillemets = true},
       "guillemets, virgule, marques points",
       {"TA, u", "TB, u"}},
      {2, {.guillemets = true}, "guillemets, point-virgule", {"TA; u", "TB; u"}},
      {0, {.separateur = '\t', .guillemets = true}, "guillemets, tabulation", {"TA; u"}},
      {1,
       {.separateur = ' ', .espaces_multiples = true, .guillemets = true},
       "guillemets, espace, dates à espace",
       {"TA  u", "TB  u"}},
  };
  for (const auto& [choix, d, nom, titres] : entre_guillemets) {
    ++graine;
    v.push_back(
        {nom,
         graine,
         d,
         600,
         static_cast<int>(graine % 3),
         [choix](Description& x) {
           x.separateur_colonne = static_cast<SeparateurColonne>(choix);
           x.correction_si_t1supt2 = true;
         },
         {.rapides = 300, .pas_a_pas = 30, .cellules = 100, .colonnes = 8, .titres = titres}});
  }
  // Data lines that begin with the separator under a title line that does
  // not: their first field is empty, the date is in column 2. When every
  // line begins with it, the leading separator is dropped.
  v.push_back({"séparateur en tête des données",
               71,
               {.en_tete = 1},
               600,
               0,
               [](Description& x) { x.num_col_datetime = "2"; },
               {.rapides = 300,
                .pas_a_pas = 50,
                .cellules = 100,
                .colonnes = 9,
                .titres = {"N", "TA", "TB"}}});
  v.push_back({"séparateur en tête des données, guillemets, virgule",
               72,
               {.separateur = ',', .marque = '.', .guillemets = true, .en_tete = 1},
               600,
               1,
               [](Description& x) {
                 x.separateur_colonne = SeparateurColonne::virgule;
                 x.num_col_datetime = "2";
               },
               {.rapides = 300,
                .pas_a_pas = 30,
                .cellules = 100,
                .colonnes = 9,
                .titres = {"N", "TA, u"}}});
  v.push_back({"séparateur en tête des données, date et heure",
               73,
               {.deux_colonnes = true, .en_tete = 1},
               600,
               0,
               [](Description& x) {
                 deux_colonnes(x);
                 x.num_col_date = "2";
                 x.num_col_time = "3";
               },
               {.rapides = 300, .cellules = 100, .colonnes = 9, .titres = {"N", "TA"}}});
  v.push_back({"séparateur en tête de toutes les lignes",
               74,
               {.guillemets = true, .en_tete = 2},
               600,
               2,
               [](Description&) {},
               // The leading separator counts as a column, as ever: an empty last one.
               {.rapides = 300, .cellules = 100, .colonnes = 9, .titres = {"TA; u"}}});
  // A multiformat format: every line goes through the chain, in blocks.
  v.push_back({"multiformat",
               89,
               {},
               400,
               0,
               [](Description& d) { d.format_datetime_mesure = "multiformat"; },
               {.cellules = 100, .rapides_exact = 0}});
  return v;
}

TEST_F(Differentiel, HostileFiles) {
  int numero = 0;
  for (const Scenario& sc : scenarios()) {
    SCOPED_TRACE(sc.nom);
    Generateur g(sc.graine, sc.disposition);
    long long t = 7 * 60;
    auto lignes = g.lignes_hostiles(sc.nb, t);
    lignes.insert(lignes.begin(), g.titre());
    Reglage r;
    r.dossier = fichier("h" + std::to_string(++numero), "h.csv", g.assembler(lignes, true, sc.fin));
    r.fin = t + 600;
    r.description = sc.description;
    sc.reglage(r);
    const Sortie o = verifier(r, sc.nom);
    const Attendu& a = sc.attendu;
    EXPECT_GT(o.rapides, a.rapides);
    EXPECT_GT(o.pas_a_pas, a.pas_a_pas);
    EXPECT_GT(cellules_avec_valeur(o), a.cellules);
    if (a.rapides_exact) {
      EXPECT_EQ(o.rapides, *a.rapides_exact);
    }
    if (a.colonnes) {
      EXPECT_EQ(o.c, a.colonnes);
    }
    if (a.illisibles) {
      EXPECT_TRUE(journal_compte_des_illisibles(o));
    }
    for (std::size_t k = 0; k < a.titres.size() && k + 2 < o.titres.size(); ++k)
      EXPECT_EQ(o.titres[k + 2], a.titres[k]);
    const auto contient_ligne = [&o](const std::string& morceau) {
      return std::any_of(o.journal.begin(), o.journal.end(),
                         [&](const std::string& l) { return contient(l, morceau); });
    };
    if (a.corrections) {
      for (const char* morceau :
           {" : + 1j à ", " : + 1s à ", "date inversée mais corrigée", "erreur date"})
        EXPECT_TRUE(contient_ligne(morceau)) << morceau;
    }
  }
}

}  // namespace
}  // namespace tamso
