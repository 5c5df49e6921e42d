#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/tracking_log.h"
#include "gui/port_test.h"
#include "gui/window_fixture.h"
#include "input/date_format.h"
#include "input/files.h"
#include "support/temp_dir.h"
#include "ui/colour_panel.h"
#include "ui/directory_panel.h"
#include "ui/file_table_view.h"
#include "ui/help_texts.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace tamso {
namespace {

using test::PortTest;

class Fenetre : public test::AvecFenetre {
 protected:
  // A DSC file with the given lines; the other settings take their defaults.
  std::string ecrire_dsc(const std::string& nom, const std::vector<std::string>& lignes) {
    std::vector<std::string> toutes = lignes;
    toutes.push_back("dossier_choisi= " + donnees_);
    toutes.push_back("dossier_choisi_sortie= " + sortie_);
    toutes.push_back("dossier_description= " + descriptions_);
    return dossier_->ecrire("descriptions/" + nom, test::crlf(toutes));
  }
  // The description of the fixture files "station_pv.csv".
  std::string dsc_stations() {
    return ecrire_dsc(
        "station.dsc",
        {"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
         "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss", "Edit_f_station.text= 1"});
  }
  // Copies of the fixture "station_pv.csv" under these names, listed after
  // a start and the opening of their description (what the window said
  // before the listing is forgotten): the file table.
  VueTableFichiers* lister(std::initializer_list<const char*> noms) {
    for (const char* nom : noms) copier_fixture("station_pv.csv", nom);
    demarrer();
    ouvrir(dsc_stations());
    port_->echanges.clear();
    cliquer("SpeedButton_lister");
    return controle<VueTableFichiers>("StringGrid1");
  }
  // The files of two stations, Env10 and Env11, listed.
  VueTableFichiers* lister_deux_stations() { return lister({"Env10_a.csv", "Env11_b.csv"}); }
  void ouvrir(const std::string& dsc) {
    port_->fichiers_a_ouvrir.push_back(dsc);
    cliquer("SpeedButton_desc_bd");
  }
  void copier_fixture(const std::string& fixture, const std::string& nom) {
    std::filesystem::copy_file(std::string(TAMSO_DONNEES_TEST "listage/") + fixture,
                               donnees_ + nom);
  }

  void taper(const char* nom, const QString& texte, bool entree = true) {
    auto* e = controle<QLineEdit>(nom);
    if (!e) return;
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, texte);
    if (entree) QTest::keyClick(e, Qt::Key_Return);
  }
  QString etat(const char* nom) { return controle<QWidget>(nom)->property("etat").toString(); }
  std::string journal() { return ss(controle<QPlainTextEdit>("Memo5")->toPlainText()); }
  QString texte_label(const char* nom) { return controle<QLabel>(nom)->text(); }
  QString cellule(int ligne, int colonne) {
    auto* t = controle<QTableView>("StringGrid1");
    return t->model()->index(ligne - 1, colonne).data().toString();
  }
};

// ---------------------------------------------------------------- start-up

TEST_F(Fenetre, StartUpWritesTheBannerWithoutQuestions) {
  demarrer();
  EXPECT_TRUE(port_->echanges.empty()) << port_->dernier_texte();
  const std::string j = journal();
  EXPECT_NE(j.find(titre_programme()), std::string::npos);
  EXPECT_NE(j.find(ligne_version()), std::string::npos);
  EXPECT_NE(j.find("ORDINATEUR  DecimalSeparator  ,   virgule"), std::string::npos);
  EXPECT_FALSE(controle<QWidget>("RadioGroup_DECIMAL_SEPARATOR_entree")->isVisible());
  EXPECT_TRUE(controle<QWidget>("Panel1")->isVisible());
  EXPECT_EQ(etat("SpeedButton_stop"), "gris");
  EXPECT_TRUE(fenetre_->windowTitle().startsWith(QStringLiteral("T a m s o  -  ")));
  EXPECT_EQ(controle<QPushButton>("SpeedButton_lister")->text(),
            QStringLiteral("1- Valider et Lister les fichiers   csv"));
  EXPECT_EQ(controle<EtiquetteChemin>("Label_repertoire")->chemin(),
            QStringLiteral("répertoire données"));
  // Stop is ignored when nothing runs.
  cliquer("SpeedButton_stop");
  EXPECT_TRUE(port_->echanges.empty());
}

TEST_F(Fenetre, StartUpOffersTheLastDescription) {
  const std::string dsc = dsc_stations();
  ASSERT_TRUE(ecrire_fichier_une_ligne(dsc, programme_ + "tamso.prm"));
  port_->reponses = {Reponse::oui};
  demarrer();
  ASSERT_FALSE(port_->echanges.empty());
  EXPECT_EQ(port_->echanges[0].texte,
            "____________________________________ T a m s o\n\ndans => " + descriptions_ +
                "\n\n\nutiliser la dernière description utilisée ?                     \n\n"
                "station.dsc\n");
  EXPECT_EQ(controle<QLineEdit>("Edit_masque")->text(), QStringLiteral("*.csv"));
  EXPECT_EQ(texte_label("Label_description_bd"), QStringLiteral("station.dsc"));
}

// ---------------------------------------------------------------- opening a description

TEST_F(Fenetre, OpeningADescriptionShowsItsSettings) {
  demarrer();
  const std::string dsc = ecrire_dsc(
      "station.dsc",
      {"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
       "RadioGroup_methode_ItemIndex= 3", "Edit_nb_decimale.text= 4",
       "CheckBox_recursif.Checked= true", "RadioGroup_datetime_nb_col_ItemIndex= 1",
       "Edit_format_date_mesure_seule.text= jj/mm/aaaa", "TimePicker_decalage= 01:30:00",
       "RadioGroup_avec_sans_intitule_ItemIndex= 1", "Label_min_dsc.caption= 01/01/2021 00:00:00"});
  ouvrir(dsc);
  ASSERT_EQ(port_->dialogues.size(), 1u);
  EXPECT_EQ(port_->dialogues[0].titre, "choix de la description des données : ");
  EXPECT_EQ(port_->dialogues[0].filtre,
            "Fichiers descriptifs (*.dsc)|*.dsc|Tous les fichiers (*.*)|*.*");

  EXPECT_EQ(controle<QLineEdit>("Edit_masque")->text(), QStringLiteral("*.csv"));
  EXPECT_TRUE(controle<QRadioButton>("RadioButton3_separateur_colonne")->isChecked());
  EXPECT_TRUE(controle<QRadioButton>("RadioButton4_methode")->isChecked());
  EXPECT_FALSE(controle<QRadioButton>("RadioButton1_methode")->isChecked());
  EXPECT_EQ(controle<QLineEdit>("Edit_nb_decimale")->text(), QStringLiteral("4"));
  EXPECT_TRUE(controle<QCheckBox>("CheckBox_recursif")->isChecked());
  EXPECT_EQ(controle<QTimeEdit>("TimePicker_decalage")->time(), QTime(1, 30, 0));
  EXPECT_TRUE(controle<QRadioButton>("RadioButton2_datetime_nb_col")->isChecked());
  EXPECT_TRUE(controle<QLineEdit>("Edit_format_date_mesure_seule")->isVisible());
  EXPECT_FALSE(controle<QLineEdit>("Edit_format_datetime_mesure")->isVisible());
  EXPECT_EQ(controle<QLineEdit>("Edit_format_date_mesure_seule")->text(),
            QStringLiteral("jj/mm/aaaa"));
  EXPECT_FALSE(controle<QLineEdit>("Edit_num_ligne_intitule_col")->isVisible());  // "sans"
  EXPECT_EQ(texte_label("Label_min_dsc"), QStringLiteral("01/01/2021 00:00:00"));
  EXPECT_EQ(texte_label("Label_description_bd"), QStringLiteral("station.dsc"));
  EXPECT_EQ(controle<EtiquetteChemin>("Label_repertoire")->chemin(), qs(donnees_));
  EXPECT_TRUE(fenetre_->windowTitle().endsWith(QStringLiteral("         >  station.dsc")));
  EXPECT_EQ(etat("SpeedButton_Enregistrer_dsc"), "");
}

