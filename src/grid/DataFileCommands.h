// The data file's commands: the grid back into a launch list (what the grid is
// compared with and merged into), and the properties and version boxes. The save
// itself is in DataFileSave; a save, an export and the recovery copy write the cells
// through TGridTextSource.
#pragma once

#include <QPoint>
#include <QString>

#include "GridStore.h"
#include "LaunchList.h"
#include "VersionInfo.h"

// Fills list (emptied first) from the grid or a snapshot of it: the status of cell
// (0, 0), then page by page its page text and its buttons. A page's Count is the number
// of buttons it gets. The buttons' texts borrow the cells' bytes: use the list only
// while the grid is unchanged (or the snapshot lives), or copy its buttons. Written
// out, it gives the bytes TGridTextSource gives.
void GridToLaunchList(const TGridCells& grid, TLaunchList& list);

// The number of buttons of all pages, as their page texts count them.
int TotalButtonCount(const TGridStore& grid);

// The data file properties box's text for the grid and the file saved to.
QString PropertiesText(const TGridStore& grid, const QString& saveFileName);

// The version box's text.
QString AboutText(const TVersionInfo& info);
