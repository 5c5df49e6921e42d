#include "ui/region_description.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/clipboard_commands.h"
#include "app/description_files.h"
#include "app/inspection.h"
#include "app/listing.h"
#include "app/program_files.h"
#include "app/session.h"
#include "app/setting_edits.h"
#include "app/startup.h"
#include "app/window_changes.h"
#include "app/window_colours.h"
#include "input/proposed_formats.h"
#include "ui/directory_panel.h"
#include "ui/qt_interaction.h"
#include "ui/setting_controls.h"
#include "ui/summary_panel.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

namespace {

constexpr Repertoire kRepertoires[] = {Repertoire::donnees, Repertoire::description,
                                       Repertoire::sortie};

}  // namespace

RegionDescription::RegionDescription(ContexteFenetre& fenetre, QWidget* parent)
    : QGroupBox(QStringLiteral("1- Description des fichiers de données"), parent),
      fenetre_(fenetre),
      controles_(fenetre.controles()) {
  setObjectName(QStringLiteral("Cadre1"));
  auto* colonnes = new QHBoxLayout(this);
  colonnes->setContentsMargins(8, 4, 8, 4);
  colonnes->setSpacing(8);
  colonnes->addWidget(construire_fichiers(), 10);
  colonnes->addWidget(construire_disposition(), 10);
  colonnes->addWidget(construire_valeurs(), 11);

  for (QWidget* w : panneau_decalage_->findChildren<QWidget*>())
    w->setToolTip(QStringLiteral(" le décalage n'impacte que la date de mesure  "));
  for (QWidget* w : panneau_derive_->findChildren<QWidget*>())
    w->setToolTip(QStringLiteral(" la dérive n'impacte que la date de mesure  "));
}

void RegionDescription::attacher(PanneauRepertoires* choix_repertoire, PanneauResume* resume) {
  choix_rep_ = choix_repertoire;
  resume_ = resume;
  connect(choix_rep_, &PanneauRepertoires::valide, this,
          &RegionDescription::sur_valider_repertoire);
  connect(choix_rep_, &PanneauRepertoires::annule, this,
          &RegionDescription::fermer_choix_repertoire);
  connect(choix_rep_, &PanneauRepertoires::recents_demandes, this, &RegionDescription::sur_recents);
  connect(choix_rep_, &PanneauRepertoires::recent_choisi, this,
          &RegionDescription::sur_recent_choisi);
  connect(choix_rep_, &PanneauRepertoires::fichier_choisi, this, [this](const QString& chemin) {
    InteractionQt& port = fenetre_.port();
    const std::string nom = ss(QFileInfo(chemin).fileName());
    if (port.demander(TypeMessage::confirmation, " Editer le fichier <" + nom + ">  ?  " + "\n\n",
                      Boutons::oui_non) == Reponse::oui)
      port.ouvrir_dans_editeur("", ss(chemin));
  });
}

QLineEdit* RegionDescription::edit_entree(const char* nom, std::string Description::*champ,
                                          QWidget* parent, int largeur) {
  QLineEdit* e = controles_.edit(nom, champ, parent, largeur);
  connect(e, &QLineEdit::returnPressed, this, [this] { fenetre_.sur_entree(); });
  return e;
}

// ---------------------------------------------------------------- files and description

QWidget* RegionDescription::construire_fichiers() {
  auto* a = new QWidget(this);
  auto* ga = grille(a);
  int r = 0;
  construire_repertoires(ga, r);
  construire_fichier_description(ga, r);
  construire_source(ga, r);
  ga->setRowStretch(r, 1);
  ga->setColumnStretch(1, 1);
  return a;
}

