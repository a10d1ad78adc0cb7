#include "ShellFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>

#include "IconStore.h"
#include "IconTheme.h"
#include "RootFolder.h"
#include "ShellIcons.h"

namespace {

// Where a folder lives here.
enum class TPlace {
  kVirtual,
  kDesktop,          // XDG_DESKTOP_DIR
  kDocuments,        // XDG_DOCUMENTS_DIR
  kTemplates,        // XDG_TEMPLATES_DIR
  kConfig,           // $XDG_CONFIG_HOME
  kCache,            // $XDG_CACHE_HOME
  kApplications,     // $XDG_DATA_HOME/applications
  kSystemApps,       // the first existing $XDG_DATA_DIRS/applications
  kAutostart,        // $XDG_CONFIG_HOME/autostart
  kSystemAutostart,  // the first existing $XDG_CONFIG_DIRS/autostart
  kFonts,            // the system's fonts
};

struct TFolder {
  TPlace place;
  const char* name;  // UTF-8
  std::array<const char*, 2> icons;
};

// In the order of TRootFolder.
const std::array<TFolder, kRootFolderCount> kFolders = {{
    {TPlace::kDesktop, "デスクトップ", {"user-desktop", "folder"}},
    {TPlace::kVirtual, "コンピューター", {"computer", nullptr}},
    {TPlace::kVirtual, "ネットワーク", {"network-workgroup", nullptr}},
    {TPlace::kVirtual, "ごみ箱", {"user-trash", nullptr}},
    {TPlace::kConfig, "アプリケーション データ", {"folder", nullptr}},
    {TPlace::kVirtual, "デスクトップ", {"user-desktop", "folder"}},
    {TPlace::kSystemApps, "プログラム", {"applications-other", "folder"}},
    {TPlace::kSystemApps, "スタート メニュー", {"start-here", "folder"}},
    {TPlace::kSystemAutostart, "スタートアップ", {"folder", nullptr}},
    {TPlace::kVirtual, "コントロール パネル", {"preferences-system", nullptr}},
    {TPlace::kDesktop, "デスクトップ", {"user-desktop", "folder"}},
    {TPlace::kVirtual, "お気に入り", {"user-bookmarks", "emblem-favorite"}},
    {TPlace::kFonts, "フォント", {"font-x-generic", "preferences-desktop-font"}},
    {TPlace::kVirtual, "インターネット", {"web-browser", "applications-internet"}},
    {TPlace::kDocuments, "ドキュメント", {"folder-documents", "folder"}},
    {TPlace::kVirtual, "プリンター", {"printer", nullptr}},
    {TPlace::kVirtual, "プリンター ネットワーク ショートカット", {"printer-network", "printer"}},
    {TPlace::kApplications, "プログラム", {"applications-other", "folder"}},
    {TPlace::kVirtual, "最近使ったファイル", {"document-open-recent", nullptr}},
    {TPlace::kVirtual, "送る", {"document-send", "mail-send"}},
    {TPlace::kApplications, "スタート メニュー", {"start-here", "folder"}},
    {TPlace::kAutostart, "スタートアップ", {"folder", nullptr}},
    {TPlace::kTemplates, "テンプレート", {"folder-templates", "folder"}},
    {TPlace::kVirtual, "履歴", {"document-open-recent", nullptr}},
    {TPlace::kCache, "インターネット一時ファイル", {"folder", nullptr}},
    {TPlace::kVirtual, "Cookie", {"folder", nullptr}},
}};

// Of the system's folders of a kind (the user's own, listed first, left out), the first
// absolute one holding sub; the first one's sub when none does.
std::string FirstSystemFolderWith(QStandardPaths::StandardLocation location, const QString& sub) {
  QStringList dirs;
  const QStringList all = QStandardPaths::standardLocations(location);
  for (qsizetype i = 1; i < all.size(); ++i)
    if (all[i].startsWith(QLatin1Char('/'))) dirs << all[i] + sub;
  for (const QString& dir : dirs)
    if (QFileInfo(dir).isDir()) return dir.toStdString();
  return dirs.isEmpty() ? std::string() : dirs.front().toStdString();
}

std::string StandardPath(QStandardPaths::StandardLocation location) {
  return QStandardPaths::writableLocation(location).toStdString();
}

std::string PathOf(TPlace place) {
  switch (place) {
    case TPlace::kVirtual:
      return {};
    case TPlace::kDesktop:
      return StandardPath(QStandardPaths::DesktopLocation);
    case TPlace::kDocuments:
      return StandardPath(QStandardPaths::DocumentsLocation);
    case TPlace::kTemplates:
      return StandardPath(QStandardPaths::TemplatesLocation);
    case TPlace::kConfig:
      return StandardPath(QStandardPaths::GenericConfigLocation);
    case TPlace::kCache:
      return StandardPath(QStandardPaths::GenericCacheLocation);
    case TPlace::kApplications:
      return StandardPath(QStandardPaths::ApplicationsLocation);
    case TPlace::kSystemApps:
      return FirstSystemFolderWith(QStandardPaths::ApplicationsLocation, {});
    case TPlace::kAutostart:
      return StandardPath(QStandardPaths::GenericConfigLocation) + "/autostart";
    case TPlace::kSystemAutostart:
      return FirstSystemFolderWith(QStandardPaths::GenericConfigLocation, "/autostart");
    case TPlace::kFonts:
      return "/usr/share/fonts";
  }
  return {};
}

bool IsValid(int ord) {
  return ord >= 0 && ord < kRootFolderCount;
}

}  // namespace

std::string SpecialFolderPath(int ord) {
  if (!IsValid(ord)) return {};
  std::string path = PathOf(kFolders[static_cast<std::size_t>(ord)].place);
  if (!path.empty() && !path.ends_with('/')) path += '/';
  return path;
}

QString SpecialFolderDisplayName(int ord) {
  if (!IsValid(ord)) return "UnTitled";
  return QString::fromUtf8(kFolders[static_cast<std::size_t>(ord)].name);
}

QIcon SpecialFolderIcon(int ord) {
  if (!IsValid(ord)) return PlaceholderIcon();
  QIcon& icon = IconStore().specialFolderIcons[static_cast<std::size_t>(ord)];
  if (!icon.isNull()) return icon;
  for (const char* name : kFolders[static_cast<std::size_t>(ord)].icons) {
    if (name == nullptr) break;
    icon = ThemeIcon(name);
    if (!icon.isNull()) return icon;
  }
  icon = ShellIcon(3);
  return icon;
}

int SpecialFolderAt(const std::string& path) {
  if (path.empty()) return -1;
  std::string wanted = path.ends_with('/') ? path : path + "/";
  for (int ord = 0; ord < kRootFolderCount; ++ord) {
    std::string folder = SpecialFolderPath(ord);
    if (!folder.empty() && folder == wanted) return ord;
  }
  return -1;
}
