// A write into the data file itself (when its folder refuses a new file) damages the
// file when it is cut off: it may hold the new head and the old tail. A marker in the
// state folder is there for as long as such a write runs, so that the next open can
// tell and name the copy of the old bytes kept before it.
#pragma once

#include <QString>
#include <optional>

// Leaves the marker of a write into dataFile whose old bytes are kept at keptCopy,
// flushed to the disk, before the write starts. Returns an empty string, or why it
// cannot be left (Japanese): then the write must not start.
QString MarkInPlaceWrite(const QString& dataFile, const QString& keptCopy);

// Removes dataFile's marker once its write completed. Returns an empty string, or
// why it cannot be removed (Japanese).
QString ClearInPlaceWrite(const QString& dataFile);

// The kept copy's path when a write into dataFile was cut off (its marker is still
// there). A marker that names another data file, is a symbolic link, belongs to
// another user or is too large for one is no marker.
std::optional<QString> UnfinishedInPlaceWrite(const QString& dataFile);
