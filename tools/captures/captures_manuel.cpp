// The screenshots of the user manual: a first description made from the river
// gauge example (examples/riviere), its listing, period, run, results and
// graphs, then a folder of several files for the file table. Run it under
// xvfb-run on a 1366x768 screen (scripts/captures-manuel.sh does).
// Usage: tamso_captures_manuel IMAGES_FOLDER [WORK_FOLDER]
// The work folder (by default /tmp/tamso-manuel) is emptied first; its paths
// show in the pictures. Each picture is cropped to what the manual shows and
// saved with a palette of 256 colours to keep it small.
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "gui/port_test.h"
#include "input/files.h"
#include "ui/directory_panel.h"
#include "ui/file_table_view.h"
#include "ui/graph_chart.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"

namespace fs = std::filesystem;
using namespace tamso;

namespace {

QString g_sortie;

// At most 256 colours, found by cutting the picture's colours into boxes
// (median cut): the box to cut next is the one whose widest side, weighted by
// the square root of its pixels, is the largest, so that a thin line of a
// rare colour keeps its own. Screenshots have few colours; their files stay small.
QImage en_palette(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, int> comptes;
  for (int y = 0; y < image.height(); ++y) {
    const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) ++comptes[ligne[x] | 0xff000000u];
  }
  struct Couleur {
    QRgb rgb;
    int n;
  };
  std::vector<Couleur> couleurs;
  for (auto it = comptes.cbegin(); it != comptes.cend(); ++it)
    couleurs.push_back({it.key(), it.value()});
  const auto composante = [](QRgb c, int k) {
    return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
  };
  struct Boite {
    std::size_t debut, fin;  // a range of `couleurs`
    int cote = 0, axe = 0;
    double poids = 0;
  };
  const auto mesurer = [&](Boite& b) {
    int mini[3] = {255, 255, 255}, maxi[3] = {0, 0, 0};
    long long pixels = 0;
    for (std::size_t i = b.debut; i < b.fin; ++i) {
      for (int k = 0; k < 3; ++k) {
        mini[k] = std::min(mini[k], composante(couleurs[i].rgb, k));
        maxi[k] = std::max(maxi[k], composante(couleurs[i].rgb, k));
      }
      pixels += couleurs[i].n;
    }
    b.axe = 0;
    for (int k = 1; k < 3; ++k)
      if (maxi[k] - mini[k] > maxi[b.axe] - mini[b.axe]) b.axe = k;
    b.cote = maxi[b.axe] - mini[b.axe];
    b.poids = b.cote * std::sqrt(static_cast<double>(pixels));
  };
  std::vector<Boite> boites{{0, couleurs.size()}};
  mesurer(boites[0]);
  while (boites.size() < 256) {
    auto it = std::max_element(boites.begin(), boites.end(),
                               [](const Boite& a, const Boite& b) { return a.poids < b.poids; });
    if (it->cote == 0 || it->fin - it->debut < 2) break;
    Boite b = *it;
    std::sort(couleurs.begin() + static_cast<std::ptrdiff_t>(b.debut),
              couleurs.begin() + static_cast<std::ptrdiff_t>(b.fin),
              [&](const Couleur& x, const Couleur& y) {
                return composante(x.rgb, b.axe) < composante(y.rgb, b.axe);
              });
    // Cut where half of the box's pixels lie on each side.
    long long total = 0, cumul = 0;
    for (std::size_t i = b.debut; i < b.fin; ++i) total += couleurs[i].n;
    std::size_t coupe = b.debut + 1;
    for (std::size_t i = b.debut; i < b.fin - 1; ++i) {
      cumul += couleurs[i].n;
      coupe = i + 1;
      if (2 * cumul >= total) break;
    }
    Boite a{b.debut, coupe}, c{coupe, b.fin};
    mesurer(a);
    mesurer(c);
    *it = a;
    boites.push_back(c);
  }
  QList<QRgb> palette;
  QHash<QRgb, int> indice;
  for (const Boite& b : boites) {
    double somme[3] = {0, 0, 0}, n = 0;
    for (std::size_t i = b.debut; i < b.fin; ++i) {
      for (int k = 0; k < 3; ++k)
        somme[k] += composante(couleurs[i].rgb, k) * double(couleurs[i].n);
      n += couleurs[i].n;
      indice.insert(couleurs[i].rgb, static_cast<int>(palette.size()));
    }
    palette << qRgb(int(std::lround(somme[0] / n)), int(std::lround(somme[1] / n)),
                    int(std::lround(somme[2] / n)));
  }
  QImage r(image.size(), QImage::Format_Indexed8);
  r.setColorTable(palette);
  for (int y = 0; y < image.height(); ++y) {
    const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* sortie = r.scanLine(y);
    for (int x = 0; x < image.width(); ++x)
      sortie[x] = static_cast<uchar>(indice.value(ligne[x] | 0xff000000u));
  }
  return r;
}

