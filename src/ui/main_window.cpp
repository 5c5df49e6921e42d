// The main window's composition: its regions and panels, the stages that
// span them, the start-up, leaving the program and the window's events.
#include "ui/main_window.h"

#include <algorithm>
#include <initializer_list>
#include <new>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "app/run.h"
#include "app/save.h"
#include "app/setting_edits.h"
#include "app/startup.h"
#include "results/results_writer.h"
#include "ui/colour_panel.h"
#include "ui/context_help.h"
#include "ui/directory_panel.h"
#include "ui/file_table_view.h"
#include "ui/graph_window.h"
#include "ui/help_frames.h"
#include "ui/marking_panel.h"
#include "ui/region_description.h"
#include "ui/region_format.h"
#include "ui/region_listing.h"
#include "ui/region_output.h"
#include "ui/region_period.h"
#include "ui/setting_controls.h"
#include "ui/shutdown_panel.h"
#include "ui/summary_panel.h"
#include "ui/tracking_panel.h"
#include "ui/widgets.h"
#include "ui/window_style.h"

namespace tamso {

FenetrePrincipale::FenetrePrincipale(std::unique_ptr<InteractionQt> port, OptionsSession options,
                                     std::string argument, QWidget* parent)
    : QMainWindow(parent),
      port_(std::move(port)),
      session_(*port_, options),
      argument_(std::move(argument)) {
  port_->attacher(this);
  setObjectName(QStringLiteral("Form1"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  construire();
  rafraichir();
  qApp->installEventFilter(this);
  QApplication::restoreOverrideCursor();
}

FenetrePrincipale::~FenetrePrincipale() {
  qApp->removeEventFilter(this);
  delete cadres_aide_;
  cadres_aide_ = nullptr;
  // The controls read the session until they are gone: they go first.
  delete graphiques_;
  graphiques_ = nullptr;
  delete racine_;
  racine_ = nullptr;
  port_->attacher(nullptr);
}

// ---------------------------------------------------------------- building

void FenetrePrincipale::construire() {
  ContexteFenetre& fenetre = *this;
  controles_ = std::make_unique<ControlesReglages>(fenetre, this);
  racine_ = new QWidget(this);
  racine_->setObjectName(QStringLiteral("racine"));
  setCentralWidget(racine_);
  auto* disposition_racine = new QHBoxLayout(racine_);
  disposition_racine->setContentsMargins(0, 2, 4, 4);
  disposition_racine->setSpacing(2);

  // Regions 1 to 4 scroll when the screen is too small; region 5, the
  // stages' output and progress, stays in sight.
  defilement_ = new QScrollArea(racine_);
  defilement_->setObjectName(QStringLiteral("defilement"));
  defilement_->setWidgetResizable(true);
  defilement_->setFrameShape(QFrame::NoFrame);
  defilement_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  disposition_racine->addWidget(defilement_, 4);

  contenu_ = new QWidget;
  contenu_->setObjectName(QStringLiteral("contenu"));
  contenu_->setAutoFillBackground(true);
  defilement_->setWidget(contenu_);

  auto* gauche = new QVBoxLayout(contenu_);
  gauche->setContentsMargins(6, 2, 4, 4);
  gauche->setSpacing(2);
  description_ = new RegionDescription(*this, contenu_);
  gauche->addWidget(description_);
  auto* bas = new QHBoxLayout;
  bas->setSpacing(6);
  listage_ = new RegionListage(*this, contenu_);
  bas->addWidget(listage_, 1);
  format_ = new RegionFormat(*this, contenu_);
  bas->addWidget(format_);
  periode_ = new RegionPeriode(*this, contenu_);
  bas->addWidget(periode_);
  gauche->addLayout(bas, 1);
  // Regions 3 and 4 keep the width they have at start, whatever their labels
  // later say; region 2 and its file table take the rest.
  format_->setFixedWidth(format_->sizeHint().width());
  periode_->setFixedWidth(periode_->sizeHint().width());

  sortie_ = new RegionSortie(*this, contenu_);
  disposition_racine->addWidget(sortie_, 1);

  construire_panneaux();
  installer_raccourcis();

  setWindowTitle(qs(session_.legende_fenetre));
  setMinimumSize(900, 560);
}

void FenetrePrincipale::construire_panneaux() {
  // Made after the regions, so that they lie over them.
  suivi_ = new PanneauSuivi(*this, contenu_);
  suivi_->fixer_repere(listage_->zone_table(),
                       [this](int hauteur) { listage_->reserver_sous_table(hauteur); });
  choix_rep_ = new PanneauRepertoires(contenu_);
  choix_rep_->hide();
  couleurs_ = new PanneauCouleurs(*this, racine_);
  resume_ = new PanneauResume(*this, racine_);
  marquage_ = new PanneauMarquage(*this, contenu_);
  extinction_ = new PanneauExtinction(racine_);
  aide_ =
      std::make_unique<AideContextuelle>(session_, this, racine_, contenu_, sortie_->boite_aide(),
                                         [this] { editer_resultats_depuis_aide(); });
  cadres_aide_ = new CadresAide(
      {description_, listage_, format_, periode_, sortie_},
      periode_->findChild<QWidget*>(QStringLiteral("DatePicker_fin")),
      periode_->findChild<QWidget*>(QStringLiteral("RadioGroup_actuel_ou_passee")), this);

  graphiques_ = new FenetreGraphiques(*this, this);
  description_->attacher(choix_rep_, resume_);
  listage_->attacher(marquage_);
  sortie_->attacher(couleurs_);
}

// ---------------------------------------------------------------- bringing the controls in line

void FenetrePrincipale::rafraichir() {
  afficher_description();
  afficher_periode();
  afficher_etiquettes();
  suivi_->afficher_journal();
  afficher_visibilites();
  afficher_table();
  afficher_liste_horodatee();
  appliquer_couleurs();
  rafraichir_indicateur();
  setWindowTitle(qs(session_.legende_fenetre));
}

void FenetrePrincipale::afficher_description() {
  controles_->actualiser();
  description_->afficher();
  listage_->afficher();
  periode_->afficher_periode_description();
}

void FenetrePrincipale::afficher_periode() {
  periode_->afficher_periode();
}

void FenetrePrincipale::afficher_etiquettes() {
  // The labels whose texts the core keeps by control name.
  for (const auto& [nom, texte_label] : session_.etiquettes) {
    if (nom.find('.') != std::string::npos) continue;
    auto* l = racine_->findChild<QLabel*>(qs(nom));
    if (l && l->text() != qs(texte_label)) l->setText(qs(texte_label));
  }
  description_->afficher_attente();
  listage_->afficher_couleur_dates();
  sortie_->afficher_apercu();
  if (graphiques_) graphiques_->afficher_titre();
}

void FenetrePrincipale::afficher_visibilites() {
  description_->afficher_visibilites();
}

void FenetrePrincipale::afficher_table() {
  listage_->afficher_table();
}

void FenetrePrincipale::afficher_resultats() {
  sortie_->afficher_resultats();
}

void FenetrePrincipale::afficher_liste_horodatee() {
  sortie_->afficher_liste_horodatee();
}

void FenetrePrincipale::afficher_legende_lister() {
  listage_->afficher_legende();
}

void FenetrePrincipale::appliquer_couleurs() {
  const auto& c = session_.couleurs;
  QPalette pal = contenu_->palette();
  pal.setColor(QPalette::Window, couleur_qt(c[0]));
  contenu_->setPalette(pal);
  defilement_->viewport()->setPalette(pal);
  const QString css = feuille_de_style_fenetre(c);
  if (racine_->styleSheet() != css) racine_->setStyleSheet(css);
  const QString panneaux = feuille_de_style_panneaux(c);
  for (QWidget* p :
       std::initializer_list<QWidget*>{suivi_, choix_rep_, marquage_, couleurs_, resume_})
    if (p->styleSheet() != panneaux) p->setStyleSheet(panneaux);
  listage_->table()->viewport()->update();
}

void FenetrePrincipale::rafraichir_indicateur() {
  description_->rafraichir_indicateur();
}

void FenetrePrincipale::reappliquer_style() {
  const QString css = racine_->styleSheet();
  racine_->setStyleSheet(QString());
  racine_->setStyleSheet(css);
}

void FenetrePrincipale::montrer_region_description(bool visible) {
  description_->setVisible(visible);
}

// ---------------------------------------------------------------- port services

void FenetrePrincipale::afficher_progression(const std::string& texte, int phase) {
  sortie_->afficher_progression(texte, phase, occupe_);
  laisser_vivre();
}

bool FenetrePrincipale::laisser_vivre() {
  const auto maintenant = std::chrono::steady_clock::now();
  if (maintenant - dernier_pompage_ >= std::chrono::milliseconds(40)) {
    dernier_pompage_ = maintenant;
    afficher_etiquettes();
    suivi_->afficher_journal();
    listage_->suivre_table();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
  }
  return session_.arret;
}

void FenetrePrincipale::ouvrir_choix_repertoire(Repertoire quel) {
  description_->ouvrir_choix_repertoire(quel);
}

void FenetrePrincipale::afficher_bandeau(const std::string& texte) {
  if (texte.empty()) {
    if (bandeau_) bandeau_->hide();
    return;
  }
  if (!bandeau_) {
    bandeau_ = new QLabel(this);
    bandeau_->setObjectName(QStringLiteral("Panel_bandeau"));
    bandeau_->setAlignment(Qt::AlignCenter);
    bandeau_->setWordWrap(true);
    bandeau_->setAutoFillBackground(true);
    bandeau_->setStyleSheet(QStringLiteral(
        "QLabel { background-color: rgb(0,0,128); color: rgb(255,255,0); font-weight: bold; "
        "font-size: 16pt; padding: 12px; }"));
  }
  bandeau_->setText(qs(texte));
  bandeau_->setGeometry((width() - 750) / 2, 50, 750, 200);
  bandeau_->show();
  bandeau_->raise();
  bandeau_->repaint();
}

void FenetrePrincipale::montrer_etiquettes() {
  afficher_etiquettes();
  description_->repaint();
}

bool FenetrePrincipale::compte_a_rebours_extinction() {
  if (!extinction_->compte_a_rebours(minutes_extinction_, session_.separateur_decimal()))
    return false;
  port_->eteindre_ordinateur();
  return true;
}

// ---------------------------------------------------------------- stages

void FenetrePrincipale::etape(QPushButton* b, const std::function<void()>& travail,
                              const char* etat_fin) {
  if (occupe_) return;
  occupe_ = true;
  session_.arret = false;
  fixer_etat(b, "rouge");
  sortie_->debut_etape();
  QApplication::setOverrideCursor(Qt::BusyCursor);
  aide_->cacher_flottante();
  try {
    travail();
  } catch (const std::bad_alloc&) {
    // The grid and the list being built are let go: the window goes on.
    session_.grille.vider();
    session_.liste_horodatee.vider();
    QApplication::restoreOverrideCursor();
    port().informer(TypeMessage::erreur,
                    " mémoire insuffisante : l'étape a demandé plus de mémoire que l'ordinateur "
                    "n'en a\n\n   réduire la période, allonger le pas ou extraire moins de "
                    "colonnes, puis relancer ...");
    QApplication::setOverrideCursor(Qt::BusyCursor);
  }
  QApplication::restoreOverrideCursor();
  occupe_ = false;
  sortie_->fin_etape();
  fixer_etat(b, etat_fin);
  rafraichir();
}

void FenetrePrincipale::etape_listage(const std::function<void()>& travail) {
  etape(listage_->bouton_lister(), travail, "bleu");
}

void FenetrePrincipale::sur_entree() {
  if (!session_.description_modifiee) return;
  etape_listage([this] { valider_par_entree(session_); });
}

// ---------------------------------------------------------------- start-up and leaving

void FenetrePrincipale::demarrer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  sequence_demarrage(session_, argument_);
  QApplication::restoreOverrideCursor();
  description_->cacher_decimal_entree();
  demarrage_fait_ = true;
  rafraichir();
  suivi_->placer(false);
  suivi_->show();
  suivi_->raise();
  if (choix_rep_->isVisible()) choix_rep_->raise();
}

void FenetrePrincipale::basculer_cadres_aide(bool avec_titres) {
  cadres_aide_->basculer(avec_titres);
}

void FenetrePrincipale::editer_resultats_depuis_aide() {
  // The name of the last results file written; none before the first save.
  const std::string& nom = session_.etiquette("Label21");
  if (!nom.empty()) port_->ouvrir_dans_editeur(session_.description.dossier_choisi_sortie, nom);
}

void FenetrePrincipale::basculer_graphiques() {
  if (!occupe_) graphiques_->basculer();
}

void FenetrePrincipale::rafraichir_graphiques() {
  if (graphiques_ && graphiques_->isVisible()) graphiques_->activer();
}

void FenetrePrincipale::demander_quitter() {
  if (occupe_) return;
  choix_rep_->hide();
  couleurs_->hide();
  resume_->hide();
  description_->fermer_choix_repertoire();
  QCursor::setPos(screen() ? screen()->geometry().center() - QPoint(20, 0) : QCursor::pos());
  if (!quitter_programme(session_, [](Session& s) { enregistrer_resultats(s); })) {
    rafraichir();
    return;
  }
  quitter_autorise_ = true;
  close();
}

// ---------------------------------------------------------------- events

void FenetrePrincipale::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!demarrage_fait_ && !property("demarrage_lance").toBool()) {
    setProperty("demarrage_lance", true);
    QTimer::singleShot(0, this, &FenetrePrincipale::demarrer);
  }
}

