// Button icons and their sources, special folders, shell items, and handing
// targets to the file manager.
#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "IconFiles.h"
#include "IconTheme.h"
#include "ItemIcons.h"
#include "RootFolder.h"
#include "ShellFixtures.h"
#include "ShellFolders.h"
#include "ShellIcons.h"
#include "ShellItem.h"
#include "ShellProperties.h"
#include "ShellTestEnvironment.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

TLaunchDataItem Item(std::uint8_t kind, std::string link, std::string iconFile = "",
                     std::int32_t iconIndex = 0) {
  TLaunchDataItem item;
  item.Kind = kind;
  item.Link = std::move(link);
  item.IconFile = std::move(iconFile);
  item.IconIndex = iconIndex;
  return item;
}

qint64 KeyOf(const TLaunchDataItem& item) {
  return GetItemIcon(item).cacheKey();
}

// Receives the URLs the desktop would open, in place of a file manager.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public Q_SLOTS:
  void open(const QUrl& url) { urls << url; }
};

}  // namespace

TEST(ItemIcons, EachKindTakesItsIconFromTheRightSource) {
  TTempDir dir;
  WriteFile(dir.File("app.exe"), fixtures::SamplePe());
  WriteFile(dir.File("memo.txt"), "text\n");
  const qint64 unknown = ShellIcon(0).cacheKey();

  EXPECT_EQ(KeyOf(Item(lkNone, "")), PlaceholderIcon().cacheKey());
  EXPECT_EQ(KeyOf(Item(lkProgram, dir.File("app.exe"))),
            ExtractIconFrom(dir.File("app.exe"), 0).cacheKey())
      << "a program shows its own first icon";
  EXPECT_EQ(KeyOf(Item(lkProgram, dir.File("missing.exe"), dir.File("app.exe"), 2)),
            ExtractIconFrom(dir.File("app.exe"), 2).cacheKey());
  EXPECT_EQ(KeyOf(Item(lkDocument, dir.File("memo.txt"))), ThemeIcon("text-x-generic").cacheKey());
  EXPECT_EQ(KeyOf(Item(lkFolder, dir.Path().string())), ThemeIcon("folder").cacheKey());
  EXPECT_EQ(KeyOf(Item(lkProgram, "C:\\Tools\\app.exe")), unknown);
  EXPECT_EQ(KeyOf(Item(lkSpecialFolder, "RFPRINTERS")), ThemeIcon("printer").cacheKey());
  EXPECT_EQ(KeyOf(Item(lkSpecialFolder, "rfNowhere")), PlaceholderIcon().cacheKey());
  EXPECT_EQ(KeyOf(Item(lkSpecialFolder, "rfPrinters", "shell32.dll", 3)),
            ThemeIcon("folder").cacheKey());
  EXPECT_EQ(KeyOf(Item(lkInternetShortcut, "http://x/", "URL.DLL")),
            ThemeIcon("text-html").cacheKey());
  EXPECT_EQ(KeyOf(Item(lkInternetShortcut, "http://x/")), unknown);

  TLaunchDataItem shortcut = Item(lkShortcut, dir.File("menu.lnk"));
  shortcut.AltLink = dir.File("app.exe");
  EXPECT_EQ(KeyOf(shortcut), ExtractIconFrom(dir.File("app.exe"), 0).cacheKey());
  shortcut.AltLink = "C:\\WINDOWS\\Installer\\{1234}\\app.ico";
  EXPECT_EQ(KeyOf(shortcut), unknown) << "an advertised shortcut shows the (missing) file itself";
}

TEST(ItemIcons, ButtonsOnOneSourceShareOneImage) {
  TTempDir dir;
  WriteFile(dir.File("app.exe"), fixtures::SamplePe());
  TLaunchDataItem a = Item(lkProgram, dir.File("app.exe"));
  TLaunchDataItem b = a;
  b.Title = "another button";
  EXPECT_EQ(KeyOf(a), KeyOf(b));
  // Once seen, a source is not looked up on disk again.
  std::filesystem::remove(dir.File("app.exe"));
  EXPECT_EQ(KeyOf(a), KeyOf(b));
  EXPECT_NE(KeyOf(a), ShellIcon(0).cacheKey());
  // Another target shows its own icon, even when its path starts as a seen one does.
  WriteFile(dir.File("app.exe.txt"), "text\n");
  b.Link = dir.File("app.exe.txt");
  EXPECT_EQ(KeyOf(b), ThemeIcon("text-x-generic").cacheKey());
  EXPECT_NE(KeyOf(a), KeyOf(b));
}

