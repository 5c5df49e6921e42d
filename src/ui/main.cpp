// tamso: the desktop program. Its optional argument is a DSC file to open.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>

#include "app/installation.h"
#include "app/startup.h"
#include "ui/main_window.h"
#include "ui/qt_interaction.h"
#include "ui/widgets.h"

namespace {

// Memory running out in an event handler (a chart of a huge grid, a view)
// ends with a message instead of taking the program down; the steps of the
// window catch it themselves and let their work go.
class ApplicationTamso : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* destinataire, QEvent* evenement) override {
    try {
      return QApplication::notify(destinataire, evenement);
    } catch (const std::bad_alloc&) {
      QMessageBox::critical(nullptr, QStringLiteral("Tamso - erreur"),
                            QStringLiteral(" mémoire insuffisante : l'ordinateur n'a plus assez de "
                                           "mémoire pour cette action"));
      return false;
    }
  }
};

// "--version" and "--help" alone are answered in the terminal, before any
// window (no display is needed); any other argument is a description.
bool repondre_au_terminal(int argc, char** argv, int& code) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("tamso %s\n", tamso::version_tamso());
    code = 0;
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::printf(
        "usage : tamso [DESCRIPTION.dsc]\n"
        "Séries temporelles régulières à partir des fichiers d'enregistreurs (programme de "
        "bureau).\n"
        "  DESCRIPTION.dsc  la description à ouvrir au démarrage\n"
        "  --version        la version du programme\n"
        "Le programme en ligne de commande est tamso-cli ; voir man tamso, man tamso-cli.\n");
    code = 0;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (int code = 0; repondre_au_terminal(argc, argv, code)) return code;
  ApplicationTamso app(argc, argv);
  // Qt takes the user's locale for the C library too: the core reads and
  // writes its numbers itself, with the point.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tamso"));
  QApplication::setApplicationVersion(QString::fromLatin1(tamso::version_tamso()));
  // The desktop entry the window belongs to (its icon, its name in the
  // desktop's lists of windows).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tamso"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.tamso")));
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  tamso::installer_traduction_qt();

  std::vector<std::string> arguments;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) arguments.push_back(tamso::ss(args[i]));
  std::string dsc = tamso::argument_description(arguments);
  if (!dsc.empty()) dsc = tamso::ss(QFileInfo(tamso::qs(dsc)).absoluteFilePath());

  const QString point = QLocale::system().decimalPoint();
  tamso::OptionsSession options;
  options.separateur_decimal = point == QLatin1String(".") ? '.' : ',';
  // The manual is beside the program in its build folder, in the shared
  // data of an installation (/usr/share/tamso for /usr/bin/tamso).
  options.repertoire_installation =
      tamso::repertoire_fichiers_programme(tamso::ss(QCoreApplication::applicationDirPath()));

  tamso::FenetrePrincipale fenetre(std::make_unique<tamso::InteractionQt>(), options, dsc);
  if (const QScreen* ecran = QGuiApplication::primaryScreen())
    fenetre.setGeometry(ecran->availableGeometry());
  fenetre.showMaximized();
  return app.exec();
}
