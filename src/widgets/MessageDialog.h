// The window of the system's message box.
#pragma once

#include <QDialog>
#include <QList>

#include "MessageBox.h"

class QHBoxLayout;
class QPushButton;

class TMessageDialog : public QDialog {
  Q_OBJECT

 public:
  // A box showing MessageBoxText(text, caption) under the title, with the icon of
  // type and the requested buttons in the order Yes, No, Merge, Diff, OK, Cancel; the first is
  // the default. Each button ends the box with its modal result.
  TMessageDialog(const QString& text, const QString& caption, unsigned buttons, TMsgType type,
                 QWidget* parent = nullptr);

 protected:
  // Escape and closing the window give MessageEscapeResult; without one they do nothing.
  void reject() override;
  // A button's mnemonic letter pressed alone presses it.
  void keyPressEvent(QKeyEvent* event) override;
  // Screen readers hear the box as an alert when it appears.
  void showEvent(QShowEvent* event) override;

 private:
  void AddButton(QHBoxLayout* row, const QString& text, int result, const char* name);

  unsigned buttons_;
  QList<QPushButton*> buttonList_;
};
