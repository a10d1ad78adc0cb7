// The main window's commands as its menu items, shortcuts and double-clicks run them:
// each asks the command logic to do its work, then records the change as one undo step
// and shows its outcome.
#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

#include "ButtonCommands.h"
#include "DataFileCommands.h"
#include "DataFileSave.h"
#include "ExchangeCommands.h"
#include "FindBar.h"
#include "FreedMemory.h"
#include "GridRows.h"
#include "GridRules.h"
#include "GridView.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "PageCommands.h"
#include "PageEditDialog.h"
#include "RecoveryGuard.h"
#include "RegistrationWizard.h"
#include "ShellProperties.h"
#include "StartupLogic.h"
#include "VersionInfo.h"
#include "WizardMerge.h"

void TMainWindow::ConnectCommands() {
  const auto on = [this](QAction* action, void (TMainWindow::*handler)()) {
    connect(action, &QAction::triggered, this, handler);
  };
  on(mnOpen, &TMainWindow::mnOpenClick);
  on(mnSave, &TMainWindow::mnSaveClick);
  on(mnSaveAs, &TMainWindow::mnSaveAsClick);
  on(mnInp, &TMainWindow::mnInpClick);
  on(mnExp, &TMainWindow::mnExpClick);
  on(mnProp, &TMainWindow::mnPropClick);
  on(mnExit, &TMainWindow::mnExitClick);
  on(mnAbout, &TMainWindow::mnAboutClick);
  on(mnBtnEdit, &TMainWindow::EditCurrentPage);
  on(mnPageNew, &TMainWindow::mnPageNewClick);
  on(mnPageDel, &TMainWindow::mnPageDelClick);
  on(mnPageRename, &TMainWindow::mnPageRenameClick);
  for (QAction* move : {mnPageUp, mnPageDown})
    connect(move, &QAction::triggered, this, [this, move] { mnPageMoveClick(move); });
  on(mnBtnLinkOpen, &TMainWindow::mnBtnLinkOpenClick);
  on(mnCopy, &TMainWindow::mnCopyClick);
  on(mnPaste, &TMainWindow::mnPasteClick);
  on(mnBtnCls, &TMainWindow::mnBtnClsClick);
  on(mnBtnAdd, &TMainWindow::mnBtnAddClick);
  on(mnBtnIns, &TMainWindow::mnBtnInsClick);
  on(mnBtnDel, &TMainWindow::mnBtnDelClick);
  on(mnWiz, &TMainWindow::mnWizClick);
  on(mnFind, &TMainWindow::mnFindClick);
  on(mnFindNext, &TMainWindow::mnFindNextClick);
  on(mnFindPrev, &TMainWindow::mnFindPrevClick);
  on(mnReplace, &TMainWindow::mnReplaceClick);
  on(mnCheckTargets, &TMainWindow::mnCheckTargetsClick);
  on(mnRestore, &TMainWindow::mnRestoreClick);
  connect(FindBar_, &TFindBar::TextChanged, this, &TMainWindow::FindTextChanged);
  connect(FindBar_, &TFindBar::NextRequested, this, &TMainWindow::mnFindNextClick);
  connect(FindBar_, &TFindBar::PrevRequested, this, &TMainWindow::mnFindPrevClick);
  connect(FindBar_, &TFindBar::Closed, this, [this] {
    // The hits of what was typed go with the bar; the folded texts stay while the grid
    // does not change, so that the next Ctrl+F only searches.
    Finder_.ForgetText();
    ReturnFreedMemory();
    Grid_->setFocus();
    Grid_->viewport()->update();
  });
}

QPoint TMainWindow::DialogAt() const {
  return {frameGeometry().left() + 16, frameGeometry().top()};
}

