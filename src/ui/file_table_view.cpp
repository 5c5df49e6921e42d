#include "ui/file_table_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/session.h"
#include "ui/widgets.h"

namespace tamso {

ModeleTableFichiers::ModeleTableFichiers(Session& s, QObject* parent)
    : QAbstractTableModel(parent), s_(s) {}

int ModeleTableFichiers::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, s_.table.nb_lignes() - 1);
}

int ModeleTableFichiers::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : TableFichiers::kNbColonnes;
}

QVariant ModeleTableFichiers::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const std::string& texte = s_.table.cellule(index.column(), index.row() + 1);
  switch (role) {
    case Qt::DisplayRole:
      return qs(texte);
    case Qt::ToolTipRole:
      return index.column() == 1 ? qs(texte) : QVariant();
    default:
      return {};
  }
}

QVariant ModeleTableFichiers::headerData(int section, Qt::Orientation o, int role) const {
  if (o != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return qs(s_.table.cellule(section, 0));
  if (role == Qt::ForegroundRole) return QColor(128, 0, 0);
  return {};
}

void ModeleTableFichiers::recharger() {
  beginResetModel();
  endResetModel();
}

int ModeleListeHorodatee::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : taille_;
}

QVariant ModeleListeHorodatee::data(const QModelIndex& index, int role) const {
  const auto& e = s_.liste_horodatee.elements;
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(e.size()))
    return {};
  return qs(std::string(e[static_cast<std::size_t>(index.row())]));
}

bool ModeleListeHorodatee::recharger() {
  const int n = static_cast<int>(s_.liste_horodatee.elements.size());
  if (n == taille_) return false;
  beginResetModel();
  taille_ = n;
  endResetModel();
  return true;
}

CouleursCellule couleurs_cellule(int colonne, bool selectionnee,
                                 const std::array<Couleur, 4>& couleurs,
                                 const QColor& texte_fenetre) {
  const QColor marron(128, 0, 0);
  const bool dates = colonne == 6 || colonne == 7;
  if (selectionnee) return {couleur_qt(dates ? couleurs[1] : couleurs[3]), marron};
  if (colonne == 1) return {couleur_qt(couleurs[3]), marron};
  if (colonne == TableFichiers::kColonneMarque) return {couleur_qt(couleurs[1]), marron};
  if (dates) return {couleur_qt(couleurs[1]), QColor(0, 0, 255)};
  return {couleur_qt(couleurs[0]), texte_fenetre};
}

void DelegueTableFichiers::paint(QPainter* p, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const bool selectionnee = option.state & QStyle::State_Selected;
  const CouleursCellule c = couleurs_cellule(index.column(), selectionnee, couleurs_,
                                             option.palette.color(QPalette::WindowText));
  p->save();
  p->fillRect(option.rect, c.fond);
  p->setPen(c.texte);
  const QRect r = option.rect.adjusted(2, 0, -1, 0);
  p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
              QStringLiteral(" ") + index.data(Qt::DisplayRole).toString());
  p->restore();
}

VueTableFichiers::VueTableFichiers(QWidget* parent) : QTableView(parent) {
  setObjectName(QStringLiteral("StringGrid1"));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMouseTracking(true);
  setWordWrap(false);
  verticalHeader()->setVisible(false);
  // A point smaller than the window: more of the 16 columns show beside the
  // other regions on a small screen.
  QFont petite = font();
  petite.setPointSizeF(std::max(7.0, petite.pointSizeF() - 1));
  setFont(petite);
  horizontalHeader()->setFont(petite);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setMouseTracking(true);
  horizontalHeader()->viewport()->setMouseTracking(true);
  horizontalHeader()->viewport()->installEventFilter(this);
  connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
          [this](int section) { emit double_clic(section, 0); });
}

int VueTableFichiers::ligne_courante() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

bool VueTableFichiers::selection(int& premiere, int& derniere) const {
  const QModelIndexList lignes =
      selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
  if (lignes.isEmpty()) return false;
  premiere = INT_MAX;
  derniere = -1;
  for (const QModelIndex& i : lignes) {
    premiere = std::min(premiere, i.row() + 1);
    derniere = std::max(derniere, i.row() + 1);
  }
  return true;
}

void VueTableFichiers::ajuster_largeurs(bool nouvelle_liste) {
  const QAbstractItemModel* m = model();
  if (!m) return;
  // The widest cell among the first rows: a listing may hold thousands of
  // files, whose cells of one column have much the same width.
  constexpr int kLignesMesurees = 1000;
  constexpr int kLargeurMax = 320;
  const QFontMetrics fm_titres(horizontalHeader()->font());
  const QFontMetrics fm(font());
  const int lignes = std::min(m->rowCount(), kLignesMesurees);
  for (int c = 0; c < m->columnCount(); ++c) {
    int l = fm_titres.horizontalAdvance(m->headerData(c, Qt::Horizontal).toString()) + 12;
    for (int r = 0; r < lignes; ++r)
      l = std::max(l, fm.horizontalAdvance(m->index(r, c).data().toString()) + 8);
    l = std::min(l, kLargeurMax);
    if (nouvelle_liste || l > columnWidth(c)) setColumnWidth(c, l);
  }
}

void VueTableFichiers::mouseDoubleClickEvent(QMouseEvent* e) {
  const QModelIndex i = indexAt(e->position().toPoint());
  if (i.isValid()) emit double_clic(i.column(), i.row() + 1);
  e->accept();
}

void VueTableFichiers::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    const QModelIndex i = indexAt(e->position().toPoint());
    if (i.isValid()) emit clic_droit(i.column(), i.row() + 1, e->globalPosition().toPoint());
    e->accept();
    return;
  }
  QTableView::mousePressEvent(e);
}

void VueTableFichiers::mouseMoveEvent(QMouseEvent* e) {
  const QModelIndex i = indexAt(e->position().toPoint());
  if (i.isValid()) emit survol(i.column(), i.row() + 1);
  QTableView::mouseMoveEvent(e);
}

void VueTableFichiers::keyPressEvent(QKeyEvent* e) {
  // Delete acts when it is released (its press is only noted).
  if (e->key() == Qt::Key_Delete) {
    if (!e->isAutoRepeat()) suppression_pressee_ = true;
    e->accept();
    return;
  }
  QTableView::keyPressEvent(e);
}

void VueTableFichiers::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete && !e->isAutoRepeat() && suppression_pressee_) {
    suppression_pressee_ = false;
    emit suppression_demandee();
    e->accept();
    return;
  }
  QTableView::keyReleaseEvent(e);
}

bool VueTableFichiers::eventFilter(QObject* o, QEvent* e) {
  if (o == horizontalHeader()->viewport() &&
      (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonPress)) {
    const auto* m = static_cast<QMouseEvent*>(e);
    const int section = horizontalHeader()->logicalIndexAt(m->position().toPoint());
    if (e->type() == QEvent::MouseMove) {
      if (section >= 0) emit survol(section, 0);
    } else if (m->button() == Qt::RightButton) {
      if (section >= 0) emit clic_droit(section, 0, m->globalPosition().toPoint());
      return true;
    }
  }
  return QTableView::eventFilter(o, e);
}

}  // namespace tamso
