#include "OutsideChanges.h"

#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <thread>
#include <unordered_set>

#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

// The button of a cell text as a save would read it.
TLaunchDataItem ItemOfText(std::string_view text) {
  TLaunchDataItem item;
  if (!text.empty() && ReadWrittenItem(text, item) == text.size()) return item;
  try {
    return *TextToItem(text);
  } catch (const ELaunchError&) {
    return TLaunchDataItem();
  }
}

TLaunchDataItem ButtonAt(const TGridStore& grid, int c, int r) {
  return ItemOfText(grid.Cell(c, r));
}

}  // namespace

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
  data.PageCounts.reserve(static_cast<std::size_t>(list.Pages.Count()));
  for (int p = 0; p < list.Pages.Count(); ++p)
    data.PageCounts.push_back(list.Pages.Get(p).Count);
  data.MissingButtons = list.MissingButtons();
  data.Complete = list.Complete;
  return data;
}

TDataFingerprint FingerprintOf(TTextFormSource& source) {
  TDataFingerprint data;
  data.StatusText = StatusToText(source.Status());
  const int pages = source.PageCount();
  for (int p = 0; p < pages; ++p) {
    const TPageItem& page = source.Page(p);
    data.PageTexts.push_back(PageToText(page));
    data.PageCounts.push_back(page.Count);
    const std::int32_t count = page.Count;
    for (std::int32_t b = 0; b < count; ++b) {
      std::string_view written;
      const TLaunchDataItem& item = source.Button(p, b, written);
      data.ButtonKeys.push_back(ButtonKey(item));
      data.UseCounts.push_back(item.UseCount);
    }
  }
  return data;
}

bool IsSymbolicLink(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::int64_t RealTimeNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

namespace {

// Below this size a file is read at every look even when its stamp is the same: cheap,
// and sure whatever the file system's clock.
constexpr std::int64_t kAlwaysReadBelow = 4 << 20;
// File times move with the system's tick, at most this long (with room to spare).
constexpr std::int64_t kTickNs = 50'000'000;
constexpr int kSettleLooks = 20;
constexpr int kSettlePauseMs = 50;

// Whether a file with base's stamp surely still holds base's bytes.
bool StampTells(const TFileBaseline& base) {
  return base.Stamp.size >= kAlwaysReadBelow &&
         base.StampTakenNs - base.Stamp.modifiedNs >= kTickNs;
}

TDiskCheck Unreadable(TDiskCheck check, QString problem) {
  check.Change = TDiskChange::Unreadable;
  check.Problem = std::move(problem);
  check.List.reset();
  return check;
}

}  // namespace

TDiskCheck CheckDataFile(const TFileBaseline& base, const QString& path) {
  TDiskCheck check;
  const std::string native = QFile::encodeName(path).toStdString();
  check.StampTakenNs = RealTimeNs();
  check.Stamp = StampOf(native);
  check.IsLink = IsSymbolicLink(path);
  if (!check.Stamp.exists) {
    if (base.Stamp.exists) check.Change = TDiskChange::Gone;
    return check;  // still no file, as before
  }
  if (check.Stamp == base.Stamp && check.IsLink == base.IsLink && StampTells(base)) return check;

  auto list = std::make_shared<TLaunchList>();
  list->SetFileName(native);
  try {
    list->LoadFromFile();
  } catch (const std::exception& e) {
    return Unreadable(std::move(check), QString::fromStdString(e.what()));
  }
  if (!list->Loaded)
    return Unreadable(std::move(check),
                      QStringLiteral("このアプリケーションのデーターファイルではありません。"));
  const QString halfWritten = QStringLiteral(
      "ファイルが途中までしかありません (書き込み中か、書き込みが中断されたファイルです)。");
  if (const TFileStamp after = StampOf(native); after != check.Stamp) {
    check.Stamp = after;  // never the stamp of what was read: that is not known
    return Unreadable(std::move(check), halfWritten);
  }
  const TDataFingerprint theirs = FingerprintOf(*list);
  if ((base.Data.Complete && !theirs.Complete) || theirs.MissingButtons > base.Data.MissingButtons)
    return Unreadable(std::move(check), halfWritten);
  check.List = std::move(list);
  if (check.IsLink != base.IsLink)
    check.Change = TDiskChange::Changed;  // the bytes would go elsewhere: asked
  else if (theirs == base.Data)
    check.Change = TDiskChange::Unchanged;
  else if (theirs.StatusText == base.Data.StatusText && theirs.PageTexts == base.Data.PageTexts &&
           theirs.ButtonKeys == base.Data.ButtonKeys)
    check.Change = TDiskChange::UseCountsOnly;
  else
    check.Change = TDiskChange::Changed;
  return check;
}

TDiskCheck CheckDataFileSettled(const TFileBaseline& base, const QString& path) {
  TDiskCheck check = CheckDataFile(base, path);
  for (int look = 1; look < kSettleLooks && check.Change == TDiskChange::Unreadable; ++look) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettlePauseMs));
    check = CheckDataFile(base, path);
  }
  return check;
}

