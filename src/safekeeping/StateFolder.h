// The editor's own folder for what belongs in no data file's folder: recovery copies
// of unsaved edits, and the old bytes of a data file written in place.
// $XDG_STATE_HOME/pelledit, by default ~/.local/state/pelledit.
// What is read back from it is trusted only when the folder is this user's alone.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

QString StateFolder();

// Makes the state folder (for this user alone) when it is missing, and makes an
// existing one of this user's 0700 when it is open to others. Returns an empty string,
// or why it cannot be used (Japanese): it cannot be made, it is no real folder (a
// symbolic link is refused), or it belongs to another user.
QString MakeStateFolder();

// Whether the state folder exists and may be trusted: a real folder of this user.
bool StateFolderTrusted();

// A path in the state folder for dataFile: its file name, a hash of its full path (so
// that files of one name in two folders never share it), then suffix. A long file
// name is cut so that the name never passes 255 bytes; with suffixes of up to 40
// bytes, the part before the suffix is the same for every suffix.
QString StatePathFor(const QString& dataFile, const QString& suffix);

// A file read from the state folder.
struct TStateFile {
  QByteArray Bytes;
  QDateTime Modified;
};

// The first upTo bytes of the file at path, when it may be trusted: a regular file (a
// symbolic link is not followed) of this user, of at most maxSize bytes (a larger one
// is not read at all). nullopt with problem (Japanese) otherwise.
std::optional<TStateFile> ReadTrustedFile(const QString& path, qint64 maxSize, qint64 upTo,
                                          QString* problem = nullptr);

// The value of the first of the leading comment lines of head (those starting with
// ';') that starts with key; empty when there is none.
QByteArray HeaderValue(const QByteArray& head, const QByteArray& key);

// Whether the paths a and b name the same data file (both as absolute paths, or the
// files they lead to).
bool SameDataFile(const QString& a, const QString& b);