// ---------------------------------------------------------------- listing

// At 1366 x 768 and 1366 x 728 after a listing: no scroll bar, and the small tracking panel
// lies under the table, not over its rows.
TEST_F(Fenetre, AtTheSmallScreenSizeNothingScrollsAndThePanelHidesNoRow) {
  lister({"Env10_2021_11_10_00.csv"});
  QApplication::processEvents();
  auto* defilement = fenetre_->findChild<QScrollArea*>(QStringLiteral("defilement"));
  ASSERT_NE(defilement, nullptr);
  EXPECT_FALSE(defilement->verticalScrollBar()->isVisible());
  // A 768-pixel screen with a 40-pixel panel: the rows are laid closer and
  // still fit.
  fenetre_->resize(1366, 728);
  QTest::qWait(50);
  EXPECT_FALSE(defilement->verticalScrollBar()->isVisible())
      << defilement->widget()->minimumSizeHint().height() << " "
      << defilement->viewport()->height();
  fenetre_->resize(1366, 768);
  QApplication::processEvents();
  auto* suivi = controle<QWidget>("Panel1");
  auto* table = controle<QWidget>("StringGrid1");
  ASSERT_TRUE(suivi->isVisible());
  const QRect t(table->mapTo(fenetre_.get(), QPoint(0, 0)), table->size());
  const QRect p(suivi->mapTo(fenetre_.get(), QPoint(0, 0)), suivi->size());
  EXPECT_FALSE(t.intersects(p)) << t.bottom() << " " << p.top();
  // Tall, it covers the table, as asked.
  cliquer("RadioButton_fen_suivi_grande");
  QApplication::processEvents();
  const QRect g(suivi->mapTo(fenetre_.get(), QPoint(0, 0)), suivi->size());
  EXPECT_TRUE(g.contains(QRect(t.topLeft(), QSize(t.width(), 10))));
}

TEST_F(Fenetre, ListingAFolderFillsTheTable) {
  lister({"Env10_2021_11_10_00.csv", "Env11_2021_11_11_00.csv"});
  EXPECT_TRUE(port_->echanges.empty()) << port_->dernier_texte();
  EXPECT_EQ(controle<QTableView>("StringGrid1")->model()->rowCount(), 2);
  EXPECT_EQ(cellule(1, 1), QStringLiteral("Env10_2021_11_10_00.csv"));
  EXPECT_EQ(cellule(2, 1), QStringLiteral("Env11_2021_11_11_00.csv"));
  EXPECT_EQ(cellule(1, 3), QStringLiteral("Env10"));
  EXPECT_EQ(cellule(1, 6), QStringLiteral("12/03/2021 10:00:00"));
  EXPECT_EQ(cellule(1, 7), QStringLiteral("12/03/2021 10:30:00"));
  EXPECT_EQ(cellule(2, 6), QStringLiteral(" ---"));  // only the first file is pre-read
  EXPECT_EQ(controle<QTableView>("StringGrid1")->model()->headerData(15, Qt::Horizontal).toString(),
            QStringLiteral(" x"));
  EXPECT_EQ(texte_label("Label_nb_fic"), QStringLiteral("2 fichiers"));
  EXPECT_EQ(texte_label("Label_date_heure_min"), QStringLiteral("12/03/2021 10:00:00"));
  EXPECT_EQ(controle<QLineEdit>("Edit_intitule_origine")->text(), QStringLiteral("Date;Temp"));
  EXPECT_EQ(etat("SpeedButton_lister"), "bleu");
  EXPECT_NE(journal().find("       --> Lister les 2 fichiers et lire le 1er"), std::string::npos);
  EXPECT_FALSE(fenetre_->occupe());
}

TEST_F(Fenetre, DoubleClickOnTheMarkColumnMarksTheFile) {
  auto* t = lister({"a.csv", "b.csv"});
  emit t->double_clic(TableFichiers::kColonneMarque, 2);
  EXPECT_EQ(cellule(2, 15), QStringLiteral("x"));
  EXPECT_EQ(fenetre_->session().fichiers_coches, (std::vector<std::string>{"b.csv"}));
}

TEST_F(Fenetre, TitleDoubleClickSortsUpThenDown) {
  auto* t = lister({"b.csv", "a.csv", "c.csv"});
  emit t->double_clic(1, 0);
  EXPECT_EQ(cellule(1, 1), QStringLiteral("a.csv"));
  EXPECT_EQ(cellule(3, 1), QStringLiteral("c.csv"));
  emit t->double_clic(1, 0);
  EXPECT_EQ(cellule(1, 1), QStringLiteral("c.csv"));
  EXPECT_EQ(cellule(3, 1), QStringLiteral("a.csv"));
}

TEST_F(Fenetre, RightClickOnTheStationOffersTheMarkingChoices) {
  auto* t = lister_deux_stations();
  emit t->clic_droit(3, 2, t->mapToGlobal(QPoint(100, 60)));
  ASSERT_TRUE(controle<QWidget>("Panel_coche")->isVisible());
  EXPECT_EQ(controle<QRadioButton>("RadioButton_coche1")->text(),
            QStringLiteral("ne cocher que les <Env11>"));
  cliquer("RadioButton_coche1");
  EXPECT_FALSE(controle<QWidget>("Panel_coche")->isVisible());
  EXPECT_EQ(cellule(1, 15), QString());
  EXPECT_EQ(cellule(2, 15), QStringLiteral("x"));
}

// ---------------------------------------------------------------- timestamp list

