#include "MessageBox.h"

#include "Dialogs.h"

QString ApplicationTitle() {
  return QStringLiteral("登録データー編集");
}

QString MessageBoxText(const QString& text, const QString& caption) {
  QString body = text;
  body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return QStringLiteral("【 ") + caption + QStringLiteral(" 】\n\n") + body;
}

QString MessageBoxTitle(TMsgType type) {
  switch (type) {
    case TMsgType::Warning:
      return QStringLiteral("警告");
    case TMsgType::Error:
      return QStringLiteral("エラー");
    case TMsgType::Information:
      return QStringLiteral("情報");
    case TMsgType::Confirmation:
      return QStringLiteral("確認");
    case TMsgType::Plain:
      break;
  }
  return ApplicationTitle();
}

unsigned MessageBoxButtons(unsigned buttons) {
  const unsigned known = buttons & (mbYes | mbNo | mbOK | mbCancel | mbMerge | mbDiff);
  return known ? known : unsigned{mbOK};
}

int MessageEscapeResult(unsigned buttons) {
  buttons = MessageBoxButtons(buttons);
  if (buttons & mbCancel) return mrCancel;
  if (buttons & mbNo) return mrNo;
  if (buttons & mbOK) return mrOk;
  return mrNone;
}

int ShowMessageAt(const QString& text, const QString& caption, unsigned buttons, TMsgType type,
                  int x, int y) {
  return Dialogs().MessageAt(text, caption, buttons, type, x, y);
}
