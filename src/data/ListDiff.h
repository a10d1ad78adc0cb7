// What changed between two launch lists, in the terms a user thinks in: pages and
// buttons. Pages are matched by name, then by the buttons they share, then by
// position; buttons within and across matched pages by what they are (every field
// but the use count), then by target and title, then by target alone, then by
// position. What is left over was added or removed; a matched page or button out of
// the order of the others was moved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ComparedLists.h"
#include "LaunchList.h"
#include "TextFormSource.h"

// The fields of a button, as bits of a mask.
enum TButtonField : std::uint16_t {
  bfKind = 1 << 0,
  bfUseCount = 1 << 1,
  bfTitle = 1 << 2,
  bfLink = 1 << 3,
  bfAltLink = 1 << 4,
  bfParams = 1 << 5,
  bfWorkDir = 1 << 6,
  bfIconFile = 1 << 7,
  bfShowCmd = 1 << 8,
  bfIconIndex = 1 << 9,
  bfComment = 1 << 10,
};
using TFieldMask = std::uint16_t;
inline constexpr TButtonField kButtonFields[] = {bfKind,    bfUseCount,  bfTitle,   bfLink,
                                                 bfAltLink, bfParams,    bfWorkDir, bfIconFile,
                                                 bfShowCmd, bfIconIndex, bfComment};
inline constexpr TFieldMask kAllFields = 0x7ff;

// The fields in which a and b differ.
TFieldMask FieldsDiffering(const TLaunchDataItem& a, const TLaunchDataItem& b);
// Copies the fields of mask from one button to another.
void CopyFields(TLaunchDataItem& to, const TLaunchDataItem& from, TFieldMask mask);
// The field's name as the editor shows it (UTF-8): "リンク先", "使用回数", ...
std::string_view FieldName(TButtonField field);
// The field's value: the CP932 text of a text field, a number in decimal.
std::string FieldValue(const TLaunchDataItem& item, TButtonField field);

// How list b stands to list a. Buttons are numbered flat, in page order, as the
// lists hold them.
struct TListMatch {
  std::vector<int> PageTo;                // page of a -> its page in b, -1: removed
  std::vector<int> PageFrom;              // page of b -> its page in a, -1: added
  std::vector<std::uint8_t> PageMoved;    // page of b: out of the order of the others
  std::vector<int> ButtonTo;              // button of a -> its button in b, -1: removed
  std::vector<int> ButtonFrom;            // button of b -> its button in a, -1: added
  std::vector<std::uint8_t> ButtonMoved;  // button of b: in another page, or out of order
  std::vector<TFieldMask> Fields;         // button of b: the fields that differ from a's
  bool StatusChanged = false;
};

// Where each page's buttons start in a list's flat numbering: page p owns
// [Start[p], Start[p + 1]). Buttons beyond what the pages own belong to none and are
// compared as the last page's; pages that own more than the list holds own what is
// there.
std::vector<int> PageStarts(const TLaunchList& list);
std::vector<int> PageStarts(const TComparedList& list);

TListMatch MatchLists(const TLaunchList& a, const TLaunchList& b);
TListMatch MatchLists(const TComparedList& a, const TComparedList& b);

// One difference, as a line of the list the user reads.
struct TListDifference {
  enum class TKind : std::uint8_t {
    Status,         // the status section
    PageAdded,      // PageB
    PageRemoved,    // PageA
    PageRenamed,    // PageA -> PageB: its name, or its extra value
    PageMoved,      // PageA -> PageB
    ButtonAdded,    // PageB, ButtonB
    ButtonRemoved,  // PageA, ButtonA
    ButtonMoved,    // PageA, ButtonA -> PageB, ButtonB
    ButtonChanged,  // PageB, ButtonB; Fields (the use count is told apart)
    UseCount,       // PageB, ButtonB: the use count alone
  };
  TKind Kind = TKind::Status;
  int PageA = -1, ButtonA = -1;  // in a: the page, and the button within it
  int PageB = -1, ButtonB = -1;  // in b
  TFieldMask Fields = 0;
  int ItemA = -1, ItemB = -1;  // the button's flat number in a, in b
  int Buttons = 0;             // PageAdded, PageRemoved: how many buttons the page has
};

// Every difference, in the order of b (what a removed comes where it stood).
std::vector<TListDifference> ListDifferences(const TLaunchList& a, const TLaunchList& b,
                                             const TListMatch& match);
std::vector<TListDifference> ListDifferences(const TComparedList& a, const TComparedList& b,
                                             const TListMatch& match);

// Converts a CP932 text of a list to UTF-8 to be shown.
using TShownText = std::function<std::string(std::string_view)>;

