// The dialogs a user sees: the message box, the input dialog, the file and folder choosers and a
// responsive wait for the progress box's Ok.
#pragma once

#include "Dialogs.h"

class TQtDialogs : public TDialogs {
 public:
  int MessageAt(const QString& text, const QString& caption, unsigned buttons, TMsgType type, int x,
                int y) override;
  bool InputNumber(int x, int y, int min, int defaultValue, int& value, const QString& prompt,
                   const QString& caption, int max) override;
  bool InputText(int x, int y, const QString& caption, QString& text,
                 const QString& prompt) override;
  bool InputChoice(int x, int y, const QString& caption, int index, int& choice,
                   const QStringList& items, const QString& prompt) override;
  QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QString& filter) override;
  // A modal TFolderBrowseDialog on the browser's owner window, or on the active one.
  bool BrowseForFolder(const TFolderBrowser& browser, TBrowseItem& chosen) override;
  // A nested event loop: every window stays responsive while it waits.
  void WaitForProgressOk() override;
};
