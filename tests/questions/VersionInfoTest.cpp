#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "VersionInfo.h"

TEST(GetVersionInfo, OwnProgramHasTheCompiledInStrings) {
  TVersionInfo info;
  GetVersionInfo(QCoreApplication::applicationFilePath(), info);
  const QFileInfo self(QCoreApplication::applicationFilePath());
  EXPECT_EQ(info.Path, self.canonicalFilePath());
  EXPECT_EQ(info.Folder, self.canonicalPath() + QLatin1Char('/'));
  EXPECT_EQ(info.ProductName, QStringLiteral("Pello Data Editor"));
  EXPECT_EQ(info.ProductVersion, QStringLiteral(PELLO_EXPECTED_VERSION));
  EXPECT_TRUE(info.LegalCopyright.startsWith(QStringLiteral("Copyright (C) ")));
}

TEST(GetVersionInfo, OwnProgramIsRecognisedThroughALink) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString link = dir.filePath(QStringLiteral("pelledit-link"));
  ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), link));
  TVersionInfo info;
  GetVersionInfo(link, info);
  EXPECT_EQ(info.Path, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
  EXPECT_EQ(info.ProductName, QStringLiteral("Pello Data Editor"));
}

TEST(GetVersionInfo, OtherFilesHaveOnlyPathAndFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("other.exe"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  TVersionInfo info;
  info.ProductName = QStringLiteral("left over");
  GetVersionInfo(path, info);
  EXPECT_EQ(info.Path, QFileInfo(path).canonicalFilePath());
  EXPECT_EQ(info.Folder, QFileInfo(path).canonicalPath() + QLatin1Char('/'));
  EXPECT_TRUE(info.ProductName.isEmpty());
  EXPECT_TRUE(info.ProductVersion.isEmpty());
  EXPECT_TRUE(info.LegalCopyright.isEmpty());

  GetVersionInfo(QStringLiteral("/no/such/folder/prog"), info);
  EXPECT_EQ(info.Path, QStringLiteral("/no/such/folder/prog"));
  EXPECT_EQ(info.Folder, QStringLiteral("/no/such/folder/"));
  EXPECT_TRUE(info.ProductName.isEmpty());
}
