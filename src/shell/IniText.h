// Helpers for the name=value text of .url and .desktop files.
#pragma once

#include <string_view>

// s without the blanks and tabs at its ends.
std::string_view TrimBlanks(std::string_view s);