void FenetrePrincipale::closeEvent(QCloseEvent* e) {
  if (quitter_autorise_) {
    e->accept();
    return;
  }
  e->ignore();
  QTimer::singleShot(0, this, &FenetrePrincipale::demander_quitter);
}

void FenetrePrincipale::keyPressEvent(QKeyEvent* e) {
  // Escape acts when it is released; its press is noted here, so that the
  // release of an Escape that closed a dialog does nothing more.
  if (e->key() == Qt::Key_Escape) {
    if (!e->isAutoRepeat()) echap_presse_ = true;
    e->accept();
    return;
  }
  QMainWindow::keyPressEvent(e);
}

void FenetrePrincipale::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && !e->isAutoRepeat() && echap_presse_) {
    echap_presse_ = false;
    // An open panel closes first; only then does Escape leave the program.
    if (!fermer_panneau_ouvert()) demander_quitter();
  }
  rafraichir_indicateur();
  QMainWindow::keyReleaseEvent(e);
}

bool FenetrePrincipale::fermer_panneau_ouvert() {
  for (QWidget* p : std::initializer_list<QWidget*>{marquage_, couleurs_, resume_}) {
    if (p && p->isVisible()) {
      p->hide();
      return true;
    }
  }
  if (choix_rep_ && choix_rep_->isVisible()) {
    description_->fermer_choix_repertoire();
    return true;
  }
  return false;
}

