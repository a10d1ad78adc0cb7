// The main window: the whole data file as one grid of pages and buttons, its title
// line and help line, the main menu and the grid's pop-up menu.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QUndoStack>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "DragImage.h"
#include "FindReplace.h"
#include "GridEdit.h"
#include "GridModel.h"
#include "GridStore.h"
#include "GridUndo.h"
#include "IconCaches.h"
#include "LaunchList.h"
#include "MergeBase.h"
#include "OutsideChanges.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QTimer;
class TFileChangedBar;
class TFindBar;
class TGridView;
class TRecoveryGuard;
struct TRecoveryCopy;
struct TSaveSession;

class TMainWindow : public QMainWindow, public TGridUndoHost {
  Q_OBJECT

 public:
  explicit TMainWindow(QWidget* parent = nullptr);
  ~TMainWindow() override;

  // Window creation with the program's arguments: checks the command line, loads the
  // data file, fills the grid (with the progress box) and restores the window size.
  // False when the command line is refused; the window must then not be shown.
  bool FormCreate(const QStringList& arguments);

  // What the rest of the program works on.
  TGridStore& Store() { return store_; }
  TGridView& Grid() { return *Grid_; }
  TIconGridList& IconGrid() { return IconGrid_; }
  QMenu& PopupMenu() { return *GridMenu; }
  // The pop-up menu's copy of a command (which the menu shows or hides); a separator is
  // its own copy.
  QAction* PopupCopy(QAction* command) const;

  // The window's state beside the grid.
  bool SaveOnClose = false;
  QString DataFileName;
  QString SaveFileName;
  std::string LoadedStatusText;
  std::string CopyBuffer;
  std::string CellHint;
  std::string PopupCellText;
  int NameColWidth = 80;

  // Grid handlers, in grid coordinates (column c, row r).
  void GridDrawCell(QPainter& painter, int c, int r, QRect rect, bool selected, bool focused);
  bool GridSelectCell(int c, int r) const;
  void GridMouseMove(int c, int r);
  void GridDblClick(int c, int r);
  // Whether the pop-up menu opens for a right click at (c, r).
  bool GridContextPopup(int c, int r);
  void UpdateGridMenu(int pointerCol);
  // Makes page row r current, at ColumnOnPage: what a page name or the first empty cell
  // after a page's buttons acts on.
  void MakeCurrentPage(int r);
  // The hint for cell (c, r) under the pointer: its text and the cell whose area it
  // belongs to (the current cell for buttons); false for no hint.
  bool GridHintAt(int c, int r, QString& text, int& areaCol, int& areaRow);
  void UpdateTitle();
  void ToggleNameColumn();

  // The commands, as the menu items and their shortcuts run them.
  void mnPageNewClick();
  void mnPageDelClick();
  void mnPageRenameClick();
  void mnPageMoveClick(QAction* item);  // both moves: the item's data is the step
  void mnBtnAddClick();
  void mnBtnInsClick();
  void mnBtnDelClick();
  void mnBtnClsClick();
  void mnBtnLinkOpenClick();
  void mnCopyClick();
  void mnPasteClick();
  // Edits the current page in the page edit dialog (the edit item, a double-click).
  void EditCurrentPage();
  void mnSaveClick();
  // Another data file in place of this one: the file chooser, then OpenDataFile.
  void mnOpenClick();
  // Asks about unsaved edits, then loads path into the grid with a new undo history;
  // the watch, the recovery copy, the backups and the window size follow the new file.
  // false when the user cancelled or the file cannot be read (told, the grid kept).
  bool OpenDataFile(const QString& path);
  // Saves the grid under a name chosen in the file chooser, which becomes the data file.
  void mnSaveAsClick();
  // Writes the grid to path, which becomes the data file; true when written.
  bool SaveDataFileAs(const QString& path);
  void mnExitClick();
  // At a close request: whether the window may close. Asks and saves with "/FAS",
  // and with "/F" when the grid holds edits not saved.
  bool FormCloseQuery();
  void mnPropClick();
  void mnAboutClick();
  void mnExpClick();
  void mnInpClick();
  // The registration wizard, merged into the grid as one step.
  void mnWizClick();
  // Find and replace.
  void mnFindClick();
  void mnFindNextClick();
  void mnFindPrevClick();
  void FindTextChanged(const QString& text);
  void mnReplaceClick();
  // The broken-target check and the restore from a backup.
  void mnCheckTargetsClick();
  void mnRestoreClick();
  TFindBar& FindBar() { return *FindBar_; }
  const TGridFinder& Finder() const { return Finder_; }
  // Whether the current cell is drawn highlighted: while the grid has the keyboard, and
  // while the find bar is open, so that the button found shows.
  bool CurrentCellShown() const;
  // Whether the button at (c, r) is marked as found: while the find bar is open.
  bool IsFindHit(int c, int r);
  // Copies the launch list into the grid and the icon grid, with the progress box.
  void FillGrid(const TLaunchList& list);

