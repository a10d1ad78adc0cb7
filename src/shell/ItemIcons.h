// The icon of a button, and where it comes from. Icons are shared by source: a
// thousand buttons on one program hold one image, and asking again for a source
// already seen touches neither the file system nor the desktop's type database.
// Icons need a QGuiApplication.
#pragma once

#include <QIcon>
#include <cstdint>
#include <string>

#include "DataItems.h"

// The icon a button shows, by its Kind: the transparent placeholder for kind 0;
// its IconFile and IconIndex when IconFile is set (always for kind 7); else the
// shell icon of its target: the special folder named by Link (kind 4; the
// placeholder when Link names none), the shortcut's target (kind 6; the
// shortcut file itself for an advertised one), or the path in Link. A target
// that does not exist here shows ShellIcon(0).
QIcon GetItemIcon(const TLaunchDataItem& item);

// The same icon as GetItemIcon for kinds 1 to 7, and the file and index it is
// shown from (record bytes, CP932): IconFile and IconIndex when IconFile is set
// or for kind 7; for a special folder the system folder's "shell32.dll"
// ("mydocs.dll" for a virtual rfPersonal) or the folder's path when that is not
// a folder, index 0 (empty and 0 when Link names no folder); for a shortcut its
// target (or the file itself) with its IconIndex; for any other kind the icon
// its target's type has (file and index left as they were when it has none).
QIcon GetItemIconSource(const TLaunchDataItem& item, std::string& file, std::int32_t& index);
