// The editor's own folder for what belongs in no data file's folder: recovery copies
// of unsaved edits, and the old bytes of a data file written in place.
// $XDG_STATE_HOME/pelledit, by default ~/.local/state/pelledit.
#pragma once

#include <QString>

QString StateFolder();

// Makes the state folder (for this user alone) when it is missing. Returns an empty
// string, or why it cannot be made (Japanese).
QString MakeStateFolder();

// A path in the state folder for dataFile: its file name, a hash of its full path (so
// that files of one name in two folders never share it), then suffix.
QString StatePathFor(const QString& dataFile, const QString& suffix);
