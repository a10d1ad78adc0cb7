// The folder browse dialog. TFolderBrowser is the plain object callers use: set which
// tree it shows and which folder it selects at first, Execute(), then read the
// confirmed folder. It asks through Dialogs(), so that callers are tested without a
// window; TFolderBrowseDialog is the window a real run shows: the caption, a tree of
// folders filled as it is opened, a status line, OK and キャンセル.
#pragma once

#include <QDialog>
#include <QFlags>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

// One place of the dialog's tree: a folder, or a special folder with no place on this
// system (a virtual item).
struct TBrowseItem {
  QString Path;            // no trailing "/" but for the root "/"; empty for a virtual item
  QString DisplayName;     // as a file manager shows it: the file name, "/" for the root
  int SpecialFolder = -1;  // a virtual item's special folder (the data model's TRootFolder)
};

// The item of a folder path; path is taken as it is.
TBrowseItem FolderItem(const QString& path);

// The virtual item of a special folder (the data model's TRootFolder ordinal).
TBrowseItem VirtualFolderItem(int specialFolder);

class TFolderBrowser {
 public:
  // The root of the tree and the folder selected at first: a special folder, or the
  // folder named in RootFolderName / SelectFolderName (manual). These are this class's
  // own values, not the data model's special folders of the same names.
  enum TRootFolder {
    rfDesktop,
    rfManual,
    rfDrives,
    rfDesktopDir,
    rfFavorites,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates,
  };
  enum TSelectFolder {
    sfDesktop,
    sfManual,
    sfDrives,
    sfDesktopDir,
    sfFavorites,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
  };
  // Where the window goes: where the window system puts it, centred on the screen's work
  // area (a third from its top), or with its top-left at the owner window's client origin.
  enum TShowStyle { ssNone, ssCenterScreen, ssClient };
  // sboReturnOnlyFSDirs: a virtual item cannot be confirmed (unless OnSelectionChanged
  // enables OK). sboStatusText shows the status line; sboStatusTextAndShowPath shows it
  // with the selected path in it. sboDontGoBelowDomain and sboReturnFSAncestors change
  // nothing here: there are no network domains, and every folder is a file-system one.
  enum TSHBrowseOption {
    sboDontGoBelowDomain = 0x1,
    sboReturnFSAncestors = 0x2,
    sboReturnOnlyFSDirs = 0x4,
    sboStatusTextAndShowPath = 0x8,
    sboStatusText = 0x10,
  };
  Q_DECLARE_FLAGS(TSHBrowseOptions, TSHBrowseOption)
  // What OnSelectionChanged makes of the OK button: the dialog's own rule, on or off.
  enum TOKButtonState { obsDefault, obsEnabled, obsDisabled };
  // Called at every selection, the first one included, with the selected folder's path
  // (empty for a virtual item); may set the status text and the OK state.
  using TSHBrowseEvent =
      std::function<void(const QString& path, QString& showText, TOKButtonState& okState)>;

  // What the dialog shows after a selection.
  struct TSelectionState {
    QString Status;
    bool OkEnabled = true;
  };

  TSelectFolder SelectFolder = sfDrives;
  QString SelectFolderName;
  QString Caption;  // the text above the tree
  TSHBrowseOptions Options = sboReturnOnlyFSDirs;
  TSHBrowseEvent OnSelectionChanged;
  TRootFolder RootFolder = rfDesktop;
  QString RootFolderName;
  TShowStyle ShowStyle = ssClient;
  QWidget* Owner = nullptr;  // the window the dialog belongs to and is placed on

  // The confirmed folder's path (empty for a virtual item) and display name; both are
  // emptied by every Execute and stay empty unless it returns true.
  QString FolderPath;
  QString DisplayName;

  // Asks through Dialogs(); true when the user confirmed a folder.
  bool Execute();

  // The tree's root: RootFolder's place, RootFolderName when rfManual names an existing
  // folder by an absolute path; the desktop when the choice has no usable folder.
  TBrowseItem RootItem() const;
  // The folder selected at first, resolved the same way from SelectFolder.
  TBrowseItem InitialItem() const;
  // The tree's top level: the root; when the root is the desktop, also "/" and the
  // virtual special folders the choices can name.
  std::vector<TBrowseItem> TopLevelItems() const;
  // Whether the dialog has a status line.
  bool StatusShown() const;
  // Runs OnSelectionChanged for the selection of item and gives the status and OK state.
  TSelectionState SelectionChanged(const TBrowseItem& item) const;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderBrowser::TSHBrowseOptions)

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFolderBrowseDialog : public QDialog {
  Q_OBJECT

 public:
  // Item data roles of the tree, for finding items by path.
  static constexpr int kPathRole = Qt::UserRole;
  static constexpr int kSpecialFolderRole = Qt::UserRole + 1;

  explicit TFolderBrowseDialog(const TFolderBrowser& browser, QWidget* parent = nullptr);

  // The selected item: what OK confirms.
  TBrowseItem Selected() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const TBrowseItem& item);
  // Lists item's subfolders under it the first time it opens.
  void Populate(QTreeWidgetItem* item);
  void SelectInitial(const TBrowseItem& initial);
  void TreeSelectionChange(QTreeWidgetItem* current);
  void Place();

  const TFolderBrowser& browser_;
  QString initialPath_;
  QLabel* LbCaption;
  QTreeWidget* Tree;
  QLabel* LbStatus;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};