TEST_F(Fenetre, CreatingTheTimestampList) {
  demarrer();
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_deb")->setTime(QTime(0, 0, 0));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_fin")->setTime(QTime(2, 0, 0));
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 30, 0));
  EXPECT_EQ(texte_label("Label_temps_deb"), QStringLiteral("12/03/2021 00:00:00"));
  EXPECT_EQ(texte_label("Label_temps_fin"), QStringLiteral("12/03/2021 02:00:00"));
  EXPECT_EQ(texte_label("Label_jour_semaine_deb"), QStringLiteral("vendredi"));
  EXPECT_TRUE(fenetre_->session().periode_modifiee);

  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_creer_listes_date_clean");
  ASSERT_FALSE(port_->echanges.empty());
  EXPECT_EQ(port_->echanges[0].texte,
            " Créer une nouvelle liste de dates régulières ? \n\n\n du 12/03/2021 00:00:00\n\n"
            " au 12/03/2021 02:00:00\n\n au pas de 00:30:00\n\n => 4 dates\n\n");
  const QAbstractItemModel* liste = controle<QListView>("ListBox_date_clean")->model();
  ASSERT_EQ(liste->rowCount(), 7);
  EXPECT_EQ(liste->index(0, 0).data().toString(), QStringLiteral("_intitulés des colonnes"));
  EXPECT_EQ(liste->index(1, 0).data().toString(), QStringLiteral("11/03/2021 23:30:00"));
  EXPECT_EQ(liste->index(6, 0).data().toString(), QStringLiteral("12/03/2021 02:00:00"));
  EXPECT_EQ(texte_label("Label25"), QStringLiteral("6"));
  EXPECT_EQ(texte_label("Label_nr_final"), QStringLiteral("5"));
  EXPECT_EQ(etat("SpeedButton_creer_listes_date_clean"), "bleu");
}

TEST_F(Fenetre, StopButtonEndsAListBeingGenerated) {
  demarrer();
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 1, 1));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 1, 31));
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 0, 1));
  // Yes to the list, Yes to more than 32000 lines, Yes to the stop.
  port_->reponses = {Reponse::oui, Reponse::oui, Reponse::oui};
  QTimer::singleShot(30, fenetre_.get(), [this] { cliquer("SpeedButton_stop"); });
  cliquer("SpeedButton_creer_listes_date_clean");
  const auto textes = port_->textes();
  EXPECT_NE(std::find(textes.begin(), textes.end(), "Stopper le traitement  ?\n"), textes.end());
  const int complet = 30 * 86400 + 2;
  EXPECT_LT(controle<QListView>("ListBox_date_clean")->model()->rowCount(), complet);
  EXPECT_GT(controle<QListView>("ListBox_date_clean")->model()->rowCount(), 1);
  EXPECT_FALSE(fenetre_->occupe());
  EXPECT_EQ(etat("SpeedButton_stop"), "gris");
}

TEST_F(Fenetre, ZeroButtonAsksBeforeClearingTheStartTime) {
  demarrer();
  controle<QTimeEdit>("TimePicker_deb")->setTime(QTime(10, 30, 0));
  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_deb");
  EXPECT_EQ(port_->dernier_texte(),
            "=== heure début ===\n\n  10:30:00\n\n mettre à\n\n  00:00:00   ?");
  EXPECT_EQ(controle<QTimeEdit>("TimePicker_deb")->time(), QTime(0, 0, 0));
}

// ---------------------------------------------------------------- edits

TEST_F(Fenetre, ColumnsToExtractLoseTheDateColumnWithTheMessage) {
  demarrer();
  cliquer("CheckBox_col_cochee");
  taper("Edit_col_cochee", QStringLiteral("1,3"));
  ASSERT_EQ(port_->echanges.size(), 1u);
  EXPECT_EQ(port_->dernier_texte(),
            " Il a fallu enlever le n° de la colonne date/time de la liste des colonnes à "
            "extraire\n\n  de <1,3>\n\n   à <3>");
  EXPECT_EQ(controle<QLineEdit>("Edit_col_cochee")->text(), QStringLiteral("3"));
}

TEST_F(Fenetre, FourMInTheDateTimeFormatAreWarnedOnce) {
  demarrer();
  taper("Edit_format_datetime_mesure", QStringLiteral("aaaa-mm-jj hh mm ss"));
  controle<QLineEdit>("Edit_masque")->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(port_->echanges.size(), 1u);
  EXPECT_EQ(port_->dernier_texte(),
            " il y a 4 \"m\", vérifier que les minutes soient \"mn\" et non \"mm\" comme les "
            "mois !");
  EXPECT_EQ(controle<QLineEdit>("Edit_format_datetime_mesure")->text(),
            QStringLiteral("aaaa-mm-jj_hh_mm_ss"));
  taper("Edit_format_datetime_mesure", QStringLiteral("aaaa-mm-jj hh:mm:ss"));
  EXPECT_EQ(controle<QLineEdit>("Edit_format_datetime_mesure")->text(),
            QStringLiteral("aaaa-mm-jj_hh:mn:ss"));
  EXPECT_EQ(port_->echanges.size(), 1u);
}

// Passing through the format boxes without typing leaves formats that read
// the same dates: their blanks become "_" fillers, never removed.
TEST_F(Fenetre, TabbingThroughTheFormatBoxesKeepsThemReadable) {
  ouvrir(ecrire_dsc("formats.dsc", {"Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                                    "Edit_format_date_mesure_seule.text= jj/mm/aaaa",
                                    "Edit_f_date_fichier.text= aaaa mm jj,3"}));
  demarrer();
  for (const char* nom :
       {"Edit_format_datetime_mesure", "Edit_format_date_mesure_seule", "Edit_f_date_fichier"}) {
    controle<QLineEdit>(nom)->setFocus();
    QApplication::processEvents();
    controle<QLineEdit>("Edit_masque")->setFocus();
    QApplication::processEvents();
  }
  const Description& d = fenetre_->session().description;
  EXPECT_EQ(d.format_datetime_mesure, "aaaa-mm-jj_hh:mn:ss");
  EXPECT_EQ(d.format_date_mesure_seule, "jj/mm/aaaa");
  EXPECT_EQ(d.f_date_fichier, "aaaa_mm_jj,3");
  EtatLecteurDates lecteur;
  JournalSuivi j;
  EXPECT_EQ(normaliser_date_mesure("2023-03-01 14:25:30", d.format_datetime_mesure, lecteur, j),
            "01/03/2023 14:25:30");
}

TEST_F(Fenetre, EquivalencesAndFirstDataLine) {
  demarrer();
  taper("Edit_equiv_na", QStringLiteral("NA,V;-1"));
  EXPECT_EQ(controle<QLineEdit>("Edit_equiv_na")->text(), QStringLiteral("NA;V;-1"));
  EXPECT_TRUE(port_->echanges.empty());
  taper("Edit_num_ligne_donnee", QStringLiteral("1"));
  EXPECT_EQ(port_->dernier_texte(),
            " la valeur 1 n'est pas valide comme n° de ligne de donnée par rapport à celui de "
            "l'intitulés de colonnes : 1 ...");
}

TEST_F(Fenetre, MaskRefusesStarAndPoint) {
  demarrer();
  taper("Edit_masque", QStringLiteral("*.txt"), false);
  EXPECT_EQ(controle<QLineEdit>("Edit_masque")->text(), QStringLiteral("txt"));
  EXPECT_EQ(controle<QPushButton>("SpeedButton_lister")->text(),
            QStringLiteral("1- Valider et Lister les fichiers   txt"));
  taper("Edit_masque", QStringLiteral("xls"), false);
  EXPECT_EQ(controle<QPushButton>("SpeedButton_lister")->text(),
            QStringLiteral("1- Valider le fichier xls"));
  EXPECT_TRUE(controle<QWidget>("Edit_num_feuille_excel")->isVisible());
}

