#include "ui/region_listing.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

#include "app/clipboard_commands.h"
#include "app/file_table_commands.h"
#include "app/listing.h"
#include "app/session.h"
#include "app/window_changes.h"
#include "input/text.h"
#include "ui/context_help.h"
#include "ui/file_table_view.h"
#include "ui/help_texts.h"
#include "ui/marking_panel.h"
#include "ui/setting_controls.h"
#include "ui/tracking_panel.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

RegionListage::RegionListage(ContexteFenetre& fenetre, QWidget* parent)
    : QGroupBox(QStringLiteral("2- Listage des fichiers impliqués"), parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Cadre2"));
  auto* vb = new QVBoxLayout(this);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(4);
  construire_haut(vb);
  construire_table(vb);
  construire_commandes(vb);
}

void RegionListage::construire_haut(QVBoxLayout* vb) {
  auto* haut = rangee();
  bouton_lister_ = bouton(QStringLiteral("SpeedButton_lister"), QString(), this);
  QFont gras = bouton_lister_->font();
  gras.setBold(true);
  bouton_lister_->setFont(gras);
  connect(bouton_lister_, &QPushButton::clicked, this, &RegionListage::sur_lister);
  haut->addWidget(bouton_lister_);
  auto* nb = etiquette("Label_nb_fic", QString(), this);
  nb->setFont(gras);
  haut->addWidget(nb);
  haut->addStretch(1);
  auto* grand = new QCheckBox(QStringLiteral("grand Tableau"), this);
  grand->setObjectName(QStringLiteral("CheckBox_grand_tableau"));
  grand->setToolTip(QStringLiteral("Agrandir ou minimiser la taille du tableau"));
  connect(grand, &QCheckBox::toggled, this, &RegionListage::sur_grand_tableau);
  haut->addWidget(grand);
  vb->addLayout(haut);

  ControlesReglages& controles = fenetre_.controles();
  auto* dates = new QGridLayout;
  dates->setHorizontalSpacing(6);
  dates->setVerticalSpacing(2);
  dates->addWidget(etiquette("Label27", QStringLiteral("dates min, max"), this), 0, 0);
  date_min_ = controles.date_cliquable("Label_date_min", this);
  dates->addWidget(date_min_, 0, 1);
  date_max_ = controles.date_cliquable("Label_date_max", this);
  dates->addWidget(date_max_, 0, 2);
  dates->addWidget(etiquette("Label38", QStringLiteral("fichier lu"), this), 1, 0);
  dates->addWidget(controles.date_cliquable("Label_date_heure_min", this), 1, 1);
  dates->addWidget(controles.date_cliquable("Label_date_heure_max", this), 1, 2);
  // Under its dates, the file last read: its simplified name, its size and
  // its number of lines.
  auto* lu = new QWidget(this);
  auto* hlu = rangee(lu);
  auto* nom_simplifie = etiquette("Label_nom_de_fichier", QString(), lu);
  nom_simplifie->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  hlu->addWidget(nom_simplifie, 1);
  hlu->addWidget(etiquette("Label1", QString(), lu));
  hlu->addWidget(etiquette("Label_nb_lignes", QString(), lu));
  dates->addWidget(lu, 2, 1, 1, 3);
  dates->setColumnStretch(3, 1);
  vb->addLayout(dates);
}

void RegionListage::construire_table(QVBoxLayout* vb) {
  Session& s = fenetre_.session();
  table_ = new VueTableFichiers(this);
  modele_ = new ModeleTableFichiers(s, table_);
  table_->setModel(modele_);
  table_->setItemDelegate(new DelegueTableFichiers(s.couleurs, table_));
  table_->setMinimumHeight(40);
  connect(table_, &VueTableFichiers::double_clic, this, &RegionListage::sur_double_clic_tableau);
  connect(table_, &VueTableFichiers::clic_droit, this, &RegionListage::sur_clic_droit_tableau);
  connect(table_, &VueTableFichiers::survol, this, &RegionListage::sur_survol_tableau);
  connect(table_, &VueTableFichiers::suppression_demandee, this, [this] {
    int premiere = 0, derniere = 0;
    if (!table_->selection(premiere, derniere)) return;
    effacer_selection(fenetre_.session(), premiere, derniere);
    fenetre_.rafraichir();
  });
  // The table and, under it, the room the small tracking panel takes while
  // it is shown, so that the panel never hides rows of the table.
  zone_table_ = new QWidget(this);
  zone_table_->setObjectName(QStringLiteral("zone_tableau"));
  auto* zone = new QVBoxLayout(zone_table_);
  zone->setContentsMargins(0, 0, 0, 0);
  zone->setSpacing(0);
  zone->addWidget(table_, 1);
  // The room gives way before the window needs a scroll bar.
  reserve_suivi_ = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Preferred);
  zone->addItem(reserve_suivi_);
  vb->addWidget(zone_table_, 1);
}

