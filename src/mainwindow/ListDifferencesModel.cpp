#include "ListDifferencesModel.h"

#include <string>

#include "ShiftJis.h"

namespace {

std::string Shown(std::string_view cp932) {
  return sjis::ToShownUtf8(cp932);
}

QString ShownQ(std::string_view cp932) {
  return QString::fromStdString(Shown(cp932));
}

// Button i (a flat number), when the list holds it.
const TLaunchDataItem* ButtonOf(const TLaunchList& list, int i) {
  return i >= 0 && i < list.Count() ? &list.Get(i) : nullptr;
}

QString PageText(const TLaunchList& list, int p) {
  if (p < 0 || p >= list.Pages.Count()) return {};
  return QString::number(p + 1) + QStringLiteral(": ") + ShownQ(list.Pages.Get(p).Caption);
}

// Button b of its page, i in the flat numbering.
QString ButtonText(const TLaunchList& list, int b, int i) {
  const TLaunchDataItem* item = ButtonOf(list, i);
  if (item == nullptr) return {};
  return QString::number(b + 1) + QStringLiteral(": ") + ShownQ(item->Title);
}

QString ChangeText(TListDifference::TKind kind) {
  using K = TListDifference::TKind;
  switch (kind) {
    case K::Status:
      return QStringLiteral("ステータス");
    case K::PageAdded:
      return QStringLiteral("ページ追加");
    case K::PageRemoved:
      return QStringLiteral("ページ削除");
    case K::PageRenamed:
      return QStringLiteral("ページ名変更");
    case K::PageMoved:
      return QStringLiteral("ページ移動");
    case K::ButtonAdded:
      return QStringLiteral("ボタン追加");
    case K::ButtonRemoved:
      return QStringLiteral("ボタン削除");
    case K::ButtonMoved:
      return QStringLiteral("ボタン移動");
    case K::ButtonChanged:
      return QStringLiteral("ボタン変更");
    case K::UseCount:
      return QStringLiteral("使用回数");
  }
  return {};
}

}  // namespace

void TListDifferencesModel::ShowDifferences(const TLaunchList& a, const TLaunchList& b) {
  beginResetModel();
  a_ = &a;
  b_ = &b;
  differences_ = ListDifferences(a, b, MatchLists(a, b));
  conflicts_.clear();
  endResetModel();
}

void TListDifferencesModel::ShowMerge(const TLaunchList& base, const TLaunchList& ours,
                                      const TLaunchList& theirs, const TMergeResult& merged,
                                      const std::unordered_set<std::uint64_t>& takeTheirs) {
  ShowDifferences(ours, merged.Merged);
  beginResetModel();
  base_ = &base;
  ours_ = &ours;
  theirs_ = &theirs;
  conflicts_ = merged.Conflicts;
  takeTheirs_ = takeTheirs;
  endResetModel();
}

const TMergeConflict* TListDifferencesModel::ConflictAt(int row) const {
  return row >= 0 && row < ConflictCount() ? &conflicts_[static_cast<std::size_t>(row)] : nullptr;
}

int TListDifferencesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ConflictCount() + DifferenceCount();
}

int TListDifferencesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TListDifferencesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TMergeConflict* conflict = ConflictAt(index.row());
  if (role == kConflictRole) return conflict != nullptr;
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  // The tip is the whole line, whichever cell it is asked for.
  const int column = role == Qt::ToolTipRole ? -1 : index.column();
  if (conflict != nullptr) return ConflictData(*conflict, column);
  return DifferenceData(differences_[static_cast<std::size_t>(index.row() - ConflictCount())],
                        column);
}

QVariant TListDifferencesModel::DifferenceData(const TListDifference& d, int column) const {
  // Where it is in b, or where it was in a when b has it no more.
  const bool inB = d.PageB >= 0;
  switch (column) {
    case colPage:
      return inB ? PageText(*b_, d.PageB) : PageText(*a_, d.PageA);
    case colButton:
      return inB ? ButtonText(*b_, d.ButtonB, d.ItemB) : ButtonText(*a_, d.ButtonA, d.ItemA);
    case colChange:
      return ChangeText(d.Kind);
    case colTaken:
      return {};
    case colDetail:
      return Detail(d);
    default:
      return QString::fromStdString(DescribeDifference(*a_, *b_, d, Shown));
  }
}

QString TListDifferencesModel::Detail(const TListDifference& d) const {
  using K = TListDifference::TKind;
  const TLaunchDataItem* now = ButtonOf(*b_, d.ItemB);
  const TLaunchDataItem* was = ButtonOf(*a_, d.ItemA);
  const QString arrow = QStringLiteral(" → ");
  switch (d.Kind) {
    case K::ButtonChanged:
    case K::UseCount: {
      if (now == nullptr || was == nullptr || d.Fields == 0) break;
      return QString::fromStdString(FieldChanges(*was, *now, d.Fields, Shown));
    }
    case K::PageRenamed:
      if (d.PageA < 0 || d.PageA >= a_->Pages.Count() || d.PageB >= b_->Pages.Count()) break;
      return QStringLiteral("「") + ShownQ(a_->Pages.Get(d.PageA).Caption) + QStringLiteral("」") +
             arrow + QStringLiteral("「") + ShownQ(b_->Pages.Get(d.PageB).Caption) +
             QStringLiteral("」");
    case K::PageMoved:
      return QStringLiteral("%1 番目").arg(d.PageA + 1) + arrow +
             QStringLiteral("%1 番目").arg(d.PageB + 1);
    case K::ButtonMoved:
      return QStringLiteral("元の位置: ページ ") + PageText(*a_, d.PageA) +
             QStringLiteral(" のボタン %1").arg(d.ButtonA + 1);
    default:
      break;
  }
  return QString::fromStdString(DescribeDifference(*a_, *b_, d, Shown));
}

QVariant TListDifferencesModel::ConflictData(const TMergeConflict& c, int column) const {
  const bool inOurs = c.PageOurs >= 0;
  switch (column) {
    case colPage:
      return inOurs ? PageText(*ours_, c.PageOurs) : PageText(*theirs_, c.PageTheirs);
    case colButton:
      return inOurs ? ButtonText(*ours_, c.ButtonOurs, c.ItemOurs)
                    : ButtonText(*theirs_, c.ButtonTheirs, c.ItemTheirs);
    case colChange:
      return QStringLiteral("競合");
    case colTaken:
      return takeTheirs_.contains(c.Key()) ? QStringLiteral("ファイルの内容")
                                           : QStringLiteral("自分の編集");
    default:
      return QString::fromStdString(DescribeConflict(*base_, *ours_, *theirs_, c, Shown));
  }
}

QVariant TListDifferencesModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
  static const QString kHeaders[kColumns] = {QStringLiteral("ページ"), QStringLiteral("ボタン"),
                                             QStringLiteral("変更"), QStringLiteral("採用"),
                                             QStringLiteral("内容")};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumns)
    return {};
  return kHeaders[section];
}
