// End-to-end: the corpus of logger layouts of tests/data/dispositions/.
// attendu.tsv gives, for every sample, the layout a careful user sets and a
// period; <name>.resultats.txt the results of the run over that period,
// worked out by hand. Each sample is copied to a folder of its own, where
// the description that `inspect` writes must give those results; the
// description written by hand from attendu.tsv (dsc/<name>.dsc), run on the
// same copy, checks the expectations themselves.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/cli_runner.h"

namespace tamso {
namespace {

using test::DossierTemporaire;
using test::lancer;
using test::q;
using test::Sortie;

const std::string kCorpus = TAMSO_DONNEES_TEST "dispositions/";
constexpr int kDelai = 60;  // seconds a command may take

const std::vector<std::string> kColonnes = {
    "fichier",       "separateur",   "ligne_intitules", "premiere_ligne_donnees",
    "colonnes_date", "format",       "decimale",        "colonnes_valeurs",
    "marques_na",    "balise_debut", "balise_fin",      "debut",
    "fin",           "pas"};

// One line of attendu.tsv, by column name.
using Attendu = std::map<std::string, std::string>;

std::vector<std::string> decouper(const std::string& ligne, char sep) {
  std::vector<std::string> r(1);
  for (char c : ligne) {
    if (c == sep)
      r.emplace_back();
    else
      r.back() += c;
  }
  return r;
}

// The lines of a text cut at CR LF, CR or LF, as the program cuts them.
std::vector<std::string> lignes_de(const std::string& texte) {
  std::vector<std::string> r;
  std::string l;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c != '\r' && c != '\n') {
      l += c;
      continue;
    }
    if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    r.push_back(l);
    l.clear();
  }
  if (!l.empty()) r.push_back(l);
  return r;
}

// The lines of attendu.tsv: the first one names the columns, '#' lines are
// comments.
const std::vector<Attendu>& attendus() {
  static const std::vector<Attendu> r = [] {
    std::vector<Attendu> a;
    const auto lignes = lignes_de(DossierTemporaire::lire(kCorpus + "attendu.tsv"));
    if (lignes.empty()) return a;
    const auto noms = decouper(lignes[0], '\t');
    for (std::size_t i = 1; i < lignes.size(); ++i) {
      if (lignes[i].empty() || lignes[i][0] == '#') continue;
      const auto champs = decouper(lignes[i], '\t');
      Attendu x;
      for (std::size_t k = 0; k < noms.size() && k < champs.size(); ++k) x[noms[k]] = champs[k];
      x["nb_champs"] = std::to_string(champs.size());
      a.push_back(x);
    }
    return a;
  }();
  return r;
}

std::string nom_sans_extension(const std::string& fichier) {
  return fichier.substr(0, fichier.rfind('.'));
}

std::string resultats_attendus(const Attendu& a) {
  return kCorpus + nom_sans_extension(a.at("fichier")) + ".resultats.txt";
}

std::string dsc_a_la_main(const Attendu& a) {
  return kCorpus + "dsc/" + nom_sans_extension(a.at("fichier")) + ".dsc";
}

std::string periode(const Attendu& a) {
  return " --from '" + a.at("debut") + "' --to '" + a.at("fin") + "' --step " + a.at("pas");
}

// The sample copied alone into a data folder of the test folder; the
// folder is given back.
std::string copier_echantillon(const DossierTemporaire& d, const Attendu& a) {
  const std::string donnees = d.sous_dossier("donnees");
  d.ecrire("donnees/" + a.at("fichier"), DossierTemporaire::lire(kCorpus + a.at("fichier")));
  return donnees;
}

// The results file a run wrote: the path on the first line of its output.
std::string resultats_ecrits(const Sortie& r) {
  return DossierTemporaire::lire(r.sortie.substr(0, r.sortie.find('\n')));
}

// A description's settings by key: the text after the first "=" up to the
// next one, blanks trimmed.
std::map<std::string, std::string> lire_dsc(const std::string& chemin) {
  std::map<std::string, std::string> r;
  for (const std::string& l : lignes_de(DossierTemporaire::lire(chemin))) {
    const auto egal = l.find('=');
    if (egal == std::string::npos) continue;
    std::string v = l.substr(egal + 1);
    v = v.substr(0, v.find('='));
    const auto debut = v.find_first_not_of(' ');
    v = debut == std::string::npos ? "" : v.substr(debut, v.find_last_not_of(' ') - debut + 1);
    r.emplace(l.substr(0, egal), v);
  }
  return r;
}

