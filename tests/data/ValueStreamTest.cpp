#include "ValueStream.h"

#include <gtest/gtest.h>

#include "DataItems.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

std::string Encoded(std::int32_t v) {
  std::string buf;
  TValueWriter(buf).WriteInteger(v);
  return buf;
}

std::string EncodedString(std::string_view s) {
  std::string buf;
  TValueWriter(buf).WriteString(s);
  return buf;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes)
    out.push_back(static_cast<char>(b));
  return out;
}

}  // namespace

TEST(ValueEncoding, IntegersTakeTheShortestTag) {
  EXPECT_EQ(Encoded(0), Bytes({2, 0}));
  EXPECT_EQ(Encoded(-128), Bytes({2, 0x80}));
  EXPECT_EQ(Encoded(127), Bytes({2, 0x7f}));
  EXPECT_EQ(Encoded(300), Bytes({3, 0x2c, 0x01}));
  EXPECT_EQ(Encoded(-32768), Bytes({3, 0x00, 0x80}));
  EXPECT_EQ(Encoded(32768), Bytes({4, 0x00, 0x80, 0, 0}));
  EXPECT_EQ(Encoded(-1), Bytes({2, 0xff}));
  for (std::int32_t v : {0, -1, 127, 128, -129, 32767, 32768, INT32_MIN, INT32_MAX}) {
    std::string buf = Encoded(v);
    TValueReader reader(buf);
    EXPECT_EQ(reader.ReadInteger(), v);
    EXPECT_EQ(reader.Remaining(), 0u);
  }
}

TEST(ValueEncoding, StringsTakeTags6And12WhenAsciiAnd20Otherwise) {
  EXPECT_EQ(EncodedString("ab"), Bytes({6, 2, 'a', 'b'}));
  EXPECT_EQ(EncodedString(std::string(255, 'x')).substr(0, 2), Bytes({6, 255}));
  EXPECT_EQ(EncodedString(std::string(256, 'x')).substr(0, 5), Bytes({12, 0, 1, 0, 0}));
  EXPECT_EQ(EncodedString(Sjis("表")), Bytes({20, 3, 0, 0, 0}) + "表");
}

TEST(ValueEncoding, StringsWithoutAnExactUtf8FormStayByteForByte) {
  for (std::string s :
       {std::string("\xed\x40"), std::string("\xff\x81"), std::string(300, '\x80')}) {
    std::string buf = EncodedString(s);
    EXPECT_NE(buf[0], vaUTF8String);
    EXPECT_EQ(TValueReader(buf).ReadString(), s);
  }
}

TEST(ValueEncoding, ReadsEveryStringTag) {
  EXPECT_EQ(TValueReader(Bytes({12, 3, 0, 0, 0, 'a', 'b', 'c'})).ReadString(), "abc");
  EXPECT_EQ(TValueReader(Bytes({20, 3, 0, 0, 0}) + "表").ReadString(), Sjis("表"));
  EXPECT_EQ(TValueReader(Bytes({18, 2, 0, 0, 0, 'A', 0, 0x68, 0x88})).ReadString(),
            "A" + Sjis("表"));
  EXPECT_EQ(TValueReader(Bytes({4, 1, 0, 0, 0})).ReadInteger(), 1);
}

TEST(ValueEncoding, BadValuesRaiseTheirErrors) {
  EXPECT_THROW(TValueReader("").ReadInteger(), EReadError);
  EXPECT_THROW(TValueReader(Bytes({3, 1})).ReadInteger(), EReadError);
  EXPECT_THROW(TValueReader(Bytes({6, 5, 'a'})).ReadString(), EReadError);
  EXPECT_THROW(TValueReader(Bytes({12, 0xff, 0xff, 0xff, 0x7f})).ReadString(), EReadError);
  EXPECT_THROW(TValueReader(Bytes({18, 0xff, 0xff, 0xff, 0x7f})).ReadString(), EReadError);
  EXPECT_THROW(TValueReader(Bytes({20, 2, 0, 0, 0, 0xc3, 0xb1})).ReadString(), EReadError)
      << "a character CP932 cannot hold";
  EXPECT_THROW(TValueReader(Bytes({20, 2, 0, 0, 0, 0xc2, 0xa5})).ReadString(), EReadError)
      << "a yen sign CP932 only approximates";
  EXPECT_THROW(TValueReader(Bytes({6, 0})).ReadInteger(), EPropertyError);
  EXPECT_THROW(TValueReader(Bytes({2, 0})).ReadString(), EPropertyError);
  EXPECT_THROW(TValueReader(Bytes({5, 0})).ReadInteger(), EPropertyError);
  try {
    TValueReader(Bytes({9})).ReadString();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "不正なプロパティの値です");
  }
  try {
    TValueReader("").ReadString();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "ストリームからの読み込みエラー");
  }
}

TEST(RecordData, EveryFieldSurvivesWriteAndRead) {
  TLaunchDataItem item;
  item.Kind = 200;
  item.UseCount = 70000;
  item.Title = Sjis("表示\\");
  item.Link = "L";
  item.AltLink = std::string(400, 'a');
  item.Params = "\xed\x40";
  item.WorkDir = "W";
  item.IconFile = "I";
  item.ShowCmd = kShowMinimized;
  item.IconIndex = -200;
  item.Comment = "c";
  std::string buf;
  TValueWriter writer(buf);
  item.WriteData(writer);
  TPageItem page(Sjis("頁"), 3, -1);
  page.WriteData(writer);
  TDataStatus status;
  status.MaxPages = 99;
  status.WriteData(writer);

  TValueReader reader(buf);
  TLaunchDataItem item2;
  item2.ReadData(reader);
  TPageItem page2;
  page2.ReadData(reader);
  TDataStatus status2;
  status2.ReadData(reader);
  EXPECT_EQ(item2, item);
  EXPECT_EQ(page2, page);
  EXPECT_EQ(status2, status);
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(RecordData, KindKeepsItsLowEightBits) {
  std::string full;
  TValueWriter w(full);
  w.WriteInteger(261);
  w.WriteInteger(0);
  for (int i = 0; i < 6; ++i)
    w.WriteString("");
  w.WriteInteger(1);
  w.WriteInteger(0);
  w.WriteString("");
  TValueReader reader(full);
  TLaunchDataItem item;
  item.ReadData(reader);
  EXPECT_EQ(item.Kind, 5);
}

TEST(AssignTest, CopiesButtonsOnlyEachSeparatelyOwned) {
  TLaunchList source;
  source.Get(0).Title = "one";
  source.AddButton(0, NewLaunchItem());
  source.AddButton(0, NewLaunchItem());
  source.Get(2).Comment = Sjis("表\\n");
  TLaunchList target;
  target.Pages.Get(0).Caption = "keep";
  target.Status.MaxPages = 4;
  target.Assign(source);
  ASSERT_EQ(target.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(target.Get(i), source.Get(i));
    EXPECT_NE(&target.Get(i), &source.Get(i));
  }
  EXPECT_EQ(target.Pages.Count(), 1);
  EXPECT_EQ(target.Pages.Get(0).Caption, "keep");
  EXPECT_EQ(target.Status.MaxPages, 4);
}
