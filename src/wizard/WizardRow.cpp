#include "WizardRow.h"

#include <algorithm>
#include <climits>

#include "EditPageLogic.h"
#include "LinkClassify.h"
#include "RecordText.h"

namespace {

constexpr int kGridButtons = 10000;  // the main window's grid has no more button columns

}  // namespace

int WizardRoom(int pageCount, std::int32_t maxButtons) {
  return NewButtonRoom(std::max(pageCount, 0), INT_MAX, maxButtons);
}

TWizardRow BuildWizardRow(const TPathList& files, int method, const std::string& caption,
                          std::int32_t minButtons, int room) {
  TWizardRow row;
  row.Cells.emplace_back();  // the page text, once the buttons are counted
  for (const std::string& path : files) {
    TLaunchDataItem item;
    ClassifyPath(path, item);
    if (item.Kind == lkNone) {
      row.Refused.push_back(path);
      continue;
    }
    ++row.Registered;
    if (row.Registered > room) continue;
    row.Cells.push_back(ItemToText(item));
  }
  const int kept = static_cast<int>(row.Cells.size()) - 1;
  row.LeftOut = row.Registered - kept;
  if (kept == 0) {
    row.Cells.clear();
    return row;
  }
  if (IsNewPageMethod(method)) {
    const int least = std::clamp<int>(minButtons, 0, kGridButtons);
    if (kept < least)
      row.Cells.resize(static_cast<std::size_t>(least) + 1, ItemToText(*NewLaunchItem()));
    row.Cells[0] =
        PageToText(TPageItem(caption, static_cast<std::int32_t>(row.Cells.size()) - 1, 0));
  } else {
    row.Cells[0] = PageToText(TPageItem("new", kept, 0));
  }
  return row;
}

QString NothingRegisteredMessage() {
  return QStringLiteral("登録できるファイルがありませんでした。\rページは変更されません。");
}

QString LeftOutMessage(int leftOut, std::int32_t maxButtons) {
  const int most = maxButtons > 0 ? std::min<int>(maxButtons, kGridButtons) : kGridButtons;
  return QStringLiteral(
             "1ページに登録できるボタンは %1 個までです。\r%2 個のファイルは登録されませんでした。")
      .arg(most)
      .arg(leftOut);
}

QString WizardCaption() {
  return QStringLiteral("登録ウイザード");
}
