// The target check's findings seen through Qt's model/view: two group rows,
// "リンク切れ (n)" and "この環境では確認できません (n)", with the findings of each under
// it. Texts are made only for the rows a view asks for, so a list of a million
// findings shows at once; a finding is 16 bytes that point into the grid's own cell
// texts, kept in blocks, so that neither the list's peak nor its close grows with
// copies of the findings' texts.
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
  // One finding: its button, and its path as a place in the button's cell text (or in
  // bytes_ for a path the cell does not hold as it is, such as a shortcut's target).
  struct TRow {
    std::int32_t Row = 0;
    std::uint32_t Col : 14 = 0;   // at most 10000
    std::uint32_t Field : 9 = 0;  // in texts_, which holds a few dozen texts at most
    std::uint32_t Why : 9 = 0;    // in texts_
    std::uint32_t PathAt = 0;     // in the cell text, or in bytes_
    std::uint32_t PathSize : 31 = 0;
    std::uint32_t PathInCell : 1 = 0;
  };
  static_assert(sizeof(TRow) == 16);
  // The findings of a group, in chunks of a megabyte that stay where they are as the list
  // grows: no copy while the check runs, and a few chunks to free when the list closes.
  class TGroupRows {
   public:
    TRow& emplace_back() {
      if (size_ % kChunk == 0) chunks_.emplace_back().reserve(kChunk);
      ++size_;
      return chunks_.back().emplace_back();
    }
    const TRow& operator[](std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
    std::size_t size() const { return size_; }

   private:
    static constexpr std::size_t kChunk = 65536;
    std::vector<std::vector<TRow>> chunks_;
    std::size_t size_ = 0;
  };
  // The finding shown at a child row, or nullptr for a group row.
  const TRow* RowAt(const QModelIndex& index) const;
  std::string_view PathOf(const TRow& row) const;
  // The place of text in texts_, added when new.
  std::uint32_t TextIndex(const QString& text);
  const TGridStore* grid_ = nullptr;
  TGroupRows groups_[2];        // per group row, its findings
  std::string bytes_;           // paths the cells do not hold as they are (CP932)
  std::vector<QString> texts_;  // fields and reasons
};
