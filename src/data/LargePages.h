// A hint to the system about memory that is filled at once and kept: back it with
// large pages where the system offers them.
#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MB pages within memory (size bytes the caller
// owns) with large pages, which fault in once each instead of 512 times. Nothing
// happens where the system has no such pages.
void PreferLargePages(void* memory, std::size_t size);
