// The data files opened last, newest first, for the File menu: kept one absolute path
// per line (UTF-8) in "recent-files" of the editor's folder under $XDG_CONFIG_HOME
// (by default ~/.config/pelledit/).
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int kRecentFilesKept = 8;

// The list file's path.
QString RecentFilesFile();
// The remembered files, newest first; empty when none were kept or the list is unreadable.
QStringList RecentFiles();
// Puts path (made absolute) first, once, keeping the newest kRecentFilesKept. A path
// that one line cannot hold is not kept. A list that cannot be written is not told:
// it is a convenience, never a reason to stop.
void RememberRecentFile(const QString& path);
// The newest remembered file that is still a regular file; empty when none is.
QString NewestRecentFile();
// Takes path off the list (a file that can no longer be opened).
void ForgetRecentFile(const QString& path);
void ClearRecentFiles();
