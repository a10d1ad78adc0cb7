#include "ReplaceDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ListColumns.h"
#include "MessageBox.h"
#include "ReplacementModel.h"
#include "ShiftJis.h"
#include "SystemFont.h"

TReplaceDialog::TReplaceDialog(const TGridStore& grid, int currentRow, QWidget* parent)
    : QDialog(parent), grid_(grid), currentRow_(currentRow) {
  setWindowTitle(QStringLiteral("置換"));
  ApplySystemFont(this);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  EdFrom = new QLineEdit(this);
  EdFrom->setPlaceholderText(QStringLiteral("例: /media/old/"));
  EdTo = new QLineEdit(this);
  EdTo->setPlaceholderText(QStringLiteral("例: /home/me/apps/"));
  form->addRow(QStringLiteral("検索する文字列(&F):"), EdFrom);
  form->addRow(QStringLiteral("置換後の文字列(&T):"), EdTo);
  layout->addLayout(form);
  // A group, so that a screen reader says 対象 with each choice.
  auto* scopeBox = new QGroupBox(QStringLiteral("対象"), this);
  scopeBox->setFlat(true);
  auto* scope = new QHBoxLayout(scopeBox);
  RbAllPages = new QRadioButton(QStringLiteral("すべてのページ(&A)"), scopeBox);
  RbAllPages->setChecked(true);
  RbThisPage = new QRadioButton(QStringLiteral("現在のページ(&P)"), scopeBox);
  scope->addWidget(RbAllPages);
  scope->addWidget(RbThisPage);
  scope->addStretch(1);
  layout->addWidget(scopeBox);
  layout->addWidget(new QLabel(
      QStringLiteral(
          "リンク先・ショートカットのリンク先・作業フォルダ・アイコンのファイル名が対象です。"),
      this));
  Preview = new QTreeView(this);
  Preview->setRootIsDecorated(false);
  Preview->setUniformRowHeights(true);
  Preview->setAccessibleName(QStringLiteral("置換のプレビュー"));
  Changes = new TReplacementModel(this);
  Preview->setModel(Changes);
  layout->addWidget(Preview, 1);
  LbSummary = new QLabel(this);
  LbSummary->setObjectName(QStringLiteral("LbSummary"));
  layout->addWidget(LbSummary);
  auto* buttons = new QDialogButtonBox(this);
  BtnPreview = buttons->addButton(QStringLiteral("プレビュー(&V)"), QDialogButtonBox::ActionRole);
  BtnReplace = buttons->addButton(QStringLiteral("置換(&R)"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  SetPlanReady(false);
  resize(640, 420);

  connect(BtnPreview, &QPushButton::clicked, this, &TReplaceDialog::UpdatePreview);
  connect(BtnReplace, &QPushButton::clicked, this, &TReplaceDialog::BtnReplaceClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // What is replaced is exactly what the preview shows: a change of the texts or the
  // scope asks for a new preview.
  for (QLineEdit* edit : {EdFrom, EdTo})
    connect(edit, &QLineEdit::textChanged, this, [this] { SetPlanReady(false); });
  for (QRadioButton* radio : {RbAllPages, RbThisPage})
    connect(radio, &QRadioButton::toggled, this, [this] { SetPlanReady(false); });
}

void TReplaceDialog::SetPlanReady(bool ready) {
  BtnReplace->setEnabled(ready);
  // Return previews first, then replaces what the preview shows.
  (ready ? BtnReplace : BtnPreview)->setDefault(true);
}

const TReplacementPlan& TReplaceDialog::Plan() const {
  return Changes->Plan();
}

bool TReplaceDialog::UpdatePreview() {
  Changes->Reset(grid_, {});
  LbSummary->clear();
  SetPlanReady(false);
  const QString refusal = ReplacementRefusal(EdFrom->text(), EdTo->text());
  if (!refusal.isEmpty()) {
    ShowMessageAt(refusal, QStringLiteral("置換"), mbOK, TMsgType::Warning, x() + 16, y());
    return false;
  }
  Changes->Reset(grid_, PlanReplacements(grid_, *sjis::FromUtf8(EdFrom->text().toStdString()),
                                         *sjis::FromUtf8(EdTo->text().toStdString()),
                                         RbThisPage->isChecked() ? currentRow_ : 0));
  SizeColumnsToFirstRows(*Preview);
  const std::size_t changes = Plan().size();
  LbSummary->setText(changes == 0 ? QStringLiteral("変更する項目はありません。")
                                  : QStringLiteral("%1 項目を変更します。").arg(changes));
  SetPlanReady(changes != 0);
  return changes != 0;
}

void TReplaceDialog::BtnReplaceClick() {
  if (!Plan().empty()) accept();
}
