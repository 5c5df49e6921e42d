// The main window over a temporary folder with its descriptions, data and
// output folders, answered by a test port.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/port_test.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

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

  // A control of the main window by its name.
  template <class T>
  T* controle(const char* nom) {
    T* w = fenetre_->findChild<T*>(QString::fromLatin1(nom));
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
  // Option buttons and check boxes answer a click on their mark.
  void cliquer(const char* nom) {
    auto* b = controle<QAbstractButton>(nom);
    if (!b) return;
    if (qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b))
      QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    else
      QTest::mouseClick(b, Qt::LeftButton);
  }
  // Every row of a list or table view (its first column), as UTF-8.
  std::vector<std::string> lignes_vue(const char* nom) {
    std::vector<std::string> l;
    auto* v = controle<QAbstractItemView>(nom);
    if (!v) return l;
    for (int r = 0; r < v->model()->rowCount(); ++r)
      l.push_back(ss(v->model()->index(r, 0).data().toString()));
    return l;
  }

  std::string descriptions_, donnees_, sortie_;
  PortTest* port_ = nullptr;
  std::unique_ptr<FenetrePrincipale> fenetre_;
};

}  // namespace tamso::test
