// The wizard's file list: one full path per entry, drawn as the path's shell icon and
// its name; several entries can be selected and dragged to another place in the list;
// the full path shows as the tooltip of the entry under the pointer.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

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

class TWizardFileList : public QListView {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 16;
  static constexpr int kTooltipTime = 30000;  // ms

  explicit TWizardFileList(QWidget* parent = nullptr);

  TWizardFileModel& Model() { return model_; }
  int Count() const { return model_.Count(); }
  // The focused entry; -1 for an empty list.
  int Current() const;
  std::vector<bool> SelectedFlags() const;
  int SelectedCount() const;
  // Deselects every entry, then makes entry i current and selected.
  void SelectOnly(int i);
  // The entry at a point of the viewport; -1 for none.
  int EntryAt(const QPoint& pos) const;
  // The drop mark of a drag in progress: its entry (-1 for none) and band.
  int DropIndex() const { return dropIndex_; }
  QRect DropRect() const { return dropRect_; }

  // The horizontal scroll width: grows as wider names are drawn and reaches the
  // scroll bar when applied.
  int Extent() const { return extent_; }
  void GrowExtent(int width);
  void ApplyExtent();

 signals:
  // A drag of the selected entries was dropped; the entries moved.
  void EntriesDragged();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void DragOver(const QPoint& pos);
  void Drop(const QPoint& pos);
  void EndDrag();

  TWizardFileModel model_;
  QPoint pressPos_;
  bool pressed_ = false;
  bool dragging_ = false;
  int dropIndex_ = -1;
  QRect dropRect_;
  int extent_ = 0;
};
