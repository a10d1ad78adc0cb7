// The save of the data file and everything that keeps it from losing data: another
// program's change on disk is looked at first (the launcher's use counts are taken in,
// anything else is asked about), the old file is kept as a backup or the save asks,
// a file in a folder that cannot be written is offered a write in place, and any note
// the progress box cannot show whole comes in a message box. Questions go through the
// dialog seam.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "GridStore.h"
#include "LaunchList.h"
#include "OutsideChanges.h"
#include "Questions.h"

// What a save works on besides the grid.
struct TSaveSession {
  TSaveSession(TGridStore& grid, const QString& fileName, TFileBaseline& baseline)
      : Grid(grid), FileName(fileName), Baseline(baseline) {}

  TGridStore& Grid;
  QString FileName;
  TFileBaseline& Baseline;  // what the grid last matched on disk; kept up to date here
  QPoint DialogAt;
  // Asks the user, at DialogAt: the one way the save asks.
  int Ask(const QString& text, const QString& caption, unsigned buttons, TMsgType type) const {
    return AskAt(DialogAt, text, caption, buttons, type);
  }
  // Puts the file as read now into the grid in place of its data, as one step that
  // can be undone. None: a reload is not offered.
  std::function<void(const TLaunchList&)> Reload;
  // Shows how the file as read now differs from the grid. None: not offered.
  std::function<void(const TLaunchList&)> ShowDifferences;
  // Merges the file as read now into the grid, as one step that can be undone; false
  // when the user gave it up. None: a merge is not offered.
  std::function<bool(const std::shared_ptr<TLaunchList>&)> Merge;
  // Told after the launcher's use counts were taken into the grid: each cell text
  // replaced with the text it became.
  std::function<void(const TCountRewrites& rewrites)> CountsMerged;
  // Told right after the grid was written to the file, before the progress box waits
  // for its Ok: the grid as it is now is what the file holds.
  std::function<void()> Written;
  // Why no new file can be made beside the data file (an errno value, 0 when one can):
  // ReplaceBesideProblem, unless a test says otherwise.
  std::function<int(const std::string&)> ReplaceBeside;
};

enum class TSaveResult { Saved, NotSaved, Reloaded, Merged };

// What a look at the file found, acted on without a question: the baseline follows a
// file with the same data, and the launcher's use counts are taken into the grid.
// Returns whether nothing is left to ask (the file is unchanged, or changed in use
// counts only).
bool TakeInUnasked(TSaveSession& s, const TDiskCheck& check);
// The same against base, which follows the file in place of the session's baseline.
bool TakeInUnasked(TSaveSession& s, const TDiskCheck& check, TFileBaseline& base);

// Asks what to do about a file another program changed, removed or left unreadable:
// overwrite it (Saved means: go on and write), reload it or merge it (done here; the
// baseline then follows the file), or cancel. Showing the differences asks again.
TSaveResult AskAboutOutsideChange(TSaveSession& s, const TDiskCheck& check);

// Looks at the file on disk, takes in or asks about what changed there, then writes
// the grid in the text form with the progress box. Just before the new file replaces
// the old one the file is looked at again; when it moved meanwhile, the same is done
// again until it stood still. On failure the old file stays as it was and the reason
// is told.
TSaveResult SaveDataFile(TSaveSession& s);

// Writes the grid over the file as it is now, without a question about it: keeps a
// backup (or asks when none can be made), or offers a write in place when the folder
// cannot be written. A change made after this call began is looked at as a save does.
// Returns whether the file was written.
bool WriteDataFile(TSaveSession& s);

// The File menu's save: asks whether to overwrite the file, then SaveDataFile.
TSaveResult SaveWithQuestion(TSaveSession& s);

// The question at a close request with data to save: Yes saves (the window hides
// meanwhile and shows again when the save does not happen), No closes without saving,
// Cancel stays.
struct TCloseWindow {
  std::function<void()> hide;
  std::function<void()> show;
};
enum class TCloseAnswer { Close, Discard, Stay };
TCloseAnswer CloseQuery(TSaveSession& s, const TCloseWindow& window);
