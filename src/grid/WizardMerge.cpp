#include "WizardMerge.h"

#include <QIconEngine>
#include <algorithm>

#include "GridRows.h"
#include "GridRules.h"
#include "ItemIcons.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

// A button's icon that is read when it is first drawn: the grid shows a screenful of
// a page, and reading the icons of thousands of files never shown before would cost
// as much as classifying them.
class TDeferredIconEngine : public QIconEngine {
 public:
  explicit TDeferredIconEngine(const TLaunchDataItem& item) : item_(item) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QString key() const override { return QStringLiteral("PelloDeferredItemIcon"); }
  QIconEngine* clone() const override { return new TDeferredIconEngine(*this); }

 private:
  const QIcon& Icon() {
    if (!read_) {
      icon_ = GetItemIcon(item_);
      read_ = true;
    }
    return icon_;
  }
  TLaunchDataItem item_;
  QIcon icon_;
  bool read_ = false;
};

QIcon DeferredItemIcon(const TLaunchDataItem& item) {
  return QIcon(new TDeferredIconEngine(item));
}

// How many more buttons a page of count buttons may hold.
int PageRoom(const TGridStore& grid, const TDataStatus& status, int count) {
  const int columns = grid.ColCount() - 1;
  const int most = status.MaxButtons > 0 ? std::min<int>(status.MaxButtons, columns) : columns;
  return std::max(most - count, 0);
}

}  // namespace

void WizardPages(const TGridStore& grid, std::vector<std::string>& names,
                 std::vector<int>& counts) {
  names.clear();
  counts.clear();
  for (int r = 1; r <= PageCount(grid); ++r) {
    names.push_back(PageNameOfRow(grid, r));
    counts.push_back(CountOfRow(grid, r));
  }
}

bool MergeWizardRow(TGridEdit& edit, bool isNewPage, int targetPageIndex,
                    const std::vector<std::string>& rowCells) {
  TGridStore& grid = edit.Grid;
  const int pages = PageCount(grid);
  const int r = targetPageIndex + 1;
  // A file without pages has none to add to: the files make its first page.
  if (pages == 0) isNewPage = true;
  if (rowCells.size() < 2 || r < 1 || r > std::max(pages, 1)) return false;
  const auto status = StatusOfGrid(grid);
  const auto buttons = rowCells.begin() + 1;

  if (isNewPage) {
    if (status->MaxPages > 0 && pages >= status->MaxPages) return false;
    const int n = std::min(static_cast<int>(rowCells.size()) - 1, PageRoom(grid, *status, 0));
    InsertGridRows(grid, r, 1);
    // The icon lists keep one per page row: the lists below move down with their rows.
    if (r - 1 < edit.Icons.Count()) InsertIconRow(edit.Icons, r - 1, 0);
    WritePageRow(grid, r, {rowCells[0], std::vector<std::string>(buttons, buttons + n)});
    edit.NameColWidth = std::max(edit.NameColWidth, edit.TextWidthOf(PageNameOfRow(grid, r)) + 8);
  } else {
    try {
      CountOfText(grid.Cell(0, r));
    } catch (const ELaunchError&) {
      return false;  // rewriting a damaged page text would lose what it still holds
    }
    TPageRow page = ReadPageRow(grid, r);
    const int n = std::min(static_cast<int>(rowCells.size()) - 1,
                           PageRoom(grid, *status, static_cast<int>(page.Buttons.size())));
    if (n == 0) return false;
    page.Buttons.insert(page.Buttons.end(), buttons, buttons + n);
    WritePageRow(grid, r, std::move(page));
  }
  TGridEdit icons = edit;
  if (!icons.MakeIcon) icons.MakeIcon = DeferredItemIcon;
  RebuildPageIcons(icons, r, CountOfRow(grid, r));
  edit.Row = r;
  edit.Col = 1;
  return true;
}
