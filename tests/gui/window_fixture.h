// The main window over a temporary folder with its descriptions, data and
// output folders, answered by a test port.
#pragma once

#include <memory>
#include <string>

#include <QTest>
#include <gtest/gtest.h>

#include "gui/port_test.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace tamso::test {

class AvecFenetre : public AvecDossier {
 protected:
  void SetUp() override {
    AvecDossier::SetUp();
    descriptions_ = dossier_->sous_dossier("descriptions");
    donnees_ = dossier_->sous_dossier("donnees");
    sortie_ = dossier_->sous_dossier("sortie");
    creer_fenetre();
  }
  void TearDown() override {
    fenetre_.reset();
    AvecDossier::TearDown();
  }

  // A new main window at 1366x768, not shown yet.
  void creer_fenetre() {
    auto port = std::make_unique<PortTest>();
    port_ = port.get();
    fenetre_ =
        std::make_unique<FenetrePrincipale>(std::move(port), OptionsSession{',', programme_});
    fenetre_->resize(1366, 768);
  }
  // Shows the window and waits for its start-up.
  void demarrer() {
    fenetre_->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return fenetre_->demarrage_fait(); }, 5000));
  }

  std::string descriptions_, donnees_, sortie_;
  PortTest* port_ = nullptr;
  std::unique_ptr<FenetrePrincipale> fenetre_;
};

}  // namespace tamso::test
