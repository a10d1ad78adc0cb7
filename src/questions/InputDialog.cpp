#include "InputDialog.h"

#include "Dialogs.h"

bool InputNumber(int x, int y, int min, int defaultValue, int& value, const QString& prompt,
                 const QString& caption, int max) {
  return Dialogs().InputNumber(x, y, min, defaultValue, value, prompt, caption, max);
}

bool InputText(int x, int y, const QString& caption, QString& text, const QString& prompt) {
  return Dialogs().InputText(x, y, caption, text, prompt);
}

bool InputChoice(int x, int y, const QString& caption, int index, int& choice,
                 const QStringList& items, const QString& prompt) {
  return Dialogs().InputChoice(x, y, caption, index, choice, items, prompt);
}
