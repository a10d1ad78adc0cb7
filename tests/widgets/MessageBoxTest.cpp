#include <gtest/gtest.h>

#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "GuiTest.h"
#include "MessageBox.h"
#include "WorkArea.h"

namespace {

QStringList ButtonTexts(QWidget* box) {
  QStringList texts;
  for (auto* button : box->findChildren<QPushButton*>())
    texts << button->text();
  return texts;
}

// Shows a box with buttons, lets act answer it, and returns the answer.
int AskAndAnswer(unsigned buttons, std::function<void(QWidget*)> act) {
  WhenModalOpens(std::move(act));
  return ShowMessageAt(QStringLiteral("本文"), QStringLiteral("見出し"), buttons,
                       TMsgType::Confirmation, 100, 100);
}

}  // namespace

TEST(MessageBoxText, PutsTheCaptionAsAHeadingAboveAnEmptyLine) {
  EXPECT_EQ(MessageBoxText(QStringLiteral("ボタンを削除しますか？"), QStringLiteral("ボタン削除")),
            QStringLiteral("【 ボタン削除 】\n\nボタンを削除しますか？"));
  EXPECT_EQ(MessageBoxText(QStringLiteral("一\r二\r\n三\n四"), QStringLiteral("題")),
            QStringLiteral("【 題 】\n\n一\n二\n三\n四"));
}

TEST(MessageBoxTitle, NamesTheTypeOrTheApplication) {
  EXPECT_EQ(MessageBoxTitle(TMsgType::Warning), QStringLiteral("警告"));
  EXPECT_EQ(MessageBoxTitle(TMsgType::Error), QStringLiteral("エラー"));
  EXPECT_EQ(MessageBoxTitle(TMsgType::Information), QStringLiteral("情報"));
  EXPECT_EQ(MessageBoxTitle(TMsgType::Confirmation), QStringLiteral("確認"));
  EXPECT_EQ(MessageBoxTitle(TMsgType::Plain), QStringLiteral("登録データー編集"));
}

TEST(ShowMessageAt, ShowsTextTitleIconAndButtonsAtThePlaceAsked) {
  QString title, text;
  QStringList buttons;
  QPoint pos;
  bool hasIcon = false;
  WhenModalOpens([&](QWidget* box) {
    title = box->windowTitle();
    text = Child<QLabel>(box, "Text")->text();
    buttons = ButtonTexts(box);
    pos = box->pos();
    hasIcon = Child<QLabel>(box, "Icon") != nullptr;
    Child<QPushButton>(box, "BtnOK")->click();
  });
  const int answer = ShowMessageAt(QStringLiteral("<b>保存しました</b>"), QStringLiteral("保存"),
                                   mbOK, TMsgType::Information, 120, 90);
  EXPECT_EQ(answer, mrOk);
  EXPECT_EQ(title, QStringLiteral("情報"));
  EXPECT_EQ(text, QStringLiteral("【 保存 】\n\n<b>保存しました</b>"));
  EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
  EXPECT_EQ(pos, QPoint(120, 90));
  EXPECT_TRUE(hasIcon);
}

TEST(ShowMessageAt, PlainBoxHasTheApplicationTitleAndNoIcon) {
  QString title;
  bool hasIcon = true;
  WhenModalOpens([&](QWidget* box) {
    title = box->windowTitle();
    hasIcon = Child<QLabel>(box, "Icon") != nullptr;
    Child<QPushButton>(box, "BtnOK")->click();
  });
  ShowMessageAt(QStringLiteral("パラメーターが正しくない為終了します"),
                QStringLiteral("登録データー編集"), mbOK, TMsgType::Plain, 100, 100);
  EXPECT_EQ(title, QStringLiteral("登録データー編集"));
  EXPECT_FALSE(hasIcon);
}

TEST(ShowMessageAt, OffersTheButtonsInOrderAndReturnsThePressedOne) {
  QStringList shown;
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo | mbCancel,
                         [&](QWidget* box) {
                           shown = ButtonTexts(box);
                           Child<QPushButton>(box, "BtnNo")->click();
                         }),
            mrNo);
  EXPECT_EQ(shown, (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"),
                                QStringLiteral("キャンセル")}));
  EXPECT_EQ(
      AskAndAnswer(mbYes | mbNo, [](QWidget* box) { Child<QPushButton>(box, "BtnYes")->click(); }),
      mrYes);
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo | mbCancel,
                         [](QWidget* box) { Child<QPushButton>(box, "BtnCancel")->click(); }),
            mrCancel);
}

TEST(ShowMessageAt, EscapeAnswersCancelThenNoThenOk) {
  const auto escape = [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); };
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo | mbCancel, escape), mrCancel);
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo, escape), mrNo);
  EXPECT_EQ(AskAndAnswer(mbOK, escape), mrOk);
  EXPECT_EQ(AskAndAnswer(0, escape), mrOk);  // no buttons asked: an OK box
}

TEST(ShowMessageAt, KeysPressTheDefaultAndTheMnemonics) {
  const auto key = [](Qt::Key k) {
    return [k](QWidget* box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, k); };
  };
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo, key(Qt::Key_Return)), mrYes);  // the first is default
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo | mbCancel, key(Qt::Key_N)), mrNo);
  EXPECT_EQ(AskAndAnswer(mbYes | mbNo | mbCancel, key(Qt::Key_Y)), mrYes);
}

TEST(ShowMessageAt, ZeroPositionFollowsTheCursor) {
  QCursor::setPos(300, 250);
  if (QCursor::pos() != QPoint(300, 250)) GTEST_SKIP() << "this platform cannot move the cursor";
  QPoint pos;
  WhenModalOpens([&](QWidget* box) {
    pos = box->pos();
    box->close();
  });
  ShowMessageAt(QStringLiteral("本文"), QStringLiteral("見出し"), mbOK, TMsgType::Plain, 0, 0);
  EXPECT_EQ(pos, QPoint(284, 234));
}

TEST(ShowMessageAt, StaysInsideTheWorkArea) {
  const QRect area = DesktopWorkArea();
  QRect frame;
  WhenModalOpens([&](QWidget* box) {
    frame = box->frameGeometry();
    box->close();
  });
  ShowMessageAt(QStringLiteral("本文"), QStringLiteral("見出し"), mbYes | mbNo, TMsgType::Warning,
                area.right() - 10, area.bottom() - 10);
  EXPECT_TRUE(area.contains(frame));
}
