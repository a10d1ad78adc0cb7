#include <gtest/gtest.h>

#include "BinaryDataFixture.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "TestSupport.h"
#include "ValueStream.h"

using testing_support::ReadFile;
using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;
using namespace binary_fixture;

namespace {

struct TResult {
  TLaunchList list;
  std::string error;  // empty when no error was raised
};

TResult Load(const std::string& bytes) {
  TTempDir dir;
  WriteFile(dir.File("b.lst"), bytes);
  TResult r;
  r.list.SetFileName(dir.File("b.lst"));
  try {
    r.list.LoadFromFile();
  } catch (const ELaunchError& e) {
    r.error = e.what();
  }
  return r;
}

}  // namespace

TEST(BinaryDataFile, TheWorkedExampleIsByteForByteWhatTheWriterMakes) {
  const std::string bytes = Example();
  ASSERT_EQ(bytes.size(), 176u);
  EXPECT_EQ(bytes.substr(0, 12), std::string("\x2a\0\0\0\x09\0\0\0\x25\0\0\0", 12));
  EXPECT_EQ(bytes.substr(44, 12), std::string("\x58\0\0\0\x82\0\0\0\x8b\0\0\0", 12));
  EXPECT_EQ(bytes.substr(139, 7), std::string("\x02\x01\x02\x01\x03\x2c\x01", 7));
  EXPECT_EQ(bytes.substr(149, 10),
            "\x06\x08"
            "C:\\A.EXE");
}

TEST(BinaryDataFile, TheWorkedExampleLoads) {
  auto r = Load(Example());
  ASSERT_EQ(r.error, "");
  EXPECT_TRUE(r.list.Loaded);
  ASSERT_EQ(r.list.Pages.Count(), 1);
  EXPECT_EQ(r.list.Pages.Get(0), TPageItem("P", 1, 0));
  ASSERT_EQ(r.list.Count(), 1);
  EXPECT_EQ(r.list.Get(0).Kind, lkProgram);
  EXPECT_EQ(r.list.Get(0).UseCount, 300);
  EXPECT_EQ(r.list.Get(0).Link, "C:\\A.EXE");
  EXPECT_EQ(r.list.Get(0).WorkDir, "C:\\");
  EXPECT_EQ(r.list.Get(0).ShowCmd, 1);
}

TEST(BinaryDataFile, VersionAndApplicationAreChecked) {
  for (const char* ok : {"3.00", "3.10", "3.5", "4"}) {
    auto r = Load(BinaryFile(StatusSection("PelloRunner", ok), PageSection(), ButtonSection()));
    EXPECT_TRUE(r.list.Loaded) << ok;
  }
  for (const char* old : {"2.99", "10.0", ""}) {
    auto r = Load(BinaryFile(StatusSection("PelloRunner", old), PageSection(), ButtonSection()));
    EXPECT_FALSE(r.list.Loaded) << old;
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.list.Status.Version, old) << "the status read stays";
    EXPECT_EQ(r.list.Pages.Get(0).Caption, Sjis("新規ページ")) << "pages untouched";
  }
  auto lower = Load(BinaryFile(StatusSection("pellorunner"), PageSection(), ButtonSection()));
  EXPECT_FALSE(lower.list.Loaded);
}

TEST(BinaryDataFile, EmptyListsAndOtherEncodingsLoad) {
  std::string zero;
  TValueWriter(zero).WriteInteger(0);
  auto r = Load(BinaryFile(StatusSection(), zero, zero));
  EXPECT_TRUE(r.list.Loaded);
  EXPECT_EQ(r.list.Pages.Count(), 0);
  EXPECT_EQ(r.list.Count(), 0);

  // A page caption with tag 12, a count with tag 4, a title in UTF-8 with tag 20.
  std::string pages = std::string("\x02\x01\x0c\x03\0\0\0abc\x04\x01\0\0\0\x02\x00", 17);
  std::string buttons = ButtonSection();
  buttons.replace(buttons.find("\x06\x01"
                               "A"),
                  3, std::string("\x14\x06\0\0\0", 5) + "表示");
  auto mixed = Load(BinaryFile(StatusSection(), pages, buttons));
  ASSERT_EQ(mixed.error, "");
  EXPECT_EQ(mixed.list.Pages.Get(0), TPageItem("abc", 1, 0));
  EXPECT_EQ(mixed.list.Get(0).Title, Sjis("表示"));
}

