// Handing a button's target to the desktop's file manager: its properties
// window, or a view of its folder. Both go over D-Bus
// (org.freedesktop.FileManager1) or the desktop's URL handler with the path as
// one argument, never through a shell, and report whether the desktop took the
// request (a file manager that is still starting counts); neither shows a
// message. Each waits for the file manager's answer, at most 5 seconds.
#pragma once

#include <string>

#include "DataItems.h"

// Shows the file manager's properties of the button's target: Link for kinds 1,
// 2, 3 and 5; the special folder named by Link for kind 4; for kind 6 the
// shortcut's target (the shortcut file when AltLink holds "Installer\{"); AltLink
// for kind 7. True for kind 0 (nothing to show); false when the target does not
// exist here, is a virtual folder, or no file manager answers.
bool ShowItemProperties(const TLaunchDataItem& item);

// Opens a view of folder (record bytes, CP932) in the file manager: through the
// file manager's D-Bus interface, else the desktop's handler for the folder's
// URL. False when the folder does not exist here or nothing opened it.
bool OpenFolder(const std::string& folder);

// The folder of a button's target (CP932, up to and including its last delimiter):
// of its Link, or for a shortcut of its target unless the shortcut is advertised.
// A path of this system is cut at its last "/", one written on Windows also at "\"
// or ":". Empty when the path has no folder part.
std::string TargetFolder(const TLaunchDataItem& item);
