// The comment box of the page edit dialog: several lines of text that a button's
// comment stores unchanged, and a pop-up menu of the edit actions in Japanese.
#pragma once

#include <QPlainTextEdit>

class TCommentEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  // What Shift-JIS cannot hold is refused as it is typed, pasted or dropped, as the
  // one-line boxes refuse it: nothing is changed into something else.
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  // Our own menu rather than the toolkit's, whose wording and actions differ.
  void contextMenuEvent(QContextMenuEvent* event) override;
};
