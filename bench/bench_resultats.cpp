// The main window after a run of many result rows: a real run through the
// "traiter" button over one generated data file of one line a minute, timed
// from the end of the engine to a window that answers again, with the memory
// the process holds at each stage.
// Usage: tamso_bench_resultats [rows] [value columns] [capture prefix],
// offscreen; with a prefix, the output region is saved as PREFIX.png and the
// results view scrolled to its right end as PREFIX_droite.png.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QPushButton>
#include <QScrollBar>
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

// Resident and peak resident memory of the process, in MB.
struct Memoire {
  double rss = 0, pic = 0;
};
Memoire memoire() {
  Memoire m;
  std::ifstream f("/proc/self/status");
  std::string ligne;
  while (std::getline(f, ligne)) {
    if (ligne.rfind("VmRSS:", 0) == 0) m.rss = std::atof(ligne.c_str() + 6) / 1024.0;
    if (ligne.rfind("VmHWM:", 0) == 0) m.pic = std::atof(ligne.c_str() + 6) / 1024.0;
  }
  return m;
}
void afficher_memoire(const char* etape) {
  const Memoire m = memoire();
  std::printf("  mémoire %s : %.0f Mo (pic %.0f Mo)\n", etape, m.rss, m.pic);
}

// The test port, but the clipboard is the platform's and the end of the
// engine (the start of the formatting) is timed.
class PortBanc : public test::PortTest {
 public:
  Montre::time_point fin_moteur{}, debut_enregistrement{};
  void progression(const std::string& texte, int phase) override {
    if (texte.rfind("3- patienter ... mise en forme", 0) == 0) {
      fin_moteur = Montre::now();
      afficher_memoire("à la fin du moteur");
    } else if (texte.rfind("3- patienter ...enregistrement", 0) == 0 &&
               debut_enregistrement == Montre::time_point{}) {
      debut_enregistrement = Montre::now();
      afficher_memoire("lignes mises en forme");
    }
    InteractionQt::progression(texte, phase);
  }
  void copier_dans_presse_papier(const std::string& texte) override {
    InteractionQt::copier_dans_presse_papier(texte);
  }
};

// n lines a minute from 01/01/2021 00:00:00, v value columns, decimal commas.
void ecrire_donnees(const std::string& chemin, int n, int v) {
  std::FILE* f = std::fopen(chemin.c_str(), "wb");
  if (!f) std::exit(1);
  std::fputs("Date", f);
  for (int k = 1; k <= v; ++k) std::fprintf(f, ";T%d", k);
  std::fputs("\r\n", f);
  const long long debut = 1609459200;  // 2021-01-01 00:00:00
  for (int i = 0; i < n; ++i) {
    const long long t = debut + 60LL * i;
    const long long jours = t / 86400, s = t % 86400;
    // civil date from days since 1970-01-01
    long long z = jours + 719468;
    const long long era = z / 146097, doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long j = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
    const long long a = yoe + era * 400 + (m <= 2);
    std::fprintf(f, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", a, m, j, s / 3600, s / 60 % 60,
                 s % 60);
    for (int k = 1; k <= v; ++k) {
      const double x = std::sin(i / 700.0 + k) * 10 + 20;
      std::fprintf(f, ";%d,%02d", static_cast<int>(x), static_cast<int>(x * 100) % 100);
    }
    std::fputs("\r\n", f);
  }
  std::fclose(f);
}

