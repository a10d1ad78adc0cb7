#include "GridStore.h"

#include <algorithm>
#include <utility>

namespace {

const TFieldText kEmpty;
const TGridRow kEmptyRow;

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

// A copy of a row a snapshot shares. Borrowed texts stay borrowed: the store keeps
// their bytes as the snapshot does.
TGridRow SharingCopy(const TGridRow& row) {
  TGridRow copy;
  copy.reserve(row.size());
  for (const TFieldText& text : row)
    copy.push_back(TFieldText::Sharing(text));
  return copy;
}

}  // namespace

const TGridRow& TGridCells::RowAt(int r) const {
  const auto& row = rows_[static_cast<std::size_t>(r)];
  return row ? *row : kEmptyRow;
}

const TFieldText& TGridCells::Cell(int c, int r) const {
  if (!Valid(c, r)) return kEmpty;
  const TGridRow& row = RowAt(r);
  return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : kEmpty;
}

std::vector<std::string> TGridCells::Row(int r) const {
  if (r < 0 || r >= RowCount()) return {};
  return Strings(RowAt(r));
}

int TGridCells::UsedColumns(int r) const {
  if (r < 0 || r >= RowCount()) return 0;
  return static_cast<int>(RowAt(r).size());
}

TGridSnapshot TGridStore::Snapshot() const {
  TGridSnapshot snapshot;
  snapshot.rows_ = rows_;
  snapshot.held_ = held_;
  return snapshot;
}

TGridRow& TGridStore::Writable(int r) {
  auto& row = rows_[static_cast<std::size_t>(r)];
  if (!row) {
    row = std::make_shared<TRow>();
  } else if (row.use_count() > 1) {
    row = std::make_shared<TRow>(SharingCopy(*row));
  }
  return *row;
}

TGridRow TGridStore::Take(std::shared_ptr<TRow>& row) {
  if (!row) return {};
  if (row.use_count() == 1) return std::move(*row);
  return SharingCopy(*row);
}

std::shared_ptr<TGridRow> TGridStore::Wrap(TRow&& row) {
  if (row.empty()) return nullptr;
  return std::make_shared<TRow>(std::move(row));
}

void TGridStore::SetCell(int c, int r, std::string text) {
  if (!Valid(c, r)) return;
  const std::size_t col = static_cast<std::size_t>(c);
  if (col >= RowAt(r).size() && text.empty()) return;  // an unwritten cell is already empty
  TRow& row = Writable(r);
  if (journal_ && !(col < row.size() && row[col] == text)) {
    TGridChange* last = journal_->Changes.empty() ? nullptr : &journal_->Changes.back();
    const bool lastInRow = last && last->Kind == TGridChange::TKind::Cells && last->Row == r;
    if (lastInRow && c >= last->FirstCol && c < last->FirstCol + last->Count) {
      // The journal already keeps what the cell held before: a replace of two fields of
      // one button keeps no text in between.
    } else if (lastInRow && c == last->FirstCol + last->Count && last->CountWas == last->Count &&
               col < row.size()) {
      // The cell next to the last change's span: the span takes it in (its slots are the
      // journal's last ones).
      ++last->Count;
      ++last->CountWas;
      journal_->Texts.push_back(std::move(row[col]));
      ShareHeld(*journal_);
    } else if (col < row.size()) {
      JournalSpan(r, c, 1, 1);
      journal_->Texts.back() = std::move(row[col]);
      ShareHeld(*journal_);
    } else {
      // The columns the cell adds to the row.
      const int first = static_cast<int>(row.size());
      JournalSpan(r, first, 0, c - first + 1);
    }
  }
  if (col >= row.size()) row.resize(col + 1);
  row[col] = text;
  if (TObserver* told = Told()) told->CellChanged(c, r);
}

TGridChange& TGridStore::JournalSpan(int r, int first, int countWas, int count) {
  TGridChange& change = journal_->Changes.emplace_back();
  change.Row = r;
  change.FirstCol = first;
  change.CountWas = countWas;
  change.Count = count;
  change.At = static_cast<std::uint32_t>(journal_->Texts.size());
  journal_->Texts.resize(journal_->Texts.size() +
                         static_cast<std::size_t>(std::max(countWas, count)));
  return change;
}

