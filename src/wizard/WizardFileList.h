// The wizard's file list: one full path per entry, drawn as the path's shell icon and
// its name; several entries can be selected and dragged to another place in the list;
// the full path shows as the tooltip of the entry under the pointer.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "ReorderList.h"
#include "WizardFiles.h"

class TWizardFileModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  const TPathList& Paths() const { return paths_; }
  int Count() const { return static_cast<int>(paths_.size()); }
  // Replaces every entry (one reset of the views).
  void SetPaths(TPathList paths);
  // Appends paths at the end (one insertion, so one repaint however many).
  void Append(TPathList paths);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  TPathList paths_;
};

class TWizardFileList : public TReorderList {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 16;
  static constexpr int kTooltipTime = 30000;  // ms

  explicit TWizardFileList(QWidget* parent = nullptr);

  TWizardFileModel& Model() { return model_; }

  // The horizontal scroll width: grows as wider names are drawn and reaches the
  // scroll bar when applied.
  int Extent() const { return extent_; }
  void GrowExtent(int width);
  void ApplyExtent();

 protected:
  int MoveSelectionForDrop(int entry) override;
  bool viewportEvent(QEvent* event) override;

 private:
  TWizardFileModel model_;
  int extent_ = 0;
};
