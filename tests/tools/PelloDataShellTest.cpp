// Runs pellodata's desktop subcommands, classify and icons, in a desktop of the
// test's own (home and XDG folders in a temporary folder, one program registered
// for plain text), and checks their output and exit status.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "ShellFixtures.h"
#include "TestSupport.h"
#include "ToolRunner.h"

using testing_support::CrLf;
using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::Sjis;
using testing_support::TRun;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

// A desktop of its own: the plain-text program of a bare machine is ours.
class TDesktop {
 public:
  TDesktop() {
    for (const char* name : {"home", "data/applications", "config", "cache", "share", "run"})
      std::filesystem::create_directories(dir_.Path() / name);
    std::filesystem::permissions(dir_.Path() / "run", std::filesystem::perms::owner_all);
    std::ofstream(dir_.Path() / "data/applications/pello-test-editor.desktop")
        << "[Desktop Entry]\nType=Application\nName=Pello Test Editor\n"
           "Exec=/bin/true %f\nMimeType=text/plain;\n";
    std::ofstream(dir_.Path() / "config/mimeapps.list")
        << "[Default Applications]\ntext/plain=pello-test-editor.desktop\n";
  }

  TRun Run(std::initializer_list<std::string> args) const {
    const std::string root = dir_.Path().string();
    return RunCommand("env HOME=" + ShellQuoted(root + "/home") +
                          " XDG_DATA_HOME=" + ShellQuoted(root + "/data") +
                          " XDG_CONFIG_HOME=" + ShellQuoted(root + "/config") +
                          " XDG_CONFIG_DIRS=" + ShellQuoted(root + "/config") +
                          " XDG_CACHE_HOME=" + ShellQuoted(root + "/cache") +
                          " XDG_RUNTIME_DIR=" + ShellQuoted(root + "/run") +
                          " XDG_DATA_DIRS=" + ShellQuoted(root + "/share:/usr/share") + " " +
                          ShellQuoted(PELLODATA_PATH),
                      args);
  }

 private:
  TTempDir dir_;
};

}  // namespace

TEST(PelloDataShell, ClassifyShowsAProgramAFolderADocumentAndAnInternetShortcut) {
  TDesktop desktop;
  TTempDir dir;
  const std::string url = dir.File("x.url");
  WriteFile(url, "[InternetShortcut]\r\nURL=http://example.org/\r\n");
  auto run = desktop.Run({"classify", "/usr/bin/env", "/etc", "/etc/hosts", url});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out,
            "/usr/bin/env: recognised: 1,0,\"env\",\"/usr/bin/env\",\"\",\"\",\"/usr/bin/\","
            "\"\",0,1,\"\"\n"
            "/etc: recognised: 3,0,\"etc\",\"/etc\",\"\",\"\",\"\",\"\",0,1,\"\"\n"
            "/etc/hosts: recognised: 2,0,\"hosts\",\"/etc/hosts\",\"\",\"\",\"/etc/\",\"\",0,1,"
            "\"\"\n" +
                url + ": recognised: 7,0,\"x\",\"http://example.org/\",\"" + url +
                "\",\"\",\"\",\"URL.DLL\",0,1,\"\"\n");
}

