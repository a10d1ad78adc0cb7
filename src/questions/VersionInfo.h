// The version strings of a program file, for the about box.
#pragma once

#include <QString>

// A program file's path and version strings; all empty until GetVersionInfo fills them.
struct TVersionInfo {
  QString Path;            // the file's path in its long form
  QString Folder;          // the folder of Path, ending with "/"
  QString ProductName;     // empty when the file has no version strings
  QString ProductVersion;  // likewise
  QString LegalCopyright;  // likewise
};

// Fills info for the file at path. Path is the canonical path when the file exists,
// else path as given; Folder is its folder with a trailing "/". Only this program's own
// file has version strings (compiled in); for any other file they are empty.
void GetVersionInfo(const QString& path, TVersionInfo& info);
