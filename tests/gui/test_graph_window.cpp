// The graph window over the result grid of a run: the lists and their
// default dispatch, the choices kept in the description, what each chart
// draws, the read-out, the zooms, single-chart mode, copy and save, the
// no-data message and where the window was left.
#include <cmath>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "app/program_files.h"
#include "gui/port_test.h"
#include "gui/window_fixture.h"
#include "input/files.h"
#include "support/temp_dir.h"
#include "ui/graph_3d.h"
#include "ui/graph_chart.h"
#include "ui/graph_curve.h"
#include "ui/graph_window.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace tamso {
namespace {

// Seconds from 1 January 1970 of a date-time of 12 March 2021: the time
// axis's keys.
double cle(int heure, int minute) {
  return static_cast<double>(
      QDateTime(QDate(2021, 3, 12), QTime(heure, minute), Qt::UTC).toSecsSinceEpoch());
}

class Graphiques : public test::AvecFenetre {
 protected:
  void SetUp() override {
    AvecFenetre::SetUp();
    // Seven value columns a..g, one line a quarter of an hour from 10:00 to
    // 10:45 (the value of column j on line i is 10 j + i), and a line at
    // 11:00 that only column a fills.
    dossier_->ecrire(
        "donnees/mesures.csv",
        test::crlf({"Date;a;b;c;d;e;f;g", "2021-03-12 10:00:00;10;20;30;40;50;60;70",
                    "2021-03-12 10:15:00;11;21;31;41;51;61;71",
                    "2021-03-12 10:30:00;12;22;32;42;52;62;72",
                    "2021-03-12 10:45:00;13;23;33;43;53;63;73", "2021-03-12 11:00:00;14;;;;;;"}));
    ouvrir_fenetre();
  }

  // The main window shown, and its graph window.
  void ouvrir_fenetre() {
    demarrer();
    graphiques_ = fenetre_->findChild<FenetreGraphiques*>();
    ASSERT_NE(graphiques_, nullptr);
  }

  // A run over 12 March 2021 from `debut` to `fin`, every quarter of an hour.
  void traiter(QTime debut = QTime(10, 0), QTime fin = QTime(11, 0)) {
    port_->fichiers_a_ouvrir.push_back(dossier_->ecrire(
        "descriptions/mesures.dsc",
        test::crlf({"Edit_masque.text= *.csv", "RadioGroup_separateur_colonne_ItemIndex= 2",
                    "Edit_format_datetime_mesure.text= aaaa-mm-jj hh:mn:ss",
                    "Edit_nom_fic_sortie.text= res", "dossier_choisi= " + donnees_,
                    "dossier_choisi_sortie= " + sortie_,
                    "dossier_description= " + descriptions_})));
    cliquer("SpeedButton_desc_bd");
    cliquer("SpeedButton_lister");
    controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 12));
    controle<QTimeEdit>("TimePicker_deb")->setTime(debut);
    controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 12));
    controle<QTimeEdit>("TimePicker_fin")->setTime(fin);
    controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 15));
    cliquer("SpeedButton_traiter_fichier");
    ASSERT_FALSE(fenetre_->occupe());
    port_->echanges.clear();
  }
  void ouvrir_graphiques() {
    cliquer("SpeedButton_graphique");
    ASSERT_TRUE(graphiques_->isVisible());
  }

  // A control of the graph window, else of the main window (both windows
  // have a "Label2", a "Memo3"...).
  template <class T>
  T* controle(const char* nom) {
    T* w = graphiques_->findChild<T*>(QString::fromLatin1(nom));
    if (!w) w = fenetre_->findChild<T*>(QString::fromLatin1(nom));
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
  void cliquer(const char* nom) {
    auto* b = controle<QAbstractButton>(nom);
    if (!b) return;
    if (qobject_cast<QCheckBox*>(b))
      QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    else
      QTest::mouseClick(b, Qt::LeftButton);
  }
  QListWidget* liste(int n) {
    return controle<QListWidget>(("CheckListBox" + std::to_string(n)).c_str());
  }
  GrapheTamso* graphe(int k) { return graphiques_->graphe(k - 1); }
  // The checked items of a list, as their indexes.
  std::vector<int> coches(int n) {
    std::vector<int> c;
    QListWidget* l = liste(n);
    for (int i = 0; i < l->count(); ++i)
      if (l->item(i)->checkState() == Qt::Checked) c.push_back(i);
    return c;
  }
  // A click on the check box of item i of a list.
  void cocher_item(int n, int i) {
    QListWidget* l = liste(n);
    const QRect r = l->visualItemRect(l->item(i));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
  }
  std::vector<std::string> noms_series(int k) {
    std::vector<std::string> n;
    for (int i = 0; i < graphe(k)->nb_courbes(); ++i) n.push_back(ss(graphe(k)->courbe(i)->name()));
    return n;
  }
  Description& d() { return fenetre_->session().description; }
  void attendre_animation(GrapheTamso* g) {
    ASSERT_TRUE(QTest::qWaitFor([g] { return !g->animation_en_cours(); }, 3000));
  }

  FenetreGraphiques* graphiques_ = nullptr;
};

