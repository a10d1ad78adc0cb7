#include "GridTargets.h"

#include <set>

#include "GridRows.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "MessageBox.h"
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
  for (const QPoint& cell : cells)
    if (IsButtonCell(edit.Grid, cell.x(), cell.y())) buttons.insert({cell.y(), cell.x()});
  if (buttons.empty()) return 0;
  // Any number of buttons may be chosen in the list: one question names how many.
  if (ShowMessageAt(QStringLiteral("%1 個のボタンの登録情報をクリアしますか？").arg(buttons.size()),
                    QStringLiteral("確認"), mbYes | mbNo, TMsgType::Plain, edit.DialogAt.x(),
                    edit.DialogAt.y()) != mrYes)
    return 0;
  std::set<int> pages;
  for (const auto& [r, c] : buttons) {
    edit.Grid.SetCell(c, r, NewButtonText());
    pages.insert(r);
  }
  for (int r : pages)
    RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
  return static_cast<int>(buttons.size());
}