TEST_F(Fenetre, EnterInTheMaskWithoutFilesSaysSoAndPppMeansTheClipboard) {
  demarrer();
  ouvrir(dsc_stations());
  port_->echanges.clear();
  taper("Edit_masque", QStringLiteral("dat"));
  EXPECT_EQ(port_->dernier_texte(), " Aucun fichier ayant l'extension dat        \n");
  taper("Edit_masque", QStringLiteral("ppp"), false);
  EXPECT_EQ(fenetre_->session().source, SourceDonnees::presse_papier);
  EXPECT_EQ(controle<QPushButton>("SpeedButton_lister")->text(),
            QStringLiteral("1- Valider le presse-papier"));
}

TEST_F(Fenetre, CheckBoxesAndOptionsShowHideAndRepaint) {
  demarrer();
  // The big table lies in front of regions 3 and 4, taller and wider; it
  // goes back to its place after.
  auto* table = controle<QWidget>("StringGrid1");
  const QSize avant = table->size();
  cliquer("CheckBox_grand_tableau");
  QApplication::processEvents();
  EXPECT_TRUE(controle<QWidget>("Cadre1")->isVisible());
  EXPECT_GT(table->width(), avant.width() + controle<QWidget>("Cadre3")->width());
  EXPECT_GT(table->height(), avant.height());
  const QPoint centre4 = controle<QWidget>("Cadre4")->geometry().center();
  EXPECT_EQ(controle<QWidget>("contenu")->childAt(centre4)->window(), fenetre_->window());
  EXPECT_TRUE(table->isAncestorOf(controle<QWidget>("contenu")->childAt(centre4)) ||
              controle<QWidget>("contenu")->childAt(centre4) == table);
  cliquer("CheckBox_grand_tableau");
  QApplication::processEvents();
  EXPECT_TRUE(controle<QWidget>("Cadre2")->isAncestorOf(table));
  EXPECT_EQ(table->width(), avant.width());
  // The step unit "jour" shows the count box.
  cliquer("RadioButton2_jour_mois_annee");
  EXPECT_TRUE(controle<QSpinBox>("SpinEdit_pas_jour_mois_annee")->isVisible());
  EXPECT_FALSE(controle<QTimeEdit>("TimePicker_pas")->isVisible());
  EXPECT_EQ(texte_label("Label_unite_pas"), QStringLiteral("jour"));
  cliquer("RadioButton1_jour_mois_annee");
  EXPECT_TRUE(controle<QTimeEdit>("TimePicker_pas")->isVisible());
  // Delta and derivative exclude each other.
  cliquer("CheckBox_delta_Y");
  EXPECT_TRUE(controle<QCheckBox>("CheckBox_delta_Y")->isChecked());
  cliquer("CheckBox_derivees");
  EXPECT_TRUE(controle<QCheckBox>("CheckBox_derivees")->isChecked());
  EXPECT_FALSE(controle<QCheckBox>("CheckBox_delta_Y")->isChecked());
  // The shift settings are painted active when checked.
  auto* panneau = controle<QWidget>("Panel_decalage");
  EXPECT_EQ(panneau->property("actif").toString(), QStringLiteral("non"));
  cliquer("CheckBox_decalage_actif");
  EXPECT_EQ(panneau->property("actif").toString(), QStringLiteral("oui"));
  EXPECT_TRUE(fenetre_->session().description.decalage_actif);
  // The grey scheme repaints the window.
  cliquer("RadioButton2_coul_nb");
  EXPECT_EQ(fenetre_->session().couleurs[0], (Couleur{240, 240, 240}));
  EXPECT_EQ(controle<QWidget>("contenu")->palette().color(QPalette::Window), QColor(240, 240, 240));
}

// ---------------------------------------------------------------- indicator of unsaved changes

TEST_F(Fenetre, ModifiedIndicatorTurnsRedAndBack) {
  demarrer();
  ouvrir(dsc_stations());
  EXPECT_EQ(etat("SpeedButton_Enregistrer_dsc"), "");
  taper("Edit_nb_decimale", QStringLiteral("5"), false);
  EXPECT_EQ(etat("SpeedButton_Enregistrer_dsc"), "rouge");
  EXPECT_EQ(etat("SpeedButton_enreg_description"), "");
  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_Enregistrer_dsc");
  EXPECT_EQ(port_->dernier_texte(),
            " Enregistrer les modifications de la description de données    station.dsc\n\n"
            " dans le répertoire " +
                descriptions_ + "   ?   \n\n");
  EXPECT_EQ(etat("SpeedButton_Enregistrer_dsc"), "");
  const auto lignes = lire_lignes_texte(fenetre_->session().chemin_dsc());
  ASSERT_TRUE(lignes.has_value());
  EXPECT_NE(std::find(lignes->begin(), lignes->end(), "Edit_nb_decimale.text= 5"), lignes->end());
}

TEST_F(Fenetre, WithoutDescriptionDirectorySaveUnderIsRed) {
  demarrer();
  taper("Edit_nb_decimale", QStringLiteral("5"), false);
  EXPECT_EQ(etat("SpeedButton_enreg_description"), "rouge");
  EXPECT_EQ(etat("SpeedButton_Enregistrer_dsc"), "");
}

// ---------------------------------------------------------------- directories and panels

TEST_F(Fenetre, ChoosingTheOutputDirectory) {
  demarrer();
  ouvrir(dsc_stations());
  const std::string autre = dossier_->sous_dossier("export2");
  cliquer("SpeedButton_choix_rep_sortie");
  auto* panneau = controle<PanneauRepertoires>("Panel_choix_repertoire");
  ASSERT_TRUE(panneau->isVisible());
  EXPECT_EQ(etat("SpeedButton_choix_rep_sortie"), "rouge");
  panneau->choisir_dossier(qs(autre));
  cliquer("SpeedButton_valider_repertoire");
  EXPECT_FALSE(panneau->isVisible());
  EXPECT_EQ(controle<EtiquetteChemin>("Label_rep_sortie")->chemin(), qs(autre));
  EXPECT_EQ(fenetre_->session().description.dossier_choisi_sortie, autre);
  const auto recents = lire_lignes_texte(programme_ + "nom_fic_rep_recents.txt");
  ASSERT_TRUE(recents.has_value());
  EXPECT_NE(std::find(recents->begin(), recents->end(), "1- " + donnees_), recents->end());
}

TEST_F(Fenetre, DescriptionSummaryListsTheDscFiles) {
  demarrer();
  ouvrir(dsc_stations());
  ecrire_dsc("autre.dsc", {"Edit_masque.text= *.txt"});
  cliquer("SpeedButton_change_hd");
  ASSERT_TRUE(controle<QWidget>("Panel_resume_dsc")->isVisible());
  const std::string t = ss(controle<QPlainTextEdit>("Memo_resume_dsc")->toPlainText());
  EXPECT_NE(t.find(descriptions_ + "station.dsc"), std::string::npos);
  EXPECT_NE(t.find(descriptions_ + "autre.dsc"), std::string::npos);
  EXPECT_NE(t.find("  " + donnees_), std::string::npos);
}

