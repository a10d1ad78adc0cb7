// The page and button grid on screen: a table view over TGridModel whose headers are
// the grid's fixed row 0 and fixed column 0, with the corner as cell (0, 0). It only
// does the Qt plumbing; what a cell shows and what an event means is decided by the
// window's handlers (TMainWindow), in grid coordinates (column c, row r, from 0).
#pragma once

#include <QHeaderView>
#include <QTableView>

class QDropEvent;
class TGridModel;
class TMainWindow;

// The format of a drag inside the grid. It carries nothing: the window keeps what is
// dragged, so that no button leaves the editor through the drag.
inline constexpr char kGridDragFormat[] = "application/x-pello-grid-drag";
// Its content: a mark only (Qt drops a format whose data is empty).
inline constexpr char kGridDragMark[] = "grid";

class TGridView : public QTableView {
  Q_OBJECT

 public:
  TGridView(TGridModel& model, TMainWindow& form, QWidget* parent = nullptr);

  // The current cell.
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Makes (c, r) the current cell when the grid's rule lets it; repaints. Returns
  // whether it moved.
  bool SelectCell(int c, int r);
  // Keeps the current cell's numbers, clamped into the grid, after rows changed.
  void RestoreCurrent();
  // Puts the current cell at (c, r), clamped into the grid, whatever the selection
  // rule says (a command's own placement); repaints.
  void PlaceCurrent(int c, int r);

  // Width of column 0 and height of row 0 (the fixed cells).
  int NameColumnWidth() const;
  void SetNameColumnWidth(int width);

  // The cell at a point of the view's viewport; false outside every cell.
  bool CellAt(const QPoint& viewportPos, int& c, int& r) const;
  // The rectangle of cell (c, r) in the grid widget's own coordinates (fixed cells too).
  QRect CellRect(int c, int r) const;
  // The first fully or partly visible page row and button column.
  int TopRow() const;
  int LeftCol() const;

  // Cell (c, r) of any kind as the grid's font and palette draw it.
  QRect FixedCellRect(int c, int r) const;

  // The page drag's drop mark, in the grid widget's coordinates; an empty rectangle
  // hides it.
  void SetDropMark(const QRect& rect);
  // A drag or drop event over cell (c, r) (-1 outside the cells) of this grid or its
  // fixed column: accepted or refused as the window decides, and a drop carried out.
  void HandleDragEvent(QDropEvent* event, int c, int r);

  // Does nothing: a typed letter is no jump to a button in this grid.
  void keyboardSearch(const QString& search) override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class TGridHeader;
  friend class TGridDelegate;
  QPoint ToGrid(const QPoint& viewportPos) const;
  // Opens the pop-up menu for a right click at cell (c, r) when the grid's rule lets it.
  void PopupAt(int c, int r, const QPoint& globalPos);
  // Shows the hint of cell (c, r) under the pointer, or hides any hint.
  void ShowHintAt(int c, int r);
  // A left press on cell (c, r) that a move past the drag distance turns into a drag.
  void NotePress(const QPoint& pos, int c, int r);
  // Starts the drag of the pressed cell once the pointer at pos is far enough from it.
  bool DragFrom(const QPoint& pos);

  TGridModel& model_;
  TMainWindow& form_;
  QWidget* corner_ = nullptr;
  int col_ = 1;
  int row_ = 1;
  int nameColumnWidth_ = 0;
  bool syncing_ = false;
  int wheelRows_ = 0;  // parts of a wheel notch not yet scrolled
  int wheelCols_ = 0;
  QWidget* dropMark_ = nullptr;
  bool pressed_ = false;  // the left button went down on a cell
  QPoint pressPos_;       // in the grid widget's coordinates
  int pressCol_ = -1;
  int pressRow_ = -1;
};

// A fixed row or column of the grid: draws through the window's GridDrawCell and
// passes double-clicks, right clicks and hints on as grid cells.
class TGridHeader : public QHeaderView {
  Q_OBJECT

 public:
  TGridHeader(Qt::Orientation orientation, TGridView& grid);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // The grid cell at a point of this header; false outside its sections.
  bool CellAt(const QPoint& pos, int& c, int& r) const;
  TGridView& grid_;
};
