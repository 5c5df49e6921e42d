#include "ui/region_output.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/external_programs.h"
#include "app/log_commands.h"
#include "app/run.h"
#include "app/save.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "app/window_changes.h"
#include "input/files.h"
#include "results/results_writer.h"
#include "ui/colour_panel.h"
#include "ui/context_help.h"
#include "ui/file_table_view.h"
#include "ui/qt_interaction.h"
#include "ui/results_view.h"
#include "ui/setting_controls.h"
#include "ui/tracking_panel.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

RegionSortie::RegionSortie(ContexteFenetre& fenetre, QWidget* parent)
    : QGroupBox(QStringLiteral("5- Zone de sortie et d'attente"), parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Cadre5"));
  setMinimumWidth(290);
  setMaximumWidth(640);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  auto* vb = new QVBoxLayout(this);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(4);
  construire_commandes(vb);
  construire_progression(vb);
  construire_resultats(vb);
  construire_vues(vb);
  construire_outils(vb);
}

// ---------------------------------------------------------------- building

void RegionSortie::construire_commandes(QVBoxLayout* vb) {
  bouton_traiter_ = bouton(QStringLiteral("SpeedButton_traiter_fichier"),
                           QStringLiteral("3-    traiter ...  =>"), this);
  QFont gros = bouton_traiter_->font();
  gros.setBold(true);
  gros.setPointSizeF(gros.pointSizeF() + 2);
  bouton_traiter_->setFont(gros);
  bouton_traiter_->setMinimumHeight(34);
  connect(bouton_traiter_, &QPushButton::clicked, this, &RegionSortie::sur_traiter);
  vb->addWidget(bouton_traiter_);

  auto* commandes = rangee();
  bouton_stop_ = bouton(QStringLiteral("SpeedButton_stop"), QStringLiteral("stop"), this);
  bouton_sauver_ =
      bouton(QStringLiteral("SpeedButton_enregistrer"), QStringLiteral("sauver ->"), this);
  bouton_sauver_->setToolTip(QStringLiteral("sauver les données extraites stoppées en cours "));
  auto* graphiques =
      bouton(QStringLiteral("SpeedButton_graphique"), QStringLiteral("graphiques..."), this);
  commandes->addWidget(bouton_stop_);
  commandes->addWidget(bouton_sauver_);
  commandes->addWidget(graphiques);
  vb->addLayout(commandes);
  fixer_etat(bouton_stop_, "gris");
  connect(bouton_stop_, &QPushButton::clicked, this, &RegionSortie::sur_stop);
  connect(bouton_sauver_, &QPushButton::clicked, this, &RegionSortie::sur_sauver);
  connect(graphiques, &QPushButton::clicked, this, [this] { fenetre_.basculer_graphiques(); });

  arret_pc_ = new QCheckBox(QStringLiteral("éteindre le PC à la fin du traitement "), this);
  arret_pc_->setObjectName(QStringLiteral("CheckBox_arret_PC"));
  connect(arret_pc_, &QCheckBox::toggled, this,
          [this](bool coche) { fenetre_.session().resultats.arret_pc = coche; });
  vb->addWidget(arret_pc_);
}

void RegionSortie::construire_progression(QVBoxLayout* vb) {
  label_patienter_ = etiquette("Label_patienter", QString(), this);
  label_patienter_->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
  vb->addWidget(label_patienter_);
  barre_ = new QProgressBar(this);
  barre_->setObjectName(QStringLiteral("ProgressBar1"));
  barre_->setRange(0, 100);
  barre_->setValue(0);
  barre_->setTextVisible(true);
  barre_->setMaximumHeight(16);
  vb->addWidget(barre_);
  label_durees_ = etiquette("Label6", QString(), this);
  vb->addWidget(label_durees_);
  auto* infos = new QGridLayout;
  infos->setHorizontalSpacing(8);
  infos->setVerticalSpacing(1);
  // One row each: the time left, the size of the files, the columns of the
  // data, its lines, the source lines the last run used and the columns of
  // its grid.
  int rang = 0;
  for (const char* nom : {"Label10", "Label8", "Label_nb_colonnes"}) {
    auto* l = etiquette(nom, QString(), this);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    infos->addWidget(l, rang++, 0, 1, 2);
  }
  auto* lignes = new QWidget(this);
  auto* hlg = rangee(lignes);
  hlg->addWidget(texte(QStringLiteral("lignes de données :"), lignes));
  hlg->addWidget(etiquette("Label26", QString(), lignes), 1);
  infos->addWidget(lignes, rang++, 0, 1, 2);
  infos->addWidget(etiquette("Label_nlig_impliquee", QString(), this), rang++, 0, 1, 2);
  infos->addWidget(etiquette("Label5", QString(), this), rang++, 0, 1, 2);
  infos->setColumnStretch(0, 1);
  infos->setColumnStretch(1, 1);
  vb->addLayout(infos);
}

