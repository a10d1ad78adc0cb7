#include "GridRows.h"

#include <algorithm>

#include "GridRules.h"
#include "ItemIcons.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShiftJis.h"

QIcon TGridEdit::IconOf(const TLaunchDataItem& item) const {
  return MakeIcon ? MakeIcon(item) : GetItemIcon(item);
}

void InsertGridRows(TGridStore& grid, int at, int n) {
  if (n < 1 || at < 0 || at > grid.RowCount()) return;
  grid.InsertRows(at, n);
}

void DeleteGridRows(TGridStore& grid, int first, int last) {
  if (first > last) std::swap(first, last);
  first = std::max(first, 1);
  last = std::min(last, grid.RowCount() - 1);
  if (first > last) return;
  if (first == 1 && last == grid.RowCount() - 1) {
    // A grid keeps one page row.
    grid.DeleteRows(2, last - 1);
    grid.SetRow(1, {});
    return;
  }
  grid.DeleteRows(first, last - first + 1);
}

void MovePage(TGridEdit& edit, int from, int to) {
  const int pages = PageCount(edit.Grid);
  if (from < 1 || from > pages || to < 1 || to > pages || from == to) return;
  edit.Grid.MoveRow(from, to);
  // The icons are those of the same texts: they move with the row.
  if (from <= edit.Icons.Count() && to <= edit.Icons.Count()) {
    edit.Icons.Move(from - 1, to - 1);
  } else {
    RebuildPageIcons(edit, to, CountOfRow(edit.Grid, to));
  }
}

void RebuildPageIcons(TGridEdit& edit, int r, int n) {
  if (r < 1) return;
  while (edit.Icons.Count() < r)  // every page row has its list
    AddIconRow(edit.Icons, 0);
  auto icons = std::make_unique<TIconList>();
  if (edit.IconsWhenDrawn) {
    icons->AddEmpty(n);
  } else {
    icons->Reserve(n);
    for (int c = 1; c <= n; ++c)
      icons->Add(TIcon(edit.IconOf(*ButtonOfCell(edit.Grid, c, r))));
  }
  edit.Icons.Replace(r - 1, std::move(icons));
}

TPageRow ReadPageRow(const TGridStore& grid, int r) {
  TPageRow page;
  page.PageText = grid.Cell(0, r);
  const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
  page.Buttons.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int c = 1; c <= count; ++c)
    page.Buttons.push_back(grid.Cell(c, r));
  return page;
}

void WritePageRow(TGridStore& grid, int r, TPageRow page) {
  std::unique_ptr<TPageItem> item;
  try {
    item = TextToPage(page.PageText);
  } catch (const ELaunchError&) {
    item = TextToPage("");
  }
  const std::size_t most = static_cast<std::size_t>(grid.ColCount() - 1);
  if (page.Buttons.size() > most) page.Buttons.resize(most);
  item->Count = static_cast<std::int32_t>(page.Buttons.size());
  std::vector<std::string> cells;
  cells.reserve(page.Buttons.size() + 1);
  cells.push_back(PageToText(*item));
  for (std::string& button : page.Buttons)
    cells.push_back(std::move(button));
  grid.SetRow(r, std::move(cells));
}

const std::string& NewButtonText() {
  static const std::string text = ItemToText(*NewLaunchItem());
  return text;
}
