#include "ResIconBox.h"

#include <initializer_list>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "SjisValidator.h"
#include "SpinEdit.h"
#include "SystemFont.h"
#include "WindowPlacement.h"

namespace {

template <typename T>
T* Control(QWidget* parent, const char* name, int x, int y, int width, int height) {
  auto* control = new T(parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(x, y, width, height);
  return control;
}

}  // namespace

TResIconBox::TResIconBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ResIconBox"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  ApplySystemFont(this);
  setFixedSize(286, 80);

  LbMes = Control<QLabel>(this, "LbMes", 8, 6, 273, 16);
  LbMes->setTextFormat(Qt::PlainText);
  SpinIconSize = Control<TSpinEdit>(this, "SpinIconSize", 160, 24, 80, 21);
  EdMes = Control<QLineEdit>(this, "EdMes", 8, 24, 273, 20);
  // What the field accepts must fit a record field unchanged.
  EdMes->setValidator(new TSjisValidator(EdMes));
  SComboBox = Control<QComboBox>(this, "SComboBox", 8, 24, 273, 20);
  DefButton = Control<QPushButton>(this, "DefButton", 6, 56, 82, 21);
  DefButton->setText(QStringLiteral("デフォルト"));
  OKButton = Control<QPushButton>(this, "OKButton", 110, 56, 82, 21);
  OKButton->setText(QStringLiteral("OK"));
  OKButton->setDefault(true);
  BtnCansel = Control<QPushButton>(this, "BtnCansel", 198, 56, 82, 21);
  BtnCansel->setText(QStringLiteral("キャンセル"));
  for (QWidget* control :
       std::initializer_list<QWidget*>{SpinIconSize, EdMes, SComboBox, DefButton})
    control->hide();

  connect(DefButton, &QPushButton::clicked, this, &TResIconBox::DefButtonClick);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnCansel, &QPushButton::clicked, this, &QDialog::reject);
}

void TResIconBox::SetPrompt(const QString& prompt) {
  // The prompt is the field's label (its buddy), which reads '&' as a mnemonic mark:
  // doubled, a '&' of the prompt shows as it is.
  LbMes->setText(QString(prompt).replace(QLatin1Char('&'), QLatin1String("&&")));
}

void TResIconBox::UseField(QWidget* field) {
  field_ = field;
  LbMes->setBuddy(field);  // so that screen readers name the field by the prompt
}

void TResIconBox::SetRequestedPos(int x, int y) {
  x_ = x;
  y_ = y;
}

void TResIconBox::SetupNumber(int min, int max, int value, int defaultValue) {
  // The range first, so that the value is clamped into it.
  SpinIconSize->setRange(min, max);
  SpinIconSize->setValue(value);
  defaultValue_ = defaultValue;
  SpinIconSize->show();
  DefButton->setVisible(defaultValue != -1);
  UseField(SpinIconSize);
}

void TResIconBox::SetupText(const QString& text) {
  EdMes->setText(text);
  // Connected only now: OK stays enabled until the user first changes the text.
  connect(EdMes, &QLineEdit::textChanged, this, &TResIconBox::EdMesChange);
  EdMes->show();
  UseField(EdMes);
}

void TResIconBox::SetupChoice(const QStringList& items, int index) {
  SComboBox->addItems(items);
  SComboBox->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
  SComboBoxChange(SComboBox->currentIndex());
  connect(SComboBox, &QComboBox::currentIndexChanged, this, &TResIconBox::SComboBoxChange);
  SComboBox->show();
  UseField(SComboBox);
}

int TResIconBox::NumberAnswer() const {
  return SpinIconSize->TypedValue();
}

QString TResIconBox::TextAnswer() const {
  return EdMes->text();
}

int TResIconBox::ChoiceAnswer() const {
  return SComboBox->currentIndex();
}

void TResIconBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TResIconBox::FormShow() {
  MoveIntoWorkArea(*this, x_, y_);
  if (!field_) return;
  field_->setFocus();
  if (field_ == EdMes) EdMes->selectAll();
  if (field_ == SpinIconSize) SpinIconSize->selectAll();
}

void TResIconBox::DefButtonClick() {
  if (defaultValue_ != -1) SpinIconSize->setValue(defaultValue_);
}

void TResIconBox::EdMesChange(const QString& text) {
  OKButton->setEnabled(!text.isEmpty());
}

void TResIconBox::SComboBoxChange(int index) {
  OKButton->setEnabled(index >= 0);
}
