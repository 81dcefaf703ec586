#include "table/cell_text.h"

#include "table/cp932_codec.h"
#include "table/learning_table.h"

#include <algorithm>

namespace quvan {

namespace {

constexpr std::string_view kFullWidthColon = "\xEF\xBC\x9A"; // U+FF1A "："

} // namespace

bool StartsWithRecordTag(std::string_view field) {
    return std::any_of(std::begin(kRecordTags), std::end(kRecordTags),
                       [&](std::string_view tag) { return field.substr(0, 4) == tag; });
}

std::string StorableCellText(std::string_view utf8, int column) {
    std::string text;
    text.reserve(utf8.size());
    for (char c : utf8) {
        if (c == ',')
            text += kFullWidthComma;
        else if (c == '\r' || c == '\n')
            text += ' ';
        else
            text += c;
    }
    if (column == ColResult && StartsWithRecordTag(TrimControl(text))) {
        std::size_t colon = text.find(':');
        text.replace(colon, 1, kFullWidthColon);
    }
    // Passing through CP932 and back leaves exactly what the file will hold.
    Converted inFile = Cp932FromUtf8(text);
    if (inFile.replaced == 0 && inFile.text == text)
        return text;
    return Utf8FromCp932(inFile.text).text;
}

} // namespace quvan
