#include "FileChangedBar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "AlertAccessible.h"

TFileChangedBar::TFileChangedBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FileChangedBar"));
  // A screen reader hears it as an alert when it appears.
  ExposeClassAsAlert("TFileChangedBar");
  setAccessibleName(QStringLiteral("データーファイルの変更"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::AlternateBase);
  setForegroundRole(QPalette::Text);
  Layout = new QGridLayout(this);
  Layout->setContentsMargins(8, 4, 8, 4);
  LbIcon = new QLabel(this);
  LbIcon->setObjectName(QStringLiteral("LbIcon"));
  const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  LbIcon->setPixmap(
      style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
  Layout->addWidget(LbIcon, 0, 0, Qt::AlignTop);
  LbNotice = new QLabel(this);
  LbNotice->setObjectName(QStringLiteral("LbNotice"));
  LbNotice->setTextFormat(Qt::PlainText);
  LbNotice->setWordWrap(true);
  LbNotice->setForegroundRole(QPalette::Text);
  Layout->addWidget(LbNotice, 0, 1);
  Layout->setColumnStretch(1, 1);
  Buttons = new QWidget(this);
  auto* row = new QHBoxLayout(Buttons);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch(1);
  const auto button = [this, row](const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, Buttons);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::TabFocus);  // a click does not take the keyboard from the grid
    row->addWidget(b);
    return b;
  };
  BtnOverwrite = button(QStringLiteral("上書き保存(&O)"),
                        QStringLiteral("ファイルを編集中のデーターで上書きします"));
  BtnReload = button(
      QStringLiteral("読み込み直す(&L)"),
      QStringLiteral("ファイルを読み込み直します (「元に戻す」で編集中のデーターに戻せます)"));
  BtnMerge = button(QStringLiteral("マージ(&M)"),
                    QStringLiteral("ファイルの変更を編集中のデーターに取り込みます (「元に戻す」で"
                                   "編集中のデーターに戻せます)"));
  BtnDiff = button(QStringLiteral("差分を表示(&D)"),
                   QStringLiteral("編集中のデーターとファイルの違いを一覧します"));
  BtnDismiss = button(QStringLiteral("閉じる"),
                      QStringLiteral("このままにします (保存するときにもう一度確認します)"));
  connect(BtnOverwrite, &QPushButton::clicked, this, &TFileChangedBar::OverwriteRequested);
  connect(BtnReload, &QPushButton::clicked, this, &TFileChangedBar::ReloadRequested);
  connect(BtnMerge, &QPushButton::clicked, this, &TFileChangedBar::MergeRequested);
  connect(BtnDiff, &QPushButton::clicked, this, &TFileChangedBar::DiffRequested);
  connect(BtnDismiss, &QPushButton::clicked, this, &QWidget::hide);
  PlaceButtons();
}

void TFileChangedBar::PlaceButtons() {
  const QMargins margins = Layout->contentsMargins();
  const int oneLine = margins.left() + LbIcon->sizeHint().width() + Layout->horizontalSpacing() +
                      LbNotice->fontMetrics().horizontalAdvance(LbNotice->text()) +
                      Layout->horizontalSpacing() + Buttons->sizeHint().width() + margins.right();
  const bool beside = width() >= oneLine;
  int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
  const int at = Layout->indexOf(Buttons);
  if (at >= 0) Layout->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
  if (at >= 0 && (column == 2) == beside) return;
  Layout->removeWidget(Buttons);
  if (beside)
    Layout->addWidget(Buttons, 0, 2);
  else
    Layout->addWidget(Buttons, 1, 1, 1, 2);
}

void TFileChangedBar::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  PlaceButtons();
}

void TFileChangedBar::ShowNotice(const QString& text, bool canReload) {
  BtnOverwrite->setVisible(true);
  for (QPushButton* button : {BtnReload, BtnMerge, BtnDiff})
    button->setVisible(canReload);
  Show(text);
}

void TFileChangedBar::ShowInformation(const QString& text) {
  for (QPushButton* button : {BtnOverwrite, BtnReload, BtnMerge, BtnDiff})
    button->setVisible(false);
  Show(text);
}

void TFileChangedBar::Show(const QString& text) {
  const bool again = isVisible() && LbNotice->text() == text;
  LbNotice->setText(text);
  setAccessibleDescription(text);
  PlaceButtons();
  show();
  if (!again) AnnounceAlert(this);  // each new notice once
}

void TFileChangedBar::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  // A border in the palette's highlight keeps the bar apart from the window in light
  // and dark themes alike.
  QPainter painter(this);
  QPen pen(palette().color(QPalette::Highlight));
  pen.setWidth(2);
  painter.setPen(pen);
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

bool TFileChangedBar::ShowsChange() const {
  return isVisible() && !BtnOverwrite->isHidden();
}

QString TFileChangedBar::Text() const {
  return LbNotice->text();
}
