// The page commands of the grid's pop-up menu: insert, delete, rename and move the
// current page. Each asks through the dialog seam and changes the grid through the
// row operations.
#pragma once

#include "GridEdit.h"

// Asks for a name and inserts a page of MinButtons unregistered buttons before the
// current page (after it when it is the last). Nothing at the page limit. Returns
// whether a page was inserted.
bool InsertPage(TGridEdit& edit);

// Asks, then deletes the current page with its icons. Nothing when it is the only page.
bool DeletePage(TGridEdit& edit);

// Asks for the current page's new name and writes it into its page text.
bool RenamePage(TGridEdit& edit);

// Moves the current page by step rows (-1 up, +1 down); the current cell keeps its
// row and column. Nothing when the target is not a page row.
bool MoveCurrentPage(TGridEdit& edit, int step);
