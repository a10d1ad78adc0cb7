// A one-line text box with a small "…" button inside its right end, for fields whose
// value the owner can also pick from a chooser (a folder or a file).
#pragma once

#include <QAbstractButton>
#include <QLineEdit>

// The "…" button: flat, three dots; pressing it gives its box the focus. Tab reaches it.
class TEllipsisButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TEllipsisButton(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

class TEllipsisEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TEllipsisEdit(QWidget* parent = nullptr);

  // The button's tooltip, which is also its name for screen readers.
  QString EllipsisHint() const;
  void SetEllipsisHint(const QString& hint);

  // Whether the whole text is selected when the box takes the focus other than by a
  // mouse press (on by default).
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on) { autoSelect_ = on; }

  // The button, for placing tab order and for tests.
  TEllipsisButton* Button() const { return button_; }

 signals:
  // Raised once for every click of the button.
  void EllipsisClick();

 protected:
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  // Alt+Down or F4 opens the chooser, as they open a combo box's list.
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Puts the button at the right end inside the frame and keeps the text clear of it.
  void PlaceButton();

  TEllipsisButton* button_;
  bool autoSelect_ = true;
};
