#include "GridRules.h"

#include <algorithm>

#include "DataItems.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace {

// "使用回数 : " in CP932
const std::string kUseCountLabel = "\x8e\x67\x97\x70\x89\xf1\x90\x94\x20\x3a\x20";
// "ページ名: " in CP932
const std::string kPageNameLabel = "\x83\x79\x81\x5b\x83\x57\x96\xbc\x3a\x20";

}  // namespace

int CountOfRow(const TGridCells& grid, int r) {
  if (r < 1 || r >= grid.RowCount()) return 0;
  try {
    return CountOfText(grid.Cell(0, r));
  } catch (const ELaunchError&) {
    return 0;  // a damaged page text owns no buttons rather than breaking the grid
  }
}

std::unique_ptr<TDataStatus> StatusOfGrid(const TGridCells& grid) {
  try {
    return TextToStatus(grid.Cell(0, 0));
  } catch (const ELaunchError&) {
    return TextToStatus("");
  }
}

bool IsButtonCell(const TGridStore& grid, int c, int r) {
  return r >= 1 && c >= 1 && c <= CountOfRow(grid, r);
}

bool CanSelectCell(const TGridStore& grid, int c, int r) {
  if (r < 1 || r >= grid.RowCount() || c < 1 || c >= grid.ColCount()) return false;
  return c <= CountOfRow(grid, r);
}

std::string PageNameOfRow(const TGridStore& grid, int r) {
  try {
    return CaptionOfText(grid.Cell(0, r));
  } catch (const ELaunchError&) {
    return {};
  }
}

std::unique_ptr<TLaunchDataItem> ButtonOfCell(const TGridStore& grid, int c, int r) {
  try {
    return TextToItem(grid.Cell(c, r));
  } catch (const ELaunchError&) {
    return NewLaunchItem();  // a damaged text shows as an unregistered button
  }
}

int ColumnOnPage(const TGridStore& grid, int col, int r) {
  const int count = std::clamp(CountOfRow(grid, r), 0, grid.ColCount() - 1);
  return col >= 1 && col <= count ? col : std::max(count, 1);
}

bool CellTitle(const TGridStore& grid, int c, int r, TCellTitle& out) {
  if (c == 1 && r >= 1 && r < grid.RowCount() && CountOfRow(grid, r) <= 0) {
    out.title = "[ " + PageNameOfRow(grid, r) + " ]";
    out.hint.clear();
    return true;
  }
  if (!IsButtonCell(grid, c, r)) return false;
  const std::string page = PageNameOfRow(grid, r);
  const std::unique_ptr<TLaunchDataItem> item = ButtonOfCell(grid, c, r);
  const std::string useCount = std::to_string(item->UseCount);
  out.title = "[ " + page + " ] [" + kUseCountLabel + useCount + " ] " + item->Title;
  const std::string comment = sjis::ReplaceText(item->Comment, "\\n", "\n");
  if (!comment.empty())
    out.hint = item->Title + " : \n" + comment + "\n" + kUseCountLabel + useCount;
  else
    out.hint = item->Title + "\n" + kUseCountLabel + useCount;
  return true;
}

std::string PageNameHint(const TGridStore& grid, int r) {
  return kPageNameLabel + PageNameOfRow(grid, r);
}

TDoubleClick DoubleClickAction(const TGridStore& grid, int c, int r) {
  if (c == 0 && r == 0) return TDoubleClick::ToggleNameColumn;
  if (c == 0 && r >= 1 && r < grid.RowCount()) return TDoubleClick::RenamePage;
  if (c >= 1 && r >= 1 && r < grid.RowCount() && c <= CountOfRow(grid, r) + 1)
    return TDoubleClick::EditPage;
  return TDoubleClick::None;
}

TPopupDecision ContextPopupDecision(const TGridStore& grid, int c, int r) {
  TPopupDecision d;
  if (r <= 0 || c < 0 || r >= grid.RowCount() || c >= grid.ColCount()) return d;
  d.selectRow = true;
  d.open = c <= CountOfRow(grid, r) + 1;
  return d;
}

TPopupState PopupMenuState(const TGridStore& grid, int pointerCol, int c, int r,
                           const std::string& copyBuffer) {
  TPopupState s;
  s.pageItems = pointerCol == 0;
  s.buttonItems = pointerCol != 0;
  s.paste = !copyBuffer.empty();
  s.popupCellText = grid.Cell(c, r);
  const int kind = KindOfText(s.popupCellText);
  const auto status = TextToStatus(grid.Cell(0, 0));
  const auto page = TextToPage(grid.Cell(0, r));
  const int pages = PageCount(grid);
  s.buttonDelete = page->Count > status->MinButtons;
  s.pageMoveDown = r != grid.RowCount() - 1;
  s.pageMoveUp = r != 1;
  s.pageNew = status->MaxPages == 0 || pages < status->MaxPages;
  s.pageDelete = pages > 1;
  s.buttonClear = kind != lkNone;
  s.linkOpen = kind != lkNone && kind != lkFolder && kind != lkSpecialFolder;
  return s;
}
