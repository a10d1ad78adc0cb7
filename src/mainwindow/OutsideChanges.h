// Changes another program made to the data file while the editor had it open. The
// launcher rewrites the file whenever it counts a use; those counts are taken into the
// grid without a question, anything else must never be overwritten unasked. What the
// file held when it was loaded or saved last is kept as a fingerprint: small beside
// the grid, and enough to tell a change of use counts from any other.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FileIO.h"
#include "GridStore.h"
#include "LaunchList.h"

// The data of a data file as far as changes to it matter: the status and page texts,
// and for each button (in file order) a hash of everything but its use count, and
// the use count apart.
struct TDataFingerprint {
  std::string StatusText;
  std::vector<std::string> PageTexts;
  std::vector<std::uint64_t> ButtonKeys;
  std::vector<std::int32_t> UseCounts;
  bool operator==(const TDataFingerprint&) const = default;
};

// The key of a button: the same for two buttons that differ at most in their use count.
std::uint64_t ButtonKey(const TLaunchDataItem& item);

TDataFingerprint FingerprintOf(const TLaunchList& list);

// What the data file was when the grid last matched it: its stamp and its data.
struct TFileBaseline {
  TFileStamp Stamp;
  TDataFingerprint Data;
};

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
  std::shared_ptr<TLaunchList> List;  // the file as read now, when it had to be read
  QString Problem;                    // Unreadable: why (Japanese)
};

// Looks at the data file at path against base. A file whose stamp is base's is not
// read (nor a file still missing, as it was); any other is read whole and compared
// by its data.
TDiskCheck CheckDataFile(const TFileBaseline& base, const QString& path);

// Takes the launcher's use counts into the grid: for every button whose count went
// from base to theirs (which differ in use counts only), the grid's button with the same
// key (the n-th of that key in the grid for the n-th in the file) gets the new count
// when it still has base's; a button the user changed keeps what the user made of it.
// Cells are written without a journal: the counts are the launcher's, not an edit.
// rewrites, when given, receives each text replaced with the text it became, so that
// the same texts kept for undo can follow. Returns how many cells changed.
using TTextRewrites = std::unordered_map<std::string, std::string>;
int MergeUseCounts(TGridStore& grid, const TDataFingerprint& base, const TDataFingerprint& theirs,
                   TTextRewrites* rewrites = nullptr);
