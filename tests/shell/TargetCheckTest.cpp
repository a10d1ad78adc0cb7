// CheckButtonTargets over real files: targets that exist, targets that are
// missing and why, and paths that cannot be checked here.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "LinkClassify.h"
#include "ShiftJis.h"
#include "TargetCheck.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

TLaunchDataItem Button(std::uint8_t kind, std::string link, std::string altLink = "") {
  TLaunchDataItem item;
  item.Kind = kind;
  item.Link = std::move(link);
  item.AltLink = std::move(altLink);
  return item;
}

// Each finding as "M|U field path why", the path shown in UTF-8.
std::vector<std::string> Findings(const TLaunchDataItem& item) {
  std::vector<std::string> out;
  for (const TTargetFinding& f : CheckButtonTargets(item))
    out.push_back(std::string(f.Group == TTargetFinding::TGroup::Missing ? "M " : "U ") +
                  f.Field.toStdString() + " " + sjis::ToUtf8ForDisplay(f.Path) + " " +
                  f.Why.toStdString());
  return out;
}

using TLines = std::vector<std::string>;

}  // namespace

TEST(TargetCheck, TargetsThatExistGiveNoFinding) {
  TTempDir dir;
  const std::string app = dir.File("app"), table = dir.File("表"), fifo = dir.File("pipe");
  WriteFile(app, "#!/bin/sh\n");
  std::filesystem::create_directory(table);
  WriteFile(table + "/日本語.txt", "x");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  TLaunchDataItem program = Button(1, app);
  program.WorkDir = dir.Path().string() + "/";
  program.IconFile = "accessories-text-editor";  // a theme name
  EXPECT_EQ(Findings(program), TLines{});
  program.IconFile = "C:\\WINDOWS\\system32\\SHELL32.dll";  // a stand-in's library
  EXPECT_EQ(Findings(program), TLines{});
  program.IconFile = app;
  EXPECT_EQ(Findings(program), TLines{});

  // 表 ends in the byte of "\": still a path of this machine, and found.
  EXPECT_EQ(Findings(Button(3, Sjis(table))), TLines{});
  EXPECT_EQ(Findings(Button(2, Sjis(table + "/日本語.txt"))), TLines{});
  // A pipe exists; it is looked at, never opened (opening it would wait for a writer).
  EXPECT_EQ(Findings(Button(2, fifo)), TLines{});
  // A shortcut to a folder, and an advertised one whose target is the installer's store.
  EXPECT_EQ(Findings(Button(6, app, Sjis(table))), TLines{});
  EXPECT_EQ(Findings(Button(6, app, "C:\\WINDOWS\\Installer\\{1234}\\a.exe")), TLines{});
  // A desktop entry's program, found on PATH as the desktop finds it.
  const std::string entry = dir.File("sh.desktop");
  WriteFile(entry, "[Desktop Entry]\nType=Application\nName=Sh\nExec=sh -c true\n");
  EXPECT_EQ(Findings(Button(6, entry, "sh")), TLines{});

  TLaunchDataItem none = Button(0, "/nowhere");
  none.WorkDir = "/nowhere";
  EXPECT_EQ(Findings(none), TLines{});
}

