#include "GridStore.h"

#include <algorithm>
#include <utility>

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
  const std::size_t col = static_cast<std::size_t>(c);
  if (col >= row.size() && text.empty()) return;  // an unwritten cell is already empty
  if (journal_ && !(col < row.size() && row[col] == text)) {
    // Only the cell, or the columns it adds to the row.
    TGridChange change;
    change.Row = r;
    if (col < row.size()) {
      change.FirstCol = c;
      change.Before = {row[col]};
      change.After = {text};
    } else {
      change.FirstCol = static_cast<int>(row.size());
      change.After.resize(col - row.size() + 1);
      change.After.back() = text;
    }
    journal_->push_back(std::move(change));
  }
  if (col >= row.size()) row.resize(col + 1);
  row[col] = std::move(text);
  if (observer_) observer_->CellChanged(c, r);
}

std::vector<std::string> TGridStore::Row(int r) const {
  if (r < 0 || r >= RowCount()) return {};
  return rows_[static_cast<std::size_t>(r)];
}

void TGridStore::SetRow(int r, std::vector<std::string> cells) {
  if (r < 0 || r >= RowCount()) return;
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  std::vector<std::string> before = std::move(rows_[static_cast<std::size_t>(r)]);
  rows_[static_cast<std::size_t>(r)] = std::move(cells);
  if (journal_) JournalCells(r, std::move(before));
  if (observer_) observer_->RowChanged(r);
}

void TGridStore::JournalCells(int r, std::vector<std::string> before) {
  const std::vector<std::string>& after = rows_[static_cast<std::size_t>(r)];
  // Only the span between what the two rows share at their start and at their end.
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix])
    ++prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  if (prefix == before.size() && prefix == after.size()) return;  // no change
  TGridChange change;
  change.Row = r;
  change.FirstCol = static_cast<int>(prefix);
  change.Before.assign(
      std::make_move_iterator(before.begin() + static_cast<std::ptrdiff_t>(prefix)),
      std::make_move_iterator(before.end() - static_cast<std::ptrdiff_t>(suffix)));
  change.After.assign(after.begin() + static_cast<std::ptrdiff_t>(prefix),
                      after.end() - static_cast<std::ptrdiff_t>(suffix));
  journal_->push_back(std::move(change));
}

void TGridStore::PutRow(int r, std::vector<std::string> cells) {
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
  if (journal_) {
    TGridChange change;
    change.Kind = TGridChange::TKind::InsertRows;
    change.Row = first;
    change.Count = count;
    journal_->push_back(std::move(change));
  }
  if (observer_) observer_->RowsInserted(first, count);
}

void TGridStore::DeleteRows(int first, int count) {
  first = std::max(first, 0);
  count = std::min(count, RowCount() - first);
  if (count < 1) return;
  if (journal_) {
    TGridChange change;
    change.Kind = TGridChange::TKind::DeleteRows;
    change.Row = first;
    change.Count = count;
    change.Rows.assign(rows_.begin() + first, rows_.begin() + first + count);
    journal_->push_back(std::move(change));
  }
  rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
  if (rows_.empty()) {  // a grid keeps at least one row
    rows_.emplace_back();
    if (journal_) {
      TGridChange change;
      change.Kind = TGridChange::TKind::InsertRows;
      change.Count = 1;
      journal_->push_back(std::move(change));
    }
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
  if (journal_) {
    TGridChange change;
    change.Kind = TGridChange::TKind::MoveRow;
    change.Row = from;
    change.Count = to;
    journal_->push_back(std::move(change));
  }
  if (observer_) observer_->RowMoved(from, to);
}

void TGridStore::Clear() {
  if (journal_) {
    TGridChange change;
    change.Kind = TGridChange::TKind::Clear;
    change.Rows = std::move(rows_);
    journal_->push_back(std::move(change));
  }
  rows_.assign(1, {});
  if (observer_) observer_->Reset();
}

namespace {

// Row cells with the span [first, first + out.size()) replaced by in.
std::vector<std::string> Spliced(const std::vector<std::string>& row, int first,
                                 const std::vector<std::string>& out,
                                 const std::vector<std::string>& in) {
  std::vector<std::string> cells;
  cells.reserve(row.size() - out.size() + in.size());
  const auto at = row.begin() + first;
  cells.insert(cells.end(), row.begin(), at);
  cells.insert(cells.end(), in.begin(), in.end());
  cells.insert(cells.end(), at + static_cast<std::ptrdiff_t>(out.size()), row.end());
  return cells;
}

}  // namespace

void TGridStore::Undo(const TGridChange& change) {
  std::vector<TGridChange>* journal = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
      PutRow(change.Row, Spliced(rows_[static_cast<std::size_t>(change.Row)], change.FirstCol,
                                 change.After, change.Before));
      break;
    case TGridChange::TKind::InsertRows:
      rows_.erase(rows_.begin() + change.Row, rows_.begin() + change.Row + change.Count);
      if (observer_) observer_->RowsDeleted(change.Row, change.Count);
      break;
    case TGridChange::TKind::DeleteRows:
      rows_.insert(rows_.begin() + change.Row, change.Rows.begin(), change.Rows.end());
      if (observer_) observer_->RowsInserted(change.Row, change.Count);
      break;
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Count, change.Row);
      break;
    case TGridChange::TKind::Clear:
      rows_ = change.Rows;
      if (observer_) observer_->Reset();
      break;
  }
  journal_ = journal;
}

void TGridStore::Redo(const TGridChange& change) {
  std::vector<TGridChange>* journal = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
      PutRow(change.Row, Spliced(rows_[static_cast<std::size_t>(change.Row)], change.FirstCol,
                                 change.Before, change.After));
      break;
    case TGridChange::TKind::InsertRows:
      rows_.insert(rows_.begin() + change.Row, static_cast<std::size_t>(change.Count), {});
      if (observer_) observer_->RowsInserted(change.Row, change.Count);
      break;
    case TGridChange::TKind::DeleteRows:
      rows_.erase(rows_.begin() + change.Row, rows_.begin() + change.Row + change.Count);
      if (observer_) observer_->RowsDeleted(change.Row, change.Count);
      break;
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Row, change.Count);
      break;
    case TGridChange::TKind::Clear:
      rows_.assign(1, {});
      if (observer_) observer_->Reset();
      break;
  }
  journal_ = journal;
}
