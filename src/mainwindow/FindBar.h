// The bar under the grid that finds buttons as the user types: the text, the number of
// buttons found, a button for the next one and one that closes the bar.
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
  // Shows how many buttons hold the text, and a note (such as a wrap to the top).
  void ShowCount(int hits, const QString& note);

 signals:
  void TextChanged(const QString& text);
  void NextRequested();
  // The bar was closed.
  void Closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QLineEdit* EdFind = nullptr;
  QLabel* LbCount = nullptr;
  QToolButton* BtnNext = nullptr;
  QToolButton* BtnClose = nullptr;
};
