#include "GridTargets.h"

#include <set>

#include "GridRows.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"

std::vector<TGridFinding> CheckGridTargets(const TGridStore& grid) {
  std::vector<TGridFinding> findings;
  for (int r = 1; r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      std::unique_ptr<TLaunchDataItem> item;
      try {
        item = TextToItem(grid.Cell(c, r));
      } catch (const ELaunchError&) {
        continue;
      }
      for (TTargetFinding& finding : CheckButtonTargets(*item))
        findings.push_back({r, c, item->Title, std::move(finding)});
    }
  }
  return findings;
}

int ClearButtons(TGridEdit& edit, const std::vector<QPoint>& cells) {
  std::set<std::pair<int, int>> buttons;
  std::set<int> pages;
  for (const QPoint& cell : cells) {
    if (!IsButtonCell(edit.Grid, cell.x(), cell.y())) continue;
    edit.Grid.SetCell(cell.x(), cell.y(), NewButtonText());
    buttons.insert({cell.y(), cell.x()});
    pages.insert(cell.y());
  }
  for (int r : pages)
    RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
  return static_cast<int>(buttons.size());
}
