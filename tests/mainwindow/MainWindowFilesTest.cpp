// Opening another data file and saving under another name from the File menu.
#include <QFileInfo>
#include <QTest>
#include <filesystem>

#include <gtest/gtest.h>

#include "EditorStart.h"
#include "MainWindowFixture.h"
#include "RecentFiles.h"
#include "RecoveryCopy.h"

using namespace main_window_test;

namespace {

// A recent-files list of the test's own: tests run side by side.
struct TConfigHome {
  TTempDir dir;
  testing_support::TEnvironmentScope scope{"XDG_CONFIG_HOME", dir.Path().string()};
};

std::vector<std::string> PageNames(TMainWindow& form) {
  std::vector<std::string> names;
  for (int r = 1; r < form.Store().RowCount(); ++r)
    names.push_back(form.Store().Cell(0, r));
  return names;
}

}  // namespace

TEST(MainWindowFiles, OpeningAnotherFileAsksFirstAndLeavesNothingOfTheOld) {
  TConfigHome home;
  TTempDir first, second;
  const std::string a = DataFile(first, {{"a", 2}});
  const std::string b = DataFile(second, {{"b", 1}, {"c", 1}});
  TStarted s({"pelledit", Q(a)});
  ASSERT_TRUE(s.accepted);
  s.dialogs.PushText(QStringLiteral("new"));
  s.form.mnPageNewClick();
  ASSERT_TRUE(s.form.UndoStack().canUndo());

  // Cancel keeps the edits; a file that cannot be read is told and keeps them too.
  s.dialogs.PushFileName(Q(b));
  s.dialogs.PushMessageAnswer(mrCancel);
  s.form.mnOpenClick();
  testing_support::WriteFile(second.File("junk.lst"), "junk");
  s.dialogs.PushMessageAnswer(mrNo);
  s.dialogs.PushMessageAnswer(mrOk);
  EXPECT_FALSE(s.form.OpenDataFile(Q(second.File("junk.lst"))));
  EXPECT_TRUE(s.dialogs.Questions().back().Text.contains(Q(second.File("junk.lst"))));
  EXPECT_EQ(PageNames(s.form).size(), 2u);
  EXPECT_TRUE(s.form.UndoStack().canUndo());

  // No: the edits are given up, the new file's grid has a history of its own.
  s.dialogs.PushMessageAnswer(mrNo);
  ASSERT_TRUE(s.form.OpenDataFile(Q(b)));
  EXPECT_EQ(PageNames(s.form), (std::vector<std::string>{"\"b\",1,0", "\"c\",1,0"}));
  EXPECT_EQ(s.form.SaveFileName, Q(b));
  EXPECT_FALSE(s.form.UndoStack().canUndo());
  EXPECT_TRUE(s.form.windowTitle().startsWith(QStringLiteral("data.lst - ")));
  EXPECT_FALSE(FindRecoveryCopy(Q(a)).has_value());
  EXPECT_TRUE(std::filesystem::exists(first.File(IniName()))) << "the old file's size kept";
  EXPECT_EQ(RecentFiles(), (QStringList{Q(b), Q(a)}));

  // A save now backs up and writes the new file only.
  const std::string aBytes = testing_support::ReadFile(a);
  s.dialogs.PushText(QStringLiteral("d"));
  s.form.mnPageNewClick();
  s.dialogs.PushMessageAnswer(mrYes);
  s.form.mnSave->trigger();
  EXPECT_EQ(testing_support::ReadFile(a), aBytes);
  EXPECT_TRUE(std::filesystem::exists(second.File("pelledit-backup")));
  EXPECT_FALSE(std::filesystem::exists(first.File("pelledit-backup")));
}

TEST(MainWindowFiles, SaveAsMakesTheNewFileTheDataFile) {
  TTempDir dir;
  const std::string a = DataFile(dir, {{"a", 2}});
  const std::string aBytes = testing_support::ReadFile(a);
  const QString copy = Q(dir.File("copy.lst"));
  TStarted s({"pelledit", "/F", Q(a)});
  ASSERT_TRUE(s.accepted);
  s.dialogs.PushText(QStringLiteral("new"));
  s.form.mnPageNewClick();

  s.dialogs.PushFileName(copy);
  s.form.mnSaveAsClick();
  EXPECT_EQ(testing_support::ReadFile(a), aBytes);
  EXPECT_EQ(s.form.SaveFileName, copy);
  EXPECT_TRUE(s.form.UndoStack().isClean());
  EXPECT_EQ(s.form.windowTitle().left(9), QStringLiteral("copy.lst "));
  {
    TStarted again({"pelledit", copy});
    ASSERT_TRUE(again.accepted);
    EXPECT_EQ(PageNames(again.form), PageNames(s.form));
  }

  // Over a file that exists only when the user says so.
  s.dialogs.PushFileName(Q(a));
  s.dialogs.PushMessageAnswer(mrNo);
  s.form.mnSaveAsClick();
  EXPECT_EQ(testing_support::ReadFile(a), aBytes);
  EXPECT_EQ(s.form.SaveFileName, copy);
}

