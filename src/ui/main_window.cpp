// The main window's controls and their layout.
#include "ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/clipboard_commands.h"
#include "app/setting_edits.h"
#include "app/startup.h"
#include "app/inspection.h"
#include "app/listing.h"
#include "input/proposed_formats.h"
#include "processing/engine.h"
#include "app/period_commands.h"
#include "app/file_table_commands.h"
#include "app/window_changes.h"
#include "ui/directory_panel.h"
#include "ui/file_table_view.h"
#include "ui/widgets.h"

namespace tamso {

namespace {

QGroupBox* cadre(const char* nom, const QString& titre, QWidget* parent) {
  auto* c = new QGroupBox(titre, parent);
  c->setObjectName(QString::fromLatin1(nom));
  return c;
}

}  // namespace

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
  // The controls read the session until they are gone: they go first.
  delete racine_;
  racine_ = nullptr;
  port_->attacher(nullptr);
}

// ---------------------------------------------------------------- bound controls

QLineEdit* FenetrePrincipale::edit(const char* nom, std::string Description::*champ,
                                   QWidget* parent, int largeur, bool marquer) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(nom));
  if (largeur > 0) e->setFixedWidth(largeur);
  connect(e, &QLineEdit::textEdited, this, [this, champ, marquer](const QString& t) {
    if (marquer)
      modifier_reglage(session_, champ, ss(t));
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, e, champ] {
    const QString t = qs(session_.description.*champ);
    if (e->text() != t) e->setText(t);
  });
  return e;
}

QCheckBox* FenetrePrincipale::case_a_cocher(const char* nom, const QString& libelle,
                                            bool Description::*champ, QWidget* parent,
                                            std::function<void(bool)> apres) {
  auto* c = new QCheckBox(libelle, parent);
  c->setObjectName(QString::fromLatin1(nom));
  connect(c, &QCheckBox::clicked, this, [this, champ, apres](bool coche) {
    cocher_reglage(session_, champ, coche);
    if (apres) apres(coche);
    afficher_etiquettes();
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, c, champ] { c->setChecked(session_.description.*champ); });
  return c;
}

QWidget* FenetrePrincipale::boite_options(const char* suffixe, const QString& titre,
                                          const QStringList& options, int colonnes, QWidget* parent,
                                          QButtonGroup*& groupe) {
  QWidget* g = nullptr;
  QGridLayout* disposition = nullptr;
  int decalage = 0;
  if (colonnes > 0) {
    auto* boite = new QGroupBox(titre, parent);
    disposition = grille(boite);
    disposition->setContentsMargins(6, 1, 6, 2);
    disposition->setVerticalSpacing(1);
    g = boite;
  } else {
    // On one line, the caption first.
    g = new QWidget(parent);
    disposition = grille(g);
    disposition->addWidget(new QLabel(titre, g), 0, 0);
    decalage = 1;
    colonnes = static_cast<int>(options.size());
  }
  g->setObjectName(QStringLiteral("RadioGroup_") + QString::fromLatin1(suffixe));
  groupe = new QButtonGroup(g);
  for (int i = 0; i < options.size(); ++i) {
    auto* r = new QRadioButton(options[i], g);
    r->setObjectName(QStringLiteral("RadioButton%1_").arg(i + 1) + QString::fromLatin1(suffixe));
    groupe->addButton(r, i);
    disposition->addWidget(r, i / colonnes, decalage + i % colonnes);
  }
  if (decalage) disposition->setColumnStretch(decalage + colonnes, 1);
  return g;
}

QWidget* FenetrePrincipale::groupe_options(const char* suffixe, const QString& titre,
                                           const QStringList& options, int Description::*champ,
                                           int colonnes, QWidget* parent,
                                           std::function<void(int)> apres) {
  QButtonGroup* boutons = nullptr;
  QWidget* g = boite_options(suffixe, titre, options, colonnes, parent, boutons);
  connect(boutons, &QButtonGroup::idClicked, this, [this, champ, apres](int i) {
    choisir_option(session_, champ, i);
    if (apres) apres(i);
    afficher_etiquettes();
    afficher_visibilites();
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, boutons, champ] {
    const int v = session_.description.*champ;
    if (QAbstractButton* b = boutons->button(v)) {
      b->setChecked(true);
    } else if (QAbstractButton* coche = boutons->checkedButton()) {
      // An index outside the options leaves none selected.
      boutons->setExclusive(false);
      coche->setChecked(false);
      boutons->setExclusive(true);
    }
  });
  return g;
}

QTimeEdit* FenetrePrincipale::heure(const char* nom, double Description::*champ, QWidget* parent) {
  auto* t = new QTimeEdit(parent);
  t->setObjectName(QString::fromLatin1(nom));
  t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  connect(t, &QTimeEdit::timeChanged, this, [this, champ](const QTime& h) {
    modifier_reglage(session_, champ, valeur_heure(h));
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, t, champ] {
    QSignalBlocker b(t);
    t->setTime(heure_qt(session_.description.*champ));
  });
  return t;
}

QDateTimeEdit* FenetrePrincipale::date_heure(const char* nom, double Description::*champ,
                                             QWidget* parent) {
  auto* t = new QDateTimeEdit(parent);
  t->setObjectName(QString::fromLatin1(nom));
  t->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  t->setCalendarPopup(true);
  t->setMinimumDateTime(date_heure_qt(1.0));
  connect(t, &QDateTimeEdit::dateTimeChanged, this, [this, champ](const QDateTime& d) {
    modifier_reglage(session_, champ, valeur_date_heure(d));
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, t, champ] {
    QSignalBlocker b(t);
    t->setDateTime(date_heure_qt(session_.description.*champ));
  });
  return t;
}

QLabel* FenetrePrincipale::etiquette(const char* nom, const QString& t, QWidget* parent) {
  auto* l = new QLabel(t, parent);
  l->setObjectName(QString::fromLatin1(nom));
  return l;
}

void FenetrePrincipale::valider_en_sortie(QLineEdit* e,
                                          std::function<void(const std::string&, bool)> valider) {
  connect(e, &QLineEdit::returnPressed, this, [e] { e->setProperty("entree", true); });
  connect(e, &QLineEdit::editingFinished, this, [this, e, valider] {
    const bool entree = e->property("entree").toBool();
    e->setProperty("entree", false);
    // Leaving a box that was just checked with Enter checks nothing again.
    if (!entree && e->property("valide").toString() == e->text()) return;
    valider(ss(e->text()), entree);
    afficher_description();
    afficher_etiquettes();
    rafraichir_indicateur();
    e->setProperty("valide", e->text());
  });
}

EtiquetteCliquable* FenetrePrincipale::date_cliquable(const char* nom, QWidget* parent) {
  auto* l = new EtiquetteCliquable(parent);
  l->setObjectName(QString::fromLatin1(nom));
  l->setProperty("teinte", QStringLiteral("c2"));
  l->setToolTip(
      QStringLiteral("un doubleclik permet de récupérer la date pour la valeur Min ou Max "));
  l->setMinimumWidth(128);
  l->setCursor(Qt::PointingHandCursor);
  connect(l, &EtiquetteCliquable::doubleClique, this, [this, nom] { sur_date_cliquee(nom); });
  return l;
}

// ---------------------------------------------------------------- layout

void FenetrePrincipale::construire() {
  racine_ = new QWidget(this);
  racine_->setObjectName(QStringLiteral("racine"));
  setCentralWidget(racine_);
  auto* disposition_racine = new QHBoxLayout(racine_);
  disposition_racine->setContentsMargins(0, 0, 4, 4);
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
  gauche->addWidget(construire_region_description());
  auto* bas = new QHBoxLayout;
  bas->setSpacing(6);
  bas->addWidget(construire_region_listage(), 1);
  bas->addWidget(construire_region_format());
  bas->addWidget(construire_region_periode());
  gauche->addLayout(bas, 1);

  colonne_sortie_ = construire_region_sortie();
  disposition_racine->addWidget(colonne_sortie_, 1);

  construire_panneaux();

  for (QWidget* w : panneau_decalage_->findChildren<QWidget*>())
    w->setToolTip(QStringLiteral(" le décalage n'impacte que la date de mesure  "));
  for (QWidget* w : panneau_derive_->findChildren<QWidget*>())
    w->setToolTip(QStringLiteral(" la dérive n'impacte que la date de mesure  "));

  setWindowTitle(qs(session_.legende_fenetre));
  setMinimumSize(900, 560);
}

