// The button commands of the grid's pop-up menu, on the current button (Col, Row):
// add and insert new buttons, delete, clear, copy, paste, and open the folder of the
// target. Each checks its own limits, so that a shortcut pressed where the menu item
// would be disabled does nothing.
#pragma once

#include "GridEdit.h"

// Asks for 1 ... 10 and appends that many unregistered buttons to the current page,
// cut to the page limit. Nothing on a full page.
bool AddButtons(TGridEdit& edit);

// The same, but the new buttons go right after the current button.
bool InsertButtons(TGridEdit& edit);

// Asks, then deletes the current button; nothing when the page holds no more than the
// minimum. The current cell moves left when its column no longer holds a button.
bool DeleteButton(TGridEdit& edit);

// Asks, then makes the current button unregistered.
bool ClearButton(TGridEdit& edit);

// Copies the current button's text into the copy buffer.
bool CopyCurrentButton(TGridEdit& edit);

// Puts the copied button over the current one, without a question.
bool PasteCopiedButton(TGridEdit& edit);

// The folder the current button's target lies in (CP932, ending with its delimiter):
// for a shortcut its target, unless the shortcut is advertised; empty when the button
// has no path with a folder.
std::string TargetFolder(const std::string& buttonText);

// Opens the folder of the current button's target in the file manager;
// "登録先が見つかりません。" when it cannot be opened.
bool OpenTargetFolder(TGridEdit& edit, const std::function<bool(const std::string&)>& open);
