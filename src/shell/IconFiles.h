// Icons held by files, by index: icon files (.ico), the icon resources of
// Windows programs and libraries (.exe, .dll, .cpl, .scr, found by content),
// images (.png, .svg, .xpm as one icon), names of the icon theme (as a desktop
// entry's Icon gives them) and the stand-ins of the well-known Windows libraries.
// A file is read once; later calls for it come from memory. Icons need a
// QGuiApplication.
#pragma once

#include <QIcon>
#include <string_view>

#include "IcoReader.h"

// Icon index of file (record bytes, CP932: an absolute path, a theme name or a
// well-known library's name); ShellIcon(0) when the file yields none. A negative
// index names a program's icon by resource id.
QIcon ExtractIconFrom(std::string_view file, int index);

// ExtractIconFrom without the last resort: a null icon when file yields none.
QIcon FindIconIn(std::string_view file, int index);

// How many icons file (record bytes, CP932) holds: the indexes 0, 1, 2, … that
// yield one, up to the first that does not.
int CountIcons(std::string_view file);

// Forgets every icon read so far, for files changed on disk or another icon theme.
void ClearIconCache();

// The images as one icon (a null icon for none).
QIcon IconOfImages(const TIconImages& images);
