#include <gtest/gtest.h>

#include <QRect>

#include "WorkArea.h"

namespace {

QPoint Fit(int x, int y, int width, int height, const QRect& area) {
  FitToWorkArea(x, y, width, height, area);
  return {x, y};
}

}  // namespace

TEST(FitToWorkArea, MovesAWindowBackInsideEachEdge) {
  const QRect area(0, 0, 1920, 1050);
  EXPECT_EQ(Fit(100, 100, 613, 440, area), QPoint(100, 100));
  EXPECT_EQ(Fit(1900, 100, 613, 440, area), QPoint(1307, 100));
  EXPECT_EQ(Fit(1307, 100, 613, 440, area), QPoint(1307, 100));  // exactly flush stays
  EXPECT_EQ(Fit(-30, -20, 613, 440, area), QPoint(0, 0));
  EXPECT_EQ(Fit(100, 1000, 613, 440, area), QPoint(100, 610));
}

TEST(FitToWorkArea, TooLargeWindowKeepsLeftAndBottomEdges) {
  EXPECT_EQ(Fit(300, 100, 200, 900, QRect(0, 0, 1024, 768)), QPoint(300, -132));
  EXPECT_EQ(Fit(300, 100, 1200, 200, QRect(0, 0, 1024, 768)), QPoint(0, 100));
}

TEST(FitToWorkArea, RespectsAWorkAreaNotAtTheOrigin) {
  // Panels on the left (48 px) and at the top (30 px).
  const QRect area(48, 30, 1232, 994);
  EXPECT_EQ(Fit(0, 0, 286, 80, area), QPoint(48, 30));
  EXPECT_EQ(Fit(1270, 1020, 286, 80, area), QPoint(994, 944));
}