TEST_F(Fenetre, PathPrefixChangeMovesTheDirectoriesOfEveryDsc) {
  demarrer();
  ouvrir(dsc_stations());
  // A description written on another computer, its folders under /ancien_disque/.
  dossier_->ecrire("descriptions/ailleurs.dsc",
                   test::crlf({"dossier_choisi= /ancien_disque/donnees/",
                               "dossier_description= /ancien_disque/descriptions/",
                               "dossier_choisi_sortie= /ancien_disque/sortie/"}));
  cliquer("SpeedButton_change_hd");
  controle<QLineEdit>("Edit_prefixe_ancien")->setText(QStringLiteral("/ancien_disque/"));
  controle<QLineEdit>("Edit_lecteur")->setText(qs(dossier_->chemin()));
  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_modifier_lecteur");
  EXPECT_EQ(port_->dernier_texte(),
            " Confimation du changement de lecteur dans les fichiers DSC  (" + dossier_->chemin() +
                ")  ");
  const auto lignes = lire_lignes_texte(descriptions_ + "ailleurs.dsc");
  ASSERT_TRUE(lignes.has_value());
  EXPECT_EQ(*lignes, (std::vector<std::string>{"dossier_choisi= " + donnees_,
                                               "dossier_description= " + descriptions_,
                                               "dossier_choisi_sortie= " + sortie_}));
  EXPECT_NE(ss(controle<QPlainTextEdit>("Memo_resume_dsc")->toPlainText())
                .find("- modification lecteur par <" + dossier_->chemin() + ">"),
            std::string::npos);
}

TEST_F(Fenetre, ClearEmptiesTheTrackingLogAfterAYes) {
  demarrer();
  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_clear");
  EXPECT_EQ(port_->dernier_texte(), " Effacer le texte ? ");
  EXPECT_TRUE(journal().empty());
}

// The river example as shipped (its description names its data folder
// relative to itself), opened from the command line on a first start: it
// lists and runs over the description's own period with no other step.
TEST_F(Fenetre, AShippedExampleListsAndRunsAtOnce) {
  const std::string exemples = dossier_->sous_dossier("exemples");
  std::filesystem::copy(TAMSO_EXEMPLES "riviere.dsc", exemples + "riviere.dsc");
  std::filesystem::copy(TAMSO_EXEMPLES "riviere", exemples + "riviere");
  auto port = std::make_unique<test::PortTest>();
  port_ = port.get();
  fenetre_ = std::make_unique<FenetrePrincipale>(std::move(port), OptionsSession{',', programme_},
                                                 exemples + "riviere.dsc");
  fenetre_->resize(1366, 768);
  demarrer();
  Session& s = fenetre_->session();
  EXPECT_EQ(s.description.dossier_choisi, exemples + "riviere/");
  EXPECT_EQ(s.periode.debut, "07/11/2021 01:00:00");
  EXPECT_EQ(s.periode.fin, "09/11/2021 00:00:00");
  EXPECT_DOUBLE_EQ(s.periode.pas, 1.0 / 24);
  cliquer("SpeedButton_lister");
  EXPECT_EQ(s.nb_fichiers, 1);
  cliquer("SpeedButton_traiter_fichier");
  // Every five minutes over two days: 576 lines. The timestamps run from a
  // step before the start to the end, every hour: 00:00 on the 7th to 00:00
  // on the 9th, 49 of them.
  EXPECT_GT(s.etat_traitement.lignes_extraites, 500);
  EXPECT_EQ(s.grille.n(), 49);
}

// The button beside the description's period takes it at once; an
// unreadable one changes nothing and says so.
TEST_F(Fenetre, ThePeriodOfTheDescriptionIsTakenAtOnce) {
  demarrer();
  Session& s = fenetre_->session();
  s.description.min_dsc = "12/03/2021 10:00:00";
  s.description.max_dsc = "13/03/2021 10:00:00";
  s.description.pas_dsc = "00:30:00";
  cliquer("SpeedButton_periode_dsc");
  EXPECT_TRUE(port_->echanges.empty());
  EXPECT_EQ(controle<QDateEdit>("DatePicker_deb")->date(), QDate(2021, 3, 12));
  EXPECT_EQ(controle<QTimeEdit>("TimePicker_fin")->time(), QTime(10, 0));
  EXPECT_EQ(controle<QTimeEdit>("TimePicker_pas")->time(), QTime(0, 30));
  EXPECT_TRUE(s.periode_modifiee);
  s.description.max_dsc = "date-heure";
  cliquer("SpeedButton_periode_dsc");
  EXPECT_EQ(port_->dernier_texte(),
            " période de la description illisible :\n\n  12/03/2021 10:00:00\n  date-heure\n  "
            "00:30:00");
  EXPECT_EQ(s.periode.fin, "13/03/2021 10:00:00");
}

// Qt's own texts (the buttons of its dialogs) are French once its
// translation is installed, as the program does at start.
TEST(TraductionQt, QtDialogTextsAreFrench) {
  ASSERT_TRUE(installer_traduction_qt());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Ouvrir"));
}

TEST_F(Fenetre, HelpBoxShowsTheItemOfTheControl) {
  demarrer();
  QEvent entree(QEvent::Enter);
  QApplication::sendEvent(controle<QLineEdit>("Edit_masque"), &entree);
  auto* boite = controle<QPlainTextEdit>("Memo2");
  EXPECT_TRUE(boite->toPlainText().startsWith(
      QStringLiteral("1d- masque pour filtrer les fichiers à traiter")));
  // In a box so narrow that every line wraps, the next control's item
  // replaces the previous one whole, line by line.
  boite->setFixedWidth(80);
  QApplication::processEvents();
  // Items of two lines each: the box keeps its two lines and each changes.
  for (const char* nom : {"Edit_nom_fic_sortie", "Edit_equiv_na", "Edit_masque",
                          "Edit_new_desc_colonne", "Edit_nom_fic_sortie"}) {
    QApplication::sendEvent(controle<QWidget>(nom), &entree);
    const LignesAide* item = aide_du_controle(nom);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(nombre_lignes_aide(*item), 2) << nom;
    EXPECT_EQ(ss(boite->toPlainText()), (*item)[0] + "\n" + (*item)[1]) << nom;
  }
}

// ---------------------------------------------------------------- help frames

