// The main window's working copy of the data: a grid of cell texts (CP932 record
// texts) addressed by column and row. A cell may borrow its text from the bytes of
// the file the grid was filled from, which the store then keeps; whatever leaves the
// store (a row, a journalled change) is a copy of its own. Row 0 holds the status text in column 0;
// row r >= 1 holds page r-1: its page text in column 0 and its button texts from
// column 1. Every change goes through the handful of operations below, and each
// one is reported to the observer, so that a view (and later undo) sees them all.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FieldText.h"

// One change of the grid as the store made it, with what it replaced: enough to take
// it back and to make it again. Rows keep only their changed span of columns.
struct TGridChange {
  enum class TKind { Cells, InsertRows, DeleteRows, MoveRow, Clear };
  TKind Kind = TKind::Cells;
  int Row = 0;       // Cells: the row; InsertRows, DeleteRows: the first row; MoveRow: from
  int Count = 0;     // InsertRows, DeleteRows: how many rows; MoveRow: to
  int FirstCol = 0;  // Cells: the first column of the span
  std::vector<std::string> Before;             // Cells: the span as it was
  std::vector<std::string> After;              // Cells: the span as it became
  std::vector<std::vector<std::string>> Rows;  // DeleteRows, Clear: the rows removed
};

class TGridStore {
 public:
  static constexpr int kColCount = 10001;  // column 0 and button columns 1 ... 10000

  // Told of every change, after it happened.
  class TObserver {
   public:
    virtual ~TObserver() = default;
    virtual void CellChanged(int c, int r) = 0;
    virtual void RowsInserted(int first, int count) = 0;
    virtual void RowsDeleted(int first, int count) = 0;
    virtual void RowMoved(int from, int to) = 0;
    virtual void RowChanged(int r) = 0;
    virtual void Reset() = 0;
  };

  TGridStore() : rows_(1) {}
  void SetObserver(TObserver* observer) { observer_ = observer; }

  // Changes made while a batch lives are told to the observer as one Reset at its
  // end, not one by one (filling a grid of a million cells row by row).
  class TBatch {
   public:
    explicit TBatch(TGridStore& store) : store_(store) { ++store_.batches_; }
    ~TBatch() {
      if (--store_.batches_ == 0 && store_.observer_) store_.observer_->Reset();
    }
    TBatch(const TBatch&) = delete;
    TBatch& operator=(const TBatch&) = delete;

   private:
    TGridStore& store_;
  };

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColCount() const { return kColCount; }

  // The text of a cell; empty for a cell never written or outside the grid. Valid
  // until the cell next changes.
  const TFieldText& Cell(int c, int r) const;
  // Writes one cell; outside the grid nothing happens.
  void SetCell(int c, int r, std::string text);

  // The cells of row r from column 0 up to its last written one.
  std::vector<std::string> Row(int r) const;
  // Replaces all cells of row r.
  void SetRow(int r, std::vector<std::string> cells);
  void SetRowTexts(int r, std::vector<TFieldText> cells);
  // Keeps bytes that cells set after this may borrow, until the grid is cleared.
  void HoldBytes(std::shared_ptr<const char[]> bytes);
  // The number of columns of row r that were ever written (its last + 1).
  int UsedColumns(int r) const;

  // Sets the number of rows (at least 1); new rows are empty, cut rows are lost.
  void SetRowCount(int rows);
  // Inserts count empty rows before row first (0 ... RowCount()).
  void InsertRows(int first, int count);
  // Removes rows first ... first + count - 1 (clamped to the grid).
  void DeleteRows(int first, int count);
  // Moves row from to position to; the rows between shift by one.
  void MoveRow(int from, int to);
  // Empties every cell and leaves one row.
  void Clear();

  // While a journal is set, every change is also appended to it.
  void SetJournal(std::vector<TGridChange>* journal) { journal_ = journal; }
  // Takes a change back, or makes it again; neither is journalled.
  void Undo(const TGridChange& change);
  void Redo(const TGridChange& change);

 private:
  TObserver* Told() const { return batches_ == 0 ? observer_ : nullptr; }
  bool Valid(int c, int r) const { return r >= 0 && r < RowCount() && c >= 0 && c < kColCount; }
  using TRow = std::vector<TFieldText>;
  // Journals a change of row r's cells from before to what the row holds now.
  void JournalCells(int r, const TRow& before);
  // Row r's cells replaced by cells (no journal).
  void PutRow(int r, TRow cells);
  // Takes a Cells change back or makes it again: its span out becomes in.
  void SpliceCells(const TGridChange& change, const std::vector<std::string>& out,
                   const std::vector<std::string>& in);
  // No cell borrows any longer: the bytes kept for them may go.
  void Emptied() { held_.clear(); }
  std::vector<TRow> rows_;
  std::vector<std::shared_ptr<const char[]>> held_;
  TObserver* observer_ = nullptr;
  int batches_ = 0;
  std::vector<TGridChange>* journal_ = nullptr;
};
