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
#include "GridRows.h"
#include "GridRules.h"
#include "GridView.h"
#include "MessageBox.h"
#include "PageCommands.h"
#include "RecoveryGuard.h"
#include "ShellProperties.h"
#include "StartupLogic.h"
#include "UnEdit.h"
#include "Unsub.h"
#include "VersionInfo.h"
#include "WizardMerge.h"
#include "wizmain.h"

void TWizform::ConnectCommands() {
  const auto on = [this](QAction* action, void (TWizform::*handler)()) {
    connect(action, &QAction::triggered, this, handler);
  };
  on(Save1, &TWizform::Save1Click);
  on(mnInp, &TWizform::mnInpClick);
  on(mnExp, &TWizform::mnExpClick);
  on(mnProp, &TWizform::mnPropClick);
  on(Exit1, &TWizform::Exit1Click);
  on(About1, &TWizform::About1Click);
  on(mnBtnEdit1, &TWizform::EditCurrentPage);
  on(mnPageNew1, &TWizform::mnPageNew1Click);
  on(mnPageDel1, &TWizform::mnPageDel1Click);
  on(mnPageChgName1, &TWizform::mnPageChgName1Click);
  for (QAction* move : {mnPageMovL1, mnPageMovR1})
    connect(move, &QAction::triggered, this, [this, move] { mnPageMovL1Click(move); });
  on(mnBtnLinkOpen1, &TWizform::mnBtnLinkOpen1Click);
  on(mnCopy, &TWizform::mnCopyClick);
  on(mnPaste, &TWizform::mnPasteClick);
  on(mnBtnCls1, &TWizform::mnBtnCls1Click);
  on(mnBtnAdd, &TWizform::mnBtnAddClick);
  on(mnBtnIns1, &TWizform::mnBtnIns1Click);
  on(mnBtnDel1, &TWizform::mnBtnDel1Click);
  on(mnWiz, &TWizform::mnWizClick);
  on(mnFind, &TWizform::mnFindClick);
  on(mnFindNext, &TWizform::mnFindNextClick);
  on(mnFindPrev, &TWizform::mnFindPrevClick);
  on(mnReplace, &TWizform::mnReplaceClick);
  on(mnCheckTargets, &TWizform::mnCheckTargetsClick);
  on(mnRestore, &TWizform::mnRestoreClick);
  connect(FindBar_, &TFindBar::TextChanged, this, &TWizform::FindTextChanged);
  connect(FindBar_, &TFindBar::NextRequested, this, &TWizform::mnFindNextClick);
  connect(FindBar_, &TFindBar::PrevRequested, this, &TWizform::mnFindPrevClick);
  connect(FindBar_, &TFindBar::Closed, this, [this] {
    Grid_->setFocus();
    Grid_->viewport()->update();
  });
}

QPoint TWizform::DialogAt() const {
  return {frameGeometry().left() + 16, frameGeometry().top()};
}

TGridEdit TWizform::Edit() {
  TGridEdit edit(store_, IconGrid_, CopyBuffer);
  edit.Col = Grid_->Col();
  edit.Row = Grid_->Row();
  edit.NameColWidth = NameColWidth;
  edit.DialogAt = DialogAt();
  edit.TextWidth = [this](const std::string& text) { return TextWidth(text); };
  return edit;
}

TViewState TWizform::ViewState() const {
  return {Grid_->Col(), Grid_->Row(), NameColWidth};
}

TGridEdit TWizform::UndoEdit() {
  return Edit();
}

void TWizform::ShowViewState(const TViewState& state) {
  NameColWidth = state.NameColWidth;
  Grid_->PlaceCurrent(state.Col, state.Row);
  Grid_->viewport()->update();
  UpdateTitle();
}

