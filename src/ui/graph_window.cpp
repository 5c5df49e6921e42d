#include "ui/graph_window.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#ifdef TAMSO_SVG
#include <QSvgGenerator>
#endif

#include "app/graphs.h"
#include "app/program_files.h"
#include "app/session.h"
#include "processing/period.h"
#include "ui/graph_3d.h"
#include "ui/graph_chart.h"
#include "ui/graph_curve.h"
#include "ui/qt_interaction.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

namespace {

constexpr int kLargeurReglages = 190;
constexpr int kLargeurDerivees = 24;
// Days from 30 December 1899 to 1 January 1970: the time axis counts
// seconds from the latter.
constexpr double kJours1970 = 25569.0;

const char* const kAideValeurs =
    " zoom TOUT = sélection zone négative  ,  Haut/Bas/gauche/droite = clik droit glissé  ,  "
    "roulette = zoom +-, clik = XY";
const char* const kAideDerivees = " ==== fonction dérivée ====== ";
const char* const kAucuneDonnee = " aucune donnée, vérifier la période et le traitement...";
const char* const kQuestionCocherTout =
    " cocher toutes les colonnes en les  \n dispatchant sur les 5 graphiques ? \n";

double cle_depuis_abscisse(double x, Abscisse a) {
  return a == Abscisse::numero ? x : (x - kJours1970) * 86400.0;
}
double abscisse_depuis_cle(double cle, Abscisse a) {
  return a == Abscisse::numero ? cle : cle / 86400.0 + kJours1970;
}

// The time axis's label format and the shortest step between two labels.
struct FormatTemps {
  const char* format;
  double pas_minimal;  // seconds
};
FormatTemps format_temps(Abscisse a) {
  switch (a) {
    case Abscisse::date_heure:
      return {"dd-MM-yyyy hh:mm", 60};
    case Abscisse::date:
      return {"dd-MM-yyyy", 86400};
    case Abscisse::heure:
      return {"hh:mm", 60};
    case Abscisse::mois:
      return {"MMM-yyyy", 28 * 86400.0};
    case Abscisse::numero:
      break;
  }
  return {"", 1};
}

std::vector<bool> coches(const QListWidget* l) {
  std::vector<bool> c(static_cast<std::size_t>(l->count()));
  for (int i = 0; i < l->count(); ++i)
    c[static_cast<std::size_t>(i)] = l->item(i)->checkState() == Qt::Checked;
  return c;
}

void appliquer_coches(QListWidget* l, const std::vector<bool>& c) {
  for (int i = 0; i < l->count(); ++i) {
    const bool oui = static_cast<std::size_t>(i) < c.size() && c[static_cast<std::size_t>(i)];
    l->item(i)->setCheckState(oui ? Qt::Checked : Qt::Unchecked);
  }
}

bool entier(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The first entry of group k of a choice text that is not a whole number.
std::string entree_illisible(std::string_view texte, int k) {
  std::size_t debut = 0;
  for (int i = 0; i < k; ++i) {
    const std::size_t p = texte.find(';', debut);
    if (p == std::string_view::npos) return {};
    debut = p + 1;
  }
  std::string_view groupe = texte.substr(debut);
  groupe = groupe.substr(0, groupe.find(';'));
  const auto n = std::count(groupe.begin(), groupe.end(), ',');
  std::size_t d = 0;
  for (long j = 0; j < n; ++j) {
    const std::size_t p = groupe.find(',', d);
    const std::string_view champ = groupe.substr(d, p - d);
    if (!entier(champ)) return std::string(champ);
    d = p + 1;
  }
  return {};
}

QListWidget* liste(const QString& nom, const char* aide, QWidget* parent) {
  auto* l = new QListWidget(parent);
  l->setObjectName(nom);
  l->setToolTip(QString::fromUtf8(aide));
  l->setUniformItemSizes(true);
  l->setSelectionMode(QAbstractItemView::NoSelection);
  l->setFocusPolicy(Qt::NoFocus);
  l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  l->setTextElideMode(Qt::ElideRight);
  QFont f = l->font();
  f.setPointSizeF(std::max(7.0, f.pointSizeF() - 1));
  l->setFont(f);
  return l;
}

}  // namespace

FenetreGraphiques::FenetreGraphiques(ContexteFenetre& fenetre, QWidget* parent)
    : QWidget(parent, Qt::Window), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Tamso - graphiques"));
  setAutoFillBackground(true);
  setMinimumSize(720, 480);
  construire();
}

FenetreGraphiques::~FenetreGraphiques() {
  if (isVisible()) sauver_geometrie();
}

GrapheTamso* FenetreGraphiques::graphe(int k) const {
  return emplacements_[static_cast<std::size_t>(k)].graphe;
}

Vue3D* FenetreGraphiques::vue_3d(int k) const {
  return emplacements_[static_cast<std::size_t>(k)].vue;
}

// ---------------------------------------------------------------- building

