// ClassifyPath over real files: each rule, shortcut files of every kind, and the
// paths that cannot be registered.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "FixedTexts.h"
#include "InternetShortcut.h"
#include "LinkClassify.h"
#include "RecordText.h"
#include "ShellFixtures.h"
#include "Shortcut.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

// A button with every field set, to see what a rule changes and what it keeps.
TLaunchDataItem UsedItem() {
  TLaunchDataItem item;
  item.Kind = lkDocument;
  item.UseCount = 42;
  item.Title = "old";
  item.Link = "old-link";
  item.AltLink = "old-alt";
  item.Params = "old-params";
  item.WorkDir = "old-dir";
  item.IconFile = "old.ico";
  item.IconIndex = 5;
  item.ShowCmd = 7;
  item.Comment = "old comment";
  return item;
}

void MakeExecutable(const std::string& path) {
  ::chmod(path.c_str(), 0755);
}

struct TExpect {
  std::uint8_t kind;
  std::string title, link, workDir;
};

void ExpectSimple(const TLaunchDataItem& item, const TExpect& e) {
  EXPECT_EQ(item.Kind, e.kind);
  EXPECT_EQ(item.Title, e.title);
  EXPECT_EQ(item.Link, e.link);
  EXPECT_EQ(item.WorkDir, e.workDir);
  EXPECT_EQ(item.Params, "");
  EXPECT_EQ(item.IconFile, "");
  EXPECT_EQ(item.IconIndex, 0);
  EXPECT_EQ(item.ShowCmd, 1);
  EXPECT_EQ(item.UseCount, 0);
  EXPECT_EQ(item.Comment, "");
  EXPECT_EQ(item.AltLink, "old-alt") << "only shortcut rules touch AltLink";
}

}  // namespace

TEST(ClassifyPath, FoldersProgramsAndControlPanelFiles) {
  TTempDir dir;
  const std::string base = dir.Path().string() + "/";
  std::filesystem::create_directory(base + "表 folder");
  for (const char* name : {"saver.SCR", "tool.exe", "code.c", "sheet.e", "panel.cpl"})
    WriteFile(base + name, "x");

  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath(base + "表 folder", item));
  ExpectSimple(item, {lkFolder, Sjis("表 folder"), Sjis(base + "表 folder"), ""});

  for (const char* name : {"saver.SCR", "tool.exe", "code.c", "sheet.e"}) {
    SCOPED_TRACE(name);
    item = UsedItem();
    EXPECT_TRUE(ClassifyPath(base + name, item));
    ExpectSimple(item, {lkProgram, name, base + name, base});
  }
  item = UsedItem();
  EXPECT_TRUE(ClassifyPath(base + "panel.cpl", item));
  ExpectSimple(item, {lkControlPanel, "panel.cpl", base + "panel.cpl", ""});
}

// A record field cannot keep a line break; registering such a path would store
// another one.
TEST(ClassifyPath, PathsWithLineBreaksAreRefused) {
  TTempDir dir;
  const std::string base = dir.Path().string() + "/";
  for (const char* name : {"a\nb", "a\rb"}) {
    SCOPED_TRACE(name);
    std::filesystem::create_directory(base + name);
    WriteFile(base + name + "/tool.exe", "x");
    TLaunchDataItem item = UsedItem();
    EXPECT_FALSE(ClassifyPath(base + name, item));
    EXPECT_EQ(item.Kind, lkNone);
    EXPECT_FALSE(ClassifyPath(base + name + "/tool.exe", item)) << "its folder is the WorkDir";
    EXPECT_EQ(item.Link, "");
  }
}

TEST(ClassifyPath, ExecutableElfProgramsAndScriptsAreProgramsOtherFilesAreNot) {
  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath("/usr/bin/env", item));
  ExpectSimple(item, {lkProgram, "env", "/usr/bin/env", "/usr/bin/"});

  TTempDir dir;
  WriteFile(dir.File("script"), "#!/bin/sh\necho\n");
  WriteFile(dir.File("data"), "\x01\x02\x03 not a program");
  WriteFile(dir.File("plain"), "#!/bin/sh\n");
  MakeExecutable(dir.File("script"));
  MakeExecutable(dir.File("data"));  // an execute bit alone (as on a FAT stick) is not enough
  EXPECT_TRUE(ClassifyPath(dir.File("script"), item));
  EXPECT_EQ(item.Kind, lkProgram);
  EXPECT_FALSE(IsProgramFile(dir.File("data")));
  EXPECT_FALSE(IsProgramFile(dir.File("plain")));
  EXPECT_FALSE(ClassifyPath(dir.File("data"), item));
}