void RegionSortie::construire_resultats(QVBoxLayout* vb) {
  auto* fichier = rangee();
  fichier->addWidget(texte(QStringLiteral("résultats :"), this));
  auto* nom_resultats = etiquette("Label21", QString(), this);
  nom_resultats->setStyleSheet(QStringLiteral("color: rgb(0,0,160); font-weight: bold;"));
  fichier->addWidget(nom_resultats, 1);
  vb->addLayout(fichier);
  auto* editer =
      bouton(QStringLiteral("SpeedButton_editer_resultats"), QStringLiteral("éditer =>"), this);
  auto* suivi =
      bouton(QStringLiteral("SpeedButton_fichier_suivi"), QStringLiteral("fichier de suivi"), this);
  auto* sans_date =
      bouton(QStringLiteral("SpeedButton_sans_coldate"), QStringLiteral("sans col DateTime"), this);
  sans_date->setToolTip(QStringLiteral("  juste les colonnes de valeurs dans le presse-papier   "));
  auto* grille_vues = new QGridLayout;
  grille_vues->setSpacing(4);
  grille_vues->addWidget(editer, 0, 0);
  grille_vues->addWidget(suivi, 0, 1);
  grille_vues->addWidget(sans_date, 1, 0, 1, 2);
  vb->addLayout(grille_vues);
  connect(editer, &QPushButton::clicked, this, [this] {
    const std::string& chemin = fenetre_.session().resultats.chemin_resultats;
    if (!chemin.empty()) fenetre_.port().ouvrir_dans_editeur("", chemin);
  });
  connect(suivi, &QPushButton::clicked, this, [this] {
    const std::string& chemin = fenetre_.session().resultats.chemin_suivi;
    if (!chemin.empty()) fenetre_.port().ouvrir_dans_editeur("", chemin);
  });
  connect(sans_date, &QPushButton::clicked, this, [this] {
    copier_sans_date(fenetre_.session());
    afficher_resultats();
  });
}

void RegionSortie::construire_vues(QVBoxLayout* vb) {
  vues_ = new QTabWidget(this);
  vues_->setObjectName(QStringLiteral("PageControl_vues"));
  pile_resultats_ = new QStackedWidget(vues_);
  resultats_ = new VueLignesResultats(pile_resultats_);
  resultats_->setObjectName(QStringLiteral("RichEdit3"));
  resultats_sans_date_ = new VueLignesResultats(pile_resultats_);
  resultats_sans_date_->setObjectName(QStringLiteral("RichEdit4"));
  for (VueLignesResultats* v : {resultats_, resultats_sans_date_}) {
    v->setStyleSheet(QStringLiteral("background: white;"));
    connect(v, &VueLignesResultats::copie_demandee, this,
            [this](const QString& texte) { fenetre_.port().copier_dans_presse_papier(ss(texte)); });
    pile_resultats_->addWidget(v);
  }
  vues_->addTab(pile_resultats_, QStringLiteral("résultats"));
  liste_horodatee_ = new QListView(vues_);
  liste_horodatee_->setObjectName(QStringLiteral("ListBox_date_clean"));
  liste_horodatee_->setUniformItemSizes(true);
  liste_horodatee_->setModel(new ModeleListeHorodatee(fenetre_.session(), liste_horodatee_));
  vues_->addTab(liste_horodatee_, QStringLiteral("liste"));
  vues_->setTabToolTip(1, QStringLiteral("liste horodatée"));
  apercu_ = new QPlainTextEdit(vues_);
  apercu_->setObjectName(QStringLiteral("Memo6"));
  apercu_->setReadOnly(true);
  apercu_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vues_->addTab(apercu_, QStringLiteral("aperçu"));
  vues_->setTabToolTip(2, QStringLiteral("aperçu du fichier lu"));
  vb->addWidget(vues_, 1);
}