void FenetreGraphiques::construire() {
  for (int k = 0; k < kNbGraphiques; ++k) construire_emplacement(k);
  reglages_ = construire_reglages();

  debut_ = etiquette("Label2", QString(), this);
  fin_ = etiquette("Label4", QString(), this);
  nb_pas_ = etiquette("Label3", QString(), this);
  pas_ = etiquette("Label5", QString(), this);

  aide_ = new QLabel(this);
  aide_->setObjectName(QStringLiteral("Memo3"));
  QStringList lignes;
  for (const std::string& l : lignes_aide_graphiques()) lignes << qs(l);
  aide_->setText(lignes.join(QLatin1Char('\n')));
  aide_->setStyleSheet(QStringLiteral(
      "QLabel { background: rgb(255,255,128); color: black; border: 1px solid rgb(160,160,0);"
      " padding: 8px; }"));
  aide_->adjustSize();
  aide_->hide();
  aide_->installEventFilter(this);

  lecture_ = new QLabel(this);
  lecture_->setObjectName(QStringLiteral("lecture_point"));
  lecture_->setStyleSheet(QStringLiteral(
      "QLabel { background: rgb(255,255,225); color: black; border: 1px solid gray; }"));
  lecture_->setFixedWidth(140);
  lecture_->setWordWrap(true);
  lecture_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lecture_->hide();
}

void FenetreGraphiques::construire_emplacement(int k) {
  Emplacement& e = emplacements_[static_cast<std::size_t>(k)];
  e.graphe = new GrapheTamso(this);
  e.graphe->setObjectName(QStringLiteral("Chart%1").arg(k + 1));
  e.graphe->setLocale(QLocale(QLocale::French, QLocale::France));
  e.vue = new Vue3D(*e.graphe, this);
  e.vue->setObjectName(QStringLiteral("Chart%1_3d").arg(k + 1));
  e.vue->hide();
  e.unique = new QCheckBox(this);
  e.unique->setObjectName(QStringLiteral("CheckBox%1").arg(k + 1));
  e.unique->setToolTip(QStringLiteral(" graphe unique / graphes multiples  "));
  e.valeurs = liste(QStringLiteral("CheckListBox%1").arg(k + 1), kAideValeurs, this);
  e.derivees = liste(QStringLiteral("CheckListBox%1").arg(k + 6), kAideDerivees, this);
  e.derivees->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (QListWidget* l : {e.valeurs, e.derivees}) {
    connect(l, &QListWidget::itemChanged, this, [this] { sur_liste_cliquee(); });
    connect(l, &QListWidget::itemClicked, this, [this] { sur_liste_cliquee(); });
    l->viewport()->installEventFilter(this);
  }
  // The two lists scroll together, item beside item.
  connect(e.valeurs->verticalScrollBar(), &QScrollBar::valueChanged,
          e.derivees->verticalScrollBar(), &QScrollBar::setValue);
  connect(e.derivees->verticalScrollBar(), &QScrollBar::valueChanged,
          e.valeurs->verticalScrollBar(), &QScrollBar::setValue);

  connect(e.unique, &QCheckBox::toggled, this, [this, k](bool coche) { sur_unique(k, coche); });
  connect(e.graphe, &GrapheTamso::clic, this, [this, k](QPoint pos) { sur_clic(k, pos); });
  connect(e.graphe, &GrapheTamso::souris_deplacee, this,
          [this, k](QPoint pos) { sur_deplacement(k, pos); });
  connect(e.graphe, &GrapheTamso::clic_droit, this, &FenetreGraphiques::cacher_lecture);
  connect(e.graphe, &GrapheTamso::molette, this,
          [this, k](QPoint pos, int crans) { zoom_molette(graphe(k)->mapTo(this, pos), crans); });
}

