// The results views after a run: the lines of the results file and of the
// values without the date exactly as the files written hold them, the copy
// of selected rows, the views emptied while a run rebuilds their lines, and a
// result of a million rows read where the session keeps it.
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

#include "app/session.h"
#include "gui/port_test.h"
#include "gui/window_fixture.h"
#include "input/files.h"
#include "support/temp_dir.h"
#include "ui/results_view.h"
#include "ui/widgets.h"

namespace tamso {
namespace {

class VuesResultats : public test::AvecFenetre {
 protected:
  // The data file "mesures.csv" (";" between fields, dates aaaa-mm-jj
  // hh:mn:ss) listed, with two decimals and the results "res.txt", the
  // period from `debut` to `fin` every `pas`.
  void preparer(const std::string& donnees, const QDateTime& debut, const QDateTime& fin,
                QTime pas) {
    dossier_->ecrire("donnees/mesures.csv", donnees);
    port_->fichiers_a_ouvrir.push_back(dossier_->ecrire(
        "descriptions/mesures.dsc",
        test::crlf({"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
                    "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                    "Edit_nom_fic_sortie.text= res", "Edit_nb_decimale.text= 2",
                    "dossier_choisi= " + donnees_, "dossier_choisi_sortie= " + sortie_,
                    "dossier_description= " + descriptions_})));
    cliquer("SpeedButton_desc_bd");
    cliquer("SpeedButton_lister");
    controle<QTimeEdit>("TimePicker_pas")->setTime(pas);
    controle<QDateEdit>("DatePicker_deb")->setDate(debut.date());
    controle<QTimeEdit>("TimePicker_deb")->setTime(debut.time());
    controle<QDateEdit>("DatePicker_fin")->setDate(fin.date());
    controle<QTimeEdit>("TimePicker_fin")->setTime(fin.time());
  }
  // Types a text into a box, as the keyboard would.
  void taper(const char* nom, const QString& texte) {
    auto* e = controle<QLineEdit>(nom);
    e->setFocus();
    e->selectAll();
    QKeyEvent touche(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, texte);
    QApplication::sendEvent(e, &touche);
  }
  // Clicks row r of a view, with the modifiers given.
  void cliquer_ligne(VueLignesResultats* v, int r, Qt::KeyboardModifiers m = {}) {
    QTest::mouseClick(v->viewport(), Qt::LeftButton, m,
                      v->visualRect(v->model()->index(r, 0)).center());
  }
};

TEST_F(VuesResultats, ViewsShowTheLinesOfTheFilesWrittenAndCopyTheRowsSelected) {
  demarrer();
  const QDate jour(2021, 3, 12);
  // The list runs 09:45, 10:00, 10:15, 10:30, 10:45; nothing was measured at
  // 10:30, whose row gets the missing-value text. That text holds a
  // character Windows-1252 lacks: the files hold "?" in its place.
  preparer(test::crlf({"Date;Température", "2021-03-12 10:00:00;1,5", "2021-03-12 10:15:00;2,5",
                       "2021-03-12 10:45:00;4,25"}),
           QDateTime(jour, QTime(10, 0)), QDateTime(jour, QTime(10, 45)), QTime(0, 15));
  taper("Edit_NA", QStringLiteral("∅"));
  ASSERT_EQ(fenetre_->session().description.texte_na, "∅");
  cliquer("SpeedButton_traiter_fichier");

  struct Cas {
    const char* bouton;  // pressed before looking, or none
    const char* vue;
    std::string fichier;
    std::vector<std::string> lignes;
  };
  const std::vector<Cas> cas = {
      {nullptr,
       "RichEdit3",
       sortie_ + "res.txt",
       {"temps(Date inf ou =)\tTempérature\tnb(4)_methode_(moyenne des n mesures OK)",
        "12/03/2021 10:00:00\t 1,50\t1", "12/03/2021 10:15:00\t 2,50\t1",
        "12/03/2021 10:30:00\t?\t0", "12/03/2021 10:45:00\t 4,25\t1"}},
      {"SpeedButton_sans_coldate",
       "RichEdit4",
       programme_ + "~tmp.txt",
       {"Température", " 1,50", " 2,50", "?", " 4,25"}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.vue);
    if (c.bouton) cliquer(c.bouton);
    auto* vue = controle<VueLignesResultats>(c.vue);
    ASSERT_NE(vue, nullptr);
    EXPECT_TRUE(vue->isVisible());
    EXPECT_EQ(lire_lignes_texte(c.fichier), c.lignes);
    EXPECT_EQ(lignes_vue(c.vue), c.lignes);
    // Row 3, then row 1 with Ctrl: Ctrl+C copies both, in the order of the list.
    cliquer_ligne(vue, 3);
    cliquer_ligne(vue, 1, Qt::ControlModifier);
    QTest::keyClick(vue, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(port_->presse_papier, c.lignes[1] + "\n" + c.lignes[3] + "\n");
  }

  // The next run empties both views while it rebuilds their lines; its end
  // shows the results file again.
  int lignes_pendant = -1;
  port_->pendant_question = [&](const std::string& texte) {
    if (texte.rfind("3- TRAITEMENT", 0) == 0)
      lignes_pendant = controle<VueLignesResultats>("RichEdit3")->model()->rowCount() +
                       controle<VueLignesResultats>("RichEdit4")->model()->rowCount();
  };
  port_->reponses = {Reponse::oui};  // the results file exists: overwrite it
  cliquer("SpeedButton_traiter_fichier");
  EXPECT_EQ(lignes_pendant, 0);
  EXPECT_TRUE(controle<QWidget>("RichEdit3")->isVisible());
  EXPECT_EQ(lignes_vue("RichEdit3"), cas[0].lignes);
}

TEST_F(VuesResultats, AMillionRowsAreReadWhereTheSessionKeepsThem) {
  demarrer();
  // One line a minute from 01/01/2021 00:00:00; line i holds i / 4.
  const int n = 1000000;
  std::string donnees = "Date;T\r\n";
  donnees.reserve(static_cast<std::size_t>(n) * 32);
  const QDateTime debut(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC);
  char tampon[64];
  for (int i = 0; i < n; ++i) {
    const QDateTime t = debut.addSecs(60LL * i);
    const QDate d = t.date();
    const QTime h = t.time();
    std::snprintf(tampon, sizeof tampon, "%04d-%02d-%02d %02d:%02d:00;%d,%02d\r\n", d.year(),
                  d.month(), d.day(), h.hour(), h.minute(), i / 4, i % 4 * 25);
    donnees += tampon;
  }
  preparer(donnees, debut, debut.addSecs(60LL * (n - 1)), QTime(0, 1));
  port_->reponses = {Reponse::oui};  // more than 32000 lines: go on
  cliquer("SpeedButton_traiter_fichier");

  auto* vue = controle<VueLignesResultats>("RichEdit3");
  ASSERT_NE(vue, nullptr);
  ModeleLignesResultats* m = vue->modele();
  ASSERT_EQ(m->rowCount(), n + 1);
  // Line k is the minute k - 1 of the period (347 days 5 h 19 min after
  // its start for line 500,000; 694 days 10 h 39 min for the last).
  EXPECT_EQ(ss(m->texte(0)),
            "temps(Date inf ou =)\tT\tnb(1000000)_methode_(moyenne des n mesures OK)");
  EXPECT_EQ(ss(m->texte(1)), "01/01/2021 00:00:00\t 0,00\t1");
  EXPECT_EQ(ss(m->texte(500000)), "14/12/2021 05:19:00\t124999,75\t1");
  EXPECT_EQ(ss(m->texte(n)), "26/11/2022 10:39:00\t249999,75\t1");
  // The view reads the session's own text; no text box holds a copy.
  const LignesTexte& lignes = fenetre_->session().resultats.lignes;
  EXPECT_EQ(m->ligne(500000).data(), lignes[500000].data());
  for (const QPlainTextEdit* t : fenetre_->findChildren<QPlainTextEdit*>())
    EXPECT_LT(t->document()->characterCount(), 100000) << ss(t->objectName());
  // Rows of one size, placed without measuring each; the end is reached.
  EXPECT_TRUE(vue->uniformItemSizes());
  vue->scrollToBottom();
  const QRect derniere = vue->visualRect(m->index(n));
  EXPECT_GE(derniere.top(), 0);
  EXPECT_LE(derniere.bottom(), vue->viewport()->height());
}

}  // namespace
}  // namespace tamso
