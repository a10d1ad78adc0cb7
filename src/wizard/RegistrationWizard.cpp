#include "RegistrationWizard.h"

#include "FileDrops.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>

#include "EditPageLogic.h"
#include "FolderBrowser.h"
#include "MessageBox.h"
#include "SjisValidator.h"
#include "TextFormat.h"
#include "WindowPlacement.h"
#include "WizardFileList.h"
#include "WizardFiles.h"
#include "WizardRow.h"

namespace {

constexpr int kFilesPage = 1;
constexpr int kLastPage = TRegistrationWizard::kPageCount - 1;

const QString kNewPageName = QStringLiteral("新規ページ");
const QString kNextCaption = QStringLiteral("次へ(&N) ＞＞");
const QString kFinishCaption = QStringLiteral("完了(&X)");
const QString kBackCaption = QStringLiteral("＜＜ 戻る(&B)");
const QString kExitCaption = QStringLiteral("終了(&X)");

TPathList Utf8Paths(const QStringList& paths) {
  TPathList utf8;
  utf8.reserve(static_cast<std::size_t>(paths.size()));
  for (const QString& path : paths)
    utf8.push_back(path.toStdString());
  return utf8;
}

// The hourglass for the life of the object.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// A box that is enabled is drawn on the window colour, a disabled one on the button face.
void SetEnabledLook(QWidget* w, bool enabled) {
  w->setEnabled(enabled);
  QPalette palette = w->palette();
  palette.setColor(QPalette::Base,
                   QApplication::palette().color(enabled ? QPalette::Base : QPalette::Button));
  w->setPalette(palette);
}

}  // namespace

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  QString text = bar < 0 ? hint : hint.mid(bar + 1);
  return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

void SetHint(QWidget* w, const QString& hint) {
  w->setProperty(kHintProperty, hint);
}

bool ExecuteWizard(int x, int y, std::int32_t minButtons, bool& isNewPage, int& targetPageIndex,
                   std::vector<std::string>& rowCells, const std::vector<std::string>& pageNames,
                   int /*totalButtonCount*/, std::int32_t maxButtons, std::int32_t maxPages,
                   const std::vector<int>& pageCounts) {
  TRegistrationWizard wizard;
  wizard.RowCells = rowCells;
  wizard.Setup(x, y, minButtons, maxButtons, maxPages, pageNames, pageCounts);
  if (wizard.exec() != QDialog::Accepted || !wizard.Complete()) return false;
  isNewPage = wizard.IsNewPage;
  targetPageIndex = wizard.TargetPageIndex;
  rowCells = wizard.RowCells;
  return true;
}

TRegistrationWizard::TRegistrationWizard(QWidget* parent) : QDialog(parent) {
  BuildLayout();
  ConnectHandlers();
  LBHint->clear();
  TargetPageIndex = 0;
}

TRegistrationWizard::~TRegistrationWizard() = default;

void TRegistrationWizard::Setup(int x, int y, std::int32_t minButtons, std::int32_t maxButtons,
                                std::int32_t maxPages, const std::vector<std::string>& pageNames,
                                const std::vector<int>& pageCounts) {
  X = x;
  Y = y;
  MinButtons = minButtons;
  MaxButtons = maxButtons;
  MaxPages = maxPages;
  Pages = static_cast<int>(pageNames.size());
  PageCounts = pageCounts;
  PageBox->clear();
  for (const std::string& name : pageNames)
    PageBox->addItem(ShownText(name));
  PageBox->setCurrentRow(0);
  TargetPageIndex = 0;
  // At the page limit only the files of an existing page can grow.
  const bool newPages = NewPagesAllowed();
  SelectPageTypeGroup->button(wmNewPage)->setEnabled(newPages);
  SelectPageTypeGroup->button(wmFolderPage)->setEnabled(newPages);
  if (!newPages) SelectPageTypeGroup->button(wmAddToPage)->setChecked(true);
  SelectPageTypeClick();
}

bool TRegistrationWizard::NewPagesAllowed() const {
  return MaxPages <= 0 || Pages < MaxPages;
}

int TRegistrationWizard::ActivePage() const {
  return PageStack->currentIndex();
}

int TRegistrationWizard::Method() const {
  return std::max(SelectPageTypeGroup->checkedId(), 0);
}

QString TRegistrationWizard::HintText() const {
  return LBHint->text();
}

QPoint TRegistrationWizard::QuestionAt() const {
  return {frameGeometry().left() + 16, frameGeometry().top()};
}

