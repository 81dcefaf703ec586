#pragma once
// One line of the board's answer to "Twl:%03d", taken apart. The board
// answers each request with "Twl:" and the entry number (with "Error" when
// the entry is empty), then "Twc:", "Twb:", "Twr:", sixteen "Twp:" and
// "Twd:" lines in the formats registration sends.
//
// A line is recognised by the first tag it contains; its values are the
// characters that follow the tag. Numbers take all the digits that follow,
// so a four-digit "Twb:4096" reads whole, and a three-digit reply reads as
// it always has. A value with anything but digits where digits belong is
// reported as unreadable instead of being guessed at.

#include <optional>
#include <string>
#include <string_view>

namespace quvan::transfer {

enum class ReplyKind {
    ZemOn,  // exactly "ZEM:on"
    ZemOff, // exactly "ZEM:off": the board has left the transfer mode
    Entry,  // "Twl:"
    Carry,  // "Twc:"
    DataBits,
    RepeatBit,
    Pattern, // "Twp:"
    Codes,   // "Twd:"
    Other,
};

struct ReadBackReply {
    ReplyKind kind = ReplyKind::Other;
    // Entry: the entry number, 0 when no digits follow the tag.
    // Carry, DataBits, RepeatBit: the value; empty when unreadable.
    std::optional<int> number;
    bool empty = false;             // Entry: the line also says "Error"
    std::string digits;             // Carry: the digits as received (for the Carry cell)
    int patternIndex = -1;          // Pattern: 0..15; -1 when not a hex digit
    std::optional<int> high, width; // Pattern: empty when unreadable
    std::string codes;              // Codes: everything after the tag, blanks trimmed
};

ReadBackReply ParseReadBackReply(std::string_view line);

// The Carry cell for a "Twc:" value: its digits with a point before the last
// one, then "kHz" ("380" gives 38.0kHz, "050" gives 05.0kHz).
std::string CarryCellText(std::string_view digits);

// The Frames cell the read-back gives an entry: "1" for 60 or more pattern
// codes (a long signal sent once), else "3".
std::string FramesCellText(int dataBits);

} // namespace quvan::transfer
