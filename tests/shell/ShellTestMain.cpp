// The shell tests run in a desktop of their own: home, XDG folders and the
// session bus are pointed at a temporary folder before Qt or GIO looks at them,
// and one program is registered there for plain text. The real home is never read
// or written, and no file manager is ever reached.
#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "ShellTestEnvironment.h"
#include "TestSupport.h"

namespace {

testing_support::TTempDir* gDesktop = nullptr;

void SetUpDesktop() {
  static testing_support::TTempDir desktop;
  gDesktop = &desktop;
  auto folder = [&](const char* name) {
    std::filesystem::path path = desktop.Path() / name;
    std::filesystem::create_directories(path);
    return path.string();
  };
  ::setenv("HOME", folder("home").c_str(), 1);
  ::setenv("XDG_DATA_HOME", folder("data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", folder("config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", folder("cache").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", folder("runtime").c_str(), 1);
  std::filesystem::permissions(desktop.Path() / "runtime", std::filesystem::perms::owner_all);
  ::setenv("XDG_CONFIG_DIRS", folder("etc-xdg").c_str(), 1);
  // The MIME database and the icon theme of the system stay visible.
  folder("share/applications");
  ::setenv("XDG_DATA_DIRS", (folder("share") + ":/usr/share").c_str(), 1);
  ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + folder("runtime") + "/no-bus").c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  shell_test::RegisterTextEditor(desktop.Path());
}

}  // namespace

namespace shell_test {
const std::filesystem::path& DesktopFolder() {
  return gDesktop->Path();
}
}  // namespace shell_test

int main(int argc, char** argv) {
  SetUpDesktop();
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
