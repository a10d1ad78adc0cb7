// Finding buttons and replacing text in their paths, over the grid's record texts.
// Finding ignores letter case and the full-width / half-width forms of a character;
// replacing is exact, byte for byte in Shift-JIS, and never splits a double-byte
// character.
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "FoldedGrid.h"
#include "GridEdit.h"

// A text as finding compares it: compatibility forms folded (full-width letters and
// digits to their plain forms, half-width katakana to full width), then letter case.
QString FoldForFind(const QString& text);

// The buttons whose title, targets, parameters, working folder or comment hold the
// text, in page order. The folded texts of the grid are kept between searches, so
// that a search while typing does not decode the whole grid again: told of the grid's
// changes as the store's observer (or Invalidate after them), the finder folds again
// only the rows they touched. The hits of each text typed are kept while the next one
// holds it, so that a longer text is looked for among them and a shorter one is at hand.
class TGridFinder : public TGridStore::TObserver {
 public:
  // partButtons: about how many buttons are folded again with a changed one.
  explicit TGridFinder(int partButtons = TFoldedGrid::kPartButtons) : folded_(partButtons) {}
  void Invalidate() {
    folded_.Clear();
    ForgetText();
  }
  // Forgets the texts typed and their hits, keeping the folded texts: the next search
  // of an unchanged grid only searches.
  void ForgetText() {
    levels_.clear();
    text_.clear();
    current_ = nullptr;
  }
  // Whether the folded texts are at hand.
  bool Folded() const { return folded_.Built(); }
  // Cells (x = column, y = row) of the buttons that hold text; none for empty text.
  const std::vector<QPoint>& FindAll(const TGridStore& grid, const QString& text);
  // Whether the button at (col, row) holds text; cheap enough for every cell drawn.
  bool IsHit(const TGridStore& grid, const QString& text, int col, int row);
  // Bytes the finder keeps.
  std::size_t MemoryBytes() const;

  // The grid's changes: the hits go, the folded texts of the rows changed follow.
  void CellChanged(int, int r) override {
    folded_.RowChanged(r);
    ForgetText();
  }
  void RowChanged(int r) override {
    folded_.RowChanged(r);
    ForgetText();
  }
  void RowsInserted(int first, int count) override {
    folded_.RowsInserted(first, count);
    ForgetText();
  }
  void RowsDeleted(int first, int count) override {
    folded_.RowsDeleted(first, count);
    ForgetText();
  }
  void RowMoved(int from, int to) override {
    folded_.RowMoved(from, to);
    ForgetText();
  }
  void Reset() override { Invalidate(); }

 private:
  struct TLevel {
    std::string Needle;  // folded, UTF-8
    std::vector<QPoint> Hits;
  };
  TFoldedGrid folded_;
  std::vector<TLevel> levels_;  // each needle holds the one before it
  QString text_;                // the text current_ was found for
  const std::vector<QPoint>* current_ = nullptr;
  std::vector<QPoint> none_;
};

// The hit to go to from the current cell (col, row): the first after it in page order,
// else the first (wrapped); backward, the last before it, else the last. -1 when there
// are no hits.
int NextHit(const std::vector<QPoint>& hits, int col, int row, bool& wrapped,
            bool backward = false);

// One field of one button as a replacement changes it.
struct TReplacement {
  int Row = 0;
  int Col = 0;
  std::uint8_t Field = 0;  // Link, AltLink, WorkDir or IconFile
};

// What a replace would change, a field of a button a change. The texts before and after
// are read from the grid when wanted: a replace of a million paths holds no copy of them.
struct TReplacementPlan {
  std::string From;  // CP932
  std::string To;
  std::vector<TReplacement> Changes;
  std::size_t size() const { return Changes.size(); }
  bool empty() const { return Changes.empty(); }
  const TReplacement& operator[](std::size_t i) const { return Changes[i]; }
};

// The name of the field change is of: "リンク先", "ショートカットのリンク先", "作業フォルダ"
// or "アイコン".
const QString& FieldNameOf(const TReplacement& change);
// The field's text in grid as it is, and as the plan's replacement makes it.
std::string BeforeOf(const TGridCells& grid, const TReplacement& change);
std::string AfterOf(const TGridCells& grid, const TReplacementPlan& plan,
                    const TReplacement& change);

// Why from and to cannot be used (empty when they can): an empty search text, text
// that Shift-JIS cannot hold exactly, a line break or NUL.
QString ReplacementRefusal(const QString& from, const QString& to);

// What replacing from by to (CP932) in Link, AltLink, WorkDir and IconFile of every
// button (onlyRow 0) or of page row onlyRow would change, in page order.
TReplacementPlan PlanReplacements(const TGridStore& grid, const std::string& from,
                                  const std::string& to, int onlyRow);

// Writes the planned changes into the grid and rebuilds the icons of the touched
// pages. Returns the number of buttons changed.
int ApplyReplacements(TGridEdit& edit, const TReplacementPlan& plan);
