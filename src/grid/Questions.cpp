#include "Questions.h"

int AskAt(QPoint at, const QString& text, const QString& caption, unsigned buttons, TMsgType type) {
  return ShowMessageAt(text, caption, buttons, type, at.x(), at.y());
}
