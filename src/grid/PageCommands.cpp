#include "PageCommands.h"

#include <algorithm>

#include "GridRows.h"
#include "GridRules.h"
#include "InputDialog.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "TextFormat.h"

namespace {

const QString kNamePrompt = QStringLiteral("ページ名を入力して下さい。");
const QString kRenameCaption = QStringLiteral("ページ名の変更");

void NoNameMessage(const TGridEdit& edit) {
  edit.Ask(QStringLiteral("ページ名が入力されていません。\r再度入力し直して下さい。"),
           kRenameCaption, mbOK);
}

// Asks for a page name starting as name; the answer, or nothing when cancelled.
std::optional<QString> AskPageName(const TGridEdit& edit, const QString& caption, QString name) {
  if (!InputText(edit.DialogAt.x(), edit.DialogAt.y(), caption, name, kNamePrompt))
    return std::nullopt;
  return name;
}

// The CP932 bytes of a page name typed; nothing when it is empty or holds a character
// CP932 lacks, which is told as not entered.
std::optional<std::string> StoredPageName(const QString& name) {
  std::optional<std::string> cp932 = StoredText(name);
  if (!cp932 || cp932->empty()) return std::nullopt;
  return cp932;
}

}  // namespace

bool InsertPage(TGridEdit& edit) {
  TGridStore& grid = edit.Grid;
  const auto status = StatusOfGrid(grid);
  const int pages = PageCount(grid);
  if (status->MaxPages != 0 && pages >= status->MaxPages) return false;
  const auto answer = AskPageName(edit, QStringLiteral("新規ページの挿入"),
                                  QStringLiteral("ページ%1").arg(pages + 1));
  if (!answer) {
    NoNameMessage(edit);
    return false;
  }
  const auto name = StoredPageName(*answer);
  if (!name) return false;

  const int current = std::clamp(edit.Row, 1, std::max(pages, 1));
  const bool atEnd = current >= pages;
  const int r = atEnd ? pages + 1 : current;
  InsertGridRows(grid, r, 1);
  TPageRow page;
  TPageItem item;
  item.Caption = *name;
  page.PageText = PageToText(item);
  const int buttons = std::clamp(status->MinButtons, 0, grid.ColCount() - 1);
  page.Buttons.assign(static_cast<std::size_t>(buttons), NewButtonText());
  WritePageRow(grid, r, std::move(page));
  if (atEnd) {
    AddIconRow(edit.Icons, buttons);
  } else {
    InsertIconRow(edit.Icons, r - 1, buttons);
  }
  edit.NameColWidth = std::max(edit.NameColWidth, edit.TextWidthOf(*name) + 8);
  return true;
}

bool DeletePage(TGridEdit& edit) {
  TGridStore& grid = edit.Grid;
  const int r = edit.Row;
  if (PageCount(grid) <= 1 || r < 1 || r > PageCount(grid)) return false;
  const QString text = QStringLiteral("[") + ShownText(PageNameOfRow(grid, r)) +
                       QStringLiteral("]ページを削除しますか？\r") +
                       QStringLiteral("※ページを削除すると登録情報が失われます。");
  if (edit.Ask(text, QStringLiteral("ページ削除"), mbYes | mbNo) != mrYes) return false;
  if (r - 1 < edit.Icons.Count()) edit.Icons.Delete(r - 1);
  DeleteGridRows(grid, r, r);
  // The current cell stays where it was, inside the rows and the row's buttons.
  edit.Row = std::min(r, PageCount(grid));
  edit.Col = std::clamp(edit.Col, 1, std::max(CountOfRow(grid, edit.Row), 1));
  return true;
}

bool RenamePage(TGridEdit& edit) {
  TGridStore& grid = edit.Grid;
  const int r = edit.Row;
  if (r < 1 || r > PageCount(grid)) return false;
  std::unique_ptr<TPageItem> page;
  try {
    page = TextToPage(grid.Cell(0, r));
  } catch (const ELaunchError&) {
    return false;  // a damaged page text is not rewritten over its buttons' count
  }
  const QString shown = ShownText(page->Caption);
  const auto answer = AskPageName(edit, kRenameCaption, shown);
  // The name left as shown keeps its bytes, however else CP932 could spell them.
  if (!answer || *answer == shown) return false;
  const auto name = StoredPageName(*answer);
  if (!name) {
    NoNameMessage(edit);
    return false;
  }
  page->Caption = *name;
  grid.SetCell(0, r, PageToText(*page));
  edit.NameColWidth = std::max(edit.NameColWidth, edit.TextWidthOf(*name) + 6);
  return true;
}

bool MoveCurrentPage(TGridEdit& edit, int step) {
  const int from = edit.Row, to = edit.Row + step;
  if (from < 1 || to < 1 || from > PageCount(edit.Grid) || to > PageCount(edit.Grid)) return false;
  MovePage(edit, from, to);
  return true;
}
