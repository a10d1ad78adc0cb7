#include "ListColumns.h"

#include <QHeaderView>
#include <QTreeView>
#include <algorithm>
#include <vector>

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
  for (int column = 0; column < model->columnCount(); ++column) {
    int width = header->isHidden() ? 0 : header->sectionSizeHint(column);
    for (const TSampled& row : sample) {
      const QModelIndex index = row.index.siblingAtColumn(column);
      int w = view.sizeHintForIndex(index).width();
      // The tree's first column is indented by level, as the view draws it.
      if (column == 0) w += view.indentation() * (row.level + (view.rootIsDecorated() ? 1 : 0));
      width = std::max(width, w);
    }
    header->resizeSection(column, width);
  }
}
