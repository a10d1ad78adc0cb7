#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "GuiTest.h"
#include "InputDialog.h"
#include "WorkArea.h"

namespace {

const QString kButtonsCaption = QStringLiteral("ボタンの追加");
const QString kButtonsPrompt = QStringLiteral("1～10個の間で指定 ");
const QString kPageCaption = QStringLiteral("ページ名の変更");
const QString kPagePrompt = QStringLiteral("ページ名を入力して下さい。");

QSpinBox* Spin(QWidget* box) {
  return Child<QSpinBox>(box, "SpinIconSize");
}
QLineEdit* Edit(QWidget* box) {
  return Child<QLineEdit>(box, "EdMes");
}
QPushButton* Ok(QWidget* box) {
  return Child<QPushButton>(box, "OKButton");
}
QPushButton* Cancel(QWidget* box) {
  return Child<QPushButton>(box, "BtnCansel");
}

void TypeInto(QSpinBox* spin, const QString& text) {
  spin->selectAll();
  TypeText(spin, text);
}

// Asks for a number in 1..10 starting at start, with the default button at 1.
bool AskButtons(int& value, std::function<void(QWidget*)> act, int defaultValue = 1) {
  WhenModalOpens(std::move(act));
  return InputNumber(100, 100, 1, defaultValue, value, kButtonsPrompt, kButtonsCaption, 10);
}

bool AskPageName(QString& name, std::function<void(QWidget*)> act) {
  WhenModalOpens(std::move(act));
  return InputText(100, 100, kPageCaption, name, kPagePrompt);
}

}  // namespace

TEST(InputNumber, OpensClampedAndShowsOnlyTheNumberControls) {
  int value = 0;
  QString title, prompt, shown;
  QSize size;
  bool defaultShown = false, editShown = true, comboShown = true;
  ASSERT_TRUE(AskButtons(value, [&](QWidget* box) {
    title = box->windowTitle();
    prompt = Child<QLabel>(box, "LbMes")->text();
    shown = Spin(box)->text();
    size = box->size();
    defaultShown = Child<QPushButton>(box, "DefButton")->isVisible();
    editShown = Edit(box)->isVisible();
    comboShown = Child<QComboBox>(box, "SComboBox")->isVisible();
    Ok(box)->click();
  }));
  EXPECT_EQ(title, kButtonsCaption);
  EXPECT_EQ(prompt, kButtonsPrompt);
  EXPECT_EQ(shown, QStringLiteral("1"));
  EXPECT_EQ(value, 1);
  EXPECT_EQ(size, QSize(286, 80));
  EXPECT_TRUE(defaultShown);
  EXPECT_FALSE(editShown);
  EXPECT_FALSE(comboShown);
}

TEST(InputNumber, TypedNumbersAreClampedAndOthersGiveTheMinimum) {
  const auto typeThenOk = [](const QString& typed) {
    int value = 5;
    EXPECT_TRUE(AskButtons(value, [typed](QWidget* box) {
      TypeInto(Spin(box), typed);
      QTest::keyClick(Spin(box), Qt::Key_Return);  // OK is the default button
    }));
    return value;
  };
  EXPECT_EQ(typeThenOk(QStringLiteral("25")), 10);
  EXPECT_EQ(typeThenOk(QStringLiteral("7")), 7);
  EXPECT_EQ(typeThenOk(QStringLiteral("-3")), 1);
  EXPECT_EQ(typeThenOk(QStringLiteral("1.5")), 1);  // not a whole number
  EXPECT_EQ(typeThenOk(QStringLiteral("-")), 1);
  EXPECT_EQ(typeThenOk(QStringLiteral("８")), 8);  // typed full-width by an input method
  EXPECT_EQ(typeThenOk(QStringLiteral("3a")), 3);  // letters are refused as typed
}

TEST(InputNumber, LeavingTheFieldClampsWhatWasTyped) {
  int value = 5;
  QString afterLeaving;
  AskButtons(value, [&](QWidget* box) {
    TypeInto(Spin(box), QStringLiteral("25"));
    Ok(box)->setFocus();
    afterLeaving = Spin(box)->text();
    Cancel(box)->click();
  });
  EXPECT_EQ(afterLeaving, QStringLiteral("10"));
}

TEST(InputNumber, DefaultButtonSetsTheDefaultAndHidesWithoutOne) {
  int value = 5;
  EXPECT_TRUE(AskButtons(
      value,
      [](QWidget* box) {
        TypeInto(Spin(box), QStringLiteral("9"));
        Child<QPushButton>(box, "DefButton")->click();
        Ok(box)->click();
      },
      4));
  EXPECT_EQ(value, 4);

  bool defaultShown = true;
  AskButtons(
      value,
      [&](QWidget* box) {
        defaultShown = Child<QPushButton>(box, "DefButton")->isVisible();
        Ok(box)->click();
      },
      -1);
  EXPECT_FALSE(defaultShown);
}

TEST(InputNumber, CancelLeavesTheValue) {
  int value = 7;
  EXPECT_FALSE(AskButtons(value, [](QWidget* box) {
    TypeInto(Spin(box), QStringLiteral("3"));
    Cancel(box)->click();
  }));
  EXPECT_EQ(value, 7);
  EXPECT_FALSE(AskButtons(value, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }));
  EXPECT_EQ(value, 7);
}

