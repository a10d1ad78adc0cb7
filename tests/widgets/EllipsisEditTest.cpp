#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include "EllipsisEdit.h"

namespace {

// A form with a plain box before the ellipsis box, so that focus can come from elsewhere.
class EllipsisEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.resize(200, 80);
    before = new QLineEdit(&form);
    before->setGeometry(8, 8, 150, 22);
    edit = new TEllipsisEdit(&form);
    edit->setGeometry(8, 40, 150, 22);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    before->setFocus();
  }

  void ClickButton() { QTest::mouseClick(edit->Button(), Qt::LeftButton); }

  QWidget form;
  QLineEdit* before = nullptr;
  TEllipsisEdit* edit = nullptr;
};

}  // namespace

TEST_F(EllipsisEditTest, TextEndsLeftOfTheButton) {
  const QWidget* button = edit->Button();
  EXPECT_EQ(button->width(), edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  EXPECT_LE(button->geometry().right(), edit->width() - 1);
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("/home/user/a/folder/name/that/is/far/too/long/to/show"));
  edit->repaint();  // the box scrolls its text as it paints
  EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().right(), button->x());
}

TEST_F(EllipsisEditTest, ADisabledBoxHasADisabledButtonWithEmbossedDots) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
  palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::Light, Qt::white);
  palette.setColor(QPalette::Shadow, Qt::black);
  edit->setPalette(palette);
  QSignalSpy clicks(edit, &TEllipsisEdit::EllipsisClick);
  TEllipsisButton* button = edit->Button();
  const QPoint centre((button->width() - 2) / 2, (button->height() - 2) / 2);

  const QImage enabled = button->grab().toImage();
  edit->setEnabled(false);
  EXPECT_FALSE(button->isEnabled());
  ClickButton();
  EXPECT_EQ(clicks.count(), 0);
  const QImage disabled = button->grab().toImage();
  EXPECT_EQ(enabled.pixelColor(centre), QColor(Qt::black));
  EXPECT_EQ(disabled.pixelColor(centre), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(disabled.pixelColor(centre + QPoint(2, 1)), QColor(Qt::white));

  edit->setEnabled(true);
  ClickButton();
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(EllipsisEditTest, EnteringByTabSelectsAllButAClickDoesNot) {
  const QString text = QStringLiteral("C:\\Program Files\\Tool");
  edit->setText(text);
  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), text);

  before->setFocus();
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(10, edit->height() / 2));
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_FALSE(edit->hasSelectedText());

  edit->SetAutoSelect(false);
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(EllipsisEditTest, AButtonClickFocusesTheBoxAndIsReportedOnce) {
  edit->setText(QStringLiteral("/tmp"));
  QSignalSpy clicks(edit, &TEllipsisEdit::EllipsisClick);
  ClickButton();
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(QApplication::focusWidget(), edit);
  EXPECT_FALSE(edit->hasSelectedText());  // the mouse, not the keyboard, brought the focus
}

// The chooser opens from the keyboard: Alt+Down or F4 in the box, or Tab on to the
// button and Space.
TEST_F(EllipsisEditTest, TheKeyboardOpensTheChooser) {
  QSignalSpy clicks(edit, &TEllipsisEdit::EllipsisClick);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
  QTest::keyClick(edit, Qt::Key_F4);
  EXPECT_EQ(clicks.count(), 2);
  QTest::keyClick(edit, Qt::Key_Down);  // Down alone is the box's own
  EXPECT_EQ(clicks.count(), 2);
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), edit->Button());
  QTest::keyClick(edit->Button(), Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 3);
}
