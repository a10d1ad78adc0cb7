// The editor's start once the application runs: which data file the window opens,
// and what the user is told when it cannot.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "MainWindow.h"

// The exit statuses of the program.
inline constexpr int kExitClosed = 0;
inline constexpr int kExitCannotOpen = 1;
inline constexpr int kExitUsage = 2;

// The filter of the data file choosers.
QString DataFileFilter();

// The window on the file a valid command line names. Without FILE (a start from the
// menu): the newest recent file that still exists, else the file the user chooses; a
// file that cannot be opened is told and the chooser follows. Null when no window
// opens, with the exit status in status: kExitClosed when the chooser was cancelled,
// kExitCannotOpen when the named FILE cannot be opened.
std::unique_ptr<TMainWindow> OpenEditorWindow(const QStringList& arguments, int& status);

// Tells, on standard error and in a message box, that path cannot be opened and why.
void TellCannotOpen(const QString& path);
