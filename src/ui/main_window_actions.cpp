// What the main window does: bringing its controls in line with the
// session, the stages, the description file, the directories, the file
// table, the help, the start-up and leaving the program.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QTimeEdit>
#include <QTimer>

#include "app/clipboard_commands.h"
#include "app/setting_edits.h"
#include "app/startup.h"
#include "app/description_files.h"
#include "app/program_files.h"
#include "input/dates.h"
#include "input/files.h"
#include "app/listing.h"
#include "input/text.h"
#include "processing/period.h"
#include "app/period_commands.h"
#include "app/run.h"
#include "processing/timestamp_list.h"
#include "app/file_table_commands.h"
#include "app/window_changes.h"
#include "results/results_writer.h"
#include "ui/directory_panel.h"
#include "ui/file_table_view.h"
#include "ui/help_texts.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace tamso {

namespace {

QColor bleu() { return QColor(0, 0, 200); }
QColor rouge() { return QColor(220, 0, 0); }

void texte_si_change(QLabel* l, const QString& t) {
  if (l->text() != t) l->setText(t);
}

}  // namespace

// ---------------------------------------------------------------- bringing the controls in line

void FenetrePrincipale::rafraichir() {
  afficher_description();
  afficher_periode();
  afficher_etiquettes();
  afficher_journal();
  afficher_visibilites();
  afficher_table();
  afficher_liste_horodatee();
  appliquer_couleurs();
  rafraichir_indicateur();
  setWindowTitle(qs(session_.legende_fenetre));
}

void FenetrePrincipale::afficher_description() {
  for (auto& liaison : liaisons_) liaison();
  const Description& d = session_.description;
  label_repertoire_->fixerChemin(qs(session_.etiquette_repertoire(Repertoire::donnees)));
  label_rep_description_->fixerChemin(qs(session_.etiquette_repertoire(Repertoire::description)));
  label_rep_sortie_->fixerChemin(qs(session_.etiquette_repertoire(Repertoire::sortie)));
  bouton_rep_[0]->setToolTip(qs(session_.etiquette_repertoire(Repertoire::donnees)));
  bouton_rep_[1]->setToolTip(qs(session_.etiquette_repertoire(Repertoire::description)));
  bouton_rep_[2]->setToolTip(qs(session_.etiquette_repertoire(Repertoire::sortie)));
  label_description_->setText(qs(session_.nom_description));
  label_description_->setToolTip(
      qs(session_.description.dossier_description + session_.nom_description));
  edit_intitule_origine_->setText(qs(session_.intitule_origine));
  bouton_lister_->setText(qs(session_.legende_bouton_lister()));
  switch (source_du_masque(d.masque)) {
    case SourceDonnees::excel:
      bouton_lister_->setToolTip(
          QStringLiteral(" ci-dessous le fichier XLS ciblé du répertoire de données "));
      break;
    case SourceDonnees::presse_papier:
      bouton_lister_->setToolTip(
          QStringLiteral(" ci-dessous le fichier temporaire issu du presse-papier "));
      break;
    case SourceDonnees::repertoire:
      bouton_lister_->setToolTip(
          QStringLiteral(" lister ci-dessous les fichiers du répertoire de données "));
      break;
  }
  auto* min_dsc = racine_->findChild<QLabel*>(QStringLiteral("Label_min_dsc"));
  auto* max_dsc = racine_->findChild<QLabel*>(QStringLiteral("Label_max_dsc"));
  auto* pas_dsc = racine_->findChild<QLabel*>(QStringLiteral("Label_pas_dsc"));
  texte_si_change(min_dsc, qs(d.min_dsc));
  texte_si_change(max_dsc, qs(d.max_dsc));
  texte_si_change(pas_dsc, qs(d.pas_dsc));
  {
    QSignalBlocker b(jours_decalage_);
    jours_decalage_->setValue(session_.decalage_jours);
  }
  colorer_bornes_na();
}

void FenetrePrincipale::afficher_periode() {
  const Periode& p = session_.periode;
  const QDateTime debut = date_heure_qt(valeur_debut(p));
  const QDateTime fin = date_heure_qt(valeur_fin(p));
  for (QWidget* w : std::initializer_list<QWidget*>{date_deb_, heure_deb_, date_fin_, heure_fin_,
                                                    heure_pas_, nb_pas_})
    w->blockSignals(true);
  date_deb_->setDate(debut.date());
  heure_deb_->setTime(debut.time());
  date_fin_->setDate(fin.date());
  heure_fin_->setTime(fin.time());
  heure_pas_->setTime(heure_qt(p.pas));
  nb_pas_->setValue(p.nb_pas);
  for (QWidget* w : std::initializer_list<QWidget*>{date_deb_, heure_deb_, date_fin_, heure_fin_,
                                                    heure_pas_, nb_pas_})
    w->blockSignals(false);
  if (QAbstractButton* b = groupe_unite_->button(p.unite)) b->setChecked(true);
  if (QAbstractButton* b = groupe_test_->button(p.test_date)) b->setChecked(true);

  const auto label = [this](const char* nom) {
    return racine_->findChild<QLabel*>(QString::fromLatin1(nom));
  };
  texte_si_change(label("Label_temps_deb"), qs(p.debut));
  texte_si_change(label("Label_temps_fin"), qs(p.fin));
  texte_si_change(label("Label_jour_semaine_deb"), qs(jour_semaine_debut(p)));
  texte_si_change(label("Label_jour_semaine_fin"), qs(jour_semaine_fin(p)));
  QLabel* resume = label("Label25");
  texte_si_change(resume, qs(p.resume_lignes));
  QPalette pal = resume->palette();
  pal.setColor(QPalette::WindowText, p.resume_negatif ? rouge() : bleu());
  resume->setPalette(pal);
  texte_si_change(label("Label_nr_final"), qs(session_.liste_horodatee.nr_final));

  const bool horaire = p.unite == kUniteHeure;
  heure_pas_->setVisible(horaire);
  racine_->findChild<QPushButton*>(QStringLiteral("SpeedButton_pas"))->setVisible(horaire);
  nb_pas_->setVisible(!horaire);
  unite_pas_->setVisible(!horaire);
  static const char* kUnites[] = {"", "jour", "mois", "année"};
  if (p.unite >= 0 && p.unite <= 3) unite_pas_->setText(QString::fromUtf8(kUnites[p.unite]));
  afficher_liste_horodatee();
}

