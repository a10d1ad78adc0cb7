// Stand-ins for the icons of the Windows icon libraries that data files name
// ("shell32.dll", "mydocs.dll", "URL.DLL"): fitting icons of the icon theme,
// found by the library's file name whatever its folder.
#pragma once

#include <QIcon>
#include <string_view>

// True when the last component of file (after "/" or "\", letter case ignored)
// is a library with stand-in icons.
bool IsWellKnownIconFile(std::string_view file);

// How many icons the library of file stands in for (0 when it is none).
int WellKnownIconCount(std::string_view file);

// Icon index of the library of file (a negative index -n is resource id n, the
// icon n - 1); a null icon when the theme has none for it.
QIcon WellKnownIcon(std::string_view file, int index);
