#include "BarBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "ElidedLabel.h"
#include "Gauge.h"
#include "MessageBox.h"
#include "SystemFont.h"
#include "UnBarBox.h"

TBarBox::TBarBox(QWidget* parent) : QDialog(parent), modalResult_(mrCancel) {
  setObjectName(QStringLiteral("BarBox"));
  setWindowTitle(QStringLiteral("データー状況"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
  ApplySystemFont(this);
  setFixedSize(400, 72);

  LbMes = new TElidedLabel(this);
  LbMes->setObjectName(QStringLiteral("LbMes"));
  LbMes->setTextFormat(Qt::PlainText);
  LbMes->setGeometry(16, 6, 369, 16);
  Gauge1 = new TGauge(this);
  Gauge1->setObjectName(QStringLiteral("Gauge1"));
  Gauge1->setGeometry(16, 24, 369, 17);
  LbCount = new QLabel(QStringLiteral("( 0 / 0 )"), this);
  LbCount->setObjectName(QStringLiteral("LbCount"));
  LbCount->setGeometry(16, 48, 280, 16);
  BtnCansel = new QPushButton(QStringLiteral("キャンセル"), this);
  BtnCansel->setObjectName(QStringLiteral("BtnCansel"));
  BtnCansel->setGeometry(310, 48, 82, 21);
  connect(BtnCansel, &QPushButton::clicked, this, &TBarBox::BtnCanselClick);
}

void TBarBox::SetMessage(const QString& text) {
  message_ = text;
}

void TBarBox::Flush() {
  // A long button title is cut with an ellipsis when the label paints, not here.
  if (LbMes->text() != message_) LbMes->setText(message_);
  Gauge1->SetProgress(position_);
  UpdateCount();
}

void TBarBox::RepaintMessage() {
  Flush();
  if (LbMes->isVisible()) LbMes->repaint();
}

void TBarBox::SetRange(int max) {
  const bool counted = max > 0;
  if (counted) {
    Gauge1->SetMaxValue(max);
    position_ = 0;
    Flush();
  }
  Gauge1->setVisible(counted);
  LbCount->setVisible(counted);
}

void TBarBox::SetPosition(int position) {
  position_ = std::clamp(position, 0, std::max(Gauge1->MaxValue(), 0));
}

int TBarBox::Position() const {
  return position_;
}

QString TBarBox::CountText() const {
  return QStringLiteral("( %1 / %2 )").arg(position_).arg(Gauge1->MaxValue());
}

void TBarBox::SetCancelVisible(bool visible) {
  BtnCansel->setVisible(visible);
}

void TBarBox::ShowOk() {
  BtnCansel->setText(QStringLiteral("Ok"));
  modalResult_ = mrOk;
  BtnCansel->show();
  BtnCansel->setFocus();
}

void TBarBox::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  winId();  // so that the frame is known where the platform tells it
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2,
       area.y() + (area.height() - outer.height()) / 2);
}

void TBarBox::reject() {
  if (!BtnCansel->isHidden() && BtnCansel->isEnabled()) BtnCansel->click();
}

void TBarBox::BtnCanselClick() {
  ProgressAnswer = modalResult_;
  emit Answered();
}

void TBarBox::UpdateCount() {
  const QString count = CountText();
  if (LbCount->text() != count) LbCount->setText(count);
}