void TRegistrationWizard::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TRegistrationWizard::FormShow() {
  MoveIntoWorkArea(*this, X, Y);
  ShowPage(0);
  btnNext->setText(kNextCaption);
  ShowStepCount();
}

void TRegistrationWizard::ShowPage(int i) {
  const int old = ActivePage();
  if (old == kFilesPage && i != kFilesPage) FilesPageHide();
  PageStack->setCurrentIndex(i);
  if (i == 0) MethodPageShow();
  if (i == kFilesPage) FilesPageShow();
  if (i == kLastPage) FinishPageShow();
}

void TRegistrationWizard::ShowStepCount() {
  LBCount->setText(QStringLiteral("(%1/%2)").arg(ActivePage() + 1).arg(kPageCount));
  LBCount->repaint();
}

void TRegistrationWizard::btnNextClick() {
  const int page = ActivePage();
  if (page == kLastPage) {
    accept();
    return;
  }
  ShowPage(page + 1);
  if (page + 1 == kLastPage) btnNext->setText(kFinishCaption);
  if (page + 1 == kFilesPage) btnPrev->setText(kBackCaption);
  ShowStepCount();
  if (page + 1 == kFilesPage && Method() == wmFolderPage) BrowseChoiceFolder();
}

void TRegistrationWizard::btnPrevClick() {
  const int page = ActivePage();
  if (page == 0) {
    reject();
    return;
  }
  ShowPage(page - 1);
  if (page - 1 == kLastPage - 1) btnNext->setText(kNextCaption);
  if (page - 1 == 0) btnPrev->setText(kExitCaption);
  ShowStepCount();
}

void TRegistrationWizard::MethodPageShow() {
  btnPrev->setText(kExitCaption);
  SetHint(MethodPage,
          QStringLiteral("ボタン等にマウスポインタを合わせると簡単な説明が表示されます。"));
  QString methods = QStringLiteral(
      "|[新しいページを作成] - 新規にページを作成します。\r"
      "[既存のページに追加] - 既存のページにファイルを追加します。\r"
      "[特定のフォルダを元に新しいページを作成] - "
      "特定のフォルダ内にあるサブフォルダを元にして新しいページを作成します。");
  if (!NewPagesAllowed())
    methods +=
        QStringLiteral("\r※ページ数が上限 (%1) に達しているため、新しいページは作成できません。")
            .arg(MaxPages);
  SetHint(SelectPageType, methods);
  for (QAbstractButton* radio : SelectPageTypeGroup->buttons())
    SetHint(radio, methods);
  SetHint(FolderOp,
          QStringLiteral("|[特定のフォルダを元に新しいページを作成] を選択した場合に設定できます。"
                         "[スタートメニュー] [デスクトップ] [マイドキュメント] [お気に入り] "
                         "[最近使ったファイル] の中から選択します。"));
}

void TRegistrationWizard::FilesPageShow() {
  setAcceptDrops(true);
  SetHint(
      FilesPage,
      QStringLiteral("|[追加登録するファイル一覧] にファイルをドロップするか、[フォルダから追加]"
                     "ボタンを押して任意のフォルダを選択して下さい。ファイルをドロップすると"
                     "[追加登録するファイル一覧] に表示されます。(複数ファイルをドロップすることが"
                     "できます)\r[SHIFT]や[CTRL]キーを押したままでクリックすると特定のファイルを"
                     "選択できます。"));
  SetHint(CBoxExt,
          QStringLiteral("|ファイルをドロップする際にファイルの種類を限定することができます\r"
                         "[すべてのファイル]は登録可能なファイルを指します"));
  SetHint(BtnDel, QStringLiteral("|[SHIFT]や[CTRL]キーを押したままでクリックすると特定のファイルを"
                                 "選択して削除できます。"));
  SetHint(BtnAllCls, QStringLiteral("|ファイル一覧をすべて削除します。"));
  SetHint(BtnFolder, QStringLiteral("|指定したフォルダ内にあるファイルを追加します。"));
  FileListBox->ApplyExtent();
}

void TRegistrationWizard::FilesPageHide() {
  setAcceptDrops(false);
}

void TRegistrationWizard::FinishPageShow() {
  const bool newPage = IsNewPageMethod(Method());
  SetHint(CboxPage, newPage ? QStringLiteral("|新規に追加するページの名前を入力するか、右側[▼]を"
                                             "クリックしてリストから選択して下さい。")
                            : QString());
  SetHint(PageBox, newPage ? QStringLiteral("新規に作成したページの追加位置を選択して下さい。")
                           : QStringLiteral("追加したファイルを登録するページを選択して下さい。"));
}

