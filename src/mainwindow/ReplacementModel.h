// A replacement plan seen through Qt's model/view: one row per field it changes,
// page, button, field, before and after. Texts are made only for the rows a view
// asks for, so a plan of a million changes shows at once.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "FindReplace.h"

class TReplacementModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Lists plan, made on grid, which must stay alive (and its rows unchanged) while
  // the rows are shown.
  void Reset(const TGridStore& grid, TReplacementPlan plan);
  const TReplacementPlan& Plan() const { return plan_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TGridStore* grid_ = nullptr;
  TReplacementPlan plan_;
};
