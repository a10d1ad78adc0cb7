#include "ListDiff.h"

#include <algorithm>
#include <future>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "ButtonKey.h"
#include "ComparedLists.h"
#include "RecordText.h"

namespace {

// A field of a button: its member, when it is a text, or its number.
struct TFieldInfo {
  TButtonField Field;
  std::string_view Name;
  TFieldText TLaunchDataItem::*Text;
};
constexpr TFieldInfo kFieldInfo[] = {
    {bfKind, "種類", nullptr},
    {bfUseCount, "使用回数", nullptr},
    {bfTitle, "タイトル", &TLaunchDataItem::Title},
    {bfLink, "リンク先", &TLaunchDataItem::Link},
    {bfAltLink, "ショートカットのリンク先", &TLaunchDataItem::AltLink},
    {bfParams, "パラメータ", &TLaunchDataItem::Params},
    {bfWorkDir, "作業フォルダ", &TLaunchDataItem::WorkDir},
    {bfIconFile, "アイコン", &TLaunchDataItem::IconFile},
    {bfShowCmd, "実行時の大きさ", nullptr},
    {bfIconIndex, "アイコン番号", nullptr},
    {bfComment, "コメント", &TLaunchDataItem::Comment},
};

const TFieldInfo& InfoOf(TButtonField field) {
  for (const TFieldInfo& info : kFieldInfo)
    if (info.Field == field) return info;
  return kFieldInfo[0];
}

std::int64_t NumberOf(const TLaunchDataItem& item, TButtonField field) {
  switch (field) {
    case bfKind:
      return item.Kind;
    case bfUseCount:
      return item.UseCount;
    case bfShowCmd:
      return item.ShowCmd;
    case bfIconIndex:
      return item.IconIndex;
    default:
      return 0;
  }
}

// The flat number of each button's page, by PageStarts; the page count for none.
std::vector<int> PagesOfButtons(const std::vector<int>& starts, int buttons) {
  std::vector<int> pageOf(static_cast<std::size_t>(buttons), static_cast<int>(starts.size()) - 1);
  for (std::size_t p = 0; p + 1 < starts.size(); ++p)
    std::fill(pageOf.begin() + starts[p], pageOf.begin() + starts[p + 1], static_cast<int>(p));
  return pageOf;
}

// Which of values (in their order) form a longest increasing run, not necessarily
// contiguous: those that kept their order; the others moved.
std::vector<std::uint8_t> LongestIncreasing(const std::vector<int>& values) {
  std::vector<int> tails;  // index into values of the last of each run length
  std::vector<int> before(values.size(), -1);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto at = std::lower_bound(tails.begin(), tails.end(), values[i],
                                     [&](int t, int v) { return values[t] < v; });
    if (at != tails.begin()) before[i] = *(at - 1);
    if (at == tails.end())
      tails.push_back(static_cast<int>(i));
    else
      *at = static_cast<int>(i);
  }
  std::vector<std::uint8_t> kept(values.size(), 0);
  for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[i])
    kept[i] = 1;
  return kept;
}

// One list as the matching sees it.
struct TSide {
  explicit TSide(const TComparedList& l)
      : list(l), starts(PageStarts(l)), pageOf(PagesOfButtons(starts, l.ButtonCount())) {
    keys.resize(static_cast<std::size_t>(l.ButtonCount()));
    for (int i = 0; i < l.ButtonCount(); ++i)
      keys[i] = l.Key(i);
  }
  int Pages() const { return static_cast<int>(starts.size()) - 1; }
  const TComparedList& list;
  std::vector<int> starts;
  std::vector<int> pageOf;
  std::vector<std::uint64_t> keys;
};

std::uint64_t TargetKey(const TLaunchDataItem& item, bool withTitle) {
  if (item.Link.empty()) return 0;  // no target: nothing to know it by
  THash hash;
  hash.Add(std::string_view(item.Link));
  if (withTitle) hash.Add(std::string_view(item.Title));
  return hash.Value() | 1;
}

class TMatcher {
 public:
  TMatcher(const TSide& a, const TSide& b, TListMatch& m) : a_(a), b_(b), m_(m) {}

  void Run() {
    m_.StatusChanged = !(a_.list.Status() == b_.list.Status());
    MatchPages();
    m_.ButtonTo.assign(a_.keys.size(), -1);
    m_.ButtonFrom.assign(b_.keys.size(), -1);
    TrimPagePairs();
    const auto full = [](const TSide& s, int i) { return s.keys[i]; };
    const auto targetTitle = [](const TSide& s, int i) {
      return TargetKey(s.list.Button(i), true);
    };
    const auto target = [](const TSide& s, int i) { return TargetKey(s.list.Button(i), false); };
    for (const auto& key : {+full, +targetTitle, +target}) {
      MatchByKey(key, true);
      MatchByKey(key, false);
    }
    MatchByPosition();
    MarkMovedButtons();
    m_.Fields.assign(b_.keys.size(), 0);
    for (std::size_t j = 0; j < b_.keys.size(); ++j) {
      const int i = m_.ButtonFrom[j];
      if (i < 0) continue;
      const int jj = static_cast<int>(j);
      m_.Fields[j] =
          a_.keys[i] == b_.keys[j]
              ? (a_.list.UseCount(i) != b_.list.UseCount(jj) ? TFieldMask{bfUseCount} : 0)
              : FieldsDiffering(a_.list.Button(i), b_.list.Button(jj));
    }
  }

 private:
  using TKeyOf = std::uint64_t (*)(const TSide&, int);

  void PairPages(int pa, int pb) {
    m_.PageTo[pa] = pb;
    m_.PageFrom[pb] = pa;
  }

