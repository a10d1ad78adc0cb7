// The fields the page edit dialog shows for one button, and the button text they
// store back: what ShowDetails puts into the detail, icon and comment tabs and what
// StoreDetails ("登録情報更新") makes of them. CP932 texts; no widgets.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "DataItems.h"

struct TDetailFields {
  std::uint8_t Kind = lkNone;
  std::string Title;
  std::string Link;  // the shortcut's target for a shortcut, else Link
  std::string Params;
  std::string WorkDir;
  int ShowRow = 0;       // 0 通常のウィンドウ, 1 最小化, 2 最大化; -1 none chosen
  std::string UseCount;  // as typed
  std::string Comment;   // lines joined by CR LF, as the comment box holds them
  std::string IconPath;
  std::string IconIndex;   // as typed
  int SpecialFolder = -1;  // the special-folder list's row, for a special folder
};

// The button of an entry; a text that is not a button reads as a new button.
std::unique_ptr<TLaunchDataItem> ItemOfEntry(const std::string& entry);

// The fields of a button text (a text that is not a button shows as a new button).
// The icon file is the button's own, else the one its icon is shown from.
TDetailFields DetailsOfEntry(const std::string& entry);

// entry with the fields stored into it; Kind and every field not shown stay.
std::string StoreDetails(const std::string& entry, const TDetailFields& fields);

// The comment as the comment box shows it: one "\n" for each line break.
QString ShownComment(const std::string& comment);

// What a box stores back: the bytes it was filled from (shown) while it still shows
// them, so that a field the user did not change keeps bytes that do not convert back
// exactly; else its text in CP932 (shown again when the text has no CP932 form).
std::string EditedText(const std::string& shown, const QString& text);
// The same for the comment box, its line breaks stored as CR LF.
std::string EditedComment(const std::string& shown, const QString& text);

// The show command of a row of the window-state list, and the row of a show command.
std::int32_t ShowCmdOfRow(int row);
int RowOfShowCmd(std::int32_t showCmd);

// The special-folder list's row text: the display name of folder row (0 to 25),
// "UnTitled" when it has none, with " (All Users)" for rows 5 to 8.
QString SpecialFolderRowText(int row);