QWidget* FenetrePrincipale::construire_region_description() {
  QGroupBox* c =
      cadre("Cadre1", QStringLiteral("1- Description des fichiers de données"), contenu_);
  cadres_[0] = c;
  auto* colonnes = new QHBoxLayout(c);
  colonnes->setContentsMargins(8, 4, 8, 4);
  colonnes->setSpacing(8);

  // ---- files and description ----
  auto* a = new QWidget(c);
  auto* ga = grille(a);
  int r = 0;
  const char* noms_boutons[] = {"SpeedButton_choix_rep_donnee", "SpeedButton_choix_rep_desc",
                                "SpeedButton_choix_rep_sortie"};
  const char* noms_labels[] = {"Label_repertoire", "Label_rep_description", "Label_rep_sortie"};
  EtiquetteChemin** labels[] = {&label_repertoire_, &label_rep_description_, &label_rep_sortie_};
  const Repertoire quels[] = {Repertoire::donnees, Repertoire::description, Repertoire::sortie};
  for (int i = 0; i < 3; ++i) {
    bouton_rep_[i] =
        bouton(QString::fromLatin1(noms_boutons[i]), qs(legende_choix_repertoire(quels[i])), a);
    auto* l = new EtiquetteChemin(a);
    l->setObjectName(QString::fromLatin1(noms_labels[i]));
    *labels[i] = l;
    ga->addWidget(bouton_rep_[i], r, 0);
    ga->addWidget(l, r, 1, 1, 2);
    const Repertoire quel = quels[i];
    connect(bouton_rep_[i], &QPushButton::clicked, this,
            [this, quel] { sur_bouton_repertoire(quel); });
    ++r;
  }
  auto* contenu_sortie =
      bouton(QStringLiteral("SpeedButton_contenu_sortie"), QStringLiteral("..."), a);
  contenu_sortie->setToolTip(
      QStringLiteral("ouvrir un fichier du répertoire de sortie dans le blocnote"));
  contenu_sortie->setFixedWidth(30);
  ga->addWidget(contenu_sortie, 2, 2, Qt::AlignRight);
  label_rep_sortie_->setContentsMargins(0, 0, 34, 0);
  connect(contenu_sortie, &QPushButton::clicked, this, [this] {
    DialogueFichier d;
    d.titre = "contenu du répertoire de sortie : " + session_.description.dossier_choisi_sortie;
    d.dossier = session_.description.dossier_choisi_sortie;
    d.filtre = "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*";
    if (const auto f = port_->choisir_fichier_a_ouvrir(d)) port_->ouvrir_dans_editeur("", *f);
  });

  label_description_ = new EtiquetteCliquable(a);
  label_description_->setObjectName(QStringLiteral("Label_description_bd"));
  QFont gras = label_description_->font();
  gras.setBold(true);
  label_description_->setFont(gras);
  label_description_->setStyleSheet(QStringLiteral("color: rgb(0,0,150);"));
  label_description_->setToolTip(
      QStringLiteral("un double-clic ouvre la description dans le blocnote"));
  connect(label_description_, &EtiquetteCliquable::doubleClique, this, [this] {
    if (!session_.sans_nom_description()) port_->ouvrir_dans_editeur("", session_.chemin_dsc());
  });
  label_description_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ga->addWidget(etiquette("Label13", QStringLiteral("description"), a), r, 0, Qt::AlignRight);
  ga->addWidget(label_description_, r++, 1, 1, 2);

  auto* choisir = bouton(QStringLiteral("SpeedButton_desc_bd"),
                         QStringLiteral("Choix du fichier de description  *.dsc"), a);
  auto* resume =
      bouton(QStringLiteral("SpeedButton_change_hd"), QStringLiteral("Résumé des DSC"), a);
  ga->addWidget(choisir, r, 0, 1, 2);
  ga->addWidget(resume, r++, 2);
  auto* ligne_dsc2 = new QWidget(a);
  auto* hd2 = rangee(ligne_dsc2);
  bouton_enregistrer_ = bouton(QStringLiteral("SpeedButton_Enregistrer_dsc"),
                               QStringLiteral("Enregistrer"), ligne_dsc2);
  bouton_enregistrer_sous_ = bouton(QStringLiteral("SpeedButton_enreg_description"),
                                    QStringLiteral("Enregistrer sous ..."), ligne_dsc2);
  auto* nouveau =
      bouton(QStringLiteral("SpeedButton_nouveau_dsc"), QStringLiteral("Nouveau"), ligne_dsc2);
  hd2->addWidget(bouton_enregistrer_, 1);
  hd2->addWidget(bouton_enregistrer_sous_, 1);
  hd2->addWidget(nouveau, 1);
  ga->addWidget(ligne_dsc2, r++, 0, 1, 3);
  connect(choisir, &QPushButton::clicked, this, &FenetrePrincipale::sur_ouvrir_description);
  connect(resume, &QPushButton::clicked, this, &FenetrePrincipale::sur_resume);
  connect(bouton_enregistrer_, &QPushButton::clicked, this, &FenetrePrincipale::sur_enregistrer);
  connect(bouton_enregistrer_sous_, &QPushButton::clicked, this,
          &FenetrePrincipale::sur_enregistrer_sous);
  connect(nouveau, &QPushButton::clicked, this, &FenetrePrincipale::sur_nouveau);

  ga->addWidget(etiquette("Label4", QStringLiteral("masque"), a), r, 0, Qt::AlignRight);
  auto* ligne_masque = new QWidget(a);
  auto* hm = rangee(ligne_masque);
  edit_masque_ = edit("Edit_masque", &Description::masque, ligne_masque, 80, false);
  edit_masque_->installEventFilter(this);
  connect(edit_masque_, &QLineEdit::textEdited, this, &FenetrePrincipale::sur_masque_modifie);
  connect(edit_masque_, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  hm->addWidget(edit_masque_);
  hm->addStretch(1);
  ga->addWidget(ligne_masque, r++, 1, 1, 2);

  auto* ligne_source = new QWidget(a);
  auto* hs = rangee(ligne_source);
  auto* exemple = bouton(QStringLiteral("SpeedButton_choix_fic_donnee"),
                         QStringLiteral("exemplaire de fichier..."), ligne_source);
  auto* presse = bouton(QStringLiteral("SpeedButton_presse_papier"),
                        QStringLiteral("presse-papier..."), ligne_source);
  hs->addWidget(exemple, 1);
  hs->addWidget(presse, 1);
  ga->addWidget(ligne_source, r++, 0, 1, 3);
  connect(exemple, &QPushButton::clicked, this,
          [this] { etape(bouton_lister_, [this] { choisir_fichier_exemple(session_); }); });
  connect(presse, &QPushButton::clicked, this,
          [this] { etape(bouton_lister_, [this] { importer_presse_papier(session_); }); });

  ga->addWidget(etiquette("Label53", QStringLiteral("fichiers"), a), r, 0, Qt::AlignRight);
  auto* ligne_nb = new QWidget(a);
  auto* hn = rangee(ligne_nb);
  auto* nb = etiquette("Label54", QString(), ligne_nb);
  nb->setMinimumWidth(24);
  QFont gras_nb = nb->font();
  gras_nb.setBold(true);
  nb->setFont(gras_nb);
  hn->addWidget(nb);
  auto* premier = etiquette("Label_fic", QString(), ligne_nb);
  premier->setMinimumWidth(60);
  hn->addWidget(premier, 1);
  ga->addWidget(ligne_nb, r++, 1, 1, 2);

  excel_ = new QWidget(a);
  auto* hx = rangee(excel_);
  hx->addWidget(texte(QStringLiteral("feuille n°"), excel_));
  auto* feuille = edit("Edit_num_feuille_excel", &Description::num_feuille_excel, excel_, 36);
  connect(feuille, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  hx->addWidget(feuille);
  auto* classeur = etiquette("Label_nom_fic_excel", QString(), excel_);
  auto* nom_feuille = etiquette("Label_nom_feuille", QString(), excel_);
  hx->addWidget(classeur, 1);
  hx->addWidget(nom_feuille, 1);
  liaisons_.push_back([this, classeur, nom_feuille] {
    classeur->setText(qs(session_.description.nom_fic_excel));
    nom_feuille->setText(qs(session_.description.nom_feuille));
  });
  ga->addWidget(excel_, r++, 0, 1, 3);
  auto* lecture = new QWidget(a);
  auto* hl = rangee(lecture);
  hl->addWidget(case_a_cocher("CheckBox_recursif", QStringLiteral("avec sous-dossiers"),
                              &Description::recursif, lecture));
  hl->addWidget(case_a_cocher("CheckBox_prelire_tous",
                              QStringLiteral("pré-lecture de tous les fichiers"),
                              &Description::prelire_tous, lecture));
  hl->addStretch(1);
  ga->addWidget(lecture, r++, 0, 1, 3);
  ga->addWidget(
      case_a_cocher("CheckBox_car_null", QStringLiteral("gestion des caractères illisibles"),
                    &Description::car_null, a),
      r++, 0, 1, 3);
  ga->addWidget(etiquette("Label39", QStringLiteral("blocnote"), a), r, 0, Qt::AlignRight);
  ga->addWidget(edit("Edit_name_prog_blocnote", &Description::name_prog_blocnote, a), r++, 1, 1, 2);
  ga->setRowStretch(r, 1);
  ga->setColumnStretch(1, 1);
  colonnes->addWidget(a, 10);

  // ---- layout of the data files ----
  auto* b = new QWidget(c);
  auto* gb = grille(b);
  r = 0;
  gb->addWidget(groupe_options("avec_sans_intitule", QStringLiteral("intitulés"),
                               {QStringLiteral("avec"), QStringLiteral("sans")},
                               &Description::avec_sans_intitule, 0, b),
                r, 0);
  ligne_intitule_ = new QWidget(b);
  auto* hli = rangee(ligne_intitule_);
  hli->addWidget(etiquette("Label14", QStringLiteral("ligne n°"), ligne_intitule_));
  auto* num_intitule = edit("Edit_num_ligne_intitule_col", &Description::num_ligne_intitule_col,
                            ligne_intitule_, 40);
  num_intitule->setProperty("teinte", QStringLiteral("c4"));
  connect(num_intitule, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  hli->addWidget(num_intitule);
  gb->addWidget(ligne_intitule_, r++, 1, Qt::AlignRight);

  gb->addWidget(groupe_options("numlig_balise", QStringLiteral("données"),
                               {QStringLiteral("n° de ligne"), QStringLiteral("balises")},
                               &Description::numlig_balise, 0, b),
                r, 0);
  auto* premiere = new QWidget(b);
  auto* hp = rangee(premiere);
  hp->addWidget(etiquette("Label50", QStringLiteral("1ère ligne"), premiere));
  auto* num_donnee = edit("Edit_num_ligne_donnee", &Description::num_ligne_donnee, premiere, 40);
  num_donnee->setProperty("teinte", QStringLiteral("c4"));
  connect(num_donnee, &QLineEdit::returnPressed, this, [this] {
    valider_num_ligne_donnee(session_);
    rafraichir_indicateur();
  });
  hp->addWidget(num_donnee);
  r++;
  balises_ = new QWidget(b);
  auto* hb = rangee(balises_);
  hb->addWidget(etiquette("Label51", QStringLiteral("balises"), balises_));
  hb->addWidget(edit("Edit_balise_deb", &Description::balise_deb, balises_), 1);
  hb->addWidget(etiquette("Label52", QStringLiteral("à"), balises_));
  hb->addWidget(edit("Edit_balise_fin", &Description::balise_fin, balises_), 1);
  auto* ligne_donnees = new QWidget(b);
  auto* hld = rangee(ligne_donnees);
  hld->addWidget(premiere);
  hld->addWidget(balises_, 1);
  gb->addWidget(ligne_donnees, r++, 0, 1, 2);

  gb->addWidget(
      groupe_options("separateur_colonne", QStringLiteral("séparateur des colonnes en entrée"),
                     {QStringLiteral("Tabulation"), QStringLiteral("Espace"),
                      QStringLiteral("Point-virgule"), QStringLiteral("Virgule")},
                     &Description::separateur_colonne, 2, b),
      r++, 0, 1, 2);
  groupe_decimal_entree_ = groupe_options(
      "DECIMAL_SEPARATOR_entree", QStringLiteral("séparateur décimal en entrée"),
      {QStringLiteral("virgule"), QStringLiteral("point")}, &Description::decimal_entree, 0, b);
  gb->addWidget(groupe_decimal_entree_, r++, 0, 1, 2);
  gb->addWidget(groupe_options("datetime_nb_col", QStringLiteral("date et heure sur"),
                               {QStringLiteral("1 colonne"), QStringLiteral("2 colonnes")},
                               &Description::datetime_nb_col, 0, b),
                r++, 0, 1, 2);

  const auto bouton_formats = [this](const ListeFormatsProposes& liste, QLineEdit* cible,
                                     QWidget* parent) {
    auto* tb = new QToolButton(parent);
    tb->setObjectName(qs(std::string(liste.bouton)));
    tb->setText(QStringLiteral("▾"));
    tb->setToolTip(QStringLiteral("formats proposés"));
    tb->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(tb);
    menu->setObjectName(qs(std::string(liste.nom)));
    for (const auto entree : liste.entrees) {
      QAction* act = menu->addAction(qs(std::string(entree)));
      connect(act, &QAction::triggered, this, [this, &liste, entree, cible] {
        cible->setText(qs(format_choisi(liste, entree)));
        emit cible->textEdited(cible->text());
      });
    }
    tb->setMenu(menu);
    return tb;
  };

  une_colonne_ = new QWidget(b);
  auto* g1 = grille(une_colonne_);
  g1->addWidget(etiquette("Label44", QStringLiteral("colonne"), une_colonne_), 0, 0);
  auto* col_dt = edit("Edit_num_col_datetime", &Description::num_col_datetime, une_colonne_, 36);
  col_dt->setProperty("teinte", QStringLiteral("c4"));
  connect(col_dt, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  g1->addWidget(col_dt, 0, 1);
  g1->addWidget(etiquette("Label34", QStringLiteral("format"), une_colonne_), 0, 2);
  auto* format_dt =
      edit("Edit_format_datetime_mesure", &Description::format_datetime_mesure, une_colonne_);
  valider_en_sortie(format_dt,
                    [this](const std::string& t, bool) { valider_format_datetime(session_, t); });
  g1->addWidget(format_dt, 0, 3);
  g1->addWidget(bouton_formats(kListeDateHeure, format_dt, une_colonne_), 0, 4);
  g1->setColumnStretch(3, 1);
  gb->addWidget(une_colonne_, r++, 0, 1, 2);

  deux_colonnes_ = new QWidget(b);
  auto* g2 = grille(deux_colonnes_);
  g2->addWidget(texte(QStringLiteral("col. date"), deux_colonnes_), 0, 0);
  auto* col_d = edit("Edit_num_col_date", &Description::num_col_date, deux_colonnes_, 36);
  col_d->setProperty("teinte", QStringLiteral("c4"));
  connect(col_d, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  g2->addWidget(col_d, 0, 1);
  g2->addWidget(texte(QStringLiteral("format"), deux_colonnes_), 0, 2);
  auto* format_d =
      edit("Edit_format_date_mesure_seule", &Description::format_date_mesure_seule, deux_colonnes_);
  valider_en_sortie(format_d,
                    [this](const std::string& t, bool) { valider_format_date_seule(session_, t); });
  g2->addWidget(format_d, 0, 3);
  g2->addWidget(bouton_formats(kListeDate, format_d, deux_colonnes_), 0, 4);
  g2->addWidget(texte(QStringLiteral("col. heure"), deux_colonnes_), 1, 0);
  auto* col_t = edit("Edit_num_col_time", &Description::num_col_time, deux_colonnes_, 36);
  col_t->setProperty("teinte", QStringLiteral("c4"));
  connect(col_t, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  g2->addWidget(col_t, 1, 1);
  g2->addWidget(texte(QStringLiteral("format"), deux_colonnes_), 1, 2);
  auto* format_t =
      edit("Edit_format_time_mesure_seul", &Description::format_time_mesure_seul, deux_colonnes_);
  g2->addWidget(format_t, 1, 3);
  g2->addWidget(bouton_formats(kListeHeure, format_t, deux_colonnes_), 1, 4);
  g2->setColumnStretch(3, 1);
  gb->addWidget(deux_colonnes_, r++, 0, 1, 2);

  auto* noms = new QWidget(b);
  auto* gn = grille(noms);
  gn->addWidget(etiquette("Label15", QStringLiteral("station"), noms), 0, 0);
  auto* station = edit("Edit_f_station", &Description::f_station, noms);
  connect(station, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  gn->addWidget(station, 0, 1, 1, 2);
  gn->addWidget(etiquette("Label16", QStringLiteral("date du nom"), noms), 1, 0);
  auto* date_fic = edit("Edit_f_date_fichier", &Description::f_date_fichier, noms);
  valider_en_sortie(
      date_fic, [this](const std::string& t, bool) { valider_format_date_fichier(session_, t); });
  gn->addWidget(date_fic, 1, 1);
  gn->addWidget(bouton_formats(kListeDateFichier, date_fic, noms), 1, 2);
  gn->setColumnStretch(1, 1);
  gb->addWidget(noms, r++, 0, 1, 2);
  auto* corrections = new QWidget(b);
  auto* hc = new QVBoxLayout(corrections);
  hc->setContentsMargins(0, 0, 0, 0);
  hc->setSpacing(2);
  hc->addWidget(case_a_cocher("CheckBox_correction_si_t1supt2",
                              QStringLiteral("correction + 1 j SI t1>t2"),
                              &Description::correction_si_t1supt2, corrections));
  hc->addWidget(case_a_cocher("CheckBox_correction_si_t1egalt2",
                              QStringLiteral("correction +1s SI t1=t2"),
                              &Description::correction_si_t1egalt2, corrections));
  gb->addWidget(corrections, r++, 0, 1, 2);
  gb->setRowStretch(r, 1);
  gb->setColumnStretch(0, 1);
  colonnes->addWidget(b, 10);

  // ---- values and corrections ----
  auto* v = new QWidget(c);
  auto* gv = grille(v);
  r = 0;
  gv->addWidget(etiquette("Label29", QStringLiteral("équivalences NA"), v), r, 0);
  auto* equiv = edit("Edit_equiv_na", &Description::equiv_na, v);
  valider_en_sortie(equiv,
                    [this](const std::string& t, bool) { valider_equivalences(session_, t); });
  gv->addWidget(equiv, r++, 1);

  gv->addWidget(etiquette("Label30", QStringLiteral("valeur NA"), v), r, 0);
  auto* na = new QWidget(v);
  auto* hna = rangee(na);
  auto* texte_na = edit("Edit_NA", &Description::texte_na, na, 54);
  connect(texte_na, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  hna->addWidget(texte_na);
  hna->addWidget(etiquette("Label36", QStringLiteral("min"), na));
  auto* min_na = edit("Edit_min_na", &Description::min_na, na);
  hna->addWidget(min_na, 1);
  hna->addWidget(etiquette("Label31", QStringLiteral("max"), na));
  auto* max_na = edit("Edit_max_na", &Description::max_na, na);
  hna->addWidget(max_na, 1);
  for (QLineEdit* borne : {min_na, max_na})
    connect(borne, &QLineEdit::textEdited, this, [this] { colorer_bornes_na(); });
  gv->addWidget(na, r++, 1);

  gv->addWidget(etiquette("Label2", QStringLiteral("intitulés d'origine"), v), r, 0);
  edit_intitule_origine_ = new QLineEdit(v);
  edit_intitule_origine_->setObjectName(QStringLiteral("Edit_intitule_origine"));
  edit_intitule_origine_->setReadOnly(true);
  gv->addWidget(edit_intitule_origine_, r++, 1);

  gv->addWidget(case_a_cocher("CheckBox_int_col_alternatif", QStringLiteral("alternatifs"),
                              &Description::int_col_alternatif, v),
                r, 0);
  auto* alternatifs = edit("Edit_new_desc_colonne", &Description::new_desc_colonne, v);
  alternatifs->installEventFilter(this);
  // Enter lists the files again; leaving the box does when the description was modified.
  valider_en_sortie(alternatifs, [this](const std::string&, bool entree) {
    if (!valider_intitules_alternatifs(session_, entree)) return;
    QTimer::singleShot(
        0, this, [this] { etape(bouton_lister_, [this] { lister_fichiers_donnees(session_); }); });
  });
  gv->addWidget(alternatifs, r++, 1);

  gv->addWidget(case_a_cocher("CheckBox_col_cochee",
                              QStringLiteral("n'extraire que les colonnes suivantes  (ex 7,12)"),
                              &Description::col_cochee, v),
                r++, 0, 1, 2);
  auto* extraire = new QWidget(v);
  auto* he = rangee(extraire);
  auto* col_cochee = edit("Edit_col_cochee", &Description::col_cochee_liste, extraire, 90);
  connect(col_cochee, &QLineEdit::textEdited, this, [this] {
    rafraichir_titres_colonnes(session_);
    afficher_etiquettes();
  });
  valider_en_sortie(col_cochee, [this](const std::string& t, bool entree) {
    valider_colonnes_saisies(session_, t, entree);
  });
  he->addWidget(col_cochee);
  auto* titres_col = etiquette("Label_col_alternatives", QStringLiteral("---"), extraire);
  titres_col->setStyleSheet(QStringLiteral("color: rgb(0,0,160);"));
  titres_col->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  he->addWidget(titres_col, 1);
  gv->addWidget(extraire, r++, 0, 1, 2);

  panneau_decalage_ = new QWidget(v);
  panneau_decalage_->setObjectName(QStringLiteral("Panel_decalage"));
  auto* gdec = grille(panneau_decalage_);
  auto* tete_decalage = new QWidget(panneau_decalage_);
  auto* htd = rangee(tete_decalage);
  htd->addWidget(etiquette("Label69", QStringLiteral("décalage"), tete_decalage));
  htd->addWidget(case_a_cocher(
      "CheckBox_decalage_actif", QStringLiteral("activer le décalage mesure"),
      &Description::decalage_actif, tete_decalage, [this](bool) { peindre_decalage_derive(); }));
  htd->addStretch(1);
  gdec->addWidget(tete_decalage, 0, 0);
  auto* reglage_decalage = new QWidget(panneau_decalage_);
  auto* hdec = rangee(reglage_decalage);
  auto* plus = new QRadioButton(QStringLiteral("+"), reglage_decalage);
  plus->setObjectName(QStringLiteral("RadioButton_decalage_positif"));
  auto* moins = new QRadioButton(QStringLiteral("-"), reglage_decalage);
  moins->setObjectName(QStringLiteral("RadioButton_decalage_negatif"));
  auto* signe = new QButtonGroup(panneau_decalage_);
  signe->addButton(plus, 0);
  signe->addButton(moins, 1);
  connect(signe, &QButtonGroup::idClicked, this, [this](int i) {
    choisir_signe_decalage(session_, i == 0);
    rafraichir_indicateur();
  });
  liaisons_.push_back([this, plus, moins, signe] {
    signe->setExclusive(false);
    plus->setChecked(session_.description.decalage_positif);
    moins->setChecked(session_.description.decalage_negatif);
    signe->setExclusive(true);
  });
  hdec->addWidget(plus);
  hdec->addWidget(moins);
  jours_decalage_ = new QSpinBox(reglage_decalage);
  jours_decalage_->setObjectName(QStringLiteral("SpinEdit_decalage_jour"));
  jours_decalage_->setRange(0, 400);
  connect(jours_decalage_, &QSpinBox::valueChanged, this,
          [this](int j) { session_.decalage_jours = j; });
  hdec->addWidget(jours_decalage_);
  hdec->addWidget(etiquette("Label20", QStringLiteral("j"), reglage_decalage));
  hdec->addWidget(heure("TimePicker_decalage", &Description::decalage, reglage_decalage));
  hdec->addStretch(1);
  gdec->addWidget(reglage_decalage, 1, 0);
  gv->addWidget(panneau_decalage_, r++, 0, 1, 2);

  panneau_derive_ = new QWidget(v);
  panneau_derive_->setObjectName(QStringLiteral("Panel_derive"));
  auto* gd = grille(panneau_derive_);
  auto* tete_derive = new QWidget(panneau_derive_);
  auto* htv = rangee(tete_derive);
  htv->addWidget(etiquette("Label24", QStringLiteral("dérive"), tete_derive));
  htv->addWidget(case_a_cocher("CheckBox_derive_active", QStringLiteral("activer la dérive mesure"),
                               &Description::derive_active, tete_derive,
                               [this](bool) { peindre_decalage_derive(); }));
  htv->addStretch(1);
  gd->addWidget(tete_derive, 0, 0, 1, 5);
  gd->addWidget(texte(QStringLiteral("heure lue"), panneau_derive_), 1, 0);
  gd->addWidget(heure("TimePicker_derive_erronee", &Description::derive_erronee, panneau_derive_),
                1, 1);
  gd->addWidget(texte(QStringLiteral("heure vraie"), panneau_derive_), 1, 2);
  gd->addWidget(heure("TimePicker_derive_reelle", &Description::derive_reelle, panneau_derive_), 1,
                3);
  gd->addWidget(texte(QStringLiteral("constat le"), panneau_derive_), 2, 0);
  gd->addWidget(
      date_heure("DateTimePicker_constat_derive", &Description::constat_derive, panneau_derive_), 2,
      1, 1, 2);
  gd->addWidget(texte(QStringLiteral("depuis le"), panneau_derive_), 3, 0);
  gd->addWidget(
      date_heure("DateTimePicker_debut_derive", &Description::debut_derive, panneau_derive_), 3, 1,
      1, 2);
  gd->setColumnStretch(4, 1);
  gv->addWidget(panneau_derive_, r++, 0, 1, 2);
  gv->setRowStretch(r, 1);
  gv->setColumnStretch(1, 1);
  colonnes->addWidget(v, 11);
  return c;
}

QWidget* FenetrePrincipale::construire_region_listage() {
  QGroupBox* c = cadre("Cadre2", QStringLiteral("2- Listage des fichiers impliqués"), contenu_);
  cadres_[1] = c;
  auto* vb = new QVBoxLayout(c);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(4);

  auto* haut = rangee();
  bouton_lister_ = bouton(QStringLiteral("SpeedButton_lister"), QString(), c);
  QFont gras = bouton_lister_->font();
  gras.setBold(true);
  bouton_lister_->setFont(gras);
  connect(bouton_lister_, &QPushButton::clicked, this, &FenetrePrincipale::sur_lister);
  haut->addWidget(bouton_lister_);
  auto* nb = etiquette("Label_nb_fic", QString(), c);
  nb->setFont(gras);
  haut->addWidget(nb);
  haut->addStretch(1);
  auto* grand = new QCheckBox(QStringLiteral("grand Tableau"), c);
  grand->setObjectName(QStringLiteral("CheckBox_grand_tableau"));
  grand->setToolTip(QStringLiteral("Agrandir ou minimiser la taille du tableau"));
  connect(grand, &QCheckBox::toggled, this, &FenetrePrincipale::sur_grand_tableau);
  haut->addWidget(grand);
  vb->addLayout(haut);

  auto* dates = new QGridLayout;
  dates->setHorizontalSpacing(6);
  dates->setVerticalSpacing(2);
  dates->addWidget(etiquette("Label27", QStringLiteral("dates min, max"), c), 0, 0);
  dates->addWidget(date_cliquable("Label_date_min", c), 0, 1);
  dates->addWidget(date_cliquable("Label_date_max", c), 0, 2);
  dates->addWidget(etiquette("Label38", QStringLiteral("fichier lu"), c), 1, 0);
  dates->addWidget(date_cliquable("Label_date_heure_min", c), 1, 1);
  dates->addWidget(date_cliquable("Label_date_heure_max", c), 1, 2);
  dates->setColumnStretch(3, 1);
  vb->addLayout(dates);

  table_ = new VueTableFichiers(c);
  modele_ = new ModeleTableFichiers(session_, table_);
  table_->setModel(modele_);
  table_->setItemDelegate(new DelegueTableFichiers(session_.couleurs, table_));
  table_->setMinimumHeight(150);
  connect(table_, &VueTableFichiers::double_clic, this,
          &FenetrePrincipale::sur_double_clic_tableau);
  connect(table_, &VueTableFichiers::clic_droit, this, &FenetrePrincipale::sur_clic_droit_tableau);
  connect(table_, &VueTableFichiers::survol, this, &FenetrePrincipale::aide_tableau);
  connect(table_, &VueTableFichiers::suppression_demandee, this, [this] {
    int premiere = 0, derniere = 0;
    if (!table_->selection(premiere, derniere)) return;
    effacer_selection(session_, premiere, derniere);
    rafraichir();
  });
  vb->addWidget(table_, 1);

  auto* bas = new QGridLayout;
  bas->setHorizontalSpacing(6);
  bas->setVerticalSpacing(3);
  auto* sel = bouton(QStringLiteral("SpeedButton_effacer_selection"),
                     QStringLiteral("effacer la sélection"), c);
  auto* hautb = bouton(QStringLiteral("SpeedButton_effacer_vers_le_haut"),
                       QStringLiteral("effacer vers le HAUT"), c);
  auto* basb = bouton(QStringLiteral("SpeedButton_effacer_vers_le_bas"),
                      QStringLiteral("effacer vers le BAS"), c);
  auto* hors = bouton(QStringLiteral("SpeedButton_effacer_ligne_hors_intervalle"),
                      QStringLiteral("sup si hors Période"), c);
  hors->setToolTip(QStringLiteral("effacer de la liste les lignes hors période ciblée"));
  sans_confirmation_ = new QCheckBox(QStringLiteral("sans confirmation"), c);
  sans_confirmation_->setObjectName(QStringLiteral("CheckBox_sans_confirmation"));
  auto* reaf = bouton(QStringLiteral("SpeedButton6"), QStringLiteral("réaf tableau complet"), c);
  reaf->setToolTip(QStringLiteral("la liste sera réinitialisée"));
  connect(reaf, &QPushButton::clicked, this, [this] {
    demander_tableau_complet(session_);
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
    effacer_selection(session_, premiere, derniere);
    rafraichir();
  });
  connect(hautb, &QPushButton::clicked, this, [this] {
    effacer_vers_le_haut(session_, table_->ligne_courante());
    rafraichir();
  });
  connect(basb, &QPushButton::clicked, this, [this] {
    effacer_vers_le_bas(session_, table_->ligne_courante());
    rafraichir();
  });
  connect(hors, &QPushButton::clicked, this, [this] {
    effacer_hors_periode(session_, sans_confirmation_->isChecked());
    rafraichir();
  });
  return c;
}

QWidget* FenetrePrincipale::construire_region_format() {
  QGroupBox* c = cadre("Cadre3", QStringLiteral("3- Format de sortie"), contenu_);
  cadres_[2] = c;
  auto* vb = new QVBoxLayout(c);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(3);
  auto* ligne_nom = rangee();
  ligne_nom->addWidget(etiquette("Label12", QStringLiteral("fichier"), c));
  auto* nom = edit("Edit_nom_fic_sortie", &Description::nom_fic_sortie, c);
  nom->setProperty("teinte", QStringLiteral("c4"));
  nom->setToolTip(QStringLiteral("nom du fichier de sortie"));
  connect(nom, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  ligne_nom->addWidget(nom, 1);
  vb->addLayout(ligne_nom);
  auto* ligne = rangee();
  ligne->addWidget(case_a_cocher("CheckBox_inc_nom", QStringLiteral("nom incrémenté"),
                                 &Description::inc_nom, c));
  ligne->addStretch(1);
  ligne->addWidget(etiquette("Label18", QStringLiteral("décimales"), c));
  auto* dec = edit("Edit_nb_decimale", &Description::nb_decimale, c, 36);
  connect(dec, &QLineEdit::returnPressed, this, &FenetrePrincipale::sur_entree);
  ligne->addWidget(dec);
  vb->addLayout(ligne);
  vb->addWidget(groupe_options("DECIMAL_SEPARATOR_sortie", QStringLiteral("décimales en"),
                               {QStringLiteral("virgule"), QStringLiteral("point")},
                               &Description::decimal_sortie, 0, c));
  vb->addWidget(groupe_options("separateur_sortie", QStringLiteral("séparateur de sortie"),
                               {QStringLiteral("tabulation"), QStringLiteral("espace"),
                                QStringLiteral("espace+ tab"), QStringLiteral("point-virgule")},
                               &Description::separateur_sortie, 2, c));
  QStringList methodes;
  for (int i = 0; i < 6; ++i) methodes << qs(legende_methode(i));
  vb->addWidget(
      groupe_options("methode", QStringLiteral("méthode"), methodes, &Description::methode, 1, c));
  auto* post = new QGroupBox(QStringLiteral("post-traitement"), c);
  post->setObjectName(QStringLiteral("Label66"));
  auto* vp = new QVBoxLayout(post);
  vp->setContentsMargins(6, 2, 6, 4);
  vp->setSpacing(2);
  auto* lacunes = rangee();
  lacunes->addWidget(case_a_cocher("CheckBox_post_traitement",
                                   QStringLiteral("combler les lacunes"),
                                   &Description::post_traitement, post));
  lacunes->addWidget(etiquette("Label68", QStringLiteral("≤"), post));
  lacunes->addWidget(edit("Edit_nmax_lacune", &Description::nmax_lacune, post, 36));
  lacunes->addStretch(1);
  vp->addLayout(lacunes);
  vp->addWidget(case_a_libelle_long(
      case_a_cocher("CheckBox_cumul_corriger",
                    QStringLiteral("croissance forcée des cumuls entrants   _-_-__ => _---¯¯  "),
                    &Description::cumul_corriger, post)));
  vp->addWidget(case_a_libelle_long(case_a_cocher(
      "CheckBox_delta_Y", QStringLiteral("Delta(y) = y(i)-y(i-1) => _---¯¯ => _-_-__"),
      &Description::delta_Y, post, [this](bool) { afficher_description(); })));
  vp->addWidget(case_a_libelle_long(
      case_a_cocher("CheckBox_derivees", QStringLiteral("Dérivée  [ y(i) - y(i-1) ] / pas"),
                    &Description::derivees, post,
                    [this](bool) { afficher_description(); })));
  vb->addWidget(post);
  vb->addStretch(1);
  return c;
}

QWidget* FenetrePrincipale::construire_region_periode() {
  QGroupBox* c = cadre("Cadre4", QStringLiteral("4- Période ciblée"), contenu_);
  cadres_[3] = c;
  auto* vb = new QVBoxLayout(c);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(3);
  auto* g = new QGridLayout;
  g->setHorizontalSpacing(4);
  g->setVerticalSpacing(2);
  const auto zero = [this, c](const char* nom) {
    auto* b = bouton(QString::fromLatin1(nom), QStringLiteral("O"), c);
    b->setFixedWidth(26);
    b->setToolTip(QStringLiteral("mettre l'heure à 00:00:00"));
    return b;
  };
  const auto picker_date = [c](const char* nom) {
    auto* d = new QDateEdit(c);
    d->setObjectName(QString::fromLatin1(nom));
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setCalendarPopup(true);
    d->setMinimumDate(QDate(1900, 1, 1));
    return d;
  };
  const auto picker_heure = [c](const char* nom) {
    auto* t = new QTimeEdit(c);
    t->setObjectName(QString::fromLatin1(nom));
    t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return t;
  };
  date_deb_ = picker_date("DatePicker_deb");
  heure_deb_ = picker_heure("TimePicker_deb");
  date_fin_ = picker_date("DatePicker_fin");
  heure_fin_ = picker_heure("TimePicker_fin");
  heure_pas_ = picker_heure("TimePicker_pas");
  auto* o_deb = zero("SpeedButton_deb");
  auto* o_fin = zero("SpeedButton_fin");
  auto* o_pas = zero("SpeedButton_pas");
  g->addWidget(etiquette("Label22", QStringLiteral("début"), c), 0, 0);
  g->addWidget(date_deb_, 0, 1);
  g->addWidget(heure_deb_, 0, 2);
  g->addWidget(o_deb, 0, 3);
  auto* temps_deb = etiquette("Label_temps_deb", QString(), c);
  auto* jour_deb = etiquette("Label_jour_semaine_deb", QString(), c);
  g->addWidget(temps_deb, 1, 1, 1, 2);
  g->addWidget(jour_deb, 1, 3);
  g->addWidget(etiquette("Label23", QStringLiteral("fin"), c), 2, 0);
  g->addWidget(date_fin_, 2, 1);
  g->addWidget(heure_fin_, 2, 2);
  g->addWidget(o_fin, 2, 3);
  g->addWidget(etiquette("Label_temps_fin", QString(), c), 3, 1, 1, 2);
  g->addWidget(etiquette("Label_jour_semaine_fin", QString(), c), 3, 3);
  g->addWidget(etiquette("Label67", QStringLiteral("pas"), c), 4, 0);
  g->addWidget(heure_pas_, 4, 1);
  nb_pas_ = new QSpinBox(c);
  nb_pas_->setObjectName(QStringLiteral("SpinEdit_pas_jour_mois_annee"));
  nb_pas_->setRange(kNbPasMin, kNbPasMax);
  unite_pas_ = etiquette("Label_unite_pas", QString(), c);
  auto* pas_nb = new QWidget(c);
  auto* hpn = rangee(pas_nb);
  hpn->addWidget(nb_pas_);
  hpn->addWidget(unite_pas_);
  g->addWidget(pas_nb, 4, 2);
  g->addWidget(o_pas, 4, 3);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(2, 1);
  vb->addLayout(g);

  const auto changement_deb = [this] {
    changer_debut(session_, valeur_date_heure(QDateTime(date_deb_->date(), heure_deb_->time())));
    afficher_periode();
  };
  const auto changement_fin = [this] {
    changer_fin(session_, valeur_date_heure(QDateTime(date_fin_->date(), heure_fin_->time())));
    afficher_periode();
  };
  connect(date_deb_, &QDateEdit::dateChanged, this, changement_deb);
  connect(heure_deb_, &QTimeEdit::timeChanged, this, changement_deb);
  connect(date_fin_, &QDateEdit::dateChanged, this, changement_fin);
  connect(heure_fin_, &QTimeEdit::timeChanged, this, changement_fin);
  connect(heure_pas_, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
    changer_pas(session_, valeur_heure(t));
    afficher_periode();
  });
  connect(nb_pas_, &QSpinBox::valueChanged, this, [this](int n) {
    changer_nb_pas(session_, n);
    afficher_periode();
  });
  connect(o_deb, &QPushButton::clicked, this, [this] {
    mettre_heure_debut_a_zero(session_);
    afficher_periode();
  });
  connect(o_fin, &QPushButton::clicked, this, [this] {
    mettre_heure_fin_a_zero(session_);
    afficher_periode();
  });
  connect(o_pas, &QPushButton::clicked, this, [this] {
    mettre_pas_a_zero(session_);
    afficher_periode();
  });

  vb->addWidget(boite_options("jour_mois_annee", QStringLiteral("unité du pas"),
                              {QStringLiteral("hh:mn:ss"), QStringLiteral("jour"),
                               QStringLiteral("mois"), QStringLiteral("année")},
                              2, c, groupe_unite_));
  vb->addWidget(boite_options("actuel_ou_passee", QStringLiteral("test"),
                              {QStringLiteral("(inf ou =)"), QStringLiteral("(inf strict)")}, 0, c,
                              groupe_test_));
  connect(groupe_unite_, &QButtonGroup::idClicked, this, &FenetrePrincipale::sur_unite_pas);
  connect(groupe_test_, &QButtonGroup::idClicked, this, &FenetrePrincipale::sur_test_date);

  auto* resume = etiquette("Label25", QString(), c);
  QFont gras = resume->font();
  gras.setBold(true);
  resume->setFont(gras);
  vb->addWidget(resume);

  auto* dsc = new QGroupBox(QStringLiteral("période de la description"), c);
  dsc->setObjectName(QStringLiteral("Label37"));
  auto* gd = grille(dsc);
  gd->setContentsMargins(6, 2, 6, 4);
  gd->addWidget(texte(QStringLiteral("min"), dsc), 0, 0);
  gd->addWidget(date_cliquable("Label_min_dsc", dsc), 0, 1);
  gd->addWidget(texte(QStringLiteral("max"), dsc), 1, 0);
  gd->addWidget(date_cliquable("Label_max_dsc", dsc), 1, 1);
  gd->addWidget(texte(QStringLiteral("pas"), dsc), 2, 0);
  gd->addWidget(date_cliquable("Label_pas_dsc", dsc), 2, 1);
  gd->setColumnStretch(1, 1);
  vb->addWidget(dsc);

  bouton_liste_ = bouton(QStringLiteral("SpeedButton_creer_listes_date_clean"),
                         QStringLiteral("<=  2-  créer la liste horodatée"), c);
  bouton_liste_->setFont(gras);
  connect(bouton_liste_, &QPushButton::clicked, this, &FenetrePrincipale::sur_creer_liste);
  vb->addWidget(bouton_liste_);
  auto* nr = rangee();
  nr->addWidget(texte(QStringLiteral("lignes de résultats :"), c));
  nr->addWidget(etiquette("Label_nr_final", QString(), c), 1);
  vb->addLayout(nr);
  vb->addStretch(1);
  return c;
}

QWidget* FenetrePrincipale::construire_region_sortie() {
  QGroupBox* c = cadre("Cadre5", QStringLiteral("5- Zone de sortie et d'attente"), contenu_);
  cadres_[4] = c;
  c->setMinimumWidth(290);
  c->setMaximumWidth(640);
  c->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  auto* vb = new QVBoxLayout(c);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(4);

  bouton_traiter_ = bouton(QStringLiteral("SpeedButton_traiter_fichier"),
                           QStringLiteral("3-    traiter ...  =>"), c);
  QFont gros = bouton_traiter_->font();
  gros.setBold(true);
  gros.setPointSizeF(gros.pointSizeF() + 2);
  bouton_traiter_->setFont(gros);
  bouton_traiter_->setMinimumHeight(34);
  connect(bouton_traiter_, &QPushButton::clicked, this, &FenetrePrincipale::sur_traiter);
  vb->addWidget(bouton_traiter_);

  auto* commandes = rangee();
  bouton_stop_ = bouton(QStringLiteral("SpeedButton_stop"), QStringLiteral("stop"), c);
  bouton_sauver_ =
      bouton(QStringLiteral("SpeedButton_enregistrer"), QStringLiteral("sauver ->"), c);
  bouton_sauver_->setToolTip(QStringLiteral("sauver les données extraites stoppées en cours "));
  auto* graphiques =
      bouton(QStringLiteral("SpeedButton_graphique"), QStringLiteral("graphiques..."), c);
  commandes->addWidget(bouton_stop_);
  commandes->addWidget(bouton_sauver_);
  commandes->addWidget(graphiques);
  vb->addLayout(commandes);
  fixer_etat(bouton_stop_, "gris");
  connect(bouton_stop_, &QPushButton::clicked, this, &FenetrePrincipale::sur_stop);
  connect(bouton_sauver_, &QPushButton::clicked, this, &FenetrePrincipale::sur_sauver);
  connect(graphiques, &QPushButton::clicked, this, [this] {
    port_->informer(TypeMessage::information,
                    " La fenêtre des graphiques n'est pas encore disponible dans cette version.");
  });

  arret_pc_ = new QCheckBox(QStringLiteral("éteindre le PC à la fin du traitement "), c);
  arret_pc_->setObjectName(QStringLiteral("CheckBox_arret_PC"));
  connect(arret_pc_, &QCheckBox::toggled, this,
          [this](bool coche) { session_.resultats.arret_pc = coche; });
  vb->addWidget(arret_pc_);

  label_patienter_ = etiquette("Label_patienter", QString(), c);
  label_patienter_->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
  vb->addWidget(label_patienter_);
  barre_ = new QProgressBar(c);
  barre_->setObjectName(QStringLiteral("ProgressBar1"));
  barre_->setRange(0, 100);
  barre_->setValue(0);
  barre_->setTextVisible(true);
  barre_->setMaximumHeight(16);
  vb->addWidget(barre_);
  label_durees_ = etiquette("Label6", QString(), c);
  vb->addWidget(label_durees_);
  auto* infos = new QGridLayout;
  infos->setHorizontalSpacing(8);
  infos->setVerticalSpacing(1);
  const char* noms_infos[] = {"Label10", "Label8", "Label_nb_colonnes"};
  for (int i = 0; i < 3; ++i) {
    auto* l = etiquette(noms_infos[i], QString(), c);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    infos->addWidget(l, i / 2, i % 2);
  }
  auto* lignes = new QWidget(c);
  auto* hlg = rangee(lignes);
  hlg->addWidget(texte(QStringLiteral("lignes de données :"), lignes));
  hlg->addWidget(etiquette("Label26", QString(), lignes), 1);
  infos->addWidget(lignes, 1, 1);
  vb->addLayout(infos);

  auto* fichier = rangee();
  fichier->addWidget(texte(QStringLiteral("résultats :"), c));
  auto* nom_resultats = etiquette("Label21", QString(), c);
  nom_resultats->setStyleSheet(QStringLiteral("color: rgb(0,0,160); font-weight: bold;"));
  fichier->addWidget(nom_resultats, 1);
  vb->addLayout(fichier);
  auto* editer =
      bouton(QStringLiteral("SpeedButton_editer_resultats"), QStringLiteral("éditer =>"), c);
  auto* suivi =
      bouton(QStringLiteral("SpeedButton_fichier_suivi"), QStringLiteral("fichier de suivi"), c);
  auto* sans_date =
      bouton(QStringLiteral("SpeedButton_sans_coldate"), QStringLiteral("sans col DateTime"), c);
  sans_date->setToolTip(QStringLiteral("  juste les colonnes de valeurs dans le presse-papier   "));
  auto* grille_vues = new QGridLayout;
  grille_vues->setSpacing(4);
  grille_vues->addWidget(editer, 0, 0);
  grille_vues->addWidget(suivi, 0, 1);
  grille_vues->addWidget(sans_date, 1, 0, 1, 2);
  vb->addLayout(grille_vues);
  connect(editer, &QPushButton::clicked, this, [this] {
    const std::string& chemin = session_.resultats.chemin_resultats;
    if (!chemin.empty()) port_->ouvrir_dans_editeur("", chemin);
  });
  connect(suivi, &QPushButton::clicked, this, [this] {
    const std::string& chemin = session_.resultats.chemin_suivi;
    if (!chemin.empty()) port_->ouvrir_dans_editeur("", chemin);
  });
  connect(sans_date, &QPushButton::clicked, this, &FenetrePrincipale::sur_sans_col_date);

  vues_ = new QTabWidget(c);
  vues_->setObjectName(QStringLiteral("PageControl_vues"));
  pile_resultats_ = new QStackedWidget(vues_);
  resultats_ = new QPlainTextEdit(pile_resultats_);
  resultats_->setObjectName(QStringLiteral("RichEdit3"));
  resultats_sans_date_ = new QPlainTextEdit(pile_resultats_);
  resultats_sans_date_->setObjectName(QStringLiteral("RichEdit4"));
  for (QPlainTextEdit* t : {resultats_, resultats_sans_date_}) {
    t->setReadOnly(true);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    t->setStyleSheet(QStringLiteral("background: white;"));
    pile_resultats_->addWidget(t);
  }
  vues_->addTab(pile_resultats_, QStringLiteral("résultats"));
  liste_horodatee_ = new QListView(vues_);
  liste_horodatee_->setObjectName(QStringLiteral("ListBox_date_clean"));
  liste_horodatee_->setUniformItemSizes(true);
  liste_horodatee_->setModel(new ModeleListeHorodatee(session_, liste_horodatee_));
  vues_->addTab(liste_horodatee_, QStringLiteral("liste"));
  vues_->setTabToolTip(1, QStringLiteral("liste horodatée"));
  apercu_ = new QPlainTextEdit(vues_);
  apercu_->setObjectName(QStringLiteral("Memo6"));
  apercu_->setReadOnly(true);
  apercu_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vues_->addTab(apercu_, QStringLiteral("aperçu"));
  vues_->setTabToolTip(2, QStringLiteral("aperçu du fichier lu"));
  vb->addWidget(vues_, 1);

  aide_ = new QPlainTextEdit(c);
  aide_->setObjectName(QStringLiteral("Memo2"));
  aide_->setReadOnly(true);
  aide_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  aide_->setFixedHeight(aide_->fontMetrics().lineSpacing() * 6 + 12);
  aide_->setFocusPolicy(Qt::NoFocus);
  vb->addWidget(aide_);

  auto* outils = new QGridLayout;
  outils->setSpacing(4);
  auto* bouton_suivi =
      bouton(QStringLiteral("Panel_button_suivi"), QStringLiteral("fenêtre de suivi"), c);
  bouton_suivi->setToolTip(QStringLiteral("bascule  Visible / Cachée "));
  bouton_suivi->setProperty("teinte", QStringLiteral("c2"));
  auto* colonnes = bouton(QStringLiteral("Panel_button_liste_colonne"),
                          QStringLiteral("lister les colonnes"), c);
  colonnes->setToolTip(QStringLiteral("visualiser verticalement les différents items"));
  auto* bouton_couleurs =
      bouton(QStringLiteral("SpeedButton_couleurs"), QStringLiteral("couleurs"), c);
  auto* aide_pdf = bouton(QStringLiteral("SpeedButton_help"), QStringLiteral("help"), c);
  case_aide_flottante_ = case_a_cocher("CheckBox_aide_flottante", QStringLiteral("aide flottante"),
                                       &Description::aide_flottante, c, [this](bool coche) {
                                         if (!coche) aide_flottante_->hide();
                                       });
  auto* sortie = bouton(QStringLiteral("SpeedButton_exit"), QStringLiteral("exit"), c);
  QFont gras = sortie->font();
  gras.setBold(true);
  sortie->setFont(gras);
  outils->addWidget(bouton_suivi, 0, 0, 1, 3);
  outils->addWidget(colonnes, 0, 3, 1, 3);
  outils->addWidget(case_aide_flottante_, 1, 0, 1, 2);
  outils->addWidget(bouton_couleurs, 1, 2, 1, 2);
  outils->addWidget(aide_pdf, 1, 4, 1, 2);
  outils->addWidget(sortie, 2, 0, 1, 6);
  vb->addLayout(outils);

  connect(bouton_suivi, &QPushButton::clicked, this, [this] {
    suivi_->setVisible(!suivi_->isVisible());
    if (suivi_->isVisible()) {
      placer_suivi(suivi_grand_->isChecked());
      suivi_->raise();
    }
  });
  connect(colonnes, &QPushButton::clicked, this, [this] {
    placer_suivi(suivi_grand_->isChecked());
    suivi_->show();
    suivi_->raise();
    lister_colonnes(session_);
    afficher_journal();
  });
  connect(bouton_couleurs, &QPushButton::clicked, this, [this] {
    if (couleurs_->isVisible()) {
      couleurs_->hide();
      return;
    }
    placer_panneau(couleurs_, cadres_[4], 300, 200);
    couleurs_->show();
    couleurs_->raise();
  });
  connect(aide_pdf, &QPushButton::clicked, this, [this] {
    const std::string chemin = session_.repertoire_programme() + "tamso_manuel.pdf";
    if (!fichier_existe(chemin)) {
      port_->informer(TypeMessage::information, "<" + chemin + "> introuvable");
      return;
    }
    if (!port_->demarrer_programme({"xdg-open", {chemin}}))
      port_->informer(TypeMessage::information,
                      "Aucun lecteur de PDF n'a pu être lancé pour <" + chemin + ">");
  });
  connect(sortie, &QPushButton::clicked, this, &FenetrePrincipale::demander_quitter);
  return c;
}

void FenetrePrincipale::construire_panneaux() {
  // ---- tracking log ----
  suivi_ = new PanneauFlottant(contenu_);
  suivi_->setObjectName(QStringLiteral("Panel1"));
  suivi_->fixerDeplacable(true);
  suivi_->setToolTip(QStringLiteral("   déplaçable   avec las souris   "));
  auto* vs = new QVBoxLayout(suivi_);
  vs->setContentsMargins(6, 4, 6, 6);
  vs->setSpacing(3);
  auto* barre = rangee();
  auto* titre = texte(QStringLiteral("Fenêtre de suivi"), suivi_);
  QFont gras = titre->font();
  gras.setBold(true);
  titre->setFont(gras);
  barre->addWidget(titre);
  barre->addStretch(1);
  suivi_petit_ = new QRadioButton(QStringLiteral("petite"), suivi_);
  suivi_petit_->setObjectName(QStringLiteral("RadioButton_fen_suivi_petite"));
  suivi_grand_ = new QRadioButton(QStringLiteral("grande"), suivi_);
  suivi_grand_->setObjectName(QStringLiteral("RadioButton_fen_suivi_grande"));
  suivi_petit_->setChecked(true);
  auto* effacer = bouton(QStringLiteral("SpeedButton_clear"), QStringLiteral("clear"), suivi_);
  auto* fermer = bouton(QStringLiteral("SpeedButton_fermer_suivi"), QStringLiteral("X"), suivi_);
  fermer->setFixedWidth(28);
  barre->addWidget(suivi_petit_);
  barre->addWidget(suivi_grand_);
  barre->addWidget(effacer);
  barre->addWidget(fermer);
  vs->addLayout(barre);
  journal_ = new QPlainTextEdit(suivi_);
  journal_->setObjectName(QStringLiteral("Memo5"));
  journal_->setReadOnly(true);
  journal_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vs->addWidget(journal_, 1);
  connect(suivi_petit_, &QRadioButton::clicked, this, [this] { placer_suivi(false); });
  connect(suivi_grand_, &QRadioButton::clicked, this, [this] { placer_suivi(true); });
  connect(fermer, &QPushButton::clicked, suivi_, &QWidget::hide);
  connect(effacer, &QPushButton::clicked, this, [this] {
    effacer_suivi(session_);
    afficher_journal();
  });

  // ---- directory chooser ----
  choix_rep_ = new PanneauRepertoires(contenu_);
  choix_rep_->hide();
  connect(choix_rep_, &PanneauRepertoires::valide, this,
          &FenetrePrincipale::sur_valider_repertoire);
  connect(choix_rep_, &PanneauRepertoires::annule, this,
          &FenetrePrincipale::fermer_choix_repertoire);
  connect(choix_rep_, &PanneauRepertoires::recents_demandes, this, &FenetrePrincipale::sur_recents);
  connect(choix_rep_, &PanneauRepertoires::recent_choisi, this,
          &FenetrePrincipale::sur_recent_choisi);
  connect(choix_rep_, &PanneauRepertoires::fichier_choisi, this, [this](const QString& chemin) {
    const std::string nom = ss(QFileInfo(chemin).fileName());
    if (port_->demander(TypeMessage::confirmation, " Editer le fichier <" + nom + ">  ?  " + "\n\n",
                        Boutons::oui_non) == Reponse::oui)
      port_->ouvrir_dans_editeur("", ss(chemin));
  });

  // ---- colours ----
  couleurs_ = new PanneauFlottant(racine_);
  couleurs_->setObjectName(QStringLiteral("Panel_couleurs"));
  couleurs_->fixerDeplacable(true);
  auto* vc = new QVBoxLayout(couleurs_);
  auto* hc = rangee();
  hc->addWidget(texte(QStringLiteral("couleurs de la fenêtre"), couleurs_), 1);
  auto* fermer_c =
      bouton(QStringLiteral("SpeedButton_fermer_couleurs"), QStringLiteral("X"), couleurs_);
  fermer_c->setFixedWidth(28);
  hc->addWidget(fermer_c);
  vc->addLayout(hc);
  auto* schema = groupe_options("coul_nb", QStringLiteral("schéma"),
                                {QStringLiteral("couleurs"), QStringLiteral("niveaux de gris")},
                                &Description::coul_nb, 2, couleurs_,
                                [this](int) { sur_schema_couleurs(); });
  vc->addWidget(schema);
  auto* gc = new QGridLayout;
  const char* noms_couleurs[] = {"SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
  const QString textes_couleurs[] = {QStringLiteral("de fond"), QStringLiteral("des boutons"),
                                     QStringLiteral("des listes"), QStringLiteral("de l'aide")};
  for (int i = 0; i < 4; ++i) {
    auto* b = bouton(QString::fromLatin1(noms_couleurs[i]), textes_couleurs[i], couleurs_);
    gc->addWidget(b, i / 2, i % 2);
    connect(b, &QPushButton::clicked, this, [this, i] { sur_choisir_couleur(i + 1); });
  }
  vc->addLayout(gc);
  couleurs_->hide();
  connect(fermer_c, &QPushButton::clicked, couleurs_, &QWidget::hide);

  // ---- description summary ----
  resume_ = new PanneauFlottant(racine_);
  resume_->setObjectName(QStringLiteral("Panel_resume_dsc"));
  resume_->fixerDeplacable(true);
  auto* vr = new QVBoxLayout(resume_);
  auto* hr = rangee();
  label_resume_ = etiquette("Label_resume_dsc", QString(), resume_);
  label_resume_->setFont(gras);
  hr->addWidget(label_resume_, 1);
  auto* fermer_r =
      bouton(QStringLiteral("SpeedButton_fermer_resume"), QStringLiteral("X"), resume_);
  fermer_r->setFixedWidth(28);
  hr->addWidget(fermer_r);
  vr->addLayout(hr);
  auto* hl = rangee();
#ifdef _WIN32
  hl->addWidget(texte(QStringLiteral("lecteur"), resume_));
  edit_lecteur_ = new QLineEdit(resume_);
  edit_lecteur_->setObjectName(QStringLiteral("Edit_lecteur"));
  edit_lecteur_->setMaxLength(1);
  edit_lecteur_->setFixedWidth(30);
  hl->addWidget(edit_lecteur_);
#else
  hl->addWidget(texte(QStringLiteral("remplacer le début des chemins"), resume_));
  edit_prefixe_ = new QLineEdit(resume_);
  edit_prefixe_->setObjectName(QStringLiteral("Edit_prefixe_ancien"));
  hl->addWidget(edit_prefixe_, 1);
  hl->addWidget(texte(QStringLiteral("par"), resume_));
  edit_lecteur_ = new QLineEdit(resume_);
  edit_lecteur_->setObjectName(QStringLiteral("Edit_lecteur"));
  hl->addWidget(edit_lecteur_, 1);
#endif
  auto* modifier =
      bouton(QStringLiteral("SpeedButton_modifier_lecteur"), QStringLiteral("Modifier"), resume_);
  hl->addWidget(modifier);
  vr->addLayout(hl);
  texte_resume_ = new QPlainTextEdit(resume_);
  texte_resume_->setObjectName(QStringLiteral("Memo_resume_dsc"));
  texte_resume_->setReadOnly(true);
  texte_resume_->setLineWrapMode(QPlainTextEdit::NoWrap);
  vr->addWidget(texte_resume_, 1);
  resume_->hide();
  connect(fermer_r, &QPushButton::clicked, resume_, &QWidget::hide);
  connect(modifier, &QPushButton::clicked, this, &FenetrePrincipale::sur_modifier_lecteur);
#ifdef _WIN32
  connect(edit_lecteur_, &QLineEdit::textEdited, this, [this](const QString& t) {
    QString l = t.toUpper();
    l.remove(QLatin1Char(':'));
    if (l.isEmpty()) l = qs(session_.repertoire_programme()).left(1);
    edit_lecteur_->setText(l.left(1));
  });
#endif

  // ---- marking choices ----
  panneau_coche_ = new PanneauFlottant(contenu_);
  panneau_coche_->setObjectName(QStringLiteral("Panel_coche"));
  auto* vco = new QVBoxLayout(panneau_coche_);
  vco->setSpacing(2);
  for (int i = 0; i < 5; ++i) {
    auto* r = new QRadioButton(panneau_coche_);
    r->setObjectName(QStringLiteral("RadioButton_coche%1").arg(i + 1));
    r->setAutoExclusive(false);
    choix_coche_.push_back(r);
    vco->addWidget(r);
    connect(r, &QRadioButton::clicked, this, [this, i] {
      appliquer_marquage(session_, ligne_coche_, static_cast<ChoixMarquage>(i));
      panneau_coche_->hide();
      afficher_table();
    });
  }
  auto* esc = bouton(QStringLiteral("SpeedButton9"), QStringLiteral("esc"), panneau_coche_);
  vco->addWidget(esc);
  connect(esc, &QPushButton::clicked, panneau_coche_, &QWidget::hide);
  panneau_coche_->hide();

  // ---- shutdown countdown ----
  panneau_extinction_ = new PanneauFlottant(racine_);
  panneau_extinction_->setObjectName(QStringLiteral("Panel4"));
  panneau_extinction_->setStyleSheet(
      QStringLiteral("QFrame#Panel4 { background: navy; } QLabel { color: yellow; font-size: 14pt; "
                     "font-weight: bold; }"));
  auto* ve = new QVBoxLayout(panneau_extinction_);
  auto* message = texte(
      QStringLiteral("5 mn, pour annuler la mise en veille du PC en appuyant sur une touche..."),
      panneau_extinction_);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  ve->addWidget(message, 1);
  label_minutes_ = etiquette("Label49", QString(), panneau_extinction_);
  label_minutes_->setAlignment(Qt::AlignCenter);
  ve->addWidget(label_minutes_);
  panneau_extinction_->hide();

  // ---- floating help ----
  aide_flottante_ = new QLabel(racine_);
  aide_flottante_->setObjectName(QStringLiteral("Memo3"));
  aide_flottante_->setStyleSheet(QStringLiteral(
      "QLabel#Memo3 { background: white; color: black; border: 1px solid gray; padding: 4px; }"));
  aide_flottante_->setAttribute(Qt::WA_TransparentForMouseEvents);
  aide_flottante_->hide();
}

}  // namespace tamso