  // Drags inside the grid, and files dropped on it from the file manager. The view
  // starts a drag when GridStartDrag agrees, asks GridDragOver at every move, calls
  // GridDragDrop on a drop and GridEndDrag after every drag.
  bool GridStartDrag(int c, int r);
  bool GridDragOver(int c, int r);
  void GridDragDrop(int c, int r);
  void GridEndDrag();
  void GridFilesDropped(int c, int r, const QStringList& paths);
  bool PageDragging = false;
  int PageDragRow = -1;
  int DropMarkRow = -1;
  QRect DropMarkRect;
  bool ButtonDragOk = false;
  TButtonDrag DragObject;

  // The menus' items, named as the window's commands know them. The pop-up menu's
  // commands carry their shortcuts and are never hidden; the menu shows and hides
  // copies of them (PopupCopy), which follow their enabled state.
  QAction* mnOpen = nullptr;
  QMenu* RecentMenu = nullptr;
  QAction* mnSave = nullptr;
  QAction* mnSaveAs = nullptr;
  QAction* mnInp = nullptr;
  QAction* mnExp = nullptr;
  QAction* mnProp = nullptr;
  QAction* mnExit = nullptr;
  QAction* mnUndo = nullptr;
  QAction* mnRedo = nullptr;
  QAction* mnWiz = nullptr;
  QAction* mnFind = nullptr;
  QAction* mnFindNext = nullptr;
  QAction* mnFindPrev = nullptr;
  QAction* mnReplace = nullptr;
  QAction* mnCheckTargets = nullptr;
  QAction* mnRestore = nullptr;
  QAction* mnAbout = nullptr;
  QAction* mnBtnEdit = nullptr;
  QAction* mnPageNew = nullptr;
  QAction* mnPageDel = nullptr;
  QAction* mnPageRename = nullptr;
  QAction* mnPageUp = nullptr;
  QAction* mnPageDown = nullptr;
  QAction* mnBtnLinkOpen = nullptr;
  QAction* mnCopy = nullptr;
  QAction* mnPaste = nullptr;
  QAction* mnBtnCls = nullptr;
  QAction* mnBtnAdd = nullptr;
  QAction* mnBtnIns = nullptr;
  QAction* mnBtnDel = nullptr;

  QLabel& TitleLabel() { return *LbTitle; }

  // The edits that can be taken back: one step per change of the grid.
  QUndoStack& UndoStack() { return Undo_; }
  // Runs work, which changes the grid through the store, and records what it changed
  // as one step named text (none when it changed nothing).
  void RecordStep(const QString& text, const std::function<void()>& work);
  // The window title: the data file's name, with "*" while the grid differs from what
  // was loaded or saved last.
  void UpdateWindowTitle();

  // TGridUndoHost.
  TGridEdit UndoEdit() override;
  void ShowViewState(const TViewState& state) override;
  QLabel& HelpLabel() { return *Lbmsg; }

