#include "ButtonCommands.h"

#include <algorithm>

#include "GridRows.h"
#include "GridRules.h"
#include "InputDialog.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShellProperties.h"
#include "ShiftJis.h"

namespace {

bool OnButton(const TGridEdit& edit) {
  return IsButtonCell(edit.Grid, edit.Col, edit.Row);
}

// Asks for 1 ... 10 new buttons under caption and puts them into the current page:
// after the current button, or after its last.
bool NewButtons(TGridEdit& edit, const QString& caption, bool afterCurrent) {
  const int r = edit.Row;
  if (r < 1 || r > PageCount(edit.Grid)) return false;
  // A negative count owns no buttons: it must reach neither the insert position nor
  // the room left.
  const int count = std::max(CountOfRow(edit.Grid, r), 0);
  // The page limit (0: none), and never past the grid's last column.
  const int limit = StatusOfGrid(edit.Grid)->MaxButtons;
  const int columns = edit.Grid.ColCount() - 1;
  const int most = limit > 0 ? std::min(limit, columns) : columns;
  if (count >= most) return false;
  int n = 1;
  if (!InputNumber(edit.DialogAt.x(), edit.DialogAt.y(), 1, 1, n,
                   QStringLiteral("1～10個の間で指定 "), caption, 10))
    return false;
  n = std::clamp(n, 1, most - count);
  TPageRow page = ReadPageRow(edit.Grid, r);
  const int at = afterCurrent ? std::clamp(edit.Col, 0, count) : count;
  page.Buttons.insert(page.Buttons.begin() + at, static_cast<std::size_t>(n), NewButtonText());
  WritePageRow(edit.Grid, r, std::move(page));
  RebuildPageIcons(edit, r, count + n);
  return true;
}

}  // namespace

bool AddButtons(TGridEdit& edit) {
  return NewButtons(edit, QStringLiteral("ボタンの追加"), false);
}

bool InsertButtons(TGridEdit& edit) {
  return NewButtons(edit, QStringLiteral("ボタンの挿入"), true);
}

bool DeleteButton(TGridEdit& edit) {
  if (!OnButton(edit)) return false;
  const int r = edit.Row, x = edit.Col;
  const int count = CountOfRow(edit.Grid, r);
  if (count <= StatusOfGrid(edit.Grid)->MinButtons) return false;
  if (edit.Ask(QStringLiteral("ボタンを削除しますか？\r※削除すると登録情報が失われます。"),
               QStringLiteral("ボタン削除"), mbYes | mbNo) != mrYes)
    return false;
  TPageRow page = ReadPageRow(edit.Grid, r);
  page.Buttons.erase(page.Buttons.begin() + (x - 1));
  WritePageRow(edit.Grid, r, std::move(page));
  RebuildPageIcons(edit, r, count - 1);
  if (x > count - 1) edit.Col = std::max(x - 1, 1);
  return true;
}

bool ClearButton(TGridEdit& edit) {
  // An unregistered button may still hold a use count or a comment the file keeps.
  if (!OnButton(edit) || KindOfText(edit.Grid.Cell(edit.Col, edit.Row)) == lkNone) return false;
  const int r = edit.Row, x = edit.Col;
  std::string title;
  try {
    title = TitleOfText(edit.Grid.Cell(x, r));
  } catch (const ELaunchError&) {
  }
  const QString text = QStringLiteral("[") + ShownText(PageNameOfRow(edit.Grid, r)) +
                       QStringLiteral("]ページの選択しているボタン\r[ ") + ShownText(title) +
                       QStringLiteral(" ]の登録情報を消去しますか？");
  if (edit.Ask(text, QStringLiteral("登録情報のクリア"), mbYes | mbNo) != mrYes) return false;
  edit.Grid.SetCell(x, r, NewButtonText());
  RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
  return true;
}

bool CopyCurrentButton(TGridEdit& edit) {
  if (!OnButton(edit)) return false;
  edit.CopyBuffer = edit.Grid.Cell(edit.Col, edit.Row);
  return true;
}

bool PasteCopiedButton(TGridEdit& edit) {
  if (!OnButton(edit) || edit.CopyBuffer.empty()) return false;
  edit.Grid.SetCell(edit.Col, edit.Row, edit.CopyBuffer);
  RebuildPageIcons(edit, edit.Row, CountOfRow(edit.Grid, edit.Row));
  return true;
}

std::string TargetFolder(const std::string& buttonText) {
  try {
    return TargetFolder(*TextToItem(buttonText));
  } catch (const ELaunchError&) {
    return {};
  }
}

bool OpenTargetFolder(TGridEdit& edit, const std::function<bool(const std::string&)>& open) {
  if (!OnButton(edit)) return false;
  const std::string text = edit.Grid.Cell(edit.Col, edit.Row);
  const int kind = KindOfText(text);
  if (kind == lkNone || kind == lkFolder || kind == lkSpecialFolder) return false;
  const std::string folder = TargetFolder(text);
  if (!folder.empty() && open(folder)) return true;
  edit.Ask(QStringLiteral("登録先が見つかりません。"), QStringLiteral("登録エラー"), mbOK);
  return false;
}
