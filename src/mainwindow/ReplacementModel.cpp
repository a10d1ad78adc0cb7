#include "ReplacementModel.h"

#include "GridRules.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "TextFormat.h"

namespace {

constexpr int kColumns = 5;

}  // namespace

void TReplacementModel::Reset(const TGridStore& grid, TReplacementPlan plan) {
  beginResetModel();
  grid_ = &grid;
  plan_ = std::move(plan);
  endResetModel();
}

int TReplacementModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(plan_.size());
}

int TReplacementModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TReplacementModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= plan_.size()) return {};
  const TReplacement& change = plan_[static_cast<std::size_t>(index.row())];
  if (role == Qt::ToolTipRole && index.column() >= 3)
    return ShownText(index.column() == 3 ? BeforeOf(*grid_, change)
                                         : AfterOf(*grid_, plan_, change));
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return ShownText(PageNameOfRow(*grid_, change.Row));
    case 1: {
      QString title;
      try {
        title = ShownText(TitleOfText(grid_->Cell(change.Col, change.Row)));
      } catch (const ELaunchError&) {
      }
      return QString::number(change.Col) + QStringLiteral(": ") + title;
    }
    case 2:
      return FieldNameOf(change);
    case 3:
      return ShownText(BeforeOf(*grid_, change));
    default:
      return ShownText(AfterOf(*grid_, plan_, change));
  }
}

QVariant TReplacementModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const QString kHeaders[kColumns] = {QStringLiteral("ページ"), QStringLiteral("ボタン"),
                                             QStringLiteral("項目"), QStringLiteral("変更前"),
                                             QStringLiteral("変更後")};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumns)
    return {};
  return kHeaders[section];
}