TEST(ItemIcons, IconSourcesNameTheFileAndIndexShown) {
  std::string file = "unchanged";
  std::int32_t index = 77;
  GetItemIconSource(Item(lkSpecialFolder, "rfPrinters"), file, index);
  EXPECT_EQ(file, "C:\\WINDOWS\\system32\\shell32.dll");
  EXPECT_EQ(index, 0);
  GetItemIconSource(Item(lkSpecialFolder, "rfDesktop"), file, index);
  EXPECT_EQ(file, SpecialFolderPath(rfDesktop)) << "a path that is not a folder (yet)";
  std::filesystem::create_directories(SpecialFolderPath(rfDesktop));
  GetItemIconSource(Item(lkSpecialFolder, "rfDesktop"), file, index);
  EXPECT_EQ(file, "C:\\WINDOWS\\system32\\shell32.dll");
  QIcon none = GetItemIconSource(Item(lkSpecialFolder, "rfNowhere"), file, index);
  EXPECT_EQ(file, "");
  EXPECT_EQ(none.cacheKey(), PlaceholderIcon().cacheKey());

  GetItemIconSource(Item(lkInternetShortcut, "http://x/", "", 4), file, index);
  EXPECT_EQ(file, "");
  EXPECT_EQ(index, 4);
  GetItemIconSource(Item(lkProgram, "C:\\a.exe", "C:\\b.dll", -3), file, index);
  EXPECT_EQ(file, "C:\\b.dll");
  EXPECT_EQ(index, -3);

  TTempDir dir;
  WriteFile(dir.File("memo.txt"), "text\n");
  file = "unchanged";
  GetItemIconSource(Item(lkDocument, dir.File("memo.txt")), file, index);
  EXPECT_EQ(file, "text-x-generic");
  EXPECT_EQ(index, 0);
  file = "unchanged";
  index = 5;
  GetItemIconSource(Item(lkNone, ""), file, index);
  EXPECT_EQ(file, "unchanged");
  EXPECT_EQ(index, 5);

  TLaunchDataItem shortcut = Item(lkShortcut, "C:\\menu\\a.lnk", "", 2);
  shortcut.AltLink = "C:\\Program Files\\a\\a.exe";
  GetItemIconSource(shortcut, file, index);
  EXPECT_EQ(file, shortcut.AltLink);
  EXPECT_EQ(index, 2);
}

TEST(SpecialFolders, PlacesHerePathsEndInASlashVirtualFoldersHaveNone) {
  const std::string root = shell_test::DesktopFolder().string();
  EXPECT_EQ(SpecialFolderPath(rfDesktop), root + "/home/Desktop/");
  EXPECT_EQ(SpecialFolderPath(rfDesktopDirectory), root + "/home/Desktop/");
  EXPECT_EQ(SpecialFolderPath(rfPersonal), root + "/home/Documents/");
  EXPECT_EQ(SpecialFolderPath(rfAppData), root + "/config/");
  EXPECT_EQ(SpecialFolderPath(rfStartup), root + "/config/autostart/");
  EXPECT_EQ(SpecialFolderPath(rfPrograms), root + "/data/applications/");
  EXPECT_EQ(SpecialFolderPath(rfCommonPrograms), root + "/share/applications/");
  EXPECT_EQ(SpecialFolderPath(rfCommonStartup), root + "/etc-xdg/autostart/");
  EXPECT_EQ(SpecialFolderPath(rfInternetCache), root + "/cache/");
  for (int ord : {rfMyComputer, rfNetwork, rfRecycleBin, rfControlPanel, rfPrinters, rfInternet})
    EXPECT_EQ(SpecialFolderPath(ord), "") << ord;
  EXPECT_EQ(SpecialFolderPath(-1), "");
  EXPECT_EQ(SpecialFolderPath(kRootFolderCount), "");
  EXPECT_EQ(SpecialFolderAt(root + "/config"), rfAppData);
  EXPECT_EQ(SpecialFolderAt("/nowhere"), -1);
}

