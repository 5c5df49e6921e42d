// The desktop program on the batch benchmark's job: a real run through the
// "traiter" button, offscreen, timed from the click to the button's return,
// with the longest time the window went without answering (a 5 ms timer
// that could not fire), and, in further runs, the time a stop request takes
// to end the reading when it is made at several points of the run.
// Usage: tamso_bench_fenetre DESCRIPTION.dsc DATA_FOLDER FROM TO STEP [RUNS]
//   FROM, TO "dd/mm/yyyy hh:mm:ss", STEP "hh:mm:ss"; the description's
//   folders are replaced by DATA_FOLDER and a temporary output folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "app/session.h"
#include "banc_fenetre.h"
#include "gui/port_test.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

using namespace tamso;

namespace {

using banc::controle;
using banc::Montre;
using banc::ms_entre;

// The test port, where the end of the reading (the start of the grid's final
// pass) is timed.
class PortBanc : public test::PortTest {
 public:
  Montre::time_point fin_lecture{};
  std::vector<std::pair<Montre::time_point, std::string>> textes;
  void progression(const std::string& texte, int phase) override {
    textes.emplace_back(Montre::now(), texte);
    if (fin_lecture == Montre::time_point{} && texte.rfind("3- patienter ... transfert", 0) == 0)
      fin_lecture = Montre::now();
    InteractionQt::progression(texte, phase);
  }
};

// The description with its folders replaced.
std::string description(const std::string& chemin, const std::string& donnees,
                        const std::string& sortie) {
  std::ifstream f(chemin);
  if (!f) {
    std::fprintf(stderr, "description illisible : %s\n", chemin.c_str());
    std::exit(2);
  }
  std::string texte, ligne;
  while (std::getline(f, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    if (ligne.rfind("dossier_", 0) == 0) continue;
    texte += ligne + "\r\n";
  }
  return texte + "dossier_choisi= " + donnees + "\r\ndossier_choisi_sortie= " + sortie + "\r\n";
}

QDateTime date_heure(const char* texte) {
  return QDateTime::fromString(QString::fromLatin1(texte), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

struct Mesure {
  double total = 0;         // click to the button's return
  double lecture = 0;       // click to the end of the reading
  double sans_reponse = 0;  // longest gap of the 5 ms timer
  double arret = -1;        // stop request to the end of the reading
  std::string pendant;      // the progress texts around the longest gap
};

// One run; with `arret_apres` >= 0, a stop is asked that many ms after the click.
Mesure executer(const std::string& dsc, const std::string& donnees, const char* de, const char* a,
                const char* pas, double arret_apres) {
  test::DossierTemporaire dossier;
  const std::string sortie = dossier.sous_dossier("sortie");
  const std::string chemin_dsc =
      dossier.ecrire("descriptions/banc.dsc", description(dsc, donnees, sortie));
  auto port_possede = std::make_unique<PortBanc>();
  PortBanc& port = *port_possede;
  FenetrePrincipale fenetre(std::move(port_possede), OptionsSession{',', dossier.chemin()});
  fenetre.resize(1366, 768);
  fenetre.show();
  if (!QTest::qWaitFor([&fenetre] { return fenetre.demarrage_fait(); }, 5000)) std::exit(1);
  port.fichiers_a_ouvrir.push_back(chemin_dsc);
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_desc_bd"), Qt::LeftButton);
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_lister"), Qt::LeftButton);
  const QDateTime debut = date_heure(de), fin = date_heure(a);
  controle<QTimeEdit>(fenetre, "TimePicker_pas")
      ->setTime(QTime::fromString(QString::fromLatin1(pas), QStringLiteral("HH:mm:ss")));
  controle<QDateEdit>(fenetre, "DatePicker_deb")->setDate(debut.date());
  controle<QTimeEdit>(fenetre, "TimePicker_deb")->setTime(debut.time());
  controle<QDateEdit>(fenetre, "DatePicker_fin")->setDate(fin.date());
  controle<QTimeEdit>(fenetre, "TimePicker_fin")->setTime(fin.time());
  // "Oui" to the question above 32000 rows, then to "Stopper le traitement ?".
  port.reponses = {Reponse::oui, Reponse::oui};
  QTest::qWait(50);

  Mesure m;
  Montre::time_point precedent{}, demande{};
  QTimer sonde;
  sonde.setInterval(5);
  QObject::connect(&sonde, &QTimer::timeout, [&] {
    const auto t = Montre::now();
    if (precedent != Montre::time_point{} && ms_entre(precedent, t) > m.sans_reponse) {
      m.sans_reponse = ms_entre(precedent, t);
      m.pendant.clear();
      for (const auto& [quand, texte] : port.textes)
        if (quand >= precedent - std::chrono::milliseconds(50))
          m.pendant +=
              " <" + texte + "> " + std::to_string(static_cast<int>(ms_entre(precedent, quand)));
    }
    precedent = t;
  });
  QTimer arret;
  arret.setSingleShot(true);
  QObject::connect(&arret, &QTimer::timeout, [&] {
    demande = Montre::now();
    QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_stop"), Qt::LeftButton);
  });
  const auto t0 = Montre::now();
  sonde.start();
  if (arret_apres >= 0) arret.start(static_cast<int>(arret_apres));
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_traiter_fichier"), Qt::LeftButton);
  const auto t1 = Montre::now();
  sonde.stop();
  m.sans_reponse = std::max(m.sans_reponse, ms_entre(precedent, t1));
  m.total = ms_entre(t0, t1);
  if (port.fin_lecture != Montre::time_point{}) m.lecture = ms_entre(t0, port.fin_lecture);
  if (demande != Montre::time_point{} && port.fin_lecture > demande)
    m.arret = ms_entre(demande, port.fin_lecture);
  // A stop asked very early may leave nothing to write; a run to its end may not.
  if (arret_apres < 0 && fenetre.session().resultats.lignes.size() < 2) {
    std::fprintf(stderr, "le traitement n'a rien écrit\n%s\n", port.dernier_texte().c_str());
    std::exit(1);
  }
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage : %s DESCRIPTION DOSSIER DE A PAS [EXECUTIONS]\n", argv[0]);
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::string donnees = argv[2];
  if (donnees.back() != '/') donnees += '/';
  const int executions = argc > 6 ? std::max(1, std::atoi(argv[6])) : 3;
  std::vector<double> totaux;
  double lecture = 0, sans_reponse = 0;
  for (int k = 0; k < executions; ++k) {
    const Mesure m = executer(argv[1], donnees, argv[3], argv[4], argv[5], -1);
    totaux.push_back(m.total / 1000);
    lecture = m.lecture;
    sans_reponse = std::max(sans_reponse, m.sans_reponse);
    std::printf("  %.2f s, sans réponse %.0f ms :%s\n", m.total / 1000, m.sans_reponse,
                m.pendant.c_str());
  }
  std::sort(totaux.begin(), totaux.end());
  const double mediane = totaux[totaux.size() / 2];
  std::printf("fenêtre : %.2f s (médiane de %d), lecture %.2f s, sans réponse au plus %.0f ms\n",
              mediane, executions, lecture / 1000, sans_reponse);
  // Stops asked at several points of the reading.
  double pire = 0;
  for (const double part : {0.1, 0.3, 0.5, 0.7, 0.9}) {
    const Mesure m = executer(argv[1], donnees, argv[3], argv[4], argv[5], part * lecture);
    if (m.arret < 0) continue;
    pire = std::max(pire, m.arret);
    std::printf("  arrêt demandé à %2.0f %% de la lecture : pris en %.0f ms, fin en %.2f s\n",
                part * 100, m.arret, m.total / 1000);
  }
  std::printf("arrêt : pris en %.0f ms au plus\n", pire);
  return 0;
}