void RegionListage::reserver_sous_table(int hauteur) {
  // Enlarged, the table is in front of the panel.
  if (zone_table_->parentWidget() != this) hauteur = 0;
  reserve_suivi_->changeSize(0, std::max(0, hauteur), QSizePolicy::Minimum, QSizePolicy::Preferred);
  zone_table_->layout()->invalidate();
}

void RegionListage::construire_commandes(QVBoxLayout* vb) {
  auto* bas = new QGridLayout;
  bas->setHorizontalSpacing(6);
  bas->setVerticalSpacing(3);
  auto* sel = bouton(QStringLiteral("SpeedButton_effacer_selection"),
                     QStringLiteral("effacer la sélection"), this);
  auto* hautb = bouton(QStringLiteral("SpeedButton_effacer_vers_le_haut"),
                       QStringLiteral("effacer vers le HAUT"), this);
  auto* basb = bouton(QStringLiteral("SpeedButton_effacer_vers_le_bas"),
                      QStringLiteral("effacer vers le BAS"), this);
  auto* hors = bouton(QStringLiteral("SpeedButton_effacer_ligne_hors_intervalle"),
                      QStringLiteral("sup si hors Période"), this);
  hors->setToolTip(QStringLiteral("effacer de la liste les lignes hors période ciblée"));
  sans_confirmation_ = new QCheckBox(QStringLiteral("sans confirmation"), this);
  sans_confirmation_->setObjectName(QStringLiteral("CheckBox_sans_confirmation"));
  auto* reaf = bouton(QStringLiteral("SpeedButton6"), QStringLiteral("réaf tableau complet"), this);
  reaf->setToolTip(QStringLiteral("la liste sera réinitialisée"));
  connect(reaf, &QPushButton::clicked, this, [this] {
    demander_tableau_complet(fenetre_.session());
    sur_lister();
  });
  bas->addWidget(sel, 0, 0);
  bas->addWidget(hautb, 0, 1);
  bas->addWidget(basb, 0, 2);
  bas->addWidget(hors, 1, 0);
  bas->addWidget(sans_confirmation_, 1, 1);
  bas->addWidget(reaf, 1, 2);
  bas->setColumnStretch(3, 1);
  vb->addLayout(bas);
  connect(sel, &QPushButton::clicked, this, [this] {
    int premiere = 0, derniere = 0;
    if (!table_->selection(premiere, derniere))
      premiere = derniere = std::max(1, table_->ligne_courante());
    effacer_selection(fenetre_.session(), premiere, derniere);
    fenetre_.rafraichir();
  });
  connect(hautb, &QPushButton::clicked, this, [this] {
    effacer_vers_le_haut(fenetre_.session(), table_->ligne_courante());
    fenetre_.rafraichir();
  });
  connect(basb, &QPushButton::clicked, this, [this] {
    effacer_vers_le_bas(fenetre_.session(), table_->ligne_courante());
    fenetre_.rafraichir();
  });
  connect(hors, &QPushButton::clicked, this, [this] {
    effacer_hors_periode(fenetre_.session(), sans_confirmation_->isChecked());
    fenetre_.rafraichir();
  });
}

// ---------------------------------------------------------------- stage 1

void RegionListage::sur_lister() {
  Session& s = fenetre_.session();
  s.demarrer_phase(1);
  fenetre_.suivi().choisir_taille(false);
  fenetre_.etape(bouton_lister_, [&s = s] {
    if (source_du_masque(s.description.masque) == SourceDonnees::presse_papier &&
        !lire_presse_papier(s))
      return;
    lister_fichiers_donnees(s);
  });
}

// ---------------------------------------------------------------- bringing the controls in line

void RegionListage::afficher() {
  afficher_legende();
  switch (source_du_masque(fenetre_.session().description.masque)) {
    case SourceDonnees::excel:
      fixer_bulle(bouton_lister_,
                  QStringLiteral(" ci-dessous le fichier XLS ciblé du répertoire de données "));
      break;
    case SourceDonnees::presse_papier:
      fixer_bulle(bouton_lister_,
                  QStringLiteral(" ci-dessous le fichier temporaire issu du presse-papier "));
      break;
    case SourceDonnees::repertoire:
      fixer_bulle(bouton_lister_,
                  QStringLiteral(" lister ci-dessous les fichiers du répertoire de données "));
      break;
  }
}

void RegionListage::afficher_legende() {
  bouton_lister_->setText(qs(fenetre_.session().legende_bouton_lister()));
}

void RegionListage::afficher_table() {
  modele_->recharger();
  // A listing (another count of rows or another first file) fits every
  // column again; the other changes (a run's counts) only widen them.
  const Session& s = fenetre_.session();
  const std::string liste = std::to_string(s.table.nb_lignes()) + '|' +
                            (s.table.nb_lignes() > 1 ? s.table.cellule(1, 1) : "");
  table_->ajuster_largeurs(liste != liste_ajustee_);
  liste_ajustee_ = liste;
}