// Runs the event loop until a zero timer fires: the window answers again.
void attendre_boucle() {
  bool fait = false;
  QTimer::singleShot(0, [&fait] { fait = true; });
  while (!fait) QApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int v = argc > 2 ? std::atoi(argv[2]) : 3;
  test::DossierTemporaire dossier;
  const std::string donnees = dossier.sous_dossier("donnees");
  const std::string sortie = dossier.sous_dossier("sortie");
  const std::string descriptions = dossier.sous_dossier("descriptions");
  ecrire_donnees(donnees + "logger.csv", n, v);
  const std::string dsc = dossier.ecrire(
      "descriptions/banc.dsc",
      test::crlf({"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
                  "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                  "Edit_nom_fic_sortie.text= res", "Edit_nb_decimale.text= 2",
                  "dossier_choisi= " + donnees, "dossier_choisi_sortie= " + sortie,
                  "dossier_description= " + descriptions}));

  auto port_possede = std::make_unique<PortBanc>();
  PortBanc& port = *port_possede;
  FenetrePrincipale fenetre(std::move(port_possede), OptionsSession{',', dossier.chemin()});
  fenetre.resize(1366, 768);
  fenetre.show();
  if (!QTest::qWaitFor([&fenetre] { return fenetre.demarrage_fait(); }, 5000)) return 1;
  port.fichiers_a_ouvrir.push_back(dsc);
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_desc_bd"), Qt::LeftButton);
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_lister"), Qt::LeftButton);
  // The list begins one step before the period: n + 1 timestamps, n rows written.
  const QDateTime debut(QDate(2021, 1, 1), QTime(0, 0, 0));
  const QDateTime fin = debut.addSecs(60LL * (n - 1));
  controle<QTimeEdit>(fenetre, "TimePicker_pas")->setTime(QTime(0, 1, 0));
  controle<QDateEdit>(fenetre, "DatePicker_deb")->setDate(debut.date());
  controle<QTimeEdit>(fenetre, "TimePicker_deb")->setTime(debut.time());
  controle<QDateEdit>(fenetre, "DatePicker_fin")->setDate(fin.date());
  controle<QTimeEdit>(fenetre, "TimePicker_fin")->setTime(fin.time());
  // "Oui" to the questions above 32000 lines; the final message ends the save.
  Montre::time_point fin_enregistrement{};
  port.pendant_question = [&fin_enregistrement](const std::string& q) {
    if (q.rfind("3- TRAITEMENT", 0) == 0) {
      fin_enregistrement = Montre::now();
      afficher_memoire("fichiers écrits");
    }
  };
  port.reponses = {Reponse::oui, Reponse::oui, Reponse::oui};
  attendre_boucle();
  afficher_memoire("avant le traitement");

  const auto t0 = Montre::now();
  QTest::mouseClick(controle<QPushButton>(fenetre, "SpeedButton_traiter_fichier"), Qt::LeftButton);
  const auto t_retour = Montre::now();
  afficher_memoire("au retour du bouton");
  attendre_boucle();
  fenetre.repaint();
  const auto t_pret = Montre::now();
  afficher_memoire("fenêtre dessinée");
  if (port.fin_moteur == Montre::time_point{}) {
    std::fprintf(stderr, "le traitement n'a pas atteint la mise en forme\n");
    return 1;
  }
  const Session& s = fenetre.session();
  std::printf("%d lignes de résultats (%d colonnes de valeurs)\n",
              static_cast<int>(s.resultats.lignes.size()) - 1, v);
  std::printf("moteur                                   : %8.1f ms\n",
              ms_entre(t0, port.fin_moteur));
  std::printf("  mise en forme des lignes               : %8.1f ms\n",
              ms_entre(port.fin_moteur, port.debut_enregistrement));
  std::printf("  enregistrement (fichiers, presse-papier) : %6.1f ms\n",
              ms_entre(port.debut_enregistrement, fin_enregistrement));
  std::printf("  affichage jusqu'au retour du bouton    : %8.1f ms\n",
              ms_entre(fin_enregistrement, t_retour));
  std::printf("fin du moteur -> retour du bouton        : %8.1f ms\n",
              ms_entre(port.fin_moteur, t_retour));
  std::printf("fin du moteur -> fenêtre qui répond      : %8.1f ms\n",
              ms_entre(port.fin_moteur, t_pret));

  // Scrolling the results view to its end, then to its middle.
  auto* vue = controle<QAbstractScrollArea>(fenetre, "RichEdit3");
  for (const double position : {1.0, 0.5, 0.0}) {
    const auto t = Montre::now();
    QScrollBar* b = vue->verticalScrollBar();
    b->setValue(static_cast<int>(b->maximum() * position));
    vue->viewport()->repaint();
    std::printf("défilement à %3.0f %%                      : %8.1f ms\n", position * 100,
                ms_entre(t, Montre::now()));
  }
  afficher_memoire("à la fin");
  if (argc > 3) {
    const QString prefixe = QString::fromLocal8Bit(argv[3]);
    controle<QWidget>(fenetre, "Cadre5")->grab().save(prefixe + QStringLiteral(".png"));
    vue->horizontalScrollBar()->setValue(vue->horizontalScrollBar()->maximum());
    vue->grab().save(prefixe + QStringLiteral("_droite.png"));
  }
  return 0;
}
