#include "ui/context_help.h"

#include <algorithm>
#include <cctype>

#include <QCursor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/session.h"
#include "ui/help_texts.h"
#include "ui/widgets.h"

namespace tamso {

namespace {

// An item is known by its last line that begins with a digit.
bool item_19(const std::vector<std::string>& lignes) {
  for (auto l = lignes.rbegin(); l != lignes.rend(); ++l)
    if (!l->empty() && std::isdigit(static_cast<unsigned char>((*l)[0])))
      return l->rfind("19", 0) == 0;
  return false;
}

bool sans_texte(const std::vector<std::string>& lignes) {
  return std::all_of(lignes.begin(), lignes.end(), [](const std::string& l) {
    return std::all_of(l.begin(), l.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
  });
}

}  // namespace

AideContextuelle::AideContextuelle(const Session& s, QWidget* fenetre, QWidget* racine,
                                   QWidget* contenu, QPlainTextEdit* boite,
                                   std::function<void()> double_clic)
    : session_(s), fenetre_(fenetre), racine_(racine), contenu_(contenu), boite_(boite) {
  auto* flottante = new EtiquetteCliquable(racine_);
  flottante->setObjectName(QStringLiteral("Memo3"));
  flottante->setStyleSheet(QStringLiteral(
      "QLabel#Memo3 { background: white; color: black; border: 1px solid gray; padding: 4px; }"));
  QObject::connect(flottante, &EtiquetteCliquable::doubleClique, flottante,
                   [f = std::move(double_clic)] { f(); });
  flottante->hide();
  flottante_ = flottante;
}

void AideContextuelle::pour_controle(QWidget* w) {
  for (QWidget* c = w; c && c != fenetre_; c = c->parentWidget()) {
    const std::string nom = ss(c->objectName());
    if (nom.empty()) continue;
    if (const auto l = aide_calculee(nom, session_)) {
      montrer(*l);
      return;
    }
    if (const LignesAide* a = aide_du_controle(nom)) {
      const int n = nombre_lignes_aide(*a);
      montrer(std::vector<std::string>(a->begin(), a->begin() + n));
      return;
    }
    if (c == contenu_) {
      montrer({"", ""});
      return;
    }
  }
}

void AideContextuelle::montrer(const std::vector<std::string>& lignes) {
  QStringList l;
  for (const auto& t : lignes) l << qs(t);
  QTextDocument* doc = boite_->document();
  if (doc->blockCount() == l.size()) {
    // Only the lines that differ are replaced, so that the box does not flicker.
    for (int i = 0; i < l.size(); ++i) {
      QTextBlock b = doc->findBlockByNumber(i);
      if (b.text() == l[i]) continue;
      // The whole line of text, however many lines of the box it wraps on.
      QTextCursor cur(b);
      cur.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      cur.insertText(l[i]);
    }
  } else {
    boite_->setPlainText(l.join(QLatin1Char('\n')));
  }
  if (session_.description.aide_flottante) montrer_flottante(lignes);
}

void AideContextuelle::montrer_flottante(const std::vector<std::string>& lignes) {
  // Over a control without help the box has nothing to show.
  if (sans_texte(lignes)) {
    flottante_->hide();
    return;
  }
  QStringList flottantes;
  int largeur = 150;
  for (const auto& ligne : lignes) {
    QString t = qs(ligne);
    if (!t.isEmpty() && t[0].isDigit()) t.replace(0, 2, QStringLiteral("  "));
    flottantes << t;
    largeur = std::max(largeur, flottante_->fontMetrics().horizontalAdvance(t));
  }
  flottante_->setText(flottantes.join(QLatin1Char('\n')));
  const int w = largeur * 11 / 10 + 10;
  const int h = flottante_->fontMetrics().lineSpacing() * static_cast<int>(lignes.size()) + 15;
  const QPoint pointeur = racine_->mapFromGlobal(QCursor::pos());
  const int x = std::max(0, std::min(pointeur.x(), racine_->width() - w - 20));
  flottante_->setGeometry(x, haut_flottante(lignes, pointeur.y(), h), w, h);
  flottante_->show();
  flottante_->raise();
}

int AideContextuelle::haut_flottante(const std::vector<std::string>& lignes, int pointeur,
                                     int h) const {
  const QWidget* periode_dsc = racine_->findChild<QWidget*>(QStringLiteral("Label37"));
  if (periode_dsc && item_19(lignes))
    return std::max(0, periode_dsc->mapTo(racine_, QPoint(0, 0)).y());
  return std::max(0, std::min(pointeur + 20, racine_->height() - h - 150));
}

void AideContextuelle::cacher_flottante() {
  flottante_->hide();
}

}  // namespace tamso