TEST(PelloDataShell, ClassifyReportsWhatItCannotRegister) {
  TDesktop desktop;
  TTempDir dir;
  WriteFile(dir.File("blob.pellozz"), std::string("\0\1\2", 3));
  auto run = desktop.Run({"classify", dir.File("blob.pellozz"), "/usr/bin/env"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            dir.File("blob.pellozz") +
                ": not recognised: 0,0,\"未登録\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"");
  EXPECT_EQ(desktop.Run({"classify"}).status, 2);
}

TEST(PelloDataShell, IconsCountsTheIconsAndListsTheirSizes) {
  TDesktop desktop;
  TTempDir dir;
  WriteFile(dir.File("app.exe"), fixtures::SamplePe());
  WriteFile(dir.File("one.ico"), fixtures::IcoBytes({fixtures::DibBytes(16, 8, Qt::red),
                                                     fixtures::DibBytes(48, 32, Qt::red)}));
  WriteFile(dir.File("text.txt"), "no icons");
  auto program = desktop.Run({"icons", dir.File("app.exe")});
  EXPECT_EQ(program.status, 0) << program.out;
  EXPECT_EQ(program.out, "4 icons\n0: 16x16 32x32\n1: 32x32\n2: 48x48\n3: 64x64\n");
  auto ico = desktop.Run({"icons", dir.File("one.ico")});
  EXPECT_EQ(ico.out, "1 icon\n0: 16x16 48x48\n");
  auto none = desktop.Run({"icons", dir.File("text.txt")});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out.substr(0, 8), "0 icons\n");
  EXPECT_EQ(desktop.Run({"icons"}).status, 2);
}

TEST(PelloDataShell, CheckTargetsListsOneLinePerFindingUnderItsGroup) {
  TDesktop desktop;
  TTempDir dir;
  const std::string d = dir.Path().string();
  WriteFile(dir.File("app"), "#!/bin/sh\n");
  // Page "a": an existing program, a missing one (a tab in its title), a special
  // folder; page "b": a Windows path; then a button owned by no page. Pages by name and
  // buttons from 1, as the editor's list shows them.
  WriteFile(dir.File("t.lst"),
            CrLf("\"PelloRunner\",\"3.00\",\"m\",0,0,1", "**", "\"a\",3,0", "\"b\",1,0", "**",
                 "1,0,\"ok\",\"" + d + "/app\",\"\",\"\",\"" + d + "\",\"\",0,1,\"\"",
                 "1,0,\"x\ty\",\"" + d + "/gone\",\"\",\"\",\"\",\"\",0,1,\"\"",
                 "4,0,\"" + Sjis("文書") + "\",\"rfPersonal\",\"\",\"\",\"\",\"\",0,1,\"\"",
                 "1,0,\"w\",\"C:\\Tools\\app.exe\",\"\",\"\",\"\",\"\",0,1,\"\"",
                 "3,0,\"f\",\"" + d + "/nofolder\",\"\",\"\",\"\",\"\",0,1,\"\"", "**"));
  auto run = desktop.Run({"check", "--targets", dir.File("t.lst")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(
      run.out,
      "# リンク切れ\n"
      "a\t2\tx\\x09y\tリンク先\t" +
          d +
          "/gone\tファイルがありません\n"
          "-\t5\tf\tリンク先\t" +
          d +
          "/nofolder\tフォルダがありません\n"
          "# この環境では確認できません\n"
          "a\t3\t文書\tリンク先\trfPersonal\tこの環境では確認できません（特殊フォルダ）\n"
          "b\t1\tw\tリンク先\tC:\\Tools\\app.exe\tこの環境では確認できません（Windows のパス）\n");

  // What cannot be checked here is listed, but is not a failure; all present is silence.
  WriteFile(dir.File("u.lst"),
            CrLf("\"PelloRunner\",\"3.00\",\"m\",0,0,1", "**", "\"a\",2,0", "**",
                 "7,0,\"u\",\"http://example.org/\",\"\",\"\",\"\",\"URL.DLL\",0,1,\"\"",
                 "1,0,\"ok\",\"" + d + "/app\",\"\",\"\",\"\",\"\",0,1,\"\"", "**"));
  auto uncheckable = desktop.Run({"check", "--targets", dir.File("u.lst")});
  EXPECT_EQ(uncheckable.status, 0);
  EXPECT_EQ(uncheckable.out,
            "# この環境では確認できません\na\t1\tu\tリンク先\thttp://example.org/\t"
            "この環境では確認できません（インターネット ショートカット）\n");

  EXPECT_EQ(desktop.Run({"check", "--targets", dir.File("none.lst")}).status, 2);
  EXPECT_EQ(desktop.Run({"check", "--targets"}).status, 2);
}
