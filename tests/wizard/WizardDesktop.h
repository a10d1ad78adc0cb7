// A desktop of the wizard's tests and benchmark, made before Qt or GIO looks: home and
// XDG folders under root, no session bus, and one program registered for plain text.
// The real home is never read or written.
#pragma once

#include <cstdlib>
#include <filesystem>

#include "ShellTestEnvironment.h"

namespace wizard_test {

inline void SetUpDesktop(const std::filesystem::path& root) {
  auto folder = [&](const char* name) {
    std::filesystem::create_directories(root / name);
    return (root / name).string();
  };
  ::setenv("HOME", folder("home").c_str(), 1);
  ::setenv("XDG_DATA_HOME", folder("data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", folder("config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", folder("cache").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", folder("runtime").c_str(), 1);
  std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
  ::setenv("XDG_CONFIG_DIRS", folder("etc-xdg").c_str(), 1);
  ::setenv("XDG_DATA_DIRS", (folder("share") + ":/usr/share").c_str(), 1);
  ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + folder("runtime") + "/no-bus").c_str(), 1);
  shell_test::RegisterTextEditor(root);
}

}  // namespace wizard_test
