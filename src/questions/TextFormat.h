// Number formatting for labels and sort keys, and record texts as they are shown.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// The decimal text of number (minus sign included), filled on the left to width
// characters with '0' when zeros is true, with blanks otherwise. A text already
// width long or longer comes back unchanged: PadNumber(-5, 5, true) is "000-5".
std::string PadNumber(std::int32_t number, int width, bool zeros);

// A CP932 record text as it is shown on screen and in fields: each byte CP932 does
// not define stands as a private-use character that no font draws as text.
QString ShownText(const std::string& cp932);

// The CP932 bytes of a text shown by ShownText and edited: every stand-in back to its
// byte; nothing when the text holds a character CP932 lacks.
std::optional<std::string> StoredText(const QString& shown);

// What a screen reader says for a button: its CP932 title and its use count, as
// "title (使用回数 n)", the same in the grid and in the page edit dialog's list.
QString SpokenButtonText(const std::string& cp932Title, std::int32_t useCount);