std::optional<std::string> TCountRewrites::Rewrite(std::string_view text) const {
  if (const auto found = Texts.find(std::string(text)); found != Texts.end()) return found->second;
  if (Keys.empty() || text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  TLaunchDataItem item = ItemOfText(text);
  const auto found = Keys.find(ButtonKey(item));
  if (found == Keys.end()) return std::nullopt;
  for (const auto& [was, now] : found->second)
    if (item.UseCount == was) {
      item.UseCount = now;
      return ItemToText(item);
    }
  return std::nullopt;
}

int MergeUseCounts(TGridStore& grid, const TDataFingerprint& base, const TDataFingerprint& theirs,
                   TCountRewrites* rewrites) {
  // For each key with a count that changed: the file's buttons of that key, in order.
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> byKey;
  const std::size_t n = std::min(base.ButtonKeys.size(), theirs.ButtonKeys.size());
  for (std::size_t i = 0; i < n; ++i)
    if (base.UseCounts[i] != theirs.UseCounts[i]) byKey.try_emplace(base.ButtonKeys[i]);
  if (byKey.empty()) return 0;
  for (std::size_t i = 0; i < n; ++i)
    if (const auto found = byKey.find(base.ButtonKeys[i]); found != byKey.end())
      found->second.push_back(i);

  const auto changeCell = [&](int c, int r, TLaunchDataItem& item, std::int32_t count) {
    item.UseCount = count;
    std::string text = ItemToText(item);
    if (rewrites != nullptr) rewrites->Texts.emplace(std::string(grid.Cell(c, r)), text);
    grid.SetCell(c, r, std::move(text));
  };
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
      changeCell(c, r, item, theirs.UseCounts[i]);
      ++merged;
    }
  }

  // The file's buttons that no grid button matched: deleted or changed by the user.
  std::vector<std::size_t> unmatched;
  for (const auto& [key, indices] : byKey)
    for (std::size_t k = seen[key]; k < indices.size(); ++k)
      if (base.UseCounts[indices[k]] != theirs.UseCounts[indices[k]])
        unmatched.push_back(indices[k]);
  if (unmatched.empty()) return merged;
  std::sort(unmatched.begin(), unmatched.end());
  const std::unordered_set<std::uint64_t> fileKeys(base.ButtonKeys.begin(), base.ButtonKeys.end());
  std::size_t first = 0;  // of page p's buttons in the file
  std::size_t p = 0;
  for (const std::size_t i : unmatched) {
    while (p < base.PageCounts.size() &&
           first + static_cast<std::size_t>(std::max(base.PageCounts[p], 0)) <= i)
      first += static_cast<std::size_t>(std::max(base.PageCounts[p++], 0));
    const int r = static_cast<int>(p) + 1;
    const int c = static_cast<int>(i - first) + 1;
    const std::int32_t uses = theirs.UseCounts[i] - base.UseCounts[i];
    if (p < base.PageCounts.size() && r < grid.RowCount() &&
        c <= std::min(CountOfRow(grid, r), grid.ColCount() - 1)) {
      TLaunchDataItem item = ButtonAt(grid, c, r);
      // A button of a new key where the file had this one: the user's change of it.
      if (!fileKeys.contains(ButtonKey(item)) && item.UseCount == base.UseCounts[i]) {
        changeCell(c, r, item, item.UseCount + uses);
        ++merged;
      }
    }
    if (rewrites != nullptr)
      rewrites->Keys[base.ButtonKeys[i]].emplace_back(base.UseCounts[i], theirs.UseCounts[i]);
  }
  return merged;
}