QWidget* FenetreGraphiques::construire_reglages() {
  auto* panneau = new QWidget(this);
  panneau->setObjectName(QStringLiteral("Panel_reglages"));
  auto* vb = new QVBoxLayout(panneau);
  vb->setContentsMargins(0, 0, 0, 0);
  vb->setSpacing(5);

  auto* haut = rangee();
  titre_ = etiquette("Label1", QStringLiteral("Graphiques"), panneau);
  QFont grand = titre_->font();
  grand.setBold(true);
  grand.setPointSizeF(grand.pointSizeF() + 4);
  titre_->setFont(grand);
  titre_->setWordWrap(true);
  haut->addWidget(titre_, 1);
  auto* aide = bouton(QStringLiteral("SpeedButton_help2"), QStringLiteral("?"), panneau);
  aide->setToolTip(QStringLiteral(" écran d'aide  "));
  aide->setFixedWidth(28);
  haut->addWidget(aide, 0, Qt::AlignTop);
  vb->addLayout(haut);
  connect(aide, &QPushButton::clicked, this, [this] {
    aide_->setVisible(!aide_->isVisible());
    if (aide_->isVisible()) aide_->raise();
  });

  axes_ = new QCheckBox(QStringLiteral("abscisses, axes"), panneau);
  axes_->setObjectName(QStringLiteral("CheckBox_draw_axis"));
  axes_->setChecked(true);
  trois_d_ = new QCheckBox(QStringLiteral("3D"), panneau);
  trois_d_->setObjectName(QStringLiteral("CheckBox_3d"));
  vb->addWidget(axes_);
  vb->addWidget(trois_d_);

  auto* groupe = new QGroupBox(QStringLiteral("abscisses"), panneau);
  groupe->setObjectName(QStringLiteral("RadioGroup_abscisse"));
  auto* vg = new QVBoxLayout(groupe);
  vg->setContentsMargins(6, 2, 6, 4);
  vg->setSpacing(1);
  abscisses_ = new QButtonGroup(groupe);
  const char* choix[] = {"jj-mm-aaaa hh:mm", "jj-mm-aaaa", "hh:mm", "mmm-aaaa", "n"};
  for (int i = 0; i < 5; ++i) {
    auto* r = new QRadioButton(QString::fromUtf8(choix[i]), groupe);
    r->setObjectName(QStringLiteral("RadioGroup_abscisse_%1").arg(i));
    abscisses_->addButton(r, i);
    vg->addWidget(r);
  }
  abscisses_->button(1)->setChecked(true);
  vb->addWidget(groupe);

  valeurs_xy_ = new QCheckBox(QStringLiteral("toutes valeurs en XY"), panneau);
  valeurs_xy_->setObjectName(QStringLiteral("CheckBox_af_valeur"));
  vb->addWidget(valeurs_xy_);

  auto* taille = rangee();
  taille->addWidget(texte(QStringLiteral("taille des points"), panneau), 1);
  taille_points_ = new QSpinBox(panneau);
  taille_points_->setObjectName(QStringLiteral("Edit1"));
  taille_points_->setRange(1, 10);
  taille_points_->setValue(3);
  taille->addWidget(taille_points_);
  vb->addLayout(taille);

  auto* visualiser =
      bouton(QStringLiteral("Button_af_les_graph"), QStringLiteral("&Visualiser"), panneau);
  visualiser->setToolTip(QStringLiteral(" visualiser  les nouvelles données cochées "));
  auto* tout = bouton(QStringLiteral("Button_toute_col_coche"),
                      QStringLiteral("cocher toutes les colonnes "), panneau);
  tout->setToolTip(QStringLiteral(" dispatcher toutes les colonnes sur les 5 graphiques "));
  copier_ = bouton(QStringLiteral("Button_pp"), QStringLiteral("copier"), panneau);
  copier_->setToolTip(QStringLiteral(" copier le graphique dans le presse-papier "));
  enregistrer_ = bouton(QStringLiteral("Button_enregistrer_graphique"),
                        QStringLiteral("enregistrer..."), panneau);
#ifdef TAMSO_SVG
  enregistrer_->setToolTip(QStringLiteral(" enregistrer le graphique en PNG, PDF ou SVG "));
#else
  enregistrer_->setToolTip(QStringLiteral(" enregistrer le graphique en PNG ou PDF "));
#endif
  copier_->setEnabled(false);
  enregistrer_->setEnabled(false);
  for (QPushButton* b : {visualiser, tout}) vb->addWidget(b);
  auto* sorties = rangee();
  sorties->addWidget(copier_);
  sorties->addWidget(enregistrer_);
  vb->addLayout(sorties);

  // The 3D sliders, in the order of their captions.
  struct Curseur {
    const char* nom;
    const char* legende;
    int min, max, depart;
    std::size_t rang;  // TrackBar1..4: depth, rotation, zoom, elevation
  };
  const Curseur curseurs[] = {{"TrackBar3", "zoom %", 50, 100, 90, 2},
                              {"TrackBar2", "rotation", 180, 360, 360, 1},
                              {"TrackBar4", "hauteur", 180, 360, 360, 3},
                              {"TrackBar1", "largeur", 30, 100, 30, 0}};
  auto* grille_curseurs = new QGridLayout;
  grille_curseurs->setContentsMargins(0, 6, 0, 0);
  grille_curseurs->setVerticalSpacing(2);
  int ligne = 0;
  for (const Curseur& c : curseurs) {
    auto* l = new QLabel(QString::fromUtf8(c.legende), panneau);
    l->setObjectName(QStringLiteral("Label_%1").arg(QString::fromLatin1(c.nom)));
    auto* s = new QSlider(Qt::Horizontal, panneau);
    s->setObjectName(QString::fromLatin1(c.nom));
    s->setRange(c.min, c.max);
    s->setValue(c.depart);
    grille_curseurs->addWidget(l, ligne, 0);
    grille_curseurs->addWidget(s, ligne, 1);
    ++ligne;
    curseurs_[c.rang] = s;
    legendes_curseurs_[c.rang] = l;
    connect(s, &QSlider::valueChanged, this, &FenetreGraphiques::sur_curseur_3d);
  }
  vb->addLayout(grille_curseurs);
  vb->addStretch(1);

  // Every setting redraws the charts.
  for (QCheckBox* c : {axes_, valeurs_xy_})
    connect(c, &QCheckBox::toggled, this, &FenetreGraphiques::afficher_graphiques);
  connect(trois_d_, &QCheckBox::toggled, this, [this] {
    afficher_graphiques();
    afficher_curseurs_3d();
  });
  connect(abscisses_, &QButtonGroup::idClicked, this, &FenetreGraphiques::afficher_graphiques);
  connect(taille_points_, &QSpinBox::valueChanged, this, &FenetreGraphiques::afficher_graphiques);
  connect(visualiser, &QPushButton::clicked, this, &FenetreGraphiques::afficher_graphiques);
  connect(tout, &QPushButton::clicked, this, [this] {
    if (fenetre_.occupe()) return;
    Session& s = fenetre_.session();
    if (!question_oui(s, kQuestionCocherTout)) return;
    copie_valeurs_.clear();
    copie_derivees_.clear();
    s.description.suite_coche_liste_graph.clear();
    s.description.suite_coche_liste_graph_deriv.clear();
    activer();
  });
  connect(copier_, &QPushButton::clicked, this, &FenetreGraphiques::copier);
  connect(enregistrer_, &QPushButton::clicked, this, &FenetreGraphiques::enregistrer);
  afficher_curseurs_3d();
  return panneau;
}

