// The main window's half of the registration wizard: what the wizard is told about the
// pages, and the merge of the row it hands back into the grid and its icon lists.
//
// The wizard command (menu item mnWiz) runs, in the window:
//   hide();
//   std::vector<std::string> names;  std::vector<int> counts;
//   WizardPages(store_, names, counts);
//   const auto status = StatusOfGrid(store_);
//   bool isNewPage = false;  int target = 0;  std::vector<std::string> row;
//   if (ExecuteWizard(DialogAt().x(), DialogAt().y(), status->MinButtons, isNewPage, target,
//                     row, names, TotalButtonCount(store_), status->MaxButtons,
//                     status->MaxPages, counts)) {
//     TGridEdit edit = Edit();
//     if (MergeWizardRow(edit, isNewPage, target, row)) {
//       NameColWidth = edit.NameColWidth;  // the wanted width; column 0 keeps its width
//       Grid_->PlaceCurrent(edit.Col, edit.Row);
//       Grid_->viewport()->update();
//       UpdateTitle();
//     }
//   }
//   show();  // in every case; showing centres the window and selects cell (1, 1)
// The merge changes the grid only through the store's row operations, so that it can be
// recorded as one undo step like any other command.
#pragma once

#include <string>
#include <vector>

#include "GridEdit.h"

// The captions (CP932) and button counts of the grid's pages, in page order (rows 1 ...
// last): the wizard's page list and what each page has room for.
void WizardPages(const TGridStore& grid, std::vector<std::string>& names, std::vector<int>& counts);

// Merges rowCells (the wizard's row: a page text, then button texts) into the grid.
// r := targetPageIndex + 1, the grid row of the page chosen in the wizard.
// isNewPage: a row is inserted at r (the page there and all below move down one row,
//   with their icon lists), filled with the page text and the buttons (the page's Count
//   is the number of button texts); NameColWidth grows to the caption's width + 8.
//   Nothing happens when the data file's page limit is already reached.
// Otherwise: the button texts are appended after the page's own buttons and its Count
//   grows by as many; its caption and Extra stay, the wizard's page text is ignored.
//   Nothing happens when the page text is damaged.
// Both: buttons beyond the page's room (MaxButtons of the status, and the grid's
// 10,000 button columns) are left out, the page's icon list is rebuilt from its
// buttons (each icon read when it is first drawn, unless edit.MakeIcon makes them),
// and edit.Row := r, edit.Col := 1.
// A grid without pages takes the row as a new page at row 1, whichever was asked.
// Returns whether the grid changed: false for an empty row, no button text, a
// targetPageIndex outside the pages, or the cases above; the grid is then untouched.
bool MergeWizardRow(TGridEdit& edit, bool isNewPage, int targetPageIndex,
                    const std::vector<std::string>& rowCells);
