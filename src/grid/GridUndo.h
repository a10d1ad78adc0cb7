// Undo and redo of the grid: every command's changes, as the store journalled them,
// become one step that takes them back or makes them again, with the page icons, the
// current cell and the name column's wanted width as they were around it.
#pragma once

#include <QUndoCommand>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "GridEdit.h"

// What the window shows besides the grid's texts.
struct TViewState {
  int Col = 1;
  int Row = 1;
  int NameColWidth = 80;
  bool operator==(const TViewState&) const = default;
};

// The window as a step needs it: the grid with its icons, and its view state.
class TGridUndoHost {
 public:
  virtual ~TGridUndoHost() = default;
  virtual TGridEdit UndoEdit() = 0;
  virtual void ShowViewState(const TViewState& state) = 0;
};

class TGridStep : public QUndoCommand {
 public:
  // A step of changes already made (the first redo, on push, does nothing).
  TGridStep(TGridUndoHost& host, const QString& text, TGridJournal journal,
            const TViewState& before, const TViewState& after);

  void undo() override;
  void redo() override;
  // Replaces every kept cell text for which rewrite gives a new text.
  void RewriteTexts(const std::function<std::optional<std::string>(std::string_view)>& rewrite);

 private:
  // Takes back (undone) or makes again the changes first ... last, with the icons.
  template <typename Iterator>
  void TakeChanges(TGridEdit& edit, Iterator first, Iterator last, bool undone);

  TGridUndoHost& host_;
  TGridJournal journal_;
  TViewState before_;
  TViewState after_;
  bool done_ = true;
};

// Brings the icon lists in line with a change just taken back (undone) or made again:
// the lists of inserted, deleted and moved rows follow them, and every row whose cells
// changed gets its icons rebuilt.
void FollowWithIcons(TGridEdit& edit, const TGridChange& change, bool undone);
