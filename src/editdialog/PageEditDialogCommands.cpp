// The page edit dialog's commands on its button list: add, insert, delete, clear,
// copy, paste, open the target's folder, properties, and registering a file, a
// folder, a special folder or a dropped file into buttons.
#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>

#include "ButtonDetails.h"
#include "ButtonListBox.h"
#include "Dialogs.h"
#include "EditPageLogic.h"
#include "FileUtils.h"
#include "FolderBrowser.h"
#include "InputDialog.h"
#include "LaunchErrors.h"
#include "LinkClassify.h"
#include "MessageBox.h"
#include "PageEditDialog.h"
#include "RecordText.h"
#include "RootFolder.h"
#include "ShellProperties.h"
#include "ShiftJis.h"
#include "TextFormat.h"

namespace {

const std::string& NewButton() {
  static const std::string text = ItemToText(*NewLaunchItem());
  return text;
}

// What the commands on the current button need of it. The pop-up menu enables its
// items by these, and each command checks them again, as its shortcut works whatever
// the menu last showed.
std::string LinkOfEntry(const std::string& entry) {
  try {
    return LinkOfText(entry);
  } catch (const ELaunchError&) {
    return {};
  }
}

bool HasTargetFolder(int kind) {
  return kind != lkNone && kind != lkFolder && kind != lkSpecialFolder;
}

// The target as the user knows it: a special folder by its name, else the link shown.
QString TargetName(const TLaunchDataItem& item) {
  const int row = item.Kind == lkSpecialFolder ? RootFolderFromName(item.Link) : -1;
  if (row >= 0) return SpecialFolderRowText(row);
  return ShownText(item.Kind == lkShortcut ? item.AltLink : item.Link);
}

}  // namespace

QPoint TPageEditDialog::QuestionAt() const {
  return {frameGeometry().left() + 16, frameGeometry().top()};
}

int TPageEditDialog::Ask(const QString& text, const QString& caption, unsigned buttons) {
  return ShowMessageAt(text, caption, buttons, TMsgType::Plain, QuestionAt().x(), QuestionAt().y());
}

void TPageEditDialog::SetEntries(TEntries entries) {
  BtnListBox->Model().SetEntries(std::move(entries));
  Page.Count = BtnListBox->Count();
}

void TPageEditDialog::ShowAndSelect(int i) {
  PCtrl->setCurrentWidget(TabEdit);
  ShowDetails(i);
  BtnListBox->SelectOnly(i);
}

void TPageEditDialog::NewButtons(const QString& caption, bool atCurrent) {
  const int n0 = BtnListBox->Count();
  if (NewButtonRoom(n0, 1, MaxButtons) == 0) return;
  int n = 1;
  if (!InputNumber(QuestionAt().x(), QuestionAt().y(), 1, 1, n,
                   QStringLiteral("1～10個の間で指定 "), caption, 10))
    return;
  n = NewButtonRoom(n0, n, MaxButtons);
  if (n == 0) return;
  TEntries entries = BtnListBox->Model().Entries();
  const int c = std::max(BtnListBox->Current(), 0);
  int show = n0 + n - 1;
  if (atCurrent) {
    // Before the current entry; after the last one when it is the current entry.
    const int at = c >= n0 - 1 ? n0 : c;
    entries.insert(entries.begin() + at, static_cast<std::size_t>(n), NewButton());
    show = c;
  } else {
    entries.insert(entries.end(), static_cast<std::size_t>(n), NewButton());
  }
  SetEntries(std::move(entries));
  ShowAndSelect(show);
}

void TPageEditDialog::mnBtnAddClick() {
  NewButtons(QStringLiteral("ボタンの追加"), false);
}

void TPageEditDialog::mnBtnInsClick() {
  NewButtons(QStringLiteral("ボタンの挿入"), true);
}

