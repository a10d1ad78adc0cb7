// The system's one message box: its types, button sets, answers and texts. Free of
// QtWidgets, so that the commands asking through it stay toolkit-free.
#pragma once

#include <QString>

// The kind of a message: sets the sound, the icon and the window title.
enum class TMsgType { Warning, Error, Information, Confirmation, Plain };

// The buttons of a box, combined with |. A box asked with none of them has OK.
// mbMerge and mbDiff are the question about a data file another program changed.
enum TMsgButtons : unsigned {
  mbYes = 1,
  mbNo = 2,
  mbOK = 4,
  mbCancel = 8,
  mbMerge = 16,
  mbDiff = 32
};

// Modal results: the button a box was closed with.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrMerge = 20;
inline constexpr int mrDiff = 21;

// The application's title, "登録データー編集": the plain box's window title.
QString ApplicationTitle();

// The box's text: caption as a heading between "【 " and " 】", an empty line, then
// text. Line breaks written as CR or CR LF become LF.
QString MessageBoxText(const QString& text, const QString& caption);

// The window title for type: "警告", "エラー", "情報", "確認", or the application's title.
QString MessageBoxTitle(TMsgType type);

// The buttons a box shows for the requested set (OK alone when none is requested).
unsigned MessageBoxButtons(unsigned buttons);

// What Escape answers in a box of these buttons: Cancel when it has Cancel, else No
// when it has No, else OK when it has OK; mrNone when Escape does nothing.
int MessageEscapeResult(unsigned buttons);

// Shows the message box through Dialogs() with its top-left corner at (x, y) (a 0
// takes the mouse cursor's coordinate less 16) and returns the button pressed.
int ShowMessageAt(const QString& text, const QString& caption, unsigned buttons, TMsgType type,
                  int x, int y);