// ---------------------------------------------------------------- opening

TEST_F(Graphiques, OpeningAfterARunDispatchesTheSevenColumnsOnTheFiveCharts) {
  traiter();
  fenetre_->session().description_modifiee = false;
  ouvrir_graphiques();
  EXPECT_TRUE(port_->echanges.empty()) << port_->dernier_texte();

  // Every value list holds the seven titles and "n OK"; every derivative
  // list as many empty items.
  const QStringList attendus = {"a", "b", "c", "d", "e", "f", "g", "n OK"};
  for (int n = 1; n <= 5; ++n) {
    QStringList items;
    for (int i = 0; i < liste(n)->count(); ++i) items << liste(n)->item(i)->text();
    EXPECT_EQ(items, attendus) << n;
    ASSERT_EQ(liste(n + 5)->count(), 8) << n;
    EXPECT_TRUE(liste(n + 5)->item(0)->text().isEmpty());
    EXPECT_TRUE(coches(n + 5).empty());
  }
  // Columns 1 and 6 on chart 1, 2 and 7 on chart 2, 3 and "n OK" on
  // chart 3, 4 on chart 4, 5 on chart 5.
  EXPECT_EQ(coches(1), (std::vector<int>{0, 5}));
  EXPECT_EQ(coches(2), (std::vector<int>{1, 6}));
  EXPECT_EQ(coches(3), (std::vector<int>{2, 7}));
  EXPECT_EQ(coches(4), (std::vector<int>{3}));
  EXPECT_EQ(coches(5), (std::vector<int>{4}));
  EXPECT_EQ(d().suite_coche_liste_graph, "0,5,;1,6,;2,7,;3,;4,;");
  EXPECT_EQ(d().suite_coche_liste_graph_deriv, ";;;;;");
  EXPECT_TRUE(fenetre_->session().description_modifiee);

  // The series, their colours running on from chart to chart.
  EXPECT_EQ(noms_series(1), (std::vector<std::string>{"a", "f"}));
  EXPECT_EQ(noms_series(3), (std::vector<std::string>{"c", "n OK"}));
  EXPECT_EQ(graphe(1)->courbe(0)->pen().color(), QColor(0, 0, 255));
  EXPECT_EQ(graphe(1)->courbe(1)->pen().color(), QColor(255, 128, 64));
  EXPECT_EQ(graphe(2)->courbe(0)->pen().color(), QColor(0, 128, 0));
  EXPECT_EQ(graphe(5)->courbe(0)->pen().color(), QColor(80, 80, 149));

  // Rows 09:45 .. 11:00: the first and the last are not drawn.
  const CourbeTamso& a = *graphe(1)->courbe(0);
  ASSERT_EQ(a.taille(), 4u);
  EXPECT_DOUBLE_EQ(a.cle(0), cle(10, 0));
  EXPECT_DOUBLE_EQ(a.cle(3), cle(10, 45));
  EXPECT_DOUBLE_EQ(a.valeur(1), 11);
  // a and f span 10..63: the axis runs from 10 - 53 - 0.1 to 63 + 53 + 0.1.
  EXPECT_NEAR(graphe(1)->yAxis->range().lower, -43.1, 1e-9);
  EXPECT_NEAR(graphe(1)->yAxis->range().upper, 116.1, 1e-9);
  EXPECT_DOUBLE_EQ(graphe(1)->xAxis->range().lower, cle(10, 0));
  EXPECT_DOUBLE_EQ(graphe(1)->xAxis->range().upper, cle(10, 45));
  EXPECT_TRUE(graphe(1)->legend->visible());

  EXPECT_EQ(controle<QLabel>("Label2")->text(), QStringLiteral("12/03/2021 10:00:00"));
  EXPECT_EQ(controle<QLabel>("Label4")->text(), QStringLiteral("12/03/2021 11:00:00"));
  EXPECT_EQ(controle<QLabel>("Label5")->text(), QStringLiteral("pas = 00:15:00"));
  EXPECT_EQ(controle<QLabel>("Label3")->text(), qs(fenetre_->session().periode.resume_lignes));
  EXPECT_EQ(controle<QLabel>("Label1")->text(), QStringLiteral("Graphiques"));
  EXPECT_EQ(controle<QSpinBox>("Edit1")->value(), 3);

  // The button hides the window, and shows it again.
  cliquer("SpeedButton_graphique");
  EXPECT_FALSE(graphiques_->isVisible());
  ouvrir_graphiques();
}

