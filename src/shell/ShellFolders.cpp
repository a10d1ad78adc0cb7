#include "ShellFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>
#include <cstdlib>
#include <vector>

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

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Home() {
  return QDir::homePath().toStdString();
}

// An XDG base folder: the variable when it holds an
// absolute path, else the default under the home folder.
std::string XdgHome(const char* variable, const char* fallback) {
  std::string value = Env(variable);
  return value.starts_with('/') ? value : Home() + "/" + fallback;
}

// Of the absolute folders a list variable names (the defaults when it names
// none), the first holding sub; the first folder's sub when none does.
std::string XdgFirstWith(const char* variable, const char* defaults, const std::string& sub) {
  std::vector<std::string> dirs;
  for (const std::string& list : {Env(variable), std::string(defaults)}) {
    for (const QString& dir : QString::fromStdString(list).split(QLatin1Char(':')))
      if (dir.startsWith(QLatin1Char('/'))) dirs.push_back(dir.toStdString() + "/" + sub);
    if (!dirs.empty()) break;
  }
  for (const std::string& dir : dirs)
    if (QFileInfo(QString::fromStdString(dir)).isDir()) return dir;
  return dirs.front();
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
      return XdgHome("XDG_CONFIG_HOME", ".config");
    case TPlace::kCache:
      return XdgHome("XDG_CACHE_HOME", ".cache");
    case TPlace::kApplications:
      return XdgHome("XDG_DATA_HOME", ".local/share") + "/applications";
    case TPlace::kSystemApps:
      return XdgFirstWith("XDG_DATA_DIRS", "/usr/local/share:/usr/share", "applications");
    case TPlace::kAutostart:
      return XdgHome("XDG_CONFIG_HOME", ".config") + "/autostart";
    case TPlace::kSystemAutostart:
      return XdgFirstWith("XDG_CONFIG_DIRS", "/etc/xdg", "autostart");
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
