#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "FolderBrowser.h"
#include "GuiTest.h"
#include "ScriptedDialogs.h"

namespace {

using Browser = TFolderBrowser;

const QString kFavorites = QStringLiteral("お気に入り");

// A folder tree: Zeta, Alpha/beta/Gamma, alpha2, .hidden/deep and a file.
class FolderBrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    for (const char* folder : {"Zeta", "Alpha/beta/Gamma", "alpha2", ".hidden/deep"})
      ASSERT_TRUE(QDir(tmp.path()).mkpath(QLatin1String(folder)));
    QFile file(Path("file.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QString Path(const char* relative) const { return tmp.path() + u'/' + QLatin1String(relative); }

  QTemporaryDir tmp;
};

QTreeWidget* Tree(QWidget* box) {
  return Child<QTreeWidget>(box, "Tree");
}

QPushButton* Ok(QWidget* box) {
  return Child<QPushButton>(box, "BtnOk");
}

QString PathOf(const QTreeWidgetItem* item) {
  return item ? item->data(0, TFolderBrowseDialog::kPathRole).toString() : QStringLiteral("?");
}

QStringList ChildNames(const QTreeWidgetItem* item) {
  QStringList names;
  for (int i = 0; i < item->childCount(); ++i)
    names << item->child(i)->text(0);
  return names;
}

QTreeWidgetItem* TopLevelNamed(QTreeWidget* tree, const QString& name) {
  const auto found = tree->findItems(name, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.front();
}

}  // namespace

TEST_F(FolderBrowseTest, AManualRootWithoutAnAbsoluteFolderIsTheDesktop) {
  const QString desktop = Browser().RootItem().Path;
  ASSERT_FALSE(desktop.isEmpty());
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(tmp.path());  // "Alpha" names a folder only relative to here
  Browser browser;
  browser.RootFolder = Browser::rfManual;
  for (const QString& name : {QString(), Path("file.txt"), Path("missing"), QStringLiteral("Alpha"),
                              QStringLiteral("C:\\Windows")}) {
    browser.RootFolderName = name;
    EXPECT_EQ(browser.RootItem().Path, desktop) << name.toStdString();
  }
  QDir::setCurrent(cwd);

  browser.RootFolderName = Path("Alpha/");
  TScriptedDialogs script;
  TDialogsScope scope(script);
  script.PushCancel();
  EXPECT_FALSE(browser.Execute());
  EXPECT_EQ(script.Questions().at(0).Root, Path("Alpha"));
}

TEST_F(FolderBrowseTest, TheDialogOpensOnTheManualSelectionAndConfirmsAFolder) {
  Browser browser;
  browser.RootFolder = Browser::rfManual;
  browser.RootFolderName = tmp.path();
  browser.SelectFolder = Browser::sfManual;
  browser.SelectFolderName = Path("Alpha/beta");
  browser.Options = Browser::sboReturnOnlyFSDirs | Browser::sboStatusText;
  browser.OnSelectionChanged = [](const QString& path, QString& showText,
                                  Browser::TOKButtonState&) { showText = u'<' + path + u'>'; };
  QString atStart, status, gamma;
  QStringList rootChildren;
  WhenModalOpens([&](QWidget* box) {
    QTreeWidget* tree = Tree(box);
    atStart = PathOf(tree->currentItem());
    status = Child<QLabel>(box, "LbStatus")->text();
    rootChildren = ChildNames(tree->topLevelItem(0));
    QTreeWidgetItem* beta = tree->currentItem();
    beta->setExpanded(true);
    if (beta->childCount() != 1) return;
    gamma = PathOf(beta->child(0));
    tree->setCurrentItem(beta->child(0));
    Ok(box)->click();
  });
  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(atStart, Path("Alpha/beta"));
  EXPECT_EQ(status, u'<' + Path("Alpha/beta") + u'>');
  EXPECT_EQ(rootChildren, (QStringList{"Alpha", "alpha2", "Zeta"}));
  EXPECT_EQ(gamma, Path("Alpha/beta/Gamma"));
  EXPECT_EQ(browser.FolderPath, Path("Alpha/beta/Gamma"));
  EXPECT_EQ(browser.DisplayName, QStringLiteral("Gamma"));

  // A hidden folder stays out of the tree unless the selection lies inside it.
  browser.SelectFolderName = Path(".hidden/deep");
  WhenModalOpens([&](QWidget* box) {
    atStart = PathOf(Tree(box)->currentItem());
    Ok(box)->click();
  });
  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(atStart, Path(".hidden/deep"));
}

TEST_F(FolderBrowseTest, APathlessItemIsConfirmedOnlyWhenTheOptionsAllowIt) {
  Browser browser;  // rooted at the desktop, beside which the virtual folders hang
  browser.SelectFolder = Browser::sfFavorites;
  bool okEnabled = true;
  QString selected;
  WhenModalOpens([&](QWidget* box) {
    selected = Tree(box)->currentItem()->text(0);
    okEnabled = Ok(box)->isEnabled();
    Ok(box)->click();  // no effect: the dialog stays open and is closed
  });
  EXPECT_FALSE(browser.Execute());
  EXPECT_EQ(selected, kFavorites);
  EXPECT_FALSE(okEnabled);

  browser.Options = Browser::sboStatusText;
  browser.SelectFolder = Browser::sfDesktop;
  WhenModalOpens([&](QWidget* box) {
    Tree(box)->setCurrentItem(TopLevelNamed(Tree(box), kFavorites));
    Ok(box)->click();
  });
  ASSERT_TRUE(browser.Execute());
  EXPECT_TRUE(browser.FolderPath.isEmpty());
  EXPECT_EQ(browser.DisplayName, kFavorites);

  // The scripted dialogs keep the same rule.
  TScriptedDialogs script;
  TDialogsScope scope(script);
  script.PushFolder({}, kFavorites);
  EXPECT_TRUE(browser.Execute());
  EXPECT_EQ(browser.DisplayName, kFavorites);
  browser.Options = Browser::sboReturnOnlyFSDirs;
  script.PushFolder({}, kFavorites);
  EXPECT_THROW(browser.Execute(), EUnscriptedQuestion);
}

TEST_F(FolderBrowseTest, ACancelAfterAConfirmationLeavesNoResults) {
  TScriptedDialogs script;
  TDialogsScope scope(script);
  Browser browser;
  browser.Caption = QStringLiteral("作業フォルダの選択");
  browser.SelectFolder = Browser::sfManual;
  browser.SelectFolderName = Path("Zeta");
  script.PushFolder(Path("Alpha"));
  script.PushCancel();
  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(browser.FolderPath, Path("Alpha"));
  EXPECT_EQ(browser.DisplayName, QStringLiteral("Alpha"));
  EXPECT_FALSE(browser.Execute());
  EXPECT_TRUE(browser.FolderPath.isEmpty());
  EXPECT_TRUE(browser.DisplayName.isEmpty());

  const TAskedQuestion& asked = script.Questions().at(1);
  EXPECT_EQ(asked.Kind, TQuestionKind::Folder);
  EXPECT_EQ(asked.Caption, browser.Caption);
  EXPECT_EQ(asked.InitialText, Path("Zeta"));
}
