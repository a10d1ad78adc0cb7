#include "ShiftJis.h"

#include <gtest/gtest.h>

#include "FixedTexts.h"
#include "TestSupport.h"

using testing_support::Sjis;

TEST(FixedTexts, AreTheCp932FormsOfTheirTexts) {
  EXPECT_EQ(cp932::kUnregistered, Sjis("未登録"));
  EXPECT_EQ(cp932::kNewPage, Sjis("新規ページ"));
  EXPECT_EQ(cp932::kStatusHeading, Sjis("; ステータス"));
  EXPECT_EQ(cp932::kPageListHeading, Sjis("; ページリスト"));
  EXPECT_EQ(cp932::kFileListHeading, Sjis("; ファイルリスト"));
}

TEST(ShiftJisScan, NeverMatchesATrailByte) {
  const std::string hyou = Sjis("表");  // 95 5C: its trail byte is a backslash
  ASSERT_EQ(hyou[1], '\\');
  EXPECT_EQ(sjis::FindChar(hyou + "\\x", '\\'), 2u);
  EXPECT_EQ(sjis::FindChar(hyou, '\\'), std::string::npos);
  EXPECT_EQ(sjis::FindText(hyou + "\\n", "\\n"), 2u);
  EXPECT_EQ(sjis::FindText("\x83"
                           "ab",
                           "ab"),
            std::string::npos)
      << "0x83 0x61 is one character";
  EXPECT_EQ(sjis::FindText("\x83"
                           " ab",
                           "ab"),
            2u)
      << "a lead byte before a blank stands alone";
  EXPECT_EQ(sjis::ReplaceText(hyou + "\\n" + hyou, "\\n", "\n"), hyou + "\n" + hyou);
}

TEST(ShiftJisScan, UpperCasesSingleByteLettersOnly) {
  EXPECT_EQ(sjis::UpperCase("abc\x83\x61z"), "ABC\x83\x61Z");
  EXPECT_EQ(sjis::UpperCase("\xb1x"), "\xb1X") << "half-width katakana is one byte";
}

TEST(ShiftJisConvert, RefusesWhatItCannotConvert) {
  EXPECT_EQ(sjis::ToUtf8(Sjis("表示")), "表示");
  EXPECT_FALSE(sjis::ToUtf8("\x81"));        // lead byte at the end
  EXPECT_FALSE(sjis::ToUtf8("\xff"));        // no such byte
  EXPECT_FALSE(sjis::FromUtf8("\xc3\xb1"));  // ñ is not in CP932
  EXPECT_FALSE(sjis::FromUtf8("\xe2\x82"));  // truncated UTF-8
  EXPECT_EQ(sjis::FromUtf8("a\\b"), "a\\b");
}

TEST(ShiftJisConvert, ExactFormRejectsBytesThatWouldComeBackDifferent) {
  // 0xED40 is a duplicate of 0xFA5C: both decode to the same character.
  ASSERT_TRUE(sjis::ToUtf8("\xed\x40"));
  EXPECT_FALSE(sjis::ToUtf8Exact("\xed\x40"));
  EXPECT_EQ(sjis::ToUtf8Exact(Sjis("未登録")), "未登録");
}

TEST(ShiftJisConvert, ToCp932IsExactOrFails) {
  // CP932 only approximates these (a yen sign as a backslash, a wave dash as a
  // full-width tilde, ...): stored so, they would come back as other characters.
  const std::pair<const char*, char16_t> approximated[] = {
      {"¥", 0x00A5}, {"‾", 0x203E}, {"〜", 0x301C}, {"−", 0x2212}, {"‖", 0x2016},
      {"¢", 0x00A2}, {"£", 0x00A3}, {"¬", 0x00AC},  {"—", 0x2014}};
  for (const auto& [utf8, unit] : approximated) {
    SCOPED_TRACE(utf8);
    EXPECT_FALSE(sjis::FromUtf8(std::string("/x/") + utf8 + "100.exe"));
    const char utf16[] = {'1', 0, static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    EXPECT_FALSE(sjis::FromUtf16Le(std::string(utf16, 4)));
  }
  // Their full-width forms are what CP932 holds, and they stay.
  EXPECT_EQ(sjis::FromUtf8("～－￥"), "\x81\x60\x81\x7c\x81\x8f");
  EXPECT_EQ(sjis::FromUtf16Le(std::string("\x5e\xff", 2)), "\x81\x60");
}

TEST(ShiftJisConvert, Utf16LittleEndian) {
  EXPECT_EQ(sjis::FromUtf16Le(std::string("A\0\x68\x88", 4)), "A" + Sjis("表"));
  EXPECT_FALSE(sjis::FromUtf16Le(std::string("A", 1)));         // odd length
  EXPECT_FALSE(sjis::FromUtf16Le(std::string("\x00\xd8", 2)));  // lone surrogate
}

TEST(ShiftJisConvert, DisplayFormEscapesBadBytes) {
  EXPECT_EQ(sjis::ToUtf8ForDisplay(Sjis("表") + "\xff" + "a"), "表\\xFFa");
}

// A byte CP932 does not define stands as U+F700 + the byte in a field, and comes back
// as that byte whatever is typed around it; the literal text "\x80" stays text.
TEST(ShiftJisConvert, ShownFormKeepsUndefinedBytesApartFromText) {
  const std::string stored = "a\x80" + Sjis("表") + "\xA0\x85\x40\xFD\x81";  // 0x85 0x40: no char
  const std::string shown = sjis::ToShownUtf8(stored);
  EXPECT_EQ(shown, "a\uF780表\uF7A0\uF785\uF740\uF7FD\uF781");
  EXPECT_EQ(sjis::FromShownUtf8(shown), stored);
  EXPECT_EQ(sjis::FromShownUtf8("x" + shown + "y"), "x" + stored + "y");
  EXPECT_EQ(sjis::FromShownUtf8("\\x80"), "\\x80");
  EXPECT_NE(sjis::ToShownUtf8("\\x80"), sjis::ToShownUtf8("\x80"));
  EXPECT_FALSE(sjis::FromShownUtf8("\uF780é").has_value()) << "é is still not CP932";
  EXPECT_EQ(sjis::FromShownUtf8("\uF73F"), std::nullopt) << "below the bytes that stand in";
}

TEST(ShiftJisConvert, Utf8TextIsToldFromCp932) {
  EXPECT_TRUE(
      sjis::IsUtf8Text("\xEF\xBB\xBF"
                       "abc"));
  EXPECT_TRUE(sjis::IsUtf8Text("\"アプリ\",1,0\r\n"));  // valid CP932 too, as other characters
  EXPECT_TRUE(sjis::IsUtf8Text("\xC3\x80 la carte"));   // À: 0x80 is no CP932 character
  EXPECT_FALSE(sjis::IsUtf8Text("caf\xC3\xA9"));        // café, or CP932 half-width ﾃｩ: kept
  EXPECT_FALSE(sjis::IsUtf8Text("plain ASCII, long enough for the word-at-a-time path"));
  EXPECT_FALSE(sjis::IsUtf8Text(Sjis("\"アプリ\",1,0\r\n")));
  EXPECT_FALSE(sjis::IsUtf8Text("\xC3\xBD"));      // ﾃｽ in CP932, ý in UTF-8: taken as CP932
  EXPECT_FALSE(sjis::IsUtf8Text("\xE3\x82"));      // cut short
  EXPECT_FALSE(sjis::IsUtf8Text("\xED\xA0\x80"));  // a surrogate
}
