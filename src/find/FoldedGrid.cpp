#include "FoldedGrid.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "GridRules.h"
#include "GridStore.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

void AppendButton(const TLaunchDataItem& item, TFoldBuffer& out) {
  AppendFolded({item.Title, item.Link, item.AltLink, item.Params, item.WorkDir, item.Comment}, '\n',
               out);
}

// A damaged button text holds nothing to find.
std::unique_ptr<TLaunchDataItem> ItemOf(std::string_view text) {
  try {
    return TextToItem(text);
  } catch (const ELaunchError&) {
    return nullptr;
  }
}

// The first place in [p, end) where needle (not empty) starts wholly before end, or end.
// Where the machine has SSE2, sixteen places a step are tried on needle's first and
// last bytes, and only those that have both are compared in full.
const char* FindNeedle(const char* p, const char* end, std::string_view needle) {
  const std::size_t n = needle.size();
  if (static_cast<std::size_t>(end - p) < n) return end;
  if (n == 1) {
    const void* at = std::memchr(p, needle[0], static_cast<std::size_t>(end - p));
    return at ? static_cast<const char*>(at) : end;
  }
  const char* const last = end - n;  // the last place a match may start
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(needle[0]);
  const __m128i final = _mm_set1_epi8(needle[n - 1]);
  for (; last - p >= 15; p += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1));
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
    for (; mask != 0; mask &= mask - 1) {
      const char* at = p + __builtin_ctz(mask);
      if (std::memcmp(at + 1, needle.data() + 1, n - 2) == 0) return at;
    }
  }
#endif
  for (; p <= last; ++p)
    if (*p == needle[0] && std::memcmp(p + 1, needle.data() + 1, n - 1) == 0) return p;
  return end;
}

}  // namespace

void TFoldedGrid::Clear() {
  std::vector<TPart>().swap(parts_);
  buttons_ = 0;
  stale_ = false;
}

std::size_t TFoldedGrid::PartOfRow(int r) const {
  const auto after =
      std::upper_bound(parts_.begin(), parts_.end(), r,
                       [](int row, const TPart& part) { return row < part.FirstRow; });
  return static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - parts_.begin() - 1, 0));
}

void TFoldedGrid::RowChanged(int r) {
  if (parts_.empty() || r < 0 || r >= RowCount()) return;
  parts_[PartOfRow(r)].Stale = true;
  stale_ = true;
}

void TFoldedGrid::RowsInserted(int first, int count) {
  if (parts_.empty() || count < 1) return;
  if (first < 0 || first > RowCount()) {
    Clear();  // not the grid this was told of: all is folded anew
    return;
  }
  const std::size_t k = first == RowCount() ? parts_.size() - 1 : PartOfRow(first);
  parts_[k].Rows += count;
  parts_[k].Stale = true;
  for (std::size_t j = k + 1; j < parts_.size(); ++j)
    parts_[j].FirstRow += count;
  stale_ = true;
}

void TFoldedGrid::RowsDeleted(int first, int count) {
  if (parts_.empty() || count < 1) return;
  // Where a row number before the deletion lands after it.
  const auto after = [first, count](int r) {
    return r <= first ? r : r >= first + count ? r - count : first;
  };
  for (TPart& part : parts_) {
    const int firstRow = after(part.FirstRow);
    const int rows = after(part.EndRow()) - firstRow;
    if (rows != part.Rows) {
      part.Stale = true;
      stale_ = true;
    }
    part.FirstRow = firstRow;
    part.Rows = rows;
  }
  std::erase_if(parts_, [](const TPart& part) { return part.Rows == 0; });
}

void TFoldedGrid::RowMoved(int from, int to) {
  // Out of the part that held the row and into the one that holds its new place.
  RowsDeleted(from, 1);
  RowsInserted(to, 1);
}

std::vector<QPoint> TFoldedGrid::BuildAndFind(const TGridStore& grid, std::string_view needle) {
  if (parts_.empty()) {
    TPart all;
    all.Rows = grid.RowCount();
    parts_.push_back(std::move(all));
  }
  std::vector<TPart> parts;
  parts.reserve(parts_.size());
  for (std::size_t k = 0; k < parts_.size();) {
    if (!parts_[k].Stale) {
      parts.push_back(std::move(parts_[k++]));
      continue;
    }
    const int firstRow = parts_[k].FirstRow;
    while (k < parts_.size() && parts_[k].Stale)
      ++k;
    Split(grid, firstRow, parts_[k - 1].EndRow(), parts);
  }
  parts_ = std::move(parts);
  stale_ = false;
  buttons_ = 0;
  std::size_t toFold = 0;
  for (const TPart& part : parts_) {
    buttons_ += part.Buttons();
    if (part.Stale) toFold += part.Buttons();
  }
  // Folding many buttons is shared among the cores, each taking the next part to do.
  constexpr std::size_t kButtonsForThreads = 20000;
  const std::size_t threads =
      toFold < kButtonsForThreads
          ? 1
          : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
  if (toFold > 0) {
    TFoldBuffer warm;
    AppendFolded({}, '\n', warm);  // the table, made once before any thread needs it
  }
  std::vector<std::vector<QPoint>> hits(parts_.size());
  std::atomic<std::size_t> next = 0;
  const auto work = [&] {
    for (std::size_t k = next++; k < parts_.size(); k = next++) {
      if (parts_[k].Stale) Fold(grid, parts_[k]);
      if (!needle.empty()) FindInPart(parts_[k], needle, hits[k]);
    }
  };
  std::vector<std::thread> others;
  for (std::size_t k = 1; k < threads; ++k)
    others.emplace_back(work);
  work();
  for (std::thread& other : others)
    other.join();
  std::size_t count = 0;
  for (const std::vector<QPoint>& some : hits)
    count += some.size();
  std::vector<QPoint> all;
  all.reserve(count);
  for (const std::vector<QPoint>& some : hits)
    all.insert(all.end(), some.begin(), some.end());
  return all;
}

