// A test fixture with a session over a temporary program directory, a
// scripted port, an empty data folder and an empty descriptions folder: the
// default description, reading the data folder.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "description/description.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace tamso::test {

class AvecSession : public AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    donnees_ = dossier_->sous_dossier("donnees");
    descriptions_ = dossier_->sous_dossier("descriptions");
    nouvelle_session();
  }
  // A new session over the same folders and port. `par_defaut`: the default
  // description reading the data folder; otherwise the program's start one.
  void nouvelle_session(char separateur = ',', bool par_defaut = true) {
    session_ = std::make_unique<Session>(port_, OptionsSession{separateur, programme_});
    if (!par_defaut) return;
    d() = description_par_defaut(programme_);
    d().dossier_choisi = donnees_;
  }
  Session& s() { return *session_; }
  Description& d() { return session_->description; }
  // Files "*.csv" separated by ";", their date-times written "aaaa-mm-jj hh:mn:ss".
  void decrire_csv_point_virgule() {
    d().masque = "*.csv";
    d().separateur_colonne = SeparateurColonne::point_virgule;
    d().format_datetime_mesure = "aaaa-mm-jj hh:mn:ss";
  }
  // A cell of the file table by its column's title.
  std::string cellule(int ligne, const char* titre) {
    return s().table.lire_cellule(ligne, titre, port_);
  }

  // A DSC file of raw Windows-1252 lines in the descriptions folder; its path.
  std::string ecrire_dsc(const std::string& nom, const std::vector<std::string>& lignes) {
    return dossier_->ecrire("descriptions/" + nom, crlf(lignes));
  }
#ifdef TAMSO_DONNEES_TEST
  // A file of tests/data copied into the data folder; its path.
  std::string copier_donnee(const std::string& fixture, const std::string& nom) {
    std::filesystem::copy_file(std::string(TAMSO_DONNEES_TEST) + fixture, donnees_ + nom);
    return donnees_ + nom;
  }
#endif

  InteractionScriptee port_;
  std::string donnees_, descriptions_;
  std::unique_ptr<Session> session_;
};

// A session with results to format and save: the program's start
// description, reading the data folder and writing into an output folder,
// results pending, a grid filled row by row.
class AvecResultats : public AvecSession {
 protected:
  // A value in a cell, or nothing for NA.
  using V = std::optional<long double>;

  void SetUp() override {
    AvecSession::SetUp();
    sortie_ = dossier_->sous_dossier("sortie");
    preparer(',');
  }
  void preparer(char separateur) {
    nouvelle_session(separateur, false);
    d().dossier_choisi = donnees_;
    d().dossier_choisi_sortie = sortie_;
    d().dossier_description = programme_;
    d().masque = "csv";
    d().inc_nom = true;
    s().resultats.en_attente = true;
  }
  // n timestamps from 01/03/2023 00:00:00 every 5 minutes (or the given
  // texts) and one value column per title.
  void grille(int n, std::vector<std::string> titres, std::vector<std::string> dates = {}) {
    GrilleResultats& g = s().grille;
    g.creer(n, static_cast<int>(titres.size()));
    g.c = g.v() + 2;
    titres.insert(titres.begin(), "temps(Date inf ou =)");
    titres.push_back("nb(" + std::to_string(n - 1) + ")_methode_(moyenne des n mesures OK)");
    std::copy(titres.begin(), titres.end(), g.titres.begin() + 1);
    auto& e = s().liste_horodatee.elements;
    e.assign(1, "_intitulés des colonnes");
    for (int r = 1; r <= n; ++r) {
      char b[32];
      std::snprintf(b, sizeof b, "01/03/2023 %02d:%02d:00", (r - 1) * 5 / 60, (r - 1) * 5 % 60);
      e.push_back(dates.empty() ? std::string(b) : dates[static_cast<std::size_t>(r - 1)]);
    }
  }
  // Row r received nb source lines; a value per column.
  void ligne(int r, int nb, const std::vector<V>& valeurs) {
    GrilleResultats& g = s().grille;
    g.cellule(r, g.c).valeur = nb;
    for (std::size_t k = 0; k < valeurs.size(); ++k) {
      Cellule& x = g.cellule(r, static_cast<int>(k) + 2);
      x.na = !valeurs[k];
      x.valeur = valeurs[k].value_or(0);
    }
  }
  // The tracking log holds these lines in a row.
  bool suivi_contient(const std::vector<std::string>& suite) const {
    const auto& l = session_->journal.lignes();
    return std::search(l.begin(), l.end(), suite.begin(), suite.end()) != l.end();
  }

  std::string sortie_;
};

}  // namespace tamso::test