// The difference as one line (UTF-8), e.g.
// "ページ 2 「ツール」: ボタン 3 「端末」 リンク先 /usr/bin/xterm → /usr/bin/foot".
std::string DescribeDifference(const TLaunchList& a, const TLaunchList& b, const TListDifference& d,
                               const TShownText& shown);
std::string DescribeDifference(const TComparedList& a, const TComparedList& b,
                               const TListDifference& d, const TShownText& shown);

// "リンク先 /a → /b、パラメータ (なし) → -e": each field of mask, old and new (UTF-8).
std::string FieldChanges(const TLaunchDataItem& was, const TLaunchDataItem& now, TFieldMask mask,
                         const TShownText& shown);

// How many differences of each kind: the lines of diff --stat.
std::vector<std::string> DifferenceStat(const std::vector<TListDifference>& differences);

// b rebuilt from a, match and only what match says changed (a check of the match:
// for any a and b, it gives b).
TLaunchList ApplyMatch(const TLaunchList& a, const TLaunchList& b, const TListMatch& match);

// What a three-way merge could not decide: both sides changed one thing differently,
// or one side changed what the other removed. The merge keeps ours.
struct TMergeConflict {
  enum class TKind : std::uint8_t {
    Status,                 // both changed the status
    PageName,               // both renamed the page (or changed its extra value)
    PageRemovedByOurs,      // ours removed a page theirs changed
    PageRemovedByTheirs,    // theirs removed a page ours changed
    ButtonFields,           // both changed Fields of the button differently
    ButtonRemovedByOurs,    // ours removed a button theirs changed
    ButtonRemovedByTheirs,  // theirs removed a button ours changed
    ButtonMoved,            // both moved the button, to different places
  };
  TKind Kind = TKind::Status;
  int Base = -1;  // the page or button of base (its flat number) the conflict is about
  int PageOurs = -1, ButtonOurs = -1;      // where ours has it (-1: ours removed it)
  int PageTheirs = -1, ButtonTheirs = -1;  // where theirs has it
  int ItemOurs = -1, ItemTheirs = -1;      // a button's flat number in ours, in theirs
  TFieldMask Fields = 0;
  // The conflict's key, for choosing theirs: the same in a merge made again of the
  // same lists.
  std::uint64_t Key() const;
};

struct TMergeResult {
  TLaunchList Merged;
  std::vector<TMergeConflict> Conflicts;
};

// Merges what ours and theirs each changed since base. A change on one side is taken;
// the same change on both, once; use counts add up (what each side counted since
// base); a conflict keeps ours, unless its Key is in takeTheirs.
TMergeResult MergeLists(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs,
                        const std::vector<std::uint64_t>& takeTheirs = {});

// The same merge as where each button of its result comes from: a button one side
// changed and the other did not is taken as that side holds it (and written as its
// file has it), one both changed is made anew.
struct TMergePlan {
  enum class TFrom : std::uint8_t { Ours, Theirs, Made };
  struct TButton {
    TFrom From;
    int Index;  // the button's flat number in ours or theirs, or its place in Made
  };
  TDataStatus Status;
  std::vector<TPageItem> Pages;  // each owns the next Count of Buttons
  std::vector<TButton> Buttons;
  std::vector<TLaunchDataItem> Made;
  std::vector<TMergeConflict> Conflicts;
};
TMergePlan PlanMerge(const TComparedList& base, const TComparedList& ours,
                     const TComparedList& theirs,
                     const std::vector<std::uint64_t>& takeTheirs = {});

// A planned merge as the text form's writer reads it.
class TMergedSource final : public TTextFormSource {
 public:
  TMergedSource(const TMergePlan& plan, const TComparedList& ours, const TComparedList& theirs);
  const TDataStatus& Status() override { return plan_.Status; }
  int PageCount() override { return static_cast<int>(plan_.Pages.size()); }
  const TPageItem& Page(int p) override { return plan_.Pages[p]; }
  const TLaunchDataItem& Button(int p, int b, std::string_view& written) override;

 private:
  const TMergePlan& plan_;
  const TComparedList &ours_, &theirs_;
  std::vector<int> pageFirst_;  // each page's first button in plan_.Buttons
  const TLaunchDataItem none_;  // what is returned with a written text
};

// The conflict as one line (UTF-8), in the words of DescribeDifference.
std::string DescribeConflict(const TLaunchList& base, const TLaunchList& ours,
                             const TLaunchList& theirs, const TMergeConflict& c,
                             const TShownText& shown);
std::string DescribeConflict(const TComparedList& base, const TComparedList& ours,
                             const TComparedList& theirs, const TMergeConflict& c,
                             const TShownText& shown);