void RegionDescription::construire_repertoires(QGridLayout* ga, int& r) {
  QWidget* a = ga->parentWidget();
  const char* noms_boutons[] = {"SpeedButton_choix_rep_donnee", "SpeedButton_choix_rep_desc",
                                "SpeedButton_choix_rep_sortie"};
  const char* noms_labels[] = {"Label_repertoire", "Label_rep_description", "Label_rep_sortie"};
  for (int i = 0; i < 3; ++i) {
    boutons_rep_[i] = bouton(QString::fromLatin1(noms_boutons[i]),
                             qs(legende_choix_repertoire(kRepertoires[i])), a);
    labels_rep_[i] = new EtiquetteChemin(a);
    labels_rep_[i]->setObjectName(QString::fromLatin1(noms_labels[i]));
    ga->addWidget(boutons_rep_[i], r, 0);
    ga->addWidget(labels_rep_[i], r, 1, 1, 2);
    const Repertoire quel = kRepertoires[i];
    connect(boutons_rep_[i], &QPushButton::clicked, this,
            [this, quel] { sur_bouton_repertoire(quel); });
    ++r;
  }
  auto* contenu_sortie =
      bouton(QStringLiteral("SpeedButton_contenu_sortie"), QStringLiteral("..."), a);
  contenu_sortie->setToolTip(
      QStringLiteral("ouvrir un fichier du répertoire de sortie dans le blocnote"));
  contenu_sortie->setFixedWidth(30);
  ga->addWidget(contenu_sortie, 2, 2, Qt::AlignRight);
  labels_rep_[2]->setContentsMargins(0, 0, 34, 0);
  connect(contenu_sortie, &QPushButton::clicked, this, [this] {
    const Description& d = fenetre_.session().description;
    DialogueFichier dialogue;
    dialogue.titre = "contenu du répertoire de sortie : " + d.dossier_choisi_sortie;
    dialogue.dossier = d.dossier_choisi_sortie;
    dialogue.filtre = "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*";
    if (const auto f = fenetre_.port().choisir_fichier_a_ouvrir(dialogue))
      fenetre_.port().ouvrir_dans_editeur("", *f);
  });
}

