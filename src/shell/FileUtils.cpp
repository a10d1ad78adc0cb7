#include "FileUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  auto lower = [](char x, char y) { return LowerAscii(x) < LowerAscii(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lower)) return false;
  return a < b;  // same but for case: a fixed order all the same
}

std::string WithoutTrailingSlash(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/')
    p.pop_back();
  return p;
}

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using TDirHandle = std::unique_ptr<DIR, TDirCloser>;

struct TEntry {
  std::string name;
  bool folder;
};

// Every entry of folder but "." and "..", in the order the file system gives.
std::vector<TEntry> ReadEntries(const std::string& folder) {
  std::vector<TEntry> entries;
  TDirHandle dir(::opendir(folder.c_str()));
  if (!dir) return entries;
  while (dirent* e = ::readdir(dir.get())) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool folder_ = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st {};
      std::string full = folder + (folder.ends_with('/') ? "" : "/") + name;
      folder_ = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back({std::move(name), folder_});
  }
  return entries;
}

// The wildcard test of a folder search: "*" and "*.*" take everything, and a
// pattern ending in ".*" also takes names without a dot.
bool MatchesPattern(const std::string& pattern, const std::string& name) {
  if (pattern.empty() || pattern == "*" || pattern == "*.*") return true;
  if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0) return true;
  if (pattern.ends_with(".*")) {
    std::string stem = pattern.substr(0, pattern.size() - 2);
    return ::fnmatch(stem.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0;
  }
  return false;
}

// name as the folder's listing spells it: itself when present, else the first
// entry equal to it but for letter case.
std::string StoredName(const std::string& folder, const std::string& name) {
  std::string found = name;
  bool inexact = false;
  for (const TEntry& e : ReadEntries(folder)) {
    if (e.name == name) return name;
    if (!inexact && EqualIgnoringCase(e.name, name)) {
      found = e.name;
      inexact = true;
    }
  }
  return found;
}

}  // namespace

bool IsFolder(const std::string& path) {
  if (path.empty()) return false;
  TDirHandle dir(::opendir(path.c_str()));
  return static_cast<bool>(dir);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string GetLongPath(const std::string& path) {
  std::string p = WithoutTrailingSlash(path);
  struct stat st {};
  if (p.empty() || p == "/" || ::lstat(p.c_str(), &st) != 0) return p;
  std::size_t slash = p.rfind('/');
  std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  std::string parent = slash == std::string::npos ? "" : p.substr(0, slash == 0 ? 1 : slash);
  std::string head = parent.empty() ? "" : GetLongPath(parent);
  if (!head.empty() && !head.ends_with('/')) head += '/';
  if (name == "." || name == "..") return head + name;
  return head + StoredName(parent.empty() ? "." : parent, name);
}

int DriveKind(char /*letter*/) {
  return -1;
}

std::string GetSystemDir() {
  return "C:\\WINDOWS\\system32";
}

void ListFolder(std::vector<std::string>& list, const std::string& folder, bool includeFolders,
                const std::string& pattern) {
  std::vector<TEntry> entries = ReadEntries(folder);
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& a, const TEntry& b) { return LessIgnoringCase(a.name, b.name); });
  for (TEntry& e : entries) {
    if (e.folder && (!includeFolders || e.name.front() == '.')) continue;
    if (MatchesPattern(pattern, e.name)) list.push_back(std::move(e.name));
  }
}

void CollectFiles(std::vector<std::string>& list, const std::string& path, std::string& baseDir,
                  bool includeFolders, const std::string& pattern) {
  if (!IsFolder(path)) {
    baseDir = FolderOf(path);
    list.push_back(path);
    return;
  }
  std::string folder = WithoutTrailingSlash(path);
  baseDir = folder == "/" ? "/" : FolderOf(folder);
  std::vector<std::string> names;
  ListFolder(names, folder, includeFolders, pattern);
  std::string prefix = folder == "/" ? "/" : folder + "/";
  for (const std::string& name : names)
    list.push_back(prefix + name);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  std::string p = WithoutTrailingSlash(path);
  if (p == "/") return p;
  std::size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

namespace {

// Opens a regular file for reading without ever blocking on a pipe or device.
int OpenRegular(const std::string& path, struct stat& st) {
  if (path.empty()) return -1;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads up to size bytes; -1 on an error.
long ReadUpTo(int fd, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

}  // namespace

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes) {
  struct stat st {};
  int fd = OpenRegular(path, st);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> result;
  if (st.st_size >= 0 && static_cast<std::uint64_t>(st.st_size) <= maxBytes) {
    // One byte more than allowed tells a file that grew since fstat.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    long n = ReadUpTo(fd, bytes.data(), bytes.size());
    if (n >= 0 && static_cast<std::size_t>(n) <= maxBytes) {
      bytes.resize(static_cast<std::size_t>(n));
      result = std::move(bytes);
    }
  }
  ::close(fd);
  return result;
}

std::string ReadFileStart(const std::string& path, std::size_t count) {
  struct stat st {};
  int fd = OpenRegular(path, st);
  if (fd < 0) return {};
  std::string bytes(count, '\0');
  long n = ReadUpTo(fd, bytes.data(), count);
  ::close(fd);
  bytes.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return bytes;
}
