#include "TextUtils.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using testing_support::Sjis;

TEST(GetToken, CutsAtTheDelimiterAndRepeatsTheLastPiece) {
  EXPECT_EQ(GetToken(',', "a,b", 5), "b");
  EXPECT_EQ(GetToken(',', "a,b", 0), "a");
  EXPECT_EQ(GetToken(',', "a,,c", 1), "");
  EXPECT_EQ(GetToken(',', "", 3), "");
  EXPECT_EQ(GetToken(',', "\"x,y\",z", 1), "y\"") << "knows nothing of quotes";
}

TEST(GetToken, TrimsTheTextAndCollapsesBlanksForABlankDelimiter) {
  EXPECT_EQ(GetToken(',', "  x \t", 0), "x");
  EXPECT_EQ(GetToken(' ', "a   b", 1), "b");
  EXPECT_EQ(GetToken(' ', "  a   b  c ", 2), "c");
  EXPECT_EQ(GetToken(',', " a , b ", 1), " b") << "only the ends of the whole text are trimmed";
}

TEST(GetToken, NeverCutsInsideADoubleByteCharacter) {
  const std::string so = Sjis("ソ");  // 83 5C
  EXPECT_EQ(GetToken('\\', so + "\\b", 0), so);
  EXPECT_EQ(GetToken('\\', so + "\\b", 1), "b");
}

TEST(TextPos, FindsOneBasedPositionsOnCharacterBoundaries) {
  EXPECT_EQ(TextPos("b", "abc", false), 2);
  EXPECT_EQ(TextPos("x", "abc", false), 0);
  EXPECT_EQ(TextPos("fd", "3.5 Inch FD (A:)", true), 10);
  EXPECT_EQ(TextPos("fd", "3.5 Inch FD (A:)", false), 0);
  EXPECT_EQ(TextPos("\\", Sjis("表") + "\\", false), 3);
  EXPECT_EQ(TextPos("A", "\x83\x61", true), 0) << "the trail byte 0x61 is not the letter a";
}

TEST(ParseInteger, AcceptsOnlySignedDecimalIntegersOf32Bits) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("-7"), -7);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInteger("000000000005"), 5) << "leading zeros do not count";
  EXPECT_EQ(ParseInteger("-0000000002147483648"), INT32_MIN);
  EXPECT_EQ(ParseInteger("+00000000000"), 0);
  for (const char* bad : {"", "-", "+", "1x", " 1", "2147483648", "$1F", "0x10", "1.0", "+-1",
                          "0002147483648", "10000000000"})
    EXPECT_FALSE(ParseInteger(bad)) << bad;
  EXPECT_EQ(IntegerOr("abc", 10), 10);
}