void enregistrer(const QImage& image, const char* nom, double echelle = 1.0) {
  QImage i = image;
  if (echelle != 1.0)
    i = i.scaledToWidth(static_cast<int>(i.width() * echelle), Qt::SmoothTransformation);
  const QString chemin = g_sortie + QLatin1Char('/') + QString::fromLatin1(nom) + ".png";
  if (!en_palette(i).save(chemin, "PNG", 0)) {
    std::fprintf(stderr, "impossible d'écrire %s\n", qUtf8Printable(chemin));
    std::exit(1);
  }
  std::printf("%s  %dx%d\n", qUtf8Printable(chemin), i.width(), i.height());
}

void attendre(int ms = 250) {
  QTest::qWait(ms);
}

// A part of a window: the rectangle of `w` widened by `marge` pixels (and
// `dessous` more below), as the window draws it (floating panels over it
// included).
QImage partie(QWidget& fenetre, QWidget* w, int marge = 4, int dessous = 0) {
  attendre();
  QRect r(w->mapTo(&fenetre, QPoint(0, 0)), w->size());
  r = r.adjusted(-marge, -marge, marge, marge + dessous).intersected(fenetre.rect());
  return fenetre.grab(r).toImage();
}

// The test port, except for the questions a picture is taken of: those are
// shown in a real message box, photographed, and answered by a click.
class PortCaptures : public test::PortTest {
 public:
  struct Photo {
    std::string debut;  // the question begins with this
    const char* nom;
    const char* bouton;  // the button pressed once the picture is taken
  };
  std::vector<Photo> photos;

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override {
    for (auto it = photos.begin(); it != photos.end(); ++it) {
      if (texte.rfind(it->debut, 0) != 0) continue;
      const Photo p = *it;
      photos.erase(it);
      QTimer::singleShot(400, [p] {
        QWidget* boite = QApplication::activeModalWidget();
        if (!boite) return;
        enregistrer(boite->grab().toImage(), p.nom);
        for (QAbstractButton* b : boite->findChildren<QAbstractButton*>())
          if (b->text() == QString::fromUtf8(p.bouton)) {
            b->click();
            return;
          }
      });
      return InteractionQt::demander(type, texte, boutons);
    }
    // The other questions take the script's answer; they are listed for the
    // person who runs the tool.
    const Reponse r = test::PortTest::demander(type, texte, boutons);
    static const char* const kReponses[] = {"OK", "Oui", "Non", "Annuler"};
    std::fprintf(stderr, "question : %s\n  -> %s\n", texte.c_str(), kReponses[static_cast<int>(r)]);
    return r;
  }
};

template <class T>
T* enfant(QWidget& w, const char* nom) {
  T* e = w.findChild<T*>(QString::fromLatin1(nom));
  if (!e) {
    std::fprintf(stderr, "contrôle introuvable : %s\n", nom);
    std::exit(1);
  }
  return e;
}

void cliquer(QWidget& w, const char* nom) {
  enfant<QAbstractButton>(w, nom)->click();
  attendre(100);
}

void periode(QWidget& w, QDate jour_debut, QTime heure_debut, QDate jour_fin, QTime pas) {
  enfant<QDateEdit>(w, "DatePicker_deb")->setDate(jour_debut);
  enfant<QTimeEdit>(w, "TimePicker_deb")->setTime(heure_debut);
  enfant<QDateEdit>(w, "DatePicker_fin")->setDate(jour_fin);
  enfant<QTimeEdit>(w, "TimePicker_fin")->setTime(QTime(0, 0));
  enfant<QTimeEdit>(w, "TimePicker_pas")->setTime(pas);
}