// ---------------------------------------------------------------- opening and activation

void FenetreGraphiques::basculer() {
  if (isVisible()) {
    hide();
    return;
  }
  ouvrir();
}

void FenetreGraphiques::ouvrir() {
  if (fenetre_.occupe()) return;
  Session& s = fenetre_.session();
  if (!isVisible()) {
    copie_valeurs_ = s.description.suite_coche_liste_graph;
    copie_derivees_ = s.description.suite_coche_liste_graph_deriv;
    if (s.grille.n() > 10000) {
      const QSignalBlocker b(taille_points_);
      taille_points_->setValue(1);
    }
    if (!geometrie_lue_) restaurer_geometrie();
  }
  show();
  raise();
  activateWindow();
  activer();
  // The activation that follows the opening is this one.
  quittee_pour_ = nullptr;
}

void FenetreGraphiques::activer() {
  if (en_activation_ || fenetre_.occupe()) return;
  en_activation_ = true;
  Session& s = fenetre_.session();
  Description& d = s.description;

  // 1. The colours, and the choices as they were at opening.
  const QColor fond = couleur_qt(s.couleurs[2]);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, fond);
  setPalette(pal);
  QPalette pal_listes = emplacements_[0].valeurs->palette();
  pal_listes.setColor(QPalette::Base, fond);
  for (Emplacement& e : emplacements_)
    for (QListWidget* l : {e.valeurs, e.derivees}) l->setPalette(pal_listes);
  taille_points_->setPalette(pal_listes);
  d.suite_coche_liste_graph = copie_valeurs_;
  d.suite_coche_liste_graph_deriv = copie_derivees_;

  // 2. The layout and the lists.
  remplir_listes();
  disposer_graphiques();

  // 3. The saved choices, or the default dispatch.
  const int nb = emplacements_[0].valeurs->count();
  bool lu = true;
  if (nb > 0) {
    remplissage_ = true;
    if (d.suite_coche_liste_graph.empty()) {
      const CochesGraphiques c = cocher_par_defaut(nb);
      for (std::size_t k = 0; k < c.size(); ++k) appliquer_coches(emplacements_[k].valeurs, c[k]);
      d.suite_coche_liste_graph = ecrire_choix_graphiques(c);
      s.description_modifiee = true;
    } else {
      for (int k = 0; k < kNbGraphiques && lu; ++k) {
        for (const bool derivee : {false, true}) {
          const std::string& texte =
              derivee ? d.suite_coche_liste_graph_deriv : d.suite_coche_liste_graph;
          QListWidget* l = derivee ? emplacements_[static_cast<std::size_t>(k)].derivees
                                   : emplacements_[static_cast<std::size_t>(k)].valeurs;
          std::vector<bool> c(static_cast<std::size_t>(nb));
          const bool ok = lire_choix_graphiques(texte, k, c);
          appliquer_coches(l, c);
          if (!ok) {
            remplissage_ = false;
            message_entier(s, entree_illisible(texte, k));
            lu = false;
            break;
          }
        }
      }
    }
    remplissage_ = false;
    fenetre_.rafraichir_indicateur();
  }

  if (lu) {
    // 4. The labels.
    debut_->setText(qs(s.periode.debut));
    fin_->setText(qs(s.periode.fin));
    nb_pas_->setText(qs(s.periode.resume_lignes));
    pas_->setText(qs(texte_pas_graphiques(s.periode)));
    for (QLabel* l : {debut_, fin_, nb_pas_, pas_}) l->adjustSize();
    afficher_titre();
    disposer_graphiques();

    // 5. The charts.
    afficher_graphiques();
  }
  en_activation_ = false;

  // 6. A run that used no source line.
  if (lu && s.etat_traitement.lignes_extraites == 0)
    s.port().informer(TypeMessage::information, kAucuneDonnee);
}

void FenetreGraphiques::remplir_listes() {
  const GrilleResultats& g = fenetre_.session().grille;
  const std::vector<std::string> items =
      g.vide() ? std::vector<std::string>{} : items_graphiques(g);
  remplissage_ = true;
  int plus_long = 0;
  for (Emplacement& e : emplacements_) {
    e.valeurs->clear();
    e.derivees->clear();
    for (const std::string& t : items) {
      auto* v = new QListWidgetItem(qs(t), e.valeurs);
      v->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      v->setCheckState(Qt::Unchecked);
      plus_long = std::max(plus_long, e.valeurs->fontMetrics().horizontalAdvance(v->text()));
      auto* dv = new QListWidgetItem(QString(), e.derivees);
      dv->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      dv->setCheckState(Qt::Unchecked);
    }
  }
  remplissage_ = false;
  setProperty("largeur_listes", std::clamp(plus_long + 40, 110, 230));
}

