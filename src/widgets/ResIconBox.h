// The input dialog: one small modal window asking for a whole number, a line of text
// or a choice from a list.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSpinEdit;

class TResIconBox : public QDialog {
  Q_OBJECT

 public:
  explicit TResIconBox(QWidget* parent = nullptr);

  // The prompt line above the field.
  void SetPrompt(const QString& prompt);
  // Where the window's top-left corner is asked to be; it is kept in the work area.
  void SetRequestedPos(int x, int y);

  // Number mode: range min..max (the value is clamped into it) and the "デフォルト"
  // button, shown unless defaultValue is -1.
  void SetupNumber(int min, int max, int value, int defaultValue);
  // Text mode: the field starts with text; OK starts enabled and, from the first
  // change on, is enabled exactly when the field is not empty.
  void SetupText(const QString& text);
  // Choice mode: a drop-down list of items with entry index selected; OK is enabled
  // while an entry is selected.
  void SetupChoice(const QStringList& items, int index);

  // The answers, read after OK: the number clamped into the range (a text that is not
  // a number gives the minimum), the text as typed, the selected entry's index.
  int NumberAnswer() const;
  QString TextAnswer() const;
  int ChoiceAnswer() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Makes field the control of the mode just set up.
  void UseField(QWidget* field);
  void FormShow();
  void DefButtonClick();
  void EdMesChange(const QString& text);
  void SComboBoxChange(int index);

  QLabel* LbMes;
  TSpinEdit* SpinIconSize;
  QLineEdit* EdMes;
  QComboBox* SComboBox;
  QPushButton* DefButton;
  QPushButton* OKButton;
  QPushButton* BtnCansel;
  QWidget* field_ = nullptr;  // the control of the current mode
  int x_ = 0;
  int y_ = 0;
  int defaultValue_ = -1;
};
