// Backups of the data file: before a save replaces it, the previous file is copied
// into a folder beside it under its name with the date and time; the newest 10 stay.
// The restore lists them and loads one into a launch list.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "LaunchList.h"

// The folder of the backups of dataFile: "pelledit-backup" beside it.
QString BackupFolder(const QString& dataFile);

// What a backup came to.
struct TBackupResult {
  QString Path;     // the backup made; empty when none was needed or none could be made
  QString Failure;  // why none could be made (Japanese): a save must not go on unasked
  QString Note;     // a problem after it was made, such as an old backup not removed
};

// Keeps the current content of dataFile (when it exists and is a regular file) as a new
// backup named after it with the date and time (e.g. "data.lst.20261207-112300.bak", a
// "-2", "-3", ... before ".bak" when that name is taken), then removes this data file's
// oldest backups beyond the newest 10 (never any other file, never the one just made).
// The copy is byte for byte with the data file's permission bits and appears only
// whole. No backup is made when the newest one already holds the same bytes, so that
// saves without a change do not push the older backups out. Nothing to keep is no
// failure. A backup folder that is no real folder (a file, a symbolic link) is refused.
TBackupResult MakeBackup(const QString& dataFile,
                         const QDateTime& now = QDateTime::currentDateTime());

// The same into folder (made when missing, its parent must exist) instead of the
// folder beside the data file.
TBackupResult MakeBackupIn(const QString& dataFile, const QString& folder,
                           const QDateTime& now = QDateTime::currentDateTime());

struct TBackupInfo {
  QString Path;
  QDateTime Time;  // from the name, or the file's modification time
  bool Readable = false;
  int Pages = 0;
  int Buttons = 0;
  QString Problem;  // why it is not readable (Japanese)
};

// The backups of dataFile, newest first (by the time in the name, then the number),
// each read to count its pages and buttons (a file over 256 MiB is not read; a file
// that is not a data file is listed as not readable). Other entries of the folder that
// are not this data file's backups are listed too, by name, as not readable, after
// them; a backup's temporary never is (those a process that no longer runs left are
// removed here, as they are when a backup is made). A missing folder is an empty list without
// error; error receives the reason when the folder cannot be read (empty list), and is emptied
// otherwise.
std::vector<TBackupInfo> ListBackups(const QString& dataFile, QString& error);

// Loads a listed, readable backup into list, as a whole: on failure list is unchanged.
// list keeps its FileName (the data file the backup belongs to), so that a later save
// never goes to the backup. false with error (Japanese) on failure.
bool LoadBackup(const QString& path, TLaunchList& list, QString& error);
