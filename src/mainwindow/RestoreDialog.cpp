#include "RestoreDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "DataFileCommands.h"
#include "ListDifferencesModel.h"
#include "ListDifferencesView.h"
#include "SystemFont.h"

TRestoreDialog::TRestoreDialog(const QString& dataFile, const TGridStore& grid, QWidget* parent)
    : QDialog(parent) {
  GridToLaunchList(grid, grid_);
  setWindowTitle(QStringLiteral("バックアップから復元"));
  ApplySystemFont(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("選んだバックアップを編集中のデーターに読み込みます。"
                                              "データーファイルは上書き保存するまで変わりません。"),
                               this));
  List = new QTreeWidget(this);
  List->setObjectName(QStringLiteral("BackupList"));
  List->setRootIsDecorated(false);
  List->setAccessibleName(QStringLiteral("バックアップ一覧"));
  List->setHeaderLabels({QStringLiteral("日時"), QStringLiteral("ページ数"),
                         QStringLiteral("ボタン数"), QStringLiteral("ファイル")});
  layout->addWidget(List, 1);
  LbProblem = new QLabel(this);
  LbProblem->setWordWrap(true);
  layout->addWidget(LbProblem);
  LbDifferences = new QLabel(this);
  LbDifferences->setObjectName(QStringLiteral("LbDifferences"));
  layout->addWidget(LbDifferences);
  Differences = new TListDifferencesModel(this);
  DifferenceList =
      new TListDifferencesView(Differences, QStringLiteral("復元したときの変更"), this);
  LbDifferences->setBuddy(DifferenceList);
  layout->addWidget(DifferenceList, 1);
  auto* buttons = new QDialogButtonBox(this);
  BtnRestore = buttons->addButton(QStringLiteral("復元(&R)"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  resize(720, 520);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(List, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (!Chosen().isEmpty()) accept();
  });

  QString error;
  backups_ = ListBackups(dataFile, error);
  LbProblem->setText(error);
  LbProblem->setVisible(!error.isEmpty());
  for (const TBackupInfo& backup : backups_) {
    const QString name = backup.Path.section(QLatin1Char('/'), -1);
    auto* item = new QTreeWidgetItem(List);
    item->setText(0, backup.Time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    item->setText(3, name);
    if (backup.Readable) {
      item->setText(1, QString::number(backup.Pages));
      item->setText(2, QString::number(backup.Buttons));
    } else {
      item->setText(1, QStringLiteral("読めません"));
      item->setToolTip(1, backup.Problem);
      item->setToolTip(3, backup.Problem);
      item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
  }
  List->header()->resizeSections(QHeaderView::ResizeToContents);
  if (List->topLevelItemCount() > 0 && backups_.front().Readable)
    List->setCurrentItem(List->topLevelItem(0));
  BtnRestore->setEnabled(!Chosen().isEmpty());
  ShowDifferences();
  connect(List, &QTreeWidget::currentItemChanged, this, [this] {
    BtnRestore->setEnabled(!Chosen().isEmpty());
    ShowDifferences();
  });
}

TRestoreDialog::~TRestoreDialog() = default;

void TRestoreDialog::ShowDifferences() {
  // The model lets go of the old backup before it goes.
  auto chosen = std::make_unique<TLaunchList>();
  QString error;
  const QString path = Chosen();
  if (path.isEmpty() || !LoadBackup(path, *chosen, error)) chosen.reset();
  Differences->ShowDifferences(grid_, chosen ? *chosen : grid_);
  chosen_ = std::move(chosen);
  const int count = Differences->DifferenceCount();
  if (!chosen_)
    LbDifferences->setText(error.isEmpty() ? QStringLiteral("バックアップを選んでください。")
                                           : error);
  else if (count == 0)
    LbDifferences->setText(QStringLiteral("このバックアップは編集中のデーターと同じです。"));
  else
    LbDifferences->setText(QStringLiteral("復元したときの変更: %1 件(&D)").arg(count));
  DifferenceList->Refit();
}

QString TRestoreDialog::Chosen() const {
  const int row = List->indexOfTopLevelItem(List->currentItem());
  if (row < 0 || row >= static_cast<int>(backups_.size())) return {};
  const TBackupInfo& backup = backups_[static_cast<std::size_t>(row)];
  return backup.Readable ? backup.Path : QString();
}