void FenetreGraphiques::afficher_titre() {
  const auto& e = fenetre_.session().etiquettes;
  const auto it = e.find("graphiques.Label1");
  const QString t =
      it == e.end() || it->second.empty() ? QStringLiteral("Graphiques") : qs(it->second);
  if (titre_->text() != t) titre_->setText(t);
}

void FenetreGraphiques::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::ActivationChange) return;
  if (isActiveWindow()) {
    // Coming back from the main window activates the window again; coming
    // back from a dialog of its own or from another program does not.
    const QWidget* venue = quittee_pour_;
    quittee_pour_ = nullptr;
    if (venue && parentWidget() && venue == parentWidget()->window())
      QTimer::singleShot(0, this, &FenetreGraphiques::activer);
  } else {
    quittee_pour_ = QApplication::activeWindow();
  }
}

// ---------------------------------------------------------------- drawing

Abscisse FenetreGraphiques::abscisse() const {
  return static_cast<Abscisse>(std::clamp(abscisses_->checkedId(), 0, 4));
}

void FenetreGraphiques::afficher_graphiques() {
  if (fenetre_.occupe()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  cacher_lecture();
  // The series of every chart shown, the grid read once for all.
  const Session& s = fenetre_.session();
  std::vector<int> graphiques;
  std::vector<ListesGraphique> listes;
  for (int k = 0; k < kNbGraphiques; ++k) {
    if (unique_ >= 0 && unique_ != k) continue;
    graphiques.push_back(k);
    const Emplacement& e = emplacements_[static_cast<std::size_t>(k)];
    listes.push_back({coches(e.valeurs), coches(e.derivees)});
  }
  std::vector<GraphiqueTrace> traces;
  if (!s.grille.vide() && emplacements_[0].valeurs->count() > 0)
    traces = tracer_graphiques(s.grille, listes, abscisse(), valeur_pas(s.periode),
                               trois_d_->isChecked());
  traces.resize(graphiques.size());
  for (std::size_t i = 0; i < graphiques.size(); ++i) tracer(graphiques[i], std::move(traces[i]));
  ecrire_choix();
  QApplication::restoreOverrideCursor();
}

void FenetreGraphiques::ecrire_choix() {
  // Without a grid there is nothing to choose from: the saved choices stay.
  if (emplacements_[0].valeurs->count() == 0) return;
  CochesGraphiques v, d;
  for (std::size_t k = 0; k < emplacements_.size(); ++k) {
    v[k] = coches(emplacements_[k].valeurs);
    d[k] = coches(emplacements_[k].derivees);
  }
  Description& desc = fenetre_.session().description;
  desc.suite_coche_liste_graph = ecrire_choix_graphiques(v);
  desc.suite_coche_liste_graph_deriv = ecrire_choix_graphiques(d);
}

void FenetreGraphiques::tracer(int k, GraphiqueTrace t) {
  Session& s = fenetre_.session();
  Emplacement& e = emplacements_[static_cast<std::size_t>(k)];
  GrapheTamso& g = *e.graphe;
  const bool trois_d = trois_d_->isChecked();
  const Abscisse a = abscisse();
  g.effacer_courbes();

  // The time axis.
  if (a == Abscisse::numero)
    g.fixer_axe_numerique();
  else
    g.fixer_axe_temps(QString::fromLatin1(format_temps(a).format), format_temps(a).pas_minimal);

  // The series: the chart reads their points where they are.
  const int taille = taille_points_->value();
  double xmin = std::numeric_limits<double>::infinity();
  double xmax = -xmin;
  std::size_t points = 0;
  for (const SerieGraphique& serie : t.series) points += serie.y.size();
  const bool lisse = points <= 50000;
  const double echelle = a == Abscisse::numero ? 1.0 : 86400.0;
  const double decalage = cle_depuis_abscisse(0.0, a);
  for (SerieGraphique& serie : t.series) {
    CourbeTamso* courbe = g.ajouter_courbe();
    courbe->setName(qs(serie.titre));
    const QColor c(serie.couleur.r, serie.couleur.g, serie.couleur.b);
    courbe->setPen(QPen(c, 1));
    if (!trois_d) {
      courbe->fixer_marqueurs(
          taille == 1 ? QCPScatterStyle(QCPScatterStyle::ssDot, c, 1)
                      : QCPScatterStyle(QCPScatterStyle::ssCircle, c, Qt::white, 2 * taille + 1));
    }
    courbe->setAntialiased(lisse);
    courbe->setAntialiasedScatters(lisse);
    courbe->fixer_points(serie.x, std::move(serie.y), std::move(serie.blocs), echelle, decalage);
    if (courbe->taille() > 0) {
      xmin = std::min(xmin, courbe->cle(0));
      xmax = std::max(xmax, courbe->cle(courbe->taille() - 1));
    }
  }

  // The ranges: the whole time span; the values in the middle third, or the
  // range the chart had when they span no interval.
  const bool vide = t.series.empty();
  QCPRange rx = g.xAxis->range();
  if (xmin < xmax) {
    rx = QCPRange(xmin, xmax);
  } else if (xmin == xmax) {
    const double demi = a == Abscisse::numero ? 0.5 : valeur_pas(s.periode) * 43200.0 + 0.5;
    rx = QCPRange(xmin - demi, xmin + demi);
  }
  QCPRange ry = t.plage ? QCPRange(t.bas, t.haut) : g.yAxis->range();
  // A series of one value outside the range the chart keeps (left by other
  // data) would not show: the range is centred on it.
  if (t.valeur_unique && !ry.contains(t.bas)) {
    const double demi = std::max(1.0, std::abs(t.bas));
    ry = QCPRange(t.bas - demi, t.bas + demi);
  }
  g.xAxis->setRange(rx);
  g.yAxis->setRange(ry);
  g.fixer_plages_completes(rx, ry);

  const bool axes = !vide && axes_->isChecked();
  for (QCPAxis* ax : {g.xAxis, g.yAxis}) {
    ax->setVisible(axes);
    ax->grid()->setVisible(axes);
  }
  g.legend->setVisible(!vide);
  g.fixer_etiquettes_valeurs(valeurs_xy_->isChecked() && !trois_d,
                             QLatin1Char(s.separateur_decimal()));

  // The 3D view: oblique and shallow over the five charts, turned and
  // deeper when the chart is shown alone.
  Parametres3D& p = e.vue->parametres;
  if (unique_ == k) {
    p.orthogonal = false;
    p.profondeur = 30;
    p.zoom = 80;
    p.rotation = curseurs_[1]->value();
    p.elevation = curseurs_[3]->value();
    const QSignalBlocker b0(curseurs_[0]), b2(curseurs_[2]);
    curseurs_[0]->setValue(p.profondeur);
    curseurs_[2]->setValue(p.zoom);
  } else {
    p.orthogonal = true;
    p.profondeur = 10;
  }
  e.vue->axes = axes;
  const bool montre = unique_ < 0 || unique_ == k;
  e.graphe->setVisible(montre && !trois_d);
  e.vue->setVisible(montre && trois_d);
  g.replot();
  if (trois_d) e.vue->update();
}

// ---------------------------------------------------------------- layout

void FenetreGraphiques::disposer_graphiques() {
  const int largeur_fenetre = width(), hauteur = height();
  const int visibles = unique_ < 0 ? kNbGraphiques : 1;
  const int h = std::max(40, (hauteur - 40 - (visibles + 1) * 5) / visibles);
  const int x_reglages = largeur_fenetre - kLargeurReglages - 5;
  reglages_->setGeometry(x_reglages, 5, kLargeurReglages, hauteur - 10);
  const int x_derivees = x_reglages - 10 - kLargeurDerivees;
  const int largeur_valeurs =
      property("largeur_listes").isValid() ? property("largeur_listes").toInt() : 150;
  const int x_valeurs = x_derivees - 2 - largeur_valeurs;
  const int largeur = std::max(100, x_valeurs - 30 - 5);
  const bool trois_d = trois_d_->isChecked();
  int rang = 0;
  for (int k = 0; k < kNbGraphiques; ++k) {
    Emplacement& e = emplacements_[static_cast<std::size_t>(k)];
    const bool montre = unique_ < 0 || unique_ == k;
    e.graphe->setVisible(montre && !trois_d);
    e.vue->setVisible(montre && trois_d);
    for (QWidget* w : std::initializer_list<QWidget*>{e.unique, e.valeurs, e.derivees})
      w->setVisible(montre);
    if (!montre) continue;
    const int y = 5 + rang * (h + 5);
    e.haut = y;
    e.graphe->setGeometry(5, y, largeur, h);
    e.vue->setGeometry(5, y, largeur, h);
    e.unique->adjustSize();
    e.unique->move(x_valeurs - e.unique->width() - 6, y + 2);
    e.valeurs->setGeometry(x_valeurs, y, largeur_valeurs, h);
    e.derivees->setGeometry(x_derivees, y, kLargeurDerivees, h);
    ++rang;
  }
  // The period under the charts: its start on the left, its end on the
  // right, the number of timestamps and the step in the middle (or after the
  // start, when the charts are narrow).
  const int y_bas = hauteur - 40 + 12;
  debut_->move(5, y_bas);
  const int milieu = 5 + largeur / 2;
  const int x_nb = std::max(debut_->x() + debut_->width() + 30, milieu - nb_pas_->width() - 20);
  nb_pas_->move(x_nb, y_bas);
  pas_->move(x_nb + nb_pas_->width() + 30, y_bas);
  fin_->move(std::max(5 + largeur - fin_->width(), pas_->x() + pas_->width() + 30), y_bas);
  aide_->move(5 + std::max(0, (largeur - aide_->width()) / 2),
              std::max(5, (hauteur - 40 - aide_->height()) / 2));
  if (aide_->isVisible()) aide_->raise();
}

void FenetreGraphiques::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  disposer_graphiques();
}

