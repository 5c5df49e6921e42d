// The file table (StringGrid1) on screen: a model over the session's table,
// its title row as the fixed header, every cell painted with the table's
// colours and the mouse gestures the table reacts to.
#pragma once

#include <array>

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace tamso {

class Session;
struct Couleur;

// Table rows 1..R are model rows 0..R-1; the title row is the header.
class ModeleTableFichiers : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ModeleTableFichiers(Session& s, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  // After the core changed the table.
  void recharger();

 private:
  Session& s_;
};

// The regular timestamp list (ListBox_date_clean), read from the session
// without copying it: a list may hold millions of timestamps.
class ModeleListeHorodatee : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit ModeleListeHorodatee(Session& s, QObject* parent = nullptr)
      : QAbstractListModel(parent), s_(s) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // After the core changed the list; false when its size did not change.
  bool recharger();

 private:
  Session& s_;
  int taille_ = 0;
};

// Background and text colour of a cell: colours 1, 2 and 4 of the window.
struct CouleursCellule {
  QColor fond, texte;
};
CouleursCellule couleurs_cellule(int colonne, bool selectionnee,
                                 const std::array<Couleur, 4>& couleurs,
                                 const QColor& texte_fenetre);

class DelegueTableFichiers : public QStyledItemDelegate {
  Q_OBJECT
 public:
  DelegueTableFichiers(const std::array<Couleur, 4>& couleurs, QObject* parent)
      : QStyledItemDelegate(parent), couleurs_(couleurs) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  const std::array<Couleur, 4>& couleurs_;
};

// The grid: reports double clicks, right clicks and hovering by table cell
// (row 0 being the title row).
class VueTableFichiers : public QTableView {
  Q_OBJECT
 public:
  explicit VueTableFichiers(QWidget* parent = nullptr);
  // Small: the table takes the room its region has, and never asks for more.
  QSize sizeHint() const override { return {QTableView::sizeHint().width(), minimumHeight()}; }
  // Table row of the current row (1..R), 0 when none.
  int ligne_courante() const;
  // First and last selected table rows; false when nothing is selected.
  bool selection(int& premiere, int& derniere) const;
  // Fits the columns to their titles and cells. A new list of files fits
  // every column; otherwise a column only grows, so that a width chosen with
  // the mouse stays while its cells fit in it.
  void ajuster_largeurs(bool nouvelle_liste);
 signals:
  void double_clic(int colonne, int ligne);
  void clic_droit(int colonne, int ligne, QPoint global);
  void survol(int colonne, int ligne);
  void suppression_demandee();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  bool suppression_pressee_ = false;
};

}  // namespace tamso