  void MatchPages() {
    const int na = a_.Pages(), nb = b_.Pages();
    m_.PageTo.assign(static_cast<std::size_t>(na), -1);
    m_.PageFrom.assign(static_cast<std::size_t>(nb), -1);
    // By name: the n-th page of a name to the n-th of that name.
    std::unordered_map<std::string_view, std::vector<int>> byName;
    for (int p = na - 1; p >= 0; --p)
      byName[a_.list.Page(p).Caption].push_back(p);
    for (int p = 0; p < nb; ++p) {
      auto found = byName.find(b_.list.Page(p).Caption);
      if (found == byName.end() || found->second.empty()) continue;
      PairPages(found->second.back(), p);
      found->second.pop_back();
    }
    // By the buttons they share: a renamed page keeps most of its buttons.
    std::unordered_map<std::uint64_t, int> pageOfKey;
    for (int p = 0; p < na; ++p)
      if (m_.PageTo[p] < 0)
        for (int i = a_.starts[p]; i < a_.starts[p + 1]; ++i)
          pageOfKey.emplace(a_.keys[i], p);
    for (int p = 0; p < nb && !pageOfKey.empty(); ++p) {
      if (m_.PageFrom[p] >= 0) continue;
      std::unordered_map<int, int> votes;
      for (int j = b_.starts[p]; j < b_.starts[p + 1]; ++j)
        if (auto found = pageOfKey.find(b_.keys[j]); found != pageOfKey.end())
          ++votes[found->second];
      int best = -1, most = 0;
      for (const auto& [page, count] : votes)
        if (m_.PageTo[page] < 0 && (count > most || (count == most && page < best))) {
          best = page;
          most = count;
        }
      if (best < 0) continue;
      const int smaller =
          std::min(a_.starts[best + 1] - a_.starts[best], b_.starts[p + 1] - b_.starts[p]);
      if (2 * most > smaller) PairPages(best, p);
    }
    // By position: what is left where it stood.
    for (int p = 0; p < std::min(na, nb); ++p)
      if (m_.PageTo[p] < 0 && m_.PageFrom[p] < 0) PairPages(p, p);
    std::vector<int> order;
    std::vector<int> pages;
    for (int p = 0; p < nb; ++p)
      if (m_.PageFrom[p] >= 0) {
        order.push_back(m_.PageFrom[p]);
        pages.push_back(p);
      }
    m_.PageMoved.assign(static_cast<std::size_t>(nb), 0);
    const std::vector<std::uint8_t> kept = LongestIncreasing(order);
    for (std::size_t k = 0; k < pages.size(); ++k)
      m_.PageMoved[pages[k]] = !kept[k];
  }

  void Pair(int i, int j) {
    m_.ButtonTo[i] = j;
    m_.ButtonFrom[j] = i;
  }

  // Most pages are mostly as they were: the same buttons at the start and at the end
  // are paired without a sort.
  void TrimPagePairs() {
    for (int pb = 0; pb < b_.Pages(); ++pb) {
      const int pa = m_.PageFrom[pb];
      if (pa < 0) continue;
      int i = a_.starts[pa], j = b_.starts[pb];
      int ie = a_.starts[pa + 1], je = b_.starts[pb + 1];
      for (; i < ie && j < je && a_.keys[i] == b_.keys[j]; ++i, ++j)
        Pair(i, j);
      for (; i < ie && j < je && a_.keys[ie - 1] == b_.keys[je - 1]; --ie, --je)
        Pair(ie - 1, je - 1);
    }
  }

  // Pairs the unpaired buttons of equal key, the n-th of a key in a with the n-th in b;
  // within each pair of pages, or across all pages.
  void MatchByKey(TKeyOf keyOf, bool withinPages) {
    std::vector<std::pair<std::uint64_t, int>> xs, ys;
    const auto pairSorted = [&] {
      std::sort(xs.begin(), xs.end());
      std::sort(ys.begin(), ys.end());
      auto x = xs.begin(), y = ys.begin();
      while (x != xs.end() && y != ys.end()) {
        if (x->first < y->first) {
          ++x;
        } else if (y->first < x->first) {
          ++y;
        } else {
          Pair(x->second, y->second);
          ++x;
          ++y;
        }
      }
      xs.clear();
      ys.clear();
    };
    const auto collect = [&](const TSide& s, const std::vector<int>& paired, int from, int to,
                             auto& out) {
      for (int i = from; i < to; ++i)
        if (paired[i] < 0)
          if (const std::uint64_t key = keyOf(s, i); key != 0) out.emplace_back(key, i);
    };
    if (withinPages) {
      for (int pb = 0; pb < b_.Pages(); ++pb) {
        const int pa = m_.PageFrom[pb];
        if (pa < 0) continue;
        collect(b_, m_.ButtonFrom, b_.starts[pb], b_.starts[pb + 1], ys);
        if (ys.empty()) continue;
        collect(a_, m_.ButtonTo, a_.starts[pa], a_.starts[pa + 1], xs);
        pairSorted();
      }
    } else {
      collect(b_, m_.ButtonFrom, 0, static_cast<int>(b_.keys.size()), ys);
      if (ys.empty()) return;
      collect(a_, m_.ButtonTo, 0, static_cast<int>(a_.keys.size()), xs);
      pairSorted();
    }
  }

  // What is left of a pair of pages, button n to button n: one changed in place.
  void MatchByPosition() {
    for (int pb = 0; pb < b_.Pages(); ++pb) {
      const int pa = m_.PageFrom[pb];
      if (pa < 0) continue;
      const int n = std::min(a_.starts[pa + 1] - a_.starts[pa], b_.starts[pb + 1] - b_.starts[pb]);
      for (int k = 0; k < n; ++k) {
        const int i = a_.starts[pa] + k, j = b_.starts[pb] + k;
        if (m_.ButtonTo[i] < 0 && m_.ButtonFrom[j] < 0) Pair(i, j);
      }
    }
  }

