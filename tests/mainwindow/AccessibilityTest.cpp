// What a screen reader and a dark palette get from the windows: every control the user
// can reach has a name, the grid's cells read as the page and button they show, and the
// glyphs and the progress bar stay visible on dark colours.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

#include <gtest/gtest.h>

#include "AlertAccessible.h"
#include "ButtonListBox.h"
#include "DataFileCommands.h"
#include "FileChangedBar.h"
#include "FindBar.h"
#include "FolderBrowser.h"
#include "GridView.h"
#include "ListDiffDialog.h"
#include "MainWindow.h"
#include "MessageDialog.h"
#include "PageEditDialog.h"
#include "ProgressBox.h"
#include "RecordText.h"
#include "RegistrationWizard.h"
#include "ReplaceDialog.h"
#include "ResIconBox.h"
#include "RestoreDialog.h"
#include "ScriptedDialogs.h"
#include "TargetCheckDialog.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;

#include "MainWindowFixture.h"

using namespace main_window_test;

namespace {

bool Interactive(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::PageTabList:
    case QAccessible::PageTab:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ProgressBar:
      return true;
    default:
      return false;
  }
}

QString Describe(QAccessibleInterface* iface) {
  const QObject* object = iface->object();
  QString text = object ? QString::fromLatin1(object->metaObject()->className()) : QString();
  if (object && !object->objectName().isEmpty()) text += QLatin1Char('#') + object->objectName();
  return text + QStringLiteral("(role %1)").arg(static_cast<int>(iface->role()));
}

// A combo box's name is its current text here; what names it is its label, a relation.
bool Named(QAccessibleInterface* iface) {
  if (iface->role() == QAccessible::ComboBox)
    return !iface->relations(QAccessible::Label).isEmpty();
  return !iface->text(QAccessible::Name).trimmed().isEmpty();
}

// Every control below iface that is on screen, can be used and has no name, by its path.
// The items of views and the parts of combo boxes belong to their control.
void CollectUnnamed(QAccessibleInterface* iface, const QString& path, QStringList& out) {
  if (iface == nullptr || iface->state().invisible) return;
  const QString here = path + QLatin1Char('/') + Describe(iface);
  const QAccessible::Role role = iface->role();
  if (Interactive(role) && !Named(iface)) out << here;
  if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table ||
      role == QAccessible::ComboBox)
    return;
  for (int i = 0; i < iface->childCount(); ++i)
    CollectUnnamed(iface->child(i), here, out);
}

// The unnamed controls of window, one a line; empty when there are none.
std::string Unnamed(QWidget* window) {
  QStringList out;
  CollectUnnamed(QAccessible::queryAccessibleInterface(window), QString(), out);
  return out.join(QLatin1Char('\n')).toStdString();
}

std::vector<std::string> PageRow(const std::string& name, int count) {
  TPageItem page;
  page.Caption = name;
  page.Count = count;
  std::vector<std::string> row = {PageToText(page)};
  for (int i = 0; i < count; ++i) {
    TLaunchDataItem item;
    item.Kind = lkProgram;
    item.Title = name + "-" + std::to_string(i);
    item.Link = "/usr/bin/env";
    item.UseCount = 10 * i;
    row.push_back(ItemToText(item));
  }
  return row;
}

// The dark palette of a dark desktop theme, with the Fusion style; the old ones come
// back when it goes.
struct TDarkPalette {
  QPalette before = QApplication::palette();
  QString styleBefore = QApplication::style()->name();
  TDarkPalette() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f, 0x7f, 0x7f));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f, 0x7f, 0x7f));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7f, 0x7f, 0x7f));
    QApplication::setPalette(dark);
  }
  ~TDarkPalette() {
    QApplication::setStyle(styleBefore);
    QApplication::setPalette(before);
  }
};

// The largest difference in lightness between a pixel of image and background.
int Contrast(const QImage& image, const QColor& background) {
  int most = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      most = std::max(most, std::abs(image.pixelColor(x, y).lightness() - background.lightness()));
  return most;
}

