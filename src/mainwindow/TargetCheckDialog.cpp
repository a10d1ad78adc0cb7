#include "TargetCheckDialog.h"
#include "TextFormat.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "GridRules.h"
#include "ShiftJis.h"
#include "SystemFont.h"

namespace {

constexpr int kCellRole = Qt::UserRole + 1;

}  // namespace

TTargetCheckDialog::TTargetCheckDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("リンク切れの確認"));
  ApplySystemFont(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral(
          "ダブルクリックでそのボタンへ移動します。選択したボタンの登録情報をクリアできます。"),
      this));
  List = new QTreeWidget(this);
  List->setObjectName(QStringLiteral("TargetList"));
  List->setSelectionMode(QAbstractItemView::ExtendedSelection);
  List->setAccessibleName(QStringLiteral("確認結果"));
  List->setHeaderLabels({QStringLiteral("ページ"), QStringLiteral("ボタン"),
                         QStringLiteral("タイトル"), QStringLiteral("項目"), QStringLiteral("パス"),
                         QStringLiteral("理由")});
  layout->addWidget(List, 1);
  auto* buttons = new QDialogButtonBox(this);
  BtnClear = buttons->addButton(QStringLiteral("登録情報クリア(&G)"), QDialogButtonBox::ActionRole);
  buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  resize(720, 420);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(BtnClear, &QPushButton::clicked, this, &TTargetCheckDialog::BtnClearClick);
  connect(List, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    const QPoint cell = item->data(0, kCellRole).toPoint();
    if (GoTo && cell.y() >= 1) GoTo(cell.x(), cell.y());
  });
}

void TTargetCheckDialog::Fill(const TGridStore& grid) {
  grid_ = &grid;
  List->clear();
  MissingGroup = new QTreeWidgetItem(List, {QStringLiteral("リンク切れ")});
  UncheckableGroup = new QTreeWidgetItem(List, {QStringLiteral("この環境では確認できません")});
  for (const TGridFinding& f : CheckGridTargets(grid)) {
    const bool missing = f.Finding.Group == TTargetFinding::TGroup::Missing;
    auto* item = new QTreeWidgetItem(
        missing ? MissingGroup : UncheckableGroup,
        {ShownText(PageNameOfRow(grid, f.Row)), QString::number(f.Col), ShownText(f.Title),
         f.Finding.Field, ShownText(f.Finding.Path), f.Finding.Why});
    item->setData(0, kCellRole, QPoint(f.Col, f.Row));
    item->setToolTip(4, ShownText(f.Finding.Path));
  }
  for (QTreeWidgetItem* group : {MissingGroup, UncheckableGroup}) {
    group->setText(0, group->text(0) + QStringLiteral(" (%1)").arg(group->childCount()));
    group->setFlags(Qt::ItemIsEnabled);
    group->setExpanded(true);
  }
  List->header()->resizeSections(QHeaderView::ResizeToContents);
}

void TTargetCheckDialog::BtnClearClick() {
  std::vector<QPoint> cells;
  for (QTreeWidgetItem* item : List->selectedItems()) {
    const QPoint cell = item->data(0, kCellRole).toPoint();
    if (cell.y() >= 1) cells.push_back(cell);
  }
  if (cells.empty() || !Clear) return;
  Clear(cells);
  if (grid_) Fill(*grid_);
}
