#include "IconTheme.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

#include "IconStore.h"

namespace {

constexpr const char* kDefaultTheme = "Adwaita";

// The XDG data folders' icons (the user's first), ~/.icons, and the system's own.
QStringList XdgIconFolders() {
  QStringList folders;
  const QStringList data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
  for (const QString& dir : data)
    folders << dir + "/icons";
  folders.insert(data.isEmpty() ? 0 : 1, QDir::homePath() + "/.icons");
  folders << "/usr/share/icons"
          << "/usr/share/pixmaps";
  return folders;
}

// Makes the theme reachable once: the platform plugin may know no search path
// and no theme (offscreen, a bare window manager).
void EnsureIconTheme() {
  static bool done = false;
  if (done) return;
  done = true;
  QStringList paths = QIcon::themeSearchPaths();
  for (const QString& folder : XdgIconFolders())
    if (!paths.contains(folder) && QDir(folder).exists()) paths << folder;
  QIcon::setThemeSearchPaths(paths);
  if (QIcon::themeName().isEmpty()) QIcon::setThemeName(kDefaultTheme);
  QString fallback = QIcon::fallbackThemeName();
  if (fallback.isEmpty() || fallback == "hicolor") QIcon::setFallbackThemeName(kDefaultTheme);
}

}  // namespace

bool HasThemeIcon(const std::string& name) {
  return !ThemeIcon(name).isNull();
}

QIcon ThemeIcon(const std::string& name) {
  if (name.empty()) return {};
  auto& icons = IconStore().themeIcons;
  auto found = icons.find(name);
  if (found != icons.end()) return found->second;
  EnsureIconTheme();
  QString key = QString::fromStdString(name);
  QIcon icon = QIcon::hasThemeIcon(key) ? QIcon::fromTheme(key) : QIcon();
  icons.emplace(name, icon);
  return icon;
}

QIcon FirstThemeIcon(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    QIcon icon = ThemeIcon(name);
    if (!icon.isNull()) return icon;
  }
  return {};
}
