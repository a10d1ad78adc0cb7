#include "ReorderList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TReorderList::TReorderList(QWidget* parent) : QListView(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  // A press on a selected entry keeps the selection, so that a block can be dragged;
  // the drag itself is this list's own (startDrag does nothing).
  setDragEnabled(true);
}

int TReorderList::Count() const {
  return model() ? model()->rowCount() : 0;
}

int TReorderList::Current() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? index.row() : (Count() > 0 ? 0 : -1);
}

std::vector<bool> TReorderList::SelectedFlags() const {
  std::vector<bool> flags(static_cast<std::size_t>(Count()), false);
  for (const QModelIndex& index : selectionModel()->selectedIndexes())
    if (index.row() < Count()) flags[static_cast<std::size_t>(index.row())] = true;
  return flags;
}

int TReorderList::SelectedCount() const {
  return static_cast<int>(selectionModel()->selectedIndexes().size());
}

void TReorderList::SelectOnly(int i) {
  if (i < 0 || i >= Count()) {
    selectionModel()->clear();
    return;
  }
  const QModelIndex index = model()->index(i, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void TReorderList::MakeCurrent(int i) {
  if (i < 0 || i >= Count()) return;
  selectionModel()->setCurrentIndex(model()->index(i, 0), QItemSelectionModel::NoUpdate);
}

int TReorderList::EntryAt(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return index.isValid() ? index.row() : -1;
}

void TReorderList::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressPos_ = event->position().toPoint();
  QListView::mousePressEvent(event);
}

void TReorderList::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (pressed_ && !dragging_ && (event->buttons() & Qt::LeftButton) &&
      (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance() &&
      EntryAt(pressPos_) >= 0 && SelectedCount() > 0) {
    dragging_ = true;
    dropIndex_ = -1;
  }
  if (dragging_) {
    DragOver(pos);
    return;
  }
  if (!pressed_) QListView::mouseMoveEvent(event);
}

void TReorderList::mouseReleaseEvent(QMouseEvent* event) {
  pressed_ = false;
  if (dragging_) {
    Drop(event->position().toPoint());
    return;
  }
  QListView::mouseReleaseEvent(event);
}

void TReorderList::keyPressEvent(QKeyEvent* event) {
  if (dragging_ && event->key() == Qt::Key_Escape) {
    EndDrag();
    return;
  }
  QListView::keyPressEvent(event);
}

void TReorderList::startDrag(Qt::DropActions) {}

void TReorderList::DragOver(const QPoint& pos) {
  int t = EntryAt(pos);
  if (t < 0) t = Count() - 1;
  if (t == dropIndex_) return;
  QRect band = visualRect(model()->index(t, 0));
  if (t < Current()) {
    band.setBottom(band.top() + 1);
  } else {
    band.setTop(band.bottom() - 1);
  }
  dropIndex_ = t;
  dropRect_ = band;
  viewport()->update();
}

void TReorderList::Drop(const QPoint& pos) {
  SelectOnly(MoveSelectionForDrop(EntryAt(pos)));
  EndDrag();
  emit Dropped();
}

void TReorderList::EndDrag() {
  dragging_ = false;
  pressed_ = false;
  dropIndex_ = -1;
  viewport()->update();
  emit DragEnded();
}

void TReorderList::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (dropIndex_ < 0) return;
  QPainter painter(viewport());
  painter.fillRect(dropRect_, palette().color(QPalette::Text));
}
