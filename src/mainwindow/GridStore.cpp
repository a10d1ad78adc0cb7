#include "GridStore.h"

#include <algorithm>
#include <utility>

namespace {

const TFieldText kEmpty;

std::vector<std::string> Strings(const std::vector<TFieldText>& texts) {
  return {texts.begin(), texts.end()};
}

std::vector<TFieldText> Texts(const std::vector<std::string>& strings) {
  std::vector<TFieldText> texts;
  texts.reserve(strings.size());
  for (const std::string& s : strings)
    texts.emplace_back(s);
  return texts;
}

}  // namespace

const TFieldText& TGridStore::Cell(int c, int r) const {
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
      change.Before = {row[col].str()};
      change.After = {text};
    } else {
      change.FirstCol = static_cast<int>(row.size());
      change.After.resize(col - row.size() + 1);
      change.After.back() = text;
    }
    journal_->push_back(std::move(change));
  }
  if (col >= row.size()) row.resize(col + 1);
  row[col] = text;
  if (TObserver* told = Told()) told->CellChanged(c, r);
}

std::vector<std::string> TGridStore::Row(int r) const {
  if (r < 0 || r >= RowCount()) return {};
  return Strings(rows_[static_cast<std::size_t>(r)]);
}

void TGridStore::SetRow(int r, std::vector<std::string> cells) {
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  SetRowTexts(r, Texts(cells));
}

void TGridStore::SetRowTexts(int r, std::vector<TFieldText> cells) {
  if (r < 0 || r >= RowCount()) return;
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  TRow before = std::move(rows_[static_cast<std::size_t>(r)]);
  rows_[static_cast<std::size_t>(r)] = std::move(cells);
  if (journal_) JournalCells(r, before);
  if (TObserver* told = Told()) told->RowChanged(r);
}

void TGridStore::HoldBytes(std::shared_ptr<const char[]> bytes) {
  if (bytes) held_.push_back(std::move(bytes));
}

void TGridStore::JournalCells(int r, const TRow& before) {
  const TRow& after = rows_[static_cast<std::size_t>(r)];
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
  change.Before.assign(before.begin() + static_cast<std::ptrdiff_t>(prefix),
                       before.end() - static_cast<std::ptrdiff_t>(suffix));
  change.After.assign(after.begin() + static_cast<std::ptrdiff_t>(prefix),
                      after.end() - static_cast<std::ptrdiff_t>(suffix));
  journal_->push_back(std::move(change));
}

void TGridStore::PutRow(int r, TRow cells) {
  rows_[static_cast<std::size_t>(r)] = std::move(cells);
  if (TObserver* told = Told()) told->RowChanged(r);
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
  if (TObserver* told = Told()) told->RowsInserted(first, count);
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
    for (int i = first; i < first + count; ++i)
      change.Rows.push_back(Strings(rows_[static_cast<std::size_t>(i)]));
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
    if (TObserver* told = Told()) told->Reset();
    return;
  }
  if (TObserver* told = Told()) told->RowsDeleted(first, count);
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
  if (TObserver* told = Told()) told->RowMoved(from, to);
}

void TGridStore::Clear() {
  if (journal_) {
    TGridChange change;
    change.Kind = TGridChange::TKind::Clear;
    for (const TRow& row : rows_)
      change.Rows.push_back(Strings(row));
    journal_->push_back(std::move(change));
  }
  rows_.assign(1, {});
  Emptied();
  if (TObserver* told = Told()) told->Reset();
}

namespace {

// Replaces the span [first, first + out.size()) of row by in, in place: a step that
// changed thousands of cells of one row is taken back cell by cell, and copying the row
// for each would cost the row's length every time. The cells around it stay as they are,
// so that those borrowing stay in the store.
void Splice(std::vector<TFieldText>& row, int first, const std::vector<std::string>& out,
            const std::vector<std::string>& in) {
  const auto at = row.begin() + first;
  const std::size_t common = std::min(out.size(), in.size());
  for (std::size_t i = 0; i < common; ++i)
    at[static_cast<std::ptrdiff_t>(i)] = TFieldText(in[i]);
  if (out.size() > common) {
    row.erase(at + static_cast<std::ptrdiff_t>(common),
              at + static_cast<std::ptrdiff_t>(out.size()));
  } else if (in.size() > common) {
    std::vector<TFieldText> added(in.begin() + static_cast<std::ptrdiff_t>(common), in.end());
    row.insert(at + static_cast<std::ptrdiff_t>(common), std::make_move_iterator(added.begin()),
               std::make_move_iterator(added.end()));
  }
}

}  // namespace

void TGridStore::SpliceCells(const TGridChange& change, const std::vector<std::string>& out,
                             const std::vector<std::string>& in) {
  Splice(rows_[static_cast<std::size_t>(change.Row)], change.FirstCol, out, in);
  TObserver* told = Told();
  if (told == nullptr) return;
  if (out.size() != in.size()) {
    told->RowChanged(change.Row);
    return;
  }
  for (std::size_t i = 0; i < in.size(); ++i)
    told->CellChanged(change.FirstCol + static_cast<int>(i), change.Row);
}

void TGridStore::Undo(const TGridChange& change) {
  std::vector<TGridChange>* journal = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
      SpliceCells(change, change.After, change.Before);
      break;
    case TGridChange::TKind::InsertRows:
      rows_.erase(rows_.begin() + change.Row, rows_.begin() + change.Row + change.Count);
      if (TObserver* told = Told()) told->RowsDeleted(change.Row, change.Count);
      break;
    case TGridChange::TKind::DeleteRows: {
      std::vector<TRow> rows;
      for (const auto& row : change.Rows)
        rows.push_back(Texts(row));
      rows_.insert(rows_.begin() + change.Row, std::make_move_iterator(rows.begin()),
                   std::make_move_iterator(rows.end()));
      if (TObserver* told = Told()) told->RowsInserted(change.Row, change.Count);
      break;
    }
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Count, change.Row);
      break;
    case TGridChange::TKind::Clear:
      rows_.clear();
      for (const auto& row : change.Rows)
        rows_.push_back(Texts(row));
      Emptied();
      if (TObserver* told = Told()) told->Reset();
      break;
  }
  journal_ = journal;
}

void TGridStore::Redo(const TGridChange& change) {
  std::vector<TGridChange>* journal = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
      SpliceCells(change, change.Before, change.After);
      break;
    case TGridChange::TKind::InsertRows:
      rows_.insert(rows_.begin() + change.Row, static_cast<std::size_t>(change.Count), {});
      if (TObserver* told = Told()) told->RowsInserted(change.Row, change.Count);
      break;
    case TGridChange::TKind::DeleteRows:
      rows_.erase(rows_.begin() + change.Row, rows_.begin() + change.Row + change.Count);
      if (TObserver* told = Told()) told->RowsDeleted(change.Row, change.Count);
      break;
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Row, change.Count);
      break;
    case TGridChange::TKind::Clear:
      rows_.assign(1, {});
      Emptied();
      if (TObserver* told = Told()) told->Reset();
      break;
  }
  journal_ = journal;
}