TEST(RecentFiles, KeepsTheNewestEightOnceEach) {
  TConfigHome home;
  for (int i = 0; i < 10; ++i)
    RememberRecentFile(QStringLiteral("/data/%1.lst").arg(i));
  RememberRecentFile(QStringLiteral("/data/5.lst"));
  RememberRecentFile(QStringLiteral("/data/bad\nname.lst"));
  EXPECT_EQ(RecentFiles(),
            (QStringList{"/data/5.lst", "/data/9.lst", "/data/8.lst", "/data/7.lst", "/data/6.lst",
                         "/data/4.lst", "/data/3.lst", "/data/2.lst"}));
  ForgetRecentFile(QStringLiteral("/data/9.lst"));
  EXPECT_EQ(RecentFiles().size(), 7);
  EXPECT_EQ(RecentFiles().first(), QStringLiteral("/data/5.lst"));
}

// A file whose pages own more buttons than it holds is told, shown with empty cells,
// and unsaved from the start; a UTF-8 file is refused and leaves the grid as it was.
TEST(MainWindowFiles, ADamagedOrUtf8FileIsToldAtOpen) {
  TConfigHome home;
  TTempDir first, second;
  const std::string a = DataFile(first, {{"a", 2}});
  std::string bytes = testing_support::ReadFile(DataFile(second, {{"b", 2}, {"c", 1}}));
  const std::size_t page = bytes.find("\"c\",1,");
  ASSERT_NE(page, std::string::npos);
  bytes.replace(page, 6, "\"c\",2147483647,");
  const std::string damaged = second.File("damaged.lst");
  testing_support::WriteFile(damaged, bytes);
  TStarted s({"pelledit", Q(a)});
  ASSERT_TRUE(s.accepted);
  ASSERT_FALSE(s.form.windowTitle().startsWith(QLatin1Char('*')));

  s.dialogs.PushMessageAnswer(mrOk);
  ASSERT_TRUE(s.form.OpenDataFile(Q(damaged)));
  const TAskedQuestion& told = s.dialogs.Questions().back();
  EXPECT_EQ(told.Caption, QStringLiteral("データーファイルの確認"));
  EXPECT_TRUE(
      told.Text.contains(QStringLiteral("2147483649 個のボタンを持つはずですが、"
                                        "ファイルにあるボタンは 3 個です")))
      << told.Text.toStdString();
  EXPECT_TRUE(s.form.windowTitle().startsWith(QStringLiteral("*damaged.lst")));
  EXPECT_FALSE(s.form.Store().Cell(9999, 2).empty()) << "the missing cells shown as before";

  // UTF-8 text, with its mark or without: refused, and nothing of the grid changes.
  const std::string utf8 = second.File("utf8.lst");
  const std::string text =
      "\"PelloRunner\",\"3.00\",\"m\",0,0,1\r\n**\r\n\"アプリ\",0,0\r\n**\r\n**\r\n";
  for (const std::string& file : {"\xEF\xBB\xBF" + text, text}) {
    testing_support::WriteFile(utf8, file);
    s.dialogs.PushMessageAnswer(mrNo);  // the damaged file's grid is not saved
    s.dialogs.PushMessageAnswer(mrOk);
    EXPECT_FALSE(s.form.OpenDataFile(Q(utf8)));
    EXPECT_TRUE(s.dialogs.Questions().back().Text.contains(
        QStringLiteral("Shift-JIS のデーターファイルではありません")))
        << s.dialogs.Questions().back().Text.toStdString();
    EXPECT_EQ(s.form.SaveFileName, Q(damaged));
  }
}

// Started from the menu, without FILE: the newest recent file that still exists opens
// at once; else the chooser; a file that cannot be opened is told, then the chooser;
// cancelling it ends the program with 0 and no message.
TEST(EditorStart, WithoutAFileTheLastOneOpensElseTheChosenOne) {
  TConfigHome home;
  TTempDir dir;
  const std::string a = DataFile(dir, {{"a", 1}});
  RememberRecentFile(Q(a));
  RememberRecentFile(Q(dir.File("gone.lst")));
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  // What was asked, leaving out the loading box's progress.
  const auto asked = [&dialogs] {
    std::vector<TAskedQuestion> questions;
    for (const TAskedQuestion& q : dialogs.Questions())
      if (q.Kind != TQuestionKind::ProgressOk) questions.push_back(q);
    return questions;
  };
  int status = -1;
  std::unique_ptr<TMainWindow> form = OpenEditorWindow({"pelledit"}, status);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->SaveFileName, Q(a));
  EXPECT_TRUE(form->mnSave->isVisible()) << "saved with the File menu, as /F";
  EXPECT_TRUE(asked().empty());
  form.reset();

  testing_support::WriteFile(a, "junk");
  dialogs.PushMessageAnswer(mrOk);
  dialogs.PushCancel();
  EXPECT_EQ(OpenEditorWindow({"pelledit"}, status), nullptr);
  EXPECT_EQ(status, kExitClosed);
  ASSERT_EQ(asked().size(), 2u);
  EXPECT_TRUE(asked()[0].Text.contains(Q(a)));
  EXPECT_EQ(asked()[1].Caption, QStringLiteral("データーファイルを開く"));

  ClearRecentFiles();
  const std::string b = DataFile(dir, {{"b", 2}});
  dialogs.PushFileName(Q(b));
  form = OpenEditorWindow({"pelledit"}, status);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->SaveFileName, Q(b));
  EXPECT_EQ(asked().size(), 3u) << "the chooser, nothing else";
}
