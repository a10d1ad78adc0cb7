#include "FoldedGrid.h"

#include <algorithm>
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
  parts_.clear();
  ends_ = {};
  rowFirst_ = {};
}

std::vector<QPoint> TFoldedGrid::BuildAndFind(const TGridStore& grid, std::string_view needle) {
  Clear();
  const int rows = grid.RowCount();
  rowFirst_.assign(static_cast<std::size_t>(rows) + 1, 0);
  for (int r = 0; r < rows; ++r) {
    const int count = r == 0 ? 0 : std::clamp(CountOfRow(grid, r), 0, grid.ColCount() - 1);
    rowFirst_[static_cast<std::size_t>(r) + 1] =
        rowFirst_[static_cast<std::size_t>(r)] + static_cast<std::uint32_t>(count);
  }
  const std::size_t buttons = rowFirst_.back();
  ends_.resize(buttons);
  // Folding a big grid is shared among the cores, each taking a run of rows with
  // about as many buttons as the others.
  constexpr std::size_t kButtonsForThreads = 20000;
  const std::size_t threads =
      buttons < kButtonsForThreads
          ? 1
          : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
  parts_ = std::vector<TPart>(threads);
  std::vector<int> firstRows(threads + 1, rows);
  for (std::size_t k = 0, r = 0; k < threads; ++k) {
    while (rowFirst_[r] < buttons * k / threads)
      ++r;
    firstRows[k] = static_cast<int>(r);
  }
  {
    TFoldBuffer warm;
    AppendFolded({}, '\n', warm);  // the table, made once before any thread needs it
  }
  std::vector<std::vector<QPoint>> hits(threads);
  const auto work = [&](std::size_t k) {
    BuildPart(grid, firstRows[k], firstRows[k + 1], parts_[k]);
    if (!needle.empty()) FindInPart(parts_[k], needle, hits[k]);
  };
  std::vector<std::thread> others;
  for (std::size_t k = 1; k < threads; ++k)
    others.emplace_back(work, k);
  work(0);
  for (std::thread& other : others)
    other.join();
  for (std::size_t k = 1; k < threads; ++k)
    hits[0].insert(hits[0].end(), hits[k].begin(), hits[k].end());
  return std::move(hits[0]);
}

void TFoldedGrid::BuildPart(const TGridStore& grid, int firstRow, int endRow, TPart& part) {
  part.FirstButton = rowFirst_[static_cast<std::size_t>(firstRow)];
  part.FirstRow = firstRow;
  std::size_t bytes = 64;
  for (int r = firstRow; r < endRow; ++r)
    for (int c = 1; c <= RowButtons(r); ++c)
      bytes += grid.Cell(c, r).size() + 1;
  // A button's record text is a little longer than its folded texts, as a rule.
  part.Text.Reserve(bytes);
  TLaunchDataItem item;
  std::size_t button = part.FirstButton;
  for (int r = firstRow; r < endRow; ++r) {
    for (int c = 1; c <= RowButtons(r); ++c) {
      const std::string_view cell = grid.Cell(c, r);
      // Most texts have the very form the writer gives them, read without a split.
      if (!cell.empty() && ReadWrittenItem(cell, item) == cell.size()) {
        AppendButton(item, part.Text);
      } else if (const auto parsed = ItemOf(cell)) {
        AppendButton(*parsed, part.Text);
      } else {
        part.Text.Push('\n');
      }
      ends_[button++] = part.Text.Size() - 1;  // at the line break that ends the button
    }
  }
  part.Text.Fit();
}

const TFoldedGrid::TPart& TFoldedGrid::PartOf(std::size_t button) const {
  std::size_t k = parts_.size() - 1;
  while (k > 0 && parts_[k].FirstButton > button)
    --k;
  return parts_[k];
}

void TFoldedGrid::FindInPart(const TPart& part, std::string_view needle,
                             std::vector<QPoint>& hits) const {
  auto row = static_cast<std::size_t>(part.FirstRow);
  const char* const base = part.Text.Data();
  const char* const end = base + part.Text.Size();
  std::size_t button = part.FirstButton;
  for (const char* p = base;;) {
    const char* at = FindNeedle(p, end, needle);
    if (at == end) break;
    const auto offset = static_cast<std::uint64_t>(at - base);
    while (ends_[button] <= offset)
      ++button;
    while (rowFirst_[row + 1] <= button)
      ++row;
    hits.emplace_back(static_cast<int>(button - rowFirst_[row]) + 1, static_cast<int>(row));
    // The rest of this button need not be searched.
    p = base + ends_[button] + 1;
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
  if (cells.size() * 8 > ends_.size()) return FindAll(needle);
  std::vector<QPoint> hits;
  for (const QPoint& cell : cells) {
    const std::size_t button =
        rowFirst_[static_cast<std::size_t>(cell.y())] + static_cast<std::size_t>(cell.x()) - 1;
    const TPart& part = PartOf(button);
    const char* const end = part.Text.Data() + ends_[button];
    if (FindNeedle(part.Text.Data() + Start(part, button), end, needle) != end)
      hits.push_back(cell);
  }
  return hits;
}

std::size_t TFoldedGrid::MemoryBytes() const {
  std::size_t bytes =
      ends_.capacity() * sizeof(ends_[0]) + rowFirst_.capacity() * sizeof(rowFirst_[0]);
  for (const TPart& part : parts_)
    bytes += part.Text.Capacity();
  return bytes;
}
