// The consistency check of `pellodata check`: what in a loaded launch list breaks
// its own rules or its status's limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LaunchList.h"

// One UTF-8 line per finding, in page and button order; empty when all is well.
std::vector<std::string> CheckLaunchList(const TLaunchList& list);

// Which buttons of a page the list holds: b from begin to end (end excluded), for
// a page of count buttons whose first has the flat index first. The others are
// missing: a count can overrun the list. (A load reads a negative count as 0; a
// list built by hand may still start a page before the list's first button.)
struct THeldButtons {
  std::int32_t begin = 0;
  std::int32_t end = 0;
};
THeldButtons HeldButtons(std::int64_t first, std::int32_t count, int total);