TEST(ClassifyPath, DocumentsOfARegisteredTypeAndUnknownFiles) {
  TTempDir dir;
  WriteFile(dir.File("memo.txt"), "plain text\n");
  WriteFile(dir.File("blob.pellozz"), std::string("\x00\x01\x02\xff\xfe", 5));
  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath(dir.File("memo.txt"), item));
  ExpectSimple(item, {lkDocument, "memo.txt", dir.File("memo.txt"), dir.Path().string() + "/"});

  item = UsedItem();
  EXPECT_FALSE(ClassifyPath(dir.File("blob.pellozz"), item));
  ExpectSimple(item, {lkNone, cp932::kUnregistered, "", ""});
  item = UsedItem();
  EXPECT_FALSE(ClassifyPath(dir.File("missing.pellozz"), item));
  EXPECT_EQ(item.Kind, lkNone);
  item = UsedItem();
  EXPECT_FALSE(ClassifyPath(dir.File("missing.txt"), item)) << "a missing file has no program";
  ExpectSimple(item, {lkNone, cp932::kUnregistered, "", ""});
  item = UsedItem();
  EXPECT_TRUE(ClassifyPath(dir.File("missing.exe"), item)) << "programs go by their extension";
  EXPECT_EQ(item.Kind, lkProgram);
}

TEST(ClassifyPath, APathCp932CannotHoldIsNeverRegistered) {
  TTempDir dir;
  std::filesystem::create_directory(dir.File("한국어"));
  WriteFile(dir.File("bad-\xff.txt"), "x");
  WriteFile(dir.File("¥100.exe"), "x");  // CP932 would hold it only as "\100.exe"
  for (std::string path :
       {dir.File("한국어"), dir.File("bad-\xff.txt"), dir.File("¥100.exe"), std::string()}) {
    TLaunchDataItem item = UsedItem();
    EXPECT_FALSE(ClassifyPath(path, item));
    ExpectSimple(item, {lkNone, cp932::kUnregistered, "", ""});
  }
}

TEST(ClassifyPath, LnkShortcutsFillEveryField) {
  for (bool unicode : {false, true}) {
    SCOPED_TRACE(unicode);
    TTempDir dir;
    fixtures::TLnkContent content;
    content.unicode = unicode;
    content.localBasePath = Sjis("C:\\ツール\\表.exe");
    content.description = Sjis("説明");
    content.workingDir = "C:\\work";
    content.arguments = "-x";
    content.iconLocation = "C:\\icons.dll";
    content.iconIndex = -7;
    content.showCommand = 7;
    const std::string path = dir.File("表ツール.LNK");
    WriteFile(path, fixtures::LnkBytes(content));
    TLaunchDataItem item = UsedItem();
    EXPECT_TRUE(ClassifyPath(path, item));
    EXPECT_EQ(item.Kind, lkShortcut);
    EXPECT_EQ(item.Title, Sjis("表ツール"));
    EXPECT_EQ(item.Link, Sjis(path));
    EXPECT_EQ(item.AltLink, content.localBasePath);
    EXPECT_EQ(item.WorkDir, "C:\\work");
    EXPECT_EQ(item.Params, "-x");
    EXPECT_EQ(item.ShowCmd, 7);
    EXPECT_EQ(item.IconFile, "C:\\icons.dll");
    EXPECT_EQ(item.IconIndex, -7);
    EXPECT_EQ(item.Comment, Sjis("説明"));
    EXPECT_EQ(item.UseCount, 0);
  }
}

TEST(ClassifyPath, ADamagedShortcutIsKind6WithOnlyItsLink) {
  TTempDir dir;
  fixtures::TLnkContent content;
  content.localBasePath = "C:\\a.exe";
  std::string bytes = fixtures::LnkBytes(content);
  WriteFile(dir.File("cut.lnk"), bytes.substr(0, bytes.size() - 12));
  WriteFile(dir.File("text.lnk"), "not a link");
  WriteFile(dir.File("x.nk"), "matches .LNK by a part of its extension");
  for (const char* name : {"cut.lnk", "text.lnk", "x.nk", "missing.lnk"}) {
    SCOPED_TRACE(name);
    TLaunchDataItem item = UsedItem();
    EXPECT_FALSE(ClassifyPath(dir.File(name), item));
    EXPECT_EQ(item.Kind, lkShortcut);
    EXPECT_EQ(item.Link, dir.File(name));
    EXPECT_EQ(item.Title, "old");
    EXPECT_EQ(item.AltLink, "old-alt");
    EXPECT_EQ(item.UseCount, 0);
    EXPECT_EQ(item.Comment, "");
  }
}

TEST(ClassifyPath, PifShortcuts) {
  TTempDir dir;
  WriteFile(dir.File("edit.pif"),
            fixtures::PifBytes("MS-DOS Editor", "C:\\DOS\\EDIT.COM", "C:\\DOS", "/H"));
  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath(dir.File("edit.pif"), item));
  EXPECT_EQ(item.Kind, lkShortcut);
  EXPECT_EQ(item.Title, "edit");
  EXPECT_EQ(item.AltLink, "C:\\DOS\\EDIT.COM");
  EXPECT_EQ(item.WorkDir, "C:\\DOS");
  EXPECT_EQ(item.Params, "/H");
  EXPECT_EQ(item.ShowCmd, 1);
  EXPECT_EQ(item.IconFile, "");
  EXPECT_EQ(item.Comment, "MS-DOS Editor");
}