void FenetrePrincipale::afficher_etiquettes() {
  for (const auto& [nom, texte_label] : session_.etiquettes) {
    if (nom.find('.') != std::string::npos) continue;
    if (auto* l = racine_->findChild<QLabel*>(qs(nom))) texte_si_change(l, qs(texte_label));
  }
  if (auto* l = racine_->findChild<QLabel*>(QStringLiteral("Label_date_min"))) {
    const auto it = session_.etiquettes.find("Label_date_min.couleur");
    const bool rouge_date = it != session_.etiquettes.end() && it->second == "rouge";
    l->setStyleSheet(rouge_date ? QStringLiteral("color: rgb(220,0,0);")
                                : QStringLiteral("color: rgb(0,0,200);"));
    if (auto* m = racine_->findChild<QLabel*>(QStringLiteral("Label_date_max")))
      m->setStyleSheet(l->styleSheet());
  }
  if (!session_.apercu.empty() || !apercu_->document()->isEmpty()) {
    QStringList lignes;
    for (const auto& l : session_.apercu) lignes << qs(l);
    const QString t = lignes.join(QLatin1Char('\n'));
    if (apercu_->toPlainText() != t) apercu_->setPlainText(t);
  }
  label_durees_->setText(qs(session_.etiquette("Label6")));
}

void FenetrePrincipale::afficher_journal() {
  const auto& lignes = session_.journal.lignes();
  if (lignes.size() < lignes_journal_affichees_) {
    journal_->clear();
    lignes_journal_affichees_ = 0;
  }
  if (lignes.size() == lignes_journal_affichees_) return;
  QStringList nouvelles;
  for (std::size_t i = lignes_journal_affichees_; i < lignes.size(); ++i)
    nouvelles << qs(lignes[i]);
  journal_->appendPlainText(nouvelles.join(QLatin1Char('\n')));
  lignes_journal_affichees_ = lignes.size();
  journal_->verticalScrollBar()->setValue(journal_->verticalScrollBar()->maximum());
}

void FenetrePrincipale::afficher_visibilites() {
  const Description& d = session_.description;
  ligne_intitule_->setVisible(d.avec_sans_intitule == 0);
  une_colonne_->setVisible(d.datetime_nb_col != 1);
  deux_colonnes_->setVisible(d.datetime_nb_col == 1);
  balises_->setVisible(d.numlig_balise == 1);
  excel_->setVisible(source_du_masque(d.masque) == SourceDonnees::excel);
  peindre_decalage_derive();
}

void FenetrePrincipale::afficher_table() {
  modele_->recharger();
  if (table_->property("largeurs").toBool()) return;
  // Widths of the table's columns, wide enough for their titles.
  const auto& largeurs = TableFichiers::largeurs();
  const QFontMetrics fm(table_->horizontalHeader()->font());
  for (int c = 0; c < TableFichiers::kNbColonnes && c < static_cast<int>(largeurs.size()); ++c) {
    const int titre = fm.horizontalAdvance(qs(session_.table.cellule(c, 0))) + 14;
    table_->setColumnWidth(c, std::max(largeurs[static_cast<std::size_t>(c)], titre));
  }
  table_->setProperty("largeurs", true);
}

void FenetrePrincipale::afficher_liste_horodatee() {
  static_cast<ModeleListeHorodatee*>(liste_horodatee_->model())->recharger();
}