TEST(BinaryDataFile, SectionsMayLieAnywhere) {
  const std::string st = StatusSection(), pg = PageSection(), bt = ButtonSection();
  // Buttons first, then junk, then pages, then status.
  std::string body = bt + "junk" + pg + st;
  const std::int32_t b0 = 88, p0 = b0 + static_cast<std::int32_t>(bt.size()) + 4,
                     s0 = p0 + static_cast<std::int32_t>(pg.size());
  std::string header = Le32(static_cast<std::int32_t>(st.size())) +
                       Le32(static_cast<std::int32_t>(pg.size())) +
                       Le32(static_cast<std::int32_t>(bt.size())) + std::string(32, '\x7f') +
                       Le32(s0) + Le32(p0) + Le32(b0) + std::string(32, '\x7f');
  auto r = Load(header + body);
  EXPECT_TRUE(r.list.Loaded) << r.error;
  EXPECT_EQ(r.list.Get(0).UseCount, 300);
}

TEST(BinaryDataFile, DamageGivesTheReadErrorAndNeverReadsOutside) {
  const std::string good = Example();
  auto expectReadError = [](const std::string& bytes, const char* what) {
    auto r = Load(bytes);
    EXPECT_EQ(r.error, "ストリームからの読み込みエラー") << what;
    EXPECT_FALSE(r.list.Loaded) << what;
  };
  expectReadError(good.substr(0, 87), "shorter than the header");
  expectReadError(good.substr(0, 175), "last section cut short");
  auto patched = [&](std::size_t at, std::int32_t v) {
    std::string b = good;
    b.replace(at, 4, Le32(v));
    return b;
  };
  expectReadError(patched(0, 0), "size 0");
  expectReadError(patched(4, -9), "negative size");
  expectReadError(patched(52, -1), "negative offset");
  expectReadError(patched(52, 170), "offset past the end");
  expectReadError(patched(8, 0x7fffffff), "size past the end");
  expectReadError(patched(48, 0x7ffffff0), "offset plus size overflowing");

  std::string twoButtons = good;
  twoButtons[140] = 2;  // the count says 2 over one button
  expectReadError(twoButtons, "count beyond the buttons");
  std::string hugeCount = good;
  hugeCount.replace(139, 2, "\x04\xff\xff\xff\x7f");
  hugeCount.resize(176);
  expectReadError(hugeCount, "a count of two billion");
}

TEST(BinaryDataFile, AWrongTagGivesThePropertyError) {
  std::string bad = Example();
  bad[141] = 6;  // Kind read as a string tag
  auto r = Load(bad);
  EXPECT_EQ(r.error, "不正なプロパティの値です");
  EXPECT_FALSE(r.list.Loaded);
}

TEST(LoadFromFile, ChoosesTheTextFormFirstAndHandlesMissingFiles) {
  TTempDir dir;
  TLaunchList saved;
  saved.Get(0).Title = "text";
  SaveToTextFile(saved, dir.File("t.lst"));
  TLaunchList list;
  list.SetFileName(dir.File("t.lst"));
  list.LoadFromFile();
  EXPECT_TRUE(list.Loaded);
  EXPECT_EQ(list.Get(0).Title, "text");

  list.SetFileName(dir.File("none.lst"));
  list.LoadFromFile();
  EXPECT_FALSE(list.Loaded);
  EXPECT_EQ(list.Get(0).Title, "text") << "nothing changed";

  WriteFile(dir.File("bad.lst"),
            std::string("\"a\",\"b\",\"c\",1,2,3\r\n**\r\n**\r\nx,1\r\n") + std::string(100, ','));
  list.SetFileName(dir.File("bad.lst"));
  EXPECT_THROW(list.LoadFromFile(), EConvertError) << "no fall-back to the binary form";
  EXPECT_FALSE(list.Loaded);
}
