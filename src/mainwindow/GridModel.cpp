#include "GridModel.h"

#include "GridRules.h"
#include "TextFormat.h"

TGridModel::TGridModel(TGridStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
  store_.SetObserver(this);
  counts_.assign(static_cast<std::size_t>(store_.RowCount()), -1);
}

TGridModel::~TGridModel() {
  store_.SetObserver(nullptr);
}

int TGridModel::CountOfGridRow(int r) const {
  if (r < 1 || r >= store_.RowCount()) return 0;
  if (counts_.size() != static_cast<std::size_t>(store_.RowCount()))
    counts_.assign(static_cast<std::size_t>(store_.RowCount()), -1);
  int& count = counts_[static_cast<std::size_t>(r)];
  if (count < 0) count = CountOfRow(store_, r);
  return count;
}

int TGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : store_.RowCount() - 1;
}

int TGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : store_.ColCount() - 1;
}

QVariant TGridModel::data(const QModelIndex& index, int role) const {
  // Cells are drawn by the view from the store and the icon grid; the texts are for
  // screen readers and are made when asked, so nothing is kept per button.
  const bool hint = role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole;
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && !hint))
    return {};
  const int c = index.column() + 1, r = index.row() + 1;
  if (c > CountOfGridRow(r)) return hint ? QVariant() : QVariant(QStringLiteral("(空き)"));
  if (hint) {
    TCellTitle title;
    return CellTitle(store_, c, r, title) ? ShownText(title.hint) : QString();
  }
  const std::unique_ptr<TLaunchDataItem> item = ButtonOfCell(store_, c, r);
  return SpokenButtonText(item->Title, item->UseCount);
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return section + 1;
  return ShownText(PageNameOfRow(store_, section + 1));
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Only button cells take part in selection; the rest of a row is empty space.
  if (index.column() + 1 > CountOfGridRow(index.row() + 1)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TGridModel::CellChanged(int c, int r) {
  if (follower_) follower_->CellChanged(c, r);
  ShowChange(c, r);
}

void TGridModel::RowChanged(int r) {
  if (follower_) follower_->RowChanged(r);
  ShowChange(0, r);
}

void TGridModel::ShowChange(int c, int r) {
  if (c == 0) {
    if (r >= 1 && static_cast<std::size_t>(r) < counts_.size())
      counts_[static_cast<std::size_t>(r)] = -1;
    if (r >= 1) emit headerDataChanged(Qt::Vertical, r - 1, r - 1);
    if (r >= 1) emit dataChanged(index(r - 1, 0), index(r - 1, columnCount() - 1));
    return;
  }
  if (r >= 1) emit dataChanged(index(r - 1, c - 1), index(r - 1, c - 1));
}

void TGridModel::Structure() {
  // The store reports after the fact; a reset keeps the view's idea of the rows
  // right, and the window restores its current cell by its numbers, as a string
  // grid keeps its current cell across row changes.
  beginResetModel();
  counts_.assign(static_cast<std::size_t>(store_.RowCount()), -1);
  endResetModel();
}

void TGridModel::RowsInserted(int first, int count) {
  if (follower_) follower_->RowsInserted(first, count);
  Structure();
}
void TGridModel::RowsDeleted(int first, int count) {
  if (follower_) follower_->RowsDeleted(first, count);
  Structure();
}
void TGridModel::RowMoved(int from, int to) {
  if (follower_) follower_->RowMoved(from, to);
  Structure();
}
void TGridModel::Reset() {
  if (follower_) follower_->Reset();
  Structure();
}
