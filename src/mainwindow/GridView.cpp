#include "GridView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QToolTip>
#include <QUrl>

#include "DragImage.h"
#include "FileDrops.h"
#include "GridAccessible.h"
#include "GridModel.h"
#include "MainWindow.h"
#include "WorkArea.h"

namespace {

constexpr int kCellSize = 40;
constexpr int kHeaderRowHeight = 20;
constexpr int kHintShowMs = 2000;
constexpr int kNotch = 120;  // a wheel's angle delta for one notch

// Adds a wheel delta to what is left over from earlier parts of a notch and takes the
// whole notches out: fine wheels and touchpads send parts, which add up to lines. A
// turn the other way starts afresh.
int TakeNotches(int& pending, int delta) {
  if (delta == 0) return 0;
  if ((pending < 0) != (delta < 0)) pending = 0;
  pending += delta;
  const int notches = pending / kNotch;
  pending -= notches * kNotch;
  return notches;
}

// Shows text as a hint with its top-left corner at topLeft (screen coordinates). The
// text is data (page names, titles, comments) and is never read as markup; its line
// breaks stay. Qt puts a hint below and beside the point it is given, clear of the
// pointer, so the hint is moved onto the point afterwards.
void ShowHintLabel(const QPoint& topLeft, const QString& text, QWidget* widget, const QRect& area,
                   int msecs) {
  QToolTip::showText(topLeft, Qt::convertFromPlainText(text, Qt::WhiteSpacePre), widget, area,
                     msecs);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() != QLatin1String("qtooltip_label") || !top->isVisible()) continue;
    int x = topLeft.x(), y = topLeft.y();
    FitToWorkArea(x, y, top->width(), top->height());
    top->move(x, y);
  }
}

}  // namespace

// The page drag's drop mark: a dotted frame across the target row and a second one a
// pixel inside it, over the grid and its fixed column.
class TDropMarkOverlay : public QWidget {
 public:
  explicit TDropMarkOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }
  void SetMark(const QRect& rect) {
    mark_ = rect;
    if (rect.isEmpty()) {
      hide();
      return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(mark_.adjusted(0, 0, -1, -1));
    painter.drawRect(mark_.adjusted(1, 1, -2, -2));
  }

 private:
  QRect mark_;
};

// Draws a button cell through the window's GridDrawCell.
class TGridDelegate : public QStyledItemDelegate {
 public:
  TGridDelegate(TGridView& grid, TMainWindow& form)
      : QStyledItemDelegate(&grid), grid_(grid), form_(form) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int c = index.column() + 1, r = index.row() + 1;
    const bool selected = c == grid_.Col() && r == grid_.Row();
    form_.GridDrawCell(*painter, c, r, option.rect, selected, form_.CurrentCellShown());
    // While the find bar is open every button found is framed, not only the current one.
    if (form_.IsFindHit(c, r)) {
      painter->save();
      painter->setPen(QPen(grid_.palette().color(QPalette::Highlight), 2));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
      painter->restore();
    }
  }

 private:
  TGridView& grid_;
  TMainWindow& form_;
};

TGridView::TGridView(TGridModel& model, TMainWindow& form, QWidget* parent)
    : QTableView(parent), model_(model), form_(form) {
  ExposeGridToScreenReaders();
  setHorizontalHeader(new TGridHeader(Qt::Horizontal, *this));
  setVerticalHeader(new TGridHeader(Qt::Vertical, *this));
  setModel(&model_);
  setItemDelegate(new TGridDelegate(*this, form_));
  setFrameShape(QFrame::NoFrame);
  setShowGrid(false);
  setSelectionMode(QAbstractItemView::NoSelection);  // the current cell is drawn by the window
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  setAccessibleName(QStringLiteral("ページとボタン"));
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(kCellSize);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMouseTracking(true);
  }
  horizontalHeader()->setFixedHeight(kHeaderRowHeight);
  SetNameColumnWidth(80);

  // The corner is cell (0, 0): drawn and double-clicked like the other fixed cells.
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) corner_->installEventFilter(this);

  // Pages and buttons are dragged inside the grid; files come from the file manager.
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  verticalHeader()->viewport()->setAcceptDrops(true);
  dropMark_ = new TDropMarkOverlay(this);
}

