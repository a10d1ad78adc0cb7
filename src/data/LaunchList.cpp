#include "LaunchList.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "ValueStream.h"

void TBaseLaunchList::Error(std::string_view msg) const {
  throw ELaunchError(msg.empty() ? std::string(msg::kError) : std::string(msg));
}

void TBaseLaunchList::Assign(const TBaseLaunchList& source) {
  std::string stream;
  source.SaveToStream(stream);
  LoadFromStream(stream);
}

void TBaseLaunchList::SaveToStream(std::string& stream) const {
  TValueWriter writer(stream);
  writer.WriteInteger(Count());
  for (int i = 0; i < Count(); ++i)
    Get(i).WriteData(writer);
}

void TBaseLaunchList::TakeItems(TObjectList<TLaunchDataItem>&& items, THeldBytes bytes) {
  items.ShrinkToFit();
  TObjectList<TLaunchDataItem>::operator=(std::move(items));
  // The old buttons are gone, and with them every borrower of the old bytes.
  held_ = std::move(bytes);
}

void TBaseLaunchList::LoadFromStream(std::string_view stream) {
  Clear();
  held_ = {};
  TValueReader reader(stream);
  std::int32_t n = reader.ReadInteger();
  for (std::int32_t i = 0; i < n; ++i) {
    auto item = std::make_unique<TLaunchDataItem>();
    item->ReadData(reader);
    Add(std::move(item));
  }
}

void TPageList::LoadFromStream(std::string_view stream) {
  Clear();
  TValueReader reader(stream);
  std::int32_t n = reader.ReadInteger();
  for (std::int32_t i = 0; i < n; ++i) {
    auto page = std::make_unique<TPageItem>();
    page->ReadData(reader);
    Add(std::move(page));
  }
}

namespace {

// Counts come from files and may be anything: sums saturate instead of overflowing.
int SaturatedInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string OwnDataFileName() {
  static const std::string name = [] {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) self = "pelledit";
    return self.replace_extension(".lst").string();
  }();
  return name;
}

}  // namespace

TLaunchList::TLaunchList() : FileName(OwnDataFileName()) {
  Pages.Add(std::make_unique<TPageItem>(cp932::kNewPage, 1, 0));
  Add(NewLaunchItem());
}

int TLaunchList::AddPage(std::string_view caption, std::int32_t count, std::int32_t extra) {
  // A negative count would start the next page inside this one.
  Pages.Add(std::make_unique<TPageItem>(std::string(caption), std::max(count, 0), extra));
  for (std::int32_t i = 0; i < count; ++i)
    Add(NewLaunchItem());
  return Pages.Count();
}

void TLaunchList::DeletePage(int p) {
  if (p < 0 || p >= Pages.Count()) Error(msg::kPageCountExceeded);
  int start = ItemIndex(p, 0);
  int count = Pages.Get(p).Count;
  // The buttons go last first, and the error names the first index that order
  // finds out of range; it is found before anything is deleted, so a list whose
  // counts overrun its buttons loses nothing.
  if (count > 0) {
    CheckIndex(SaturatedInt(std::int64_t{start} + count - 1));
    if (start < 0) CheckIndex(-1);
  }
  DeleteRange(start, count);
  Pages.Delete(p);
}

void TLaunchList::SetPageCount(int p, std::int32_t n) {
  Pages.Get(p).Count = n < 1 ? 1 : n;
}

std::int64_t TLaunchList::MissingButtons() const {
  std::int64_t owned = 0;
  for (int p = 0; p < Pages.Count(); ++p)
    owned += std::max<std::int32_t>(Pages.Get(p).Count, 0);
  return std::max<std::int64_t>(owned - Count(), 0);
}

int TLaunchList::ItemIndex(int p, int b) const {
  std::int64_t index = b;
  for (int i = 0; i < p; ++i)
    index += Pages.Get(i).Count;
  return SaturatedInt(index);
}

int TLaunchList::AddButton(int p, std::unique_ptr<TLaunchDataItem> item) {
  TPageItem& page = Pages.Get(p);
  Insert(ItemIndex(p, page.Count), std::move(item));
  SetPageCount(p, SaturatedInt(std::int64_t{page.Count} + 1));
  return Count();
}

void TLaunchList::DeleteButton(int p, int b) {
  TPageItem& page = Pages.Get(p);
  Delete(ItemIndex(p, b));
  if (page.Count <= 1)
    page.Count = 0;
  else
    SetPageCount(p, page.Count - 1);
}