void FenetrePrincipale::appliquer_couleurs() {
  const auto& c = session_.couleurs;
  const QString c1 = couleur_css(c[0]), c2 = couleur_css(c[1]), c3 = couleur_css(c[2]),
                c4 = couleur_css(c[3]);
  QPalette pal = contenu_->palette();
  pal.setColor(QPalette::Window, couleur_qt(c[0]));
  contenu_->setPalette(pal);
  defilement_->viewport()->setPalette(pal);
  QString css = QStringLiteral(
                    "QWidget#contenu, QWidget#racine { background: %1; }"
                    "QGroupBox { border: 1px solid rgba(0,0,0,60); border-radius: 4px; "
                    "margin-top: 8px; padding-top: 2px; }"
                    "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 3px; }"
                    "QGroupBox#Cadre1, QGroupBox#Cadre3, QGroupBox#Cadre5 { border: 3px solid "
                    "rgb(255,91,13); border-radius: 6px; margin-top: 11px; font-weight: bold; }"
                    "QGroupBox#Cadre2, QGroupBox#Cadre4 { border: 3px solid rgb(0,0,255); "
                    "border-radius: 6px; margin-top: 11px; font-weight: bold; }"
                    "QGroupBox#Cadre1::title, QGroupBox#Cadre3::title, QGroupBox#Cadre5::title "
                    "{ color: rgb(255,91,13); font-size: 11pt; }"
                    "QGroupBox#Cadre2::title, QGroupBox#Cadre4::title { color: rgb(0,0,255); "
                    "font-size: 11pt; }"
                    "QGroupBox#Cadre1 QWidget, QGroupBox#Cadre2 QWidget, QGroupBox#Cadre3 QWidget,"
                    " QGroupBox#Cadre4 QWidget, QGroupBox#Cadre5 QWidget { font-weight: normal; }"
                    "QPushButton { background: %2; border: 1px solid rgba(0,0,0,70); "
                    "border-radius: 3px; padding: 2px 7px; }"
                    "QPushButton:hover { border: 1px solid rgba(0,0,0,170); }"
                    "QPushButton:pressed { background: rgba(0,0,0,40); }"
                    "QPushButton:disabled { color: rgb(150,150,150); }"
                    "QPushButton[etat=\"rouge\"] { color: rgb(220,0,0); }"
                    "QPushButton[etat=\"bleu\"] { color: rgb(0,0,200); }"
                    "QPushButton[etat=\"violet\"] { color: rgb(128,0,128); }"
                    "QPushButton[etat=\"gris\"] { color: rgb(150,150,150); }"
                    "QPushButton[etat=\"marron\"] { color: rgb(128,0,0); }"
                    "QLineEdit, QPlainTextEdit, QListWidget, QTableView, QDateEdit, QTimeEdit, "
                    "QDateTimeEdit, QSpinBox, QComboBox, QTreeView { background: %3; }"
                    "QLineEdit[teinte=\"c4\"], QPlainTextEdit#Memo2 { background: %4; }"
                    "QLineEdit[teinte=\"c1\"] { background: %1; }"
                    "QLabel[teinte=\"c2\"] { background: %2; color: rgb(0,0,200); padding: 1px 3px;"
                    " border-radius: 2px; }"
                    "QLineEdit#Edit_intitule_origine { color: rgb(90,90,90); }"
                    "QWidget[actif=\"oui\"] QTimeEdit, QWidget[actif=\"oui\"] QDateTimeEdit, "
                    "QWidget[actif=\"oui\"] QSpinBox { background: %2; color: rgb(0,0,139); "
                    "font-weight: bold; }"
                    "QWidget[actif=\"non\"] QTimeEdit, QWidget[actif=\"non\"] QDateTimeEdit, "
                    "QWidget[actif=\"non\"] QSpinBox { background: rgb(240,240,230); "
                    "color: rgb(140,140,140); }"
                    "QWidget#Panel_decalage QRadioButton { color: rgb(128,0,0); }"
                    "QHeaderView::section { background: palette(window); color: rgb(128,0,0); "
                    "border: 0; border-right: 1px solid rgba(0,0,0,50); "
                    "border-bottom: 1px solid rgba(0,0,0,80); padding: 2px 3px; }")
                    .arg(c1, c2, c3, c4);
  if (racine_->styleSheet() != css) racine_->setStyleSheet(css);
  const QString panneaux = QStringLiteral(
                               "QFrame#Panel1, QFrame#Panel_choix_repertoire, QFrame#Panel_coche,"
                               " QFrame#Panel_couleurs, QFrame#Panel_resume_dsc { background: %1; "
                               "border: 2px solid rgba(0,0,0,110); border-radius: 5px; }"
                               "QPushButton { background: %2; border: 1px solid rgba(0,0,0,70); "
                               "border-radius: 3px; padding: 3px 8px; }"
                               "QPushButton:hover { border: 1px solid rgba(0,0,0,170); }"
                               "QPlainTextEdit, QListWidget, QTreeView, QLineEdit, QComboBox "
                               "{ background: %3; }")
                               .arg(c2, c1, c3);
  for (QWidget* p :
       std::initializer_list<QWidget*>{suivi_, choix_rep_, panneau_coche_, couleurs_, resume_})
    if (p->styleSheet() != panneaux) p->setStyleSheet(panneaux);
  table_->viewport()->update();
}

void FenetrePrincipale::rafraichir_indicateur() {
  const Indicateur i = indicateur_modification(session_);
  fixer_etat(bouton_enregistrer_, i.enregistrer_rouge ? "rouge" : "");
  fixer_etat(bouton_enregistrer_sous_, i.enregistrer_sous_rouge ? "rouge" : "");
}

