// Icon images, icon files and the icons inside PE files, on bytes and through
// the icon functions that read files by index.
#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

#include "FileIO.h"
#include "IcoReader.h"
#include "IconFiles.h"
#include "IconTheme.h"
#include "PeIconReader.h"
#include "ShellFixtures.h"
#include "ShellIcons.h"
#include "TestSupport.h"

using fixtures::DibBytes;
using fixtures::IcoBytes;
using fixtures::PngBytes;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

QRgb Opaque(QColor c) {
  return qRgba(c.red(), c.green(), c.blue(), 255);
}

QRgb PixelOf(const QIcon& icon, int side, int x, int y) {
  return icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

}  // namespace

TEST(IcoReader, DecodesEveryDepthWithItsMaskAndPngImages) {
  const QColor color(200, 100, 50);
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    QImage image = DecodeIconImage(DibBytes(16, bits, color));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixel(5, 3), Opaque(color));
    EXPECT_EQ(qAlpha(image.pixel(0, 3)), 0) << "the mask (or the alpha) hides the left column";
  }
  QImage png = DecodeIconImage(PngBytes(24, color));
  EXPECT_EQ(png.size(), QSize(24, 24));
  EXPECT_EQ(png.pixel(0, 0), Opaque(color));
}

TEST(IcoReader, A32BitImageWithoutAlphaShowsThroughItsMask) {
  const QColor color(200, 100, 50);
  std::string dib = DibBytes(16, 32, color);
  for (std::size_t i = 40 + 3; i < 40 + 16 * 16 * 4; i += 4)
    dib[i] = 0;
  QImage image = DecodeIconImage(dib);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(5, 3), Opaque(color));
  EXPECT_EQ(qAlpha(image.pixel(0, 3)), 0);
}

TEST(IcoReader, RefusesDamagedImagesAndKeepsTheGoodOnes) {
  std::string dib = DibBytes(32, 8, Qt::red);
  for (std::size_t n = 0; n < dib.size(); n += 7)
    EXPECT_TRUE(DecodeIconImage(dib.substr(0, n)).isNull()) << n;
  std::string wide = dib;
  fixtures::Set32(wide, 4, 100000);  // a width no icon has
  EXPECT_TRUE(DecodeIconImage(wide).isNull());

  std::string ico = IcoBytes({DibBytes(16, 4, Qt::red), "garbage", DibBytes(32, 24, Qt::blue)});
  TIconImages images = ReadIco(ico);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].size(), QSize(16, 16));
  EXPECT_EQ(images[1].size(), QSize(32, 32));
  for (std::size_t n = 0; n < 6 + 3 * 16; ++n)
    EXPECT_TRUE(ReadIco(ico.substr(0, n)).empty()) << n;
  EXPECT_FALSE(IsIcoHeader("\0\0\2\0\1\0"));
}

TEST(PeIconReader, FindsGroupIconsByIndexAndByResourceId) {
  std::string pe = fixtures::SamplePe();
  TMemorySource source(pe);
  TPeIconDirectory directory = TPeIconDirectory::Read(source);
  ASSERT_EQ(directory.Count(), 4);
  TIconImages first = directory.Icon(source, 0);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].size(), QSize(16, 16));
  EXPECT_EQ(first[1].size(), QSize(32, 32));
  EXPECT_EQ(first[1].pixel(8, 8), Opaque(Qt::red));
  EXPECT_EQ(directory.Icon(source, 1).at(0).pixel(8, 8), Opaque(Qt::green));
  EXPECT_EQ(directory.Icon(source, 2).at(0).size(), QSize(48, 48));
  EXPECT_EQ(directory.Icon(source, 3).at(0).pixel(0, 0), Opaque(Qt::yellow));
  EXPECT_EQ(directory.Icon(source, -103).at(0).pixel(8, 8), Opaque(Qt::blue));
  EXPECT_TRUE(directory.Icon(source, 4).empty());
  EXPECT_TRUE(directory.Icon(source, -1).empty());
  EXPECT_TRUE(directory.Icon(source, INT32_MIN).empty());
}

TEST(PeIconReader, DamagedFilesHoldNoIconsAndNothingOutsideIsRead) {
  std::string pe = fixtures::SamplePe();
  // Every cut through the headers and the resource tree.
  for (std::size_t n = 0; n < 0x200 + 0x140; n += 3) {
    std::string cut = pe.substr(0, n);
    TMemorySource source(cut);
    TPeIconDirectory directory = TPeIconDirectory::Read(source);
    for (int i = 0; i < directory.Count(); ++i)
      (void)directory.Icon(source, i);
  }
  std::string notPe = pe;
  notPe[0x40] = 'X';
  TMemorySource source(notPe);
  EXPECT_EQ(TPeIconDirectory::Read(source).Count(), 0);
  // A data entry pointing far outside its section.
  std::string far = pe;
  std::size_t entries = 0x200 + 16 + 2 * 8 + 16 + 5 * 8 + 16 + 4 * 8 + 9 * 24;
  fixtures::Set32(far, entries, 0x7FFFFF00);
  TMemorySource farSource(far);
  TPeIconDirectory directory = TPeIconDirectory::Read(farSource);
  EXPECT_EQ(directory.Count(), 4);
  EXPECT_EQ(directory.Icon(farSource, 0).size(), 1u) << "the damaged 16 x 16 image is left out";
}