TEST(TargetCheck, MissingTargetsNameTheFieldAndWhy) {
  TTempDir dir;
  const std::string d = dir.Path().string(), file = dir.File("file");
  WriteFile(file, "x");

  TLaunchDataItem program = Button(1, d + "/gone.exe");
  program.WorkDir = d + "/gone";
  program.IconFile = d + "/gone.ico";
  EXPECT_EQ(Findings(program), (TLines{"M リンク先 " + d + "/gone.exe ファイルがありません",
                                       "M 作業フォルダ " + d + "/gone フォルダがありません",
                                       "M アイコン " + d + "/gone.ico ファイルがありません"}));
  EXPECT_EQ(Findings(Button(3, d + "/gone")),
            TLines{"M リンク先 " + d + "/gone フォルダがありません"});
  EXPECT_EQ(Findings(Button(3, file)), TLines{"M リンク先 " + file + " フォルダではありません"});
  EXPECT_EQ(Findings(Button(2, d)), TLines{"M リンク先 " + d + " ファイルではなくフォルダです"});
  EXPECT_EQ(Findings(Button(1, "")), TLines{"M リンク先  リンク先が空です"});

  // Japanese names, 表 among them (its second byte is that of "\").
  EXPECT_EQ(Findings(Button(2, Sjis(d + "/表計算.txt"))),
            TLines{"M リンク先 " + d + "/表計算.txt ファイルがありません"});

  // A shortcut whose target is gone; a desktop entry whose program is on no PATH.
  EXPECT_EQ(
      Findings(Button(6, file, d + "/gone/app")),
      TLines{"M ショートカットのリンク先 " + d + "/gone/app ショートカットのリンク先がありません"});
  const std::string entry = dir.File("lost.desktop");
  WriteFile(entry, "[Desktop Entry]\nType=Application\nName=Lost\nExec=pello-no-such-program\n");
  TLaunchDataItem shortcut;
  ASSERT_TRUE(ClassifyPath(entry, shortcut));
  EXPECT_EQ(Findings(shortcut), TLines{"M ショートカットのリンク先 pello-no-such-program "
                                       "ショートカットのリンク先がありません"});
  EXPECT_EQ(
      Findings(Button(6, d + "/gone.lnk", "C:\\a.exe")),
      (TLines{
          "M リンク先 " + d + "/gone.lnk ファイルがありません",
          "U ショートカットのリンク先 C:\\a.exe この環境では確認できません（Windows のパス）"}));

  // Bytes that are not CP932, and a NUL that would cut the path short.
  EXPECT_EQ(Findings(Button(1, "/tmp/\x81")),
            TLines{"M リンク先 /tmp/\\x81 パスに CP932 として読めないバイトがあります"});
  const std::string nul = file + std::string("\0x", 2);
  EXPECT_EQ(Findings(Button(1, nul)), TLines{"M リンク先 " + nul + " パスに NUL 文字があります"});
}

TEST(TargetCheck, SpecialFoldersUrlsAndWindowsPathsCannotBeCheckedHere) {
  EXPECT_EQ(Findings(Button(4, "rfPersonal")),
            TLines{"U リンク先 rfPersonal この環境では確認できません（特殊フォルダ）"});
  EXPECT_EQ(Findings(Button(4, "rfNowhere")),
            TLines{"M リンク先 rfNowhere 特殊フォルダの名前ではありません"});

  TLaunchDataItem url = Button(7, "http://example.org/", "/nowhere/x.url");
  url.IconFile = "URL.DLL";
  EXPECT_EQ(
      Findings(url),
      (TLines{"U リンク先 http://example.org/ この環境では確認できません（インターネット "
              "ショートカット）",
              "M インターネット ショートカットのファイル /nowhere/x.url ファイルがありません"}));
  // A desktop link entry keeps its URL as the target.
  EXPECT_EQ(
      Findings(Button(6, "/etc/hosts", "https://example.org/")),
      TLines{"U ショートカットのリンク先 https://example.org/ この環境では確認できません（URL）"});

  TLaunchDataItem windows = Button(1, "C:\\Tools\\app.exe");
  windows.WorkDir = "\\\\server\\share";
  windows.IconFile = "%ProgramFiles%\\Tools\\app.ico";
  const std::string why = "この環境では確認できません（Windows のパス）";
  EXPECT_EQ(Findings(windows), (TLines{"U リンク先 C:\\Tools\\app.exe " + why,
                                       "U 作業フォルダ \\\\server\\share " + why,
                                       "U アイコン %ProgramFiles%\\Tools\\app.ico " + why}));
  // 表's second byte is that of "\", but not a delimiter: relative, not Windows.
  EXPECT_EQ(Findings(Button(2, Sjis("表計算.txt"))),
            TLines{"U リンク先 表計算.txt この環境では確認できません（相対パス）"});
  EXPECT_EQ(Findings(Button(2, "docs/readme.txt")),
            TLines{"U リンク先 docs/readme.txt この環境では確認できません（相対パス）"});
}