void FenetrePrincipale::peindre_decalage_derive() {
  const char* decalage = session_.description.decalage_actif ? "oui" : "non";
  const char* derive = session_.description.derive_active ? "oui" : "non";
  if (panneau_decalage_->property("actif").toString() == QLatin1String(decalage) &&
      panneau_derive_->property("actif").toString() == QLatin1String(derive))
    return;
  panneau_decalage_->setProperty("actif", QString::fromLatin1(decalage));
  panneau_derive_->setProperty("actif", QString::fromLatin1(derive));
  // The style sheet depends on the panels' state: applying it again repaints them.
  const QString css = racine_->styleSheet();
  racine_->setStyleSheet(QString());
  racine_->setStyleSheet(css);
}

void FenetrePrincipale::colorer_bornes_na() {
  for (const char* nom : {"Edit_min_na", "Edit_max_na"}) {
    auto* e = racine_->findChild<QLineEdit*>(QString::fromLatin1(nom));
    const QString teinte =
        e->text().trimmed().isEmpty() ? QStringLiteral("c1") : QStringLiteral("c4");
    if (e->property("teinte").toString() == teinte) continue;
    e->setProperty("teinte", teinte);
    e->style()->unpolish(e);
    e->style()->polish(e);
  }
}

// ---------------------------------------------------------------- port services

void FenetrePrincipale::afficher_progression(const std::string& texte, int phase) {
  // The durations line (Label6) changes at most once a second: the stage
  // text is redrawn only then.
  const QString ligne = qs(session_.etiquette("Label6"));
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
  } else if (phase >= 1 && phase <= 3 && occupe_) {
    barre_->setRange(0, 0);
  } else {
    barre_->setRange(0, 100);
    barre_->setValue(0);
  }
  laisser_vivre();
}

bool FenetrePrincipale::laisser_vivre() {
  const auto maintenant_ = std::chrono::steady_clock::now();
  if (maintenant_ - dernier_pompage_ >= std::chrono::milliseconds(40)) {
    dernier_pompage_ = maintenant_;
    afficher_etiquettes();
    afficher_journal();
    if (modele_->rowCount() != std::max(0, session_.table.nb_lignes() - 1)) modele_->recharger();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
  }
  return session_.arret;
}

// ---------------------------------------------------------------- help

void FenetrePrincipale::afficher_lignes_aide(const std::vector<std::string>& lignes) {
  QStringList l;
  for (const auto& t : lignes) l << qs(t);
  QTextDocument* doc = aide_->document();
  if (doc->blockCount() == l.size()) {
    // Only the lines that differ are replaced, so that the box does not flicker.
    for (int i = 0; i < l.size(); ++i) {
      QTextBlock b = doc->findBlockByNumber(i);
      if (b.text() == l[i]) continue;
      QTextCursor cur(b);
      cur.select(QTextCursor::LineUnderCursor);
      cur.insertText(l[i]);
    }
  } else {
    aide_->setPlainText(l.join(QLatin1Char('\n')));
  }
  if (!session_.description.aide_flottante) return;
  QStringList flottantes;
  int largeur = 150;
  for (QString t : l) {
    if (!t.isEmpty() && t[0].isDigit()) t.replace(0, 2, QStringLiteral("  "));
    flottantes << t;
    largeur = std::max(largeur, aide_flottante_->fontMetrics().horizontalAdvance(t));
  }
  aide_flottante_->setText(flottantes.join(QLatin1Char('\n')));
  const int w = largeur * 11 / 10 + 10;
  const int h = aide_flottante_->fontMetrics().lineSpacing() * static_cast<int>(l.size()) + 15;
  QPoint p = racine_->mapFromGlobal(QCursor::pos()) + QPoint(0, 20);
  p.setX(std::max(0, std::min(p.x(), racine_->width() - w - 20)));
  p.setY(std::max(0, std::min(p.y(), racine_->height() - h - 150)));
  aide_flottante_->setGeometry(p.x(), p.y(), w, h);
  aide_flottante_->show();
  aide_flottante_->raise();
}

void FenetrePrincipale::afficher_aide(QWidget* w) {
  for (QWidget* c = w; c && c != this; c = c->parentWidget()) {
    const std::string nom = ss(c->objectName());
    if (nom.empty()) continue;
    const Session& s = session_;
    if (nom == "SpeedButton_editer_resultats") {
      afficher_lignes_aide({"29-  Visualisation  des résultats dans le blocnote favori (" +
                                s.description.name_prog_blocnote + ")",
                            "     ", "", "", "",
                            "     note: Ces résultats sont actuellement déjà copiés "
                            "automatiquement dans le presse-papier"});
      return;
    }
    if (nom == "SpeedButton_fichier_suivi") {
      afficher_lignes_aide({"29-  Visualisation du suivi  dans le blocnote favori (" +
                                s.description.name_prog_blocnote + ")",
                            ""});
      return;
    }
    if (nom == "SpeedButton_exit") {
      std::vector<std::string> l = {"33-     Sortie", "", "", "", "", ""};
      if (s.description_modifiee)
        l[4] = " enregistrement automatique de la description dans " + s.nom_description;
      if (s.periode_modifiee) l[5] = " enregistrement de la nouvelle période et du pas";
      while (l.size() > 2 && l.back().empty()) l.pop_back();
      afficher_lignes_aide(l);
      return;
    }
    if (const LignesAide* a = aide_du_controle(nom)) {
      const int n = nombre_lignes_aide(*a);
      afficher_lignes_aide(std::vector<std::string>(a->begin(), a->begin() + n));
      return;
    }
    if (c == contenu_) {
      afficher_lignes_aide({"", ""});
      return;
    }
  }
}

