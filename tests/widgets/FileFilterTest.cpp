#include <gtest/gtest.h>

#include "FileFilter.h"

TEST(QtNameFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(QtNameFilters(QStringLiteral("すべてのファイル(*.*)|*.*")),
            QStringLiteral("すべてのファイル(*.*) (*)"));
  EXPECT_EQ(QtNameFilters(QStringLiteral("カンマ区切り形式ファイル(*.CSV)|*.csv")),
            QStringLiteral("カンマ区切り形式ファイル(*.CSV) (*.csv)"));
  EXPECT_EQ(QtNameFilters(QStringLiteral("データ|*.lst;*.csv|すべて|*.*")),
            QStringLiteral("データ (*.lst *.csv);;すべて (*)"));
}

TEST(QtNameFilters, LeavesQtFiltersAlone) {
  EXPECT_EQ(QtNameFilters(QStringLiteral("Lists (*.lst);;All (*)")),
            QStringLiteral("Lists (*.lst);;All (*)"));
  EXPECT_EQ(QtNameFilters(QString()), QString());
}
