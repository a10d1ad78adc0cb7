#include "CommentEdit.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "SjisValidator.h"

void TCommentEdit::keyPressEvent(QKeyEvent* event) {
  if (!IsStorableLines(event->text())) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TCommentEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (IsStorableLines(event->commitString())) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent kept(event->preeditString(), event->attributes());
  QPlainTextEdit::inputMethodEvent(&kept);
}

bool TCommentEdit::canInsertFromMimeData(const QMimeData* source) const {
  return QPlainTextEdit::canInsertFromMimeData(source) &&
         (!source->hasText() || IsStorableLines(source->text()));
}

void TCommentEdit::insertFromMimeData(const QMimeData* source) {
  if (canInsertFromMimeData(source)) QPlainTextEdit::insertFromMimeData(source);
}

void TCommentEdit::contextMenuEvent(QContextMenuEvent* event) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const bool editable = !isReadOnly();
  const bool selected = textCursor().hasSelection();
  const auto item = [menu](const QString& caption, bool enabled, auto handler) {
    QAction* action = menu->addAction(caption, handler);
    action->setEnabled(enabled);
  };
  item(QStringLiteral("元に戻す(&U)"), editable && document()->isUndoAvailable(),
       [this] { undo(); });
  menu->addSeparator();
  item(QStringLiteral("切り取り(&T)"), editable && selected, [this] { cut(); });
  item(QStringLiteral("コピー(&C)"), selected, [this] { copy(); });
  item(QStringLiteral("貼り付け(&P)"), editable && canPaste(), [this] { paste(); });
  item(QStringLiteral("削除(&D)"), editable && selected,
       [this] { textCursor().removeSelectedText(); });
  menu->addSeparator();
  item(QStringLiteral("すべて選択(&A)"), !document()->isEmpty(), [this] { selectAll(); });
  menu->popup(event->globalPos());
}