void FenetrePrincipale::aide_tableau(int colonne, int ligne) {
  table_->setToolTip(QString());
  const std::string tri =
      "      ====>  un double-clik sur un intitulé de colonne => tri croissant / décroissant";
  if (ligne == 0) {
    afficher_lignes_aide({tri, ""});
    return;
  }
  const std::string titre = trim(session_.table.cellule(colonne, 0));
  std::vector<std::string> l;
  if (titre == "n") {
    l = {" indice du n° de fichier"};
  } else if (titre == "fichier") {
    const std::string nom = session_.table.cellule(colonne, ligne);
    l = {"       un double-clik pour éditer le fichier", "     " + nom, tri};
    table_->setToolTip(qs(nom));
  } else if (titre == "Station") {
    l = {" éventuellement extraite du nom du fichier ",
         "   =>  un clik droit permet de cocher/décocher un sous-ensemble en fonction du nom de la "
         "\"Station\""};
  } else if (titre == "date_NOM_Fichier") {
    l = {" date extraite du nom de fichier et affichée aaaa/mm/jj pour tri temporel ultérieur "};
  } else if (titre == "taille (Mo)") {
    l = {" place occupée sur le disque "};
  } else if (titre == "date dep") {
    l = {" date minimale dans chaque fichier ",
         "un double-click permet de la récupérer comme date de début"};
  } else if (titre == "date fin") {
    l = {" date maximale dans chaque fichier ",
         "un double-click permet de la récupérer comme date de fin"};
  } else if (titre == "n.données") {
    l = {" nombre de données lues dans ce fichier "};
  } else if (titre == "n.extraites") {
    l = {" nombre de données untilisées de ce fichier "};
  } else if (titre == "pas moyen observé") {
    l = {" pas moyen observé sur les données lues / pas minimum"};
  } else if (titre == "durée de traitement") {
    l = {" durée de lecture pour ce fichier "};
  } else if (titre == "correction") {
    l = {" correction effectuée sur les données ce fichier et le nombre de corrections effectuées ",
         "   si la ligne de données est antérieure à la précédente => + 1 jour",
         "   et si 2 dates successives sont identiques à la seconde près => + 1 seconde"};
  } else if (titre == "nb Colonnes") {
    l = {" nombre de colonnes effectives observée dans ce fichier "};
  } else if (titre == "n°Lig intitulés") {
    l = {" n° de la Ligne des intitulés de colonne dans ce fichier "};
  } else if (titre == "x") {
    l = {
        "                       double-clik pour marquer(x) ou démarquer( )      clik droit pour "
        "traiter un ensemble",
        "                           => si aucune croix alors tous les fichiers seront traités",
        "                           => si une ou plusieurs croix alors ne seront traités que les "
        "les marqués (x)"};
  } else {
    l = {"                          liste de fichiers",
         "  - Pour sélectionner entre la ligne courante et la fin de la sélection, rester appuyé "
         "sur Majuscule",
         "    et déplacer-vous avec l'ascenseur",
         "  - La dernière colonne permet de marquer individuellement le(s) fichier(s) à traiter "};
  }
  if (l.size() < 2) l.emplace_back();
  afficher_lignes_aide(l);
}

// ---------------------------------------------------------------- stages

void FenetrePrincipale::etape(QPushButton* b, const std::function<void()>& travail,
                              const char* etat_fin) {
  if (occupe_) return;
  occupe_ = true;
  session_.arret = false;
  fixer_etat(b, "rouge");
  fixer_etat(bouton_stop_, "");
  QApplication::setOverrideCursor(Qt::BusyCursor);
  aide_flottante_->hide();
  travail();
  QApplication::restoreOverrideCursor();
  occupe_ = false;
  fixer_etat(bouton_stop_, "gris");
  fixer_etat(b, etat_fin);
  barre_->setRange(0, 100);
  barre_->setValue(0);
  label_patienter_->clear();
  label_patienter_->hide();
  rafraichir();
}

void FenetrePrincipale::sur_lister() {
  session_.demarrer_phase(1);
  suivi_petit_->setChecked(true);
  if (suivi_->isVisible()) placer_suivi(false);
  etape(bouton_lister_, [this] {
    if (source_du_masque(session_.description.masque) == SourceDonnees::presse_papier &&
        !lire_presse_papier(session_))
      return;
    lister_fichiers_donnees(session_);
  });
}

void FenetrePrincipale::sur_creer_liste() {
  session_.demarrer_phase(2);
  etape(bouton_liste_, [this] { creer_liste_horodatee(session_); });
}

void FenetrePrincipale::sur_traiter() {
  suivi_grand_->setChecked(true);
  if (suivi_->isVisible()) placer_suivi(true);
  session_.resultats.arret_pc = arret_pc_->isChecked();
  bool ecrit = false;
  etape(
      bouton_traiter_, [this, &ecrit] { ecrit = traiter(session_); }, "violet");
  afficher_resultats();
  if (arret_pc_->isChecked() && ecrit) compte_a_rebours_extinction();
}

