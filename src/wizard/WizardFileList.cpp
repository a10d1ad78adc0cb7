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

TWizardFileList::TWizardFileList(QWidget* parent) : TReorderList(parent) {
  setModel(&model_);
  setItemDelegate(new TFileRowDelegate(this));
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Files from the file manager are the window's to take.
  setAcceptDrops(false);
}

void TWizardFileList::GrowExtent(int width) {
  extent_ = std::max(extent_, width);
}

void TWizardFileList::ApplyExtent() {
  doItemsLayout();
}

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

int TWizardFileList::MoveSelectionForDrop(int entry) {
  const int t = DropTarget(Count(), SelectedCount(), entry);
  model_.SetPaths(MoveSelection(model_.Paths(), SelectedFlags(), t));
  return t;
}