TGridEdit TMainWindow::Edit() {
  TGridEdit edit(store_, IconGrid_, CopyBuffer);
  edit.Col = Grid_->Col();
  edit.Row = Grid_->Row();
  edit.NameColWidth = NameColWidth;
  edit.DialogAt = DialogAt();
  edit.TextWidth = [this](const std::string& text) { return TextWidth(text); };
  edit.IconsWhenDrawn = true;  // IconAt reads them
  return edit;
}

TViewState TMainWindow::ViewState() const {
  return {Grid_->Col(), Grid_->Row(), NameColWidth};
}

TGridEdit TMainWindow::UndoEdit() {
  return Edit();
}

void TMainWindow::ShowViewState(const TViewState& state) {
  NameColWidth = state.NameColWidth;
  Grid_->PlaceCurrent(state.Col, state.Row);
  Grid_->viewport()->update();
  UpdateTitle();
}

void TMainWindow::RecordStep(const QString& text, const std::function<void()>& work) {
  const TViewState before = ViewState();
  TGridJournal journal;
  const auto record = [&] {
    store_.SetJournal(nullptr);
    if (journal.empty()) return;  // a refused or cancelled command is no step
    Undo_.push(new TGridStep(*this, text, std::move(journal), before, ViewState()));
  };
  store_.SetJournal(&journal);
  // While the grid is half changed, neither the recovery copy nor a look at the file
  // may read it.
  InStep_ = true;
  if (Recovery_) Recovery_->SetBusy(true);
  const auto done = [&] {
    record();
    InStep_ = false;
    if (Recovery_) Recovery_->SetBusy(false);
  };
  try {
    work();
  } catch (...) {
    // The journal must not outlive this call, and what changed before the failure can
    // still be taken back.
    done();
    throw;
  }
  done();
}

bool TMainWindow::ReplaceGridData(const QString& text, const TLaunchList& list) {
  // The whole grid is swapped, as an import does: one step, and the data file is
  // written only by a save.
  RecordStep(text, [&] {
    const QString kept = SaveFileName;
    FillGrid(list);
    SaveFileName = kept;
  });
  // What the grid cannot hold is told before a save drops it.
  const bool damaged = WarnOfDamage(list);
  Grid_->PlaceCurrent(1, 1);
  Grid_->viewport()->update();
  UpdateTitle();
  return damaged;
}

void TMainWindow::RunEdit(const QString& text, bool (*command)(TGridEdit&)) {
  RecordStep(text, [&] {
    TGridEdit edit = Edit();
    command(edit);
    // Questions were answered or refused: the grid shows the outcome either way.
    NameColWidth = edit.NameColWidth;
    Grid_->PlaceCurrent(edit.Col, edit.Row);
  });
  Grid_->viewport()->update();
  UpdateTitle();
}

void TMainWindow::mnPageNewClick() {
  RunEdit(QStringLiteral("新規ページ挿入"), InsertPage);
}
void TMainWindow::mnPageDelClick() {
  RunEdit(QStringLiteral("ページ削除"), DeletePage);
}
void TMainWindow::mnPageRenameClick() {
  RunEdit(QStringLiteral("ページ名変更"), RenamePage);
}
void TMainWindow::mnPageMoveClick(QAction* item) {
  const int step = item->data().toInt();
  RecordStep(step < 0 ? QStringLiteral("ページを上へ移動") : QStringLiteral("ページを下へ移動"),
             [&] {
               TGridEdit edit = Edit();
               MoveCurrentPage(edit, step);
               // The row now shows the neighbouring page, which may have fewer buttons.
               MakeCurrentPage(Grid_->Row());
             });
  Grid_->viewport()->update();
}
void TMainWindow::mnBtnAddClick() {
  RunEdit(QStringLiteral("ボタン追加"), AddButtons);
}
void TMainWindow::mnBtnInsClick() {
  RunEdit(QStringLiteral("ボタン挿入"), InsertButtons);
}
void TMainWindow::mnBtnDelClick() {
  RunEdit(QStringLiteral("ボタン削除"), DeleteButton);
}
void TMainWindow::mnBtnClsClick() {
  RunEdit(QStringLiteral("登録情報クリア"), ClearButton);
}
void TMainWindow::mnCopyClick() {
  RunEdit(QStringLiteral("コピー"), CopyCurrentButton);
}
void TMainWindow::mnPasteClick() {
  RunEdit(QStringLiteral("貼り付け"), PasteCopiedButton);
}
void TMainWindow::mnBtnLinkOpenClick() {
  TGridEdit edit = Edit();
  OpenTargetFolder(edit, OpenFolder);
}

