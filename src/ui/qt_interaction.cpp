#include "ui/qt_interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include "app/session.h"
#include "app/window_changes.h"
#include "app/window_colours.h"
#include "base/quotation.h"
#include "ui/main_window.h"
#include "ui/tone_player.h"
#include "ui/widgets.h"

namespace tamso {

InteractionQt::InteractionQt() = default;
InteractionQt::~InteractionQt() = default;

QWidget* InteractionQt::parent_dialogues() const {
  // Over the window the person works in: the main window or the graph window.
  if (QWidget* active = QApplication::activeWindow()) return active;
  return fenetre_;
}

Reponse InteractionQt::demander(TypeMessage type, const std::string& texte, Boutons boutons) {
  QMessageBox boite(parent_dialogues());
  boite.setTextFormat(Qt::PlainText);
  // A message built around a line of data shows the beginning of that line.
  boite.setText(qs(lignes_bornees(texte, kLongueurLigneMessage)));
  switch (type) {
    case TypeMessage::information:
      boite.setIcon(QMessageBox::Information);
      boite.setWindowTitle(QStringLiteral("Tamso - information"));
      break;
    case TypeMessage::avertissement:
      boite.setIcon(QMessageBox::Warning);
      boite.setWindowTitle(QStringLiteral("Tamso - attention"));
      break;
    case TypeMessage::erreur:
      boite.setIcon(QMessageBox::Critical);
      boite.setWindowTitle(QStringLiteral("Tamso - erreur"));
      break;
    case TypeMessage::confirmation:
      boite.setIcon(QMessageBox::Question);
      boite.setWindowTitle(QStringLiteral("Tamso - confirmation"));
      break;
  }
  std::vector<std::pair<QAbstractButton*, Reponse>> reponses;
  const auto ajouter = [&](const char* texte_bouton, QMessageBox::ButtonRole role, Reponse r) {
    QPushButton* b = boite.addButton(QString::fromUtf8(texte_bouton), role);
    reponses.emplace_back(b, r);
    return b;
  };
  QAbstractButton* echap = nullptr;
  switch (boutons) {
    case Boutons::ok:
      echap = ajouter("OK", QMessageBox::AcceptRole, Reponse::ok);
      break;
    case Boutons::oui_non:
      ajouter("Oui", QMessageBox::YesRole, Reponse::oui);
      echap = ajouter("Non", QMessageBox::NoRole, Reponse::non);
      break;
    case Boutons::oui_non_annuler:
      ajouter("Oui", QMessageBox::YesRole, Reponse::oui);
      ajouter("Non", QMessageBox::NoRole, Reponse::non);
      echap = ajouter("Annuler", QMessageBox::RejectRole, Reponse::annuler);
      break;
    case Boutons::oui_annuler:
      ajouter("Oui", QMessageBox::YesRole, Reponse::oui);
      echap = ajouter("Annuler", QMessageBox::RejectRole, Reponse::annuler);
      break;
    case Boutons::ok_annuler:
      ajouter("OK", QMessageBox::AcceptRole, Reponse::ok);
      echap = ajouter("Annuler", QMessageBox::RejectRole, Reponse::annuler);
      break;
    case Boutons::oui_ok:
      ajouter("Oui", QMessageBox::YesRole, Reponse::oui);
      echap = ajouter("OK", QMessageBox::AcceptRole, Reponse::ok);
      break;
    case Boutons::annuler:
      echap = ajouter("Annuler", QMessageBox::RejectRole, Reponse::annuler);
      break;
  }
  boite.setDefaultButton(qobject_cast<QPushButton*>(reponses.front().first));
  boite.setEscapeButton(echap);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  boite.exec();
  QApplication::restoreOverrideCursor();
  for (const auto& [b, r] : reponses)
    if (boite.clickedButton() == b) return r;
  return boutons == Boutons::ok        ? Reponse::ok
         : boutons == Boutons::oui_non ? Reponse::non
                                       : Reponse::annuler;
}

void InteractionQt::copier_image(const QImage& image) {
  QApplication::clipboard()->setImage(image);
}

void InteractionQt::progression(const std::string& texte, int phase) {
  if (fenetre_) fenetre_->afficher_progression(texte, phase);
}

bool InteractionQt::arret_demande() {
  return fenetre_ ? fenetre_->laisser_vivre() : false;
}

QString InteractionQt::filtre_qt(const std::string& filtre) {
  const QStringList morceaux = qs(filtre).split(QLatin1Char('|'));
  QStringList filtres;
  for (qsizetype i = 0; i + 1 < morceaux.size(); i += 2) {
    QString nom = morceaux[i];
    const qsizetype parenthese = nom.indexOf(QLatin1Char('('));
    if (parenthese > 0) nom = nom.left(parenthese).trimmed();
    QStringList motifs;
    for (const QString& m : morceaux[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString motif = m.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : m.trimmed();
      for (const QString& variante : {motif, motif.toLower(), motif.toUpper()})
        if (!motifs.contains(variante)) motifs << variante;
    }
    filtres << nom + QStringLiteral(" (") + motifs.join(QLatin1Char(' ')) + QStringLiteral(")");
  }
  return filtres.join(QStringLiteral(";;"));
}

namespace {

QString depart_dialogue(const DialogueFichier& d) {
  QString depart = qs(d.dossier);
  if (!d.propose.empty() && d.propose.find('*') == std::string::npos) depart += qs(d.propose);
  return depart;
}

}  // namespace

std::optional<std::string> InteractionQt::choisir_fichier_a_ouvrir(const DialogueFichier& d) {
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const QString f = QFileDialog::getOpenFileName(parent_dialogues(), qs(d.titre),
                                                 depart_dialogue(d), filtre_qt(d.filtre));
  QApplication::restoreOverrideCursor();
  if (f.isEmpty()) return std::nullopt;
  return ss(f);
}

std::optional<std::string> InteractionQt::choisir_fichier_a_enregistrer(const DialogueFichier& d) {
  QFileDialog::Options options;
  if (!d.demander_ecrasement) options |= QFileDialog::DontConfirmOverwrite;
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const QString f = QFileDialog::getSaveFileName(
      parent_dialogues(), qs(d.titre), depart_dialogue(d), filtre_qt(d.filtre), nullptr, options);
  QApplication::restoreOverrideCursor();
  if (f.isEmpty()) return std::nullopt;
  return ss(f);
}

void InteractionQt::ouvrir_choix_repertoire(Repertoire quel) {
  if (fenetre_) fenetre_->ouvrir_choix_repertoire(quel);
}

CommandeExterne InteractionQt::editeur_du_systeme(const std::string& chemin) {
#ifdef _WIN32
  return {"notepad.exe", {chemin}};
#else
  static const char* const kEditeurs[] = {"gnome-text-editor", "gedit", "kate",    "kwrite",
                                          "mousepad",          "xed",   "pluma",   "featherpad",
                                          "leafpad",           "geany", "xdg-open"};
  for (const char* e : kEditeurs) {
    const QString p = QStandardPaths::findExecutable(QString::fromLatin1(e));
    if (!p.isEmpty()) return {ss(p), {chemin}};
  }
  return {"xdg-open", {chemin}};
#endif
}

bool InteractionQt::demarrer_programme(const CommandeExterne& c) {
  QStringList arguments;
  for (const auto& a : c.arguments) arguments << qs(a);
  // A folder may be given as a file address ("file:///C:/...").
  QString dossier = qs(c.repertoire_travail);
  if (dossier.startsWith(QLatin1String("file:///"))) dossier = dossier.mid(kSurWindows ? 8 : 7);
  return QProcess::startDetached(qs(c.programme), arguments, dossier);
}

bool InteractionQt::ouvrir_document(const std::string& chemin) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(qs(chemin)));
}

