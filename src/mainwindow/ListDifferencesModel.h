// How one launch list differs from another, seen through Qt's model/view: one row per
// difference (page, button, change, detail), and for a merge one row per conflict
// before them, with the side it takes. Texts are made only for the rows a view asks
// for. The lists must stay alive and unchanged while they are shown.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "ListDiff.h"

class TListDifferencesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum TColumn { colPage, colButton, colChange, colTaken, colDetail, kColumns };
  // Whether a row is a conflict (bool).
  static constexpr int kConflictRole = Qt::UserRole + 1;

  using QAbstractTableModel::QAbstractTableModel;

  // Lists how b differs from a: what a would become as b.
  void ShowDifferences(const TLaunchList& a, const TLaunchList& b);
  // Lists the conflicts of a merge of base, ours and theirs, each taking theirs when
  // its key is in takeTheirs, then how ours differs from merged.
  void ShowMerge(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs,
                 const TMergeResult& merged, const std::unordered_set<std::uint64_t>& takeTheirs);

  int ConflictCount() const { return static_cast<int>(conflicts_.size()); }
  int DifferenceCount() const { return static_cast<int>(differences_.size()); }
  // The conflict of a row; nullptr for a difference.
  const TMergeConflict* ConflictAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QVariant DifferenceData(const TListDifference& d, int column) const;
  QVariant ConflictData(const TMergeConflict& c, int column) const;
  // The detail of a difference: the fields' old and new values, the old and new name,
  // where a button or page came from; else the whole line.
  QString Detail(const TListDifference& d) const;
  const TLaunchList* a_ = nullptr;
  const TLaunchList* b_ = nullptr;
  std::vector<TListDifference> differences_;
  const TLaunchList* base_ = nullptr;
  const TLaunchList* ours_ = nullptr;
  const TLaunchList* theirs_ = nullptr;
  std::vector<TMergeConflict> conflicts_;
  std::unordered_set<std::uint64_t> takeTheirs_;
};