// A run while the window is open draws the new results at once.
TEST_F(Graphiques, ARunWhileTheWindowIsOpenRedrawsIt) {
  traiter();
  ouvrir_graphiques();
  ASSERT_EQ(graphe(1)->courbe(0)->taille(), 4u);
  // Rows 10:00 .. 10:30 only: the first and the last are not drawn.
  traiter(QTime(10, 0), QTime(10, 30));
  ASSERT_TRUE(graphiques_->isVisible());
  ASSERT_GT(graphe(1)->nb_courbes(), 0);
  EXPECT_EQ(graphe(1)->courbe(0)->taille(), 2u);
}

TEST_F(Graphiques, SavedChoicesAreReadWithTheirDerivatives) {
  traiter();
  d().suite_coche_liste_graph = "1,;;0,7,;;;";
  d().suite_coche_liste_graph_deriv = "1,;;7,;;;";
  fenetre_->session().description_modifiee = false;
  ouvrir_graphiques();
  EXPECT_FALSE(fenetre_->session().description_modifiee);
  EXPECT_EQ(coches(1), (std::vector<int>{1}));
  EXPECT_EQ(coches(6), (std::vector<int>{1}));
  EXPECT_EQ(coches(3), (std::vector<int>{0, 7}));
  EXPECT_EQ(coches(8), (std::vector<int>{7}));
  EXPECT_EQ(noms_series(1), (std::vector<std::string>{"d/dt > b"}));
  EXPECT_EQ(noms_series(2), (std::vector<std::string>{}));
  // The row count is never drawn as a derivative.
  EXPECT_EQ(noms_series(3), (std::vector<std::string>{"a", "n OK"}));
  // b goes up by 1 a quarter of an hour: 96 a day; nothing before 10:15.
  const CourbeTamso& b = *graphe(1)->courbe(0);
  ASSERT_EQ(b.taille(), 4u);
  EXPECT_TRUE(std::isnan(b.valeur(0)));
  EXPECT_NEAR(b.valeur(1), 96.0, 1e-6);
  // A chart without series shows no axes and no legend.
  EXPECT_FALSE(graphe(2)->xAxis->visible());
  EXPECT_FALSE(graphe(2)->legend->visible());
}

TEST_F(Graphiques, AnEntryThatIsNoWholeNumberStopsTheReading) {
  traiter();
  d().suite_coche_liste_graph = "0,;x,;;;;";
  ouvrir_graphiques();
  EXPECT_EQ(port_->dernier_texte(), "'x' n'est pas une valeur entière correcte");
  EXPECT_EQ(coches(1), (std::vector<int>{0}));
}

TEST_F(Graphiques, ARunWithoutSourceLinesSaysSo) {
  // A period before the measurements: no line falls into it.
  traiter(QTime(6, 0), QTime(7, 0));
  ASSERT_EQ(fenetre_->session().etat_traitement.lignes_extraites, 0);
  port_->echanges.clear();
  ouvrir_graphiques();
  EXPECT_EQ(port_->dernier_texte(), " aucune donnée, vérifier la période et le traitement...");
  // The charts stay empty: every point is a gap.
  for (int k = 1; k <= 5; ++k)
    for (int i = 0; i < graphe(k)->nb_courbes(); ++i)
      for (std::size_t j = 0; j < graphe(k)->courbe(i)->taille(); ++j)
        EXPECT_TRUE(std::isnan(graphe(k)->courbe(i)->valeur(j))) << k;
}

TEST_F(Graphiques, WithoutARunTheListsStayEmptyAndTheChoicesAreKept) {
  d().suite_coche_liste_graph = "0,;;;;;";
  fenetre_->session().description_modifiee = false;
  ouvrir_graphiques();
  EXPECT_EQ(port_->dernier_texte(), " aucune donnée, vérifier la période et le traitement...");
  EXPECT_EQ(liste(1)->count(), 0);
  EXPECT_EQ(d().suite_coche_liste_graph, "0,;;;;;");
  EXPECT_FALSE(fenetre_->session().description_modifiee);
}