void InteractionQt::ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) {
  if (!fenetre_) return;
  QSize ecran(1366, 768);
  if (const QScreen* e = QGuiApplication::primaryScreen()) ecran = e->size();
  const std::string chemin = dossier + fichier;
  // "notepad.exe" stands for the platform's own way of showing a text file:
  // Notepad on Windows; elsewhere the desktop's application for the file,
  // else a text editor found on the path.
  const auto lancer = [this, &chemin](const CommandeExterne& c) {
    if (!est_editeur_par_defaut(c.programme)) return demarrer_programme(c);
    if (!kSurWindows && ouvrir_document(chemin)) return true;
    return demarrer_programme(editeur_du_systeme(chemin));
  };
  if (editer_fichier(fenetre_->session(), dossier, fichier, ecran.width(), ecran.height(),
                     lancer) == IssueEditeur::remplace)
    fenetre_->rafraichir();
}

std::string InteractionQt::texte_presse_papier() {
  return ss(QGuiApplication::clipboard()->text());
}

void InteractionQt::copier_dans_presse_papier(const std::string& texte) {
  QGuiApplication::clipboard()->setText(qs(texte));
}

std::optional<QColor> InteractionQt::choisir_couleur(const QColor& initiale, const QString& titre,
                                                     const std::vector<QColor>& personnalisees) {
  for (int i = 0; i < static_cast<int>(personnalisees.size()) && i < QColorDialog::customCount();
       ++i)
    QColorDialog::setCustomColor(i, personnalisees[static_cast<std::size_t>(i)]);
  const QColor c = QColorDialog::getColor(initiale, parent_dialogues(), titre);
  if (!c.isValid()) return std::nullopt;
  return c;
}

void InteractionQt::jouer_tonalites(const std::vector<Tonalite>& tonalites) {
  if (!joueur_) joueur_ = std::make_unique<JoueurTonalites>();
  joueur_->jouer(tonalites);
}

void InteractionQt::ouvrir_page_web(const std::string& adresse) {
  QDesktopServices::openUrl(QUrl(qs(adresse)));
}

void InteractionQt::afficher_bandeau(const std::string& texte) {
  if (fenetre_) fenetre_->afficher_bandeau(texte);
}

void InteractionQt::montrer_etiquettes() {
  if (fenetre_) fenetre_->montrer_etiquettes();
}

void InteractionQt::eteindre_ordinateur() {
  for (const auto& c : commandes_extinction())
    if (demarrer_programme(c)) return;
}

}  // namespace tamso