void TGridView::SetDropMark(const QRect& rect) {
  static_cast<TDropMarkOverlay*>(dropMark_)->SetMark(rect);
}

void TGridView::NotePress(const QPoint& pos, int c, int r) {
  pressed_ = true;
  pressPos_ = pos;
  pressCol_ = c;
  pressRow_ = r;
}

bool TGridView::DragFrom(const QPoint& pos) {
  if (!pressed_ || (pos - pressPos_).manhattanLength() < QApplication::startDragDistance())
    return false;
  pressed_ = false;
  if (!form_.GridStartDrag(pressCol_, pressRow_)) return false;
  auto* drag = new QDrag(this);
  auto* data = new QMimeData;
  data->setData(QLatin1String(kGridDragFormat), QByteArray(kGridDragMark));
  drag->setMimeData(data);
  if (!form_.PageDragging) {
    drag->setPixmap(form_.DragObject.Images());
    drag->setHotSpot(QPoint(TButtonDrag::kImageSize / 2, TButtonDrag::kImageSize / 2));
  }
  drag->exec(Qt::MoveAction);
  form_.GridEndDrag();
  return true;
}

void TGridView::HandleDragEvent(QDropEvent* event, int c, int r) {
  const QMimeData* data = event->mimeData();
  const bool drop = event->type() == QEvent::Drop;
  bool accept = false;
  if (data != nullptr && data->hasFormat(QLatin1String(kGridDragFormat))) {
    if (drop) {
      form_.GridDragDrop(c, r);
      accept = true;
    } else {
      accept = form_.GridDragOver(c, r);
    }
  } else if (data != nullptr && data->hasUrls()) {
    const QStringList paths = LocalFilesOf(data);
    accept = !paths.isEmpty() && c >= 1 && r >= 1;
    if (drop && accept) form_.GridFilesDropped(c, r, paths);
  }
  if (accept) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TGridView::dragEnterEvent(QDragEnterEvent* event) {
  int c, r;
  if (!CellAt(event->position().toPoint(), c, r)) c = r = -1;
  HandleDragEvent(event, c, r);
}

void TGridView::dragMoveEvent(QDragMoveEvent* event) {
  int c, r;
  if (!CellAt(event->position().toPoint(), c, r)) c = r = -1;
  HandleDragEvent(event, c, r);
}

void TGridView::dropEvent(QDropEvent* event) {
  int c, r;
  if (!CellAt(event->position().toPoint(), c, r)) c = r = -1;
  HandleDragEvent(event, c, r);
}

int TGridView::NameColumnWidth() const {
  return nameColumnWidth_;
}

void TGridView::SetNameColumnWidth(int width) {
  nameColumnWidth_ = width;
  verticalHeader()->setFixedWidth(width);
}

bool TGridView::SelectCell(int c, int r) {
  if (c == col_ && r == row_) return true;
  if (!form_.GridSelectCell(c, r)) return false;
  col_ = c;
  row_ = r;
  syncing_ = true;
  setCurrentIndex(model_.index(r - 1, c - 1));
  syncing_ = false;
  viewport()->update();
  return true;
}

void TGridView::RestoreCurrent() {
  PlaceCurrent(col_, row_);
}

void TGridView::PlaceCurrent(int c, int r) {
  col_ = std::clamp(c, 1, model_.Store().ColCount() - 1);
  row_ = std::clamp(r, 1, std::max(model_.Store().RowCount() - 1, 1));
  syncing_ = true;
  setCurrentIndex(model_.index(row_ - 1, col_ - 1));
  syncing_ = false;
  viewport()->update();
  verticalHeader()->viewport()->update();
}

QPoint TGridView::ToGrid(const QPoint& viewportPos) const {
  const QModelIndex index = indexAt(viewportPos);
  if (!index.isValid()) return {-1, -1};
  return {index.column() + 1, index.row() + 1};
}

bool TGridView::CellAt(const QPoint& viewportPos, int& c, int& r) const {
  const QPoint cell = ToGrid(viewportPos);
  c = cell.x();
  r = cell.y();
  return c >= 1;
}

QRect TGridView::CellRect(int c, int r) const {
  if (c >= 1 && r >= 1) {
    QRect rect = visualRect(model_.index(r - 1, c - 1));
    return rect.translated(viewport()->geometry().topLeft());
  }
  return FixedCellRect(c, r);
}

QRect TGridView::FixedCellRect(int c, int r) const {
  const QHeaderView* top = horizontalHeader();
  const QHeaderView* left = verticalHeader();
  if (c == 0 && r == 0) return {0, 0, nameColumnWidth_, top->height()};
  if (r == 0) {
    const int x = top->sectionViewportPosition(c - 1) + nameColumnWidth_;
    return {x, 0, top->sectionSize(c - 1), top->height()};
  }
  const int y = left->sectionViewportPosition(r - 1) + top->height();
  return {0, y, nameColumnWidth_, left->sectionSize(r - 1)};
}

int TGridView::TopRow() const {
  return rowAt(0) + 1;
}
int TGridView::LeftCol() const {
  return columnAt(0) + 1;
}

QModelIndex TGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  // A string grid's moves: one cell at a time, a page of rows, or to the first and
  // last cells; a move the grid's rule refuses leaves the current cell where it is.
  int c = col_, r = row_;
  const int visibleRows = std::max(1, viewport()->height() / kCellSize);
  const int lastRow = model_.Store().RowCount() - 1;
  const int lastCol = model_.Store().ColCount() - 1;
  const bool ctrl = modifiers & Qt::ControlModifier;
  switch (action) {
    case MoveLeft:
      c = std::max(1, c - 1);
      break;
    case MoveRight:
      c = std::min(lastCol, c + 1);
      break;
    case MoveUp:
      r = std::max(1, r - 1);
      break;
    case MoveDown:
      r = std::min(lastRow, r + 1);
      break;
    case MovePageUp:
      r = std::max(1, r - visibleRows);
      break;
    case MovePageDown:
      r = std::min(lastRow, r + visibleRows);
      break;
    case MoveHome:
      c = 1;
      if (ctrl) r = 1;
      break;
    case MoveEnd:
      c = lastCol;
      if (ctrl) r = lastRow;
      break;
    default:
      return currentIndex();
  }
  if (!form_.GridSelectCell(c, r)) return model_.index(row_ - 1, col_ - 1);
  return model_.index(r - 1, c - 1);
}

void TGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // Not the table view's own: its focus event counts the 10,000 columns and headers,
  // while screen readers see the grid through GridAccessible.
  QAbstractItemView::currentChanged(current, previous);  // NOLINT(bugprone-parent-virtual-call)
  if (hasFocus()) AnnounceGridFocus(*this, current);
  if (syncing_ || !current.isValid()) return;
  const int c = current.column() + 1, r = current.row() + 1;
  if (!form_.GridSelectCell(c, r)) return;
  col_ = c;
  row_ = r;
  viewport()->update();
}

void TGridView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  int c, r;
  if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), c, r)) {
    SelectCell(c, r);
    NotePress(event->position().toPoint() + viewport()->geometry().topLeft(), c, r);
  }
}

void TGridView::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) &&
      DragFrom(event->position().toPoint() + viewport()->geometry().topLeft()))
    return;
  int c, r;
  if (CellAt(event->position().toPoint(), c, r)) form_.GridMouseMove(c, r);
}

void TGridView::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = false;
}

void TGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  int c, r;
  if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), c, r))
    form_.GridDblClick(c, r);
}

void TGridView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const QPoint delta = event->angleDelta();
  const bool sideways = event->modifiers() & Qt::ControlModifier;
  const int rows = TakeNotches(wheelRows_, sideways ? 0 : delta.y());
  const int cols = TakeNotches(wheelCols_, sideways ? delta.y() + delta.x() : delta.x());
  if (rows == 0 && cols == 0) return;
  // One line per notch: down or right for a wheel turned towards the user.
  verticalScrollBar()->setValue(verticalScrollBar()->value() - rows);
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() - cols);
  SelectCell(col_, TopRow());
  SelectCell(LeftCol(), row_);
}

void TGridView::keyboardSearch(const QString&) {
  // Typing never moves the current cell: the cells' texts are there for screen readers.
}

void TGridView::keyReleaseEvent(QKeyEvent* event) {
  QTableView::keyReleaseEvent(event);
  form_.UpdateTitle();
}

