#include "FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TFindBar::TFindBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FindBar"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 2, 8, 2);
  auto* caption = new QLabel(QStringLiteral("検索:"), this);
  layout->addWidget(caption);
  EdFind = new QLineEdit(this);
  caption->setBuddy(EdFind);
  EdFind->setObjectName(QStringLiteral("EdFind"));
  EdFind->setToolTip(
      QStringLiteral("タイトル・リンク先・パラメータ・作業フォルダ・コメントを検索します"));
  layout->addWidget(EdFind, 1);
  LbCount = new QLabel(this);
  LbCount->setObjectName(QStringLiteral("LbFindCount"));
  LbCount->setMinimumWidth(140);
  layout->addWidget(LbCount);
  BtnNext = new QToolButton(this);
  BtnNext->setText(QStringLiteral("次を検索"));
  layout->addWidget(BtnNext);
  BtnPrev = new QToolButton(this);
  BtnPrev->setText(QStringLiteral("前を検索"));
  layout->addWidget(BtnPrev);
  BtnClose = new QToolButton(this);
  BtnClose->setText(QStringLiteral("×"));
  BtnClose->setToolTip(QStringLiteral("検索を閉じる"));
  BtnClose->setAccessibleName(BtnClose->toolTip());  // "×" says nothing read aloud
  BtnClose->setAutoRaise(true);
  layout->addWidget(BtnClose);
  connect(EdFind, &QLineEdit::textChanged, this, &TFindBar::TextChanged);
  connect(EdFind, &QLineEdit::returnPressed, this, &TFindBar::NextRequested);
  connect(BtnNext, &QToolButton::clicked, this, &TFindBar::NextRequested);
  connect(BtnPrev, &QToolButton::clicked, this, &TFindBar::PrevRequested);
  EdFind->installEventFilter(this);
  connect(BtnClose, &QToolButton::clicked, this, &QWidget::hide);
}

void TFindBar::ShowCount(int current, int hits, const QString& note) {
  QString text;
  if (current > 0)
    text = QStringLiteral("%1 / %2 件").arg(current).arg(hits);
  else if (!EdFind->text().isEmpty())
    text = QStringLiteral("%1 件").arg(hits);
  if (!note.isEmpty()) text += QStringLiteral("  ") + note;
  LbCount->setText(text);
}

void TFindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TFindBar::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit Closed();
}

bool TFindBar::eventFilter(QObject* watched, QEvent* event) {
  // The edit takes Shift+Return for a plain Return: it goes back before the edit sees it.
  if (watched == EdFind && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers().testFlag(Qt::ShiftModifier)) {
      emit PrevRequested();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