TEST(ClassifyPath, DesktopEntriesAreThisPlatformsShortcuts) {
  TTempDir dir;
  const std::string path = dir.File("editor.desktop");
  WriteFile(path,
            "[Desktop Entry]\nType=Application\nName=Text Editor\nName[ja]=テキスト エディター\n"
            "Comment[ja]=文書を編集\nExec=env --ignore-environment \"a b\" %F\nPath=/srv/work\n"
            "Icon=accessories-text-editor\n");
  MakeExecutable(path);  // trusted launchers carry an execute bit
  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath(path, item));
  EXPECT_EQ(item.Kind, lkShortcut);
  EXPECT_EQ(item.Title, Sjis("テキスト エディター"));
  EXPECT_EQ(item.Link, path);
  EXPECT_EQ(item.AltLink, "/usr/bin/env");
  EXPECT_EQ(item.Params, "--ignore-environment \"a b\"");
  EXPECT_EQ(item.WorkDir, "/srv/work");
  EXPECT_EQ(item.IconFile, "accessories-text-editor");
  EXPECT_EQ(item.IconIndex, 0);
  EXPECT_EQ(item.ShowCmd, 1);
  EXPECT_EQ(item.Comment, Sjis("文書を編集"));

  WriteFile(path, "[Desktop Entry]\nType=Link\nName=Site 😀\nURL=https://example.org/\n");
  EXPECT_TRUE(ClassifyPath(path, item));
  EXPECT_EQ(item.AltLink, "https://example.org/");
  EXPECT_EQ(item.Title, "editor.desktop") << "a name CP932 cannot hold gives the file name";

  WriteFile(path, "[Desktop Entry]\nExec=/opt/한/run\n");
  EXPECT_FALSE(ClassifyPath(path, item));
  EXPECT_EQ(item.Kind, lkShortcut);
}

TEST(ClassifyPath, InternetShortcutsWithAndWithoutAnIcon) {
  TTempDir dir;
  WriteFile(dir.File("site.url"),
            "[InternetShortcut]\r\nURL=http://example.org/\r\nIconFile=C:\\site.ico\r\n"
            "IconIndex=2\r\n");
  WriteFile(dir.File("plain.URL"), "[InternetShortcut]\r\nURL=http://plain/\r\nIconIndex=9\r\n");
  TLaunchDataItem item = UsedItem();
  EXPECT_TRUE(ClassifyPath(dir.File("site.url"), item));
  EXPECT_EQ(item.Kind, lkInternetShortcut);
  EXPECT_EQ(item.Title, "site");
  EXPECT_EQ(item.Link, "http://example.org/");
  EXPECT_EQ(item.AltLink, dir.File("site.url"));
  EXPECT_EQ(item.IconFile, "C:\\site.ico");
  EXPECT_EQ(item.IconIndex, 2);
  EXPECT_EQ(item.Params, "");
  EXPECT_EQ(item.WorkDir, "");
  EXPECT_EQ(item.ShowCmd, 1);

  EXPECT_TRUE(ClassifyPath(dir.File("plain.URL"), item));
  EXPECT_EQ(item.Title, "plain");
  EXPECT_EQ(item.IconFile, "URL.DLL");
  EXPECT_EQ(item.IconIndex, 0);

  TLaunchDataItem untouched = UsedItem();
  EXPECT_FALSE(ReadInternetShortcut(dir.File("missing.url"), untouched));
  EXPECT_EQ(ItemToText(untouched), ItemToText(UsedItem()));
}

TEST(ClassifyPath, ShellNamesDropShortcutExtensionsOnly) {
  EXPECT_EQ(ShellNameOf("/a/b/report.Lnk"), "report");
  EXPECT_EQ(ShellNameOf("/a/b/site.url"), "site");
  EXPECT_EQ(ShellNameOf("/a/b/dos.PIF"), "dos");
  EXPECT_EQ(ShellNameOf("/a/b/notes.txt"), "notes.txt");
  EXPECT_EQ(ShellNameOf("/a/b/folder/"), "folder");
  EXPECT_EQ(ShellNameOf("/"), "/");
  EXPECT_EQ(ShellNameOf("/a/.lnk"), ".lnk");
  TTempDir dir;
  std::filesystem::create_directory(dir.File("links.lnk"));
  EXPECT_EQ(ShellNameOf(dir.File("links.lnk")), "links.lnk") << "a folder keeps its whole name";
}

TEST(Shortcut, AdvertisedShortcutsPointIntoTheInstallerStore) {
  TLaunchDataItem item;
  item.Kind = lkShortcut;
  item.Link = "C:\\menu\\app.lnk";
  item.AltLink = "C:\\WINDOWS\\installer\\{90110411-6000}\\icon.exe";
  EXPECT_TRUE(IsAdvertisedShortcut(item));
  EXPECT_EQ(ShortcutIconPath(item), item.Link);
  item.Kind = lkProgram;
  EXPECT_FALSE(IsAdvertisedShortcut(item));
  item.Kind = lkShortcut;
  item.AltLink = "C:\\Installer\\app.exe";
  EXPECT_FALSE(IsAdvertisedShortcut(item));
  EXPECT_EQ(ShortcutIconPath(item), item.AltLink);
}
