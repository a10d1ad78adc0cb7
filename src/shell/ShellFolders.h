// The shell's special folders on this platform: the XDG user folders and the
// freedesktop places stand in for them; folders with no place here (printers,
// control panel, network …) are virtual, with no path.
#pragma once

#include <QIcon>
#include <QString>
#include <string>

// The folder's file-system path (UTF-8) with a trailing "/"; empty for a virtual
// folder and for an ordinal outside the table. The path is given whether or not
// the folder exists yet.
std::string SpecialFolderPath(int ord);

// The folder's name as the shell shows it (a fixed Japanese name); "UnTitled"
// outside the table.
QString SpecialFolderDisplayName(int ord);

// The folder's icon from the icon theme; ShellIcon(3), a folder, when the theme
// lacks it; PlaceholderIcon() outside the table.
QIcon SpecialFolderIcon(int ord);

// The special folder whose path is path (UTF-8, trailing "/" or not); -1 for none.
// A folder that stands for several values gives the first of them.
int SpecialFolderAt(const std::string& path);
