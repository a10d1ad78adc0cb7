// Number formatting for labels and sort keys.
#pragma once

#include <cstdint>
#include <string>

// The decimal text of number (minus sign included), filled on the left to width
// characters with '0' when zeros is true, with blanks otherwise. A text already
// width long or longer comes back unchanged: PadNumber(-5, 5, true) is "000-5".
std::string PadNumber(std::int32_t number, int width, bool zeros);
