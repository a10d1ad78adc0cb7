// Record texts: the one-line forms of a button (11 fields), a page (3 fields) and
// a status (6 fields), their writers and readers, and the single-field readers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "DataItems.h"

class TRecordFields;

std::string ItemToText(const TLaunchDataItem& item);
// The same text, borrowing the bytes of held where held holds that very text next to
// the item's title (as the file a button was read from holds its line); otherwise
// a text of its own. scratch is room the writer may reuse from call to call.
TFieldText ItemTextIn(const TLaunchDataItem& item, std::string_view held, std::string& scratch);
// The bytes of held that are the item's text, found as ItemTextIn finds them; empty
// when held does not hold it there.
std::string_view WrittenTextIn(const TLaunchDataItem& item, std::string_view held);
std::string PageToText(const TPageItem& page);
std::string StatusToText(const TDataStatus& status);

// Append forms of the writers, for building whole files without temporaries.
void AppendItemText(std::string& out, const TLaunchDataItem& item);
// The most bytes the item's text can take, and the writer of that text at out,
// which must have room for that many; returns where the text ends.
std::size_t ItemTextBound(const TLaunchDataItem& item);
char* WriteItemText(char* out, const TLaunchDataItem& item);
void AppendPageText(std::string& out, const TPageItem& page);
void AppendStatusText(std::string& out, const TDataStatus& status);

// A button read from its text; NewLaunchItem() when the text has fewer than 11
// fields. Raises EConvertError when field 0 is not an integer.
std::unique_ptr<TLaunchDataItem> TextToItem(std::string_view text);
// A page read from its text; "untitled", 0, 0 when the text has fewer than 3 fields.
std::unique_ptr<TPageItem> TextToPage(std::string_view text);
// A status read from its text; "unknown" x3, 0, 0, 10 when it has fewer than 6 fields.
std::unique_ptr<TDataStatus> TextToStatus(std::string_view text);

// The readers above over fields already split, filling a record in place. A
// button's text that lies within held as it stands borrows those bytes instead of
// copying them: held must then outlive the button.
void FieldsToItem(const TRecordFields& fields, TLaunchDataItem& item, std::string_view held = {});
void FieldsToPage(const TRecordFields& fields, TPageItem& page);
void FieldsToStatus(const TRecordFields& fields, TDataStatus& status);

// Reads the button text at the start of bytes when it has the very form the writer
// gives it (unsigned integers of up to nine digits, every string quoted, nothing
// between the fields but their commas) and the line ends after it. The item then holds what
// FieldsToItem would give for that line, its texts borrowing from bytes, which must outlive it.
// Returns the length of the line with its line end, or 0, leaving item in no particular state, for
// any other text.
std::size_t ReadWrittenItem(std::string_view bytes, TLaunchDataItem& item);

// Single fields. Those on the record split raise EListError(field number) when the
// text is too short; their strings are dequoted and a lone pair of quotes reads
// as empty.
std::string CaptionOfText(std::string_view text);  // field 0
std::int32_t CountOfText(std::string_view text);   // field 1, strict integer
std::string TitleOfText(std::string_view text);    // field 2
std::string LinkOfText(std::string_view text);     // field 3
std::string CommentOfText(std::string_view text);  // field 10
// On the plain split: 0 when the field is not an integer.
std::int32_t KindOfText(std::string_view text);      // field 0
std::int32_t UseCountOfText(std::string_view text);  // field 1
