#include "GridDragDrop.h"

#include <algorithm>

#include "FileUtils.h"
#include "GridRows.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "LinkClassify.h"
#include "RecordText.h"

namespace {

std::string TitleOrEmpty(const std::string& text) {
  try {
    return TitleOfText(text);
  } catch (const ELaunchError&) {
    return {};
  }
}

// Puts moved into the target page at column dc (1-based) as a drop on another page
// does. False when the user keeps the target as it is.
bool PutIntoTarget(const TGridEdit& edit, TPageRow& target, int dc, const std::string& moved) {
  const std::size_t at = static_cast<std::size_t>(dc - 1);
  const std::string& t = target.Buttons[at];
  if (KindOfText(t) == lkNone) {
    target.Buttons[at] = moved;
    return true;
  }
  const int limit = StatusOfGrid(edit.Grid)->MaxButtons;
  const int count = static_cast<int>(target.Buttons.size());
  // A page as wide as the grid is full as well: it has no column to shift into.
  const bool full = (limit != 0 && count >= limit) || count >= edit.Grid.ColCount() - 1;
  if (!full) {
    target.Buttons.insert(target.Buttons.begin() + static_cast<std::ptrdiff_t>(at), moved);
    return true;
  }
  const QString q = QStringLiteral("\"");
  if (edit.Ask(q + ShownText(TitleOrEmpty(t)) + QStringLiteral(" ") + q + QStringLiteral(" に ") +
                   q + QStringLiteral(" ") + ShownText(TitleOrEmpty(moved)) + QStringLiteral(" ") +
                   q + QStringLiteral(" を上書きしますか？"),
               QStringLiteral("上書きの確認"), mbYes | mbNo) != mrYes)
    return false;
  target.Buttons[at] = moved;
  return true;
}

bool ValidButton(const TGridStore& grid, int c, int r) {
  return IsButtonCell(grid, c, r);
}

// Within one page: the button of column sc ends at column dc.
void MoveWithinPage(TGridEdit& edit, int r, int sc, int dc) {
  TPageRow page = ReadPageRow(edit.Grid, r);
  std::vector<std::string>& b = page.Buttons;
  const auto from = b.begin() + (sc - 1), to = b.begin() + (dc - 1);
  if (sc < dc) {
    std::rotate(from, from + 1, to + 1);
  } else {
    std::rotate(to, from, from + 1);
  }
  const int count = static_cast<int>(b.size());
  WritePageRow(edit.Grid, r, std::move(page));
  RebuildPageIcons(edit, r, count);
}

bool ToOtherPage(TGridEdit& edit, int sr, int sc, int dc, int dr, bool keepSource) {
  TPageRow source = ReadPageRow(edit.Grid, sr);
  TPageRow target = ReadPageRow(edit.Grid, dr);
  const std::string moved = source.Buttons[static_cast<std::size_t>(sc - 1)];
  if (!PutIntoTarget(edit, target, dc, moved)) return false;
  // Both rows are written only once the drop is decided: a refused overwrite leaves
  // both pages exactly as they were.
  if (!keepSource) {
    source.Buttons.erase(source.Buttons.begin() + (sc - 1));
    const int count = static_cast<int>(source.Buttons.size());
    WritePageRow(edit.Grid, sr, std::move(source));
    RebuildPageIcons(edit, sr, count);
  }
  const int count = static_cast<int>(target.Buttons.size());
  WritePageRow(edit.Grid, dr, std::move(target));
  RebuildPageIcons(edit, dr, count);
  return true;
}

bool MoveOrCopy(TGridEdit& edit, int sr, int sc, int dc, int dr, bool keepSource) {
  if (!ValidButton(edit.Grid, sc, sr) || !ValidButton(edit.Grid, dc, dr)) return false;
  if (sr == dr) {
    if (sc == dc) return false;
    MoveWithinPage(edit, sr, sc, dc);
    return true;
  }
  return ToOtherPage(edit, sr, sc, dc, dr, keepSource);
}

}  // namespace

int AdjustPageCount(int delta, std::string& pageText) {
  std::unique_ptr<TPageItem> page;
  try {
    page = TextToPage(pageText);
  } catch (const ELaunchError&) {
    page = TextToPage("");
  }
  page->Count += delta;
  pageText = PageToText(*page);
  return page->Count;
}

bool MoveButton(TGridEdit& edit, int sr, int sc, int dc, int dr) {
  return MoveOrCopy(edit, sr, sc, dc, dr, false);
}

bool CopyButton(TGridEdit& edit, int sr, int sc, int dc, int dr) {
  return MoveOrCopy(edit, sr, sc, dc, dr, true);
}

bool DropButton(TGridEdit& edit, int sr, int sc, int dc, int dr) {
  if (sr == dr && sc == dc) return false;
  if (!ValidButton(edit.Grid, dc, dr)) return false;
  const int minimum = StatusOfGrid(edit.Grid)->MinButtons;
  return minimum < CountOfRow(edit.Grid, sr) ? MoveButton(edit, sr, sc, dc, dr)
                                             : CopyButton(edit, sr, sc, dc, dr);
}

bool RegisterDroppedFile(TGridEdit& edit, const QString& path, int row, int col) {
  TLaunchDataItem item;
  if (!ClassifyPath(path.toStdString(), item)) {
    edit.Ask(QString::fromStdString(CannotRegisterMessage(path.toStdString())),
             QStringLiteral("登録エラー"), mbOK);
    return false;
  }
  edit.Grid.SetCell(col, row, ItemToText(item));
  if (row - 1 < edit.Icons.Count() && col - 1 < edit.Icons.Get(row - 1).Count())
    edit.Icons.Get(row - 1).Replace(col - 1, std::make_unique<TIcon>(edit.IconOf(item)));
  return true;
}

bool DropFiles(TGridEdit& edit, const QStringList& paths, int c, int r) {
  // Only onto the button the file was dropped on: a drop on an empty cell would
  // otherwise land on whichever button happened to be current.
  if (!ValidButton(edit.Grid, c, r) || edit.Col != c || edit.Row != r || paths.isEmpty())
    return false;
  const QString path = QString::fromStdString(GetLongPath(paths.front().toStdString()));
  std::string link, title;
  try {
    link = LinkOfText(edit.Grid.Cell(c, r));
    title = TitleOfText(edit.Grid.Cell(c, r));
  } catch (const ELaunchError&) {
  }
  if (!link.empty()) {
    const QString q = QStringLiteral("\"");
    if (edit.Ask(q + ShownText(title) + QStringLiteral(" ") + q +
                     QStringLiteral(" を登録済みですが\r\r") + q + path + q +
                     QStringLiteral(" を\r\r登録しますか？"),
                 QStringLiteral("登録の確認"), mbYes | mbNo) != mrYes)
      return false;
  }
  return RegisterDroppedFile(edit, path, r, c);
}