// A series whose values are all the same leaves the chart its range, unless
// that range (left by other data) would not show it.
TEST_F(Graphiques, ASeriesOfOneValueOutsideTheKeptRangeIsCentredOnIt) {
  traiter();
  ouvrir_graphiques();
  // Chart 2 shows g alone (70..73): lo 70, hi 73, R 3.
  cocher_item(2, 1);
  cliquer("Button_af_les_graph");
  EXPECT_NEAR(graphe(2)->yAxis->range().lower, 70 - 3 - 0.1, 1e-9);
  // Then the row count alone: 1 on every drawn row, below that range.
  cocher_item(2, 6);
  cocher_item(2, 7);
  cliquer("Button_af_les_graph");
  ASSERT_EQ(noms_series(2), (std::vector<std::string>{"n OK"}));
  EXPECT_DOUBLE_EQ(graphe(2)->yAxis->range().lower, 0);
  EXPECT_DOUBLE_EQ(graphe(2)->yAxis->range().upper, 2);
}

// Under a date-only abscissa, three quarters of an hour hold no midnight:
// the axis still names the day, once.
TEST_F(Graphiques, ARangeShorterThanADayStillNamesItsDay) {
  traiter();
  ouvrir_graphiques();
  graphiques_->findChild<QAbstractButton*>(QStringLiteral("RadioGroup_abscisse_1"))->click();
  GrapheTamso* g = graphe(1);
  g->replot();
  QStringList visibles;
  for (qsizetype i = 0; i < g->xAxis->tickVector().size(); ++i)
    if (g->xAxis->range().contains(g->xAxis->tickVector()[i]))
      visibles << g->xAxis->tickVectorLabels()[i];
  EXPECT_EQ(visibles, QStringList{QStringLiteral("12-03-2021")});
}

// ---------------------------------------------------------------- the lists

TEST_F(Graphiques, ListClicksMarkTheDescriptionModifiedAndWriteTheChoices) {
  traiter();
  ouvrir_graphiques();
  fenetre_->session().description_modifiee = false;
  cocher_item(1, 1);
  EXPECT_EQ(coches(1), (std::vector<int>{0, 1, 5}));
  EXPECT_TRUE(fenetre_->session().description_modifiee);
  EXPECT_EQ(d().suite_coche_liste_graph, "0,1,5,;1,6,;2,7,;3,;4,;");
  // A derivative item.
  fenetre_->session().description_modifiee = false;
  cocher_item(7, 6);
  EXPECT_TRUE(fenetre_->session().description_modifiee);
  EXPECT_EQ(d().suite_coche_liste_graph_deriv, ";6,;;;;");
  // "&Visualiser" draws the new choices.
  EXPECT_EQ(noms_series(1), (std::vector<std::string>{"a", "f"}));
  cliquer("Button_af_les_graph");
  EXPECT_EQ(noms_series(1), (std::vector<std::string>{"a", "b", "f"}));
  EXPECT_EQ(noms_series(2), (std::vector<std::string>{"b", "d/dt > g"}));
  // A click beside the box marks the description too.
  fenetre_->session().description_modifiee = false;
  QListWidget* l = liste(4);
  const QRect r = l->visualItemRect(l->item(0));
  QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(r.right() - 5, r.center().y()));
  EXPECT_TRUE(fenetre_->session().description_modifiee);
}

TEST_F(Graphiques, EveryActivationStartsAgainFromTheChoicesAtOpening) {
  traiter();
  d().suite_coche_liste_graph = "0,;;;;;";
  ouvrir_graphiques();
  cocher_item(2, 3);
  EXPECT_EQ(d().suite_coche_liste_graph, "0,;3,;;;;");
  graphiques_->activer();
  EXPECT_EQ(coches(2), (std::vector<int>{}));
  EXPECT_EQ(d().suite_coche_liste_graph, "0,;;;;;");
  // Hidden and opened again, the window takes the choices of that moment.
  cocher_item(2, 3);
  cliquer("SpeedButton_graphique");
  ouvrir_graphiques();
  EXPECT_EQ(coches(2), (std::vector<int>{3}));
}

