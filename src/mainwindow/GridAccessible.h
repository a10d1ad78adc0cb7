// The grid as a screen reader walks it: a table of pages (rows) and buttons (columns)
// whose columns are those in use (the longest page and one more), whose cells say their
// buttons, and whose current cell is focused only while the grid has the keyboard.
#pragma once

class QModelIndex;
class TGridView;

// Makes screen readers see every TGridView through this interface; once.
void ExposeGridToScreenReaders();

// Tells screen readers that the grid's focused cell is now index (the grid has the
// keyboard).
void AnnounceGridFocus(TGridView& grid, const QModelIndex& index);
