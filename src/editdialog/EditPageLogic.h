// What the page edit dialog decides from texts alone: the commit of the page name,
// the count label, the orders of the button list (by title, by use count, either
// way), moving the selected entries as one block, and where a dragged block lands.
// Entries are button record texts (CP932); nothing here knows a widget.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

using TEntries = std::vector<std::string>;

// The page name after the dialog's OK: edited when it is not empty and differs from
// the old name in more than letter case (the locale's upper-casing); else the old.
std::string CommittedCaption(const std::string& oldCaption, const QString& edited);

// "登録数： 00012 - 00100", or "... - 無制限" when maxButtons is 0.
QString CountLabelText(int entries, std::int32_t maxButtons);

// The list comparison: whole texts, letter case ignored, by the user's locale's
// collation. Negative, 0 or positive.
int CompareListText(const QString& a, const QString& b);

// Sorts texts ascending with the list comparison, or descending: the ascending order
// taken from its last element to its first.
void SortTexts(std::vector<QString>& texts, bool descending);

// The entries ordered by title; ties keep their order ascending and are reversed
// descending (each key ends in the entry's position).
TEntries SortByTitle(const TEntries& entries, bool descending);

// The entries ordered by use count, equal counts by the whole entry text.
TEntries SortByUseCount(const TEntries& entries, bool descending);

// Moves the entries whose selected flag is set (in their order) as one block so that
// the first of them lands at target of the resulting list; the others keep their
// order. target is clamped to the places the block can take.
TEntries MoveSelection(const TEntries& entries, const std::vector<bool>& selected, int target);

// Where a dragged block of k entries lands when dropped on entry t of n (-1: on no
// entry, which means the last): t, moved back so that the block ends at the list's end.
int DropTarget(int n, int k, int t);

// How many new buttons fit when n are asked for on a page of entries buttons: n cut to
// the page limit (0: none) and to the grid's button columns; 0 on a full page.
int NewButtonRoom(int entries, int n, std::int32_t maxButtons);

// Deletes the selected entries from the last to the first while the page keeps more
// than minButtons. Returns the entry to make current: the index of the topmost entry
// removed (the last entry when that is past the end), or current when none was.
int DeleteSelected(TEntries& entries, const std::vector<bool>& selected, std::int32_t minButtons,
                   int current);

// Writes text into the current entry when exactly one entry is selected, else into
// every selected entry (the current entry alone when none is selected is not written).
void WriteToTargets(TEntries& entries, const std::vector<bool>& selected, int current,
                    const std::string& text);
