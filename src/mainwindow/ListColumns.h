// Column widths for a list that may hold a million rows.
#pragma once

class QTreeView;

// Sizes every column of view to its header and to the rows a first screen shows: the
// first rows at the top level and the first rows under each of them. Reading every
// row would make texts for all of them, which a model over a large list never does.
void SizeColumnsToFirstRows(QTreeView& view, int rows = 40);
