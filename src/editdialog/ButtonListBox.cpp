#include "ButtonListBox.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QUrl>

#include "EditPageLogic.h"
#include "FileDrops.h"
#include "ItemIcons.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TextFormat.h"

namespace {

// One row: icon at 16 x 16, the title, a column line, the use count at the right.
class TButtonRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), TButtonListBox::kRowHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* model = static_cast<const TButtonListModel*>(index.model());
    const QRect r = option.rect;
    const QPalette& pal = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(r, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(QPalette::Dark));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    std::unique_ptr<TLaunchDataItem> item;
    try {
      item = TextToItem(model->Entry(index.row()));
    } catch (const ELaunchError&) {
      item = NewLaunchItem();
    }
    GetItemIcon(*item).paint(painter, QRect(r.left() + 2, r.top() + 2, 16, 16));
    const QFontMetrics metrics(option.font);
    const int w = metrics.horizontalAdvance(QStringLiteral("WWWWW"));
    const int v = (TButtonListBox::kRowHeight - metrics.height()) / 2;
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect titleRect(QPoint(r.left() + 20, r.top()), QPoint(r.right() - w, r.bottom() - 1));
    painter->setClipRect(titleRect);
    painter->drawText(r.left() + 20, r.top() + v + metrics.ascent(), ShownText(item->Title));
    painter->setClipping(false);
    const QString count = QString::fromStdString(PadNumber(item->UseCount, 1, false));
    painter->drawText(r.right() - metrics.horizontalAdvance(count) - 8,
                      r.top() + v + metrics.ascent(), count);
    painter->setPen(pal.color(QPalette::Dark));
    painter->drawLine(r.right() - w, r.top(), r.right() - w, r.bottom());
    painter->restore();
  }
};

}  // namespace

void TButtonListModel::SetEntries(std::vector<std::string> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  endResetModel();
}

void TButtonListModel::SetEntry(int i, std::string text) {
  if (i < 0 || i >= Count()) return;
  entries_[static_cast<std::size_t>(i)] = std::move(text);
  emit dataChanged(index(i), index(i));
}

int TButtonListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant TButtonListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count()) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    try {
      return ShownText(TitleOfText(Entry(index.row())));
    } catch (const ELaunchError&) {
      return QString();
    }
  }
  return {};
}

TButtonListBox::TButtonListBox(QWidget* parent) : QListView(parent) {
  setModel(&model_);
  setItemDelegate(new TButtonRowDelegate(this));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
  setFrameShape(QFrame::NoFrame);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A press on a selected entry keeps the selection, so that a block can be dragged;
  // the drag itself is this list's own (startDrag does nothing).
  setDragEnabled(true);
  setAcceptDrops(true);  // files from the file manager
  setToolTip(QStringLiteral("ボタンリスト"));
}

int TButtonListBox::Current() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? index.row() : (Count() > 0 ? 0 : -1);
}

std::vector<bool> TButtonListBox::SelectedFlags() const {
  std::vector<bool> flags(static_cast<std::size_t>(Count()), false);
  for (const QModelIndex& index : selectionModel()->selectedIndexes())
    if (index.row() < Count()) flags[static_cast<std::size_t>(index.row())] = true;
  return flags;
}

int TButtonListBox::SelectedCount() const {
  return static_cast<int>(selectionModel()->selectedIndexes().size());
}

void TButtonListBox::SelectOnly(int i) {
  if (i < 0 || i >= Count()) {
    selectionModel()->clear();
    return;
  }
  selectionModel()->setCurrentIndex(model_.index(i), QItemSelectionModel::ClearAndSelect);
  scrollTo(model_.index(i));
}

void TButtonListBox::MakeCurrent(int i) {
  if (i < 0 || i >= Count()) return;
  selectionModel()->setCurrentIndex(model_.index(i), QItemSelectionModel::NoUpdate);
}

void TButtonListBox::SelectAll() {
  if (Count() == 0) return;
  selectionModel()->setCurrentIndex(model_.index(0), QItemSelectionModel::NoUpdate);
  selectAll();
}

int TButtonListBox::EntryAt(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return index.isValid() ? index.row() : -1;
}

void TButtonListBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressPos_ = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);  // a right click changes neither caret nor selection
    return;
  }
  QListView::mousePressEvent(event);
}

void TButtonListBox::mouseMoveEvent(QMouseEvent* event) {
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

void TButtonListBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasDragging = dragging_;
  pressed_ = false;
  if (wasDragging) {
    Drop(event->position().toPoint());
    return;
  }
  QListView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && EntryAt(event->position().toPoint()) >= 0)
    emit EntryClicked();
}

void TButtonListBox::keyPressEvent(QKeyEvent* event) {
  if (dragging_ && event->key() == Qt::Key_Escape) {
    EndDrag();
    return;
  }
  QListView::keyPressEvent(event);
}

void TButtonListBox::keyReleaseEvent(QKeyEvent* event) {
  QListView::keyReleaseEvent(event);
  emit KeyReleased();
}

void TButtonListBox::contextMenuEvent(QContextMenuEvent* event) {
  if (EntryAt(event->pos()) < 0) return;  // below the last row: no menu
  emit EntryContextMenu(event->globalPos());
}

void TButtonListBox::startDrag(Qt::DropActions) {}

void TButtonListBox::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalFilesOf(event->mimeData()).isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void TButtonListBox::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalFilesOf(event->mimeData()).isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void TButtonListBox::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFilesOf(event->mimeData());
  event->acceptProposedAction();
  emit FilesDropped(EntryAt(event->position().toPoint()), paths);
}

void TButtonListBox::DragOver(const QPoint& pos) {
  int t = EntryAt(pos);
  if (t < 0) t = Count() - 1;
  if (t == dropIndex_) return;
  // A line at the upper edge of the target when dragging upward, at its lower edge
  // when dragging downward.
  QRect rect = visualRect(model_.index(t));
  if (t < Current()) {
    rect.setBottom(rect.top() + 1);
  } else {
    rect.setTop(rect.bottom() - 1);
  }
  dropIndex_ = t;
  dropRect_ = rect;
  viewport()->update();
}

void TButtonListBox::Drop(const QPoint& pos) {
  const int n = Count(), k = SelectedCount();
  const int t = DropTarget(n, k, EntryAt(pos));
  model_.SetEntries(MoveSelection(model_.Entries(), SelectedFlags(), t));
  SelectOnly(t);
  EndDrag();
}

void TButtonListBox::EndDrag() {
  dragging_ = false;
  pressed_ = false;
  dropIndex_ = -1;
  viewport()->update();
  emit DragEnded();
}

void TButtonListBox::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (dropIndex_ < 0) return;
  QPainter painter(viewport());
  painter.fillRect(dropRect_, palette().color(QPalette::Text));
}
