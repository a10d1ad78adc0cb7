// The notice above the grid that the data file was changed by another program while
// the editor was idle: what happened, and the same answers the save would ask for
// (overwrite, reload, merge, see the differences, or leave it for now). It never takes the
// keyboard, so it does not interrupt typing.
#pragma once

#include <QFrame>

class QGridLayout;
class QLabel;
class QPushButton;

class TFileChangedBar : public QFrame {
  Q_OBJECT

 public:
  explicit TFileChangedBar(QWidget* parent = nullptr);

  // Shows the bar with text; the reload, merge and difference buttons only when the
  // file could be read.
  void ShowNotice(const QString& text, bool canReload);
  // Shows the bar with text that asks for nothing: only its close button.
  void ShowInformation(const QString& text);
  // Whether the bar shows a change of the file (not mere information).
  bool ShowsChange() const;
  QString Text() const;
  QPushButton& OverwriteButton() { return *BtnOverwrite; }
  QPushButton& ReloadButton() { return *BtnReload; }
  QPushButton& MergeButton() { return *BtnMerge; }
  QPushButton& DiffButton() { return *BtnDiff; }
  QPushButton& DismissButton() { return *BtnDismiss; }

 signals:
  void OverwriteRequested();
  void ReloadRequested();
  void MergeRequested();
  void DiffRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Shows the bar with text, told to screen readers as an alert.
  void Show(const QString& text);

  // Puts the buttons beside the text when the bar is wide enough for both on one line,
  // else under it: a narrow window never squeezes the text into a column.
  void PlaceButtons();

  QGridLayout* Layout = nullptr;
  QWidget* Buttons = nullptr;
  QLabel* LbIcon = nullptr;
  QLabel* LbNotice = nullptr;
  QPushButton* BtnOverwrite = nullptr;
  QPushButton* BtnReload = nullptr;
  QPushButton* BtnMerge = nullptr;
  QPushButton* BtnDiff = nullptr;
  QPushButton* BtnDismiss = nullptr;
};