  void MarkMovedButtons() {
    m_.ButtonMoved.assign(b_.keys.size(), 0);
    std::vector<int> order, buttons;
    for (int pb = 0; pb < b_.Pages(); ++pb) {
      order.clear();
      buttons.clear();
      for (int j = b_.starts[pb]; j < b_.starts[pb + 1]; ++j) {
        const int i = m_.ButtonFrom[j];
        if (i < 0) continue;
        if (m_.PageTo[a_.pageOf[i]] != pb) {
          m_.ButtonMoved[j] = 1;
        } else {
          order.push_back(i);
          buttons.push_back(j);
        }
      }
      const std::vector<std::uint8_t> kept = LongestIncreasing(order);
      for (std::size_t k = 0; k < buttons.size(); ++k)
        m_.ButtonMoved[buttons[k]] = !kept[k];
    }
  }

  const TSide& a_;
  const TSide& b_;
  TListMatch& m_;
};

TListMatch Match(const TSide& a, const TSide& b) {
  TListMatch m;
  TMatcher(a, b, m).Run();
  return m;
}

}  // namespace

TFieldMask FieldsDiffering(const TLaunchDataItem& a, const TLaunchDataItem& b) {
  TFieldMask mask = 0;
  for (const TFieldInfo& info : kFieldInfo) {
    const bool same = info.Text ? a.*info.Text == b.*info.Text
                                : NumberOf(a, info.Field) == NumberOf(b, info.Field);
    if (!same) mask |= info.Field;
  }
  return mask;
}

void CopyFields(TLaunchDataItem& to, const TLaunchDataItem& from, TFieldMask mask) {
  for (const TFieldInfo& info : kFieldInfo) {
    if ((mask & info.Field) == 0) continue;
    if (info.Text) {
      to.*info.Text = from.*info.Text;
      continue;
    }
    switch (info.Field) {
      case bfKind:
        to.Kind = from.Kind;
        break;
      case bfUseCount:
        to.UseCount = from.UseCount;
        break;
      case bfShowCmd:
        to.ShowCmd = from.ShowCmd;
        break;
      default:
        to.IconIndex = from.IconIndex;
        break;
    }
  }
}

std::string_view FieldName(TButtonField field) {
  return InfoOf(field).Name;
}

std::string FieldValue(const TLaunchDataItem& item, TButtonField field) {
  const TFieldInfo& info = InfoOf(field);
  return info.Text ? (item.*info.Text).str() : std::to_string(NumberOf(item, field));
}

std::vector<int> PageStarts(const TComparedList& list) {
  const int pages = list.PageCount(), buttons = list.ButtonCount();
  std::vector<int> starts(static_cast<std::size_t>(pages) + 1, 0);
  std::int64_t at = 0;
  for (int p = 0; p < pages; ++p) {
    at = std::min<std::int64_t>(at + std::max(list.Page(p).Count, 0), buttons);
    starts[p + 1] = static_cast<int>(at);
  }
  if (pages > 0) starts[pages] = buttons;  // what no page owns, the last page shows
  return starts;
}

std::vector<int> PageStarts(const TLaunchList& list) {
  return PageStarts(TLoadedList(list));
}

TListMatch MatchLists(const TLaunchList& a, const TLaunchList& b) {
  return MatchLists(TLoadedList(a), TLoadedList(b));
}

TListMatch MatchLists(const TComparedList& a, const TComparedList& b) {
  auto other = std::async(std::launch::async, [&b] { return TSide(b); });
  const TSide sideA(a);
  const TSide sideB = other.get();
  return Match(sideA, sideB);
}

std::vector<TListDifference> ListDifferences(const TLaunchList& a, const TLaunchList& b,
                                             const TListMatch& m) {
  return ListDifferences(TLoadedList(a), TLoadedList(b), m);
}

