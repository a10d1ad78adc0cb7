#include "ListColumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QList>
#include <QTreeView>
#include <algorithm>
#include <vector>

namespace {

constexpr int kNarrowest = 60;  // no column is cut below this (nor below its header)
const char* const kNaturalWidths = "pelloNaturalWidths";

// Fits the columns of view, sized to their contents, into its viewport's width.
void FitColumns(QTreeView& view) {
  const QList<int> natural = view.property(kNaturalWidths).value<QList<int>>();
  QHeaderView* header = view.header();
  if (natural.size() != header->count()) return;
  std::vector<int> widths(natural.size());
  const int room = view.viewport()->width();
  FitWidths(widths.data(), natural.data(), static_cast<int>(natural.size()), room, kNarrowest);
  for (int column = 0; column < header->count(); ++column)
    header->resizeSection(column, widths[static_cast<std::size_t>(column)]);
}

// Fits the columns again whenever the view's width changes.
class TColumnFitter : public QObject {
 public:
  explicit TColumnFitter(QTreeView& view) : QObject(&view), view_(view) {
    setObjectName(QStringLiteral("ColumnFitter"));
    view.viewport()->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) FitColumns(view_);
    return QObject::eventFilter(watched, event);
  }

 private:
  QTreeView& view_;
};

}  // namespace

void FitWidths(int* widths, const int* natural, int count, int room, int floor) {
  int total = 0;
  for (int i = 0; i < count; ++i)
    total += natural[i];
  if (total <= room || room <= 0) {
    std::copy(natural, natural + count, widths);
    return;
  }
  // The highest cap whose cut widths fit: found by halving between floor and the widest.
  int low = floor, high = *std::max_element(natural, natural + count);
  const auto cutTotal = [&](int cap) {
    int sum = 0;
    for (int i = 0; i < count; ++i)
      sum += std::min(natural[i], std::max(cap, std::min(natural[i], floor)));
    return sum;
  };
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (cutTotal(mid) <= room) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  for (int i = 0; i < count; ++i)
    widths[i] = std::min(natural[i], std::max(low, std::min(natural[i], floor)));
}

void SizeColumnsToFirstRows(QTreeView& view, int rows) {
  const QAbstractItemModel* model = view.model();
  if (model == nullptr) return;
  struct TSampled {
    QModelIndex index;
    int level;
  };
  std::vector<TSampled> sample;
  const int top = std::min(model->rowCount(), rows);
  for (int r = 0; r < top; ++r) {
    const QModelIndex index = model->index(r, 0);
    sample.push_back({index, 0});
    if (!view.isExpanded(index)) continue;
    const int children = std::min(model->rowCount(index), rows);
    for (int c = 0; c < children; ++c)
      sample.push_back({model->index(c, 0, index), 1});
  }
  QHeaderView* header = view.header();
  QList<int> natural;
  for (int column = 0; column < model->columnCount(); ++column) {
    if (view.isColumnHidden(column)) {
      natural.append(0);  // takes no room from the others
      continue;
    }
    int width = header->isHidden() ? 0 : header->sectionSizeHint(column);
    for (const TSampled& row : sample) {
      const QModelIndex index = row.index.siblingAtColumn(column);
      int w = view.sizeHintForIndex(index).width();
      // The tree's first column is indented by level, as the view draws it.
      if (column == 0) w += view.indentation() * (row.level + (view.rootIsDecorated() ? 1 : 0));
      width = std::max(width, w);
    }
    natural.append(width);
  }
  view.setProperty(kNaturalWidths, QVariant::fromValue(natural));
  if (view.findChild<QObject*>(QStringLiteral("ColumnFitter"), Qt::FindDirectChildrenOnly) ==
      nullptr)
    new TColumnFitter(view);
  view.setTextElideMode(Qt::ElideMiddle);  // a cut path keeps its file name
  FitColumns(view);
}
