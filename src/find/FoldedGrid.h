// The texts the finder searches, folded once for the whole grid: each button's title,
// targets, parameters, working folder and comment folded as FoldForFind folds them,
// in UTF-8, one after another in page order, in a buffer for each part (a run of rows
// of a few thousand buttons). A line break ends every field and every button; no
// needle holds one, so no match spans two of them. The grid's changes, as its store
// tells them, mark the parts they touch, and only those are folded again: an edit
// costs the part that holds it, not the grid.
#pragma once

#include <QPoint>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FindFold.h"

class TGridStore;

class TFoldedGrid {
 public:
  // About the buttons of a part; a page of more is a part by itself.
  static constexpr int kPartButtons = 2048;
  explicit TFoldedGrid(int partButtons = kPartButtons) : partButtons_(partButtons) {}

  void Build(const TGridStore& grid) { BuildAndFind(grid, {}); }
  // Folds the rows that changed since (every row the first time), and returns what
  // FindAll(needle) would, each part searched by the thread that folded it; none for an
  // empty needle.
  std::vector<QPoint> BuildAndFind(const TGridStore& grid, std::string_view needle);
  void Clear();
  bool Built() const { return !parts_.empty(); }
  // Whether rows changed since they were folded: BuildAndFind before finding.
  bool Stale() const { return stale_; }
  // The grid's row count as the changes told left it.
  int RowCount() const { return parts_.empty() ? 0 : parts_.back().EndRow(); }

  // The grid changed, as its store tells: the parts that hold the rows are folded
  // again, the rows after them only renumbered.
  void RowChanged(int r);
  void RowsInserted(int first, int count);
  void RowsDeleted(int first, int count);
  void RowMoved(int from, int to);

  // The cells (x = column, y = row) of the buttons whose folded text holds needle (folded,
  // UTF-8, not empty), in page order.
  std::vector<QPoint> FindAll(std::string_view needle) const;
  // The same among cells only, which must hold every button that has needle (the hits
  // of a part of it), in page order.
  std::vector<QPoint> FindAmong(std::string_view needle, const std::vector<QPoint>& cells) const;

  // Bytes held.
  std::size_t MemoryBytes() const;

 private:
  struct TPart {
    int FirstRow = 0;
    int Rows = 0;
    bool Stale = true;  // its rows changed since they were folded: the rest is not valid
    TFoldBuffer Text;
    std::vector<std::uint64_t> Ends;      // per button: where its text ends in Text
    std::vector<std::uint32_t> RowFirst;  // per row: its first button; one more for the end
    int EndRow() const { return FirstRow + Rows; }
    std::size_t Buttons() const { return RowFirst.empty() ? 0 : RowFirst.back(); }
    std::size_t Start(std::size_t button) const { return button == 0 ? 0 : Ends[button - 1] + 1; }
  };
  // The part that holds row r (of the grid as told).
  std::size_t PartOfRow(int r) const;
  // Stale parts, next to each other, become parts of about partButtons_ buttons each,
  // with their rows' buttons counted, appended to parts.
  void Split(const TGridStore& grid, int firstRow, int endRow, std::vector<TPart>& parts) const;
  static void Fold(const TGridStore& grid, TPart& part);
  // Appends the hits of needle in part.
  static void FindInPart(const TPart& part, std::string_view needle, std::vector<QPoint>& hits);

  int partButtons_;
  std::vector<TPart> parts_;  // in row order, each of one row at least, together every row
  std::size_t buttons_ = 0;
  bool stale_ = false;
};
