#include "CompareCommands.h"

#include "ShiftJis.h"

namespace {

std::string Shown(std::string_view text) {
  return sjis::ToUtf8ForDisplay(text);
}

}  // namespace

bool PutDifferences(const TLaunchList& a, const TLaunchList& b, bool stat,
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

void PutConflicts(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs,
                  const TMergeResult& merge, const std::function<void(std::string_view)>& put) {
  for (const TMergeConflict& c : merge.Conflicts) {
    put("競合: " + DescribeConflict(base, ours, theirs, c, Shown) + "\n");
  }
}

std::string MergeRefusal(const TLaunchList& list, const std::string& subject) {
  std::int64_t owned = 0;
  for (int p = 0; p < list.Pages.Count(); ++p)
    owned += std::max(list.Pages.Get(p).Count, 0);
  std::string why;
  if (const std::int64_t missing = list.MissingButtons(); missing > 0)
    why = subject + "のページは合わせて " + std::to_string(owned) +
          " 個のボタンを持つはずですが、ファイルにあるボタンは " + std::to_string(list.Count()) +
          " 個です。";
  else if (list.Count() > owned)
    why = subject + "には、どのページにも属さないボタンが " + std::to_string(list.Count() - owned) +
          " 個あります。";
  else if (!list.Complete)
    why = subject + "は途中で切れています (最後の \"**\" がありません)。";
  return why.empty() ? why : why + "マージすると内容が変わるため、マージしません。";
}
