#include "DataFileCommands.h"

#include <QFileInfo>
#include <algorithm>

#include "GridRules.h"
#include "GridTextSource.h"
#include "LaunchErrors.h"
#include "RecordSplit.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace {

const QString kRule = QString(40, QLatin1Char('-'));

// "n", or 無制限 for 0 (no limit).
QString LimitText(std::int32_t limit) {
  return limit == 0 ? QStringLiteral("無制限") : QString::number(limit);
}

}  // namespace

void GridToLaunchList(const TGridCells& grid, TLaunchList& list) {
  list.Clear();
  list.Pages.Clear();
  list.Status = *StatusOfGrid(grid);
  TRecordFields fields;
  for (int r = 1; r < grid.RowCount(); ++r) {
    std::unique_ptr<TPageItem> page;
    try {
      page = TextToPage(grid.Cell(0, r));
    } catch (const ELaunchError&) {
      page = TextToPage("");
    }
    // The buttons the row holds, so that the page's Count and its buttons agree.
    const int count = std::clamp(CountOfRow(grid, r), 0, grid.ColCount() - 1);
    page->Count = count;
    list.Pages.Add(std::move(page));
    for (int c = 1; c <= count; ++c) {
      // Made in the list's own blocks, its texts borrowing the cell's: a save reads
      // the whole grid and writes it out at once.
      CellToButton(grid.Cell(c, r), list.Emplace(), fields);
    }
  }
}

int TotalButtonCount(const TGridStore& grid) {
  int total = 0;
  for (int r = 1; r < grid.RowCount(); ++r)
    total += CountOfRow(grid, r);
  return total;
}

QString PropertiesText(const TGridStore& grid, const QString& saveFileName) {
  const auto status = StatusOfGrid(grid);
  const QFileInfo file(saveFileName);
  QString folder = file.path();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  const QString nl = QStringLiteral("\r\n");
  return QStringLiteral("[データーファイル名]") + nl + file.fileName() + nl + nl +
         QStringLiteral("[ファイル保存先]") + nl + folder + nl + nl + kRule + nl +
         QStringLiteral("[登録ページ数]：") + QString::number(PageCount(grid)) + nl +
         QStringLiteral("[データー総数]：") + QString::number(TotalButtonCount(grid)) + nl + kRule +
         nl + QStringLiteral("[ページ数の上限]：") + LimitText(status->MaxPages) + nl +
         QStringLiteral("[ページ内登録数の上限]：") + LimitText(status->MaxButtons) + nl +
         QStringLiteral("[１ページ内の最低登録数]：") + QString::number(status->MinButtons) + nl +
         kRule + nl + QStringLiteral("[アプリケーション]：") +
         QString::fromStdString(sjis::ToUtf8ForDisplay(status->AppName)) + nl +
         QStringLiteral("[データーバージョン]：Ver.") +
         QString::fromStdString(sjis::ToUtf8ForDisplay(status->Version)) + nl + kRule;
}

QString AboutText(const TVersionInfo& info) {
  return QStringLiteral("[") + info.ProductName + QStringLiteral("  Version ") +
         info.ProductVersion + QStringLiteral("] \r\r") + info.LegalCopyright;
}
