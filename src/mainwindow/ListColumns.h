// Column widths for a list that may hold a million rows.
#pragma once

class QTreeView;

// Sizes every column of view to its header and to the rows a first screen shows: the
// first rows at the top level and the first rows under each of them. Reading every
// row would make texts for all of them, which a model over a large list never does.
// From then on the columns are kept within the view's width whenever it changes: the
// widest give way first (their texts elided), so that every column stays in view.
void SizeColumnsToFirstRows(QTreeView& view, int rows = 40);

// The widths wanted (natural) fitted into room: unchanged when they fit, else every
// width above one cap cut down to it, the cap as high as the room allows and never
// below floor.
void FitWidths(int* widths, const int* natural, int count, int room, int floor);