void FenetrePrincipale::sur_stop() {
  if (!occupe_) return;
  demander_arret(session_, true);
  if (session_.arret) QApplication::changeOverrideCursor(Qt::WaitCursor);
}

void FenetrePrincipale::sur_sauver() {
  if (occupe_) return;
  sauver_resultats(session_);
  rafraichir();
  afficher_resultats();
}

void FenetrePrincipale::sur_sans_col_date() {
  copier_sans_date(session_);
  afficher_resultats();
}

void FenetrePrincipale::afficher_resultats() {
  const EtatResultats& r = session_.resultats;
  const auto joindre = [](const LignesTexte& lignes) {
    QStringList l;
    l.reserve(static_cast<int>(lignes.size()));
    for (const std::string_view t : lignes)
      l << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    return l.join(QLatin1Char('\n'));
  };
  switch (r.vue) {
    case EtatResultats::Vue::fichier:
      afficher_fichier_resultats(qs(r.chemin_resultats));
      break;
    case EtatResultats::Vue::valeurs:
      resultats_sans_date_->setPlainText(joindre(r.lignes_valeurs));
      pile_resultats_->setCurrentWidget(resultats_sans_date_);
      vues_->setCurrentWidget(pile_resultats_);
      break;
    case EtatResultats::Vue::liste:
      if (r.lignes.empty()) {
        resultats_->clear();
        resultats_sans_date_->clear();
      } else {
        resultats_->setPlainText(joindre(r.lignes));
        pile_resultats_->setCurrentWidget(resultats_);
      }
      break;
  }
}

void FenetrePrincipale::afficher_fichier_resultats(const QString& chemin) {
  const auto lignes = lire_lignes_texte(ss(chemin));
  if (!lignes) return;
  QStringList l;
  for (const auto& t : *lignes) l << qs(t);
  resultats_->setPlainText(l.join(QLatin1Char('\n')));
  pile_resultats_->setCurrentWidget(resultats_);
  vues_->setCurrentWidget(pile_resultats_);
}

bool FenetrePrincipale::compte_a_rebours_extinction() {
  panneau_extinction_->setGeometry(std::max(0, (racine_->width() - 650) / 2), 80,
                                   std::min(650, racine_->width()), 200);
  panneau_extinction_->show();
  panneau_extinction_->raise();
  QElapsedTimer horloge;
  horloge.start();
  {
    QEventLoop attente;
    QTimer::singleShot(500, &attente, &QEventLoop::quit);
    attente.exec();
  }
  horloge.restart();
  extinction_annulee_ = false;
  compte_a_rebours_ = true;
  while (true) {
    const double ecoule = horloge.elapsed() / 60000.0;
    if (ecoule >= minutes_extinction_ || extinction_annulee_) break;
    label_minutes_->setText(
        qs(texte_compte_a_rebours(minutes_extinction_ - ecoule, session_.separateur_decimal())));
    QEventLoop attente;
    QTimer::singleShot(200, &attente, &QEventLoop::quit);
    attente.exec();
  }
  compte_a_rebours_ = false;
  panneau_extinction_->hide();
  if (extinction_annulee_) return false;
  port_->eteindre_ordinateur();
  return true;
}

// ---------------------------------------------------------------- description file

void FenetrePrincipale::sur_ouvrir_description() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ouvrir_description(session_);
  QApplication::restoreOverrideCursor();
  rafraichir();
}

void FenetrePrincipale::sur_enregistrer() {
  enregistrer_description(session_);
  rafraichir();
}

void FenetrePrincipale::sur_enregistrer_sous() {
  enregistrer_description_sous(session_);
  rafraichir();
}

void FenetrePrincipale::sur_nouveau() {
  nouvelle_description(session_);
  rafraichir();
}

void FenetrePrincipale::sur_resume() {
  if (!resume_dsc(session_, resume_dsc_)) {
    rafraichir();
    return;
  }
  label_resume_->setText(QStringLiteral("Résumé des DSC de ") +
                         qs(session_.description.dossier_description));
#ifndef _WIN32
  if (edit_prefixe_->text().isEmpty()) {
    QString racine = QStorageInfo(qs(session_.description.dossier_description)).rootPath();
    if (!racine.endsWith(QLatin1Char('/'))) racine += QLatin1Char('/');
    edit_prefixe_->setText(racine);
    edit_lecteur_->setText(racine);
  }
#else
  edit_lecteur_->setText(qs(resume_dsc_.lecteur));
#endif
  QStringList l;
  for (const auto& t : resume_dsc_.texte) l << qs(t);
  texte_resume_->setPlainText(l.join(QLatin1Char('\n')));
  resume_->setGeometry(20, 30, std::max(400, racine_->width() - 40),
                       std::min(712, std::max(300, racine_->height() - 60)));
  resume_->show();
  resume_->raise();
}

void FenetrePrincipale::sur_modifier_lecteur() {
  resume_dsc_.lecteur = ss(edit_lecteur_->text().trimmed());
#ifndef _WIN32
  resume_dsc_.prefixe_ancien = ss(edit_prefixe_->text().trimmed());
#endif
  resume_dsc_.texte.clear();
  changer_lecteur(session_, resume_dsc_);
  QStringList l;
  for (const auto& t : resume_dsc_.texte) l << qs(t);
  texte_resume_->setPlainText(l.join(QLatin1Char('\n')));
  rafraichir();
}

