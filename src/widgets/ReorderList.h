// A list whose entries can be selected several at a time and whose selected entries
// the user drags, as one block, to another place in it: a line marks the upper edge of
// the target entry when the block goes up, its lower edge when it goes down. The drag
// is the list's own (no drag data leaves it); the subclass moves its entries.
#pragma once

#include <QListView>
#include <vector>

class TReorderList : public QListView {
  Q_OBJECT

 public:
  explicit TReorderList(QWidget* parent = nullptr);

  int Count() const;
  // The caret entry; -1 for an empty list.
  int Current() const;
  // Which entries are selected, one flag per entry.
  std::vector<bool> SelectedFlags() const;
  int SelectedCount() const;
  // Deselects every entry, then makes entry i current and selected.
  void SelectOnly(int i);
  // Makes entry i current without selecting it.
  void MakeCurrent(int i);
  // The entry at a point of the viewport; -1 for none.
  int EntryAt(const QPoint& pos) const;
  // The drop mark of a drag in progress: its entry (-1 for none) and band.
  int DropIndex() const { return dropIndex_; }
  QRect DropRect() const { return dropRect_; }

 signals:
  // The dragged entries were dropped (the first moved entry is now the current and only
  // selected one).
  void Dropped();
  // A drag ended: dropped, or cancelled with Esc.
  void DragEnded();

 protected:
  // Moves the selected entries as one block for a drop on entry (-1: on none) and
  // returns where the first of them landed.
  virtual int MoveSelectionForDrop(int entry) = 0;
  bool Dragging() const { return dragging_; }

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  void DragOver(const QPoint& pos);
  void Drop(const QPoint& pos);
  void EndDrag();

  QPoint pressPos_;
  bool pressed_ = false;
  bool dragging_ = false;
  int dropIndex_ = -1;
  QRect dropRect_;
};
