#include "ShellProperties.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "FileUtils.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "ShellItem.h"
#include "ShiftJis.h"
#include "Shortcut.h"
#include "TextUtils.h"

namespace {

constexpr int kCallTimeoutMs = 5000;

// Calls a method of the file manager's interface with one file URL; true when
// it answered without an error.
bool CallFileManager(const char* method, const std::string& path) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                     "/org/freedesktop/FileManager1",
                                                     "org.freedesktop.FileManager1", method);
  QString uri = QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded);
  call << QStringList{uri} << QString();
  QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
  // No answer in time: the file manager is there (an absent one is refused at
  // once) but still starting; it has the request, and a second window from
  // another route would only duplicate it.
  return reply.type() == QDBusMessage::ReplyMessage ||
         reply.errorName() == "org.freedesktop.DBus.Error.NoReply";
}

// The existing file-system path of a shell item; nullopt for none or a virtual folder.
std::optional<std::string> ItemPath(const std::optional<TShellItem>& item) {
  if (!item) return std::nullopt;
  if (!item->IsSpecialFolder()) return item->Path();
  std::string path = SpecialFolderPath(item->Folder());
  if (path.empty() || !PathToPidl(path)) return std::nullopt;
  return path;
}

std::optional<TShellItem> PathItem(const std::string& recordPath) {
  std::optional<std::string> path = sjis::ToUtf8(recordPath);
  return path ? PathToPidl(*path) : std::nullopt;
}

}  // namespace

bool ShowItemProperties(const TLaunchDataItem& item) {
  std::optional<TShellItem> target;
  switch (item.Kind) {
    case lkProgram:
    case lkDocument:
    case lkFolder:
    case lkControlPanel:
      target = PathItem(item.Link);
      break;
    case lkSpecialFolder:
      target = RootFolderPidl(RootFolderFromName(item.Link));
      break;
    case lkShortcut:
      target = PathItem(ShortcutIconPath(item));
      break;
    case lkInternetShortcut:
      target = PathItem(item.AltLink);
      break;
    default:
      return true;
  }
  std::optional<std::string> path = ItemPath(target);
  return path && CallFileManager("ShowItemProperties", *path);
}

bool OpenFolder(const std::string& folder) {
  std::optional<std::string> path = sjis::ToUtf8(folder);
  if (!path || !IsFolder(*path)) return false;
  if (CallFileManager("ShowFolders", *path)) return true;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(*path)));
}

std::string TargetFolder(const TLaunchDataItem& item) {
  const std::string& path =
      item.Kind == lkShortcut && !IsAdvertisedShortcut(item) ? item.AltLink : item.Link;
  const std::string_view delimiters = path.starts_with('/') ? "/" : "/\\:";
  const std::size_t last = sjis::FindLastOf(path, delimiters);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}
