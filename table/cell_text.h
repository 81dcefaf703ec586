#pragma once
// What a text cell may hold so that the table file carries it unchanged.
//
// The file separates fields by a bare comma and rows by a line break and has
// no quoting, and its texts are Shift-JIS (CP932) so that tables stay
// exchangeable with the users' existing ones. A cell therefore never holds
// a comma (stored as the full-width comma "，", which reads the same in a
// Japanese comment and keeps the user's meaning), a CR or LF (stored as a
// space), or a character CP932 lacks (stored as the geta mark "〓", the usual
// sign for a missing character). A Result text that would begin with one of
// the record's field tags ("Twc:" ... "Twd:") gets a full-width colon "：",
// because the reader takes such a field for the tag. Doing this when the cell is set, not when
// the file is written, means the grid always shows exactly what the file
// will hold and a saved table loads back as the same table.

#include <string>
#include <string_view>

namespace quvan {

// The tags of the record's fields in a row line, in the reader's order.
inline constexpr std::string_view kRecordTags[] = {"Twc:", "Twb:", "Twr:", "Twp:", "Twd:"};

inline constexpr std::string_view kFullWidthComma = "\xEF\xBC\x8C"; // U+FF0C "，"
inline constexpr std::string_view kGetaMark = "\xE3\x80\x93";       // U+3013 "〓"

// `utf8` as the table stores it in column `column` (see above). Invalid
// UTF-8 also becomes "〓".
std::string StorableCellText(std::string_view utf8, int column);

// True when `field` begins with "Twc:", "Twb:", "Twr:", "Twp:" or "Twd:".
bool StartsWithRecordTag(std::string_view field);

} // namespace quvan