// The settings a user types for a line of attendu.tsv: with tags, line
// numbers count from the start tag's line (the first line when only an end
// tag is given).
std::map<std::string, std::string> reglages_de(const Attendu& a) {
  static const std::map<std::string, std::string> kSeparateurs = {
      {"tabulation", "0"}, {"espace", "1"}, {"point-virgule", "2"}, {"virgule", "3"}};
  std::map<std::string, std::string> r;
  const bool balises = !a.at("balise_debut").empty() || !a.at("balise_fin").empty();
  int decalage = 0;
  if (balises) {
    const auto lignes = lignes_de(DossierTemporaire::lire(kCorpus + a.at("fichier")));
    const auto l = std::find_if(lignes.begin(), lignes.end(), [&](const std::string& x) {
      return x.find(a.at("balise_debut")) != std::string::npos;
    });
    decalage = static_cast<int>(l - lignes.begin());
    r["Edit_balise_deb.text"] = a.at("balise_debut");
    r["Edit_balise_fin.text"] = a.at("balise_fin");
  }
  r["RadioGroup_numlig_balise_ItemIndex"] = balises ? "1" : "0";
  r["RadioGroup_separateur_colonne_ItemIndex"] =
      kSeparateurs.contains(a.at("separateur")) ? kSeparateurs.at(a.at("separateur")) : "?";
  const int intitules = std::stoi(a.at("ligne_intitules"));
  r["RadioGroup_avec_sans_intitule_ItemIndex"] = intitules > 0 ? "0" : "1";
  r["Edit_num_ligne_intitule_col.text"] = std::to_string(intitules > 0 ? intitules - decalage : 0);
  r["Edit_num_ligne_donnee.text"] =
      std::to_string(std::stoi(a.at("premiere_ligne_donnees")) - decalage);
  const auto colonnes = decouper(a.at("colonnes_date"), '+');
  const auto formats = decouper(a.at("format"), '|');
  if (colonnes.size() == 2 && formats.size() == 2) {
    r["RadioGroup_datetime_nb_col_ItemIndex"] = "1";
    r["Edit_num_col_date.text"] = colonnes[0];
    r["Edit_num_col_time.text"] = colonnes[1];
    r["Edit_format_date_mesure_seule.text"] = formats[0];
    r["Edit_format_time_mesure_seul.text"] = formats[1];
  } else {
    r["RadioGroup_datetime_nb_col_ItemIndex"] = "0";
    r["Edit_num_col_datetime.text"] = a.at("colonnes_date");
    r["Edit_format_datetime_mesure.text"] = a.at("format");
  }
  r["RadioGroup_DECIMAL_SEPARATOR_entree_ItemIndex"] = a.at("decimale") == "," ? "0" : "1";
  r["CheckBox_col_cochee.Checked"] = "true";
  r["Edit_col_cochee.text"] = a.at("colonnes_valeurs");
  r["Edit_equiv_na.text"] = a.at("marques_na");
  return r;
}

// Every sample of the folder has its line, its results and its description,
// and is a small file.
TEST(CorpusDispositions, ChaqueEchantillonASaLigneSesResultatsEtSaDescription) {
  const auto& a = attendus();
  EXPECT_GE(a.size(), 32u);
  std::vector<std::string> listes;
  for (const Attendu& x : a) {
    SCOPED_TRACE(x.contains("fichier") ? x.at("fichier") : "?");
    ASSERT_EQ(x.at("nb_champs"), std::to_string(kColonnes.size()));
    for (const std::string& c : kColonnes) ASSERT_TRUE(x.contains(c)) << c;
    listes.push_back(x.at("fichier"));
    const auto lignes = lignes_de(DossierTemporaire::lire(kCorpus + x.at("fichier")));
    EXPECT_GE(lignes.size(), 8u);
    EXPECT_LE(lignes.size(), 40u);
    EXPECT_TRUE(std::filesystem::is_regular_file(resultats_attendus(x)));
    EXPECT_TRUE(std::filesystem::is_regular_file(dsc_a_la_main(x)));
  }
  for (const auto& e : std::filesystem::directory_iterator(kCorpus)) {
    const std::string nom = e.path().filename().string();
    if (!e.is_regular_file() || nom == "attendu.tsv" || nom == "README.md" ||
        nom.ends_with(".resultats.txt"))
      continue;
    const bool listee = std::find(listes.begin(), listes.end(), nom) != listes.end();
    EXPECT_TRUE(listee) << nom << " n'a pas de ligne dans attendu.tsv";
  }
}

