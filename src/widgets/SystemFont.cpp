#include "SystemFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QWidget>

QStringList SystemFontFamilies() {
  return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
          QStringLiteral("IPAPGothic"),      QStringLiteral("IPAGothic"),
          QStringLiteral("IPAexGothic"),     QStringLiteral("TakaoPGothic"),
          QStringLiteral("VL PGothic"),      QStringLiteral("Noto Sans CJK JP")};
}

QFont SystemFont() {
  // The installed families do not change while the program runs: look them up once.
  static const QString family = [] {
    for (const QString& candidate : SystemFontFamilies())
      if (QFontDatabase::hasFamily(candidate)) return candidate;
    return QGuiApplication::font().family();
  }();
  QFont font(family);
  font.setPixelSize(12);
  return font;
}

void ApplySystemFont(QWidget* widget) {
  if (widget) widget->setFont(SystemFont());
}
