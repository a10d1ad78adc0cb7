// Reading a data file the user points at (to open it, or a backup to restore), with the
// reason in Japanese when it cannot be read.
#pragma once

#include <QString>
#include <string>

#include "LaunchList.h"

// Loads the data file at path (the system's encoding) into list. Empty when it was
// read, or why not: the system's reason, a damaged file, another program's file, or
// UTF-8 text.
QString LoadListProblem(const std::string& path, TLaunchList& list);

// The same for a file chosen to be opened as the data file: a symbolic link is
// followed, a folder or a device is refused before it is read.
QString OpenListProblem(const QString& path, TLaunchList& list);

// What the user is told of a data file that cannot be opened: its path, then why
// (problem, when known).
QString CannotOpenText(const QString& path, const QString& problem);