// Saves a picture of window into the folder PELLO_SHOT_DIR names, when it names one.
void Shot(QWidget& window, const char* name) {
  const QString folder = qEnvironmentVariable("PELLO_SHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  window.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// The main window on a file of two pages, with its find bar and its notice bar shown.
struct TShownWindow {
  TTempDir dir;
  std::string file = DataFile(dir, {{"one", 3}, {Sjis("二番目"), 2}});
  TStarted s{{"pelledit", "/F", Q(file)}};
  TShownWindow() {
    s.form.show();
    s.form.FindBar().show();
    s.form.ChangedBar().ShowNotice(QStringLiteral("changed"), true);
  }
};

}  // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasAName) {
  TShownWindow shown;
  TStarted& s = shown.s;
  ASSERT_TRUE(s.accepted);
  Shot(s.form, "light-main");
  EXPECT_EQ(Unnamed(&s.form), "") << "main window";

  TPageEditDialog edit;
  edit.Setup(10, 10, 1, 0, 0);
  edit.LoadPage(PageRow("tools", 3));
  edit.show();
  Shot(edit, "light-edit");
  for (int tab = 0; tab < edit.PCtrl->count(); ++tab) {
    edit.PCtrl->setCurrentIndex(tab);
    EXPECT_EQ(Unnamed(&edit), "") << "page edit dialog, tab " << tab;
  }

  TRegistrationWizard wizard;
  wizard.Setup(40, 30, 1, 0, 0, {"p0", "p1"}, {1, 1});
  wizard.show();
  Shot(wizard, "light-wizard");
  for (int page = 0; page < 3; ++page) {
    EXPECT_EQ(Unnamed(&wizard), "") << "wizard, page " << page;
    if (page < 2) wizard.btnNext->click();
  }

  TReplaceDialog replace(s.form.Store(), 1);
  TRestoreDialog restore(Q(shown.file), s.form.Store());
  TLaunchList grid;
  GridToLaunchList(s.form.Store(), grid);
  TListDiffDialog differences;
  differences.ShowDifferences(grid, grid);
  TTargetCheckDialog targets;
  targets.Fill(s.form.Store());
  TProgressBox progress;
  progress.SetRange(10);
  progress.SetPosition(3);
  progress.Flush();
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(
      progress.findChild<QWidget*>(QStringLiteral("GaugeBar")));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
  ASSERT_NE(bar->valueInterface(), nullptr);
  EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 3);
  TResIconBox number, text, choice;
  number.SetupNumber(0, 10, 5, 3);
  number.SetPrompt(QStringLiteral("大きさ"));
  text.SetupText(QStringLiteral("a"));
  text.SetPrompt(QStringLiteral("名前"));
  choice.SetupChoice({QStringLiteral("a"), QStringLiteral("b")}, 0);
  choice.SetPrompt(QStringLiteral("位置"));
  TFolderBrowser browser;
  TFolderBrowseDialog folders(browser);
  for (QWidget* w : std::initializer_list<QWidget*>{&replace, &restore, &differences, &targets,
                                                    &progress, &number, &text, &choice, &folders}) {
    w->show();
    EXPECT_EQ(Unnamed(w), "") << w->metaObject()->className();
    w->hide();
  }
}

std::string Name(QAccessibleInterface* iface) {
  return iface ? iface->text(QAccessible::Name).toStdString() : "(none)";
}

// The grid reads as a table: a page name heads its row, a button cell says its title and
// use count, a cell past the last button says it is free. The page edit dialog's list
// says its buttons the same way.
TEST(Accessibility, GridCellsAndListRowsSayTheirButtonsWithTheirUseCounts) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"one", 3}, {Sjis("二番目"), 2}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&s.form.Grid());
  ASSERT_NE(grid, nullptr);
  QAccessibleTableInterface* table = grid->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(Name(table->cellAt(1, 1)), "二番目-1 (使用回数 1)");
  EXPECT_EQ(Name(table->cellAt(0, 2)), "one-2 (使用回数 2)");
  EXPECT_EQ(Name(table->cellAt(1, 2)), "(空き)");
  QAccessibleTableCellInterface* cell = table->cellAt(1, 0)->tableCellInterface();
  ASSERT_NE(cell, nullptr);
  // Qt makes the header cells for the caller and keeps none of them: handed to its cache,
  // they are deleted there.
  const QList<QAccessibleInterface*> headers = cell->rowHeaderCells();
  EXPECT_EQ(headers.size(), 1);
  EXPECT_EQ(Name(headers.value(0)), "二番目");
  for (QAccessibleInterface* header : headers)
    QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
  const QAbstractItemModel& model = *s.form.Grid().model();
  EXPECT_EQ(model.index(0, 0).data(Qt::AccessibleTextRole).toString().toStdString(),
            "one-0 (使用回数 0)");

  TPageEditDialog edit;
  edit.Setup(10, 10, 1, 0, 0);
  edit.LoadPage(PageRow("tools", 2));
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(edit.BtnListBox);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Name(list->child(1)), "tools-1 (使用回数 10)");
}