std::vector<TListDifference> ListDifferences(const TComparedList& a, const TComparedList& b,
                                             const TListMatch& m) {
  using TKind = TListDifference::TKind;
  const std::vector<int> startsA = PageStarts(a), startsB = PageStarts(b);
  const auto pageOfA = PagesOfButtons(startsA, a.ButtonCount());
  std::vector<TListDifference> out;
  if (m.StatusChanged) out.push_back({TKind::Status});
  // What a removed stands after: the last thing before it that b still has.
  const int pagesA = static_cast<int>(startsA.size()) - 1;
  const int pagesB = static_cast<int>(startsB.size()) - 1;
  std::vector<std::vector<int>> pagesRemovedAfter(static_cast<std::size_t>(pagesB) + 1);
  for (int pa = 0, last = -1; pa < pagesA; ++pa) {
    if (m.PageTo[pa] >= 0)
      last = m.PageTo[pa];
    else
      pagesRemovedAfter[last + 1].push_back(pa);
  }
  std::unordered_map<int, std::vector<int>> buttonsRemovedAfter;  // b's button (or -1 - page)
  for (int pa = 0; pa < pagesA; ++pa) {
    const int pb = m.PageTo[pa];
    if (pb < 0) continue;
    int last = -1 - pb;
    for (int i = startsA[pa]; i < startsA[pa + 1]; ++i) {
      const int j = m.ButtonTo[i];
      if (j >= 0 && j >= startsB[pb] && j < startsB[pb + 1])
        last = j;
      else if (j < 0)
        buttonsRemovedAfter[last].push_back(i);
    }
  }
  const auto removedButtons = [&](int after) {
    const auto found = buttonsRemovedAfter.find(after);
    if (found == buttonsRemovedAfter.end()) return;
    for (const int i : found->second) {
      const int pa = pageOfA[i];
      out.push_back({TKind::ButtonRemoved, pa, i - startsA[pa], -1, -1, 0, i});
    }
  };
  const auto removedPages = [&](int after) {
    for (const int pa : pagesRemovedAfter[after + 1])
      out.push_back({TKind::PageRemoved, pa, -1, -1, -1, 0, -1, -1, startsA[pa + 1] - startsA[pa]});
  };
  removedPages(-1);
  for (int pb = 0; pb < pagesB; ++pb) {
    const int pa = m.PageFrom[pb];
    if (pa < 0) {
      out.push_back({TKind::PageAdded, -1, -1, pb, -1, 0, -1, -1, startsB[pb + 1] - startsB[pb]});
    } else {
      const TPageItem& x = a.Page(pa);
      const TPageItem& y = b.Page(pb);
      if (x.Caption != y.Caption || x.Extra != y.Extra)
        out.push_back({TKind::PageRenamed, pa, -1, pb});
      if (m.PageMoved[pb]) out.push_back({TKind::PageMoved, pa, -1, pb});
    }
    removedButtons(-1 - pb);
    for (int j = startsB[pb]; j < startsB[pb + 1]; ++j) {
      const int i = m.ButtonFrom[j];
      const int n = j - startsB[pb];
      if (i < 0) {
        if (pa >= 0) out.push_back({TKind::ButtonAdded, -1, -1, pb, n, 0, -1, j});
      } else {
        const int fromPage = pageOfA[i];
        const int fromButton = i - startsA[fromPage];
        const TFieldMask fields = m.Fields[j] & ~TFieldMask{bfUseCount};
        if (m.ButtonMoved[j])
          out.push_back({TKind::ButtonMoved, fromPage, fromButton, pb, n, fields, i, j});
        else if (fields != 0)
          out.push_back({TKind::ButtonChanged, fromPage, fromButton, pb, n, fields, i, j});
        if (m.Fields[j] & bfUseCount)
          out.push_back({TKind::UseCount, fromPage, fromButton, pb, n, bfUseCount, i, j});
      }
      removedButtons(j);
    }
    removedPages(pb);
  }
  return out;
}

namespace {

std::string Number(int n) {
  return std::to_string(n + 1);
}

std::string PageLabel(const TComparedList& list, int p, const TShownText& shown) {
  return "ページ " + Number(p) + " 「" + shown(list.Page(p).Caption) + "」";
}

std::string ButtonLabel(const TComparedList& list, int p, int n, int i, const TShownText& shown) {
  return PageLabel(list, p, shown) + ": ボタン " + Number(n) + " 「" + shown(list.Button(i).Title) +
         "」";
}

std::string ShownValue(const TLaunchDataItem& item, TButtonField field, const TShownText& shown) {
  if (field == bfShowCmd) {
    switch (item.ShowCmd) {
      case kShowNormal:
        return "通常のウィンドウ";
      case kShowMaximized:
        return "最大化";
      case kShowMinimized:
        return "最小化";
      default:
        break;
    }
  }
  const std::string value = shown(FieldValue(item, field));
  return value.empty() ? "(なし)" : value;
}

std::string UseCountChange(std::int64_t from, std::int64_t to) {
  const std::int64_t by = to - from;
  return "使用回数 " + std::string(by >= 0 ? "+" : "") + std::to_string(by) + " (" +
         std::to_string(from) + " → " + std::to_string(to) + ")";
}

std::string ButtonsOf(int count) {
  return " (ボタン " + std::to_string(count) + " 個)";
}

}  // namespace

std::string FieldChanges(const TLaunchDataItem& x, const TLaunchDataItem& y, TFieldMask mask,
                         const TShownText& shown) {
  std::string text;
  for (const TButtonField field : kButtonFields) {
    if ((mask & field) == 0) continue;
    if (!text.empty()) text += "、";
    text += std::string(FieldName(field)) + " " + ShownValue(x, field, shown) + " → " +
            ShownValue(y, field, shown);
  }
  return text;
}

std::string DescribeDifference(const TLaunchList& a, const TLaunchList& b, const TListDifference& d,
                               const TShownText& shown) {
  return DescribeDifference(TLoadedList(a), TLoadedList(b), d, shown);
}

std::string DescribeDifference(const TComparedList& a, const TComparedList& b,
                               const TListDifference& d, const TShownText& shown) {
  using TKind = TListDifference::TKind;
  switch (d.Kind) {
    case TKind::Status:
      return "ステータス: " + shown(StatusToText(a.Status())) + " → " +
             shown(StatusToText(b.Status()));
    case TKind::PageAdded:
      return PageLabel(b, d.PageB, shown) + "を追加" + ButtonsOf(d.Buttons);
    case TKind::PageRemoved:
      return PageLabel(a, d.PageA, shown) + "を削除" + ButtonsOf(d.Buttons);
    case TKind::PageRenamed: {
      const TPageItem& x = a.Page(d.PageA);
      const TPageItem& y = b.Page(d.PageB);
      std::string text = PageLabel(a, d.PageA, shown) + " ページ名 「" + shown(x.Caption) +
                         "」 → 「" + shown(y.Caption) + "」";
      if (x.Extra != y.Extra)
        text += "、付加情報 " + std::to_string(x.Extra) + " → " + std::to_string(y.Extra);
      return text;
    }
    case TKind::PageMoved:
      return PageLabel(a, d.PageA, shown) + "をページ " + Number(d.PageB) + " へ移動";
    case TKind::ButtonAdded:
      return ButtonLabel(b, d.PageB, d.ButtonB, d.ItemB, shown) + "を追加";
    case TKind::ButtonRemoved:
      return ButtonLabel(a, d.PageA, d.ButtonA, d.ItemA, shown) + "を削除";
    default:
      break;
  }
  const TLaunchDataItem& x = a.Button(d.ItemA);
  const TLaunchDataItem& y = b.Button(d.ItemB);
  if (d.Kind == TKind::UseCount)
    return ButtonLabel(b, d.PageB, d.ButtonB, d.ItemB, shown) + " " +
           UseCountChange(x.UseCount, y.UseCount);
  if (d.Kind == TKind::ButtonChanged)
    return ButtonLabel(b, d.PageB, d.ButtonB, d.ItemB, shown) + " " +
           FieldChanges(x, y, d.Fields, shown);
  std::string text = ButtonLabel(a, d.PageA, d.ButtonA, d.ItemA, shown) + "を" +
                     PageLabel(b, d.PageB, shown) + "のボタン " + Number(d.ButtonB) + " へ移動";
  if (d.Fields != 0) text += "、" + FieldChanges(x, y, d.Fields, shown);
  return text;
}

