// The grid store seen through Qt's model/view: model row r-1 is page row r, model
// column c-1 is button column c; the fixed row 0 and column 0 are the view's headers.
// Nothing here decodes a record text beyond the page's button count, and that count
// is kept per row, so painting never parses more than the visible page texts.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "GridStore.h"

class TGridModel : public QAbstractTableModel, private TGridStore::TObserver {
  Q_OBJECT

 public:
  // Watches store for the model's lifetime.
  explicit TGridModel(TGridStore& store, QObject* parent = nullptr);
  ~TGridModel() override;

  TGridStore& Store() { return store_; }
  const TGridStore& Store() const { return store_; }

  // Also tells follower of every change of the store, before the views hear of it (the
  // find bar's finder, which folds again only the rows changed); nullptr for none.
  void Follow(TGridStore::TObserver* follower) { follower_ = follower; }

  // The button count of page row r (grid numbering), from a per-row cache.
  int CountOfGridRow(int r) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void CellChanged(int c, int r) override;
  void RowsInserted(int first, int count) override;
  void RowsDeleted(int first, int count) override;
  void RowMoved(int from, int to) override;
  void RowChanged(int r) override;
  void Reset() override;
  void ShowChange(int c, int r);
  void Structure();

  TGridStore& store_;
  mutable std::vector<int> counts_;  // per grid row; -1 = not read yet
  TGridStore::TObserver* follower_ = nullptr;
};