void TGridStore::ShareHeld(TGridJournal& journal) {
  const auto add = [](auto& to, const auto& from) {
    for (const auto& bytes : from)
      if (std::find(to.begin(), to.end(), bytes) == to.end()) to.push_back(bytes);
  };
  add(journal.Held, held_);
  add(held_, journal.Held);
}

void TGridStore::SetRow(int r, std::vector<std::string> cells) {
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  SetRowTexts(r, Texts(cells));
}

void TGridStore::SetRowTexts(int r, std::vector<TFieldText> cells) {
  if (r < 0 || r >= RowCount()) return;
  if (cells.size() > static_cast<std::size_t>(kColCount)) cells.resize(kColCount);
  TRow before = Take(rows_[static_cast<std::size_t>(r)]);
  rows_[static_cast<std::size_t>(r)] = Wrap(std::move(cells));
  if (journal_) JournalCells(r, before);
  if (TObserver* told = Told()) told->RowChanged(r);
}

void TGridStore::HoldBytes(std::shared_ptr<const char[]> bytes) {
  if (bytes) held_.push_back(std::move(bytes));
}

void TGridStore::JournalCells(int r, TRow& before) {
  const TRow& after = RowAt(r);
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
  const std::size_t countWas = before.size() - prefix - suffix;
  const TGridChange& change = JournalSpan(r, static_cast<int>(prefix), static_cast<int>(countWas),
                                          static_cast<int>(after.size() - prefix - suffix));
  std::move(before.begin() + static_cast<std::ptrdiff_t>(prefix),
            before.begin() + static_cast<std::ptrdiff_t>(prefix + countWas),
            journal_->Texts.begin() + static_cast<std::ptrdiff_t>(change.At));
  ShareHeld(*journal_);
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
  rows_.insert(rows_.begin() + first, static_cast<std::size_t>(count), nullptr);
  if (journal_) {
    TGridChange& change = journal_->Changes.emplace_back();
    change.Kind = TGridChange::TKind::InsertRows;
    change.Row = first;
    change.Count = count;
  }
  if (TObserver* told = Told()) told->RowsInserted(first, count);
}