void TWizform::RecordStep(const QString& text, const std::function<void()>& work) {
  const TViewState before = ViewState();
  std::vector<TGridChange> changes;
  const auto record = [&] {
    store_.SetJournal(nullptr);
    if (changes.empty()) return;  // a refused or cancelled command is no step
    Undo_.push(new TGridStep(*this, text, std::move(changes), before, ViewState()));
  };
  store_.SetJournal(&changes);
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

void TWizform::ReplaceGridData(const QString& text, const TLaunchList& list) {
  // The whole grid is swapped, as an import does: one step, and the data file is
  // written only by a save.
  RecordStep(text, [&] {
    const QString kept = SaveFileName;
    FillGrid(list);
    SaveFileName = kept;
  });
  // What the grid cannot hold is told before a save drops it.
  WarnOfHiddenButtons(list);
  Grid_->PlaceCurrent(1, 1);
  Grid_->viewport()->update();
  UpdateTitle();
}

void TWizform::RunEdit(const QString& text, bool (*command)(TGridEdit&)) {
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

void TWizform::mnPageNew1Click() {
  RunEdit(QStringLiteral("新規ページ挿入"), InsertPage);
}
void TWizform::mnPageDel1Click() {
  RunEdit(QStringLiteral("ページ削除"), DeletePage);
}
void TWizform::mnPageChgName1Click() {
  RunEdit(QStringLiteral("ページ名変更"), RenamePage);
}
void TWizform::mnPageMovL1Click(QAction* item) {
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
void TWizform::mnBtnAddClick() {
  RunEdit(QStringLiteral("ボタン追加"), AddButtons);
}
void TWizform::mnBtnIns1Click() {
  RunEdit(QStringLiteral("ボタン挿入"), InsertButtons);
}
void TWizform::mnBtnDel1Click() {
  RunEdit(QStringLiteral("ボタン削除"), DeleteButton);
}
void TWizform::mnBtnCls1Click() {
  RunEdit(QStringLiteral("登録情報クリア"), ClearButton);
}
void TWizform::mnCopyClick() {
  RunEdit(QStringLiteral("コピー"), CopyCurrentButton);
}
void TWizform::mnPasteClick() {
  RunEdit(QStringLiteral("貼り付け"), PasteCopiedButton);
}
void TWizform::mnBtnLinkOpen1Click() {
  TGridEdit edit = Edit();
  OpenTargetFolder(edit, OpenFolder);
}

void TWizform::EditCurrentPage() {
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

void TWizform::Save1Click() {
  TSaveSession session = SaveSession();
  if (SaveWithQuestion(session) == TSaveResult::Saved) MarkSaved();
}

void TWizform::Exit1Click() {
  close();
}

void TWizform::mnPropClick() {
  ShowMessageAt(PropertiesText(store_, SaveFileName),
                QStringLiteral("データーファイルのプロパティ"), mbOK, TMsgType::Plain,
                DialogAt().x(), DialogAt().y());
}

void TWizform::About1Click() {
  TVersionInfo info;
  GetVersionInfo(QCoreApplication::applicationFilePath(), info);
  ShowMessageAt(AboutText(info), QStringLiteral("バージョン情報"), mbOK, TMsgType::Information,
                DialogAt().x(), DialogAt().y());
}

QString TWizform::DataFolder() const {
  return QFileInfo(SaveFileName).absolutePath();
}

void TWizform::mnExpClick() {
  ExportGrid(store_, DataFolder(), DialogAt());
}

void TWizform::mnInpClick() {
  TImportWindow window;
  window.hide = [this] { hide(); };
  window.fill = [this](const TLaunchList& list, const QString& path) {
    const QString kept = SaveFileName;
    FillGrid(list);
    WarnOfHiddenButtons(list, path);
    SaveFileName = SaveOnClose ? DataFileName : kept;
  };
  window.show = [this] { show(); };
  // The whole grid is swapped: one step that keeps both grids.
  RecordStep(QStringLiteral("インポート"), [&] { ImportFile(DataFolder(), DialogAt(), window); });
}

void TWizform::mnWizClick() {
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
