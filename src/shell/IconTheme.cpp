#include "IconTheme.h"

#include <QDir>
#include <QStringList>
#include <cstdlib>

#include "IconStore.h"

namespace {

constexpr const char* kDefaultTheme = "Adwaita";

QStringList XdgIconFolders() {
  QStringList folders;
  const char* home = std::getenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && *dataHome != '\0')
    folders << QString::fromLocal8Bit(dataHome) + "/icons";
  else if (home != nullptr && *home != '\0')
    folders << QString::fromLocal8Bit(home) + "/.local/share/icons";
  if (home != nullptr && *home != '\0') folders << QString::fromLocal8Bit(home) + "/.icons";
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  QString dirs = dataDirs != nullptr && *dataDirs != '\0' ? QString::fromLocal8Bit(dataDirs)
                                                          : "/usr/local/share:/usr/share";
  for (const QString& dir : dirs.split(':', Qt::SkipEmptyParts))
    folders << dir + "/icons";
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