void TRegistrationWizard::SelectPageTypeClick() {
  const int method = Method();
  const bool newPage = IsNewPageMethod(method);
  LbNewPage->setEnabled(newPage);
  CboxPage->setEditText(newPage ? kNewPageName : QString());
  LBPage->setText(newPage ? QStringLiteral("新規作成したページの追加位置:(&L)")
                          : QStringLiteral("追加したファイルを登録するページ:(&L)"));
  LBPage->adjustSize();
  SetEnabledLook(CboxPage, newPage);
  BtnFolder->setVisible(method != wmFolderPage);
  SetEnabledLook(CBoxFolder, method == wmFolderPage);
}

void TRegistrationWizard::PageBoxClick() {
  TargetPageIndex = std::max(PageBox->currentRow(), 0);
}

QString TRegistrationWizard::HintOf(const QWidget* w) const {
  for (; w != nullptr; w = w->parentWidget()) {
    const QString hint = w->property(kHintProperty).toString();
    if (!hint.isEmpty() || w == this) return hint;
  }
  return {};
}

void TRegistrationWizard::ShowHintOf(const QWidget* w) {
  LBHint->setText(LongHint(HintOf(w)));
  HintPanel->setAccessibleDescription(LBHint->text());
}

bool TRegistrationWizard::eventFilter(QObject* watched, QEvent* event) {
  // The pointer left a control for its parent or entered another: the panel follows.
  if (auto* w = qobject_cast<QWidget*>(watched)) {
    if (event->type() == QEvent::Enter) ShowHintOf(w);
    if (event->type() == QEvent::Leave && w != this) ShowHintOf(w->parentWidget());
  }
  return QDialog::eventFilter(watched, event);
}

void TRegistrationWizard::BrowseChoiceFolder() {
  const QString caption = CBoxFolder->currentText();
  const QString path = QString::fromStdString(FolderChoicePath(CBoxFolder->currentIndex()));
  if (path.isEmpty()) {
    ShowMessageAt(
        QStringLiteral("[%1] に当たるフォルダがこのシステムにはありません。").arg(caption),
        QStringLiteral("フォルダの選択"), mbOK, TMsgType::Error, QuestionAt().x(),
        QuestionAt().y());
    return;
  }
  TFolderBrowser browser;
  browser.Caption = caption + QStringLiteral(" から追加");
  browser.RootFolder = TFolderBrowser::rfManual;
  browser.RootFolderName = path;
  browser.SelectFolder = TFolderBrowser::sfManual;
  browser.SelectFolderName = path;
  browser.Owner = this;
  if (browser.Execute()) AddFolderContents(browser.FolderPath, browser.DisplayName);
}

void TRegistrationWizard::BtnFolderClick() {
  TFolderBrowser browser;
  browser.Caption = QStringLiteral("フォルダから追加");
  browser.RootFolder = TFolderBrowser::rfDesktop;
  browser.SelectFolder = TFolderBrowser::sfDrives;
  browser.Owner = this;
  if (browser.Execute()) AddFolderContents(browser.FolderPath, browser.DisplayName);
  FileListBox->ApplyExtent();
}

void TRegistrationWizard::AddPageNameProposals(const std::vector<QString>& names) {
  // The first item of an empty box would become its text: the typed name stays.
  const QString text = CboxPage->currentText();
  for (const QString& name : names)
    CboxPage->addItem(name);
  CboxPage->setEditText(text);
}

void TRegistrationWizard::AddFolderContents(const QString& folderPath, const QString& displayName) {
  if (IsStorableText(displayName)) AddPageNameProposals({displayName});
  TCollected collected = CollectFolder(folderPath.toStdString(), CBoxExt->currentIndex());
  FileListBox->Model().Append(std::move(collected.Paths));
  UpdateFileCount();
  TellRefused(collected.Refused);
}

void TRegistrationWizard::TellRefused(const std::vector<std::string>& refused) {
  if (refused.empty()) return;
  ShowMessageAt(RefusedPathsMessage(refused), QStringLiteral("登録エラー"), mbOK, TMsgType::Plain,
                QuestionAt().x(), QuestionAt().y());
}

void TRegistrationWizard::AddDroppedFiles(const QStringList& paths) {
  if (paths.isEmpty()) return;
  TCollected collected;
  {
    TWaitCursor wait;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    collected = CollectDropped(Utf8Paths(paths), CBoxExt->currentIndex());
    AddPageNameProposals(collected.PageNameHints);
    FileListBox->Model().Append(std::move(collected.Paths));
  }
  UpdateFileCount();
  TellRefused(collected.Refused);
  FileListBox->setFocus();
}