void TGridStore::DeleteRows(int first, int count) {
  first = std::max(first, 0);
  count = std::min(count, RowCount() - first);
  if (count < 1) return;
  if (journal_) {
    TGridChange& change = journal_->Changes.emplace_back();
    change.Kind = TGridChange::TKind::DeleteRows;
    change.Row = first;
    change.Count = count;
    change.At = static_cast<std::uint32_t>(journal_->Rows.size());
    for (int r = first; r < first + count; ++r)
      journal_->Rows.push_back(Take(rows_[static_cast<std::size_t>(r)]));
    ShareHeld(*journal_);
  }
  rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
  if (rows_.empty()) {  // a grid keeps at least one row
    rows_.emplace_back();
    if (journal_) {
      TGridChange& change = journal_->Changes.emplace_back();
      change.Kind = TGridChange::TKind::InsertRows;
      change.Count = 1;
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
    TGridChange& change = journal_->Changes.emplace_back();
    change.Kind = TGridChange::TKind::MoveRow;
    change.Row = from;
    change.Count = to;
  }
  if (TObserver* told = Told()) told->RowMoved(from, to);
}

void TGridStore::Clear() {
  if (journal_) {
    // Copies, which own their bytes: the file the grid was filled from may go.
    TGridChange& change = journal_->Changes.emplace_back();
    change.Kind = TGridChange::TKind::Clear;
    change.Count = RowCount();
    change.At = static_cast<std::uint32_t>(journal_->Rows.size());
    for (int r = 0; r < RowCount(); ++r)
      journal_->Rows.push_back(RowAt(r));
  }
  rows_.assign(1, nullptr);
  held_.clear();
  if (TObserver* told = Told()) told->Reset();
}

namespace {

// Exchanges the span [first, first + inRow) of row with the slots' first inSlots texts, in
// place: a step that changed thousands of cells of one row is taken back cell by cell, and
// copying the row for each would cost the row's length every time. The cells around it stay
// as they are, so that those borrowing stay in the store.
void SwapSpan(std::vector<TFieldText>& row, int first, int inRow, TFieldText* slots, int inSlots) {
  const auto at = row.begin() + first;
  const int common = std::min(inRow, inSlots);
  for (int i = 0; i < common; ++i)
    std::swap(at[i], slots[i]);
  if (inRow > common) {
    std::move(at + common, at + inRow, slots + common);
    row.erase(at + common, at + inRow);
  } else if (inSlots > common) {
    row.insert(at + common, std::make_move_iterator(slots + common),
               std::make_move_iterator(slots + inSlots));
  }
}

}  // namespace

void TGridStore::SwapWith(TGridJournal& journal, const TGridChange& change, bool undone) {
  ShareHeld(journal);
  TObserver* told = Told();
  if (change.Kind == TGridChange::TKind::DeleteRows) {
    const auto slots = journal.Rows.begin() + static_cast<std::ptrdiff_t>(change.At);
    const auto at = rows_.begin() + change.Row;
    if (undone) {
      std::vector<std::shared_ptr<TRow>> back;
      back.reserve(static_cast<std::size_t>(change.Count));
      for (int i = 0; i < change.Count; ++i)
        back.push_back(Wrap(std::move(slots[i])));
      rows_.insert(at, std::make_move_iterator(back.begin()), std::make_move_iterator(back.end()));
      if (told) told->RowsInserted(change.Row, change.Count);
    } else {
      for (int i = 0; i < change.Count; ++i)
        slots[i] = Take(at[i]);
      rows_.erase(at, at + change.Count);
      if (told) told->RowsDeleted(change.Row, change.Count);
    }
    return;
  }
  const int inRow = undone ? change.Count : change.CountWas;
  const int inSlots = undone ? change.CountWas : change.Count;
  SwapSpan(Writable(change.Row), change.FirstCol, inRow, journal.Texts.data() + change.At, inSlots);
  if (told == nullptr) return;
  if (inRow != inSlots) {
    told->RowChanged(change.Row);
    return;
  }
  for (int i = 0; i < inRow; ++i)
    told->CellChanged(change.FirstCol + i, change.Row);
}

void TGridStore::Undo(TGridJournal& journal, const TGridChange& change) {
  TGridJournal* journalled = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
    case TGridChange::TKind::DeleteRows:
      SwapWith(journal, change, true);
      break;
    case TGridChange::TKind::InsertRows:
      rows_.erase(rows_.begin() + change.Row, rows_.begin() + change.Row + change.Count);
      if (TObserver* told = Told()) told->RowsDeleted(change.Row, change.Count);
      break;
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Count, change.Row);
      break;
    case TGridChange::TKind::Clear: {
      // The copies own their bytes, and nothing else is left in the grid.
      const auto slots = journal.Rows.begin() + static_cast<std::ptrdiff_t>(change.At);
      rows_.clear();
      for (int i = 0; i < change.Count; ++i)
        rows_.push_back(Wrap(std::move(slots[i])));
      held_.clear();
      if (TObserver* told = Told()) told->Reset();
      break;
    }
  }
  journal_ = journalled;
}

void TGridStore::Redo(TGridJournal& journal, const TGridChange& change) {
  TGridJournal* journalled = std::exchange(journal_, nullptr);
  switch (change.Kind) {
    case TGridChange::TKind::Cells:
    case TGridChange::TKind::DeleteRows:
      SwapWith(journal, change, false);
      break;
    case TGridChange::TKind::InsertRows:
      rows_.insert(rows_.begin() + change.Row, static_cast<std::size_t>(change.Count), nullptr);
      if (TObserver* told = Told()) told->RowsInserted(change.Row, change.Count);
      break;
    case TGridChange::TKind::MoveRow:
      MoveRow(change.Row, change.Count);
      break;
    case TGridChange::TKind::Clear:
      for (int r = 0; r < RowCount(); ++r)
        journal.Rows[change.At + static_cast<std::size_t>(r)] =
            Take(rows_[static_cast<std::size_t>(r)]);
      rows_.assign(1, nullptr);
      held_.clear();
      if (TObserver* told = Told()) told->Reset();
      break;
  }
  journal_ = journalled;
}