void RegionDescription::construire_fichier_description(QGridLayout* ga, int& r) {
  QWidget* a = ga->parentWidget();
  label_description_ = new EtiquetteCliquable(a);
  label_description_->setObjectName(QStringLiteral("Label_description_bd"));
  QFont gras = label_description_->font();
  gras.setBold(true);
  label_description_->setFont(gras);
  label_description_->setStyleSheet(QStringLiteral("color: rgb(0,0,150);"));
  label_description_->setToolTip(
      QStringLiteral("un double-clic ouvre la description dans le blocnote"));
  connect(label_description_, &EtiquetteCliquable::doubleClique, this, [this] {
    Session& s = fenetre_.session();
    if (!s.sans_nom_description()) fenetre_.port().ouvrir_dans_editeur("", s.chemin_dsc());
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
  // "patientez..." while a description is read; a click on the test of the
  // directories opens the summary of the descriptions, as its button does.
  label_patientez_ = etiquette("Label_patientez", QString(), a);
  label_patientez_->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
  QSizePolicy garde_place = label_patientez_->sizePolicy();
  garde_place.setRetainSizeWhenHidden(true);
  label_patientez_->setSizePolicy(garde_place);
  label_patientez_->hide();
  auto* test_repertoires =
      new EtiquetteCliquable(QStringLiteral("test d'existence des 3  répertoires"), a);
  test_repertoires->setObjectName(QStringLiteral("Label_test_repertoires"));
  test_repertoires->setStyleSheet(
      QStringLiteral("color: rgb(0,0,150); text-decoration: underline;"));
  test_repertoires->setCursor(Qt::PointingHandCursor);
  // One row across the block, so that neither widens its columns.
  auto* ligne_test = new QWidget(a);
  auto* ht = rangee(ligne_test);
  ht->addWidget(label_patientez_);
  ht->addStretch(1);
  ht->addWidget(test_repertoires);
  ga->addWidget(ligne_test, r++, 0, 1, 3);
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
  connect(choisir, &QPushButton::clicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ouvrir_description(fenetre_.session());
    QApplication::restoreOverrideCursor();
    fenetre_.rafraichir();
  });
  connect(resume, &QPushButton::clicked, this, [this] { resume_->ouvrir(); });
  connect(test_repertoires, &EtiquetteCliquable::clique, this, [this] { resume_->ouvrir(); });
  connect(bouton_enregistrer_, &QPushButton::clicked, this, [this] {
    enregistrer_description(fenetre_.session());
    fenetre_.rafraichir();
  });
  connect(bouton_enregistrer_sous_, &QPushButton::clicked, this, [this] {
    enregistrer_description_sous(fenetre_.session());
    fenetre_.rafraichir();
  });
  connect(nouveau, &QPushButton::clicked, this, [this] {
    nouvelle_description(fenetre_.session());
    fenetre_.rafraichir();
  });
}

void RegionDescription::construire_source(QGridLayout* ga, int& r) {
  QWidget* a = ga->parentWidget();
  ga->addWidget(etiquette("Label4", QStringLiteral("masque"), a), r, 0, Qt::AlignRight);
  auto* ligne_masque = new QWidget(a);
  auto* hm = rangee(ligne_masque);
  // The mask's typing goes to the session through its own check.
  edit_masque_ = controles_.edit_affiche("Edit_masque", &Description::masque, ligne_masque, 80);
  edit_masque_->installEventFilter(this);
  connect(edit_masque_, &QLineEdit::textEdited, this, &RegionDescription::sur_masque_modifie);
  connect(edit_masque_, &QLineEdit::returnPressed, this, [this] { fenetre_.sur_entree(); });
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
  connect(exemple, &QPushButton::clicked, this, [this] {
    fenetre_.etape_listage([this] { choisir_fichier_exemple(fenetre_.session()); });
  });
  connect(presse, &QPushButton::clicked, this, [this] {
    fenetre_.etape_listage([this] { importer_presse_papier(fenetre_.session()); });
  });

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
  hx->addWidget(edit_entree("Edit_num_feuille_excel", &Description::num_feuille_excel, excel_, 36));
  auto* classeur = etiquette("Label_nom_fic_excel", QString(), excel_);
  auto* nom_feuille = etiquette("Label_nom_feuille", QString(), excel_);
  hx->addWidget(classeur, 1);
  hx->addWidget(nom_feuille, 1);
  controles_.lier([this, classeur, nom_feuille] {
    classeur->setText(qs(fenetre_.session().description.nom_fic_excel));
    nom_feuille->setText(qs(fenetre_.session().description.nom_feuille));
  });
  ga->addWidget(excel_, r++, 0, 1, 3);
  auto* lecture = new QWidget(a);
  auto* hl = rangee(lecture);
  hl->addWidget(controles_.case_a_cocher("CheckBox_recursif", QStringLiteral("avec sous-dossiers"),
                                         &Description::recursif, lecture));
  hl->addWidget(controles_.case_a_cocher("CheckBox_prelire_tous",
                                         QStringLiteral("pré-lecture de tous les fichiers"),
                                         &Description::prelire_tous, lecture));
  hl->addStretch(1);
  ga->addWidget(lecture, r++, 0, 1, 3);
  ga->addWidget(controles_.case_a_cocher("CheckBox_car_null",
                                         QStringLiteral("gestion des caractères illisibles"),
                                         &Description::car_null, a),
                r++, 0, 1, 3);
  ga->addWidget(etiquette("Label39", QStringLiteral("blocnote"), a), r, 0, Qt::AlignRight);
  ga->addWidget(controles_.edit("Edit_name_prog_blocnote", &Description::name_prog_blocnote, a),
                r++, 1, 1, 2);
}

// ---------------------------------------------------------------- layout of the data files

QWidget* RegionDescription::construire_disposition() {
  auto* b = new QWidget(this);
  auto* gb = grille(b);
  int r = 0;
  construire_debut_donnees(gb, r);
  gb->addWidget(controles_.groupe_options(
                    "separateur_colonne", QStringLiteral("séparateur des colonnes en entrée"),
                    {QStringLiteral("Tabulation"), QStringLiteral("Espace"),
                     QStringLiteral("Point-virgule"), QStringLiteral("Virgule")},
                    &Description::separateur_colonne, 2, b),
                r++, 0, 1, 2);
  groupe_decimal_entree_ = controles_.groupe_options(
      "DECIMAL_SEPARATOR_entree", QStringLiteral("séparateur décimal en entrée"),
      {QStringLiteral("virgule"), QStringLiteral("point")}, &Description::decimal_entree, 0, b);
  gb->addWidget(groupe_decimal_entree_, r++, 0, 1, 2);
  gb->addWidget(
      controles_.groupe_options("datetime_nb_col", QStringLiteral("date et heure sur"),
                                {QStringLiteral("1 colonne"), QStringLiteral("2 colonnes")},
                                &Description::datetime_nb_col, 0, b),
      r++, 0, 1, 2);
  construire_colonnes_dates(gb, r);
  construire_noms_et_corrections(gb, r);
  gb->setRowStretch(r, 1);
  gb->setColumnStretch(0, 1);
  return b;
}

void RegionDescription::construire_debut_donnees(QGridLayout* gb, int& r) {
  QWidget* b = gb->parentWidget();
  gb->addWidget(controles_.groupe_options("avec_sans_intitule", QStringLiteral("intitulés"),
                                          {QStringLiteral("avec"), QStringLiteral("sans")},
                                          &Description::avec_sans_intitule, 0, b),
                r, 0);
  ligne_intitule_ = new QWidget(b);
  auto* hli = rangee(ligne_intitule_);
  hli->addWidget(etiquette("Label14", QStringLiteral("ligne n°"), ligne_intitule_));
  auto* num_intitule = edit_entree("Edit_num_ligne_intitule_col",
                                   &Description::num_ligne_intitule_col, ligne_intitule_, 40);
  num_intitule->setProperty("teinte", QStringLiteral("c4"));
  hli->addWidget(num_intitule);
  gb->addWidget(ligne_intitule_, r++, 1, Qt::AlignRight);

  gb->addWidget(
      controles_.groupe_options("numlig_balise", QStringLiteral("données"),
                                {QStringLiteral("n° de ligne"), QStringLiteral("balises")},
                                &Description::numlig_balise, 0, b),
      r, 0);
  auto* premiere = new QWidget(b);
  auto* hp = rangee(premiere);
  hp->addWidget(etiquette("Label50", QStringLiteral("1ère ligne"), premiere));
  auto* num_donnee =
      controles_.edit("Edit_num_ligne_donnee", &Description::num_ligne_donnee, premiere, 40);
  num_donnee->setProperty("teinte", QStringLiteral("c4"));
  connect(num_donnee, &QLineEdit::returnPressed, this, [this] {
    valider_num_ligne_donnee(fenetre_.session());
    rafraichir_indicateur();
  });
  hp->addWidget(num_donnee);
  r++;
  balises_ = new QWidget(b);
  auto* hb = rangee(balises_);
  hb->addWidget(etiquette("Label51", QStringLiteral("balises"), balises_));
  hb->addWidget(controles_.edit("Edit_balise_deb", &Description::balise_deb, balises_), 1);
  hb->addWidget(etiquette("Label52", QStringLiteral("à"), balises_));
  hb->addWidget(controles_.edit("Edit_balise_fin", &Description::balise_fin, balises_), 1);
  auto* ligne_donnees = new QWidget(b);
  auto* hld = rangee(ligne_donnees);
  hld->addWidget(premiere);
  hld->addWidget(balises_, 1);
  gb->addWidget(ligne_donnees, r++, 0, 1, 2);
}

QWidget* RegionDescription::bouton_formats(const ListeFormatsProposes& liste, QLineEdit* cible,
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
    connect(act, &QAction::triggered, this, [&liste, entree, cible] {
      cible->setText(qs(format_choisi(liste, entree)));
      emit cible->textEdited(cible->text());
    });
  }
  tb->setMenu(menu);
  return tb;
}

