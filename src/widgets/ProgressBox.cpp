#include "ProgressBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "ElidedLabel.h"
#include "Gauge.h"
#include "MessageBox.h"
#include "Progress.h"
#include "SystemFont.h"

TProgressBox::TProgressBox(QWidget* parent) : QDialog(parent), modalResult_(mrCancel) {
  setObjectName(QStringLiteral("ProgressBox"));
  setWindowTitle(QStringLiteral("データー状況"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  ApplySystemFont(this);
  setFixedSize(400, 72);

  LbMes = new TElidedLabel(this);
  LbMes->setObjectName(QStringLiteral("LbMes"));
  LbMes->setTextFormat(Qt::PlainText);
  LbMes->setGeometry(16, 6, 369, 16);
  GaugeBar = new TGauge(this);
  GaugeBar->setObjectName(QStringLiteral("GaugeBar"));
  GaugeBar->setGeometry(16, 24, 369, 17);
  LbCount = new QLabel(QStringLiteral("( 0 / 0 )"), this);
  LbCount->setObjectName(QStringLiteral("LbCount"));
  LbCount->setGeometry(16, 48, 280, 16);
  BtnCansel = new QPushButton(QStringLiteral("キャンセル"), this);
  BtnCansel->setObjectName(QStringLiteral("BtnCansel"));
  BtnCansel->setGeometry(310, 48, 82, 21);
  connect(BtnCansel, &QPushButton::clicked, this, &TProgressBox::BtnCanselClick);
}

void TProgressBox::SetMessage(const QString& text) {
  message_ = text;
}

void TProgressBox::Flush() {
  // A long button title is cut with an ellipsis when the label paints, not here.
  if (LbMes->text() != message_) LbMes->setText(message_);
  GaugeBar->SetProgress(position_);
  UpdateCount();
}

void TProgressBox::RepaintMessage() {
  Flush();
  if (LbMes->isVisible()) LbMes->repaint();
}

void TProgressBox::SetRange(int max) {
  const bool counted = max > 0;
  if (counted) {
    GaugeBar->SetMaxValue(max);
    position_ = 0;
    Flush();
  }
  GaugeBar->setVisible(counted);
  LbCount->setVisible(counted);
}

void TProgressBox::SetPosition(int position) {
  position_ = std::clamp(position, 0, std::max(GaugeBar->MaxValue(), 0));
}

int TProgressBox::Position() const {
  return position_;
}

QString TProgressBox::CountText() const {
  return QStringLiteral("( %1 / %2 )").arg(position_).arg(GaugeBar->MaxValue());
}

void TProgressBox::SetCancelVisible(bool visible) {
  BtnCansel->setVisible(visible);
}

void TProgressBox::ShowOk() {
  BtnCansel->setText(QStringLiteral("Ok"));
  modalResult_ = mrOk;
  BtnCansel->show();
  BtnCansel->setFocus();
}

void TProgressBox::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  winId();  // so that the frame is known where the platform tells it
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2,
       area.y() + (area.height() - outer.height()) / 2);
}

void TProgressBox::reject() {
  if (!BtnCansel->isHidden() && BtnCansel->isEnabled()) BtnCansel->click();
}

void TProgressBox::BtnCanselClick() {
  ProgressAnswer = modalResult_;
  emit Answered();
}

void TProgressBox::UpdateCount() {
  const QString count = CountText();
  if (LbCount->text() != count) LbCount->setText(count);
}
