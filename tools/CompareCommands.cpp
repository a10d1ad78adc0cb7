#include "CompareCommands.h"

#include "ShiftJis.h"

namespace {

std::string Shown(std::string_view text) {
  return sjis::ToUtf8ForDisplay(text);
}

}  // namespace

bool PutDifferences(const TComparedList& a, const TComparedList& b, bool stat,
                    const std::function<void(std::string_view)>& put) {
  const TListMatch match = MatchLists(a, b);
  const std::vector<TListDifference> differences = ListDifferences(a, b, match);
  if (differences.empty()) return false;
  if (stat) {
    for (const std::string& line : DifferenceStat(differences)) {
      put(line);
      put("\n");
    }
    return true;
  }
  for (const TListDifference& d : differences) {
    put(DescribeDifference(a, b, d, Shown));
    put("\n");
  }
  return true;
}

void PutConflicts(const TComparedList& base, const TComparedList& ours, const TComparedList& theirs,
                  const std::vector<TMergeConflict>& conflicts,
                  const std::function<void(std::string_view)>& put) {
  for (const TMergeConflict& c : conflicts)
    put("競合: " + DescribeConflict(base, ours, theirs, c, Shown) + "\n");
}

std::string MergeRefusal(std::int64_t missing, std::int64_t unowned, bool complete,
                         const std::string& subject) {
  std::string why;
  if (missing > 0)
    why = subject + "のページが持つはずのボタンのうち " + std::to_string(missing) +
          " 個がファイルにありません。";
  else if (unowned > 0)
    why = subject + "には、どのページにも属さないボタンが " + std::to_string(unowned) +
          " 個あります。";
  else if (!complete)
    why = subject + "は途中で切れています (最後の \"**\" がありません)。";
  return why.empty() ? why : why + "マージすると内容が変わるため、マージしません。";
}

std::string MergeRefusal(const TLaunchList& list, const std::string& subject) {
  std::int64_t owned = 0;
  for (int p = 0; p < list.Pages.Count(); ++p)
    owned += std::max(list.Pages.Get(p).Count, 0);
  return MergeRefusal(list.MissingButtons(), std::max<std::int64_t>(list.Count() - owned, 0),
                      list.Complete, subject);
}