std::vector<std::string> DifferenceStat(const std::vector<TListDifference>& differences) {
  static constexpr std::string_view kNames[] = {
      "ステータスの変更", "ページの追加", "ページの削除", "ページ名の変更", "ページの移動",
      "ボタンの追加",     "ボタンの削除", "ボタンの移動", "ボタンの変更",   "使用回数の変更"};
  std::size_t counts[std::size(kNames)] = {};
  for (const TListDifference& d : differences)
    ++counts[static_cast<std::size_t>(d.Kind)];
  std::vector<std::string> lines;
  for (std::size_t k = 0; k < std::size(kNames); ++k)
    if (counts[k] != 0) lines.push_back(std::string(kNames[k]) + ": " + std::to_string(counts[k]));
  lines.push_back("差分: " + std::to_string(differences.size()) + " 件");
  return lines;
}

namespace {

// An empty list to fill: no page, no button.
TLaunchList EmptyList() {
  TLaunchList list;
  list.Pages.Clear();
  list.Clear();
  return list;
}

}  // namespace

TLaunchList ApplyMatch(const TLaunchList& a, const TLaunchList& b, const TListMatch& m) {
  TLaunchList out = EmptyList();
  out.Status = m.StatusChanged ? b.Status : a.Status;
  const std::vector<int> starts = PageStarts(b);
  for (int pb = 0; pb + 1 < static_cast<int>(starts.size()); ++pb) {
    const TPageItem& page = b.Pages.Get(pb);
    out.Pages.Add(
        std::make_unique<TPageItem>(page.Caption, starts[pb + 1] - starts[pb], page.Extra));
    for (int j = starts[pb]; j < starts[pb + 1]; ++j) {
      const int i = m.ButtonFrom[j];
      if (i < 0) {
        out.Emplace(b.Get(j));
      } else {
        TLaunchDataItem& item = out.Emplace(a.Get(i));
        CopyFields(item, b.Get(j), m.Fields[j]);
      }
    }
  }
  return out;
}

std::uint64_t TMergeConflict::Key() const {
  THash hash;
  hash.Add(static_cast<std::uint64_t>(Kind));
  hash.Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(Base)));
  return hash.Value();
}

namespace {

// A place in the merge's result, linked both ways to its neighbours, so that a move
// is a few links: a page, or a button within one.
struct TSlot {
  int prev = -1, next = -1;
  int ours = -1, theirs = -1, base = -1;
  int owner = -1;  // a button's page
  bool live = true;
};
struct TChain {
  int head = -1, tail = -1;
};

void Unlink(std::vector<TSlot>& slots, TChain& chain, int s) {
  TSlot& slot = slots[s];
  (slot.prev >= 0 ? slots[slot.prev].next : chain.head) = slot.next;
  (slot.next >= 0 ? slots[slot.next].prev : chain.tail) = slot.prev;
  slot.prev = slot.next = -1;
}

// Links s after after, or first when after is -1.
void LinkAfter(std::vector<TSlot>& slots, TChain& chain, int s, int after) {
  TSlot& slot = slots[s];
  slot.prev = after;
  slot.next = after >= 0 ? slots[after].next : chain.head;
  (slot.next >= 0 ? slots[slot.next].prev : chain.tail) = s;
  (after >= 0 ? slots[after].next : chain.head) = s;
}

// Of three values, what the merge takes: the side that changed it from base, or the
// same change once; nullopt when both changed it differently.
template <typename T>
std::optional<T> Merged(const T& base, const T& ours, const T& theirs) {
  if (ours == base || ours == theirs) return theirs;
  if (theirs == base) return ours;
  return std::nullopt;
}

class TMerger {
 public:
  TMerger(const TSide& o, const TSide& a, const TSide& b, const TListMatch& ma,
          const TListMatch& mb, const std::vector<std::uint64_t>& takeTheirs)
      : o_(o), a_(a), b_(b), ma_(ma), mb_(mb), take_(takeTheirs.begin(), takeTheirs.end()) {}

  TMergePlan Run() {
    TMergePlan plan;
    MergeStatus(plan.Status);
    SlotsOfOurs();
    PagesOfTheirs();
    ButtonsOfTheirs();
    RemovedByTheirs();
    Write(plan);
    plan.Conflicts = std::move(conflicts_);
    return plan;
  }

 private:
  using TKind = TMergeConflict::TKind;

  // Lists c; true when the user chose theirs for it.
  bool Conflict(const TMergeConflict& c) {
    conflicts_.push_back(c);
    return take_.count(c.Key()) != 0;
  }
  TMergeConflict ConflictOf(TKind kind, int base, int ours, int theirs, bool buttons) const {
    TMergeConflict c;
    c.Kind = kind;
    c.Base = base;
    if (buttons) {
      c.ItemOurs = ours;
      c.ItemTheirs = theirs;
      if (ours >= 0) c.PageOurs = a_.pageOf[ours], c.ButtonOurs = ours - a_.starts[c.PageOurs];
      if (theirs >= 0)
        c.PageTheirs = b_.pageOf[theirs], c.ButtonTheirs = theirs - b_.starts[c.PageTheirs];
    } else {
      c.PageOurs = ours;
      c.PageTheirs = theirs;
    }
    return c;
  }

