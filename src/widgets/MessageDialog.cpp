#include "MessageDialog.h"

#include <algorithm>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "AlertAccessible.h"
#include "WorkArea.h"

namespace {

QStyle::StandardPixmap IconOf(TMsgType type) {
  switch (type) {
    case TMsgType::Warning:
      return QStyle::SP_MessageBoxWarning;
    case TMsgType::Error:
      return QStyle::SP_MessageBoxCritical;
    case TMsgType::Information:
      return QStyle::SP_MessageBoxInformation;
    case TMsgType::Confirmation:
    case TMsgType::Plain:
      break;
  }
  return QStyle::SP_MessageBoxQuestion;
}

// The widest the text may make the box before it is wrapped.
int MaxTextWidth() {
  const QRect workArea = DesktopWorkArea();
  return workArea.isEmpty() ? 600 : std::max(300, workArea.width() * 5 / 8);
}

}  // namespace

TMessageDialog::TMessageDialog(const QString& text, const QString& caption, unsigned buttons,
                               TMsgType type, QWidget* parent)
    : QDialog(parent), buttons_(MessageBoxButtons(buttons)) {
  setObjectName(QStringLiteral("MessageBox"));
  setWindowTitle(MessageBoxTitle(type));
  // Read as Qt's own message box is: an alert named by its title, saying its text.
  ExposeClassAsAlert("TMessageDialog");
  setAccessibleName(caption.isEmpty() ? MessageBoxTitle(type) : caption);
  setAccessibleDescription(text);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  auto* layout = new QGridLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setHorizontalSpacing(14);
  layout->setVerticalSpacing(16);

  if (type != TMsgType::Plain) {
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Icon"));
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(IconOf(type), nullptr, this).pixmap(size, size));
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
  }

  auto* label = new QLabel(this);
  label->setObjectName(QStringLiteral("Text"));
  // Names and paths from the data file are shown as they are, never as markup.
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setText(MessageBoxText(text, caption));
  const int maxWidth = MaxTextWidth();
  if (label->sizeHint().width() > maxWidth) {
    label->setWordWrap(true);
    label->setFixedWidth(maxWidth);
    label->setMinimumHeight(label->heightForWidth(maxWidth));
  }
  // Without an icon the text takes its place; width left over by the buttons goes to the text.
  if (type == TMsgType::Plain)
    layout->addWidget(label, 0, 0, 1, 2);
  else
    layout->addWidget(label, 0, 1);
  layout->setColumnStretch(1, 1);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  if (buttons_ & mbYes) AddButton(buttonRow, QStringLiteral("はい(&Y)"), mrYes, "BtnYes");
  if (buttons_ & mbNo) AddButton(buttonRow, QStringLiteral("いいえ(&N)"), mrNo, "BtnNo");
  if (buttons_ & mbMerge) AddButton(buttonRow, QStringLiteral("マージ(&M)"), mrMerge, "BtnMerge");
  if (buttons_ & mbDiff) AddButton(buttonRow, QStringLiteral("差分を表示(&D)"), mrDiff, "BtnDiff");
  if (buttons_ & mbOK) AddButton(buttonRow, QStringLiteral("OK"), mrOk, "BtnOK");
  if (buttons_ & mbCancel)
    AddButton(buttonRow, QStringLiteral("キャンセル"), mrCancel, "BtnCancel");
  layout->addLayout(buttonRow, 1, 0, 1, 2);

  buttonList_.first()->setDefault(true);
  buttonList_.first()->setFocus();
}

void TMessageDialog::AddButton(QHBoxLayout* row, const QString& text, int result,
                               const char* name) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QLatin1String(name));
  button->setMinimumWidth(82);
  connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
  row->addWidget(button);
  buttonList_.append(button);
}

void TMessageDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  AnnounceAlert(this);
}

void TMessageDialog::reject() {
  const int result = MessageEscapeResult(buttons_);
  if (result != mrNone) done(result);
}

void TMessageDialog::keyPressEvent(QKeyEvent* event) {
  if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
    for (QPushButton* button : buttonList_) {
      const QKeySequence mnemonic = button->shortcut();
      if (!mnemonic.isEmpty() && mnemonic[0].key() == event->key()) {
        button->click();
        return;
      }
    }
  }
  QDialog::keyPressEvent(event);
}