void RegionDescription::construire_colonnes_dates(QGridLayout* gb, int& r) {
  QWidget* b = gb->parentWidget();
  une_colonne_ = new QWidget(b);
  auto* g1 = grille(une_colonne_);
  g1->addWidget(etiquette("Label44", QStringLiteral("colonne"), une_colonne_), 0, 0);
  auto* col_dt =
      edit_entree("Edit_num_col_datetime", &Description::num_col_datetime, une_colonne_, 36);
  col_dt->setProperty("teinte", QStringLiteral("c4"));
  g1->addWidget(col_dt, 0, 1);
  g1->addWidget(etiquette("Label34", QStringLiteral("format"), une_colonne_), 0, 2);
  auto* format_dt = controles_.edit("Edit_format_datetime_mesure",
                                    &Description::format_datetime_mesure, une_colonne_);
  controles_.valider_en_sortie(format_dt, [this](const std::string& t, bool) {
    valider_format_datetime(fenetre_.session(), t);
  });
  g1->addWidget(format_dt, 0, 3);
  g1->addWidget(bouton_formats(kListeDateHeure, format_dt, une_colonne_), 0, 4);
  g1->setColumnStretch(3, 1);
  gb->addWidget(une_colonne_, r++, 0, 1, 2);

  deux_colonnes_ = new QWidget(b);
  auto* g2 = grille(deux_colonnes_);
  g2->addWidget(texte(QStringLiteral("col. date"), deux_colonnes_), 0, 0);
  auto* col_d = edit_entree("Edit_num_col_date", &Description::num_col_date, deux_colonnes_, 36);
  col_d->setProperty("teinte", QStringLiteral("c4"));
  g2->addWidget(col_d, 0, 1);
  g2->addWidget(texte(QStringLiteral("format"), deux_colonnes_), 0, 2);
  auto* format_d = controles_.edit("Edit_format_date_mesure_seule",
                                   &Description::format_date_mesure_seule, deux_colonnes_);
  controles_.valider_en_sortie(format_d, [this](const std::string& t, bool) {
    valider_format_date_seule(fenetre_.session(), t);
  });
  g2->addWidget(format_d, 0, 3);
  g2->addWidget(bouton_formats(kListeDate, format_d, deux_colonnes_), 0, 4);
  g2->addWidget(texte(QStringLiteral("col. heure"), deux_colonnes_), 1, 0);
  auto* col_t = edit_entree("Edit_num_col_time", &Description::num_col_time, deux_colonnes_, 36);
  col_t->setProperty("teinte", QStringLiteral("c4"));
  g2->addWidget(col_t, 1, 1);
  g2->addWidget(texte(QStringLiteral("format"), deux_colonnes_), 1, 2);
  auto* format_t = controles_.edit("Edit_format_time_mesure_seul",
                                   &Description::format_time_mesure_seul, deux_colonnes_);
  g2->addWidget(format_t, 1, 3);
  g2->addWidget(bouton_formats(kListeHeure, format_t, deux_colonnes_), 1, 4);
  g2->setColumnStretch(3, 1);
  gb->addWidget(deux_colonnes_, r++, 0, 1, 2);
}

