#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>
#include <memory>

#include "QtTranslations.h"

// Qt's file chooser and edit menus speak the editor's language.
TEST(QtTranslations, QtsOwnTextsAreJapanese) {
  const std::unique_ptr<QTranslator> japanese(InstallQtJapanese());
  ASSERT_NE(japanese, nullptr) << "qt6-translations-l10n is installed by scripts/setup";
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("開く"));
  EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy"), QStringLiteral("コピー(&C)"));
}