// On a dark palette the page edit dialog's glyphs are drawn light, a disabled one dimmer,
// and the progress bar's empty part is the palette's base, not white.
TEST(Accessibility, GlyphsAndTheBarStayVisibleOnADarkPalette) {
  TDarkPalette dark;
  TPageEditDialog edit;
  edit.Setup(10, 10, 1, 0, 0);
  edit.LoadPage(PageRow("tools", 3));
  edit.show();
  const QColor back = edit.palette().color(QPalette::Window);
  for (QToolButton* glyph :
       {edit.BtnBAdd, edit.BtnBIns, edit.BtnBDel, edit.BtnBCls, edit.BtnBCopy}) {
    ASSERT_TRUE(glyph->isEnabled());
    EXPECT_GT(Contrast(glyph->grab().toImage(), back), 120) << glyph->toolTip().toStdString();
  }
  ASSERT_FALSE(edit.BtnBPaste->isEnabled());
  const int disabled = Contrast(edit.BtnBPaste->grab().toImage(), back);
  EXPECT_GT(disabled, 30);
  EXPECT_LT(disabled, Contrast(edit.BtnBCopy->grab().toImage(), back));
  Shot(edit, "dark-edit");

  TProgressBox progress;
  progress.SetRange(4);
  progress.SetPosition(1);
  progress.Flush();
  progress.show();
  QWidget* bar = progress.findChild<QWidget*>(QStringLiteral("GaugeBar"));
  ASSERT_NE(bar, nullptr);
  const QImage image = bar->grab().toImage();
  const QPalette& pal = bar->palette();
  EXPECT_EQ(image.pixelColor(image.width() / 8, image.height() / 2),
            pal.color(QPalette::Highlight));
  EXPECT_EQ(image.pixelColor(image.width() * 7 / 8, image.height() / 2), pal.color(QPalette::Base));
  Shot(progress, "dark-progress");

  TShownWindow shown;
  ASSERT_TRUE(shown.s.accepted);
  Shot(shown.s.form, "dark-main");
  TRegistrationWizard wizard;
  wizard.Setup(40, 30, 1, 0, 0, {"p0", "p1"}, {1, 1});
  wizard.show();
  Shot(wizard, "dark-wizard");
  wizard.btnNext->click();
  Shot(wizard, "dark-wizard-files");
}

namespace {

// The alerts screen readers are sent while alive.
struct TAlertLog {
  static std::vector<QObject*>& Alerts() {
    static std::vector<QObject*> alerts;
    return alerts;
  }
  TAlertLog() {
    Alerts().clear();
    SetAlertListener([](QWidget* alert) { Alerts().push_back(alert); });
  }
  ~TAlertLog() { SetAlertListener(nullptr); }
  int Count(QObject* object) const {
    return static_cast<int>(std::count(Alerts().begin(), Alerts().end(), object));
  }
};

}  // namespace

// The notice of a changed file and the message boxes are alerts, heard when they appear
// (a notice once for each new text); the menu's items are named without their shortcuts.
TEST(Accessibility, TheNoticeAndTheMessageBoxesAreAnnouncedAsAlerts) {
  TAlertLog log;
  TShownWindow shown;
  TFileChangedBar& bar = shown.s.form.ChangedBar();
  QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(&bar);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->role(), QAccessible::AlertMessage);
  EXPECT_EQ(Name(notice), "データーファイルの変更");
  EXPECT_EQ(notice->text(QAccessible::Description), QStringLiteral("changed"));
  EXPECT_EQ(log.Count(&bar), 1);
  bar.ShowNotice(QStringLiteral("changed"), true);
  EXPECT_EQ(log.Count(&bar), 1) << "the same notice again is not said again";
  bar.ShowInformation(QStringLiteral("copy failed"));
  EXPECT_EQ(log.Count(&bar), 2);

  TMessageDialog box(QStringLiteral("本文"), QStringLiteral("見出し"), mbOK, TMsgType::Warning);
  box.show();
  QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(&box);
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
  EXPECT_EQ(Name(alert), "見出し");
  EXPECT_EQ(log.Count(&box), 1);
}

// The grid's current cell is focused only while the grid has the keyboard, and the table
// has the columns in use: the longest page and the free cell after it.
TEST(Accessibility, TheGridReportsFocusOnlyWithTheKeyboardAndItsColumnsInUse) {
  TShownWindow shown;
  TMainWindow& form = shown.s.form;
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&form.Grid());
  ASSERT_NE(grid, nullptr);
  QAccessibleTableInterface* table = grid->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->columnCount(), 4);
  EXPECT_EQ(grid->childCount(), 8);
  EXPECT_EQ(grid->indexOfChild(table->cellAt(1, 2)), 6);

  form.Grid().setFocus();
  QAccessibleInterface* current = table->cellAt(0, 0);
  ASSERT_NE(current, nullptr);
  EXPECT_TRUE(current->state().focused);
  EXPECT_EQ(grid->focusChild(), current);
  form.FindBar().findChild<QLineEdit*>()->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(current->state().focused) << "the keyboard is in the find bar";
  EXPECT_TRUE(current->state().selected) << "still the current cell";
  EXPECT_EQ(grid->focusChild(), nullptr);
}