void FenetrePrincipale::installer_raccourcis() {
  // The buttons' own actions, so that a disabled button does nothing.
  struct Raccourci {
    QKeySequence touches;
    const char* bouton;
  };
  const Raccourci raccourcis[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_O), "SpeedButton_desc_bd"},
      {QKeySequence(Qt::CTRL | Qt::Key_S), "SpeedButton_Enregistrer_dsc"},
      {QKeySequence(Qt::Key_F5), "SpeedButton_lister"},
      {QKeySequence(Qt::Key_F9), "SpeedButton_traiter_fichier"},
  };
  for (const Raccourci& r : raccourcis) {
    auto* b = findChild<QPushButton*>(QString::fromLatin1(r.bouton));
    if (!b) continue;
    auto* raccourci = new QShortcut(r.touches, this);
    raccourci->setContext(Qt::WindowShortcut);
    connect(raccourci, &QShortcut::activated, b, [b] {
      if (b->isEnabled() && b->isVisible()) b->click();
    });
    b->setProperty("raccourci", r.touches.toString(QKeySequence::NativeText));
    fixer_bulle(b, b->toolTip());
  }
}

void FenetrePrincipale::ajuster_espacements() {
  // A window less than 760 pixels high (a 768-pixel screen with a panel)
  // lays the rows of regions 1 and 3, the tallest, 2 pixels closer: the
  // regions then fit without a scroll bar.
  const bool serre = height() < 760;
  if (serre == espacements_serres_) return;
  espacements_serres_ = serre;
  for (QWidget* region : {static_cast<QWidget*>(description_), static_cast<QWidget*>(format_)})
    for (QLayout* l : region->findChildren<QLayout*>()) {
      auto* grille = qobject_cast<QGridLayout*>(l);
      auto* colonne = qobject_cast<QVBoxLayout*>(l);
      if (!grille && !colonne) continue;
      if (!l->property("espacement").isValid())
        l->setProperty("espacement", grille ? grille->verticalSpacing() : colonne->spacing());
      const int normal = l->property("espacement").toInt();
      const int e = serre ? std::max(0, normal - 2) : normal;
      if (grille)
        grille->setVerticalSpacing(e);
      else
        colonne->setSpacing(e);
    }
}

