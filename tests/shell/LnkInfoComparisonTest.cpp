// Our .lnk reader against the lnkinfo tool of liblnk, on the same fixtures, where
// that tool is installed. Its version prints the file size where the show command
// and hot key belong, so those two are not compared.
#include <cstdio>
#include <map>

#include <gtest/gtest.h>

#include "LnkReader.h"
#include "ShellFixtures.h"
#include "ShiftJis.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

bool HaveLnkInfo() {
  return std::system("command -v lnkinfo >/dev/null 2>&1") == 0;
}

// The "name : value" lines of lnkinfo's report.
std::map<std::string, std::string> LnkInfoOf(const std::string& path) {
  std::map<std::string, std::string> fields;
  std::string command = "lnkinfo -c cp932 '" + path + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return fields;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
      text.pop_back();
    std::size_t colon = text.find(": ");
    if (colon == std::string::npos) continue;
    std::string name = text.substr(0, colon);
    while (!name.empty() && (name.back() == '\t' || name.back() == ' '))
      name.pop_back();
    while (!name.empty() && (name.front() == '\t' || name.front() == ' '))
      name.erase(0, 1);
    fields.emplace(name, text.substr(colon + 2));
  }
  ::pclose(pipe);
  return fields;
}

}  // namespace

TEST(LnkInfoComparison, OurReaderAgreesWithLnkInfo) {
  if (!HaveLnkInfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  TTempDir dir;
  for (bool unicode : {false, true}) {
    for (bool linkInfo : {true, false}) {
      SCOPED_TRACE(std::string(unicode ? "Unicode" : "ANSI") + (linkInfo ? " with" : " without") +
                   " LinkInfo");
      fixtures::TLnkContent content;
      content.unicode = unicode;
      content.linkInfo = linkInfo;
      content.localBasePath = Sjis("C:\\ツール\\表計算.exe");
      content.description = Sjis("表計算");
      content.relativePath = "..\\x.exe";
      content.workingDir = Sjis("C:\\作業");
      content.arguments = "-a -b";
      content.iconLocation = "C:\\icons.dll";
      content.iconIndex = 5;
      content.fileSize = 4096;
      const std::string path = dir.File("fixture.lnk");
      WriteFile(path, fixtures::LnkBytes(content));
      auto ours = ReadLnkFile(path);
      ASSERT_TRUE(ours);
      auto theirs = LnkInfoOf(path);
      ASSERT_FALSE(theirs.empty()) << "lnkinfo printed nothing";
      auto utf8 = [](const std::string& s) { return sjis::ToUtf8(s).value_or("?"); };
      EXPECT_EQ(theirs["File size"], std::to_string(ours->fileSize) + " bytes");
      EXPECT_EQ(theirs["Icon index"], std::to_string(ours->iconIndex));
      EXPECT_EQ(theirs["Description"], utf8(ours->description));
      EXPECT_EQ(theirs["Relative path"], utf8(ours->relativePath));
      EXPECT_EQ(theirs["Working directory"], utf8(ours->workingDir));
      EXPECT_EQ(theirs["Command line arguments"], utf8(ours->arguments));
      EXPECT_EQ(theirs["Icon location"], utf8(ours->iconLocation));
      if (linkInfo)
        EXPECT_EQ(theirs["Local path"], utf8(ours->target));
      else
        EXPECT_EQ(theirs.count("Local path"), 0u);
    }
  }
}