  void MergeStatus(TDataStatus& status) {
    const TDataStatus &x = o_.list.Status(), &y = a_.list.Status(), &z = b_.list.Status();
    const auto merged = Merged(x, y, z);
    status = merged ? *merged : y;
    if (!merged && Conflict(ConflictOf(TKind::Status, -1, -1, -1, false))) status = z;
  }

  int NewPage(int ours, int base, int theirs) {
    pages_.push_back({-1, -1, ours, theirs, base});
    buttonsOf_.emplace_back();
    if (theirs >= 0) pageOfTheirs_[theirs] = static_cast<int>(pages_.size()) - 1;
    return static_cast<int>(pages_.size()) - 1;
  }
  int NewButton(int page, int ours, int base, int theirs, int after) {
    buttons_.push_back({-1, -1, ours, theirs, base, page});
    const int s = static_cast<int>(buttons_.size()) - 1;
    if (theirs >= 0) buttonOfTheirs_[theirs] = s;
    LinkAfter(buttons_, buttonsOf_[page], s, after);
    return s;
  }
  void MoveButton(int s, int page, int after) {
    Unlink(buttons_, buttonsOf_[buttons_[s].owner], s);
    buttons_[s].owner = page;
    LinkAfter(buttons_, buttonsOf_[page], s, after);
  }

  // The result as ours has it, each place knowing what it is in base and theirs.
  void SlotsOfOurs() {
    pageOfTheirs_.assign(static_cast<std::size_t>(b_.Pages()), -1);
    buttonOfTheirs_.assign(b_.keys.size(), -1);
    buttons_.reserve(a_.keys.size() + 16);
    std::unordered_map<std::string_view, std::vector<int>> addedByName;
    for (int pa = 0; pa < a_.Pages(); ++pa) {
      const int po = ma_.PageFrom[pa];
      const int page = NewPage(pa, po, po >= 0 ? mb_.PageTo[po] : -1);
      LinkAfter(pages_, order_, page, order_.tail);
      if (po < 0) addedByName[a_.list.Page(pa).Caption].push_back(page);
      for (int i = a_.starts[pa]; i < a_.starts[pa + 1]; ++i) {
        const int o = ma_.ButtonFrom[i];
        const int s = NewButton(page, i, o, o >= 0 ? mb_.ButtonTo[o] : -1, buttonsOf_[page].tail);
        if (o < 0) addedByKey_[a_.keys[i]].push_back(s);
      }
    }
    // A page both sides added under one name is one page.
    for (int pt = 0; pt < b_.Pages(); ++pt) {
      if (mb_.PageFrom[pt] >= 0) continue;
      auto found = addedByName.find(b_.list.Page(pt).Caption);
      if (found == addedByName.end() || found->second.empty()) continue;
      pages_[found->second.front()].theirs = pt;
      pageOfTheirs_[pt] = found->second.front();
      found->second.erase(found->second.begin());
    }
  }

  // Whether theirs changed anything of base page po, which it has as pt.
  bool TheirsChangedPage(int po, int pt) const {
    const TPageItem &x = o_.list.Page(po), &z = b_.list.Page(pt);
    if (x.Caption != z.Caption || x.Extra != z.Extra) return true;
    for (int t = b_.starts[pt]; t < b_.starts[pt + 1]; ++t)
      if (mb_.ButtonFrom[t] < 0 || (mb_.Fields[t] & ~TFieldMask{bfUseCount}) || mb_.ButtonMoved[t])
        return true;
    for (int o = o_.starts[po]; o < o_.starts[po + 1]; ++o)
      if (mb_.ButtonTo[o] < 0) return true;
    return false;
  }

  // Theirs' pages in theirs' order: its new pages and its moves go after the page
  // before them in theirs.
  void PagesOfTheirs() {
    int before = -1;
    for (int pt = 0; pt < b_.Pages(); ++pt) {
      const int po = mb_.PageFrom[pt];
      int page = pageOfTheirs_[pt];
      if (page < 0) {
        if (po >= 0) {  // ours removed it
          if (!TheirsChangedPage(po, pt) ||
              !Conflict(ConflictOf(TKind::PageRemovedByOurs, po, -1, pt, false)))
            continue;
        }
        page = NewPage(-1, po, pt);
        LinkAfter(pages_, order_, page, before);
      } else if (po >= 0 && pages_[page].ours >= 0) {
        if (mb_.PageMoved[pt] && !ma_.PageMoved[pages_[page].ours]) {
          Unlink(pages_, order_, page);
          LinkAfter(pages_, order_, page, before);
        }
      }
      before = page;
    }
  }

  // Theirs' buttons page by page: its new buttons and its moves go after the button
  // before them in theirs.
  void ButtonsOfTheirs() {
    for (int pt = 0; pt < b_.Pages(); ++pt) {
      const int page = pageOfTheirs_[pt];
      if (page < 0) continue;
      int before = -1;
      for (int t = b_.starts[pt]; t < b_.starts[pt + 1]; ++t) {
        const int o = mb_.ButtonFrom[t];
        int s = buttonOfTheirs_[t];
        if (s < 0 && o < 0) {
          s = SameAddedByOurs(t, page);
          if (s < 0) s = NewButton(page, -1, -1, t, before);
        } else if (s < 0) {  // ours removed it
          if ((mb_.Fields[t] & ~TFieldMask{bfUseCount}) &&
              Conflict(ConflictOf(TKind::ButtonRemovedByOurs, o, -1, t, true)))
            s = NewButton(page, -1, o, t, before);
        } else if (o >= 0 && mb_.ButtonMoved[t]) {
          const bool oursMoved = buttons_[s].ours >= 0 && ma_.ButtonMoved[buttons_[s].ours];
          if (!oursMoved ||
              (buttons_[s].owner != page &&
               Conflict(ConflictOf(TKind::ButtonMoved, o, buttons_[s].ours, t, true))))
            MoveButton(s, page, before);
        }
        if (s >= 0 && buttons_[s].owner == page) before = s;
      }
    }
  }

