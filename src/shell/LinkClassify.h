// Classification: a path the user drops or chooses becomes a button.
#pragma once

#include <string>

#include "DataItems.h"

// Fills item from a file-system path (UTF-8) and says whether a target was
// recognised. UseCount := 0 and Comment := empty first; then the first rule that
// holds: a folder (kind 3); a program, by extension (.EXE .COM .SCR .ICO, any part
// of that list) or as an executable ELF file or script (kind 1, WorkDir its
// folder); a control panel file .CPL (kind 5); a shortcut (.lnk, .pif, .desktop:
// kind 6, ReadShortcut's result); an Internet shortcut (.url: kind 7,
// ReadInternetShortcut's result); a file whose type has a default application
// (kind 2, WorkDir its folder); else the unregistered button "未登録" and false.
// A path CP932 cannot hold is never registered: "未登録" and false. Record
// fields are stored as CP932 bytes.
// A path holding a line break is refused too: no record field keeps one.
bool ClassifyPath(const std::string& path, TLaunchDataItem& item);

// What the user is told when path (UTF-8) cannot become a button, in UTF-8.
std::string CannotRegisterMessage(const std::string& path);

// Why ClassifyPath refuses path (UTF-8), in a few Japanese words (UTF-8): its name,
// a missing file, a value holding a line break, or a type nothing opens.
std::string RefusalReason(const std::string& path);

// The name the shell shows for a path (UTF-8 in, UTF-8 out): its file name, a
// shortcut file's (.lnk, .pif, .url; not a folder's) without its extension, a
// desktop entry's Name; the path itself when it has no name.
std::string ShellNameOf(const std::string& path);

// True when path (UTF-8) is a regular file with an execute bit that is an ELF
// program or a script ("#!").
bool IsProgramFile(const std::string& path);

// True when path's extension is ".desktop" (letter case ignored).
bool IsDesktopEntryName(const std::string& path);
