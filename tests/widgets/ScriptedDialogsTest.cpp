#include <gtest/gtest.h>

#include <QPoint>

#include "InputDialog.h"
#include "MessageBox.h"
#include "QtDialogs.h"
#include "ScriptedDialogs.h"

namespace {

class ScriptedDialogsTest : public ::testing::Test {
 protected:
  TScriptedDialogs script;
  TDialogsScope scope{script};
};

}  // namespace

TEST_F(ScriptedDialogsTest, AnswersInOrderAndRecordsEachQuestion) {
  script.PushMessageAnswer(mrYes);
  script.PushText(QStringLiteral("新しい名前"));
  script.PushChoice(2);
  script.PushFileName(QStringLiteral("/tmp/list.csv"));

  EXPECT_EQ(ShowMessageAt(QStringLiteral("削除しますか？"), QStringLiteral("ページ削除"),
                          mbYes | mbNo, TMsgType::Plain, 116, 40),
            mrYes);
  QString name = QStringLiteral("ページ1");
  EXPECT_TRUE(InputText(116, 40, QStringLiteral("ページ名の変更"), name,
                        QStringLiteral("ページ名を入力して下さい。")));
  EXPECT_EQ(name, QStringLiteral("新しい名前"));
  int choice = -1;
  EXPECT_TRUE(InputChoice(10, 20, QStringLiteral("特殊フォルダ登録"), 0, choice,
                          {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                          QStringLiteral("選択")));
  EXPECT_EQ(choice, 2);
  EXPECT_EQ(Dialogs().SaveFileName(nullptr, QStringLiteral("保存"), QStringLiteral("/tmp"),
                                   QStringLiteral("すべてのファイル(*.*)|*.*")),
            QStringLiteral("/tmp/list.csv"));
  EXPECT_EQ(script.PendingAnswers(), 0);

  const auto& asked = script.Questions();
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[0].Kind, TQuestionKind::Message);
  EXPECT_EQ(asked[0].Caption, QStringLiteral("ページ削除"));
  EXPECT_EQ(asked[0].Text, QStringLiteral("削除しますか？"));
  EXPECT_EQ(asked[0].Buttons, unsigned{mbYes | mbNo});
  EXPECT_EQ(asked[0].Type, TMsgType::Plain);
  EXPECT_EQ(QPoint(asked[0].X, asked[0].Y), QPoint(116, 40));
  EXPECT_EQ(asked[1].Kind, TQuestionKind::Text);
  EXPECT_EQ(asked[1].InitialText, QStringLiteral("ページ1"));
  EXPECT_EQ(asked[1].Text, QStringLiteral("ページ名を入力して下さい。"));
  EXPECT_EQ(asked[2].Items.size(), 3);
  EXPECT_EQ(asked[3].Kind, TQuestionKind::SaveFile);
  EXPECT_EQ(asked[3].InitialText, QStringLiteral("/tmp"));
  EXPECT_EQ(asked[3].Filter, QStringLiteral("すべてのファイル(*.*)|*.*"));
}

TEST_F(ScriptedDialogsTest, NumbersAreClampedAsTheRealFieldDoes) {
  script.PushNumber(25);
  script.PushNumber(-4);
  int value = 0;
  EXPECT_TRUE(InputNumber(0, 0, 1, 1, value, QStringLiteral("p"), QStringLiteral("c"), 10));
  EXPECT_EQ(value, 10);
  EXPECT_TRUE(InputNumber(0, 0, 1, 1, value, QStringLiteral("p"), QStringLiteral("c"), 10));
  EXPECT_EQ(value, 1);
  EXPECT_EQ(script.Questions()[1].Initial, 10);
}

TEST_F(ScriptedDialogsTest, CancelLeavesTheAnswersUnchanged) {
  for (int i = 0; i < 4; ++i)
    script.PushCancel();
  int value = 7, choice = 1;
  QString text = QStringLiteral("元");
  EXPECT_FALSE(InputNumber(0, 0, 1, 1, value, {}, {}, 10));
  EXPECT_FALSE(InputText(0, 0, {}, text, {}));
  EXPECT_FALSE(InputChoice(0, 0, {}, 0, choice, {QStringLiteral("a")}, {}));
  EXPECT_TRUE(Dialogs().OpenFileName(nullptr, {}, {}, {}).isEmpty());
  EXPECT_EQ(value, 7);
  EXPECT_EQ(choice, 1);
  EXPECT_EQ(text, QStringLiteral("元"));
}

TEST_F(ScriptedDialogsTest, QuestionsWithoutAFittingAnswerFailLoudly) {
  QString text;
  int value = 0;
  EXPECT_THROW(InputText(0, 0, {}, text, {}), EUnscriptedQuestion);

  script.PushNumber(3);
  EXPECT_THROW(InputText(0, 0, {}, text, {}), EUnscriptedQuestion);
  EXPECT_EQ(script.PendingAnswers(), 1);  // the misfit answer stays queued
  EXPECT_TRUE(InputNumber(0, 0, 1, 1, value, {}, {}, 10));

  script.PushMessageAnswer(mrCancel);  // a box without Cancel cannot answer it
  EXPECT_THROW(ShowMessageAt({}, {}, mbYes | mbNo, TMsgType::Plain, 1, 1), EUnscriptedQuestion);
  script.PushCancel();  // a message box is answered with a button, not a cancel
  EXPECT_THROW(ShowMessageAt({}, {}, mbOK, TMsgType::Plain, 1, 1), EUnscriptedQuestion);
  script.Clear();
  script.PushChoice(1);  // no such entry
  int choice = 0;
  EXPECT_THROW(InputChoice(0, 0, {}, 0, choice, {QStringLiteral("a")}, {}), EUnscriptedQuestion);
}

TEST(DialogsScope, RestoresWhatWasAskedBefore) {
  TDialogs* before = &Dialogs();
  EXPECT_NE(dynamic_cast<TQtDialogs*>(before), nullptr);
  {
    TScriptedDialogs outer;
    TDialogsScope outerScope(outer);
    {
      TScriptedDialogs inner;
      TDialogsScope innerScope(inner);
      EXPECT_EQ(&Dialogs(), &inner);
    }
    EXPECT_EQ(&Dialogs(), &outer);
  }
  EXPECT_EQ(&Dialogs(), before);
}
