#include "GridStore.h"

#include <algorithm>

namespace {
const std::string kEmpty;
}

const std::string& TGridStore::Cell(int c, int r) const {
  if (!Valid(c, r)) return kEmpty;
  const auto& row = rows_[static_cast<std::size_t>(r)];
  return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : kEmpty;
}

void TGridStore::SetCell(int c, int r, std::string text) {
  if (!Valid(c, r)) return;
  auto& row = rows_[static_cast<std::size_t>(r)];
  if (static_cast<std::size_t>(c) >= row.size()) {
    if (text.empty()) return;  // an unwritten cell is already empty
    row.resize(static_cast<std::size_t>(c) + 1);
  }
  row[static_cast<std::size_t>(c)] = std::move(text);
  if (observer_) observer_->CellChanged(c, r);
}

std::vector<std::string> TGridStore::Row(int r) const {
  if (r < 0 || r >= RowCount()) return {};
  return rows_[static_cast<std::size_t>(r)];
}

void TGridStore::SetRow(int r, std::vector<std::string> cells) {
  if (r < 0 || r >= RowCount()) return;
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  rows_[static_cast<std::size_t>(r)] = std::move(cells);
  if (observer_) observer_->RowChanged(r);
}

int TGridStore::UsedColumns(int r) const {
  if (r < 0 || r >= RowCount()) return 0;
  return static_cast<int>(rows_[static_cast<std::size_t>(r)].size());
}

void TGridStore::SetRowCount(int rows) {
  rows = std::max(rows, 1);
  if (rows == RowCount()) return;
  if (rows > RowCount()) {
    InsertRows(RowCount(), rows - RowCount());
  } else {
    DeleteRows(rows, RowCount() - rows);
  }
}

void TGridStore::InsertRows(int first, int count) {
  if (count < 1 || first < 0 || first > RowCount()) return;
  rows_.insert(rows_.begin() + first, static_cast<std::size_t>(count), {});
  if (observer_) observer_->RowsInserted(first, count);
}

void TGridStore::DeleteRows(int first, int count) {
  first = std::max(first, 0);
  count = std::min(count, RowCount() - first);
  if (count < 1) return;
  rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
  if (rows_.empty()) {  // a grid keeps at least one row
    rows_.emplace_back();
    if (observer_) observer_->Reset();
    return;
  }
  if (observer_) observer_->RowsDeleted(first, count);
}

void TGridStore::MoveRow(int from, int to) {
  if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to) return;
  // Only the rows between the two places shift: a move to a neighbour costs one swap.
  if (from < to) {
    std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
  } else {
    std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
  }
  if (observer_) observer_->RowMoved(from, to);
}

void TGridStore::Clear() {
  rows_.assign(1, {});
  if (observer_) observer_->Reset();
}
