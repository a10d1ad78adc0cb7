// The target check's findings seen through Qt's model/view: two group rows,
// "リンク切れ (n)" and "この環境では確認できません (n)", with the findings of each under
// it. Texts are made only for the rows a view asks for, so a list of a million
// findings shows at once; the findings are kept in a few flat blocks, so that
// closing the list frees a few blocks rather than a million strings.
#pragma once

#include <QAbstractItemModel>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "GridTargets.h"

class TTargetFindingsModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // The button of a finding's row, as a QPoint (x = column, y = row); none on a group row.
  static constexpr int kCellRole = Qt::UserRole + 1;

  using QAbstractItemModel::QAbstractItemModel;

  // Lists the findings of grid (VisitGridTargets), which must stay alive (and its rows
  // unchanged) until the next Reset.
  void Reset(const TGridStore& grid);

  QModelIndex MissingGroup() const { return index(0, 0); }
  QModelIndex UncheckableGroup() const { return index(1, 0); }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // One finding: its button, and its texts as places in bytes_ and texts_.
  struct TRow {
    std::int32_t Row = 0;
    std::int32_t Col = 0;
    std::size_t Title = 0;  // the title's first byte in bytes_, the path following it
    std::uint32_t TitleSize = 0;
    std::uint32_t PathSize = 0;
    std::uint32_t Field = 0;  // in texts_
    std::uint32_t Why = 0;
  };
  // The finding shown at a child row, or nullptr for a group row.
  const TRow* RowAt(const QModelIndex& index) const;
  std::string_view Bytes(std::size_t at, std::uint32_t size) const {
    return {bytes_.data() + at, size};
  }
  // The place of text in texts_, added when new.
  std::uint32_t TextIndex(const QString& text);
  const TGridStore* grid_ = nullptr;
  std::vector<TRow> groups_[2];  // per group row, its findings
  std::string bytes_;            // titles and paths (CP932)
  std::vector<QString> texts_;   // fields and reasons
};