  // A look at the data file shared with the launcher: its use counts are taken in at
  // once, any other change is told in the notice bar (postponed while a dialog or a
  // command runs).
  void CheckDataFileNow();
  TFileChangedBar& ChangedBar() { return *ChangedBar_; }
  // The recovery copy of unsaved edits.
  TRecoveryGuard& Recovery() { return *Recovery_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildMenus();
  void ConnectCommands();
  void ConnectUndo();
  // Tells of buttons of the loaded list that the grid cannot hold: a save drops them.
  // Tells what of list the grid cannot keep as it is; returns whether anything was told
  // (the grid then differs from the file).
  bool WarnOfDamage(const TLaunchList& list, const QString& otherFile = {});
  // Where questions appear: the window's left + 16 and top.
  QPoint DialogAt() const;
  // Whether the window is in the middle of something: a modal dialog, the progress
  // box, a command changing the grid.
  bool Busy() const;
  // The save as the window runs it: the grid, the file, the baseline, and a reload
  // that is one step.
  TSaveSession SaveSession();
  // After a save or a reload: the grid matches the file.
  void MarkSaved();
  // Replaces the grid by list (the data file as on disk now) as one step.
  void ReloadFromDisk(const TLaunchList& list);
  // Merges theirs (the data file as on disk now) into the grid as one step, asking first
  // about any conflict; the grid is then unsaved, unless it holds just the file. false
  // when the user gave it up.
  bool MergeFromDisk(const std::shared_ptr<TLaunchList>& theirs);
  // Lists how theirs (the data file as on disk now) differs from the grid.
  void ShowDifferencesFromDisk(const TLaunchList& theirs);
  // Replaces the grid's data by list as one step named text, keeping the file saved to;
  // returns whether list was damaged (told, and the grid differs from it).
  bool ReplaceGridData(const QString& text, const TLaunchList& list);
  // Connects the watch of the data file and the recovery copy; once.
  void SetUpDataSafety();
  // Puts a loaded data file into the grid as its start (the undo history is empty): its
  // baseline with stamp (taken before it was read), the watch, the title, the recent
  // files.
  void ShowDataFile(std::unique_ptr<TLaunchList> list, const TFileStamp& stamp);
  // The progress box, shown while a data file is read, before the fill goes on in it.
  void ShowLoadingBox();
  // Ends the watch of the data file (another one takes its place).
  void StopWatching();
  // The recent files as items of the File menu's submenu.
  void FillRecentMenu();
  void WatchDataFile();
  void DataFileTouched();
  void ShowOutsideChange(const TDiskCheck& check);
  void OverwriteChangedFile();
  // Tells of a write into the data file that was cut off, then offers each recovery
  // copy left behind by an editor that ended unasked.
  void OfferRecoveryCopy();
  // Asks whether to take copy; true when it was taken.
  bool OfferRecoveryCopy(const TRecoveryCopy& copy);
  // The data file's folder, where the file choosers start.
  QString DataFolder() const;
  // What a command works on, from the window's state.
  TGridEdit Edit();
  // Runs a grid command as one step named text, then takes back the current cell and the
  // name column's width.
  void RunEdit(const QString& text, bool (*command)(TGridEdit&));
  TViewState ViewState() const;
  void BuildLayout();
  void FormShow();
  // Centres the window on the screen, inside the work area.
  void PlaceOnScreen();
  // The initialisation file that remembers the window size.
  QString IniFile() const;
  // Gives the window the remembered outer size, once its frame is known.
  void ApplyOuterSize();
  QAction* PopupItem(const QString& caption, const QKeySequence& shortcut);
  QAction* PopupSeparator();
  // The pop-up menu's copies, separators included, of the page commands and of the
  // button commands: the menu shows one group or the other. BuildMenus fills the group
  // PopupGroup_ points at.
  std::vector<QAction*> PageItems_;
  std::vector<QAction*> ButtonItems_;
  std::vector<QAction*>* PopupGroup_ = nullptr;
  QList<QAction*> FileSwitchItems_;
  QIcon IconAt(int c, int r);
  int TextWidth(const std::string& cp932) const;

  TGridStore store_;
  TGridModel model_;
  TIconGridList IconGrid_;
  std::unique_ptr<TLaunchList> LaunchList;

  QWidget* Toolbar = nullptr;
  QLabel* LbTitle = nullptr;
  TGridView* Grid_ = nullptr;
  QWidget* msgPanel = nullptr;
  QLabel* Lbmsg = nullptr;
  QMenu* GridMenu = nullptr;
  std::map<const QAction*, QAction*> PopupCopies_;
  std::optional<QSize> PendingOuterSize_;
  QUndoStack Undo_;
  TFindBar* FindBar_ = nullptr;
  TFileChangedBar* ChangedBar_ = nullptr;
  TGridFinder Finder_;
  TFileBaseline Baseline_;
  TMergeBase MergeBase_;  // the grid as Baseline_'s file: what a merge starts from
  QFileSystemWatcher* Watcher_ = nullptr;
  QTimer* DiskCheckTimer_ = nullptr;
  QElapsedTimer TouchedSince_;  // the first touch of the file not looked at yet
  int UnreadableChecks_ = 0;    // looks in a row that found the file unreadable
  int WrittenAt_ = -1;          // the undo index the file was written at, until MarkSaved
  bool CopyProblemTold_ = false;
  // Tells once, in the notice bar, that no recovery copy can be written, and why.
  void TellCopyProblem(const QString& problem);
  std::unique_ptr<TRecoveryGuard> Recovery_;
  bool InStep_ = false;
  // Moves the current cell to the next (or previous) button that holds the find text.
  void GoToHit(bool fromCurrent, bool backward = false);
  void FindAgain(bool backward);
};