TEST(SpecialFolders, SystemProgramsAreTheFirstExistingApplicationsFolderOfTheList) {
  const std::string root = shell_test::DesktopFolder().string();
  const std::string saved = std::getenv("XDG_DATA_DIRS");
  ::setenv("XDG_DATA_DIRS", (root + "/home:relative:" + root + "/share").c_str(), 1);
  EXPECT_EQ(SpecialFolderPath(rfCommonPrograms), root + "/share/applications/");
  ::unsetenv("XDG_DATA_DIRS");
  const bool local = std::filesystem::is_directory("/usr/local/share/applications") ||
                     !std::filesystem::is_directory("/usr/share/applications");
  EXPECT_EQ(SpecialFolderPath(rfCommonPrograms),
            local ? "/usr/local/share/applications/" : "/usr/share/applications/");
  ::setenv("XDG_DATA_DIRS", saved.c_str(), 1);
}

TEST(SpecialFolders, EveryFolderHasANameAndAnIcon) {
  for (int ord = 0; ord < kRootFolderCount; ++ord) {
    auto item = RootFolderPidl(ord);
    ASSERT_TRUE(item) << ord;
    EXPECT_FALSE(DisplayNameOf(item).isEmpty()) << ord;
    EXPECT_NE(DisplayNameOf(item), "UnTitled") << ord;
    EXPECT_FALSE(PidlIcon(item).isNull()) << ord;
    EXPECT_NE(PidlIcon(item).cacheKey(), ShellIcon(0).cacheKey()) << ord;
  }
  EXPECT_EQ(DisplayNameOf(RootFolderPidl(rfPrinters)), "プリンター");
  EXPECT_EQ(DisplayNameOf(RootFolderPidl(rfRecycleBin)), "ごみ箱");
  EXPECT_FALSE(RootFolderPidl(-1));
  EXPECT_FALSE(RootFolderPidl(26));
  EXPECT_EQ(DisplayNameOf(std::nullopt), "UnTitled");
  EXPECT_EQ(PidlIcon(std::nullopt).cacheKey(), ShellIcon(0).cacheKey());
}

TEST(ShellItems, PathsAreItemsOnlyWhereSomethingExists) {
  TTempDir dir;
  WriteFile(dir.File("site.url"), "URL=http://x/\n");
  WriteFile(dir.File("app.desktop"), "[Desktop Entry]\nName[ja]=アプリ\nIcon=folder\n");
  EXPECT_FALSE(PathToPidl(dir.File("missing")));
  EXPECT_FALSE(PathToPidl(""));
  EXPECT_EQ(DisplayNameOf(PathToPidl(dir.File("site.url"))), "site");
  EXPECT_EQ(DisplayNameOf(PathToPidl(dir.File("app.desktop"))), "アプリ");
  EXPECT_EQ(PidlIcon(PathToPidl(dir.File("app.desktop"))).cacheKey(),
            ThemeIcon("folder").cacheKey());
  EXPECT_EQ(PidlIcon(PathToPidl(dir.File("site.url"))).cacheKey(),
            ThemeIcon("text-html").cacheKey());
}

TEST(ShellProperties, ReportsWhatTheDesktopCouldNotDo) {
  TTempDir dir;
  EXPECT_TRUE(ShowItemProperties(Item(lkNone, "")));
  EXPECT_FALSE(ShowItemProperties(Item(lkProgram, "C:\\Tools\\app.exe")));
  EXPECT_FALSE(ShowItemProperties(Item(lkSpecialFolder, "rfPrinters")));
  EXPECT_FALSE(ShowItemProperties(Item(lkSpecialFolder, "rfNowhere")));
  // No file manager answers on the test desktop's (missing) session bus.
  EXPECT_FALSE(ShowItemProperties(Item(lkFolder, dir.Path().string())));

  TUrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  EXPECT_FALSE(OpenFolder("C:\\Tools\\"));
  EXPECT_FALSE(OpenFolder(dir.File("missing/")));
  EXPECT_TRUE(OpenFolder(Sjis(dir.Path().string() + "/")));
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_EQ(catcher.urls[0].toLocalFile().toStdString(), dir.Path().string() + "/");
}

#include "ItemIconsTest.moc"
