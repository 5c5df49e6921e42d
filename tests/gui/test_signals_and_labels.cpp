#include <chrono>
#include <string>
#include <vector>

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

#include "base/tones.h"
#include "gui/window_fixture.h"
#include "input/files.h"
#include "ui/tone_player.h"
#include "ui/widgets.h"

namespace tamso {
namespace {

class Signaux : public test::AvecFenetre {
 protected:
  // A label of the main window itself (the graph window has labels of the
  // same names).
  QLabel* label(const char* nom) {
    auto* l = fenetre_->centralWidget()->findChild<QLabel*>(QString::fromLatin1(nom));
    EXPECT_NE(l, nullptr) << nom;
    return l;
  }
  std::string ecrire_dsc(const std::string& nom, std::vector<std::string> lignes) {
    lignes.push_back("dossier_choisi= " + donnees_);
    lignes.push_back("dossier_choisi_sortie= " + sortie_);
    lignes.push_back("dossier_description= " + descriptions_);
    return dossier_->ecrire("descriptions/" + nom, test::crlf(lignes));
  }
};

// "test son" asks for the nine tones of the signal; "mise à jour" opens the
// maker's web page.
TEST_F(Signaux, SoundTestAndWebPageButtons) {
  demarrer();
  cliquer("SpeedButton_test_son");
  ASSERT_EQ(port_->tonalites.size(), 1u);
  ASSERT_EQ(port_->tonalites[0].size(), 9u);
  for (const Tonalite& t : port_->tonalites[0]) {
    EXPECT_GE(t.frequence, 120);
    EXPECT_LE(t.frequence, 5119);
    EXPECT_GE(t.duree_ms, 20);
    EXPECT_LE(t.duree_ms, 99);
  }
  cliquer("SpeedButton_mise_a_jour");
  EXPECT_EQ(port_->pages_web, std::vector<std::string>{"https://tamso.example.org/"});
  EXPECT_TRUE(port_->echanges.empty());
}

// Without a description directory, "Enregistrer" shows the banner in front of
// the window while its message is shown, then removes it.
TEST_F(Signaux, SaveWithoutDescriptionDirectoryShowsTheBanner) {
  demarrer();
  ASSERT_TRUE(fenetre_->session().description.dossier_description.empty());
  bool vu = false;
  port_->pendant_question = [this, &vu](const std::string& texte) {
    if (texte.find(" Nouveau fichier de description") != 0) return;
    auto* b = fenetre_->findChild<QLabel*>(QStringLiteral("Panel_bandeau"));
    ASSERT_NE(b, nullptr);
    vu = true;
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->text(), QStringLiteral("déplacer \"notepad++\" vers le bas pour voir les "
                                        "messages au centre de l'écran"));
    EXPECT_EQ(b->geometry(), QRect((fenetre_->width() - 750) / 2, 50, 750, 200));
    // In front of every control: the last child of the window, over the
    // central widget.
    EXPECT_EQ(fenetre_->children().last(), b);
    const QImage image = fenetre_->grab().toImage();
    EXPECT_EQ(image.pixelColor(b->geometry().topLeft() + QPoint(4, 4)), QColor(0, 0, 128));
  };
  cliquer("SpeedButton_Enregistrer_dsc");
  ASSERT_TRUE(vu);
  EXPECT_FALSE(fenetre_->findChild<QLabel*>(QStringLiteral("Panel_bandeau"))->isVisible());
}

// "patientez..." stands while a description is read, at start-up and when
// one is opened (a value that is not a whole number stops the reading with
// a message: the label is seen then), and goes away after.
TEST_F(Signaux, WaitLabelWhileADescriptionIsRead) {
  const std::string dsc =
      ecrire_dsc("station.dsc", {"Edit_masque.text= *.csv", "RadioGroup_methode_ItemIndex= x"});
  ASSERT_TRUE(ecrire_fichier_une_ligne(dsc, programme_ + "tamso.prm"));
  std::vector<std::pair<bool, QString>> pendant;
  port_->pendant_question = [this, &pendant](const std::string& texte) {
    if (texte != "'x' n'est pas une valeur entière correcte") return;
    QLabel* l = label("Label_patientez");
    pendant.emplace_back(l->isVisible(), l->text());
  };
  port_->reponses = {Reponse::oui};  // the last description is used
  demarrer();
  ASSERT_EQ(pendant.size(), 1u) << port_->dernier_texte();
  EXPECT_EQ(pendant[0], std::pair(true, QStringLiteral("patientez...")));
  EXPECT_FALSE(label("Label_patientez")->isVisible());

  port_->fichiers_a_ouvrir.push_back(dsc);
  cliquer("SpeedButton_desc_bd");
  ASSERT_EQ(pendant.size(), 2u) << port_->dernier_texte();
  EXPECT_EQ(pendant[1], std::pair(true, QStringLiteral("patientez...")));
  EXPECT_FALSE(label("Label_patientez")->isVisible());
}

// A click on "test d'existence des 3  répertoires" does what "Résumé des DSC"
// does: without a description directory its message, with one the summary.
TEST_F(Signaux, DirectoryTestLabelOpensTheSummary) {
  demarrer();
  auto* l = label("Label_test_repertoires");
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->text(), QStringLiteral("test d'existence des 3  répertoires"));
  EXPECT_TRUE(l->isVisible());
  QTest::mouseClick(l, Qt::LeftButton);
  EXPECT_EQ(port_->dernier_texte(),
            " D'abord choisir un répertoire des fichiers de description \n");

