// The recovery copy: while the grid holds edits not yet saved, a copy of it in the
// text form is kept in the state folder, so that a crash, a signal or a lost session
// loses at most the last few seconds. Its first lines (comments to every reader) name
// the data file it belongs to and the editor process that wrote it. Each editor keeps
// a copy of its own: two editors on one file never overwrite or remove each other's.
#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <optional>
#include <vector>

#include "GridStore.h"
#include "LaunchList.h"

// Where this process keeps dataFile's recovery copy.
QString RecoveryCopyPath(const QString& dataFile);

// Writes the grid as this process's recovery copy of dataFile (a file of the user's
// alone, never written through a link), replacing the one before only when all was
// written. Returns an empty string, or why it could not be written (Japanese): the
// state folder cannot be made or is not the user's, the disk is full, and so on. Once
// stop (when given) is set, it gives up and leaves the copy before it as it was. Safe
// on any thread, as long as grid does not change meanwhile (a snapshot).
QString WriteRecoveryCopy(const TGridCells& grid, const QString& dataFile,
                          const std::atomic<bool>* stop = nullptr);

struct TRecoveryCopy {
  QString Path;
  QString DataFile;  // as the copy names it
  qint64 Process = 0;
  QDateTime Written;
  bool NewerThanFile = false;  // written after the data file last changed
};

// The recovery copies of dataFile that no other running editor keeps (this process's
// own included, and one under the name all editors once shared), newest first. Not
// offered: a copy that names another data file, a symbolic link, a file of another
// user or one over kMaxOwnFileSize bytes, or any copy when the state folder is not
// the user's. The temporaries of copies whose writing was cut off are removed.
std::vector<TRecoveryCopy> FindRecoveryCopies(const QString& dataFile);

// The newest of FindRecoveryCopies, if any.
std::optional<TRecoveryCopy> FindRecoveryCopy(const QString& dataFile);

// Reads a recovery copy into list (whose FileName stays), under the same conditions
// as FindRecoveryCopies offers it. false with error on failure.
bool LoadRecoveryCopy(const TRecoveryCopy& copy, TLaunchList& list, QString& error);

// Removes this process's recovery copy of dataFile, when there is one.
void RemoveRecoveryCopy(const QString& dataFile);

// Removes a copy FindRecoveryCopies found (taken in or declined), whichever process
// wrote it.
void DiscardRecoveryCopy(const TRecoveryCopy& copy);
