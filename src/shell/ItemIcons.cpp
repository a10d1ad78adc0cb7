#include "ItemIcons.h"

#include "FileTypes.h"
#include "FileUtils.h"
#include "IconFiles.h"
#include "IconStore.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "ShellIcons.h"
#include "ShellItem.h"
#include "ShiftJis.h"
#include "Shortcut.h"

namespace {

// The shell icon of a path held as record bytes, remembered by those bytes.
QIcon PathIcon(std::string_view path) {
  TIconTable& icons = IconStore().itemIcons;
  if (const QIcon* found = icons.find(path)) return *found;
  std::optional<std::string> utf8 = sjis::ToUtf8(path);
  return icons.emplace(path, PidlIcon(utf8 ? PathToPidl(*utf8) : std::nullopt));
}

QIcon SpecialFolderItemIcon(std::string_view link) {
  int ord = RootFolderFromName(link);
  return ord < 0 ? PlaceholderIcon() : PidlIcon(RootFolderPidl(ord));
}

// The icon file reported for a special folder without an icon of its own.
std::string SpecialFolderIconFile(int ord) {
  std::string library = GetSystemDir() + "\\";
  std::string path = SpecialFolderPath(ord);
  if (path.empty()) return library + (ord == rfPersonal ? "mydocs.dll" : "shell32.dll");
  if (IsFolder(path)) return library + "shell32.dll";
  return sjis::FromUtf8(path).value_or(library + "shell32.dll");
}

}  // namespace

QIcon GetItemIcon(const TLaunchDataItem& item) {
  const std::string_view link = item.Link;
  const std::string_view iconFile = item.IconFile;
  switch (item.Kind) {
    case lkNone:
      return PlaceholderIcon();
    case lkSpecialFolder:
      return iconFile.empty() ? SpecialFolderItemIcon(link)
                              : ExtractIconFrom(iconFile, item.IconIndex);
    case lkShortcut:
      return iconFile.empty() ? PathIcon(ShortcutIconPath(item))
                              : ExtractIconFrom(iconFile, item.IconIndex);
    case lkInternetShortcut:
      return ExtractIconFrom(iconFile, item.IconIndex);
    default:
      return iconFile.empty() ? PathIcon(link) : ExtractIconFrom(iconFile, item.IconIndex);
  }
}

QIcon GetItemIconSource(const TLaunchDataItem& item, std::string& file, std::int32_t& index) {
  if (!item.IconFile.empty() || item.Kind == lkInternetShortcut) {
    file = item.IconFile;
    index = item.IconIndex;
    return ExtractIconFrom(item.IconFile, item.IconIndex);
  }
  if (item.Kind == lkSpecialFolder) {
    int ord = RootFolderFromName(item.Link);
    if (ord < 0) {
      file.clear();
      index = 0;
      return PlaceholderIcon();
    }
    file = SpecialFolderIconFile(ord);
    index = 0;
    return PidlIcon(RootFolderPidl(ord));
  }
  if (item.Kind == lkShortcut) {
    file = ShortcutIconPath(item);
    index = item.IconIndex;
    return PathIcon(file);
  }
  if (std::optional<std::string> target = sjis::ToUtf8(item.Link)) {
    std::string command;
    GetAssociation(*target, file, index, command);
  }
  return PathIcon(item.Link);
}
