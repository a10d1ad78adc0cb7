// The subcommands of pellodata that need the desktop: how paths become buttons,
// which icons a file holds, and which targets of a data file are missing here.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "DataRecords.h"
#include "LaunchList.h"

// `pellodata classify PATH...`: one line per path (UTF-8), "PATH: recognised: " or
// "PATH: not recognised: " followed by the button text ClassifyPath made. 0 when
// every path was recognised, else 1.
int ClassifyCommand(const std::vector<std::string>& paths, std::ostream& out);

// `pellodata icons FILE`: "N icons", then one line per icon "I: WxH WxH ..." with
// the sizes it holds. FILE is a path, a theme icon name or a well-known library's
// name. 0 when FILE holds an icon, else 1 (with the reason on err).
int IconsCommand(const std::string& file, std::ostream& out, std::ostream& err);

// `pellodata check --targets FILE`: CheckButtonTargets of
// every button, one UTF-8 line per finding, "PAGE<TAB>BUTTON<TAB>TITLE<TAB>FIELD<TAB>
// PATH<TAB>WHY", PAGE the page's name and BUTTON its column from 1, as the editor
// lists them (a button owned by no page: PAGE "-", BUTTON its place in the file from
// 1; control characters in a text shown as \xNN). The missing ones come under the
// line "# リンク切れ", then those that cannot be checked under
// "# この環境では確認できません"; a heading only for a group with findings.
// 1 when something is missing, else 0. The missing ones go out as they are found; the
// others wait in a temporary file once they are many (std::runtime_error when it
// cannot be written).
int TargetsCommand(const TDataRecords& records, std::ostream& out);
// The same over a loaded list.
int TargetsCommand(const TLaunchList& list, std::ostream& out);