  // A button ours added to page as theirs added t: the same addition, made once.
  int SameAddedByOurs(int t, int page) {
    auto found = addedByKey_.find(b_.keys[t]);
    if (found == addedByKey_.end()) return -1;
    auto& slots = found->second;
    const auto same = std::find_if(slots.begin(), slots.end(), [&](int s) {
      return buttons_[s].owner == page && buttons_[s].theirs < 0;
    });
    if (same == slots.end()) return -1;
    const int s = *same;
    slots.erase(same);
    buttons_[s].theirs = t;
    buttonOfTheirs_[t] = s;
    return s;
  }

  // What theirs removed goes, unless ours changed it: then it stays, and is listed.
  void RemovedByTheirs() {
    for (int o = 0; o < static_cast<int>(o_.keys.size()); ++o) {
      const int i = ma_.ButtonTo[o];
      if (mb_.ButtonTo[o] >= 0 || i < 0) continue;
      const int s = i;  // ours' buttons were given their places first, in order
      const bool changed = (ma_.Fields[i] & ~TFieldMask{bfUseCount}) != 0;
      const int po = o_.pageOf[o];
      const bool pageGone =
          po < o_.Pages() && mb_.PageTo[po] < 0 && pages_[buttons_[s].owner].base == po;
      if (!changed ||
          (!pageGone && Conflict(ConflictOf(TKind::ButtonRemovedByTheirs, o, i, -1, true))))
        buttons_[s].live = false;
    }
    for (int page = order_.head; page >= 0; page = pages_[page].next) {
      const TSlot& slot = pages_[page];
      if (slot.base < 0 || slot.ours < 0 || mb_.PageTo[slot.base] >= 0) continue;
      bool kept = false;
      for (int s = buttonsOf_[page].head; s >= 0 && !kept; s = buttons_[s].next)
        kept = buttons_[s].live;
      const TPageItem &x = o_.list.Page(slot.base), &y = a_.list.Page(slot.ours);
      kept = kept || x.Caption != y.Caption || x.Extra != y.Extra;
      if (!kept ||
          Conflict(ConflictOf(TKind::PageRemovedByTheirs, slot.base, slot.ours, -1, false)))
        pages_[page].live = false;
    }
  }

  // Where the button of s comes from: as one side has it, when the other did not
  // change it, or made anew of both.
  TMergePlan::TButton PlanButton(const TSlot& s, TMergePlan& plan) {
    using TFrom = TMergePlan::TFrom;
    if (s.ours < 0) return {TFrom::Theirs, s.theirs};
    if (s.theirs < 0 || s.base < 0) return {TFrom::Ours, s.ours};
    const TFieldMask ours = ma_.Fields[s.ours], theirs = mb_.Fields[s.theirs];
    if (theirs == 0) return {TFrom::Ours, s.ours};
    if (ours == 0) return {TFrom::Theirs, s.theirs};
    TLaunchDataItem item = a_.list.Button(s.ours);
    const TLaunchDataItem& z = b_.list.Button(s.theirs);
    CopyFields(item, z, theirs & ~ours & ~TFieldMask{bfUseCount});
    const TFieldMask both = ours & theirs & FieldsDiffering(item, z) & ~TFieldMask{bfUseCount};
    if (both != 0) {
      TMergeConflict c = ConflictOf(TKind::ButtonFields, s.base, s.ours, s.theirs, true);
      c.Fields = both;
      if (Conflict(c)) CopyFields(item, z, both);
    }
    // Each side's uses since base count.
    const std::int64_t uses = std::int64_t{a_.list.UseCount(s.ours)} + b_.list.UseCount(s.theirs) -
                              o_.list.UseCount(s.base);
    item.UseCount = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(uses, 0, std::numeric_limits<std::int32_t>::max()));
    plan.Made.push_back(item);
    return {TFrom::Made, static_cast<int>(plan.Made.size()) - 1};
  }

  void PageTextOf(const TSlot& s, std::string& caption, std::int32_t& extra) {
    const TPageItem& page = s.ours >= 0 ? a_.list.Page(s.ours) : b_.list.Page(s.theirs);
    caption = page.Caption;
    extra = page.Extra;
    if (s.ours < 0 || s.theirs < 0 || s.base < 0) return;
    const TPageItem &x = o_.list.Page(s.base), &z = b_.list.Page(s.theirs);
    const auto name = Merged(x.Caption, page.Caption, z.Caption);
    const auto value = Merged(x.Extra, page.Extra, z.Extra);
    if ((!name || !value) &&
        Conflict(ConflictOf(TKind::PageName, s.base, s.ours, s.theirs, false))) {
      caption = z.Caption;
      extra = z.Extra;
      return;
    }
    if (name) caption = *name;
    if (value) extra = *value;
  }

  void Write(TMergePlan& plan) {
    plan.Buttons.reserve(buttons_.size());
    for (int page = order_.head; page >= 0; page = pages_[page].next) {
      if (!pages_[page].live) continue;
      TPageItem item;
      PageTextOf(pages_[page], item.Caption, item.Extra);
      const std::size_t first = plan.Buttons.size();
      for (int s = buttonsOf_[page].head; s >= 0; s = buttons_[s].next)
        if (buttons_[s].live) plan.Buttons.push_back(PlanButton(buttons_[s], plan));
      item.Count = static_cast<std::int32_t>(plan.Buttons.size() - first);
      plan.Pages.push_back(std::move(item));
    }
  }

