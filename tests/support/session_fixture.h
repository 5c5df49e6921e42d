// A test fixture with a session over a temporary program directory, a
// scripted port, an empty data folder and an empty descriptions folder: the
// default description, reading the data folder.
#pragma once

#include <filesystem>
#include <memory>
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

}  // namespace tamso::test
