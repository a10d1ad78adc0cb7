#include "ComparedLists.h"

#include <algorithm>
#include <cstdint>

#include "ButtonKey.h"
#include "RecordText.h"

std::uint64_t TLoadedList::Key(int i) const {
  return ButtonKey(list_.Get(i));
}

std::string_view TLoadedList::Written(int i) const {
  return WrittenTextIn(list_.Get(i), list_.HeldBytes().View());
}

const TLaunchDataItem& TTextFileLines::Button(int i) const {
  const std::lock_guard<std::mutex> lock(read_);
  std::unique_ptr<TLaunchDataItem>& button = buttons_[i];
  if (!button) button = TextToItem(lines_[i]);
  return *button;
}

std::int32_t TTextFileLines::UseCount(int i) const {
  return counts_[i] != kUnread ? counts_[i] : Button(i).UseCount;
}

std::int64_t TTextFileLines::Owned() const {
  std::int64_t owned = 0;
  for (int p = 0; p < pages_.Count(); ++p)
    owned += std::max(pages_.Get(p).Count, 0);
  return owned;
}

std::int64_t TTextFileLines::MissingButtons() const {
  return std::max<std::int64_t>(Owned() - ButtonCount(), 0);
}

std::int64_t TTextFileLines::UnownedButtons() const {
  return std::max<std::int64_t>(ButtonCount() - Owned(), 0);
}

namespace {

// Where the use count of a line "KIND,COUNT,..." stands, and the count; false for a
// line of another form (its button is then read for them).
bool FindUseCount(std::string_view line, std::size_t& from, std::size_t& to, std::int32_t& count) {
  std::size_t i = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9')
    ++i;
  if (i == 0 || i >= line.size() || line[i] != ',') return false;
  from = ++i;
  std::int64_t value = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9' && value <= INT32_MAX)
    value = value * 10 + (line[i++] - '0');
  if (i == from || i >= line.size() || line[i] != ',' || value > INT32_MAX) return false;
  to = i;
  count = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

void TTextFileLines::KeyLines() {
  keys_.resize(lines_.size());
  counts_.resize(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    std::size_t from = 0, to = 0;
    THash hash;
    // Everything but the count: two lines that differ in it alone are one button.
    if (FindUseCount(line, from, to, counts_[i])) {
      hash.Add(line.substr(0, from));
      hash.Add(line.substr(to));
    } else {
      counts_[i] = kUnread;
      hash.Add(std::uint64_t{1});  // never the key of a line of the other form
      hash.Add(line);
    }
    keys_[i] = hash.Value();
  }
}
