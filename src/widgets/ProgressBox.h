// The progress box's window: a message line, a bar, a count and one button that is
// "キャンセル" while the work runs and "Ok" when it waits for the user at the end.
#pragma once

#include <QDialog>

class QLabel;
class TElidedLabel;
class QPushButton;
class TGauge;

class TProgressBox : public QDialog {
  Q_OBJECT

 public:
  explicit TProgressBox(QWidget* parent = nullptr);

  // The message line; it shows at the next Flush().
  void SetMessage(const QString& text);
  // Paints the message line now, when the box is on screen.
  void RepaintMessage();
  const QString& Message() const { return message_; }
  // A maximum above 0 shows the bar and the count from 0 of it; otherwise both hide.
  void SetRange(int max);
  // The bar's position (clamped into its range) and the count "( n / max )"; they show
  // at the next Flush().
  void SetPosition(int position);
  int Position() const;
  // The count as it reads after the last SetPosition.
  QString CountText() const;
  // Puts the message, the bar and the count set last into the controls. Setting them
  // apart from showing them keeps a step of a long load cheap.
  void Flush();
  void SetCancelVisible(bool visible);
  // Turns the button into "Ok" with the modal result 1, shows it and focuses it.
  void ShowOk();
  // Places the box in the middle of the primary screen.
  void CentreOnScreen();

 signals:
  // The button was pressed; ProgressAnswer holds its modal result.
  void Answered();

 protected:
  // Escape (and closing the window) presses the button while it is shown.
  void reject() override;

 private:
  void BtnCanselClick();
  void UpdateCount();

  TElidedLabel* LbMes;
  TGauge* GaugeBar;
  QLabel* LbCount;
  QPushButton* BtnCansel;
  QString message_;
  int position_ = 0;
  int modalResult_;
};
