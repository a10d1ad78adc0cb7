// What a drop on the grid does to its rows: a button moved or copied onto another
// button (of its own page or another), and a file from the file manager registered on
// a button. Questions go through the dialog seam; a refused drop changes nothing.
#pragma once

#include <QStringList>
#include <string>

#include "GridEdit.h"

// Adds delta to the Count of pageText (rewritten in place) and returns the new count.
int AdjustPageCount(int delta, std::string& pageText);

// Moves button (sc, sr) to (dc, dr): within a page the buttons between shift by one;
// onto another page the button leaves its page and replaces an unregistered target,
// goes in before a registered one, or, on a full page, overwrites it after a question
// (No leaves both pages as they were). Returns whether anything changed.
bool MoveButton(TGridEdit& edit, int sr, int sc, int dc, int dr);

// The same, but onto another page the source page keeps its button (within a page it
// moves).
bool CopyButton(TGridEdit& edit, int sr, int sc, int dc, int dr);

// A button dragged from (sc, sr) and dropped on button cell (dc, dr): moved, or copied
// when its page holds no more than the minimum. Nothing for its own cell or a cell
// that holds no button. Returns whether anything changed.
bool DropButton(TGridEdit& edit, int sr, int sc, int dc, int dr);

// Registers path (a file-system path) on button (col, row) and rebuilds its icon;
// tells a path that cannot be registered. Returns whether it was registered.
bool RegisterDroppedFile(TGridEdit& edit, const QString& path, int row, int col);

// Files from the file manager dropped on cell (c, r), which the caller has made
// current when it could: only the first is registered, after a question when the
// button is registered already. Nothing unless (c, r) is a button cell.
bool DropFiles(TGridEdit& edit, const QStringList& paths, int c, int r);
