// The readers of shortcut files on their bytes: .lnk (ANSI and Unicode, with and
// without LinkInfo), .pif, .url and .desktop; damaged and truncated input.
#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "DesktopEntryReader.h"
#include "InternetShortcut.h"
#include "LnkReader.h"
#include "PifReader.h"
#include "ShellFixtures.h"
#include "TestSupport.h"

using fixtures::LnkBytes;
using fixtures::TLnkContent;
using testing_support::Sjis;

namespace {

// A link of every string, with a target whose 表 has "\" as its second byte.
TLnkContent FullContent(bool unicode) {
  TLnkContent content;
  content.unicode = unicode;
  content.localBasePath = Sjis("C:\\ツール\\表計算.exe");
  content.description = Sjis("表計算ソフト");
  content.relativePath = Sjis("..\\ツール\\表計算.exe");
  content.workingDir = Sjis("C:\\ツール\\");
  content.arguments = "/n \"a b\"";
  content.iconLocation = "C:\\WINDOWS\\system32\\shell32.dll";
  content.iconIndex = 12;
  content.showCommand = 3;
  content.hotKey = 0x0641;
  content.fileSize = 123456;
  return content;
}

void ExpectFields(const TShellLink& link, const TLnkContent& content) {
  EXPECT_EQ(link.target, content.localBasePath);
  EXPECT_EQ(link.description, content.description);
  EXPECT_EQ(link.relativePath, content.relativePath);
  EXPECT_EQ(link.workingDir, content.workingDir);
  EXPECT_EQ(link.arguments, content.arguments);
  EXPECT_EQ(link.iconLocation, content.iconLocation);
  EXPECT_EQ(link.iconIndex, content.iconIndex);
  EXPECT_EQ(link.showCommand, content.showCommand);
  EXPECT_EQ(link.hotKey, content.hotKey);
  EXPECT_EQ(link.fileSize, content.fileSize);
}

}  // namespace

TEST(LnkReader, ReadsEveryFieldOfAnAnsiAndAUnicodeLink) {
  for (bool unicode : {false, true}) {
    SCOPED_TRACE(unicode ? "Unicode" : "ANSI");
    TLnkContent content = FullContent(unicode);
    auto link = ReadLnk(LnkBytes(content));
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(link->hasLinkInfo);
    ExpectFields(*link, content);
  }
}

TEST(LnkReader, JoinsBasePathAndSuffixAndPrefersTheNetworkShare) {
  TLnkContent content;
  content.localBasePath = Sjis("Z:\\");
  content.pathSuffix = Sjis("共有\\表.txt");
  auto local = ReadLnk(LnkBytes(content));
  ASSERT_TRUE(local);
  EXPECT_EQ(local->target, Sjis("Z:\\共有\\表.txt"));

  content.localBasePath = Sjis("Z:\\表");  // ends in the byte "\" of 表, not a delimiter
  content.pathSuffix = "a.txt";
  EXPECT_EQ(ReadLnk(LnkBytes(content))->target, Sjis("Z:\\表\\a.txt"));

  content.network = true;
  content.netName = "\\\\server\\share";
  content.pathSuffix = "dir\\a.txt";
  EXPECT_EQ(ReadLnk(LnkBytes(content))->target, "\\\\server\\share\\dir\\a.txt");
}

TEST(LnkReader, WithoutLinkInfoTakesTheEnvironmentTargetOrNone) {
  for (bool unicode : {false, true}) {
    TLnkContent content = FullContent(unicode);
    content.linkInfo = false;
    auto bare = ReadLnk(LnkBytes(content));
    ASSERT_TRUE(bare) << unicode;
    EXPECT_FALSE(bare->hasLinkInfo);
    EXPECT_EQ(bare->target, "");
    EXPECT_EQ(bare->arguments, content.arguments);

    content.environmentTarget = Sjis("%windir%\\表.exe");
    auto expanded = ReadLnk(LnkBytes(content));
    ASSERT_TRUE(expanded) << unicode;
    EXPECT_EQ(expanded->target, content.environmentTarget);
    EXPECT_EQ(expanded->iconLocation, content.iconLocation);
  }
}

