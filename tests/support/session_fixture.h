// A test fixture with a session over a temporary program directory, a
// scripted port and an empty data folder: the default description, reading
// that folder.
#pragma once

#include <memory>
#include <string>

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
    session_ = std::make_unique<Session>(port_, OptionsSession{',', programme_});
    Description& d = session_->description;
    d = description_par_defaut(programme_);
    d.dossier_choisi = donnees_;
  }
  Session& s() { return *session_; }

  InteractionScriptee port_;
  std::string donnees_;
  std::unique_ptr<Session> session_;
};

}  // namespace tamso::test