// ---------------------------------------------------------------- directories

void FenetrePrincipale::sur_bouton_repertoire(Repertoire quel) {
  const auto maintenant_ = std::chrono::steady_clock::now();
  if (maintenant_ - dernier_clic_repertoire_ < std::chrono::milliseconds(500)) return;
  dernier_clic_repertoire_ = maintenant_;
  if (choix_rep_->isVisible() && choix_rep_->actif() == quel) {
    fermer_choix_repertoire();
    return;
  }
  ouvrir_choix_repertoire(quel);
}

void FenetrePrincipale::ouvrir_choix_repertoire(Repertoire quel) {
  for (QPushButton* b : bouton_rep_) fixer_etat(b, "");
  const int i = static_cast<int>(quel);
  fixer_etat(bouton_rep_[i], "rouge");
  const std::string depart = repertoire_depart_choix(session_, quel);
  choix_rep_->ouvrir(quel, qs("choix : " + legende_choix_repertoire(quel)), qs(depart));
  QWidget* sous = i == 0   ? static_cast<QWidget*>(label_repertoire_)
                  : i == 1 ? static_cast<QWidget*>(label_rep_description_)
                           : static_cast<QWidget*>(label_rep_sortie_);
  placer_panneau(choix_rep_, sous, 760, 430);
  choix_rep_->raise();
  if (quel == Repertoire::donnees) {
    proposer_masque(session_, ss(choix_rep_->dossier()));
    afficher_description();
    afficher_etiquettes();
    rafraichir_indicateur();
  }
}

void FenetrePrincipale::fermer_choix_repertoire() {
  choix_rep_->cacher_recents();
  choix_rep_->hide();
  for (QPushButton* b : bouton_rep_) fixer_etat(b, "");
  fixer_etat(bouton_rep_[0], "marron");
}

void FenetrePrincipale::sur_valider_repertoire() {
  const Repertoire quel = choix_rep_->actif();
  const std::string dossier = ss(choix_rep_->dossier());
  choix_rep_->cacher_recents();
  choix_rep_->hide();
  etape(bouton_lister_,
        [this, quel, &dossier] { valider_choix_repertoire(session_, quel, dossier); });
  fermer_choix_repertoire();
}

void FenetrePrincipale::sur_recents() {
  if (choix_rep_->recents_visibles()) {
    choix_rep_->cacher_recents();
    placer_panneau(choix_rep_, nullptr, 760, 430);
    return;
  }
  charger_repertoires_recents(session_);
  QStringList l;
  for (const auto& e : session_.repertoires_recents) l << qs(e);
  choix_rep_->montrer_recents(l);
  placer_panneau(choix_rep_, nullptr, 760 + 700, 430);
}

void FenetrePrincipale::sur_recent_choisi(const QString& entree) {
  switch (choisir_repertoire_recent(session_, choix_rep_->actif(), ss(entree))) {
    case IssueRecent::choisi:
    case IssueRecent::liste_effacee:
      fermer_choix_repertoire();
      break;
    case IssueRecent::rien:
      break;
  }
  rafraichir();
}

void FenetrePrincipale::placer_panneau(QWidget* p, QWidget* sous, int largeur, int hauteur) {
  QWidget* parent = p->parentWidget();
  QPoint pos = p->pos();
  if (sous) pos = sous->mapTo(parent, QPoint(0, sous->height() + 2));
  largeur = std::min(largeur, parent->width() - 8);
  hauteur = std::min(hauteur, parent->height() - 8);
  pos.setX(std::max(4, std::min(pos.x(), parent->width() - largeur - 4)));
  pos.setY(std::max(4, std::min(pos.y(), parent->height() - hauteur - 4)));
  p->setGeometry(pos.x(), pos.y(), largeur, hauteur);
}

// ---------------------------------------------------------------- edits and options

void FenetrePrincipale::sur_entree() {
  if (!session_.description_modifiee) return;
  etape(bouton_lister_, [this] { valider_par_entree(session_); });
}

void FenetrePrincipale::sur_masque_modifie(const QString& t) {
  changer_masque(session_, ss(t));
  bouton_lister_->setText(qs(session_.legende_bouton_lister()));
  afficher_visibilites();
  rafraichir_indicateur();
}

void FenetrePrincipale::sur_unite_pas(int unite) {
  changer_unite(session_, unite);
  afficher_periode();
}

void FenetrePrincipale::sur_test_date(int test) {
  choisir_test_date(session_, test);
  afficher_resultats();
  afficher_periode();
  afficher_liste_horodatee();
}

void FenetrePrincipale::sur_schema_couleurs() {
  appliquer_couleurs();
  rafraichir_indicateur();
}

void FenetrePrincipale::sur_choisir_couleur(int numero) {
  const auto perso = couleurs_personnalisees(session_);
  std::vector<QColor> l;
  for (const auto& c : perso) l.push_back(couleur_qt(c));
  static const char* kTitres[] = {"couleur de fond", "couleur des boutons", "couleur des listes",
                                  "couleur de l'aide"};
  const auto choisie =
      port_->choisir_couleur(couleur_qt(session_.couleurs[static_cast<std::size_t>(numero - 1)]),
                             QString::fromUtf8(kTitres[numero - 1]), l);
  if (!choisie) return;
  choisir_couleur(session_, numero, Couleur{choisie->red(), choisie->green(), choisie->blue()});
  appliquer_couleurs();
  rafraichir_indicateur();
}

