#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "TextFormat.h"

TEST(PadNumber, FillsToWidthAndNeverCuts) {
  EXPECT_EQ(PadNumber(12, 5, true), "00012");
  EXPECT_EQ(PadNumber(-5, 5, true), "000-5");  // the fill goes before the sign
  EXPECT_EQ(PadNumber(123456, 5, true), "123456");
  EXPECT_EQ(PadNumber(7, 1, false), "7");
  EXPECT_EQ(PadNumber(42, 5, false), "   42");
  EXPECT_EQ(PadNumber(0, 0, true), "0");
  EXPECT_EQ(PadNumber(3, -4, true), "3");
  EXPECT_EQ(PadNumber(std::numeric_limits<std::int32_t>::min(), 12, true), "0-2147483648");
}

TEST(SpokenButtonText, SaysTheTitleAsItIsThenTheUseCount) {
  EXPECT_EQ(SpokenButtonText("50%2 %1", 7).toStdString(), "50%2 %1 (使用回数 7)");
}
