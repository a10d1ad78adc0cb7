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
  layout->addWidget(new QLabel(QStringLiteral("検索:"), this));
  EdFind = new QLineEdit(this);
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
  BtnClose = new QToolButton(this);
  BtnClose->setText(QStringLiteral("×"));
  BtnClose->setToolTip(QStringLiteral("検索を閉じる"));
  BtnClose->setAutoRaise(true);
  layout->addWidget(BtnClose);
  connect(EdFind, &QLineEdit::textChanged, this, &TFindBar::TextChanged);
  connect(EdFind, &QLineEdit::returnPressed, this, &TFindBar::NextRequested);
  connect(BtnNext, &QToolButton::clicked, this, &TFindBar::NextRequested);
  connect(BtnClose, &QToolButton::clicked, this, &QWidget::hide);
}

void TFindBar::ShowCount(int hits, const QString& note) {
  QString text = EdFind->text().isEmpty() ? QString() : QStringLiteral("%1 件").arg(hits);
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
