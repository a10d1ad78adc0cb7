#include "GridUndo.h"

#include <set>

#include "GridRows.h"
#include "GridRules.h"

namespace {

// The icon lists of page rows first ... first + count - 1 inserted empty (rows below
// row 1 have none).
void InsertIconLists(TIconGridList& icons, int first, int count) {
  for (int r = first + count - 1; r >= first; --r)
    if (r >= 1 && r - 1 <= icons.Count()) icons.Insert(r - 1, std::make_unique<TIconList>());
}

void DeleteIconLists(TIconGridList& icons, int first, int count) {
  for (int r = first + count - 1; r >= first; --r)
    if (r >= 1 && r - 1 < icons.Count()) icons.Delete(r - 1);
}

void RebuildRows(TGridEdit& edit, int first, int count) {
  for (int r = std::max(first, 1); r < first + count && r < edit.Grid.RowCount(); ++r)
    RebuildPageIcons(edit, r, CountOfRow(edit.Grid, r));
}

}  // namespace

void FollowWithIcons(TGridEdit& edit, const TGridChange& change, bool undone) {
  using K = TGridChange::TKind;
  switch (change.Kind) {
    case K::Cells:
      RebuildRows(edit, change.Row, 1);
      break;
    case K::InsertRows:
      if (undone) {
        DeleteIconLists(edit.Icons, change.Row, change.Count);
      } else {
        InsertIconLists(edit.Icons, change.Row, change.Count);
      }
      break;
    case K::DeleteRows:
      if (undone) {
        InsertIconLists(edit.Icons, change.Row, change.Count);
        RebuildRows(edit, change.Row, change.Count);
      } else {
        DeleteIconLists(edit.Icons, change.Row, change.Count);
      }
      break;
    case K::MoveRow: {
      const int from = undone ? change.Count : change.Row;
      const int to = undone ? change.Row : change.Count;
      if (from >= 1 && to >= 1 && from <= edit.Icons.Count() && to <= edit.Icons.Count())
        edit.Icons.Move(from - 1, to - 1);
      break;
    }
    case K::Clear:
      edit.Icons.Clear();
      InsertIconLists(edit.Icons, 1, edit.Grid.RowCount() - 1);
      RebuildRows(edit, 1, edit.Grid.RowCount() - 1);
      break;
  }
}

TGridStep::TGridStep(TGridUndoHost& host, const QString& text, TGridJournal journal,
                     const TViewState& before, const TViewState& after)
    : QUndoCommand(text),
      host_(host),
      journal_(std::move(journal)),
      before_(before),
      after_(after) {
  // Kept for as long as the step: no spare room.
  journal_.Changes.shrink_to_fit();
  journal_.Texts.shrink_to_fit();
}

void TGridStep::undo() {
  TGridEdit edit = host_.UndoEdit();
  TakeChanges(edit, journal_.Changes.rbegin(), journal_.Changes.rend(), true);
  host_.ShowViewState(before_);
  done_ = false;
}

void TGridStep::redo() {
  if (done_) return;  // pushed after the change was made
  TGridEdit edit = host_.UndoEdit();
  TakeChanges(edit, journal_.Changes.begin(), journal_.Changes.end(), false);
  host_.ShowViewState(after_);
  done_ = true;
}

template <typename Iterator>
void TGridStep::TakeChanges(TGridEdit& edit, Iterator first, Iterator last, bool undone) {
  // A replace changes thousands of cells of one page: the page's icons are rebuilt once,
  // before a change that moves rows and at the end, not once per cell.
  std::set<int> changedRows;
  const auto rebuild = [&] {
    for (int r : changedRows)
      RebuildRows(edit, r, 1);
    changedRows.clear();
  };
  for (; first != last; ++first) {
    const TGridChange& change = *first;
    if (change.Kind == TGridChange::TKind::Cells) {
      undone ? edit.Grid.Undo(journal_, change) : edit.Grid.Redo(journal_, change);
      changedRows.insert(change.Row);
      continue;
    }
    rebuild();
    undone ? edit.Grid.Undo(journal_, change) : edit.Grid.Redo(journal_, change);
    FollowWithIcons(edit, change, undone);
  }
  rebuild();
}

void TGridStep::RewriteTexts(
    const std::function<std::optional<std::string>(std::string_view)>& rewrite) {
  const auto rewriteAll = [&rewrite](std::vector<TFieldText>& texts) {
    for (TFieldText& text : texts)
      if (std::optional<std::string> now = rewrite(text.view())) text = std::move(*now);
  };
  rewriteAll(journal_.Texts);
  for (std::vector<TFieldText>& row : journal_.Rows)
    rewriteAll(row);
}
