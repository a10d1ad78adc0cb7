// Shell items, this platform's item id lists: a file-system path or one of the
// special folders, with the display name and icon the shell shows for them.
#pragma once

#include <QIcon>
#include <QString>
#include <optional>
#include <string>

class TShellItem {
 public:
  // An item for a file-system path (UTF-8).
  static TShellItem ForPath(std::string path) { return TShellItem(std::move(path), -1); }
  // An item for the special folder of a TRootFolder ordinal (0 to 25).
  static TShellItem ForSpecialFolder(int ord) { return TShellItem({}, ord); }

  bool IsSpecialFolder() const { return folder_ >= 0; }
  // The TRootFolder ordinal; -1 for a path.
  int Folder() const { return folder_; }
  // The path (UTF-8); empty for a special folder.
  const std::string& Path() const { return path_; }

  bool operator==(const TShellItem&) const = default;

 private:
  TShellItem(std::string path, int folder) : path_(std::move(path)), folder_(folder) {}
  std::string path_;
  int folder_;
};

// The item of a special folder; nullopt for an ordinal outside the table.
std::optional<TShellItem> RootFolderPidl(int ord);

// The item of a file-system path (UTF-8); nullopt when nothing exists there.
std::optional<TShellItem> PathToPidl(const std::string& path);

// The name the shell shows for an item: a special folder's fixed name; a path's
// file name, without the extension of a shortcut (.lnk, .pif, .url), the Name
// of a desktop entry. "UnTitled" for no item.
QString DisplayNameOf(const std::optional<TShellItem>& item);

// The shell's large icon for an item: a special folder's icon; for a path the
// icon a file manager shows (a program's or icon file's own icon, a desktop
// entry's Icon, a shortcut's icon, else its type's icon). ShellIcon(0) for no
// item. Icons of one path are read once.
QIcon PidlIcon(const std::optional<TShellItem>& item);
