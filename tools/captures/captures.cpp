// Screenshots of the main window after start-up (with the banner of a first
// save), after a listing (with its help frames and its floating help, and
// the big table), and of the graph window after a run of each example (for
// the river gauge: five charts, a point read-out, the values on the points,
// one chart alone, the 3D views, the help box), at the size of the screen it
// runs on (run it under xvfb-run with the screen size wanted).
// Usage: tamso_captures <folder>
#include <clocale>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include "gui/port_test.h"
#include "input/files.h"
#include "support/temp_dir.h"
#include "ui/file_table_view.h"
#include "ui/graph_3d.h"
#include "ui/graph_chart.h"
#include "ui/graph_curve.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

using namespace tamso;

namespace {

void attendre(int ms) {
  QTest::qWait(ms);
}

void capturer(QWidget& w, const QString& dossier, const QString& nom) {
  attendre(300);
  const QRect r = QGuiApplication::primaryScreen()->geometry();
  const QString chemin =
      dossier + QStringLiteral("/%1-%2x%3.png").arg(nom).arg(r.width()).arg(r.height());
  w.grab().save(chemin);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  const QString sortie =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/tamso-shots");
  QDir().mkpath(sortie);

  test::DossierTemporaire dossier;
  const std::string programme = dossier.sous_dossier("programme");
  const std::string descriptions = dossier.sous_dossier("Descriptions");
  const std::string donnees = dossier.sous_dossier("Mesures/station_riviere");
  const std::string export_ = dossier.sous_dossier("Export");
  ::setenv("TAMSO_HOME", programme.c_str(), 1);
  const char* noms[] = {"Env10_2021_11_10_00.csv", "Env10_2021_11_11_00.csv",
                        "Env11_2021_11_10_00.csv", "Env11_2021_11_11_00.csv",
                        "Env12_2021_11_12_00.csv"};
  for (const char* n : noms)
    std::filesystem::copy_file(std::string(TAMSO_DONNEES_TEST "listage/station_pv.csv"),
                               donnees + n);
  const std::string dsc = dossier.ecrire(
      "Descriptions/riviere.dsc",
      test::crlf({"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
                  "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss", "Edit_f_station.text= 1",
                  "Edit_f_date_fichier.text= 2(xxxx),/,3,/,4", "Edit_nom_fic_sortie.text= riviere",
                  "Label_min_dsc.caption= 12/03/2021 00:00:00",
                  "Label_max_dsc.caption= 13/03/2021 00:00:00", "dossier_choisi= " + donnees,
                  "dossier_choisi_sortie= " + export_, "dossier_description= " + descriptions}));

  auto port = std::make_unique<test::PortTest>();
  test::PortTest* p = port.get();
  OptionsSession options{',', programme};
  FenetrePrincipale fenetre(std::move(port), options);
  fenetre.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  fenetre.show();
  if (!QTest::qWaitFor([&] { return fenetre.demarrage_fait(); }, 5000)) return 1;
  capturer(fenetre, sortie, QStringLiteral("demarrage"));

  // "Enregistrer" before any description directory was chosen: the banner
  // while its message is shown.
  p->pendant_question = [&](const std::string& texte) {
    if (texte.rfind(" Nouveau fichier de description", 0) == 0)
      capturer(fenetre, sortie, QStringLiteral("bandeau"));
  };
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_Enregistrer_dsc"))->click();
  p->pendant_question = nullptr;
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_choix_rep_desc"))->click();

  p->fichiers_a_ouvrir.push_back(dsc);
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_desc_bd"))->click();
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_lister"))->click();
  QEvent entree(QEvent::Enter);
  QApplication::sendEvent(
      fenetre.findChild<QLineEdit*>(QStringLiteral("Edit_format_datetime_mesure")), &entree);
  capturer(fenetre, sortie, QStringLiteral("listage"));
  // The big table, in front of regions 3 and 4.
  fenetre.findChild<QCheckBox*>(QStringLiteral("CheckBox_grand_tableau"))->click();
  capturer(fenetre, sortie, QStringLiteral("grand-tableau"));
  fenetre.findChild<QCheckBox*>(QStringLiteral("CheckBox_grand_tableau"))->click();

  // The marking choices of a station, from a right click on its cell.
  auto* table = fenetre.findChild<VueTableFichiers*>(QStringLiteral("StringGrid1"));
  emit table->clic_droit(3, 2, table->mapToGlobal(QPoint(300, 60)));
  capturer(fenetre, sortie, QStringLiteral("marquage"));
  fenetre.findChild<QWidget*>(QStringLiteral("Panel_coche"))->hide();

  // The help frames with their titles, then without them.
  const auto cliquer = [&fenetre](const char* nom) {
    fenetre.findChild<QPushButton*>(QString::fromLatin1(nom))->click();
  };
  cliquer("SpeedButton_help2");
  capturer(fenetre, sortie, QStringLiteral("cadres"));
  cliquer("SpeedButton_help2");
  cliquer("SpeedButton_help3");
  capturer(fenetre, sortie, QStringLiteral("cadres-sans-titres"));
  cliquer("SpeedButton_help3");

  // The floating help beside the pointer, and level with the period of the
  // description for the bounds of the period.
  fenetre.findChild<QCheckBox*>(QStringLiteral("CheckBox_aide_flottante"))->click();
  for (const char* nom : {"Edit_format_datetime_mesure", "Label_temps_deb"}) {
    auto* w = fenetre.findChild<QWidget*>(QString::fromLatin1(nom));
    QCursor::setPos(w->mapToGlobal(QPoint(10, w->height() / 2)));
    QApplication::sendEvent(w, &entree);
    capturer(fenetre, sortie, QStringLiteral("aide-flottante-") + QLatin1String(nom));
  }
  fenetre.findChild<QCheckBox*>(QStringLiteral("CheckBox_aide_flottante"))->click();

  // The ready-made date-time formats, opened beside their button.
  auto* bouton = fenetre.findChild<QToolButton*>(QStringLiteral("SpeedButton_date_heure"));
  auto* menu = fenetre.findChild<QMenu*>(QStringLiteral("ListBox_date_heure"));
  menu->popup(bouton->mapToGlobal(QPoint(0, bouton->height())));
  capturer(*menu, sortie, QStringLiteral("formats"));
  menu->hide();

  // A run over 12 March 2021 from 10:00 to 10:30, every 15 minutes.
  fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_deb"))->setDate(QDate(2021, 3, 12));
  fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_deb"))->setTime(QTime(10, 0, 0));
  fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_fin"))->setDate(QDate(2021, 3, 12));
  fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_fin"))->setTime(QTime(10, 30, 0));
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_traiter_fichier"))->click();
  capturer(fenetre, sortie, QStringLiteral("traitement"));

  // The river gauge example (three value columns every five minutes over two
  // days) on a quarter-hour grid, and its graphs.
  std::vector<std::string> lignes_riviere =
      lire_lignes_texte(TAMSO_EXEMPLES "riviere.dsc").value_or(std::vector<std::string>{});
  lignes_riviere.push_back(std::string("dossier_choisi= ") + TAMSO_EXEMPLES "riviere/");
  lignes_riviere.push_back("dossier_choisi_sortie= " + export_);
  lignes_riviere.push_back("dossier_description= " + descriptions);
  p->fichiers_a_ouvrir.push_back(
      dossier.ecrire("Descriptions/riviere_exemple.dsc", test::crlf(lignes_riviere)));
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_desc_bd"))->click();
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_lister"))->click();
  fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_deb"))->setDate(QDate(2021, 11, 7));
  fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_deb"))->setTime(QTime(0, 0, 0));
  fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_fin"))->setDate(QDate(2021, 11, 9));
  fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_fin"))->setTime(QTime(0, 0, 0));
  fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_pas"))->setTime(QTime(0, 15, 0));
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_traiter_fichier"))->click();
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_graphique"))->click();
  auto* graphiques = fenetre.findChild<FenetreGraphiques*>();
  capturer(*graphiques, sortie, QStringLiteral("graphiques"));

  // A click on a point of the first chart shows its read-out.
  GrapheTamso* premier = graphiques->graphe(0);
  const CourbeTamso* courbe = premier->courbe(0);
  QTest::mouseClick(premier, Qt::LeftButton, {},
                    courbe->coordsToPixels(courbe->cle(60), courbe->valeur(60)).toPoint());
  capturer(*graphiques, sortie, QStringLiteral("graphiques-lecture"));

  const auto cocher = [&](const char* nom) {
    graphiques->findChild<QCheckBox*>(QString::fromLatin1(nom))->click();
  };
  cocher("CheckBox_af_valeur");
  capturer(*graphiques, sortie, QStringLiteral("graphiques-valeurs"));
  cocher("CheckBox_af_valeur");

  cocher("CheckBox1");
  capturer(*graphiques, sortie, QStringLiteral("graphique-unique"));
  cocher("CheckBox_3d");
  capturer(*graphiques, sortie, QStringLiteral("graphique-unique-3d"));
  graphiques->findChild<QSlider*>(QStringLiteral("TrackBar2"))->setValue(300);
  graphiques->findChild<QSlider*>(QStringLiteral("TrackBar4"))->setValue(310);
  graphiques->findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(60);
  capturer(*graphiques, sortie, QStringLiteral("graphique-unique-3d-tourne"));
  cocher("CheckBox1");
  cocher("CheckBox_3d");
  capturer(*graphiques, sortie, QStringLiteral("graphiques-3d"));
  cocher("CheckBox_3d");

  graphiques->findChild<QPushButton*>(QStringLiteral("SpeedButton_help2"))->click();
  capturer(*graphiques, sortie, QStringLiteral("graphiques-aide"));
  graphiques->findChild<QPushButton*>(QStringLiteral("SpeedButton_help2"))->click();

  // The other examples over their descriptions' periods: the window, left
  // open, redraws after each run.
  struct Exemple {
    const char* nom;
    QDateTime debut, fin;
    QTime pas;
  };
  const Exemple exemples[] = {
      {"meteo", QDateTime(QDate(2021, 11, 7), QTime(1, 0)),
       QDateTime(QDate(2021, 11, 8), QTime(0, 0)), QTime(1, 0)},
      {"puits", QDateTime(QDate(2021, 11, 7), QTime(1, 0)),
       QDateTime(QDate(2021, 11, 8), QTime(0, 0)), QTime(1, 0)},
      {"source", QDateTime(QDate(2021, 11, 7), QTime(22, 30)),
       QDateTime(QDate(2021, 11, 8), QTime(2, 0)), QTime(0, 30)},
  };
  for (const Exemple& e : exemples) {
    std::vector<std::string> lignes =
        lire_lignes_texte(std::string(TAMSO_EXEMPLES) + e.nom + ".dsc")
            .value_or(std::vector<std::string>{});
    lignes.push_back(std::string("dossier_choisi= ") + TAMSO_EXEMPLES + e.nom + "/");
    lignes.push_back("dossier_choisi_sortie= " + export_);
    lignes.push_back("dossier_description= " + descriptions);
    p->fichiers_a_ouvrir.push_back(
        dossier.ecrire(std::string("Descriptions/") + e.nom + "_exemple.dsc", test::crlf(lignes)));
    fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_desc_bd"))->click();
    fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_lister"))->click();
    fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_deb"))->setDate(e.debut.date());
    fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_deb"))->setTime(e.debut.time());
    fenetre.findChild<QDateEdit*>(QStringLiteral("DatePicker_fin"))->setDate(e.fin.date());
    fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_fin"))->setTime(e.fin.time());
    fenetre.findChild<QTimeEdit*>(QStringLiteral("TimePicker_pas"))->setTime(e.pas);
    fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_traiter_fichier"))->click();
    capturer(*graphiques, sortie, QStringLiteral("graphiques-") + QLatin1String(e.nom));
  }
  return 0;
}