TEST(IconFiles, ExtractAndCountFromProgramsIconFilesImagesAndNames) {
  TTempDir dir;
  WriteFile(dir.File("app.exe"), fixtures::SamplePe());
  WriteFile(dir.File("one.ico"), IcoBytes({DibBytes(16, 8, Qt::red), DibBytes(32, 32, Qt::red)}));
  WriteFile(dir.File("pic.png"), PngBytes(20, Qt::green));
  WriteFile(dir.File("text.txt"), "hello");
  // An extension says nothing: a program is known by its content.
  WriteFile(dir.File("program.dat"), fixtures::SamplePe());

  EXPECT_EQ(CountIcons(dir.File("app.exe")), 4);
  EXPECT_EQ(CountIcons(dir.File("program.dat")), 4);
  EXPECT_EQ(CountIcons(dir.File("one.ico")), 1);
  EXPECT_EQ(CountIcons(dir.File("pic.png")), 1);
  EXPECT_EQ(CountIcons(dir.File("text.txt")), 0);
  EXPECT_EQ(CountIcons(dir.File("missing.exe")), 0);
  EXPECT_EQ(CountIcons(""), 0);

  EXPECT_EQ(PixelOf(ExtractIconFrom(dir.File("app.exe"), 1), 32, 8, 8), Opaque(Qt::green));
  EXPECT_EQ(PixelOf(ExtractIconFrom(dir.File("app.exe"), -104), 64, 8, 8), Opaque(Qt::yellow));
  QIcon ico = ExtractIconFrom(dir.File("one.ico"), 0);
  EXPECT_EQ(ico.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
  EXPECT_EQ(PixelOf(ExtractIconFrom(dir.File("pic.png"), 0), 20, 1, 1), Opaque(Qt::green));

  const qint64 fallback = ShellIcon(0).cacheKey();
  EXPECT_EQ(ExtractIconFrom(dir.File("one.ico"), 1).cacheKey(), fallback);
  EXPECT_EQ(ExtractIconFrom(dir.File("app.exe"), 9).cacheKey(), fallback);
  EXPECT_EQ(ExtractIconFrom(dir.File("text.txt"), 0).cacheKey(), fallback);
  EXPECT_EQ(ExtractIconFrom("C:\\Program Files\\x\\x.exe", 0).cacheKey(), fallback);
  EXPECT_TRUE(FindIconIn(dir.File("text.txt"), 0).isNull());
}

TEST(IconFiles, ASourceIsReadOnceAndSharedUntilTheCacheIsCleared) {
  TTempDir dir;
  WriteFile(dir.File("app.exe"), fixtures::SamplePe());
  QIcon first = ExtractIconFrom(dir.File("app.exe"), 0);
  std::filesystem::remove(dir.File("app.exe"));
  EXPECT_EQ(ExtractIconFrom(dir.File("app.exe"), 0).cacheKey(), first.cacheKey());
  ClearIconCache();
  EXPECT_EQ(ExtractIconFrom(dir.File("app.exe"), 0).cacheKey(), ShellIcon(0).cacheKey());
}

TEST(IconFiles, WellKnownLibrariesAndThemeNamesShowThemeIcons) {
  ASSERT_TRUE(HasThemeIcon("folder")) << "the Adwaita icon theme is needed";
  EXPECT_EQ(ExtractIconFrom("C:\\WINDOWS\\system32\\SHELL32.dll", 3).cacheKey(),
            ThemeIcon("folder").cacheKey());
  EXPECT_EQ(ExtractIconFrom("shell32.dll", 16).cacheKey(), ThemeIcon("printer").cacheKey());
  EXPECT_EQ(ExtractIconFrom("URL.DLL", 0).cacheKey(), ThemeIcon("text-html").cacheKey());
  EXPECT_EQ(ExtractIconFrom("C:\\WINDOWS\\system32\\mydocs.dll", 0).cacheKey(),
            ThemeIcon("folder-documents").cacheKey());
  EXPECT_EQ(CountIcons("shell32.dll"), 45);
  EXPECT_EQ(CountIcons("URL.DLL"), 1);
  EXPECT_EQ(CountIcons(testing_support::Sjis("表shell32.dll")), 0) << "表 ends in the byte 5C";
  EXPECT_EQ(CountIcons(testing_support::Sjis("C:\\表\\shell32.dll")), 45);
  EXPECT_EQ(ExtractIconFrom("folder", 0).cacheKey(), ThemeIcon("folder").cacheKey());
  EXPECT_EQ(ExtractIconFrom("folder.png", 0).cacheKey(), ThemeIcon("folder").cacheKey());
  EXPECT_EQ(CountIcons("no-such-icon-name"), 0);
}

TEST(ShellIcons, TheShellIconIsNeverNullAndThePlaceholderIsTransparent) {
  for (int n : {0, 3, 44, 45, 1000, -1})
    EXPECT_FALSE(ShellIcon(n).isNull()) << n;
  EXPECT_EQ(ShellIcon(1000).cacheKey(), ShellIcon(0).cacheKey());
  QIcon placeholder = PlaceholderIcon();
  EXPECT_EQ(placeholder.availableSizes(), QList<QSize>{QSize(32, 32)});
  QImage image = placeholder.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
}
