// The test desktop made by the test main (see ShellTestMain.cpp).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace shell_test {

// The temporary folder holding the test desktop's home and XDG folders.
const std::filesystem::path& DesktopFolder();

// Registers a program (a desktop entry running /bin/true) as the default
// application for text/plain under root's data and config folders.
inline void RegisterTextEditor(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "data/applications");
  std::ofstream(root / "data/applications/pello-test-editor.desktop")
      << "[Desktop Entry]\nType=Application\nName=Pello Test Editor\n"
         "Exec=/bin/true %f\nMimeType=text/plain;\n";
  std::filesystem::create_directories(root / "config");
  std::ofstream(root / "config/mimeapps.list")
      << "[Default Applications]\ntext/plain=pello-test-editor.desktop\n";
}

}  // namespace shell_test
