#include "TargetFindingsModel.h"

#include "GridRules.h"
#include "RecordText.h"
#include "TextFormat.h"

namespace {

constexpr int kColumns = 6;

// A group row's internal id is 0; a finding's is its group row + 1.
constexpr quintptr kGroupId = 0;

}  // namespace

void TTargetFindingsModel::Reset(const TGridStore& grid) {
  beginResetModel();
  grid_ = &grid;
  for (auto& group : groups_)
    group = {};
  bytes_ = {};
  texts_.clear();
  // Each finding goes straight into the blocks: a list of them all is never made.
  VisitGridTargets(grid, [this](int r, int c, std::string_view, TTargetFinding& f) {
    const bool missing = f.Group == TTargetFinding::TGroup::Missing;
    TRow& row = groups_[missing ? 0 : 1].emplace_back();
    row.Row = r;
    row.Col = static_cast<std::uint32_t>(c);
    row.Field = TextIndex(f.Field);
    row.Why = TextIndex(f.Why);
    row.PathSize = static_cast<std::uint32_t>(f.Path.size());
    const std::size_t inCell = grid_->Cell(c, r).view().find(f.Path);
    row.PathInCell = inCell != std::string_view::npos;
    row.PathAt = static_cast<std::uint32_t>(row.PathInCell ? inCell : bytes_.size());
    if (!row.PathInCell) bytes_ += f.Path;
  });
  endResetModel();
}

std::string_view TTargetFindingsModel::PathOf(const TRow& row) const {
  if (row.PathInCell) return grid_->Cell(row.Col, row.Row).view().substr(row.PathAt, row.PathSize);
  return std::string_view(bytes_).substr(row.PathAt, row.PathSize);
}

std::uint32_t TTargetFindingsModel::TextIndex(const QString& text) {
  // A few fields and reasons, and the system's error texts: never near the 512 a row's
  // index can tell apart.
  // A dozen texts at most, and most findings share the very string of one of them.
  for (std::size_t i = 0; i < texts_.size(); ++i)
    if (texts_[i].isSharedWith(text) || texts_[i] == text) return static_cast<std::uint32_t>(i);
  texts_.push_back(text);
  return static_cast<std::uint32_t>(texts_.size() - 1);
}

QModelIndex TTargetFindingsModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= kColumns) return {};
  if (!parent.isValid()) return row < 2 ? createIndex(row, column, kGroupId) : QModelIndex();
  if (parent.internalId() != kGroupId || parent.column() != 0) return {};
  const auto& group = groups_[parent.row()];
  if (static_cast<std::size_t>(row) >= group.size()) return {};
  return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex TTargetFindingsModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kGroupId) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, kGroupId);
}

int TTargetFindingsModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return 2;
  if (parent.internalId() != kGroupId || parent.column() != 0) return 0;
  return static_cast<int>(groups_[parent.row()].size());
}

int TTargetFindingsModel::columnCount(const QModelIndex&) const {
  return kColumns;
}

const TTargetFindingsModel::TRow* TTargetFindingsModel::RowAt(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == kGroupId) return nullptr;
  return &groups_[index.internalId() - 1][static_cast<std::size_t>(index.row())];
}

QVariant TTargetFindingsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const TRow* f = RowAt(index);
  if (f == nullptr) {
    if (role != Qt::DisplayRole || index.column() != 0) return {};
    const QString name = index.row() == 0 ? QStringLiteral("リンク切れ")
                                          : QStringLiteral("この環境では確認できません");
    return name + QStringLiteral(" (%1)").arg(groups_[index.row()].size());
  }
  if (role == kCellRole) return QPoint(f->Col, f->Row);
  const std::string_view path = PathOf(*f);
  if (role == Qt::ToolTipRole && index.column() == 4) return ShownText(std::string(path));
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return ShownText(PageNameOfRow(*grid_, f->Row));
    case 1:
      return QString::number(f->Col);
    case 2:
      return ShownText(TitleOfText(grid_->Cell(f->Col, f->Row)));
    case 3:
      return texts_[f->Field];
    case 4:
      return ShownText(std::string(path));
    default:
      return texts_[f->Why];
  }
}

QVariant TTargetFindingsModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  static const QString kHeaders[kColumns] = {QStringLiteral("ページ"),   QStringLiteral("ボタン"),
                                             QStringLiteral("タイトル"), QStringLiteral("項目"),
                                             QStringLiteral("パス"),     QStringLiteral("理由")};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumns)
    return {};
  return kHeaders[section];
}

Qt::ItemFlags TTargetFindingsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Group rows are headings: never selected, so that clearing takes only findings.
  if (index.internalId() == kGroupId) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