void TGridView::contextMenuEvent(QContextMenuEvent* event) {
  int c, r;
  if (CellAt(event->pos(), c, r)) PopupAt(c, r, event->globalPos());  // viewport coordinates
}

void TGridView::PopupAt(int c, int r, const QPoint& globalPos) {
  if (!form_.GridContextPopup(c, r)) return;
  form_.UpdateGridMenu(c);
  form_.PopupMenu().popup(globalPos);
}

void TGridView::ShowHintAt(int c, int r) {
  int areaCol, areaRow;
  QString text;
  if (!form_.GridHintAt(c, r, text, areaCol, areaRow)) {
    QToolTip::hideText();
    return;
  }
  const QRect area = CellRect(areaCol, areaRow);
  ShowHintLabel(mapToGlobal(QPoint(area.right() - 4, area.top() + 4)), text, this, area,
                kHintShowMs);
}

bool TGridView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    int c, r;
    if (CellAt(static_cast<QHelpEvent*>(event)->pos(), c, r))
      ShowHintAt(c, r);
    else
      QToolTip::hideText();
    return true;
  }
  return QTableView::viewportEvent(event);
}

bool TGridView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_) {
    if (event->type() == QEvent::Paint) {
      QPainter painter(corner_);
      form_.GridDrawCell(painter, 0, 0, corner_->rect(), false, false);
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
      form_.GridDblClick(0, 0);
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
      return true;  // the corner is no select-all button here
  }
  return QTableView::eventFilter(watched, event);
}

void TGridView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  // After the window's own news that the grid took the keyboard: the cell is said last.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (hasFocus()) AnnounceGridFocus(*this, currentIndex());
      },
      Qt::QueuedConnection);
  viewport()->update();
}

void TGridView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  viewport()->update();
}

TGridHeader::TGridHeader(Qt::Orientation orientation, TGridView& grid)
    : QHeaderView(orientation, &grid), grid_(grid) {}

void TGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const int c = orientation() == Qt::Horizontal ? logicalIndex + 1 : 0;
  const int r = orientation() == Qt::Vertical ? logicalIndex + 1 : 0;
  painter->save();
  grid_.form_.GridDrawCell(*painter, c, r, rect, false, false);
  painter->restore();
}

bool TGridHeader::CellAt(const QPoint& pos, int& c, int& r) const {
  const int section = logicalIndexAt(pos);
  if (section < 0) return false;
  c = orientation() == Qt::Horizontal ? section + 1 : 0;
  r = orientation() == Qt::Vertical ? section + 1 : 0;
  return true;
}

void TGridHeader::mouseDoubleClickEvent(QMouseEvent* event) {
  int c, r;
  if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), c, r))
    grid_.form_.GridDblClick(c, r);
}

void TGridHeader::mousePressEvent(QMouseEvent* event) {
  grid_.setFocus(Qt::MouseFocusReason);
  int c, r;
  // A page name pressed may become a page drag.
  if (event->button() == Qt::LeftButton && orientation() == Qt::Vertical &&
      CellAt(event->position().toPoint(), c, r))
    grid_.NotePress(grid_.mapFromGlobal(event->globalPosition().toPoint()), c, r);
}

void TGridHeader::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton)
    grid_.DragFrom(grid_.mapFromGlobal(event->globalPosition().toPoint()));
}

void TGridHeader::mouseReleaseEvent(QMouseEvent*) {
  grid_.pressed_ = false;
}

bool TGridHeader::viewportEvent(QEvent* event) {
  int c, r;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
      event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!CellAt(drop->position().toPoint(), c, r)) c = r = -1;
    grid_.HandleDragEvent(drop, c, r);
    return true;
  }
  if (event->type() == QEvent::ContextMenu) {
    auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    if (CellAt(menuEvent->pos(), c, r)) grid_.PopupAt(c, r, menuEvent->globalPos());
    return true;
  }
  if (event->type() == QEvent::ToolTip) {
    if (CellAt(static_cast<QHelpEvent*>(event)->pos(), c, r))
      grid_.ShowHintAt(c, r);
    else
      QToolTip::hideText();
    return true;
  }
  return QHeaderView::viewportEvent(event);
}
