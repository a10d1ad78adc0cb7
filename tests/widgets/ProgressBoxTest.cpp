#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ElidedLabel.h"
#include "Gauge.h"
#include "GuiTest.h"
#include "Progress.h"
#include "ProgressBox.h"
#include "ScriptedDialogs.h"

namespace {

QLabel* Message() {
  return Child<QLabel>(ProgressBox, "LbMes");
}
TGauge* Gauge() {
  return Child<TGauge>(ProgressBox, "GaugeBar");
}
QLabel* Count() {
  return Child<QLabel>(ProgressBox, "LbCount");
}
QPushButton* Button() {
  return Child<QPushButton>(ProgressBox, "BtnCansel");
}

// Runs act on the progress box once FinishProgress waits for it, then finishes.
void FinishAnswering(const QString& text, std::function<void()> act) {
  QTimer::singleShot(0, qApp, std::move(act));
  FinishProgress(text);
}

class ProgressBoxTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (ProgressBox) {
      ProgressAnswer = mrOk;
      FinishProgress(QString());
    }
  }
};

}  // namespace

TEST_F(ProgressBoxTest, CountsEveryStepToAFullBar) {
  ShowProgress(125, QStringLiteral("データーファイル読み込み中..."), false);
  ASSERT_NE(ProgressBox, nullptr);
  EXPECT_EQ(ProgressBox->windowTitle(), QStringLiteral("データー状況"));
  EXPECT_TRUE(ProgressBox->isVisible());
  // Not waited on (ShowProgress returned), yet no other window takes input meanwhile.
  EXPECT_EQ(ProgressBox->windowModality(), Qt::ApplicationModal);
  EXPECT_TRUE(ProgressBox->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(ProgressBox->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(ProgressBox->size(), QSize(400, 72));
  EXPECT_EQ(Message()->text(), QStringLiteral("データーファイル読み込み中..."));
  EXPECT_EQ(Count()->text(), QStringLiteral("( 0 / 125 )"));
  EXPECT_TRUE(Gauge()->isVisible());
  EXPECT_FALSE(Button()->isVisible());

  for (int step = 1; step <= 125; ++step) {
    EXPECT_EQ(StepProgress(step, QStringLiteral("ボタン%1").arg(step)), 0);
    // Set at every step, whether or not this step let events run.
    ASSERT_EQ(ProgressBox->CountText(), QStringLiteral("( %1 / 125 )").arg(step));
    ASSERT_EQ(ProgressBox->Message(), QStringLiteral("ボタン%1").arg(step));
  }
  // Shown as soon as events run.
  QTest::qWait(15);
  StepProgress(125, QStringLiteral("ボタン125"));
  EXPECT_EQ(Count()->text(), QStringLiteral("( 125 / 125 )"));
  EXPECT_EQ(Message()->text(), QStringLiteral("ボタン125"));
  EXPECT_EQ(Gauge()->PercentDone(), 100);

  QString buttonText;
  bool buttonShown = false;
  FinishAnswering(QStringLiteral("読み込み完了"), [&] {
    buttonText = Button()->text();
    buttonShown = Button()->isVisible();
    EXPECT_EQ(Message()->text(), QStringLiteral("読み込み完了"));
    QTest::keyClick(Button(), Qt::Key_Escape);
  });
  EXPECT_EQ(buttonText, QStringLiteral("Ok"));
  EXPECT_TRUE(buttonShown);
  EXPECT_EQ(ProgressAnswer, mrOk);
  EXPECT_EQ(ProgressBox, nullptr);
}

TEST_F(ProgressBoxTest, WithoutAMaximumShowsOnlyTheMessageAndStillWaits) {
  ShowProgress(0, QStringLiteral("データーファイル保存中..."), false);
  EXPECT_FALSE(Gauge()->isVisible());
  EXPECT_FALSE(Count()->isVisible());
  bool waited = false;
  FinishAnswering(QStringLiteral("[保存完了] 編集したデーターを保存しました"), [&] {
    waited = ProgressBox != nullptr;
    QTest::mouseClick(Button(), Qt::LeftButton);
  });
  EXPECT_TRUE(waited);
  EXPECT_EQ(ProgressAnswer, mrOk);
  EXPECT_EQ(ProgressBox, nullptr);
}

TEST_F(ProgressBoxTest, EscapeDoesNothingWhileTheButtonIsHidden) {
  ShowProgress(10, QStringLiteral("読み込み中"), false);
  QTest::keyClick(ProgressBox, Qt::Key_Escape);
  ProgressBox->close();
  EXPECT_EQ(ProgressAnswer, 0);
  EXPECT_TRUE(ProgressBox->isVisible());
}

TEST_F(ProgressBoxTest, CancelIsSeenAtTheNextStepAndEndsWithoutWaiting) {
  ShowProgress(10, QStringLiteral("読み込み中"), true);
  EXPECT_TRUE(Button()->isVisible());
  EXPECT_EQ(Button()->text(), QStringLiteral("キャンセル"));
  // Pressed while the first step lets events run: that step still reports 0.
  QTimer::singleShot(0, qApp, [] { QTest::keyClick(Button(), Qt::Key_Escape); });
  EXPECT_EQ(StepProgress(1, QStringLiteral("一")), 0);
  EXPECT_EQ(ProgressAnswer, mrCancel);
  EXPECT_EQ(StepProgress(2, QStringLiteral("二")), mrCancel);
  FinishProgress(QStringLiteral("中止"));  // answered already: returns at once
  EXPECT_EQ(ProgressBox, nullptr);
  EXPECT_EQ(ProgressAnswer, mrCancel);
}

TEST_F(ProgressBoxTest, NothingHappensWithoutABox) {
  ProgressAnswer = mrOk;  // as a finished box leaves it
  EXPECT_EQ(StepProgress(3, QStringLiteral("x")), 0);
  SetProgressRange(5, QStringLiteral("x"));
  FinishProgress(QStringLiteral("x"));
  EXPECT_EQ(ProgressBox, nullptr);
}

TEST_F(ProgressBoxTest, ShowsInTheMiddleOfTheScreenAndEllipsisesLongMessages) {
  const QString longTitle(200, QChar(u'長'));
  ShowProgress(3, longTitle, false);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(ProgressBox->frameGeometry().center().x() - screen.center().x(), 0);
  EXPECT_LE(std::abs(ProgressBox->frameGeometry().center().y() - screen.center().y()), 1);
  EXPECT_EQ(ProgressBox->Message(), longTitle);
  const QString shown = static_cast<TElidedLabel*>(Message())->ShownText();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
  EXPECT_LE(Message()->fontMetrics().horizontalAdvance(shown), Message()->width());
}

TEST_F(ProgressBoxTest, ReopeningReplacesTheBoxAndResetsTheAnswer) {
  ShowProgress(3, QStringLiteral("一"), true);
  Button()->click();
  ShowProgress(4, QStringLiteral("二"), false);
  EXPECT_EQ(ProgressAnswer, 0);
  EXPECT_EQ(Count()->text(), QStringLiteral("( 0 / 4 )"));
  SetProgressRange(0, QStringLiteral("三"));
  EXPECT_FALSE(Count()->isVisible());
  SetProgressRange(6, QStringLiteral("四"));
  EXPECT_TRUE(Count()->isVisible());
  EXPECT_EQ(Count()->text(), QStringLiteral("( 0 / 6 )"));
}

TEST_F(ProgressBoxTest, ScriptedDialogsAcknowledgeTheFinalWait) {
  TScriptedDialogs script;
  TDialogsScope scope(script);
  ShowProgress(2, QStringLiteral("読み込み中"), false);
  StepProgress(1, QStringLiteral("一"));
  FinishProgress(QStringLiteral("読み込み完了"));
  EXPECT_EQ(ProgressAnswer, mrOk);
  EXPECT_EQ(ProgressBox, nullptr);
  ASSERT_EQ(script.Questions().size(), 1u);
  EXPECT_EQ(script.Questions()[0].Kind, TQuestionKind::ProgressOk);
  EXPECT_EQ(script.Questions()[0].Text, QStringLiteral("読み込み完了"));
}

TEST(Gauge, ClampsItsProgressAndRoundsThePercentDown) {
  TGauge gauge;
  gauge.SetMaxValue(3);
  gauge.SetProgress(2);
  EXPECT_EQ(gauge.PercentDone(), 66);
  gauge.SetProgress(9);
  EXPECT_EQ(gauge.Progress(), 3);
  gauge.SetProgress(-1);
  EXPECT_EQ(gauge.Progress(), 0);
  gauge.SetMaxValue(2000000000);
  gauge.SetProgress(1999999999);
  EXPECT_EQ(gauge.PercentDone(), 99);  // no overflow on large files
}
