#include "QtDialogs.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QPointer>
#include <QWindow>

#include "FileFilter.h"
#include "FolderBrowser.h"
#include "MessageDialog.h"
#include "ModalRun.h"
#include "Progress.h"
#include "ProgressBox.h"
#include "ResIconBox.h"
#include "WindowPlacement.h"

namespace {

// Keeps a parentless dialog with the window the user was working in, so that window
// managers stack and group it with that window.
void KeepWithActiveWindow(QWidget& dialog) {
  QWidget* active = QApplication::activeWindow();
  if (!active || active == &dialog || !active->windowHandle()) return;
  dialog.winId();
  if (QWindow* window = dialog.windowHandle()) window->setTransientParent(active->windowHandle());
}

bool RunInputBox(TResIconBox& box, int x, int y, const QString& caption, const QString& prompt) {
  box.setWindowTitle(caption);
  box.SetPrompt(prompt);
  box.SetRequestedPos(x, y);
  KeepWithActiveWindow(box);
  const TReturnFocus focus;
  return box.exec() == QDialog::Accepted;
}

}  // namespace

int TQtDialogs::MessageAt(const QString& text, const QString& caption, unsigned buttons,
                          TMsgType type, int x, int y) {
  if (x == 0) x = QCursor::pos().x() - 16;
  if (y == 0) y = QCursor::pos().y() - 16;
  if (type != TMsgType::Plain) QApplication::beep();
  TMessageDialog box(text, caption, buttons, type);
  box.adjustSize();
  KeepWithActiveWindow(box);
  MoveIntoWorkArea(box, x, y);
  const TReturnFocus focus;
  return box.exec();
}

bool TQtDialogs::InputNumber(int x, int y, int min, int defaultValue, int& value,
                             const QString& prompt, const QString& caption, int max) {
  TResIconBox box;
  box.SetupNumber(min, max, value, defaultValue);
  if (!RunInputBox(box, x, y, caption, prompt)) return false;
  value = box.NumberAnswer();
  return true;
}

bool TQtDialogs::InputText(int x, int y, const QString& caption, QString& text,
                           const QString& prompt) {
  TResIconBox box;
  box.SetupText(text);
  if (!RunInputBox(box, x, y, caption, prompt)) return false;
  text = box.TextAnswer();
  return true;
}

bool TQtDialogs::InputChoice(int x, int y, const QString& caption, int index, int& choice,
                             const QStringList& items, const QString& prompt) {
  TResIconBox box;
  box.SetupChoice(items, index);
  if (!RunInputBox(box, x, y, caption, prompt)) return false;
  choice = box.ChoiceAnswer();
  return true;
}

QString TQtDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
  const TReturnFocus focus;
  return QFileDialog::getOpenFileName(parent, caption, folder, QtNameFilters(filter), nullptr,
                                      QFileDialog::HideNameFilterDetails);
}

QString TQtDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
  const TReturnFocus focus;
  return QFileDialog::getSaveFileName(
      parent, caption, folder, QtNameFilters(filter), nullptr,
      QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite);
}

bool TQtDialogs::BrowseForFolder(const TFolderBrowser& browser, TBrowseItem& chosen) {
  QWidget* owner = browser.Owner ? browser.Owner->window() : nullptr;
  TFolderBrowseDialog box(browser, owner);
  if (!owner) KeepWithActiveWindow(box);
  const TReturnFocus focus;
  if (box.exec() != QDialog::Accepted) return false;
  chosen = box.Selected();
  return true;
}

void TQtDialogs::WaitForProgressOk() {
  if (ProgressAnswer != 0 || !ProgressBox) return;
  QEventLoop loop;
  QObject::connect(ProgressBox, &TProgressBox::Answered, &loop, &QEventLoop::quit);
  QObject::connect(ProgressBox, &QObject::destroyed, &loop, &QEventLoop::quit);
  // One run: it also ends when the application quits, so a closing program never hangs here.
  loop.exec();
}