  port_->fichiers_a_ouvrir.push_back(ecrire_dsc("station.dsc", {"Edit_masque.text= *.csv"}));
  cliquer("SpeedButton_desc_bd");
  QTest::mouseClick(l, Qt::LeftButton);
  auto* resume = fenetre_->findChild<QWidget*>(QStringLiteral("Panel_resume_dsc"));
  ASSERT_NE(resume, nullptr);
  EXPECT_TRUE(resume->isVisible());
}

// The listing's file facts and the run's counts are shown in the window.
TEST_F(Signaux, ListingAndRunLabelsAreShown) {
  dossier_->ecrire("donnees/mesures-2021 a.csv",
                   test::crlf({"Date;a", "2021-03-12 10:00:00;1", "2021-03-12 10:15:00;2",
                               "2021-03-12 10:30:00;3"}));
  demarrer();
  port_->fichiers_a_ouvrir.push_back(ecrire_dsc(
      "mesures.dsc",
      {"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
       "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss", "Edit_nom_fic_sortie.text= res"}));
  cliquer("SpeedButton_desc_bd");
  cliquer("SpeedButton_lister");
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 8));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 8));
  QApplication::processEvents();
  const int largeur3 = controle<QWidget>("Cadre3")->width();
  const int largeur4 = controle<QWidget>("Cadre4")->width();
  // The period moves from a Monday to a Friday, a longer day name.
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_deb")->setTime(QTime(10, 0));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_fin")->setTime(QTime(11, 0));
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 15));
  cliquer("SpeedButton_traiter_fichier");
  ASSERT_TRUE(fichier_existe(sortie_ + "res.txt")) << port_->dernier_texte();
  // Three lines of data, one value column: the grid has the date-time, the
  // value and the line count. The name without its extension reads "-" and
  // blanks as "_"; the file of 77 bytes is 0.000077 Mo, written with at
  // most two decimals: "0 Mo".
  struct Attendu {
    const char* nom;
    QString texte;
  };
  const Attendu attendus[] = {
      {"Label_nlig_impliquee", QStringLiteral("3 lignes extraites")},
      {"Label5", QStringLiteral("3 colonnes (avec temps et nb)")},
      {"Label_nom_de_fichier", QStringLiteral("mesures_2021_a")},
      {"Label1", QStringLiteral("0 Mo")},
  };
  QApplication::processEvents();  // the layouts follow the new texts
  for (const Attendu& a : attendus) {
    QLabel* l = label(a.nom);
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->isVisible()) << a.nom;
    EXPECT_EQ(l->text(), a.texte) << a.nom;
    // Wide enough to show its whole text.
    EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text())) << a.nom;
  }
  // A run of a few milliseconds asks for no tone.
  EXPECT_TRUE(port_->tonalites.empty());
  // Regions 3 and 4 kept their widths; every cell of the file table, dates
  // and counts included, fits its column.
  EXPECT_EQ(controle<QWidget>("Cadre3")->width(), largeur3);
  EXPECT_EQ(controle<QWidget>("Cadre4")->width(), largeur4);
  auto* table = controle<QTableView>("StringGrid1");
  for (int c = 0; c < table->model()->columnCount(); ++c) {
    const QString t = table->model()->index(0, c).data().toString();
    EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(t)) << ss(t);
  }
}

// The player with the platform's sound output: the call returns at once, the
// nine tones are played or skipped (no sound device: all skipped) within
// their own length and a margin, and nothing crashes, even when the player
// goes while tones wait.
TEST(JoueurTonalitesQt, PlaysOrSkipsEveryToneWithoutHolding) {
  const std::vector<Tonalite> t = tonalites_signal(3);
  int duree = 0;
  for (const Tonalite& u : t) duree += u.duree_ms;
  JoueurTonalites joueur;
  QElapsedTimer montre;
  montre.start();
  joueur.jouer(t);
  EXPECT_LT(montre.elapsed(), 100);
  EXPECT_TRUE(joueur.en_cours());
  ASSERT_TRUE(QTest::qWaitFor([&joueur] { return !joueur.en_cours(); }, duree + 9 * 500 + 2000));
  EXPECT_EQ(joueur.jouees() + joueur.sautees(), 9);

  auto court = std::make_unique<JoueurTonalites>();
  court->jouer(t);
  QTest::qWait(5);
  court.reset();
}

}  // namespace
}  // namespace tamso
