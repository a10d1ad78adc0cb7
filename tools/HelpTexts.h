// What pellodata prints about itself: its usage lines, its help and each command's
// own help.
#pragma once

#include <string_view>

// The usage lines alone, shown with a wrong command line.
const char* UsageText();

// `pellodata --help`: the usage lines, a line for each command, what "-" means and
// the exit status.
const char* HelpText();

// `pellodata help COMMAND`: its synopsis, what it does and its exit status; nullptr
// for a command pellodata does not have.
const char* CommandHelp(std::string_view command);
