// tamso: the desktop program. Its optional argument is a DSC file to open.
#include <clocale>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>

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

}  // namespace

int main(int argc, char** argv) {
  ApplicationTamso app(argc, argv);
  // Qt takes the user's locale for the C library too: the core reads and
  // writes its numbers itself, with the point.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tamso"));
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
  // The manual is beside the program.
  options.repertoire_installation = tamso::ss(QCoreApplication::applicationDirPath());

  tamso::FenetrePrincipale fenetre(std::make_unique<tamso::InteractionQt>(), options, dsc);
  if (const QScreen* ecran = QGuiApplication::primaryScreen())
    fenetre.setGeometry(ecran->availableGeometry());
  fenetre.showMaximized();
  return app.exec();
}
