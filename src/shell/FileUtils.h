// Paths, folders and files on this platform. Every path here is a file-system path
// in UTF-8 with "/" as its delimiter; none of these functions raises or shows
// anything: a missing file or folder gives the "not found" value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// True when path names a folder that can be listed (an empty one included).
bool IsFolder(const std::string& path);

// True when path names a regular file (symbolic links followed).
bool IsRegularFile(const std::string& path);

// The path with each component spelled as the file system stores it (found
// without regard to letter case); a path that does not exist comes back
// unchanged but for a trailing "/" (the root "/" stays "/").
std::string GetLongPath(const std::string& path);

// The kind of the drive with this letter. There are no drive letters here: always -1.
int DriveKind(char letter);

// The system folder that icon sources name ("shell32.dll" and the like live
// there); without a trailing delimiter. A Windows path, since such names are
// stored in data files for the launcher and only recognised by name here.
std::string GetSystemDir();

// Appends to list the names of folder's entries that match pattern (a wildcard
// pattern, "*.*" for all, letter case ignored): every file, and with
// includeFolders every subfolder whose name does not begin with ".". Names
// only, sorted by name without regard to letter case.
void ListFolder(std::vector<std::string>& list, const std::string& folder, bool includeFolders,
                const std::string& pattern);

// Expands one chosen path: a folder gives its entries as full paths (as
// ListFolder finds them) and baseDir the folder that holds it; any other path is
// appended itself, with baseDir its folder. baseDir ends with "/".
void CollectFiles(std::vector<std::string>& list, const std::string& path, std::string& baseDir,
                  bool includeFolders, const std::string& pattern);

// The folder part of path up to and including its last "/"; empty when it has none.
std::string FolderOf(const std::string& path);

// The last component of path (trailing "/" ignored); "/" for the root.
std::string FileNameOf(const std::string& path);

// The whole content of a regular file of at most maxBytes bytes; nullopt for
// anything else (missing, a folder, a device or pipe, unreadable, larger).
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes);

// The first bytes (at most count) of a regular file; empty when it cannot be read.
std::string ReadFileStart(const std::string& path, std::size_t count);
