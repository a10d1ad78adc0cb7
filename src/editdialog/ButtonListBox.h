// The page edit dialog's button list: the working copy of the page's buttons, one
// record text per entry, drawn as icon, title and use count; several entries can be
// selected; the selected entries can be dragged to another place in the list.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>
#include "ReorderList.h"

// The entries, as a list model.
class TButtonListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  const std::vector<std::string>& Entries() const { return entries_; }
  const std::string& Entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // Replaces every entry (one reset of the views).
  void SetEntries(std::vector<std::string> entries);
  // Replaces entry i's text.
  void SetEntry(int i, std::string text);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  std::vector<std::string> entries_;
};

class TButtonListBox : public TReorderList {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 20;

  explicit TButtonListBox(QWidget* parent = nullptr);

  TButtonListModel& Model() { return model_; }
  // Selects every entry and makes entry 0 current.
  void SelectAll();

 signals:
  // A click on an entry (after the list moved the caret and the selection).
  void EntryClicked();
  // Any key released in the list.
  void KeyReleased();
  // A right click on an entry: the pop-up menu may open at globalPos.
  void EntryContextMenu(const QPoint& globalPos);
  // Files from the file manager dropped onto entry t (-1: onto no entry), in drop order.
  void FilesDropped(int t, const QStringList& paths);

 protected:
  int MoveSelectionForDrop(int entry) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TButtonListModel model_;
};
