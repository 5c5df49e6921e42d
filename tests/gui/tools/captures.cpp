// Screenshots of the main window after start-up and after a listing, at the
// size of the screen it runs on (run it under xvfb-run with the screen size
// wanted). Usage: tamso_captures <folder>
#include <clocale>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include "gui/port_test.h"
#include "input/files.h"
#include "support/temp_dir.h"
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

  p->fichiers_a_ouvrir.push_back(dsc);
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_desc_bd"))->click();
  fenetre.findChild<QPushButton*>(QStringLiteral("SpeedButton_lister"))->click();
  QEvent entree(QEvent::Enter);
  QApplication::sendEvent(
      fenetre.findChild<QLineEdit*>(QStringLiteral("Edit_format_datetime_mesure")), &entree);
  capturer(fenetre, sortie, QStringLiteral("listage"));

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
  return 0;
}
