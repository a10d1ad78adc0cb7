// The finder as it was before the grid's folded texts were kept in one buffer: each
// button's fields decoded and folded into a text of its own. Kept as the reference
// the fast finder is compared with, in the tests and the bench.
#pragma once

#include <QPoint>
#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "FindReplace.h"
#include "GridRules.h"
#include "GridStore.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "TextFormat.h"

class TOldGridFinder {
 public:
  void Invalidate() {
    rows_.clear();
    hits_.clear();
  }

  const std::vector<QPoint>& FindAll(const TGridStore& grid, const QString& text) {
    if (rows_.size() == static_cast<std::size_t>(grid.RowCount()) && text == text_) return hits_;
    if (rows_.size() != static_cast<std::size_t>(grid.RowCount())) Build(grid);
    text_ = text;
    hits_.clear();
    const QString needle = FoldForFind(text);
    if (needle.isEmpty() || needle.contains(QLatin1Char('\n'))) return hits_;
    for (std::size_t r = 1; r < rows_.size(); ++r)
      for (std::size_t c = 0; c < rows_[r].size(); ++c)
        if (rows_[r][c].contains(needle))
          hits_.emplace_back(static_cast<int>(c) + 1, static_cast<int>(r));
    return hits_;
  }

 private:
  static std::unique_ptr<TLaunchDataItem> ItemOf(std::string_view text) {
    try {
      return TextToItem(text);
    } catch (const ELaunchError&) {
      return nullptr;
    }
  }

  void Build(const TGridStore& grid) {
    rows_.assign(static_cast<std::size_t>(grid.RowCount()), {});
    for (int r = 1; r < grid.RowCount(); ++r) {
      auto& row = rows_[static_cast<std::size_t>(r)];
      const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
      row.reserve(static_cast<std::size_t>(std::max(count, 0)));
      for (int c = 1; c <= count; ++c) {
        const auto item = ItemOf(grid.Cell(c, r));
        if (!item) {
          row.emplace_back();
          continue;
        }
        const QString joined = ShownText(item->Title) + QLatin1Char('\n') + ShownText(item->Link) +
                               QLatin1Char('\n') + ShownText(item->AltLink) + QLatin1Char('\n') +
                               ShownText(item->Params) + QLatin1Char('\n') +
                               ShownText(item->WorkDir) + QLatin1Char('\n') +
                               ShownText(item->Comment);
        row.push_back(FoldForFind(joined));
      }
    }
  }

  std::vector<std::vector<QString>> rows_;
  QString text_;
  std::vector<QPoint> hits_;
};
