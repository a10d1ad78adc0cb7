#include "ListDiffDialog.h"

#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ListDifferencesModel.h"
#include "ListDifferencesView.h"
#include "SystemFont.h"

TListDiffDialog::TListDiffDialog(QWidget* parent) : QDialog(parent) {
  ApplySystemFont(this);
  auto* layout = new QVBoxLayout(this);
  LbSummary = new QLabel(this);
  LbSummary->setObjectName(QStringLiteral("LbSummary"));
  LbSummary->setWordWrap(true);
  layout->addWidget(LbSummary);
  Differences = new TListDifferencesModel(this);
  List = new TListDifferencesView(Differences, QStringLiteral("差分一覧"), this);
  List->installEventFilter(this);
  LbSummary->setBuddy(List);
  layout->addWidget(List, 1);
  auto* buttons = new QDialogButtonBox(this);
  BtnOurs =
      buttons->addButton(QStringLiteral("自分の編集を採用(&O)"), QDialogButtonBox::ActionRole);
  BtnOurs->setToolTip(QStringLiteral("選択した競合で編集中のデーターを残します"));
  BtnTheirs =
      buttons->addButton(QStringLiteral("ファイルの内容を採用(&T)"), QDialogButtonBox::ActionRole);
  BtnTheirs->setToolTip(QStringLiteral("選択した競合でファイルの内容を取り込みます"));
  BtnMerge = buttons->addButton(QStringLiteral("マージ(&M)"), QDialogButtonBox::AcceptRole);
  BtnClose = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  for (QPushButton* button : {BtnOurs, BtnTheirs})
    button->setAutoDefault(false);
  layout->addWidget(buttons);
  resize(760, 420);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(BtnOurs, &QPushButton::clicked, this, [this] { TakeTheirs(false); });
  connect(BtnTheirs, &QPushButton::clicked, this, [this] { TakeTheirs(true); });
}

void TListDiffDialog::ShowDifferences(const TLaunchList& grid, const TLaunchList& file) {
  setWindowTitle(QStringLiteral("ファイルとの差分"));
  for (QPushButton* button : {BtnOurs, BtnTheirs, BtnMerge})
    button->hide();
  BtnClose->setText(QStringLiteral("閉じる"));
  BtnClose->setDefault(true);
  Differences->ShowDifferences(grid, file);
  const int count = Differences->DifferenceCount();
  LbSummary->setText(
      count == 0
          ? QStringLiteral("編集中のデーターとファイルの内容に違いはありません。")
          : QStringLiteral("編集中のデーターに対するファイルの内容の違い: %1 件(&L)").arg(count));
  List->Refit();
}

void TListDiffDialog::ShowMerge(const TLaunchList& base, const TLaunchList& ours,
                                const TLaunchList& theirs) {
  setWindowTitle(QStringLiteral("マージ"));
  base_ = &base;
  ours_ = &ours;
  theirs_ = &theirs;
  BtnClose->setText(QStringLiteral("キャンセル"));
  BtnMerge->setDefault(true);
  takeTheirs_.clear();
  Remerge();
  List->Refit();
}

void TListDiffDialog::Remerge() {
  const int current = List->currentIndex().row();
  merge_ = MergeLists(*base_, *ours_, *theirs_,
                      std::vector<std::uint64_t>(takeTheirs_.begin(), takeTheirs_.end()));
  Differences->ShowMerge(*base_, *ours_, *theirs_, merge_, takeTheirs_);
  const int conflicts = Differences->ConflictCount();
  BtnOurs->setVisible(conflicts > 0);
  BtnTheirs->setVisible(conflicts > 0);
  LbSummary->setText(
      QStringLiteral("競合: %1 件。競合ごとに「自分の編集」か「ファイルの内容」を選んでください "
                     "(スペースキーで切り替え)。\nマージで編集中のデーターに入る変更: %2 件(&L)")
          .arg(conflicts)
          .arg(Differences->DifferenceCount()));
  if (current >= 0 && current < Differences->rowCount())
    List->setCurrentIndex(Differences->index(current, 0));
}

std::vector<std::uint64_t> TListDiffDialog::SelectedConflicts() const {
  std::vector<std::uint64_t> keys;
  QModelIndexList rows = List->selectionModel()->selectedRows();
  // Without a selection, the row the keyboard is on.
  if (rows.isEmpty() && List->currentIndex().isValid()) rows.append(List->currentIndex());
  for (const QModelIndex& index : rows)
    if (const TMergeConflict* conflict = Differences->ConflictAt(index.row()))
      keys.push_back(conflict->Key());
  return keys;
}

void TListDiffDialog::TakeTheirs(bool theirs) {
  const std::vector<std::uint64_t> keys = SelectedConflicts();
  if (keys.empty() || base_ == nullptr) return;
  for (const std::uint64_t key : keys)
    if (theirs)
      takeTheirs_.insert(key);
    else
      takeTheirs_.erase(key);
  // The rows stay where they were: the same conflicts, in the same order.
  const QModelIndexList selected = List->selectionModel()->selectedRows();
  Remerge();
  List->Refit();  // the side's text and the rows below it change width
  for (const QModelIndex& index : selected)
    List->selectionModel()->select(Differences->index(index.row(), 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  List->viewport()->update();
}

bool TListDiffDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == List && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    const std::vector<std::uint64_t> keys = SelectedConflicts();
    if (!keys.empty()) {
      const bool allTheirs = std::all_of(keys.begin(), keys.end(), [this](std::uint64_t key) {
        return takeTheirs_.contains(key);
      });
      TakeTheirs(!allTheirs);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