// "?+" shows the five frames with their titles and the note; each bar lies on
// an edge of its region and follows it; "?-" shows the bars alone, those
// above and below behind the controls; a button or a key hides them.
TEST_F(Fenetre, HelpFramesOutlineTheRegionsWithTheirTitles) {
  demarrer();
  struct Attendu {
    int n;
    const char* region;
    const char* titre;
    QColor couleur;
  };
  const Attendu cadres[] = {
      {1, "Cadre1", "1- Description des fichiers de données", QColor(255, 91, 13)},
      {2, "Cadre2", "2- Listage des fichiers impliqués", QColor(0, 0, 255)},
      {3, "Cadre3", "3- Format de sortie", QColor(255, 91, 13)},
      {4, "Cadre4", "4- Période ciblée", QColor(0, 0, 255)},
      {5, "Cadre5", "5- Zone de sortie et d'attente", QColor(255, 91, 13)},
  };
  const char* cotes[] = {"haut", "bas", "gauche", "droite"};
  const auto barre = [this](int n, const char* cote) {
    return controle<QWidget>(
        QStringLiteral("Panel_cadre%1_%2").arg(n).arg(cote).toLatin1().constData());
  };
  const auto titre = [this](int n) {
    return controle<QLabel>(QStringLiteral("Panel_titre_cadre%1").arg(n).toLatin1().constData());
  };
  EXPECT_EQ(fenetre_->findChild<QWidget*>(QStringLiteral("Panel_cadre1_haut")), nullptr);

  cliquer("SpeedButton_help2");
  for (const Attendu& c : cadres) {
    for (const char* cote : cotes) EXPECT_TRUE(barre(c.n, cote)->isVisible()) << c.n << cote;
    QLabel* t = titre(c.n);
    ASSERT_TRUE(t->isVisible()) << c.n;
    EXPECT_EQ(t->text(), QString::fromUtf8(c.titre));
    EXPECT_EQ(t->palette().color(QPalette::WindowText), c.couleur) << c.n;
    EXPECT_TRUE(t->font().bold());
    EXPECT_EQ(t->font().pointSize(), 12);
    EXPECT_EQ(t->height(), 50);
    EXPECT_EQ(t->width(), 10 * t->text().size());
    EXPECT_EQ(barre(c.n, "haut")->palette().color(QPalette::Window), c.couleur) << c.n;
    EXPECT_EQ(barre(c.n, "haut")->parentWidget(), controle<QWidget>(c.region)->parentWidget());
  }
  auto* note = controle<QLabel>("Panel_saisie_manuelle");
  ASSERT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), QStringLiteral("saisie manuelle ci-dessus"));
  EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(255, 0, 0));

  // Region 4 at (x, y), w x h: left L = x, top T = y - 4 (over the letters
  // of its title), right R = x + w - 6, bottom B = y + h - 6; the bars above
  // and below are R - L + 1 = w - 5 wide, those on the sides B - T + 6 = h + 4
  // high; the title, 17 characters, is 170 wide, its left (L + R - 170) / 2,
  // its top (T + B) / 2. The note, 25 characters, lies over the window.
  const auto verifier_cadre4 = [&] {
    const QRect g = controle<QWidget>("Cadre4")->geometry();
    const int x = g.x(), y = g.y(), w = g.width(), h = g.height();
    EXPECT_EQ(barre(4, "haut")->geometry(), QRect(x, y - 4, w - 5, 6));
    EXPECT_EQ(barre(4, "bas")->geometry(), QRect(x, y + h - 6, w - 5, 6));
    EXPECT_EQ(barre(4, "gauche")->geometry(), QRect(x, y - 4, 6, h + 4));
    EXPECT_EQ(barre(4, "droite")->geometry(), QRect(x + w - 6, y - 4, 6, h + 4));
    EXPECT_EQ(titre(4)->geometry(),
              QRect((2 * x + w - 6 - 170) / 2, (2 * y + h - 10) / 2, 170, 50));
    QWidget* racine = controle<QWidget>("racine");
    EXPECT_EQ(note->parentWidget(), racine);
    EXPECT_EQ(
        note->geometry(),
        QRect(
            controle<QWidget>("DatePicker_fin")->mapTo(racine, QPoint(0, 0)).x(),
            controle<QWidget>("RadioGroup_actuel_ou_passee")->mapTo(racine, QPoint(0, 0)).y() - 18,
            250, 50));
  };
  verifier_cadre4();

  // The frames follow the window.
  const QRect avant = controle<QWidget>("Cadre4")->geometry();
  fenetre_->resize(1600, 900);
  QApplication::processEvents();
  ASSERT_NE(controle<QWidget>("Cadre4")->geometry(), avant);
  verifier_cadre4();
  // "grand Tableau" lays the table over regions 2 to 4: the frames stay.
  cliquer("CheckBox_grand_tableau");
  QApplication::processEvents();
  EXPECT_TRUE(barre(1, "haut")->isVisible());
  EXPECT_TRUE(titre(1)->isVisible());
  EXPECT_TRUE(barre(4, "haut")->isVisible());
  verifier_cadre4();
  cliquer("CheckBox_grand_tableau");
  QApplication::processEvents();
  EXPECT_TRUE(barre(1, "haut")->isVisible());

  cliquer("SpeedButton_help2");
  for (const Attendu& c : cadres) {
    for (const char* cote : cotes) EXPECT_FALSE(barre(c.n, cote)->isVisible());
    EXPECT_FALSE(titre(c.n)->isVisible());
  }
  EXPECT_FALSE(note->isVisible());

  // "?-": the bars alone, above and below behind the regions, the sides in front.
  cliquer("SpeedButton_help3");
  const QObjectList freres = controle<QWidget>("Cadre4")->parentWidget()->children();
  const auto rang = [&freres](QObject* o) { return freres.indexOf(o); };
  for (const Attendu& c : cadres) {
    for (const char* cote : cotes) EXPECT_TRUE(barre(c.n, cote)->isVisible()) << c.n << cote;
    EXPECT_FALSE(titre(c.n)->isVisible());
  }
  EXPECT_FALSE(note->isVisible());
  EXPECT_LT(rang(barre(4, "haut")), rang(controle<QWidget>("Cadre4")));
  EXPECT_LT(rang(barre(4, "bas")), rang(controle<QWidget>("Cadre4")));
  EXPECT_GT(rang(barre(4, "gauche")), rang(controle<QWidget>("Cadre4")));

  // Releasing a key hides them and does nothing else.
  QTest::keyRelease(controle<QWidget>("Edit_masque"), Qt::Key_Escape);
  for (const Attendu& c : cadres)
    for (const char* cote : cotes) EXPECT_FALSE(barre(c.n, cote)->isVisible());
  EXPECT_TRUE(port_->echanges.empty()) << port_->dernier_texte();
}

// The floating help of the frame buttons follows the pointer; that of the
// period's bounds stands level with the period of the description.
TEST_F(Fenetre, FloatingHelpOfTheFrameButtonsAndOfThePeriodBounds) {
  demarrer();
  cliquer("CheckBox_aide_flottante");
  struct Cas {
    const char* controle;
    const char* premiere_ligne;
    bool au_niveau_de_la_periode;
  };
  const Cas cas[] = {
      {"SpeedButton_help2", "62-  aide sous forme de cadres avec dénominations", false},
      {"SpeedButton_help3", "62a-  aide sous forme de cadres avec possibilité de travailler avec",
       false},
      {"Label_temps_deb",
       "19-  Ces deux dates Debut et Fin (Min et Max) sont récupérables par "
       "clik ci-dessus parmi les 6 dates",
       true},
      {"SpeedButton_fin",
       "19-  Ces deux dates Debut et Fin (Min et Max) sont récupérables par "
       "clik ci-dessus parmi les 6 dates",
       true},
  };
  QWidget* racine = controle<QWidget>("racine");
  auto* flottante = controle<QLabel>("Memo3");
  for (const Cas& c : cas) {
    QWidget* w = controle<QWidget>(c.controle);
    QCursor::setPos(w->mapToGlobal(QPoint(2, 2)));
    QEvent entree(QEvent::Enter);
    QApplication::sendEvent(w, &entree);
    const QString attendue = QString::fromUtf8(c.premiere_ligne);
    EXPECT_EQ(controle<QPlainTextEdit>("Memo2")->toPlainText().section(QLatin1Char('\n'), 0, 0),
              attendue)
        << c.controle;
    ASSERT_TRUE(flottante->isVisible()) << c.controle;
    // The item's number gives way to two blanks.
    EXPECT_EQ(flottante->text().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("  ") + attendue.mid(2))
        << c.controle;
    const int pointeur = racine->mapFromGlobal(QCursor::pos()).y();
    const int attendu =
        c.au_niveau_de_la_periode
            ? controle<QWidget>("Label37")->mapTo(racine, QPoint(0, 0)).y()
            : std::max(0, std::min(pointeur + 20, racine->height() - flottante->height() - 150));
    EXPECT_EQ(flottante->y(), attendu) << c.controle;
  }
}