// ---------------------------------------------------------------- lists

void FenetreGraphiques::sur_liste_cliquee() {
  if (remplissage_) return;
  Session& s = fenetre_.session();
  s.description_modifiee = true;
  ecrire_choix();
  fenetre_.rafraichir_indicateur();
}

// ---------------------------------------------------------------- the mouse

void FenetreGraphiques::sur_clic(int k, QPoint pos) {
  GrapheTamso& g = *graphe(k);
  const std::optional<PointGraphe> pt = g.point_proche(pos);
  if (!pt) return;
  const Abscisse a = abscisse();
  const std::vector<std::string> lignes = lignes_lecture_point(
      ss(g.courbe(pt->serie)->name()), abscisse_depuis_cle(pt->cle, a), pt->valeur, a);
  QStringList l;
  for (const std::string& t : lignes) l << qs(t);
  lecture_->setText(l.join(QLatin1Char('\n')));
  lecture_->adjustSize();
  clic_lecture_ = g.mapTo(this, pos);
  const int x = std::clamp(clic_lecture_.x(), 0, std::max(0, width() - lecture_->width()));
  const int y = std::clamp(clic_lecture_.y() + 30, 0, std::max(0, height() - lecture_->height()));
  lecture_->move(x, y);
  lecture_->show();
  lecture_->raise();
}