TEST(LnkReader, EveryTruncationAndDamageIsRefusedWithoutReadingOutside) {
  for (bool unicode : {false, true}) {
    TLnkContent content = FullContent(unicode);
    content.environmentTarget = "%x%";
    std::string whole = LnkBytes(content);
    ASSERT_TRUE(ReadLnk(whole));
    // Up to the terminal block every cut loses data the link says it has.
    for (std::size_t n = 0; n + 4 < whole.size(); ++n) {
      // A copy of exactly n bytes, so that a read past them is caught by the sanitizers.
      std::string cut = whole.substr(0, n);
      EXPECT_FALSE(ReadLnk(cut)) << "length " << n;
    }
  }
  std::string bad = LnkBytes(FullContent(false));
  bad[4] = 0x02;  // another class id
  EXPECT_FALSE(ReadLnk(bad));
  EXPECT_FALSE(IsLnkHeader(bad));

  std::string huge = LnkBytes(FullContent(false));
  fixtures::Set32(huge, 0x4C + 2 + 0x16, 0xFFFFFFF0u);  // the LinkInfo's size
  EXPECT_FALSE(ReadLnk(huge));
}

TEST(LnkReader, AUnicodePathCp932CannotHoldIsRefusedButADescriptionIsDropped) {
  TLnkContent content = FullContent(true);
  std::string bytes = LnkBytes(content);
  // The last path of the link (its icon location) starts with U+AC00 (Hangul).
  const std::string wide("C\0:\0\\\0", 6);
  std::size_t at = bytes.rfind(wide);
  ASSERT_NE(at, std::string::npos);
  std::string badPath = bytes;
  badPath[at] = '\x00';
  badPath[at + 1] = '\xAC';
  EXPECT_FALSE(ReadLnk(badPath));

  content.iconLocation.clear();
  content.workingDir.clear();
  content.arguments.clear();
  content.relativePath.clear();
  content.description = "ab";
  bytes = LnkBytes(content);
  at = bytes.rfind(std::string("a\0b\0", 4));
  bytes[at + 1] = '\xAC';
  auto link = ReadLnk(bytes);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->description, "");
  EXPECT_EQ(link->target, content.localBasePath);
}

TEST(LnkReader, ShowCommandsOtherThanMaximisedAndMinimisedAreNormal) {
  EXPECT_EQ(ShowCommandOf(3), 3);
  EXPECT_EQ(ShowCommandOf(7), 7);
  for (std::uint32_t other : {0u, 1u, 2u, 5u, 0xFFFFFFFFu})
    EXPECT_EQ(ShowCommandOf(other), 1);
}

TEST(PifReader, ReadsTheFixedFields) {
  auto pif = ReadPif(
      fixtures::PifBytes(Sjis("日本語ＤＯＳ"), "C:\\DOS\\EDIT.COM", "C:\\DOS", "/H readme.txt"));
  ASSERT_TRUE(pif);
  EXPECT_EQ(pif->title, Sjis("日本語ＤＯＳ"));
  EXPECT_EQ(pif->program, "C:\\DOS\\EDIT.COM");
  EXPECT_EQ(pif->startDir, "C:\\DOS");
  EXPECT_EQ(pif->params, "/H readme.txt");
}

TEST(PifReader, RefusesShortFilesEmptyProgramsAndControlCharacters) {
  std::string good = fixtures::PifBytes("t", "A.EXE", "", "");
  EXPECT_TRUE(ReadPif(good.substr(0, 0x171)));
  EXPECT_FALSE(ReadPif(good.substr(0, 0x170)));
  EXPECT_FALSE(ReadPif(fixtures::PifBytes("t", "", "C:\\", "")));
  EXPECT_FALSE(ReadPif(fixtures::PifBytes("t", "A.EXE", "C:\\\r\n", "")));
  // A program field without its NUL ends at the field's end.
  std::string full = good;
  full.replace(0x24, 63, std::string(63, 'P'));
  EXPECT_EQ(ReadPif(full)->program, std::string(63, 'P'));
}

