// pellodata's diff and merge: what the lists say, put as lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "LaunchList.h"
#include "ListDiff.h"

// Puts a line of each difference between a and b, or with stat how many of each
// kind; returns whether there was any.
bool PutDifferences(const TComparedList& a, const TComparedList& b, bool stat,
                    const std::function<void(std::string_view)>& put);

// Puts a line of each conflict of a merge.
void PutConflicts(const TComparedList& base, const TComparedList& ours, const TComparedList& theirs,
                  const std::vector<TMergeConflict>& conflicts,
                  const std::function<void(std::string_view)>& put);

// Why a file cannot be merged without changing what it holds (subject, a file's name
// or "標準入力", starts the sentence): its pages own missing buttons, or it holds
// buttons no page owns, or it is cut short; empty when it can.
std::string MergeRefusal(std::int64_t missing, std::int64_t unowned, bool complete,
                         const std::string& subject);
std::string MergeRefusal(const TLaunchList& list, const std::string& subject);
