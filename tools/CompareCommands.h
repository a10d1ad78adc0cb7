// pellodata's diff and merge: what the lists say, put as lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "LaunchList.h"
#include "ListDiff.h"

// Puts a line of each difference between a and b, or with stat how many of each
// kind; returns whether there was any.
bool PutDifferences(const TLaunchList& a, const TLaunchList& b, bool stat,
                    const std::function<void(std::string_view)>& put);

// Puts a line of each conflict of merge.
void PutConflicts(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs,
                  const TMergeResult& merge, const std::function<void(std::string_view)>& put);

// Why list cannot be merged without losing or changing what it holds (subject, a
// file's name or "標準入力", starts the sentence); empty when it can.
std::string MergeRefusal(const TLaunchList& list, const std::string& subject);
