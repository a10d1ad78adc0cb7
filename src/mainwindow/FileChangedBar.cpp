#include "FileChangedBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TFileChangedBar::TFileChangedBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FileChangedBar"));
  setFrameShape(QFrame::StyledPanel);
  // The palette's own tooltip colours: a notice that stands out in light and dark themes.
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::ToolTipBase);
  setForegroundRole(QPalette::ToolTipText);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  LbNotice = new QLabel(this);
  LbNotice->setObjectName(QStringLiteral("LbNotice"));
  LbNotice->setTextFormat(Qt::PlainText);
  LbNotice->setWordWrap(true);
  LbNotice->setForegroundRole(QPalette::ToolTipText);
  layout->addWidget(LbNotice, 1);
  const auto button = [this, layout](const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, this);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::TabFocus);  // a click does not take the keyboard from the grid
    layout->addWidget(b);
    return b;
  };
  BtnOverwrite = button(QStringLiteral("上書き保存(&O)"),
                        QStringLiteral("ファイルを編集中のデーターで上書きします"));
  BtnReload = button(
      QStringLiteral("読み込み直す(&L)"),
      QStringLiteral("ファイルを読み込み直します (「元に戻す」で編集中のデーターに戻せます)"));
  BtnDismiss = button(QStringLiteral("閉じる"),
                      QStringLiteral("このままにします (保存するときにもう一度確認します)"));
  connect(BtnOverwrite, &QPushButton::clicked, this, &TFileChangedBar::OverwriteRequested);
  connect(BtnReload, &QPushButton::clicked, this, &TFileChangedBar::ReloadRequested);
  connect(BtnDismiss, &QPushButton::clicked, this, &QWidget::hide);
}

void TFileChangedBar::ShowNotice(const QString& text, bool canReload) {
  LbNotice->setText(text);
  BtnOverwrite->setVisible(true);
  BtnReload->setVisible(canReload);
  show();
}

void TFileChangedBar::ShowInformation(const QString& text) {
  LbNotice->setText(text);
  BtnOverwrite->setVisible(false);
  BtnReload->setVisible(false);
  show();
}

bool TFileChangedBar::ShowsChange() const {
  return isVisible() && !BtnOverwrite->isHidden();
}

QString TFileChangedBar::Text() const {
  return LbNotice->text();
}
