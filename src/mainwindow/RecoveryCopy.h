// The recovery copy: while the grid holds edits not yet saved, a copy of it in the
// text form is kept in the state folder, so that a crash, a signal or a lost session
// loses at most the last few seconds. Its first lines (comments to every reader) name
// the data file it belongs to and the editor process that wrote it.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "GridStore.h"
#include "LaunchList.h"

// Where dataFile's recovery copy lives.
QString RecoveryCopyPath(const QString& dataFile);

// Writes the grid as dataFile's recovery copy, replacing the one before only when
// all was written. Returns an empty string, or why it could not be written (Japanese).
QString WriteRecoveryCopy(const TGridStore& grid, const QString& dataFile);

struct TRecoveryCopy {
  QString Path;
  QString DataFile;  // as the copy names it
  qint64 Process = 0;
  QDateTime Written;
  bool NewerThanFile = false;  // written after the data file last changed
};

// dataFile's recovery copy, unless there is none or it belongs to another editor that
// is still running (and still keeping it).
std::optional<TRecoveryCopy> FindRecoveryCopy(const QString& dataFile);

// Reads a recovery copy into list (whose FileName stays). false with error on failure.
bool LoadRecoveryCopy(const TRecoveryCopy& copy, TLaunchList& list, QString& error);

// Removes dataFile's recovery copy, when there is one.
void RemoveRecoveryCopy(const QString& dataFile);
