#include "BarBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

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

  LbMes = new QLabel(this);
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
  // A long button title is cut with an ellipsis rather than at the box's edge.
  LbMes->setText(LbMes->fontMetrics().elidedText(text, Qt::ElideRight, LbMes->width()));
}

void TBarBox::RepaintMessage() {
  if (LbMes->isVisible()) LbMes->repaint();
}

void TBarBox::SetRange(int max) {
  const bool counted = max > 0;
  if (counted) {
    Gauge1->SetMaxValue(max);
    Gauge1->SetProgress(0);
    UpdateCount();
  }
  Gauge1->setVisible(counted);
  LbCount->setVisible(counted);
}

void TBarBox::SetPosition(int position) {
  Gauge1->SetProgress(position);
  UpdateCount();
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
  LbCount->setText(QStringLiteral("( %1 / %2 )").arg(Gauge1->Progress()).arg(Gauge1->MaxValue()));
}
