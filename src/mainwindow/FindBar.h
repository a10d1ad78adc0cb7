// The bar under the grid that finds buttons as the user types: the text, which of the
// buttons found is the current one, buttons for the next and the previous one and one
// that closes the bar. Return finds the next, Shift+Return the previous.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

class TFindBar : public QWidget {
  Q_OBJECT

 public:
  explicit TFindBar(QWidget* parent = nullptr);

  QLineEdit& Edit() { return *EdFind; }
  // Shows which hit is current (from 1; 0 for none) of how many buttons hold the text,
  // and a note (such as a wrap to the top).
  void ShowCount(int current, int hits, const QString& note);

 signals:
  void TextChanged(const QString& text);
  void NextRequested();
  void PrevRequested();
  // The bar was closed.
  void Closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* EdFind = nullptr;
  QLabel* LbCount = nullptr;
  QToolButton* BtnNext = nullptr;
  QToolButton* BtnPrev = nullptr;
  QToolButton* BtnClose = nullptr;
};