// The description written by hand holds the settings of its line.
TEST(CorpusDispositions, LaDescriptionALaMainSuitSaLigne) {
  for (const Attendu& a : attendus()) {
    SCOPED_TRACE(a.at("fichier"));
    const auto dsc = lire_dsc(dsc_a_la_main(a));
    for (const auto& [cle, valeur] : reglages_de(a)) {
      EXPECT_TRUE(dsc.contains(cle)) << cle;
      if (dsc.contains(cle)) {
        EXPECT_EQ(dsc.at(cle), valeur) << cle;
      }
    }
  }
}

// The hand-written description, run on a copy of its sample, gives the
// results worked out by hand.
TEST(CorpusDispositions, LaDescriptionALaMainDonneLesResultatsAttendus) {
  for (const Attendu& a : attendus()) {
    SCOPED_TRACE(a.at("fichier"));
    DossierTemporaire d;
    const std::string donnees = copier_echantillon(d, a);
    const std::string dsc = d.ecrire("main.dsc", DossierTemporaire::lire(dsc_a_la_main(a)));
    const Sortie r = lancer(
        d,
        "run " + q(dsc) + " --data " + q(donnees) + " --out " + q(d.chemin() + "out") + periode(a),
        kDelai);
    EXPECT_EQ(r.code, 0) << r.erreurs;
    if (r.code != 0) continue;
    EXPECT_EQ(resultats_ecrits(r), DossierTemporaire::lire(resultats_attendus(a)));
  }
}

// The description that the inspection of the sample writes gives the same
// results.
TEST(CorpusDispositions, LInspectionDonneLesResultatsAttendus) {
  for (const Attendu& a : attendus()) {
    SCOPED_TRACE(a.at("fichier"));
    DossierTemporaire d;
    const std::string echantillon = copier_echantillon(d, a) + a.at("fichier");
    const std::string dsc = d.chemin() + "d.dsc";
    const Sortie i = lancer(d, "inspect " + q(echantillon) + " --write " + q(dsc), kDelai);
    EXPECT_EQ(i.code, 0) << i.erreurs;
    if (i.code != 0) continue;
    const Sortie r =
        lancer(d, "run " + q(dsc) + " --out " + q(d.chemin() + "out") + periode(a), kDelai);
    EXPECT_EQ(r.code, 0) << r.erreurs;
    if (r.code != 0) continue;
    EXPECT_EQ(resultats_ecrits(r), DossierTemporaire::lire(resultats_attendus(a)));
  }
}

// --explain prints what was found and why before the description's path.
TEST(CorpusDispositions, ExplainDitCeQuiEstTrouve) {
  const Attendu& a = *std::find_if(attendus().begin(), attendus().end(), [](const Attendu& x) {
    return x.at("fichier") == "keller.txt";
  });
  DossierTemporaire d;
  const std::string echantillon = copier_echantillon(d, a) + a.at("fichier");
  const Sortie i =
      lancer(d, "inspect " + q(echantillon) + " --write " + q(d.chemin() + "d.dsc") + " --explain",
             kDelai);
  ASSERT_EQ(i.code, 0) << i.erreurs;
  for (const char* attendu :
       {"=> séparateur tabulation, données des lignes 2 à", "=> intitulés en ligne 1",
        // month first, the dates jump from 12 July to 12 August
        "format <mm/jj/aaaa hh:mn:ss> : lit 8 dates, 7 en ordre croissant (avancées moins "
        "reculs), 31 jours parcourus",
        " date/heure en colonne 1 <jj/mm/aaaa hh:mn:ss>\n", d.chemin().c_str()})
    EXPECT_NE(i.sortie.find(attendu), std::string::npos) << attendu << "\n" << i.sortie;
}

}  // namespace
}  // namespace tamso
