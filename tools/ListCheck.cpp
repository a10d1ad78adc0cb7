#include "ListCheck.h"

#include <cstdint>
#include <string>

#include "RootFolder.h"
#include "ShiftJis.h"

namespace {

constexpr std::int32_t kEditorColumns = 10000;  // button columns of the editor's grid

// The findings of a walk, each handed on as it is found.
class TCheck : public TDataRecords::TVisitor {
 public:
  TCheck(const TDataStatus& status, const std::function<void(std::string_view)>& put)
      : status_(status), put_(put) {}

  void Finding(const std::string& text) {
    put_(text + "\n");
    found_ = true;
  }
  bool Found() const { return found_; }

  void Page(int p, const TPageItem& page) override {
    name_ = "ページ " + std::to_string(p) + " \"" + sjis::ToUtf8ForDisplay(page.Caption) + "\"";
    const std::int32_t count = page.Count;
    if (status_.MaxButtons > 0 && count > status_.MaxButtons)
      Finding(name_ + ": ボタンが " + std::to_string(count) + " 個あり、上限の " +
              std::to_string(status_.MaxButtons) + " 個を超えています。");
    if (count > kEditorColumns)
      Finding(name_ + ": ボタンが " + std::to_string(count) +
              " 個あり、エディターのグリッドに表示できる " + std::to_string(kEditorColumns) +
              " 個を超えています。");
    // A negative count was read as 0; the finding names the file's.
    if (const std::int32_t given = page.CountInFile(); given < status_.MinButtons)
      Finding(name_ + ": ボタンが " + std::to_string(given) + " 個で、最低の " +
              std::to_string(status_.MinButtons) + " 個に足りません。");
  }
  // Missing buttons are already reported as a count mismatch.
  void Button(int, std::int32_t b, const TLaunchDataItem& item) override {
    CheckButton(item, name_ + " のボタン " + std::to_string(b));
  }
  void Unowned(std::int64_t index, const TLaunchDataItem& item) override {
    CheckButton(item, "どのページにも属さないボタン " + std::to_string(index));
  }

 private:
  void CheckButton(const TLaunchDataItem& item, const std::string& where) {
    if (item.Kind > lkInternetShortcut)
      Finding(where + ": 種類 " + std::to_string(item.Kind) +
              " は 0 から 7 のどれでもありません。");
    if (item.ShowCmd != kShowNormal && item.ShowCmd != kShowMaximized &&
        item.ShowCmd != kShowMinimized)
      Finding(where + ": 実行時の大きさ " + std::to_string(item.ShowCmd) +
              " は 1、3、7 のどれでもありません。");
    if (item.Kind == lkSpecialFolder && RootFolderFromName(item.Link) < 0)
      Finding(where + ": 特殊フォルダー \"" + sjis::ToUtf8ForDisplay(item.Link) +
              "\" は知られていないフォルダーです。");
  }

  const TDataStatus& status_;
  const std::function<void(std::string_view)>& put_;
  std::string name_;  // the name of the page walked, as the findings give it
  bool found_ = false;
};

}  // namespace

bool CheckRecords(const TDataRecords& records, const std::function<void(std::string_view)>& put) {
  const TDataStatus& status = records.Status();
  TCheck check(status, put);
  const std::int64_t owned = records.OwnedButtons();
  if (owned != records.ButtonCount())
    check.Finding("ページが持つボタンは合わせて " + std::to_string(owned) +
                  " 個ですが、ファイルにあるボタンは " + std::to_string(records.ButtonCount()) +
                  " 個です。");
  const int pages = records.PageCount();
  if (status.MaxPages > 0 && pages > status.MaxPages)
    check.Finding("ページが " + std::to_string(pages) + " 個あり、上限の " +
                  std::to_string(status.MaxPages) + " 個を超えています。");
  records.Walk(check);
  return check.Found();
}
