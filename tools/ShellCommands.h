// The subcommands of pellodata that need the desktop: how paths become buttons,
// and which icons a file holds.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// `pellodata classify PATH...`: one line per path (UTF-8), "PATH: recognised: " or
// "PATH: not recognised: " followed by the button text ClassifyPath made. 0 when
// every path was recognised, else 1.
int ClassifyCommand(const std::vector<std::string>& paths, std::ostream& out);

// `pellodata icons FILE`: "N icons", then one line per icon "I: WxH WxH ..." with
// the sizes it holds. FILE is a path, a theme icon name or a well-known library's
// name. 0 when FILE holds an icon, else 1 (with the reason on err).
int IconsCommand(const std::string& file, std::ostream& out, std::ostream& err);
