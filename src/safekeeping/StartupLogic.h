// Start-up without a window: the command line, the load of the data file, the
// copy of a launch list into the grid store, the window's remembered size and its
// placement.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "GridStore.h"
#include "LaunchList.h"

// The switch of argument 1: "/F" (false) or "/FAS" (true), upper-cased first; any
// other text is refused (nullopt).
std::optional<bool> SaveOnCloseOfSwitch(const QString& argument);

// Loads the file named by path (UTF-8) into list as LoadDataFile does: first every
// page of the list is deleted, then FileName is set and LoadFromFile runs. Returns
// the list's Loaded flag; false also for an empty path, a missing file or any error
// the load raises. statusText receives the status text as loaded.
bool LoadDataFile(const QString& path, TLaunchList& list, std::string& statusText);

// What the command line asks for: the data file, and whether it is saved at the close.
struct TStartRequest {
  bool saveOnClose = false;
  QString dataFileName;
};
// Arguments as the program received them (argument 0 is the program): a switch
// (SaveOnCloseOfSwitch) and the file's path, any arguments after them ignored; or the
// path alone, as a file manager passes it, which opens as "/F" does; or nothing, as a
// menu starts it (an empty dataFileName: the file is still to be found). nullopt for
// any other command line: an empty path, a path followed by more, a switch alone, or
// a lone argument starting with "-" (an option this program does not have).
std::optional<TStartRequest> ParseCommandLine(const QStringList& arguments);

// The result of the command-line check: whether it was accepted, and what it said.
struct TCommandLine {
  bool accepted = false;
  bool saveOnClose = false;
  QString dataFileName;
};
// Loads the data file into list when ParseCommandLine takes arguments.
TCommandLine CheckCommandLine(const QStringList& arguments, TLaunchList& list,
                              std::string& statusText);

// The message for a data file named on the command line that cannot be opened: its
// path, then why (read again to find out).
QString CannotOpenMessage(const QString& path);

// The progress box's message while a data file is read and its grid filled (CP932).
const std::string& LoadingMessage();

// What FillGrid needs from the window: one icon per button, the progress box, and
// the width of a page name in the grid's font.
struct TFillSink {
  std::function<void(int pages)> resetIcons;  // one empty icon list per page
  std::function<void(int page, const TLaunchDataItem& item)> addIcon;
  std::function<void(int max, const std::string& text)> showProgress;
  std::function<void(int position, std::string_view text)> stepProgress;
  std::function<void(const std::string& text)> finishProgress;
  std::function<int(const std::string& caption)> textWidth;
};

// Copies list into grid (status, pages, buttons), calling sink for the icons and the
// progress. Returns the wanted width of the name column: 80, or the widest page
// name + 8.
int FillGrid(const TLaunchList& list, TGridStore& grid, const TFillSink& sink);

// The buttons of list that the grid cannot show, and that a save would therefore drop:
// those no page owns (the pages' counts fall short of the buttons) and those of a
// page beyond the grid's last column.
std::int64_t HiddenButtonCount(const TLaunchList& list);

// What is wrong with list that the grid shows but cannot keep as it is: buttons it
// cannot show (HiddenButtonCount), and buttons the pages own that the file does not
// hold (shown empty, and saved as unregistered ones). Empty when nothing is. It names
// the file the list came from when that is not the data file (an import).
QString DamageWarning(const TLaunchList& list, const QString& otherFile = {});

// The initialisation file beside the data file: the program file's name with its
// extension changed to ".ini" ("pelledit" gives "pelledit.ini"), in saveFileName's folder.
QString WindowSizeFile(const QString& saveFileName, const QString& programFile);
// The remembered outer window size (with its frame), 490 x 436 when the file or its values are
// missing or unusable.
QSize LoadWindowSize(const QString& iniFile);
// Writes the outer window size; a folder that cannot be written is not reported.
void SaveWindowSize(const QString& iniFile, const QSize& size);

// The top-left corner of a window of size centred on screen, then moved into workArea.
QPoint PlaceWindow(const QSize& size, const QRect& screen, const QRect& workArea);
