// Internet shortcut files (.url): lines of name=value text naming a URL and,
// optionally, the file and index of its icon.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "DataItems.h"

// What an Internet shortcut holds, as CP932 bytes (the file's own bytes).
struct TInternetShortcutInfo {
  std::string url;       // value of the first "URL" line; empty when none
  std::string iconFile;  // value of the first "IconFile" line
  std::string iconIndex;
};

// Reads the lines of bytes. Names are compared without regard to letter case;
// sections are not looked at; the first line of a name counts; a value ends at
// the line's end (or at a NUL byte).
TInternetShortcutInfo ParseInternetShortcut(std::string_view bytes);

// Fills item from the Internet shortcut at path (a UTF-8 file-system path): Link
// its URL, IconFile and IconIndex its icon ("URL.DLL" and 0 when it names none),
// AltLink the path, Title its name without ".url", Kind 7, Params and WorkDir
// empty, ShowCmd 1; true. False, with item unchanged, when path is not a
// readable file or CP932 cannot hold it.
bool ReadInternetShortcut(const std::string& path, TLaunchDataItem& item);
