#include "ShellItem.h"

#include <sys/stat.h>
#include <QDir>

#include "DesktopEntryReader.h"
#include "FileTypes.h"
#include "FileUtils.h"
#include "IconFiles.h"
#include "IconStore.h"
#include "IconTheme.h"
#include "InternetShortcut.h"
#include "LinkClassify.h"
#include "LnkReader.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "ShellIcons.h"
#include "ShiftJis.h"
#include "TextUtils.h"

namespace {

constexpr std::size_t kMaxUrlFile = 1 << 20;

// The icon a shortcut file names, if any.
QIcon ShortcutFileIcon(const std::string& path) {
  auto link = ReadLnkFile(path);
  if (!link) return {};
  if (!link->iconLocation.empty()) {
    QIcon icon = FindIconIn(link->iconLocation, link->iconIndex);
    if (!icon.isNull()) return icon;
  }
  // The target is a Windows path: its name still tells its type.
  if (auto target = sjis::ToUtf8(link->target); target && !target->empty())
    return ThemeIcon(ContentTypeIconName(ContentTypeOf(*target)));
  return {};
}

// Programs and icon files show their own first icon, as the Windows shell does.
bool HasOwnIcon(const std::string& name) {
  std::string extension = UpperExtensionOf(name);
  return extension == "EXE" || extension == "ICO" || extension == "CPL" || extension == "SCR";
}

QIcon FolderIcon(const std::string& path) {
  if (int ord = SpecialFolderAt(path); ord >= 0) return SpecialFolderIcon(ord);
  std::string home = QDir::homePath().toStdString();
  if (path == home || path == home + "/") return FirstThemeIcon({"user-home", "folder"});
  return FirstThemeIcon({"folder"});
}

QIcon FileIcon(const std::string& path) {
  std::string name = FileNameOf(path);
  std::optional<std::string> bytes = sjis::FromUtf8(path);
  if (IsDesktopEntryName(name)) {
    if (auto entry = ReadDesktopEntryFile(path); entry && !entry->icon.empty())
      if (auto icon = sjis::FromUtf8(entry->icon)) {
        QIcon found = FindIconIn(*icon, 0);
        if (!found.isNull()) return found;
      }
  } else if (UpperExtensionOf(name) == "LNK") {
    QIcon icon = ShortcutFileIcon(path);
    if (!icon.isNull()) return icon;
  } else if (UpperExtensionOf(name) == "URL") {
    if (auto content = ReadSmallFile(path, kMaxUrlFile)) {
      TInternetShortcutInfo info = ParseInternetShortcut(*content);
      QIcon icon = info.iconFile.empty() ? FindIconIn("URL.DLL", 0)
                                         : FindIconIn(info.iconFile, IntegerOr(info.iconIndex, 0));
      if (!icon.isNull()) return icon;
    }
  } else if (bytes && HasOwnIcon(name)) {
    QIcon icon = FindIconIn(*bytes, 0);
    if (!icon.isNull()) return icon;
  }
  return ThemeIcon(ContentTypeIconName(ContentTypeOf(path)));
}

}  // namespace

std::optional<TShellItem> RootFolderPidl(int ord) {
  if (ord < 0 || ord >= kRootFolderCount) return std::nullopt;
  return TShellItem::ForSpecialFolder(ord);
}

std::optional<TShellItem> PathToPidl(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return std::nullopt;
  return TShellItem::ForPath(path);
}

QString DisplayNameOf(const std::optional<TShellItem>& item) {
  if (!item) return "UnTitled";
  if (item->IsSpecialFolder()) return SpecialFolderDisplayName(item->Folder());
  std::string name = ShellNameOf(item->Path());
  return name.empty() ? QString("UnTitled") : QString::fromStdString(name);
}

QIcon PidlIcon(const std::optional<TShellItem>& item) {
  if (!item) return ShellIcon(0);
  if (item->IsSpecialFolder()) return SpecialFolderIcon(item->Folder());
  TIconTable& icons = IconStore().pathIcons;
  if (const QIcon* found = icons.find(item->Path())) return *found;
  QIcon icon = IsFolder(item->Path()) ? FolderIcon(item->Path()) : FileIcon(item->Path());
  if (icon.isNull()) icon = ShellIcon(0);
  return icons.emplace(item->Path(), std::move(icon));
}