void TPageEditDialog::mnBtnDelClick() {
  if (Page.Count <= MinButtons || BtnListBox->Count() == 0) return;
  if (Ask(QStringLiteral("選択したボタンを削除しますか？\r※削除すると登録情報が失われます。"),
          QStringLiteral("ボタン削除"), mbYes | mbNo) != mrYes)
    return;
  TEntries entries = BtnListBox->Model().Entries();
  const int d =
      DeleteSelected(entries, BtnListBox->SelectedFlags(), MinButtons, BtnListBox->Current());
  SetEntries(std::move(entries));
  ShowAndSelect(d);
}

void TPageEditDialog::mnBtnClsClick() {
  const int c = BtnListBox->Current();
  if (KindOfText(CurrentEntry()) == lkNone) return;
  std::string title;
  try {
    title = TitleOfText(BtnListBox->Model().Entry(c));
  } catch (const ELaunchError&) {
  }
  const std::vector<bool> selected = BtnListBox->SelectedFlags();
  const bool one = std::count(selected.begin(), selected.end(), true) == 1;
  const QString text =
      one ? QStringLiteral("[ ") + ShownText(title) + QStringLiteral(" ]の登録情報を消去しますか？")
          : QStringLiteral("選択したボタンの登録情報を消去しますか？");
  if (Ask(text, QStringLiteral("登録情報のクリア"), mbYes | mbNo) == mrYes) {
    TEntries entries = BtnListBox->Model().Entries();
    WriteToTargets(entries, selected, c, NewButton());
    SetEntries(std::move(entries));
    ShowDetails(c);
  }
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::mnCopyClick() {
  const int c = BtnListBox->Current();
  if (c < 0) return;
  BtnListBox->SelectOnly(c);
  ClipText = BtnListBox->Model().Entry(c);
  BtnBPaste->setEnabled(true);
}

void TPageEditDialog::mnPasteClick() {
  const int c = BtnListBox->Current();
  if (c < 0 || ClipText.empty()) return;
  TEntries entries = BtnListBox->Model().Entries();
  const std::vector<bool> selected = BtnListBox->SelectedFlags();
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (selected[i]) entries[i] = ClipText;
  SetEntries(std::move(entries));
  ShowDetails(c);
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::mnBtnLinkOpenClick() {
  const int c = BtnListBox->Current();
  if (!HasTargetFolder(KindOfText(CurrentEntry()))) return;
  BtnListBox->SelectOnly(c);
  const std::string folder = TargetFolder(*ItemOfEntry(BtnListBox->Model().Entry(c)));
  if (folder.empty() || !OpenFolder(folder))
    Ask(QStringLiteral("登録先が見つかりません。"), QStringLiteral("登録エラー"), mbOK);
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::mnBtnPropClick() {
  const std::string entry = CurrentEntry();
  if (LinkOfEntry(entry).empty()) return;
  BtnListBox->SelectOnly(BtnListBox->Current());
  const auto item = ItemOfEntry(entry);
  if (!ShowItemProperties(*item))
    Ask(QStringLiteral("\"") + TargetName(*item) +
            QStringLiteral("\" のプロパティを表示できません。"),
        QStringLiteral("登録エラー"), mbOK);
}

void TPageEditDialog::UpdateButtonMenu() {
  const int c = BtnListBox->Current();
  const std::string entry = CurrentEntry();
  const int k = KindOfText(entry);
  mnBtnLinkOpen->setEnabled(HasTargetFolder(k));
  mnBtnProp->setEnabled(!LinkOfEntry(entry).empty());
  mnPaste->setEnabled(!ClipText.empty());
  mnBtnCls->setEnabled(k != lkNone);
  mnBtnDel->setEnabled(Page.Count > MinButtons && c >= 0);
  mnBtnAdd->setEnabled(NewButtonRoom(BtnListBox->Count(), 1, MaxButtons) > 0);
  mnBtnIns->setEnabled(mnBtnAdd->isEnabled());
  BtnBPaste->setEnabled(mnPaste->isEnabled());
  BtnBCls->setEnabled(mnBtnCls->isEnabled());
  BtnBAdd->setEnabled(mnBtnAdd->isEnabled());
  BtnBIns->setEnabled(mnBtnIns->isEnabled());
  BtnBDel->setEnabled(mnBtnDel->isEnabled());
}

bool TPageEditDialog::RegisterPath(const QString& path, int c, bool onlyCurrent) {
  TLaunchDataItem item;
  if (!ClassifyPath(path.toStdString(), item)) {
    // Nothing is written; the user learns why nothing happened.
    Ask(QString::fromStdString(CannotRegisterMessage(path.toStdString())),
        QStringLiteral("登録エラー"), mbOK);
    return false;
  }
  TEntries entries = BtnListBox->Model().Entries();
  const std::string text = ItemToText(item);
  if (onlyCurrent) {
    entries[static_cast<std::size_t>(c)] = text;
  } else {
    WriteToTargets(entries, BtnListBox->SelectedFlags(), c, text);
  }
  SetEntries(std::move(entries));
  return true;
}

void TPageEditDialog::mnRegFileClick() {
  const int c = BtnListBox->Current();
  if (c < 0) return;
  const QString path =
      Dialogs().OpenFileName(this, QStringLiteral("選択したボタンに登録するファイルの選択"),
                             QString(), QStringLiteral("すべてのファイル|*.*"));
  if (!path.isEmpty() && RegisterPath(path, c, false)) ShowDetails(c);
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::mnRegFolderClick() {
  const int c = BtnListBox->Current();
  if (c < 0) return;
  TFolderBrowser browser;
  browser.Caption = QStringLiteral("選択したボタンに登録するファイルフォルダの選択");
  browser.RootFolder = TFolderBrowser::rfDesktop;
  browser.SelectFolder = TFolderBrowser::sfManual;
  browser.ShowStyle = TFolderBrowser::ssClient;
  browser.Owner = this;
  if (browser.Execute() && !browser.FolderPath.isEmpty() &&
      RegisterPath(browser.FolderPath, c, false))
    ShowDetails(c);
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::mnRegSpfolderClick() {
  const int c = BtnListBox->Current();
  if (c < 0) return;
  IconsLoaded = false;
  QStringList rows;
  for (int k = 0; k < LBoxSpfol->count(); ++k)
    rows << LBoxSpfol->item(k)->text();
  int k = 0;
  if (InputChoice(QuestionAt().x(), QuestionAt().y(), QStringLiteral("特殊フォルダ登録"), 0, k,
                  rows, QStringLiteral("選択したボタンに登録する特殊フォルダの選択")) &&
      k >= 0 && k < kRootFolderCount) {
    auto item = NewLaunchItem();
    item->Kind = lkSpecialFolder;
    item->Title = sjis::FromUtf8(rows[k].toStdString()).value_or(RootFolderName(k));
    item->Link = RootFolderName(k);
    TEntries entries = BtnListBox->Model().Entries();
    WriteToTargets(entries, BtnListBox->SelectedFlags(), c, ItemToText(*item));
    SetEntries(std::move(entries));
    ShowDetails(c);
  }
  CurrentIconBox->update();
  BtnListBox->SelectOnly(c);
}

void TPageEditDialog::FilesDropped(int t, const QStringList& paths) {
  if (t < 0 || t >= BtnListBox->Count()) return;
  BtnListBox->SelectOnly(t);
  QCoreApplication::processEvents();
  if (paths.isEmpty()) return;
  const auto item = ItemOfEntry(BtnListBox->Model().Entry(t));
  const QString path = paths.front();  // one button takes one file
  const QString shown = QString::fromStdString(GetLongPath(path.toStdString()));
  bool go = true;
  if (!item->Link.empty()) {
    const QString q = QStringLiteral("\"");
    go = Ask(q + ShownText(item->Title) + QStringLiteral(" \" を登録済みですが\r\r") + q + shown +
                 q + QStringLiteral(" を\r\r登録しますか？"),
             QStringLiteral("登録の確認"), mbYes | mbNo) == mrYes;
  }
  if (go) RegisterPath(path, t, true);
  ShowDetails(t);
  BtnListBox->SelectOnly(t);
}