void FenetreGraphiques::sur_deplacement(int k, QPoint pos) {
  if (!lecture_->isVisible()) return;
  const QPoint p = graphe(k)->mapTo(this, pos);
  if (std::abs(p.x() - clic_lecture_.x()) > 20 || std::abs(p.y() - clic_lecture_.y()) > 20)
    cacher_lecture();
}

void FenetreGraphiques::cacher_lecture() {
  lecture_->hide();
}

void FenetreGraphiques::zoom_molette(QPoint pos, int crans) {
  // The lowest chart whose top edge lies above the mouse.
  Emplacement* cible = nullptr;
  for (int k = 0; k < kNbGraphiques; ++k) {
    Emplacement& e = emplacements_[static_cast<std::size_t>(k)];
    if (!(unique_ < 0 || unique_ == k)) continue;
    if (e.haut <= pos.y() && (!cible || e.haut > cible->haut)) cible = &e;
  }
  if (!cible || crans == 0) return;
  cible->graphe->zoom_vertical(crans);
  if (cible->vue->isVisible()) cible->vue->update();
}

void FenetreGraphiques::wheelEvent(QWheelEvent* e) {
  const int crans = e->angleDelta().y() / 120;
  zoom_molette(e->position().toPoint(), crans);
  e->accept();
}

bool FenetreGraphiques::eventFilter(QObject* o, QEvent* e) {
  if (o == aide_ && e->type() == QEvent::MouseButtonPress) {
    aide_->hide();
    return true;
  }
  if (e->type() == QEvent::Wheel) {
    // The wheel over a list zooms its chart too.
    auto* w = qobject_cast<QWidget*>(o);
    auto* m = static_cast<QWheelEvent*>(e);
    if (w) {
      zoom_molette(w->mapTo(this, m->position().toPoint()), m->angleDelta().y() / 120);
      return true;
    }
  }
  return QWidget::eventFilter(o, e);
}

// ---------------------------------------------------------------- single chart, 3D, copy

void FenetreGraphiques::sur_unique(int k, bool coche) {
  if (coche) {
    unique_ = k;
    trois_d_sauve_ = trois_d_->isChecked();
    {
      const QSignalBlocker b(trois_d_);
      trois_d_->setChecked(false);
    }
    copier_->setEnabled(true);
    enregistrer_->setEnabled(true);
  } else {
    if (unique_ != k) return;
    unique_ = -1;
    copier_->setEnabled(false);
    enregistrer_->setEnabled(false);
    for (Emplacement& e : emplacements_) {
      e.vue->parametres.zoom = 100;
      e.vue->parametres.orthogonal = true;
      e.vue->parametres.profondeur = 30;
    }
    const QSignalBlocker b(trois_d_);
    trois_d_->setChecked(trois_d_sauve_);
  }
  disposer_graphiques();
  afficher_graphiques();
  afficher_curseurs_3d();
}

void FenetreGraphiques::afficher_curseurs_3d() {
  const bool actif = unique_ >= 0 && trois_d_->isChecked();
  const QColor couleur = actif ? palette().color(QPalette::WindowText) : QColor(Qt::gray);
  for (std::size_t i = 0; i < curseurs_.size(); ++i) {
    curseurs_[i]->setVisible(actif);
    QPalette p = legendes_curseurs_[i]->palette();
    p.setColor(QPalette::WindowText, couleur);
    legendes_curseurs_[i]->setPalette(p);
  }
}

void FenetreGraphiques::sur_curseur_3d() {
  if (unique_ < 0) return;
  Vue3D* v = vue_3d(unique_);
  v->parametres.profondeur = curseurs_[0]->value();
  v->parametres.rotation = curseurs_[1]->value();
  v->parametres.zoom = curseurs_[2]->value();
  v->parametres.elevation = curseurs_[3]->value();
  v->update();
}

QWidget* FenetreGraphiques::vue_unique() const {
  if (unique_ < 0) return nullptr;
  const Emplacement& e = emplacements_[static_cast<std::size_t>(unique_)];
  return trois_d_->isChecked() ? static_cast<QWidget*>(e.vue) : e.graphe;
}