TEST(InputText, OkFollowsTheTextAfterTheFirstChange) {
  QString name = QStringLiteral("ページ5");
  bool okAtStart = false, okWhenEmpty = true, okAgain = false;
  QString shown;
  ASSERT_TRUE(AskPageName(name, [&](QWidget* box) {
    shown = Edit(box)->text();
    okAtStart = Ok(box)->isEnabled();
    Edit(box)->selectAll();
    QTest::keyClick(Edit(box), Qt::Key_Backspace);
    okWhenEmpty = Ok(box)->isEnabled();
    TypeText(Edit(box), QStringLiteral(" 表 "));
    okAgain = Ok(box)->isEnabled();
    QTest::keyClick(Edit(box), Qt::Key_Return);
  }));
  EXPECT_EQ(shown, QStringLiteral("ページ5"));
  EXPECT_TRUE(okAtStart);
  EXPECT_FALSE(okWhenEmpty);
  EXPECT_TRUE(okAgain);
  EXPECT_EQ(name, QStringLiteral(" 表 "));  // not trimmed
}

TEST(InputText, EmptyStartKeepsOkEnabledUntilTheFirstChange) {
  QString name;
  bool okAtStart = false;
  EXPECT_TRUE(AskPageName(name, [&](QWidget* box) {
    okAtStart = Ok(box)->isEnabled();
    Ok(box)->click();
  }));
  EXPECT_TRUE(okAtStart);
  EXPECT_TRUE(name.isEmpty());
}

TEST(InputText, RefusesCharactersARecordCannotHold) {
  QString name = QStringLiteral("元");
  ASSERT_TRUE(AskPageName(name, [](QWidget* box) {
    Edit(box)->selectAll();
    TypeText(Edit(box), QStringLiteral("aāb①"));
    Ok(box)->click();
  }));
  EXPECT_EQ(name, QStringLiteral("ab①"));  // ā has no Shift-JIS form; ① has
}

TEST(InputText, CancelLeavesTheText) {
  QString name = QStringLiteral("元の名前");
  EXPECT_FALSE(AskPageName(name, [](QWidget* box) {
    TypeText(Edit(box), QStringLiteral("新"));
    QTest::keyClick(Edit(box), Qt::Key_Escape);
  }));
  EXPECT_EQ(name, QStringLiteral("元の名前"));
}

TEST(InputChoice, ReturnsTheIndexChosen) {
  const QStringList items{QStringLiteral("デスクトップ"), QStringLiteral("マイ コンピュータ"),
                          QStringLiteral("コントロール パネル")};
  int choice = -5;
  int shownIndex = -1;
  WhenModalOpens([&](QWidget* box) {
    auto* combo = Child<QComboBox>(box, "SComboBox");
    shownIndex = combo->currentIndex();
    QTest::keyClick(combo, Qt::Key_Up);
    Ok(box)->click();
  });
  ASSERT_TRUE(InputChoice(100, 100, QStringLiteral("特殊フォルダ登録"), 2, choice, items,
                          QStringLiteral("選択したボタンに登録する特殊フォルダの選択")));
  EXPECT_EQ(shownIndex, 2);
  EXPECT_EQ(choice, 1);

  WhenModalOpens([](QWidget* box) { Cancel(box)->click(); });
  EXPECT_FALSE(InputChoice(100, 100, QStringLiteral("特殊フォルダ登録"), 0, choice, items,
                           QStringLiteral("選択")));
  EXPECT_EQ(choice, 1);
}

TEST(InputChoice, NothingToChooseCannotBeConfirmed) {
  int choice = 3;
  bool okEnabled = true;
  WhenModalOpens([&](QWidget* box) {
    okEnabled = Ok(box)->isEnabled();
    QTest::keyClick(Child<QComboBox>(box, "SComboBox"), Qt::Key_Return);
  });
  EXPECT_FALSE(InputChoice(100, 100, QStringLiteral("特殊フォルダ登録"), 0, choice, {},
                           QStringLiteral("選択")));
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(choice, 3);
}

TEST(InputDialog, OpensAtThePlaceAskedKeptInTheWorkArea) {
  const QRect area = DesktopWorkArea();
  QRect frame;
  const auto openedAt = [&frame](int x, int y) {
    WhenModalOpens([&frame](QWidget* box) {
      frame = box->frameGeometry();
      Cancel(box)->click();
    });
    QString text = QStringLiteral("x");
    InputText(x, y, kPageCaption, text, kPagePrompt);
    return frame.topLeft();
  };
  EXPECT_EQ(openedAt(area.x() + 40, area.y() + 30), QPoint(area.x() + 40, area.y() + 30));
  // Flush with the right edge, frame included.
  EXPECT_EQ(openedAt(area.x() + area.width() + 50, area.y() + 30).x() + frame.width(),
            area.x() + area.width());
  EXPECT_EQ(openedAt(area.x() + 40, area.y() - 100), QPoint(area.x() + 40, area.y()));
}