void RegionSortie::construire_outils(QVBoxLayout* vb) {
  aide_ = new QPlainTextEdit(this);
  aide_->setObjectName(QStringLiteral("Memo2"));
  aide_->setReadOnly(true);
  aide_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  aide_->setFixedHeight(aide_->fontMetrics().lineSpacing() * 6 + 12);
  aide_->setFocusPolicy(Qt::NoFocus);
  vb->addWidget(aide_);

  auto* outils = new QGridLayout;
  outils->setSpacing(4);
  auto* bouton_suivi =
      bouton(QStringLiteral("Panel_button_suivi"), QStringLiteral("fenêtre de suivi"), this);
  bouton_suivi->setToolTip(QStringLiteral("bascule  Visible / Cachée "));
  bouton_suivi->setProperty("teinte", QStringLiteral("c2"));
  auto* colonnes = bouton(QStringLiteral("Panel_button_liste_colonne"),
                          QStringLiteral("lister les colonnes"), this);
  colonnes->setToolTip(QStringLiteral("visualiser verticalement les différents items"));
  auto* bouton_couleurs =
      bouton(QStringLiteral("SpeedButton_couleurs"), QStringLiteral("couleurs"), this);
  auto* aide_pdf = bouton(QStringLiteral("SpeedButton_help"), QStringLiteral("help"), this);
  auto* case_aide_flottante = fenetre_.controles().case_a_cocher(
      "CheckBox_aide_flottante", QStringLiteral("aide flottante"), &Description::aide_flottante,
      this, [this](bool coche) {
        if (!coche) fenetre_.aide().cacher_flottante();
      });
  auto* cadres = bouton(QStringLiteral("SpeedButton_help2"), QStringLiteral("?+"), this);
  cadres->setToolTip(QStringLiteral("cadres des zones de la fenêtre, avec leurs noms"));
  auto* cadres_seuls = bouton(QStringLiteral("SpeedButton_help3"), QStringLiteral("?-"), this);
  cadres_seuls->setToolTip(QStringLiteral("cadres des zones de la fenêtre, sans leurs noms"));
  auto* test_son = bouton(QStringLiteral("SpeedButton_test_son"), QStringLiteral("test son"), this);
  auto* mise_a_jour =
      bouton(QStringLiteral("SpeedButton_mise_a_jour"), QStringLiteral("mise à jour"), this);
  mise_a_jour->setToolTip(qs(kAdressePageWeb));
  auto* sortie = bouton(QStringLiteral("SpeedButton_exit"), QStringLiteral("exit"), this);
  QFont gras = sortie->font();
  gras.setBold(true);
  sortie->setFont(gras);
  outils->addWidget(bouton_suivi, 0, 0, 1, 3);
  outils->addWidget(colonnes, 0, 3, 1, 3);
  outils->addWidget(case_aide_flottante, 1, 0, 1, 2);
  outils->addWidget(bouton_couleurs, 1, 2, 1, 2);
  outils->addWidget(aide_pdf, 1, 4, 1, 2);
  outils->addWidget(test_son, 2, 0, 1, 3);
  outils->addWidget(mise_a_jour, 2, 3, 1, 3);
  outils->addWidget(cadres, 3, 0);
  outils->addWidget(cadres_seuls, 3, 1);
  outils->addWidget(sortie, 3, 2, 1, 4);
  vb->addLayout(outils);

  connect(bouton_suivi, &QPushButton::clicked, this, [this] { fenetre_.suivi().basculer(); });
  connect(colonnes, &QPushButton::clicked, this, [this] {
    fenetre_.suivi().montrer();
    lister_colonnes(fenetre_.session());
    fenetre_.suivi().afficher_journal();
  });
  connect(bouton_couleurs, &QPushButton::clicked, this, [this] { couleurs_->basculer(this); });
  connect(aide_pdf, &QPushButton::clicked, this, &RegionSortie::sur_manuel);
  connect(cadres, &QPushButton::clicked, this, [this] { fenetre_.basculer_cadres_aide(true); });
  connect(cadres_seuls, &QPushButton::clicked, this,
          [this] { fenetre_.basculer_cadres_aide(false); });
  connect(sortie, &QPushButton::clicked, this, [this] { fenetre_.demander_quitter(); });
  connect(test_son, &QPushButton::clicked, this, [this] { jouer_signal(fenetre_.session()); });
  connect(mise_a_jour, &QPushButton::clicked, this,
          [this] { fenetre_.port().ouvrir_page_web(kAdressePageWeb); });
}

// ---------------------------------------------------------------- stage 3 and the results