void TMainWindow::EditCurrentPage() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  const int r = Grid_->Row();
  if (r < 1 || r > PageCount(store_)) return;
  const auto status = StatusOfGrid(store_);
  std::vector<std::string> row = store_.Row(r);
  if (row.empty()) row.emplace_back();
  const QPoint at = DialogAt();
  if (!EditPage(at.x(), at.y(), status->MinButtons, row, Grid_->Col() - 1, status->MaxButtons))
    return;
  RecordStep(QStringLiteral("ページの編集"), [&] {
    store_.SetRow(r, std::move(row));
    TGridEdit edit = Edit();
    const int count = CountOfRow(store_, r);
    RebuildPageIcons(edit, r, count);
    Grid_->PlaceCurrent(std::min(Grid_->Col(), std::max(count, 1)), r);
  });
  UpdateTitle();
}

void TMainWindow::mnSaveClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  TSaveSession session = SaveSession();
  if (SaveWithQuestion(session) == TSaveResult::Saved) MarkSaved();
}

void TMainWindow::mnExitClick() {
  close();
}

void TMainWindow::mnPropClick() {
  ShowMessageAt(PropertiesText(store_, SaveFileName),
                QStringLiteral("データーファイルのプロパティ"), mbOK, TMsgType::Plain,
                DialogAt().x(), DialogAt().y());
}

void TMainWindow::mnAboutClick() {
  TVersionInfo info;
  GetVersionInfo(QCoreApplication::applicationFilePath(), info);
  ShowMessageAt(AboutText(info), QStringLiteral("バージョン情報"), mbOK, TMsgType::Information,
                DialogAt().x(), DialogAt().y());
}

QString TMainWindow::DataFolder() const {
  return QFileInfo(SaveFileName).absolutePath();
}

void TMainWindow::mnExpClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  ExportGrid(store_, DataFolder(), DialogAt());
}

void TMainWindow::mnInpClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  TImportWindow window;
  window.hide = [this] { hide(); };
  window.fill = [this](const TLaunchList& list, const QString& path) {
    const QString kept = SaveFileName;
    FillGrid(list);
    WarnOfDamage(list, path);
    SaveFileName = SaveOnClose ? DataFileName : kept;
  };
  window.show = [this] { show(); };
  // The whole grid is swapped: one step that keeps both grids.
  RecordStep(QStringLiteral("インポート"), [&] { ImportFile(DataFolder(), DialogAt(), window); });
}

void TMainWindow::mnWizClick() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  const QPoint at = DialogAt();
  hide();
  std::vector<std::string> names;
  std::vector<int> counts;
  WizardPages(store_, names, counts);
  const auto status = StatusOfGrid(store_);
  bool isNewPage = false;
  int target = 0;
  std::vector<std::string> row;
  if (ExecuteWizard(at.x(), at.y(), status->MinButtons, isNewPage, target, row, names,
                    TotalButtonCount(store_), status->MaxButtons, status->MaxPages, counts)) {
    RecordStep(QStringLiteral("登録ウイザード"), [&] {
      TGridEdit edit = Edit();
      if (MergeWizardRow(edit, isNewPage, target, row)) {
        NameColWidth = edit.NameColWidth;  // the wanted width; column 0 keeps its width
        Grid_->PlaceCurrent(edit.Col, edit.Row);
      }
    });
  }
  show();  // in every case; showing centres the window and selects cell (1, 1)
  Grid_->viewport()->update();
  UpdateTitle();
}
