#include "LinkClassify.h"

#include <sys/stat.h>

#include "DesktopEntryReader.h"
#include "FileTypes.h"
#include "FileUtils.h"
#include "FixedTexts.h"
#include "InternetShortcut.h"
#include "ShiftJis.h"
#include "Shortcut.h"

namespace {

// The title for path in CP932; the plain file name when the shell's name (a
// desktop entry's Name) has characters CP932 lacks.
std::string TitleOf(const std::string& path) {
  if (auto title = sjis::FromUtf8(ShellNameOf(path))) return *title;
  return sjis::FromUtf8(FileNameOf(path)).value_or(std::string());
}

void Unregister(TLaunchDataItem& item) {
  item.Kind = lkNone;
  item.Title = cp932::kUnregistered;
  item.Link.clear();
  item.Params.clear();
  item.WorkDir.clear();
  item.IconFile.clear();
  item.IconIndex = 0;
  item.ShowCmd = kShowNormal;
}

void Register(TLaunchDataItem& item, std::uint8_t kind, const std::string& path,
              const std::string& pathBytes, bool withWorkDir) {
  item.Kind = kind;
  item.Title = TitleOf(path);
  item.Link = pathBytes;
  item.Params.clear();
  item.WorkDir =
      withWorkDir ? sjis::FromUtf8(FolderOf(path)).value_or(std::string()) : std::string();
  item.IconFile.clear();
  item.IconIndex = 0;
  item.ShowCmd = kShowNormal;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A record field cannot hold a line break: the file would keep another path.
bool FieldsHoldLineBreak(const TLaunchDataItem& item) {
  return HasLineBreak(item.Title) || HasLineBreak(item.Link) || HasLineBreak(item.Params) ||
         HasLineBreak(item.WorkDir) || HasLineBreak(item.IconFile);
}

}  // namespace

bool IsProgramFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !(st.st_mode & 0111)) return false;
  std::string head = ReadFileStart(path, 4);
  return head ==
             "\x7F"
             "ELF" ||
         head.starts_with("#!");
}

bool IsDesktopEntryName(const std::string& path) {
  return UpperExtensionOf(path) == "DESKTOP";
}

std::string ShellNameOf(const std::string& path) {
  std::string name = FileNameOf(path);
  if (name.empty()) return path;
  if (IsDesktopEntryName(name) && IsRegularFile(path)) {
    if (auto entry = ReadDesktopEntryFile(path); entry && !entry->name.empty()) return entry->name;
  }
  std::string extension = UpperExtensionOf(name);
  if ((extension == "LNK" || extension == "PIF" || extension == "URL") && !IsFolder(path))
    name.resize(name.size() - extension.size() - 1);
  return name;
}

static bool ClassifyByRules(const std::string& path, TLaunchDataItem& item) {
  item.UseCount = 0;
  item.Comment.clear();
  std::optional<std::string> pathBytes = sjis::FromUtf8(path);
  if (path.empty() || !pathBytes || HasLineBreak(path)) {
    Unregister(item);
    return false;
  }
  if (path.size() <= 3) {
    int drive = DriveKind(path[0]);
    if (drive >= 0 && drive <= 2) {
      Register(item, lkFolder, path, *pathBytes, false);
      return true;
    }
  }
  if (IsFolder(path)) {
    Register(item, lkFolder, path, *pathBytes, false);
    return true;
  }
  if (HasExtensionIn(path, ".EXE.COM.SCR.ICO") || IsProgramFile(path)) {
    Register(item, lkProgram, path, *pathBytes, true);
    return true;
  }
  if (HasExtensionIn(path, ".CPL")) {
    Register(item, lkControlPanel, path, *pathBytes, false);
    return true;
  }
  if (HasExtensionIn(path, ".LNK.PIF") || IsDesktopEntryName(path)) return ReadShortcut(path, item);
  if (HasExtensionIn(path, ".URL")) return ReadInternetShortcut(path, item);
  if (FindAssociatedProgram(path)) {
    Register(item, lkDocument, path, *pathBytes, true);
    return true;
  }
  Unregister(item);
  return false;
}

bool ClassifyPath(const std::string& path, TLaunchDataItem& item) {
  const bool known = ClassifyByRules(path, item);
  if (!FieldsHoldLineBreak(item)) return known;
  Unregister(item);
  return false;
}

std::string CannotRegisterMessage(const std::string& path) {
  return "\"" + path + "\" は登録できません。";
}

std::string RefusalReason(const std::string& path) {
  if (path.empty()) return "パスが空です";
  if (HasLineBreak(path)) return "パスに改行があります";
  if (!sjis::FromUtf8(path)) return "パスに Shift-JIS で表せない文字があります";
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return "ファイルがありません";
  TLaunchDataItem item;
  if (ClassifyByRules(path, item)) return "登録する値に改行があります";
  return "種類が分からず、開くアプリケーションもありません";
}
