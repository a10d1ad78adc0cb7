// The progress box's window: a message line, a bar, a count and one button that is
// "キャンセル" while the work runs and "Ok" when it waits for the user at the end.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TGauge;

class TBarBox : public QDialog {
  Q_OBJECT

 public:
  explicit TBarBox(QWidget* parent = nullptr);

  // The message line, painted with the next paint of the box.
  void SetMessage(const QString& text);
  // Paints the message line now, when the box is on screen.
  void RepaintMessage();
  const QString& Message() const { return message_; }
  // A maximum above 0 shows the bar and the count from 0 of it; otherwise both hide.
  void SetRange(int max);
  // The bar's position (clamped into its range) and the count "( n / max )".
  void SetPosition(int position);
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

  QLabel* LbMes;
  TGauge* Gauge1;
  QLabel* LbCount;
  QPushButton* BtnCansel;
  QString message_;
  int modalResult_;
};
