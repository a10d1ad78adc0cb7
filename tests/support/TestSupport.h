// Small helpers shared by the tests: a temporary folder, whole-file reads and
// writes, and CP932 test texts written in UTF-8.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ShiftJis.h"

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pello-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A test text written in UTF-8, as the CP932 bytes the data model stores.
inline std::string Sjis(std::string_view utf8) {
  auto converted = sjis::FromUtf8(utf8);
  if (!converted) throw std::runtime_error("not convertible to CP932");
  return *converted;
}

// Lines joined with CR LF, each line ended by it.
template <typename... Lines>
std::string CrLf(Lines... lines) {
  std::string out;
  ((out.append(lines).append("\r\n")), ...);
  return out;
}

// Lowers the largest file this process may write, for the life of the object.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

// Sets an environment variable for the life of the object, then puts back what it
// was: a test that only unset it would send the next test to the user's own folders.
class TEnvironmentScope {
 public:
  TEnvironmentScope(const char* name, const std::string& value) : name_(name) {
    if (const char* was = std::getenv(name)) kept_ = was, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~TEnvironmentScope() {
    if (had_)
      ::setenv(name_, kept_.c_str(), 1);
    else
      ::unsetenv(name_);
  }
  TEnvironmentScope(const TEnvironmentScope&) = delete;
  TEnvironmentScope& operator=(const TEnvironmentScope&) = delete;

 private:
  const char* name_;
  std::string kept_;
  bool had_ = false;
};

// The names of the entries of folder, sorted.
inline std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The number of a process that has ended: no process has it now.
inline pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

}  // namespace testing_support
