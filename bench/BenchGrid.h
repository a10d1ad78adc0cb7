// A grid of n buttons in pages of a given size, with their icons, as the benchmarks of
// the window's commands use it: every button a program with its own title and target.
#pragma once

#include <algorithm>
#include <string>

#include "GridEdit.h"
#include "GridRows.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace bench {

struct TBenchGrid {
  TGridStore grid;
  TIconGridList icons;
  std::string copy;
  TGridEdit edit{grid, icons, copy};

  TBenchGrid(int n, int perPage) {
    TDataStatus status;
    status.MinButtons = 1;
    grid.SetRowCount(1);
    grid.SetCell(0, 0, StatusToText(status));
    const std::string title = *sjis::FromUtf8("表計算ソフト");
    const int pages = (n + perPage - 1) / perPage;
    grid.SetRowCount(pages + 1);
    for (int p = 0; p < pages; ++p) {
      TPageRow row;
      TPageItem page;
      page.Caption = *sjis::FromUtf8("ページ") + std::to_string(p);
      row.PageText = PageToText(page);
      for (int b = 0; b < std::min(perPage, n - p * perPage); ++b) {
        TLaunchDataItem item;
        item.Kind = lkProgram;
        item.Title = title + std::to_string(b);
        item.Link = "/usr/bin/app" + std::to_string(b % 20);
        row.Buttons.push_back(ItemToText(item));
      }
      WritePageRow(grid, p + 1, std::move(row));
      AddIconRow(icons, 0);
      RebuildPageIcons(edit, p + 1, static_cast<int>(grid.Row(p + 1).size()) - 1);
    }
    edit.Row = std::max(1, pages / 2);
    edit.Col = 2;
  }
};

}  // namespace bench
