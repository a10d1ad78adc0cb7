// Shortcut buttons: reading a shortcut file into a button, and where its icon and
// properties come from.
#pragma once

#include <string>

#include "DataItems.h"

// Fills item from the shortcut file at path (UTF-8): Kind := 6 and Link := the
// path first, whatever follows. A .lnk (found by its header) or .pif gives
// Title (the shell name), AltLink (its target), WorkDir, Params, ShowCmd,
// IconFile, IconIndex and Comment (its description); a .desktop file gives
// AltLink the program of its Exec (found on PATH; its URL for a link entry),
// Params the rest of Exec, WorkDir its Path, IconFile its Icon, Title its Name
// and Comment its Comment (Japanese forms first). False, with only Kind and Link
// set, when the file cannot be read whole or a path in it cannot be held in CP932.
bool ReadShortcut(const std::string& path, TLaunchDataItem& item);

// True when item is a shortcut (kind 6) whose target lies in the installer's
// store ("\Installer\{" in AltLink, letter case ignored): such a shortcut stands
// for itself.
bool IsAdvertisedShortcut(const TLaunchDataItem& item);

// The path (record bytes) whose icon and properties a shortcut button shows: its
// Link when AltLink holds "Installer\{" (letter case ignored), else its AltLink.
std::string ShortcutIconPath(const TLaunchDataItem& item);
