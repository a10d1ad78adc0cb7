#include "OutsideChanges.h"

#include <QFile>
#include <cstring>

#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

__extension__ typedef unsigned __int128 TWide;  // GCC's and Clang's, not the standard's

// A 64-bit hash fast enough to run over every button at each load and save: sixteen
// bytes at a time folded in by one wide multiply.
class THash {
 public:
  void Add(std::uint64_t value) { h_ = Fold(h_ ^ value, kOdd); }
  void Add(std::string_view bytes) {
    Add(static_cast<std::uint64_t>(bytes.size()));  // "ab","c" is not "a","bc"
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 16; p += 16, n -= 16)
      h_ = Fold(Word(p, 8) ^ h_, Word(p + 8, 8) ^ kOdd);
    if (n > 8)
      h_ = Fold(Word(p, 8) ^ h_, Word(p + 8, n - 8) ^ kOdd);
    else if (n > 0)
      h_ = Fold(Word(p, n) ^ h_, kOdd);
  }
  std::uint64_t Value() const { return Fold(h_, kOdd ^ 0x2d358dccaa6c78a5ULL); }

 private:
  static constexpr std::uint64_t kOdd = 0x9e3779b97f4a7c15ULL;
  static std::uint64_t Word(const char* p, std::size_t n) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    return word;
  }
  // Both halves of the 128-bit product, folded into one.
  static std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
    const TWide product = static_cast<TWide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }
  std::uint64_t h_ = 0x243f6a8885a308d3ULL;
};

// The button of grid cell (c, r) as a save would read it.
TLaunchDataItem ButtonAt(const TGridStore& grid, int c, int r) {
  TLaunchDataItem item;
  const std::string_view text = grid.Cell(c, r);
  if (!text.empty() && ReadWrittenItem(text, item) == text.size()) return item;
  try {
    return *TextToItem(text);
  } catch (const ELaunchError&) {
    return TLaunchDataItem();
  }
}

}  // namespace

std::uint64_t ButtonKey(const TLaunchDataItem& item) {
  THash hash;
  hash.Add(item.Kind);
  hash.Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(item.ShowCmd)) << 32 |
           static_cast<std::uint32_t>(item.IconIndex));
  for (const TFieldText* text : {&item.Title, &item.Link, &item.AltLink, &item.Params,
                                 &item.WorkDir, &item.IconFile, &item.Comment})
    hash.Add(std::string_view(*text));
  return hash.Value();
}

TDataFingerprint FingerprintOf(const TLaunchList& list) {
  TDataFingerprint data;
  data.StatusText = StatusToText(list.Status);
  data.PageTexts.reserve(static_cast<std::size_t>(list.Pages.Count()));
  for (int p = 0; p < list.Pages.Count(); ++p)
    data.PageTexts.push_back(PageToText(list.Pages.Get(p)));
  data.ButtonKeys.reserve(static_cast<std::size_t>(list.Count()));
  data.UseCounts.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    data.ButtonKeys.push_back(ButtonKey(list.Get(i)));
    data.UseCounts.push_back(list.Get(i).UseCount);
  }
  return data;
}

TDiskCheck CheckDataFile(const TFileBaseline& base, const QString& path) {
  TDiskCheck check;
  const std::string native = QFile::encodeName(path).toStdString();
  check.Stamp = StampOf(native);
  if (check.Stamp == base.Stamp) return check;  // also: still no file, as before
  if (!check.Stamp.exists) {
    check.Change = TDiskChange::Gone;
    return check;
  }

  auto list = std::make_shared<TLaunchList>();
  list->SetFileName(native);
  try {
    list->LoadFromFile();
  } catch (const std::exception& e) {
    check.Change = TDiskChange::Unreadable;
    check.Problem = QString::fromStdString(e.what());
    return check;
  }
  if (!list->Loaded) {
    check.Change = TDiskChange::Unreadable;
    check.Problem = QStringLiteral("このアプリケーションのデーターファイルではありません。");
    return check;
  }
  const TDataFingerprint theirs = FingerprintOf(*list);
  check.List = std::move(list);
  if (theirs == base.Data)
    check.Change = TDiskChange::Unchanged;
  else if (theirs.StatusText == base.Data.StatusText && theirs.PageTexts == base.Data.PageTexts &&
           theirs.ButtonKeys == base.Data.ButtonKeys)
    check.Change = TDiskChange::UseCountsOnly;
  else
    check.Change = TDiskChange::Changed;
  return check;
}

int MergeUseCounts(TGridStore& grid, const TDataFingerprint& base, const TDataFingerprint& theirs,
                   TTextRewrites* rewrites) {
  // For each key with a count that changed: the file's buttons of that key, in order.
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> byKey;
  const std::size_t n = std::min(base.ButtonKeys.size(), theirs.ButtonKeys.size());
  for (std::size_t i = 0; i < n; ++i)
    if (base.UseCounts[i] != theirs.UseCounts[i]) byKey.try_emplace(base.ButtonKeys[i]);
  if (byKey.empty()) return 0;
  for (std::size_t i = 0; i < n; ++i)
    if (const auto found = byKey.find(base.ButtonKeys[i]); found != byKey.end())
      found->second.push_back(i);

  std::unordered_map<std::uint64_t, std::size_t> seen;  // of each key, in grid order
  int merged = 0;
  for (int r = 1; r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      TLaunchDataItem item = ButtonAt(grid, c, r);
      const auto found = byKey.find(ButtonKey(item));
      if (found == byKey.end()) continue;
      const std::size_t nth = seen[found->first]++;
      if (nth >= found->second.size()) continue;  // a copy the file does not have
      const std::size_t i = found->second[nth];
      if (item.UseCount != base.UseCounts[i] || theirs.UseCounts[i] == base.UseCounts[i]) continue;
      item.UseCount = theirs.UseCounts[i];
      std::string text = ItemToText(item);
      if (rewrites != nullptr) rewrites->emplace(std::string(grid.Cell(c, r)), text);
      grid.SetCell(c, r, std::move(text));
      ++merged;
    }
  }
  return merged;
}
