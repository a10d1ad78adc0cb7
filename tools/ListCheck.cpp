#include "ListCheck.h"

#include <algorithm>
#include <cstdint>

#include "RootFolder.h"
#include "ShiftJis.h"

namespace {

constexpr std::int32_t kEditorColumns = 10000;  // button columns of the editor's grid

std::string PageName(const TLaunchList& list, int p) {
  return "page " + std::to_string(p) + " \"" + sjis::ToUtf8ForDisplay(list.Pages.Get(p).Caption) +
         "\"";
}

void CheckButton(const TLaunchDataItem& item, const std::string& where,
                 std::vector<std::string>& out) {
  if (item.Kind > lkInternetShortcut)
    out.push_back(where + ": kind " + std::to_string(item.Kind) + " is not one of 0 to 7");
  if (item.ShowCmd != kShowNormal && item.ShowCmd != kShowMaximized &&
      item.ShowCmd != kShowMinimized)
    out.push_back(where + ": window state " + std::to_string(item.ShowCmd) + " is not 1, 3 or 7");
  if (item.Kind == lkSpecialFolder && RootFolderFromName(item.Link) < 0)
    out.push_back(where + ": special folder \"" + sjis::ToUtf8ForDisplay(item.Link) +
                  "\" is not a known folder");
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
    out.push_back("the pages own " + std::to_string(owned) + " buttons, but the file holds " +
                  std::to_string(list.Count()));
  if (status.MaxPages > 0 && pages > status.MaxPages)
    out.push_back(std::to_string(pages) + " pages, more than the limit of " +
                  std::to_string(status.MaxPages));

  std::int64_t first = 0;
  for (int p = 0; p < pages; ++p) {
    const std::int32_t count = list.Pages.Get(p).Count;
    const std::string name = PageName(list, p);
    if (status.MaxButtons > 0 && count > status.MaxButtons)
      out.push_back(name + ": " + std::to_string(count) + " buttons, more than the limit of " +
                    std::to_string(status.MaxButtons));
    if (count > kEditorColumns)
      out.push_back(name + ": " + std::to_string(count) +
                    " buttons, more than the editor's grid can show (" +
                    std::to_string(kEditorColumns) + ")");
    // A negative count was read as 0; the finding names the file's.
    if (const std::int32_t given = list.Pages.Get(p).CountInFile(); given < status.MinButtons)
      out.push_back(name + ": " + std::to_string(given) + " buttons, fewer than the minimum of " +
                    std::to_string(status.MinButtons));
    // Missing buttons are already reported as a count mismatch.
    const THeldButtons held = HeldButtons(first, count, list.Count());
    for (std::int32_t b = held.begin; b < held.end; ++b)
      CheckButton(list.Get(static_cast<int>(first + b)), name + " button " + std::to_string(b),
                  out);
    first += count;
  }
  for (std::int64_t index = first < 0 ? 0 : first; index < list.Count(); ++index)
    CheckButton(list.Get(static_cast<int>(index)),
                "button " + std::to_string(index) + " (owned by no page)", out);
  return out;
}

THeldButtons HeldButtons(std::int64_t first, std::int32_t count, int total) {
  if (count <= 0) return {};
  const std::int64_t begin = std::clamp<std::int64_t>(-first, 0, count);
  const std::int64_t end = std::clamp<std::int64_t>(total - first, begin, count);
  return {static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end)};
}
