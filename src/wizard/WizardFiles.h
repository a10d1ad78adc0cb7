// The registration wizard's file list as plain data: what a drop or a chosen folder
// adds, the type filter, the file check, the orders, the text a row shows and the
// special folders the folder method starts from. Paths are file-system paths in
// UTF-8; nothing here knows a widget.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

using TPathList = std::vector<std::string>;

// The entries of the type filter, in the order the wizard lists them.
enum TTypeFilter : int { tfAllFiles, tfPrograms, tfShortcuts, tfInternetShortcuts };

// The type filter's captions, index by index.
QStringList TypeFilterCaptions();

// Whether the type filter lets path in: tfAllFiles takes everything, folders
// included; the others take a path whose extension (whole, letter case ignored) is
// one of theirs: EXE COM, LNK PIF, URL. A folder without such an extension is left out.
bool PassesTypeFilter(const std::string& path, int filter);

// What one drop or one chosen folder adds.
struct TCollected {
  TPathList Paths;                     // in collection order, filtered
  std::vector<QString> PageNameHints;  // names of the folders dropped, for the page name box
  TPathList Refused;                   // paths no button can hold (a line break in them)
};

// Expands the paths of one drop, in drop order. Each path's folders are first spelled
// as the file system stores them. A folder adds its name as a page name proposal (unless Shift-JIS
// cannot hold it) and every file and subfolder directly inside it (subfolders whose
// name begins with "." left out); a folder that cannot be read adds nothing. Any
// other path is taken whole, whether or not it exists. Then the type filter. A path
// holding a line break goes to Refused instead.
TCollected CollectDropped(const TPathList& dropped, int filter);

// The entries of folder as a dropped folder gives them, filtered.
TCollected CollectFolder(const std::string& folder, int filter);

// The message naming the refused paths, one line each, as the grid gives it for one,
// with why each is refused.
QString RefusedPathsMessage(const TPathList& refused);

// Whether path becomes a button at completion: the classification gives it a kind.
// A path Shift-JIS cannot hold never does.
bool IsRegistrablePath(const std::string& path);

// Removes, from the last to the first, every path that is not registrable.
void RemoveUnregistrable(TPathList& paths);

// The file check's report: "ファイルチェックが完了しました", an empty line, "before >> after".
QString FileCheckReport(int before, int after);

// Sorts by the whole path with the list comparison (letter case ignored, locale
// order); descending is the ascending order read from its end.
void SortPaths(TPathList& paths, bool descending);

// The text of a row: the last component of path without its extension (a name
// that only begins with a dot keeps it).
QString FileListText(const std::string& path);

// The special folders the folder method can start from, in the order listed.
QStringList FolderChoiceCaptions();

// The folder of choice index (UTF-8, without a trailing "/"); empty when this system
// has no folder there or the folder does not exist.
std::string FolderChoicePath(int index);