void taper(QWidget& w, const char* nom, const QString& texte) {
  auto* e = enfant<QLineEdit>(w, nom);
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, texte);
  QTest::keyClick(e, Qt::Key_Tab);
}

// Writes the lines of `source` whose date begins with `jour` (after its
// title line) to `cible`.
void extraire_jour(const std::string& source, const std::string& jour, const std::string& cible) {
  std::ifstream in(source, std::ios::binary);
  std::ofstream out(cible, std::ios::binary);
  std::string ligne;
  bool premiere = true;
  while (std::getline(in, ligne)) {
    if (premiere || ligne.rfind(jour, 0) == 0) out << ligne << '\n';
    premiere = false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  if (argc < 2) {
    std::fprintf(stderr, "usage : tamso_captures_manuel DOSSIER_IMAGES [DOSSIER_DE_TRAVAIL]\n");
    return 2;
  }
  g_sortie = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QDir().mkpath(g_sortie);
  const std::string racine = argc > 2 ? argv[2] : "/tmp/tamso-manuel";
  std::error_code ec;
  fs::remove_all(racine, ec);
  const auto dossier = [&racine](const std::string& nom) {
    const std::string d = racine + "/" + nom + "/";
    fs::create_directories(d);
    return d;
  };
  const std::string programme = dossier("programme");
  const std::string descriptions = dossier("Tamso/Descriptions");
  const std::string export_ = dossier("Tamso/Export");
  const std::string riviere = dossier("Mesures/riviere");
  const std::string stations = dossier("Mesures/stations");
  ::setenv("TAMSO_HOME", programme.c_str(), 1);
  // Dialogs that start in the current folder start in the work folder.
  fs::current_path(racine);
  const std::string exemple = std::string(TAMSO_EXEMPLES) + "riviere/station_amont_2021-11.csv";
  fs::copy_file(exemple, riviere + "station_amont_2021-11.csv");
  // Two stations, a file a day each (the downstream one is a copy).
  for (const char* jour : {"2021-11-07", "2021-11-08"})
    for (const char* station : {"amont", "aval"})
      extraire_jour(exemple, jour, stations + "station_" + station + "_" + jour + ".csv");

  auto port = std::make_unique<PortCaptures>();
  PortCaptures* p = port.get();
  OptionsSession options{',', programme};
  FenetrePrincipale fenetre(std::move(port), options);
  fenetre.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  fenetre.show();
  if (!QTest::qWaitFor([&] { return fenetre.demarrage_fait(); }, 5000)) return 1;
  attendre(400);
  enregistrer(fenetre.grab().toImage(), "fenetre-demarrage");

  // ---- a new description, named; the output directory ----
  p->reponses = {Reponse::oui};
  p->fichiers_a_enregistrer.push_back(descriptions + "riviere.dsc");
  cliquer(fenetre, "SpeedButton_nouveau_dsc");
  auto* choix = fenetre.findChild<PanneauRepertoires*>();
  if (choix->isVisible()) cliquer(fenetre, "SpeedButton_annuler_repertoire");
  cliquer(fenetre, "SpeedButton_choix_rep_sortie");
  choix->choisir_dossier(QString::fromStdString(export_));
  attendre(600);
  auto* arbre = enfant<QTreeView>(fenetre, "DirectoryListBox1");
  arbre->scrollTo(arbre->currentIndex(), QAbstractItemView::PositionAtBottom);
  attendre(100);
  arbre->verticalScrollBar()->setValue(arbre->verticalScrollBar()->value() - 1);
  enregistrer(partie(fenetre, choix, 2), "choix-repertoire");
  cliquer(fenetre, "SpeedButton_valider_repertoire");

  // ---- the sample file and its layout ----
  p->photos = {
      {"FICHIER\n  station_amont_2021-11.csv\n\ndisposition", "disposition-detectee", "Oui"}};
  p->reponses = {Reponse::oui};
  p->fichiers_a_ouvrir.push_back(riviere + "station_amont_2021-11.csv");
  cliquer(fenetre, "SpeedButton_choix_fic_donnee");
  attendre(400);
  // The station is the second part of the file names.
  auto* station = enfant<QLineEdit>(fenetre, "Edit_f_station");
  station->setFocus();
  QTest::keyClicks(station, QStringLiteral("2"));
  QTest::keyClick(station, Qt::Key_Return);
  attendre(300);
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre1")), "region-description");

  // The table without the tracking window over it.
  cliquer(fenetre, "SpeedButton_fermer_suivi");
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre2")), "region-listage");
  cliquer(fenetre, "Panel_button_suivi");

  // The ready-made date-time formats.
  auto* bouton = enfant<QToolButton>(fenetre, "SpeedButton_date_heure");
  auto* menu = enfant<QMenu>(fenetre, "ListBox_date_heure");
  menu->popup(bouton->mapToGlobal(QPoint(0, bouton->height())));
  attendre(300);
  enregistrer(menu->grab().toImage(), "formats-proposes");
  menu->hide();

  // ---- period, step and output ----
  periode(fenetre, QDate(2021, 11, 7), QTime(1, 0), QDate(2021, 11, 9), QTime(1, 0));
  taper(fenetre, "Edit_nom_fic_sortie", QStringLiteral("riviere_horaire"));
  p->reponses = {Reponse::oui};
  cliquer(fenetre, "SpeedButton_creer_listes_date_clean");
  attendre(1300);
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre4")), "region-periode");
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre3")), "region-format");

  // ---- the run ----
  p->photos = {{"3- TRAITEMENT", "fin-traitement", "OK"}};
  cliquer(fenetre, "SpeedButton_traiter_fichier");
  attendre(400);
  enregistrer(fenetre.grab().toImage(), "fenetre-apres-traitement");
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre5")), "region-sortie");
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Panel1")), "fenetre-suivi");

  // ---- graphs ----
  cliquer(fenetre, "SpeedButton_graphique");
  auto* graphiques = fenetre.findChild<FenetreGraphiques*>();
  attendre(400);
  enregistrer(graphiques->grab().toImage(), "graphiques", 0.85);
  GrapheTamso* premier = graphiques->graphe(0);
  const QCPGraphData d = *(premier->graph(0)->data()->constBegin() + 20);
  QTest::mouseClick(premier, Qt::LeftButton, {},
                    premier->graph(0)->coordsToPixels(d.key, d.value).toPoint());
  attendre(300);
  // The read-out may overhang the chart below.
  enregistrer(partie(*graphiques, premier, 2, 40), "graphique-lecture");
  graphiques->hide();

  // ---- several files: the table, its marking, then its columns after a run ----
  p->fichiers_a_ouvrir.push_back([&] {
    std::vector<std::string> lignes = lire_lignes_texte(descriptions + "riviere.dsc").value();
    for (auto& l : lignes) {
      if (l.rfind("dossier_choisi=", 0) == 0) l = "dossier_choisi= " + stations;
      // The day of each file is the third part of its name.
      if (l.rfind("Edit_f_date_fichier.text=", 0) == 0)
        l = "Edit_f_date_fichier.text= aaaa_mm_jj,3";
    }
    const std::string chemin = descriptions + "stations.dsc";
    ecrire_lignes_texte(chemin, lignes);
    return chemin;
  }());
  cliquer(fenetre, "SpeedButton_desc_bd");
  cliquer(fenetre, "SpeedButton_lister");
  cliquer(fenetre, "SpeedButton_fermer_suivi");
  auto* table = enfant<VueTableFichiers>(fenetre, "StringGrid1");
  const QRect cellule = table->visualRect(table->model()->index(2, 3));
  emit table->clic_droit(3, 3, table->viewport()->mapToGlobal(cellule.center()));
  attendre(300);
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre2")), "tableau-marquage");
  cliquer(fenetre, "RadioButton_coche1");
  cliquer(fenetre, "SpeedButton_traiter_fichier");
  cliquer(fenetre, "SpeedButton_fermer_suivi");
  // The columns from the file name's date on.
  QScrollBar* barre = table->horizontalScrollBar();
  barre->setValue(table->horizontalScrollMode() == QAbstractItemView::ScrollPerItem
                      ? 4
                      : table->horizontalHeader()->sectionPosition(4));
  enregistrer(partie(fenetre, enfant<QWidget>(fenetre, "Cadre2")), "tableau-colonnes");
  std::printf("questions sans réponse prévue : %d\n", p->questions_non_scriptees);
  return 0;
}