void RegionDescription::construire_noms_et_corrections(QGridLayout* gb, int& r) {
  QWidget* b = gb->parentWidget();
  auto* noms = new QWidget(b);
  auto* gn = grille(noms);
  gn->addWidget(etiquette("Label15", QStringLiteral("station"), noms), 0, 0);
  gn->addWidget(edit_entree("Edit_f_station", &Description::f_station, noms), 0, 1, 1, 2);
  gn->addWidget(etiquette("Label16", QStringLiteral("date du nom"), noms), 1, 0);
  auto* date_fic = controles_.edit("Edit_f_date_fichier", &Description::f_date_fichier, noms);
  controles_.valider_en_sortie(date_fic, [this](const std::string& t, bool) {
    valider_format_date_fichier(fenetre_.session(), t);
  });
  gn->addWidget(date_fic, 1, 1);
  gn->addWidget(bouton_formats(kListeDateFichier, date_fic, noms), 1, 2);
  gn->setColumnStretch(1, 1);
  gb->addWidget(noms, r++, 0, 1, 2);
  auto* corrections = new QWidget(b);
  auto* hc = new QVBoxLayout(corrections);
  hc->setContentsMargins(0, 0, 0, 0);
  hc->setSpacing(2);
  hc->addWidget(controles_.case_a_cocher("CheckBox_correction_si_t1supt2",
                                         QStringLiteral("correction + 1 j SI t1>t2"),
                                         &Description::correction_si_t1supt2, corrections));
  hc->addWidget(controles_.case_a_cocher("CheckBox_correction_si_t1egalt2",
                                         QStringLiteral("correction +1s SI t1=t2"),
                                         &Description::correction_si_t1egalt2, corrections));
  gb->addWidget(corrections, r++, 0, 1, 2);
}

// ---------------------------------------------------------------- values and corrections

QWidget* RegionDescription::construire_valeurs() {
  auto* v = new QWidget(this);
  auto* gv = grille(v);
  int r = 0;
  construire_na(gv, r);
  construire_colonnes_extraites(gv, r);
  gv->addWidget(construire_decalage(v), r++, 0, 1, 2);
  gv->addWidget(construire_derive(v), r++, 0, 1, 2);
  gv->setRowStretch(r, 1);
  gv->setColumnStretch(1, 1);
  return v;
}

void RegionDescription::construire_na(QGridLayout* gv, int& r) {
  QWidget* v = gv->parentWidget();
  gv->addWidget(etiquette("Label29", QStringLiteral("équivalences NA"), v), r, 0);
  auto* equiv = controles_.edit("Edit_equiv_na", &Description::equiv_na, v);
  controles_.valider_en_sortie(
      equiv, [this](const std::string& t, bool) { valider_equivalences(fenetre_.session(), t); });
  gv->addWidget(equiv, r++, 1);

  gv->addWidget(etiquette("Label30", QStringLiteral("valeur NA"), v), r, 0);
  auto* na = new QWidget(v);
  auto* hna = rangee(na);
  hna->addWidget(edit_entree("Edit_NA", &Description::texte_na, na, 54));
  hna->addWidget(etiquette("Label36", QStringLiteral("min"), na));
  bornes_na_[0] = controles_.edit("Edit_min_na", &Description::min_na, na);
  hna->addWidget(bornes_na_[0], 1);
  hna->addWidget(etiquette("Label31", QStringLiteral("max"), na));
  bornes_na_[1] = controles_.edit("Edit_max_na", &Description::max_na, na);
  hna->addWidget(bornes_na_[1], 1);
  for (QLineEdit* borne : bornes_na_)
    connect(borne, &QLineEdit::textEdited, this, [this] { colorer_bornes_na(); });
  gv->addWidget(na, r++, 1);

  gv->addWidget(etiquette("Label2", QStringLiteral("intitulés d'origine"), v), r, 0);
  edit_intitule_origine_ = new QLineEdit(v);
  edit_intitule_origine_->setObjectName(QStringLiteral("Edit_intitule_origine"));
  edit_intitule_origine_->setReadOnly(true);
  gv->addWidget(edit_intitule_origine_, r++, 1);

  gv->addWidget(
      controles_.case_a_cocher("CheckBox_int_col_alternatif", QStringLiteral("alternatifs"),
                               &Description::int_col_alternatif, v),
      r, 0);
  edit_alternatifs_ = controles_.edit("Edit_new_desc_colonne", &Description::new_desc_colonne, v);
  edit_alternatifs_->installEventFilter(this);
  // Enter lists the files again; leaving the box does when the description was modified.
  controles_.valider_en_sortie(edit_alternatifs_, [this](const std::string&, bool entree) {
    if (!valider_intitules_alternatifs(fenetre_.session(), entree)) return;
    QTimer::singleShot(0, this, [this] {
      fenetre_.etape_listage([this] { lister_fichiers_donnees(fenetre_.session()); });
    });
  });
  gv->addWidget(edit_alternatifs_, r++, 1);
}

