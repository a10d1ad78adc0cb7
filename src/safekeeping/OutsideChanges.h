// Changes another program made to the data file while the editor had it open. The
// launcher rewrites the file whenever it counts a use; those counts are taken into the
// grid without a question, anything else must never be overwritten unasked. What the
// file held when it was loaded or saved last is kept as a fingerprint: small beside
// the grid, and enough to tell a change of use counts from any other.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ButtonKey.h"
#include "FileIO.h"
#include "GridStore.h"
#include "LaunchList.h"
#include "TextFormSource.h"

// The data of a data file as far as changes to it matter: the status and page texts,
// and for each button (in file order) a hash of everything but its use count, and
// the use count apart.
struct TDataFingerprint {
  std::string StatusText;
  std::vector<std::string> PageTexts;
  std::vector<std::uint64_t> ButtonKeys;
  std::vector<std::int32_t> UseCounts;
  std::vector<std::int32_t> PageCounts;  // where each button stands: page p owns the next
  // Damage that a writer still writing also leaves: the pages own more buttons than
  // the file holds, or the text form lacks its last "**".
  std::int64_t MissingButtons = 0;
  bool Complete = true;
  bool operator==(const TDataFingerprint&) const = default;
};

TDataFingerprint FingerprintOf(const TLaunchList& list);
// The same of what a writer reads (a whole file's worth: nothing missing).
TDataFingerprint FingerprintOf(TTextFormSource& source);

// What the data file was when the grid last matched it: its stamp and its data.
struct TFileBaseline {
  TFileStamp Stamp;
  TDataFingerprint Data;
  // When the stamp was taken (ns of the real-time clock; 0: not known). A file's time
  // moves only with the system's tick, so a stamp taken within a tick of the file's
  // time cannot tell a later write of the same size in that tick: its bytes are read.
  std::int64_t StampTakenNs = 0;
  bool IsLink = false;  // the name was a symbolic link
};

// Whether path itself is a symbolic link (a save writes where it leads).
bool IsSymbolicLink(const QString& path);

// Now on the real-time clock, in ns, as file times count.
std::int64_t RealTimeNs();

enum class TDiskChange {
  Unchanged,      // the same file, or one with the very same data
  UseCountsOnly,  // the same status, pages and buttons but for some use counts
  Changed,        // any other change
  Unreadable,     // there is a file, but not one the editor reads (perhaps half written)
  Gone,           // no file any more
};

struct TDiskCheck {
  TDiskChange Change = TDiskChange::Unchanged;
  TFileStamp Stamp;                   // of the file as looked at now
  std::int64_t StampTakenNs = 0;      // when
  bool IsLink = false;                // the name is a symbolic link now
  std::shared_ptr<TLaunchList> List;  // the file as read now, when it had to be read
  QString Problem;                    // Unreadable: why (Japanese)
};

// Looks at the data file at path against base. A file whose stamp is base's is not
// read (nor a file still missing, as it was) unless the stamp cannot be trusted to
// tell (a small file, or one stamped within a tick of its last write); any other is
// read whole and compared by its data. A file that moved while it was read, or is
// cut short where base was whole (a writer still writing, or one killed while it
// wrote), is Unreadable: never a file to reload or to take counts from.
TDiskCheck CheckDataFile(const TFileBaseline& base, const QString& path);

// Looks as CheckDataFile does, but a file found Unreadable is looked at again a few
// times, a short pause apart: a writer may be in the middle of writing it.
TDiskCheck CheckDataFileSettled(const TFileBaseline& base, const QString& path);

// What the texts kept for undo must become after the launcher's counts came in.
using TTextRewrites = std::unordered_map<std::string, std::string>;
struct TCountRewrites {
  // A cell text replaced in the grid, and the text it became.
  TTextRewrites Texts;
  // Buttons of the file that the grid no longer holds as they were (deleted, or changed
  // by the user), by key: each count the file had and the launcher's count. A kept
  // text of such a button that still has the file's count takes the launcher's, so
  // that undo brings the button back with its uses.
  std::unordered_map<std::uint64_t, std::vector<std::pair<std::int32_t, std::int32_t>>> Keys;
  bool empty() const { return Texts.empty() && Keys.empty(); }
  // The text text must become, or nullopt when it stays.
  std::optional<std::string> Rewrite(std::string_view text) const;
};

// Takes the launcher's use counts into the grid: for every button whose count went
// from base to theirs (which differ in use counts only), the grid's button with the same
// key (the n-th of that key in the grid for the n-th in the file) gets the new count
// when it still has base's; a button whose count the user changed keeps the user's.
// A button the user changed otherwise (its key is new) and that stands where the file
// had it gets the launcher's increase added. Cells are written without a journal: the
// counts are the launcher's, not an edit. rewrites, when given, receives what the texts
// kept for undo must become. Returns how many cells changed.
int MergeUseCounts(TGridStore& grid, const TDataFingerprint& base, const TDataFingerprint& theirs,
                   TCountRewrites* rewrites = nullptr);
