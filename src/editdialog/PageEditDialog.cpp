#include "PageEditDialog.h"
#include "TextFormat.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>

#include "ButtonListBox.h"
#include "EditPageLogic.h"
#include "EllipsisEdit.h"
#include "FolderBrowser.h"
#include "ItemIcons.h"
#include "LaunchErrors.h"
#include "ModalRun.h"
#include "RecordText.h"
#include "RootFolder.h"
#include "ShellItem.h"
#include "WindowPlacement.h"

bool EditPage(int left, int top, std::int32_t minButtons, std::vector<std::string>& row,
              int startIndex, std::int32_t maxButtons) {
  TPageEditDialog dialog;
  dialog.Setup(left, top, minButtons, maxButtons, startIndex);
  dialog.LoadPage(row);
  if (ExecModal(dialog) != QDialog::Accepted) return false;
  std::vector<std::string> changed = dialog.CommitPage();
  if (row.size() < changed.size()) row.resize(changed.size());
  std::copy(changed.begin(), changed.end(), row.begin());
  return true;
}

TPageEditDialog::TPageEditDialog(QWidget* parent) : QDialog(parent) {
  BuildLayout();
  ConnectHandlers();
}

TPageEditDialog::~TPageEditDialog() = default;

void TPageEditDialog::Setup(int left, int top, std::int32_t minButtons, std::int32_t maxButtons,
                            int startIndex) {
  Left = left;
  Top = top;
  MinButtons = minButtons;
  MaxButtons = maxButtons;
  StartIndex = startIndex;
}

void TPageEditDialog::LoadPage(const std::vector<std::string>& row) {
  try {
    Page = *TextToPage(row.empty() ? std::string() : row[0]);
  } catch (const ELaunchError&) {
    Page = *TextToPage("");  // a damaged page text opens as a page of no buttons
    Page.Count = 0;
  }
  // The page's buttons are the first Count texts after the page text; a row with
  // fewer gives the page only those it has.
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(Page.Count, 0)), row.empty() ? 0 : row.size() - 1);
  Page.Count = static_cast<std::int32_t>(count);
  std::vector<std::string> entries(row.begin() + 1,
                                   row.begin() + 1 + static_cast<std::ptrdiff_t>(count));
  EdPage->setText(ShownText(Page.Caption));
  BtnListBox->Model().SetEntries(std::move(entries));
  BtnListBox->MakeCurrent(0);
  ShowDetails(0);
}

std::vector<std::string> TPageEditDialog::CommitPage() {
  Page.Caption = CommittedCaption(Page.Caption, EdPage->text());
  Page.Count = BtnListBox->Count();
  std::vector<std::string> row;
  row.reserve(static_cast<std::size_t>(Page.Count) + 1);
  row.push_back(PageToText(Page));
  for (const std::string& entry : BtnListBox->Model().Entries())
    row.push_back(entry);
  return row;
}

void TPageEditDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPageEditDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && PCtrl->isAncestorOf(focusWidget())) {
    if (BtnRenew->isEnabled()) BtnRenewClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TPageEditDialog::FormShow() {
  MoveIntoWorkArea(*this, Left, Top);
  PCtrl->setCurrentWidget(TabEdit);
  BtnListBox->setFocus();
  // The start button alone is selected, so that a command on the selection acts on
  // the button the dialog was opened on; without one, entry 0.
  const bool startExists = StartIndex >= 0 && StartIndex < BtnListBox->Count();
  BtnListBox->SelectOnly(startExists ? StartIndex : 0);
  ShowCurrent();
}

void TPageEditDialog::ShowCurrent() {
  ShowDetails(BtnListBox->Current());
}

void TPageEditDialog::ShowCurrentOnDetailTab() {
  PCtrl->setCurrentWidget(TabEdit);
  ShowCurrent();
}

void TPageEditDialog::ShowDetails(int i) {
  showing_ = true;
  IconsLoaded = false;
  const bool exists = i >= 0 && i < BtnListBox->Count();
  const TDetailFields f = exists ? DetailsOfEntry(BtnListBox->Model().Entry(i)) : TDetailFields();
  Shown = f;
  const bool special = f.Kind == lkSpecialFolder;
  for (QWidget* w : LinkWidgets)
    w->setVisible(!special);
  LBoxSpfol->setVisible(special);
  PCtrl->setProperty("kind", f.Kind);
  EdTitle->setText(ShownText(f.Title));
  EdLink->setText(ShownText(f.Link));
  EdParam->setText(ShownText(f.Params));
  EdWork->setText(ShownText(f.WorkDir));
  if (special) LBoxSpfol->setCurrentRow(f.SpecialFolder);
  if (!special || f.SpecialFolder < 0) LBoxSpfol->clearSelection();
  Memo->setPlainText(ShownComment(f.Comment));
  ComboBoxShow->setCurrentIndex(f.ShowRow);
  ShowRowChosen = false;
  EdNo->setText(QString::fromStdString(f.UseCount));
  EdPath->setText(ShownText(f.IconPath));
  EdIndex->setText(QString::fromStdString(f.IconIndex));
  if (exists) {
    try {
      CurrentIcon = GetItemIcon(*TextToItem(BtnListBox->Model().Entry(i)));
    } catch (const ELaunchError&) {
      CurrentIcon = QIcon();
    }
  } else {
    CurrentIcon = QIcon();
  }
  CurrentIconBox->update();
  SetCommandStates();
  BtnRenew->setEnabled(false);
  PCtrl->setVisible(exists && f.Kind != lkNone);
  for (QWidget* w : {static_cast<QWidget*>(EdTitle), static_cast<QWidget*>(EdParam)})
    w->setEnabled(exists);
  UpdateCountLabel();
  showing_ = false;
}

std::string TPageEditDialog::CurrentEntry() {
  const int i = BtnListBox->Current();
  return i >= 0 && i < BtnListBox->Count() ? BtnListBox->Model().Entry(i) : std::string();
}

void TPageEditDialog::SetCommandStates() {
  const int n = BtnListBox->Count();
  const int kind = KindOfText(CurrentEntry());
  BtnBCls->setEnabled(kind != lkNone);
  BtnBDel->setEnabled(Page.Count > MinButtons && n > 0);
  BtnBAdd->setEnabled(MaxButtons == 0 || n < MaxButtons);
  BtnBIns->setEnabled(BtnBAdd->isEnabled());
}

void TPageEditDialog::UpdateCountLabel() {
  LbCount->setToolTip(QStringLiteral("現在の登録数 - 登録数の上限"));
  LbCount->setText(CountLabelText(BtnListBox->Count(), MaxButtons));
}

std::string TPageEditDialog::Cp932(const QString& text) {
  return StoredText(text).value_or(std::string());
}

TDetailFields TPageEditDialog::FieldsOfControls() const {
  TDetailFields f;
  f.Title = EditedText(Shown.Title, EdTitle->text());
  f.Link = EditedText(Shown.Link, EdLink->text());
  f.Params = EditedText(Shown.Params, EdParam->text());
  f.WorkDir = EditedText(Shown.WorkDir, EdWork->text());
  const int row = ComboBoxShow->currentIndex();
  f.ShowRow = ShowRowChosen || row != Shown.ShowRow ? row : -1;  // -1: the state stays
  f.UseCount = EdNo->text().toStdString();
  f.Comment = EditedComment(Shown.Comment, Memo->toPlainText());
  f.IconPath = EditedText(Shown.IconPath, EdPath->text());
  f.IconIndex = EdIndex->text().toStdString();
  return f;
}

void TPageEditDialog::StoreDetails(int i) {
  BtnRenew->setEnabled(false);
  if (i < 0 || i >= BtnListBox->Count()) return;
  BtnListBox->Model().SetEntry(i, ::StoreDetails(BtnListBox->Model().Entry(i), FieldsOfControls()));
}

void TPageEditDialog::Changed() {
  if (!showing_) BtnRenew->setEnabled(true);
}

void TPageEditDialog::BtnRenewClick() {
  StoreDetails(BtnListBox->Current());
  PCtrl->setCurrentWidget(TabEdit);
}

void TPageEditDialog::BtnResetCountClick() {
  EdNo->setText(QStringLiteral("0"));
  BtnRenew->setEnabled(true);
}

void TPageEditDialog::EdWorkEllipsisClick() {
  TFolderBrowser browser;
  browser.SelectFolderName = EdWork->text();
  browser.Caption = QStringLiteral("作業フォルダの選択");
  browser.RootFolder = TFolderBrowser::rfDesktop;
  browser.SelectFolder = TFolderBrowser::sfManual;
  browser.ShowStyle = TFolderBrowser::ssClient;
  browser.Owner = this;
  if (!browser.Execute()) return;
  EdWork->setText(browser.FolderPath);
  BtnRenew->setEnabled(true);
}

void TPageEditDialog::LBoxSpfolClick(int row) {
  if (row < 0 || row >= kRootFolderCount) return;
  BtnRenew->setEnabled(true);
  showing_ = true;
  EdTitle->setText(LBoxSpfol->item(row)->text());
  EdLink->setText(QString::fromStdString(RootFolderName(row)));
  TLaunchDataItem scratch;
  scratch.Kind = lkSpecialFolder;
  scratch.Link = RootFolderName(row);
  std::string file;
  std::int32_t index = 0;
  GetItemIconSource(scratch, file, index);
  EdPath->setText(ShownText(file));
  EdIndex->setText(QString::number(index));
  IconsLoaded = false;
  CurrentIcon = PidlIcon(RootFolderPidl(row));
  CurrentIconBox->update();
  showing_ = false;
}

void TPageEditDialog::BtnUpsortClick(bool descending) {
  ShowCurrentOnDetailTab();
  BtnListBox->setFocus();
  if (BtnListBox->Count() == 0) return;
  const auto& entries = BtnListBox->Model().Entries();
  BtnListBox->Model().SetEntries(RadioSortUseCount->isChecked()
                                     ? SortByUseCount(entries, descending)
                                     : SortByTitle(entries, descending));
  BtnListBox->SelectOnly(0);
  ShowDetails(0);
}

void TPageEditDialog::BtnUpClick(bool toBottom) {
  PCtrl->setCurrentWidget(TabEdit);
  BtnListBox->setFocus();
  const int n = BtnListBox->Count(), k = BtnListBox->SelectedCount();
  if (n == 0 || k == 0) return;
  const int t = toBottom ? n - k : 0;
  BtnListBox->Model().SetEntries(
      MoveSelection(BtnListBox->Model().Entries(), BtnListBox->SelectedFlags(), t));
  BtnListBox->SelectOnly(t);
  ShowDetails(t);
}

void TPageEditDialog::mnAllClick() {
  BtnListBox->SelectAll();
  ShowDetails(0);
}

void TPageEditDialog::BtnOkClick() {
  PCtrl->setCurrentWidget(TabEdit);
  accept();
}