  const TSide &o_, &a_, &b_;
  const TListMatch &ma_, &mb_;
  std::unordered_set<std::uint64_t> take_;
  std::vector<TMergeConflict> conflicts_;
  std::vector<TSlot> pages_, buttons_;
  std::vector<TChain> buttonsOf_;
  TChain order_;
  std::vector<int> pageOfTheirs_, buttonOfTheirs_;
  std::unordered_map<std::uint64_t, std::vector<int>> addedByKey_;
};

}  // namespace

TMergePlan PlanMerge(const TComparedList& base, const TComparedList& ours,
                     const TComparedList& theirs, const std::vector<std::uint64_t>& takeTheirs) {
  auto sideA = std::async(std::launch::async, [&ours] { return TSide(ours); });
  const TSide o(base);
  const TSide b(theirs);
  const TSide a = sideA.get();
  auto matchA = std::async(std::launch::async, [&] { return Match(o, a); });
  const TListMatch mb = Match(o, b);
  const TListMatch ma = matchA.get();
  return TMerger(o, a, b, ma, mb, takeTheirs).Run();
}

TMergedSource::TMergedSource(const TMergePlan& plan, const TComparedList& ours,
                             const TComparedList& theirs)
    : plan_(plan), ours_(ours), theirs_(theirs) {
  int first = 0;
  for (const TPageItem& page : plan.Pages) {
    pageFirst_.push_back(first);
    first += page.Count;
  }
}

const TLaunchDataItem& TMergedSource::Button(int p, int b, std::string_view& written) {
  const TMergePlan::TButton& from = plan_.Buttons[pageFirst_[p] + b];
  if (from.From == TMergePlan::TFrom::Made) {
    written = {};
    return plan_.Made[from.Index];
  }
  const TComparedList& side = from.From == TMergePlan::TFrom::Ours ? ours_ : theirs_;
  written = side.Written(from.Index);
  return written.empty() ? side.Button(from.Index) : none_;
}

TMergeResult MergeLists(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs,
                        const std::vector<std::uint64_t>& takeTheirs) {
  const TLoadedList a(ours), b(theirs);
  TMergePlan plan = PlanMerge(TLoadedList(base), a, b, takeTheirs);
  TMergeResult result{EmptyList(), std::move(plan.Conflicts)};
  TLaunchList& out = result.Merged;
  out.Status = plan.Status;
  out.SetNextBlockSize(plan.Buttons.size());
  for (const TMergePlan::TButton& from : plan.Buttons)
    out.Emplace(from.From == TMergePlan::TFrom::Made   ? plan.Made[from.Index]
                : from.From == TMergePlan::TFrom::Ours ? ours.Get(from.Index)
                                                       : theirs.Get(from.Index));
  for (const TPageItem& page : plan.Pages)
    out.Pages.Add(std::make_unique<TPageItem>(page.Caption, page.Count, page.Extra));
  return result;
}

std::string DescribeConflict(const TLaunchList& base, const TLaunchList& ours,
                             const TLaunchList& theirs, const TMergeConflict& c,
                             const TShownText& shown) {
  return DescribeConflict(TLoadedList(base), TLoadedList(ours), TLoadedList(theirs), c, shown);
}

std::string DescribeConflict(const TComparedList& base, const TComparedList& ours,
                             const TComparedList& theirs, const TMergeConflict& c,
                             const TShownText& shown) {
  using TKind = TMergeConflict::TKind;
  const auto ourButton = [&] {
    return ButtonLabel(ours, c.PageOurs, c.ButtonOurs, c.ItemOurs, shown);
  };
  const auto theirButton = [&] {
    return ButtonLabel(theirs, c.PageTheirs, c.ButtonTheirs, c.ItemTheirs, shown);
  };
  switch (c.Kind) {
    case TKind::Status:
      return "ステータス: 両方で変更されています (こちら: " + shown(StatusToText(ours.Status())) +
             "、相手: " + shown(StatusToText(theirs.Status())) + ")";
    case TKind::PageName:
      return PageLabel(ours, c.PageOurs, shown) + ": ページ名が両方で変更されています (相手: 「" +
             shown(theirs.Page(c.PageTheirs).Caption) + "」)";
    case TKind::PageRemovedByOurs:
      return PageLabel(theirs, c.PageTheirs, shown) +
             ": こちらで削除したページが相手で変更されています";
    case TKind::PageRemovedByTheirs:
      return PageLabel(ours, c.PageOurs, shown) +
             ": 相手で削除されたページをこちらで変更しています";
    case TKind::ButtonFields: {
      const TLaunchDataItem& x = base.Button(c.Base);
      const TLaunchDataItem& y = ours.Button(c.ItemOurs);
      const TLaunchDataItem& z = theirs.Button(c.ItemTheirs);
      return ourButton() +
             ": 両方で変更されています (こちら: " + FieldChanges(x, y, c.Fields, shown) +
             "; 相手: " + FieldChanges(x, z, c.Fields, shown) + ")";
    }
    case TKind::ButtonRemovedByOurs:
      return theirButton() + ": こちらで削除したボタンが相手で変更されています";
    case TKind::ButtonRemovedByTheirs:
      return ourButton() + ": 相手で削除されたボタンをこちらで変更しています";
    case TKind::ButtonMoved:
      return ourButton() +
             ": 両方で別の場所へ移動されています (相手: " + PageLabel(theirs, c.PageTheirs, shown) +
             "のボタン " + Number(c.ButtonTheirs) + ")";
  }
  return {};
}
