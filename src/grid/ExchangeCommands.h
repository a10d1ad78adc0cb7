// Export of the grid to a comma-separated text file and import of such a file in
// place of the grid's data. Questions and file choosers go through the dialog seam.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>

#include "GridStore.h"
#include "LaunchList.h"

// The export's file: chosen with its extension replaced by ".csv" (added when it has
// none).
QString ExportPath(const QString& chosen);

// The import's file: chosen with its extension replaced by ".CSV"; when no file of
// exactly that name exists, one in the same folder whose name differs only in the
// letter case of the extension.
QString ImportPath(const QString& chosen);

// Asks for a file (starting in folder) and writes the grid to its ".csv" name in the
// text form, asking first when that file exists. Returns whether it was written.
bool ExportGrid(const TGridStore& grid, const QString& folder, QPoint dialogAt);

// What the import does to the window once a file was read: hide it, fill the grid
// from the list, show it again.
struct TImportWindow {
  std::function<void()> hide;
  std::function<void(const TLaunchList&, const QString& path)> fill;
  std::function<void()> show;
};

// Warns, asks for a file (starting in folder) and reads its ".CSV" name. A file that
// is not in the text form, or cannot be read, is told and changes nothing. Returns
// whether the grid was refilled.
bool ImportFile(const QString& folder, QPoint dialogAt, const TImportWindow& window);