namespace {

// The chart shown alone as a picture on a white background.
QImage image_graphe(QWidget* w, Vue3D* vue, GrapheTamso* graphe) {
  if (w == vue) {
    QImage image(vue->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    vue->dessiner(p, QRectF(image.rect()));
    return image;
  }
  return graphe->toPixmap(graphe->width(), graphe->height()).toImage();
}

}  // namespace

void FenetreGraphiques::copier() {
  QWidget* w = vue_unique();
  if (!w) return;
  copier_->setText(QStringLiteral("OK"));
  copier_->repaint();
  fenetre_.port().copier_image(image_graphe(w, vue_3d(unique_), graphe(unique_)));
  QTimer::singleShot(300, copier_, [this] { copier_->setText(QStringLiteral("copier")); });
}

void FenetreGraphiques::enregistrer() {
  QWidget* w = vue_unique();
  if (!w) return;
  Session& s = fenetre_.session();
  DialogueFichier d;
  d.titre = "Enregistrer le graphique";
  d.dossier = s.description.dossier_choisi_sortie;
#ifdef TAMSO_SVG
  d.filtre = "Image PNG (*.png)|*.png|Document PDF (*.pdf)|*.pdf|Dessin SVG (*.svg)|*.svg";
#else
  d.filtre = "Image PNG (*.png)|*.png|Document PDF (*.pdf)|*.pdf";
#endif
  d.propose = "graphique" + std::to_string(unique_ + 1) + ".png";
  d.demander_ecrasement = true;
  const std::optional<std::string> choisi = s.port().choisir_fichier_a_enregistrer(d);
  if (!choisi) return;
  QString chemin = qs(*choisi);
  QString extension = QFileInfo(chemin).suffix().toLower();
  if (extension.isEmpty()) {
    chemin += QStringLiteral(".png");
    extension = QStringLiteral("png");
  }
  Vue3D* vue = vue_3d(unique_);
  GrapheTamso* graphe_seul = graphe(unique_);
  const int l = w->width(), h = w->height();
  // The 3D view drawn on a document's page.
  const auto dessiner_vue = [vue, l, h](QPaintDevice& page) {
    QPainter p;
    if (!p.begin(&page)) return false;
    vue->dessiner(p, QRectF(0, 0, l, h));
    return p.end();
  };
  bool ok = false;
  if (extension == QLatin1String("pdf")) {
    if (w == vue) {
      QPdfWriter pdf(chemin);
      pdf.setPageSize(QPageSize(QSizeF(l, h), QPageSize::Point));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setResolution(72);
      ok = dessiner_vue(pdf);
    } else {
      ok = graphe_seul->savePdf(chemin, l, h);
    }
#ifdef TAMSO_SVG
  } else if (extension == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(chemin);
    svg.setSize(QSize(l, h));
    svg.setViewBox(QRect(0, 0, l, h));
    svg.setTitle(QStringLiteral("Tamso"));
    if (w == vue) {
      ok = dessiner_vue(svg);
    } else {
      QCPPainter p;
      ok = p.begin(&svg);
      if (ok) {
        graphe_seul->toPainter(&p, l, h);
        ok = p.end();
      }
    }
    ok = ok && QFileInfo(chemin).size() > 0;
#endif
  } else {
    const QByteArray format = extension == QLatin1String("jpg") ||
                                      extension == QLatin1String("jpeg") ||
                                      extension == QLatin1String("bmp")
                                  ? extension.toLatin1()
                                  : QByteArray("PNG");
    ok = image_graphe(w, vue, graphe_seul).save(chemin, format.constData());
  }
  if (!ok) s.port().informer(TypeMessage::erreur, "Impossible de créer le fichier " + ss(chemin));
}

// ---------------------------------------------------------------- where the window was left

void FenetreGraphiques::restaurer_geometrie() {
  geometrie_lue_ = true;
  const std::optional<GeometrieFenetre> g = lire_geometrie_graphiques(fenetre_.session());
  if (g) {
    const QRect r(g->x, g->y, g->largeur, g->hauteur);
    if (QGuiApplication::screenAt(r.center())) {
      setGeometry(r);
      if (g->agrandie) setWindowState(windowState() | Qt::WindowMaximized);
      return;
    }
  }
  // Centred on the main window's screen, most of its size.
  const QScreen* ecran =
      parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!ecran) return;
  const QRect dispo = ecran->availableGeometry();
  const QSize taille(std::max(minimumWidth(), dispo.width() * 9 / 10),
                     std::max(minimumHeight(), dispo.height() * 9 / 10));
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, taille, dispo));
}

void FenetreGraphiques::sauver_geometrie() {
  const bool agrandie = isMaximized();
  const QRect r = agrandie ? normalGeometry() : geometry();
  if (r.width() < 100 || r.height() < 100) return;
  ecrire_geometrie_graphiques(fenetre_.session(),
                              GeometrieFenetre{r.x(), r.y(), r.width(), r.height(), agrandie});
}

void FenetreGraphiques::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (!e->spontaneous()) sauver_geometrie();
  cacher_lecture();
}

}  // namespace tamso