void RegionListage::afficher_couleur_dates() {
  const auto& etiquettes = fenetre_.session().etiquettes;
  const auto it = etiquettes.find("Label_date_min.couleur");
  const bool rouge_date = it != etiquettes.end() && it->second == "rouge";
  date_min_->setStyleSheet(rouge_date ? QStringLiteral("color: rgb(220,0,0);")
                                      : QStringLiteral("color: rgb(0,0,200);"));
  date_max_->setStyleSheet(date_min_->styleSheet());
}

void RegionListage::suivre_table() {
  if (modele_->rowCount() != std::max(0, fenetre_.session().table.nb_lignes() - 1))
    modele_->recharger();
}

// ---------------------------------------------------------------- the table

void RegionListage::sur_double_clic_tableau(int colonne, int ligne) {
  const int triee = double_clic_tableau(fenetre_.session(), colonne, ligne);
  afficher_table();
  fenetre_.afficher_periode();
  fenetre_.rafraichir_indicateur();
  if (triee >= 0) table_->selectRow(0);
}

void RegionListage::sur_clic_droit_tableau(int colonne, int ligne, QPoint global) {
  const bool titre = ligne == 0;
  // For the marking choices the title row counts as the first file row.
  if (titre) ligne = 1;
  if ((colonne == 3 || colonne == TableFichiers::kColonneMarque) &&
      ligne < fenetre_.session().table.nb_lignes())
    basculer_marquage(colonne, ligne, global);
  // After the panel, which may open under the pointer.
  if (titre) expliquer_colonne(colonne);
}

void RegionListage::basculer_marquage(int colonne, int ligne, QPoint global) {
  if (marquage_->isVisible()) {
    marquage_->hide();
    return;
  }
  QWidget* parent = marquage_->parentWidget();
  QPoint p = parent->mapFromGlobal(global);
  if (colonne == 3)
    p.setX(table_->mapTo(parent, QPoint(88, 0)).x());
  else
    p.setX(sans_confirmation_->mapTo(parent, QPoint(0, 0)).x() - 40);
  marquage_->ouvrir(ligne, p);
}

void RegionListage::sur_grand_tableau(bool grand) {
  auto* vb = static_cast<QVBoxLayout*>(layout());
  QWidget* dessus = parentWidget();
  if (grand && zone_table_->parentWidget() == this) {
    // The table leaves its place and lies over regions 2 to 4, from where
    // it was down to the bottom of the window's content, in front.
    const QPoint haut_gauche = zone_table_->mapTo(dessus, QPoint(0, 0));
    place_table_ = vb->indexOf(zone_table_);
    vb->removeWidget(zone_table_);
    vb->insertStretch(place_table_, 1);
    zone_table_->setParent(dessus);
    zone_table_->setGeometry(haut_gauche.x(), haut_gauche.y(),
                             dessus->width() - haut_gauche.x() - 12,
                             dessus->height() - haut_gauche.y() - 12);
    reserver_sous_table(0);
    zone_table_->show();
    zone_table_->raise();
  } else if (!grand && zone_table_->parentWidget() != this) {
    delete vb->takeAt(place_table_);
    zone_table_->setParent(this);
    vb->insertWidget(place_table_, zone_table_, 1);
    zone_table_->show();
  }
  PanneauSuivi* suivi = &fenetre_.suivi();
  QTimer::singleShot(0, this, [this, suivi, grand] {
    if (!suivi->isVisible()) return;
    suivi->replacer();
    if (!grand) suivi->raise();
    // An open marking panel stays in front of it.
    if (marquage_ && marquage_->isVisible()) marquage_->raise();
  });
}

void RegionListage::expliquer_colonne(int colonne) {
  colonne_expliquee_ = colonne;
  const std::string titre = trim(fenetre_.session().table.cellule(colonne, 0));
  // The lines the column shows over a file row, without a file name.
  fenetre_.aide().montrer(aide_tableau(1, titre, std::string()));
}

void RegionListage::sur_survol_tableau(int colonne, int ligne) {
  table_->setToolTip(QString());
  if (ligne == 0 && colonne == colonne_expliquee_) {
    expliquer_colonne(colonne);
    return;
  }
  colonne_expliquee_ = -1;
  if (ligne == 0) {
    fenetre_.aide().montrer(aide_tableau(0, std::string(), std::string()));
    return;
  }
  const Session& s = fenetre_.session();
  const std::string titre = trim(s.table.cellule(colonne, 0));
  const std::string cellule = s.table.cellule(colonne, ligne);
  if (titre == "fichier") table_->setToolTip(qs(cellule));
  fenetre_.aide().montrer(aide_tableau(ligne, titre, cellule));
}

}  // namespace tamso