void FenetrePrincipale::sur_date_cliquee(const char* nom) {
  const auto* label = racine_->findChild<QLabel*>(QString::fromLatin1(nom));
  recuperer_date_cliquee(session_, nom, ss(label->text()));
  afficher_periode();
  rafraichir_indicateur();
}

// ---------------------------------------------------------------- file table

void FenetrePrincipale::sur_double_clic_tableau(int colonne, int ligne) {
  const int triee = double_clic_tableau(session_, colonne, ligne);
  afficher_table();
  afficher_periode();
  rafraichir_indicateur();
  if (triee >= 0) table_->selectRow(0);
}

void FenetrePrincipale::sur_clic_droit_tableau(int colonne, int ligne, QPoint global) {
  if (colonne != 3 && colonne != TableFichiers::kColonneMarque) return;
  if (panneau_coche_->isVisible()) {
    panneau_coche_->hide();
    return;
  }
  ligne_coche_ = ligne;
  const auto libelles = libelles_marquage(session_, ligne);
  for (std::size_t i = 0; i < choix_coche_.size() && i < libelles.size(); ++i) {
    choix_coche_[i]->setChecked(false);
    choix_coche_[i]->setText(qs(libelles[i]));
  }
  panneau_coche_->adjustSize();
  QWidget* parent = panneau_coche_->parentWidget();
  QPoint p = parent->mapFromGlobal(global);
  if (colonne == 3)
    p.setX(table_->mapTo(parent, QPoint(88, 0)).x());
  else
    p.setX(sans_confirmation_->mapTo(parent, QPoint(0, 0)).x() - 40);
  p.setX(std::max(0, std::min(p.x(), parent->width() - panneau_coche_->width())));
  p.setY(std::max(0, std::min(p.y(), parent->height() - panneau_coche_->height())));
  panneau_coche_->move(p);
  panneau_coche_->show();
  panneau_coche_->raise();
}

void FenetrePrincipale::sur_grand_tableau(bool grand) {
  cadres_[0]->setVisible(!grand);
  if (!grand && suivi_->isVisible()) suivi_->raise();
  QTimer::singleShot(0, this, [this] {
    if (suivi_->isVisible()) placer_suivi(suivi_grand_->isChecked());
  });
}

// ---------------------------------------------------------------- tracking log

void FenetrePrincipale::placer_suivi(bool grand) {
  const QRect t(table_->mapTo(suivi_->parentWidget(), QPoint(0, 0)), table_->size());
  const int hauteur = grand ? t.height() : std::min(135, t.height());
  suivi_->setGeometry(t.x(), t.bottom() - hauteur + 1, t.width(), hauteur);
}

// ---------------------------------------------------------------- start-up and leaving

void FenetrePrincipale::demarrer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  sequence_demarrage(session_, argument_);
  QApplication::restoreOverrideCursor();
  groupe_decimal_entree_->hide();
  demarrage_fait_ = true;
  rafraichir();
  placer_suivi(false);
  suivi_->show();
  suivi_->raise();
  if (choix_rep_->isVisible()) choix_rep_->raise();
}

void FenetrePrincipale::demander_quitter() {
  if (occupe_) return;
  choix_rep_->hide();
  couleurs_->hide();
  resume_->hide();
  fermer_choix_repertoire();
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
  if (e->key() == Qt::Key_Escape) {
    demander_quitter();
    return;
  }
  QMainWindow::keyPressEvent(e);
}

void FenetrePrincipale::keyReleaseEvent(QKeyEvent* e) {
  rafraichir_indicateur();
  QMainWindow::keyReleaseEvent(e);
}

void FenetrePrincipale::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (suivi_ && suivi_->isVisible() && demarrage_fait_)
    QTimer::singleShot(0, this, [this] { placer_suivi(suivi_grand_->isChecked()); });
}

bool FenetrePrincipale::eventFilter(QObject* o, QEvent* e) {
  auto* w = qobject_cast<QWidget*>(o);
  const bool chez_nous = w && w->window() == this;
  switch (e->type()) {
    case QEvent::KeyPress:
      if (compte_a_rebours_) {
        extinction_annulee_ = true;
        return true;
      }
      if (o == edit_masque_) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (t.size() == 1 && t[0].unicode() < 128 &&
            caractere_refuse_masque(static_cast<char>(t[0].unicode())))
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
          if (p == bouton_stop_) return false;
        if (e->type() == QEvent::Wheel) return false;
        return true;
      }
      if (e->type() == QEvent::MouseButtonDblClick && o->objectName() == "Edit_new_desc_colonne") {
        recuperer_intitule_origine(session_);
        afficher_description();
        afficher_etiquettes();
        rafraichir_indicateur();
        return true;
      }
      break;
    case QEvent::Enter:
      if (chez_nous && !occupe_ && demarrage_fait_) afficher_aide(w);
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(o, e);
}

}  // namespace tamso
