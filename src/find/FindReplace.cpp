#include "FindReplace.h"

#include <algorithm>
#include <set>

#include "GridRows.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace {

std::unique_ptr<TLaunchDataItem> ItemOf(std::string_view text) {
  try {
    return TextToItem(text);
  } catch (const ELaunchError&) {
    return nullptr;
  }
}

// The path fields a replacement touches, with their names.
struct TPathField {
  TFieldText TLaunchDataItem::*Member;
  const char16_t* Name;
};
constexpr TPathField kPathFields[] = {
    {&TLaunchDataItem::Link, u"リンク先"},
    {&TLaunchDataItem::AltLink, u"ショートカットのリンク先"},
    {&TLaunchDataItem::WorkDir, u"作業フォルダ"},
    {&TLaunchDataItem::IconFile, u"アイコン"},
};

// The field's name, made once: every entry of a plan shares it.
const QString& FieldName(const TPathField& field) {
  static const QString names[] = {
      QString::fromUtf16(kPathFields[0].Name), QString::fromUtf16(kPathFields[1].Name),
      QString::fromUtf16(kPathFields[2].Name), QString::fromUtf16(kPathFields[3].Name)};
  return names[&field - kPathFields];
}

bool PageOrder(const QPoint& a, const QPoint& b) {
  return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

}  // namespace

QString FoldForFind(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

const std::vector<QPoint>& TGridFinder::FindAll(const TGridStore& grid, const QString& text) {
  // A grid of other rows than the finder was told of is folded anew.
  if (folded_.Built() && folded_.RowCount() != grid.RowCount()) folded_.Clear();
  const bool fresh = !folded_.Built() || folded_.Stale();
  if (fresh) {
    levels_.clear();
    current_ = nullptr;
  }
  if (current_ && text == text_) return *current_;
  text_ = text;
  current_ = &none_;
  const QString needle = FoldForFind(text);
  // A line break would span two fields; and folded CP932 holds no surrogate (nothing
  // of it lies beyond the basic plane), so a needle with one finds nothing.
  if (needle.isEmpty() || needle.contains(QLatin1Char('\n')) ||
      std::any_of(needle.begin(), needle.end(), [](QChar c) { return c.isSurrogate(); })) {
    if (fresh) folded_.Build(grid);
    return none_;
  }
  const std::string bytes = needle.toStdString();
  if (fresh) {
    // The first search runs on the threads that fold what changed, each part searched
    // by the thread that took it.
    levels_.push_back({bytes, folded_.BuildAndFind(grid, bytes)});
    current_ = &levels_.back().Hits;
    return *current_;
  }
  while (!levels_.empty() && bytes.find(levels_.back().Needle) == std::string::npos)
    levels_.pop_back();
  if (levels_.empty() || levels_.back().Needle != bytes) {
    std::vector<QPoint> hits =
        levels_.empty() ? folded_.FindAll(bytes) : folded_.FindAmong(bytes, levels_.back().Hits);
    levels_.push_back({bytes, std::move(hits)});
  }
  current_ = &levels_.back().Hits;
  return *current_;
}

std::size_t TGridFinder::MemoryBytes() const {
  std::size_t bytes = folded_.MemoryBytes();
  for (const TLevel& level : levels_)
    bytes += level.Needle.capacity() + level.Hits.capacity() * sizeof(QPoint);
  return bytes;
}

bool TGridFinder::IsHit(const TGridStore& grid, const QString& text, int col, int row) {
  const std::vector<QPoint>& hits = FindAll(grid, text);
  return std::binary_search(hits.begin(), hits.end(), QPoint(col, row), PageOrder);
}

int NextHit(const std::vector<QPoint>& hits, int col, int row, bool& wrapped, bool backward) {
  wrapped = false;
  if (hits.empty()) return -1;
  const QPoint from(col, row);
  if (backward) {
    const auto before = std::lower_bound(hits.begin(), hits.end(), from, PageOrder);
    if (before != hits.begin()) return static_cast<int>(before - hits.begin()) - 1;
    wrapped = true;
    return static_cast<int>(hits.size()) - 1;
  }
  const auto after = std::upper_bound(hits.begin(), hits.end(), from, PageOrder);
  if (after != hits.end()) return static_cast<int>(after - hits.begin());
  wrapped = true;
  return 0;
}

QString ReplacementRefusal(const QString& from, const QString& to) {
  if (from.isEmpty()) return QStringLiteral("置換する文字列が入力されていません。");
  for (const QString& text : {from, to}) {
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
        text.contains(QChar(0)))
      return QStringLiteral("改行や NUL 文字は置換に使えません。");
    if (!sjis::FromUtf8(text.toStdString()))
      return QStringLiteral("\"") + text +
             QStringLiteral("\" にはシフト JIS で表せない文字が含まれています。");
  }
  return {};
}

const QString& FieldNameOf(const TReplacement& change) {
  return FieldName(kPathFields[change.Field]);
}

std::string BeforeOf(const TGridCells& grid, const TReplacement& change) {
  const auto item = ItemOf(grid.Cell(change.Col, change.Row));
  return item ? std::string((*item).*kPathFields[change.Field].Member) : std::string();
}

std::string AfterOf(const TGridCells& grid, const TReplacementPlan& plan,
                    const TReplacement& change) {
  return sjis::ReplaceText(BeforeOf(grid, change), plan.From, plan.To);
}

TReplacementPlan PlanReplacements(const TGridStore& grid, const std::string& from,
                                  const std::string& to, int onlyRow) {
  TReplacementPlan plan{from, to, {}};
  if (from.empty()) return plan;
  const int first = onlyRow > 0 ? onlyRow : 1;
  const int last = onlyRow > 0 ? onlyRow : grid.RowCount() - 1;
  for (int r = first; r <= last && r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      const auto item = ItemOf(grid.Cell(c, r));
      if (!item) continue;
      for (const TPathField& field : kPathFields)
        if (sjis::FindText((*item).*field.Member, from) != std::string::npos)
          plan.Changes.push_back({r, c, static_cast<std::uint8_t>(&field - kPathFields)});
    }
  }
  return plan;
}

int ApplyReplacements(TGridEdit& edit, const TReplacementPlan& plan) {
  // Flat lists, made once: tree nodes allocated among the new cell texts would leave
  // holes that the step's memory could not give back.
  std::vector<std::pair<int, int>> buttons;
  buttons.reserve(plan.size());
  std::set<int> pages;
  for (const TReplacement& change : plan.Changes) {
    auto item = ItemOf(edit.Grid.Cell(change.Col, change.Row));
    if (!item) continue;
    // Each field once: the button's other fields may have been replaced already.
    TFieldText& text = (*item).*kPathFields[change.Field].Member;
    text = sjis::ReplaceText(text, plan.From, plan.To);
    edit.Grid.SetCell(change.Col, change.Row, ItemToText(*item));
    buttons.emplace_back(change.Row, change.Col);
    pages.insert(change.Row);
  }
  for (int r : pages)
    RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
  std::sort(buttons.begin(), buttons.end());
  return static_cast<int>(std::unique(buttons.begin(), buttons.end()) - buttons.begin());
}
