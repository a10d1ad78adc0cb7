// The main window's find bar, replace dialog, broken-target check and restore from a
// backup.
#include <QLineEdit>

#include "FindBar.h"
#include "FreedMemory.h"
#include "GridView.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalRun.h"
#include "ReplaceDialog.h"
#include "RestoreDialog.h"
#include "TargetCheckDialog.h"

bool TMainWindow::CurrentCellShown() const {
  return Grid_->hasFocus() || FindBar_->isVisible();
}

void TMainWindow::mnFindClick() {
  FindBar_->show();
  FindBar_->Edit().setFocus();
  FindBar_->Edit().selectAll();
}

bool TMainWindow::IsFindHit(int c, int r) {
  return FindBar_->isVisible() && Finder_.IsHit(store_, FindBar_->Edit().text(), c, r);
}

void TMainWindow::GoToHit(bool fromCurrent, bool backward) {
  const std::vector<QPoint>& hits = Finder_.FindAll(store_, FindBar_->Edit().text());
  bool wrapped = false;
  // While typing the current button itself may be the first hit; F3 goes past it.
  const int index =
      NextHit(hits, Grid_->Col() - (fromCurrent ? 1 : 0), Grid_->Row(), wrapped, backward);
  // Taken before the grid is drawn again, which asks the finder anew: the hits are not
  // copied, and not used after that.
  const int count = static_cast<int>(hits.size());
  const QPoint target = index >= 0 ? hits[static_cast<std::size_t>(index)] : QPoint();
  QString note;
  if (index >= 0) {
    Grid_->PlaceCurrent(target.x(), target.y());
    Grid_->scrollTo(Grid_->model()->index(Grid_->Row() - 1, Grid_->Col() - 1));
    UpdateTitle();
    if (wrapped && !fromCurrent)
      note = backward ? QStringLiteral("末尾に戻りました") : QStringLiteral("先頭に戻りました");
  } else if (!FindBar_->Edit().text().isEmpty()) {
    note = QStringLiteral("見つかりません");
  }
  FindBar_->ShowCount(index + 1, count, note);
  Grid_->viewport()->update();  // the marks of the hits follow the text
}

void TMainWindow::FindTextChanged(const QString&) {
  GoToHit(true);
}

void TMainWindow::FindAgain(bool backward) {
  if (FindBar_->Edit().text().isEmpty()) {
    mnFindClick();
    return;
  }
  // With the bar closed the last search goes on, and the bar comes back to show where.
  if (!FindBar_->isVisible()) mnFindClick();
  GoToHit(false, backward);
}

void TMainWindow::mnFindNextClick() {
  FindAgain(false);
}

void TMainWindow::mnFindPrevClick() {
  FindAgain(true);
}

void TMainWindow::mnReplaceClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  TReplaceDialog dialog(store_, Grid_->Row(), this);
  dialog.move(DialogAt());
  if (ExecModal(dialog) != QDialog::Accepted || dialog.Plan().empty()) return;
  int changed = 0;
  RecordStep(QStringLiteral("置換"), [&] {
    TGridEdit edit = Edit();
    changed = ApplyReplacements(edit, dialog.Plan());
  });
  Grid_->viewport()->update();
  UpdateTitle();
  ShowMessageAt(QStringLiteral("%1 個のボタンを置換しました。").arg(changed),
                QStringLiteral("置換"), mbOK, TMsgType::Information, DialogAt().x(),
                DialogAt().y());
}

void TMainWindow::mnCheckTargetsClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  TTargetCheckDialog dialog(this);
  dialog.move(DialogAt());
  dialog.GoTo = [this](int c, int r) {
    Grid_->PlaceCurrent(c, r);
    Grid_->scrollTo(Grid_->model()->index(r - 1, c - 1));
    UpdateTitle();
  };
  dialog.Clear = [this](const std::vector<QPoint>& cells) {
    int cleared = 0;
    RecordStep(QStringLiteral("登録情報クリア"), [&] {
      TGridEdit edit = Edit();
      cleared = ClearButtons(edit, cells);
    });
    Grid_->viewport()->update();
    UpdateTitle();
    return cleared;
  };
  dialog.Fill(store_);
  ExecModal(dialog);
}

void TMainWindow::mnRestoreClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  TRestoreDialog dialog(SaveFileName, store_, this);
  dialog.move(DialogAt());
  if (ExecModal(dialog) != QDialog::Accepted || dialog.Chosen().isEmpty()) return;
  TLaunchList list;
  list.SetFileName(SaveFileName.toStdString());
  QString error;
  if (!LoadBackup(dialog.Chosen(), list, error)) {
    ShowMessageAt(error, QStringLiteral("バックアップから復元"), mbOK, TMsgType::Error,
                  DialogAt().x(), DialogAt().y());
    return;
  }
  ReplaceGridData(QStringLiteral("バックアップから復元"), list);
}