void TFoldedGrid::Split(const TGridStore& grid, int firstRow, int endRow,
                        std::vector<TPart>& parts) const {
  const auto rows = static_cast<std::size_t>(endRow - firstRow);
  std::vector<std::uint32_t> first(1, 0);  // per row of the run: its first button
  first.reserve(rows + 1);
  for (int r = firstRow; r < endRow; ++r) {
    const int count = r == 0 ? 0 : std::clamp(CountOfRow(grid, r), 0, grid.ColCount() - 1);
    first.push_back(first.back() + static_cast<std::uint32_t>(count));
  }
  const std::size_t buttons = first.back();
  const auto size = static_cast<std::size_t>(partButtons_);
  // As many parts as make about partButtons_ each, so that no small rest is left over.
  const std::size_t count = std::max<std::size_t>((buttons + size / 2) / size, 1);
  for (std::size_t k = 0, begin = 0; k < count && begin < rows; ++k) {
    std::size_t end = k + 1 == count ? rows : begin + 1;
    while (end < rows && first[end] < buttons * (k + 1) / count)
      ++end;
    TPart& part = parts.emplace_back();
    part.FirstRow = firstRow + static_cast<int>(begin);
    part.Rows = static_cast<int>(end - begin);
    part.RowFirst.reserve(end - begin + 1);
    for (std::size_t i = begin; i <= end; ++i)
      part.RowFirst.push_back(first[i] - first[begin]);
    begin = end;
  }
}

void TFoldedGrid::Fold(const TGridStore& grid, TPart& part) {
  part.Stale = false;
  if (part.Buttons() == 0) return;
  const auto buttons = [&part](int i) {
    return static_cast<int>(part.RowFirst[static_cast<std::size_t>(i) + 1] -
                            part.RowFirst[static_cast<std::size_t>(i)]);
  };
  std::size_t bytes = 64;
  for (int i = 0; i < part.Rows; ++i)
    for (int c = 1; c <= buttons(i); ++c)
      bytes += grid.Cell(c, part.FirstRow + i).size() + 1;
  // A button's record text is a little longer than its folded texts, as a rule.
  part.Text.Reserve(bytes);
  part.Ends.resize(part.Buttons());
  TLaunchDataItem item;
  std::size_t button = 0;
  for (int i = 0; i < part.Rows; ++i) {
    for (int c = 1; c <= buttons(i); ++c) {
      const std::string_view cell = grid.Cell(c, part.FirstRow + i);
      // Most texts have the very form the writer gives them, read without a split.
      if (!cell.empty() && ReadWrittenItem(cell, item) == cell.size()) {
        AppendButton(item, part.Text);
      } else if (const auto parsed = ItemOf(cell)) {
        AppendButton(*parsed, part.Text);
      } else {
        part.Text.Push('\n');
      }
      part.Ends[button++] = part.Text.Size() - 1;  // at the line break that ends the button
    }
  }
  part.Text.Fit();
}

void TFoldedGrid::FindInPart(const TPart& part, std::string_view needle,
                             std::vector<QPoint>& hits) {
  if (part.Buttons() == 0) return;
  const char* const base = part.Text.Data();
  const char* const end = base + part.Text.Size();
  std::size_t row = 0;
  std::size_t button = 0;
  for (const char* p = base;;) {
    const char* at = FindNeedle(p, end, needle);
    if (at == end) break;
    const auto offset = static_cast<std::uint64_t>(at - base);
    while (part.Ends[button] <= offset)
      ++button;
    while (part.RowFirst[row + 1] <= button)
      ++row;
    hits.emplace_back(static_cast<int>(button - part.RowFirst[row]) + 1,
                      part.FirstRow + static_cast<int>(row));
    // The rest of this button need not be searched.
    p = base + part.Ends[button] + 1;
  }
}

std::vector<QPoint> TFoldedGrid::FindAll(std::string_view needle) const {
  std::vector<QPoint> hits;
  for (const TPart& part : parts_)
    FindInPart(part, needle, hits);
  return hits;
}

std::vector<QPoint> TFoldedGrid::FindAmong(std::string_view needle,
                                           const std::vector<QPoint>& cells) const {
  // Among many, one pass over everything costs less than a search per button.
  if (cells.size() * 8 > buttons_) return FindAll(needle);
  std::vector<QPoint> hits;
  std::size_t k = 0;
  for (const QPoint& cell : cells) {
    while (k + 1 < parts_.size() && parts_[k + 1].FirstRow <= cell.y())
      ++k;
    const TPart& part = parts_[k];
    const std::size_t button = part.RowFirst[static_cast<std::size_t>(cell.y() - part.FirstRow)] +
                               static_cast<std::size_t>(cell.x()) - 1;
    const char* const end = part.Text.Data() + part.Ends[button];
    if (FindNeedle(part.Text.Data() + part.Start(button), end, needle) != end) hits.push_back(cell);
  }
  return hits;
}

std::size_t TFoldedGrid::MemoryBytes() const {
  std::size_t bytes = parts_.capacity() * sizeof(TPart);
  for (const TPart& part : parts_)
    bytes += part.Text.Capacity() + part.Ends.capacity() * sizeof(part.Ends[0]) +
             part.RowFirst.capacity() * sizeof(part.RowFirst[0]);
  return bytes;
}
