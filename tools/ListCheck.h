// The consistency check of `pellodata check`: what in a loaded launch list breaks
// its own rules or its status's limits.
#pragma once

#include <string>
#include <vector>

#include "LaunchList.h"

// One UTF-8 line per finding, in page and button order; empty when all is well.
std::vector<std::string> CheckLaunchList(const TLaunchList& list);