void RegionDescription::construire_colonnes_extraites(QGridLayout* gv, int& r) {
  QWidget* v = gv->parentWidget();
  gv->addWidget(
      controles_.case_a_cocher("CheckBox_col_cochee",
                               QStringLiteral("n'extraire que les colonnes suivantes  (ex 7,12)"),
                               &Description::col_cochee, v),
      r++, 0, 1, 2);
  auto* extraire = new QWidget(v);
  auto* he = rangee(extraire);
  auto* col_cochee =
      controles_.edit("Edit_col_cochee", &Description::col_cochee_liste, extraire, 90);
  connect(col_cochee, &QLineEdit::textEdited, this, [this] {
    rafraichir_titres_colonnes(fenetre_.session());
    fenetre_.afficher_etiquettes();
  });
  controles_.valider_en_sortie(col_cochee, [this](const std::string& t, bool entree) {
    valider_colonnes_saisies(fenetre_.session(), t, entree);
  });
  he->addWidget(col_cochee);
  auto* titres_col = etiquette("Label_col_alternatives", QStringLiteral("---"), extraire);
  titres_col->setStyleSheet(QStringLiteral("color: rgb(0,0,160);"));
  titres_col->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  he->addWidget(titres_col, 1);
  gv->addWidget(extraire, r++, 0, 1, 2);
}

QWidget* RegionDescription::construire_decalage(QWidget* v) {
  panneau_decalage_ = new QWidget(v);
  panneau_decalage_->setObjectName(QStringLiteral("Panel_decalage"));
  auto* gdec = grille(panneau_decalage_);
  auto* tete = new QWidget(panneau_decalage_);
  auto* htd = rangee(tete);
  htd->addWidget(etiquette("Label69", QStringLiteral("décalage"), tete));
  htd->addWidget(controles_.case_a_cocher(
      "CheckBox_decalage_actif", QStringLiteral("activer le décalage mesure"),
      &Description::decalage_actif, tete, [this](bool) { peindre_decalage_derive(); }));
  htd->addStretch(1);
  gdec->addWidget(tete, 0, 0);
  auto* reglage = new QWidget(panneau_decalage_);
  auto* hdec = rangee(reglage);
  auto* plus = new QRadioButton(QStringLiteral("+"), reglage);
  plus->setObjectName(QStringLiteral("RadioButton_decalage_positif"));
  auto* moins = new QRadioButton(QStringLiteral("-"), reglage);
  moins->setObjectName(QStringLiteral("RadioButton_decalage_negatif"));
  auto* signe = new QButtonGroup(panneau_decalage_);
  signe->addButton(plus, 0);
  signe->addButton(moins, 1);
  connect(signe, &QButtonGroup::idClicked, this, [this](int i) {
    choisir_signe_decalage(fenetre_.session(), i == 0);
    rafraichir_indicateur();
  });
  controles_.lier([this, plus, moins, signe] {
    const Description& d = fenetre_.session().description;
    signe->setExclusive(false);
    plus->setChecked(d.decalage_positif);
    moins->setChecked(d.decalage_negatif);
    signe->setExclusive(true);
  });
  hdec->addWidget(plus);
  hdec->addWidget(moins);
  jours_decalage_ = new QSpinBox(reglage);
  jours_decalage_->setObjectName(QStringLiteral("SpinEdit_decalage_jour"));
  jours_decalage_->setRange(0, 400);
  connect(jours_decalage_, &QSpinBox::valueChanged, this,
          [this](int j) { fenetre_.session().decalage_jours = j; });
  hdec->addWidget(jours_decalage_);
  hdec->addWidget(etiquette("Label20", QStringLiteral("j"), reglage));
  hdec->addWidget(controles_.heure("TimePicker_decalage", &Description::decalage, reglage));
  hdec->addStretch(1);
  gdec->addWidget(reglage, 1, 0);
  return panneau_decalage_;
}

