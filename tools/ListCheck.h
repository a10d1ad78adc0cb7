// The consistency check of `pellodata check`: what in a data file breaks its own
// rules or its status's limits.
#pragma once

#include <functional>
#include <string_view>

#include "DataRecords.h"

// Puts one UTF-8 line per finding, with its line end, in page and button order;
// false when all is well.
bool CheckRecords(const TDataRecords& records, const std::function<void(std::string_view)>& put);
