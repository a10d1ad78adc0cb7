// The data file's commands: the grid back into a launch list, the save with its
// progress box and question, the question at closing, and the properties and version
// boxes. Questions go through the dialog seam.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>

#include "GridStore.h"
#include "LaunchList.h"
#include "VersionInfo.h"

// Fills list (emptied first) from the grid: the status of cell (0, 0), then page by
// page its page text and its buttons. A page's Count is the number of buttons it gets.
// The buttons' texts borrow the cells' bytes: use the list only while the grid is
// unchanged (a save or an export writes it at once), or copy its buttons.
void GridToLaunchList(const TGridStore& grid, TLaunchList& list);

// The number of buttons of all pages, as their page texts count them.
int TotalButtonCount(const TGridStore& grid);

// Writes the grid to saveFileName in the text form with the progress box. On failure
// the old file stays as it was, the box goes away, and the error is told at
// dialogAt; returns whether the file was written.
bool WriteDataFile(const TGridStore& grid, const QString& saveFileName, QPoint dialogAt);

// Asks whether to overwrite saveFileName and saves on Yes. Returns whether it saved.
bool SaveWithQuestion(const TGridStore& grid, const QString& saveFileName, QPoint dialogAt);

// What the window does at a close request in the mode that saves at closing: asks
// (Yes, No, Cancel); Yes hides the window and saves. Returns whether the close goes
// on: not after Cancel, and not after a failed save, when the window shows again so
// that no edit is lost.
struct TCloseWindow {
  std::function<void()> hide;
  std::function<void()> show;
};
bool CloseQuery(const TGridStore& grid, const QString& saveFileName, QPoint dialogAt,
                const TCloseWindow& window);

// The data file properties box's text for the grid and the file saved to.
QString PropertiesText(const TGridStore& grid, const QString& saveFileName);

// The version box's text.
QString AboutText(const TVersionInfo& info);