void FenetrePrincipale::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  ajuster_espacements();
  if (suivi_ && suivi_->isVisible() && demarrage_fait_)
    QTimer::singleShot(0, this, [this] { suivi_->replacer(); });
}

bool FenetrePrincipale::eventFilter(QObject* o, QEvent* e) {
  auto* w = qobject_cast<QWidget*>(o);
  const bool chez_nous = w && w->window() == this;
  if (e->type() == QEvent::KeyRelease && chez_nous && cadres_aide_ && cadres_aide_->montres() &&
      !occupe_) {
    // Releasing any key hides the help frames and does nothing else.
    cadres_aide_->cacher();
    return true;
  }
  switch (e->type()) {
    case QEvent::KeyPress:
      if (extinction_->en_cours()) {
        // Any key cancels the shutdown countdown.
        extinction_->annuler();
        return true;
      }
      [[fallthrough]];
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      if (occupe_ && chez_nous) {
        // During a long stage only the stop button answers the user.
        for (QWidget* p = w; p; p = p->parentWidget())
          if (p == sortie_->bouton_stop()) return false;
        if (e->type() == QEvent::Wheel) return false;
        return true;
      }
      break;
    case QEvent::Enter:
      if (chez_nous && !occupe_ && demarrage_fait_) aide_->pour_controle(w);
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(o, e);
}

}  // namespace tamso