TEST_F(Graphiques, CheckingAllColumnsAsksThenDispatchesThemAgain) {
  traiter();
  d().suite_coche_liste_graph = "0,;;;;;";
  d().suite_coche_liste_graph_deriv = "0,;;;;;";
  ouvrir_graphiques();
  port_->reponses = {Reponse::non};
  cliquer("Button_toute_col_coche");
  EXPECT_EQ(port_->dernier_texte(),
            " cocher toutes les colonnes en les  \n dispatchant sur les 5 graphiques ? \n");
  EXPECT_EQ(d().suite_coche_liste_graph, "0,;;;;;");
  port_->reponses = {Reponse::oui};
  cliquer("Button_toute_col_coche");
  EXPECT_EQ(d().suite_coche_liste_graph, "0,5,;1,6,;2,7,;3,;4,;");
  EXPECT_EQ(d().suite_coche_liste_graph_deriv, ";;;;;");
  EXPECT_EQ(coches(6), (std::vector<int>{}));
}

// ---------------------------------------------------------------- the mouse

TEST_F(Graphiques, AClickOnAPointShowsItsValueUntilTheMouseMovesAway) {
  traiter();
  ouvrir_graphiques();
  GrapheTamso* g = graphe(1);
  auto* lecture = graphiques_->findChild<QLabel*>(QStringLiteral("lecture_point"));
  ASSERT_NE(lecture, nullptr);
  const QPoint p = g->courbe(0)->coordsToPixels(cle(10, 15), 11).toPoint();
  QTest::mouseClick(g, Qt::LeftButton, {}, p + QPoint(3, 2));
  ASSERT_TRUE(lecture->isVisible());
  EXPECT_EQ(lecture->text(), QStringLiteral("  série   a\n  12/03/2021 10:15:00\n  11.000 "));
  EXPECT_EQ(lecture->width(), 140);
  EXPECT_EQ(lecture->y(), g->mapTo(graphiques_, p + QPoint(3, 2)).y() + 30);
  const auto bouger = [g](QPoint a) {
    QMouseEvent e(QEvent::MouseMove, QPointF(a), g->mapToGlobal(QPointF(a)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g, &e);
  };
  bouger(p + QPoint(15, 12));
  EXPECT_TRUE(lecture->isVisible());
  bouger(p + QPoint(3, 25));
  EXPECT_FALSE(lecture->isVisible());
  // Far from every point, a click shows nothing.
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(g->width() / 2, 8));
  EXPECT_FALSE(lecture->isVisible());
  // A right click hides it.
  QTest::mouseClick(g, Qt::LeftButton, {}, p);
  ASSERT_TRUE(lecture->isVisible());
  QTest::mouseClick(g, Qt::RightButton, {}, p);
  EXPECT_FALSE(lecture->isVisible());
}

