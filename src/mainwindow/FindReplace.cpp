#include "FindReplace.h"
#include "TextFormat.h"

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

bool PageOrder(const QPoint& a, const QPoint& b) {
  return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

}  // namespace

QString FoldForFind(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void TGridFinder::Build(const TGridStore& grid) {
  rows_.assign(static_cast<std::size_t>(grid.RowCount()), {});
  for (int r = 1; r < grid.RowCount(); ++r) {
    auto& row = rows_[static_cast<std::size_t>(r)];
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    row.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int c = 1; c <= count; ++c) {
      const auto item = ItemOf(grid.Cell(c, r));
      if (!item) {
        row.emplace_back();
        continue;
      }
      // One text per button; the line breaks keep a match from spanning two fields.
      const QString joined = ShownText(item->Title) + QLatin1Char('\n') + ShownText(item->Link) +
                             QLatin1Char('\n') + ShownText(item->AltLink) + QLatin1Char('\n') +
                             ShownText(item->Params) + QLatin1Char('\n') +
                             ShownText(item->WorkDir) + QLatin1Char('\n') +
                             ShownText(item->Comment);
      row.push_back(FoldForFind(joined));
    }
  }
}

const std::vector<QPoint>& TGridFinder::FindAll(const TGridStore& grid, const QString& text) {
  if (rows_.size() == static_cast<std::size_t>(grid.RowCount()) && text == text_) return hits_;
  if (rows_.size() != static_cast<std::size_t>(grid.RowCount())) Build(grid);
  text_ = text;
  hits_.clear();
  const QString needle = FoldForFind(text);
  if (needle.isEmpty() || needle.contains(QLatin1Char('\n'))) return hits_;
  for (std::size_t r = 1; r < rows_.size(); ++r)
    for (std::size_t c = 0; c < rows_[r].size(); ++c)
      if (rows_[r][c].contains(needle))
        hits_.emplace_back(static_cast<int>(c) + 1, static_cast<int>(r));
  return hits_;
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

std::vector<TReplacement> PlanReplacements(const TGridStore& grid, const std::string& from,
                                           const std::string& to, int onlyRow) {
  std::vector<TReplacement> plan;
  if (from.empty()) return plan;
  const int first = onlyRow > 0 ? onlyRow : 1;
  const int last = onlyRow > 0 ? onlyRow : grid.RowCount() - 1;
  for (int r = first; r <= last && r < grid.RowCount(); ++r) {
    const int count = std::min(CountOfRow(grid, r), grid.ColCount() - 1);
    for (int c = 1; c <= count; ++c) {
      const auto item = ItemOf(grid.Cell(c, r));
      if (!item) continue;
      for (const TPathField& field : kPathFields) {
        const std::string_view before = (*item).*field.Member;
        if (sjis::FindText(before, from) == std::string::npos) continue;
        plan.push_back({r, c, QString::fromUtf16(field.Name), std::string(before),
                        sjis::ReplaceText(before, from, to)});
      }
    }
  }
  return plan;
}

int ApplyReplacements(TGridEdit& edit, const std::vector<TReplacement>& plan) {
  std::set<std::pair<int, int>> buttons;
  std::set<int> pages;
  for (const TReplacement& change : plan) {
    auto item = ItemOf(edit.Grid.Cell(change.Col, change.Row));
    if (!item) continue;
    for (const TPathField& field : kPathFields)
      if (QString::fromUtf16(field.Name) == change.Field && (*item).*field.Member == change.Before)
        (*item).*field.Member = change.After;
    edit.Grid.SetCell(change.Col, change.Row, ItemToText(*item));
    buttons.insert({change.Row, change.Col});
    pages.insert(change.Row);
  }
  for (int r : pages)
    RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
  return static_cast<int>(buttons.size());
}