void TRegistrationWizard::UpdateFileCount() {
  LbListCount->setText(QStringLiteral("ファイル数：%1").arg(FileListBox->Count()));
  LbListCount->repaint();
}

void TRegistrationWizard::BtnSortClick(bool descending) {
  if (FileListBox->Count() == 0) return;
  TPathList paths = FileListBox->Model().Paths();
  SortPaths(paths, descending);
  FileListBox->Model().SetPaths(std::move(paths));
  FileListBox->SelectOnly(0);
  FileListBox->ApplyExtent();
}

void TRegistrationWizard::BtnUpClick(bool toBottom) {
  MoveSelectedFiles(toBottom);
}

void TRegistrationWizard::MoveSelectedFiles(bool toBottom) {
  const int n = FileListBox->Count(), k = FileListBox->SelectedCount();
  if (k == 0) return;
  const int target = toBottom ? n - k : 0;
  FileListBox->Model().SetPaths(
      MoveSelection(FileListBox->Model().Paths(), FileListBox->SelectedFlags(), target));
  FileListBox->SelectOnly(target);
  FileListBox->ApplyExtent();
}

void TRegistrationWizard::BtnDelClick() {
  if (FileListBox->Count() == 0) return;
  const std::vector<bool> selected = FileListBox->SelectedFlags();
  TPathList kept;
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (!selected[i]) kept.push_back(FileListBox->Model().Paths()[i]);
  FileListBox->Model().SetPaths(std::move(kept));
  UpdateFileCount();
}

void TRegistrationWizard::BtnAllClsClick() {
  FileListBox->Model().SetPaths({});
  UpdateFileCount();
}

void TRegistrationWizard::BtnCheckClick() {
  const int before = FileListBox->Count();
  if (before == 0) return;
  {
    TWaitCursor wait;
    TPathList paths = FileListBox->Model().Paths();
    RemoveUnregistrable(paths);
    FileListBox->Model().SetPaths(std::move(paths));
  }
  UpdateFileCount();
  ShowMessageAt(FileCheckReport(before, FileListBox->Count()), QStringLiteral("ファイルチェック"),
                mbOK, TMsgType::Plain, QuestionAt().x(), QuestionAt().y());
}

bool TRegistrationWizard::Complete() {
  const TPathList& files = FileListBox->Model().Paths();
  if (files.empty()) return false;
  const int method = Method();
  const bool newPage = IsNewPageMethod(method);
  const bool known = TargetPageIndex >= 0 && TargetPageIndex < static_cast<int>(PageCounts.size());
  const int room = WizardRoom(
      newPage || !known ? 0 : PageCounts[static_cast<std::size_t>(TargetPageIndex)], MaxButtons);
  // The box holds only what Shift-JIS can hold.
  const std::string caption = StoredText(CboxPage->currentText()).value_or("");
  TWizardRow row;
  {
    TWaitCursor wait;
    row = BuildWizardRow(files, method, caption, MinButtons, room);
  }
  const QPoint at = QuestionAt();
  TellRefused(row.Refused);  // every file left out is named, in one box
  if (row.Registered == 0) {
    ShowMessageAt(NothingRegisteredMessage(), WizardCaption(), mbOK, TMsgType::Information, at.x(),
                  at.y());
    return false;
  }
  if (row.LeftOut > 0)
    ShowMessageAt(LeftOutMessage(row.LeftOut, MaxButtons), WizardCaption(), mbOK, TMsgType::Warning,
                  at.x(), at.y());
  if (row.Cells.empty()) return false;
  IsNewPage = newPage;
  RowCells = std::move(row.Cells);
  return true;
}

void TRegistrationWizard::dragEnterEvent(QDragEnterEvent* event) {
  if (ActivePage() == kFilesPage && !LocalFilesOf(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  event->ignore();
}

void TRegistrationWizard::dragMoveEvent(QDragMoveEvent* event) {
  if (ActivePage() == kFilesPage && !LocalFilesOf(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  event->ignore();
}

void TRegistrationWizard::dropEvent(QDropEvent* event) {
  if (ActivePage() != kFilesPage) {
    event->ignore();
    return;
  }
  const QStringList paths = LocalFilesOf(event->mimeData());
  event->acceptProposedAction();
  AddDroppedFiles(paths);
}
