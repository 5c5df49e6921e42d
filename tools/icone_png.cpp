// tamso_icone_png: draws the program's SVG icon at the sizes a desktop's
// icon theme wants, as PNG files.
// Usage: tamso_icone_png ICONE.svg DOSSIER TAILLE...
// writes DOSSIER/<TAILLE>x<TAILLE>/apps/<name of the SVG>.png. No display is needed.
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage : tamso_icone_png ICONE.svg DOSSIER TAILLE...\n");
    return 2;
  }
  const QString source = QString::fromLocal8Bit(argv[1]);
  QSvgRenderer rendu(source);
  if (!rendu.isValid()) {
    std::fprintf(stderr, "tamso_icone_png : icône illisible : %s\n", argv[1]);
    return 1;
  }
  const QString nom = QFileInfo(source).completeBaseName() + QStringLiteral(".png");
  for (int i = 3; i < argc; ++i) {
    const int taille = std::atoi(argv[i]);
    if (taille < 8 || taille > 1024) {
      std::fprintf(stderr, "tamso_icone_png : taille refusée : %s\n", argv[i]);
      return 2;
    }
    const QString dossier =
        QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1x%1/apps").arg(taille);
    QDir().mkpath(dossier);
    QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    rendu.render(&p, QRectF(0, 0, taille, taille));
    p.end();
    if (!image.save(dossier + QLatin1Char('/') + nom)) {
      std::fprintf(stderr, "tamso_icone_png : écriture impossible dans %s\n", qPrintable(dossier));
      return 1;
    }
  }
  return 0;
}
