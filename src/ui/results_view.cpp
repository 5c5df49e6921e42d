#include "ui/results_view.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>

#include "base/text_lines.h"
#include "input/encoding.h"

namespace tamso {

namespace {

bool ascii(std::string_view t) {
  return std::all_of(t.begin(), t.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// ---------------------------------------------------------------- model

int ModeleLignesResultats::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : taille_;
}

QVariant ModeleLignesResultats::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return texte(index.row());
}

void ModeleLignesResultats::montrer(const LignesTexte* lignes, bool comme_fichier) {
  beginResetModel();
  lignes_ = lignes;
  comme_fichier_ = comme_fichier;
  const std::size_t n = lignes ? lignes->size() : 0;
  taille_ = static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
  plus_longue_ = -1;
  std::size_t longueur = 0;
  for (int i = 0; i < taille_; ++i) {
    const std::size_t l = (*lignes)[static_cast<std::size_t>(i)].size();
    if (plus_longue_ < 0 || l > longueur) {
      plus_longue_ = i;
      longueur = l;
    }
  }
  endResetModel();
}

std::string_view ModeleLignesResultats::ligne(int i) const {
  // The lines may have been emptied since they were shown: a view is
  // cleared before the session rebuilds them, but never reads past them.
  if (!lignes_ || i < 0 || i >= taille_ || static_cast<std::size_t>(i) >= lignes_->size())
    return {};
  return (*lignes_)[static_cast<std::size_t>(i)];
}

QString ModeleLignesResultats::texte(int i) const {
  const std::string_view l = ligne(i);
  if (comme_fichier_ && !ascii(l)) {
    const std::string relu = cp1252_vers_utf8(utf8_vers_cp1252(l));
    return QString::fromUtf8(relu.data(), static_cast<qsizetype>(relu.size()));
  }
  return QString::fromUtf8(l.data(), static_cast<qsizetype>(l.size()));
}

// ---------------------------------------------------------------- row size

QSize DelegueLignesResultats::sizeHint(const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  if (taille_.isValid()) return taille_;
  const auto* m = qobject_cast<const ModeleLignesResultats*>(index.model());
  if (!m || m->rowCount() == 0) return QStyledItemDelegate::sizeHint(option, index);
  QSize t(0, 0);
  for (const int r : {0, m->ligne_la_plus_longue(), m->rowCount() - 1})
    t = t.expandedTo(QStyledItemDelegate::sizeHint(option, m->index(r)));
  // Room for a line a little wider than the one measured.
  t.rwidth() += 2 * option.fontMetrics.averageCharWidth();
  taille_ = t;
  return taille_;
}

// ---------------------------------------------------------------- view

VueLignesResultats::VueLignesResultats(QWidget* parent)
    : QListView(parent),
      modele_(new ModeleLignesResultats(this)),
      delegue_(new DelegueLignesResultats(this)) {
  setModel(modele_);
  setItemDelegate(delegue_);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copie = new QAction(QStringLiteral("copier"), this);
  connect(copie, &QAction::triggered, this, &VueLignesResultats::copier);
  auto* tout = new QAction(QStringLiteral("tout sélectionner"), this);
  connect(tout, &QAction::triggered, this, &QListView::selectAll);
  addAction(copie);
  addAction(tout);
}

void VueLignesResultats::montrer(const LignesTexte* lignes, bool comme_fichier) {
  delegue_->oublier_taille();
  modele_->montrer(lignes, comme_fichier);
}

QString VueLignesResultats::texte_selection() const {
  // Whole ranges, not their indexes: a selection of every row is one range.
  std::vector<std::pair<int, int>> plages;
  for (const QItemSelectionRange& p : selectionModel()->selection())
    plages.emplace_back(p.top(), p.bottom());
  std::sort(plages.begin(), plages.end());
  QString t;
  int suivante = 0;  // rows before it are already written
  for (const auto& [haut, bas] : plages) {
    for (int r = std::max(haut, suivante); r <= bas; ++r) {
      t += modele_->texte(r);
      t += QLatin1Char('\n');
    }
    suivante = std::max(suivante, bas + 1);
  }
  return t;
}

void VueLignesResultats::copier() {
  const QString t = texte_selection();
  if (!t.isEmpty()) emit copie_demandee(t);
}

void VueLignesResultats::keyPressEvent(QKeyEvent* e) {
  if (e->matches(QKeySequence::Copy)) {
    copier();
    e->accept();
    return;
  }
  QListView::keyPressEvent(e);
}

void VueLignesResultats::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
    delegue_->oublier_taille();
  QListView::changeEvent(e);
}

}  // namespace tamso
