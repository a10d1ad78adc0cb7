// The row operations that page and button commands, the page edit dialog, the
// wizard and drag and drop are built on. Each changes the grid only through the
// store's own row operations and keeps one icon list per page row.
#pragma once

#include <string>
#include <vector>

#include "GridEdit.h"

// Inserts n empty rows before row at (at may be the row count: at the end). Nothing
// when n < 1 or at is outside 0 ... row count.
void InsertGridRows(TGridStore& grid, int at, int n);

// Removes rows first ... last (either order), clamped to the page rows. Removing every
// page row instead empties row 1 and keeps it.
void DeleteGridRows(TGridStore& grid, int first, int last);

// Moves page row from to row to (both 1 ... pages), with its icon list; the rows
// between shift by one. Nothing when either is outside the page rows.
void MovePage(TGridEdit& edit, int from, int to);

// Refills the icon list of page row r with one icon for each of its first n buttons.
void RebuildPageIcons(TGridEdit& edit, int r, int n);

// The page's record text and its first count button texts, and the store row built
// back from them: the page text in column 0, then the buttons.
struct TPageRow {
  std::string PageText;
  std::vector<std::string> Buttons;
};
// Row r's page text and its buttons (as many as its count says, at most the grid's).
TPageRow ReadPageRow(const TGridStore& grid, int r);
// Writes page into row r with its count set to the number of its buttons; cells
// after the last button are dropped.
void WritePageRow(TGridStore& grid, int r, TPageRow page);

// The text of a new, unregistered button.
const std::string& NewButtonText();
