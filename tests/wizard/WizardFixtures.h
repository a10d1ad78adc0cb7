// Files for the wizard tests: a folder of the kinds the wizard tells apart.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace wizard_test {

// A folder "tools" holding, in the order a folder listing gives them:
// A.LNK b.pif c.exe e.ex notes.txt prog.exe sub/ tool.COM x.url, and a hidden folder
// .cache/ and sub/inner.exe, which a drop of tools leaves out.
struct TToolsFolder {
  testing_support::TTempDir dir;
  std::string tools = dir.File("tools");

  TToolsFolder() {
    std::filesystem::create_directories(tools + "/sub");
    std::filesystem::create_directories(tools + "/.cache");
    for (const char* name :
         {"A.LNK", "b.pif", "c.exe", "e.ex", "prog.exe", "tool.COM", "sub/inner.exe"})
      testing_support::WriteFile(Path(name), "");
    testing_support::WriteFile(Path("notes.txt"), "plain text\n");
    testing_support::WriteFile(Path("x.url"), "[InternetShortcut]\r\nURL=http://example.org/\r\n");
  }
  std::string Path(const std::string& name) const { return tools + "/" + name; }
  std::vector<std::string> Paths(const std::vector<std::string>& names) const {
    std::vector<std::string> paths;
    for (const std::string& name : names)
      paths.push_back(Path(name));
    return paths;
  }
};

}  // namespace wizard_test