QWidget* RegionDescription::construire_derive(QWidget* v) {
  panneau_derive_ = new QWidget(v);
  panneau_derive_->setObjectName(QStringLiteral("Panel_derive"));
  QWidget* p = panneau_derive_;
  auto* gd = grille(p);
  auto* tete = new QWidget(p);
  auto* htv = rangee(tete);
  htv->addWidget(etiquette("Label24", QStringLiteral("dérive"), tete));
  htv->addWidget(controles_.case_a_cocher(
      "CheckBox_derive_active", QStringLiteral("activer la dérive mesure"),
      &Description::derive_active, tete, [this](bool) { peindre_decalage_derive(); }));
  htv->addStretch(1);
  gd->addWidget(tete, 0, 0, 1, 5);
  gd->addWidget(texte(QStringLiteral("heure lue"), p), 1, 0);
  gd->addWidget(controles_.heure("TimePicker_derive_erronee", &Description::derive_erronee, p), 1,
                1);
  gd->addWidget(texte(QStringLiteral("heure vraie"), p), 1, 2);
  gd->addWidget(controles_.heure("TimePicker_derive_reelle", &Description::derive_reelle, p), 1, 3);
  gd->addWidget(texte(QStringLiteral("constat le"), p), 2, 0);
  gd->addWidget(
      controles_.date_heure("DateTimePicker_constat_derive", &Description::constat_derive, p), 2, 1,
      1, 2);
  gd->addWidget(texte(QStringLiteral("depuis le"), p), 3, 0);
  gd->addWidget(controles_.date_heure("DateTimePicker_debut_derive", &Description::debut_derive, p),
                3, 1, 1, 2);
  gd->setColumnStretch(4, 1);
  return p;
}

// ---------------------------------------------------------------- bringing the controls in line

void RegionDescription::afficher() {
  const Session& s = fenetre_.session();
  for (int i = 0; i < 3; ++i)
    labels_rep_[i]->fixerChemin(qs(s.etiquette_repertoire(kRepertoires[i])));
  for (int i = 0; i < 3; ++i)
    boutons_rep_[i]->setToolTip(qs(s.etiquette_repertoire(kRepertoires[i])));
  label_description_->setText(qs(s.nom_description));
  label_description_->setToolTip(qs(s.description.dossier_description + s.nom_description));
  edit_intitule_origine_->setText(qs(s.intitule_origine));
  {
    QSignalBlocker b(jours_decalage_);
    jours_decalage_->setValue(s.decalage_jours);
  }
  colorer_bornes_na();
}

void RegionDescription::afficher_visibilites() {
  const Description& d = fenetre_.session().description;
  ligne_intitule_->setVisible(d.avec_sans_intitule == Intitules::avec);
  une_colonne_->setVisible(d.datetime_nb_col != ColonnesDate::deux);
  deux_colonnes_->setVisible(d.datetime_nb_col == ColonnesDate::deux);
  balises_->setVisible(d.numlig_balise == DebutDonnees::balises);
  excel_->setVisible(source_du_masque(d.masque) == SourceDonnees::excel);
  peindre_decalage_derive();
}

void RegionDescription::rafraichir_indicateur() {
  const Indicateur i = indicateur_modification(fenetre_.session());
  fixer_etat(bouton_enregistrer_, i.enregistrer_rouge ? "rouge" : "");
  fixer_etat(bouton_enregistrer_sous_, i.enregistrer_sous_rouge ? "rouge" : "");
}

void RegionDescription::afficher_attente() {
  const bool attente = !label_patientez_->text().isEmpty();
  if (label_patientez_->isHidden() == attente) label_patientez_->setVisible(attente);
}

void RegionDescription::cacher_decimal_entree() {
  groupe_decimal_entree_->hide();
}

void RegionDescription::peindre_decalage_derive() {
  const Description& d = fenetre_.session().description;
  const char* decalage = d.decalage_actif ? "oui" : "non";
  const char* derive = d.derive_active ? "oui" : "non";
  if (panneau_decalage_->property("actif").toString() == QLatin1String(decalage) &&
      panneau_derive_->property("actif").toString() == QLatin1String(derive))
    return;
  panneau_decalage_->setProperty("actif", QString::fromLatin1(decalage));
  panneau_derive_->setProperty("actif", QString::fromLatin1(derive));
  // The style sheet depends on the panels' state: applying it again repaints them.
  fenetre_.reappliquer_style();
}

