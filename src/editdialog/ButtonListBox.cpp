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

// The button an entry holds; an unregistered one when its text cannot be read.
std::unique_ptr<TLaunchDataItem> ItemOfEntry(const std::string& entry) {
  try {
    return TextToItem(entry);
  } catch (const ELaunchError&) {
    return NewLaunchItem();
  }
}

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
    const std::unique_ptr<TLaunchDataItem> item = ItemOfEntry(model->Entry(index.row()));
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
  if (role == Qt::AccessibleTextRole) {  // both columns of the row, as they are drawn
    const std::unique_ptr<TLaunchDataItem> item = ItemOfEntry(Entry(index.row()));
    return SpokenButtonText(item->Title, item->UseCount);
  }
  return {};
}

TButtonListBox::TButtonListBox(QWidget* parent) : TReorderList(parent) {
  setModel(&model_);
  setItemDelegate(new TButtonRowDelegate(this));
  setUniformItemSizes(true);
  setFrameShape(QFrame::NoFrame);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAcceptDrops(true);  // files from the file manager
  setToolTip(QStringLiteral("ボタンリスト"));
}

void TButtonListBox::SelectAll() {
  if (Count() == 0) return;
  selectionModel()->setCurrentIndex(model_.index(0), QItemSelectionModel::NoUpdate);
  selectAll();
}

void TButtonListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);  // a right click changes neither caret nor selection
    return;
  }
  TReorderList::mousePressEvent(event);
}

void TButtonListBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool dropped = Dragging();
  TReorderList::mouseReleaseEvent(event);
  if (!dropped && event->button() == Qt::LeftButton && EntryAt(event->position().toPoint()) >= 0)
    emit EntryClicked();
}

int TButtonListBox::MoveSelectionForDrop(int entry) {
  const int t = DropTarget(Count(), SelectedCount(), entry);
  model_.SetEntries(MoveSelection(model_.Entries(), SelectedFlags(), t));
  return t;
}

void TButtonListBox::keyReleaseEvent(QKeyEvent* event) {
  TReorderList::keyReleaseEvent(event);
  emit KeyReleased();
}

void TButtonListBox::contextMenuEvent(QContextMenuEvent* event) {
  if (EntryAt(event->pos()) < 0) return;  // below the last row: no menu
  emit EntryContextMenu(event->globalPos());
}

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
