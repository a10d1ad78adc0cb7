#include "GridTargets.h"

#include <set>

#include "GridRows.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordSplit.h"
#include "RecordText.h"

namespace {

constexpr std::size_t kButtonFields = 11;  // a button's record text, as TextToItem splits it

// The few texts that findings name (fields and reasons), held once: the findings of a
// large grid then share a dozen strings instead of each holding copies of its own.
class TSharedTexts {
 public:
  void Share(QString& text) {
    for (const QString& known : texts_)
      if (known == text) {
        text = known;
        return;
      }
    if (texts_.size() < 64) texts_.push_back(text);
  }

 private:
  std::vector<QString> texts_;
};

}  // namespace

std::vector<TGridFinding> CheckGridTargets(const TGridStore& grid) {
  std::vector<TGridFinding> findings;
  VisitGridTargets(grid,
                   [&findings](int r, int c, std::string_view title, TTargetFinding& finding) {
                     findings.push_back({r, c, std::string(title), std::move(finding)});
                   });
  return findings;
}

void VisitGridTargets(const TGridStore& grid, const TFindingVisitor& visit) {
  // One split and one button reused for every cell, its texts borrowed from the
  // cell: only the titles of buttons with findings are copied.
  TRecordFields fields;
  TLaunchDataItem item;
  TSharedTexts shared;
  for (int r = 1; r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      const std::string_view text = grid.Cell(c, r);
      SplitRecord(text, fields, kButtonFields);
      try {
        FieldsToItem(fields, item, text);
      } catch (const ELaunchError&) {
        continue;
      }
      for (TTargetFinding& finding : CheckButtonTargets(item)) {
        shared.Share(finding.Field);
        shared.Share(finding.Why);
        visit(r, c, item.Title, finding);
      }
    }
  }
}

int ClearButtons(TGridEdit& edit, const std::vector<QPoint>& cells) {
  std::set<std::pair<int, int>> buttons;
  for (const QPoint& cell : cells)
    if (IsButtonCell(edit.Grid, cell.x(), cell.y())) buttons.insert({cell.y(), cell.x()});
  if (buttons.empty()) return 0;
  // Any number of buttons may be chosen in the list: one question names how many.
  if (edit.Ask(QStringLiteral("%1 個のボタンの登録情報をクリアしますか？").arg(buttons.size()),
               QStringLiteral("確認"), mbYes | mbNo) != mrYes)
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
