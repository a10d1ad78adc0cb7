// What the page and button grid decides from its cell texts alone: which cells are
// buttons and may be selected, the title line and hint of a button, what a
// double-click does, whether the pop-up menu opens and which of its items are
// shown and enabled. No toolkit: texts in, texts and flags out.
#pragma once

#include <memory>
#include <string>

#include "DataItems.h"
#include "GridStore.h"

// The Count of page row r (1 ... pages), read from its page text; 0 when the row
// holds no readable page text.
int CountOfRow(const TGridCells& grid, int r);

// The status of cell (0, 0); the defaults of an empty status text when it is damaged.
std::unique_ptr<TDataStatus> StatusOfGrid(const TGridCells& grid);

// Number of page rows.
inline int PageCount(const TGridStore& grid) {
  return grid.RowCount() - 1;
}

// A button cell: r >= 1 and 1 <= c <= count of r.
bool IsButtonCell(const TGridStore& grid, int c, int r);

// The button a cell's text holds; an unregistered one when the text cannot be read.
std::unique_ptr<TLaunchDataItem> ButtonOfCell(const TGridStore& grid, int c, int r);

// Whether the current cell may move to (c, r): only when c <= count of r (r >= 1).
bool CanSelectCell(const TGridStore& grid, int c, int r);

// The title line and the hint of button cell (c, r) (CP932 texts).
struct TCellTitle {
  std::string title;  // [ page ] [使用回数 : n ] title
  std::string hint;   // title : / comment / 使用回数 : n, with \n in the comment as line breaks
};
// Nothing when (c, r) is not a button cell, except the first cell of a page without
// buttons, which shows the page alone ("[ page ]", no hint).
bool CellTitle(const TGridStore& grid, int c, int r, TCellTitle& out);

// The column at which page row r becomes the current page: col when it is one of r's
// buttons, else r's last button, or its first cell when it has none. What the pointer
// points at on a page name or past a page's buttons, and where a moved page leaves the
// current cell, is then that page.
int ColumnOnPage(const TGridStore& grid, int col, int r);

// The hint of a page name cell (0, r): "ページ名: " and the page name (CP932).
std::string PageNameHint(const TGridStore& grid, int r);

// The page name of row r, or empty when its text has none.
std::string PageNameOfRow(const TGridStore& grid, int r);

enum class TDoubleClick { None, ToggleNameColumn, RenamePage, EditPage };
TDoubleClick DoubleClickAction(const TGridStore& grid, int c, int r);

// Whether the pop-up menu opens for a right click at (c, r); selectRow says whether
// row r is selected first (the column is kept).
struct TPopupDecision {
  bool selectRow = false;
  bool open = false;
};
TPopupDecision ContextPopupDecision(const TGridStore& grid, int c, int r);

// The pop-up menu's visible and enabled items for a pointer in column pointerCol and
// the current cell (c, r).
struct TPopupState {
  bool pageItems = false;    // items 1 ... 6 (separator and page commands) shown
  bool buttonItems = false;  // items 7 ... 17 shown
  bool paste = false;
  bool buttonDelete = false;
  bool pageMoveDown = false;
  bool pageMoveUp = false;
  bool pageNew = false;
  bool pageDelete = false;
  bool buttonClear = false;
  bool linkOpen = false;
  std::string popupCellText;  // the current cell's text when the menu opened
};
TPopupState PopupMenuState(const TGridStore& grid, int pointerCol, int c, int r,
                           const std::string& copyBuffer);
