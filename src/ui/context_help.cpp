#include "ui/context_help.h"

#include <algorithm>

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

AideContextuelle::AideContextuelle(const Session& s, QWidget* fenetre, QWidget* racine,
                                   QWidget* contenu, QPlainTextEdit* boite)
    : session_(s), fenetre_(fenetre), racine_(racine), contenu_(contenu), boite_(boite) {
  flottante_ = new QLabel(racine_);
  flottante_->setObjectName(QStringLiteral("Memo3"));
  flottante_->setStyleSheet(QStringLiteral(
      "QLabel#Memo3 { background: white; color: black; border: 1px solid gray; padding: 4px; }"));
  flottante_->setAttribute(Qt::WA_TransparentForMouseEvents);
  flottante_->hide();
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
  QPoint p = racine_->mapFromGlobal(QCursor::pos()) + QPoint(0, 20);
  p.setX(std::max(0, std::min(p.x(), racine_->width() - w - 20)));
  p.setY(std::max(0, std::min(p.y(), racine_->height() - h - 150)));
  flottante_->setGeometry(p.x(), p.y(), w, h);
  flottante_->show();
  flottante_->raise();
}

void AideContextuelle::cacher_flottante() {
  flottante_->hide();
}

}  // namespace tamso
