#include "SHBFFEX.h"

#include <QDir>
#include <array>

#include "Dialogs.h"
#include "FileUtils.h"
#include "RootFolder.h"
#include "ShellFolders.h"

namespace {

// The data model's special folder of each choice, in the order of the choices; the
// manual choice and the whole computer ("/") are resolved apart.
constexpr int kManual = -1;
constexpr int kComputer = -2;
constexpr std::array<int, 11> kSpecialFolders = {
    ::rfDesktop, kManual,    kComputer,     ::rfDesktopDirectory, ::rfFavorites, ::rfPrograms,
    ::rfRecent,  ::rfSendTo, ::rfStartMenu, ::rfStartup,          ::rfTemplates,
};

QString PathOfSpecialFolder(int ord) {
  QString path = QString::fromStdString(SpecialFolderPath(ord));
  return path.isEmpty() ? path : QDir::cleanPath(path);
}

bool IsUsableFolder(const QString& path) {
  return path.startsWith(u'/') && IsFolder(path.toStdString());
}

// The desktop folder, or the home folder where there is none.
TBrowseItem DesktopItem() {
  const QString desktop = PathOfSpecialFolder(::rfDesktop);
  return FolderItem(IsUsableFolder(desktop) ? desktop : QDir::homePath());
}

TBrowseItem Resolve(int choice, const QString& name) {
  if (choice < 0 || choice >= static_cast<int>(kSpecialFolders.size())) return DesktopItem();
  const int ord = kSpecialFolders[static_cast<std::size_t>(choice)];
  if (ord == kManual) {
    const QString path = QDir::cleanPath(name);
    return IsUsableFolder(path) ? FolderItem(path) : DesktopItem();
  }
  if (ord == kComputer) return FolderItem(QStringLiteral("/"));
  const QString path = PathOfSpecialFolder(ord);
  if (path.isEmpty()) return VirtualFolderItem(ord);
  // A folder the system has not made (no templates folder, say) falls back as an
  // unusable manual choice does, rather than leaving the chooser without a tree.
  return IsUsableFolder(path) ? FolderItem(path) : DesktopItem();
}

}  // namespace

TBrowseItem FolderItem(const QString& path) {
  return {path, QString::fromStdString(FileNameOf(path.toStdString())), -1};
}

TBrowseItem VirtualFolderItem(int specialFolder) {
  return {{}, SpecialFolderDisplayName(specialFolder), specialFolder};
}

bool TSHBrowseForFolderEx::Execute() {
  FolderPath.clear();
  DisplayName.clear();
  TBrowseItem chosen;
  if (!Dialogs().BrowseForFolder(*this, chosen)) return false;
  FolderPath = chosen.Path;
  DisplayName = chosen.DisplayName;
  return true;
}

TBrowseItem TSHBrowseForFolderEx::RootItem() const {
  return Resolve(RootFolder, RootFolderName);
}

TBrowseItem TSHBrowseForFolderEx::InitialItem() const {
  return Resolve(SelectFolder, SelectFolderName);
}

std::vector<TBrowseItem> TSHBrowseForFolderEx::TopLevelItems() const {
  std::vector<TBrowseItem> items{RootItem()};
  const QString root = items.front().Path;
  if (root.isEmpty() || root != DesktopItem().Path) return items;
  // The desktop is the top of everything: the whole file system and the special
  // folders that have no place in it hang beside it.
  if (root != QStringLiteral("/")) items.push_back(FolderItem(QStringLiteral("/")));
  for (int ord : kSpecialFolders)
    if (ord >= 0 && PathOfSpecialFolder(ord).isEmpty()) items.push_back(VirtualFolderItem(ord));
  return items;
}

bool TSHBrowseForFolderEx::StatusShown() const {
  return Options.testAnyFlags(sboStatusText | sboStatusTextAndShowPath);
}

TSHBrowseForFolderEx::TSelectionState TSHBrowseForFolderEx::SelectionChanged(
    const TBrowseItem& item) const {
  TSelectionState state;
  state.OkEnabled = !(item.Path.isEmpty() && Options.testFlag(sboReturnOnlyFSDirs));
  TOKButtonState ok = obsDefault;
  QString showText;
  if (OnSelectionChanged) OnSelectionChanged(item.Path, showText, ok);
  state.Status = Options.testFlag(sboStatusTextAndShowPath) ? item.Path : showText;
  if (ok == obsEnabled) state.OkEnabled = true;
  if (ok == obsDisabled) state.OkEnabled = false;
  return state;
}
