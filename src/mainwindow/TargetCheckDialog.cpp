#include "TargetCheckDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ListColumns.h"
#include "SystemFont.h"
#include "TargetFindingsModel.h"

TTargetCheckDialog::TTargetCheckDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("リンク切れの確認"));
  ApplySystemFont(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("ダブルクリックか Enter "
                     "でそのボタンへ移動します。選択したボタンの登録情報をクリアできます。"),
      this));
  List = new QTreeView(this);
  List->setObjectName(QStringLiteral("TargetList"));
  List->setSelectionMode(QAbstractItemView::ExtendedSelection);
  List->setSelectionBehavior(QAbstractItemView::SelectRows);
  List->setUniformRowHeights(true);
  List->setAccessibleName(QStringLiteral("確認結果"));
  Findings = new TTargetFindingsModel(this);
  List->setModel(Findings);
  layout->addWidget(List, 1);
  auto* buttons = new QDialogButtonBox(this);
  BtnClear = buttons->addButton(QStringLiteral("登録情報クリア(&G)"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  // Return must never clear: it goes to the finding's button, as a double click does.
  for (QPushButton* button : {BtnClear, close}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  layout->addWidget(buttons);
  resize(720, 420);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(BtnClear, &QPushButton::clicked, this, &TTargetCheckDialog::BtnClearClick);
  connect(List, &QTreeView::activated, this, [this](const QModelIndex& index) {
    const QPoint cell = index.data(TTargetFindingsModel::kCellRole).toPoint();
    if (GoTo && cell.y() >= 1) GoTo(cell.x(), cell.y());
  });
}

void TTargetCheckDialog::Fill(const TGridStore& grid) {
  grid_ = &grid;
  Findings->Reset(grid);
  List->expand(Findings->MissingGroup());
  List->expand(Findings->UncheckableGroup());
  SizeColumnsToFirstRows(*List);
}

void TTargetCheckDialog::BtnClearClick() {
  std::vector<QPoint> cells;
  for (const QModelIndex& index : List->selectionModel()->selectedRows()) {
    const QPoint cell = index.data(TTargetFindingsModel::kCellRole).toPoint();
    if (cell.y() >= 1) cells.push_back(cell);
  }
  if (cells.empty() || !Clear) return;
  Clear(cells);
  if (grid_) Fill(*grid_);
}