TEST(InternetShortcut, ReadsTheFirstUrlAndIconLinesWhateverTheirCaseOrSection) {
  auto info = ParseInternetShortcut(
      "[Other]\r\nurl=http://first/\r\n[InternetShortcut]\r\nURL=http://second/\r\n"
      "ICONFILE=C:\\a.ico\r\niconindex= 4\r\n\x1a"
      "IconFile=ignored\r\n");
  EXPECT_EQ(info.url, "http://first/");
  EXPECT_EQ(info.iconFile, "C:\\a.ico");
  EXPECT_EQ(info.iconIndex, " 4");
  auto none = ParseInternetShortcut("[InternetShortcut]\nURLX=x\n URL=y\nURL\n");
  EXPECT_EQ(none.url, "");
  EXPECT_EQ(ParseInternetShortcut(std::string("URL=a\0b\n", 8)).url, "a");
}

TEST(DesktopEntryReader, PrefersJapaneseNamesAndReadsOnlyItsGroup) {
  auto entry = ReadDesktopEntry(
      "# comment\n[Desktop Entry]\nType=Application\nName=Editor\nName[de]=Bearbeiter\n"
      "Name[ja]=エディター\nComment=Edit\\stext\nComment[ja_JP.UTF-8]=テキスト編集\n"
      "Exec=editor --new %U\nPath=/tmp\nIcon=accessories-text-editor\n"
      "[Desktop Action New]\nName=New\nExec=other\n");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->type, "Application");
  EXPECT_EQ(entry->name, "エディター");
  EXPECT_EQ(entry->comment, "テキスト編集");
  EXPECT_EQ(entry->exec, "editor --new %U");
  EXPECT_EQ(entry->path, "/tmp");
  EXPECT_EQ(entry->icon, "accessories-text-editor");

  auto plain = ReadDesktopEntry("[Desktop Entry]\nName = Plain\nComment=a\\sb\\\\c\n");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->name, "Plain");
  EXPECT_EQ(plain->comment, "a b\\c");
  EXPECT_FALSE(ReadDesktopEntry("[Other]\nName=x\n"));
  EXPECT_FALSE(ReadDesktopEntry("[Desktop Entry]\nName=\xff\n"));
}

TEST(DesktopEntryReader, FollowsTheUsersLocaleAndLeavesOutDeletedOrUninstalledEntries) {
  std::optional<std::string> saved;
  if (const char* language = std::getenv("LANGUAGE")) saved = language;
  ::setenv("LANGUAGE", "de", 1);
  auto german =
      ReadDesktopEntry("[Desktop Entry]\nName=Editor\nName[de]=Bearbeiter\nName[ja]=エディター\n");
  saved ? ::setenv("LANGUAGE", saved->c_str(), 1) : ::unsetenv("LANGUAGE");
  ASSERT_TRUE(german);
  EXPECT_EQ(german->name, "Bearbeiter");
  EXPECT_FALSE(ReadDesktopEntry("[Desktop Entry]\nName=x\nHidden=true\n"));
  EXPECT_FALSE(ReadDesktopEntry("[Desktop Entry]\nName=x\nTryExec=pello-no-such-program\n"));
  EXPECT_TRUE(ReadDesktopEntry("[Desktop Entry]\nName=x\nTryExec=sh\nNoDisplay=true\n"));
}

TEST(DesktopEntryReader, SplitsExecWithoutFieldCodes) {
  auto args = SplitExec("\"/opt/my app/run\" --file=%f %U -x \"a \\\"q\\\"\" 100%% %i");
  ASSERT_TRUE(args);
  EXPECT_EQ(*args,
            (std::vector<std::string>{"/opt/my app/run", "--file=", "-x", "a \"q\"", "100%"}));
  EXPECT_EQ(JoinArguments(*args, 1), "--file= -x \"a \\\"q\\\"\" 100%");
  EXPECT_FALSE(SplitExec("run \"open"));
  EXPECT_EQ(SplitExec("")->size(), 0u);
}
