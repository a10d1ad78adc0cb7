#include "WizardFileList.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "EditPageLogic.h"
#include "ShellItem.h"

namespace {

// One row: the path's shell icon at 16 x 16, then its name; the highlight colours
// for a selected or focused row.
class TFileRowDelegate : public QStyledItemDelegate {
 public:
  explicit TFileRowDelegate(TWizardFileList* list) : QStyledItemDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {list_->Extent(), TWizardFileList::kRowHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    list_->GrowExtent(metrics.horizontalAdvance(text) + 20);
    const QRect r = option.rect;
    const bool marked = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(r, pal.color(marked ? QPalette::Highlight : QPalette::Base));
    const std::string& path = list_->Model().Paths()[static_cast<std::size_t>(index.row())];
    PidlIcon(PathToPidl(path)).paint(painter, QRect(r.left() + 2, r.top(), 16, 16));
    painter->setPen(pal.color(marked ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(r);
    painter->drawText(r.left() + 20,
                      r.top() + (r.height() - metrics.height()) / 2 + metrics.ascent(), text);
    painter->restore();
  }

 private:
  TWizardFileList* list_;
};

}  // namespace

void TWizardFileModel::SetPaths(TPathList paths) {
  beginResetModel();
  paths_ = std::move(paths);
  endResetModel();
}

void TWizardFileModel::Append(TPathList paths) {
  if (paths.empty()) return;
  const int first = Count();
  beginInsertRows({}, first, first + static_cast<int>(paths.size()) - 1);
  paths_.insert(paths_.end(), std::make_move_iterator(paths.begin()),
                std::make_move_iterator(paths.end()));
  endInsertRows();
}

int TWizardFileModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant TWizardFileModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count()) return {};
  const std::string& path = paths_[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return FileListText(path);
  if (role == Qt::ToolTipRole) return QString::fromStdString(path);
  return {};
}

TWizardFileList::TWizardFileList(QWidget* parent) : QListView(parent) {
  setModel(&model_);
  setItemDelegate(new TFileRowDelegate(this));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A press on a selected entry keeps the selection, so that a block can be dragged;
  // the drag itself is this list's own (startDrag does nothing). Files from the file
  // manager are the window's to take.
  setDragEnabled(true);
  setAcceptDrops(false);
}

int TWizardFileList::Current() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? index.row() : (Count() > 0 ? 0 : -1);
}

std::vector<bool> TWizardFileList::SelectedFlags() const {
  std::vector<bool> flags(static_cast<std::size_t>(Count()), false);
  for (const QModelIndex& index : selectionModel()->selectedIndexes())
    if (index.row() < Count()) flags[static_cast<std::size_t>(index.row())] = true;
  return flags;
}

int TWizardFileList::SelectedCount() const {
  return static_cast<int>(selectionModel()->selectedIndexes().size());
}

void TWizardFileList::SelectOnly(int i) {
  if (i < 0 || i >= Count()) {
    selectionModel()->clear();
    return;
  }
  selectionModel()->setCurrentIndex(model_.index(i), QItemSelectionModel::ClearAndSelect);
  scrollTo(model_.index(i));
}

int TWizardFileList::EntryAt(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return index.isValid() ? index.row() : -1;
}

void TWizardFileList::GrowExtent(int width) {
  extent_ = std::max(extent_, width);
}

void TWizardFileList::ApplyExtent() {
  doItemsLayout();
}

void TWizardFileList::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressPos_ = event->position().toPoint();
  QListView::mousePressEvent(event);
}

void TWizardFileList::mouseMoveEvent(QMouseEvent* event) {
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

void TWizardFileList::mouseReleaseEvent(QMouseEvent* event) {
  pressed_ = false;
  if (dragging_) {
    Drop(event->position().toPoint());
    return;
  }
  QListView::mouseReleaseEvent(event);
}

void TWizardFileList::keyPressEvent(QKeyEvent* event) {
  if (dragging_ && event->key() == Qt::Key_Escape) {
    EndDrag();
    return;
  }
  QListView::keyPressEvent(event);
}

void TWizardFileList::startDrag(Qt::DropActions) {}

bool TWizardFileList::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QListView::viewportEvent(event);
  // The entry's full path, for as long as the pointer stays on that entry.
  const auto* help = static_cast<QHelpEvent*>(event);
  const int i = EntryAt(help->pos());
  if (i < 0) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const QModelIndex index = model_.index(i);
  QToolTip::showText(help->globalPos(), index.data(Qt::ToolTipRole).toString(), viewport(),
                     visualRect(index), kTooltipTime);
  return true;
}

void TWizardFileList::DragOver(const QPoint& pos) {
  int t = EntryAt(pos);
  if (t < 0) t = Count() - 1;
  if (t == dropIndex_) return;
  // A band at the target's upper edge when the block goes above it, at its lower
  // edge when it goes below.
  QRect band = visualRect(model_.index(t));
  if (t < Current()) {
    band.setBottom(band.top() + 1);
  } else {
    band.setTop(band.bottom() - 1);
  }
  dropIndex_ = t;
  dropRect_ = band;
  viewport()->update();
}

void TWizardFileList::Drop(const QPoint& pos) {
  const int t = DropTarget(Count(), SelectedCount(), EntryAt(pos));
  model_.SetPaths(MoveSelection(model_.Paths(), SelectedFlags(), t));
  SelectOnly(t);
  EndDrag();
  emit EntriesDragged();
}

void TWizardFileList::EndDrag() {
  dragging_ = false;
  pressed_ = false;
  dropIndex_ = -1;
  viewport()->update();
}

void TWizardFileList::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (dropIndex_ < 0) return;
  QPainter painter(viewport());
  painter.fillRect(dropRect_, palette().color(QPalette::Text));
}