void RegionSortie::sur_traiter() {
  if (fenetre_.occupe()) return;
  Session& s = fenetre_.session();
  fenetre_.suivi().choisir_taille(true);
  s.resultats.arret_pc = arret_pc_->isChecked();
  // The run rebuilds the lines the views read: they show nothing meanwhile.
  vider_resultats();
  bool ecrit = false;
  fenetre_.etape(
      bouton_traiter_, [&s, &ecrit] { ecrit = traiter(s); }, "violet");
  afficher_resultats();
  fenetre_.rafraichir_graphiques();
  if (arret_pc_->isChecked() && ecrit) fenetre_.compte_a_rebours_extinction();
}

void RegionSortie::sur_stop() {
  if (!fenetre_.occupe()) return;
  Session& s = fenetre_.session();
  demander_arret(s, true);
  if (s.arret) QApplication::changeOverrideCursor(Qt::WaitCursor);
}

void RegionSortie::sur_sauver() {
  if (fenetre_.occupe()) return;
  sauver_resultats(fenetre_.session());
  fenetre_.rafraichir();
  afficher_resultats();
}

void RegionSortie::sur_manuel() {
  InteractionQt& port = fenetre_.port();
  ouvrir_manuel(fenetre_.session(), [&port](const CommandeExterne& c) {
    return c.programme.empty() ? port.ouvrir_document(c.arguments.front())
                               : port.demarrer_programme(c);
  });
}

void RegionSortie::afficher_resultats() {
  const EtatResultats& r = fenetre_.session().resultats;
  // The file views show the lines as their file reads back; no file is read.
  switch (r.vue) {
    case EtatResultats::Vue::fichier:
      resultats_->montrer(&r.lignes, true);
      pile_resultats_->setCurrentWidget(resultats_);
      vues_->setCurrentWidget(pile_resultats_);
      break;
    case EtatResultats::Vue::valeurs:
      resultats_sans_date_->montrer(&r.lignes_valeurs, true);
      pile_resultats_->setCurrentWidget(resultats_sans_date_);
      vues_->setCurrentWidget(pile_resultats_);
      break;
    case EtatResultats::Vue::liste:
      if (r.lignes.empty()) {
        vider_resultats();
      } else {
        resultats_->montrer(&r.lignes, false);
        pile_resultats_->setCurrentWidget(resultats_);
      }
      break;
  }
}

void RegionSortie::vider_resultats() {
  resultats_->montrer(nullptr, false);
  resultats_sans_date_->montrer(nullptr, false);
}

void RegionSortie::afficher_liste_horodatee() {
  static_cast<ModeleListeHorodatee*>(liste_horodatee_->model())->recharger();
}

void RegionSortie::afficher_apercu() {
  Session& s = fenetre_.session();
  if (!s.apercu.empty() || !apercu_->document()->isEmpty()) {
    QStringList lignes;
    for (const auto& l : s.apercu) lignes << qs(l);
    const QString t = lignes.join(QLatin1Char('\n'));
    if (apercu_->toPlainText() != t) apercu_->setPlainText(t);
  }
  label_durees_->setText(qs(s.etiquette("Label6")));
}

// ---------------------------------------------------------------- a stage

void RegionSortie::debut_etape() {
  fixer_etat(bouton_stop_, "");
}

void RegionSortie::fin_etape() {
  fixer_etat(bouton_stop_, "gris");
  barre_->setRange(0, 100);
  barre_->setValue(0);
  label_patienter_->clear();
  label_patienter_->hide();
}

void RegionSortie::afficher_progression(const std::string& texte, int phase, bool occupe) {
  // The durations line (Label6) changes at most once a second: the stage
  // text is redrawn only then.
  const QString ligne = qs(fenetre_.session().etiquette("Label6"));
  if (ligne != label_durees_->text() || label_patienter_->text().isEmpty()) {
    label_durees_->setText(ligne);
    label_patienter_->setText(qs(texte));
    label_patienter_->setVisible(phase != 0);
    label_durees_->repaint();
    label_patienter_->repaint();
  }
  static const QRegularExpression pourcentage(QStringLiteral("(\\d+)%"));
  const QRegularExpressionMatch m = pourcentage.match(qs(texte));
  if (m.hasMatch()) {
    barre_->setRange(0, 100);
    barre_->setValue(std::min(100, m.captured(1).toInt()));
  } else if (phase >= 1 && phase <= 3 && occupe) {
    barre_->setRange(0, 0);
  } else {
    barre_->setRange(0, 100);
    barre_->setValue(0);
  }
}

}  // namespace tamso
