#include "GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>
#include <algorithm>

#include "GridModel.h"
#include "GridView.h"

namespace {

// What the grid's leaves have alike: no children and no object of their own; the grid
// is their parent.
class TGridLeafAccessible : public QAccessibleInterface {
 public:
  explicit TGridLeafAccessible(TGridView* view) : view_(view) {}

  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(view_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}

 protected:
  QPointer<TGridView> view_;
};

// A page name or a button number, handed to the caller, who owns it (as Qt's own tables
// hand out their header cells).
class THeaderCellAccessible : public TGridLeafAccessible {
 public:
  THeaderCellAccessible(TGridView* view, int section, Qt::Orientation orientation)
      : TGridLeafAccessible(view), section_(section), orientation_(orientation) {}

  bool isValid() const override { return view_ != nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return {};
    return view_->model()->headerData(section_, orientation_).toString();
  }
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override {
    return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
  }
  QAccessible::State state() const override { return {}; }

 private:
  int section_;
  Qt::Orientation orientation_;
};

// One cell: a button, or "(空き)" beyond a page's last one.
class TGridCellAccessible : public TGridLeafAccessible, public QAccessibleTableCellInterface {
 public:
  TGridCellAccessible(TGridView* view, int row, int column)
      : TGridLeafAccessible(view), row_(row), column_(column) {}

  bool isValid() const override {
    return view_ != nullptr && row_ < view_->model()->rowCount() &&
           column_ < view_->model()->columnCount();
  }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    if (t == QAccessible::Name) return Index().data(Qt::AccessibleTextRole).toString();
    if (t == QAccessible::Description)
      return Index().data(Qt::AccessibleDescriptionRole).toString();
    return {};
  }
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect local = view_->visualRect(Index());
    return {view_->viewport()->mapToGlobal(local.topLeft()), local.size()};
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.focusable = true;
    s.selectable = true;
    const bool current = view_->currentIndex() == Index();
    s.selected = current;
    // Only while the keyboard is in the grid: not in the find box, not in a dialog.
    s.focused = current && view_->hasFocus();
    if (!view_->viewport()->rect().intersects(view_->visualRect(Index()))) s.invisible = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    return {new THeaderCellAccessible(view_, column_, Qt::Horizontal)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override {
    return {new THeaderCellAccessible(view_, row_, Qt::Vertical)};
  }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QModelIndex Index() const { return view_->model()->index(row_, column_); }

  int row_, column_;
};

class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TGridAccessible(TGridView* view) : QAccessibleWidget(view, QAccessible::Table) {}
  ~TGridAccessible() override { ForgetCells(); }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The cells, row by row, over the columns in use.
  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount()) return nullptr;
    return cellAt(index / columns, index % columns);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QAccessibleTableCellInterface* cell =
        const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    const int columns = columnCount();  // a walk over the pages: once
    if (cell == nullptr || cell->columnIndex() >= columns) return -1;
    return cell->rowIndex() * columns + cell->columnIndex();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = View()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = View()->indexAt(local);
    return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const QModelIndex current = View()->currentIndex();
    if (!View()->hasFocus() || !current.isValid()) return nullptr;
    return cellAt(current.row(), current.column());
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || column < 0 || row >= rowCount() || column >= View()->model()->columnCount())
      return nullptr;
    const quint64 key = (quint64(quint32(row)) << 32) | quint32(column);
    if (const auto found = cells_.constFind(key); found != cells_.cend())
      return QAccessible::accessibleInterface(*found);
    auto* cell = new TGridCellAccessible(View(), row, column);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }
  int rowCount() const override { return View()->model()->rowCount(); }
  // The longest page and one more: the cell after its last button.
  int columnCount() const override {
    const auto& model = static_cast<const TGridModel&>(*View()->model());
    int longest = 0;
    for (int r = 1; r <= model.rowCount(); ++r)
      longest = std::max(longest, model.CountOfGridRow(r));
    return rowCount() == 0 ? 0 : std::min(longest + 1, model.columnCount());
  }
  QString columnDescription(int column) const override {
    return View()->model()->headerData(column, Qt::Horizontal).toString();
  }
  QString rowDescription(int row) const override {
    return View()->model()->headerData(row, Qt::Vertical).toString();
  }
  int selectedCellCount() const override { return View()->currentIndex().isValid() ? 1 : 0; }
  QList<QAccessibleInterface*> selectedCells() const override {
    const QModelIndex current = View()->currentIndex();
    if (!current.isValid()) return {};
    return {cellAt(current.row(), current.column())};
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  // Rows and buttons came and went: the cells are made again when asked.
  void modelChange(QAccessibleTableModelChangeEvent*) override { ForgetCells(); }

 private:
  TGridView* View() const { return static_cast<TGridView*>(widget()); }
  void ForgetCells() {
    for (const QAccessible::Id id : std::as_const(cells_))
      QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
  }

  mutable QHash<quint64, QAccessible::Id> cells_;
};

QAccessibleInterface* GridAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("TGridView") && object != nullptr && object->isWidgetType())
    return new TGridAccessible(static_cast<TGridView*>(object));
  return nullptr;
}

}  // namespace

void ExposeGridToScreenReaders() {
  static const bool installed = [] {
    QAccessible::installFactory(GridAccessible);
    return true;
  }();
  (void)installed;
}

void AnnounceGridFocus(TGridView& grid, const QModelIndex& index) {
  if (!QAccessible::isActive() || !index.isValid()) return;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
  if (table == nullptr || table->tableInterface() == nullptr) return;
  QAccessibleInterface* cell = table->tableInterface()->cellAt(index.row(), index.column());
  const int child = cell != nullptr ? table->indexOfChild(cell) : -1;
  if (child < 0) return;
  QAccessibleEvent event(&grid, QAccessible::Focus);
  event.setChild(child);
  QAccessible::updateAccessibility(&event);
}
