#include "ListCheck.h"

#include <algorithm>
#include <cstdint>

#include "RootFolder.h"
#include "ShiftJis.h"

namespace {

constexpr std::int32_t kEditorColumns = 10000;  // button columns of the editor's grid

std::string PageName(const TLaunchList& list, int p) {
  return "ページ " + std::to_string(p) + " \"" + sjis::ToUtf8ForDisplay(list.Pages.Get(p).Caption) +
         "\"";
}

void CheckButton(const TLaunchDataItem& item, const std::string& where,
                 std::vector<std::string>& out) {
  if (item.Kind > lkInternetShortcut)
    out.push_back(where + ": 種類 " + std::to_string(item.Kind) +
                  " は 0 から 7 のどれでもありません。");
  if (item.ShowCmd != kShowNormal && item.ShowCmd != kShowMaximized &&
      item.ShowCmd != kShowMinimized)
    out.push_back(where + ": 実行時の大きさ " + std::to_string(item.ShowCmd) +
                  " は 1、3、7 のどれでもありません。");
  if (item.Kind == lkSpecialFolder && RootFolderFromName(item.Link) < 0)
    out.push_back(where + ": 特殊フォルダー \"" + sjis::ToUtf8ForDisplay(item.Link) +
                  "\" は知られていないフォルダーです。");
}

}  // namespace

std::vector<std::string> CheckLaunchList(const TLaunchList& list) {
  std::vector<std::string> out;
  const TDataStatus& status = list.Status;
  const int pages = list.Pages.Count();

  std::int64_t owned = 0;
  for (int p = 0; p < pages; ++p)
    owned += list.Pages.Get(p).Count;
  if (owned != list.Count())
    out.push_back("ページが持つボタンは合わせて " + std::to_string(owned) +
                  " 個ですが、ファイルにあるボタンは " + std::to_string(list.Count()) +
                  " 個です。");
  if (status.MaxPages > 0 && pages > status.MaxPages)
    out.push_back("ページが " + std::to_string(pages) + " 個あり、上限の " +
                  std::to_string(status.MaxPages) + " 個を超えています。");

  std::int64_t first = 0;
  for (int p = 0; p < pages; ++p) {
    const std::int32_t count = list.Pages.Get(p).Count;
    const std::string name = PageName(list, p);
    if (status.MaxButtons > 0 && count > status.MaxButtons)
      out.push_back(name + ": ボタンが " + std::to_string(count) + " 個あり、上限の " +
                    std::to_string(status.MaxButtons) + " 個を超えています。");
    if (count > kEditorColumns)
      out.push_back(name + ": ボタンが " + std::to_string(count) +
                    " 個あり、エディターのグリッドに表示できる " + std::to_string(kEditorColumns) +
                    " 個を超えています。");
    // A negative count was read as 0; the finding names the file's.
    if (const std::int32_t given = list.Pages.Get(p).CountInFile(); given < status.MinButtons)
      out.push_back(name + ": ボタンが " + std::to_string(given) + " 個で、最低の " +
                    std::to_string(status.MinButtons) + " 個に足りません。");
    // Missing buttons are already reported as a count mismatch.
    const THeldButtons held = HeldButtons(first, count, list.Count());
    for (std::int32_t b = held.begin; b < held.end; ++b)
      CheckButton(list.Get(static_cast<int>(first + b)), name + " のボタン " + std::to_string(b),
                  out);
    first += count;
  }
  for (std::int64_t index = first < 0 ? 0 : first; index < list.Count(); ++index)
    CheckButton(list.Get(static_cast<int>(index)),
                "どのページにも属さないボタン " + std::to_string(index), out);
  return out;
}

THeldButtons HeldButtons(std::int64_t first, std::int32_t count, int total) {
  if (count <= 0) return {};
  const std::int64_t begin = std::clamp<std::int64_t>(-first, 0, count);
  const std::int64_t end = std::clamp<std::int64_t>(total - first, begin, count);
  return {static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end)};
}
