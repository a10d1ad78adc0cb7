// The texts the finder searches, folded once for the whole grid: each button's title,
// targets, parameters, working folder and comment folded as FoldForFind folds them,
// in UTF-8, one after another in page order (in a buffer for each of a few runs of
// rows, folded side by side on a grid of many buttons). A line break ends every
// field and every button; no needle holds one, so no match spans two of them.
#pragma once

#include <QPoint>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FindFold.h"

class TGridStore;

class TFoldedGrid {
 public:
  void Build(const TGridStore& grid) { BuildAndFind(grid, {}); }
  // Builds, and returns what FindAll(needle) would, each run of rows searched by the thread
  // that folded it; none for an empty needle.
  std::vector<QPoint> BuildAndFind(const TGridStore& grid, std::string_view needle);
  void Clear();
  bool Built() const { return !rowFirst_.empty(); }
  // The grid's row count when it was built.
  int RowCount() const { return static_cast<int>(rowFirst_.size()) - 1; }

  // The cells (x = column, y = row) of the buttons whose folded text holds needle (folded,
  // UTF-8, not empty), in page order.
  std::vector<QPoint> FindAll(std::string_view needle) const;
  // The same among cells only, which must hold every button that has needle (the hits
  // of a part of it), in page order.
  std::vector<QPoint> FindAmong(std::string_view needle, const std::vector<QPoint>& cells) const;

  // Bytes held.
  std::size_t MemoryBytes() const;

 private:
  // A run of rows folded on a thread of its own.
  struct TPart {
    TFoldBuffer Text;
    std::size_t FirstButton = 0;
    int FirstRow = 0;
  };
  void BuildPart(const TGridStore& grid, int firstRow, int endRow, TPart& part);
  // Appends the hits of needle in part.
  void FindInPart(const TPart& part, std::string_view needle, std::vector<QPoint>& hits) const;
  const TPart& PartOf(std::size_t button) const;
  int RowButtons(int r) const {
    return static_cast<int>(rowFirst_[static_cast<std::size_t>(r) + 1] -
                            rowFirst_[static_cast<std::size_t>(r)]);
  }
  std::size_t Start(const TPart& part, std::size_t button) const {
    return button == part.FirstButton ? 0 : ends_[button - 1] + 1;
  }
  std::vector<TPart> parts_;
  std::vector<std::uint64_t> ends_;  // per button in page order: where its text ends in its part
  std::vector<std::uint32_t> rowFirst_;  // per row: its first button; one more for the end
};