TEST_F(Graphiques, WheelZoomsTheChartUnderTheMouseAndADoubleClickRestoresIt) {
  traiter();
  ouvrir_graphiques();
  GrapheTamso* g = graphe(2);
  const QCPRange avant = g->yAxis->range();
  const QCPRange autre = graphe(1)->yAxis->range();
  // One notch forward over chart 2's value list: 10 % in at both ends.
  const QPointF pos = QPointF(liste(2)->viewport()->rect().center());
  QWheelEvent molette(pos, liste(2)->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(liste(2)->viewport(), &molette);
  EXPECT_NEAR(g->yAxis->range().lower, avant.lower + avant.size() * 0.1, 1e-9);
  EXPECT_NEAR(g->yAxis->range().upper, avant.upper - avant.size() * 0.1, 1e-9);
  EXPECT_EQ(graphe(1)->yAxis->range(), autre);
  // Backward over the chart itself: 10 % of the new range out.
  const QCPRange zoome = g->yAxis->range();
  QWheelEvent arriere(QPointF(50, 50), g->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(g, &arriere);
  EXPECT_NEAR(g->yAxis->range().lower, zoome.lower - zoome.size() * 0.1, 1e-9);
  QTest::mouseDClick(g, Qt::LeftButton, {}, QPoint(60, 40));
  attendre_animation(g);
  EXPECT_EQ(g->yAxis->range(), avant);
}

TEST_F(Graphiques, RectangleDownRightZoomsUpwardsRestoresRightButtonPans) {
  traiter();
  ouvrir_graphiques();
  GrapheTamso* g = graphe(1);
  const QCPRange x0 = g->xAxis->range(), y0 = g->yAxis->range();
  const QRect zone = g->axisRect()->rect();
  const QPoint a = zone.topLeft() + QPoint(zone.width() / 4, zone.height() / 4);
  const QPoint b = zone.topLeft() + QPoint(zone.width() / 2, zone.height() * 3 / 4);
  const auto glisser = [g](QPoint de, QPoint a_, Qt::MouseButton bouton) {
    QTest::mousePress(g, bouton, {}, de);
    QTest::mouseMove(g, (de + a_) / 2);
    QTest::mouseMove(g, a_);
    QTest::mouseRelease(g, bouton, {}, a_);
  };
  const double gauche = g->xAxis->pixelToCoord(a.x()), droite = g->xAxis->pixelToCoord(b.x());
  const double bas = g->yAxis->pixelToCoord(b.y()), haut = g->yAxis->pixelToCoord(a.y());
  glisser(a, b, Qt::LeftButton);
  attendre_animation(g);
  EXPECT_NEAR(g->xAxis->range().lower, gauche, x0.size() * 1e-9);
  EXPECT_NEAR(g->xAxis->range().upper, droite, x0.size() * 1e-9);
  EXPECT_NEAR(g->yAxis->range().lower, bas, y0.size() * 1e-9);
  EXPECT_NEAR(g->yAxis->range().upper, haut, y0.size() * 1e-9);
  // Upwards: the whole chart again.
  glisser(b, a, Qt::LeftButton);
  attendre_animation(g);
  EXPECT_EQ(g->xAxis->range(), x0);
  EXPECT_EQ(g->yAxis->range(), y0);
  // The right button drags the chart along: 100 pixels right shows earlier times.
  glisser(a, a + QPoint(100, 0), Qt::RightButton);
  EXPECT_LT(g->xAxis->range().lower, x0.lower);
  EXPECT_NEAR(g->xAxis->range().size(), x0.size(), x0.size() * 1e-9);
}

// ---------------------------------------------------------------- single chart

TEST_F(Graphiques, SingleChartModeShowsOneChartAndPutsThe3DSettingBack) {
  traiter();
  ouvrir_graphiques();
  cliquer("CheckBox_3d");
  EXPECT_TRUE(graphiques_->vue_3d(0)->isVisible());
  EXPECT_FALSE(graphe(1)->isVisible());
  EXPECT_TRUE(graphiques_->vue_3d(0)->parametres.orthogonal);
  EXPECT_EQ(graphiques_->vue_3d(0)->parametres.profondeur, 10);
  EXPECT_FALSE(controle<QSlider>("TrackBar1")->isVisible());
  const int hauteur = graphiques_->vue_3d(1)->height();

  cliquer("CheckBox2");
  EXPECT_EQ(graphiques_->graphe_unique(), 1);
  EXPECT_FALSE(controle<QCheckBox>("CheckBox_3d")->isChecked());
  EXPECT_TRUE(graphe(2)->isVisible());
  EXPECT_GT(graphe(2)->height(), 4 * hauteur);
  for (int k : {1, 3, 4, 5}) {
    EXPECT_FALSE(graphe(k)->isVisible()) << k;
    EXPECT_FALSE(graphiques_->vue_3d(k - 1)->isVisible()) << k;
    EXPECT_FALSE(controle<QCheckBox>(("CheckBox" + std::to_string(k)).c_str())->isVisible()) << k;
    EXPECT_FALSE(liste(k)->isVisible()) << k;
  }
  EXPECT_TRUE(controle<QPushButton>("Button_pp")->isEnabled());
  EXPECT_TRUE(controle<QPushButton>("Button_enregistrer_graphique")->isEnabled());

  // 3D on the single chart: a turned view, its sliders shown.
  cliquer("CheckBox_3d");
  Vue3D* vue = graphiques_->vue_3d(1);
  EXPECT_TRUE(vue->isVisible());
  EXPECT_FALSE(vue->parametres.orthogonal);
  EXPECT_EQ(vue->parametres.profondeur, 30);
  EXPECT_EQ(vue->parametres.zoom, 80);
  EXPECT_TRUE(controle<QSlider>("TrackBar1")->isVisible());
  controle<QSlider>("TrackBar2")->setValue(250);
  EXPECT_EQ(vue->parametres.rotation, 250);
  controle<QSlider>("TrackBar1")->setValue(70);
  EXPECT_EQ(vue->parametres.profondeur, 70);

  // Back to five charts: the 3D setting of before single-chart mode.
  cliquer("CheckBox_3d");
  cliquer("CheckBox2");
  EXPECT_EQ(graphiques_->graphe_unique(), -1);
  EXPECT_TRUE(controle<QCheckBox>("CheckBox_3d")->isChecked());
  for (int k = 1; k <= 5; ++k) {
    EXPECT_TRUE(graphiques_->vue_3d(k - 1)->isVisible()) << k;
    EXPECT_TRUE(liste(k)->isVisible()) << k;
  }
  EXPECT_FALSE(controle<QPushButton>("Button_pp")->isEnabled());
  EXPECT_FALSE(controle<QSlider>("TrackBar1")->isVisible());
  EXPECT_EQ(graphiques_->vue_3d(3)->parametres.zoom, 100);
}

TEST_F(Graphiques, TheSingleChartIsCopiedAndSavedAsPicturesAndDocuments) {
  traiter();
  ouvrir_graphiques();
  cliquer("CheckBox1");
  auto* copier = controle<QPushButton>("Button_pp");
  cliquer("Button_pp");
  EXPECT_EQ(copier->text(), QStringLiteral("OK"));
  EXPECT_EQ(port_->image_copiee.size(), graphe(1)->size());
  EXPECT_EQ(port_->image_copiee.pixelColor(2, 2), QColor(Qt::white));
  EXPECT_TRUE(
      QTest::qWaitFor([copier] { return copier->text() == QLatin1String("copier"); }, 2000));

  const std::string png = sortie_ + "courbe.png", pdf = sortie_ + "courbe.pdf",
                    sans = sortie_ + "courbe", svg = sortie_ + "courbe.svg";
  port_->fichiers_a_enregistrer = {png, pdf, sans};
  for (int i = 0; i < 3; ++i) cliquer("Button_enregistrer_graphique");
  ASSERT_FALSE(port_->dialogues.empty());
  EXPECT_EQ(port_->dialogues.back().dossier, sortie_);
  EXPECT_EQ(port_->dialogues.back().propose, "graphique1.png");
  EXPECT_EQ(QImage(qs(png)).size(), graphe(1)->size());
  EXPECT_EQ(test::DossierTemporaire::lire(pdf).substr(0, 5), "%PDF-");
  EXPECT_FALSE(QImage(qs(sans + ".png")).isNull());
#ifdef TAMSO_SVG
  port_->fichiers_a_enregistrer = {svg};
  cliquer("Button_enregistrer_graphique");
  EXPECT_NE(test::DossierTemporaire::lire(svg).find("<svg"), std::string::npos);
#endif
  // The 3D view is what is copied when it is shown.
  cliquer("CheckBox_3d");
  cliquer("Button_pp");
  EXPECT_EQ(port_->image_copiee.size(), graphiques_->vue_3d(0)->size());
  port_->fichiers_a_enregistrer = {sortie_ + "vue.pdf"};
  cliquer("Button_enregistrer_graphique");
  EXPECT_EQ(test::DossierTemporaire::lire(sortie_ + "vue.pdf").substr(0, 5), "%PDF-");
}

// ---------------------------------------------------------------- dense series

// 200,000 points on a chart 600 pixels wide: each pixel column is drawn as
// the span of its values, so a single spike still shows, a gap of 20,000
// points stays empty, and a click on the spike reads the real point.
TEST(CourbeDense, SpikesAndGapsSurviveAndTheReadOutFindsTheRealPoint) {
  GrapheTamso g(nullptr);
  g.resize(600, 300);
  const std::size_t n = 200000;
  auto x = std::make_shared<PointsGraphique>(n);
  PointsGraphique y(n);
  for (std::size_t i = 0; i < n; ++i) {
    (*x)[i] = static_cast<double>(i);
    y[i] = i >= 150000 && i < 170000 ? std::nan("") : 0.0;
  }
  y[100000] = 10;
  CourbeTamso* c = g.ajouter_courbe();
  c->setPen(QPen(QColor(0, 0, 255), 1));
  c->setAntialiased(false);
  c->fixer_points(x, std::move(y), {}, 1.0, 0.0);
  bool valeurs = false;
  EXPECT_EQ(c->getValueRange(valeurs).upper, 10);
  EXPECT_TRUE(valeurs);
  g.xAxis->setRange(0, n - 1);
  g.yAxis->setRange(-1, 11);
  g.replot();
  const QImage image = g.toPixmap(600, 300, 1.0).toImage();
  const auto bleu_dans = [&image](int x0, int x1, int y0, int y1) {
    for (int px = x0; px <= x1; ++px)
      for (int py = y0; py <= y1; ++py)
        if (image.pixelColor(px, py) == QColor(0, 0, 255)) return true;
    return false;
  };
  const auto px = [&g](double cle) { return static_cast<int>(g.xAxis->coordToPixel(cle)); };
  const auto py = [&g](double v) { return static_cast<int>(g.yAxis->coordToPixel(v)); };
  const QRect zone = g.axisRect()->rect();
  // The line at 0, the spike at 10 (one point in 200,000).
  EXPECT_TRUE(bleu_dans(px(50000), px(50000), py(0) - 1, py(0) + 1));
  EXPECT_TRUE(bleu_dans(px(100000) - 1, px(100000) + 1, py(10) - 1, py(10) + 1));
  // Nothing between the edges of the gap.
  EXPECT_FALSE(bleu_dans(px(150000) + 2, px(170000) - 2, zone.top(), zone.bottom()));
  // The line resumes after it.
  EXPECT_TRUE(bleu_dans(px(180000), px(180000), py(0) - 1, py(0) + 1));

  const auto point = g.point_proche(QPointF(g.xAxis->coordToPixel(100000), py(10)));
  ASSERT_TRUE(point.has_value());
  EXPECT_EQ(point->serie, 0);
  EXPECT_EQ(point->cle, 100000);
  EXPECT_EQ(point->valeur, 10);
  // Zoomed in to fewer points than pixels, the markers come back.
  c->fixer_marqueurs(QCPScatterStyle(QCPScatterStyle::ssDot, Qt::blue, 1));
  EXPECT_FALSE(c->marqueurs_dessines());
  g.xAxis->setRange(99800, 100200);
  EXPECT_TRUE(c->marqueurs_dessines());
}

// ---------------------------------------------------------------- the window

TEST_F(Graphiques, MoreThanTenThousandTimestampsGivePointsOfSizeOne) {
  traiter();
  EXPECT_EQ(controle<QSpinBox>("Edit1")->value(), 3);
  // The same file over a week, every minute: 10081 timestamps.
  controle<QDateEdit>("DatePicker_deb")->setDate(QDate(2021, 3, 10));
  controle<QDateEdit>("DatePicker_fin")->setDate(QDate(2021, 3, 17));
  controle<QTimeEdit>("TimePicker_pas")->setTime(QTime(0, 1));
  port_->reponses.clear();
  cliquer("SpeedButton_traiter_fichier");
  ASSERT_GT(fenetre_->session().grille.n(), 10000);
  ouvrir_graphiques();
  EXPECT_EQ(controle<QSpinBox>("Edit1")->value(), 1);
  // Over the week the points are denser than the pixels: no markers; zoomed
  // in on the morning of the 12th, small dots.
  GrapheTamso* g = graphe(1);
  g->replot();
  EXPECT_EQ(g->courbe(0)->marqueurs().shape(), QCPScatterStyle::ssDot);
  EXPECT_FALSE(g->courbe(0)->marqueurs_dessines());
  g->xAxis->setRange(cle(10, 0), cle(10, 45));
  g->replot();
  EXPECT_TRUE(g->courbe(0)->marqueurs_dessines());
}

TEST_F(Graphiques, HelpBoxTitleAndWhereTheWindowWasLeft) {
  ouvrir_graphiques();
  auto* aide = controle<QLabel>("Memo3");
  EXPECT_FALSE(aide->isVisible());
  cliquer("SpeedButton_help2");
  ASSERT_TRUE(aide->isVisible());
  EXPECT_TRUE(aide->text().startsWith(
      QStringLiteral(" Zoomer avec la roulette ou en sélectionnant une zone\n\n")));
  QTest::mouseClick(aide, Qt::LeftButton);
  EXPECT_FALSE(aide->isVisible());

  fenetre_->session().etiquette("graphiques.Label1") = "Station S4";
  fenetre_->rafraichir();
  EXPECT_EQ(controle<QLabel>("Label1")->text(), QStringLiteral("Station S4"));

  graphiques_->setGeometry(40, 50, 900, 600);
  cliquer("SpeedButton_graphique");
  EXPECT_EQ(lire_geometrie_graphiques(fenetre_->session()),
            (GeometrieFenetre{40, 50, 900, 600, false}));
  fenetre_.reset();
  creer_fenetre();
  ouvrir_fenetre();
  ouvrir_graphiques();
  EXPECT_EQ(graphiques_->geometry(), QRect(40, 50, 900, 600));
}

}  // namespace
}  // namespace tamso
