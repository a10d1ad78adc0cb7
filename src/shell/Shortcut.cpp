#include "Shortcut.h"

#include <QStandardPaths>
#include <QString>

#include "DesktopEntryReader.h"
#include "FileTypes.h"
#include "FileUtils.h"
#include "LinkClassify.h"
#include "LnkReader.h"
#include "PifReader.h"
#include "ShiftJis.h"
#include "TextUtils.h"

namespace {

constexpr std::size_t kMaxShortcutFile = 4 << 20;

std::string ShellTitle(const std::string& path) {
  if (auto title = sjis::FromUtf8(ShellNameOf(path))) return *title;
  return sjis::FromUtf8(FileNameOf(path)).value_or(std::string());
}

bool FillFromLnk(const std::string& path, const TShellLink& link, TLaunchDataItem& item) {
  item.Title = ShellTitle(path);
  item.AltLink = link.target;
  item.WorkDir = link.workingDir;
  item.Params = link.arguments;
  item.ShowCmd = ShowCommandOf(link.showCommand);
  item.IconFile = link.iconLocation;
  item.IconIndex = link.iconIndex;
  item.Comment = link.description;
  return true;
}

bool FillFromPif(const std::string& path, const TPifInfo& pif, TLaunchDataItem& item) {
  item.Title = ShellTitle(path);
  item.AltLink = pif.program;
  item.WorkDir = pif.startDir;
  item.Params = pif.params;
  item.ShowCmd = kShowNormal;
  item.IconFile.clear();
  item.IconIndex = 0;
  item.Comment = pif.title;
  return true;
}

// The program of an Exec line: as written when it is a path, else found on PATH
// (as written when PATH has no such program).
std::string ProgramPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  QString found = QStandardPaths::findExecutable(QString::fromStdString(program));
  return found.isEmpty() ? program : found.toStdString();
}

bool FillFromDesktopEntry(const std::string& path, TLaunchDataItem& item) {
  auto entry = ReadDesktopEntryFile(path);
  if (!entry) return false;
  std::string target, params;
  if (entry->type == "Link") {
    target = entry->url;
  } else {
    auto args = SplitExec(entry->exec);
    if (!args) return false;
    if (!args->empty()) target = ProgramPath(args->front());
    params = JoinArguments(*args, 1);
  }
  auto altLink = sjis::FromUtf8(target);
  auto paramBytes = sjis::FromUtf8(params);
  auto workDir = sjis::FromUtf8(entry->path);
  auto iconFile = sjis::FromUtf8(entry->icon);
  if (!altLink || !paramBytes || !workDir || !iconFile) return false;
  item.Title = ShellTitle(path);
  item.AltLink = *altLink;
  item.Params = *paramBytes;
  item.WorkDir = *workDir;
  item.IconFile = *iconFile;
  item.IconIndex = 0;
  item.ShowCmd = kShowNormal;
  item.Comment = sjis::FromUtf8(entry->comment).value_or(std::string());
  return true;
}

}  // namespace

bool ReadShortcut(const std::string& path, TLaunchDataItem& item) {
  item.Kind = lkShortcut;
  auto pathBytes = sjis::FromUtf8(path);
  if (!pathBytes) return false;
  item.Link = *pathBytes;
  if (IsDesktopEntryName(path)) return FillFromDesktopEntry(path, item);
  auto bytes = ReadSmallFile(path, kMaxShortcutFile);
  if (!bytes) return false;
  if (IsLnkHeader(*bytes)) {
    auto link = ReadLnk(*bytes);
    return link && FillFromLnk(path, *link, item);
  }
  if (UpperExtensionOf(path) == "PIF") {
    auto pif = ReadPif(*bytes);
    return pif && FillFromPif(path, *pif, item);
  }
  return false;
}

bool IsAdvertisedShortcut(const TLaunchDataItem& item) {
  return item.Kind == lkShortcut && TextPos("\\Installer\\{", item.AltLink, true) > 0;
}

std::string ShortcutIconPath(const TLaunchDataItem& item) {
  return TextPos("Installer\\{", item.AltLink, true) > 0 ? item.Link : item.AltLink;
}
