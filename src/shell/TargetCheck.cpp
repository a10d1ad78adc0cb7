#include "TargetCheck.h"

#include <sys/stat.h>

#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <optional>

#include "LinkClassify.h"
#include "RootFolder.h"
#include "ShiftJis.h"
#include "Shortcut.h"
#include "WellKnownIcons.h"

namespace {

using TGroup = TTargetFinding::TGroup;

enum class TWant { kFile, kFolder, kAny };

struct TCheck {
  QString field;
  TWant want;
  QString absentWhy;           // when nothing is there
  bool programOnPath = false;  // a bare name is a program found on PATH
};

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "scheme:" with a scheme of two or more characters, so that a drive letter is none.
bool IsUrl(const std::string& path) {
  if (path.empty() || !IsAsciiLetter(path[0])) return false;
  std::size_t i = 1;
  while (i < path.size() && (IsAsciiLetter(path[i]) || (path[i] >= '0' && path[i] <= '9') ||
                             path[i] == '+' || path[i] == '-' || path[i] == '.'))
    ++i;
  return i >= 2 && i < path.size() && path[i] == ':';
}

// A drive letter, a path from the drive's root or a share ("\…", "\\server"), an
// environment variable of Windows, or a "\" delimiter (never a trail byte: 表 is 95 5C).
bool IsWindowsPath(const std::string& path) {
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return true;
  if (!path.empty() && (path[0] == '\\' || path[0] == '%')) return true;
  return sjis::FindChar(path, '\\') != std::string::npos;
}

TTargetFinding Missing(const TCheck& check, const std::string& path, const QString& why) {
  return {TGroup::Missing, check.field, path, why};
}

TTargetFinding Uncheckable(const QString& field, const std::string& path, const QString& reason) {
  return {TGroup::Uncheckable, field, path,
          QString("この環境では確認できません（%1）").arg(reason)};
}

// Why stat could not find the path.
QString StatFailure(int error, const QString& absentWhy) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return absentWhy;
    case EACCES:
      return "アクセスできません";
    case ELOOP:
      return "シンボリックリンクが循環しています";
    case ENAMETOOLONG:
      return "パスが長すぎます";
    default:
      return QString("調べられません（%1）").arg(QString::fromLocal8Bit(std::strerror(error)));
  }
}

// The file-system name of path, or why it has none.
std::optional<std::string> FileSystemName(const TCheck& check, const std::string& path,
                                          std::vector<TTargetFinding>& out) {
  std::optional<std::string> name = sjis::ToUtf8(path);
  if (!name) {
    out.push_back(Missing(check, path, "パスに CP932 として読めないバイトがあります"));
    return std::nullopt;
  }
  if (name->find('\0') != std::string::npos) {
    out.push_back(Missing(check, path, "パスに NUL 文字があります"));
    return std::nullopt;
  }
  return name;
}

void StatPath(const TCheck& check, const std::string& path, std::vector<TTargetFinding>& out) {
  std::optional<std::string> name = FileSystemName(check, path, out);
  if (!name) return;
  struct stat st {};
  if (::stat(name->c_str(), &st) != 0) {
    out.push_back(Missing(check, path, StatFailure(errno, check.absentWhy)));
    return;
  }
  const bool folder = S_ISDIR(st.st_mode);
  if (check.want == TWant::kFile && folder)
    out.push_back(Missing(check, path, "ファイルではなくフォルダです"));
  else if (check.want == TWant::kFolder && !folder)
    out.push_back(Missing(check, path, "フォルダではありません"));
}

void CheckPath(const TCheck& check, const std::string& path, std::vector<TTargetFinding>& out) {
  if (path.empty()) {
    out.push_back(Missing(check, path, "リンク先が空です"));
  } else if (path[0] == '/') {
    StatPath(check, path, out);
  } else if (IsUrl(path)) {
    out.push_back(Uncheckable(check.field, path, "URL"));
  } else if (IsWindowsPath(path)) {
    out.push_back(Uncheckable(check.field, path, "Windows のパス"));
  } else if (check.programOnPath && path.find('/') == std::string::npos) {
    std::optional<std::string> name = FileSystemName(check, path, out);
    if (name && QStandardPaths::findExecutable(QString::fromStdString(*name)).isEmpty())
      out.push_back(Missing(check, path, check.absentWhy));
  } else {
    out.push_back(Uncheckable(check.field, path, "相対パス"));
  }
}

void CheckIconFile(const std::string& file, std::vector<TTargetFinding>& out) {
  if (file.empty() || IsWellKnownIconFile(file)) return;
  const bool themeName = file.find('/') == std::string::npos && !IsWindowsPath(file);
  if (themeName) return;
  CheckPath({"アイコン", TWant::kFile, "ファイルがありません"}, file, out);
}

}  // namespace

std::vector<TTargetFinding> CheckButtonTargets(const TLaunchDataItem& item) {
  std::vector<TTargetFinding> out;
  const TCheck link{"リンク先", TWant::kFile, "ファイルがありません"};
  switch (item.Kind) {
    case lkProgram:
    case lkDocument:
    case lkControlPanel:
      CheckPath(link, item.Link, out);
      break;
    case lkFolder:
      CheckPath({link.field, TWant::kFolder, "フォルダがありません"}, item.Link, out);
      break;
    case lkSpecialFolder:
      if (RootFolderFromName(item.Link) < 0)
        out.push_back(Missing(link, item.Link, "特殊フォルダの名前ではありません"));
      else
        out.push_back(Uncheckable(link.field, item.Link, "特殊フォルダ"));
      break;
    case lkShortcut:
      CheckPath(link, item.Link, out);
      // An advertised shortcut's target is the installer's store: the shortcut
      // stands for itself.
      if (!item.AltLink.empty() && !IsAdvertisedShortcut(item))
        CheckPath({"ショートカットのリンク先", TWant::kAny, "ショートカットのリンク先がありません",
                   IsDesktopEntryName(item.Link)},
                  item.AltLink, out);
      break;
    case lkInternetShortcut:
      if (item.Link.empty())
        out.push_back(Missing(link, item.Link, "リンク先が空です"));
      else
        out.push_back(Uncheckable(link.field, item.Link, "インターネット ショートカット"));
      if (!item.AltLink.empty())
        CheckPath({"インターネット ショートカットのファイル", TWant::kFile, "ファイルがありません"},
                  item.AltLink, out);
      break;
    default:  // unregistered, or a kind whose fields mean nothing known
      return out;
  }
  if (!item.WorkDir.empty())
    CheckPath({"作業フォルダ", TWant::kFolder, "フォルダがありません"}, item.WorkDir, out);
  CheckIconFile(item.IconFile, out);
  return out;
}
