// The page edit dialog: one page of the main window's grid on a working copy, its
// name and its buttons, one button at a time in detail. Nothing reaches the grid
// until OK.
#pragma once

#include <QDialog>
#include <QIcon>
#include <string>
#include <vector>

#include "ButtonDetails.h"
#include "DataItems.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TButtonListBox;
class TEllipsisEdit;

// Opens the dialog at (left, top) on row (element 0 the page text, then at least
// Count button texts) and makes button startIndex current. On OK row's elements 0 ...
// Count are rewritten (the page text, then the buttons in their new order) and true
// comes back; later elements stay. On Cancel row is unchanged.
bool EditPage(int left, int top, std::int32_t minButtons, std::vector<std::string>& row,
              int startIndex, std::int32_t maxButtons);

class TPageEditDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TPageEditDialog(QWidget* parent = nullptr);
  ~TPageEditDialog() override;

  // The caller's settings, then the row's page and buttons into the working copy.
  void Setup(int left, int top, std::int32_t minButtons, std::int32_t maxButtons, int startIndex);
  void LoadPage(const std::vector<std::string>& row);
  // The page text and the buttons as OK hands them back.
  std::vector<std::string> CommitPage();

  // Entry i shown in every tab; the command states and the count label refreshed.
  void ShowDetails(int i);
  // The fields stored into entry i.
  void StoreDetails(int i);
  void UpdateCountLabel();

  TButtonListBox& ButtonList() { return *BtnListBox; }
  TPageItem Page;
  std::int32_t MinButtons = 1;
  std::int32_t MaxButtons = 0;
  int StartIndex = 0;
  std::string ClipText;
  bool IconsLoaded = false;

  // Controls, named as the dialog's commands know them.
  QLineEdit* EdPage = nullptr;
  QLabel* LbCount = nullptr;
  TButtonListBox* BtnListBox = nullptr;
  QTabWidget* PCtrl = nullptr;
  QWidget* TabEdit = nullptr;
  QWidget* TabIcon = nullptr;
  QWidget* TabCmt = nullptr;
  QLabel* LbUnregistered = nullptr;
  QWidget* CurrentIconBox = nullptr;
  QLineEdit* EdTitle = nullptr;
  QLineEdit* EdLink = nullptr;
  QLineEdit* EdParam = nullptr;
  TEllipsisEdit* EdWork = nullptr;
  QComboBox* ComboBoxShow = nullptr;
  QLineEdit* EdNo = nullptr;
  QToolButton* BtnResetCount = nullptr;
  QListWidget* LBoxSpfol = nullptr;
  QPlainTextEdit* Memo = nullptr;
  TEllipsisEdit* EdPath = nullptr;
  QLineEdit* EdIndex = nullptr;
  QRadioButton* RadioSortTitle = nullptr;
  QRadioButton* RadioSortUseCount = nullptr;
  QToolButton* BtnUpsort = nullptr;
  QToolButton* BtnDownSort = nullptr;
  QToolButton* BtnUp = nullptr;
  QToolButton* BtnDown = nullptr;
  QToolButton* BtnBAdd = nullptr;
  QToolButton* BtnBIns = nullptr;
  QToolButton* BtnBDel = nullptr;
  QToolButton* BtnBCls = nullptr;
  QToolButton* BtnBCopy = nullptr;
  QToolButton* BtnBPaste = nullptr;
  QToolButton* BtnRegFile = nullptr;
  QToolButton* BtnRegFolder = nullptr;
  QToolButton* BtnRegSpf = nullptr;
  QToolButton* BtnRenew = nullptr;
  QPushButton* BtnOk = nullptr;
  QPushButton* BtnCancel = nullptr;
  QMenu* ButtonMenu = nullptr;
  QAction* mnRegFile = nullptr;
  QAction* mnRegFolder = nullptr;
  QAction* mnRegSpfolder = nullptr;
  QAction* mnBtnProp = nullptr;
  QAction* mnBtnLinkOpen = nullptr;
  QAction* mnCopy = nullptr;
  QAction* mnPaste = nullptr;
  QAction* mnAll = nullptr;
  QAction* mnBtnCls = nullptr;
  QAction* mnBtnAdd = nullptr;
  QAction* mnBtnIns = nullptr;
  QAction* mnBtnDel = nullptr;

  // Handlers.
  void BtnUpsortClick(bool descending);
  void BtnUpClick(bool toBottom);
  void mnAllClick();
  void BtnRenewClick();
  void BtnResetCountClick();
  void EdWorkEllipsisClick();
  void LBoxSpfolClick(int row);
  void BtnOkClick();
  void mnBtnAddClick();
  void mnBtnInsClick();
  void mnBtnDelClick();
  void mnBtnClsClick();
  void mnCopyClick();
  void mnPasteClick();
  void mnBtnLinkOpenClick();
  void mnBtnPropClick();
  void UpdateButtonMenu();
  void mnRegFileClick();
  void mnRegFolderClick();
  void mnRegSpfolderClick();
  // Files dropped from the file manager onto entry t (-1: onto no entry).
  void FilesDropped(int t, const QStringList& paths);
  // The icon tab.
  void TabIconShow();
  void TabIconHide();
  void EdPathEllipsisClick();
  void IconListBoxClick();
  void EdIndexChange();
  void LoadIconList(const QString& file);
  void ClearIconList();
  QListWidget* IconListBox = nullptr;
  QWidget* ChosenIconBox = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  // Return in a box of the tabs stores the details there ("登録情報更新") and keeps
  // the dialog open; elsewhere it is OK.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildLayout();
  void BuildToolbar(QWidget* panel);
  void BuildDetailTab();
  void BuildIconTab();
  void BuildCommentTab();
  void BuildPopupMenu();
  void ConnectHandlers();
  // A text box that refuses what Shift-JIS cannot hold and shows its text as its hint.
  void WatchEdit(QLineEdit* edit);
  void Changed();  // a detail field changed: "登録情報更新" is enabled
  void FormShow();
  void ShowCurrent();
  void ShowCurrentOnDetailTab();
  void SetCommandStates();
  // The text of a box as CP932 (the boxes hold only what CP932 can hold).
  static std::string Cp932(const QString& text);
  TDetailFields FieldsOfControls() const;
  // The fields as ShowDetails filled the boxes: a box still showing its field stores
  // the field's own bytes.
  TDetailFields Shown;
  // The user chose a window state: it is stored even when it is the row shown, which
  // also stands for a state the list does not have (that one stays untouched).
  bool ShowRowChosen = false;
  // The current entry's text, empty when there is none.
  std::string CurrentEntry();
  // Where questions appear: the dialog's left + 16 and top.
  QPoint QuestionAt() const;
  int Ask(const QString& text, const QString& caption, unsigned buttons);
  // Replaces the entries; the page's count follows them.
  void SetEntries(std::vector<std::string> entries);
  // The detail tab shows entry i, which is the only one selected.
  void ShowAndSelect(int i);
  void NewButtons(const QString& caption, bool atCurrent);
  // Registers path into entry c alone, or into the targets of the selection; tells a
  // path that cannot be registered. Returns whether it was registered.
  bool RegisterPath(const QString& path, int c, bool onlyCurrent);
  // Fills the icon grid's icons a screenful at a time, so that a file of hundreds of
  // icons does not hold the dialog up.
  void LoadMoreIcons();
  // The icon of the grid's selected item, or none.
  QIcon SelectedGridIcon() const;
  int IconsToLoad = 0;
  std::string IconFileLoading;
  QWidget* TabShown = nullptr;

  QIcon CurrentIcon;
  std::vector<QWidget*> LinkWidgets;  // link, parameters, working folder and their labels
  int Left = 0;
  int Top = 0;
  bool showing_ = false;  // ShowDetails is filling the fields: no edit
};
