#include "WizardFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "EditPageLogic.h"
#include "FileTypes.h"
#include "FileUtils.h"
#include "LinkClassify.h"
#include "RootFolder.h"
#include "ShellFolders.h"
#include "SjisValidator.h"

namespace {

struct TFilterEntry {
  const char* caption;
  std::array<std::string_view, 2> extensions;  // upper case; empty: no test
};

const std::array<TFilterEntry, 4> kFilters = {{
    {"すべてのファイル(*.*)", {}},
    {"実行ファイル(*.EXE *.COM)", {"EXE", "COM"}},
    {"ショートカット(*.LNK *.PIF)", {"LNK", "PIF"}},
    {"ＵＲＬのショートカット(*.URL)", {"URL", ""}},
}};

struct TFolderChoice {
  const char* caption;
  int folder;  // TRootFolder
};

const std::array<TFolderChoice, 6> kFolderChoices = {{
    {"スタートメニュー (All Users)", rfCommonStartMenu},
    {"スタートメニュー", rfStartMenu},
    {"デスクトップ", rfDesktop},
    {"マイドキュメント", rfPersonal},
    {"お気に入り", rfFavorites},
    {"最近使ったファイル", rfRecent},
}};

// The type filter, then the paths a record field cannot hold moved to Refused.
void Filter(TCollected& collected, int filter) {
  std::erase_if(collected.Paths,
                [filter](const std::string& path) { return !PassesTypeFilter(path, filter); });
  std::erase_if(collected.Paths, [&collected](std::string& path) {
    if (path.find_first_of("\r\n") == std::string::npos) return false;
    collected.Refused.push_back(std::move(path));
    return true;
  });
}

// Every file and subfolder directly inside folder, as full paths.
void AppendEntries(TPathList& paths, const std::string& folder) {
  std::string baseDir;
  CollectFiles(paths, folder, baseDir, true, "*.*");
}

// A folder that exists but cannot be listed (no read permission).
bool IsUnreadableFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec) && !IsFolder(path);
}

// Dropped paths spelled as the file system stores them. Each folder is looked up once
// per drop and a name is taken as the file manager gave it, which is as it is stored:
// looking up every name would read its whole folder once per file, seconds for a few
// thousand files dropped from one folder.
class TStoredSpelling {
 public:
  std::string operator()(const std::string& given) {
    std::string path = given;
    while (path.size() > 1 && path.ends_with('/'))
      path.pop_back();
    struct stat st {};
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0 || ::lstat(path.c_str(), &st) != 0)
      return GetLongPath(path);
    const std::string folder = path.substr(0, slash);
    auto found = folders_.find(folder);
    if (found == folders_.end()) found = folders_.emplace(folder, GetLongPath(folder)).first;
    return found->second + path.substr(slash);
  }

 private:
  std::unordered_map<std::string, std::string> folders_;
};

}  // namespace

QStringList TypeFilterCaptions() {
  QStringList captions;
  for (const TFilterEntry& entry : kFilters)
    captions << QString::fromUtf8(entry.caption);
  return captions;
}

bool PassesTypeFilter(const std::string& path, int filter) {
  if (filter <= tfAllFiles || filter >= static_cast<int>(kFilters.size())) return true;
  // The whole extension: "a.ex" is no *.EXE, although it is part of that name.
  const std::string extension = UpperExtensionOf(path);
  if (extension.empty()) return false;
  const auto& allowed = kFilters[static_cast<std::size_t>(filter)].extensions;
  return std::find(allowed.begin(), allowed.end(), extension) != allowed.end();
}

TCollected CollectDropped(const TPathList& dropped, int filter) {
  TCollected collected;
  TStoredSpelling spelled;
  for (const std::string& given : dropped) {
    if (given.empty()) continue;
    const std::string path = spelled(given);
    if (IsFolder(path)) {
      const QString name = QString::fromStdString(FileNameOf(path));
      if (IsStorableText(name)) collected.PageNameHints.push_back(name);
      AppendEntries(collected.Paths, path);
    } else if (!IsUnreadableFolder(path)) {
      collected.Paths.push_back(path);
    }
  }
  Filter(collected, filter);
  return collected;
}

TCollected CollectFolder(const std::string& folder, int filter) {
  TCollected collected;
  if (IsFolder(folder)) AppendEntries(collected.Paths, folder);
  Filter(collected, filter);
  return collected;
}

QString RefusedPathsMessage(const TPathList& refused) {
  QStringList lines;
  for (const std::string& path : refused)
    lines << QString::fromStdString(CannotRegisterMessage(path) + "（" + RefusalReason(path) +
                                    "）");
  return lines.join(QStringLiteral("\r"));
}

bool IsRegistrablePath(const std::string& path) {
  TLaunchDataItem item;
  ClassifyPath(path, item);
  return item.Kind != lkNone;
}

void RemoveUnregistrable(TPathList& paths) {
  std::erase_if(paths, [](const std::string& path) { return !IsRegistrablePath(path); });
}

QString FileCheckReport(int before, int after) {
  return QStringLiteral("ファイルチェックが完了しました\r\r%1 >> %2").arg(before).arg(after);
}

void SortPaths(TPathList& paths, bool descending) {
  std::vector<std::pair<QString, std::string>> keyed;
  keyed.reserve(paths.size());
  for (std::string& path : paths)
    keyed.emplace_back(QString::fromStdString(path), std::move(path));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return CompareListText(a.first, b.first) < 0;
  });
  if (descending) std::reverse(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < keyed.size(); ++i)
    paths[i] = std::move(keyed[i].second);
}

QString FileListText(const std::string& path) {
  std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return QString::fromStdString(name);
}

QStringList FolderChoiceCaptions() {
  QStringList captions;
  for (const TFolderChoice& choice : kFolderChoices)
    captions << QString::fromUtf8(choice.caption);
  return captions;
}

std::string FolderChoicePath(int index) {
  if (index < 0 || index >= static_cast<int>(kFolderChoices.size())) return {};
  std::string path = SpecialFolderPath(kFolderChoices[static_cast<std::size_t>(index)].folder);
  while (path.size() > 1 && path.ends_with('/'))
    path.pop_back();
  return IsFolder(path) ? path : std::string();
}
