#include "DataRecords.h"

#include <algorithm>
#include <optional>
#include <string>

#include "RecordText.h"
#include "ShiftJis.h"

TDataRecords::TDataRecords(const TLaunchList& list) : list_(&list) {}

TDataRecords::TDataRecords(const TByteSource& source, const TTextFileOutline& outline)
    : source_(&source), outline_(&outline) {}

const TDataStatus& TDataRecords::Status() const {
  return list_ != nullptr ? list_->Status : outline_->Status;
}

int TDataRecords::PageCount() const {
  return list_ != nullptr ? list_->Pages.Count() : outline_->Pages;
}

std::int64_t TDataRecords::OwnedButtons() const {
  if (list_ == nullptr) return outline_->OwnedButtons;
  std::int64_t owned = 0;
  for (int p = 0; p < list_->Pages.Count(); ++p)
    owned += std::max<std::int32_t>(list_->Pages.Get(p).Count, 0);
  return owned;
}

std::int64_t TDataRecords::ButtonCount() const {
  return list_ != nullptr ? list_->Count() : outline_->Buttons;
}

void TDataRecords::Walk(TVisitor& visitor) const {
  // From the list, or from two readers of the file side by side.
  std::optional<TPageReader> pages;
  std::optional<TButtonReader> buttons;
  if (list_ == nullptr) {
    pages.emplace(*source_, *outline_);
    buttons.emplace(*source_, *outline_);
  }
  TPageItem page;
  TLaunchDataItem item;
  int p = 0;
  std::int64_t index = 0;  // flat index of the next button
  const auto nextPage = [&]() -> const TPageItem* {
    if (list_ != nullptr) return p < list_->Pages.Count() ? &list_->Pages.Get(p) : nullptr;
    return pages->Next(page) ? &page : nullptr;
  };
  const auto nextButton = [&]() -> const TLaunchDataItem* {
    if (list_ != nullptr)
      return index < list_->Count() ? &list_->Get(static_cast<int>(index)) : nullptr;
    return buttons->Next(item) ? &item : nullptr;
  };
  bool held = true;  // the file still holds buttons
  for (; const TPageItem* current = nextPage(); ++p) {
    const std::int32_t count = current->Count;
    visitor.Page(p, *current);
    for (std::int32_t b = 0; b < count; ++b, ++index) {
      const TLaunchDataItem* button = held ? nextButton() : nullptr;
      if (button == nullptr) {
        held = false;
        visitor.Missing(p, b, count);
        break;
      }
      visitor.Button(p, b, *button);
    }
  }
  if (!held) return;
  while (const TLaunchDataItem* button = nextButton()) {
    visitor.Unowned(index, *button);
    ++index;
  }
}

void DumpRecords(const TDataRecords& records, const std::function<void(std::string_view)>& put) {
  class TDump : public TDataRecords::TVisitor {
   public:
    explicit TDump(const std::function<void(std::string_view)>& put) : put_(put) {}
    void Page(int p, const TPageItem& page) override {
      put_("page " + std::to_string(p) + ": " + sjis::ToUtf8ForDisplay(PageToText(page)) + "\n");
    }
    void Button(int, std::int32_t b, const TLaunchDataItem& item) override { Item(b, item); }
    // One line for each run of missing buttons: a count may claim billions.
    void Missing(int, std::int32_t from, std::int32_t to) override {
      put_("  " + std::to_string(from) + (to - from > 1 ? ".." + std::to_string(to - 1) : "") +
           ": (missing)\n");
    }
    void Unowned(std::int64_t index, const TLaunchDataItem& item) override {
      if (!unowned_) put_("owned by no page:\n");
      unowned_ = true;
      Item(index, item);
    }

   private:
    void Item(std::int64_t at, const TLaunchDataItem& item) {
      put_("  " + std::to_string(at) + ": " + sjis::ToUtf8ForDisplay(ItemToText(item)) + "\n");
    }
    const std::function<void(std::string_view)>& put_;
    bool unowned_ = false;  // a button no page owns was met
  };
  put("status: " + sjis::ToUtf8ForDisplay(StatusToText(records.Status())) + "\n");
  TDump dump(put);
  records.Walk(dump);
}
