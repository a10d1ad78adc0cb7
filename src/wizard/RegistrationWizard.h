// The registration wizard: a modal window of three pages that collects files and hands
// one grid row back to the main window, which merges it (MergeWizardRow). The wizard
// never sees the main window's grid.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class TWizardFileList;

// Runs the registration wizard modally with its top-left at (x, y) (moved into the
// work area): the caller passes its own frame's left + 16 and top.
//   minButtons, maxButtons, maxPages: the limits of the data file's status. With
//     maxPages reached (maxPages > 0 and pageNames.size() >= maxPages) only "add to an
//     existing page" can be chosen. maxButtons cuts the files kept (a new page: up to
//     maxButtons; an existing page: up to maxButtons less its buttons), and the user is
//     told how many were left out.
//   pageNames: the captions (CP932) of the grid's pages in page order; pageCounts:
//     their button counts, in the same order (WizardPages of WizardMerge.h gives both).
//   totalButtonCount: the buttons of all pages; received and not used.
// Returns true when the user finished with at least one file registered. Then:
//   rowCells (empty on entry) holds the row to merge: the page text, then the button
//     texts (CP932 record texts), for a new page padded to minButtons;
//   isNewPage is true for a new page, false to append to an existing page;
//   targetPageIndex is the index into pageNames of the page chosen on the last page
//     (0 when the user chose none): the new page goes before it, or the files go onto it.
// Returns false, with the three out-arguments untouched, when the user left the wizard
// on any page, finished with an empty list, or when no file could be registered (the
// user is told so). Nothing of the caller's is changed on false.
// The caller hides its window before and shows it again after, in every case, and on
// true passes the results to MergeWizardRow.
bool ExecuteWizard(int x, int y, std::int32_t minButtons, bool& isNewPage, int& targetPageIndex,
                   std::vector<std::string>& rowCells, const std::vector<std::string>& pageNames,
                   int totalButtonCount, std::int32_t maxButtons, std::int32_t maxPages,
                   const std::vector<int>& pageCounts);

class TRegistrationWizard : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPageCount = 3;

  explicit TRegistrationWizard(QWidget* parent = nullptr);
  ~TRegistrationWizard() override;

  // ExecuteWizard's settings, before the window is shown.
  void Setup(int x, int y, std::int32_t minButtons, std::int32_t maxButtons, std::int32_t maxPages,
             const std::vector<std::string>& pageNames, const std::vector<int>& pageCounts);
  // The completion after Finish: builds RowCells and IsNewPage from the list. False
  // (RowCells untouched) when the list is empty or nothing could be registered; tells
  // the user when files could not be registered or did not fit.
  bool Complete();

  // The page shown: 0, 1 or 2.
  int ActivePage() const;
  // The chosen TWizardMethod.
  int Method() const;
  TWizardFileList& FileList() { return *FileListBox; }
  // The text the hint panel shows.
  QString HintText() const;

  std::vector<std::string> RowCells;
  bool IsNewPage = true;
  int TargetPageIndex = 0;
  std::int32_t MinButtons = 1;
  std::int32_t MaxButtons = 0;

  // Controls, named as the wizard's handlers know them.
  QStackedWidget* PageStack = nullptr;
  QWidget* MethodPage = nullptr;
  QWidget* FilesPage = nullptr;
  QWidget* FinishPage = nullptr;
  QGroupBox* SelectPageType = nullptr;
  QButtonGroup* SelectPageTypeGroup = nullptr;
  QGroupBox* FolderOp = nullptr;
  QComboBox* CBoxFolder = nullptr;
  TWizardFileList* FileListBox = nullptr;
  QLabel* LbListCount = nullptr;
  QComboBox* CBoxExt = nullptr;
  QToolButton* BtnCheck = nullptr;
  QToolButton* BtnFolder = nullptr;
  QToolButton* BtnSort = nullptr;
  QToolButton* BtnDownSort = nullptr;
  QToolButton* BtnUp = nullptr;
  QToolButton* BtnDn = nullptr;
  QToolButton* BtnDel = nullptr;
  QToolButton* BtnAllCls = nullptr;
  QLabel* LbNewPage = nullptr;
  QComboBox* CboxPage = nullptr;
  QLabel* LBPage = nullptr;
  QListWidget* PageBox = nullptr;
  QFrame* HintPanel = nullptr;
  QLabel* LBHint = nullptr;
  QLabel* LBCount = nullptr;
  QPushButton* btnPrev = nullptr;
  QPushButton* btnNext = nullptr;

  // Handlers.
  void btnNextClick();
  void btnPrevClick();
  void SelectPageTypeClick();
  void PageBoxClick();
  void BtnFolderClick();
  void BtnSortClick(bool descending);
  void BtnUpClick(bool toBottom);
  void BtnDelClick();
  void BtnAllClsClick();
  void BtnCheckClick();
  // Files dropped from the file manager onto the window, in drop order.
  void AddDroppedFiles(const QStringList& paths);
  // The contents of a folder confirmed in the folder browse dialog.
  void AddFolderContents(const QString& folderPath, const QString& displayName);
  // Says which paths of a drop or a folder were left out because no button holds them.
  void TellRefused(const std::vector<std::string>& refused);
  void UpdateFileCount();

 protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void BuildMethodPage();
  void BuildFilesPage();
  void BuildFinishPage();
  void BuildBottom();
  void ConnectHandlers();
  void FormShow();
  // Makes page i the active one, with the hide and show handlers of the pages.
  void ShowPage(int i);
  void MethodPageShow();
  void FilesPageShow();
  void FilesPageHide();
  void FinishPageShow();
  void ShowStepCount();
  // With the folder method: the folder dialog inside the chosen special folder.
  void BrowseChoiceFolder();
  // The hint of w, or of the nearest enclosing widget that has one.
  QString HintOf(const QWidget* w) const;
  void ShowHintOf(const QWidget* w);
  // Where questions appear: the wizard's left + 16 and top.
  QPoint QuestionAt() const;
  void MoveSelectedFiles(bool toBottom);
  void AddPageNameProposals(const std::vector<QString>& names);
  // Whether a new page may be made: the data file's page limit is not reached.
  bool NewPagesAllowed() const;

  int X = 0;
  int Y = 0;
  std::int32_t MaxPages = 0;
  int Pages = 0;
  std::vector<int> PageCounts;
};

// The hint property every control of the wizard carries; the window's hint handler
// shows its long part.
inline constexpr const char* kHintProperty = "pelloHint";

// The long part of a hint: the text after its first "|", or all of it without one;
// "\r" is a line break.
QString LongHint(const QString& hint);

// Gives w its hint (short and long part separated by "|").
void SetHint(QWidget* w, const QString& hint);