// Over a control without help the floating box goes; a double click on it
// opens the results file of the output directory, once one has been written.
TEST_F(Fenetre, FloatingHelpHidesWithoutHelpAndOpensTheResults) {
  demarrer();
  cliquer("CheckBox_aide_flottante");
  auto* flottante = controle<QLabel>("Memo3");
  QEvent entree(QEvent::Enter);
  QApplication::sendEvent(controle<QWidget>("Edit_masque"), &entree);
  ASSERT_TRUE(flottante->isVisible());
  QApplication::sendEvent(controle<QWidget>("contenu"), &entree);
  EXPECT_FALSE(flottante->isVisible());
  EXPECT_EQ(controle<QPlainTextEdit>("Memo2")->toPlainText().trimmed(), QString());

  QApplication::sendEvent(controle<QWidget>("Edit_masque"), &entree);
  ASSERT_TRUE(flottante->isVisible());
  QTest::mouseDClick(flottante, Qt::LeftButton);
  EXPECT_TRUE(port_->programmes.empty());

  fenetre_->session().description.dossier_choisi_sortie = sortie_;
  fenetre_->session().etiquette("Label21") = "res.txt";
  QTest::mouseDClick(flottante, Qt::LeftButton);
  ASSERT_EQ(port_->programmes.size(), 1u);
  ASSERT_FALSE(port_->programmes[0].arguments.empty());
  EXPECT_EQ(port_->programmes[0].arguments[0], sortie_ + "res.txt");
}

// A right click on a title explains its column in the help box while the
// pointer stays on it; on "Station" the marking choices open as well, for
// the station of the first file.
TEST_F(Fenetre, RightClickOnATitleExplainsItsColumn) {
  auto* t = lister_deux_stations();
  QHeaderView* titres = t->horizontalHeader();
  auto* boite = controle<QPlainTextEdit>("Memo2");
  struct Cas {
    int colonne;
    const char* premiere_ligne;
    const char* marquage;
  };
  const Cas cas[] = {
      {5, " place occupée sur le disque ", nullptr},
      {2, "                          liste de fichiers", nullptr},
      {3, " éventuellement extraite du nom du fichier ", "ne cocher que les <Env10>"},
  };
  for (const Cas& c : cas) {
    t->scrollTo(t->model()->index(0, c.colonne));
    const QPoint sur_titre(titres->sectionViewportPosition(c.colonne) + 4, titres->height() / 2);
    QTest::mouseMove(titres->viewport(), sur_titre);
    QTest::mouseClick(titres->viewport(), Qt::RightButton, {}, sur_titre);
    EXPECT_EQ(boite->toPlainText().section(QLatin1Char('\n'), 0, 0),
              QString::fromUtf8(c.premiere_ligne))
        << c.colonne;
    auto* marquage = controle<QWidget>("Panel_coche");
    EXPECT_EQ(marquage->isVisible(), c.marquage != nullptr) << c.colonne;
    if (c.marquage) {
      EXPECT_EQ(controle<QRadioButton>("RadioButton_coche1")->text(),
                QString::fromUtf8(c.marquage));
      cliquer("SpeedButton9");
    }
    // Moving on the same title keeps the explanation; the next title shows
    // the sorting line again.
    QTest::mouseMove(titres->viewport(), sur_titre + QPoint(1, 0));
    EXPECT_EQ(boite->toPlainText().section(QLatin1Char('\n'), 0, 0),
              QString::fromUtf8(c.premiere_ligne));
    const int suivante = c.colonne + 1;
    QTest::mouseMove(titres->viewport(),
                     QPoint(titres->sectionViewportPosition(suivante) + 4, titres->height() / 2));
    EXPECT_EQ(boite->toPlainText().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("      ====>  un double-clik sur un intitulé de colonne => tri "
                             "croissant / décroissant"));
  }
}

// "help" names the missing manual; once it is there, the desktop's viewer is
// asked to open it and no program is started.
TEST_F(Fenetre, HelpOpensTheManualOrSaysItIsMissing) {
  demarrer();
  const std::string manuel = programme_ + "tamso_manuel.pdf";
  cliquer("SpeedButton_help");
  EXPECT_EQ(port_->dernier_texte(), "<" + manuel + "> introuvable");
  EXPECT_TRUE(port_->documents.empty());

  dossier_->ecrire("programme/tamso_manuel.pdf", "%PDF-1.4\n");
  port_->echanges.clear();
  cliquer("SpeedButton_help");
  EXPECT_EQ(port_->documents, std::vector<std::string>{manuel});
  EXPECT_TRUE(port_->echanges.empty());
  EXPECT_TRUE(port_->programmes.empty());
}

// ---------------------------------------------------------------- run and leaving

