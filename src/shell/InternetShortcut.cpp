#include "InternetShortcut.h"

#include "ByteView.h"
#include "FileIO.h"
#include "FileUtils.h"
#include "IniText.h"
#include "LinkClassify.h"
#include "ShiftJis.h"
#include "TextUtils.h"

namespace {

constexpr std::size_t kMaxUrlFile = 1 << 20;
constexpr const char* kDefaultIconFile = "URL.DLL";

bool NameIs(std::string_view line, std::size_t equals, std::string_view name) {
  return equals == name.size() && TextPos(name, line.substr(0, equals), true) == 1;
}

}  // namespace

TInternetShortcutInfo ParseInternetShortcut(std::string_view bytes) {
  TInternetShortcutInfo info;
  bool haveUrl = false, haveIconFile = false, haveIconIndex = false;
  TMemorySource source(bytes);
  TLineReader lines(source);
  std::string_view line;
  while (lines.Next(line)) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string value(UpToNul(line.substr(equals + 1)));
    if (!haveUrl && NameIs(line, equals, "URL")) {
      info.url = value;
      haveUrl = true;
    } else if (!haveIconFile && NameIs(line, equals, "IconFile")) {
      info.iconFile = value;
      haveIconFile = true;
    } else if (!haveIconIndex && NameIs(line, equals, "IconIndex")) {
      info.iconIndex = value;
      haveIconIndex = true;
    }
  }
  return info;
}

bool ReadInternetShortcut(const std::string& path, TLaunchDataItem& item) {
  auto pathBytes = sjis::FromUtf8(path);
  auto title = sjis::FromUtf8(ShellNameOf(path));
  if (!pathBytes || !title) return false;
  auto bytes = ReadSmallFile(path, kMaxUrlFile);
  if (!bytes) return false;
  TInternetShortcutInfo info = ParseInternetShortcut(*bytes);
  item.Link = info.url;
  if (!info.iconFile.empty()) {
    item.IconFile = info.iconFile;
    item.IconIndex = IntegerOr(TrimBlanks(info.iconIndex), 0);
  } else {
    item.IconFile = kDefaultIconFile;
    item.IconIndex = 0;
  }
  item.AltLink = *pathBytes;
  item.Title = *title;
  item.Kind = lkInternetShortcut;
  item.Params.clear();
  item.WorkDir.clear();
  item.ShowCmd = kShowNormal;
  return true;
}
