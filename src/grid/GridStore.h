// The main window's working copy of the data: a grid of cell texts (CP932 record
// texts) addressed by column and row. A cell may borrow its text from the bytes of
// the file the grid was filled from, which the store then keeps; a row read out is a
// copy of its own, and a journal that takes texts keeps the bytes they borrow. Row 0
// holds the status text in column 0; row r >= 1 holds page r-1: its page text in
// column 0 and its button texts from column 1. Every change goes through the handful
// of operations below, and each one is reported to the observer, so that a view (and
// later undo) sees them all.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FieldText.h"

// One change of the grid as the store made it. What it replaced, or what replaced it
// once it is taken back, is kept in its journal; taking it back or making it again
// swaps the two, so that a text is never held twice. Rows keep only their changed span
// of columns.
struct TGridChange {
  enum class TKind : std::uint8_t { Cells, InsertRows, DeleteRows, MoveRow, Clear };
  TKind Kind = TKind::Cells;
  int Row = 0;           // Cells: the row; InsertRows, DeleteRows: the first row; MoveRow: from
  int Count = 0;         // Cells: the span's cells as it became; InsertRows, DeleteRows: how many
                         // rows; MoveRow: to
  int FirstCol = 0;      // Cells: the first column of the span
  int CountWas = 0;      // Cells: the span's cells as it was
  std::uint32_t At = 0;  // Cells: its first slot in the journal's Texts (as many as the longer
                         // span); DeleteRows, Clear: its first row in the journal's Rows
};
static_assert(sizeof(TGridChange) == 24, "a replace journals one per changed cell");

// The changes of one step, with the texts that are not in the grid.
struct TGridJournal {
  std::vector<TGridChange> Changes;
  std::vector<TFieldText> Texts;
  std::vector<std::vector<TFieldText>> Rows;
  // The bytes that texts moved out of the grid may borrow.
  std::vector<std::shared_ptr<const char[]>> Held;
  bool empty() const { return Changes.empty(); }
};

using TGridRow = std::vector<TFieldText>;

// What reading a grid needs, shared by the store and its snapshots. Rows are shared
// between a store and the snapshots taken of it until the store changes one: it then
// changes a copy of its own, so that a snapshot stays as it was taken.
class TGridCells {
 public:
  static constexpr int kColCount = 10001;  // column 0 and button columns 1 ... 10000

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColCount() const { return kColCount; }
  // The text of a cell; empty for a cell never written or outside the grid. Valid
  // until the cell next changes.
  const TFieldText& Cell(int c, int r) const;
  // The cells of row r from column 0 up to its last written one.
  std::vector<std::string> Row(int r) const;
  // The number of columns of row r that were ever written (its last + 1).
  int UsedColumns(int r) const;

 protected:
  TGridCells() : rows_(1) {}
  bool Valid(int c, int r) const { return r >= 0 && r < RowCount() && c >= 0 && c < kColCount; }
  const TGridRow& RowAt(int r) const;
  // No row for an empty one: a page without buttons costs a pointer.
  std::vector<std::shared_ptr<TGridRow>> rows_;
  // The bytes that cells may borrow.
  std::vector<std::shared_ptr<const char[]>> held_;
};

// The grid as it stood when taken, to be read on another thread while the grid goes
// on changing. Taken and let go on the grid's own thread only: whether a row is
// shared is then known for sure there.
class TGridSnapshot : public TGridCells {
  friend class TGridStore;
};

class TGridStore : public TGridCells {
 public:
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

  // The grid as it stands, sharing its rows (cheap: a pointer a row).
  TGridSnapshot Snapshot() const;

  // Writes one cell; outside the grid nothing happens.
  void SetCell(int c, int r, std::string text);

  // Replaces all cells of row r.
  void SetRow(int r, std::vector<std::string> cells);
  void SetRowTexts(int r, std::vector<TFieldText> cells);
  // Keeps bytes that cells set after this may borrow, until the grid is cleared.
  void HoldBytes(std::shared_ptr<const char[]> bytes);
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

  // While a journal is set, every change is also appended to it. Changes of one cell,
  // and of neighbouring cells of a row, that follow each other are one change.
  void SetJournal(TGridJournal* journal) { journal_ = journal; }
  // Whether the journal set has recorded a change yet.
  bool HasJournalledChanges() const { return journal_ != nullptr && !journal_->empty(); }
  // Takes a change of journal back, or makes it again; neither is journalled.
  void Undo(TGridJournal& journal, const TGridChange& change);
  void Redo(TGridJournal& journal, const TGridChange& change);

 private:
  TObserver* Told() const { return batches_ == 0 ? observer_ : nullptr; }
  using TRow = TGridRow;
  // Row r to change: a copy of its own when a snapshot shares it.
  TRow& Writable(int r);
  // What row holds, taken out of it (copied when a snapshot shares it).
  static TRow Take(std::shared_ptr<TRow>& row);
  static std::shared_ptr<TRow> Wrap(TRow&& row);
  // Journals a change of row r's cells from before (which it takes texts from) to what
  // the row holds now.
  void JournalCells(int r, TRow& before);
  // Appends a Cells change of row r whose span starts at first, with its slots.
  TGridChange& JournalSpan(int r, int first, int countWas, int count);
  // Takes a Cells or DeleteRows change back (undone) or makes it again: what the grid
  // holds and what the journal holds change places.
  void SwapWith(TGridJournal& journal, const TGridChange& change, bool undone);
  // Both the journal and the store keep the bytes either's texts may borrow.
  void ShareHeld(TGridJournal& journal);
  TObserver* observer_ = nullptr;
  int batches_ = 0;
  TGridJournal* journal_ = nullptr;
};