TEST_F(Fenetre, ProcessingWritesTheResultsAndShowsThem) {
  copier_fixture("station_pv.csv", "Env10_2021_11_10_00.csv");
  demarrer();
  ouvrir(ecrire_dsc("station.dsc",
                    {"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
                     "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                     "Edit_nom_fic_sortie.text= res", "Edit_nb_decimale.text= 2"}));
  cliquer("SpeedButton_lister");
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_deb")->setTime(QTime(10, 0, 0));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 12));
  controle<QTimeEdit>("TimePicker_fin")->setTime(QTime(10, 30, 0));
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 15, 0));
  port_->echanges.clear();
  cliquer("SpeedButton_traiter_fichier");
  for (const auto& q : port_->echanges)
    EXPECT_EQ(q.boutons, Boutons::ok) << "question: " << q.texte;

  // The list starts one step before the period: 09:45, 10:00, 10:15, 10:30;
  // its first row is never written; each row holds one measurement.
  const auto lignes = lire_lignes_texte(sortie_ + "res.txt");
  ASSERT_TRUE(lignes.has_value());
  ASSERT_EQ(lignes->size(), 4u);
  EXPECT_EQ((*lignes)[1], "12/03/2021 10:00:00\t 1,50\t1");
  EXPECT_EQ((*lignes)[2], "12/03/2021 10:15:00\t 2,50\t1");
  EXPECT_EQ((*lignes)[3], "12/03/2021 10:30:00\t 3,00\t1");
  EXPECT_TRUE(fichier_existe(sortie_ + "res.txt.TXT"));

  EXPECT_EQ(lignes_vue("RichEdit3"), *lignes);
  EXPECT_EQ(texte_label("Label21"), QStringLiteral("res.txt"));
  EXPECT_EQ(etat("SpeedButton_traiter_fichier"), "violet");
  EXPECT_EQ(port_->presse_papier.substr(0, 5), "temps");
  EXPECT_FALSE(fenetre_->occupe());

  // "sans col DateTime": the values alone, shown and copied.
  port_->echanges.clear();
  cliquer("SpeedButton_sans_coldate");
  EXPECT_EQ(port_->dernier_texte(),
            " les colonnes sans la date ni le nombre de lignes extraites\n\n sont copiées dans "
            "le presse-papier");
  EXPECT_TRUE(controle<QWidget>("RichEdit4")->isVisible());
  EXPECT_EQ(lignes_vue("RichEdit4"), (std::vector<std::string>{"Temp", " 1,50", " 2,50", " 3,00"}));
}

TEST_F(Fenetre, ProcessingWithoutListingSaysSo) {
  demarrer();
  cliquer("SpeedButton_traiter_fichier");
  EXPECT_EQ(port_->dernier_texte(), " Il faut d'abord Lister des fichiers de données...");
}

TEST_F(Fenetre, AnyKeyCancelsTheShutdownCountdown) {
  demarrer();
  fenetre_->fixer_duree_compte_a_rebours(0.05);
  QTimer::singleShot(800, fenetre_.get(),
                     [this] { QTest::keyClick(controle<QWidget>("Edit_masque"), Qt::Key_A); });
  EXPECT_FALSE(fenetre_->compte_a_rebours_extinction());
  EXPECT_FALSE(port_->eteint);
  EXPECT_FALSE(controle<QWidget>("Panel4")->isVisible());
}

TEST_F(Fenetre, CountdownRunsOutAndSwitchesOff) {
  demarrer();
  fenetre_->fixer_duree_compte_a_rebours(0.01);
  EXPECT_TRUE(fenetre_->compte_a_rebours_extinction());
  EXPECT_TRUE(port_->eteint);
}

TEST_F(Fenetre, EscapeAsksBeforeLeavingAndLeavingWritesThePeriodFile) {
  demarrer();
  port_->reponses = {Reponse::non};
  QTest::keyClick(fenetre_.get(), Qt::Key_Escape);
  EXPECT_EQ(port_->dernier_texte(), "Quitter  ?\n");
  EXPECT_TRUE(fenetre_->isVisible());
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(1, 0, 0));
  port_->reponses = {Reponse::oui};
  cliquer("SpeedButton_exit");
  EXPECT_FALSE(fenetre_->isVisible());
  EXPECT_EQ(lire_ligne_fichier(programme_ + "tamso.2dt", 3), "01:00:00");
}

// Escape acts when released: an open panel closes first, and only then is
// leaving asked; the release of an Escape pressed elsewhere (in a dialog
// it closed) does nothing.
TEST_F(Fenetre, EscapeClosesAnOpenPanelBeforeAskingToLeave) {
  demarrer();
  QWidget* f = fenetre_.get();
  QTest::keyPress(f, Qt::Key_Escape);
  EXPECT_TRUE(port_->echanges.empty());
  auto* couleurs = fenetre_->findChild<PanneauCouleurs*>();
  ASSERT_NE(couleurs, nullptr);
  couleurs->show();
  QTest::keyRelease(f, Qt::Key_Escape);
  EXPECT_FALSE(couleurs->isVisible());
  EXPECT_TRUE(port_->echanges.empty());
  QTest::keyRelease(f, Qt::Key_Escape);  // no press seen: nothing
  EXPECT_TRUE(port_->echanges.empty());
  port_->reponses = {Reponse::non};
  QTest::keyClick(f, Qt::Key_Escape);
  EXPECT_EQ(port_->dernier_texte(), "Quitter  ?\n");
  EXPECT_TRUE(fenetre_->isVisible());
}

// F5 lists, F9 runs, and the hints say so; Delete in the table acts on its
// release.
TEST_F(Fenetre, KeysOfTheMainButtonsAndDeleteOnRelease) {
  copier_fixture("station_pv.csv", "Env10_2021_11_10_00.csv");
  copier_fixture("station_pv.csv", "Env11_2021_11_11_00.csv");
  demarrer();
  fenetre_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fenetre_.get()));
  ouvrir(dsc_stations());
  EXPECT_TRUE(
      controle<QPushButton>("SpeedButton_lister")->toolTip().endsWith(QStringLiteral("(F5)")));
  EXPECT_TRUE(controle<QPushButton>("SpeedButton_traiter_fichier")
                  ->toolTip()
                  .endsWith(QStringLiteral("(F9)")));
  QTest::keyClick(fenetre_.get(), Qt::Key_F5);
  ASSERT_EQ(controle<QTableView>("StringGrid1")->model()->rowCount(), 2);

  auto* table = controle<QTableView>("StringGrid1");
  table->setFocus();
  table->selectRow(0);
  port_->echanges.clear();
  port_->reponses = {Reponse::oui};
  QTest::keyPress(table, Qt::Key_Delete);
  EXPECT_TRUE(port_->echanges.empty());
  QTest::keyRelease(table, Qt::Key_Delete);
  EXPECT_EQ(port_->dernier_texte(), "effacer la lignes sélectionnée  L1  ?\n");
  EXPECT_EQ(table->model()->rowCount(), 1);
}

// ---------------------------------------------------------------- drawing of the table

TEST(DessinTable, CellColoursFollowTheColumnAndTheSelection) {
  const std::array<Couleur, 4> c = {Couleur{1, 1, 1}, Couleur{2, 2, 2}, Couleur{3, 3, 3},
                                    Couleur{4, 4, 4}};
  const QColor texte(10, 10, 10), marron(128, 0, 0);
  EXPECT_EQ(couleurs_cellule(6, false, c, texte).fond, QColor(2, 2, 2));
  EXPECT_EQ(couleurs_cellule(6, false, c, texte).texte, QColor(0, 0, 255));
  EXPECT_EQ(couleurs_cellule(7, true, c, texte).fond, QColor(2, 2, 2));
  EXPECT_EQ(couleurs_cellule(7, true, c, texte).texte, marron);
  EXPECT_EQ(couleurs_cellule(3, true, c, texte).fond, QColor(4, 4, 4));
  EXPECT_EQ(couleurs_cellule(1, false, c, texte).fond, QColor(4, 4, 4));
  EXPECT_EQ(couleurs_cellule(1, false, c, texte).texte, marron);
  EXPECT_EQ(couleurs_cellule(15, false, c, texte).fond, QColor(2, 2, 2));
  EXPECT_EQ(couleurs_cellule(4, false, c, texte).fond, QColor(1, 1, 1));
  EXPECT_EQ(couleurs_cellule(4, false, c, texte).texte, texte);
}

TEST(FiltreDialogue, PatternsInBothCasesAndAllFiles) {
  EXPECT_EQ(
      InteractionQt::filtre_qt("Fichiers descriptifs (*.dsc)|*.dsc|Tous les fichiers (*.*)|*.*"),
      QStringLiteral("Fichiers descriptifs (*.dsc *.DSC);;Tous les fichiers (*)"));
}

}  // namespace
}  // namespace tamso
