// The one way every window asks the user something: message boxes, the input dialog,
// the file and folder choosers and the progress box's final wait. Commands ask through
// Dialogs(), never through a Qt dialog, so that tests can give the answers in advance
// and the logic builds without a window.
#pragma once

#include <QString>
#include <QStringList>

#include "MessageBox.h"

class QWidget;
class TFolderBrowser;
struct TBrowseItem;

class TDialogs {
 public:
  virtual ~TDialogs() = default;

  // The message box at (x, y); returns the modal result of the button pressed.
  virtual int MessageAt(const QString& text, const QString& caption, unsigned buttons,
                        TMsgType type, int x, int y) = 0;
  // A whole number in min..max, starting at value; a "デフォルト" button sets
  // defaultValue unless it is -1. On OK stores the answer in value and returns true.
  virtual bool InputNumber(int x, int y, int min, int defaultValue, int& value,
                           const QString& prompt, const QString& caption, int max) = 0;
  // A line of text starting as text. On OK stores it in text and returns true.
  virtual bool InputText(int x, int y, const QString& caption, QString& text,
                         const QString& prompt) = 0;
  // One of items, entry index selected at first. On OK stores the entry's index in
  // choice and returns true.
  virtual bool InputChoice(int x, int y, const QString& caption, int index, int& choice,
                           const QStringList& items, const QString& prompt) = 0;
  // A file to open or to save to; empty when cancelled. filter is either a Qt name
  // filter or the "description|patterns|..." form; saving asks no overwrite question,
  // since callers may write to a name other than the one chosen.
  virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filter) = 0;
  // The folder browse dialog as browser describes it (root, first selection, caption,
  // status line and OK rule, placement). On OK stores the confirmed item in chosen and
  // returns true.
  virtual bool BrowseForFolder(const TFolderBrowser& browser, TBrowseItem& chosen) = 0;
  // Returns once ProgressAnswer is not 0 (the progress box's Ok or cancel pressed).
  virtual void WaitForProgressOk() = 0;
};

// The dialogs asked now: those given to SetDialogs, by default the windows' own (which
// the widgets library gives in SetWindowDialogs wherever it is linked). Asking with
// neither raises std::logic_error.
TDialogs& Dialogs();

// The dialogs asked when none were given to SetDialogs: the real Qt dialogs.
void SetWindowDialogs(TDialogs* dialogs);

// Makes dialogs the one asked; nullptr restores the default. The caller keeps
// ownership and must restore the default before dialogs goes away.
void SetDialogs(TDialogs* dialogs);

// Asks through dialogs for the life of the object, then restores what was asked before.
class TDialogsScope {
 public:
  explicit TDialogsScope(TDialogs& dialogs);
  ~TDialogsScope();
  TDialogsScope(const TDialogsScope&) = delete;
  TDialogsScope& operator=(const TDialogsScope&) = delete;

 private:
  TDialogs* previous_;
};
