#include "EllipsisEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>

namespace {

// The space the line edit itself keeps between its text and the text rectangle.
constexpr int kTextGap = 2;

// The button's name for screen readers while it has no hint: three dots say nothing.
const QString kBrowseName = QStringLiteral("参照");

int ButtonWidth(const QWidget* widget) {
  return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

// A colour one ninth of the way from a to b, channel by channel.
QColor NinthTowards(const QColor& a, const QColor& b) {
  return QColor((8 * a.red() + b.red()) / 9, (8 * a.green() + b.green()) / 9,
                (8 * a.blue() + b.blue()) / 9);
}

void Plus(QPainter& painter, int x, int y, const QColor& color) {
  painter.fillRect(QRect(x - 1, y, 3, 1), color);
  painter.fillRect(QRect(x, y - 1, 1, 3), color);
}

// One dot of the three: a shaded 3 x 3 bead, or an embossed plus when disabled.
void Dot(QPainter& painter, const QPalette& palette, bool enabled, int x, int y) {
  const QColor shadow = palette.color(QPalette::Dark);
  if (!enabled) {
    Plus(painter, x + 1, y + 1, palette.color(QPalette::Light));
    Plus(painter, x, y, shadow);
    return;
  }
  painter.fillRect(QRect(x - 1, y - 1, 3, 3),
                   NinthTowards(palette.color(QPalette::Button), shadow));
  Plus(painter, x, y, shadow);
  // The heart in the text colour: black on a light face as ever, light on a dark one.
  painter.fillRect(QRect(x, y, 1, 1), palette.color(QPalette::ButtonText));
}

}  // namespace

TEllipsisButton::TEllipsisButton(QWidget* parent) : QAbstractButton(parent) {
  setObjectName(QStringLiteral("EllipsisButton"));
  // Tab reaches the button after its box (Space opens the chooser); a click leaves the
  // keyboard in the box.
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::ArrowCursor);
  setAccessibleName(kBrowseName);
}

QSize TEllipsisButton::sizeHint() const {
  const int width = ButtonWidth(this);
  return {width, width};
}

void TEllipsisButton::mousePressEvent(QMouseEvent* event) {
  // The owner's chooser writes into the box, so the box is where the user works on.
  if (QWidget* box = parentWidget(); box && box->isEnabled()) box->setFocus(Qt::MouseFocusReason);
  QAbstractButton::mousePressEvent(event);
}

void TEllipsisButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const int w = width();
  const int h = height();
  const bool enabled = isEnabled();
  const bool pressed = enabled && isDown();
  int offset = 0;
  if (pressed) {
    painter.setBrush(pal.color(QPalette::Button));
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(0, 0, w - 1, h - 1);
    offset = 1;
  } else {
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    painter.fillRect(QRect(2, 2, w - 4, h - 4), pal.color(QPalette::Button));
  }
  const int x = offset + (w - 2) / 2;
  const int y = offset + (h - 2) / 2;
  for (int dx : {-4, 0, 4})
    Dot(painter, pal, enabled, x + dx, y);
  if (hasFocus()) {  // reached by Tab: Space opens the chooser
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

TEllipsisEdit::TEllipsisEdit(QWidget* parent)
    : QLineEdit(parent), button_(new TEllipsisButton(this)) {
  resize(150, 20);
  connect(button_, &TEllipsisButton::clicked, this, &TEllipsisEdit::EllipsisClick);
  PlaceButton();
}

QString TEllipsisEdit::EllipsisHint() const {
  return button_->toolTip();
}

void TEllipsisEdit::SetEllipsisHint(const QString& hint) {
  button_->setToolTip(hint);
  button_->setAccessibleName(hint.isEmpty() ? kBrowseName : hint);
}

void TEllipsisEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::StyleChange) PlaceButton();
}

void TEllipsisEdit::focusInEvent(QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  // The line edit would select on keyboard entry by itself; the selection is decided here.
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
      reason == Qt::ShortcutFocusReason) {
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
  } else {
    QLineEdit::focusInEvent(event);
  }
  // A mouse press places the cursor; a closing menu gives back the selection it had.
  if (autoSelect_ && reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason &&
      reason != Qt::MenuBarFocusReason)
    selectAll();
}

void TEllipsisEdit::keyPressEvent(QKeyEvent* event) {
  const bool altDown = event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier;
  const bool f4 = event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier;
  if ((altDown || f4) && !button_->isHidden() && button_->isEnabled()) {
    button_->click();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TEllipsisEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceButton();
}

void TEllipsisEdit::PlaceButton() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect inner = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  const int width = ButtonWidth(this);
  button_->setGeometry(inner.right() + 1 - width, inner.top(), width, inner.height());
  setTextMargins(0, 0, width + kTextGap, 0);
}