void RegionDescription::colorer_bornes_na() {
  for (QLineEdit* e : bornes_na_) {
    const QString teinte =
        e->text().trimmed().isEmpty() ? QStringLiteral("c1") : QStringLiteral("c4");
    if (e->property("teinte").toString() == teinte) continue;
    e->setProperty("teinte", teinte);
    e->style()->unpolish(e);
    e->style()->polish(e);
  }
}

// ---------------------------------------------------------------- reactions

void RegionDescription::sur_masque_modifie(const QString& t) {
  changer_masque(fenetre_.session(), ss(t));
  fenetre_.afficher_legende_lister();
  afficher_visibilites();
  rafraichir_indicateur();
}

bool RegionDescription::eventFilter(QObject* o, QEvent* e) {
  if (o == edit_masque_ && e->type() == QEvent::KeyPress) {
    // The user types the extension only.
    const QString t = static_cast<QKeyEvent*>(e)->text();
    if (t.size() == 1 && t[0].unicode() < 128 &&
        caractere_refuse_masque(static_cast<char>(t[0].unicode())))
      return true;
  }
  if (o == edit_alternatifs_ && e->type() == QEvent::MouseButtonDblClick) {
    recuperer_intitule_origine(fenetre_.session());
    fenetre_.afficher_description();
    fenetre_.afficher_etiquettes();
    rafraichir_indicateur();
    return true;
  }
  return QGroupBox::eventFilter(o, e);
}

// ---------------------------------------------------------------- the directory chooser

void RegionDescription::sur_bouton_repertoire(Repertoire quel) {
  const auto maintenant = std::chrono::steady_clock::now();
  if (maintenant - dernier_clic_repertoire_ < std::chrono::milliseconds(500)) return;
  dernier_clic_repertoire_ = maintenant;
  if (choix_rep_->isVisible() && choix_rep_->actif() == quel) {
    fermer_choix_repertoire();
    return;
  }
  ouvrir_choix_repertoire(quel);
}

void RegionDescription::ouvrir_choix_repertoire(Repertoire quel) {
  Session& s = fenetre_.session();
  for (QPushButton* b : boutons_rep_) fixer_etat(b, "");
  const int i = static_cast<int>(quel);
  fixer_etat(boutons_rep_[i], "rouge");
  const std::string depart = repertoire_depart_choix(s, quel);
  choix_rep_->ouvrir(quel, qs("choix : " + legende_choix_repertoire(quel)), qs(depart));
  placer_panneau(choix_rep_, labels_rep_[i], 760, 430);
  choix_rep_->raise();
  if (quel == Repertoire::donnees) {
    proposer_masque(s, ss(choix_rep_->dossier()));
    fenetre_.afficher_description();
    fenetre_.afficher_etiquettes();
    rafraichir_indicateur();
  }
}

void RegionDescription::fermer_choix_repertoire() {
  choix_rep_->cacher_recents();
  choix_rep_->hide();
  for (QPushButton* b : boutons_rep_) fixer_etat(b, "");
  fixer_etat(boutons_rep_[0], "marron");
}

void RegionDescription::sur_valider_repertoire() {
  const Repertoire quel = choix_rep_->actif();
  const std::string dossier = ss(choix_rep_->dossier());
  choix_rep_->cacher_recents();
  choix_rep_->hide();
  fenetre_.etape_listage(
      [this, quel, &dossier] { valider_choix_repertoire(fenetre_.session(), quel, dossier); });
  fermer_choix_repertoire();
}

void RegionDescription::sur_recents() {
  if (choix_rep_->recents_visibles()) {
    choix_rep_->cacher_recents();
    placer_panneau(choix_rep_, nullptr, 760, 430);
    return;
  }
  Session& s = fenetre_.session();
  charger_repertoires_recents(s);
  QStringList l;
  for (const auto& e : s.repertoires_recents) l << qs(e);
  choix_rep_->montrer_recents(l);
  placer_panneau(choix_rep_, nullptr, 760 + 700, 430);
}

void RegionDescription::sur_recent_choisi(const QString& entree) {
  switch (choisir_repertoire_recent(fenetre_.session(), choix_rep_->actif(), ss(entree))) {
    case IssueRecent::choisi:
    case IssueRecent::liste_effacee:
      fermer_choix_repertoire();
      break;
    case IssueRecent::rien:
      break;
  }
  fenetre_.rafraichir();
}

}  // namespace tamso
