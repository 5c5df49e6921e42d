// The results views of the main window (RichEdit3: the results file just
// written, RichEdit4: the value columns alone): lists over the results lines
// where the session keeps them. A line is read from the session's text only
// when it is drawn or copied, so a run of millions of rows shows at once and
// costs no second copy of its text.
#pragma once

#include <string_view>

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

namespace tamso {

class LignesTexte;

class ModeleLignesResultats : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit ModeleLignesResultats(QObject* parent = nullptr) : QAbstractListModel(parent) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Shows these lines (none for nullptr); they must outlive the model or be
  // replaced before they change. `comme_fichier`: each line as the file
  // written from them reads back (Windows-1252, a character it cannot hold
  // read as "?").
  void montrer(const LignesTexte* lignes, bool comme_fichier);
  // Line i in the session's text; empty out of range.
  std::string_view ligne(int i) const;
  // Line i as shown.
  QString texte(int i) const;
  // The line with the most bytes (the widest, digits being of one width);
  // -1 when there are none.
  int ligne_la_plus_longue() const { return plus_longue_; }

 private:
  const LignesTexte* lignes_ = nullptr;
  int taille_ = 0;
  bool comme_fichier_ = false;
  int plus_longue_ = -1;
};

// Every row of one size, measured once on the header, the longest line and
// the last one: the list then places a million rows without measuring them.
class DelegueLignesResultats : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void oublier_taille() { taille_ = QSize(); }

 private:
  mutable QSize taille_;
};

class VueLignesResultats : public QListView {
  Q_OBJECT
 public:
  explicit VueLignesResultats(QWidget* parent = nullptr);
  ModeleLignesResultats* modele() const { return modele_; }
  void montrer(const LignesTexte* lignes, bool comme_fichier);
  // The selected lines as shown, in the order of the list, each ended by a
  // line feed; empty when nothing is selected.
  QString texte_selection() const;

 signals:
  // Ctrl+C or "copier": the text of the selected lines.
  void copie_demandee(const QString& texte);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  // A new font or style measures the rows again.
  void changeEvent(QEvent* e) override;

 private:
  void copier();
  ModeleLignesResultats* modele_;
  DelegueLignesResultats* delegue_;
};

}  // namespace tamso
