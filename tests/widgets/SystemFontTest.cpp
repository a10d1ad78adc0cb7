#include <gtest/gtest.h>

#include <algorithm>

#include <QFontDatabase>
#include <QRawFont>

#include "SystemFont.h"

namespace {

bool AnyJapaneseFamilyInstalled() {
  for (const QString& family : SystemFontFamilies())
    if (QFontDatabase::hasFamily(family)) return true;
  return false;
}

}  // namespace

TEST(SystemFont, IsTwelvePixelsOfTheFirstInstalledFamily) {
  const QFont font = SystemFont();
  EXPECT_EQ(font.pixelSize(), 12);
  if (!AnyJapaneseFamilyInstalled()) GTEST_SKIP() << "no Japanese gothic installed";
  const QStringList families = SystemFontFamilies();
  const auto chosen = std::find_if(families.begin(), families.end(),
                                   [](const QString& f) { return QFontDatabase::hasFamily(f); });
  EXPECT_EQ(font.family(), *chosen);
}

TEST(SystemFont, HasEveryGlyphOfTheCaptionsItself) {
  if (!AnyJapaneseFamilyInstalled()) GTEST_SKIP() << "no Japanese gothic installed";
  // The font's own glyphs, not those a fallback font would lend it.
  const QRawFont raw = QRawFont::fromFont(SystemFont());
  ASSERT_TRUE(raw.isValid());
  const QString captions = QStringLiteral(
      "データー状況キャンセルOkデフォルト登録データー編集警告エラー情報確認はい(&Y)いいえ(&N)"
      "ページ名を入力して下さい。1～10個の間で指定新規ページの挿入特殊フォルダ登録【 】"
      "選択したボタンに登録する特殊フォルダの選択読み込み完了( 125 / 125 )");
  for (const QChar c : captions)
    EXPECT_TRUE(raw.supportsCharacter(c)) << QString(c).toStdString();
}
